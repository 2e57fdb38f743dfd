// The "ScrollBar" control: the scroll information, arrows, track and thumb
// it shares with the window's own bars (platform/user/scroll_bar_parts.h),
// clicks, drags and keys reported to the parent as WM_HSCROLL/WM_VSCROLL.
#include "platform/controls/control_support.h"
#include "platform/user/scroll_bar_parts.h"

namespace nuvex::controls {
namespace {

using user::ScrollData;
using user::ScrollGeometry;
using Part = user::ScrollPart;

// The control ------------------------------------------------------------

struct ControlState {
    ScrollData data;
    Part pressed = Part::None;
    int dragOffset = 0; // mouse to thumb start while dragging
    bool focused = false;
};

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;

ScrollGeometry Measure(HWND hwnd, const ScrollData& d)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return user::MeasureScrollBar(rc, (StyleOf(hwnd) & SBS_VERT) != 0, d);
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
    user::ScrollLook look;
    look.pressed = s->pressed;
    look.enabled = IsWindowEnabled(hwnd) != FALSE;
    look.focused = s->focused;
    look.track = ControlColors(hwnd, dc, WM_CTLCOLORSCROLLBAR);
    user::PaintScrollBar(dc, Measure(hwnd, s->data), s->data, look);
}

UINT ScrollMessage(HWND hwnd) { return (StyleOf(hwnd) & SBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL; }

void Step(HWND hwnd, ControlState* s)
{
    if (s->pressed == Part::None || s->pressed == Part::Thumb) {
        return;
    }
    NotifyScroll(hwnd, ScrollMessage(hwnd), user::ScrollCodeOf(s->pressed), 0);
}

LRESULT HandleScrollBar(HWND hwnd, ControlState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ControlState* s = &state;
    if (msg == WM_NCCREATE) {
        s->data.max = 100;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
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
        const ScrollGeometry g = Measure(hwnd, s->data);
        const POINT p = PointFromLParam(lParam);
        const Part part = user::ScrollPartAt(g, p);
        if (part == Part::None || !user::CanScroll(s->data)) {
            return 0;
        }
        if ((StyleOf(hwnd) & WS_TABSTOP) != 0) {
            SetFocus(hwnd);
        }
        SetCapture(hwnd);
        s->pressed = part;
        if (part == Part::Thumb) {
            s->dragOffset = user::AlongScrollBar(g, p) - g.thumbStart;
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
            const ScrollGeometry g = Measure(hwnd, s->data);
            const POINT p = PointFromLParam(lParam);
            const int pos = user::ScrollPosFromThumb(s->data, g, user::AlongScrollBar(g, p) - s->dragOffset);
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
        user::NormaliseScroll(s->data);
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
        user::NormaliseScroll(s->data);
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
        const int pos = user::ApplyScrollInfo(s->data, *info);
        if (wParam != 0) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return pos;
    }
    case SBM_GETSCROLLINFO: return user::ReadScrollInfo(s->data, reinterpret_cast<SCROLLINFO*>(lParam)) ? TRUE : FALSE;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterScrollBarClass()
{
    RegisterControlClass("ScrollBar", StatefulProc<ControlState, HandleScrollBar>, CS_DBLCLKS, nullptr);
}

} // namespace nuvex::controls
