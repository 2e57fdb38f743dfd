// The "Edit" class: single and multi-line text with selection, typing,
// clipboard, one-level undo, text limit, read-only, password and number
// styles, line queries and scrolling. Lines end with "\r\n" (a lone "\n"
// ends one too); a multi-line edit breaks lines only there.
#include "platform/controls/control_support.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace nuvex::controls {
namespace {

constexpr int kDefaultMargin = 2;

struct Line {
    size_t start = 0;
    size_t length = 0; // without the line break
};

struct EditState {
    std::string text;
    size_t anchor = 0;
    size_t caret = 0;
    UINT limit = kEditDefaultLimit;
    bool modified = false;
    bool focused = false;
    HFONT font = nullptr;
    char passwordChar = '*';
    int leftMargin = kDefaultMargin;
    int rightMargin = kDefaultMargin;
    bool hasFormatRect = false;
    RECT formatRect{};
    int firstLine = 0; // multi-line: the top line shown
    int scrollX = 0;   // pixels scrolled to the left
    // One level of undo: the text and selection before the last change
    // (undoing swaps them, so a second undo redoes).
    bool canUndo = false;
    std::string undoText;
    size_t undoAnchor = 0;
    size_t undoCaret = 0;
    bool typingRun = false; // consecutive typed characters undo as one
    bool verticalBar = false; // made with WS_VSCROLL: the bar comes and goes with the need
};

bool IsMulti(HWND hwnd) { return (StyleOf(hwnd) & ES_MULTILINE) != 0; }
bool IsReadOnly(HWND hwnd) { return (StyleOf(hwnd) & ES_READONLY) != 0; }
bool IsPassword(HWND hwnd) { return !IsMulti(hwnd) && (StyleOf(hwnd) & ES_PASSWORD) != 0; }
size_t SelStart(const EditState* s) { return std::min(s->anchor, s->caret); }
size_t SelEnd(const EditState* s) { return std::max(s->anchor, s->caret); }

std::vector<Line> SplitLines(const std::string& text, bool multi)
{
    std::vector<Line> lines;
    if (!multi) {
        lines.push_back({0, text.size()});
        return lines;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back({start, i - start});
            start = i + 2;
            ++i;
        } else if (text[i] == '\n') {
            lines.push_back({start, i - start});
            start = i + 1;
        }
    }
    lines.push_back({start, text.size() - start});
    return lines;
}

int LineIndexOf(const std::vector<Line>& lines, size_t pos)
{
    for (size_t i = lines.size(); i-- > 0;) {
        if (pos >= lines[i].start) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

RECT FormatRect(HWND hwnd, const EditState* s)
{
    if (s->hasFormatRect) {
        return s->formatRect;
    }
    RECT rc{};
    GetClientRect(hwnd, &rc);
    rc.left += s->leftMargin;
    rc.right = std::max(rc.left, rc.right - s->rightMargin);
    if (!IsMulti(hwnd)) {
        // A single line sits vertically centred in a short control.
        const int lineHeight = MeasureFont(s->font).height;
        if (Height(rc) > lineHeight) {
            rc.top += std::min(1, (Height(rc) - lineHeight) / 2);
        }
    }
    return rc;
}

int LineHeight(const EditState* s) { return std::max(1, MeasureFont(s->font).height); }

int VisibleLines(HWND hwnd, const EditState* s)
{
    return std::max(1, Height(FormatRect(hwnd, s)) / LineHeight(s));
}

// The text as shown: password characters in place of the text.
std::string Shown(HWND hwnd, const EditState* s, const Line& line)
{
    if (IsPassword(hwnd) && s->passwordChar != 0) {
        return std::string(line.length, s->passwordChar);
    }
    return s->text.substr(line.start, line.length);
}

int LineOffsetX(HWND hwnd, const EditState* s, const std::string& shown)
{
    const DWORD align = StyleOf(hwnd) & (ES_CENTER | ES_RIGHT);
    if (align == ES_LEFT) {
        return 0;
    }
    const int width = Width(FormatRect(hwnd, s));
    const int textWidth = TextWidth(s->font, shown.data(), static_cast<int>(shown.size()));
    return align == ES_CENTER ? std::max(0, (width - textWidth) / 2) : std::max(0, width - textWidth);
}

// Client position of the character boundary `pos`.
POINT PointOf(HWND hwnd, const EditState* s, size_t pos)
{
    const auto lines = SplitLines(s->text, IsMulti(hwnd));
    const int index = LineIndexOf(lines, pos);
    const Line& line = lines[static_cast<size_t>(index)];
    const std::string shown = Shown(hwnd, s, line);
    const int column = static_cast<int>(std::min(pos - line.start, line.length));
    const RECT fr = FormatRect(hwnd, s);
    const int x = fr.left + LineOffsetX(hwnd, s, shown) + TextWidth(s->font, shown.data(), column) - s->scrollX;
    const int y = fr.top + (index - s->firstLine) * LineHeight(s);
    return {x, y};
}

// The character boundary nearest to the client point `pt`.
size_t PosFromPoint(HWND hwnd, const EditState* s, POINT pt)
{
    const auto lines = SplitLines(s->text, IsMulti(hwnd));
    const RECT fr = FormatRect(hwnd, s);
    int index = s->firstLine + (pt.y - fr.top) / LineHeight(s);
    if (pt.y < fr.top) {
        index = s->firstLine - 1;
    }
    index = std::clamp(index, 0, static_cast<int>(lines.size()) - 1);
    const Line& line = lines[static_cast<size_t>(index)];
    const std::string shown = Shown(hwnd, s, line);
    const int x = pt.x - fr.left - LineOffsetX(hwnd, s, shown) + s->scrollX;
    int previous = 0;
    for (size_t i = 1; i <= shown.size(); ++i) {
        const int w = TextWidth(s->font, shown.data(), static_cast<int>(i));
        if (x < (previous + w) / 2) {
            return line.start + i - 1;
        }
        previous = w;
    }
    return line.start + line.length;
}

// Scrolls so that the caret shows.
void ScrollToCaret(HWND hwnd, EditState* s)
{
    const RECT fr = FormatRect(hwnd, s);
    if (IsMulti(hwnd)) {
        const auto lines = SplitLines(s->text, true);
        const int caretLine = LineIndexOf(lines, s->caret);
        const int visible = VisibleLines(hwnd, s);
        if (caretLine < s->firstLine) {
            s->firstLine = caretLine;
        } else if (caretLine >= s->firstLine + visible) {
            s->firstLine = caretLine - visible + 1;
        }
    }
    const DWORD style = StyleOf(hwnd);
    if ((style & ES_AUTOHSCROLL) == 0 && !IsMulti(hwnd)) {
        s->scrollX = 0;
        return;
    }
    const int x = PointOf(hwnd, s, s->caret).x + s->scrollX - fr.left;
    const int width = Width(fr);
    if (x < s->scrollX) {
        s->scrollX = std::max(0, x - width / 4);
    } else if (x >= s->scrollX + width) {
        s->scrollX = x - width + width / 4;
    }
    s->scrollX = std::max(0, s->scrollX);
}

void UpdateScrollBars(HWND hwnd, EditState* s)
{
    if (!s->verticalBar || !IsMulti(hwnd)) {
        return;
    }
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = static_cast<int>(SplitLines(s->text, true).size()) - 1;
    si.nPage = static_cast<UINT>(VisibleLines(hwnd, s));
    si.nPos = s->firstLine;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void MoveCaret(HWND hwnd, EditState* s)
{
    ScrollToCaret(hwnd, s);
    const POINT p = PointOf(hwnd, s, s->caret);
    SetCaretPos(p.x, p.y);
    UpdateScrollBars(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void NotifyChanged(HWND hwnd, EditState* s)
{
    NotifyCommand(hwnd, EN_UPDATE);
    MoveCaret(hwnd, s);
    NotifyCommand(hwnd, EN_CHANGE);
}

void RememberForUndo(EditState* s)
{
    s->canUndo = true;
    s->undoText = s->text;
    s->undoAnchor = s->anchor;
    s->undoCaret = s->caret;
}

enum class Origin { Person, Program };

// Whether `candidate` still fits where the style forbids scrolling: a
// single line without ES_AUTOHSCROLL within the width, a multi-line edit
// without ES_AUTOVSCROLL within its height.
bool FitsWithoutScrolling(HWND hwnd, EditState* s, const std::string& candidate)
{
    const DWORD style = StyleOf(hwnd);
    const RECT fr = FormatRect(hwnd, s);
    if (!IsMulti(hwnd)) {
        if ((style & ES_AUTOHSCROLL) != 0) {
            return true;
        }
        const std::string shown = IsPassword(hwnd) ? std::string(candidate.size(), s->passwordChar) : candidate;
        return TextWidth(s->font, shown.data(), static_cast<int>(shown.size())) <= Width(fr);
    }
    if ((style & ES_AUTOVSCROLL) != 0) {
        return true;
    }
    return static_cast<int>(SplitLines(candidate, true).size()) <= VisibleLines(hwnd, s);
}

// Replaces the selection with `insert`. A person's change respects the
// read-only style and the room the style leaves; every change respects the
// text limit, cutting what does not fit and telling the parent EN_MAXTEXT.
// Answers whether the text changed.
bool ReplaceSelection(HWND hwnd, EditState* s, std::string insert, Origin origin, bool canUndo, bool typing)
{
    if (origin == Origin::Person && IsReadOnly(hwnd)) {
        return false;
    }
    const DWORD style = StyleOf(hwnd);
    if (!IsMulti(hwnd)) {
        const size_t cut = insert.find_first_of("\r\n");
        if (cut != std::string::npos) {
            insert.resize(cut);
        }
    }
    if ((style & ES_UPPERCASE) != 0) {
        for (char& c : insert) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    } else if ((style & ES_LOWERCASE) != 0) {
        for (char& c : insert) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    const size_t start = SelStart(s);
    const size_t end = SelEnd(s);
    const size_t kept = s->text.size() - (end - start);
    const size_t room = kept >= s->limit ? 0 : s->limit - kept;
    bool truncated = false;
    if (insert.size() > room) {
        insert.resize(room);
        // Never split a line break.
        if (!insert.empty() && insert.back() == '\r') {
            insert.pop_back();
        }
        truncated = true;
    }
    if (insert.empty() && start == end) {
        if (truncated) {
            NotifyCommand(hwnd, EN_MAXTEXT);
        }
        return false;
    }
    std::string candidate = s->text;
    candidate.replace(start, end - start, insert);
    if (origin == Origin::Person && !insert.empty() && !FitsWithoutScrolling(hwnd, s, candidate)) {
        NotifyCommand(hwnd, EN_MAXTEXT);
        return false;
    }
    if (canUndo && !(typing && s->typingRun)) {
        RememberForUndo(s);
    }
    s->typingRun = typing;
    s->text = std::move(candidate);
    s->caret = s->anchor = start + insert.size();
    s->modified = true;
    NotifyChanged(hwnd, s);
    if (truncated) {
        NotifyCommand(hwnd, EN_MAXTEXT);
    }
    return true;
}

size_t PreviousBoundary(const std::string& text, size_t pos)
{
    if (pos == 0) {
        return 0;
    }
    if (pos >= 2 && text[pos - 2] == '\r' && text[pos - 1] == '\n') {
        return pos - 2;
    }
    return pos - 1;
}

size_t NextBoundary(const std::string& text, size_t pos)
{
    if (pos >= text.size()) {
        return text.size();
    }
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
        return pos + 2;
    }
    return pos + 1;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

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

void Delete(HWND hwnd, EditState* s, bool forward)
{
    if (IsReadOnly(hwnd)) {
        return;
    }
    if (s->anchor == s->caret) {
        const size_t other = forward ? NextBoundary(s->text, s->caret) : PreviousBoundary(s->text, s->caret);
        if (other == s->caret) {
            return;
        }
        s->anchor = other;
    }
    ReplaceSelection(hwnd, s, "", Origin::Person, true, false);
}

void Copy(HWND hwnd, EditState* s)
{
    if (IsPassword(hwnd) || s->anchor == s->caret) {
        return;
    }
    ClipboardSetText(std::string_view(s->text).substr(SelStart(s), SelEnd(s) - SelStart(s)));
}

void Paste(HWND hwnd, EditState* s)
{
    if (auto text = ClipboardGetText()) {
        ReplaceSelection(hwnd, s, *text, Origin::Person, true, false);
    }
}

bool Undo(HWND hwnd, EditState* s)
{
    if (!s->canUndo) {
        return false;
    }
    std::swap(s->text, s->undoText);
    std::swap(s->anchor, s->undoAnchor);
    std::swap(s->caret, s->undoCaret);
    s->anchor = std::min(s->anchor, s->text.size());
    s->caret = std::min(s->caret, s->text.size());
    s->typingRun = false;
    s->modified = true;
    NotifyChanged(hwnd, s);
    return true;
}

void SetSelection(HWND hwnd, EditState* s, size_t anchor, size_t caret)
{
    s->anchor = std::min(anchor, s->text.size());
    s->caret = std::min(caret, s->text.size());
    s->typingRun = false;
    MoveCaret(hwnd, s);
}

// Moves the caret for a navigation key; with Shift the anchor stays.
void Navigate(HWND hwnd, EditState* s, WPARAM key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const bool multi = IsMulti(hwnd);
    const auto lines = SplitLines(s->text, multi);
    const int lineIndex = LineIndexOf(lines, s->caret);
    const Line& line = lines[static_cast<size_t>(lineIndex)];
    size_t target = s->caret;
    switch (key) {
    case VK_LEFT:
        if (!shift && s->anchor != s->caret) {
            target = SelStart(s);
        } else {
            target = control ? PreviousWord(s->text, s->caret) : PreviousBoundary(s->text, s->caret);
        }
        break;
    case VK_RIGHT:
        if (!shift && s->anchor != s->caret) {
            target = SelEnd(s);
        } else {
            target = control ? NextWord(s->text, s->caret) : NextBoundary(s->text, s->caret);
        }
        break;
    case VK_HOME: target = control ? 0 : line.start; break;
    case VK_END: target = control ? s->text.size() : line.start + line.length; break;
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
        POINT p = PointOf(hwnd, s, s->caret);
        p.y += (wanted - lineIndex) * LineHeight(s);
        const int saveFirst = s->firstLine;
        target = PosFromPoint(hwnd, s, p);
        s->firstLine = saveFirst;
        if (LineIndexOf(lines, target) != wanted) {
            target = lines[static_cast<size_t>(wanted)].start;
        }
        break;
    }
    default: return;
    }
    SetSelection(hwnd, s, shift ? s->anchor : target, target);
}

void Paint(HWND hwnd, EditState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s->font));
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = ControlColors(hwnd, dc, (IsReadOnly(hwnd) || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &rc, background);
    const COLORREF textColor = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    const RECT fr = FormatRect(hwnd, s);
    IntersectClipRect(dc, fr.left, fr.top, fr.right, fr.bottom);
    SetBkMode(dc, TRANSPARENT);
    const bool showSelection = (s->focused || (StyleOf(hwnd) & ES_NOHIDESEL) != 0) && s->anchor != s->caret;
    const auto lines = SplitLines(s->text, IsMulti(hwnd));
    const int lineHeight = LineHeight(s);
    const int visible = VisibleLines(hwnd, s) + 1;
    for (int i = s->firstLine; i < static_cast<int>(lines.size()) && i < s->firstLine + visible; ++i) {
        const Line& line = lines[static_cast<size_t>(i)];
        const std::string shown = Shown(hwnd, s, line);
        const int x0 = fr.left + LineOffsetX(hwnd, s, shown) - s->scrollX;
        const int y = fr.top + (i - s->firstLine) * lineHeight;
        size_t a = line.length;
        size_t b = line.length;
        if (showSelection) {
            a = std::clamp(SelStart(s), line.start, line.start + line.length) - line.start;
            b = std::clamp(SelEnd(s), line.start, line.start + line.length) - line.start;
        }
        SetTextColor(dc, textColor);
        TextOutA(dc, x0, y, shown.data(), static_cast<int>(shown.size()));
        if (b > a) {
            const int xa = x0 + TextWidth(s->font, shown.data(), static_cast<int>(a));
            const int xb = x0 + TextWidth(s->font, shown.data(), static_cast<int>(b));
            RECT sel{xa, y, xb, y + lineHeight};
            FillSolidRect(dc, &sel, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            TextOutA(dc, xa, y, shown.data() + a, static_cast<int>(b - a));
        }
    }
    if (s->focused) {
        const POINT p = PointOf(hwnd, s, s->caret);
        RECT caret{p.x, p.y, p.x + 1, p.y + lineHeight};
        FillSolidRect(dc, &caret, textColor);
    }
}

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

LRESULT OnChar(HWND hwnd, EditState* s, WPARAM wParam)
{
    const auto ch = static_cast<unsigned char>(wParam & 0xFF);
    switch (ch) {
    case 0x01: SetSelection(hwnd, s, 0, s->text.size()); return 0;           // Ctrl+A
    case 0x03: Copy(hwnd, s); return 0;                                       // Ctrl+C
    case 0x16: Paste(hwnd, s); return 0;                                      // Ctrl+V
    case 0x18: SendMessageA(hwnd, WM_CUT, 0, 0); return 0;                    // Ctrl+X
    case 0x1A: Undo(hwnd, s); return 0;                                       // Ctrl+Z
    case 0x08: Delete(hwnd, s, false); return 0;                              // Backspace
    case '\r':
        if (IsMulti(hwnd)) {
            ReplaceSelection(hwnd, s, "\r\n", Origin::Person, true, false);
        }
        return 0;
    case '\t':
        if (IsMulti(hwnd)) {
            ReplaceSelection(hwnd, s, "\t", Origin::Person, true, true);
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
    ReplaceSelection(hwnd, s, std::string(1, static_cast<char>(ch)), Origin::Person, true, true);
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, EditState* s, WPARAM key)
{
    switch (key) {
    case VK_DELETE:
        if (KeyDown(VK_SHIFT)) {
            SendMessageA(hwnd, WM_CUT, 0, 0);
        } else {
            Delete(hwnd, s, true);
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

// The line index for the line queries: -1 means the caret's line.
int LineArgument(WPARAM wParam, const std::vector<Line>& lines, const EditState* s)
{
    const auto index = static_cast<intptr_t>(wParam);
    if (index < 0) {
        return LineIndexOf(lines, s->caret);
    }
    return index >= static_cast<intptr_t>(lines.size()) ? -1 : static_cast<int>(index);
}

LRESULT OnEditMessage(HWND hwnd, EditState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const bool multi = IsMulti(hwnd);
    switch (msg) {
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(SelStart(s));
        const auto end = static_cast<DWORD>(SelEnd(s));
        if (wParam != 0) {
            *reinterpret_cast<DWORD*>(wParam) = start;
        }
        if (lParam != 0) {
            *reinterpret_cast<DWORD*>(lParam) = end;
        }
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<DWORD>(start, 0xFFFF)),
                                             static_cast<WORD>(std::min<DWORD>(end, 0xFFFF))));
    }
    case EM_SETSEL: {
        const auto start = static_cast<intptr_t>(static_cast<int32_t>(wParam));
        const auto end = static_cast<intptr_t>(static_cast<int32_t>(lParam));
        if (start < 0) {
            SetSelection(hwnd, s, s->caret, s->caret);
            return 0;
        }
        const size_t size = s->text.size();
        const size_t a = std::min(static_cast<size_t>(start), size);
        const size_t b = end < 0 ? size : std::min(static_cast<size_t>(end), size);
        SetSelection(hwnd, s, a, b);
        return 0;
    }
    case EM_REPLACESEL:
        ReplaceSelection(hwnd, s, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "", Origin::Program,
                         wParam != 0, false);
        return 0;
    case EM_GETLINECOUNT: return multi ? static_cast<LRESULT>(SplitLines(s->text, true).size()) : 1;
    case EM_LINEINDEX: {
        const auto lines = SplitLines(s->text, multi);
        const int line = LineArgument(wParam, lines, s);
        return line < 0 ? -1 : static_cast<LRESULT>(lines[static_cast<size_t>(line)].start);
    }
    case EM_LINEFROMCHAR: {
        const auto lines = SplitLines(s->text, multi);
        const auto index = static_cast<intptr_t>(wParam);
        const size_t pos = index < 0 ? SelStart(s) : std::min(static_cast<size_t>(index), s->text.size());
        return LineIndexOf(lines, pos);
    }
    case EM_LINELENGTH: {
        const auto lines = SplitLines(s->text, multi);
        const auto index = static_cast<intptr_t>(wParam);
        if (index < 0) {
            // The characters of the selection's lines that are not selected.
            const Line& first = lines[static_cast<size_t>(LineIndexOf(lines, SelStart(s)))];
            const Line& last = lines[static_cast<size_t>(LineIndexOf(lines, SelEnd(s)))];
            return static_cast<LRESULT>((SelStart(s) - first.start) + (last.start + last.length - SelEnd(s)));
        }
        if (static_cast<size_t>(index) > s->text.size()) {
            return 0;
        }
        return static_cast<LRESULT>(lines[static_cast<size_t>(LineIndexOf(lines, static_cast<size_t>(index)))].length);
    }
    case EM_GETLINE: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr) {
            return 0;
        }
        WORD size = 0;
        std::memcpy(&size, buffer, sizeof(size));
        const auto lines = SplitLines(s->text, multi);
        const size_t index = multi ? static_cast<size_t>(wParam) : 0;
        if (index >= lines.size()) {
            return 0;
        }
        const Line& line = lines[index];
        const size_t n = std::min<size_t>(line.length, size);
        std::memcpy(buffer, s->text.data() + line.start, n);
        return static_cast<LRESULT>(n);
    }
    case EM_GETFIRSTVISIBLELINE:
        if (multi) {
            return s->firstLine;
        }
        return static_cast<LRESULT>(PosFromPoint(hwnd, s, {FormatRect(hwnd, s).left, FormatRect(hwnd, s).top}));
    case EM_LINESCROLL: {
        if (!multi) {
            return FALSE;
        }
        const int count = static_cast<int>(SplitLines(s->text, true).size());
        s->firstLine = std::clamp(s->firstLine + static_cast<int>(lParam), 0, count - 1);
        s->scrollX = std::max(0, s->scrollX + static_cast<int>(static_cast<intptr_t>(wParam)) *
                                                  MeasureFont(s->font).averageWidth);
        UpdateScrollBars(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_SCROLL: {
        if (!multi) {
            return FALSE;
        }
        const int count = static_cast<int>(SplitLines(s->text, true).size());
        const int page = VisibleLines(hwnd, s);
        int delta = 0;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: delta = -1; break;
        case SB_LINEDOWN: delta = 1; break;
        case SB_PAGEUP: delta = -page; break;
        case SB_PAGEDOWN: delta = page; break;
        default: return FALSE;
        }
        const int before = s->firstLine;
        s->firstLine = std::clamp(s->firstLine + delta, 0, std::max(0, count - 1));
        UpdateScrollBars(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return MAKELRESULT(static_cast<WORD>(s->firstLine - before), TRUE);
    }
    case EM_SCROLLCARET: MoveCaret(hwnd, s); return TRUE;
    case EM_LIMITTEXT: s->limit = wParam == 0 ? kEditDefaultLimit : static_cast<UINT>(std::min<WPARAM>(wParam, kEditDefaultLimit)); return 0;
    case EM_GETLIMITTEXT: return s->limit;
    case EM_GETMODIFY: return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY: s->modified = wParam != 0; return 0;
    case EM_CANUNDO: return s->canUndo ? TRUE : FALSE;
    case EM_UNDO: return Undo(hwnd, s) ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        s->canUndo = false;
        s->undoText.clear();
        s->typingRun = false;
        return 0;
    case EM_SETREADONLY: {
        const DWORD style = StyleOf(hwnd);
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wParam != 0 ? style | ES_READONLY : style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
        if (multi) {
            return 0;
        }
        s->passwordChar = static_cast<char>(wParam & 0xFF);
        const DWORD style = StyleOf(hwnd);
        SetWindowLongPtrA(hwnd, GWL_STYLE,
                          static_cast<LONG_PTR>(s->passwordChar != 0 ? style | ES_PASSWORD : style & ~ES_PASSWORD));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case EM_GETPASSWORDCHAR: return IsPassword(hwnd) ? static_cast<unsigned char>(s->passwordChar) : 0;
    case EM_GETRECT:
        if (lParam != 0) {
            *reinterpret_cast<RECT*>(lParam) = FormatRect(hwnd, s);
        }
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        s->hasFormatRect = lParam != 0;
        if (lParam != 0) {
            s->formatRect = *reinterpret_cast<const RECT*>(lParam);
        }
        if (msg == EM_SETRECT) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case EM_SETMARGINS:
        if ((wParam & EC_LEFTMARGIN) != 0) {
            s->leftMargin = LOWORD(lParam);
        }
        if ((wParam & EC_RIGHTMARGIN) != 0) {
            s->rightMargin = HIWORD(lParam);
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case EM_GETMARGINS: return MAKELRESULT(static_cast<WORD>(s->leftMargin), static_cast<WORD>(s->rightMargin));
    case EM_POSFROMCHAR: {
        if (wParam > s->text.size()) {
            return -1;
        }
        const POINT p = PointOf(hwnd, s, wParam);
        return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(lParam));
        const int line = LineIndexOf(SplitLines(s->text, multi), pos);
        return MAKELRESULT(static_cast<WORD>(std::min<size_t>(pos, 0xFFFF)), static_cast<WORD>(line));
    }
    default: return 0;
    }
}

LRESULT HandleEdit(HWND hwnd, EditState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditState* s = &state;
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !UserIsIntName(cs->lpszName)) {
            s->text = cs->lpszName;
        }
        s->verticalBar = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
        if ((static_cast<DWORD>(cs != nullptr ? cs->style : 0) & ES_MULTILINE) == 0) {
            const size_t cut = s->text.find_first_of("\r\n");
            if (cut != std::string::npos) {
                s->text.resize(cut);
            }
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg >= EM_GETSEL && msg <= EM_CHARFROMPOS) {
        return OnEditMessage(hwnd, s, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_SIZE: MoveCaret(hwnd, s); return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (s->focused) {
            CreateCaret(hwnd, nullptr, 1, LineHeight(s));
            ShowCaret(hwnd);
        }
        MoveCaret(hwnd, s);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        s->text = text != nullptr ? text : "";
        if (!IsMulti(hwnd)) {
            const size_t cut = s->text.find_first_of("\r\n");
            if (cut != std::string::npos) {
                s->text.resize(cut);
            }
        }
        s->anchor = s->caret = 0;
        s->firstLine = 0;
        s->scrollX = 0;
        s->modified = false;
        s->canUndo = false;
        s->typingRun = false;
        NotifyChanged(hwnd, s);
        return TRUE;
    }
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0) {
            return 0;
        }
        const size_t n = std::min(s->text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(buffer, s->text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(s->text.size());
    case WM_GETDLGCODE: return GetDialogCode(hwnd, lParam);
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
        s->focused = true;
        CreateCaret(hwnd, nullptr, 1, LineHeight(s));
        ShowCaret(hwnd);
        MoveCaret(hwnd, s);
        NotifyCommand(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->typingRun = false;
        DestroyCaret();
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifyCommand(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_CHAR: return OnChar(hwnd, s, wParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, s, wParam);
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd) {
            SetFocus(hwnd);
        }
        const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(lParam));
        SetSelection(hwnd, s, (wParam & MK_SHIFT) != 0 ? s->anchor : pos, pos);
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) {
            SetSelection(hwnd, s, s->anchor, PosFromPoint(hwnd, s, PointFromLParam(lParam)));
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        const size_t pos = PosFromPoint(hwnd, s, PointFromLParam(lParam));
        size_t a = pos;
        size_t b = pos;
        while (a > 0 && IsWordChar(s->text[a - 1])) {
            --a;
        }
        while (b < s->text.size() && IsWordChar(s->text[b])) {
            ++b;
        }
        SetSelection(hwnd, s, a, b);
        return 0;
    }
    case WM_VSCROLL:
        if (IsMulti(hwnd)) {
            const WORD code = LOWORD(wParam);
            if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
                const int count = static_cast<int>(SplitLines(s->text, true).size());
                s->firstLine = std::clamp(static_cast<int>(static_cast<SHORT>(HIWORD(wParam))), 0, count - 1);
                UpdateScrollBars(hwnd, s);
                InvalidateRect(hwnd, nullptr, TRUE);
            } else if (code <= SB_PAGEDOWN) {
                OnEditMessage(hwnd, s, EM_SCROLL, code, 0);
            }
        }
        return 0;
    case WM_CUT:
        if (!IsPassword(hwnd) && !IsReadOnly(hwnd) && s->anchor != s->caret) {
            Copy(hwnd, s);
            ReplaceSelection(hwnd, s, "", Origin::Person, true, false);
        }
        return 0;
    case WM_COPY: Copy(hwnd, s); return 0;
    case WM_PASTE:
        if (!IsReadOnly(hwnd)) {
            Paste(hwnd, s);
        }
        return 0;
    case WM_CLEAR:
        if (!IsReadOnly(hwnd) && s->anchor != s->caret) {
            ReplaceSelection(hwnd, s, "", Origin::Person, true, false);
        }
        return 0;
    case WM_UNDO: return Undo(hwnd, s) ? TRUE : FALSE;
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterEditClass() { RegisterControlClass("Edit", StatefulProc<EditState, HandleEdit>, CS_DBLCLKS, IDC_IBEAM); }

} // namespace nuvex::controls
