// The list box's keys and mouse: arrows, pages, Home and End, Space and
// typed first letters; pressing, dragging and releasing, and the click
// that ends the choice of a dropped-down list; the scroll bar.
#include "platform/controls/listbox_internal.h"
#include "platform/controls/listbox_model.h"

namespace nuvex::controls::listbox {

LRESULT OnKeyDown(HWND hwnd, ListState& s, const Message& m)
{
    const WPARAM key = m.wParam;
    if (Count(s) == 0) {
        return 0;
    }
    const int from = SelectionKind(hwnd) == Selection::Single && s.current >= 0 ? s.current : s.caret;
    const int page = PageSize(hwnd, s);
    int target = from;
    switch (key) {
    case VK_UP: target = from - 1; break;
    case VK_DOWN: target = from + 1; break;
    case VK_PRIOR: target = from - (page - 1); break;
    case VK_NEXT: target = from + (page - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count(s) - 1; break;
    case VK_SPACE: {
        const bool toggle = SelectionKind(hwnd) == Selection::Multiple ||
                            (SelectionKind(hwnd) == Selection::Extended && KeyDown(VK_CONTROL));
        if (toggle && Choose(hwnd, s, s.caret, {.control = true, .toggle = true})) {
            Notify(hwnd, s, LBN_SELCHANGE);
        }
        return 0;
    }
    default: return 0;
    }
    target = std::clamp(target, 0, Count(s) - 1);
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    if (SelectionKind(hwnd) == Selection::Multiple || (SelectionKind(hwnd) == Selection::Extended && control && !shift)) {
        SetCaret(hwnd, s, target);
        return 0;
    }
    if (Choose(hwnd, s, target, {.shift = shift, .control = control})) {
        Notify(hwnd, s, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnChar(HWND hwnd, ListState& s, const Message& m)
{
    const auto ch = static_cast<char>(m.wParam & 0xFF);
    if (static_cast<unsigned char>(ch) < 0x20 || !HasStrings(hwnd)) {
        return 0;
    }
    const int from = SelectionKind(hwnd) == Selection::Single ? s.current : s.caret;
    const std::string prefix(1, ch);
    const LRESULT found = Find(hwnd, s, from, reinterpret_cast<LPARAM>(prefix.c_str()), false);
    if (found != LB_ERR && Choose(hwnd, s, static_cast<int>(found), {})) {
        Notify(hwnd, s, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnButtonDown(HWND hwnd, ListState& s, const Message& m)
{
    if (s.notifyTarget != nullptr) {
        // A dropped-down list holds the mouse: a click outside it ends
        // the drop without a choice.
        RECT rc{};
        GetClientRect(hwnd, &rc);
        if (!PtInRect(&rc, PointFromLParam(m.lParam))) {
            SendMessageA(s.notifyTarget, kComboListChosen, 0, reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
    }
    if (GetFocus() != hwnd && s.notifyTarget == nullptr) {
        SetFocus(hwnd);
    }
    if (Count(s) == 0) {
        return 0;
    }
    const int index = ItemFromPoint(hwnd, s, PointFromLParam(m.lParam));
    const bool shift = (m.wParam & MK_SHIFT) != 0;
    const bool control = (m.wParam & MK_CONTROL) != 0;
    const bool toggle = SelectionKind(hwnd) == Selection::Multiple || control;
    s.tracking = true;
    SetCapture(hwnd);
    if (Choose(hwnd, s, index, {.shift = shift, .control = control, .toggle = toggle})) {
        Notify(hwnd, s, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, ListState& s, const Message& m)
{
    if (s.tracking && GetCapture() == hwnd && Count(s) > 0) {
        const int index = ItemFromPoint(hwnd, s, PointFromLParam(m.lParam));
        const Selection kind = SelectionKind(hwnd);
        if (kind == Selection::Single || kind == Selection::Extended) {
            if (index != s.caret && Choose(hwnd, s, index, {.shift = kind == Selection::Extended})) {
                Notify(hwnd, s, LBN_SELCHANGE);
            }
        }
    }
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, ListState& s, const Message&)
{
    if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        if (s.notifyTarget != nullptr) {
            // A dropped-down list: the click ends the choice.
            SendMessageA(s.notifyTarget, kComboListChosen, 0, reinterpret_cast<LPARAM>(hwnd));
        }
    }
    return 0;
}

LRESULT OnVScroll(HWND hwnd, ListState& s, const Message& m)
{
    const int page = PageSize(hwnd, s);
    switch (LOWORD(m.wParam)) {
    case SB_LINEUP: SetTop(hwnd, s, s.top - 1); break;
    case SB_LINEDOWN: SetTop(hwnd, s, s.top + 1); break;
    case SB_PAGEUP: SetTop(hwnd, s, s.top - page); break;
    case SB_PAGEDOWN: SetTop(hwnd, s, s.top + page); break;
    case SB_TOP: SetTop(hwnd, s, 0); break;
    case SB_BOTTOM: SetTop(hwnd, s, Count(s)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTop(hwnd, s, static_cast<SHORT>(HIWORD(m.wParam))); break;
    default: break;
    }
    return 0;
}

} // namespace nuvex::controls::listbox
