// The trackbar class "msctls_trackbar32": a thumb on a channel between a
// minimum and a maximum, moved by dragging, by clicks on the channel (a
// page) and by keys, reported to the parent as WM_HSCROLL (WM_VSCROLL for
// TBS_VERT) with the TB_* codes.
#include "platform/controls/control_support.h"

#include <vector>

namespace nuvex::controls {
namespace {

struct TrackState {
    int min = 0;
    int max = 100;
    int pos = 0;
    int lineSize = 1;
    int pageSize = 20;
    int ticFrequency = 1;
    std::vector<int> tics;
    int selStart = 0;
    int selEnd = 0;
    bool dragging = false;
    int dragOffset = 0;
    bool focused = false;
};

constexpr int kThumbAlong = 11;  // thumb size along the channel
constexpr int kThumbAcross = 21; // thumb size across it
constexpr int kChannelMargin = 8;
constexpr int kChannelWidth = 4;

bool IsVertical(HWND hwnd) { return (StyleOf(hwnd) & TBS_VERT) != 0; }
UINT ScrollMessage(HWND hwnd) { return IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL; }

void Clamp(TrackState* s)
{
    if (s->max < s->min) {
        s->max = s->min;
    }
    s->pos = std::clamp(s->pos, s->min, s->max);
}

// The channel in client coordinates: along the middle of the control.
RECT ChannelRect(HWND hwnd)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (IsVertical(hwnd)) {
        const int x = (Width(rc) - kChannelWidth) / 2;
        return RECT{x, kChannelMargin, x + kChannelWidth, std::max(kChannelMargin, Height(rc) - kChannelMargin)};
    }
    const int y = std::min((Height(rc) - kChannelWidth) / 2, kThumbAcross / 2);
    return RECT{kChannelMargin, std::max(0, y), std::max(kChannelMargin, Width(rc) - kChannelMargin),
                std::max(0, y) + kChannelWidth};
}

int Usable(HWND hwnd)
{
    const RECT ch = ChannelRect(hwnd);
    return std::max(1, (IsVertical(hwnd) ? Height(ch) : Width(ch)) - kThumbAlong);
}

int OffsetOf(HWND hwnd, const TrackState* s, int value)
{
    const int64_t span = static_cast<int64_t>(s->max) - s->min;
    if (span <= 0) {
        return 0;
    }
    return static_cast<int>((static_cast<int64_t>(value) - s->min) * Usable(hwnd) / span);
}

RECT ThumbRect(HWND hwnd, const TrackState* s)
{
    const RECT ch = ChannelRect(hwnd);
    const int at = OffsetOf(hwnd, s, s->pos);
    if (IsVertical(hwnd)) {
        const int cx = (ch.left + ch.right) / 2;
        return RECT{cx - kThumbAcross / 2, ch.top + at, cx + kThumbAcross / 2, ch.top + at + kThumbAlong};
    }
    const int cy = (ch.top + ch.bottom) / 2;
    return RECT{ch.left + at, cy - kThumbAcross / 2 + 1, ch.left + at + kThumbAlong, cy + kThumbAcross / 2 + 1};
}

int ValueAt(HWND hwnd, const TrackState* s, int thumbStart)
{
    const RECT ch = ChannelRect(hwnd);
    const int offset = std::clamp(thumbStart - (IsVertical(hwnd) ? ch.top : ch.left), 0, Usable(hwnd));
    const int64_t span = static_cast<int64_t>(s->max) - s->min;
    return static_cast<int>(s->min + (span * offset + Usable(hwnd) / 2) / Usable(hwnd));
}

void Paint(HWND hwnd, TrackState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, ControlColors(hwnd, dc, WM_CTLCOLORSTATIC));
    RECT channel = ChannelRect(hwnd);
    DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
    const DWORD style = StyleOf(hwnd);
    if ((style & TBS_NOTICKS) == 0) {
        HBRUSH tick = GetSysColorBrush(COLOR_BTNTEXT);
        std::vector<int> values{s->min, s->max};
        if ((style & TBS_AUTOTICKS) != 0 && s->ticFrequency > 0 && s->max - s->min <= 10000) {
            for (int v = s->min + s->ticFrequency; v < s->max; v += s->ticFrequency) {
                values.push_back(v);
            }
        }
        values.insert(values.end(), s->tics.begin(), s->tics.end());
        const RECT thumb = ThumbRect(hwnd, s);
        for (int v : values) {
            const int at = OffsetOf(hwnd, s, v) + kThumbAlong / 2;
            RECT mark = IsVertical(hwnd) ? RECT{thumb.right + 1, channel.top + at, thumb.right + 4, channel.top + at + 1}
                                         : RECT{channel.left + at, thumb.bottom + 1, channel.left + at + 1, thumb.bottom + 4};
            FillRect(dc, &mark, tick);
        }
    }
    if ((style & TBS_NOTHUMB) == 0) {
        RECT thumb = ThumbRect(hwnd, s);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
    if (s->focused) {
        DrawFocusRect(dc, &rc);
    }
}

void SetPos(HWND hwnd, TrackState* s, int pos)
{
    const int before = s->pos;
    s->pos = pos;
    Clamp(s);
    if (s->pos != before) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

// A person moved the thumb by `code`: move and tell the parent, then end.
void MoveBy(HWND hwnd, TrackState* s, WORD code, int delta)
{
    SetPos(hwnd, s, s->pos + delta);
    NotifyScroll(hwnd, ScrollMessage(hwnd), code, 0);
}

LRESULT HandleTrackbar(HWND hwnd, TrackState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TrackState* s = &state;
    if (msg == WM_NCCREATE) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    const bool redraw = wParam != 0;
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS: s->focused = true; InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_KILLFOCUS: s->focused = false; InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(hwnd);
        const POINT p = PointFromLParam(lParam);
        const RECT thumb = ThumbRect(hwnd, s);
        if (PtInRect(&thumb, p)) {
            s->dragging = true;
            s->dragOffset = IsVertical(hwnd) ? p.y - thumb.top : p.x - thumb.left;
            SetCapture(hwnd);
            return 0;
        }
        const bool before = IsVertical(hwnd) ? p.y < thumb.top : p.x < thumb.left;
        MoveBy(hwnd, s, before ? TB_PAGEUP : TB_PAGEDOWN, before ? -s->pageSize : s->pageSize);
        NotifyScroll(hwnd, ScrollMessage(hwnd), TB_ENDTRACK, 0);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->dragging && GetCapture() == hwnd) {
            const POINT p = PointFromLParam(lParam);
            const int value = ValueAt(hwnd, s, (IsVertical(hwnd) ? p.y : p.x) - s->dragOffset);
            if (value != s->pos) {
                SetPos(hwnd, s, value);
                NotifyScroll(hwnd, ScrollMessage(hwnd), TB_THUMBTRACK, s->pos);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (s->dragging) {
            s->dragging = false;
            if (msg == WM_LBUTTONUP && GetCapture() == hwnd) {
                ReleaseCapture();
            }
            NotifyScroll(hwnd, ScrollMessage(hwnd), TB_THUMBPOSITION, s->pos);
            NotifyScroll(hwnd, ScrollMessage(hwnd), TB_ENDTRACK, 0);
        }
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT:
        case VK_UP: MoveBy(hwnd, s, TB_LINEUP, -s->lineSize); break;
        case VK_RIGHT:
        case VK_DOWN: MoveBy(hwnd, s, TB_LINEDOWN, s->lineSize); break;
        case VK_PRIOR: MoveBy(hwnd, s, TB_PAGEUP, -s->pageSize); break;
        case VK_NEXT: MoveBy(hwnd, s, TB_PAGEDOWN, s->pageSize); break;
        case VK_HOME: MoveBy(hwnd, s, TB_TOP, s->min - s->pos); break;
        case VK_END: MoveBy(hwnd, s, TB_BOTTOM, s->max - s->pos); break;
        default: return 0;
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR ||
            wParam == VK_NEXT || wParam == VK_HOME || wParam == VK_END) {
            NotifyScroll(hwnd, ScrollMessage(hwnd), TB_ENDTRACK, 0);
        }
        return 0;
    case TBM_GETPOS: return s->pos;
    case TBM_GETRANGEMIN: return s->min;
    case TBM_GETRANGEMAX: return s->max;
    case TBM_SETPOS:
        s->pos = static_cast<int>(lParam);
        Clamp(s);
        if (redraw) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case TBM_SETRANGE:
        s->min = static_cast<SHORT>(LOWORD(lParam));
        s->max = static_cast<SHORT>(HIWORD(lParam));
        Clamp(s);
        if (redraw) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
        (msg == TBM_SETRANGEMIN ? s->min : s->max) = static_cast<int>(lParam);
        if (s->max < s->min) {
            (msg == TBM_SETRANGEMIN ? s->max : s->min) = static_cast<int>(lParam);
        }
        Clamp(s);
        if (redraw) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case TBM_GETTIC:
        return (wParam < s->tics.size()) ? s->tics[wParam] : -1;
    case TBM_SETTIC:
        if (lParam < s->min || lParam > s->max) {
            return FALSE;
        }
        s->tics.push_back(static_cast<int>(lParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TBM_CLEARTICS:
        s->tics.clear();
        if (redraw) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case TBM_GETNUMTICS:
        if ((StyleOf(hwnd) & TBS_NOTICKS) != 0) {
            return 0;
        }
        if ((StyleOf(hwnd) & TBS_AUTOTICKS) != 0 && s->ticFrequency > 0) {
            return 2 + std::max(0, (s->max - s->min - 1) / s->ticFrequency);
        }
        return 2 + static_cast<LRESULT>(s->tics.size());
    case TBM_SETTICFREQ:
        s->ticFrequency = static_cast<int>(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case TBM_SETSEL:
        s->selStart = static_cast<SHORT>(LOWORD(lParam));
        s->selEnd = static_cast<SHORT>(HIWORD(lParam));
        return 0;
    case TBM_SETSELSTART: s->selStart = static_cast<int>(lParam); return 0;
    case TBM_SETSELEND: s->selEnd = static_cast<int>(lParam); return 0;
    case TBM_GETSELSTART: return s->selStart;
    case TBM_GETSELEND: return s->selEnd;
    case TBM_CLEARSEL: s->selStart = s->selEnd = 0; return 0;
    case TBM_SETPAGESIZE: {
        const int previous = s->pageSize;
        s->pageSize = static_cast<int>(lParam);
        return previous;
    }
    case TBM_GETPAGESIZE: return s->pageSize;
    case TBM_SETLINESIZE: {
        const int previous = s->lineSize;
        s->lineSize = static_cast<int>(lParam);
        return previous;
    }
    case TBM_GETLINESIZE: return s->lineSize;
    case TBM_GETTHUMBRECT:
        if (lParam != 0) {
            *reinterpret_cast<RECT*>(lParam) = ThumbRect(hwnd, s);
        }
        return 0;
    case TBM_GETCHANNELRECT:
        if (lParam != 0) {
            *reinterpret_cast<RECT*>(lParam) = ChannelRect(hwnd);
        }
        return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterTrackbarClass()
{
    RegisterControlClass(TRACKBAR_CLASSA, StatefulProc<TrackState, HandleTrackbar>, CS_DBLCLKS, nullptr);
}

} // namespace nuvex::controls
