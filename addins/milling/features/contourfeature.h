// CContourFeature: the contour milling feature; CCurveFeature its twin for
// curves that need not be closed.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"

class CCurveList;

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
    Status ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                               const CMillingParams& params, CMoveEntityFactory* factory);
};
