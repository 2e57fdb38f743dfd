// The steps shared by the contour and pocket toolpaths (see toolpathsteps.h).
#include "addins/milling/features/toolpathsteps.h"

#include <algorithm>
#include <cmath>

namespace toolpath {

namespace {

constexpr double kCornerAngleLimitDegrees = 165.0;

#define FEATURE_TRY(expr)           \
    do {                            \
        Status status_ = (expr);    \
        if (!status_.ok())          \
            return status_.error(); \
    } while (0)

} // namespace

ChainList OffsetClosed(const CCurveList& chain, double distance, int side, double tolerance)
{
    ChainList results;
    chain.Offset(distance, side, results, 1, kCornerAngleLimitDegrees, 1, tolerance);
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

IslandOffsets OffsetIslands(const std::vector<const CCurveList*>& islands, double distance, double tolerance)
{
    IslandOffsets out;
    for (size_t i = 0; i < islands.size(); ++i) {
        const int cw = islands[i]->clockwise;
        for (auto& p : OffsetClosed(*islands[i], distance, cw ? 0 : 1, tolerance)) {
            if (p->clockwise == cw) {
                out.outlines.push_back(std::move(p));
                out.outlineSource.push_back(static_cast<int>(i));
            } else {
                out.loops.push_back(std::move(p));
                out.loopSource.push_back(static_cast<int>(i));
            }
        }
    }
    return out;
}

ChainList KeepReachable(ChainList& loops, const std::vector<int>& loopSource, const IslandOffsets& originals,
                        const ChainList& boundaries)
{
    ChainList kept;
    for (size_t i = 0; i < loops.size(); ++i) {
        CCurveList& loop = *loops[i];
        bool ok = false;
        for (const auto& b : boundaries)
            ok = ok || b->ContainsList(loop, 0) != 0;
        for (size_t o = 0; ok && o < originals.outlines.size(); ++o) {
            if (i < loopSource.size() && originals.outlineSource[o] == loopSource[i])
                continue;
            std::vector<CPoint2D> points;
            const CCurveList& outline = *originals.outlines[o];
            if (outline.IntersectWith(loop, &points, nullptr, nullptr, 0x13, 0x13) > 0 ||
                originals.outlines[o]->ContainsList(loop, 0))
                ok = false;
        }
        if (ok)
            kept.push_back(std::move(loops[i]));
    }
    return kept;
}

void MergeIslands(ChainList& islands, ChainList& holes, std::vector<std::vector<int>>* members)
{
    if (members != nullptr) {
        members->clear();
        for (size_t i = 0; i < islands.size(); ++i)
            members->push_back({static_cast<int>(i)});
    }
    auto absorb = [&](size_t into, size_t from) {
        if (members != nullptr) {
            auto& m = *members;
            m[into].insert(m[into].end(), m[from].begin(), m[from].end());
            m.erase(m.begin() + static_cast<long>(from));
        }
        islands.erase(islands.begin() + static_cast<long>(from));
    };
    for (size_t a = 0; a < islands.size(); ++a) {
        for (size_t b = a + 1; b < islands.size();) {
            ChainList pieces;
            const int n = islands[a]->Combine(*islands[b], 1, pieces);
            if (n < 0) {
                if (islands[a]->ContainsList(*islands[b], 0)) {
                    absorb(a, b);
                    b = a + 1;
                    continue;
                }
                if (islands[b]->ContainsList(*islands[a], 0)) {
                    std::swap(islands[a], islands[b]);
                    absorb(a, b);
                    b = a + 1;
                    continue;
                }
            }
            if (n <= 0) {
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
                    holes.push_back(std::move(pieces[i]));
            absorb(a, b);
            b = a + 1; // the grown outline may now reach passes it missed before
        }
    }
}

std::vector<bool> CutIslandsFromBoundaries(ChainList& boundaries, const ChainList& islands)
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
    return touched;
}

ContourTable KeepUsableContours(const ChainList& contours)
{
    ContourTable t;
    for (const auto& c : contours) {
        if (c && c->GetCount() > 0 && c->IsClosed() && c->SelfIntersections(nullptr) < 1) {
            t.contours.push_back(c->Copy());
            t.contours.back()->IsClockwise(0);
        }
    }
    return t;
}

Status NestContours(ContourTable& t, int outside)
{
    const size_t n = t.contours.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            std::vector<CPoint2D> points;
            if (t.contours[i]->IntersectWith(*t.contours[j], &points, nullptr, nullptr, 0x13, 0x13) > 0)
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

void BuildPasses(ContourTable& t, double distance, int outside, ChainList& roots, ChainList& islandPasses,
                 std::vector<int>& islandRoot)
{
    constexpr double kOffsetTolerance = 0.0005;
    const size_t n = t.contours.size();
    if (outside) {
        std::vector<const CCurveList*> tops;
        for (size_t k = 0; k < n; ++k)
            if (t.parent[k] < 0)
                tops.push_back(t.contours[k].get());
        IslandOffsets offsets = OffsetIslands(tops, distance, kOffsetTolerance);
        ChainList holes;
        MergeIslands(offsets.outlines, holes);
        // Outside the part every outline is a pass of its own; enclosed
        // areas (bays, holes between parts) are cut when the tool fits.
        for (auto& p : offsets.outlines)
            roots.push_back(std::move(p));
        for (auto& p : offsets.loops)
            roots.push_back(std::move(p));
        for (auto& p : holes)
            roots.push_back(std::move(p));
    }
    for (size_t k = 0; k < n; ++k) {
        if (!t.machined[k])
            continue;
        ChainList boundaries = OffsetClosed(*t.contours[k], distance, t.contours[k]->clockwise, kOffsetTolerance);
        // Boundary offsets with the opposite orientation are holes of the
        // offset outline, not areas to cut around.
        boundaries.erase(std::remove_if(boundaries.begin(), boundaries.end(),
                                        [&](const auto& b) { return b->clockwise != t.contours[k]->clockwise; }),
                         boundaries.end());
        if (boundaries.empty())
            continue;
        std::vector<const CCurveList*> members;
        for (size_t c = 0; c < n; ++c)
            if (t.parent[c] == static_cast<int>(k))
                members.push_back(t.contours[c].get());
        IslandOffsets offsets = OffsetIslands(members, distance, kOffsetTolerance);
        IslandOffsets originals;
        for (size_t i = 0; i < offsets.outlines.size(); ++i) {
            originals.outlines.push_back(offsets.outlines[i]->Copy());
            originals.outlineSource.push_back(offsets.outlineSource[i]);
        }
        ChainList islands = std::move(offsets.outlines);
        ChainList holes;
        MergeIslands(islands, holes);
        ChainList freeLoops = KeepReachable(offsets.loops, offsets.loopSource, originals, boundaries);
        for (auto& h : KeepReachable(holes, {}, originals, boundaries))
            freeLoops.push_back(std::move(h));
        const std::vector<bool> touched = CutIslandsFromBoundaries(boundaries, islands);
        const size_t firstRoot = roots.size();
        for (auto& b : boundaries)
            roots.push_back(std::move(b));
        const size_t boundaryEnd = roots.size();
        for (auto& f : freeLoops)
            roots.push_back(std::move(f));
        for (size_t i = 0; i < islands.size(); ++i) {
            if (touched[i])
                continue; // its outline is part of a boundary pass now
            for (size_t r = firstRoot; r < boundaryEnd; ++r) {
                if (roots[r]->ContainsList(*islands[i], 0)) {
                    islandRoot.push_back(static_cast<int>(r));
                    islandPasses.push_back(std::move(islands[i]));
                    break;
                }
            }
            // An island outline outside every boundary pass is dropped.
        }
    }
}

Status CMoveWriter::Line(uint8_t flag, const CMovePoint& from, const CMovePoint& to)
{
    CMove m;
    m.flag = flag;
    m.start = from;
    m.end = to;
    return m_feature.AppendMove(m, m_factory);
}

Status CMoveWriter::Segment(const CSegment2D& s, double z)
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

namespace {

// One node being cut: the stops round its pass and the next piece.
struct Frame {
    CRegionNode* node;
    std::vector<CChainPosition> stops;
    size_t next = 0;
    bool cutAny = false;
};

Frame Enter(CRegionNode* node, const CChainPosition& start)
{
    node->cursor = 0;
    node->SortIntersections(start);
    Frame f{node, {start}};
    for (CRegionNode* child : node->children)
        f.stops.push_back({child->parentPoint, child->parentSegment});
    f.stops.push_back(start);
    return f;
}

Status Link(CMoveWriter& out, const WalkParams& p, const CPoint2D& from, const CPoint2D& to, double z)
{
    if (p.link == LinkStyle::Feed)
        return out.Line(kMoveFeedLine, {from.x, from.y, z}, {to.x, to.y, z});
    FEATURE_TRY(out.Line(kMoveRapid, {from.x, from.y, z}, {from.x, from.y, p.safe}));
    FEATURE_TRY(out.Line(kMoveRapid, {from.x, from.y, p.safe}, {to.x, to.y, p.safe}));
    FEATURE_TRY(out.Line(kMoveRapid, {to.x, to.y, p.safe}, {to.x, to.y, p.engage}));
    return out.Line(kMoveFeedLine, {to.x, to.y, p.engage}, {to.x, to.y, z});
}

// Cuts a root's tree at one level without recursion (pocket trees can be
// hundreds of rings deep). Pieces between consecutive distinct stops cover a
// pass exactly once; when every stop is one point the whole pass is one piece.
Status CutTree(CRegionNode* root, double z, const WalkParams& p, CMoveWriter& out)
{
    std::vector<Frame> stack;
    stack.push_back(Enter(root, {root->pass->GetStartPoint(), 0}));
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next + 1 >= f.stops.size()) {
            CRegionNode* done = f.node;
            stack.pop_back();
            if (!stack.empty())
                FEATURE_TRY(Link(out, p, done->entryPoint, done->parentPoint, z));
            continue;
        }
        const CChainPosition a = f.stops[f.next];
        const CChainPosition b = f.stops[f.next + 1];
        const bool last = f.next + 2 == f.stops.size();
        if (a.point.IsNotEqual(b.point) || (last && !f.cutAny)) {
            std::unique_ptr<CCurveList> piece = f.node->pass->CutAt(a, b);
            if (piece)
                for (const auto& s : piece->segments)
                    FEATURE_TRY(out.Segment(*s, z));
            f.cutAny = true;
        }
        const size_t childIndex = f.next;
        ++f.next;
        if (last)
            continue;
        CRegionNode* child = f.node->children[childIndex];
        f.node->cursor = static_cast<int>(childIndex + 1);
        FEATURE_TRY(Link(out, p, child->parentPoint, child->entryPoint, z));
        stack.push_back(Enter(child, {child->entryPoint, child->entrySegment}));
    }
    return Ok{};
}

} // namespace

Status WalkLevels(const CRegionList& tree, const WalkParams& p, CMoveWriter& out)
{
    bool firstApproach = true;
    CPoint2D last;
    double lastZ = p.levels.empty() ? 0.0 : p.levels.front();
    for (double z : p.levels) {
        for (CRegionNode* node = tree.first; node != nullptr; node = node->next) {
            if (node->parent != nullptr)
                continue;
            const CPoint2D s = node->pass->GetStartPoint();
            if (firstApproach || s.IsNotEqual(last)) {
                if (!firstApproach) {
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, lastZ}, {last.x, last.y, p.safe}));
                    FEATURE_TRY(out.Line(kMoveRapid, {last.x, last.y, p.safe}, {s.x, s.y, p.safe}));
                }
                FEATURE_TRY(out.Line(kMoveRapid, {s.x, s.y, p.safe}, {s.x, s.y, p.engage}));
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, p.engage}, {s.x, s.y, z}));
                firstApproach = false;
                last = s;
            } else {
                FEATURE_TRY(out.Line(kMoveFeedLine, {s.x, s.y, lastZ}, {s.x, s.y, z}));
            }
            FEATURE_TRY(CutTree(node, z, p, out));
            lastZ = z;
        }
        if (p.afterLevel)
            p.afterLevel();
    }
    return Ok{};
}

} // namespace toolpath
