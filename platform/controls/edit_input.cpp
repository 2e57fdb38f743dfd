// The edit control's keys and mouse: typing and control characters,
// navigation keys with Shift and Ctrl, clipboard keys, and selecting by
// pressing, dragging and double-clicking.
#include <cctype>

#include "platform/controls/edit_model.h"

namespace nuvex::controls::edit {
namespace {

size_t PreviousWord(const std::string& text, size_t pos)
{
    while (pos > 0 && !IsWordChar(text[pos - 1])) {
        --pos;
    }
    while (pos > 0 && IsWordChar(text[pos - 1])) {
        --pos;
    }
    return pos;
}

size_t NextWord(const std::string& text, size_t pos)
{
    while (pos < text.size() && IsWordChar(text[pos])) {
        ++pos;
    }
    while (pos < text.size() && !IsWordChar(text[pos])) {
        ++pos;
    }
    return pos;
}

// Moves the caret for a navigation key; with Shift the anchor stays.
void Navigate(HWND hwnd, EditState& s, WPARAM key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const bool multi = IsMulti(hwnd);
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const int lineIndex = LineIndexOf(lines, s.caret);
    const Line& line = lines[static_cast<size_t>(lineIndex)];
    size_t target = s.caret;
    switch (key) {
    case VK_LEFT:
        if (!shift && s.anchor != s.caret) {
            target = SelStart(s);
        } else {
            target = control ? PreviousWord(s.text, s.caret) : PreviousBoundary(s.text, s.caret);
        }
        break;
    case VK_RIGHT:
        if (!shift && s.anchor != s.caret) {
            target = SelEnd(s);
        } else {
            target = control ? NextWord(s.text, s.caret) : NextBoundary(s.text, s.caret);
        }
        break;
    case VK_HOME: target = control ? 0 : line.start; break;
    case VK_END: target = control ? s.text.size() : line.start + line.length; break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!multi) {
            return;
        }
        const int step = (key == VK_UP || key == VK_DOWN) ? 1 : VisibleLines(hwnd, s);
        const int wanted = std::clamp(lineIndex + ((key == VK_UP || key == VK_PRIOR) ? -step : step), 0,
                                      static_cast<int>(lines.size()) - 1);
        POINT p = PointOf(hwnd, s, s.caret);
        p.y += (wanted - lineIndex) * LineHeight(s);
        const int saveFirst = s.firstLine;
        target = PosFromPoint(hwnd, s, p);
        s.firstLine = saveFirst;
        if (LineIndexOf(lines, target) != wanted) {
            target = lines[static_cast<size_t>(wanted)].start;
        }
        break;
    }
    default: return;
    }
    SetSelection(hwnd, s, shift ? s.anchor : target, target);
}

} // namespace

LRESULT GetDialogCode(HWND hwnd, LPARAM lParam)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!IsMulti(hwnd)) {
        return code;
    }
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg != nullptr && msg->message == WM_KEYDOWN) {
        const bool wantReturn = (StyleOf(hwnd) & ES_WANTRETURN) != 0;
        if (msg->wParam == VK_TAB || msg->wParam == VK_ESCAPE || (msg->wParam == VK_RETURN && !wantReturn)) {
            return code;
        }
    }
    return code | DLGC_WANTALLKEYS;
}

LRESULT OnChar(HWND hwnd, EditState& s, const Message& m)
{
    const auto ch = static_cast<unsigned char>(m.wParam & 0xFF);
    switch (ch) {
    case 0x01: SetSelection(hwnd, s, 0, s.text.size()); return 0;           // Ctrl+A
    case 0x03: Copy(hwnd, s); return 0;                                       // Ctrl+C
    case 0x16: Paste(hwnd, s); return 0;                                      // Ctrl+V
    case 0x18: SendMessageA(hwnd, WM_CUT, 0, 0); return 0;                    // Ctrl+X
    case 0x1A: Undo(hwnd, s); return 0;                                       // Ctrl+Z
    case 0x08: Delete(hwnd, s, Direction::Backward); return 0;                              // Backspace
    case '\r':
        if (IsMulti(hwnd)) {
            ReplaceSelection(hwnd, s, "\r\n", Origin::Person, Undoable::Yes, Typed::No);
        }
        return 0;
    case '\t':
        if (IsMulti(hwnd)) {
            ReplaceSelection(hwnd, s, "\t", Origin::Person, Undoable::Yes, Typed::Yes);
        }
        return 0;
    default: break;
    }
    if (ch < 0x20 || ch == 0x7F) {
        return 0;
    }
    if ((StyleOf(hwnd) & ES_NUMBER) != 0 && !std::isdigit(ch)) {
        return 0;
    }
    ReplaceSelection(hwnd, s, std::string(1, static_cast<char>(ch)), Origin::Person, Undoable::Yes, Typed::Yes);
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, EditState& s, const Message& m)
{
    const WPARAM key = m.wParam;
    switch (key) {
    case VK_DELETE:
        if (KeyDown(VK_SHIFT)) {
            SendMessageA(hwnd, WM_CUT, 0, 0);
        } else {
            Delete(hwnd, s, Direction::Forward);
        }
        return 0;
    case VK_INSERT:
        if (KeyDown(VK_CONTROL)) {
            Copy(hwnd, s);
        } else if (KeyDown(VK_SHIFT)) {
            Paste(hwnd, s);
        }
        return 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: Navigate(hwnd, s, key); return 0;
    default: return 0;
    }
}

LRESULT OnButtonDown(HWND hwnd, EditState& s, const Message& m)
{
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
    }
    const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(m.lParam));
    SetSelection(hwnd, s, (m.wParam & MK_SHIFT) != 0 ? s.anchor : pos, pos);
    SetCapture(hwnd);
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, EditState& s, const Message& m)
{
    if (GetCapture() == hwnd) {
        SetSelection(hwnd, s, s.anchor, PosFromPoint(hwnd, s, PointFromLParam(m.lParam)));
    }
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, EditState&, const Message&)
{
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    return 0;
}

LRESULT OnDoubleClick(HWND hwnd, EditState& s, const Message& m)
{
    const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(m.lParam));
    size_t a = pos;
    size_t b = pos;
    while (a > 0 && IsWordChar(s.text[a - 1])) {
        --a;
    }
    while (b < s.text.size() && IsWordChar(s.text[b])) {
        ++b;
    }
    SetSelection(hwnd, s, a, b);
    return 0;
}

} // namespace nuvex::controls::edit
