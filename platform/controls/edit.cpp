// The "Edit" class: single and multi-line text with selection, typing,
// clipboard, one-level undo, text limit, read-only, password and number
// styles, line queries and scrolling.
//
// This file holds the model: lines and positions, scrolling, and the
// changes to the text and the selection. The messages are a table in
// edit_messages.cpp, the keys and the mouse are in edit_input.cpp and the
// painting in edit_paint.cpp.
#include <cctype>

#include "platform/controls/edit_model.h"

namespace nuvex::controls::edit {
namespace {

// Scrolls so that the caret shows.
void ScrollToCaret(HWND hwnd, EditState& s)
{
    const RECT fr = FormatRect(hwnd, s);
    if (IsMulti(hwnd)) {
        const auto lines = SplitLines(s.text, Breaks::MultiLine);
        const int caretLine = LineIndexOf(lines, s.caret);
        const int visible = VisibleLines(hwnd, s);
        if (caretLine < s.firstLine) {
            s.firstLine = caretLine;
        } else if (caretLine >= s.firstLine + visible) {
            s.firstLine = caretLine - visible + 1;
        }
    }
    const DWORD style = StyleOf(hwnd);
    if ((style & ES_AUTOHSCROLL) == 0 && !IsMulti(hwnd)) {
        s.scrollX = 0;
        return;
    }
    const int x = PointOf(hwnd, s, s.caret).x + s.scrollX - fr.left;
    const int width = Width(fr);
    if (x < s.scrollX) {
        s.scrollX = std::max(0, x - width / 4);
    } else if (x >= s.scrollX + width) {
        s.scrollX = x - width + width / 4;
    }
    s.scrollX = std::max(0, s.scrollX);
}

void RememberForUndo(EditState& s)
{
    s.canUndo = true;
    s.undoText = s.text;
    s.undoAnchor = s.anchor;
    s.undoCaret = s.caret;
}

// Whether `candidate` still fits where the style forbids scrolling: a
// single line without ES_AUTOHSCROLL within the width, a multi-line edit
// without ES_AUTOVSCROLL within its height.
bool FitsWithoutScrolling(HWND hwnd, EditState& s, const std::string& candidate)
{
    const DWORD style = StyleOf(hwnd);
    const RECT fr = FormatRect(hwnd, s);
    if (!IsMulti(hwnd)) {
        if ((style & ES_AUTOHSCROLL) != 0) {
            return true;
        }
        const std::string shown = IsPassword(hwnd) ? std::string(candidate.size(), s.passwordChar) : candidate;
        return TextWidth(s.font, shown.data(), static_cast<int>(shown.size())) <= Width(fr);
    }
    if ((style & ES_AUTOVSCROLL) != 0) {
        return true;
    }
    return static_cast<int>(SplitLines(candidate, Breaks::MultiLine).size()) <= VisibleLines(hwnd, s);
}

} // namespace

std::vector<Line> SplitLines(const std::string& text, Breaks breaks)
{
    std::vector<Line> lines;
    if (breaks == Breaks::SingleLine) {
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

RECT FormatRect(HWND hwnd, const EditState& s)
{
    if (s.hasFormatRect) {
        return s.formatRect;
    }
    RECT rc{};
    GetClientRect(hwnd, &rc);
    rc.left += s.leftMargin;
    rc.right = std::max(rc.left, rc.right - s.rightMargin);
    if (!IsMulti(hwnd)) {
        // A single line sits vertically centred in a short control.
        const int lineHeight = MeasureFont(s.font).height;
        if (Height(rc) > lineHeight) {
            rc.top += std::min(1, (Height(rc) - lineHeight) / 2);
        }
    }
    return rc;
}

int LineHeight(const EditState& s) { return std::max(1, MeasureFont(s.font).height); }

int VisibleLines(HWND hwnd, const EditState& s)
{
    return std::max(1, Height(FormatRect(hwnd, s)) / LineHeight(s));
}

std::string Shown(HWND hwnd, const EditState& s, const Line& line)
{
    if (IsPassword(hwnd) && s.passwordChar != 0) {
        return std::string(line.length, s.passwordChar);
    }
    return s.text.substr(line.start, line.length);
}

int LineOffsetX(HWND hwnd, const EditState& s, const std::string& shown)
{
    const DWORD align = StyleOf(hwnd) & (ES_CENTER | ES_RIGHT);
    if (align == ES_LEFT) {
        return 0;
    }
    const int width = Width(FormatRect(hwnd, s));
    const int textWidth = TextWidth(s.font, shown.data(), static_cast<int>(shown.size()));
    return align == ES_CENTER ? std::max(0, (width - textWidth) / 2) : std::max(0, width - textWidth);
}

POINT PointOf(HWND hwnd, const EditState& s, size_t pos)
{
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const int index = LineIndexOf(lines, pos);
    const Line& line = lines[static_cast<size_t>(index)];
    const std::string shown = Shown(hwnd, s, line);
    const int column = static_cast<int>(std::min(pos - line.start, line.length));
    const RECT fr = FormatRect(hwnd, s);
    const int x = fr.left + LineOffsetX(hwnd, s, shown) + TextWidth(s.font, shown.data(), column) - s.scrollX;
    const int y = fr.top + (index - s.firstLine) * LineHeight(s);
    return {x, y};
}

size_t PosFromPoint(HWND hwnd, const EditState& s, POINT pt)
{
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const RECT fr = FormatRect(hwnd, s);
    int index = s.firstLine + (pt.y - fr.top) / LineHeight(s);
    if (pt.y < fr.top) {
        index = s.firstLine - 1;
    }
    index = std::clamp(index, 0, static_cast<int>(lines.size()) - 1);
    const Line& line = lines[static_cast<size_t>(index)];
    const std::string shown = Shown(hwnd, s, line);
    const int x = pt.x - fr.left - LineOffsetX(hwnd, s, shown) + s.scrollX;
    int previous = 0;
    for (size_t i = 1; i <= shown.size(); ++i) {
        const int w = TextWidth(s.font, shown.data(), static_cast<int>(i));
        if (x < (previous + w) / 2) {
            return line.start + i - 1;
        }
        previous = w;
    }
    return line.start + line.length;
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

void UpdateScrollBars(HWND hwnd, EditState& s)
{
    if (!s.verticalBar || !IsMulti(hwnd)) {
        return;
    }
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = static_cast<int>(SplitLines(s.text, Breaks::MultiLine).size()) - 1;
    si.nPage = static_cast<UINT>(VisibleLines(hwnd, s));
    si.nPos = s.firstLine;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void MoveCaret(HWND hwnd, EditState& s)
{
    ScrollToCaret(hwnd, s);
    const POINT p = PointOf(hwnd, s, s.caret);
    SetCaretPos(p.x, p.y);
    UpdateScrollBars(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void NotifyChanged(HWND hwnd, EditState& s)
{
    NotifyCommand(hwnd, EN_UPDATE);
    MoveCaret(hwnd, s);
    NotifyCommand(hwnd, EN_CHANGE);
}

bool ReplaceSelection(HWND hwnd, EditState& s, std::string insert, Origin origin, Undoable undoable, Typed typed)
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
    const size_t kept = s.text.size() - (end - start);
    const size_t room = kept >= s.limit ? 0 : s.limit - kept;
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
    std::string candidate = s.text;
    candidate.replace(start, end - start, insert);
    if (origin == Origin::Person && !insert.empty() && !FitsWithoutScrolling(hwnd, s, candidate)) {
        NotifyCommand(hwnd, EN_MAXTEXT);
        return false;
    }
    const bool typing = typed == Typed::Yes;
    if (undoable == Undoable::Yes && !(typing && s.typingRun)) {
        RememberForUndo(s);
    }
    s.typingRun = typing;
    s.text = std::move(candidate);
    s.caret = s.anchor = start + insert.size();
    s.modified = true;
    NotifyChanged(hwnd, s);
    if (truncated) {
        NotifyCommand(hwnd, EN_MAXTEXT);
    }
    return true;
}

void Delete(HWND hwnd, EditState& s, Direction direction)
{
    if (IsReadOnly(hwnd)) {
        return;
    }
    if (s.anchor == s.caret) {
        const size_t other =
            direction == Direction::Forward ? NextBoundary(s.text, s.caret) : PreviousBoundary(s.text, s.caret);
        if (other == s.caret) {
            return;
        }
        s.anchor = other;
    }
    ReplaceSelection(hwnd, s, "", Origin::Person, Undoable::Yes, Typed::No);
}

void Copy(HWND hwnd, EditState& s)
{
    if (IsPassword(hwnd) || s.anchor == s.caret) {
        return;
    }
    ClipboardSetText(std::string_view(s.text).substr(SelStart(s), SelEnd(s) - SelStart(s)));
}

void Paste(HWND hwnd, EditState& s)
{
    if (auto text = ClipboardGetText()) {
        ReplaceSelection(hwnd, s, *text, Origin::Person, Undoable::Yes, Typed::No);
    }
}

bool Undo(HWND hwnd, EditState& s)
{
    if (!s.canUndo) {
        return false;
    }
    std::swap(s.text, s.undoText);
    std::swap(s.anchor, s.undoAnchor);
    std::swap(s.caret, s.undoCaret);
    s.anchor = std::min(s.anchor, s.text.size());
    s.caret = std::min(s.caret, s.text.size());
    s.typingRun = false;
    s.modified = true;
    NotifyChanged(hwnd, s);
    return true;
}

void SetSelection(HWND hwnd, EditState& s, size_t anchor, size_t caret)
{
    s.anchor = std::min(anchor, s.text.size());
    s.caret = std::min(caret, s.text.size());
    s.typingRun = false;
    MoveCaret(hwnd, s);
}

} // namespace nuvex::controls::edit
