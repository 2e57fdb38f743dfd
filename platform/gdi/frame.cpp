// Frames and glyphs: 3-D edges, focus rectangles, the small glyphs of the
// "Marlett" face (check marks, bullets, arrows, window buttons) drawn from
// our own shapes, frame controls built from them, and DrawState's normal,
// monochrome, disabled and dithered images.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/raster.h"

using namespace gdi;

namespace {

// Glyph shapes are designed for a 13-pixel cell and scaled by whole pixels.
constexpr int kGlyphDesignCell = 13;

struct GlyphPainter {
    const Target& t;
    Paint paint;
    int unit;  // target pixels per design pixel
    int cx;    // cell centre, target pixels
    int cy;

    // Fills design cells [x0, x1) x [y0, y1) relative to the centre.
    void Cells(int x0, int y0, int x1, int y1) const
    {
        FillRectangle(t, {cx + x0 * unit, cy + y0 * unit, cx + x1 * unit, cy + y1 * unit}, paint);
    }
    void Pattern(const char* const* rows, int width, int height) const
    {
        const int left = -width / 2;
        const int top = -height / 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (rows[y][x] == '#') Cells(left + x, top + y, left + x + 1, top + y + 1);
    }
    // A filled triangle pointing in direction (dx, dy) with `size` rows.
    void Arrow(int dx, int dy, int size) const
    {
        for (int i = 0; i < size; ++i) {
            const int half = size - 1 - i;  // widest row first
            const int along = i - size / 2;
            if (dy != 0) {
                const int row = dy > 0 ? along : -along;
                Cells(-half, row, half + 1, row + 1);
            } else {
                const int column = dx > 0 ? along : -along;
                Cells(column, -half, column + 1, half + 1);
            }
        }
    }
    void Disc(int diameter) const
    {
        SpanSet spans;
        const int size = diameter * unit;
        const RECT box{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size};
        AddRoundedBox(spans, box, size, size);
        spans.Fill(t, paint);
    }
};

const char* const kCheck[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};
const char* const kClose[] = {
    "##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##",
};
const char* const kMaximise[] = {
    "#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########",
};
const char* const kRestore[] = {
    "...######", "...######", "...#....#", "######..#", "######..#", "#....####",
    "#....#...", "#....#...", "######...",
};
const char* const kHelp[] = {
    ".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..",
};

bool PaintGlyph(const GlyphPainter& g, char glyph)
{
    switch (glyph) {
    case 'a':
    case 'b': g.Pattern(kCheck, 7, 7); return true;
    case 'h': g.Disc(4); return true;
    case 'i': g.Disc(4); return true;
    case 'n': g.Disc(12); return true;  // radio button face
    case '0': g.Cells(-3, 2, 3, 4); return true;
    case '1': g.Pattern(kMaximise, 9, 9); return true;
    case '2': g.Pattern(kRestore, 9, 9); return true;
    case 'r': g.Pattern(kClose, 8, 7); return true;
    case 's': g.Pattern(kHelp, 6, 8); return true;
    case '3': g.Arrow(-1, 0, 4); return true;
    case '4': g.Arrow(1, 0, 4); return true;
    case '5': g.Arrow(0, -1, 4); return true;
    case '6': g.Arrow(0, 1, 4); return true;
    case '8': g.Arrow(1, 0, 4); return true;
    case 't': g.Arrow(0, 1, 3); return true;  // small down arrow
    default: return false;
    }
}

COLORREF Sys(int index) { return GdiSysColor(index); }

void OffsetRectBy(RECT& r, int dx, int dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

void Line(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    const RECT r{left, top, right, bottom};
    FillSolidRect(dc, &r, color);
}

// One ring of a 3-D edge: top/left in `light`, bottom/right in `dark`.
void EdgeRing(HDC dc, const RECT& r, UINT flags, COLORREF light, COLORREF dark)
{
    if (flags & BF_TOP) Line(dc, r.left, r.top, r.right - 1, r.top + 1, light);
    if (flags & BF_LEFT) Line(dc, r.left, r.top, r.left + 1, r.bottom - 1, light);
    if (flags & BF_BOTTOM) Line(dc, r.left, r.bottom - 1, r.right, r.bottom, dark);
    if (flags & BF_RIGHT) Line(dc, r.right - 1, r.top, r.right, r.bottom, dark);
}

RECT Shrunk(const RECT& r, UINT flags)
{
    RECT out = r;
    if (flags & BF_LEFT) ++out.left;
    if (flags & BF_TOP) ++out.top;
    if (flags & BF_RIGHT) --out.right;
    if (flags & BF_BOTTOM) --out.bottom;
    return out;
}

// A square of `size` centred in rect.
RECT CentredSquare(const RECT& rect, int size)
{
    const int x = rect.left + (rect.right - rect.left - size) / 2;
    const int y = rect.top + (rect.bottom - rect.top - size) / 2;
    return {x, y, x + size, y + size};
}

}  // namespace

BOOL GdiDrawMarlettGlyph(HDC handle, const RECT* rect, char glyph, COLORREF color)
{
    Dc* dc = AsDc(handle);
    if (!dc || !rect) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const RECT r = RectToTarget(dc, *rect);
    const int size = std::min(r.right - r.left, r.bottom - r.top);
    if (size <= 0) return TRUE;
    GlyphPainter g{t, SolidPaint(t, color, R2_COPYPEN), std::max(1, size / kGlyphDesignCell), (r.left + r.right) / 2,
                   (r.top + r.bottom) / 2};
    return PaintGlyph(g, glyph) ? TRUE : FALSE;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags)
{
    if (!AsDc(dc) || !rect) return FALSE;
    RECT r = *rect;
    const UINT outer = edge & BDR_OUTER;
    const UINT inner = edge & BDR_INNER;
    if (flags & (BF_MONO | BF_FLAT)) {
        // One ring in the frame or shadow colour.
        const COLORREF c = (flags & BF_MONO) ? Sys(COLOR_WINDOWFRAME) : Sys(COLOR_BTNSHADOW);
        if (outer || inner) {
            EdgeRing(dc, r, flags, c, c);
            r = Shrunk(r, flags);
        }
        if (inner && outer) r = Shrunk(r, flags);
    } else {
        // Raised outer: light / dark shadow; raised inner: highlight / shadow; sunken swaps.
        if (outer) {
            const bool raised = outer & BDR_RAISEDOUTER;
            const COLORREF light = raised ? Sys((flags & BF_SOFT) ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT)
                                          : Sys((flags & BF_SOFT) ? COLOR_3DDKSHADOW : COLOR_3DSHADOW);
            const COLORREF dark = raised ? Sys(COLOR_3DDKSHADOW) : Sys(COLOR_3DHIGHLIGHT);
            EdgeRing(dc, r, flags, light, dark);
            r = Shrunk(r, flags);
        }
        if (inner) {
            const bool raised = inner & BDR_RAISEDINNER;
            const COLORREF light = raised ? Sys((flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT)
                                          : Sys((flags & BF_SOFT) ? COLOR_3DSHADOW : COLOR_3DDKSHADOW);
            const COLORREF dark = raised ? Sys(COLOR_3DSHADOW) : Sys(COLOR_3DLIGHT);
            EdgeRing(dc, r, flags, light, dark);
            r = Shrunk(r, flags);
        }
    }
    if (flags & BF_MIDDLE) {
        FillSolidRect(dc, &r, (flags & (BF_MONO | BF_FLAT)) ? Sys(COLOR_WINDOW) : Sys(COLOR_BTNFACE));
    }
    if (flags & BF_ADJUST) *rect = r;
    return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect)
{
    Dc* dc = AsDc(handle);
    if (!dc || !rect) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const RECT r = RectToTarget(dc, *rect);
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    // Every other pixel of the one-pixel frame is inverted, so drawing twice removes it.
    Paint invert = SolidPaint(t, 0, R2_NOT);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) PlotPixel(t, x, y, invert);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    return TRUE;
}

namespace {

void DrawGlyphInState(HDC dc, const RECT& r, char glyph, UINT state)
{
    if (state & DFCS_INACTIVE) {
        const RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        GdiDrawMarlettGlyph(dc, &shifted, glyph, Sys(COLOR_3DHIGHLIGHT));
        GdiDrawMarlettGlyph(dc, &r, glyph, Sys(COLOR_3DSHADOW));
    } else {
        GdiDrawMarlettGlyph(dc, &r, glyph, Sys(COLOR_BTNTEXT));
    }
}

BOOL DrawButtonFrame(HDC dc, RECT* rect, UINT state)
{
    RECT r = *rect;
    const bool pushed = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
    if (state & DFCS_FLAT) {
        DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | BF_ADJUST);
    } else {
        DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST);
    }
    if (state & DFCS_ADJUSTRECT) *rect = r;
    return TRUE;
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (!AsDc(dc) || !rect) return FALSE;
    const RECT r = *rect;
    const int size = std::min(r.right - r.left, r.bottom - r.top);
    switch (type) {
    case DFC_BUTTON: {
        const UINT kind = state & 0x1F;
        if (kind == DFCS_BUTTONPUSH) return DrawButtonFrame(dc, rect, state);
        const RECT box = CentredSquare(r, std::min(size, 13));
        if (kind == DFCS_BUTTONRADIO || kind == DFCS_BUTTONRADIOIMAGE || kind == DFCS_BUTTONRADIOMASK) {
            const int saved = SaveDC(dc);
            HBRUSH face = CreateSolidBrush(Sys((state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW));
            HPEN pen = CreatePen(PS_SOLID, 1, Sys(COLOR_3DSHADOW));
            SelectObject(dc, face);
            SelectObject(dc, pen);
            Ellipse(dc, box.left, box.top, box.right, box.bottom);
            RestoreDC(dc, saved);
            DeleteObject(face);
            DeleteObject(pen);
            if (state & DFCS_CHECKED) GdiDrawMarlettGlyph(dc, &box, 'i', Sys(COLOR_WINDOWTEXT));
            return TRUE;
        }
        // Check boxes, two and three state.
        RECT inside = box;
        DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        const bool grey = (state & (DFCS_INACTIVE | DFCS_PUSHED)) || kind == DFCS_BUTTON3STATE;
        FillSolidRect(dc, &inside, Sys(grey ? COLOR_BTNFACE : COLOR_WINDOW));
        if (state & DFCS_CHECKED) {
            GdiDrawMarlettGlyph(dc, &inside, 'a',
                             Sys(kind == DFCS_BUTTON3STATE || (state & DFCS_INACTIVE) ? COLOR_BTNSHADOW
                                                                                    : COLOR_WINDOWTEXT));
        }
        return TRUE;
    }
    case DFC_CAPTION: {
        static const char kGlyphs[] = {'r', '0', '1', '2', 's'};
        const UINT kind = state & 0xFF;
        if (kind > DFCS_CAPTIONHELP) return FALSE;
        RECT inner = r;
        DrawButtonFrame(dc, &inner, state | DFCS_ADJUSTRECT);
        RECT glyph = inner;
        if (state & DFCS_PUSHED) OffsetRectBy(glyph, 1, 1);
        DrawGlyphInState(dc, glyph, kGlyphs[kind], state);
        return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
        // Black glyphs on white, ready to serve as a mask.
        char glyph = 0;
        switch (state & 0xFF) {
        case DFCS_MENUARROW: glyph = '8'; break;
        case DFCS_MENUCHECK: glyph = 'a'; break;
        case DFCS_MENUBULLET: glyph = 'h'; break;
        case DFCS_MENUARROWRIGHT: glyph = '3'; break;
        default: return FALSE;
        }
        if (type == DFC_MENU) FillSolidRect(dc, &r, RGB(255, 255, 255));
        GdiDrawMarlettGlyph(dc, &r, glyph, RGB(0, 0, 0));
        return TRUE;
    }
    case DFC_SCROLL: {
        const UINT kind = state & 0xFF;
        if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
            // Three diagonal ridges in the bottom-right corner: highlight, then two shadow lines.
            FillSolidRect(dc, &r, Sys(COLOR_BTNFACE));
            for (int k = 0; k < 3; ++k) {
                const int o = 4 * k + 1;
                const COLORREF colours[3] = {Sys(COLOR_3DHIGHLIGHT), Sys(COLOR_3DSHADOW), Sys(COLOR_3DSHADOW)};
                for (int line = 0; line < 3; ++line) {
                    const int reach = size - o - line;
                    for (int i = 0; i < reach; ++i) {
                        const RECT dot{r.right - reach + i, r.bottom - 1 - i, r.right - reach + i + 1, r.bottom - i};
                        FillSolidRect(dc, &dot, colours[line]);
                    }
                }
            }
            return TRUE;
        }
        char glyph = 0;
        switch (kind) {
        case DFCS_SCROLLUP: glyph = '5'; break;
        case DFCS_SCROLLDOWN:
        case DFCS_SCROLLCOMBOBOX: glyph = '6'; break;
        case DFCS_SCROLLLEFT: glyph = '3'; break;
        case DFCS_SCROLLRIGHT: glyph = '4'; break;
        default: return FALSE;
        }
        RECT inner = r;
        DrawButtonFrame(dc, &inner, state | DFCS_ADJUSTRECT);
        if (state & DFCS_PUSHED) OffsetRectBy(inner, 1, 1);
        DrawGlyphInState(dc, inner, glyph, state);
        return TRUE;
    }
    default: return FALSE;
    }
}
