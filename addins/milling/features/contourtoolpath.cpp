// CContourFeature::ComputeFromContours: closed contours to moves.
//
// Steps, each a function below: keep the usable contours (closed, not
// crossing themselves); reject crossing pairs and nest the rest; offset each
// machined contour inwards and its islands outwards by tool radius + Offset;
// merge overlapping island passes and cut them out of the boundary passes;
// build the pass tree (boundary passes as roots, islands under the root that
// contains them) and link each island at its nearest points; then walk the
// tree level by level, emitting moves.
//
// Conventions: x right, y up, counter-clockwise positive; a clockwise chain
// has its inside on the right, so offsetting to the side of its clockwise
// flag goes inwards. Lengths in drawing units.
#include <algorithm>
#include <cmath>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/regionnode.h"

namespace {

constexpr double kCornerAngleLimitDegrees = 165.0;
constexpr double kOffsetSimplifyTolerance = 0.0005;

using ChainList = std::vector<std::unique_ptr<CCurveList>>;

// Offsets a chain to a side; keeps closed results with their orientation.
ChainList OffsetClosed(const CCurveList& chain, double distance, int side)
{
    ChainList results;
    chain.Offset(distance, side, results, 1, kCornerAngleLimitDegrees, 1, kOffsetSimplifyTolerance);
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    ChainList closed;
    for (auto& r : results) {
        if (r->GetCount() > 0 && r->IsClosed()) {
            r->IsClockwise(0);
            closed.push_back(std::move(r));
        }
    }
    return closed;
}

// The passes of one machined region before the tree is built.
struct RegionPasses {
    ChainList roots;   // boundary passes and free areas
    ChainList islands; // outlines to run around, not yet placed
};

// Unites overlapping island passes until none cross; holes of a union (areas
// enclosed by islands) are returned as free passes.
void MergeIslands(ChainList& islands, ChainList& freePasses)
{
    for (size_t a = 0; a < islands.size(); ++a) {
        for (size_t b = a + 1; b < islands.size();) {
            ChainList pieces;
            const int n = islands[a]->Combine(*islands[b], 1, pieces);
            if (n <= 0) {
                if (n < 0 && islands[a]->ContainsList(*islands[b], 0)) {
                    islands.erase(islands.begin() + static_cast<long>(b));
                    continue;
                }
                if (n < 0 && islands[b]->ContainsList(*islands[a], 0)) {
                    islands[a] = std::move(islands[b]);
                    islands.erase(islands.begin() + static_cast<long>(b));
                    b = a + 1;
                    continue;
                }
                ++b;
                continue;
            }
            // The outline is the piece with the islands' orientation that
            // contains the others; the rest are enclosed holes.
            for (auto& p : pieces)
                p->IsClockwise(0);
            size_t outer = pieces.size();
            for (size_t i = 0; i < pieces.size(); ++i) {
                if (pieces[i]->clockwise != islands[a]->clockwise)
                    continue;
                if (outer == pieces.size() || pieces[i]->ContainsList(*pieces[outer], 0))
                    outer = i;
            }
            if (outer == pieces.size()) {
                ++b; // no outline came back: keep both as they are
                continue;
            }
            islands[a] = std::move(pieces[outer]);
            for (size_t i = 0; i < pieces.size(); ++i)
                if (i != outer)
                    freePasses.push_back(std::move(pieces[i]));
            islands.erase(islands.begin() + static_cast<long>(b));
            b = a + 1; // the grown outline may now reach earlier passes
        }
    }
}

// Cuts the island passes out of the boundary passes. An island that crosses a
// boundary becomes part of it (touched); one that contains a boundary pass
// removes it.
void CutIslandsFromBoundaries(ChainList& boundaries, ChainList& islands)
{
    std::vector<bool> touched(islands.size(), false);
    for (size_t i = 0; i < islands.size(); ++i) {
        ChainList next;
        for (auto& boundary : boundaries) {
            ChainList pieces;
            const int n = boundary->Combine(*islands[i], 2, pieces);
            if (n < 0) {
                if (!islands[i]->ContainsList(*boundary, 0))
                    next.push_back(std::move(boundary));
                continue;
            }
            touched[i] = true;
            for (auto& p : pieces) {
                if (p->GetCount() > 0 && p->IsClosed()) {
                    p->IsClockwise(0);
                    next.push_back(std::move(p));
                }
            }
        }
        boundaries = std::move(next);
    }
    ChainList kept;
    for (size_t i = 0; i < islands.size(); ++i)
        if (!touched[i])
            kept.push_back(std::move(islands[i]));
    islands = std::move(kept);
}

struct ContourTable {
    ChainList contours;
    std::vector<int> parent;
    std::vector<int> machined;
};

Status NestContours(ContourTable& t, int outside)
{
    const size_t n = t.contours.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            std::vector<CPoint2D> points;
            if (t.contours[i]->IntersectWith(*t.contours[j], &points, nullptr, nullptr, 19, 19) > 0)
                return Error{FeatureError::ContoursCross,
                             "contours " + std::to_string(i) + " and " + std::to_string(j)};
        }
    std::vector<std::vector<bool>> contains(n, std::vector<bool>(n, false));
    std::vector<int> containerCount(n, 0);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j)
            if (i != j && t.contours[i]->ContainsList(*t.contours[j], 0)) {
                contains[i][j] = true;
                ++containerCount[j];
            }
    // The parent is the innermost container: the one with the most containers.
    t.parent.assign(n, -1);
    for (size_t j = 0; j < n; ++j)
        for (size_t i = 0; i < n; ++i)
            if (contains[i][j] && (t.parent[j] < 0 || containerCount[i] > containerCount[t.parent[j]]))
                t.parent[j] = static_cast<int>(i);
    t.machined.assign(n, 0);
    for (size_t k = 0; k < n; ++k) {
        const int depth = containerCount[k];
        t.machined[k] = outside ? (depth % 2 == 1) : (depth % 2 == 0);
    }
    return Ok{};
}

// The passes of the whole part: inside regions of machined contours, and with
// Outside the outer pass around every top-level contour.
void BuildPasses(ContourTable& t, double distance, int outside, ChainList& roots, ChainList& islandPasses,
                 std::vector<int>& islandRoot)
{
    const size_t n = t.contours.size();
    auto offsetIslands = [&](const std::vector<size_t>& members, ChainList& freePasses) {
        ChainList passes;
        for (size_t c : members) {
            const int cw = t.contours[c]->clockwise;
            for (auto& p : OffsetClosed(*t.contours[c], distance, cw ? 0 : 1)) {
                if (p->clockwise == cw)
                    passes.push_back(std::move(p));
                else
                    freePasses.push_back(std::move(p));
            }
        }
        return passes;
    };
    if (outside) {
        std::vector<size_t> tops;
        for (size_t k = 0; k < n; ++k)
            if (t.parent[k] < 0)
                tops.push_back(k);
        ChainList freePasses;
        ChainList passes = offsetIslands(tops, freePasses);
        MergeIslands(passes, freePasses);
        for (auto& p : passes)
            roots.push_back(std::move(p));
        for (auto& p : freePasses)
            roots.push_back(std::move(p));
    }
    for (size_t k = 0; k < n; ++k) {
        if (!t.machined[k])
            continue;
        ChainList boundaries = OffsetClosed(*t.contours[k], distance, t.contours[k]->clockwise);
        // Boundary offsets with the opposite orientation are holes of the
        // offset outline, not areas to cut around.
        boundaries.erase(std::remove_if(boundaries.begin(), boundaries.end(),
                                        [&](const auto& b) { return b->clockwise != t.contours[k]->clockwise; }),
                         boundaries.end());
        if (boundaries.empty())
            continue;
        std::vector<size_t> members;
        for (size_t c = 0; c < n; ++c)
            if (t.parent[c] == static_cast<int>(k))
                members.push_back(c);
        ChainList freePasses;
        ChainList islands = offsetIslands(members, freePasses);
        MergeIslands(islands, freePasses);
        CutIslandsFromBoundaries(boundaries, islands);
        const size_t firstRoot = roots.size();
        for (auto& b : boundaries)
            roots.push_back(std::move(b));
        const size_t boundaryEnd = roots.size();
        // Enclosed free areas are cut only where the tool can be: inside a
        // boundary pass and outside every island pass.
        for (auto& f : freePasses) {
            bool inside = false;
            for (size_t r = firstRoot; r < boundaryEnd && !inside; ++r)
                inside = roots[r]->ContainsList(*f, 0) != 0;
            for (const auto& island : islands)
                if (inside && island->ContainsList(*f, 0))
                    inside = false;
            if (inside)
                roots.push_back(std::move(f));
        }
        for (auto& island : islands) {
            for (size_t r = firstRoot; r < boundaryEnd; ++r) {
                if (roots[r]->ContainsList(*island, 0)) {
                    islandRoot.push_back(static_cast<int>(r));
                    islandPasses.push_back(std::move(island));
                    break;
                }
            }
            // An island pass outside every boundary pass is dropped.
        }
    }
}

class CMoveWriter {
public:
    CMoveWriter(CMillingFeature& feature, CMoveEntityFactory* factory) : m_feature(feature), m_factory(factory) {}

    Status Line(uint8_t flag, const CMovePoint& from, const CMovePoint& to)
    {
        CMove m;
        m.flag = flag;
        m.start = from;
        m.end = to;
        return m_feature.AppendMove(m, m_factory);
    }
    Status Segment(const CSegment2D& s, double z)
    {
        const CPoint2D a = s.GetStartPoint(), b = s.GetEndPoint();
        CMove m;
        m.start = {a.x, a.y, z};
        m.end = {b.x, b.y, z};
        if (s.GetType() == kSegmentTypeArc) {
            const auto& arc = static_cast<const CArcSegment2D&>(s);
            m.flag = arc.ccw ? kMoveArcCounterClockwise : kMoveArcClockwise;
            m.centre = {arc.centre.x, arc.centre.y, z};
            m.radius = arc.radius;
        } else {
            m.flag = kMoveFeedLine;
        }
        return m_feature.AppendMove(m, m_factory);
    }

private:
    CMillingFeature& m_feature;
    CMoveEntityFactory* m_factory;
};

#define FEATURE_TRY(expr)                  \
    do {                                   \
        Status status_ = (expr);           \
        if (!status_.ok())                 \
            return status_.error();        \
    } while (0)

struct WalkHeights {
    double safe;
    double engage;
};

// Cuts the pass of a node from its start position round once, entering each
// child at its link point on the way and coming back to the same point.
Status CutNode(CRegionNode& node, const CChainPosition& start, double z, const WalkHeights& h, CMoveWriter& out)
{
    node.SortIntersections(start);
    std::vector<CChainPosition> stops{start};
    for (CRegionNode* child : node.children)
        stops.push_back({child->parentPoint, child->parentSegment});
    stops.push_back(start);
    // Pieces between consecutive distinct stops cover the loop exactly once;
    // when every stop is the same point the whole loop is one piece.
    bool cutAny = false;
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        const CChainPosition& a = stops[i];
        const CChainPosition& b = stops[i + 1];
        const bool last = i + 2 == stops.size();
        if (a.point.IsNotEqual(b.point) || (last && !cutAny)) {
            std::unique_ptr<CCurveList> piece = node.pass->CutAt(a, b);
            if (piece)
                for (const auto& s : piece->segments)
                    FEATURE_TRY(out.Segment(*s, z));
            cutAny = true;
        }
        if (last)
            break;
        CRegionNode& child = *node.children[i];
        const CPoint2D p = child.parentPoint, e = child.entryPoint;
        FEATURE_TRY(out.Line(kMoveRapid, {p.x, p.y, z}, {p.x, p.y, h.safe}));
        FEATURE_TRY(out.Line(kMoveRapid, {p.x, p.y, h.safe}, {e.x, e.y, h.safe}));
        FEATURE_TRY(out.Line(kMoveRapid, {e.x, e.y, h.safe}, {e.x, e.y, h.engage}));
        FEATURE_TRY(out.Line(kMoveFeedLine, {e.x, e.y, h.engage}, {e.x, e.y, z}));
        FEATURE_TRY(CutNode(child, {child.entryPoint, child.entrySegment}, z, h, out));
        FEATURE_TRY(out.Line(kMoveRapid, {e.x, e.y, z}, {e.x, e.y, h.safe}));
        FEATURE_TRY(out.Line(kMoveRapid, {e.x, e.y, h.safe}, {p.x, p.y, h.safe}));
        FEATURE_TRY(out.Line(kMoveRapid, {p.x, p.y, h.safe}, {p.x, p.y, h.engage}));
        FEATURE_TRY(out.Line(kMoveFeedLine, {p.x, p.y, h.engage}, {p.x, p.y, z}));
    }
    return Ok{};
}

Status WalkLevels(const CRegionList& tree, const std::vector<double>& levels, const CMillingParams& params,
                  CMoveWriter& out)
{
    const WalkHeights h{params.zSafePlane, params.zTop + params.zEngage};
    bool firstApproach = true;
    CPoint2D last;
    double lastZ = levels.empty() ? 0.0 : levels.front();
    for (double z : levels) {
        for (CRegionNode* node = tree.first; node != nullptr; node = node->next) {
            if (node->parent != nullptr)
                continue;
            const CPoint2D s = node->pass->GetStartPoint();
            if (firstApproach || s.IsNotEqual(last)) {
                if (!firstApproach) {
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, lastZ}, {last.x, last.y, h.safe}));
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, h.safe}, {s.x, s.y, h.safe}));
                }
                FEATURE_TRY(out.Line(kMoveRapid, {s.x, s.y, h.safe}, {s.x, s.y, h.engage}));
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, h.engage}, {s.x, s.y, z}));
                firstApproach = false;
                last = s;
            } else {
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, lastZ}, {s.x, s.y, z}));
            }
            FEATURE_TRY(CutNode(*node, {s, 0}, z, h, out));
            lastZ = z;
        }
    }
    return Ok{};
}

} // namespace

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
                                            const CMillingParams& params, CMoveEntityFactory* factory)
{
    ClearMoves();
    m_params = params;
    CGeometryToleranceScope restoreTolerance(g_geometryTolerance);

    Result<std::vector<double>> levels = ComputeLevels(params);
    if (!levels.ok())
        return levels.error();

    ContourTable table;
    for (const auto& c : contours) {
        if (c && c->GetCount() > 0 && c->IsClosed() && c->SelfIntersections(nullptr) < 1) {
            table.contours.push_back(c->Copy());
            table.contours.back()->IsClockwise(0);
        }
    }
    if (table.contours.empty())
        return Error{FeatureError::NoUsableContour, m_name};
    FEATURE_TRY(NestContours(table, params.outside));

    const double distance = params.tool.diameter / 2.0 + params.offset;
    ChainList roots, islands;
    std::vector<int> islandRoot;
    BuildPasses(table, distance, params.outside, roots, islands, islandRoot);

    // The tree: roots in order, each island under the root containing it.
    std::vector<std::unique_ptr<CRegionNode>> nodes;
    CRegionList tree;
    for (auto& r : roots) {
        nodes.push_back(std::make_unique<CRegionNode>());
        nodes.back()->pass = r.get();
        tree.Append(nodes.back().get());
    }
    const double linkDistance = params.tool.diameter * params.tool.radialStep / 100.0;
    for (size_t i = 0; i < islands.size(); ++i) {
        nodes.push_back(std::make_unique<CRegionNode>());
        CRegionNode& node = *nodes.back();
        node.pass = islands[i].get();
        node.island = 1;
        CRegionNode& parent = *nodes[static_cast<size_t>(islandRoot[i])];
        node.SetParent(&parent);
        parent.pass->ClosestPoints(*node.pass, node.parentPoint, node.entryPoint, &node.parentSegment,
                                   &node.entrySegment, linkDistance);
        tree.Append(&node);
    }

    CMoveWriter writer(*this, factory);
    Status walked = WalkLevels(tree, levels.value(), params, writer);
    tree.Clear(false);
    if (!walked.ok()) {
        ClearMoves();
        return walked.error();
    }
    return Ok{};
}
