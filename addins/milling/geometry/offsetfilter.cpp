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
#include <optional>
#include <span>
#include <variant>

namespace {

// Slack of the distance test: portions on the offset lie at the distance up
// to rounding; portions inside it lie nearer by much more.
double DistanceSlack(double distance) { return 10.0 * g_geometryTolerance + 1e-9 * distance; }

// Points along a candidate and how far along a point lies, to the last
// bits: the kernel reads directions within the tolerance of an axis or of
// one another as the same, which on a circle of radius r moves a point by up
// to r times the tolerance, more than the tolerance itself once r is large.
CPoint2D PointAlong(const CSegment2D& segment, double along)
{
    if (segment.GetType() == kSegmentTypeLine) {
        const CPoint2D s = segment.GetStartPoint();
        const CPoint2D d = (segment.GetEndPoint() - s).Normalized();
        return s + d * along;
    }
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    const double angle = std::atan2(arc.startDir.y, arc.startDir.x) + (arc.ccw ? 1.0 : -1.0) * along / arc.radius;
    return arc.centre + CPoint2D(std::cos(angle), std::sin(angle)) * arc.radius;
}

// For a point on the segment (up to the tolerance): one a little before an
// arc's start reads as at its start, not as nearly a turn along.
double AlongOf(const CSegment2D& segment, const CPoint2D& p)
{
    if (segment.GetType() == kSegmentTypeLine)
        return segment.DistanceAlong(p, 1);
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    const CPoint2D a(arc.startDir.x, arc.startDir.y), b = p - arc.centre;
    double angle = std::atan2(arc.ccw ? a.Cross(b) : b.Cross(a), a.Dot(b));
    if (angle < 0.0)
        angle += kTwoPi;
    if (!arc.IsFullCircle()) {
        const double sweep = arc.SweepAngle();
        if (angle > sweep)
            angle = angle - sweep < kTwoPi - angle ? sweep : 0.0;
    }
    return angle * arc.radius;
}

double Length(const CSegment2D& segment) { return segment.GetLength(); }

// The kept portions of an offset before they are chained.
using Pieces = ScratchVector<std::unique_ptr<CSegment2D>>;

// Cells over points, built on first use: the pieces of an outline mostly
// follow one another, so that most chainings never search.
class CLazyPointCells {
public:
    explicit CLazyPointCells(std::span<const CPoint2D> points) : m_points(points) {}
    void Near(const CPoint2D& p, std::vector<int>& out)
    {
        if (!m_cells)
            m_cells.emplace(m_points, g_geometryTolerance);
        m_cells->Near(p, out);
    }

private:
    std::span<const CPoint2D> m_points;
    std::optional<CPointCells> m_cells;
};

// Joins pieces end to start at the raised tolerance, forwards from each free
// piece and then backwards from its start.
int ChainPieces(Pieces pieces, std::vector<std::unique_ptr<CCurveList>>& results, int simplify,
                double simplifyTolerance)
{
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    const int count = static_cast<int>(pieces.size());
    ScratchVector<CPoint2D> starts(static_cast<size_t>(count)), ends(static_cast<size_t>(count));
    for (int m = 0; m < count; ++m) {
        starts[m] = pieces[m]->GetStartPoint();
        ends[m] = pieces[m]->GetEndPoint();
    }
    CLazyPointCells byStart(starts), byEnd(ends);
    ScratchVector<char> taken(static_cast<size_t>(count), 0);
    std::vector<int> near;
    auto find = [&](CLazyPointCells& cells, const ScratchVector<CPoint2D>& at, const CPoint2D& p) {
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
        ScratchVector<int> chain = {k};
        taken[k] = 1;
        const CPoint2D first = starts[k];
        CPoint2D end = ends[k];
        while (!end.IsEqual(first) || chain.size() == 1) {
            // The pieces of an outline mostly follow one another.
            const int following = chain.back() + 1;
            const int next = following < count && !taken[following] && starts[following].IsEqual(end)
                                 ? following
                                 : find(byStart, starts, end);
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
void PruneSpurs(Pieces& pieces)
{
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    const int count = static_cast<int>(pieces.size());
    ScratchVector<CPoint2D> starts(static_cast<size_t>(count)), ends(static_cast<size_t>(count));
    for (int m = 0; m < count; ++m) {
        starts[m] = pieces[m]->GetStartPoint();
        ends[m] = pieces[m]->GetEndPoint();
    }
    CLazyPointCells byStart(starts), byEnd(ends);
    ScratchVector<char> gone(static_cast<size_t>(count), 0), onPath(static_cast<size_t>(count), 0);
    std::vector<int> near;
    // The live portions other than m (and off the current path) whose
    // start (or end) lies at p.
    auto meeting = [&](CLazyPointCells& cells, const ScratchVector<CPoint2D>& at, const CPoint2D& p, int m,
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
        // The portions of an outline mostly follow one another: a live
        // neighbour in the list that meets m answers without a search.
        const int before = m == 0 ? count - 1 : m - 1, after = m + 1 == count ? 0 : m + 1;
        const bool joinedBefore = before != m && !gone[before] && ends[before].IsEqual(starts[m]);
        if (!joinedBefore) {
            meeting(byEnd, ends, starts[m], m, around);
            if (around.empty()) {
                trace(m, true);
                if (gone[m])
                    continue;
            }
        }
        const bool joinedAfter = after != m && !gone[after] && starts[after].IsEqual(ends[m]);
        if (!joinedAfter) {
            meeting(byStart, starts, ends[m], m, around);
            if (around.empty())
                trace(m, false);
        }
    }
    int kept = 0;
    for (int m = 0; m < count; ++m)
        if (!gone[m])
            pieces[static_cast<size_t>(kept++)] = std::move(pieces[static_cast<size_t>(m)]);
    pieces.resize(static_cast<size_t>(kept));
}


// The features a stage's foreseen overlap is worked out from.
constexpr size_t kOverlapSamples = 128;

struct Split {
    double along;
    CPoint2D point;
    // The candidate whose crossing made the split (-1: none), and in the
    // list of every split the candidate it splits.
    int other = -1;
    int candidate = -1;
};

// Orders splits (each of a candidate below n) by candidate, then along:
// `order` receives their indices in that order, and candidate k's are
// order[cursor[k - 1]] .. order[cursor[k] - 1] (from 0 for the first).
// The candidates are counted out, not compared: most have two or three
// splits, which then take a few steps of insertion each, so that the cost
// follows the number of splits instead of growing with its logarithm; and
// only the indices move, not the splits.
void SortByCandidate(const ScratchVector<Split>& splits, int n, ScratchVector<int>& order, ScratchVector<int>& cursor)
{
    cursor.assign(static_cast<size_t>(n) + 1, 0);
    for (const Split& split : splits)
        ++cursor[static_cast<size_t>(split.candidate) + 1];
    for (size_t k = 1; k < cursor.size(); ++k)
        cursor[k] += cursor[k - 1];
    order.resize(splits.size());
    for (size_t s = 0; s < splits.size(); ++s)
        order[static_cast<size_t>(cursor[static_cast<size_t>(splits[s].candidate)]++)] = static_cast<int>(s);
    // cursor[k] now ends candidate k's splits, where candidate k + 1's begin.
    auto byAlong = [&](int a, int b) {
        return splits[static_cast<size_t>(a)].along < splits[static_cast<size_t>(b)].along;
    };
    constexpr size_t kInsertionMost = 16;
    size_t begin = 0;
    for (int k = 0; k < n; ++k) {
        const size_t end = static_cast<size_t>(cursor[static_cast<size_t>(k)]);
        if (end - begin > kInsertionMost) {
            std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(begin),
                             order.begin() + static_cast<std::ptrdiff_t>(end), byAlong);
        } else {
            for (size_t i = begin + 1; i < end; ++i) {
                const int moved = order[i];
                size_t j = i;
                for (; j > begin && byAlong(moved, order[j - 1]); --j)
                    order[j] = order[j - 1];
                order[j] = moved;
            }
        }
        begin = end;
    }
    cursor.pop_back();
}


} // namespace

bool CoveredUpTo(const CSegment2D& candidate, bool fromStart, const CPoint2D& p, const CPoint2D& q,
                 double distance, double slack)
{
    const CPoint2D end = fromStart ? candidate.GetStartPoint() : candidate.GetEndPoint();
    if (!((end - q).Length() < distance - slack) || !((p - q).Length() <= distance + slack))
        return false;
    if (candidate.GetType() == kSegmentTypeLine)
        return true;
    const auto& arc = static_cast<const CArcSegment2D&>(candidate);
    const CPoint2D away = arc.centre - q;
    const CPoint2D a = (fromStart ? end : p) - arc.centre, b = (fromStart ? p : end) - arc.centre;
    // Angles from a in the arc's sense, in [0, 2 pi).
    auto turn = [&](const CPoint2D& to) {
        const double angle = std::atan2(arc.ccw ? a.Cross(to) : to.Cross(a), a.Dot(to));
        return angle < 0.0 ? angle + kTwoPi : angle;
    };
    return turn(away) > turn(b);
}

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

void ChordArcSlivers(std::vector<std::unique_ptr<CCurveList>>& lists)
{
    for (auto& list : lists)
        for (auto& segment : list->segments)
            if (IsArcSliver(*segment, segment->GetLength()))
                segment = std::make_unique<CLineSegment2D>(segment->GetStartPoint(), segment->GetEndPoint());
}

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

namespace {

// Along `candidate` from its start (fromStart; else from its end) towards
// the point `alongP` along it, where its distance from q comes to `reach`:
// how far along from the start, and the point (along NaN where it does not
// between them). The distance is below `reach` at the end it starts from
// and has no maximum before alongP (see CoveredUpTo), so it comes to it
// once.
Split ReachAlong(const CSegment2D& candidate, bool fromStart, const CPoint2D& q, double reach, double alongP)
{
    const double tol = g_geometryTolerance;
    const double length = Length(candidate);
    const Split none{std::numeric_limits<double>::quiet_NaN(), {}};
    if (!(length > 0.0))
        return none;
    if (candidate.GetType() == kSegmentTypeLine) {
        const CPoint2D s = candidate.GetStartPoint(), e = candidate.GetEndPoint();
        const CPoint2D d = (fromStart ? e - s : s - e) * (1.0 / length);
        const CPoint2D from = fromStart ? s : e;
        const CPoint2D w = from - q;
        const double b = w.Dot(d);
        const double disc = b * b - w.Dot(w) + reach * reach;
        if (!(disc >= 0.0))
            return none;
        const double t = -b + std::sqrt(disc);
        const double along = fromStart ? t : length - t;
        if (!(fromStart ? along <= alongP + tol : along >= alongP - tol))
            return none;
        return {along, from + d * t};
    }
    // On the circle the squared distance from q is r^2 + m^2 + 2 r m cos of
    // the angle from the direction q -> centre: the two directions at the
    // reach lie that angle either side of it.
    const auto& arc = static_cast<const CArcSegment2D&>(candidate);
    const CPoint2D w = arc.centre - q;
    const double m = w.Length();
    const double radius = arc.radius;
    if (!(m > 0.0) || !(radius > 0.0))
        return none;
    const double cosine = (reach * reach - radius * radius - m * m) / (2.0 * radius * m);
    if (!(std::fabs(cosine) <= 1.0))
        return none;
    const double sine = std::sqrt(std::max(0.0, 1.0 - cosine * cosine));
    const CPoint2D axis = w * (1.0 / m), across(-axis.y, axis.x);
    const CPoint2D start(arc.startDir.x, arc.startDir.y);
    Split best = none;
    for (double side : {1.0, -1.0}) {
        const CPoint2D u = axis * cosine + across * (side * sine);
        double angle = std::atan2(arc.ccw ? start.Cross(u) : u.Cross(start), start.Dot(u));
        if (angle < 0.0)
            angle += kTwoPi;
        const double along = angle * radius;
        const bool within = fromStart ? along <= alongP + tol : along >= alongP - tol && along <= length + tol;
        if (within && !(fromStart ? along <= best.along : along >= best.along))
            best = {along, arc.centre + u * radius};
    }
    return best;
}

// A candidate of the filtering offset, a line or an arc held in place:
// a stage makes and drops one for every segment and vertex it takes, so
// they live in one list rather than as a heap object each. Used through
// * and -> as the segment.
class CCandidate {
public:
    CCandidate() = default;
    CCandidate(const CLineSegment2D& line) : m_segment(line) {}
    CCandidate(const CArcSegment2D& arc) : m_segment(arc) {}
    // A copy of a chain's segment, which is a line or an arc.
    static CCandidate Of(const CSegment2D& segment)
    {
        if (segment.GetType() == kSegmentTypeArc)
            return CCandidate(static_cast<const CArcSegment2D&>(segment));
        return CCandidate(static_cast<const CLineSegment2D&>(segment));
    }

    CSegment2D& operator*() { return *operator->(); }
    const CSegment2D& operator*() const { return *operator->(); }
    CSegment2D* operator->()
    {
        if (auto* arc = std::get_if<CArcSegment2D>(&m_segment))
            return arc;
        return std::get_if<CLineSegment2D>(&m_segment);
    }
    const CSegment2D* operator->() const
    {
        if (const auto* arc = std::get_if<CArcSegment2D>(&m_segment))
            return arc;
        return std::get_if<CLineSegment2D>(&m_segment);
    }

private:
    std::variant<CLineSegment2D, CArcSegment2D> m_segment;
};

// The filtering offset of one chain: what does not depend on the distance
// is worked out once, so that several distances can be offset in turn.
class CFilteringOffset {
public:
    CFilteringOffset(const CCurveList& chain, int side, PairSearch search, bool uncrossed,
                     const CChainDistance* near);

    // The share of a segment's offset or a vertex's arc, as fractions of
    // its length from its start: the same angles or the same stretch of a
    // line at every distance. Empty when lo > hi.
    struct Range {
        double lo = 0.0, hi = 1.0;
    };
    // The portions of the candidates at `distance` that keep it from the
    // chain on the offset side. `features` (empty: every one whole) says
    // which share of each segment's offset (index i) and of each vertex's
    // arc (count + v) to take as candidates; on return it holds the share
    // that the kept portions of each take up. Returns how many portions
    // were kept, and adds them to `pieces` when that is given (a stage that
    // only narrows the next needs the shares alone).
    int Portions(double distance, ScratchVector<Range>& features, Pieces* pieces);
    // How many times the length of the outline the last call's candidates
    // were (after their cuts; 0 when it kept nothing).
    double Overlap() const { return m_keptLength > 0.0 ? m_candidateLength / m_keptLength : 0.0; }
    // The same foreseen for the next call at `distance` from a sample of the
    // features that the last call kept (`features`, as it returned them):
    // how many times the length they took up then their candidates will
    // be once cut at their neighbours.
    double ForeseenOverlap(double distance, const ScratchVector<Range>& features) const;

private:
    // Smooth: the chain runs on without a corner, so that a point whose
    // nearest point is the vertex lies on the side the segments give it.
    enum class VertexKind { Inner, Outer, DoublesBack, Smooth };
    // What a vertex adds to the borders where the chain is not simple: the
    // arc across its cone on the other side, or a whole circle.
    enum class Border { None, Cone, Circle };
    struct SideVotes {
        bool ambiguous = false, anyRight = false, anyWrong = false;
    };
    SideVotes Vote(const CPoint2D& m, double within) const;
    bool OnOffsetSide(const CPoint2D& m, double dm, double slack);
    void CutAtNeighbours(double distance, double slack, std::vector<std::pair<int, CPoint2D>>& tangentSplits);
    CArcSegment2D ConeArc(int v, double distance, int onSide) const;
    std::optional<CCandidate> NarrowedCandidate(int feature, double distance, const Range& share, double slack) const;
    CPoint2D NearestOfFeature(int feature, const CPoint2D& p) const;
    bool CutAt(const CSegment2D& candidate, int end, const CSegment2D& beside, int besideFeature, double distance,
               double slack, Split& cut, Split& crossing) const;

    const CCurveList& m_chain;
    int m_side;
    PairSearch m_search;
    int m_count;
    bool m_closed;
    bool m_simple = false;
    // Vertex v is the start of segment v (and the end of the last segment
    // for an open chain, index count).
    ScratchVector<VertexKind> m_vertexKind;
    ScratchVector<Border> m_border;
    // The chain's distance tree: the caller's, or one of its own.
    std::optional<CChainDistance> m_ownNear;
    const CChainDistance& m_near;
    std::unique_ptr<CCurveList> m_orientedCopy;
    int m_wantInside = -1;
    std::vector<CChainDistance::Near> m_nearby;
    std::vector<int> m_rayCandidates;
    // Kept from one stage to the next for their memory.
    ScratchVector<CCandidate> m_candidates, m_borders;
    ScratchVector<int> m_featureOf;
    ScratchVector<Range> m_shareOf, m_kept;
    ScratchVector<Split> m_splits;
    ScratchVector<int> m_splitOrder, m_splitCursor;
    ScratchVector<SegmentBox> m_boxes;
    std::vector<Split> m_bounds;
    // For each feature, the features beside its share on the outline at
    // the last distance (before it, after it; -1: none found), and those
    // being found at this one.
    ScratchVector<std::array<int, 2>> m_neighbours, m_keptNeighbours;
    ScratchVector<int> m_candidateOf;
    ScratchVector<char> m_narrowed;
    struct Cut {
        int candidate;
        Split from, to;
        // The neighbours' crossings (other: the neighbour's candidate).
        Split crossing[2];
    };
    ScratchVector<Cut> m_cuts;
    // For each candidate cut at a neighbour, how long the part between
    // the cut and the crossing is at its start and at its end (-1: not
    // cut there); and the crossings as splits. The kernel reads a point
    // within the tolerance of an arc's start direction as at its start,
    // which on a large circle can be farther from it than the part is
    // long: the crossing splits the candidate where it lies.
    ScratchVector<std::array<double, 2>> m_bandOf;
    ScratchVector<Split> m_cutSplits;
    ScratchVector<int> m_renumbered;
    double m_candidateLength = 0.0, m_keptLength = 0.0;
    // The length of the portions each feature kept at the last call.
    ScratchVector<double> m_keptLengthOf;
};

// Cuts a candidate to the part from `from` to `to`, `length` long. An arc
// part so short that its end directions agree at the tolerance would read
// as a whole circle: its chord, which lies within far less than the
// tolerance of it, stands for it. (Chords of longer arcs would move their
// crossings with candidates that meet them at a slant.)
void CutTo(CCandidate& candidate, const CPoint2D& from, const CPoint2D& to, double length)
{
    candidate->SetStartPoint(from);
    candidate->SetEndPoint(to);
    if (candidate->GetType() == kSegmentTypeArc) {
        const auto& arc = static_cast<const CArcSegment2D&>(*candidate);
        if (length < arc.radius && arc.IsFullCircle())
            candidate = CLineSegment2D(from, to);
    }
}

// The share `wanted` of a candidate, a little more against rounding at its
// ends; returns the share it now is of the whole.
CFilteringOffset::Range Narrow(CCandidate& candidate, const CFilteringOffset::Range& wanted,
                               double slack)
{
    const double length = Length(*candidate);
    const double margin = length > 0.0 ? 4.0 * slack / length : 1.0;
    CFilteringOffset::Range share;
    share.lo = std::max(0.0, wanted.lo - margin);
    share.hi = std::min(1.0, wanted.hi + margin);
    if (share.lo > 0.0 || share.hi < 1.0)
        CutTo(candidate, PointAlong(*candidate, share.lo * length), PointAlong(*candidate, share.hi * length),
              (share.hi - share.lo) * length);
    return share;
}

CFilteringOffset::CFilteringOffset(const CCurveList& chain, int side, PairSearch search, bool uncrossed,
                                   const CChainDistance* near)
    : m_chain(chain), m_side(side), m_search(search), m_count(chain.GetCount()), m_closed(chain.IsClosed() != 0),
      m_vertexKind(static_cast<size_t>(m_count) + 1, VertexKind::Inner),
      m_border(static_cast<size_t>(m_count) + 1, Border::None),
      m_ownNear(near ? std::nullopt : std::optional<CChainDistance>(std::in_place, chain)),
      m_near(near ? *near : *m_ownNear)
{
    const double tol = g_geometryTolerance;
    for (int v = m_closed ? 0 : 1; v < m_count; ++v) {
        const CSegment2D& h = *chain.segments[static_cast<size_t>(v == 0 ? m_count - 1 : v - 1)];
        const CSegment2D& i = *chain.segments[static_cast<size_t>(v)];
        const CPoint2D u = i.GetStartPoint();
        const CPoint2D a = h.GetDirectionAt(u, 1);
        const CPoint2D l = i.GetDirectionAt(u, 1);
        const CVector2D t = side == 0 ? CVector2D(-a, l) : CVector2D(l, -a);
        if (t.y > tol)
            m_vertexKind[v] = VertexKind::Outer;
        else if (!(t.y < -tol) && t.x > 0.0)
            m_vertexKind[v] = VertexKind::DoublesBack;
        else if (t.y < -tol)
            m_border[v] = Border::Cone;
        else if (t.y > -tol && t.x < 0.0)
            m_vertexKind[v] = VertexKind::Smooth;
        else
            m_border[v] = Border::Circle;
    }
    // The borders serve only where the chain crosses, touches or doubles
    // back on itself. Beside a closed chain that does none of that, a
    // portion that comes nearer than the distance does so from the offset
    // side, across another candidate: a path from a point at the distance to
    // one beyond the chain crosses the chain, and nearer to it the boundary
    // of the points within the distance, which candidates make up.
    m_simple = m_closed &&
               std::none_of(m_vertexKind.begin(), m_vertexKind.end(),
                            [](VertexKind kind) { return kind == VertexKind::DoublesBack; }) &&
               (uncrossed || chain.SelfIntersections(nullptr, search) == 0);
}

// The side that the nearest points of the chain within `within` of the
// least distance give m: ambiguous where the chain doubles back at one of
// them, and both right and wrong where they disagree.
CFilteringOffset::SideVotes CFilteringOffset::Vote(const CPoint2D& m, double within) const
{
    SideVotes votes;
    for (const auto& nb : m_nearby) {
        if (nb.distance > within)
            continue;
        const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(nb.index)];
        int vertex = -1;
        if (nb.point.IsEqual(segment.GetStartPoint()))
            vertex = nb.index;
        else if (nb.point.IsEqual(segment.GetEndPoint()))
            vertex = nb.index + 1 == m_count && m_closed ? 0 : nb.index + 1;
        if (vertex >= 0 && m_vertexKind[static_cast<size_t>(vertex)] != VertexKind::Smooth) {
            if (!m_closed && (vertex == 0 || vertex == m_count)) {
                votes.anyRight = true;
                continue;
            }
            const VertexKind kind = m_vertexKind[static_cast<size_t>(vertex)];
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
        ((cross < 0.0 ? 1 : 0) == m_side ? votes.anyRight : votes.anyWrong) = true;
    }
    return votes;
}

// The offset side of a point that keeps the distance, judged at its
// nearest points of the chain (m_nearby, those within dm + slack); where
// they disagree (a slit, a chain running
// back over itself) the point's place in the closed chain decides.
bool CFilteringOffset::OnOffsetSide(const CPoint2D& m, double dm, double slack)
{
    SideVotes votes = Vote(m, dm + slack);
    if (!votes.ambiguous && votes.anyRight && votes.anyWrong) {
        // Beside a sharp inner corner the vertex lies only a little farther
        // than the nearest point of its neighbour, within the slack: the
        // points at the least distance itself, up to rounding, decide when
        // they agree.
        double least = std::numeric_limits<double>::infinity();
        for (const auto& nb : m_nearby)
            least = std::min(least, nb.distance);
        const double rounding = 1e-13 * (1.0 + std::fabs(m.x) + std::fabs(m.y) + dm);
        const SideVotes nearest = Vote(m, least + rounding);
        if (!nearest.ambiguous && !(nearest.anyRight && nearest.anyWrong))
            votes = nearest;
    }
    if (!votes.ambiguous && !(votes.anyRight && votes.anyWrong))
        return !votes.anyWrong;
    if (!m_closed)
        return true;
    if (m_wantInside < 0) {
        m_orientedCopy = m_chain.Copy();
        m_wantInside = m_side == m_orientedCopy->IsClockwise(0) ? 1 : 0;
    }
    // Only the segments near m and those whose boxes meet the horizontal
    // line left of it can answer: the search through the tree keeps this
    // from scanning the whole chain for every point.
    m_near.AlongRayLeft(m, m_rayCandidates);
    const PointPlace place = m_orientedCopy->ClassifyPointAmong(m, m_rayCandidates);
    return place != PointPlace::On && (place == PointPlace::Inside) == (m_wantInside == 1);
}

// A point at the distance from vertex v has the vertex as its nearest point
// of the chain only inside the vertex's normal cone, between the normals of
// the two segments; elsewhere on the circle a segment is nearer. So a
// corner needs only the arc across its cone, which keeps the number of
// crossings proportional to the chain's detail instead of to the circles'
// overlap.
CArcSegment2D CFilteringOffset::ConeArc(int v, double distance, int onSide) const
{
    const CSegment2D& h = *m_chain.segments[static_cast<size_t>(v == 0 ? m_count - 1 : v - 1)];
    const CSegment2D& i = *m_chain.segments[static_cast<size_t>(v)];
    const CPoint2D u = i.GetStartPoint();
    const CPoint2D a = h.GetDirectionAt(u, 1);
    const CPoint2D l = i.GetDirectionAt(u, 1);
    return CArcSegment2D(u, u + a.Perpendicular(onSide) * distance, u + l.Perpendicular(onSide) * distance, onSide);
}

// The candidate of a segment or of an outer vertex at the distance, cut to
// its share; none where a segment has no offset there.
std::optional<CCandidate> CFilteringOffset::NarrowedCandidate(int feature, double distance, const Range& share,
                                                              double slack) const
{
    std::optional<CCandidate> candidate;
    if (feature < m_count) {
        candidate = CCandidate::Of(*m_chain.segments[static_cast<size_t>(feature)]);
        if (!(*candidate)->Offset(distance, m_side))
            return std::nullopt;
    } else if (feature - m_count < m_count &&
               m_vertexKind[static_cast<size_t>(feature - m_count)] == VertexKind::Outer) {
        candidate = ConeArc(feature - m_count, distance, m_side);
    } else {
        return std::nullopt;
    }
    Narrow(*candidate, share, slack);
    return candidate;
}

// The point of a feature nearest p: on its segment, or the vertex itself.
CPoint2D CFilteringOffset::NearestOfFeature(int feature, const CPoint2D& p) const
{
    if (feature < m_count)
        return NearestOnSegment(*m_chain.segments[static_cast<size_t>(feature)], p);
    const int v = feature - m_count;
    return v < m_count ? m_chain.segments[static_cast<size_t>(v)]->GetStartPoint()
                       : m_chain.segments[static_cast<size_t>(m_count - 1)]->GetEndPoint();
}

// Moves `cut` (end 0: the start the candidate keeps from; 1: its end)
// farther in towards a crossing with the candidate `beside` of the
// neighbour feature besideFeature, where the part beyond the crossing lies
// within the distance of that feature; `crossing` holds the crossing and
// how far along it lies. The cut stops where that part comes within the slack of
// the distance: the portions there (slivers where several candidates meet
// close together) are judged as the rest are, once split. True when it
// moved.
bool CFilteringOffset::CutAt(const CSegment2D& candidate, int end, const CSegment2D& beside, int besideFeature,
                             double distance, double slack, Split& cut, Split& crossing) const
{
    SegmentPoints points;
    const int found = candidate.Intersect(beside, points, kClosedSegment, kClosedSegment);
    bool moved = false;
    for (int i = 0; i < found; ++i) {
        const CPoint2D& p = points[static_cast<size_t>(i)];
        const double along = AlongOf(candidate, p);
        if (!(end == 0 ? along > crossing.along : along < crossing.along))
            continue;
        const CPoint2D q = NearestOfFeature(besideFeature, p);
        if (!CoveredUpTo(candidate, end == 0, p, q, distance, slack))
            continue;
        const Split reach = ReachAlong(candidate, end == 0, q, distance - slack, along);
        if (std::isnan(reach.along))
            continue;
        cut = reach;
        crossing = {along, p};
        moved = true;
    }
    return moved;
}

double CFilteringOffset::ForeseenOverlap(double distance, const ScratchVector<Range>& features) const
{
    if (m_neighbours.size() != features.size() || m_keptLengthOf.size() != features.size())
        return 0.0;
    const double tol = g_geometryTolerance;
    const double slack = DistanceSlack(distance);
    ScratchVector<int> live;
    for (size_t f = 0; f < features.size(); ++f)
        if (features[f].lo <= features[f].hi && m_keptLengthOf[f] > 0.0)
            live.push_back(static_cast<int>(f));
    const size_t samples = std::min(live.size(), kOverlapSamples);
    double before = 0.0, after = 0.0;
    for (size_t k = 0; k < samples; ++k) {
        const int f = live[k * live.size() / samples];
        const std::optional<CCandidate> candidate =
            NarrowedCandidate(f, distance, features[static_cast<size_t>(f)], slack);
        if (!candidate)
            continue;
        const double length = Length(**candidate);
        Split from{0.0, (*candidate)->GetStartPoint()}, to{length, (*candidate)->GetEndPoint()};
        Split crossings[2] = {{0.0, from.point}, {length, to.point}};
        for (int end = 0; end < 2; ++end) {
            const int other = m_neighbours[static_cast<size_t>(f)][static_cast<size_t>(end)];
            if (other < 0 || other == f || !(features[static_cast<size_t>(other)].lo <= features[static_cast<size_t>(other)].hi))
                continue;
            const std::optional<CCandidate> beside =
                NarrowedCandidate(other, distance, features[static_cast<size_t>(other)], slack);
            if (beside)
                CutAt(**candidate, end, **beside, other, distance, slack, end == 0 ? from : to, crossings[end]);
        }
        before += m_keptLengthOf[static_cast<size_t>(f)];
        after += std::max(0.0, to.along - from.along - tol);
    }
    return before > 0.0 ? after / before : 0.0;
}

// A candidate runs on beside each neighbour that bounded its share at the
// smaller distance, within the distance of the neighbour's segment or
// vertex, up to where their candidates cross: the part before the crossing
// can never be on the outline, whether or not the neighbour stays on it.
// Cutting it off keeps a candidate about as long as its share will be where
// its neighbours stay, so that a stage can reach much farther than the one
// before without its candidates meeting many others. Only candidates cut
// to their shares are cut again; one covered whole is dropped.
void CFilteringOffset::CutAtNeighbours(double distance, double slack,
                                       std::vector<std::pair<int, CPoint2D>>& tangentSplits)
{
    const double tol = g_geometryTolerance;
    ScratchVector<CCandidate>& candidates = m_candidates;
    const int built = static_cast<int>(candidates.size());
    ScratchVector<int>& candidateOf = m_candidateOf;
    candidateOf.assign(m_neighbours.size(), -1);
    for (int k = 0; k < built; ++k)
        if (m_narrowed[static_cast<size_t>(k)])
            candidateOf[static_cast<size_t>(m_featureOf[static_cast<size_t>(k)])] = k;
    // The cuts, in the order of the candidates they cut.
    ScratchVector<Cut>& cuts = m_cuts;
    cuts.clear();
    cuts.reserve(static_cast<size_t>(built));
    m_cutSplits.reserve(2 * static_cast<size_t>(built));
    for (int k = 0; k < built; ++k) {
        if (!m_narrowed[static_cast<size_t>(k)])
            continue;
        const CSegment2D& candidate = *candidates[static_cast<size_t>(k)];
        const double length = Length(candidate);
        Cut cut{k,
                {0.0, candidate.GetStartPoint()},
                {length, candidate.GetEndPoint()},
                {Split{0.0, candidate.GetStartPoint()}, Split{length, candidate.GetEndPoint()}}};
        bool moved = false;
        const std::array<int, 2>& around = m_neighbours[static_cast<size_t>(m_featureOf[static_cast<size_t>(k)])];
        for (int end = 0; end < 2; ++end) {
            const int other = around[static_cast<size_t>(end)] < 0
                                  ? -1
                                  : candidateOf[static_cast<size_t>(around[static_cast<size_t>(end)])];
            if (other < 0 || other == k)
                continue;
            if (CutAt(candidate, end, *candidates[static_cast<size_t>(other)], around[static_cast<size_t>(end)],
                      distance, slack, end == 0 ? cut.from : cut.to, cut.crossing[end])) {
                cut.crossing[end].other = other;
                moved = true;
            }
        }
        if (moved)
            cuts.push_back(cut);
    }
    if (cuts.empty())
        return;
    ScratchVector<int>& renumbered = m_renumbered;
    renumbered.assign(static_cast<size_t>(built), -1);
    m_bandOf.assign(static_cast<size_t>(built), {-1.0, -1.0});
    int kept = 0;
    size_t nextCut = 0;
    for (int k = 0; k < built; ++k) {
        const size_t at = static_cast<size_t>(k);
        if (nextCut < cuts.size() && cuts[nextCut].candidate == k) {
            const Cut& cut = cuts[nextCut++];
            const double length = Length(*candidates[at]);
            if (!(cut.to.along - cut.from.along >= tol))
                continue;
            Range& share = m_shareOf[at];
            const double width = share.hi - share.lo;
            const Range was = share;
            share.lo = was.lo + width * (cut.from.along / length);
            share.hi = was.lo + width * (cut.to.along / length);
            CutTo(candidates[at], cut.from.point, cut.to.point, cut.to.along - cut.from.along);
            m_bandOf[at] = {cut.from.along > 0.0 ? cut.crossing[0].along - cut.from.along : -1.0,
                            cut.to.along < length ? cut.to.along - cut.crossing[1].along : -1.0};
            for (int end = 0; end < 2; ++end)
                if (m_bandOf[at][static_cast<size_t>(end)] >= 0.0)
                    m_cutSplits.push_back({cut.crossing[end].along - cut.from.along, cut.crossing[end].point,
                                           cut.crossing[end].other, kept});
        }
        renumbered[at] = kept;
        if (kept != k) {
            candidates[static_cast<size_t>(kept)] = std::move(candidates[at]);
            m_featureOf[static_cast<size_t>(kept)] = m_featureOf[at];
            m_shareOf[static_cast<size_t>(kept)] = m_shareOf[at];
            m_narrowed[static_cast<size_t>(kept)] = m_narrowed[at];
            m_bandOf[static_cast<size_t>(kept)] = m_bandOf[at];
        }
        ++kept;
    }
    candidates.resize(static_cast<size_t>(kept));
    m_featureOf.resize(static_cast<size_t>(kept));
    m_shareOf.resize(static_cast<size_t>(kept));
    m_narrowed.resize(static_cast<size_t>(kept));
    m_bandOf.resize(static_cast<size_t>(kept));
    for (auto& [k, p] : tangentSplits)
        k = renumbered[static_cast<size_t>(k)];
    for (Split& split : m_cutSplits)
        split.other = split.other >= 0 ? renumbered[static_cast<size_t>(split.other)] : -1;
}

int CFilteringOffset::Portions(double distance, ScratchVector<Range>& features,
                                Pieces* pieces)
{
    const double tol = g_geometryTolerance;
    const int count = m_count;
    const int side = m_side;
    const bool all = features.empty();
    // Feature i < count: the offset of segment i; count + v: the arc of
    // vertex v.
    auto wanted = [&](int feature) {
        return all || features[static_cast<size_t>(feature)].lo <= features[static_cast<size_t>(feature)].hi;
    };
    const double slack = DistanceSlack(distance);
    ScratchVector<CCandidate>& candidates = m_candidates;
    ScratchVector<int>& featureOf = m_featureOf;
    candidates.clear();
    featureOf.clear();
    m_narrowed.clear();
    // At most a candidate and a border for every segment and vertex: room
    // for them at once (the lists serve every stage).
    const size_t most = 2 * (2 * static_cast<size_t>(count) + 1);
    candidates.reserve(most);
    featureOf.reserve(most);
    m_narrowed.reserve(most);
    m_shareOf.reserve(most);
    // The share of the whole candidate that each candidate is.
    ScratchVector<Range>& shareOf = m_shareOf;
    shareOf.clear();
    auto add = [&](CCandidate candidate, int feature, bool trim) {
        // The share that kept portions took up at the smaller distance.
        Range share;
        if (!all && trim)
            share = Narrow(candidate, features[static_cast<size_t>(feature)], slack);
        candidates.push_back(std::move(candidate));
        featureOf.push_back(feature);
        shareOf.push_back(share);
        m_narrowed.push_back(!all && trim ? 1 : 0);
    };
    std::vector<std::pair<int, CPoint2D>> tangentSplits;
    // Where the chain crosses or runs back over itself, a portion can come
    // nearer than the distance through the far side of a segment or round
    // an inner vertex: those borders split the candidates too, but are
    // never part of the result themselves.
    ScratchVector<CCandidate>& borders = m_borders;
    borders.clear();
    if (!m_simple)
        for (int i = 0; i < count; ++i) {
            CCandidate piece = CCandidate::Of(*m_chain.segments[static_cast<size_t>(i)]);
            if (piece->Offset(distance, side ? 0 : 1))
                borders.push_back(piece);
        }
    auto addVertex = [&](int v) {
        const VertexKind kind = m_vertexKind[static_cast<size_t>(v)];
        const Border border = m_border[static_cast<size_t>(v)];
        if (kind != VertexKind::Outer && kind != VertexKind::DoublesBack && (m_simple || border == Border::None))
            return;
        const CSegment2D& h = *m_chain.segments[static_cast<size_t>(v == 0 ? count - 1 : v - 1)];
        const CSegment2D& i = *m_chain.segments[static_cast<size_t>(v)];
        const CPoint2D u = i.GetStartPoint();
        const CPoint2D a = h.GetDirectionAt(u, 1);
        const CPoint2D l = i.GetDirectionAt(u, 1);
        auto coneArc = [&](int onSide) { return ConeArc(v, distance, onSide); };
        auto circle = [&] {
            CArcSegment2D whole;
            whole.ccw = side;
            whole.SetCircle(u, distance);
            return whole;
        };
        if (kind == VertexKind::Outer) {
            if (wanted(count + v))
                add(coneArc(side), count + v, true);
        } else if (kind == VertexKind::DoublesBack) {
            // Where the chain turns back on itself the cone is a half plane
            // on either side: the whole circle. It meets the offsets of the
            // two segments where they end, touching them: a touch that
            // rounding turns into a near miss must still split the circle.
            if (wanted(count + v)) {
                tangentSplits.push_back({static_cast<int>(candidates.size()), u + a.Perpendicular(side) * distance});
                tangentSplits.push_back({static_cast<int>(candidates.size()), u + l.Perpendicular(side) * distance});
                add(circle(), count + v, false);
            }
        } else if (border == Border::Cone) {
            borders.push_back(coneArc(side ? 0 : 1));
        } else {
            borders.push_back(circle());
        }
    };
    // In the order of the chain, each vertex's arc before the offset of the
    // segment it starts: the portions of an outline then mostly follow one
    // another in the list, which the chaining and the pruning of spurs
    // look at first.
    for (int i = 0; i < count; ++i) {
        if (m_closed || i > 0)
            addVertex(i);
        if (!wanted(i))
            continue;
        CCandidate piece = CCandidate::Of(*m_chain.segments[static_cast<size_t>(i)]);
        if (piece->Offset(distance, side))
            add(piece, i, true);
    }

    m_bandOf.clear();
    m_cutSplits.clear();
    if (!all && m_neighbours.size() == features.size())
        CutAtNeighbours(distance, slack, tangentSplits);

    // Crossings split the candidates.
    const int n = static_cast<int>(candidates.size());
    m_candidateLength = 0.0;
    m_keptLength = 0.0;
    for (const auto& candidate : candidates)
        m_candidateLength += Length(*candidate);
    candidates.insert(candidates.end(), borders.begin(), borders.end());
    const int total = static_cast<int>(candidates.size());
    // The points that split the candidates, in one list (one allocation
    // rather than one a candidate), ordered by candidate, then along. Most
    // candidates cross about two others; room for that at once spares the
    // list's growth copying it.
    ScratchVector<Split>& splits = m_splits;
    ScratchVector<SegmentBox>& boxes = m_boxes;
    splits.clear();
    splits.reserve(4 * static_cast<size_t>(n));
    boxes.assign(static_cast<size_t>(total), SegmentBox{});
    if (m_search == PairSearch::Indexed)
        for (int k = 0; k < total; ++k)
            boxes[k] = IntersectionBox(*candidates[k], kClosedSegment);
    for (const auto& [k, p] : tangentSplits)
        splits.push_back({candidates[k]->DistanceAlong(p, 1), p, -1, k});
    SegmentPoints points;
    auto split = [&](int i, int j) {
        if (i >= n)
            return;
        const int found = candidates[i]->Intersect(*candidates[j], points, kClosedSegment, kClosedSegment);
        for (int k = 0; k < found; ++k) {
            splits.push_back({candidates[i]->DistanceAlong(points[k], 1), points[k], j, i});
            if (j < n)
                splits.push_back({candidates[j]->DistanceAlong(points[k], 1), points[k], i, j});
        }
    };
    if (m_search == PairSearch::Indexed)
        ForEachLaterOverlap(boxes, n, split);
    else
        ForEachCandidatePair(boxes, m_search, split);
    splits.insert(splits.end(), m_cutSplits.begin(), m_cutSplits.end());
    SortByCandidate(splits, n, m_splitOrder, m_splitCursor);

    ScratchVector<Range>& kept = m_kept;
    kept.assign(static_cast<size_t>(count) * 2 + 1, Range{1.0, 0.0});
    m_keptNeighbours.assign(kept.size(), {-1, -1});
    m_keptLengthOf.assign(kept.size(), 0.0);
    int keptCount = 0;
    std::vector<Split>& bounds = m_bounds;
    for (int k = 0; k < n; ++k) {
        CSegment2D& candidate = *candidates[k];
        const double length = Length(candidate);
        const bool circle = candidate.GetType() == kSegmentTypeArc &&
                            static_cast<const CArcSegment2D&>(candidate).IsFullCircle();
        const size_t firstCut = k == 0 ? 0 : static_cast<size_t>(m_splitCursor[static_cast<size_t>(k) - 1]);
        const size_t next = static_cast<size_t>(m_splitCursor[static_cast<size_t>(k)]);
        const bool uncut = next == firstCut;
        // The segment the candidate comes from: its own, or the one a
        // vertex starts.
        const int near = featureOf[k] < count ? featureOf[k] : featureOf[k] - count;
        bounds.clear();
        if (!circle)
            bounds.push_back({0.0, candidate.GetStartPoint()});
        for (size_t c = firstCut; c < next; ++c) {
            const Split& s = splits[static_cast<size_t>(m_splitOrder[c])];
            if (bounds.empty() || s.along - bounds.back().along >= tol)
                bounds.push_back(s);
            else if (bounds.back().other < 0)
                // A crossing at the candidate's start (where it was cut at
                // a neighbour) still names the neighbour.
                bounds.back().other = s.other;
        }
        if (circle) {
            if (bounds.empty())
                bounds.push_back({0.0, candidate.GetStartPoint()});
            bounds.push_back({bounds.front().along + length, bounds.front().point});
        } else if (length - bounds.back().along >= tol) {
            bounds.push_back({length, candidate.GetEndPoint()});
        } else {
            bounds.back() = {length, candidate.GetEndPoint(), bounds.back().other};
        }
        for (size_t b = 0; b + 1 < bounds.size(); ++b) {
            // Slivers shorter than the chaining tolerance are kept: where
            // several candidates cross close together the outline can run
            // over two or more of them in a row, together longer than the
            // tolerance. The chaining bridges the ones it does not need.
            const double from = bounds[b].along, to = bounds[b + 1].along;
            // A portion from a cut up to the neighbour's crossing lies
            // within the slack of the distance from the neighbour; it
            // joins nothing the outline needs (the crossing splits the
            // rest), as the part cut off before it would have.
            if (!m_bandOf.empty()) {
                const std::array<double, 2>& band = m_bandOf[static_cast<size_t>(k)];
                if ((b == 0 && band[0] >= 0.0 && to <= band[0] + tol) ||
                    (b + 2 == bounds.size() && band[1] >= 0.0 && from >= length - band[1] - tol))
                    continue;
            }
            double middle = 0.5 * (from + to);
            if (middle >= length)
                middle -= length;
            const CPoint2D m = PointAlong(candidate, middle);
            // Most portions that come too near do so beside the segments
            // round the one they come from: the search looks there first.
            const double dm = m_near.DistanceAndNearest(m, distance, distance - slack, slack, m_nearby, near);
            if (dm < distance - slack || !OnOffsetSide(m, dm, slack))
                continue;
            ++keptCount;
            m_keptLength += to - from;
            m_keptLengthOf[static_cast<size_t>(featureOf[k])] += to - from;
            if (pieces) {
                auto piece = candidate.Clone(0);
                if (!(circle && bounds.size() == 2 && uncut)) {
                    piece->SetStartPoint(bounds[b].point);
                    piece->SetEndPoint(bounds[b + 1].point);
                    if (IsArcSliver(*piece, to - from))
                        piece = std::make_unique<CLineSegment2D>(bounds[b].point, bounds[b + 1].point);
                }
                pieces->push_back(std::move(piece));
            }
            if (length > 0.0) {
                Range& range = kept[static_cast<size_t>(featureOf[k])];
                // The features whose candidates bound the share on the
                // outline: the first kept portion's start, the last's end.
                auto neighbour = [&](int other) { return other >= 0 && other < n ? featureOf[other] : -1; };
                std::array<int, 2>& around = m_keptNeighbours[static_cast<size_t>(featureOf[k])];
                if (range.lo > range.hi)
                    around[0] = neighbour(bounds[b].other);
                around[1] = neighbour(bounds[b + 1].other);
                const Range& share = shareOf[static_cast<size_t>(k)];
                const double width = share.hi - share.lo;
                range.lo = std::min(range.lo, share.lo + width * std::max(0.0, from / length));
                range.hi = std::max(range.hi, share.lo + width * std::min(1.0, to / length));
            }
        }
    }
    std::swap(features, kept);
    std::swap(m_neighbours, m_keptNeighbours);
    return keptCount;
}


// Growing stages: the second reaches kFirstGrowth times as far as the first,
// and each further one as far again as its candidates allow. A stage whose
// candidates, after their cuts, are about as long as its outline (every
// feature kept its neighbours: teeth on a large gear) may reach much
// farther; one whose candidates overlap the outline several times over
// (features leaving between their neighbours: jittered outlines) has them
// grow with the reach, and the next stage reaches less far, so that the
// candidates of each stage make about kTargetExcess times its outline in
// excess.
constexpr double kFirstGrowth = 8.0;
constexpr double kTargetExcess = 2.0;
constexpr double kLeastGrowth = 2.0;

double NextGrowth(double growth, double overlap)
{
    const double excess = std::max(overlap - 1.0, 1e-3);
    return std::max(kLeastGrowth, 1.0 + (growth - 1.0) * kTargetExcess / excess);
}

} // namespace

int FilteredOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                   int simplify, double simplifyTolerance, PairSearch search)
{
    return FilteredOffsetInStages(chain, {distance}, side, results, simplify, simplifyTolerance, search);
}

int FilteredOffsetInStages(const CCurveList& chain, const std::vector<double>& distances, int side,
                           std::vector<std::unique_ptr<CCurveList>>& results, int simplify, double simplifyTolerance,
                           PairSearch search, bool uncrossed, const CChainDistance* near, bool grow)
{
    if (distances.empty())
        return 0;
    const double tol = g_geometryTolerance;
    const double distance = distances.back();
    const bool closed = chain.IsClosed() != 0;
    CFilteringOffset filtering(chain, side, search, uncrossed, near);
    // The points at the distance whose nearest point of the chain lies on
    // a segment or a vertex lie, nearer to it, on the outline at every
    // smaller distance with the same nearest point: the disc round a point
    // of the outline that holds no point of the chain holds the smaller
    // discs touching the chain at the same place. So only the segments and
    // vertices that make up the outline at a smaller distance can make it
    // up at the next.
    ScratchVector<CFilteringOffset::Range> features;
    Pieces kept;
    std::vector<double> reach(distances);
    for (size_t k = 0; k < reach.size(); ++k) {
        const bool last = k + 1 == reach.size();
        if (filtering.Portions(reach[k], features, last ? &kept : nullptr) == 0)
            return 0;
        if (grow && !last) {
            const double growth = k == 0 ? kFirstGrowth : NextGrowth(reach[k] / reach[k - 1], filtering.Overlap());
            if (reach.back() > (2.0 * growth - 1.0) * reach[k]) {
                const double foreseen = filtering.ForeseenOverlap(reach.back(), features);
                if (!(foreseen > 0.0 && foreseen - 1.0 <= kTargetExcess))
                    reach.insert(reach.begin() + static_cast<std::ptrdiff_t>(k) + 1, reach[k] * growth);
            }
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
    // outline that a gap broke, which the caller must see. Likewise a
    // closed list that encloses less area than a band of the tolerance
    // along it: a knot of slivers where candidates cross close together,
    // closed only by the chaining tolerance.
    std::vector<std::unique_ptr<CCurveList>> lists;
    ChainPieces(std::move(kept), lists, simplify, simplifyTolerance);
    int written = 0;
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    for (auto& list : lists) {
        if (!list->IsClosed() && list->GetLength() < distance)
            continue;
        double length = 0.0;
        if (list->IsClosed() && std::fabs(list->SignedArea(&length)) < tol * length)
            continue;
        results.push_back(std::move(list));
        ++written;
    }
    return written;
}
