// CCurveFeature: the feature of the curve milling command, for picked curves
// that need not be closed. It checks its chains like the contour feature;
// its tool centre then runs along each chain itself, open or closed, level
// by level (there is no inside or outside to offset towards on an open
// curve, so neither the tool radius nor Offset moves the path). Stored, it
// is a contour feature (type 1) with the same record.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/features/millingfeature.h"

class CCurveList;
struct IHostDocument;
struct ISelectionSet;

class CCurveFeature : public CMillingFeature {
public:
    int GetType() const override { return 1; }

    // Keeps the chains that do not cross themselves, open or closed. Errors:
    // NoUsableContour when none is left, ContoursCross when two kept chains
    // cross, BadLevels, EntityCreationFailed. The moves are emptied first; on
    // an error the feature has no moves. Per level, from the top down, each
    // chain is cut in pick order from its start to its end: the tool reaches
    // a chain's start by a retract to the safe plane, a traverse, a rapid to
    // the engage height and a feed plunge, or, when it already stands there
    // (a closed chain on the next level), by one feed move down.
    Status ComputeFromChains(const std::vector<std::unique_ptr<CCurveList>>& chains, const CMillingParams& params,
                             CMoveEntityFactory* factory = nullptr);

    // The curve command's computation: chains the picks (pickedcurves.h) and
    // computes the moves as above with entities made through the document.
    // Errors: NoDocument, NoChainer and those above. No progress is shown.
    Status ComputeToolpath(ISelectionSet* picked, const CMillingParams& params, IHostDocument* document);
};
