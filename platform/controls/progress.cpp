// The progress bar class "msctls_progress32": a position within a range,
// shown as blocks (or, with PBS_SMOOTH, a solid bar) in the highlight
// colour on a sunken field.
#include "platform/controls/control_support.h"

namespace nuvex::controls {
namespace {

struct ProgressState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF barColor = CLR_DEFAULT;
    COLORREF backColor = CLR_DEFAULT;
};

int Clamped(const ProgressState* s, int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, std::min(s->low, s->high), std::max(s->low, s->high)));
}

void Paint(HWND hwnd, ProgressState* s, HDC dc)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (s->backColor == CLR_DEFAULT) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        FillSolidRect(dc, &rc, s->backColor);
    }
    InflateRect(&rc, -1, -1);
    const int64_t span = static_cast<int64_t>(s->high) - s->low;
    if (span <= 0 || IsRectEmpty(&rc)) {
        return;
    }
    const COLORREF bar = s->barColor == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : s->barColor;
    const bool vertical = (StyleOf(hwnd) & PBS_VERTICAL) != 0;
    const int length = vertical ? Height(rc) : Width(rc);
    const int filled = static_cast<int>((static_cast<int64_t>(s->pos) - s->low) * length / span);
    if ((StyleOf(hwnd) & PBS_SMOOTH) != 0) {
        RECT part = rc;
        if (vertical) {
            part.top = rc.bottom - filled;
        } else {
            part.right = rc.left + filled;
        }
        FillSolidRect(dc, &part, bar);
        return;
    }
    // Blocks two thirds as long as the bar is thick, with a gap of two.
    const int thickness = vertical ? Width(rc) : Height(rc);
    const int block = std::max(2, thickness * 2 / 3);
    constexpr int kGap = 2;
    for (int at = 0; at < filled; at += block + kGap) {
        const int end = std::min(at + block, length);
        RECT part = vertical ? RECT{rc.left, rc.bottom - end, rc.right, rc.bottom - at}
                             : RECT{rc.left + at, rc.top, rc.left + end, rc.bottom};
        FillSolidRect(dc, &part, bar);
    }
}

// Sets the position and repaints; answers the previous position.
LRESULT MoveTo(HWND hwnd, ProgressState* s, int64_t value)
{
    const int previous = s->pos;
    s->pos = Clamped(s, value);
    if (s->pos != previous) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return previous;
}

LRESULT SetRange(HWND hwnd, ProgressState* s, int low, int high)
{
    const LRESULT previous = MAKELRESULT(static_cast<WORD>(s->low), static_cast<WORD>(s->high));
    s->low = low;
    s->high = high;
    s->pos = Clamped(s, s->pos);
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

LRESULT HandleProgress(HWND hwnd, ProgressState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ProgressState* s = &state;
    if (msg == WM_NCCREATE) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case PBM_SETRANGE: return SetRange(hwnd, s, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
        return SetRange(hwnd, s, static_cast<int>(static_cast<int32_t>(wParam)), static_cast<int>(static_cast<int32_t>(lParam)));
    case PBM_GETRANGE:
        if (lParam != 0) {
            auto* range = reinterpret_cast<PBRANGE*>(lParam);
            range->iLow = s->low;
            range->iHigh = s->high;
        }
        return wParam != 0 ? s->low : s->high;
    case PBM_SETPOS: return MoveTo(hwnd, s, static_cast<int>(static_cast<int32_t>(wParam)));
    case PBM_GETPOS: return s->pos;
    case PBM_DELTAPOS: return MoveTo(hwnd, s, static_cast<int64_t>(s->pos) + static_cast<int32_t>(wParam));
    case PBM_SETSTEP: {
        const int previous = s->step;
        s->step = static_cast<int>(static_cast<int32_t>(wParam));
        return previous;
    }
    case PBM_STEPIT: {
        // Past the end the bar starts over from the beginning.
        int64_t next = static_cast<int64_t>(s->pos) + s->step;
        const int64_t span = static_cast<int64_t>(s->high) - s->low;
        if (span > 0 && next > s->high) {
            next = s->low + (next - s->high) % span;
        } else if (span > 0 && next < s->low) {
            next = s->high - (s->low - next) % span;
        }
        return MoveTo(hwnd, s, next);
    }
    case PBM_SETBARCOLOR: {
        const COLORREF previous = s->barColor;
        s->barColor = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(previous);
    }
    case PBM_SETBKCOLOR: {
        const COLORREF previous = s->backColor;
        s->backColor = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(previous);
    }
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterProgressClass()
{
    RegisterControlClass(PROGRESS_CLASSA, StatefulProc<ProgressState, HandleProgress>,
                         CS_HREDRAW | CS_VREDRAW, nullptr);
}

} // namespace nuvex::controls
