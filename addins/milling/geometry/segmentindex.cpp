// Spatial index of segment boxes for crossing searches. Conventions: see segment2d.h.
#include "addins/milling/geometry/segmentindex.h"

#include <algorithm>
#include <cmath>

namespace {

// Cells a single box may cover before it goes to the list of large boxes.
constexpr long kMaxCellsPerBox = 64;

void Include(SegmentBox& box, const CPoint2D& p)
{
    box.minX = std::min(box.minX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxX = std::max(box.maxX, p.x);
    box.maxY = std::max(box.maxY, p.y);
}

} // namespace

bool SegmentBox::Overlaps(const SegmentBox& other) const
{
    if (unbounded || other.unbounded)
        return true;
    return !(minX > other.maxX || maxX < other.minX || minY > other.maxY || maxY < other.minY);
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
        const CPoint2D axes[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const CPoint2D& axis : axes) {
            if (arc.IsFullCircle() || arc.IsPointOn(arc.centre + axis, kClosedSegment))
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

size_t CSegmentGrid::CellHash::operator()(uint64_t key) const
{
    key += 0x9e3779b97f4a7c15ull;
    key = (key ^ (key >> 30)) * 0xbf58476d1ce4e5b9ull;
    key = (key ^ (key >> 27)) * 0x94d049bb133111ebull;
    return static_cast<size_t>(key ^ (key >> 31));
}

uint64_t CSegmentGrid::Key(int64_t x, int64_t y)
{
    return (static_cast<uint64_t>(x) << 32) ^ (static_cast<uint64_t>(y) & 0xffffffffull);
}

CSegmentGrid::CSegmentGrid(std::vector<SegmentBox> boxes) : m_boxes(std::move(boxes))
{
    m_stamp.assign(m_boxes.size(), 0);
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
    if (!any) {
        for (int i = 0; i < Count(); ++i)
            m_large.push_back(i);
        return;
    }
    const auto mid = extents.begin() + static_cast<long>(extents.size() / 2);
    std::nth_element(extents.begin(), mid, extents.end());
    // Cell indices stay within 31 bits.
    const double span = std::max(maxX - minX, maxY - minY);
    m_cellSize = std::max({2.0 * *mid, span / 1e9, 1e-300});
    m_originX = minX;
    m_originY = minY;
    m_gridded = true;
    m_cells.reserve(extents.size());
    for (int i = 0; i < Count(); ++i) {
        const SegmentBox& b = m_boxes[i];
        int64_t x0, y0, x1, y1;
        if (b.unbounded || !CellRange(b, x0, y0, x1, y1) || (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerBox) {
            m_large.push_back(i);
            continue;
        }
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x)
                m_cells[Key(x, y)].push_back(i);
    }
}

bool CSegmentGrid::CellRange(const SegmentBox& box, int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1) const
{
    if (!m_gridded)
        return false;
    constexpr double kLimit = 2e9;
    auto cell = [&](double v, double origin) {
        return static_cast<int64_t>(std::clamp(std::floor((v - origin) / m_cellSize), -kLimit, kLimit));
    };
    x0 = cell(box.minX, m_originX);
    x1 = cell(box.maxX, m_originX);
    y0 = cell(box.minY, m_originY);
    y1 = cell(box.maxY, m_originY);
    return true;
}

void CSegmentGrid::Query(const SegmentBox& box, std::vector<int>& out) const
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
    for (int i : m_large)
        take(i);
    int64_t x0, y0, x1, y1;
    if (box.unbounded || !CellRange(box, x0, y0, x1, y1) ||
        static_cast<double>(x1 - x0 + 1) * static_cast<double>(y1 - y0 + 1) > static_cast<double>(m_cells.size())) {
        for (const auto& [key, cell] : m_cells)
            for (int i : cell)
                take(i);
    } else {
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x) {
                auto it = m_cells.find(Key(x, y));
                if (it != m_cells.end())
                    for (int i : it->second)
                        take(i);
            }
    }
    std::sort(out.begin(), out.end());
}
