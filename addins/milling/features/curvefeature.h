// CCurveFeature: the feature of the curve milling command, for picked curves
// that need not be closed. It checks its chains like the contour feature and
// builds no passes, so it holds no moves; stored, it is a contour feature
// (type 1) with the same record.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"

class CCurveList;

class CCurveFeature : public CMillingFeature {
public:
    int GetType() const override { return 1; }

    // Keeps the chains that do not cross themselves, open or closed. Errors:
    // NoUsableContour when none is left, ContoursCross when two kept chains
    // cross. The moves are emptied in every case and stay empty.
    Status ComputeFromChains(const std::vector<std::unique_ptr<CCurveList>>& chains, const CMillingParams& params);
};
