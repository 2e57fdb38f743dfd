// The rasterizer: paints, raster operations, clipped spans, lines, wide
// strokes and filled shapes. Pixel centres decide coverage: a pixel (x, y)
// is inside a shape when (x + 0.5, y + 0.5) is.
#include "platform/gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

uint32_t Paint::At(int x, int y, bool* paint) const
{
    if (tile.empty()) {
        *paint = true;
        return color;
    }
    int tx = (x - originX) % tileWidth;
    int ty = (y - originY) % tileHeight;
    if (tx < 0) tx += tileWidth;
    if (ty < 0) ty += tileHeight;
    const size_t i = static_cast<size_t>(ty) * static_cast<size_t>(tileWidth) + static_cast<size_t>(tx);
    *paint = tileMask.empty() || tileMask[i] != 0;
    return tile[i];
}

uint32_t ApplyRop2(int rop2, uint32_t p, uint32_t d)
{
    uint32_t r = 0;
    switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: return d;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_COPYPEN: r = p; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = ~0u; break;
    default: r = p; break;
    }
    return (r & kColorBits) | kOpaque;
}

uint32_t ApplyRop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d)
{
    switch (code) {
    case 0x00: return kOpaque;
    case 0xFF: return 0xFFFFFFFFu;
    case 0xCC: return s | kOpaque;
    case 0xF0: return p | kOpaque;
    case 0x66: return ((s ^ d) & kColorBits) | kOpaque;
    case 0x88: return ((s & d) & kColorBits) | kOpaque;
    case 0xEE: return ((s | d) & kColorBits) | kOpaque;
    case 0x5A: return ((p ^ d) & kColorBits) | kOpaque;
    case 0x55: return (~d & kColorBits) | kOpaque;
    case 0x33: return (~s & kColorBits) | kOpaque;
    case 0xAA: return d;
    default: break;
    }
    // Bit i of the code is the result for pattern, source, destination bits (i >> 2, i >> 1, i) & 1.
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return (r & kColorBits) | kOpaque;
}

Paint SolidPaint(const Target& target, COLORREF color, int rop2)
{
    Paint paint;
    paint.none = false;
    paint.color = PixelFromColor(color);
    if (target.mono) paint.color = MonoPixel(paint.color);
    paint.rop2 = rop2;
    return paint;
}

namespace {

bool HatchBit(int hatch, int x, int y)
{
    switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
    }
}

}  // namespace

Paint BrushPaint(Dc* dc, const Target& target, Brush* brush, int rop2)
{
    if (!brush) brush = dc->state.brush;
    if (!brush || brush->style == BS_NULL) return Paint{};
    const POINT org = ToTarget(dc, 0, 0);
    Paint paint;
    paint.none = false;
    paint.rop2 = rop2;
    paint.originX = dc->state.brushOrg.x + (dc->memory ? 0 : dc->origin.x);
    paint.originY = dc->state.brushOrg.y + (dc->memory ? 0 : dc->origin.y);
    (void)org;
    auto quantise = [&](uint32_t p) { return target.mono ? MonoPixel(p) : p; };
    switch (brush->style) {
    case BS_SOLID:
        paint.color = quantise(PixelFromColor(brush->dcBrush ? dc->state.dcBrushColor : brush->color));
        break;
    case BS_HATCHED: {
        paint.tileWidth = 8;
        paint.tileHeight = 8;
        paint.tile.resize(64);
        const bool opaque = dc->state.bkMode == OPAQUE;
        if (!opaque) paint.tileMask.resize(64);
        const uint32_t fore = quantise(PixelFromColor(brush->color));
        const uint32_t back = quantise(PixelFromColor(dc->state.bkColor));
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool on = HatchBit(brush->hatch, x, y);
                paint.tile[static_cast<size_t>(y * 8 + x)] = on ? fore : back;
                if (!opaque) paint.tileMask[static_cast<size_t>(y * 8 + x)] = on ? 1 : 0;
            }
        }
        break;
    }
    case BS_PATTERN: {
        const Bitmap& b = *brush->pattern;
        paint.tileWidth = b.width;
        paint.tileHeight = b.height;
        paint.tile = b.pixels;
        if (b.mono) {
            // Monochrome patterns: black is the text colour, white the background.
            const uint32_t fore = quantise(PixelFromColor(dc->state.textColor));
            const uint32_t back = quantise(PixelFromColor(dc->state.bkColor));
            for (uint32_t& p : paint.tile) p = (p & kColorBits) ? back : fore;
        } else if (target.mono) {
            for (uint32_t& p : paint.tile) p = MonoPixel(p);
        }
        break;
    }
    default: return Paint{};
    }
    return paint;
}

namespace {

void FillClippedSpan(const Target& t, int y, int x0, int x1, const Paint& paint)
{
    uint32_t* row = t.Row(y);
    if (paint.tile.empty()) {
        const uint32_t c = paint.color;
        switch (paint.rop2) {
        case R2_COPYPEN: std::fill(row + x0, row + x1, c); return;
        case R2_XORPEN:
            for (int x = x0; x < x1; ++x) row[x] = ((row[x] ^ c) & kColorBits) | kOpaque;
            return;
        case R2_NOT:
            for (int x = x0; x < x1; ++x) row[x] = (~row[x] & kColorBits) | kOpaque;
            return;
        default:
            for (int x = x0; x < x1; ++x) row[x] = ApplyRop2(paint.rop2, c, row[x]);
            return;
        }
    }
    for (int x = x0; x < x1; ++x) {
        bool on = false;
        const uint32_t c = paint.At(x, y, &on);
        if (on) row[x] = ApplyRop2(paint.rop2, c, row[x]);
    }
}

}  // namespace

void FillSpan(const Target& t, int y, int x0, int x1, const Paint& paint)
{
    if (paint.none || x0 >= x1) return;
    if (y < t.clipBox.top || y >= t.clipBox.bottom) return;
    for (const RECT& c : *t.clip) {
        if (y < c.top || y >= c.bottom) continue;
        const int a = std::max<int>(x0, c.left);
        const int b = std::min<int>(x1, c.right);
        if (a < b) FillClippedSpan(t, y, a, b, paint);
    }
}

void FillRectangle(const Target& t, const RECT& rect, const Paint& paint)
{
    if (paint.none) return;
    for (const RECT& c : *t.clip) {
        const int left = std::max(rect.left, c.left);
        const int right = std::min(rect.right, c.right);
        const int top = std::max(rect.top, c.top);
        const int bottom = std::min(rect.bottom, c.bottom);
        if (left >= right || top >= bottom) continue;
        for (int y = top; y < bottom; ++y) FillClippedSpan(t, y, left, right, paint);
    }
}

void PlotPixel(const Target& t, int x, int y, const Paint& paint)
{
    if (paint.none || !t.Visible(x, y)) return;
    bool on = false;
    const uint32_t c = paint.At(x, y, &on);
    if (on) t.Row(y)[x] = ApplyRop2(paint.rop2, c, t.Row(y)[x]);
}

// ---------------------------------------------------------------------------
// Span sets

void SpanSet::Add(int y, int x0, int x1)
{
    if (x0 >= x1) return;
    if (m_rows.empty()) {
        m_top = y;
        m_rows.emplace_back();
    }
    while (y < m_top) {
        m_rows.emplace_front();
        --m_top;
    }
    while (y >= m_top + static_cast<int>(m_rows.size())) m_rows.emplace_back();
    m_rows[static_cast<size_t>(y - m_top)].push_back({x0, x1});
}

void SpanSet::AddRegion(const Region& region)
{
    for (const Band& band : region.Bands()) {
        for (int y = band.top; y < band.bottom; ++y) {
            for (const Span& s : band.spans) Add(y, s.left, s.right);
        }
    }
}

Region SpanSet::ToRegion() const
{
    if (m_rows.empty()) return Region{};
    return Region::FromRows(m_top, std::vector<std::vector<Span>>(m_rows.begin(), m_rows.end()));
}

void SpanSet::Fill(const Target& target, const Paint& paint) const
{
    if (paint.none) return;
    std::vector<Span> spans;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int y = m_top + static_cast<int>(i);
        if (m_rows[i].empty() || y < target.clipBox.top || y >= target.clipBox.bottom) continue;
        // Overlapping spans are joined so that every pixel is painted once.
        spans = m_rows[i];
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
        int curL = spans.front().left;
        int curR = spans.front().right;
        for (size_t k = 1; k < spans.size(); ++k) {
            if (spans[k].left <= curR) {
                curR = std::max(curR, spans[k].right);
                continue;
            }
            FillSpan(target, y, curL, curR, paint);
            curL = spans[k].left;
            curR = spans[k].right;
        }
        FillSpan(target, y, curL, curR, paint);
    }
}

bool SpanSet::Contains(int x, int y) const
{
    if (m_rows.empty() || y < m_top || y >= m_top + static_cast<int>(m_rows.size())) return false;
    for (const Span& s : m_rows[static_cast<size_t>(y - m_top)]) {
        if (x >= s.left && x < s.right) return true;
    }
    return false;
}

SpanSet Subtract(const SpanSet& a, const SpanSet& b)
{
    SpanSet out;
    out.AddRegion(Region::Combine(a.ToRegion(), b.ToRegion(), RegionOp::Diff));
    return out;
}

SpanSet OutlineOf(const SpanSet& shape)
{
    // A pixel is on the outline when a horizontal or vertical neighbour is
    // outside: the shape less its erosion by those four neighbours.
    const Region region = shape.ToRegion();
    Region eroded = region;
    const POINT shifts[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const POINT& d : shifts) {
        Region moved = region;
        moved.Offset(d.x, d.y);
        eroded = Region::Combine(eroded, moved, RegionOp::And);
    }
    SpanSet out;
    out.AddRegion(Region::Combine(region, eroded, RegionOp::Diff));
    return out;
}

// ---------------------------------------------------------------------------
// Shapes

RowRange ClipRows(const Target& target) { return {target.clipBox.top - 1, target.clipBox.bottom + 1}; }

void AddPolygon(SpanSet& spans, const std::vector<std::vector<POINT>>& polygons, int fillMode, RowRange rows)
{
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    int top = INT32_MAX;
    int bottom = INT32_MIN;
    for (const auto& poly : polygons) {
        const size_t n = poly.size();
        for (size_t i = 0; i < n; ++i) {
            const POINT a = poly[i];
            const POINT b = poly[(i + 1) % n];
            if (a.y == b.y) continue;
            edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y), a.y < b.y ? 1 : -1});
            top = std::min<int>(top, std::min(a.y, b.y));
            bottom = std::max<int>(bottom, std::max(a.y, b.y));
        }
    }
    std::vector<std::pair<double, int>> xs;
    top = std::max(top, rows.top);
    bottom = std::min(bottom, rows.bottom);
    for (int y = top; y < bottom; ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (const Edge& e : edges) {
            const double lo = std::min(e.y0, e.y1);
            const double hi = std::max(e.y0, e.y1);
            if (sy < lo || sy >= hi) continue;
            const double x = e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0);
            xs.push_back({x, e.dir});
        }
        std::sort(xs.begin(), xs.end());
        auto pixelFrom = [](double x) { return static_cast<int>(std::ceil(x - 0.5)); };
        if (fillMode == WINDING) {
            int winding = 0;
            for (size_t i = 0; i + 1 < xs.size(); ++i) {
                winding += xs[i].second;
                if (winding != 0) spans.Add(y, pixelFrom(xs[i].first), pixelFrom(xs[i + 1].first));
            }
        } else {
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                spans.Add(y, pixelFrom(xs[i].first), pixelFrom(xs[i + 1].first));
            }
        }
    }
}

void AddRoundedBox(SpanSet& spans, const RECT& box, int cornerW, int cornerH, RowRange rows)
{
    const int64_t w64 = int64_t{box.right} - box.left;
    const int64_t h64 = int64_t{box.bottom} - box.top;
    if (w64 <= 0 || h64 <= 0 || w64 > INT32_MAX || h64 > INT32_MAX) return;
    const int w = static_cast<int>(w64);
    const int h = static_cast<int>(h64);
    cornerW = std::clamp(cornerW, 0, w);
    cornerH = std::clamp(cornerH, 0, h);
    const double rx = cornerW / 2.0;
    const double ry = cornerH / 2.0;
    const int firstRow = std::max<int>(box.top, rows.top);
    const int lastRow = std::min<int>(box.bottom, rows.bottom);
    for (int y = firstRow; y < lastRow; ++y) {
        int inset = 0;
        if (rx > 0 && ry > 0) {
            const double cy = y + 0.5;
            double dy = 0.0;
            if (cy < box.top + ry) dy = box.top + ry - cy;
            if (cy > box.bottom - ry) dy = cy - (box.bottom - ry);
            if (dy > 0.0) {
                const double t = std::min(1.0, dy / ry);
                const double half = rx * std::sqrt(1.0 - t * t);
                // Pixel centres within `half` of the corner centre line are in.
                inset = static_cast<int>(std::ceil(rx - half - 0.5));
                inset = std::max(inset, 0);
                // Every row of the box keeps at least its middle pixel(s).
                inset = std::min(inset, (w - 1) / 2);
            }
        }
        spans.Add(y, box.left + inset, box.right - inset);
    }
}

// ---------------------------------------------------------------------------
// Strokes

Stroke PenStroke(Dc* dc, const Target& target)
{
    Stroke stroke;
    Pen* pen = dc->state.pen;
    if (!pen || pen->style == PS_NULL) return stroke;
    stroke.none = false;
    stroke.style = pen->style == PS_INSIDEFRAME ? PS_SOLID : pen->style;
    stroke.width = std::max(1, LengthToDevice(dc, pen->width));
    stroke.flatCaps = (pen->fullStyle & 0xF00) == static_cast<DWORD>(PS_ENDCAP_FLAT);
    // Styles only apply to one-pixel pens.
    if (stroke.width > 1) stroke.style = PS_SOLID;
    stroke.paint = SolidPaint(target, pen->dcPen ? dc->state.dcPenColor : pen->color, dc->state.rop2);
    if (stroke.style != PS_SOLID && dc->state.bkMode == OPAQUE) {
        stroke.gap = SolidPaint(target, dc->state.bkColor, dc->state.rop2);
    }
    return stroke;
}

namespace {

// Dash patterns in pixels: on, off, on, off...
const std::vector<int>& DashPattern(int style)
{
    static const std::vector<int> kSolid{1};
    static const std::vector<int> kDash{18, 6};
    static const std::vector<int> kDot{3, 3};
    static const std::vector<int> kDashDot{9, 6, 3, 6};
    static const std::vector<int> kDashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> kAlternate{1, 1};
    switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    case PS_ALTERNATE: return kAlternate;
    default: return kSolid;
    }
}

bool DashOn(int style, int position)
{
    const std::vector<int>& pattern = DashPattern(style);
    int total = 0;
    for (int v : pattern) total += v;
    int p = position % total;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (p < pattern[i]) return i % 2 == 0;
        p -= pattern[i];
    }
    return true;
}

}  // namespace

namespace {

// Pixels of margin around the clip box within which lines keep their exact
// end points; longer reaches are cut to it first (the visible pixels move by
// at most one).
constexpr int kLineMargin = 1024;

// Cuts segment a-b to `box` (Liang-Barsky); false when it misses the box.
bool CutSegment(POINT& a, POINT& b, const RECT& box)
{
    const double x0 = a.x, y0 = a.y;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (std::abs(p[i]) < 1e-12) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) return false;
    }
    const POINT na{static_cast<LONG>(std::lround(x0 + t0 * dx)), static_cast<LONG>(std::lround(y0 + t0 * dy))};
    const POINT nb{static_cast<LONG>(std::lround(x0 + t1 * dx)), static_cast<LONG>(std::lround(y0 + t1 * dy))};
    a = na;
    b = nb;
    return true;
}

bool Inside(const POINT& p, const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Brings far-off end points near the clip box; false when nothing can show.
bool NearClip(POINT& a, POINT& b, const RECT& clipBox, int margin)
{
    const RECT box{clipBox.left - margin, clipBox.top - margin, clipBox.right + margin, clipBox.bottom + margin};
    if (Inside(a, box) && Inside(b, box)) return true;
    return CutSegment(a, b, box);
}

}  // namespace

void DrawThinLine(const Target& t, POINT a, POINT b, Stroke& stroke)
{
    if (stroke.none) return;
    {
        const POINT from = a;
        if (!NearClip(a, b, t.clipBox, kLineMargin)) return;
        // Keep dash patterns in step over the part cut off the start.
        stroke.stylePos += std::max(std::abs(a.x - from.x), std::abs(a.y - from.y));
    }
    int x = a.x;
    int y = a.y;
    const int dx = std::abs(b.x - a.x);
    const int dy = std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    const bool solid = stroke.style == PS_SOLID;

    // Fast path: a solid horizontal line is one span.
    if (solid && dy == 0 && stroke.paint.tile.empty()) {
        if (dx == 0) return;
        const int x0 = sx > 0 ? a.x : b.x + 1;
        const int x1 = sx > 0 ? b.x : a.x + 1;
        FillSpan(t, y, x0, x1, stroke.paint);
        return;
    }

    const int steps = std::max(dx, dy);
    // Skip pixels outside the clip box quickly when the whole line is outside.
    const RECT& box = t.clipBox;
    if (std::max(a.x, b.x) < box.left || std::min(a.x, b.x) >= box.right || std::max(a.y, b.y) < box.top ||
        std::min(a.y, b.y) >= box.bottom) {
        stroke.stylePos += steps;
        return;
    }
    int err = (dx > dy ? dx : -dy) / 2;
    if (solid && stroke.paint.tile.empty() && stroke.paint.rop2 == R2_COPYPEN && t.clip->size() == 1) {
        // The common case: one clip rectangle, a plain colour copied.
        const RECT c = t.clip->front();
        const uint32_t color = stroke.paint.color;
        for (int i = 0; i < steps; ++i) {
            if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) t.Row(y)[x] = color;
            const int e = err;
            if (e > -dx) {
                err -= dy;
                x += sx;
            }
            if (e < dy) {
                err += dx;
                y += sy;
            }
        }
        return;
    }
    for (int i = 0; i < steps; ++i) {
        if (solid) {
            PlotPixel(t, x, y, stroke.paint);
        } else {
            if (DashOn(stroke.style, stroke.stylePos)) {
                PlotPixel(t, x, y, stroke.paint);
            } else {
                PlotPixel(t, x, y, stroke.gap);
            }
            ++stroke.stylePos;
        }
        const int e = err;
        if (e > -dx) {
            err -= dy;
            x += sx;
        }
        if (e < dy) {
            err += dx;
            y += sy;
        }
    }
}

bool IsIdempotent(int rop2)
{
    switch (rop2) {
    case R2_BLACK:
    case R2_WHITE:
    case R2_NOP:
    case R2_COPYPEN:
    case R2_NOTCOPYPEN:
    case R2_MASKPEN:
    case R2_MERGEPEN:
    case R2_MASKNOTPEN:
    case R2_MERGENOTPEN: return true;
    default: return false;
    }
}

void AddWideSegment(const SpanSink& sink, POINT a, POINT b, int width, bool flatCaps)
{
    const double half = width / 2.0;
    // Work in pixel-centre space: a point (x, y) names the centre (x + 0.5, y + 0.5).
    const double ax = a.x + 0.5;
    const double ay = a.y + 0.5;
    const double bx = b.x + 0.5;
    const double by = b.y + 0.5;
    const double len = std::hypot(bx - ax, by - ay);
    auto addDisk = [&](double cx, double cy) {
        const int y0 = static_cast<int>(std::floor(cy - half));
        const int y1 = static_cast<int>(std::ceil(cy + half));
        for (int y = y0; y <= y1; ++y) {
            const double d = (y + 0.5) - cy;
            if (std::abs(d) > half) continue;
            const double w = std::sqrt(half * half - d * d);
            sink(y, static_cast<int>(std::ceil(cx - w - 0.5)), static_cast<int>(std::floor(cx + w - 0.5)) + 1);
        }
    };
    if (len < 1e-9) {
        if (!flatCaps) addDisk(ax, ay);
        return;
    }
    const double nx = -(by - ay) / len * half;
    const double ny = (bx - ax) / len * half;
    // Polygon corners in doubled, integer-free form: fill by centres.
    struct P {
        double x, y;
    };
    const P quad[4] = {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}};
    double top = quad[0].y;
    double bottom = quad[0].y;
    for (const P& p : quad) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y) {
        const double sy = y + 0.5;
        double lo = 1e300;
        double hi = -1e300;
        for (int i = 0; i < 4; ++i) {
            const P& p = quad[i];
            const P& q = quad[(i + 1) % 4];
            if (sy < std::min(p.y, q.y) || sy > std::max(p.y, q.y) || std::abs(q.y - p.y) < 1e-12) continue;
            const double x = p.x + (sy - p.y) * (q.x - p.x) / (q.y - p.y);
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
        if (lo > hi) continue;
        sink(y, static_cast<int>(std::ceil(lo - 0.5)), static_cast<int>(std::floor(hi - 0.5)) + 1);
    }
    if (!flatCaps) {
        addDisk(ax, ay);
        addDisk(bx, by);
    }
}

void DrawPolyline(const Target& t, const std::vector<POINT>& points, Outline outline, Stroke& stroke)
{
    const bool closed = outline == Outline::Closed;
    if (stroke.none || points.empty()) return;
    const size_t n = points.size();
    const size_t segments = closed ? n : n - 1;
    if (stroke.width <= 1) {
        for (size_t i = 0; i < segments; ++i) DrawThinLine(t, points[i], points[(i + 1) % n], stroke);
        return;
    }
    // Far-off segments are cut near the clip first; a cut end gets no cap.
    const int margin = kLineMargin + stroke.width;
    auto segment = [&](size_t i, const SpanSink& sink) {
        POINT a = points[i];
        POINT b = points[(i + 1) % n];
        if (!NearClip(a, b, t.clipBox, margin)) return;
        AddWideSegment(sink, a, b, stroke.width, stroke.flatCaps);
    };
    if (IsIdempotent(stroke.paint.rop2)) {
        // Overlaps do no harm: paint each segment's spans as they come.
        const SpanSink paint = [&](int y, int x0, int x1) { FillSpan(t, y, x0, x1, stroke.paint); };
        for (size_t i = 0; i < segments; ++i) segment(i, paint);
        return;
    }
    SpanSet spans;
    const SpanSink gather = [&](int y, int x0, int x1) { spans.Add(y, x0, x1); };
    for (size_t i = 0; i < segments; ++i) segment(i, gather);
    spans.Fill(t, stroke.paint);
}

}  // namespace gdi
