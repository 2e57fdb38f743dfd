// The rich edit's messages after creation: one handler per window and EM_*
// message, looked up in a table; messages without a row reach
// DefWindowProc.
#include <algorithm>
#include <cstring>

#include "platform/controls/richedit.h"
#include "platform/controls/richedit_window.h"
#include "platform/gdi/gdi.h"

namespace nuvex::controls::richedit {
namespace {

constexpr int kWheelRows = 3;

using Row = MessageRow<RichEditState>;

// Copies `text` and a terminating zero into `buffer`; the count copied.
LRESULT CopyOut(const std::string& text, char* buffer)
{
    if (buffer == nullptr) {
        return 0;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

std::string InternalRange(const RichText& text, RichRange range)
{
    const LONG a = std::clamp<LONG>(range.min, 0, text.Length());
    const LONG b = std::clamp<LONG>(range.max < 0 ? text.Length() : range.max, a, text.Length());
    return text.Text().substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
}

LRESULT OnPaint(RichEditState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(s.hwnd, &paint);
    const int widest = s.widest;
    if (dc != nullptr) {
        PaintRichEdit(s, dc, paint.rcPaint);
    }
    EndPaint(s.hwnd, &paint);
    if (s.widest > widest) {
        UpdateScrollBars(s); // painting met a wider row
    }
    return 0;
}

LRESULT OnSetText(RichEditState& s, LPCSTR text)
{
    const std::string normalized = NormalizeBreaks(text != nullptr ? text : "");
    s.text.Replace({0, s.text.Length()}, normalized, s.defaultFormat, RichText::Record::None);
    s.anchor = s.caret = 0;
    s.insertFormat.reset();
    s.firstRow = 0;
    s.xScroll = 0;
    s.widest = 0;
    InvalidateRect(s.hwnd, nullptr, TRUE); // scrolled back to the start
    const bool alive = Changed(s, 0);
    if (alive) {
        s.modified = false;
    }
    return TRUE;
}

LRESULT OnGetText(RichEditState& s, WPARAM size, char* buffer)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::string text = ExternalText(s.text, {0, s.text.Length()});
    const size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnGetLine(RichEditState& s, WPARAM line, char* buffer)
{
    if (buffer == nullptr || static_cast<INT_PTR>(line) < 0 || static_cast<INT_PTR>(line) >= s.text.RowCount()) {
        return 0;
    }
    WORD size = 0;
    std::memcpy(&size, buffer, sizeof(size));
    const LONG row = static_cast<LONG>(line);
    const LONG length = s.text.RowLength(row);
    const size_t count = std::min<size_t>(static_cast<size_t>(length), size);
    std::memcpy(buffer, s.text.Text().data() + s.text.RowStart(row), count);
    if (count < size) {
        buffer[count] = 0; // a terminator where it fits
    }
    return static_cast<LRESULT>(count);
}

LRESULT OnVScroll(RichEditState& s, WPARAM wParam)
{
    const LONG page = VisibleRows(s);
    LONG first = s.firstRow;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: first -= 1; break;
    case SB_LINEDOWN: first += 1; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: first = HIWORD(wParam); break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = s.text.RowCount() - 1; break;
    default: break;
    }
    const LONG before = s.firstRow;
    ScrollTo(s, first, s.xScroll);
    return before;
}

// The average character width of the window's plain font, in pixels.
int AverageCharWidth(RichEditState& s)
{
    TEXTMETRICA metrics{};
    HDC dc = GetDC(s.hwnd);
    {
        const SelectedObject font(dc, VariantFont(s, 0));
        GetTextMetricsA(dc, &metrics);
    }
    ReleaseDC(s.hwnd, dc);
    return metrics.tmAveCharWidth;
}

LRESULT OnHScroll(RichEditState& s, WPARAM wParam)
{
    RECT client{};
    GetClientRect(s.hwnd, &client);
    const int line = std::max<int>(1, AverageCharWidth(s));
    const int page = std::max<int>(line, client.right - 2 * kRichEditMargin);
    int x = s.xScroll;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: x -= line; break;
    case SB_LINEDOWN: x += line; break;
    case SB_PAGEUP: x -= page; break;
    case SB_PAGEDOWN: x += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: x = HIWORD(wParam); break;
    case SB_TOP: x = 0; break;
    default: break;
    }
    ScrollTo(s, s.firstRow, x);
    return 0;
}

// Window messages ----------------------------------------------------------------

LRESULT OnSetFont(HWND, RichEditState& s, const Message& m)
{
    FreeFonts(s);
    s.font = reinterpret_cast<HFONT>(m.wParam);
    if (LOWORD(m.lParam) != 0) {
        InvalidateRect(s.hwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnGetDialogCode(HWND, RichEditState& s, const Message&)
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    if (Multiline(s) && (Style(s) & ES_WANTRETURN) != 0) {
        code |= DLGC_WANTALLKEYS;
    }
    return code;
}

// Selection ----------------------------------------------------------------------

LRESULT OnGetSelection(HWND, RichEditState& s, const Message& m)
{
    const RichRange range = s.Selection();
    if (m.wParam != 0) {
        *reinterpret_cast<DWORD*>(m.wParam) = static_cast<DWORD>(range.min);
    }
    if (m.lParam != 0) {
        *reinterpret_cast<DWORD*>(m.lParam) = static_cast<DWORD>(range.max);
    }
    return MAKELRESULT(static_cast<WORD>(std::min<LONG>(range.min, 0xFFFF)),
                       static_cast<WORD>(std::min<LONG>(range.max, 0xFFFF)));
}

LRESULT OnExGetSelection(HWND, RichEditState& s, const Message& m)
{
    auto* range = reinterpret_cast<CHARRANGE*>(m.lParam);
    if (range != nullptr) {
        range->cpMin = s.Selection().min;
        range->cpMax = s.Selection().max;
    }
    return 0;
}

LRESULT OnExSetSelection(HWND, RichEditState& s, const Message& m)
{
    const auto* range = reinterpret_cast<const CHARRANGE*>(m.lParam);
    if (range == nullptr) {
        return s.Selection().max;
    }
    SetSelectionRange(s, range->cpMin, range->cpMax);
    return Alive(s.hwnd, &s) ? s.Selection().max : 0;
}

LRESULT OnSelectionType(HWND, RichEditState& s, const Message&)
{
    const RichRange range = s.Selection();
    return range.Empty() ? SEL_EMPTY : (range.max - range.min > 1 ? SEL_TEXT | SEL_MULTICHAR : SEL_TEXT);
}

LRESULT OnGetTextRange(HWND, RichEditState& s, const Message& m)
{
    auto* range = reinterpret_cast<TEXTRANGEA*>(m.lParam);
    if (range == nullptr) {
        return 0;
    }
    return CopyOut(InternalRange(s.text, {range->chrg.cpMin, range->chrg.cpMax}), range->lpstrText);
}

LRESULT OnReplaceSelection(HWND, RichEditState& s, const Message& m)
{
    const auto text = reinterpret_cast<LPCSTR>(m.lParam);
    ReplaceSelection(s, text != nullptr ? text : "", EditCheck::Program,
                     m.wParam != 0 ? RichText::Record::Step : RichText::Record::None, EM_REPLACESEL, m.wParam,
                     m.lParam);
    return 0;
}

// Rows and lines -----------------------------------------------------------------

LRESULT OnLineIndex(HWND, RichEditState& s, const Message& m)
{
    const auto line = static_cast<INT_PTR>(m.wParam);
    if (line < 0) {
        return s.text.RowStart(s.text.RowOf(s.caret));
    }
    return line < s.text.RowCount() ? s.text.RowStart(static_cast<LONG>(line)) : -1;
}

LRESULT OnLineLength(HWND, RichEditState& s, const Message& m)
{
    const auto at = static_cast<INT_PTR>(m.wParam);
    if (at > s.text.Length()) {
        return 0;
    }
    return s.text.RowLength(s.text.RowOf(at < 0 ? s.Selection().min : static_cast<LONG>(at)));
}

LRESULT OnLineFromChar(HWND, RichEditState& s, const Message& m)
{
    const auto at = static_cast<INT_PTR>(m.wParam);
    return s.text.RowOf(at < 0 ? s.Selection().min : static_cast<LONG>(std::min<INT_PTR>(at, s.text.Length())));
}

LRESULT OnLineScroll(HWND, RichEditState& s, const Message& m)
{
    const int averageWidth = AverageCharWidth(s);
    // Any count is clamped; the sums are taken wide so none overflows.
    const int64_t rows = std::clamp<int64_t>(int64_t{s.firstRow} + static_cast<int64_t>(m.lParam), 0,
                                             s.text.RowCount() - 1);
    const int64_t x = std::clamp<int64_t>(
        int64_t{s.xScroll} + static_cast<int64_t>(static_cast<INT_PTR>(m.wParam)) * averageWidth, 0, INT32_MAX / 2);
    ScrollTo(s, static_cast<LONG>(rows), static_cast<int>(x));
    return TRUE;
}

LRESULT OnScroll(HWND, RichEditState& s, const Message& m)
{
    const LONG before = OnVScroll(s, m.wParam);
    return Alive(s.hwnd, &s) ? MAKELRESULT(static_cast<WORD>(s.firstRow - before), TRUE) : 0;
}

LRESULT OnPosFromChar(HWND, RichEditState& s, const Message& m)
{
    auto* point = reinterpret_cast<POINT*>(m.wParam);
    if (point != nullptr) {
        *point = PointFromPosition(s, static_cast<LONG>(std::clamp<LPARAM>(m.lParam, 0, s.text.Length())));
    }
    return 0;
}

LRESULT OnCharFromPos(HWND, RichEditState& s, const Message& m)
{
    const auto* point = reinterpret_cast<const POINT*>(m.lParam);
    return point != nullptr ? PositionFromPoint(s, *point) : -1;
}

LRESULT OnGetRect(HWND, RichEditState& s, const Message& m)
{
    auto* rect = reinterpret_cast<RECT*>(m.lParam);
    if (rect != nullptr) {
        GetClientRect(s.hwnd, rect);
        InflateRect(rect, -kRichEditMargin, -kRichEditMargin);
    }
    return 0;
}

// Flags, limits, events and colours ------------------------------------------------

LRESULT OnSetReadOnly(HWND, RichEditState& s, const Message& m)
{
    const DWORD style = Style(s);
    SetWindowLongA(s.hwnd, GWL_STYLE, m.wParam != 0 ? (style | ES_READONLY) : (style & ~ES_READONLY));
    return TRUE;
}

// EM_LIMITTEXT (wParam, default 65536) and EM_EXLIMITTEXT (lParam, default
// 32767).
LRESULT OnLimitText(HWND, RichEditState& s, const Message& m)
{
    const LPARAM requested = m.id == EM_LIMITTEXT ? static_cast<LPARAM>(m.wParam) : m.lParam;
    s.limit = requested <= 0 ? (m.id == EM_LIMITTEXT ? 65536 : 32767)
                             : static_cast<LONG>(std::min<LPARAM>(requested, 0x7FFFFFFE));
    return 0;
}

LRESULT OnSetEventMask(HWND, RichEditState& s, const Message& m)
{
    const DWORD previous = s.eventMask;
    s.eventMask = static_cast<DWORD>(m.lParam);
    return previous;
}

LRESULT OnSetBackgroundColour(HWND, RichEditState& s, const Message& m)
{
    const COLORREF previous = s.Background();
    s.systemBackground = m.wParam != 0;
    s.background = static_cast<COLORREF>(m.lParam) & 0x00FFFFFFu;
    InvalidateRect(s.hwnd, nullptr, TRUE);
    return previous;
}

// EM_FINDTEXT and EM_FINDTEXTEX; both records begin with the range and the
// text.
LRESULT OnFindText(HWND, RichEditState& s, const Message& m)
{
    auto* find = reinterpret_cast<FINDTEXTEXA*>(m.lParam);
    if (find == nullptr || find->lpstrText == nullptr) {
        return -1;
    }
    const std::optional<RichRange> found = s.text.Find(find->lpstrText, {find->chrg.cpMin, find->chrg.cpMax}, m.wParam);
    if (m.id == EM_FINDTEXTEX) {
        find->chrgText = found ? CHARRANGE{found->min, found->max} : CHARRANGE{-1, -1};
    }
    return found ? found->min : -1;
}

LRESULT OnUndo(HWND, RichEditState& s, const Message&) { return ApplyUndo(s, UndoStep::Undo) ? TRUE : FALSE; }

constexpr Row kMessages[] = {
    // Window messages.
    {WM_PAINT, [](HWND, RichEditState& s, const Message&) -> LRESULT { return OnPaint(s); }},
    {WM_ERASEBKGND, [](HWND, RichEditState&, const Message&) -> LRESULT { return 1; }}, // the paint fills it
    {WM_SIZE, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         UpdateScrollBars(s);
         return 0;
     }},
    // The bars follow the style (ES_DISABLENOSCROLL keeps the vertical one).
    {WM_STYLECHANGED, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         if (m.wParam == static_cast<WPARAM>(GWL_STYLE)) {
             UpdateScrollBars(s);
         }
         return 0;
     }},
    {WM_SETTEXT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return OnSetText(s, reinterpret_cast<LPCSTR>(m.lParam));
     }},
    {WM_GETTEXT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return OnGetText(s, m.wParam, reinterpret_cast<char*>(m.lParam));
     }},
    {WM_GETTEXTLENGTH, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         // Every break counts as "\r\n", and there is one break fewer
         // than rows: no copy of the text is needed to count it.
         return static_cast<LRESULT>(s.text.Length()) + static_cast<LRESULT>(s.text.RowCount() - 1);
     }},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, [](HWND, RichEditState& s, const Message&) -> LRESULT { return reinterpret_cast<LRESULT>(s.font); }},
    {WM_GETDLGCODE, OnGetDialogCode},
    // Focus, keys and mouse.
    {WM_SETFOCUS, [](HWND, RichEditState& s, const Message&) -> LRESULT { return OnFocus(s, FocusChange::Gained); }},
    {WM_KILLFOCUS, [](HWND, RichEditState& s, const Message&) -> LRESULT { return OnFocus(s, FocusChange::Lost); }},
    {WM_KEYDOWN, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         KeyDown(s, static_cast<int>(m.wParam));
         return 0;
     }},
    {WM_CHAR, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         Character(s, static_cast<char>(m.wParam));
         return 0;
     }},
    {WM_LBUTTONDOWN, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return OnLButtonDown(s, m.wParam, m.lParam);
     }},
    {WM_LBUTTONDBLCLK, [](HWND, RichEditState& s, const Message& m) -> LRESULT { return OnDoubleClick(s, m.lParam); }},
    {WM_MOUSEMOVE, [](HWND, RichEditState& s, const Message& m) -> LRESULT { return OnMouseMove(s, m.lParam); }},
    {WM_LBUTTONUP, [](HWND, RichEditState& s, const Message&) -> LRESULT { return OnLButtonUp(s); }},
    {WM_CAPTURECHANGED, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         s.dragging = false;
         return 0;
     }},
    // Scrolling.
    {WM_MOUSEWHEEL, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         ScrollTo(s, s.firstRow - GET_WHEEL_DELTA_WPARAM(m.wParam) / WHEEL_DELTA * kWheelRows, s.xScroll);
         return 0;
     }},
    {WM_VSCROLL, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         OnVScroll(s, m.wParam);
         return 0;
     }},
    {WM_HSCROLL, [](HWND, RichEditState& s, const Message& m) -> LRESULT { return OnHScroll(s, m.wParam); }},
    // Clipboard and undo.
    {WM_CUT, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         Cut(s);
         return 0;
     }},
    {WM_COPY, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         CopySelection(s);
         return 0;
     }},
    {WM_PASTE, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         Paste(s);
         return 0;
     }},
    {WM_CLEAR, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_CLEAR, 0, 0);
         return 0;
     }},
    {WM_UNDO, OnUndo},
    {EM_UNDO, OnUndo},
    {EM_REDO, [](HWND, RichEditState& s, const Message&) -> LRESULT { return ApplyUndo(s, UndoStep::Redo) ? TRUE : FALSE; }},
    {EM_CANUNDO, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.text.CanUndo() ? TRUE : FALSE; }},
    {EM_CANREDO, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.text.CanRedo() ? TRUE : FALSE; }},
    {EM_EMPTYUNDOBUFFER, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         s.text.EmptyUndo();
         return 0;
     }},
    {EM_SETUNDOLIMIT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         s.text.SetUndoLimit(m.wParam);
         return static_cast<LRESULT>(m.wParam);
     }},
    {EM_STOPGROUPTYPING, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         s.text.StopTyping();
         return 0;
     }},
    {EM_CANPASTE, [](HWND, RichEditState&, const Message& m) -> LRESULT {
         return (m.wParam == 0 || m.wParam == CF_TEXT) && IsClipboardFormatAvailable(CF_TEXT) ? TRUE : FALSE;
     }},
    // Selection and text.
    {EM_GETSEL, OnGetSelection},
    {EM_SETSEL, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         SetSelectionRange(s, static_cast<LONG>(static_cast<INT_PTR>(m.wParam)), static_cast<LONG>(m.lParam));
         return 0;
     }},
    {EM_EXGETSEL, OnExGetSelection},
    {EM_EXSETSEL, OnExSetSelection},
    {EM_SELECTIONTYPE, OnSelectionType},
    {EM_GETSELTEXT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return CopyOut(InternalRange(s.text, s.Selection()), reinterpret_cast<char*>(m.lParam));
     }},
    {EM_GETTEXTRANGE, OnGetTextRange},
    {EM_REPLACESEL, OnReplaceSelection},
    // Rows, lines and positions.
    {EM_GETLINECOUNT, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.text.RowCount(); }},
    {EM_LINEINDEX, OnLineIndex},
    {EM_LINELENGTH, OnLineLength},
    {EM_LINEFROMCHAR, OnLineFromChar},
    {EM_EXLINEFROMCHAR, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return s.text.RowOf(static_cast<LONG>(std::clamp<LPARAM>(m.lParam, 0, s.text.Length())));
     }},
    {EM_GETLINE, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return OnGetLine(s, m.wParam, reinterpret_cast<char*>(m.lParam));
     }},
    {EM_GETFIRSTVISIBLELINE, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.firstRow; }},
    {EM_LINESCROLL, OnLineScroll},
    {EM_SCROLL, OnScroll},
    {EM_POSFROMCHAR, OnPosFromChar},
    {EM_CHARFROMPOS, OnCharFromPos},
    {EM_SCROLLCARET, [](HWND, RichEditState& s, const Message&) -> LRESULT {
         ScrollCaretIntoView(s);
         return 0;
     }},
    {EM_GETRECT, OnGetRect},
    // Flags, limits, events and colours.
    {EM_GETMODIFY, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.modified ? TRUE : FALSE; }},
    {EM_SETMODIFY, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         s.modified = m.wParam != 0;
         return 0;
     }},
    {EM_SETREADONLY, OnSetReadOnly},
    {EM_LIMITTEXT, OnLimitText},
    {EM_EXLIMITTEXT, OnLimitText},
    {EM_GETEVENTMASK, [](HWND, RichEditState& s, const Message&) -> LRESULT { return s.eventMask; }},
    {EM_SETEVENTMASK, OnSetEventMask},
    {EM_HIDESELECTION, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         const bool hidden = m.wParam != 0;
         if (hidden != s.selectionHidden && !s.Selection().Empty()) {
             // Only a highlight comes or goes; the caret stays as it is.
             InvalidateRows(s, s.text.RowOf(s.Selection().min), s.text.RowOf(s.Selection().max));
         }
         s.selectionHidden = hidden;
         return 0;
     }},
    {EM_SETBKGNDCOLOR, OnSetBackgroundColour},
    // Formats and finding.
    {EM_GETCHARFORMAT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return GetCharFormatMessage(s, m.wParam, reinterpret_cast<CHARFORMATA*>(m.lParam));
     }},
    {EM_SETCHARFORMAT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return SetCharFormatMessage(s, m.wParam, reinterpret_cast<const CHARFORMATA*>(m.lParam));
     }},
    {EM_GETPARAFORMAT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return GetParaFormatMessage(s, reinterpret_cast<PARAFORMAT*>(m.lParam));
     }},
    {EM_SETPARAFORMAT, [](HWND, RichEditState& s, const Message& m) -> LRESULT {
         return SetParaFormatMessage(s, reinterpret_cast<const PARAFORMAT*>(m.lParam));
     }},
    {EM_FINDTEXT, OnFindText},
    {EM_FINDTEXTEX, OnFindText},
};

} // namespace

LRESULT Dispatch(RichEditState& s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DispatchByTable(kMessages, s.hwnd, s, msg, wParam, lParam);
}

} // namespace nuvex::controls::richedit
