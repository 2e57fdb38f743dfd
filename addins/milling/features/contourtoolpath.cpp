// CContourFeature::ComputeFromContours: closed contours to moves.
//
// Steps (toolpathsteps.h): keep the usable contours (closed, not crossing
// themselves); reject crossing pairs and nest the rest; offset each machined
// contour inwards and its islands outwards by tool radius + Offset; merge
// overlapping island outlines and cut them out of the boundary passes; build
// the pass tree (boundary passes as roots, islands under the root that
// contains them), link each island at its nearest points; then walk the
// tree level by level, retracting between a pass and its islands.
#include <cmath>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/features/toolpathsteps.h"

using namespace toolpath;

Result<std::vector<double>> ComputeLevels(const CMillingParams& params)
{
    const double top = params.zTop, bottom = params.zBottom, step = params.tool.verticalStep;
    if (std::fabs(top - bottom) < g_geometryTolerance)
        return std::vector<double>{bottom};
    if (!(top > bottom) || !(step > 0.0) || !std::isfinite(top) || !std::isfinite(bottom) ||
        (top - bottom) / step >= kMaxLevels)
        return Error{FeatureError::BadLevels, "top " + std::to_string(top) + ", bottom " +
                                                  std::to_string(bottom) + ", step " + std::to_string(step)};
    const int n = static_cast<int>(std::trunc((top - bottom) / step)) + 1;
    std::vector<double> levels;
    for (int i = n - 1; i >= 0; --i)
        levels.push_back(bottom + i * step);
    return levels;
}

Status CContourFeature::ComputeFromContours(const std::vector<std::unique_ptr<CCurveList>>& contours,
                                            const CMillingParams& params, CMoveEntityFactory* factory,
                                            CProgressSteps* progress, PairSearch search)
{
    CProgressSteps none(nullptr);
    CProgressSteps& steps = progress != nullptr ? *progress : none;
    ClearMoves();
    m_params = params;
    CGeometryToleranceScope restoreTolerance(g_geometryTolerance);

    Result<std::vector<double>> levels = ComputeLevels(params);
    if (!levels.ok())
        return Passed(levels.error(), "CContourFeature::ComputeFromContours: levels");
    ContourTable table = KeepUsableContours(contours);
    if (table.contours.empty())
        return Error{FeatureError::NoUsableContour, m_name};
    steps.Advance(4);
    Status nested = NestContours(table, params.outside, search);
    if (!nested.ok())
        return Passed(nested.error(), "CContourFeature::ComputeFromContours: nesting");
    steps.Advance(4);

    const double distance = params.tool.diameter / 2.0 + params.offset;
    ChainList roots, islands;
    std::vector<int> islandRoot;
    BuildPasses(table, distance, params.outside, roots, islands, islandRoot, search);
    if (roots.empty())
        return Error{FeatureError::NoToolpath, m_name};

    // The tree: roots in order, each island under the root containing it.
    std::vector<std::unique_ptr<CRegionNode>> nodes;
    CRegionList tree;
    for (auto& r : roots) {
        nodes.push_back(std::make_unique<CRegionNode>());
        nodes.back()->pass = r.get();
        tree.Append(nodes.back().get());
    }
    const double linkDistance = params.tool.diameter * params.tool.radialStep / 100.0;
    std::vector<CRegionNode*> linked;
    for (size_t i = 0; i < islands.size(); ++i) {
        nodes.push_back(std::make_unique<CRegionNode>());
        CRegionNode& node = *nodes.back();
        node.pass = islands[i].get();
        node.island = 1;
        node.SetParent(nodes[static_cast<size_t>(islandRoot[i])].get());
        tree.Append(&node);
        linked.push_back(&node);
    }
    LinkToParents(linked, linkDistance, search);
    steps.Advance(8);

    CMoveWriter writer(*this, factory);
    WalkParams walk{levels.value(), params.zSafePlane, params.zTop + params.zEngage, LinkStyle::Retract, {}};
    Status walked = WalkLevels(tree, walk, writer);
    tree.Clear(false);
    if (!walked.ok()) {
        ClearMoves();
        return Passed(walked.error(), "CContourFeature::ComputeFromContours: walking the levels");
    }
    steps.Advance(8);
    return Ok{};
}

Status CContourFeature::ComputeToolpath(ISelectionSet* picked, const CMillingParams& params,
                                        IHostDocument* document, CToolpathProgressBar* progress)
{
    return ComputeFromPicks(*this, picked, document, progress,
                            [&](const std::vector<std::unique_ptr<CCurveList>>& contours, CMoveEntityFactory* factory,
                                CProgressSteps* steps) { return ComputeFromContours(contours, params, factory, steps); });
}
