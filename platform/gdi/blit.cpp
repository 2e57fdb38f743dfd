// Blits: pattern fills, bit-block transfers with ternary raster operations
// and stretching, transparent and alpha-blended copies, gradient fills and
// icon drawing. Stretching picks the nearest source pixel; monochrome and
// colour pixels convert through the DCs' text and background colours.
#include <algorithm>
#include <cstring>

#include "platform/gdi/raster.h"

using namespace gdi;

namespace {

// Pixels a blit reads from, in target pixels of the source DC.
struct SourceView {
    const uint32_t* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    bool mono = false;
    uint32_t bkPixel = 0;  // the source DC's background colour (colour to mono)
    std::vector<uint32_t> copy;  // private copy when source and destination share pixels
};

bool MakeSourceView(Dc* source, const Target& dest, SourceView& view)
{
    Target st;
    if (!GetTarget(source, st)) return false;
    view.stride = st.stride;
    view.width = st.width;
    view.height = st.height;
    view.mono = st.mono;
    view.bkPixel = PixelFromColor(source->state.bkColor);
    if (st.pixels == dest.pixels) {
        // Overlapping copies (scrolling) read the pixels as they were before the blit.
        view.copy.resize(static_cast<size_t>(st.width) * static_cast<size_t>(st.height));
        for (int y = 0; y < st.height; ++y) {
            std::copy(st.Row(y), st.Row(y) + st.width, view.copy.begin() + static_cast<ptrdiff_t>(y) * st.width);
        }
        view.pixels = view.copy.data();
        view.stride = st.width;
    } else {
        view.pixels = st.pixels;
    }
    return true;
}

// Converts a source pixel for a destination of the other depth.
struct DepthConversion {
    bool monoToColor = false;
    bool colorToMono = false;
    uint32_t fore = 0;  // destination text colour
    uint32_t back = 0;  // destination background colour
    uint32_t sourceBk = 0;

    uint32_t operator()(uint32_t s) const
    {
        if (monoToColor) return (s & kColorBits) ? back : fore;
        if (colorToMono) return ((s & kColorBits) == (sourceBk & kColorBits)) ? 0xFFFFFFFFu : kOpaque;
        return s;
    }
};

DepthConversion MakeConversion(Dc* dest, const Target& t, const SourceView& s)
{
    DepthConversion c;
    c.monoToColor = s.mono && !t.mono;
    c.colorToMono = !s.mono && t.mono;
    c.fore = PixelFromColor(dest->state.textColor);
    c.back = PixelFromColor(dest->state.bkColor);
    c.sourceBk = s.bkPixel;
    return c;
}

// The destination rectangle in target pixels and, per destination column
// and row, the source pixel it samples (-1 outside the source).
struct BlitMap {
    RECT dest{0, 0, 0, 0};
    std::vector<int> sx;
    std::vector<int> sy;
};

// The first pixel of an axis running from `start` over `length` pixels: a
// negative length covers the pixels start + length + 1 to start.
int AxisFirst(int start, int length) { return length < 0 ? start + length + 1 : start; }

// For each of |destLen| destination pixels (in increasing order), the source
// pixel it samples, or -1 outside [0, limit).
std::vector<int> SampleAxis(int destLen, int srcFirst, int srcLen, int limit)
{
    const int n = std::abs(destLen);
    const int m = std::abs(srcLen);
    const bool mirror = (destLen < 0) != (srcLen < 0);
    std::vector<int> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        int k = static_cast<int>((int64_t{2 * i + 1} * m) / (int64_t{2} * n));
        if (mirror) k = m - 1 - k;
        const int s = srcFirst + k;
        out[static_cast<size_t>(i)] = (s >= 0 && s < limit) ? s : -1;
    }
    return out;
}

bool MakeBlitMap(Dc* dest, int x, int y, int w, int h, Dc* source, const SourceView* view, int sx, int sy, int sw,
                 int sh, BlitMap& map)
{
    const POINT d0 = ToTarget(dest, x, y);
    const POINT d1 = ToTarget(dest, x + w, y + h);
    const int dw = d1.x - d0.x;
    const int dh = d1.y - d0.y;
    if (dw == 0 || dh == 0) return false;
    map.dest = {AxisFirst(d0.x, dw), AxisFirst(d0.y, dh), AxisFirst(d0.x, dw) + std::abs(dw),
                AxisFirst(d0.y, dh) + std::abs(dh)};
    if (!source) return true;
    const POINT s0 = ToTarget(source, sx, sy);
    const POINT s1 = ToTarget(source, sx + sw, sy + sh);
    if (s1.x == s0.x || s1.y == s0.y) return false;
    // Columns and rows in left-to-right, top-to-bottom order; opposite signs mirror.
    map.sx = SampleAxis(dw, AxisFirst(s0.x, s1.x - s0.x), s1.x - s0.x, view->width);
    map.sy = SampleAxis(dh, AxisFirst(s0.y, s1.y - s0.y), s1.y - s0.y, view->height);
    return true;
}

// Calls f(destRow, x, sourcePixelOrNull) for each visible destination pixel.
template <class F>
void ForEachPixel(const Target& t, const BlitMap& map, const SourceView* view, F&& f)
{
    for (const RECT& c : *t.clip) {
        const int left = std::max(map.dest.left, c.left);
        const int right = std::min(map.dest.right, c.right);
        const int top = std::max(map.dest.top, c.top);
        const int bottom = std::min(map.dest.bottom, c.bottom);
        for (int y = top; y < bottom; ++y) {
            uint32_t* row = t.Row(y);
            if (!view) {
                for (int x = left; x < right; ++x) f(row, x, y, nullptr);
                continue;
            }
            const int syv = map.sy[static_cast<size_t>(y - map.dest.top)];
            if (syv < 0) continue;
            const uint32_t* srow = view->pixels + static_cast<ptrdiff_t>(syv) * view->stride;
            for (int x = left; x < right; ++x) {
                const int sxv = map.sx[static_cast<size_t>(x - map.dest.left)];
                if (sxv < 0) continue;
                f(row, x, y, srow + sxv);
            }
        }
    }
}

// True when each destination pixel samples the next source pixel (no stretch, no mirror).
bool IsUnitScale(const BlitMap& map)
{
    auto unit = [](const std::vector<int>& axis) {
        int previous = -2;
        for (int v : axis) {
            if (v < 0) continue;
            if (previous >= 0 && v != previous + 1) return false;
            previous = v;
        }
        return true;
    };
    return unit(map.sx) && unit(map.sy);
}

void CopyRows(const Target& t, const BlitMap& map, const SourceView& view)
{
    for (const RECT& c : *t.clip) {
        int left = std::max(map.dest.left, c.left);
        int right = std::min(map.dest.right, c.right);
        const int top = std::max(map.dest.top, c.top);
        const int bottom = std::min(map.dest.bottom, c.bottom);
        // Columns whose source lies outside the source are left alone.
        while (left < right && map.sx[static_cast<size_t>(left - map.dest.left)] < 0) ++left;
        while (right > left && map.sx[static_cast<size_t>(right - 1 - map.dest.left)] < 0) --right;
        if (left >= right) continue;
        const int sx = map.sx[static_cast<size_t>(left - map.dest.left)];
        for (int y = top; y < bottom; ++y) {
            const int sy = map.sy[static_cast<size_t>(y - map.dest.top)];
            if (sy < 0) continue;
            std::memcpy(t.Row(y) + left, view.pixels + static_cast<ptrdiff_t>(sy) * view.stride + sx,
                        static_cast<size_t>(right - left) * 4);
        }
    }
}

bool UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
bool UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

BOOL RopBlt(HDC destHandle, int x, int y, int w, int h, HDC sourceHandle, int sx, int sy, int sw, int sh, DWORD rop)
{
    Dc* dest = AsDc(destHandle);
    if (!dest) return FALSE;
    const auto code = static_cast<uint8_t>((rop >> 16) & 0xFF);
    const bool needSource = UsesSource(code);
    Dc* source = needSource ? AsDc(sourceHandle) : nullptr;
    if (needSource && !source) return FALSE;
    Target t;
    if (!GetTarget(dest, t)) return TRUE;
    SourceView view;
    if (source && !MakeSourceView(source, t, view)) return FALSE;
    BlitMap map;
    if (!MakeBlitMap(dest, x, y, w, h, source, source ? &view : nullptr, sx, sy, sw, sh, map)) return TRUE;
    Paint pattern;
    if (UsesPattern(code)) {
        pattern = BrushPaint(dest, t, nullptr, R2_COPYPEN);
        if (pattern.none) pattern = SolidPaint(t, RGB(0, 0, 0), R2_COPYPEN);
        pattern.tileMask.clear();  // raster operations see the hatch background too
    }
    const DepthConversion convert = source ? MakeConversion(dest, t, view) : DepthConversion{};

    const bool sameDepth = !convert.monoToColor && !convert.colorToMono;
    // Unstretched copies of same-depth pixels copy whole row pieces.
    if (code == 0xCC && sameDepth && IsUnitScale(map)) {
        CopyRows(t, map, view);
        return TRUE;
    }
    if (code == 0xCC && sameDepth) {
        ForEachPixel(t, map, &view, [](uint32_t* row, int px, int, const uint32_t* s) { row[px] = *s; });
        return TRUE;
    }
    if (code == 0x66 && sameDepth) {
        ForEachPixel(t, map, &view, [](uint32_t* row, int px, int, const uint32_t* s) {
            row[px] = ((row[px] ^ *s) & kColorBits) | kOpaque;
        });
        return TRUE;
    }
    ForEachPixel(t, map, source ? &view : nullptr, [&](uint32_t* row, int px, int py, const uint32_t* s) {
        bool on = true;
        const uint32_t p = pattern.none ? 0u : pattern.At(px, py, &on);
        const uint32_t sv = s ? convert(*s) : 0u;
        row[px] = ApplyRop3(code, p, sv, row[px]);
    });
    return TRUE;
}

}  // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    const auto code = static_cast<uint8_t>((rop >> 16) & 0xFF);
    if (UsesSource(code)) return FALSE;
    return RopBlt(dc, x, y, width, height, nullptr, 0, 0, width, height, rop);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop)
{
    return RopBlt(dest, x, y, width, height, source, sx, sy, width, height, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sourceWidth,
                int sourceHeight, DWORD rop)
{
    return RopBlt(dest, x, y, width, height, source, sx, sy, sourceWidth, sourceHeight, rop);
}

BOOL TransparentBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy,
                    int sourceWidth, int sourceHeight, UINT transparent)
{
    Dc* dest = AsDc(destHandle);
    Dc* source = AsDc(sourceHandle);
    if (!dest || !source || width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) return FALSE;
    Target t;
    if (!GetTarget(dest, t)) return TRUE;
    SourceView view;
    if (!MakeSourceView(source, t, view)) return FALSE;
    BlitMap map;
    if (!MakeBlitMap(dest, x, y, width, height, source, &view, sx, sy, sourceWidth, sourceHeight, map)) return TRUE;
    const DepthConversion convert = MakeConversion(dest, t, view);
    const uint32_t key = PixelFromColor(transparent) & kColorBits;
    ForEachPixel(t, map, &view, [&](uint32_t* row, int px, int, const uint32_t* s) {
        if ((*s & kColorBits) == key) return;
        row[px] = convert(*s) | kOpaque;
    });
    return TRUE;
}

BOOL AlphaBlend(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend)
{
    Dc* dest = AsDc(destHandle);
    Dc* source = AsDc(sourceHandle);
    if (!dest || !source || blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || sourceWidth < 0 ||
        sourceHeight < 0) {
        return FALSE;
    }
    Target t;
    if (!GetTarget(dest, t)) return TRUE;
    SourceView view;
    if (!MakeSourceView(source, t, view)) return FALSE;
    BlitMap map;
    if (!MakeBlitMap(dest, x, y, width, height, source, &view, sx, sy, sourceWidth, sourceHeight, map)) return TRUE;
    const uint32_t constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    ForEachPixel(t, map, &view, [&](uint32_t* row, int px, int, const uint32_t* s) {
        const uint32_t sp = *s;
        const uint32_t d = row[px];
        // Source channels (premultiplied when per-pixel) scaled by the constant alpha.
        const uint32_t sa = perPixel ? ((sp >> 24) * constant + 127) / 255 : constant;
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const uint32_t sc = (sp >> shift) & 0xFF;
            const uint32_t dc = (d >> shift) & 0xFF;
            uint32_t value;
            if (shift == 24) {
                value = sa + (dc * (255 - sa) + 127) / 255;
            } else {
                value = (sc * constant + 127) / 255 + (dc * (255 - sa) + 127) / 255;
            }
            out |= std::min<uint32_t>(value, 255) << shift;
        }
        row[px] = out;
    });
    return TRUE;
}

namespace {

BYTE Channel(COLOR16 c) { return static_cast<BYTE>(c >> 8); }

uint32_t Mix(const TRIVERTEX& a, const TRIVERTEX& b, int64_t num, int64_t den)
{
    auto lerp = [&](COLOR16 ca, COLOR16 cb) {
        return static_cast<uint32_t>(Channel(static_cast<COLOR16>(ca + (int64_t{cb} - ca) * num / den)));
    };
    return kOpaque | (lerp(a.Red, b.Red) << 16) | (lerp(a.Green, b.Green) << 8) | lerp(a.Blue, b.Blue);
}

}  // namespace

BOOL GradientFill(HDC handle, const TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount, ULONG mode)
{
    Dc* dc = AsDc(handle);
    if (!dc || !vertices || !mesh) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
        const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
        for (ULONG i = 0; i < meshCount; ++i) {
            if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
            TRIVERTEX a = vertices[rects[i].UpperLeft];
            TRIVERTEX b = vertices[rects[i].LowerRight];
            const POINT pa = ToTarget(dc, a.x, a.y);
            const POINT pb = ToTarget(dc, b.x, b.y);
            a.x = pa.x;
            a.y = pa.y;
            b.x = pb.x;
            b.y = pb.y;
            // The colour runs from the first vertex's side to the second's.
            const bool horizontal = mode == GRADIENT_FILL_RECT_H;
            const RECT r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
            const int span = horizontal ? r.right - r.left : r.bottom - r.top;
            if (span <= 0 || r.bottom <= r.top || r.right <= r.left) continue;
            const TRIVERTEX& first = (horizontal ? a.x <= b.x : a.y <= b.y) ? a : b;
            const TRIVERTEX& second = (&first == &a) ? b : a;
            for (int k = 0; k < span; ++k) {
                Paint paint = SolidPaint(t, 0, R2_COPYPEN);
                paint.color = Mix(first, second, k, span);
                if (t.mono) paint.color = MonoPixel(paint.color);
                const RECT strip = horizontal ? RECT{r.left + k, r.top, r.left + k + 1, r.bottom}
                                              : RECT{r.left, r.top + k, r.right, r.top + k + 1};
                FillRectangle(t, strip, paint);
            }
        }
        return TRUE;
    }
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tris = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (ULONG i = 0; i < meshCount; ++i) {
            const ULONG idx[3] = {tris[i].Vertex1, tris[i].Vertex2, tris[i].Vertex3};
            if (idx[0] >= vertexCount || idx[1] >= vertexCount || idx[2] >= vertexCount) return FALSE;
            POINT p[3];
            for (int k = 0; k < 3; ++k) p[k] = ToTarget(dc, vertices[idx[k]].x, vertices[idx[k]].y);
            const double area = double(p[1].x - p[0].x) * (p[2].y - p[0].y) - double(p[2].x - p[0].x) * (p[1].y - p[0].y);
            if (std::abs(area) < 0.5) continue;
            SpanSet spans;
            AddPolygon(spans, {{p[0], p[1], p[2]}}, ALTERNATE);
            const Region region = spans.ToRegion();
            for (const Band& band : region.Bands()) {
                for (int y = band.top; y < band.bottom; ++y) {
                    for (const Span& s : band.spans) {
                        for (int x = s.left; x < s.right; ++x) {
                            if (!t.Visible(x, y)) continue;
                            const double cx = x + 0.5;
                            const double cy = y + 0.5;
                            const double w0 = (double(p[1].x - cx) * (p[2].y - cy) - double(p[2].x - cx) * (p[1].y - cy)) / area;
                            const double w1 = (double(p[2].x - cx) * (p[0].y - cy) - double(p[0].x - cx) * (p[2].y - cy)) / area;
                            const double w2 = 1.0 - w0 - w1;
                            auto channel = [&](COLOR16 TRIVERTEX::*c) {
                                const double v = w0 * (vertices[idx[0]].*c) + w1 * (vertices[idx[1]].*c) +
                                                 w2 * (vertices[idx[2]].*c);
                                return static_cast<uint32_t>(std::clamp(v, 0.0, 65535.0)) >> 8;
                            };
                            uint32_t px = kOpaque | (channel(&TRIVERTEX::Red) << 16) |
                                          (channel(&TRIVERTEX::Green) << 8) | channel(&TRIVERTEX::Blue);
                            t.Row(y)[x] = t.mono ? MonoPixel(px) : px;
                        }
                    }
                }
            }
        }
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Icons

BOOL DrawIconEx(HDC handle, int x, int y, HICON iconHandle, int width, int height, UINT, HBRUSH brush, UINT flags)
{
    Dc* dc = AsDc(handle);
    Icon* icon = AsIcon(iconHandle);
    if (!dc || !icon) return FALSE;
    if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
    const Bitmap* color = icon->color.get();
    const Bitmap* mask = icon->mask.get();
    const int iconW = color ? color->width : mask->width;
    const int iconH = color ? color->height : mask->height / 2;
    if (width == 0) width = (flags & DI_DEFAULTSIZE) ? 32 : iconW;
    if (height == 0) height = (flags & DI_DEFAULTSIZE) ? 32 : iconH;
    if (brush) {
        const RECT r{x, y, x + width, y + height};
        FillRect(handle, &r, brush);
    }
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    BlitMap map;
    const POINT d0 = ToTarget(dc, x, y);
    const POINT d1 = ToTarget(dc, x + width, y + height);
    if (d1.x <= d0.x || d1.y <= d0.y) return TRUE;
    map.dest = {d0.x, d0.y, d1.x, d1.y};
    map.sx = SampleAxis(d1.x - d0.x, 0, iconW, iconW);
    map.sy = SampleAxis(d1.y - d0.y, 0, iconH, iconH);
    SourceView view;
    view.width = iconW;
    view.height = iconH;
    view.stride = iconW;
    view.pixels = color ? color->pixels.data() : mask->pixels.data();
    // A colour image with its own alpha and no mask blends by that alpha.
    bool hasAlpha = false;
    if (color && !mask) {
        for (uint32_t p : color->pixels) {
            if ((p >> 24) != 0xFF) {
                hasAlpha = true;
                break;
            }
        }
    }
    const ptrdiff_t xorOffset = color ? 0 : static_cast<ptrdiff_t>(iconH) * iconW;
    const uint32_t* maskPixels = mask ? mask->pixels.data() : nullptr;
    ForEachPixel(t, map, &view, [&](uint32_t* row, int px, int py, const uint32_t* s) {
        const ptrdiff_t index = s - view.pixels;
        (void)py;
        uint32_t d = row[px];
        if (hasAlpha) {
            if (!(flags & DI_IMAGE)) return;
            const uint32_t a = *s >> 24;
            uint32_t out = kOpaque;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t sc = (*s >> shift) & 0xFF;
                const uint32_t dcv = (d >> shift) & 0xFF;
                out |= std::min<uint32_t>(sc + (dcv * (255 - a) + 127) / 255, 255) << shift;
            }
            row[px] = out;
            return;
        }
        if (maskPixels && (flags & DI_MASK)) d &= maskPixels[index] | kOpaque;
        if (flags & DI_IMAGE) {
            const uint32_t image = color ? *s : maskPixels[index + xorOffset];
            if (maskPixels && (flags & DI_MASK)) {
                d ^= image & kColorBits;
            } else {
                d = image;
            }
        }
        row[px] = d | kOpaque;
    });
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE); }
