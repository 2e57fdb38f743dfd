// Scroll information and the scroll bars of windows: range, page and
// position kept consistent, the arrows, track and thumb of the classic
// look (shared with the "ScrollBar" control), a window's own bars drawn in
// its frame and tracked while the mouse button is down. Showing
// information that cannot scroll hides a window's bar, unless
// SIF_DISABLENOSCROLL asks for it to stay disabled.
#include <algorithm>
#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdiframe.h"
#include "platform/user/display_backend.h"
#include "platform/user/input.h"
#include "platform/user/nonclient.h"
#include "platform/user/scroll_bar_parts.h"
#include "platform/user/window_system.h"

namespace nuvex::user {

struct WindowScrollBar {
    ScrollData data;
    bool known = false; // information was set (else the defaults show)
    ScrollPart pressed = ScrollPart::None;
    bool dragging = false; // the thumb follows trackPos
};

struct WindowScrollBars {
    WindowScrollBar horizontal;
    WindowScrollBar vertical;
};

namespace {

constexpr int kMinThumb = 8;
// The repeat of a held arrow or page click, on a timer id of the window
// that the tracking loop takes for itself.
constexpr UINT_PTR kRepeatTimer = 0xFFF7;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;

int64_t TopPosition(const ScrollData& d)
{
    return static_cast<int64_t>(d.max) - std::max<int64_t>(static_cast<int64_t>(d.page) - 1, 0);
}

RECT Along(const ScrollGeometry& g, int start, int length)
{
    if (g.vertical) {
        return RECT{g.bar.left, g.bar.top + start, g.bar.right, g.bar.top + start + length};
    }
    return RECT{g.bar.left + start, g.bar.top, g.bar.left + start + length, g.bar.bottom};
}

HBRUSH SysBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(index + 1)); }

WindowScrollBars& BarsOf(Window* w)
{
    if (!w->scrollBars) {
        w->scrollBars = std::make_shared<WindowScrollBars>();
    }
    return *w->scrollBars;
}

WindowScrollBar& BarOf(Window* w, int bar)
{
    WindowScrollBars& bars = BarsOf(w);
    return bar == SB_VERT ? bars.vertical : bars.horizontal;
}

// Adds or removes a window's own bar.
enum class BarShown : uint8_t { No, Yes };
inline BarShown BarShownOf(bool show) { return show ? BarShown::Yes : BarShown::No; }

void ShowWindowBar(HWND hwnd, int bar, BarShown shown)
{
    const bool show = shown == BarShown::Yes;
    const DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const DWORD wanted = show ? (style | flag) : (style & ~flag);
    if (wanted != style) {
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

bool IsScrollBarControl(HWND hwnd)
{
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return std::string_view(name) == "ScrollBar";
}

// Redraws the window's bars now, when it shows.
void RedrawWindowBars(HWND hwnd)
{
    if (IsWindowVisible(hwnd) == FALSE) {
        return;
    }
    if (HDC dc = GetWindowDC(hwnd)) {
        PaintWindowScrollBars(hwnd, dc);
        ReleaseDC(hwnd, dc);
    }
}

enum class BarAxis : uint8_t { Horizontal, Vertical };

void PaintOneWindowBar(HDC dc, const Window* w, const RECT& place, BarAxis axis, const WindowScrollBar& bar)
{
    const bool vertical = axis == BarAxis::Vertical;
    if (IsRectEmpty(&place) != FALSE) {
        return;
    }
    ScrollData shown = bar.data;
    if (bar.dragging) {
        shown.pos = shown.trackPos;
    }
    ScrollLook look;
    look.pressed = bar.pressed;
    look.enabled = (w->style & WS_DISABLED) == 0 && CanScroll(bar.data);
    PaintScrollBar(dc, MeasureScrollBar(place, vertical, shown), shown, look);
}

// The bar's rectangle in window coordinates, empty when the window does
// not show it.
RECT BarPlace(const Window* w, int bar)
{
    const NonClientLayout l = ComputeNonClient(w);
    return bar == SB_VERT ? l.vScroll : l.hScroll;
}

// Waits for the next input while a bar is tracked: the test's idle script
// or the display back-end. False when no input can come, so the release
// never will either.
bool WaitWhileTracking()
{
    if (IdleScript script = System().idleScript; script && script()) {
        return true;
    }
    if (CurrentDisplayBackend() != nullptr) {
        return WaitForInput();
    }
    return false;
}

bool IsMouseInput(UINT message)
{
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyInput(UINT message) { return message >= WM_KEYDOWN && message <= WM_SYSCHAR; }

} // namespace

void NormaliseScroll(ScrollData& d)
{
    if (d.max < d.min) {
        d.max = d.min;
    }
    const auto range = static_cast<int64_t>(d.max) - d.min + 1;
    if (d.page > static_cast<UINT>(std::min<int64_t>(range, 0x7FFFFFFF))) {
        d.page = static_cast<UINT>(range);
    }
    d.pos = static_cast<int>(std::clamp<int64_t>(d.pos, d.min, std::max<int64_t>(TopPosition(d), d.min)));
}

bool CanScroll(const ScrollData& d)
{
    return d.max > d.min && static_cast<int64_t>(d.page) <= static_cast<int64_t>(d.max) - d.min;
}

int ApplyScrollInfo(ScrollData& d, const SCROLLINFO& info)
{
    if ((info.fMask & SIF_RANGE) != 0) {
        d.min = info.nMin;
        d.max = info.nMax;
    }
    if ((info.fMask & SIF_PAGE) != 0) {
        d.page = info.nPage;
    }
    if ((info.fMask & SIF_POS) != 0) {
        d.pos = info.nPos;
    }
    NormaliseScroll(d);
    return d.pos;
}

bool ReadScrollInfo(const ScrollData& d, SCROLLINFO* info)
{
    if (info == nullptr || (info->fMask & SIF_ALL) == 0) {
        return false;
    }
    if ((info->fMask & SIF_RANGE) != 0) {
        info->nMin = d.min;
        info->nMax = d.max;
    }
    if ((info->fMask & SIF_PAGE) != 0) {
        info->nPage = d.page;
    }
    if ((info->fMask & SIF_POS) != 0) {
        info->nPos = d.pos;
    }
    if ((info->fMask & SIF_TRACKPOS) != 0) {
        info->nTrackPos = d.trackPos;
    }
    return true;
}

ScrollGeometry MeasureScrollBar(const RECT& bar, bool vertical, const ScrollData& d)
{
    ScrollGeometry g;
    g.bar = bar;
    g.vertical = vertical;
    g.length = vertical ? Height(bar) : Width(bar);
    g.arrow = std::min(vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), g.length / 2);
    g.trackStart = g.arrow;
    g.trackLength = std::max(0, g.length - 2 * g.arrow);
    if (!CanScroll(d) || g.trackLength < kMinThumb) {
        return g;
    }
    const int64_t range = static_cast<int64_t>(d.max) - d.min + 1;
    int thumb = d.page == 0 ? (vertical ? GetSystemMetrics(SM_CYVTHUMB) : GetSystemMetrics(SM_CXHTHUMB))
                            : static_cast<int>(static_cast<int64_t>(g.trackLength) * d.page / range);
    thumb = std::clamp(thumb, kMinThumb, g.trackLength);
    const int64_t span = TopPosition(d) - d.min;
    const int room = g.trackLength - thumb;
    g.thumbLength = thumb;
    g.thumbStart = g.trackStart + (span > 0 ? static_cast<int>((static_cast<int64_t>(d.pos) - d.min) * room / span) : 0);
    return g;
}

int AlongScrollBar(const ScrollGeometry& g, POINT p) { return g.vertical ? p.y - g.bar.top : p.x - g.bar.left; }

ScrollPart ScrollPartAt(const ScrollGeometry& g, POINT p)
{
    if (PtInRect(&g.bar, p) == FALSE) {
        return ScrollPart::None;
    }
    const int at = AlongScrollBar(g, p);
    if (at < g.arrow) {
        return ScrollPart::LineUp;
    }
    if (at >= g.length - g.arrow) {
        return ScrollPart::LineDown;
    }
    if (g.thumbLength == 0) {
        return ScrollPart::None;
    }
    if (at < g.thumbStart) {
        return ScrollPart::PageUp;
    }
    if (at < g.thumbStart + g.thumbLength) {
        return ScrollPart::Thumb;
    }
    return ScrollPart::PageDown;
}

int ScrollPosFromThumb(const ScrollData& d, const ScrollGeometry& g, int thumbStart)
{
    const int room = g.trackLength - g.thumbLength;
    if (room <= 0) {
        return d.min;
    }
    const int offset = std::clamp(thumbStart - g.trackStart, 0, room);
    return static_cast<int>(d.min + ((TopPosition(d) - d.min) * offset + room / 2) / room);
}

WORD ScrollCodeOf(ScrollPart part)
{
    switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
    }
}

void PaintScrollBar(HDC dc, const ScrollGeometry& g, const ScrollData& d, const ScrollLook& look)
{
    const bool enabled = look.enabled && CanScroll(d);
    RECT first = Along(g, 0, g.arrow);
    RECT last = Along(g, g.length - g.arrow, g.arrow);
    UINT firstState = g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    UINT lastState = g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    if (!enabled || (d.disabledArrows & ESB_DISABLE_LTUP) != 0) {
        firstState |= DFCS_INACTIVE;
    }
    if (!enabled || (d.disabledArrows & ESB_DISABLE_RTDN) != 0) {
        lastState |= DFCS_INACTIVE;
    }
    if (look.pressed == ScrollPart::LineUp) {
        firstState |= DFCS_PUSHED | DFCS_FLAT;
    }
    if (look.pressed == ScrollPart::LineDown) {
        lastState |= DFCS_PUSHED | DFCS_FLAT;
    }
    DrawFrameControl(dc, &first, DFC_SCROLL, firstState);
    DrawFrameControl(dc, &last, DFC_SCROLL, lastState);
    RECT track = Along(g, g.trackStart, g.trackLength);
    FillRect(dc, &track, look.track != nullptr ? look.track : SysBrush(COLOR_SCROLLBAR));
    if (g.thumbLength == 0 || !enabled) {
        return;
    }
    if (look.pressed == ScrollPart::PageUp || look.pressed == ScrollPart::PageDown) {
        RECT page = look.pressed == ScrollPart::PageUp
                        ? Along(g, g.trackStart, g.thumbStart - g.trackStart)
                        : Along(g, g.thumbStart + g.thumbLength, g.trackStart + g.trackLength - g.thumbStart - g.thumbLength);
        FillRect(dc, &page, SysBrush(COLOR_3DDKSHADOW));
    }
    RECT thumb = Along(g, g.thumbStart, g.thumbLength);
    FillRect(dc, &thumb, SysBrush(COLOR_BTNFACE));
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    if (look.focused) {
        InflateRect(&thumb, -3, -3);
        DrawFocusRect(dc, &thumb);
    }
}

void PaintWindowScrollBars(HWND hwnd, HDC dc)
{
    Window* w = W(hwnd);
    if (w == nullptr || dc == nullptr) {
        return;
    }
    const NonClientLayout l = ComputeNonClient(w);
    const WindowScrollBars none;
    const WindowScrollBars& bars = w->scrollBars ? *w->scrollBars : none;
    PaintOneWindowBar(dc, w, l.vScroll, BarAxis::Vertical, bars.vertical);
    PaintOneWindowBar(dc, w, l.hScroll, BarAxis::Horizontal, bars.horizontal);
    if (IsRectEmpty(&l.vScroll) == FALSE && IsRectEmpty(&l.hScroll) == FALSE) {
        const RECT grow{l.hScroll.right, l.vScroll.bottom, l.vScroll.right, l.hScroll.bottom};
        FillRect(dc, &grow, SysBrush(COLOR_3DFACE));
    }
}

void TrackWindowScrollBar(HWND hwnd, int bar, POINT screen)
{
    Window* w = W(hwnd);
    if (w == nullptr || (bar != SB_HORZ && bar != SB_VERT)) {
        return;
    }
    const bool vertical = bar == SB_VERT;
    const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    // Window coordinates of a screen point, as the layout uses them.
    auto local = [hwnd](POINT p) {
        Window* now = W(hwnd);
        const RECT r = now != nullptr ? ScreenWindowRect(now) : RECT{};
        return POINT{p.x - r.left, p.y - r.top};
    };
    WindowScrollBar& start = BarOf(w, bar);
    const ScrollData& data = start.data;
    const ScrollGeometry g = MeasureScrollBar(BarPlace(w, bar), vertical, data);
    const POINT at = local(screen);
    const ScrollPart part = ScrollPartAt(g, at);
    const UINT disabled = data.disabledArrows;
    if (part == ScrollPart::None || !CanScroll(data) || (w->style & WS_DISABLED) != 0 ||
        disabled == ESB_DISABLE_BOTH || (part == ScrollPart::LineUp && (disabled & ESB_DISABLE_LTUP) != 0) ||
        (part == ScrollPart::LineDown && (disabled & ESB_DISABLE_RTDN) != 0)) {
        return;
    }
    const int dragOffset = AlongScrollBar(g, at) - g.thumbStart;
    start.pressed = part;
    SetCapture(hwnd);
    if (part == ScrollPart::Thumb) {
        start.dragging = true;
        start.data.trackPos = start.data.pos;
    }
    RedrawWindowBars(hwnd);
    if (part != ScrollPart::Thumb) {
        SendMessageA(hwnd, message, MAKEWPARAM(ScrollCodeOf(part), 0), 0);
        SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
    }
    bool over = true; // the mouse is on the pressed arrow or page part
    while (W(hwnd) != nullptr && GetCapture() == hwnd) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) == FALSE) {
            if (!WaitWhileTracking()) {
                break;
            }
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == kRepeatTimer) {
            SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
            if (over) {
                SendMessageA(hwnd, message, MAKEWPARAM(ScrollCodeOf(part), 0), 0);
            }
            continue;
        }
        if (IsMouseInput(msg.message)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
                break;
            }
            Window* now = W(hwnd);
            const ScrollData current = BarOf(now, bar).data;
            const ScrollGeometry moved = MeasureScrollBar(BarPlace(now, bar), vertical, current);
            const POINT p = local(msg.pt);
            if (part == ScrollPart::Thumb) {
                const int pos = ScrollPosFromThumb(current, moved, AlongScrollBar(moved, p) - dragOffset);
                if (pos != current.trackPos) {
                    BarOf(now, bar).data.trackPos = pos;
                    RedrawWindowBars(hwnd);
                    SendMessageA(hwnd, message, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), 0);
                }
            } else {
                over = ScrollPartAt(moved, p) == part;
                BarOf(now, bar).pressed = over ? part : ScrollPart::None;
                RedrawWindowBars(hwnd);
            }
            continue;
        }
        if (IsKeyInput(msg.message)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if ((w = W(hwnd)) == nullptr) {
        return;
    }
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    WindowScrollBar& end = BarOf(w, bar);
    end.pressed = ScrollPart::None;
    end.dragging = false;
    const int trackPos = end.data.trackPos;
    RedrawWindowBars(hwnd);
    if (part == ScrollPart::Thumb) {
        SendMessageA(hwnd, message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(trackPos)), 0);
    }
    if (W(hwnd) != nullptr) {
        SendMessageA(hwnd, message, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    }
}

} // namespace nuvex::user

using namespace nuvex::user;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    Window* w = W(hwnd);
    if (w == nullptr || info == nullptr) {
        return 0;
    }
    if (bar == SB_CTL) {
        return IsScrollBarControl(hwnd)
                   ? static_cast<int>(SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)))
                   : 0;
    }
    if (bar != SB_HORZ && bar != SB_VERT) {
        return 0;
    }
    WindowScrollBar& state = BarOf(w, bar);
    state.known = true;
    const int pos = ApplyScrollInfo(state.data, *info);
    if ((info->fMask & (SIF_RANGE | SIF_PAGE)) != 0) {
        const bool scrolls = CanScroll(state.data);
        if ((info->fMask & SIF_DISABLENOSCROLL) != 0) {
            state.data.disabledArrows = scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
            ShowWindowBar(hwnd, bar, BarShown::Yes);
        } else {
            ShowWindowBar(hwnd, bar, BarShownOf(scrolls));
        }
    }
    if (redraw) {
        RedrawWindowBars(hwnd);
    }
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
    Window* w = W(hwnd);
    if (w == nullptr || info == nullptr) {
        return FALSE;
    }
    if (bar == SB_CTL) {
        return IsScrollBarControl(hwnd) && SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
    }
    if (bar != SB_HORZ && bar != SB_VERT) {
        return FALSE;
    }
    if (!w->scrollBars || !BarOf(w, bar).known) {
        // A bar shown by its style alone has the default range 0..100.
        if ((w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) == 0) {
            return FALSE;
        }
        const ScrollData defaults;
        return ReadScrollInfo(defaults, info) ? TRUE : FALSE;
    }
    return ReadScrollInfo(BarOf(w, bar).data, info) ? TRUE : FALSE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    SCROLLINFO before{sizeof(before), SIF_POS, 0, 0, 0, 0, 0};
    const int previous = GetScrollInfo(hwnd, bar, &before) ? before.nPos : 0;
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(hwnd, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar)
{
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    SCROLLINFO info{sizeof(info), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    SetScrollInfo(hwnd, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    SCROLLINFO info{sizeof(info), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &info)) {
        info.nMin = info.nMax = 0;
    }
    if (minPos != nullptr) {
        *minPos = info.nMin;
    }
    if (maxPos != nullptr) {
        *maxPos = info.nMax;
    }
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        ShowWindowBar(hwnd, SB_HORZ, BarShownOf(show != FALSE));
    }
    if (bar == SB_VERT || bar == SB_BOTH) {
        ShowWindowBar(hwnd, SB_VERT, BarShownOf(show != FALSE));
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (bar == SB_CTL) {
        return static_cast<BOOL>(SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        BarOf(w, SB_HORZ).data.disabledArrows = arrows & ESB_DISABLE_BOTH;
    }
    if (bar == SB_VERT || bar == SB_BOTH) {
        BarOf(w, SB_VERT).data.disabledArrows = arrows & ESB_DISABLE_BOTH;
    }
    RedrawWindowBars(hwnd);
    return TRUE;
}
