// Building the first passes, shared by the contour and pocket toolpaths (see
// toolpathsteps.h): usable contours and their nesting, offsets with their
// orientation and staging, merging island outlines, clipping the free loops
// and cutting the outlines out of the boundary passes. The links between
// passes are in toolpathlinks.cpp, the walk that makes the moves in
// toolpathwalk.cpp.
#include "addins/milling/features/toolpathsteps.h"

#include "addins/milling/features/chainindex.h"
#include "addins/milling/features/toolpathareas.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace toolpath {

namespace {

constexpr double kCornerAngleLimitDegrees = 165.0;


} // namespace

SegmentBox ChainBox(const CCurveList& chain)
{
    SegmentBox box;
    bool first = true;
    for (const auto& s : chain.segments) {
        const SegmentBox b = IntersectionBox(*s, kClosedSegment);
        if (b.unbounded)
            return b;
        if (first) {
            box = b;
            first = false;
            continue;
        }
        box.minX = std::min(box.minX, b.minX);
        box.minY = std::min(box.minY, b.minY);
        box.maxX = std::max(box.maxX, b.maxX);
        box.maxY = std::max(box.maxY, b.maxY);
    }
    return box;
}

namespace {

std::vector<SegmentBox> BoxesOf(const ChainList& chains)
{
    std::vector<SegmentBox> boxes;
    boxes.reserve(chains.size());
    for (const auto& c : chains)
        boxes.push_back(ChainBox(*c));
    return boxes;
}

// The chains whose boxes may meet a box: through the grid, or all of them.
class CChainFinder {
public:
    CChainFinder(std::vector<SegmentBox> boxes, PairSearch search)
        : m_count(static_cast<int>(boxes.size()))
    {
        if (search == PairSearch::Indexed)
            m_grid = std::make_unique<CSegmentGrid>(std::move(boxes));
    }
    // Ascending indices, each once.
    void Find(const SegmentBox& box, std::vector<int>& out) const
    {
        if (m_grid) {
            m_grid->Query(box, out);
            return;
        }
        out.resize(static_cast<size_t>(m_count));
        for (int i = 0; i < m_count; ++i)
            out[static_cast<size_t>(i)] = i;
    }

private:
    int m_count;
    std::unique_ptr<CSegmentGrid> m_grid;
};

using Indexes = std::vector<std::unique_ptr<CChainIndex>>;

// One index per chain for the indexed search; none for the plain one.
Indexes IndexesOf(const ChainList& chains, PairSearch search)
{
    Indexes indexes(chains.size());
    if (search == PairSearch::Indexed)
        for (size_t i = 0; i < chains.size(); ++i)
            indexes[i] = std::make_unique<CChainIndex>(*chains[i]);
    return indexes;
}

// ContainsList of outer for inner, through outer's index when it has one.
bool Contains(const CChainIndex* index, const CCurveList& outer, const CCurveList& inner)
{
    if (index != nullptr)
        return index->ContainsList(inner) != 0;
    return const_cast<CCurveList&>(outer).ContainsList(inner, 0) != 0;
}

// Whether two chains cross (IntersectWith, flag words 0x13); chains whose
// segments lie apart by their indexes are not searched.
bool Cross(const CChainIndex* indexA, const CChainIndex* indexB, const CCurveList& a, const CCurveList& b)
{
    if (indexA != nullptr && indexB != nullptr && !indexA->MayMeet(*indexB))
        return false;
    std::vector<CPoint2D> points;
    return a.IntersectWith(b, &points, nullptr, nullptr, 0x13, 0x13) > 0;
}

// Combine of a with b, answering -1 without searching when the indexes show
// the chains apart.
int Combined(const CChainIndex* indexA, const CChainIndex* indexB, const CCurveList& a, const CCurveList& b, CombineMode mode,
             ChainList& pieces)
{
    if (indexA != nullptr && indexB != nullptr && !indexA->MayMeet(*indexB))
        return -1;
    return a.Combine(b, mode, pieces);
}

} // namespace

namespace {

// A simplified copy of a closed offset when it keeps the outline: still
// closed, with the same orientation and about the same area. A thin loop
// simplified within a tolerance near its width could collapse or turn
// over; it is then kept as the offset made it.
std::unique_ptr<CCurveList> Simplified(const CCurveList& offset, int side, double tolerance)
{
    std::unique_ptr<CCurveList> simple = offset.Copy();
    simple->Simplify(tolerance, side ? SimplifySide::Right : SimplifySide::Left);
    if (simple->GetCount() == offset.GetCount())
        return simple;
    const double before = offset.SignedArea(), after = simple->SignedArea();
    if (simple->GetCount() < 2 || !simple->IsClosed() || simple->IsClockwise(0) != offset.clockwise ||
        !(std::fabs(after) > 0.5 * std::fabs(before)))
        return nullptr;
    return simple;
}

// Removes the segments of a closed chain of several whose ends meet. Where
// an offset shrinks a piece of the outline (an arc between two crossings
// that move together) to nothing, it can leave a segment from a point back
// to itself; as an arc that would run the full circle, so the chain would
// turn once more round that centre: wrong orientation, and passes that step
// into the island it came from.
void DropPointSegments(CCurveList& chain)
{
    auto& s = chain.segments;
    if (s.size() < 2)
        return;
    s.erase(std::remove_if(s.begin(), s.end(),
                           [&](const auto& segment) {
                               return s.size() > 1 && segment->GetStartPoint().IsEqual(segment->GetEndPoint());
                           }),
            s.end());
}

} // namespace

ChainList OffsetClosed(const CCurveList& chain, double distance, int side, double tolerance)
{
    // The offsets are made exact and simplified afterwards, only ever
    // further to the offset side: an offset keeps at least its distance from
    // the chain it was made from.
    ChainList results;
    chain.Offset(distance, side, results, 1, kCornerAngleLimitDegrees, 0, tolerance);
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    ChainList closed;
    for (auto& r : results) {
        if (r->GetCount() > 0 && r->IsClosed()) {
            DropPointSegments(*r);
            r->IsClockwise(0);
            if (tolerance > 0.0)
                if (std::unique_ptr<CCurveList> simple = Simplified(*r, side, tolerance)) {
                    DropPointSegments(*simple);
                    r = std::move(simple);
                }
            closed.push_back(std::move(r));
        }
    }
    return closed;
}

IslandOffsets CopyOutlines(const IslandOffsets& offsets)
{
    IslandOffsets copy;
    for (size_t i = 0; i < offsets.outlines.size(); ++i) {
        copy.outlines.push_back(offsets.outlines[i]->Copy());
        copy.outlineSource.push_back(offsets.outlineSource[i]);
    }
    return copy;
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
                        const ChainList& boundaries, bool inside, PairSearch search)
{
    const Indexes boundaryIndexes = IndexesOf(boundaries, search);
    const CChainFinder outlines(BoxesOf(originals.outlines), search);
    std::vector<int> near;
    ChainList kept;
    for (size_t i = 0; i < loops.size(); ++i) {
        const int source = i < loopSource.size() ? loopSource[i] : -1;
        ChainList pieces;
        pieces.push_back(std::move(loops[i]));
        outlines.Find(ChainBox(*pieces.front()), near);
        for (int o : near) {
            if (originals.outlineSource[static_cast<size_t>(o)] == source)
                continue;
            CCurveList& outline = *originals.outlines[static_cast<size_t>(o)];
            ChainList next;
            for (auto& piece : pieces) {
                ChainList cut;
                const int n = piece->Combine(outline, CombineMode::Difference, cut, search);
                if (n <= 0) {
                    // Apart, only touching, or holding the outline (an
                    // island standing in the area, which goes round it):
                    // the piece stays unless the outline covers it.
                    if (!outline.ContainsList(*piece, 0))
                        next.push_back(std::move(piece));
                    continue;
                }
                for (auto& c : cut) {
                    if (c->GetCount() > 0 && c->IsClosed()) {
                        c->IsClockwise(0);
                        next.push_back(std::move(c));
                    }
                }
            }
            pieces = std::move(next);
        }
        for (auto& piece : pieces) {
            if (inside) {
                bool ok = false;
                for (size_t b = 0; b < boundaries.size() && !ok; ++b)
                    ok = Contains(boundaryIndexes[b].get(), *boundaries[b], *piece);
                if (!ok)
                    continue;
            }
            kept.push_back(std::move(piece));
        }
    }
    return kept;
}

ChainList IslandsInFreeLoops(const std::vector<const CCurveList*>& freeLoops, const IslandOffsets& originals,
                             std::vector<std::vector<int>>* members, PairSearch search)
{
    std::vector<int> inside;
    ChainList standing;
    for (size_t o = 0; o < originals.outlines.size(); ++o) {
        const CCurveList& outline = *originals.outlines[o];
        for (const CCurveList* loop : freeLoops) {
            if (Contains(nullptr, *loop, outline)) {
                inside.push_back(static_cast<int>(o));
                standing.push_back(outline.Copy());
                break;
            }
        }
    }
    ChainList holes;
    std::vector<std::vector<int>> united;
    MergeIslands(standing, holes, &united, search);
    if (members != nullptr) {
        members->clear();
        for (const auto& u : united) {
            members->emplace_back();
            for (int m : u)
                members->back().push_back(inside[static_cast<size_t>(m)]);
        }
    }
    return standing;
}

// Merges run in rounds. In a round every outline unites with at most one
// other, the first of the outlines its box meets (in index order) that has
// not merged in this round yet; the merged outline takes the lower index.
// So a row of k overlapping islands is one outline after about log k rounds,
// each uniting outlines of about equal size, instead of one outline growing
// by k unions. Rounds end when one merges nothing: then no two outlines
// meet. A pair found apart is not tried again until one of the two changes.
// Merged-away outlines are only marked and removed at the end, so indices
// stay fixed; the grid over the boxes is rebuilt for each round.
void MergeIslands(ChainList& islands, ChainList& holes, std::vector<std::vector<int>>* members, PairSearch search)
{
    const size_t n = islands.size();
    std::vector<std::vector<int>> absorbed(n);
    for (size_t i = 0; i < n; ++i)
        absorbed[i] = {static_cast<int>(i)};
    std::vector<bool> alive(n, true);
    std::vector<SegmentBox> boxes = BoxesOf(islands);
    Indexes indexes = IndexesOf(islands, search);
    std::vector<unsigned> version(n, 0);
    std::map<std::pair<size_t, size_t>, std::pair<unsigned, unsigned>> apart; // with the versions tried
    auto reindex = [&](size_t a) {
        boxes[a] = ChainBox(*islands[a]);
        ++version[a];
        if (search == PairSearch::Indexed)
            indexes[a] = std::make_unique<CChainIndex>(*islands[a]);
    };
    auto absorb = [&](size_t into, size_t from) {
        absorbed[into].insert(absorbed[into].end(), absorbed[from].begin(), absorbed[from].end());
        absorbed[from].clear();
        alive[from] = false;
        if (search == PairSearch::Indexed)
            indexes[from].reset();
        islands[from].reset();
    };
    // Unites outline b into outline a (a < b) when they meet or one holds
    // the other; false when they lie apart.
    auto merge = [&](size_t a, size_t b) {
        ChainList pieces;
        const int count = Combined(indexes[a].get(), indexes[b].get(), *islands[a], *islands[b], CombineMode::Union, pieces);
        // 0: the outlines only touch; one may still hold the other.
        if (count <= 0) {
            if (Contains(indexes[a].get(), *islands[a], *islands[b])) {
                absorb(a, b);
                ++version[a];
                return true;
            }
            if (Contains(indexes[b].get(), *islands[b], *islands[a])) {
                std::swap(islands[a], islands[b]);
                absorb(a, b);
                reindex(a);
                return true;
            }
        }
        if (count <= 0)
            return false;
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
        if (outer == pieces.size())
            return false; // no outline came back: keep both as they are
        islands[a] = std::move(pieces[outer]);
        for (size_t i = 0; i < pieces.size(); ++i)
            if (i != outer)
                holes.push_back(std::move(pieces[i]));
        absorb(a, b);
        reindex(a);
        return true;
    };
    std::vector<int> near;
    for (bool mergedAny = true; mergedAny;) {
        mergedAny = false;
        const CChainFinder finder(boxes, search);
        std::vector<bool> busy(n, false);
        for (size_t a = 0; a < n; ++a) {
            if (!alive[a] || busy[a])
                continue;
            finder.Find(boxes[a], near);
            for (int candidate : near) {
                const size_t b = static_cast<size_t>(candidate);
                if (b == a || !alive[b] || busy[b])
                    continue;
                const auto pair = std::minmax(a, b);
                const std::pair<unsigned, unsigned> versions(version[pair.first], version[pair.second]);
                const auto tried = apart.find(pair);
                if (tried != apart.end() && tried->second == versions)
                    continue;
                if (merge(pair.first, pair.second)) {
                    busy[pair.first] = busy[pair.second] = true;
                    mergedAny = true;
                    break;
                }
                apart[pair] = versions;
            }
        }
    }
    ChainList merged;
    std::vector<std::vector<int>> mergedMembers;
    for (size_t i = 0; i < n; ++i) {
        if (!alive[i])
            continue;
        merged.push_back(std::move(islands[i]));
        mergedMembers.push_back(std::move(absorbed[i]));
    }
    islands = std::move(merged);
    if (members != nullptr)
        *members = std::move(mergedMembers);
}

std::vector<bool> CutIslandsFromBoundaries(ChainList& boundaries, const ChainList& islands, PairSearch search)
{
    std::vector<bool> touched(islands.size(), false);
    Indexes boundaryIndexes = IndexesOf(boundaries, search);
    for (size_t i = 0; i < islands.size(); ++i) {
        const std::unique_ptr<CChainIndex> island =
            search == PairSearch::Indexed ? std::make_unique<CChainIndex>(*islands[i]) : nullptr;
        ChainList next;
        Indexes nextIndexes;
        for (size_t k = 0; k < boundaries.size(); ++k) {
            auto& boundary = boundaries[k];
            ChainList pieces;
            const int n = Combined(boundaryIndexes[k].get(), island.get(), *boundary, *islands[i], CombineMode::Difference, pieces);
            // An outline that only touches the pass (an island at exactly
            // the tool's width from the wall) cuts nothing out of it: both
            // are kept and the tool goes round both.
            if (n <= 0) {
                if (!Contains(island.get(), *islands[i], *boundary)) {
                    next.push_back(std::move(boundary));
                    nextIndexes.push_back(std::move(boundaryIndexes[k]));
                }
                continue;
            }
            touched[i] = true;
            for (auto& p : pieces) {
                if (p->GetCount() > 0 && p->IsClosed()) {
                    p->IsClockwise(0);
                    nextIndexes.push_back(search == PairSearch::Indexed ? std::make_unique<CChainIndex>(*p) : nullptr);
                    next.push_back(std::move(p));
                }
            }
        }
        boundaries = std::move(next);
        boundaryIndexes = std::move(nextIndexes);
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

Status NestContours(ContourTable& t, int outside, PairSearch search)
{
    const size_t n = t.contours.size();
    // Only chains whose boxes overlap can cross or contain one another. The
    // pairs come in order (i, then j), so the crossing reported is the first.
    int crossI = -1, crossJ = -1;
    std::vector<std::vector<int>> containers(n);
    const Indexes indexes = IndexesOf(t.contours, search);
    ForEachCandidatePair(BoxesOf(t.contours), search, [&](int i, int j) {
        if (crossI >= 0)
            return;
        const size_t a = static_cast<size_t>(i), b = static_cast<size_t>(j);
        if (Cross(indexes[a].get(), indexes[b].get(), *t.contours[a], *t.contours[b])) {
            crossI = i;
            crossJ = j;
            return;
        }
        if (Contains(indexes[a].get(), *t.contours[a], *t.contours[b]))
            containers[b].push_back(i);
        if (Contains(indexes[b].get(), *t.contours[b], *t.contours[a]))
            containers[a].push_back(j);
    });
    if (crossI >= 0)
        return Error{FeatureError::ContoursCross,
                     "contours " + std::to_string(crossI) + " and " + std::to_string(crossJ)};
    std::vector<int> containerCount(n, 0);
    for (size_t j = 0; j < n; ++j) {
        std::sort(containers[j].begin(), containers[j].end());
        containerCount[j] = static_cast<int>(containers[j].size());
    }
    // The parent is the innermost container: the one with the most
    // containers (the first of them in contour order).
    t.parent.assign(n, -1);
    for (size_t j = 0; j < n; ++j)
        for (int i : containers[j])
            if (t.parent[j] < 0 || containerCount[static_cast<size_t>(i)] > containerCount[static_cast<size_t>(t.parent[j])])
                t.parent[j] = i;
    t.machined.assign(n, 0);
    for (size_t k = 0; k < n; ++k) {
        const int depth = containerCount[k];
        t.machined[k] = outside ? (depth % 2 == 1) : (depth % 2 == 0);
    }
    return Ok{};
}

void BuildPasses(ContourTable& t, double distance, int outside, ChainList& roots, ChainList& islandPasses,
                 std::vector<int>& islandRoot, PairSearch search)
{
    constexpr double kOffsetTolerance = 0.0005;
    const size_t n = t.contours.size();
    std::vector<std::vector<const CCurveList*>> members(n);
    for (size_t c = 0; c < n; ++c)
        if (t.parent[c] >= 0)
            members[static_cast<size_t>(t.parent[c])].push_back(t.contours[c].get());
    if (outside) {
        std::vector<const CCurveList*> tops;
        for (size_t k = 0; k < n; ++k)
            if (t.parent[k] < 0)
                tops.push_back(t.contours[k].get());
        IslandOffsets offsets = OffsetIslands(tops, distance, kOffsetTolerance);
        IslandOffsets originals = CopyOutlines(offsets);
        ChainList holes;
        MergeIslands(offsets.outlines, holes, nullptr, search);
        // Outside the parts every outline is a pass of its own; enclosed
        // areas (bays, holes between parts) are cut where the tool fits,
        // clipped against the parts that reach into them.
        ChainList freeLoops = KeepReachable(offsets.loops, offsets.loopSource, originals, {}, false, search);
        for (auto& h : KeepReachable(holes, {}, originals, {}, false, search))
            freeLoops.push_back(std::move(h));
        for (auto& p : offsets.outlines)
            roots.push_back(std::move(p));
        for (auto& p : freeLoops)
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
        IslandOffsets offsets = OffsetIslands(members[k], distance, kOffsetTolerance);
        const IslandOffsets originals = CopyOutlines(offsets);
        ChainList islands = std::move(offsets.outlines);
        ChainList holes;
        MergeIslands(islands, holes, nullptr, search);
        ChainList freeLoops = KeepReachable(offsets.loops, offsets.loopSource, originals, boundaries, true, search);
        for (auto& h : KeepReachable(holes, {}, originals, boundaries, true, search))
            freeLoops.push_back(std::move(h));
        const std::vector<bool> touched = CutIslandsFromBoundaries(boundaries, islands, search);
        const Indexes boundaryIndexes = IndexesOf(boundaries, search);
        const size_t firstRoot = roots.size();
        for (auto& b : boundaries)
            roots.push_back(std::move(b));
        const size_t boundaryEnd = roots.size();
        for (auto& f : freeLoops)
            roots.push_back(std::move(f));
        // Each island goes under the innermost pass around it: a boundary
        // pass, or an enclosed free area (the bay of another island, the
        // middle of a ring of islands) that the tool clears round it.
        std::vector<const CCurveList*> around;
        for (size_t r = firstRoot; r < roots.size(); ++r)
            around.push_back(roots[r].get());
        for (size_t i = 0; i < islands.size(); ++i) {
            if (touched[i])
                continue; // its outline is part of a boundary pass now
            int r = -1;
            for (size_t b = firstRoot; b < boundaryEnd && r < 0; ++b)
                if (Contains(boundaryIndexes[b - firstRoot].get(), *roots[b], *islands[i]))
                    r = static_cast<int>(b - firstRoot);
            // An island outline outside every boundary pass is dropped.
            if (r < 0)
                continue;
            const int inner = InnermostAround(around, *islands[i]);
            islandRoot.push_back(static_cast<int>(firstRoot) + (inner >= 0 ? inner : r));
            islandPasses.push_back(std::move(islands[i]));
        }
        const std::vector<const CCurveList*> free(around.begin() + static_cast<std::ptrdiff_t>(boundaryEnd - firstRoot),
                                                  around.end());
        for (auto& island : IslandsInFreeLoops(free, originals, nullptr, search)) {
            const int inner = InnermostAround(around, *island);
            if (inner < 0)
                continue;
            islandRoot.push_back(static_cast<int>(firstRoot) + inner);
            islandPasses.push_back(std::move(island));
        }
    }
}

} // namespace toolpath
