// The toolbar's mouse: presses, drags off and back, clicks that check
// buttons and reach the notify window as WM_COMMAND, drop-downs, hot
// tracking of the flat look and the right click; every mouse message goes
// to the tooltip first.
#include <utility>

#include "platform/controls/toolbar_model.h"

namespace nuvex::controls::toolbar {
namespace {

void DropDown(HWND hwnd, Toolbar& tb, int index, bool* treatPressed)
{
    const Layout layout = LayoutButtons(hwnd, tb);
    NMTOOLBARA nm{};
    nm.iItem = tb.buttons[static_cast<size_t>(index)].id;
    ToRecord(tb, tb.buttons[static_cast<size_t>(index)], nm.tbButton);
    nm.rcButton = layout.rects[static_cast<size_t>(index)];
    SetState(tb, index, TBSTATE_PRESSED, Bit::Set);
    Redraw(hwnd);
    UpdateWindow(hwnd);
    const LRESULT answer = SendNotify(hwnd, TBN_DROPDOWN, &nm.hdr, NotifyWindow(hwnd, tb));
    *treatPressed = answer == TBDDRET_TREATPRESSED;
    if (!IsWindow(hwnd)) {
        return;
    }
    Toolbar* live = StateOf<Toolbar>(hwnd);
    if (live != nullptr && !*treatPressed && index < static_cast<int>(live->buttons.size())) {
        SetState(*live, index, TBSTATE_PRESSED, Bit::Clear);
        Redraw(hwnd);
    }
}

void OnButtonDown(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    bool separator = false;
    const int index = ButtonAt(hwnd, tb, pt, &separator);
    if (index < 0 || separator) {
        return;
    }
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    if ((b.state & TBSTATE_ENABLED) == 0) {
        return;
    }
    if ((b.style & BTNS_DROPDOWN) != 0) {
        const RECT r = LayoutButtons(hwnd, tb).rects[static_cast<size_t>(index)];
        const bool onArrow = !HasArrow(tb, b) || pt.x >= r.right - kArrowWidth;
        if (onArrow) {
            bool treatPressed = false;
            DropDown(hwnd, tb, index, &treatPressed);
            if (!treatPressed || !IsWindow(hwnd)) {
                return;
            }
        }
    }
    tb.pressed = index;
    SetState(tb, index, TBSTATE_PRESSED, Bit::Set);
    SetCapture(hwnd);
    Redraw(hwnd);
}

void OnMouseMove(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    bool separator = false;
    int under = ButtonAt(hwnd, tb, pt, &separator);
    if (separator) {
        under = -1;
    }
    if (tb.pressed >= 0 && tb.pressed < static_cast<int>(tb.buttons.size())) {
        const bool inside = under == tb.pressed;
        if (((tb.buttons[static_cast<size_t>(tb.pressed)].state & TBSTATE_PRESSED) != 0) != inside) {
            SetState(tb, tb.pressed, TBSTATE_PRESSED, BitOf(inside));
            Redraw(hwnd);
        }
    }
    if (under != tb.hot && (StyleOf(hwnd) & TBSTYLE_FLAT) != 0) {
        tb.hot = under;
        Redraw(hwnd);
    }
}

void OnButtonUp(HWND hwnd, Toolbar& tb, LPARAM lParam)
{
    const int index = std::exchange(tb.pressed, -1);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (index < 0 || index >= static_cast<int>(tb.buttons.size())) {
        return;
    }
    SetState(tb, index, TBSTATE_PRESSED, Bit::Clear);
    Redraw(hwnd);
    if (ButtonAt(hwnd, tb, PointOf(lParam)) != index) {
        return;
    }
    Button& b = tb.buttons[static_cast<size_t>(index)];
    if ((b.style & BTNS_CHECK) != 0) {
        if ((b.style & BTNS_GROUP) != 0) {
            CheckInGroup(tb, index);
        } else {
            SetState(tb, index, TBSTATE_CHECKED, BitOf((b.state & TBSTATE_CHECKED) == 0));
        }
    }
    SendMessageA(NotifyWindow(hwnd, tb), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.id), kClicked),
                 reinterpret_cast<LPARAM>(hwnd));
}

} // namespace

LRESULT OnMouseMessage(HWND hwnd, Toolbar& tb, const Message& m)
{
    if (tb.tooltip != nullptr && IsWindow(tb.tooltip)) {
        MSG relayed{hwnd, m.id, m.wParam, m.lParam, static_cast<DWORD>(GetMessageTime()), {}};
        SendMessageA(tb.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        if (!IsWindow(hwnd)) {
            return 0;
        }
    }
    if (m.id == WM_LBUTTONDOWN || m.id == WM_LBUTTONDBLCLK) {
        OnButtonDown(hwnd, tb, m.lParam);
    } else if (m.id == WM_LBUTTONUP) {
        OnButtonUp(hwnd, tb, m.lParam);
    } else if (m.id == WM_MOUSEMOVE) {
        OnMouseMove(hwnd, tb, m.lParam);
    } else if (m.id == WM_RBUTTONUP) {
        NMMOUSE nm{};
        nm.pt = PointOf(m.lParam);
        const int at = ButtonAt(hwnd, tb, nm.pt);
        nm.dwItemSpec = at < 0 ? static_cast<DWORD_PTR>(-1) : static_cast<DWORD_PTR>(tb.buttons[static_cast<size_t>(at)].id);
        SendNotify(hwnd, NM_RCLICK, &nm.hdr, NotifyWindow(hwnd, tb));
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND hwnd, Toolbar& tb, const Message& m)
{
    if (reinterpret_cast<HWND>(m.lParam) != hwnd && tb.pressed >= 0 && tb.pressed < static_cast<int>(tb.buttons.size())) {
        SetState(tb, tb.pressed, TBSTATE_PRESSED, Bit::Clear);
        tb.pressed = -1;
        Redraw(hwnd);
    }
    return 0;
}

} // namespace nuvex::controls::toolbar
