// The window system's use of the drawing layer: device contexts on the
// surfaces of top-level windows, background fills and the classic frame
// (borders, caption with its buttons, client edge, the window's own scroll
// bars).
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gdiframe.h"
#include "platform/gdi/gditext.h"
#include "platform/gdi/surface.h"
#include "platform/user/nonclient.h"
#include "platform/user/scroll_bar_parts.h"
#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

GdiSurface SurfaceOf(Window* top)
{
    const int width = std::max(Width(top->rect), 1);
    return GdiSurface{top->pixels.data(), width, std::max(Height(top->rect), 1), width};
}

// Brushes of system colours are named as COLOR_* + 1, which the drawing
// layer understands.
HBRUSH SysBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(index + 1)); }

void Fill(HDC dc, RECT r, int colorIndex)
{
    if (IsRectEmpty(&r) == FALSE) {
        FillRect(dc, &r, SysBrush(colorIndex));
    }
}

// The ring between `outer` and `inner` in one colour.
void FillRing(HDC dc, const RECT& outer, const RECT& inner, int colorIndex)
{
    Fill(dc, {outer.left, outer.top, outer.right, inner.top}, colorIndex);
    Fill(dc, {outer.left, inner.bottom, outer.right, outer.bottom}, colorIndex);
    Fill(dc, {outer.left, inner.top, inner.left, inner.bottom}, colorIndex);
    Fill(dc, {inner.right, inner.top, outer.right, inner.bottom}, colorIndex);
}

void PaintCaption(HDC dc, const Window* w, const NonClientLayout& l, bool active)
{
    RECT bar = l.caption;
    bar.bottom -= 1; // a face-coloured line separates caption and menu or client
    Fill(dc, bar, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    Fill(dc, {l.caption.left, l.caption.bottom - 1, l.caption.right, l.caption.bottom}, COLOR_3DFACE);
    RECT textArea = bar;
    textArea.left = (IsRectEmpty(&l.sysMenu) != FALSE ? bar.left : l.sysMenu.right) + 2;
    for (const RECT* button : {&l.minButton, &l.maxButton, &l.closeButton}) {
        if (IsRectEmpty(button) == FALSE) {
            textArea.right = std::min(textArea.right, button->left - 2);
        }
    }
    if (!w->text.empty() && textArea.right > textArea.left) {
        const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor =
            SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawTextA(dc, w->text.c_str(), static_cast<int>(w->text.size()), &textArea,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    struct Button {
        const RECT* place;
        UINT glyph;
    };
    const Button buttons[] = {
        {&l.closeButton, DFCS_CAPTIONCLOSE},
        {&l.maxButton, (w->style & WS_MAXIMIZE) != 0 ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX},
        {&l.minButton, DFCS_CAPTIONMIN},
    };
    for (const Button& b : buttons) {
        if (IsRectEmpty(b.place) == FALSE) {
            RECT r = *b.place;
            DrawFrameControl(dc, &r, DFC_CAPTION, b.glyph);
        }
    }
}

} // namespace

DWORD StyleClipFlags(const Window* w)
{
    return ((w->style & WS_CLIPCHILDREN) != 0 ? DCX_CLIPCHILDREN : 0u) |
           ((w->style & WS_CLIPSIBLINGS) != 0 ? DCX_CLIPSIBLINGS : 0u);
}

// The screen rectangles of the windows that a DC of `w` leaves out: its
// visible children (DCX_CLIPCHILDREN), the visible siblings above it
// (DCX_CLIPSIBLINGS), and the visible siblings above each ancestor that
// has WS_CLIPSIBLINGS. Top-level windows own their surfaces, so the walk
// stops below the desktop.
std::vector<RECT> ClippedAway(const Window* w, DWORD clipFlags)
{
    std::vector<RECT> away;
    // A child shows only inside its parent's client area, so a maximised
    // child reaching over its parent's frame leaves that frame alone.
    auto addVisible = [&away](const Window* other) {
        RECT shown{};
        const RECT parentClient = ScreenClientRect(other->parent);
        const RECT whole = ScreenWindowRect(other);
        if ((other->style & WS_VISIBLE) != 0 && IntersectRect(&shown, &whole, &parentClient) != FALSE) {
            away.push_back(shown);
        }
    };
    if ((clipFlags & DCX_CLIPCHILDREN) != 0) {
        for (const Window* child : w->children) {
            addVisible(child);
        }
    }
    const Window* desktop = System().Desktop();
    for (const Window* p = w; p != nullptr && p->parent != nullptr && p->parent != desktop; p = p->parent) {
        const bool clipsSiblings = p == w ? (clipFlags & DCX_CLIPSIBLINGS) != 0 : (p->style & WS_CLIPSIBLINGS) != 0;
        if (!clipsSiblings) {
            continue;
        }
        // Children are kept topmost first: the siblings before `p` lie above it.
        for (const Window* sibling : p->parent->children) {
            if (sibling == p) {
                break;
            }
            addVisible(sibling);
        }
    }
    return away;
}

bool ShownPart(const Window* w, const RECT& screenArea, RECT* shown)
{
    if (IsRectEmpty(&screenArea) != FALSE) {
        return false;
    }
    // Its own children are not taken away: they show as part of it.
    const std::vector<RECT> away = ClippedAway(w, StyleClipFlags(w) & DCX_CLIPSIBLINGS);
    if (away.empty()) {
        *shown = screenArea;
        return true;
    }
    HRGN region = CreateRectRgn(screenArea.left, screenArea.top, screenArea.right, screenArea.bottom);
    for (const RECT& r : away) {
        HRGN cut = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(region, region, cut, RGN_DIFF);
        DeleteObject(cut);
    }
    RECT part{};
    const bool any = GetRgnBox(region, &part) != NULLREGION;
    DeleteObject(region);
    if (any) {
        *shown = part;
    }
    return any;
}

HDC MakeWindowDC(Window* w, DcArea area, const RECT* clip, DWORD clipFlags)
{
    Window* top = TopLevelOf(w);
    if (top == nullptr || top == System().Desktop()) {
        return nullptr;
    }
    const RECT topScreen = ScreenWindowRect(top);
    const RECT shown = area == DcArea::Window ? ScreenWindowRect(w) : ScreenClientRect(w);
    RECT visible = shown;
    for (Window* p = w; p != nullptr && p != System().Desktop(); p = p->parent) {
        const RECT bound = p == w ? ScreenWindowRect(p) : ScreenClientRect(p);
        if (IntersectRect(&visible, &visible, &bound) == FALSE) {
            visible = {0, 0, 0, 0};
            break;
        }
    }
    if (clip != nullptr) {
        RECT c = *clip;
        OffsetRect(&c, shown.left, shown.top);
        if (IntersectRect(&visible, &visible, &c) == FALSE) {
            visible = {0, 0, 0, 0};
        }
    }
    // What clipped children and siblings cover, still in screen coordinates.
    std::vector<RECT> away;
    if (IsRectEmpty(&visible) == FALSE) {
        for (const RECT& r : ClippedAway(w, clipFlags)) {
            RECT inside{};
            if (IntersectRect(&inside, &visible, &r) != FALSE) {
                away.push_back(inside);
            }
        }
    }
    OffsetRect(&visible, -topScreen.left, -topScreen.top);
    if (IsRectEmpty(&visible) != FALSE) {
        visible = {0, 0, 0, 0};
    }
    const POINT origin{shown.left - topScreen.left, shown.top - topScreen.top};
    if (top->pixels.empty()) {
        ResizeSurface(top);
    }
    HDC dc = CreateSurfaceDC(SurfaceOf(top), origin, visible);
    if (dc != nullptr && !away.empty()) {
        // The DC's visible region is relative to its origin.
        const int dx = topScreen.left + origin.x;
        const int dy = topScreen.top + origin.y;
        HRGN region = CreateRectRgn(visible.left - origin.x, visible.top - origin.y, visible.right - origin.x,
                                    visible.bottom - origin.y);
        for (const RECT& r : away) {
            HRGN cut = CreateRectRgn(r.left - dx, r.top - dy, r.right - dx, r.bottom - dy);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        SetSurfaceDCVisibleRegion(dc, region);
        DeleteObject(region);
    }
    return dc;
}

void ComposeScreen()
{
    WindowSystem& system = System();
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
    const uint32_t back = 0xFF000000u | (static_cast<uint32_t>(GetRValue(desktop)) << 16) |
                          (static_cast<uint32_t>(GetGValue(desktop)) << 8) | GetBValue(desktop);
    std::fill(system.screenPixels.begin(), system.screenPixels.end(), back);
    const std::vector<Window*>& tops = system.Desktop()->children;
    // Bottom first, so that the topmost window ends up in front.
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        const Window* w = *it;
        if ((w->style & WS_VISIBLE) == 0 || w->pixels.empty()) {
            continue;
        }
        const int width = Width(w->rect);
        const int height = Height(w->rect);
        for (int y = 0; y < height; ++y) {
            const int sy = w->rect.top + y;
            if (sy < 0 || sy >= system.screenHeight) {
                continue;
            }
            for (int x = 0; x < width; ++x) {
                const int sx = w->rect.left + x;
                if (sx < 0 || sx >= system.screenWidth) {
                    continue;
                }
                system.screenPixels[static_cast<size_t>(sy) * static_cast<size_t>(system.screenWidth) +
                                    static_cast<size_t>(sx)] =
                    w->pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            }
        }
    }
}

HDC MakeScreenDC()
{
    WindowSystem& system = System();
    GdiSurface surface{system.screenPixels.data(), system.screenWidth, system.screenHeight, system.screenWidth};
    return CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, system.screenWidth, system.screenHeight});
}

void FreeDC(HDC dc)
{
    if (dc != nullptr) {
        DeleteSurfaceDC(dc);
    }
}

bool FillWithBrush(HDC dc, const RECT& rect, HBRUSH brush)
{
    if (brush == nullptr || dc == nullptr) {
        return false;
    }
    return FillRect(dc, &rect, brush) != 0;
}

void PaintNonClient(HWND hwnd, HDC dc, bool active)
{
    Window* w = W(hwnd);
    if (w == nullptr || dc == nullptr) {
        return;
    }
    const NonClientLayout l = ComputeNonClient(w);
    const int width = Width(w->rect);
    const int height = Height(w->rect);
    RECT r{0, 0, width, height};
    if (l.border > 0) {
        const RECT outer = r;
        if (l.border == 1) {
            FrameRect(dc, &r, SysBrush(COLOR_WINDOWFRAME));
            InflateRect(&r, -1, -1);
        } else {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
            RECT inner = outer;
            InflateRect(&inner, -l.border, -l.border);
            FillRing(dc, r, inner, l.sizingFrame ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE);
        }
    }
    if (IsRectEmpty(&l.caption) == FALSE) {
        PaintCaption(dc, w, l, active);
    }
    if (IsRectEmpty(&l.menuBar) == FALSE) {
        Fill(dc, l.menuBar, COLOR_MENU);
        PaintMenuBar(hwnd, dc, l.menuBar);
    }
    if (l.edge > 0) {
        RECT edge = l.client;
        if (IsRectEmpty(&l.vScroll) == FALSE) {
            edge.right = l.vScroll.right;
        }
        if (IsRectEmpty(&l.hScroll) == FALSE) {
            edge.bottom = l.hScroll.bottom;
        }
        InflateRect(&edge, l.edge, l.edge);
        DrawEdge(dc, &edge, l.edge == 1 ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    }
    PaintWindowScrollBars(hwnd, dc);
}

} // namespace nuvex::user
