// CCurveList: self-intersections, intersections with a segment and with
// another list, nearest points, and cutting a closed chain between two
// positions. Conventions: see curvelist.h.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "addins/milling/geometry/curvelist.h"

SegmentFlags CCurveList::IntersectionMask(int i, bool closed) const
{
    if (closed)
        return 0x13;
    if (i == 0)
        return 0x113;
    if (i == GetCount() - 1)
        return 0x213;
    return 0x13;
}

SegmentFlags CCurveList::NearestMask(int i, bool closed) const
{
    if (closed)
        return 0x11;
    if (i == 0)
        return 0x111;
    if (i == GetCount() - 1)
        return 0x212;
    return 0x11;
}

// Joints are excluded: every segment is taken without its end point (the
// last segment of an open chain without its start point instead).
int CCurveList::SelfIntersections(std::vector<CPoint2D>* points, PairSearch search) const
{
    if (points)
        points->clear();
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    const bool closed = IsClosed() != 0;
    const int last = GetCount() - 1;
    auto flagsOf = [&](int j) -> SegmentFlags { return (!closed && j == last) ? 0x12 : 0x11; };
    ScratchVector<SegmentBox> boxes;
    if (search == PairSearch::Indexed) {
        boxes.reserve(segments.size());
        for (int i = 0; i < GetCount(); ++i)
            boxes.push_back(IntersectionBox(Seg(i), kClosedSegment));
    } else {
        boxes.resize(segments.size());
    }
    int total = 0;
    SegmentPoints found;
    auto visit = [&](int i, int j) {
        const int count = Seg(i).Intersect(Seg(j), found, 0x11, flagsOf(j));
        for (int k = 0; k < count; ++k)
            if (points)
                points->push_back(found[k]);
        total += count;
    };
    // Consecutive segments of a chain lie together: the tree over runs of
    // them finds the same pairs as the grid, in the same order, for less.
    if (search == PairSearch::Indexed)
        ForEachLaterOverlap(boxes, GetCount(), visit);
    else
        ForEachCandidatePair(boxes, search, visit);
    return total;
}

// A crossing at a joint of the chain is reported once: a point found at the
// end of one segment removes the start of the next from its test.
int CCurveList::IntersectSegment(const CSegment2D& segment, std::vector<CPoint2D>* points, std::vector<int>* indices,
                                 SegmentFlags chainFlags, SegmentFlags segmentFlags) const
{
    return IntersectSegmentAmong(segment, nullptr, points, indices, chainFlags, segmentFlags);
}

int CCurveList::IntersectSegmentAmong(const CSegment2D& segment, const std::vector<int>* among,
                                      std::vector<CPoint2D>* points, std::vector<int>* indices,
                                      SegmentFlags chainFlags, SegmentFlags segmentFlags) const
{
    if (points)
        points->clear();
    if (indices)
        indices->clear();
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    const bool closed = IsClosed() != 0;
    int total = 0;
    int clearStartOf = -1;
    SegmentPoints found;
    const int count = among ? static_cast<int>(among->size()) : GetCount();
    for (int n = 0; n < count; ++n) {
        const int i = among ? (*among)[static_cast<size_t>(n)] : n;
        SegmentFlags flags = chainFlags & IntersectionMask(i, closed);
        if (clearStartOf == i)
            flags &= ~kAtStart;
        const int crossings = Seg(i).Intersect(segment, found, flags, segmentFlags);
        const CPoint2D end = Seg(i).GetEndPoint();
        clearStartOf = -1;
        for (int k = 0; k < crossings; ++k) {
            if (found[k].IsEqual(end))
                clearStartOf = i + 1;
            if (points)
                points->push_back(found[k]);
            if (indices)
                indices->push_back(i);
        }
        total += crossings;
    }
    return total;
}

// Rows are the segments of this list, columns those of the other. A point at
// the end of segment i removes the start of segment i + 1 from the next row;
// a point at the end of segment j removes the start of segment j + 1 from the
// next pair of the same row.
int CCurveList::IntersectWith(const CCurveList& other, std::vector<CPoint2D>* points, std::vector<int>* indicesThis,
                              std::vector<int>* indicesOther, SegmentFlags flagsThis, SegmentFlags flagsOther,
                              PairSearch search) const
{
    if (points)
        points->clear();
    if (indicesThis)
        indicesThis->clear();
    if (indicesOther)
        indicesOther->clear();
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    if (other.segments.empty())
        return 0;
    const bool closedThis = IsClosed() != 0;
    const bool closedOther = other.IsClosed() != 0;
    std::vector<SegmentBox> boxesThis(segments.size());
    std::vector<SegmentBox> boxesOther(other.segments.size());
    if (search == PairSearch::Indexed) {
        for (int i = 0; i < GetCount(); ++i)
            boxesThis[i] = IntersectionBox(Seg(i), flagsThis & IntersectionMask(i, closedThis));
        for (int j = 0; j < other.GetCount(); ++j)
            boxesOther[j] = IntersectionBox(other.Seg(j), flagsOther & other.IntersectionMask(j, closedOther));
    }
    int total = 0;
    int rowHitEnd = -2;     // the last row that found the end of its own segment
    int pairRow = -1;       // row and column of the last pair that found the
    int pairColumnHit = -2; // end of the other list's segment
    SegmentPoints found;
    ForEachCandidatePair(boxesThis, boxesOther, search, [&](int i, int j) {
        SegmentFlags wordThis = flagsThis & IntersectionMask(i, closedThis);
        SegmentFlags wordOther = flagsOther & other.IntersectionMask(j, closedOther);
        if (rowHitEnd == i - 1)
            wordThis &= ~kAtStart;
        if (pairRow == i && pairColumnHit == j - 1)
            wordOther &= ~kAtStart;
        const int count = Seg(i).Intersect(other.Seg(j), found, wordThis, wordOther);
        const CPoint2D endThis = Seg(i).GetEndPoint();
        const CPoint2D endOther = other.Seg(j).GetEndPoint();
        bool hitThis = false, hitOther = false;
        for (int k = 0; k < count && !(hitThis && hitOther); ++k) {
            hitThis = hitThis || found[k].IsEqual(endThis);
            hitOther = hitOther || found[k].IsEqual(endOther);
        }
        if (hitThis)
            rowHitEnd = i;
        pairRow = i;
        pairColumnHit = hitOther ? j : -2;
        for (int k = 0; k < count; ++k) {
            if (points)
                points->push_back(found[k]);
            if (indicesThis)
                indicesThis->push_back(i);
            if (indicesOther)
                indicesOther->push_back(j);
        }
        total += count;
    });
    return total;
}

CPoint2D CCurveList::ClosestPoint(const CPoint2D& point, SegmentFlags flags, int* index) const
{
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return {0.0, 0.0};
    }
    const bool closed = IsClosed() != 0;
    CPoint2D best;
    double bestDistance = 0.0;
    for (int i = 0; i < GetCount(); ++i) {
        const CPoint2D q = Seg(i).ClosestPoint(point, flags & NearestMask(i, closed));
        const double d = (q - point).Length();
        if (i == 0 || d < bestDistance) {
            bestDistance = d;
            best = q;
            if (index)
                *index = i;
        }
    }
    return best;
}

namespace {


} // namespace

// The answer is that of the scan over all pairs in order (i, then j) that
// keeps a pair only when it is strictly nearer than every pair before it and
// stops at the first kept pair nearer than stopDistance + tolerance: that is
// the first pair in order nearer than the stop when there is one, else the
// first pair in order at the least distance. Both are found through a
// spatial index over the other chain's boxes; a pair whose boxes lie farther
// apart than the bound in force cannot be the answer and is not measured.
void CCurveList::ClosestPoints(const CCurveList& other, CPoint2D& onThis, CPoint2D& onOther, int* indexThis,
                               int* indexOther, double stopDistance) const
{
    if (segments.empty() || other.segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return;
    }
    auto take = [&](int i, int j, const CPoint2D& a, const CPoint2D& b) {
        onThis = a;
        onOther = b;
        if (indexThis)
            *indexThis = i;
        if (indexOther)
            *indexOther = j;
    };
    std::vector<SegmentBox> otherBoxes;
    otherBoxes.reserve(other.segments.size());
    for (const auto& s : other.segments)
        otherBoxes.push_back(IntersectionBox(*s, kClosedSegment));
    const CSegmentGrid grid(otherBoxes);
    std::vector<int> found;

    if (stopDistance > 0.0) {
        const double stop = stopDistance + g_geometryTolerance;
        for (int i = 0; i < GetCount(); ++i) {
            const SegmentBox box = IntersectionBox(Seg(i), kClosedSegment);
            grid.Query(Grown(box, stop), found);
            for (int j : found) {
                if (BoxDistance(box, otherBoxes[static_cast<size_t>(j)]) > stop)
                    continue;
                CPoint2D a, b;
                Seg(i).ClosestPoints(other.Seg(j), a, b);
                if (stop > (a - b).Length()) {
                    take(i, j, a, b);
                    return;
                }
            }
        }
    }

    CPoint2D a, b;
    Seg(0).ClosestPoints(other.Seg(0), a, b);
    double best = (a - b).Length();
    take(0, 0, a, b);
    for (int i = 0; i < GetCount(); ++i) {
        const SegmentBox box = IntersectionBox(Seg(i), kClosedSegment);
        grid.Query(Grown(box, best), found);
        for (int j : found) {
            if ((i == 0 && j == 0) || BoxDistance(box, otherBoxes[static_cast<size_t>(j)]) > best)
                continue;
            Seg(i).ClosestPoints(other.Seg(j), a, b);
            const double d = (a - b).Length();
            if (d < best) {
                best = d;
                take(i, j, a, b);
            }
        }
    }
}

std::unique_ptr<CCurveList> CCurveList::CutAt(const CChainPosition& start, const CChainPosition& end) const
{
    auto result = std::make_unique<CCurveList>();
    const int count = GetCount();
    const int a = start.index, b = end.index;
    if (a < 0 || a >= count || b < 0 || b >= count) {
        SetGeometryGlobal(E_FAIL);
        return result;
    }
    const CPoint2D& pa = start.point;
    const CPoint2D& pb = end.point;
    auto piece = [&](int k) {
        auto clone = Seg(k).Clone(0);
        clone->SetStartPoint(pa);
        clone->SetEndPoint(pb);
        result->Append(std::move(clone));
    };
    if (a == b) {
        if (pa.IsNotEqual(pb) && Seg(a).DistanceAlong(pa, 1) < Seg(a).DistanceAlong(pb, 1)) {
            piece(a);
            return result;
        }
        if (pa.IsEqual(pb) && count == 1) {
            piece(a);
            return result;
        }
    }
    if (pa.IsNotEqual(Seg(a).GetEndPoint())) {
        auto clone = Seg(a).Clone(0);
        clone->SetStartPoint(pa);
        result->Append(std::move(clone));
    }
    for (int k = (a + 1) % count; k != b; k = (k + 1) % count)
        result->Append(Seg(k).Clone(0));
    if (pb.IsNotEqual(Seg(b).GetStartPoint())) {
        auto clone = Seg(b).Clone(0);
        clone->SetEndPoint(pb);
        result->Append(std::move(clone));
    }
    return result;
}

std::vector<int> OrderAlongChain(const CCurveList& chain, const std::vector<CChainPosition>& positions)
{
    std::vector<int> order(positions.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> along(positions.size(), 0.0);
    for (size_t k = 0; k < positions.size(); ++k) {
        const int index = positions[k].index;
        if (index >= 0 && index < chain.GetCount())
            along[k] = chain.segments[static_cast<size_t>(index)]->DistanceAlong(positions[k].point, 1);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (positions[a].index != positions[b].index)
            return positions[a].index < positions[b].index;
        return along[a] < along[b];
    });
    return order;
}
