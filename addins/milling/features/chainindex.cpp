// CChainIndex: segment boxes of one chain and the tests answered through them.
#include "addins/milling/features/chainindex.h"

#include <algorithm>

namespace toolpath {

CChainIndex::CChainIndex(const CCurveList& chain) : m_chain(&chain)
{
    m_closed = !chain.segments.empty() && chain.IsClosed() != 0;
    m_boxes.reserve(chain.segments.size());
    for (const auto& s : chain.segments) {
        m_boxes.push_back(IntersectionBox(*s, kClosedSegment));
        const SegmentBox& b = m_boxes.back();
        if (m_boxes.size() == 1 || b.unbounded) {
            if (!m_bounds.unbounded)
                m_bounds = b;
            continue;
        }
        m_bounds.minX = std::min(m_bounds.minX, b.minX);
        m_bounds.minY = std::min(m_bounds.minY, b.minY);
        m_bounds.maxX = std::max(m_bounds.maxX, b.maxX);
        m_bounds.maxY = std::max(m_bounds.maxY, b.maxY);
    }
}

const CSegmentGrid& CChainIndex::Grid() const
{
    if (!m_grid)
        m_grid = std::make_unique<CSegmentGrid>(m_boxes);
    return *m_grid;
}

bool CChainIndex::MayMeet(const CChainIndex& other) const
{
    const CChainIndex& few = m_boxes.size() <= other.m_boxes.size() ? *this : other;
    const CChainIndex& many = &few == this ? other : *this;
    if (few.m_boxes.empty() || !few.m_bounds.Overlaps(many.m_bounds))
        return false;
    for (const SegmentBox& box : few.m_boxes) {
        if (!box.Overlaps(many.m_bounds))
            continue;
        many.Grid().Query(box, many.m_found);
        if (!many.m_found.empty())
            return true;
    }
    return false;
}

// The chain's own test, step for step: on the boundary when the point lies
// on a segment (among those whose boxes hold it); else a horizontal probe
// through the point, its crossings with the chain (a crossing at a joint
// counted once: a point found at the end of one segment removes the start
// of the next from its test), the point on the boundary when a crossing
// lies within the tolerance, else the side read at the nearest crossing to
// the left.
PointPlace CChainIndex::ClassifyPoint(const CPoint2D& point) const
{
    const CCurveList& chain = *m_chain;
    if (!m_closed || m_bounds.unbounded)
        return const_cast<CCurveList&>(chain).ClassifyPoint(point, 0);
    // A segment meets the probe only at a point inside its box, so at the
    // point's height.
    const SegmentBox at{point.x, point.y, point.x, point.y, false};
    Grid().Query(at, m_found);
    for (int i : m_found)
        if (chain.IsOnSegment(i, point))
            return PointPlace::On;
    const SegmentBox band{m_bounds.minX, point.y, m_bounds.maxX, point.y, false};
    if (!band.Overlaps(m_bounds))
        return PointPlace::Outside;
    Grid().Query(band, m_found);
    const CLineSegment2D probe(point, point + CPoint2D(1.0, 0.0));
    std::vector<CPoint2D> points;
    std::vector<int> indices;
    int previous = -2;
    bool clearStart = false;
    SegmentPoints found;
    for (int i : m_found) {
        if (previous != i - 1)
            clearStart = false;
        previous = i;
        const CSegment2D& segment = *chain.segments[static_cast<size_t>(i)];
        SegmentFlags flags = kClosedSegment & chain.IntersectionMask(i, true);
        if (clearStart)
            flags &= ~kAtStart;
        const int count = segment.Intersect(probe, found, flags, kAnywhere);
        const CPoint2D end = segment.GetEndPoint();
        clearStart = false;
        for (int k = 0; k < count; ++k) {
            if (found[static_cast<size_t>(k)].IsEqual(end))
                clearStart = true;
            points.push_back(found[static_cast<size_t>(k)]);
            indices.push_back(i);
        }
    }
    if (points.empty())
        return PointPlace::Outside;
    return chain.ClassifyByRayCrossings(point, points, indices);
}

int CChainIndex::ContainsList(const CCurveList& other) const
{
    for (const auto& segment : other.segments) {
        const PointPlace answer = ClassifyPoint(segment->GetStartPoint());
        if (answer == PointPlace::Outside)
            return 0;
        if (answer == PointPlace::Inside)
            return 1;
    }
    if (other.segments.empty())
        return 0;
    return ClassifyPoint(other.segments.back()->GetEndPoint()) == PointPlace::Inside ? 1 : 0;
}

} // namespace toolpath
