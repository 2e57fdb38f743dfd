// CCurveList::Combine: the outlines of the union or the difference of two
// closed chains that cross, by a walk over their crossings.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; lengths in drawing units; tolerant tests compare with
// g_geometryTolerance. Both chains' clockwise flags must be current.
//
// Steps: find the crossings (CollectCrossings), classify how the other chain
// passes through each (exit or enter), sort them along both chains
// (SortAlong), then walk: this chain forwards from an entry to the next
// exit, the other chain (forwards or backwards by mode) to the next entry,
// until the outline closes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "addins/milling/geometry/curvelist.h"

namespace {

struct Crossing {
    CPoint2D point;
    int a = 0; // segment on this chain
    int b = 0; // segment on the other chain
    bool exit = false;
    bool enter = false;
    bool visited = false;
    double alongA = 0.0;
    double alongB = 0.0;
};

// Orders crossings along a chain by segment, then by distance along it; a
// later crossing goes before an earlier one at the same place.
std::vector<int> SortAlong(const std::vector<Crossing>& crossings, bool onThis)
{
    std::vector<int> order(crossings.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        const Crossing& cx = crossings[x];
        const Crossing& cy = crossings[y];
        const int sx = onThis ? cx.a : cx.b, sy = onThis ? cy.a : cy.b;
        if (sx != sy)
            return sx < sy;
        const double dx = onThis ? cx.alongA : cx.alongB, dy = onThis ? cy.alongA : cy.alongB;
        if (dx < dy || dy < dx)
            return dx < dy;
        return x > y;
    });
    return order;
}

// Appends the part of a chain between two crossings on segments i and j.
void AppendPart(const CCurveList& chain, CCurveList& out, const CPoint2D& p, int i, const CPoint2D& q, int j,
                bool backwards)
{
    const int count = chain.GetCount();
    const CSegment2D& first = *chain.segments[static_cast<size_t>(i)];
    const int before = out.GetCount();
    if (!backwards) {
        if (p.IsNotEqual(first.GetEndPoint())) {
            auto clone = first.Clone(0);
            clone->SetStartPoint(p);
            out.Append(std::move(clone));
        }
        if (i == j && !(first.DistanceAlong(p, 1) > first.DistanceAlong(q, 1))) {
            if (out.GetCount() > before)
                out.segments.back()->SetEndPoint(q);
            return;
        }
        for (int k = (i + 1) % count; k != j; k = (k + 1) % count)
            out.Append(chain.segments[static_cast<size_t>(k)]->Clone(0));
        const CSegment2D& last = *chain.segments[static_cast<size_t>(j)];
        if (q.IsNotEqual(last.GetStartPoint())) {
            auto clone = last.Clone(0);
            clone->SetEndPoint(q);
            out.Append(std::move(clone));
        }
        return;
    }
    if (p.IsNotEqual(first.GetStartPoint())) {
        auto clone = first.Clone(1);
        clone->SetStartPoint(p);
        out.Append(std::move(clone));
    }
    if (i == j && !(first.DistanceAlong(q, 1) > first.DistanceAlong(p, 1))) {
        if (out.GetCount() > before)
            out.segments.back()->SetEndPoint(q);
        return;
    }
    for (int k = (i + count - 1) % count; k != j; k = (k + count - 1) % count)
        out.Append(chain.segments[static_cast<size_t>(k)]->Clone(1));
    const CSegment2D& last = *chain.segments[static_cast<size_t>(j)];
    if (q.IsNotEqual(last.GetEndPoint())) {
        auto clone = last.Clone(1);
        clone->SetEndPoint(q);
        out.Append(std::move(clone));
    }
}

} // namespace

int CCurveList::Combine(const CCurveList& other, CombineMode mode, std::vector<std::unique_ptr<CCurveList>>& results,
                        PairSearch search) const
{
    std::vector<CPoint2D> points;
    std::vector<int> onThis, onOther;
    if (IntersectWith(other, &points, &onThis, &onOther, kClosedSegment, kClosedSegment, search) == 0)
        return -1;

    // A crossing at the first vertex of a closed chain is found twice, once
    // on each segment that meets there: it is kept once.
    std::vector<Crossing> crossings;
    const int count = GetCount();
    // An equal point lies in one of the nine cells round a point.
    const CPointCells cells(points, g_geometryTolerance);
    std::vector<char> kept(points.size(), 0);
    std::vector<int> near;
    for (size_t k = 0; k < points.size(); ++k) {
        const CPoint2D& x = points[k];
        cells.Near(x, near);
        bool duplicate = false;
        for (int m : near)
            if (static_cast<size_t>(m) < k && kept[static_cast<size_t>(m)] && points[static_cast<size_t>(m)].IsEqual(x))
                duplicate = true;
        if (duplicate)
            continue;
        kept[k] = 1;
        const int a = onThis[k], b = onOther[k];
        const CSegment2D& segment = *segments[static_cast<size_t>(a)];
        CrossingCode code;
        if (x.IsEqual(segment.GetStartPoint())) {
            code = other.ClassifyCrossing(b, x, segment.GetDirectionAt(x, 0)) & CrossingCode::Leaving;
        } else if (x.IsEqual(segment.GetEndPoint())) {
            const CSegment2D& next = *segments[static_cast<size_t>((a + 1) % count)];
            code = other.ClassifyCrossing(b, x, next.GetDirectionAt(x, 0)) & CrossingCode::Leaving;
        } else {
            code = other.ClassifyCrossing(b, x, segment.GetDirectionAt(x, 0));
        }
        if (code == CrossingCode::Along || code == CrossingCode::TouchesRight || code == CrossingCode::TouchesLeft)
            continue;
        Crossing crossing;
        crossing.point = x;
        crossing.a = a;
        crossing.b = b;
        // Whether this chain leaves or enters the other here follows from
        // the side the other chain goes on to and the other's orientation.
        crossing.exit = HasAny(code, other.clockwise ? CrossingCode::LeavesToLeft : CrossingCode::LeavesToRight);
        crossing.enter = HasAny(code, other.clockwise ? CrossingCode::LeavesToRight : CrossingCode::LeavesToLeft);
        crossing.alongA = segment.DistanceAlong(x, 1);
        crossing.alongB = other.segments[static_cast<size_t>(b)]->DistanceAlong(x, 1);
        crossings.push_back(crossing);
    }
    const int n = static_cast<int>(crossings.size());
    if (n == 0)
        return 0;
    const std::vector<int> thisOrder = SortAlong(crossings, true);
    const std::vector<int> otherOrder = SortAlong(crossings, false);
    std::vector<int> placeOnThis(static_cast<size_t>(n)), placeOnOther(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        placeOnThis[thisOrder[k]] = k;
        placeOnOther[otherOrder[k]] = k;
    }
    const bool same = (clockwise != 0) == (other.clockwise != 0);
    const bool otherBackwards = mode == CombineMode::Union ? !same : same;

    // Finds, from a crossing, the next one along an order (forwards or
    // backwards, wrapping) that is not visited and passes the test, or the
    // outline's start crossing; marks the ones passed over; -1 when the
    // search comes round without one.
    auto next = [&](const std::vector<int>& order, const std::vector<int>& place, int from, bool backwards, int start,
                    auto&& wanted) {
        int position = place[from];
        for (int step = 0; step < n; ++step) {
            position = backwards ? (position + n - 1) % n : (position + 1) % n;
            Crossing& c = crossings[order[position]];
            if (order[position] == start || (!c.visited && wanted(c)))
                return order[position];
            c.visited = true;
        }
        return -1;
    };

    // The scan is armed by the first crossing with the exit flag; it goes
    // round the order a second time, so that entries that lie before that
    // crossing along this chain still start their outlines.
    int outlines = 0;
    bool armed = false;
    for (int step = 0; step < 2 * n; ++step) {
        const int s = thisOrder[step % n];
        if (crossings[s].exit)
            armed = true;
        if (!armed || crossings[s].visited || !crossings[s].enter)
            continue;
        auto outline = std::make_unique<CCurveList>();
        outline->clockwise = clockwise;
        int current = s;
        // Every step visits at least one crossing, so the walk ends.
        for (int guard = 0; guard <= n; ++guard) {
            const int stop =
                next(thisOrder, placeOnThis, current, false, s, [](const Crossing& c) { return c.exit; });
            if (stop < 0)
                break;
            AppendPart(*this, *outline, crossings[current].point, crossings[current].a, crossings[stop].point,
                       crossings[stop].a, false);
            if (stop == s)
                break;
            crossings[stop].visited = true;
            const int back = next(otherOrder, placeOnOther, stop, otherBackwards, s,
                                  [](const Crossing& c) { return c.enter; });
            if (back < 0)
                break;
            AppendPart(other, *outline, crossings[stop].point, crossings[stop].b, crossings[back].point,
                       crossings[back].b, otherBackwards);
            current = back;
            if (back == s)
                break;
            crossings[back].visited = true;
        }
        crossings[s].visited = true;
        results.push_back(std::move(outline));
        ++outlines;
    }
    return outlines;
}
