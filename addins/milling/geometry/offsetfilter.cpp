// Checking offset results, and the filtering offset that replaces a result
// that fails the check. Conventions: see offsetfilter.h.
//
// The filtering offset works from what an offset must be rather than from
// how the pieces of the walk meet: the boundary of the points at distance d
// from the chain consists of portions of the segments' offsets and of the
// circles of radius d round the vertices that bulge to the offset side. So:
//  1. candidates: every segment's offset, and a full circle round every
//     outer vertex (and every vertex where the chain doubles back);
//  2. split every candidate at its crossings with the others;
//  3. keep the portions whose middle keeps the distance d from the chain
//     and lies on the offset side;
//  4. chain the kept portions end to start.
#include "addins/milling/geometry/offsetfilter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Slack of the distance test: portions on the offset lie at the distance up
// to rounding; portions inside it lie nearer by much more.
double DistanceSlack(double distance) { return 10.0 * g_geometryTolerance + 1e-9 * distance; }

CPoint2D PointAlong(const CSegment2D& segment, double along)
{
    if (segment.GetType() == kSegmentTypeLine) {
        const CPoint2D s = segment.GetStartPoint();
        const CPoint2D d = (segment.GetEndPoint() - s).Normalized();
        return s + d * along;
    }
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    const double angle = arc.startDir.Angle() + (arc.ccw ? 1.0 : -1.0) * along / arc.radius;
    return arc.centre + CPoint2D(std::cos(angle), std::sin(angle)) * arc.radius;
}

double Length(const CSegment2D& segment) { return segment.GetLength(); }

// Joins pieces end to start at the raised tolerance, forwards from each free
// piece and then backwards from its start.
int ChainPieces(std::vector<std::unique_ptr<CSegment2D>> pieces, std::vector<std::unique_ptr<CCurveList>>& results,
                int simplify, double simplifyTolerance)
{
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    const int count = static_cast<int>(pieces.size());
    std::vector<CPoint2D> starts(static_cast<size_t>(count)), ends(static_cast<size_t>(count));
    for (int m = 0; m < count; ++m) {
        starts[m] = pieces[m]->GetStartPoint();
        ends[m] = pieces[m]->GetEndPoint();
    }
    const CPointCells byStart(starts, g_geometryTolerance), byEnd(ends, g_geometryTolerance);
    std::vector<char> taken(static_cast<size_t>(count), 0);
    std::vector<int> near;
    auto find = [&](const CPointCells& cells, const std::vector<CPoint2D>& at, const CPoint2D& p) {
        cells.Near(p, near);
        for (int m : near)
            if (!taken[m] && at[m].IsEqual(p))
                return m;
        return -1;
    };
    int lists = 0;
    for (int k = 0; k < count; ++k) {
        if (taken[k])
            continue;
        std::vector<int> chain = {k};
        taken[k] = 1;
        const CPoint2D first = starts[k];
        CPoint2D end = ends[k];
        while (!end.IsEqual(first) || chain.size() == 1) {
            const int next = find(byStart, starts, end);
            if (next < 0)
                break;
            taken[next] = 1;
            chain.push_back(next);
            end = ends[next];
            if (end.IsEqual(first))
                break;
        }
        if (!end.IsEqual(first)) {
            CPoint2D start = first;
            std::vector<int> before;
            for (int previous = find(byEnd, ends, start); previous >= 0; previous = find(byEnd, ends, start)) {
                taken[previous] = 1;
                before.push_back(previous);
                start = starts[previous];
            }
            chain.insert(chain.begin(), before.rbegin(), before.rend());
        }
        // A sliver the chaining bridged stands alone: a list of short
        // pieces that never leaves the chaining tolerance round its start
        // is no outline (a circle, starting where it ends, is one).
        bool point = true;
        for (int m : chain)
            point = point && pieces[m]->GetLength() < 2.0 * g_geometryTolerance && starts[m].IsEqual(first) &&
                    ends[m].IsEqual(first);
        if (point)
            continue;
        auto list = std::make_unique<CCurveList>();
        for (int m : chain)
            list->Append(std::move(pieces[m]));
        if (simplify)
            list->Simplify(simplifyTolerance);
        results.push_back(std::move(list));
        ++lists;
    }
    return lists;
}

// Every portion of a closed chain's offset meets another at each end. Where
// the chain bends only slightly away from the offset side, the offsets of
// its two segments cross and run on past each other while coming nearer to
// the other segment by less than the slack of the distance test: such an
// overhang is a spur, a path of portions from a free end to a point where
// it joins the outline beside another portion. Spurs are taken out; a path
// that has free ends but joins nothing (an outline broken by a gap) stays.
// Matching is at the chaining tolerance.
void PruneSpurs(std::vector<std::unique_ptr<CSegment2D>>& pieces)
{
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    const int count = static_cast<int>(pieces.size());
    std::vector<CPoint2D> starts(static_cast<size_t>(count)), ends(static_cast<size_t>(count));
    for (int m = 0; m < count; ++m) {
        starts[m] = pieces[m]->GetStartPoint();
        ends[m] = pieces[m]->GetEndPoint();
    }
    const CPointCells byStart(starts, g_geometryTolerance), byEnd(ends, g_geometryTolerance);
    std::vector<char> gone(static_cast<size_t>(count), 0), onPath(static_cast<size_t>(count), 0);
    std::vector<int> near;
    // The live portions other than m (and off the current path) whose
    // start (or end) lies at p.
    auto meeting = [&](const CPointCells& cells, const std::vector<CPoint2D>& at, const CPoint2D& p, int m,
                       std::vector<int>& out) {
        cells.Near(p, near);
        out.clear();
        for (int o : near)
            if (o != m && !gone[o] && !onPath[o] && at[o].IsEqual(p))
                out.push_back(o);
    };
    std::vector<int> path, same, next;
    // From a portion with a free end, follows the path away from that end
    // (forwards: from a free start) until it branches.
    auto trace = [&](int m, bool forwards) {
        path.assign(1, m);
        onPath[m] = 1;
        bool spur = false;
        for (int current = m;;) {
            const CPoint2D p = forwards ? ends[current] : starts[current];
            // Another portion arriving (forwards) or leaving (backwards)
            // there: the path joins the outline.
            meeting(forwards ? byEnd : byStart, forwards ? ends : starts, p, current, same);
            if (!same.empty()) {
                spur = true;
                break;
            }
            meeting(forwards ? byStart : byEnd, forwards ? starts : ends, p, current, next);
            if (next.size() != 1)
                break;
            current = next[0];
            path.push_back(current);
            onPath[current] = 1;
        }
        for (int o : path) {
            onPath[o] = 0;
            if (spur)
                gone[o] = 1;
        }
    };
    std::vector<int> around;
    for (int m = 0; m < count; ++m) {
        if (gone[m] || (starts[m].IsEqual(ends[m]) && pieces[m]->GetType() == kSegmentTypeArc))
            continue;
        meeting(byEnd, ends, starts[m], m, around);
        if (around.empty()) {
            trace(m, true);
            if (gone[m])
                continue;
        }
        meeting(byStart, starts, ends[m], m, around);
        if (around.empty())
            trace(m, false);
    }
    int kept = 0;
    for (int m = 0; m < count; ++m)
        if (!gone[m])
            pieces[static_cast<size_t>(kept++)] = std::move(pieces[static_cast<size_t>(m)]);
    pieces.resize(static_cast<size_t>(kept));
}

// An arc portion so short that its end directions agree at the chaining
// tolerance would read as a full circle from then on (a circle of the
// offset's radius through the part); it is as good as its chord.
bool IsArcSliver(const CSegment2D& piece, double length)
{
    if (piece.GetType() != kSegmentTypeArc)
        return false;
    const auto& arc = static_cast<const CArcSegment2D&>(piece);
    if (!(length < arc.radius))
        return false;
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    return arc.IsFullCircle();
}

// The box round two boxes (bounded ones).
void Unite(SegmentBox& box, const SegmentBox& other)
{
    box.minX = std::min(box.minX, other.minX);
    box.minY = std::min(box.minY, other.minY);
    box.maxX = std::max(box.maxX, other.maxX);
    box.maxY = std::max(box.maxY, other.maxY);
}

// Calls visit(i, j) for the pairs i < j with i below `first` whose boxes
// overlap, in order of i, then j: the pairs ForEachCandidatePair visits
// with the index, in its order, but without meeting a pair from both ends
// or sorting what a box meets. A tree over runs of consecutive boxes
// (neighbouring candidates lie together: the offsets of consecutive
// segments, the corner arcs in vertex order) lets the search from box i
// pass over every run at or before i and every run whose box misses box i;
// runs are walked from the left, so j comes out ascending. Unbounded boxes,
// which meet everything, go through ForEachCandidatePair.
template <typename Visit>
void ForEachLaterOverlap(const std::vector<SegmentBox>& boxes, int first, Visit&& visit)
{
    if (std::any_of(boxes.begin(), boxes.end(), [](const SegmentBox& box) { return box.unbounded; })) {
        ForEachCandidatePair(boxes, PairSearch::Indexed, [&](int i, int j) {
            if (i < first)
                visit(i, j);
        });
        return;
    }
    constexpr int kRun = 8;
    const int count = static_cast<int>(boxes.size());
    if (count < 2)
        return;
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<std::vector<SegmentBox>> levels(1);
    levels[0].assign(static_cast<size_t>((count + kRun - 1) / kRun),
                     SegmentBox{infinity, infinity, -infinity, -infinity, false});
    for (int k = 0; k < count; ++k)
        Unite(levels[0][static_cast<size_t>(k / kRun)], boxes[static_cast<size_t>(k)]);
    while (levels.back().size() > 1) {
        const std::vector<SegmentBox>& below = levels.back();
        std::vector<SegmentBox> above((below.size() + 1) / 2);
        for (size_t k = 0; k < above.size(); ++k) {
            above[k] = below[2 * k];
            if (2 * k + 1 < below.size())
                Unite(above[k], below[2 * k + 1]);
        }
        levels.push_back(std::move(above));
    }
    struct Pending {
        int level, index;
    };
    std::vector<Pending> stack;
    const int top = static_cast<int>(levels.size()) - 1;
    for (int i = 0; i < std::min(first, count); ++i) {
        const SegmentBox& box = boxes[static_cast<size_t>(i)];
        stack.assign(1, {top, 0});
        while (!stack.empty()) {
            const Pending next = stack.back();
            stack.pop_back();
            const int64_t span = int64_t{kRun} << next.level;
            if ((next.index + 1) * span - 1 <= i ||
                !levels[static_cast<size_t>(next.level)][static_cast<size_t>(next.index)].Overlaps(box))
                continue;
            if (next.level == 0) {
                const int end = std::min(count, (next.index + 1) * kRun);
                for (int j = std::max(i + 1, next.index * kRun); j < end; ++j)
                    if (box.Overlaps(boxes[static_cast<size_t>(j)]))
                        visit(i, j);
                continue;
            }
            const int below = next.level - 1;
            if (2 * next.index + 1 < static_cast<int>(levels[static_cast<size_t>(below)].size()))
                stack.push_back({below, 2 * next.index + 1});
            stack.push_back({below, 2 * next.index});
        }
    }
}

struct Split {
    double along;
    CPoint2D point;
};

} // namespace

bool OffsetResultIsSound(const CCurveList& chain, double distance,
                         const std::vector<std::unique_ptr<CCurveList>>& lists)
{
    const bool closed = chain.IsClosed() != 0;
    const CChainDistance near(chain, distance);
    const double limit = distance - DistanceSlack(distance);
    std::vector<int> segments;
    for (const auto& list : lists) {
        if (closed && !list->IsClosed())
            return false;
        for (const auto& piece : list->segments) {
            const double length = Length(*piece);
            const int samples = static_cast<int>(std::clamp(std::ceil(length / distance), 2.0, 8.0));
            // One search for the chain's segments within reach of the whole
            // piece serves all its samples.
            near.Within(IntersectionBox(*piece, kClosedSegment), limit, segments);
            for (int k = 0; k <= samples; ++k)
                if (near.IsNearer(PointAlong(*piece, length * k / samples), limit, segments))
                    return false;
        }
    }
    return true;
}

int FilteredOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
               int simplify, double simplifyTolerance, PairSearch search)
{
    const double tol = g_geometryTolerance;
    const int count = chain.GetCount();
    const bool closed = chain.IsClosed() != 0;
    // Smooth: the chain runs on without a corner, so that a point whose
    // nearest point is the vertex lies on the side the segments give it.
    enum class VertexKind { Inner, Outer, DoublesBack, Smooth };
    // Vertex v is the start of segment v (and the end of the last segment
    // for an open chain, index count).
    std::vector<VertexKind> vertexKind(static_cast<size_t>(count) + 1, VertexKind::Inner);
    std::vector<std::unique_ptr<CSegment2D>> candidates;
    std::vector<std::pair<int, CPoint2D>> tangentSplits;
    for (int i = 0; i < count; ++i) {
        auto piece = chain.segments[static_cast<size_t>(i)]->Clone(0);
        if (piece->Offset(distance, side))
            candidates.push_back(std::move(piece));
    }
    // Where the chain crosses or runs back over itself, a portion can come
    // nearer than the distance through the far side of a segment or round
    // an inner vertex: those borders split the candidates too, but are
    // never part of the result themselves.
    std::vector<std::unique_ptr<CSegment2D>> borders;
    for (int i = 0; i < count; ++i) {
        auto piece = chain.segments[static_cast<size_t>(i)]->Clone(0);
        if (piece->Offset(distance, side ? 0 : 1))
            borders.push_back(std::move(piece));
    }
    for (int v = closed ? 0 : 1; v < count; ++v) {
        const CSegment2D& h = *chain.segments[static_cast<size_t>(v == 0 ? count - 1 : v - 1)];
        const CSegment2D& i = *chain.segments[static_cast<size_t>(v)];
        const CPoint2D u = i.GetStartPoint();
        const CPoint2D a = h.GetDirectionAt(u, 1);
        const CPoint2D l = i.GetDirectionAt(u, 1);
        const CVector2D t = side == 0 ? CVector2D(-a, l) : CVector2D(l, -a);
        // A point at the distance from the vertex has the vertex as its
        // nearest point of the chain only inside the vertex's normal cone,
        // between the normals of the two segments; elsewhere on the circle a
        // segment is nearer. So a corner needs only the arc across its cone,
        // which keeps the number of crossings proportional to the chain's
        // detail instead of to the circles' overlap.
        auto coneArc = [&](int onSide) {
            return std::make_unique<CArcSegment2D>(u, u + a.Perpendicular(onSide) * distance,
                                                   u + l.Perpendicular(onSide) * distance, onSide);
        };
        if (t.y > tol) {
            vertexKind[v] = VertexKind::Outer;
            candidates.push_back(coneArc(side));
            continue;
        }
        if (!(t.y < -tol) && t.x > 0.0) {
            vertexKind[v] = VertexKind::DoublesBack;
        } else {
            if (t.y < -tol) {
                borders.push_back(coneArc(side ? 0 : 1));
            } else if (t.y > -tol && t.x < 0.0) {
                vertexKind[v] = VertexKind::Smooth;
            } else {
                auto circle = std::make_unique<CArcSegment2D>();
                circle->ccw = side;
                circle->SetCircle(u, distance);
                borders.push_back(std::move(circle));
            }
            continue;
        }
        // Where the chain turns back on itself the cone is a half plane on
        // either side: the whole circle.
        auto circle = std::make_unique<CArcSegment2D>();
        circle->ccw = side;
        circle->SetCircle(u, distance);
        // The circle meets the offsets of the two segments where they end,
        // touching them: a touch that rounding turns into a near miss must
        // still split the circle.
        tangentSplits.push_back({static_cast<int>(candidates.size()), u + a.Perpendicular(side) * distance});
        tangentSplits.push_back({static_cast<int>(candidates.size()), u + l.Perpendicular(side) * distance});
        candidates.push_back(std::move(circle));
    }

    // The borders serve only where the chain crosses, touches or doubles
    // back on itself. Beside a closed chain that does none of that, a
    // portion that comes nearer than the distance does so from the offset
    // side, across another candidate: a path from a point at the distance to
    // one beyond the chain crosses the chain, and nearer to it the boundary
    // of the points within the distance, which candidates make up.
    const bool simple = closed &&
                        std::none_of(vertexKind.begin(), vertexKind.end(),
                                     [](VertexKind kind) { return kind == VertexKind::DoublesBack; }) &&
                        chain.SelfIntersections(nullptr, search) == 0;
    if (simple)
        borders.clear();

    // Crossings split the candidates.
    const int n = static_cast<int>(candidates.size());
    for (auto& border : borders)
        candidates.push_back(std::move(border));
    const int all = static_cast<int>(candidates.size());
    std::vector<std::vector<Split>> splits(static_cast<size_t>(all));
    std::vector<SegmentBox> boxes(static_cast<size_t>(all));
    if (search == PairSearch::Indexed)
        for (int k = 0; k < all; ++k)
            boxes[k] = IntersectionBox(*candidates[k], kClosedSegment);
    for (const auto& [k, p] : tangentSplits)
        splits[k].push_back({candidates[k]->DistanceAlong(p, 1), p});
    SegmentPoints points;
    auto split = [&](int i, int j) {
        if (i >= n)
            return;
        const int found = candidates[i]->Intersect(*candidates[j], points, kClosedSegment, kClosedSegment);
        for (int k = 0; k < found; ++k) {
            splits[i].push_back({candidates[i]->DistanceAlong(points[k], 1), points[k]});
            splits[j].push_back({candidates[j]->DistanceAlong(points[k], 1), points[k]});
        }
    };
    if (search == PairSearch::Indexed)
        ForEachLaterOverlap(boxes, n, split);
    else
        ForEachCandidatePair(boxes, search, split);

    const CChainDistance near(chain, distance);
    const double slack = DistanceSlack(distance);
    std::unique_ptr<CCurveList> orientedCopy;
    int wantInside = -1;
    std::vector<CChainDistance::Near> nearby;
    // The side that the nearest points of the chain within `within` of the
    // least distance give m: ambiguous where the chain doubles back at one
    // of them, and both right and wrong where they disagree.
    struct SideVotes {
        bool ambiguous = false, anyRight = false, anyWrong = false;
    };
    auto vote = [&](const CPoint2D& m, double within) {
        SideVotes votes;
        for (const auto& nb : nearby) {
            if (nb.distance > within)
                continue;
            const CSegment2D& segment = *chain.segments[static_cast<size_t>(nb.index)];
            int vertex = -1;
            if (nb.point.IsEqual(segment.GetStartPoint()))
                vertex = nb.index;
            else if (nb.point.IsEqual(segment.GetEndPoint()))
                vertex = nb.index + 1 == count && closed ? 0 : nb.index + 1;
            if (vertex >= 0 && vertexKind[static_cast<size_t>(vertex)] != VertexKind::Smooth) {
                if (!closed && (vertex == 0 || vertex == count)) {
                    votes.anyRight = true;
                    continue;
                }
                const VertexKind kind = vertexKind[static_cast<size_t>(vertex)];
                if (kind == VertexKind::DoublesBack)
                    votes.ambiguous = true;
                else if (kind == VertexKind::Outer)
                    votes.anyRight = true;
                else
                    votes.anyWrong = true;
                continue;
            }
            const CPoint2D direction = segment.GetDirectionAt(nb.point, 1);
            const double cross = direction.Cross(m - nb.point);
            ((cross < 0.0 ? 1 : 0) == side ? votes.anyRight : votes.anyWrong) = true;
        }
        return votes;
    };
    // The offset side of a point that keeps the distance, judged at its
    // nearest points of the chain; where they disagree (a slit, a chain
    // running back over itself) the point's place in the closed chain decides.
    auto onOffsetSide = [&](const CPoint2D& m, double dm) {
        near.Nearest(m, dm + slack, nearby);
        SideVotes votes = vote(m, dm + slack);
        if (!votes.ambiguous && votes.anyRight && votes.anyWrong) {
            // Beside a sharp inner corner the vertex lies only a little
            // farther than the nearest point of its neighbour, within the
            // slack: the points at the least distance itself, up to
            // rounding, decide when they agree.
            double least = std::numeric_limits<double>::infinity();
            for (const auto& nb : nearby)
                least = std::min(least, nb.distance);
            const double rounding = 1e-13 * (1.0 + std::fabs(m.x) + std::fabs(m.y) + distance);
            const SideVotes nearest = vote(m, least + rounding);
            if (!nearest.ambiguous && !(nearest.anyRight && nearest.anyWrong))
                votes = nearest;
        }
        if (!votes.ambiguous && !(votes.anyRight && votes.anyWrong))
            return !votes.anyWrong;
        if (!closed)
            return true;
        if (wantInside < 0) {
            orientedCopy = chain.Copy();
            wantInside = side == orientedCopy->IsClockwise(0) ? 1 : 0;
        }
        const PointPlace place = orientedCopy->ClassifyPoint(m, 0);
        return place != PointPlace::On && (place == PointPlace::Inside) == (wantInside == 1);
    };

    std::vector<std::unique_ptr<CSegment2D>> kept;
    for (int k = 0; k < n; ++k) {
        CSegment2D& candidate = *candidates[k];
        const double length = Length(candidate);
        const bool circle = candidate.GetType() == kSegmentTypeArc &&
                            static_cast<const CArcSegment2D&>(candidate).IsFullCircle();
        auto& cuts = splits[k];
        std::sort(cuts.begin(), cuts.end(), [](const Split& a, const Split& b) { return a.along < b.along; });
        std::vector<Split> bounds;
        if (!circle)
            bounds.push_back({0.0, candidate.GetStartPoint()});
        for (const Split& s : cuts)
            if (bounds.empty() || s.along - bounds.back().along >= tol)
                bounds.push_back(s);
        if (circle) {
            if (bounds.empty())
                bounds.push_back({0.0, candidate.GetStartPoint()});
            bounds.push_back({bounds.front().along + length, bounds.front().point});
        } else if (length - bounds.back().along >= tol) {
            bounds.push_back({length, candidate.GetEndPoint()});
        } else {
            bounds.back() = {length, candidate.GetEndPoint()};
        }
        for (size_t b = 0; b + 1 < bounds.size(); ++b) {
            // Slivers shorter than the chaining tolerance are kept: where
            // several candidates cross close together the outline can run
            // over two or more of them in a row, together longer than the
            // tolerance. The chaining bridges the ones it does not need.
            const double from = bounds[b].along, to = bounds[b + 1].along;
            double middle = 0.5 * (from + to);
            if (middle >= length)
                middle -= length;
            const CPoint2D m = PointAlong(candidate, middle);
            const double dm = near.Distance(m, distance, distance - slack);
            if (dm < distance - slack || !onOffsetSide(m, dm))
                continue;
            auto piece = candidate.Clone(0);
            if (!(circle && bounds.size() == 2 && cuts.empty())) {
                piece->SetStartPoint(bounds[b].point);
                piece->SetEndPoint(bounds[b + 1].point);
                if (IsArcSliver(*piece, to - from))
                    piece = std::make_unique<CLineSegment2D>(bounds[b].point, bounds[b + 1].point);
            }
            kept.push_back(std::move(piece));
        }
    }
    if (closed)
        PruneSpurs(kept);
    if (kept.empty())
        return 0;
    if (!closed)
        return ChainPieces(std::move(kept), results, simplify, simplifyTolerance);
    // The offset of a closed chain is made of closed outlines. A short
    // open list is a stub of portions left where several candidates cross
    // close together, shorter than the distance; it bounds nothing and
    // would be cut as a stray move. Longer open lists stay: they are an
    // outline that a gap broke, which the caller must see.
    std::vector<std::unique_ptr<CCurveList>> lists;
    ChainPieces(std::move(kept), lists, simplify, simplifyTolerance);
    int written = 0;
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    for (auto& list : lists) {
        if (!list->IsClosed() && list->GetLength() < distance)
            continue;
        results.push_back(std::move(list));
        ++written;
    }
    return written;
}
