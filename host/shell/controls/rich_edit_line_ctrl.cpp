// The rich-edit line control's books: which rows each line holds, kept in
// step with the text as the user types (Enter, Backspace and Delete at line
// boundaries, and the change handler for everything else), and the events
// that report each change.
#include "host/shell/controls/rich_edit_line_ctrl.h"

#include <algorithm>

#include "platform/controls/richedit.h"
#include "platform/user/keyboard.h"

namespace {

// Where a row lies in the lines: the line's index and the row's offset in
// it. A row past every line counts as lying in the last line.
struct RowPlace {
    int32_t index = -1;
    LONG offset = 0;
};

} // namespace

CRichEditLineCtrl::CRichEditLineCtrl(IRichEditLineEvents* events) : m_events(events), m_object(this, *this) {}

CRichEditLineCtrl::~CRichEditLineCtrl() { m_object.Detach(); }

// Books --------------------------------------------------------------------------------------

int32_t CRichEditLineCtrl::FindLineById(LONG id) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].id == id) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

LONG CRichEditLineCtrl::GetLineOffset(LONG line, LineBy by) const
{
    const int32_t index = by == LineBy::Id ? FindLineById(line) : static_cast<int32_t>(line);
    if (index < 0 || static_cast<size_t>(index) > m_lines.size()) {
        return -1;
    }
    LONG rows = 0;
    for (int32_t i = 0; i < index; ++i) {
        rows += m_lines[static_cast<size_t>(i)].rows;
    }
    return rows;
}

bool CRichEditLineCtrl::LineFromRow(LONG row, LONG* id, LONG* offset) const
{
    row = std::max<LONG>(row, 0);
    LONG first = 0;
    for (const LineEntry& line : m_lines) {
        if (row < first + line.rows) {
            if (id != nullptr) {
                *id = line.id;
            }
            if (offset != nullptr) {
                *offset = row - first;
            }
            return true;
        }
        first += line.rows;
    }
    return false;
}

namespace {

RowPlace PlaceOfRow(const std::vector<LineEntry>& lines, LONG row)
{
    row = std::max<LONG>(row, 0);
    LONG first = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (row < first + lines[i].rows) {
            return {static_cast<int32_t>(i), row - first};
        }
        first += lines[i].rows;
    }
    if (lines.empty()) {
        return {};
    }
    // Rows past the books belong to the last line.
    return {static_cast<int32_t>(lines.size()) - 1, row - (first - lines.back().rows)};
}

} // namespace

LONG CRichEditLineCtrl::EditorRowCount() const { return static_cast<LONG>(SendMessage(EM_GETLINECOUNT)); }

void CRichEditLineCtrl::RefreshSnapshot(bool recount)
{
    m_previous = m_current;
    CHARRANGE selection{};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    m_current.start = selection.cpMin;
    m_current.end = selection.cpMax;
    m_current.startRow = static_cast<LONG>(SendMessage(EM_EXLINEFROMCHAR, 0, selection.cpMin));
    m_current.endRow = static_cast<LONG>(SendMessage(EM_EXLINEFROMCHAR, 0, selection.cpMax));
    m_current.startRowIndex = static_cast<LONG>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(m_current.startRow)));
    m_current.startRowLength = static_cast<LONG>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(m_current.startRowIndex)));
    const LONG now = EditorRowCount();
    if (!recount || m_lines.empty()) {
        m_rowCount = now;
        return;
    }
    // The change happened at the previous selection's end row e: fewer rows
    // come out of the lines from e's line back to row e - removed, more go
    // into e's line.
    const LONG stored = m_rowCount;
    const LONG endRow = m_previous.endRow;
    const RowPlace end = PlaceOfRow(m_lines, endRow);
    if (now < stored) {
        const RowPlace reach = PlaceOfRow(m_lines, endRow - (stored - now));
        if (reach.index == end.index) {
            LineAt(reach.index).rows = std::max<LONG>(LineAt(reach.index).rows - (stored - now), 0);
        } else {
            LineEntry& first = LineAt(reach.index);
            first.rows -= std::max<LONG>(first.rows - reach.offset - 1, 0);
            LineAt(end.index).rows = std::max<LONG>(LineAt(end.index).rows - (end.offset + 1), 0);
            for (int32_t i = reach.index + 1; i < end.index; ++i) {
                LineAt(i).rows = 0;
            }
        }
    } else {
        LineAt(end.index).rows += now - stored;
    }
    m_rowCount = now;
}

LONG CRichEditLineCtrl::InsertLineAfter(int32_t index, LONG flags)
{
    LineEntry line;
    line.flags = flags;
    line.id = m_nextId++;
    const auto at = std::min<size_t>(static_cast<size_t>(index + 1), m_lines.size());
    m_lines.insert(m_lines.begin() + static_cast<ptrdiff_t>(at), line);
    return line.id;
}

// Suspended replacement -----------------------------------------------------------------------

void CRichEditLineCtrl::ReplaceSuspended(LONG start, LONG end, const char* text, BOOL canUndo)
{
    const DWORD mask = GetEventMask();
    SetEventMask(0);
    HideSelection(TRUE, FALSE);
    CHARRANGE kept{};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    const LONG before = GetTextLength();
    SetSel(start, end);
    ReplaceSel(text != nullptr ? text : "", canUndo);
    const LONG shift = GetTextLength() - before;
    // A selection behind the change moves with it; one inside it goes to
    // the change's start.
    auto moved = [&](LONG position) {
        if (position >= end) {
            return position + shift;
        }
        return position > start ? start : position;
    };
    SetSel(moved(kept.cpMin), moved(kept.cpMax));
    HideSelection(FALSE, FALSE);
    SetEventMask(mask);
}

// Keys ---------------------------------------------------------------------------------------

bool CRichEditLineCtrl::BooksApply()
{
    return !m_lines.empty() && m_current.start == m_current.end && m_events != nullptr &&
           m_events->HasActiveDocument();
}

void CRichEditLineCtrl::ProcessWithSwitchOff(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_notifySwitch = false;
    CRichEditCtrl::WindowProc(message, wParam, lParam);
    m_notifySwitch = true;
}

void CRichEditLineCtrl::Fire11(const std::vector<LineRowChange>& changes)
{
    if (m_events != nullptr && !changes.empty()) {
        m_events->RowsChanged(changes);
    }
}

void CRichEditLineCtrl::ClearProtection(LONG start, LONG count)
{
    const DWORD mask = GetEventMask();
    SetEventMask(0);
    CHARRANGE kept{};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SetSel(start, start + count);
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    format.dwEffects = 0;
    SetSelectionCharFormat(format);
    SetSel(kept);
    SetEventMask(mask);
}

bool CRichEditLineCtrl::IsProtected(LONG position)
{
    if (position < 0 || position >= GetTextLength()) {
        return false;
    }
    const DWORD mask = GetEventMask();
    SetEventMask(0);
    CHARRANGE kept{};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SetSel(position, position + 1);
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    GetSelectionCharFormat(format);
    SetSel(kept);
    SetEventMask(mask);
    return (format.dwEffects & CFE_PROTECTED) != 0;
}

// Enter at the start of a line's first row or at the end of its last row:
// refused by flag 0x1 / 0x2; with 0x4 / 0x8 the new row goes outside the
// line, into the neighbour unless it refuses rows from this side (0x8 /
// 0x4), else into a new line. Everywhere else the editor handles it.
bool CRichEditLineCtrl::OnEnter()
{
    if (!BooksApply()) {
        return false;
    }
    const LONG caret = m_current.start;
    const LONG row = m_current.startRow;
    const RowPlace place = PlaceOfRow(m_lines, row);
    if (place.index < 0) {
        return false;
    }
    LineEntry line = LineAt(place.index);
    const bool atStart = caret == m_current.startRowIndex;
    const bool atEnd = caret == m_current.startRowIndex + m_current.startRowLength;
    const int32_t last = static_cast<int32_t>(m_lines.size()) - 1;
    if (atStart && place.offset == 0) {
        if ((line.flags & kLineRefusesEnterAtStart) != 0) {
            return true;
        }
        if ((line.flags & kLineEnterAtStartOpensOutside) == 0) {
            return false;
        }
        if (place.index > 0 && (LineAt(place.index - 1).flags & kLineEnterAtEndOpensOutside) == 0) {
            LineEntry& before = LineAt(place.index - 1);
            const LONG oldRows = before.rows++;
            ProcessWithSwitchOff(WM_CHAR, '\r', 0);
            Fire11({{before.id, oldRows, 0, 1}});
        } else {
            const LONG id = InsertLineAfter(place.index - 1, 0);
            LineAt(place.index).rows = 1;
            ProcessWithSwitchOff(WM_CHAR, '\r', 0);
            if (m_events != nullptr) {
                m_events->LineCreated(id);
            }
            Fire11({{id, 0, 0, 1}});
        }
        ClearProtection(caret, 1);
        m_rowCount = EditorRowCount();
        RefreshSnapshot(false);
        return true;
    }
    if (atEnd && place.offset == line.rows - 1) {
        if ((line.flags & kLineRefusesEnterAtEnd) != 0) {
            return true;
        }
        if ((line.flags & kLineEnterAtEndOpensOutside) == 0) {
            return false;
        }
        if (place.index < last && (LineAt(place.index + 1).flags & kLineEnterAtStartOpensOutside) == 0) {
            LineEntry& after = LineAt(place.index + 1);
            after.rows += 1;
            ProcessWithSwitchOff(WM_CHAR, '\r', 0);
            Fire11({{after.id, 0, 0, 1}});
        } else {
            const LONG id = InsertLineAfter(place.index, 0);
            LineAt(place.index + 1).rows = 1;
            ProcessWithSwitchOff(WM_CHAR, '\r', 0);
            if (m_events != nullptr) {
                m_events->LineCreated(id);
            }
            Fire11({{id, 0, 0, 1}});
        }
        ClearProtection(caret, 2);
        m_rowCount = EditorRowCount();
        RefreshSnapshot(false);
        return true;
    }
    return false;
}

// Backspace at the start of a line that is not the first: an empty row, or
// an empty row before, goes with its line's books; joining two non-empty
// rows is refused when the caret stands on protected text.
bool CRichEditLineCtrl::OnBackspace()
{
    if (!BooksApply()) {
        return false;
    }
    const LONG caret = m_current.start;
    const LONG row = m_current.startRow;
    const RowPlace place = PlaceOfRow(m_lines, row);
    if (place.index <= 0 || place.offset != 0 || row == 0 || caret != m_current.startRowIndex) {
        return false;
    }
    if (m_current.startRowLength == 0) {
        LineEntry& line = LineAt(place.index);
        line.rows -= 1;
        Fire11({{line.id, 0, 0, -1}});
    } else if (SendMessage(EM_LINELENGTH, static_cast<WPARAM>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(row - 1)))) == 0) {
        const RowPlace before = PlaceOfRow(m_lines, row - 1);
        LineEntry& line = LineAt(before.index);
        const LONG oldRows = line.rows--;
        Fire11({{line.id, oldRows - 1, 0, -1}});
    } else {
        return IsProtected(caret);
    }
    ProcessWithSwitchOff(WM_KEYDOWN, VK_BACK, 0);
    m_rowCount = EditorRowCount();
    RefreshSnapshot(false);
    return true;
}

// Delete at the end of a line that is not the last: the mirror of
// Backspace, with the protected test two characters on.
bool CRichEditLineCtrl::OnDelete()
{
    if (!BooksApply()) {
        return false;
    }
    const LONG caret = m_current.start;
    const LONG row = m_current.startRow;
    const RowPlace place = PlaceOfRow(m_lines, row);
    const int32_t last = static_cast<int32_t>(m_lines.size()) - 1;
    if (place.index < 0 || place.index >= last || place.offset != LineAt(place.index).rows - 1 ||
        caret != m_current.startRowIndex + m_current.startRowLength) {
        return false;
    }
    if (m_current.startRowLength == 0) {
        LineEntry& line = LineAt(place.index);
        const LONG oldRows = line.rows--;
        Fire11({{line.id, oldRows - 1, 0, -1}});
    } else if (row + 1 < EditorRowCount() &&
               SendMessage(EM_LINELENGTH, static_cast<WPARAM>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(row + 1)))) == 0) {
        const RowPlace after = PlaceOfRow(m_lines, row + 1);
        LineEntry& line = LineAt(after.index);
        line.rows -= 1;
        Fire11({{line.id, 0, 0, -1}});
    } else {
        return IsProtected(caret + 2);
    }
    ProcessWithSwitchOff(WM_KEYDOWN, VK_DELETE, 0);
    m_rowCount = EditorRowCount();
    RefreshSnapshot(false);
    return true;
}

// The change handler -------------------------------------------------------------------------

// With d = rows now - rows stored, s and e the rows of the selection before
// the change (in lines i1 and i2):
// 1. No lines yet: one line takes every row (events 10 and 11).
// 2. d >= 0: lines i1..i2 changed; line i2 grows by d.
// 3. d < 0: rows r + 1..e went, r = e + d; the lines from r's line (or
//    from i1) to i2 report what they lost or had changed.
// 4. Event 7; the new row count is stored.
void CRichEditLineCtrl::OnTextChange()
{
    if (!m_notifySwitch || m_events == nullptr || !m_events->HasActiveDocument()) {
        return;
    }
    const Snapshot before = m_current;
    m_previous = before;
    const LONG now = EditorRowCount();
    const LONG d = now - m_rowCount;
    if (m_lines.empty()) {
        const LONG id = m_nextId++;
        m_lines.push_back({now, 0, id});
        m_events->LineCreated(id);
        Fire11({{id, 0, 0, now}});
        m_rowCount = now;
        RefreshSnapshot(false);
        return;
    }
    const RowPlace first = PlaceOfRow(m_lines, before.startRow);
    const RowPlace last = PlaceOfRow(m_lines, before.endRow);
    const int32_t i1 = first.index;
    const int32_t i2 = last.index;
    const LONG o1 = first.offset;
    const LONG o2 = last.offset;
    auto id = [&](int32_t i) { return LineAt(i).id; };
    auto rows = [&](int32_t i) { return LineAt(i).rows; };
    std::vector<LineRowChange> changes;
    if (d >= 0) {
        if (i1 == i2) {
            changes.push_back({id(i1), o1, o2 - o1 + 1, d});
        } else {
            changes.push_back({id(i1), o1, rows(i1) - o1, 0});
            for (int32_t i = i1 + 1; i < i2; ++i) {
                changes.push_back({id(i), 0, rows(i), 0});
            }
            changes.push_back({id(i2), 0, o2 + 1, d});
        }
        LineAt(i2).rows += d;
    } else {
        const RowPlace reach = PlaceOfRow(m_lines, before.endRow + d);
        const int32_t i3 = reach.index;
        const LONG o3 = reach.offset;
        if (before.endRow + d < before.startRow) {
            // The removal reached before the selection's start.
            if (i3 == i2) {
                changes.push_back({id(i3), o3, 1, d});
                LineAt(i3).rows += d;
            } else {
                const LONG tail = std::max<LONG>(rows(i3) - o3 - 1, 0);
                changes.push_back({id(i3), o3, 1, -tail});
                LineAt(i3).rows -= tail;
                for (int32_t i = i3 + 1; i < i2; ++i) {
                    changes.push_back({id(i), 0, 0, -rows(i)});
                    LineAt(i).rows = 0;
                }
                changes.push_back({id(i2), 0, 0, -(o2 + 1)});
                LineAt(i2).rows -= o2 + 1;
            }
        } else {
            std::vector<LineRowChange> records;
            for (int32_t i = i1; i <= i2; ++i) {
                records.push_back({id(i), 0, 0, 0});
            }
            auto record = [&](int32_t i) -> LineRowChange& { return records[static_cast<size_t>(i - i1)]; };
            if (i3 == i1) {
                record(i1) = {id(i1), o1, o3 - o1 + 1, 0};
            } else {
                record(i1) = {id(i1), o1, rows(i1) - o1, 0};
                record(i3) = {id(i3), 0, o3 + 1, 0};
                for (int32_t i = i1 + 1; i < i2; ++i) {
                    record(i) = {id(i), 0, rows(i), 0};
                }
            }
            if (i3 == i2) {
                record(i3).rowDelta = d;
                LineAt(i3).rows += d;
            } else {
                const LONG tail = std::max<LONG>(rows(i3) - o3 - 1, 0);
                record(i3).rowDelta = -tail;
                LineAt(i3).rows -= tail;
                record(i2) = {id(i2), 0, 0, -(o2 + 1)};
                LineAt(i2).rows -= o2 + 1;
                for (int32_t i = i3 + 1; i < i2; ++i) {
                    record(i) = {id(i), 0, 0, -rows(i)};
                    LineAt(i).rows = 0;
                }
            }
            changes = std::move(records);
        }
    }
    for (LineEntry& line : m_lines) {
        line.rows = std::max<LONG>(line.rows, 0);
    }
    Fire11(changes);
    m_events->TextChanged();
    m_rowCount = now;
    RefreshSnapshot(false);
}

BOOL CRichEditLineCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        OnTextChange();
        // The parent hears the change too (a panel's owner does).
        return FALSE;
    }
    return CRichEditCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CRichEditLineCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        // The books read the selection as it was before the key.
        RefreshSnapshot(false);
        if ((wParam == VK_BACK && OnBackspace()) || (wParam == VK_DELETE && OnDelete())) {
            return 0;
        }
        break;
    case WM_CHAR:
        RefreshSnapshot(false);
        if (wParam == '\r' && OnEnter()) {
            return 0;
        }
        break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        RefreshSnapshot(false);
        break;
    default: break;
    }
    return CRichEditCtrl::WindowProc(message, wParam, lParam);
}
