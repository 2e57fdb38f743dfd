// DrawState: text, bitmaps, icons or a callback's image drawn normally, as
// a one-colour shape (monochrome), embossed (disabled) or dithered (union).
// The image is first made into a shape mask: the pixels it inks.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/dc_guards.h"
#include "platform/gdi/raster.h"

using namespace gdi;

namespace {

// A memory DC on a white 32-bit bitmap for rendering an image off screen.
class Scratch {
public:
    Scratch(HDC like, int width, int height)
    {
        m_dc = CreateCompatibleDC(like);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        const RECT all{0, 0, width, height};
        FillSolidRect(m_dc, &all, RGB(255, 255, 255));
        if (Dc* source = AsDc(like)) {
            SelectObject(m_dc, source->state.font ? HandleOf(source->state.font) : GetStockObject(SYSTEM_FONT));
        }
    }
    ~Scratch()
    {
        SelectObject(m_dc, m_old);
        SelectObject(m_dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    HDC dc() const { return m_dc; }
    GdiSurface Pixels() const
    {
        GdiSurface s{};
        GetBitmapSurface(m_bitmap, &s);
        return s;
    }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> on;
};

// Fills the mask's pixels at (x, y) of the DC with `color`, or with the brush's paint.
void PaintMask(Dc* dc, const Mask& mask, int x, int y, const Paint& paint, bool dither)
{
    Target t;
    if (!GetTarget(dc, t)) return;
    const POINT o = ToTarget(dc, x, y);
    for (int my = 0; my < mask.height; ++my) {
        for (int mx = 0; mx < mask.width; ++mx) {
            if (!mask.on[static_cast<size_t>(my * mask.width + mx)]) continue;
            if (dither && ((mx + my) & 1)) continue;
            PlotPixel(t, o.x + mx, o.y + my, paint);
        }
    }
}

}  // namespace

BOOL DrawStateA(HDC handle, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    const UINT type = flags & 0x000F;
    const UINT state = flags & 0x7FF0;
    std::string text;
    if (type == DST_TEXT || type == DST_PREFIXTEXT) {
        const char* s = reinterpret_cast<const char*>(data);
        if (!s) return FALSE;
        text = wData ? std::string(s, static_cast<size_t>(wData)) : std::string(s);
    }
    // The image's own size when none is given.
    if (cx == 0 || cy == 0) {
        SIZE size{0, 0};
        switch (type) {
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            RECT r{0, 0, 0, 0};
            DrawTextA(handle, text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | (type == DST_TEXT ? DT_NOPREFIX : 0));
            size = {r.right, r.bottom};
            break;
        }
        case DST_BITMAP: {
            BITMAP bm{};
            if (!GetObjectA(reinterpret_cast<HBITMAP>(data), sizeof(bm), &bm)) return FALSE;
            size = {bm.bmWidth, bm.bmHeight};
            break;
        }
        case DST_ICON: {
            Icon* icon = AsIcon(reinterpret_cast<HICON>(data));
            if (!icon) return FALSE;
            size = icon->color ? SIZE{icon->color->width, icon->color->height}
                               : SIZE{icon->mask->width, icon->mask->height / 2};
            break;
        }
        default: break;
        }
        if (cx == 0) cx = size.cx;
        if (cy == 0) cy = size.cy;
    }
    if (cx <= 0 || cy <= 0) return TRUE;
    // The image is rendered off screen first; refuse sizes no screen needs.
    constexpr int64_t kMaxImagePixels = int64_t{1} << 24;
    if (int64_t{cx} * cy > kMaxImagePixels) return FALSE;

    // Render the image normally into a white scratch bitmap.
    Scratch scratch(handle, cx, cy);
    HDC s = scratch.dc();
    const UINT prefix = (type == DST_TEXT) ? DT_NOPREFIX : 0;
    switch (type) {
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        SetBkMode(s, TRANSPARENT);
        SetTextColor(s, (state & (DSS_MONO | DSS_DISABLED)) ? RGB(0, 0, 0) : dc->state.textColor);
        RECT r{0, 0, cx, cy};
        const UINT hide = (state & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0;
        const UINT only = (state & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0;
        DrawTextA(s, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | prefix | hide | only);
        break;
    }
    case DST_BITMAP: {
        const MemoryDC source(handle);
        const SelectedObject bitmap(source.Get(), reinterpret_cast<HBITMAP>(data));
        if (!bitmap.Previous()) {
            return FALSE;
        }
        BitBlt(s, 0, 0, cx, cy, source.Get(), 0, 0, SRCCOPY);
        break;
    }
    case DST_ICON:
        if (!DrawIconEx(s, 0, 0, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL)) return FALSE;
        break;
    case DST_COMPLEX:
        if (!proc || !proc(s, data, wData, cx, cy)) return FALSE;
        break;
    default: return FALSE;
    }

    const bool mono = (state & DSS_MONO) != 0;
    const bool disabled = (state & DSS_DISABLED) != 0;
    const bool dither = (state & DSS_UNION) != 0;
    if (!mono && !disabled) {
        // Normal images: text goes straight to the DC so its background mode holds.
        if (type == DST_TEXT || type == DST_PREFIXTEXT) {
            RECT r{x, y, x + cx, y + cy};
            const UINT hide = (state & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0;
            const UINT only = (state & DSS_PREFIXONLY) ? DT_PREFIXONLY : 0;
            DrawTextA(handle, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOCLIP | prefix | hide | only);
        } else if (type == DST_ICON) {
            DrawIconEx(handle, x, y, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
        } else {
            BitBlt(handle, x, y, cx, cy, s, 0, 0, SRCCOPY);
        }
        if (dither) {
            Mask mask{cx, cy, std::vector<uint8_t>(static_cast<size_t>(cx) * static_cast<size_t>(cy), 1)};
            Target t;
            if (GetTarget(dc, t)) PaintMask(dc, mask, x, y, SolidPaint(t, GdiSysColor(COLOR_HIGHLIGHT), R2_COPYPEN), true);
        }
        return TRUE;
    }

    // The shape: an icon's opaque pixels (by its mask or alpha), for other
    // images every scratch pixel that is not white.
    Mask mask{cx, cy, std::vector<uint8_t>(static_cast<size_t>(cx) * static_cast<size_t>(cy), 0)};
    Icon* icon = type == DST_ICON ? AsIcon(reinterpret_cast<HICON>(data)) : nullptr;
    const GdiSurface pixels = scratch.Pixels();
    for (int my = 0; my < cy; ++my) {
        for (int mx = 0; mx < cx; ++mx) {
            bool on = (pixels.pixels[my * pixels.stride + mx] & 0xFFFFFFu) != 0xFFFFFFu;
            if (icon) {
                const Bitmap* shape = icon->mask ? icon->mask.get() : icon->color.get();
                const int iconW = icon->color ? icon->color->width : shape->width;
                const int iconH = icon->color ? icon->color->height : shape->height / 2;
                const int ix = mx * iconW / cx;
                const int iy = my * iconH / cy;
                const uint32_t p = shape->Row(iy)[ix];
                on = icon->mask ? (p & kColorBits) == 0 : (p >> 24) >= 0x80;
            }
            mask.on[static_cast<size_t>(my * cx + mx)] = on ? 1 : 0;
        }
    }
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    if (disabled) {
        PaintMask(dc, mask, x + 1, y + 1, SolidPaint(t, GdiSysColor(COLOR_3DHIGHLIGHT), R2_COPYPEN), dither);
        PaintMask(dc, mask, x, y, SolidPaint(t, GdiSysColor(COLOR_3DSHADOW), R2_COPYPEN), dither);
        return TRUE;
    }
    Paint paint;
    if (brush) {
        Brush* b = AsBrush(brush);
        const auto value = reinterpret_cast<uintptr_t>(brush);
        if (b) {
            paint = BrushPaint(dc, t, b, R2_COPYPEN);
        } else if (value <= static_cast<uintptr_t>(kSysColorCount + 1)) {
            paint = SolidPaint(t, GdiSysColor(static_cast<int>(value) - 1), R2_COPYPEN);
        } else {
            return FALSE;
        }
    } else {
        paint = SolidPaint(t, dc->state.textColor, R2_COPYPEN);
    }
    PaintMask(dc, mask, x, y, paint, dither);
    return TRUE;
}
