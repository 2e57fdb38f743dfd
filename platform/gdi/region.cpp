// Region: banded pixel sets and their boolean combinations.
#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>

#include "platform/gdi/gdi.h"

namespace gdi {

Region Region::FromRect(const RECT& rect)
{
    Region region;
    if (rect.left < rect.right && rect.top < rect.bottom) {
        region.m_bands.push_back({rect.top, rect.bottom, {{rect.left, rect.right}}});
    }
    return region;
}

Region Region::FromRows(int top, const std::vector<std::vector<Span>>& rows)
{
    Region region;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = top + static_cast<int>(i);
        // Normalise: sort and join overlapping or touching spans.
        std::vector<Span> spans;
        std::vector<Span> sorted = rows[i];
        std::sort(sorted.begin(), sorted.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
        for (const Span& s : sorted) {
            if (s.left >= s.right) continue;
            if (!spans.empty() && s.left <= spans.back().right) {
                spans.back().right = std::max(spans.back().right, s.right);
            } else {
                spans.push_back(s);
            }
        }
        region.AppendBand(y, y + 1, std::move(spans));
    }
    return region;
}

void Region::AppendBand(int top, int bottom, std::vector<Span> spans)
{
    if (spans.empty() || top >= bottom) return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back({top, bottom, std::move(spans)});
}

int Region::Kind() const
{
    if (m_bands.empty()) return NULLREGION;
    if (m_bands.size() == 1 && m_bands[0].spans.size() == 1) return SIMPLEREGION;
    return COMPLEXREGION;
}

RECT Region::Box() const
{
    if (m_bands.empty()) return {0, 0, 0, 0};
    RECT box{INT_MAX, m_bands.front().top, INT_MIN, m_bands.back().bottom};
    for (const Band& band : m_bands) {
        box.left = std::min<LONG>(box.left, band.spans.front().left);
        box.right = std::max<LONG>(box.right, band.spans.back().right);
    }
    return box;
}

const std::vector<Span>* Region::SpansAt(int y) const
{
    auto it = std::upper_bound(m_bands.begin(), m_bands.end(), y, [](int v, const Band& b) { return v < b.bottom; });
    if (it == m_bands.end() || y < it->top) return nullptr;
    return &it->spans;
}

bool Region::Contains(int x, int y) const
{
    const std::vector<Span>* spans = SpansAt(y);
    if (!spans) return false;
    for (const Span& s : *spans) {
        if (x >= s.left && x < s.right) return true;
    }
    return false;
}

bool Region::Intersects(const RECT& rect) const
{
    for (const Band& band : m_bands) {
        if (band.bottom <= rect.top || band.top >= rect.bottom) continue;
        for (const Span& s : band.spans) {
            if (s.left < rect.right && s.right > rect.left) return true;
        }
    }
    return false;
}

void Region::Offset(int dx, int dy)
{
    for (Band& band : m_bands) {
        band.top += dy;
        band.bottom += dy;
        for (Span& s : band.spans) {
            s.left += dx;
            s.right += dx;
        }
    }
}

std::vector<RECT> Region::Rects() const
{
    std::vector<RECT> rects;
    for (const Band& band : m_bands) {
        for (const Span& s : band.spans) rects.push_back({s.left, band.top, s.right, band.bottom});
    }
    return rects;
}

bool Region::operator==(const Region& other) const
{
    if (m_bands.size() != other.m_bands.size()) return false;
    for (size_t i = 0; i < m_bands.size(); ++i) {
        const Band& a = m_bands[i];
        const Band& b = other.m_bands[i];
        if (a.top != b.top || a.bottom != b.bottom || a.spans != b.spans) return false;
    }
    return true;
}

std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, RegionOp op)
{
    // Sweep over every interval boundary, tracking membership in a and b.
    std::vector<int> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    for (const Span& s : b) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    std::vector<Span> out;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const int x = xs[i];
        while (ia < a.size() && a[ia].right <= x) ++ia;
        while (ib < b.size() && b[ib].right <= x) ++ib;
        const bool inA = ia < a.size() && a[ia].left <= x;
        const bool inB = ib < b.size() && b[ib].left <= x;
        bool in = false;
        switch (op) {
        case RegionOp::And: in = inA && inB; break;
        case RegionOp::Or: in = inA || inB; break;
        case RegionOp::Xor: in = inA != inB; break;
        case RegionOp::Diff: in = inA && !inB; break;
        }
        if (!in) continue;
        if (!out.empty() && out.back().right == x) {
            out.back().right = xs[i + 1];
        } else {
            out.push_back({x, xs[i + 1]});
        }
    }
    return out;
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op)
{
    std::vector<int> ys;
    for (const Band& band : a.m_bands) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const Band& band : b.m_bands) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    static const std::vector<Span> kNone;
    Region out;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y = ys[i];
        while (ia < a.m_bands.size() && a.m_bands[ia].bottom <= y) ++ia;
        while (ib < b.m_bands.size() && b.m_bands[ib].bottom <= y) ++ib;
        const std::vector<Span>& sa =
            (ia < a.m_bands.size() && a.m_bands[ia].top <= y) ? a.m_bands[ia].spans : kNone;
        const std::vector<Span>& sb =
            (ib < b.m_bands.size() && b.m_bands[ib].top <= y) ? b.m_bands[ib].spans : kNone;
        out.AppendBand(y, ys[i + 1], CombineSpans(sa, sb, op));
    }
    return out;
}

}  // namespace gdi
