// Spatial index of segment boxes for crossing searches. Conventions: see segment2d.h.
#include "addins/milling/geometry/segmentindex.h"

#include <algorithm>
#include <cmath>

namespace {

void Include(SegmentBox& box, const CPoint2D& p)
{
    box.minX = std::min(box.minX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxX = std::max(box.maxX, p.x);
    box.maxY = std::max(box.maxY, p.y);
}

} // namespace

double BoxDistance(const SegmentBox& a, const SegmentBox& b)
{
    if (a.unbounded || b.unbounded)
        return 0.0;
    const double dx = std::max({0.0, a.minX - b.maxX, b.minX - a.maxX});
    const double dy = std::max({0.0, a.minY - b.maxY, b.minY - a.maxY});
    return std::hypot(dx, dy);
}

SegmentBox Grown(const SegmentBox& box, double by)
{
    if (box.unbounded || !std::isfinite(by))
        return SegmentBox{0, 0, 0, 0, true};
    return SegmentBox{box.minX - by, box.minY - by, box.maxX + by, box.maxY + by, false};
}

SegmentBox IntersectionBox(const CSegment2D& segment, SegmentFlags flags)
{
    SegmentBox box;
    if (flags & (kBeyondStart | kBeyondEnd)) {
        box.unbounded = true;
        return box;
    }
    const CPoint2D s = segment.GetStartPoint();
    box.minX = box.maxX = s.x;
    box.minY = box.maxY = s.y;
    Include(box, segment.GetEndPoint());
    const double tol = g_geometryTolerance;
    double margin = 4.0 * tol;
    if (segment.GetType() == kSegmentTypeArc) {
        const auto& arc = static_cast<const CArcSegment2D&>(segment);
        if (!(arc.radius > 0.0) || !std::isfinite(arc.radius)) {
            box.unbounded = true;
            return box;
        }
        // The points where the circle meets the axes through its centre
        // bound the arc where it sweeps past them. An arc of at most half a
        // turn (counted from its first end counter-clockwise) sweeps past
        // a direction lying between its ends, a longer one past every
        // direction that does not lie between them the other way round.
        // Where rounding decides, the direction lies at an end, which the
        // box holds already within the margin.
        const bool full = arc.IsFullCircle();
        const CVector2D& s = arc.ccw ? arc.startDir : arc.endDir;
        const CVector2D& e = arc.ccw ? arc.endDir : arc.startDir;
        const bool half = s.x * e.y - s.y * e.x >= 0.0;
        const CPoint2D axes[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const CPoint2D& axis : axes) {
            const double fromStart = s.x * axis.y - s.y * axis.x, toEnd = axis.x * e.y - axis.y * e.x;
            const bool swept = half ? fromStart >= 0.0 && toEnd >= 0.0 : !(fromStart < 0.0 && toEnd < 0.0);
            if (full || swept)
                Include(box, arc.centre + axis * arc.radius);
        }
        // Directions are compared within the tolerance, which on the circle
        // is a length of about radius times the tolerance.
        margin = 8.0 * tol * (1.0 + arc.radius);
    }
    const double scale = std::max({std::fabs(box.minX), std::fabs(box.maxX), std::fabs(box.minY), std::fabs(box.maxY)});
    margin += scale * 1e-12;
    box.minX -= margin;
    box.minY -= margin;
    box.maxX += margin;
    box.maxY += margin;
    if (!std::isfinite(box.minX) || !std::isfinite(box.maxX) || !std::isfinite(box.minY) || !std::isfinite(box.maxY))
        box.unbounded = true;
    return box;
}

// Row-major key of a cell: the row in the high half, the column in the low
// half, both shifted to be non-negative (cell indices are clamped to 31 bits).
uint64_t CSegmentGrid::Key(int64_t x, int64_t y)
{
    constexpr int64_t kShift = int64_t{1} << 31;
    return (static_cast<uint64_t>(y + kShift) << 32) | static_cast<uint64_t>(x + kShift);
}

CSegmentGrid::CSegmentGrid(std::vector<SegmentBox> boxes, double minCellSize) : m_boxes(std::move(boxes))
{
    m_stamp.assign(m_boxes.size(), 0);
    // A box without finite corners can only be answered as unbounded.
    for (SegmentBox& b : m_boxes)
        if (!std::isfinite(b.minX) || !std::isfinite(b.minY) || !std::isfinite(b.maxX) || !std::isfinite(b.maxY))
            b.unbounded = true;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    std::vector<double> extents;
    for (const SegmentBox& b : m_boxes) {
        if (b.unbounded)
            continue;
        if (!any) {
            minX = b.minX, minY = b.minY, maxX = b.maxX, maxY = b.maxY;
            any = true;
        }
        minX = std::min(minX, b.minX);
        minY = std::min(minY, b.minY);
        maxX = std::max(maxX, b.maxX);
        maxY = std::max(maxY, b.maxY);
        extents.push_back(std::max(b.maxX - b.minX, b.maxY - b.minY));
    }
    for (int i = 0; i < Count(); ++i)
        if (m_boxes[i].unbounded)
            m_unbounded.push_back(i);
    if (!any)
        return;
    const auto mid = extents.begin() + static_cast<long>(extents.size() / 2);
    std::nth_element(extents.begin(), mid, extents.end());
    // Cell indices stay within 31 bits.
    const double span = std::max(maxX - minX, maxY - minY);
    const double finest = std::max({2.0 * *mid, span / 1e9, 1e-300, std::isfinite(minCellSize) ? minCellSize : 0.0});
    m_originX = minX;
    m_originY = minY;
    std::vector<std::vector<std::pair<uint64_t, int>>> entries;
    for (int i = 0; i < Count(); ++i) {
        const SegmentBox& b = m_boxes[i];
        if (b.unbounded)
            continue;
        const double extent = std::max(b.maxX - b.minX, b.maxY - b.minY);
        size_t level = 0;
        double cellSize = finest;
        while (cellSize < extent && std::isfinite(cellSize)) {
            cellSize *= 2.0;
            ++level;
        }
        while (m_levels.size() <= level) {
            Level added;
            added.cellSize = m_levels.empty() ? finest : m_levels.back().cellSize * 2.0;
            m_levels.push_back(std::move(added));
            entries.emplace_back();
        }
        int64_t x0, y0, x1, y1;
        CellRange(b, m_levels[level].cellSize, x0, y0, x1, y1);
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x)
                entries[level].push_back({Key(x, y), i});
    }
    for (size_t l = 0; l < m_levels.size(); ++l) {
        auto& e = entries[l];
        std::sort(e.begin(), e.end());
        Level& level = m_levels[l];
        level.items.reserve(e.size());
        for (size_t k = 0; k < e.size(); ++k) {
            if (k == 0 || e[k].first != e[k - 1].first) {
                level.keys.push_back(e[k].first);
                level.start.push_back(static_cast<uint32_t>(level.items.size()));
            }
            level.items.push_back(e[k].second);
        }
        level.start.push_back(static_cast<uint32_t>(level.items.size()));
    }
}

bool CSegmentGrid::CellRange(const SegmentBox& box, double cellSize, int64_t& x0, int64_t& y0, int64_t& x1,
                             int64_t& y1) const
{
    constexpr double kLimit = 2e9;
    auto cell = [&](double v, double origin) {
        return static_cast<int64_t>(std::clamp(std::floor((v - origin) / cellSize), -kLimit, kLimit));
    };
    x0 = cell(box.minX, m_originX);
    x1 = cell(box.maxX, m_originX);
    y0 = cell(box.minY, m_originY);
    y1 = cell(box.maxY, m_originY);
    return true;
}

void CSegmentGrid::Query(const SegmentBox& box, std::vector<int>& out, bool sorted) const
{
    out.clear();
    if (++m_query == 0) {
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_query = 1;
    }
    auto take = [&](int i) {
        if (m_stamp[i] == m_query)
            return;
        m_stamp[i] = m_query;
        if (box.Overlaps(m_boxes[i]))
            out.push_back(i);
    };
    for (int i : m_unbounded)
        take(i);
    for (const Level& level : m_levels) {
        const size_t cells = level.keys.size();
        int64_t x0, y0, x1, y1;
        if (box.unbounded || !CellRange(box, level.cellSize, x0, y0, x1, y1) ||
            static_cast<double>(y1 - y0 + 1) > static_cast<double>(cells)) {
            for (int i : level.items)
                take(i);
            continue;
        }
        for (int64_t y = y0; y <= y1; ++y) {
            const uint64_t last = Key(x1, y);
            auto it = std::lower_bound(level.keys.begin(), level.keys.end(), Key(x0, y));
            for (; it != level.keys.end() && *it <= last; ++it) {
                const size_t k = static_cast<size_t>(it - level.keys.begin());
                for (uint32_t n = level.start[k]; n < level.start[k + 1]; ++n)
                    take(level.items[n]);
            }
        }
    }
    if (sorted)
        std::sort(out.begin(), out.end());
}

CPointCells::CPointCells(std::span<const CPoint2D> points, double cellSize) : m_cellSize(cellSize)
{
    // Cells at least as large as the coordinates need to keep within range.
    double extent = 0.0;
    for (const CPoint2D& p : points)
        if (std::isfinite(p.x) && std::isfinite(p.y))
            extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
    m_cellSize = std::max(m_cellSize, extent / 1e8);
    m_entries.reserve(points.size());
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        int64_t x, y;
        if (CellOf(points[static_cast<size_t>(i)], x, y))
            m_entries.push_back({(static_cast<uint64_t>(y) << 32) | static_cast<uint64_t>(x), i});
        else
            m_outside.push_back(i);
    }
    std::sort(m_entries.begin(), m_entries.end());
}

// Cells are numbered from 1 within 31 bits so that a neighbour's key never
// wraps; points beyond that range (or not finite) have no cell.
bool CPointCells::CellOf(const CPoint2D& p, int64_t& x, int64_t& y) const
{
    constexpr double kLimit = 1e9;
    const double cx = std::floor(p.x / m_cellSize), cy = std::floor(p.y / m_cellSize);
    if (!(std::fabs(cx) < kLimit) || !(std::fabs(cy) < kLimit))
        return false;
    x = static_cast<int64_t>(cx) + (int64_t{1} << 30);
    y = static_cast<int64_t>(cy) + (int64_t{1} << 30);
    return true;
}

void CPointCells::Near(const CPoint2D& p, std::vector<int>& out) const
{
    out = m_outside;
    int64_t x, y;
    if (!CellOf(p, x, y)) {
        for (const auto& entry : m_entries)
            out.push_back(entry.second);
    } else {
        for (int64_t row = y - 1; row <= y + 1; ++row) {
            const uint64_t first = (static_cast<uint64_t>(row) << 32) | static_cast<uint64_t>(x - 1);
            const uint64_t last = (static_cast<uint64_t>(row) << 32) | static_cast<uint64_t>(x + 1);
            auto it = std::lower_bound(m_entries.begin(), m_entries.end(), std::pair<uint64_t, int>{first, -1});
            for (; it != m_entries.end() && it->first <= last; ++it)
                out.push_back(it->second);
        }
    }
    std::sort(out.begin(), out.end());
}
