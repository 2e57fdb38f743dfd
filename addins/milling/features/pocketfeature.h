// CPocketFeature: clears the whole area inside closed contours, leaving
// islands standing, level by level.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"

class CCurveList;

class CPocketFeature : public CMillingFeature {
public:
    int GetType() const override { return 0; }
    bool ImageHasOutside() const override { return false; }
    bool RecordsNcBlocks() const override { return false; }

    // Computes the moves from closed contours already chained from the picks
    // (see pockettoolpath.cpp). The moves are emptied first; on an error the
    // feature has no moves.
    Status ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                               const CMillingParams& params, CMoveEntityFactory* factory);
};
