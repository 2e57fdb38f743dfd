// CCurveFeature: checked chains to moves along the chains themselves.
#include "addins/milling/features/curvefeature.h"

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/features/toolpathsteps.h"
#include "addins/milling/geometry/curvelist.h"

using namespace toolpath;

namespace {

Status CutChains(const std::vector<const CCurveList*>& chains, const std::vector<double>& levels,
                 const CMillingParams& params, CMoveWriter& out)
{
    const double safe = params.zSafePlane;
    const double engage = params.zTop + params.zEngage;
    bool first = true;
    CPoint2D last;
    double lastZ = levels.empty() ? 0.0 : levels.front();
    for (double z : levels) {
        for (const CCurveList* chain : chains) {
            const CPoint2D s = chain->GetStartPoint();
            if (!first && s.IsEqual(last)) {
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, lastZ}, {s.x, s.y, z}));
            } else {
                if (!first) {
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, lastZ}, {last.x, last.y, safe}));
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, safe}, {s.x, s.y, safe}));
                }
                FEATURE_TRY(out.Line(kMoveRapid, {s.x, s.y, safe}, {s.x, s.y, engage}));
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, engage}, {s.x, s.y, z}));
                first = false;
            }
            for (const auto& segment : chain->segments)
                FEATURE_TRY(out.Segment(*segment, z));
            last = chain->GetEndPoint();
            lastZ = z;
        }
    }
    return Ok{};
}

} // namespace

Status CCurveFeature::ComputeFromChains(const std::vector<std::unique_ptr<CCurveList>>& chains,
                                        const CMillingParams& params, CMoveEntityFactory* factory)
{
    ClearMoves();
    CGeometryToleranceScope restoreTolerance(g_geometryTolerance);
    m_params = params;
    Result<std::vector<double>> levels = ComputeLevels(params);
    if (!levels.ok())
        return Passed(levels.error(), "CCurveFeature::ComputeFromChains: levels");
    std::vector<const CCurveList*> kept;
    for (const auto& c : chains)
        if (c && c->GetCount() > 0 && c->SelfIntersections(nullptr) < 1)
            kept.push_back(c.get());
    if (kept.empty())
        return Error{FeatureError::NoUsableContour, m_name};
    for (size_t i = 0; i < kept.size(); ++i)
        for (size_t j = i + 1; j < kept.size(); ++j) {
            std::vector<CPoint2D> points;
            if (kept[i]->IntersectWith(*kept[j], &points, nullptr, nullptr, 0x13, 0x13) > 0)
                return Error{FeatureError::ContoursCross,
                             "chains " + std::to_string(i) + " and " + std::to_string(j)};
        }
    CMoveWriter writer(*this, factory);
    Status cut = CutChains(kept, levels.value(), params, writer);
    if (!cut.ok()) {
        ClearMoves();
        return Passed(cut.error(), "CCurveFeature::ComputeFromChains: cutting the chains");
    }
    return Ok{};
}

Status CCurveFeature::ComputeToolpath(ISelectionSet* picked, const CMillingParams& params, IHostDocument* document)
{
    ClearMoves();
    CProgressSteps none(nullptr);
    Result<std::vector<std::unique_ptr<CCurveList>>> chains = ChainPicks(picked, document, none);
    if (!chains.ok())
        return Passed(chains.error(), "CCurveFeature::ComputeToolpath: chaining the picks");
    CDocumentMoveEntityFactory factory(document);
    return ComputeFromChains(chains.value(), params, &factory);
}
