// CContourFeature: the contour milling feature; CCurveFeature its twin for
// curves that need not be closed.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/geometry/segmentindex.h"
#include "addins/milling/features/toolpathprogress.h"

class CCurveList;
struct IHostDocument;
struct ISelectionSet;

// The cutting levels, from the highest down: Z Bottom + i x step for
// i = n-1 .. 0, n = trunc((Z Top - Z Bottom) / step) + 1. Z Top equal to Z
// Bottom is one level at Z Bottom whatever the step; a step that is not
// positive otherwise, Z Top below Z Bottom, or more than kMaxLevels levels,
// is an error.
inline constexpr int kMaxLevels = 100000;
Result<std::vector<double>> ComputeLevels(const CMillingParams& params);

class CContourFeature : public CMillingFeature {
public:
    int GetType() const override { return 1; }

    // Computes the moves from closed contours already chained from the
    // picks (see contourtoolpath.cpp). The moves are emptied first; on an
    // error the feature has no moves. With a factory every move gets its
    // entity, and a failed creation is an error.
    // The search for chains and segments near one another: the indexed
    // one, or the plain all-pairs one that gives the same toolpath.
    Status ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                               const CMillingParams& params, CMoveEntityFactory* factory,
                               CProgressSteps* progress = nullptr, PairSearch search = PairSearch::Indexed);

    // The contour command's computation: chains the picks (pickedcurves.h),
    // then computes the moves as above with entities made through the
    // document. The moves are emptied first. Errors: NoDocument, NoChainer,
    // and those of ComputeFromContours. The progress bar advances by an
    // eighth of its range after chaining (plain curves only) and after
    // building the chains, a quarter after sorting out the usable contours
    // and after nesting, an eighth after the passes and after the moves.
    Status ComputeToolpath(ISelectionSet* picked, const CMillingParams& params, IHostDocument* document,
                           CToolpathProgressBar* progress);
};
