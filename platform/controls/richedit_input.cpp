// The rich edit's keyboard and mouse: caret moves with Shift and Ctrl, the
// editing and clipboard keys, typed characters, selecting by pressing,
// dragging and double-clicking, and the focus.
#include <algorithm>
#include <cctype>

#include "platform/controls/richedit_window.h"

namespace nuvex::controls::richedit {

bool KeyDown(RichEditState& s, int key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const LONG row = s.text.RowOf(s.caret);
    LONG target = s.caret;
    bool vertical = false;
    switch (key) {
    case VK_LEFT:
        if (!shift && !s.Selection().Empty()) {
            target = s.Selection().min;
        } else if (control) {
            target = s.caret;
            while (target > 0 && std::isspace(static_cast<unsigned char>(s.text.Text()[target - 1])) != 0) {
                --target;
            }
            target = target > 0 ? s.text.WordAt(target - 1).min : 0;
        } else {
            target = std::max<LONG>(0, s.caret - 1);
        }
        break;
    case VK_RIGHT:
        if (!shift && !s.Selection().Empty()) {
            target = s.Selection().max;
        } else if (control) {
            target = s.text.WordAt(s.caret).max;
            while (target < s.text.Length() &&
                   std::isspace(static_cast<unsigned char>(s.text.Text()[static_cast<size_t>(target)])) != 0) {
                ++target;
            }
        } else {
            target = std::min(s.text.Length(), s.caret + 1);
        }
        break;
    case VK_HOME:
        target = control ? 0 : s.text.RowStart(row);
        break;
    case VK_END:
        target = control ? s.text.Length() : s.text.RowStart(row) + s.text.RowLength(row);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        const LONG step = (key == VK_PRIOR || key == VK_NEXT) ? VisibleRows(s) : 1;
        const LONG newRow = std::clamp<LONG>(key == VK_UP || key == VK_PRIOR ? row - step : row + step, 0,
                                             s.text.RowCount() - 1);
        if (s.preferredX < 0) {
            s.preferredX = PointFromPosition(s, s.caret).x;
        }
        target = PositionInRow(s, newRow, s.preferredX);
        vertical = true;
        break;
    }
    case VK_DELETE:
        if (shift) {
            return Cut(s) && ScrollCaretIntoView(s);
        }
        return DeleteKey(s, VK_DELETE) && ScrollCaretIntoView(s);
    case VK_BACK:
        return DeleteKey(s, VK_BACK) && ScrollCaretIntoView(s);
    case VK_INSERT:
        if (control) {
            return CopySelection(s);
        }
        if (shift) {
            return Paste(s) && ScrollCaretIntoView(s);
        }
        return false;
    default:
        if (!control) {
            return false;
        }
        switch (key) {
        case 'A':
            return SetSelection(s, 0, s.text.Length());
        case 'C':
            return CopySelection(s);
        case 'X':
            return Cut(s) && ScrollCaretIntoView(s);
        case 'V':
            return Paste(s) && ScrollCaretIntoView(s);
        case 'Z':
            return ApplyUndo(s, UndoStep::Undo) && ScrollCaretIntoView(s);
        case 'Y':
            return ApplyUndo(s, UndoStep::Redo) && ScrollCaretIntoView(s);
        default:
            return false;
        }
    }
    const int keptX = s.preferredX;
    if (!SetSelection(s, shift ? s.anchor : target, target)) {
        return false;
    }
    s.preferredX = vertical ? keptX : -1;
    return ScrollCaretIntoView(s);
}

bool Character(RichEditState& s, char c)
{
    if (c == '\r' || c == '\n') {
        if (!Multiline(s)) {
            return false;
        }
        c = '\r';
    } else if (c != '\t' && static_cast<unsigned char>(c) < 0x20) {
        return false; // control keys are handled as key-downs
    }
    const char text[2] = {c, 0};
    s.preferredX = -1;
    return ReplaceSelection(s, text, EditCheck::Person, RichText::Record::Typing, WM_CHAR,
                            static_cast<WPARAM>(static_cast<unsigned char>(c)), 0) &&
           ScrollCaretIntoView(s);
}

LRESULT OnLButtonDown(RichEditState& s, WPARAM keys, LPARAM lParam)
{
    HWND hwnd = s.hwnd;
    SetFocus(hwnd);
    if (!Alive(hwnd, &s)) {
        return 0;
    }
    SetCapture(hwnd);
    s.dragging = true;
    const LONG at = PositionFromPoint(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    s.preferredX = -1;
    SetSelection(s, (keys & MK_SHIFT) != 0 ? s.anchor : at, at);
    return 0;
}

LRESULT OnMouseMove(RichEditState& s, LPARAM lParam)
{
    if (!s.dragging) {
        return 0;
    }
    const LONG at = PositionFromPoint(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (SetSelection(s, s.anchor, at)) {
        ScrollCaretIntoView(s);
    }
    return 0;
}

LRESULT OnLButtonUp(RichEditState& s)
{
    if (s.dragging) {
        s.dragging = false;
        ReleaseCapture();
    }
    return 0;
}

LRESULT OnDoubleClick(RichEditState& s, LPARAM lParam)
{
    const LONG at = PositionFromPoint(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    const RichRange word = s.text.WordAt(at);
    SetSelection(s, word.min, word.max);
    return 0;
}

LRESULT OnFocus(RichEditState& s, FocusChange change)
{
    const bool gained = change == FocusChange::Gained;
    s.focused = gained;
    if (!gained && s.dragging) {
        s.dragging = false;
    }
    InvalidateRect(s.hwnd, nullptr, TRUE);
    NotifyCommand(s, gained ? EN_SETFOCUS : EN_KILLFOCUS);
    return 0;
}

} // namespace nuvex::controls::richedit
