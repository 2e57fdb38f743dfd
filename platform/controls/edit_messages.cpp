// The edit control's messages: one handler per EM_* and window message,
// looked up in a table by the class procedure, and the class's
// registration.
#include <cstring>

#include "platform/controls/edit_model.h"

namespace nuvex::controls::edit {
namespace {

using Row = MessageRow<EditState>;

// Cuts a single-line text at its first line break.
void KeepFirstLine(std::string& text)
{
    const size_t cut = text.find_first_of("\r\n");
    if (cut != std::string::npos) {
        text.resize(cut);
    }
}

// The line index for the line queries: -1 means the caret's line.
int LineArgument(WPARAM wParam, const std::vector<Line>& lines, const EditState& s)
{
    const auto index = static_cast<intptr_t>(wParam);
    if (index < 0) {
        return LineIndexOf(lines, s.caret);
    }
    return index >= static_cast<intptr_t>(lines.size()) ? -1 : static_cast<int>(index);
}

// Selection --------------------------------------------------------------------

LRESULT OnGetSelection(HWND, EditState& s, const Message& m)
{
    const auto start = static_cast<DWORD>(SelStart(s));
    const auto end = static_cast<DWORD>(SelEnd(s));
    if (m.wParam != 0) {
        *reinterpret_cast<DWORD*>(m.wParam) = start;
    }
    if (m.lParam != 0) {
        *reinterpret_cast<DWORD*>(m.lParam) = end;
    }
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<DWORD>(start, 0xFFFF)),
                                         static_cast<WORD>(std::min<DWORD>(end, 0xFFFF))));
}

LRESULT OnSetSelection(HWND hwnd, EditState& s, const Message& m)
{
    const auto start = static_cast<intptr_t>(static_cast<int32_t>(m.wParam));
    const auto end = static_cast<intptr_t>(static_cast<int32_t>(m.lParam));
    if (start < 0) {
        SetSelection(hwnd, s, s.caret, s.caret);
        return 0;
    }
    const size_t size = s.text.size();
    const size_t a = std::min(static_cast<size_t>(start), size);
    const size_t b = end < 0 ? size : std::min(static_cast<size_t>(end), size);
    SetSelection(hwnd, s, a, b);
    return 0;
}

LRESULT OnReplaceSelection(HWND hwnd, EditState& s, const Message& m)
{
    ReplaceSelection(hwnd, s, m.lParam != 0 ? reinterpret_cast<const char*>(m.lParam) : "", Origin::Program,
                     m.wParam != 0 ? Undoable::Yes : Undoable::No, Typed::No);
    return 0;
}

// Lines ------------------------------------------------------------------------

LRESULT OnGetLineCount(HWND hwnd, EditState& s, const Message&)
{
    return IsMulti(hwnd) ? static_cast<LRESULT>(SplitLines(s.text, Breaks::MultiLine).size()) : 1;
}

LRESULT OnLineIndex(HWND hwnd, EditState& s, const Message& m)
{
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const int line = LineArgument(m.wParam, lines, s);
    return line < 0 ? -1 : static_cast<LRESULT>(lines[static_cast<size_t>(line)].start);
}

LRESULT OnLineFromChar(HWND hwnd, EditState& s, const Message& m)
{
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const auto index = static_cast<intptr_t>(m.wParam);
    const size_t pos = index < 0 ? SelStart(s) : std::min(static_cast<size_t>(index), s.text.size());
    return LineIndexOf(lines, pos);
}

LRESULT OnLineLength(HWND hwnd, EditState& s, const Message& m)
{
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const auto index = static_cast<intptr_t>(m.wParam);
    if (index < 0) {
        // The characters of the selection's lines that are not selected.
        const Line& first = lines[static_cast<size_t>(LineIndexOf(lines, SelStart(s)))];
        const Line& last = lines[static_cast<size_t>(LineIndexOf(lines, SelEnd(s)))];
        return static_cast<LRESULT>((SelStart(s) - first.start) + (last.start + last.length - SelEnd(s)));
    }
    if (static_cast<size_t>(index) > s.text.size()) {
        return 0;
    }
    return static_cast<LRESULT>(lines[static_cast<size_t>(LineIndexOf(lines, static_cast<size_t>(index)))].length);
}

// Copies a line into the caller's buffer, whose first word gives its size.
LRESULT OnGetLine(HWND hwnd, EditState& s, const Message& m)
{
    auto* buffer = reinterpret_cast<char*>(m.lParam);
    if (buffer == nullptr) {
        return 0;
    }
    WORD size = 0;
    std::memcpy(&size, buffer, sizeof(size));
    const bool multi = IsMulti(hwnd);
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const size_t index = multi ? static_cast<size_t>(m.wParam) : 0;
    if (index >= lines.size()) {
        return 0;
    }
    const Line& line = lines[index];
    const size_t n = std::min<size_t>(line.length, size);
    std::memcpy(buffer, s.text.data() + line.start, n);
    return static_cast<LRESULT>(n);
}

// Scrolling --------------------------------------------------------------------

LRESULT OnGetFirstVisibleLine(HWND hwnd, EditState& s, const Message&)
{
    if (IsMulti(hwnd)) {
        return s.firstLine;
    }
    return static_cast<LRESULT>(PosFromPoint(hwnd, s, {FormatRect(hwnd, s).left, FormatRect(hwnd, s).top}));
}

LRESULT OnLineScroll(HWND hwnd, EditState& s, const Message& m)
{
    if (!IsMulti(hwnd)) {
        return FALSE;
    }
    const int count = static_cast<int>(SplitLines(s.text, Breaks::MultiLine).size());
    s.firstLine = std::clamp(s.firstLine + static_cast<int>(m.lParam), 0, count - 1);
    s.scrollX = std::max(0, s.scrollX + static_cast<int>(static_cast<intptr_t>(m.wParam)) *
                                            MeasureFont(s.font).averageWidth);
    UpdateScrollBars(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnScroll(HWND hwnd, EditState& s, const Message& m)
{
    if (!IsMulti(hwnd)) {
        return FALSE;
    }
    const int count = static_cast<int>(SplitLines(s.text, Breaks::MultiLine).size());
    const int page = VisibleLines(hwnd, s);
    int delta = 0;
    switch (LOWORD(m.wParam)) {
    case SB_LINEUP: delta = -1; break;
    case SB_LINEDOWN: delta = 1; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    default: return FALSE;
    }
    const int before = s.firstLine;
    s.firstLine = std::clamp(s.firstLine + delta, 0, std::max(0, count - 1));
    UpdateScrollBars(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    return MAKELRESULT(static_cast<WORD>(s.firstLine - before), TRUE);
}

// The bar's thumb moves the first line; the arrows and pages scroll as
// EM_SCROLL does.
LRESULT OnVScroll(HWND hwnd, EditState& s, const Message& m)
{
    if (!IsMulti(hwnd)) {
        return 0;
    }
    const WORD code = LOWORD(m.wParam);
    if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        const int count = static_cast<int>(SplitLines(s.text, Breaks::MultiLine).size());
        s.firstLine = std::clamp(static_cast<int>(static_cast<SHORT>(HIWORD(m.wParam))), 0, count - 1);
        UpdateScrollBars(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
    } else if (code <= SB_PAGEDOWN) {
        OnScroll(hwnd, s, Message{EM_SCROLL, code, 0});
    }
    return 0;
}

// Limits, flags and styles -------------------------------------------------------

LRESULT OnLimitText(HWND, EditState& s, const Message& m)
{
    s.limit = m.wParam == 0 ? kEditDefaultLimit : static_cast<UINT>(std::min<WPARAM>(m.wParam, kEditDefaultLimit));
    return 0;
}

LRESULT OnEmptyUndoBuffer(HWND, EditState& s, const Message&)
{
    s.canUndo = false;
    s.undoText.clear();
    s.typingRun = false;
    return 0;
}

LRESULT OnSetReadOnly(HWND hwnd, EditState&, const Message& m)
{
    const DWORD style = StyleOf(hwnd);
    SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(m.wParam != 0 ? style | ES_READONLY : style & ~ES_READONLY));
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnSetPasswordChar(HWND hwnd, EditState& s, const Message& m)
{
    if (IsMulti(hwnd)) {
        return 0;
    }
    s.passwordChar = static_cast<char>(m.wParam & 0xFF);
    const DWORD style = StyleOf(hwnd);
    SetWindowLongPtrA(hwnd, GWL_STYLE,
                      static_cast<LONG_PTR>(s.passwordChar != 0 ? style | ES_PASSWORD : style & ~ES_PASSWORD));
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

// Format rectangle, margins and positions ------------------------------------------

LRESULT OnGetRect(HWND hwnd, EditState& s, const Message& m)
{
    if (m.lParam != 0) {
        *reinterpret_cast<RECT*>(m.lParam) = FormatRect(hwnd, s);
    }
    return 0;
}

// EM_SETRECT and EM_SETRECTNP (which does not repaint).
LRESULT OnSetRect(HWND hwnd, EditState& s, const Message& m)
{
    s.hasFormatRect = m.lParam != 0;
    if (m.lParam != 0) {
        s.formatRect = *reinterpret_cast<const RECT*>(m.lParam);
    }
    if (m.id == EM_SETRECT) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnSetMargins(HWND hwnd, EditState& s, const Message& m)
{
    if ((m.wParam & EC_LEFTMARGIN) != 0) {
        s.leftMargin = LOWORD(m.lParam);
    }
    if ((m.wParam & EC_RIGHTMARGIN) != 0) {
        s.rightMargin = HIWORD(m.lParam);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnPosFromChar(HWND hwnd, EditState& s, const Message& m)
{
    if (m.wParam > s.text.size()) {
        return -1;
    }
    const POINT p = PointOf(hwnd, s, m.wParam);
    return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

LRESULT OnCharFromPos(HWND hwnd, EditState& s, const Message& m)
{
    const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(m.lParam));
    const int line = LineIndexOf(SplitLines(s.text, BreaksOf(hwnd)), pos);
    return MAKELRESULT(static_cast<WORD>(std::min<size_t>(pos, 0xFFFF)), static_cast<WORD>(line));
}

// Window messages ----------------------------------------------------------------

// The window's text (a single line up to its first break) before
// WM_CREATE; whether it has a vertical bar.
LRESULT OnNcCreate(HWND hwnd, EditState& s, const Message& m)
{
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(m.lParam);
    if (cs != nullptr && cs->lpszName != nullptr && !UserIsIntName(cs->lpszName)) {
        s.text = cs->lpszName;
    }
    s.verticalBar = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
    if ((static_cast<DWORD>(cs != nullptr ? cs->style : 0) & ES_MULTILINE) == 0) {
        KeepFirstLine(s.text);
    }
    return DefWindowProcA(hwnd, m.id, m.wParam, m.lParam);
}

LRESULT OnSetFont(HWND hwnd, EditState& s, const Message& m)
{
    s.font = reinterpret_cast<HFONT>(m.wParam);
    if (s.focused) {
        CreateCaret(hwnd, nullptr, 1, LineHeight(s));
        ShowCaret(hwnd);
    }
    MoveCaret(hwnd, s);
    return 0;
}

LRESULT OnSetText(HWND hwnd, EditState& s, const Message& m)
{
    const char* text = reinterpret_cast<const char*>(m.lParam);
    s.text = text != nullptr ? text : "";
    if (!IsMulti(hwnd)) {
        KeepFirstLine(s.text);
    }
    s.anchor = s.caret = 0;
    s.firstLine = 0;
    s.scrollX = 0;
    s.modified = false;
    s.canUndo = false;
    s.typingRun = false;
    NotifyChanged(hwnd, s);
    return TRUE;
}

LRESULT OnGetText(HWND, EditState& s, const Message& m)
{
    auto* buffer = reinterpret_cast<char*>(m.lParam);
    if (buffer == nullptr || m.wParam == 0) {
        return 0;
    }
    const size_t n = std::min(s.text.size(), static_cast<size_t>(m.wParam) - 1);
    std::memcpy(buffer, s.text.data(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT OnSetFocus(HWND hwnd, EditState& s, const Message&)
{
    s.focused = true;
    CreateCaret(hwnd, nullptr, 1, LineHeight(s));
    ShowCaret(hwnd);
    MoveCaret(hwnd, s);
    NotifyCommand(hwnd, EN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(HWND hwnd, EditState& s, const Message&)
{
    s.focused = false;
    s.typingRun = false;
    DestroyCaret();
    InvalidateRect(hwnd, nullptr, FALSE);
    NotifyCommand(hwnd, EN_KILLFOCUS);
    return 0;
}

LRESULT OnCut(HWND hwnd, EditState& s, const Message&)
{
    if (!IsPassword(hwnd) && !IsReadOnly(hwnd) && s.anchor != s.caret) {
        Copy(hwnd, s);
        ReplaceSelection(hwnd, s, "", Origin::Person, Undoable::Yes, Typed::No);
    }
    return 0;
}

LRESULT OnPaste(HWND hwnd, EditState& s, const Message&)
{
    if (!IsReadOnly(hwnd)) {
        Paste(hwnd, s);
    }
    return 0;
}

LRESULT OnClear(HWND hwnd, EditState& s, const Message&)
{
    if (!IsReadOnly(hwnd) && s.anchor != s.caret) {
        ReplaceSelection(hwnd, s, "", Origin::Person, Undoable::Yes, Typed::No);
    }
    return 0;
}

LRESULT OnUndo(HWND hwnd, EditState& s, const Message&) { return Undo(hwnd, s) ? TRUE : FALSE; }

constexpr Row kMessages[] = {
    // Selection and text.
    {EM_GETSEL, OnGetSelection},
    {EM_SETSEL, OnSetSelection},
    {EM_REPLACESEL, OnReplaceSelection},
    // Lines.
    {EM_GETLINECOUNT, OnGetLineCount},
    {EM_LINEINDEX, OnLineIndex},
    {EM_LINEFROMCHAR, OnLineFromChar},
    {EM_LINELENGTH, OnLineLength},
    {EM_GETLINE, OnGetLine},
    // Scrolling.
    {EM_GETFIRSTVISIBLELINE, OnGetFirstVisibleLine},
    {EM_LINESCROLL, OnLineScroll},
    {EM_SCROLL, OnScroll},
    {EM_SCROLLCARET, [](HWND hwnd, EditState& s, const Message&) -> LRESULT {
         MoveCaret(hwnd, s);
         return TRUE;
     }},
    // Limits, flags, undo and styles.
    {EM_LIMITTEXT, OnLimitText},
    {EM_GETLIMITTEXT, [](HWND, EditState& s, const Message&) -> LRESULT { return s.limit; }},
    {EM_GETMODIFY, [](HWND, EditState& s, const Message&) -> LRESULT { return s.modified ? TRUE : FALSE; }},
    {EM_SETMODIFY, [](HWND, EditState& s, const Message& m) -> LRESULT {
         s.modified = m.wParam != 0;
         return 0;
     }},
    {EM_CANUNDO, [](HWND, EditState& s, const Message&) -> LRESULT { return s.canUndo ? TRUE : FALSE; }},
    {EM_UNDO, OnUndo},
    {EM_EMPTYUNDOBUFFER, OnEmptyUndoBuffer},
    {EM_SETREADONLY, OnSetReadOnly},
    {EM_SETPASSWORDCHAR, OnSetPasswordChar},
    {EM_GETPASSWORDCHAR, [](HWND hwnd, EditState& s, const Message&) -> LRESULT {
         return IsPassword(hwnd) ? static_cast<unsigned char>(s.passwordChar) : 0;
     }},
    // Format rectangle, margins and positions.
    {EM_GETRECT, OnGetRect},
    {EM_SETRECT, OnSetRect},
    {EM_SETRECTNP, OnSetRect},
    {EM_SETMARGINS, OnSetMargins},
    {EM_GETMARGINS, [](HWND, EditState& s, const Message&) -> LRESULT {
         return MAKELRESULT(static_cast<WORD>(s.leftMargin), static_cast<WORD>(s.rightMargin));
     }},
    {EM_POSFROMCHAR, OnPosFromChar},
    {EM_CHARFROMPOS, OnCharFromPos},
    // Window messages.
    {WM_NCCREATE, OnNcCreate},
    {WM_ERASEBKGND, [](HWND, EditState&, const Message&) -> LRESULT { return 1; }},
    {WM_PAINT, [](HWND hwnd, EditState& s, const Message& m) -> LRESULT {
         return PaintWith(hwnd, m.wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
     }},
    {WM_PRINTCLIENT, [](HWND hwnd, EditState& s, const Message& m) -> LRESULT {
         return PaintWith(hwnd, m.wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
     }},
    {WM_SIZE, [](HWND hwnd, EditState& s, const Message&) -> LRESULT {
         MoveCaret(hwnd, s);
         return 0;
     }},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, [](HWND, EditState& s, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(s.font); }},
    {WM_SETTEXT, OnSetText},
    {WM_GETTEXT, OnGetText},
    {WM_GETTEXTLENGTH, [](HWND, EditState& s, const Message&) -> LRESULT { return static_cast<LRESULT>(s.text.size()); }},
    {WM_GETDLGCODE, [](HWND hwnd, EditState&, const Message& m) -> LRESULT { return GetDialogCode(hwnd, m.lParam); }},
    {WM_ENABLE, [](HWND hwnd, EditState&, const Message&) -> LRESULT {
         InvalidateRect(hwnd, nullptr, TRUE);
         return 0;
     }},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
    {WM_CHAR, OnChar},
    {WM_KEYDOWN, OnKeyDown},
    {WM_LBUTTONDOWN, OnButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONUP, OnButtonUp},
    {WM_LBUTTONDBLCLK, OnDoubleClick},
    {WM_VSCROLL, OnVScroll},
    {WM_CUT, OnCut},
    {WM_COPY, [](HWND hwnd, EditState& s, const Message&) -> LRESULT {
         Copy(hwnd, s);
         return 0;
     }},
    {WM_PASTE, OnPaste},
    {WM_CLEAR, OnClear},
    {WM_UNDO, OnUndo},
};

LRESULT HandleEdit(HWND hwnd, EditState& s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DispatchByTable(kMessages, hwnd, s, msg, wParam, lParam, MessageRange{EM_GETSEL, EM_CHARFROMPOS});
}

} // namespace
} // namespace nuvex::controls::edit

namespace nuvex::controls {

void RegisterEditClass()
{
    RegisterControlClass("Edit", StatefulProc<edit::EditState, edit::HandleEdit>, CS_DBLCLKS, IDC_IBEAM);
}

} // namespace nuvex::controls
