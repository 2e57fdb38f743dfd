// CChainDistance: distances from points to a chain, nearest first through a
// tree of boxes. Conventions: see offsetfilter.h.
//
// The tree splits the segments at the median of their box centres along the
// wider side, down to leaves of a few segments; every node holds the box
// round its segments. A query walks the tree depth first, the nearer child
// first, and passes over a node whose box lies at least as far from the
// point as the query's current radius: the limit, or, for a distance, the
// nearest segment found so far once that is nearer. A node's box holds the
// boxes of its segments, so it is never farther than any of them, and the
// tests on the segments themselves are the same as a scan over all of them
// would make: the answers do not depend on the tree.
#include "addins/milling/geometry/offsetfilter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kLeafSize = 4;

// The squared distance from p to the box (0 inside it); monotone in the
// box's sides, so that a box holding another is never farther.
double SquaredDistance(double minX, double minY, double maxX, double maxY, const CPoint2D& p)
{
    const double dx = std::max({0.0, minX - p.x, p.x - maxX});
    const double dy = std::max({0.0, minY - p.y, p.y - maxY});
    return dx * dx + dy * dy;
}

// Whether a box at the squared distance from a point lies at least `reach`
// away: nothing lies nearer than a reach of zero or below, and a point in
// the box lies within every reach above zero, also one whose square is too
// small for a double. Monotone in the squared distance.
bool IsSquaredBeyond(double squared, double reach)
{
    if (!(reach > 0.0))
        return true;
    return squared > 0.0 && squared >= reach * reach;
}

// Whether the box lies at least `reach` away from p: its segment then does
// too, since every box holds its segment. Far cheaper than the segment's
// nearest point.
bool IsBoxBeyond(const SegmentBox& box, const CPoint2D& p, double reach)
{
    if (box.unbounded)
        return false;
    return IsSquaredBeyond(SquaredDistance(box.minX, box.minY, box.maxX, box.maxY, p), reach);
}

// Whether the segment lies at least `reach` away from p by a bound that
// costs one square root: the distance to an arc's whole circle, or to the
// line through a line segment, is no more than the distance to the segment.
// The margin keeps rounding from deciding a point at the very distance.
bool IsBoundBeyond(const CSegment2D& segment, const CPoint2D& p, double reach)
{
    double bound;
    if (segment.GetType() == kSegmentTypeArc) {
        const auto& arc = static_cast<const CArcSegment2D&>(segment);
        bound = std::fabs((p - arc.centre).Length() - arc.radius);
    } else {
        const auto& line = static_cast<const CLineSegment2D&>(segment);
        const CPoint2D along = line.end - line.start;
        const double length = along.Length();
        if (!(length > 0.0))
            return false;
        bound = std::fabs(along.Cross(p - line.start)) / length;
    }
    const double margin = 1e-12 * (1.0 + std::fabs(p.x) + std::fabs(p.y) + reach);
    return bound >= reach + margin;
}

// Whether the segment can lie nearer to p than reach: the two cheap tests
// above both fail.
bool MayBeNearer(const SegmentBox& box, const CSegment2D& segment, const CPoint2D& p, double reach)
{
    return !IsBoxBeyond(box, p, reach) && !IsBoundBeyond(segment, p, reach);
}

} // namespace

CPoint2D NearestOnSegment(const CSegment2D& segment, const CPoint2D& p)
{
    if (segment.GetType() == kSegmentTypeArc && p.IsEqual(static_cast<const CArcSegment2D&>(segment).centre))
        return segment.GetStartPoint();
    return segment.ClosestPoint(p, kClosedSegment);
}

CChainDistance::CChainDistance(const CCurveList& chain, double /*reach*/) : m_chain(chain)
{
    m_boxes.reserve(chain.segments.size());
    for (const auto& segment : chain.segments) {
        SegmentBox box = IntersectionBox(*segment, kClosedSegment);
        // A box without finite corners bounds nothing: such a segment is
        // looked at by every query.
        if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) ||
            !std::isfinite(box.maxY))
            box.unbounded = true;
        m_boxes.push_back(box);
    }
    const int count = static_cast<int>(m_boxes.size());
    for (int k = 0; k < count; ++k)
        (m_boxes[static_cast<size_t>(k)].unbounded ? m_unbounded : m_items).push_back(k);
    if (!m_items.empty()) {
        m_nodes.reserve(2 * m_items.size() / kLeafSize + 1);
        Build(0, static_cast<int>(m_items.size()));
    }
}

int CChainDistance::Build(int begin, int end)
{
    const int index = static_cast<int>(m_nodes.size());
    const SegmentBox& first = m_boxes[static_cast<size_t>(m_items[static_cast<size_t>(begin)])];
    Node node{first.minX, first.minY, first.maxX, first.maxY, begin, end, -1};
    double centreMinX = std::numeric_limits<double>::infinity(), centreMaxX = -centreMinX;
    double centreMinY = centreMinX, centreMaxY = centreMaxX;
    for (int i = begin; i < end; ++i) {
        const SegmentBox& box = m_boxes[static_cast<size_t>(m_items[static_cast<size_t>(i)])];
        node.minX = std::min(node.minX, box.minX);
        node.minY = std::min(node.minY, box.minY);
        node.maxX = std::max(node.maxX, box.maxX);
        node.maxY = std::max(node.maxY, box.maxY);
        const double cx = 0.5 * (box.minX + box.maxX), cy = 0.5 * (box.minY + box.maxY);
        centreMinX = std::min(centreMinX, cx);
        centreMaxX = std::max(centreMaxX, cx);
        centreMinY = std::min(centreMinY, cy);
        centreMaxY = std::max(centreMaxY, cy);
    }
    m_nodes.push_back(node);
    if (end - begin <= kLeafSize)
        return index;
    const bool alongX = centreMaxX - centreMinX >= centreMaxY - centreMinY;
    auto centre = [&](int k) {
        const SegmentBox& box = m_boxes[static_cast<size_t>(k)];
        return alongX ? box.minX + box.maxX : box.minY + box.maxY;
    };
    const int middle = begin + (end - begin) / 2;
    std::nth_element(m_items.begin() + begin, m_items.begin() + middle, m_items.begin() + end,
                     [&](int a, int b) { return centre(a) < centre(b); });
    Build(begin, middle);
    const int second = Build(middle, end);
    m_nodes[static_cast<size_t>(index)].second = second;
    return index;
}

// Calls visit(k) for the unbounded segments, then for the segments of every
// leaf whose box lies nearer to p than radius() (asked again at each node,
// as it may shrink), nearer children first, until visit returns true.
template <typename Radius, typename Visit>
void CChainDistance::Search(const CPoint2D& p, Radius&& radius, Visit&& visit) const
{
    for (int k : m_unbounded)
        if (visit(k))
            return;
    if (m_nodes.empty())
        return;
    auto distanceOf = [&](int n) {
        const Node& node = m_nodes[static_cast<size_t>(n)];
        return SquaredDistance(node.minX, node.minY, node.maxX, node.maxY, p);
    };
    m_stack.clear();
    m_stack.push_back({0, distanceOf(0)});
    while (!m_stack.empty()) {
        const auto [n, squared] = m_stack.back();
        m_stack.pop_back();
        const double within = radius();
        if (IsSquaredBeyond(squared, within))
            continue;
        const Node& node = m_nodes[static_cast<size_t>(n)];
        if (node.second < 0) {
            for (int i = node.begin; i < node.end; ++i)
                if (visit(m_items[static_cast<size_t>(i)]))
                    return;
            continue;
        }
        int nearer = n + 1, farther = node.second;
        double nearerSquared = distanceOf(nearer), fartherSquared = distanceOf(farther);
        if (fartherSquared < nearerSquared) {
            std::swap(nearer, farther);
            std::swap(nearerSquared, fartherSquared);
        }
        if (!IsSquaredBeyond(fartherSquared, within))
            m_stack.push_back({farther, fartherSquared});
        if (!IsSquaredBeyond(nearerSquared, within))
            m_stack.push_back({nearer, nearerSquared});
    }
}

double CChainDistance::Distance(const CPoint2D& p, double limit, double enough) const
{
    double best = std::numeric_limits<double>::infinity();
    Search(
        p, [&] { return std::min(best, limit); },
        [&](int k) {
            const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
            if (!MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, std::min(best, limit)))
                return false;
            best = std::min(best, (NearestOnSegment(segment, p) - p).Length());
            return best < enough;
        });
    return best;
}

void CChainDistance::Nearest(const CPoint2D& p, double reach, std::vector<Near>& out) const
{
    out.clear();
    Search(
        p, [&] { return reach; },
        [&](int k) {
            const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
            if (MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, reach)) {
                const CPoint2D q = NearestOnSegment(segment, p);
                out.push_back({k, q, (q - p).Length()});
            }
            return false;
        });
}

bool CChainDistance::IsNearer(const CPoint2D& p, double threshold) const
{
    bool nearer = false;
    Search(
        p, [&] { return threshold; },
        [&](int k) {
            const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
            nearer = MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, threshold) &&
                     (NearestOnSegment(segment, p) - p).Length() < threshold;
            return nearer;
        });
    return nearer;
}
