// Text output and measurement: TextOut, ExtTextOut, extents, character
// widths, alignment and spacing. Text ignores the binary raster operation,
// as the platform's text does; glyphs are aliased.
#include "platform/gdi/text.h"

#include <algorithm>
#include <cstring>

namespace gdi {
namespace {

// The direction of the baseline for an escapement, snapped to quarter turns.
struct Direction {
    int cos;
    int sin;
};

Direction DirectionOf(int escapement)
{
    int quarter = ((escapement % 3600) + 3600) % 3600;
    quarter = ((quarter + 450) / 900) % 4;
    static const Direction kDirections[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return kDirections[quarter];
}

bool MarlettPaint(Dc* dc, const RECT& cell, char glyph, COLORREF color);

}  // namespace

int RunWidth(FontFace* face, const char* text, int length, const INT* dx, int charExtra)
{
    int width = 0;
    for (int i = 0; i < length; ++i) {
        width += dx ? dx[i] : face->Advance(static_cast<uint8_t>(text[i])) + charExtra;
    }
    return width;
}

int PaintRun(Dc* dc, const Target& t, FontFace* face, int x, int y, const char* text, int length,
             const RunPlacement& placement)
{
    const TEXTMETRICA& tm = face->Metrics();
    const int width = RunWidth(face, text, length, placement.dx, placement.charExtra);
    const Direction d = DirectionOf(face->Escapement());
    // Text space: u along the baseline, v down across it; the run starts at u0, baseline at v = 0.
    int u0 = 0;
    switch (placement.align & TA_CENTER) {
    case TA_RIGHT: u0 = -width; break;
    case TA_CENTER: u0 = -width / 2; break;
    default: break;
    }
    int baseline = 0;
    switch (placement.align & TA_BASELINE) {
    case TA_BASELINE: baseline = 0; break;
    case TA_BOTTOM: baseline = -tm.tmDescent; break;
    default: baseline = tm.tmAscent; break;
    }
    auto map = [&](int u, int v) { return POINT{x + u * d.cos + v * d.sin, y - u * d.sin + v * d.cos}; };
    auto mapRect = [&](int u0r, int v0r, int u1r, int v1r) {
        const POINT a = map(u0r, v0r);
        // The far corner is exclusive: map the last pixel and step one further.
        const POINT b = map(u1r - 1, v1r - 1);
        return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
    };
    auto inClip = [&](int px, int py) {
        if (placement.clip && (px < placement.clip->left || px >= placement.clip->right ||
                               py < placement.clip->top || py >= placement.clip->bottom)) {
            return false;
        }
        return t.Visible(px, py);
    };
    const int top = baseline - tm.tmAscent;
    if (placement.opaqueCell && width > 0) {
        RECT cell = mapRect(u0, top, u0 + width, top + tm.tmHeight);
        if (placement.clip) {
            cell.left = std::max(cell.left, placement.clip->left);
            cell.top = std::max(cell.top, placement.clip->top);
            cell.right = std::min(cell.right, placement.clip->right);
            cell.bottom = std::min(cell.bottom, placement.clip->bottom);
        }
        if (cell.left < cell.right && cell.top < cell.bottom) {
            FillRectangle(t, cell, SolidPaint(t, placement.background, R2_COPYPEN));
        }
    }
    uint32_t ink = PixelFromColor(placement.color);
    if (t.mono) ink = MonoPixel(ink);
    int pen = u0;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        const int advance = placement.dx ? placement.dx[i] : face->Advance(c) + placement.charExtra;
        if (face->IsMarlett()) {
            const RECT cell = mapRect(pen, top, pen + face->Advance(c), top + tm.tmHeight);
            if (!placement.clip) {
                MarlettPaint(dc, cell, static_cast<char>(c), placement.color);
            } else {
                // Clip by saving the DC's clip and intersecting with the run's.
                const int saved = SaveDC(HandleOf<HDC>(dc));
                const POINT a = ToLogicalFromTarget(dc, placement.clip->left, placement.clip->top);
                const POINT b = ToLogicalFromTarget(dc, placement.clip->right, placement.clip->bottom);
                IntersectClipRect(HandleOf<HDC>(dc), a.x, a.y, b.x, b.y);
                MarlettPaint(dc, cell, static_cast<char>(c), placement.color);
                RestoreDC(HandleOf<HDC>(dc), saved);
            }
        } else {
            const GlyphImage& g = face->Glyph(c);
            for (int gy = 0; gy < g.rows; ++gy) {
                for (int gx = 0; gx < g.width; ++gx) {
                    if (!g.coverage[static_cast<size_t>(gy * g.width + gx)]) continue;
                    const POINT p = map(pen + g.left + gx, baseline - g.top + gy);
                    if (inClip(p.x, p.y)) t.Row(p.y)[p.x] = ink;
                }
            }
        }
        pen += advance;
    }
    auto line = [&](int v, int thickness) {
        const RECT r = mapRect(u0, v, u0 + width, v + thickness);
        for (int py = r.top; py < r.bottom; ++py)
            for (int px = r.left; px < r.right; ++px)
                if (inClip(px, py)) t.Row(py)[px] = ink;
    };
    if (face->Underline() && width > 0) line(baseline + face->UnderlinePosition(), face->UnderlineThickness());
    if (face->StrikeOut() && width > 0) line(baseline - tm.tmAscent / 3, face->UnderlineThickness());
    return width;
}

namespace {

bool MarlettPaint(Dc* dc, const RECT& cell, char glyph, COLORREF color)
{
    // The glyph painter works in logical units of the DC.
    const POINT a = ToLogicalFromTarget(dc, cell.left, cell.top);
    const POINT b = ToLogicalFromTarget(dc, cell.right, cell.bottom);
    const RECT logical{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return DrawMarlettGlyph(HandleOf<HDC>(dc), &logical, glyph, color) != FALSE;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

int SetTextCharacterExtra(HDC handle, int extra)
{
    Dc* dc = AsDc(handle);
    if (!dc) return static_cast<int>(0x80000000u);
    const int old = dc->state.charExtra;
    dc->state.charExtra = extra;
    return old;
}

int GetTextCharacterExtra(HDC handle)
{
    Dc* dc = AsDc(handle);
    return dc ? dc->state.charExtra : static_cast<int>(0x80000000u);
}

UINT SetTextAlign(HDC handle, UINT align)
{
    Dc* dc = AsDc(handle);
    if (!dc) return GDI_TA_ERROR;
    const UINT old = dc->state.textAlign;
    dc->state.textAlign = align;
    return old;
}

UINT GetTextAlign(HDC handle)
{
    Dc* dc = AsDc(handle);
    return dc ? dc->state.textAlign : GDI_TA_ERROR;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int length, SIZE* size)
{
    Dc* dc = AsDc(handle);
    if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
    FontFace* face = CurrentFace(dc);
    if (!face) return FALSE;
    size->cx = RunWidth(face, text, length, nullptr, dc->state.charExtra);
    size->cy = face->Metrics().tmHeight;
    return TRUE;
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int length, SIZE* size)
{
    return GetTextExtentPoint32A(dc, text, length, size);
}

BOOL GetTextExtentExPointA(HDC handle, LPCSTR text, int length, int maxExtent, INT* fit, INT* partial, SIZE* size)
{
    Dc* dc = AsDc(handle);
    if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
    FontFace* face = CurrentFace(dc);
    if (!face) return FALSE;
    int width = 0;
    int fitted = 0;
    for (int i = 0; i < length; ++i) {
        width += face->Advance(static_cast<uint8_t>(text[i])) + dc->state.charExtra;
        if (partial) partial[i] = width;
        if (width <= maxExtent) fitted = i + 1;
    }
    if (fit) *fit = fitted;
    size->cx = width;
    size->cy = face->Metrics().tmHeight;
    return TRUE;
}

BOOL GetCharWidth32A(HDC handle, UINT first, UINT last, INT* widths)
{
    Dc* dc = AsDc(handle);
    if (!dc || !widths || first > last || last > 0xFF) return FALSE;
    FontFace* face = CurrentFace(dc);
    if (!face) return FALSE;
    for (UINT c = first; c <= last; ++c) widths[c - first] = face->Advance(static_cast<uint8_t>(c));
    return TRUE;
}

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT* dx)
{
    Dc* dc = AsDc(handle);
    if (!dc || (!text && length > 0) || length > 0x7FFFFFFF) return FALSE;
    FontFace* face = CurrentFace(dc);
    if (!face) return FALSE;
    const bool updateCp = (dc->state.textAlign & TA_UPDATECP) != 0;
    if (updateCp) {
        x = dc->state.position.x;
        y = dc->state.position.y;
    }
    Target t;
    const bool drawable = GetTarget(dc, t);
    RECT clip{};
    const bool haveRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
    if (haveRect) clip = RectToTarget(dc, *rect);
    if (drawable && haveRect && (options & ETO_OPAQUE)) {
        FillRectangle(t, clip, SolidPaint(t, dc->state.bkColor, R2_COPYPEN));
    }
    const int count = static_cast<int>(length);
    int width = 0;
    if (drawable) {
        RunPlacement placement;
        placement.align = dc->state.textAlign;
        placement.dx = dx;
        placement.charExtra = dc->state.charExtra;
        placement.opaqueCell = dc->state.bkMode == OPAQUE && !(haveRect && (options & ETO_OPAQUE));
        placement.clip = haveRect && (options & ETO_CLIPPED) ? &clip : nullptr;
        placement.color = dc->state.textColor;
        placement.background = dc->state.bkColor;
        const POINT origin = ToTarget(dc, x, y);
        width = PaintRun(dc, t, face, origin.x, origin.y, text, count, placement);
    } else {
        width = RunWidth(face, text, count, dx, dc->state.charExtra);
    }
    if (updateCp) {
        // The current position moves past the text for left-aligned runs,
        // along the baseline (turned with the font's escapement).
        const Direction d = DirectionOf(face->Escapement());
        int along = 0;
        if ((dc->state.textAlign & TA_CENTER) == TA_LEFT) {
            along = width;
        } else if ((dc->state.textAlign & TA_CENTER) == TA_RIGHT) {
            along = -width;
        }
        dc->state.position.x = x + along * d.cos;
        dc->state.position.y = y - along * d.sin;
    }
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length)
{
    if (length < 0) return FALSE;
    return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}
