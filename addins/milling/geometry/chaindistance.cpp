// CChainDistance: distances from points to a chain, nearest first through a
// tree of boxes. Conventions: see offsetfilter.h.
//
// The tree's leaves hold a few consecutive segments of the chain, each
// inner node two neighbouring nodes of the level below; every node holds
// the box round its segments and a rectangle along the chord of its run. A
// query walks the tree depth first, the nearer child first, and passes over
// a node whose box or rectangle lies at least as far from the point as the
// query's current radius: the limit, or, for a distance, the nearest
// segment found so far once that is nearer. Both hold the node's segments,
// so neither is farther than any of them, and the tests on the segments
// themselves are the same as a scan over all of them would make: the
// answers do not depend on the tree.
#include "addins/milling/geometry/offsetfilter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

constexpr int kLeafSize = 16;

// The box that a query starts from: a point, or (Within) the box round a
// piece whose points all ask the same question.
SegmentBox BoxAt(const CPoint2D& p) { return {p.x, p.y, p.x, p.y, false}; }

// The squared distance from the query box to the box (0 where they
// overlap); monotone in both boxes' sides, so that a box holding another is
// never farther, and the distance from a point in the query box never
// nearer.
double SquaredDistance(double minX, double minY, double maxX, double maxY, const SegmentBox& q)
{
    const double dx = std::max({0.0, minX - q.maxX, q.minX - maxX});
    const double dy = std::max({0.0, minY - q.maxY, q.minY - maxY});
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
    return IsSquaredBeyond(SquaredDistance(box.minX, box.minY, box.maxX, box.maxY, BoxAt(p)), reach);
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

// The rectangle along the chord of a run: min and max of the projections
// of its segments on the axis u and on the perpendicular v = (-u.y, u.x).
struct Extent {
    double minU = std::numeric_limits<double>::infinity(), maxU = -std::numeric_limits<double>::infinity();
    double minV = std::numeric_limits<double>::infinity(), maxV = -std::numeric_limits<double>::infinity();

    void Add(double pu, double pv)
    {
        minU = std::min(minU, pu);
        maxU = std::max(maxU, pu);
        minV = std::min(minV, pv);
        maxV = std::max(maxV, pv);
    }
};

// Adds what holds the segment: its ends for a line; for an arc of at most a
// quarter turn the triangle of its ends and the meeting point of its end
// tangents; else its whole circle.
void AddSegment(Extent& extent, const CSegment2D& segment, double ux, double uy)
{
    auto add = [&](const CPoint2D& p) { extent.Add(p.x * ux + p.y * uy, p.y * ux - p.x * uy); };
    if (segment.GetType() != kSegmentTypeArc) {
        add(segment.GetStartPoint());
        add(segment.GetEndPoint());
        return;
    }
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    const double sweep = arc.SweepAngle();
    if (sweep <= 0.5 * kPi) {
        const CPoint2D s = arc.GetStartPoint(), e = arc.GetEndPoint();
        const CPoint2D bisector = CPoint2D(arc.startDir.x + arc.endDir.x, arc.startDir.y + arc.endDir.y);
        const double length = bisector.Length();
        if (length > 1.0) {
            add(s);
            add(e);
            // |s + e| = 2 cos(sweep / 2) for unit directions: the tangents
            // meet at the radius over that cosine along the bisector.
            add(arc.centre + bisector * (2.0 * arc.radius / (length * length)));
            return;
        }
    }
    const double cu = arc.centre.x * ux + arc.centre.y * uy, cv = arc.centre.y * ux - arc.centre.x * uy;
    extent.Add(cu - arc.radius, cv - arc.radius);
    extent.Add(cu + arc.radius, cv + arc.radius);
}

// The squared distance from p to the node's rectangle along its chord, or 0
// when the node has none.
double SquaredRectangleDistance(double cx, double cy, double ux, double uy, double along, double across,
                                const CPoint2D& p)
{
    if (!(along >= 0.0))
        return 0.0;
    const double qx = p.x - cx, qy = p.y - cy;
    const double a = std::max(0.0, std::fabs(qx * ux + qy * uy) - along);
    const double b = std::max(0.0, std::fabs(qy * ux - qx * uy) - across);
    return a * a + b * b;
}

} // namespace

CPoint2D NearestOnSegment(const CSegment2D& segment, const CPoint2D& p)
{
    if (segment.GetType() != kSegmentTypeArc)
        return segment.ClosestPoint(p, kClosedSegment);
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    if (p.IsEqual(arc.centre))
        return segment.GetStartPoint();
    // The foot on the circle is the nearest point when its direction lies
    // between the arc's ends, else the nearer end. Clear of the ends and of
    // the axes (where the kernel's tolerant order of directions has its
    // seams) the signs of two cross products say which, as the kernel's
    // test of the foot would; near them the kernel decides.
    if (arc.radius > 0.0 && !arc.IsFullCircle()) {
        const CPoint2D d = p - arc.centre;
        const double length = d.Length();
        const double band = 8.0 * g_geometryTolerance;
        if (length > 0.0 && std::fabs(d.x) > band * length && std::fabs(d.y) > band * length) {
            const double qx = d.x / length, qy = d.y / length;
            const CVector2D& s = arc.ccw ? arc.startDir : arc.endDir;
            const CVector2D& e = arc.ccw ? arc.endDir : arc.startDir;
            const double fromStart = s.x * qy - s.y * qx, toEnd = qx * e.y - qy * e.x;
            const double ends = s.x * e.y - s.y * e.x;
            if (std::fabs(fromStart) > band && std::fabs(toEnd) > band && std::fabs(ends) > band) {
                const bool swept = ends > 0.0 ? fromStart > 0.0 && toEnd > 0.0 : !(fromStart < 0.0 && toEnd < 0.0);
                if (swept)
                    return arc.centre + d.Normalized() * arc.radius;
                const CPoint2D a = arc.GetStartPoint(), b = arc.GetEndPoint();
                return (p - a).Length() < (p - b).Length() ? a : b;
            }
        }
    }
    return segment.ClosestPoint(p, kClosedSegment);
}

CChainDistance::CChainDistance(const CCurveList& chain, double /*reach*/) : m_chain(chain)
{
    const int count = static_cast<int>(chain.segments.size());
    m_boxes.reserve(static_cast<size_t>(count));
    for (const auto& segment : chain.segments) {
        SegmentBox box = IntersectionBox(*segment, kClosedSegment);
        // A box without finite corners bounds nothing: such a segment is
        // looked at by every query.
        if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) ||
            !std::isfinite(box.maxY))
            box.unbounded = true;
        m_boxes.push_back(box);
    }
    if (count == 0)
        return;
    const double infinity = std::numeric_limits<double>::infinity();
    ScratchVector<Node> leaves(static_cast<size_t>((count + kLeafSize - 1) / kLeafSize),
                             Node{infinity, infinity, -infinity, -infinity});
    for (int k = 0; k < count; ++k) {
        const SegmentBox& box = m_boxes[static_cast<size_t>(k)];
        if (box.unbounded) {
            m_unbounded.push_back(k);
            continue;
        }
        Node& leaf = leaves[static_cast<size_t>(k / kLeafSize)];
        leaf.minX = std::min(leaf.minX, box.minX);
        leaf.minY = std::min(leaf.minY, box.minY);
        leaf.maxX = std::max(leaf.maxX, box.maxX);
        leaf.maxY = std::max(leaf.maxY, box.maxY);
    }
    m_levels.push_back(std::move(leaves));
    while (m_levels.back().size() > 1) {
        const ScratchVector<Node>& below = m_levels.back();
        ScratchVector<Node> above((below.size() + 1) / 2);
        for (size_t i = 0; i < above.size(); ++i) {
            above[i] = below[2 * i];
            if (2 * i + 1 < below.size()) {
                const Node& other = below[2 * i + 1];
                above[i].minX = std::min(above[i].minX, other.minX);
                above[i].minY = std::min(above[i].minY, other.minY);
                above[i].maxX = std::max(above[i].maxX, other.maxX);
                above[i].maxY = std::max(above[i].maxY, other.maxY);
            }
        }
        m_levels.push_back(std::move(above));
    }
    // The rectangles: a leaf's from its segments, an inner node's from the
    // corners of its children's. Each is grown by a margin that covers the
    // rounding of the projections.
    auto settle = [](Node& node, const Extent& extent, double ux, double uy) {
        if (!(extent.minU <= extent.maxU))
            return;
        const double mu = 0.5 * (extent.minU + extent.maxU), mv = 0.5 * (extent.minV + extent.maxV);
        node.ux = ux;
        node.uy = uy;
        node.cx = mu * ux - mv * uy;
        node.cy = mu * uy + mv * ux;
        const double margin =
            1e-12 * (1.0 + std::fabs(extent.minU) + std::fabs(extent.maxU) + std::fabs(extent.minV) +
                     std::fabs(extent.maxV));
        node.along = 0.5 * (extent.maxU - extent.minU) + margin;
        node.across = 0.5 * (extent.maxV - extent.minV) + margin;
    };
    auto axisOf = [&](int first, int last, double& ux, double& uy) {
        const CPoint2D chord = chain.segments[static_cast<size_t>(last)]->GetEndPoint() -
                               chain.segments[static_cast<size_t>(first)]->GetStartPoint();
        const double length = chord.Length();
        ux = 1.0;
        uy = 0.0;
        if (length > 0.0 && std::isfinite(length)) {
            ux = chord.x / length;
            uy = chord.y / length;
        }
    };
    for (size_t leaf = 0; leaf < m_levels[0].size(); ++leaf) {
        const int first = static_cast<int>(leaf) * kLeafSize, end = std::min(count, first + kLeafSize);
        double ux, uy;
        axisOf(first, end - 1, ux, uy);
        Extent extent;
        for (int k = first; k < end; ++k)
            if (!m_boxes[static_cast<size_t>(k)].unbounded)
                AddSegment(extent, *chain.segments[static_cast<size_t>(k)], ux, uy);
        settle(m_levels[0][leaf], extent, ux, uy);
    }
    for (size_t level = 1; level < m_levels.size(); ++level) {
        const int64_t span = int64_t{kLeafSize} << level;
        for (size_t i = 0; i < m_levels[level].size(); ++i) {
            const int first = static_cast<int>(static_cast<int64_t>(i) * span);
            const int last = static_cast<int>(std::min<int64_t>(count, first + span)) - 1;
            double ux, uy;
            axisOf(first, last, ux, uy);
            Extent extent;
            for (size_t child = 2 * i; child <= 2 * i + 1 && child < m_levels[level - 1].size(); ++child) {
                const Node& below = m_levels[level - 1][child];
                if (!(below.along >= 0.0))
                    continue;
                for (int corner = 0; corner < 4; ++corner) {
                    const double a = (corner & 1) ? below.along : -below.along;
                    const double b = (corner & 2) ? below.across : -below.across;
                    const double x = below.cx + a * below.ux - b * below.uy;
                    const double y = below.cy + a * below.uy + b * below.ux;
                    extent.Add(x * ux + y * uy, y * ux - x * uy);
                }
            }
            settle(m_levels[level][i], extent, ux, uy);
        }
    }
}

// Calls visit(k) for the unbounded segments, then for the bounded segments
// first[0] .. first[1] (none when first[1] < first[0]), then for the others
// of every leaf whose box lies nearer to the query box than radius() (asked
// again at each node, as it may shrink), nearer children first, until
// visit returns true.
template <typename Radius, typename Visit>
void CChainDistance::Search(const SegmentBox& p, Radius&& radius, Visit&& visit, std::array<int, 2> first) const
{
    for (int k : m_unbounded)
        if (visit(k))
            return;
    if (m_levels.empty())
        return;
    const int count = static_cast<int>(m_boxes.size());
    first[0] = std::max(first[0], 0);
    first[1] = std::min(first[1], count - 1);
    for (int k = first[0]; k <= first[1]; ++k)
        if (!m_boxes[static_cast<size_t>(k)].unbounded && visit(k))
            return;
    auto visitLeaf = [&](int leaf) {
        const int end = std::min(count, (leaf + 1) * kLeafSize);
        for (int k = leaf * kLeafSize; k < end; ++k)
            if ((k < first[0] || k > first[1]) && !m_boxes[static_cast<size_t>(k)].unbounded && visit(k))
                return true;
        return false;
    };
    // A point query also has the rectangles along the chords: both bounds
    // hold every segment of the node, so the larger distance does too.
    const bool point = ExactlyEqual(p.minX, p.maxX) && ExactlyEqual(p.minY, p.maxY);
    const CPoint2D at(p.minX, p.minY);
    auto distanceOf = [&](int level, int index) {
        const Node& node = m_levels[static_cast<size_t>(level)][static_cast<size_t>(index)];
        const double box = SquaredDistance(node.minX, node.minY, node.maxX, node.maxY, p);
        if (!point)
            return box;
        return std::max(box, SquaredRectangleDistance(node.cx, node.cy, node.ux, node.uy, node.along, node.across, at));
    };
    m_stack.clear();
    const int top = static_cast<int>(m_levels.size()) - 1;
    m_stack.push_back({top, 0, distanceOf(top, 0)});
    while (!m_stack.empty()) {
        const Pending next = m_stack.back();
        m_stack.pop_back();
        const double within = radius();
        if (IsSquaredBeyond(next.squared, within))
            continue;
        if (next.level == 0) {
            if (visitLeaf(next.index))
                return;
            continue;
        }
        const int level = next.level - 1;
        Pending nearer{level, 2 * next.index, distanceOf(level, 2 * next.index)};
        if (2 * next.index + 1 < static_cast<int>(m_levels[static_cast<size_t>(level)].size())) {
            Pending farther{level, 2 * next.index + 1, distanceOf(level, 2 * next.index + 1)};
            if (farther.squared < nearer.squared)
                std::swap(nearer, farther);
            if (!IsSquaredBeyond(farther.squared, within))
                m_stack.push_back(farther);
        }
        if (!IsSquaredBeyond(nearer.squared, within))
            m_stack.push_back(nearer);
    }
}

double CChainDistance::Distance(const CPoint2D& p, double limit, double enough) const
{
    double best = std::numeric_limits<double>::infinity();
    Search(
        BoxAt(p), [&] { return std::min(best, limit); },
        [&](int k) {
            const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
            if (!MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, std::min(best, limit)))
                return false;
            best = std::min(best, (NearestOnSegment(segment, p) - p).Length());
            return best < enough;
        });
    return best;
}

double CChainDistance::DistanceAndNearest(const CPoint2D& p, double limit, double enough, double slack,
                                          std::vector<Near>& out, int from) const
{
    out.clear();
    double best = std::numeric_limits<double>::infinity();
    auto reach = [&] { return std::min(best, limit) + slack; };
    // The segments round `from` along the chain.
    constexpr int kAround = 6;
    std::array<int, 2> first = {0, -1};
    if (from >= 0)
        first = {from - kAround, from + kAround};
    Search(BoxAt(p), reach, [&](int k) {
        const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
        if (!MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, reach()))
            return false;
        const CPoint2D q = NearestOnSegment(segment, p);
        const double distance = (q - p).Length();
        best = std::min(best, distance);
        if (best < enough)
            return true;
        out.push_back({k, q, distance});
        return false;
    }, first);
    if (best < enough)
        out.clear();
    // What was kept before a nearer segment turned up may lie beyond the
    // reach of the least distance.
    out.erase(std::remove_if(out.begin(), out.end(), [&](const Near& near) { return near.distance > best + slack; }),
              out.end());
    return best;
}

void CChainDistance::Nearest(const CPoint2D& p, double reach, std::vector<Near>& out) const
{
    out.clear();
    Search(
        BoxAt(p), [&] { return reach; },
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
        BoxAt(p), [&] { return threshold; },
        [&](int k) {
            const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
            nearer = MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, threshold) &&
                     (NearestOnSegment(segment, p) - p).Length() < threshold;
            return nearer;
        });
    return nearer;
}

void CChainDistance::Within(const SegmentBox& box, double reach, std::vector<int>& out) const
{
    out.clear();
    if (box.unbounded) {
        for (int k = 0; k < static_cast<int>(m_boxes.size()); ++k)
            out.push_back(k);
        return;
    }
    const SegmentBox& query = box;
    Search(
        query, [&] { return reach; },
        [&](int k) {
            const SegmentBox& b = m_boxes[static_cast<size_t>(k)];
            if (b.unbounded || !IsSquaredBeyond(SquaredDistance(b.minX, b.minY, b.maxX, b.maxY, query), reach))
                out.push_back(k);
            return false;
        });
}

bool CChainDistance::IsNearer(const CPoint2D& p, double threshold, const std::vector<int>& segments) const
{
    for (int k : segments) {
        const CSegment2D& segment = *m_chain.segments[static_cast<size_t>(k)];
        if (MayBeNearer(m_boxes[static_cast<size_t>(k)], segment, p, threshold) &&
            (NearestOnSegment(segment, p) - p).Length() < threshold)
            return true;
    }
    return false;
}

void CChainDistance::AlongRayLeft(const CPoint2D& p, std::vector<int>& out) const
{
    const SegmentBox ray{-std::numeric_limits<double>::infinity(), p.y, p.x, p.y, false};
    Within(ray, 2.0 * g_geometryTolerance, out);
    std::sort(out.begin(), out.end());
}
