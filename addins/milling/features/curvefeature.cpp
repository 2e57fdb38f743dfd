// CCurveFeature::ComputeFromChains: checks the chains; no passes are built.
#include "addins/milling/features/curvefeature.h"

#include "addins/milling/geometry/curvelist.h"

Status CCurveFeature::ComputeFromChains(const std::vector<std::unique_ptr<CCurveList>>& chains,
                                        const CMillingParams& params)
{
    ClearMoves();
    CGeometryToleranceScope restoreTolerance(g_geometryTolerance);
    m_params = params;
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
    return Ok{};
}
