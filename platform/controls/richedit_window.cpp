// The rich edit window: its class, its messages, the keyboard and the
// mouse, and the notifications to the parent.
//
// Edits a person makes (typing, keys, cut, paste, clear) are checked
// against protected text: the parent hears EN_PROTECTED when the event mask
// asks for it and refuses the edit with a non-zero answer; without
// ENM_PROTECTED protected text is never changed by them. Edits our code
// makes through messages (EM_REPLACESEL, WM_SETTEXT) are not checked, so
// that a program can always rewrite what it protected.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/controls/control_support.h"
#include "platform/controls/richedit_state.h"
#include "platform/gdi/gdi.h"
#include "platform/user/window_system.h"

namespace nuvex::controls {

namespace {

constexpr int kWheelRows = 3;

RichEditState* StateOf(HWND hwnd) { return reinterpret_cast<RichEditState*>(GetWindowLongPtrA(hwnd, 0)); }

// True while the window and its state still exist: a parent may destroy
// the control while it handles a notification.
bool Alive(HWND hwnd, const RichEditState* s) { return IsWindow(hwnd) && StateOf(hwnd) == s; }

DWORD Style(const RichEditState& s) { return static_cast<DWORD>(GetWindowLongA(s.hwnd, GWL_STYLE)); }

bool Multiline(const RichEditState& s) { return (Style(s) & ES_MULTILINE) != 0; }

// Notifications -----------------------------------------------------------------

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

bool NotifyScroll(RichEditState& s, WORD code)
{
    return (s.eventMask & ENM_SCROLL) == 0 || NotifyCommand(s, code);
}

// The window's own scroll bars follow the rows and the first visible one,
// and sideways the widest row seen and the scroll position.
void UpdateScrollBars(RichEditState& s)
{
    if (s.verticalBar) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        info.nMax = static_cast<int>(s.text.RowCount() - 1);
        info.nPage = static_cast<UINT>(VisibleRows(s));
        info.nPos = static_cast<int>(s.firstRow);
        SetScrollInfo(s.hwnd, SB_VERT, &info, TRUE);
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

// After the text changed: repaint, then EN_UPDATE and EN_CHANGE as the
// event mask asks. False when the window went away.
bool Changed(RichEditState& s)
{
    s.modified = true;
    s.firstRow = std::min(s.firstRow, s.text.RowCount() - 1);
    InvalidateRect(s.hwnd, nullptr, TRUE);
    UpdateScrollBars(s);
    if ((s.eventMask & ENM_UPDATE) != 0 && !NotifyCommand(s, EN_UPDATE)) {
        return false;
    }
    return (s.eventMask & ENM_CHANGE) == 0 || NotifyCommand(s, EN_CHANGE);
}

// Selection and scrolling --------------------------------------------------------------

// Sets the selection; EN_SELCHANGE when it changed and the mask asks.
bool SetSelection(RichEditState& s, LONG anchor, LONG caret)
{
    anchor = std::clamp<LONG>(anchor, 0, s.text.Length());
    caret = std::clamp<LONG>(caret, 0, s.text.Length());
    if (anchor == s.anchor && caret == s.caret) {
        return true;
    }
    s.anchor = anchor;
    s.caret = caret;
    s.insertFormat.reset();
    s.text.StopTyping();
    InvalidateRect(s.hwnd, nullptr, TRUE);
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

// Selection from a CHARRANGE as EM_EXSETSEL and EM_SETSEL take it: (0, -1)
// is everything, a negative start removes the selection (caret at its end).
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

// Editing ------------------------------------------------------------------------------------

enum class EditCheck : uint8_t { Person, Program };

// Replaces the selection by `text` in the insertion format. A person's
// edit is refused when the control is read-only, when it would exceed the
// limit (EN_MAXTEXT) or when protected text refuses it (EN_PROTECTED).
// False when it did not happen or the window went away.
bool ReplaceSelection(RichEditState& s, std::string_view raw, EditCheck check, RichText::Record record, UINT msg,
                      WPARAM wParam, LPARAM lParam)
{
    const std::string text = NormalizeBreaks(raw);
    const RichRange range = s.Selection();
    HWND hwnd = s.hwnd;
    if (check == EditCheck::Person) {
        if ((Style(s) & ES_READONLY) != 0) {
            return false;
        }
        const LONG after = s.text.Length() - (range.max - range.min) + static_cast<LONG>(text.size());
        if (!text.empty() && after > s.limit) {
            NotifyCommand(s, EN_MAXTEXT);
            return false;
        }
        if (s.text.TouchesProtected(range)) {
            if ((s.eventMask & ENM_PROTECTED) == 0) {
                return false;
            }
            ENPROTECTED info{};
            info.msg = msg;
            info.wParam = wParam;
            info.lParam = lParam;
            info.chrg = {range.min, range.max};
            const LRESULT refused = NotifyParent(s, info.nmhdr, EN_PROTECTED);
            if (!Alive(hwnd, &s) || refused != 0) {
                return false;
            }
        }
    }
    const RichCharFormat format = s.InsertionFormat();
    s.text.Replace(range, text, format, record);
    const LONG caret = range.min + static_cast<LONG>(text.size());
    s.anchor = s.caret = caret;
    s.insertFormat.reset();
    if (!Changed(s)) {
        return false;
    }
    if ((s.eventMask & ENM_SELCHANGE) != 0) {
        // The selection moved with the edit.
        SELCHANGE change{};
        change.chrg = {caret, caret};
        change.seltyp = SEL_EMPTY;
        NotifyParent(s, change.nmhdr, EN_SELCHANGE);
        return Alive(hwnd, &s);
    }
    return true;
}

bool CopySelection(RichEditState& s)
{
    const RichRange range = s.Selection();
    if (range.Empty()) {
        return false;
    }
    ClipboardSetText(ExternalText(s.text, range));
    return true;
}

bool Cut(RichEditState& s)
{
    if (s.Selection().Empty()) {
        return false;
    }
    // A refused cut leaves the clipboard as it was.
    const std::string text = ExternalText(s.text, s.Selection());
    if (!ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_CUT, 0, 0)) {
        return false;
    }
    ClipboardSetText(text);
    return true;
}

bool Paste(RichEditState& s)
{
    const std::optional<std::string> text = ClipboardGetText();
    if (!text) {
        return false;
    }
    return ReplaceSelection(s, *text, EditCheck::Person, RichText::Record::Step, WM_PASTE, 0, 0);
}

bool ApplyUndo(RichEditState& s, bool redo)
{
    const std::optional<RichRange> restored = redo ? s.text.Redo() : s.text.Undo();
    if (!restored) {
        return false;
    }
    s.anchor = restored->min;
    s.caret = restored->max;
    s.insertFormat.reset();
    return Changed(s);
}

// Deletes the selection, or the character before (Backspace) or after
// (Delete) an empty one.
bool DeleteKey(RichEditState& s, int key)
{
    const LONG anchor = s.anchor;
    const LONG caret = s.caret;
    RichRange range = s.Selection();
    if (range.Empty()) {
        if (key == VK_BACK) {
            if (range.min == 0) {
                return false;
            }
            range.min -= 1;
        } else {
            if (range.max >= s.text.Length()) {
                return false;
            }
            range.max += 1;
        }
        s.anchor = range.min;
        s.caret = range.max;
    }
    HWND hwnd = s.hwnd;
    if (!ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_KEYDOWN, static_cast<WPARAM>(key),
                          0)) {
        if (Alive(hwnd, &s) && s.anchor == range.min && s.caret == range.max) {
            // Refused: the selection is what it was before the key.
            s.anchor = anchor;
            s.caret = caret;
        }
        return false;
    }
    return true;
}

// Keyboard ----------------------------------------------------------------------------------

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
            return ApplyUndo(s, false) && ScrollCaretIntoView(s);
        case 'Y':
            return ApplyUndo(s, true) && ScrollCaretIntoView(s);
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

// Messages -------------------------------------------------------------------------------------

LRESULT OnPaint(RichEditState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(s.hwnd, &paint);
    const int widest = s.widest;
    if (dc != nullptr) {
        PaintRichEdit(s, dc);
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
    const bool alive = Changed(s);
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

LRESULT OnHScroll(RichEditState& s, WPARAM wParam)
{
    RECT client{};
    GetClientRect(s.hwnd, &client);
    TEXTMETRICA metrics{};
    HDC dc = GetDC(s.hwnd);
    HGDIOBJ old = SelectObject(dc, VariantFont(s, 0));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(s.hwnd, dc);
    const int line = std::max<int>(1, metrics.tmAveCharWidth);
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

LRESULT OnFocus(RichEditState& s, bool gained)
{
    s.focused = gained;
    if (!gained && s.dragging) {
        s.dragging = false;
    }
    InvalidateRect(s.hwnd, nullptr, TRUE);
    NotifyCommand(s, gained ? EN_SETFOCUS : EN_KILLFOCUS);
    return 0;
}

LRESULT Dispatch(RichEditState& s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        return OnPaint(s);
    case WM_ERASEBKGND:
        return 1; // the paint fills the background
    case WM_SIZE:
        UpdateScrollBars(s);
        return 0;
    case WM_SETTEXT:
        return OnSetText(s, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
        return OnGetText(s, wParam, reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(ExternalText(s.text, {0, s.text.Length()}).size());
    case WM_SETFONT:
        FreeFonts(s);
        s.font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) != 0) {
            InvalidateRect(s.hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        if (Multiline(s) && (Style(s) & ES_WANTRETURN) != 0) {
            code |= DLGC_WANTALLKEYS;
        }
        return code;
    }
    case WM_SETFOCUS:
        return OnFocus(s, true);
    case WM_KILLFOCUS:
        return OnFocus(s, false);
    case WM_KEYDOWN:
        KeyDown(s, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        Character(s, static_cast<char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(s, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        return OnDoubleClick(s, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(s, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(s);
    case WM_CAPTURECHANGED:
        s.dragging = false;
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(s, s.firstRow - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelRows, s.xScroll);
        return 0;
    case WM_VSCROLL:
        OnVScroll(s, wParam);
        return 0;
    case WM_HSCROLL:
        return OnHScroll(s, wParam);
    case WM_CUT:
        Cut(s);
        return 0;
    case WM_COPY:
        CopySelection(s);
        return 0;
    case WM_PASTE:
        Paste(s);
        return 0;
    case WM_CLEAR:
        ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_CLEAR, 0, 0);
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        return ApplyUndo(s, false) ? TRUE : FALSE;
    case EM_REDO:
        return ApplyUndo(s, true) ? TRUE : FALSE;
    case EM_CANUNDO:
        return s.text.CanUndo() ? TRUE : FALSE;
    case EM_CANREDO:
        return s.text.CanRedo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        s.text.EmptyUndo();
        return 0;
    case EM_SETUNDOLIMIT:
        s.text.SetUndoLimit(wParam);
        return static_cast<LRESULT>(wParam);
    case EM_STOPGROUPTYPING:
        s.text.StopTyping();
        return 0;
    case EM_CANPASTE:
        return (wParam == 0 || wParam == CF_TEXT) && IsClipboardFormatAvailable(CF_TEXT) ? TRUE : FALSE;
    case EM_GETSEL: {
        const RichRange range = s.Selection();
        if (wParam != 0) {
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(range.min);
        }
        if (lParam != 0) {
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(range.max);
        }
        return MAKELRESULT(static_cast<WORD>(std::min<LONG>(range.min, 0xFFFF)),
                           static_cast<WORD>(std::min<LONG>(range.max, 0xFFFF)));
    }
    case EM_SETSEL:
        SetSelectionRange(s, static_cast<LONG>(static_cast<INT_PTR>(wParam)), static_cast<LONG>(lParam));
        return 0;
    case EM_EXGETSEL: {
        auto* range = reinterpret_cast<CHARRANGE*>(lParam);
        if (range != nullptr) {
            range->cpMin = s.Selection().min;
            range->cpMax = s.Selection().max;
        }
        return 0;
    }
    case EM_EXSETSEL: {
        const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
        if (range == nullptr) {
            return s.Selection().max;
        }
        SetSelectionRange(s, range->cpMin, range->cpMax);
        return Alive(s.hwnd, &s) ? s.Selection().max : 0;
    }
    case EM_SELECTIONTYPE: {
        const RichRange range = s.Selection();
        return range.Empty() ? SEL_EMPTY : (range.max - range.min > 1 ? SEL_TEXT | SEL_MULTICHAR : SEL_TEXT);
    }
    case EM_GETSELTEXT:
        return CopyOut(InternalRange(s.text, s.Selection()), reinterpret_cast<char*>(lParam));
    case EM_GETTEXTRANGE: {
        auto* range = reinterpret_cast<TEXTRANGEA*>(lParam);
        if (range == nullptr) {
            return 0;
        }
        return CopyOut(InternalRange(s.text, {range->chrg.cpMin, range->chrg.cpMax}), range->lpstrText);
    }
    case EM_REPLACESEL:
        ReplaceSelection(s, reinterpret_cast<LPCSTR>(lParam) != nullptr ? reinterpret_cast<LPCSTR>(lParam) : "",
                         EditCheck::Program, wParam != 0 ? RichText::Record::Step : RichText::Record::None,
                         EM_REPLACESEL, wParam, lParam);
        return 0;
    case EM_GETLINECOUNT:
        return s.text.RowCount();
    case EM_LINEINDEX: {
        const auto line = static_cast<INT_PTR>(wParam);
        if (line < 0) {
            return s.text.RowStart(s.text.RowOf(s.caret));
        }
        return line < s.text.RowCount() ? s.text.RowStart(static_cast<LONG>(line)) : -1;
    }
    case EM_LINELENGTH: {
        const auto at = static_cast<INT_PTR>(wParam);
        if (at > s.text.Length()) {
            return 0;
        }
        return s.text.RowLength(s.text.RowOf(at < 0 ? s.Selection().min : static_cast<LONG>(at)));
    }
    case EM_LINEFROMCHAR: {
        const auto at = static_cast<INT_PTR>(wParam);
        return s.text.RowOf(at < 0 ? s.Selection().min : static_cast<LONG>(std::min<INT_PTR>(at, s.text.Length())));
    }
    case EM_EXLINEFROMCHAR:
        return s.text.RowOf(static_cast<LONG>(std::clamp<LPARAM>(lParam, 0, s.text.Length())));
    case EM_GETLINE:
        return OnGetLine(s, wParam, reinterpret_cast<char*>(lParam));
    case EM_GETFIRSTVISIBLELINE:
        return s.firstRow;
    case EM_LINESCROLL: {
        TEXTMETRICA metrics{};
        HDC dc = GetDC(s.hwnd);
        HGDIOBJ old = SelectObject(dc, VariantFont(s, 0));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(s.hwnd, dc);
        // Any count is clamped; the sums are taken wide so none overflows.
        const int64_t rows = std::clamp<int64_t>(int64_t{s.firstRow} + static_cast<int64_t>(lParam), 0,
                                                 s.text.RowCount() - 1);
        const int64_t x = std::clamp<int64_t>(
            int64_t{s.xScroll} + static_cast<int64_t>(static_cast<INT_PTR>(wParam)) * metrics.tmAveCharWidth, 0,
            INT32_MAX / 2);
        ScrollTo(s, static_cast<LONG>(rows), static_cast<int>(x));
        return TRUE;
    }
    case EM_SCROLL: {
        const LONG before = OnVScroll(s, wParam);
        return Alive(s.hwnd, &s) ? MAKELRESULT(static_cast<WORD>(s.firstRow - before), TRUE) : 0;
    }
    case EM_POSFROMCHAR: {
        auto* point = reinterpret_cast<POINT*>(wParam);
        if (point != nullptr) {
            *point = PointFromPosition(s, static_cast<LONG>(std::clamp<LPARAM>(lParam, 0, s.text.Length())));
        }
        return 0;
    }
    case EM_CHARFROMPOS: {
        const auto* point = reinterpret_cast<const POINT*>(lParam);
        return point != nullptr ? PositionFromPoint(s, *point) : -1;
    }
    case EM_SCROLLCARET:
        ScrollCaretIntoView(s);
        return 0;
    case EM_GETRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr) {
            GetClientRect(s.hwnd, rect);
            InflateRect(rect, -kRichEditMargin, -kRichEditMargin);
        }
        return 0;
    }
    case EM_GETMODIFY:
        return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s.modified = wParam != 0;
        return 0;
    case EM_SETREADONLY: {
        const DWORD style = Style(s);
        SetWindowLongA(s.hwnd, GWL_STYLE, wParam != 0 ? (style | ES_READONLY) : (style & ~ES_READONLY));
        return TRUE;
    }
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT: {
        const LPARAM requested = msg == EM_LIMITTEXT ? static_cast<LPARAM>(wParam) : lParam;
        s.limit = requested <= 0 ? (msg == EM_LIMITTEXT ? 65536 : 32767)
                                 : static_cast<LONG>(std::min<LPARAM>(requested, 0x7FFFFFFE));
        return 0;
    }
    case EM_GETEVENTMASK:
        return s.eventMask;
    case EM_SETEVENTMASK: {
        const DWORD previous = s.eventMask;
        s.eventMask = static_cast<DWORD>(lParam);
        return previous;
    }
    case EM_HIDESELECTION:
        s.selectionHidden = wParam != 0;
        InvalidateRect(s.hwnd, nullptr, TRUE);
        return 0;
    case EM_SETBKGNDCOLOR: {
        const COLORREF previous = s.Background();
        s.systemBackground = wParam != 0;
        s.background = static_cast<COLORREF>(lParam) & 0x00FFFFFFu;
        InvalidateRect(s.hwnd, nullptr, TRUE);
        return previous;
    }
    case EM_GETCHARFORMAT:
        return GetCharFormatMessage(s, wParam, reinterpret_cast<CHARFORMATA*>(lParam));
    case EM_SETCHARFORMAT:
        return SetCharFormatMessage(s, wParam, reinterpret_cast<const CHARFORMATA*>(lParam));
    case EM_GETPARAFORMAT:
        return GetParaFormatMessage(s, reinterpret_cast<PARAFORMAT*>(lParam));
    case EM_SETPARAFORMAT:
        return SetParaFormatMessage(s, reinterpret_cast<const PARAFORMAT*>(lParam));
    case EM_FINDTEXT:
    case EM_FINDTEXTEX: {
        // Both records begin with the range and the text.
        auto* find = reinterpret_cast<FINDTEXTEXA*>(lParam);
        if (find == nullptr || find->lpstrText == nullptr) {
            return -1;
        }
        const std::optional<RichRange> found =
            s.text.Find(find->lpstrText, {find->chrg.cpMin, find->chrg.cpMax}, wParam);
        if (msg == EM_FINDTEXTEX) {
            find->chrgText = found ? CHARRANGE{found->min, found->max} : CHARRANGE{-1, -1};
        }
        return found ? found->min : -1;
    }
    default:
        return DefWindowProcA(s.hwnd, msg, wParam, lParam);
    }
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

} // namespace nuvex::controls

BOOL InitRichEditClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, RICHEDIT_CLASSA, &existing) == FALSE) {
        nuvex::controls::RegisterRichEditClass();
    }
    return GetClassInfoA(nullptr, RICHEDIT_CLASSA, &existing);
}
