// CPocketFeature: clears the whole area inside closed contours, leaving
// islands standing, level by level.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/geometry/segmentindex.h"
#include "addins/milling/features/toolpathprogress.h"

class CCurveList;
struct IHostDocument;
struct ISelectionSet;

class CPocketFeature : public CMillingFeature {
public:
    int GetType() const override { return 0; }
    bool ImageHasOutside() const override { return false; }
    bool RecordsNcBlocks() const override { return false; }

    // Computes the moves from closed contours already chained from the picks
    // (see pockettoolpath.cpp). The moves are emptied first; on an error the
    // feature has no moves.
    // The search for chains and segments near one another: the indexed
    // one, or the plain all-pairs one that gives the same toolpath.
    Status ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                               const CMillingParams& params, CMoveEntityFactory* factory,
                               CProgressSteps* progress = nullptr, PairSearch search = PairSearch::Indexed);

    // The pocket command's computation: chains the picks (pickedcurves.h),
    // then computes the moves as above with entities made through the
    // document. The moves are emptied first. Errors: NoDocument, NoChainer,
    // and those of ComputeFromContours. The progress bar advances by an
    // eighth of its range after chaining (plain curves only), after building
    // the chains, after sorting out the usable contours, after nesting,
    // after the first passes, after the inward passes, after linking and
    // after every level.
    Status GenerateToolpath(ISelectionSet* picked, const CMillingParams& params, IHostDocument* document,
                            CToolpathProgressBar* progress);
};
