// The "ScrollBar" class and the scroll information of windows: range, page
// and position kept consistent, the arrows, track and thumb of the classic
// look, clicks and drags reported to the parent as WM_HSCROLL/WM_VSCROLL.
// A window's own bars (WS_HSCROLL, WS_VSCROLL) keep their information here
// too; showing information that cannot scroll hides such a bar, unless
// SIF_DISABLENOSCROLL asks for it to stay disabled.
#include "platform/controls/control_support.h"

#include <map>

namespace nuvex::controls {
namespace {

struct ScrollData {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = ESB_ENABLE_BOTH;
};

// Keeps the page within the range and the position where the page fits.
void Normalise(ScrollData& d)
{
    if (d.max < d.min) {
        d.max = d.min;
    }
    const auto range = static_cast<int64_t>(d.max) - d.min + 1;
    if (d.page > static_cast<UINT>(std::min<int64_t>(range, 0x7FFFFFFF))) {
        d.page = static_cast<UINT>(range);
    }
    const int64_t top = static_cast<int64_t>(d.max) - std::max<int64_t>(static_cast<int64_t>(d.page) - 1, 0);
    d.pos = static_cast<int>(std::clamp<int64_t>(d.pos, d.min, std::max<int64_t>(top, d.min)));
}

bool CanScroll(const ScrollData& d)
{
    return d.max > d.min && static_cast<int64_t>(d.page) <= static_cast<int64_t>(d.max) - d.min;
}

// Applies the fields of `info` named by its mask; answers the new position.
int Apply(ScrollData& d, const SCROLLINFO& info)
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
    Normalise(d);
    return d.pos;
}

bool Read(const ScrollData& d, SCROLLINFO* info)
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

// Window bars, by window and bar; a destroyed window's entry is dropped
// the next time a bar of another window is touched.
struct WindowBars {
    ScrollData horizontal;
    ScrollData vertical;
    bool hasHorizontal = false;
    bool hasVertical = false;
};
std::map<HWND, WindowBars>& Bars()
{
    static std::map<HWND, WindowBars> bars;
    return bars;
}
WindowBars& BarsOf(HWND hwnd)
{
    auto& bars = Bars();
    for (auto it = bars.begin(); it != bars.end();) {
        it = IsWindow(it->first) ? std::next(it) : bars.erase(it);
    }
    return bars[hwnd];
}

// The control ------------------------------------------------------------

enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ControlState {
    ScrollData data;
    Part pressed = Part::None;
    int dragOffset = 0; // mouse to thumb start while dragging
    bool focused = false;
};

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;
constexpr int kMinThumb = 8;

struct Geometry {
    bool vertical = true;
    int length = 0; // along the bar
    int arrow = 0;
    int trackStart = 0;
    int trackLength = 0;
    int thumbStart = 0;
    int thumbLength = 0; // 0: no thumb
};

Geometry Measure(HWND hwnd, const ScrollData& d)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    Geometry g;
    g.vertical = (StyleOf(hwnd) & SBS_VERT) != 0;
    g.length = g.vertical ? Height(rc) : Width(rc);
    const int across = g.vertical ? Width(rc) : Height(rc);
    g.arrow = std::min(g.vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), g.length / 2);
    (void)across;
    g.trackStart = g.arrow;
    g.trackLength = std::max(0, g.length - 2 * g.arrow);
    if (!CanScroll(d) || g.trackLength < kMinThumb) {
        return g;
    }
    const int64_t range = static_cast<int64_t>(d.max) - d.min + 1;
    int thumb = d.page == 0 ? (g.vertical ? GetSystemMetrics(SM_CYVTHUMB) : GetSystemMetrics(SM_CXHTHUMB))
                            : static_cast<int>(static_cast<int64_t>(g.trackLength) * d.page / range);
    thumb = std::clamp(thumb, kMinThumb, g.trackLength);
    const int64_t top = static_cast<int64_t>(d.max) - std::max<int64_t>(static_cast<int64_t>(d.page) - 1, 0);
    const int64_t span = top - d.min;
    const int room = g.trackLength - thumb;
    g.thumbLength = thumb;
    g.thumbStart = g.trackStart + (span > 0 ? static_cast<int>((static_cast<int64_t>(d.pos) - d.min) * room / span) : 0);
    return g;
}

RECT Along(HWND hwnd, const Geometry& g, int start, int length)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (g.vertical) {
        return RECT{rc.left, start, rc.right, start + length};
    }
    return RECT{start, rc.top, start + length, rc.bottom};
}

Part PartAt(const Geometry& g, POINT p)
{
    const int at = g.vertical ? p.y : p.x;
    if (at < g.arrow) {
        return Part::LineUp;
    }
    if (at >= g.length - g.arrow) {
        return Part::LineDown;
    }
    if (g.thumbLength == 0) {
        return Part::None;
    }
    if (at < g.thumbStart) {
        return Part::PageUp;
    }
    if (at < g.thumbStart + g.thumbLength) {
        return Part::Thumb;
    }
    return Part::PageDown;
}

int PosFromThumb(const ScrollData& d, const Geometry& g, int thumbStart)
{
    const int room = g.trackLength - g.thumbLength;
    const int64_t top = static_cast<int64_t>(d.max) - std::max<int64_t>(static_cast<int64_t>(d.page) - 1, 0);
    if (room <= 0) {
        return d.min;
    }
    const int offset = std::clamp(thumbStart - g.trackStart, 0, room);
    return static_cast<int>(d.min + ((top - d.min) * offset + room / 2) / room);
}

void Paint(HWND hwnd, ControlState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const DWORD style = StyleOf(hwnd);
    if ((style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        if ((style & SBS_SIZEGRIP) != 0) {
            DrawFrameControl(dc, &rc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    const Geometry g = Measure(hwnd, s->data);
    HBRUSH track = ControlColors(hwnd, dc, WM_CTLCOLORSCROLLBAR);
    const bool enabled = IsWindowEnabled(hwnd) && CanScroll(s->data);
    RECT first = Along(hwnd, g, 0, g.arrow);
    RECT last = Along(hwnd, g, g.length - g.arrow, g.arrow);
    UINT firstState = g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    UINT lastState = g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    if (!enabled || (s->data.disabledArrows & ESB_DISABLE_LTUP) != 0) {
        firstState |= DFCS_INACTIVE;
    }
    if (!enabled || (s->data.disabledArrows & ESB_DISABLE_RTDN) != 0) {
        lastState |= DFCS_INACTIVE;
    }
    if (s->pressed == Part::LineUp) {
        firstState |= DFCS_PUSHED | DFCS_FLAT;
    }
    if (s->pressed == Part::LineDown) {
        lastState |= DFCS_PUSHED | DFCS_FLAT;
    }
    DrawFrameControl(dc, &first, DFC_SCROLL, firstState);
    DrawFrameControl(dc, &last, DFC_SCROLL, lastState);
    RECT trackRect = Along(hwnd, g, g.trackStart, g.trackLength);
    FillRect(dc, &trackRect, track);
    if (g.thumbLength > 0 && enabled) {
        if (s->pressed == Part::PageUp || s->pressed == Part::PageDown) {
            RECT page = s->pressed == Part::PageUp ? Along(hwnd, g, g.trackStart, g.thumbStart - g.trackStart)
                                                   : Along(hwnd, g, g.thumbStart + g.thumbLength,
                                                           g.trackStart + g.trackLength - g.thumbStart - g.thumbLength);
            FillRect(dc, &page, GetSysColorBrush(COLOR_3DDKSHADOW));
        }
        RECT thumb = Along(hwnd, g, g.thumbStart, g.thumbLength);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
        if (s->focused) {
            InflateRect(&thumb, -3, -3);
            DrawFocusRect(dc, &thumb);
        }
    }
}

UINT ScrollMessage(HWND hwnd) { return (StyleOf(hwnd) & SBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL; }

WORD CodeOf(Part part)
{
    switch (part) {
    case Part::LineUp: return SB_LINEUP;
    case Part::LineDown: return SB_LINEDOWN;
    case Part::PageUp: return SB_PAGEUP;
    case Part::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
    }
}

void Step(HWND hwnd, ControlState* s)
{
    if (s->pressed == Part::None || s->pressed == Part::Thumb) {
        return;
    }
    NotifyScroll(hwnd, ScrollMessage(hwnd), CodeOf(s->pressed), 0);
}

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* s = AttachState<ControlState>(hwnd);
        s->data.max = 100;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ControlState* s = StateOf<ControlState>(hwnd);
    if (s == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        DetachState<ControlState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS: s->focused = true; InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_KILLFOCUS: s->focused = false; InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN: {
        const Geometry g = Measure(hwnd, s->data);
        const POINT p = PointFromLParam(lParam);
        const Part part = PartAt(g, p);
        if (part == Part::None || !CanScroll(s->data)) {
            return 0;
        }
        if ((StyleOf(hwnd) & WS_TABSTOP) != 0) {
            SetFocus(hwnd);
        }
        SetCapture(hwnd);
        s->pressed = part;
        if (part == Part::Thumb) {
            s->dragOffset = (g.vertical ? p.y : p.x) - g.thumbStart;
            s->data.trackPos = s->data.pos;
        } else {
            Step(hwnd, s);
            SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer) {
            SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
            Step(hwnd, s);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (s->pressed == Part::Thumb && GetCapture() == hwnd) {
            const Geometry g = Measure(hwnd, s->data);
            const POINT p = PointFromLParam(lParam);
            const int pos = PosFromThumb(s->data, g, (g.vertical ? p.y : p.x) - s->dragOffset);
            if (pos != s->data.trackPos) {
                s->data.trackPos = pos;
                NotifyScroll(hwnd, ScrollMessage(hwnd), SB_THUMBTRACK, pos);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
        if (s->pressed == Part::None) {
            return 0;
        }
        const Part part = s->pressed;
        s->pressed = Part::None;
        KillTimer(hwnd, kRepeatTimer);
        if (msg == WM_LBUTTONUP && GetCapture() == hwnd) {
            ReleaseCapture();
        }
        if (part == Part::Thumb) {
            NotifyScroll(hwnd, ScrollMessage(hwnd), SB_THUMBPOSITION, s->data.trackPos);
        }
        NotifyScroll(hwnd, ScrollMessage(hwnd), SB_ENDSCROLL, 0);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_KEYDOWN: {
        WORD code = SB_ENDSCROLL;
        switch (wParam) {
        case VK_UP:
        case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN:
        case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: return 0;
        }
        NotifyScroll(hwnd, ScrollMessage(hwnd), code, 0);
        NotifyScroll(hwnd, ScrollMessage(hwnd), SB_ENDSCROLL, 0);
        return 0;
    }
    case SBM_SETPOS: {
        const int previous = s->data.pos;
        s->data.pos = static_cast<int>(static_cast<int32_t>(wParam));
        Normalise(s->data);
        if (lParam != 0) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return previous;
    }
    case SBM_GETPOS: return s->data.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        const int previous = s->data.pos;
        s->data.min = static_cast<int>(static_cast<int32_t>(wParam));
        s->data.max = static_cast<int>(static_cast<int32_t>(lParam));
        Normalise(s->data);
        if (msg == SBM_SETRANGEREDRAW) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return previous;
    }
    case SBM_GETRANGE:
        if (wParam != 0) {
            *reinterpret_cast<int*>(wParam) = s->data.min;
        }
        if (lParam != 0) {
            *reinterpret_cast<int*>(lParam) = s->data.max;
        }
        return 0;
    case SBM_ENABLE_ARROWS:
        s->data.disabledArrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case SBM_SETSCROLLINFO: {
        const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (info == nullptr) {
            return s->data.pos;
        }
        const int pos = Apply(s->data, *info);
        if (wParam != 0) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return pos;
    }
    case SBM_GETSCROLLINFO: return Read(s->data, reinterpret_cast<SCROLLINFO*>(lParam)) ? TRUE : FALSE;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Adds or removes a window's own bar.
void ShowWindowBar(HWND hwnd, int bar, bool show)
{
    const DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    const DWORD style = StyleOf(hwnd);
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

} // namespace

void RegisterScrollBarClass() { RegisterControlClass("ScrollBar", ScrollBarProc, CS_DBLCLKS, nullptr); }

} // namespace nuvex::controls

using namespace nuvex::controls;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    if (!IsWindow(hwnd) || info == nullptr) {
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
    WindowBars& bars = BarsOf(hwnd);
    ScrollData& data = bar == SB_VERT ? bars.vertical : bars.horizontal;
    (bar == SB_VERT ? bars.hasVertical : bars.hasHorizontal) = true;
    const int pos = Apply(data, *info);
    if ((info->fMask & (SIF_RANGE | SIF_PAGE)) != 0) {
        const bool scrolls = CanScroll(data);
        if ((info->fMask & SIF_DISABLENOSCROLL) != 0) {
            data.disabledArrows = scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
            ShowWindowBar(hwnd, bar, true);
        } else {
            ShowWindowBar(hwnd, bar, scrolls);
        }
    }
    if (redraw) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    }
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
    if (!IsWindow(hwnd) || info == nullptr) {
        return FALSE;
    }
    if (bar == SB_CTL) {
        return IsScrollBarControl(hwnd) && SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
    }
    if (bar != SB_HORZ && bar != SB_VERT) {
        return FALSE;
    }
    auto it = Bars().find(hwnd);
    const DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (it == Bars().end() || !(bar == SB_VERT ? it->second.hasVertical : it->second.hasHorizontal)) {
        // A bar shown by its style alone has the default range 0..100.
        if ((StyleOf(hwnd) & flag) == 0) {
            return FALSE;
        }
        ScrollData defaults;
        return Read(defaults, info) ? TRUE : FALSE;
    }
    return Read(bar == SB_VERT ? it->second.vertical : it->second.horizontal, info) ? TRUE : FALSE;
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
        ShowWindowBar(hwnd, SB_HORZ, show != FALSE);
    }
    if (bar == SB_VERT || bar == SB_BOTH) {
        ShowWindowBar(hwnd, SB_VERT, show != FALSE);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    if (bar == SB_CTL) {
        return static_cast<BOOL>(SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    }
    WindowBars& bars = BarsOf(hwnd);
    if (bar == SB_HORZ || bar == SB_BOTH) {
        bars.horizontal.disabledArrows = arrows & ESB_DISABLE_BOTH;
    }
    if (bar == SB_VERT || bar == SB_BOTH) {
        bars.vertical.disabledArrows = arrows & ESB_DISABLE_BOTH;
    }
    return TRUE;
}
