// The rich edit window: its class, the notifications to the parent, the
// selection and scrolling. Editing is in richedit_edit.cpp, the keyboard
// and the mouse in richedit_input.cpp, the messages in
// richedit_messages.cpp.
//
// Edits a person makes (typing, keys, cut, paste, clear) are checked
// against protected text: the parent hears EN_PROTECTED when the event mask
// asks for it and refuses the edit with a non-zero answer; without
// ENM_PROTECTED protected text is never changed by them. Edits our code
// makes through messages (EM_REPLACESEL, WM_SETTEXT) are not checked, so
// that a program can always rewrite what it protected.
#include <algorithm>

#include "platform/controls/richedit.h"
#include "platform/controls/richedit_window.h"
#include "platform/user/window_system.h"

namespace nuvex::controls::richedit {
namespace {

bool NotifyScroll(RichEditState& s, WORD code)
{
    return (s.eventMask & ENM_SCROLL) == 0 || NotifyCommand(s, code);
}

LRESULT HandleRichEdit(HWND hwnd, RichEditState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RichEditState* s = &state;
    if (msg == WM_NCCREATE) {
        s->hwnd = hwnd;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create != nullptr) {
            s->verticalBar = (static_cast<DWORD>(create->style) & WS_VSCROLL) != 0;
            s->horizontalBar = (static_cast<DWORD>(create->style) & WS_HSCROLL) != 0;
        }
        if (create != nullptr && create->lpszName != nullptr && !UserIsIntName(create->lpszName)) {
            s->text.Replace({0, 0}, NormalizeBreaks(create->lpszName), s->defaultFormat, RichText::Record::None);
        }
        UpdateScrollBars(*s);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        FreeFonts(*s);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return Dispatch(*s, msg, wParam, lParam);
}

} // namespace

bool NotifyCommand(RichEditState& s, WORD code)
{
    HWND hwnd = s.hwnd;
    HWND parent = GetParent(hwnd);
    if (parent != nullptr) {
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), code),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    return Alive(hwnd, &s);
}

LRESULT NotifyParent(RichEditState& s, NMHDR& header, UINT code)
{
    header.hwndFrom = s.hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(s.hwnd));
    header.code = code;
    HWND parent = GetParent(s.hwnd);
    if (parent == nullptr) {
        return 0;
    }
    return SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void UpdateScrollBars(RichEditState& s)
{
    if (s.verticalBar) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        info.nMax = static_cast<int>(s.text.RowCount() - 1);
        info.nPage = static_cast<UINT>(VisibleRows(s));
        info.nPos = static_cast<int>(s.firstRow);
        if ((Style(s) & ES_DISABLENOSCROLL) != 0) {
            info.fMask |= SIF_DISABLENOSCROLL;
        }
        // One redraw paints both bars: the last call asks for it.
        SetScrollInfo(s.hwnd, SB_VERT, &info, s.horizontalBar ? FALSE : TRUE);
    }
    if (s.horizontalBar) {
        RECT client{};
        GetClientRect(s.hwnd, &client);
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        info.nMax = std::max(s.widest + 2 * kRichEditMargin, s.xScroll + static_cast<int>(client.right)) - 1;
        info.nPage = static_cast<UINT>(std::max<LONG>(client.right, 1));
        info.nPos = s.xScroll;
        SetScrollInfo(s.hwnd, SB_HORZ, &info, TRUE);
    }
}

void InvalidateRows(RichEditState& s, LONG first, LONG last)
{
    const RECT band = RowsBand(s, first, last);
    if (!IsRectEmpty(&band)) {
        InvalidateRect(s.hwnd, &band, TRUE);
    }
}

void InvalidateSelection(RichEditState& s, RichRange range)
{
    if (range.Empty()) {
        if (s.focused) {
            InvalidateRows(s, s.text.RowOf(range.min), s.text.RowOf(range.min));
        }
        return;
    }
    const bool shown = !s.selectionHidden && (s.focused || (Style(s) & ES_NOHIDESEL) != 0);
    if (shown) {
        InvalidateRows(s, s.text.RowOf(range.min), s.text.RowOf(range.max));
    }
}

bool Changed(RichEditState& s, LONG from)
{
    s.modified = true;
    const LONG firstRow = std::min(s.firstRow, s.text.RowCount() - 1);
    if (firstRow != s.firstRow) {
        s.firstRow = firstRow;
        InvalidateRect(s.hwnd, nullptr, TRUE);
    } else {
        // The rows before the change keep their text; those from it on may
        // all have moved.
        InvalidateRows(s, s.text.RowOf(from), kRowsToBottom);
    }
    UpdateScrollBars(s);
    if ((s.eventMask & ENM_UPDATE) != 0 && !NotifyCommand(s, EN_UPDATE)) {
        return false;
    }
    return (s.eventMask & ENM_CHANGE) == 0 || NotifyCommand(s, EN_CHANGE);
}

bool SetSelection(RichEditState& s, LONG anchor, LONG caret)
{
    anchor = std::clamp<LONG>(anchor, 0, s.text.Length());
    caret = std::clamp<LONG>(caret, 0, s.text.Length());
    if (anchor == s.anchor && caret == s.caret) {
        return true;
    }
    InvalidateSelection(s, s.Selection());
    s.anchor = anchor;
    s.caret = caret;
    s.insertFormat.reset();
    s.text.StopTyping();
    InvalidateSelection(s, s.Selection());
    if ((s.eventMask & ENM_SELCHANGE) != 0) {
        SELCHANGE change{};
        const RichRange range = s.Selection();
        change.chrg = {range.min, range.max};
        change.seltyp = range.Empty() ? SEL_EMPTY : (range.max - range.min > 1 ? SEL_TEXT | SEL_MULTICHAR : SEL_TEXT);
        HWND hwnd = s.hwnd;
        NotifyParent(s, change.nmhdr, EN_SELCHANGE);
        return Alive(hwnd, &s);
    }
    return true;
}

bool SetSelectionRange(RichEditState& s, LONG cpMin, LONG cpMax)
{
    if (cpMin < 0) {
        const LONG end = s.Selection().max;
        return SetSelection(s, end, end);
    }
    if (cpMax < 0) {
        cpMax = s.text.Length();
    }
    return SetSelection(s, cpMin, cpMax);
}

bool ScrollTo(RichEditState& s, LONG firstRow, int xScroll)
{
    firstRow = std::clamp<LONG>(firstRow, 0, s.text.RowCount() - 1);
    xScroll = std::max(0, xScroll);
    const bool vertical = firstRow != s.firstRow;
    const bool horizontal = xScroll != s.xScroll;
    if (!vertical && !horizontal) {
        return true;
    }
    s.firstRow = firstRow;
    s.xScroll = xScroll;
    InvalidateRect(s.hwnd, nullptr, TRUE);
    UpdateScrollBars(s);
    if (vertical && !NotifyScroll(s, EN_VSCROLL)) {
        return false;
    }
    return !horizontal || NotifyScroll(s, EN_HSCROLL);
}

bool ScrollCaretIntoView(RichEditState& s)
{
    const LONG row = s.text.RowOf(s.caret);
    const LONG visible = VisibleRows(s);
    LONG first = s.firstRow;
    if (row < first) {
        first = row;
    } else if (row >= first + visible) {
        first = row - visible + 1;
    }
    RECT client{};
    GetClientRect(s.hwnd, &client);
    const POINT at = PointFromPosition(s, s.caret);
    s.widest = std::max(s.widest, at.x + s.xScroll);
    int xScroll = s.xScroll;
    const int width = client.right - 2 * kRichEditMargin;
    if (at.x < kRichEditMargin) {
        xScroll -= kRichEditMargin - at.x + width / 4;
    } else if (at.x >= client.right - kRichEditMargin) {
        xScroll += at.x - (client.right - kRichEditMargin) + width / 4;
    }
    return ScrollTo(s, first, xScroll);
}

namespace {

void RegisterRichEditClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = StatefulProc<RichEditState, HandleRichEdit>;
    wc.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = RICHEDIT_CLASSA;
    nuvex::user::RegisterSystemClass(wc);
}

// Every window system gets the class when it starts.
const bool kRegistrarAdded = (nuvex::user::AddSystemClassRegistrar(&RegisterRichEditClass), true);

} // namespace

} // namespace nuvex::controls::richedit

BOOL InitRichEditClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, RICHEDIT_CLASSA, &existing) == FALSE) {
        nuvex::controls::richedit::RegisterRichEditClass();
    }
    return GetClassInfoA(nullptr, RICHEDIT_CLASSA, &existing);
}
