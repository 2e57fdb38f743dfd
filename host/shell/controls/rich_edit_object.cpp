// The rich-edit line control's scripting object: line slots on the books,
// row and text slots as the rich edit's messages, text edits suspended so
// that the caller's selection and the books survive them.
#include "host/shell/controls/rich_edit_object.h"

#include <algorithm>
#include <string>

#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "platform/controls/richedit.h"

namespace {

// The event mask is 0 for the guard's life: the control sends nothing.
class NotificationsOff {
public:
    explicit NotificationsOff(CRichEditCtrl& control) : m_control(control), m_mask(control.GetEventMask())
    {
        m_control.SetEventMask(0);
    }
    ~NotificationsOff() { m_control.SetEventMask(m_mask); }
    NotificationsOff(const NotificationsOff&) = delete;
    NotificationsOff& operator=(const NotificationsOff&) = delete;

private:
    CRichEditCtrl& m_control;
    DWORD m_mask;
};

// The caller's selection comes back when the guard goes.
class SelectionKept {
public:
    explicit SelectionKept(CRichEditCtrl& control) : m_control(control) { control.GetSel(m_range); }
    ~SelectionKept() { m_control.SetSel(m_range); }
    SelectionKept(const SelectionKept&) = delete;
    SelectionKept& operator=(const SelectionKept&) = delete;

private:
    CRichEditCtrl& m_control;
    CHARRANGE m_range{};
};

LONG RowStart(const CRichEditCtrl& control, LONG row) { return control.LineIndex(static_cast<int>(row)); }

LONG RowEnd(const CRichEditCtrl& control, LONG row)
{
    const LONG start = RowStart(control, row);
    return start + control.LineLength(static_cast<int>(start));
}

// The characters of `count` whole rows from `first`, with one line break:
// the one after the last row, or before the first when the rows end the
// text.
CHARRANGE RowsRange(const CRichEditCtrl& control, LONG first, LONG count)
{
    const LONG rows = control.GetLineCount();
    const LONG last = first + count - 1;
    if (last + 1 < rows) {
        return {RowStart(control, first), RowStart(control, last + 1)};
    }
    if (first > 0) {
        return {RowEnd(control, first - 1), static_cast<LONG>(control.GetTextLength())};
    }
    return {0, static_cast<LONG>(control.GetTextLength())};
}

} // namespace

CRichEditObject::CRichEditObject(CRichEditCtrl* control, CRichEditLineCtrl& lines)
    : CControlObject(control, IID_IRichEditControl), m_lines(lines)
{
}

template <class Action>
HRESULT CRichEditObject::WithLines(Action&& action)
{
    if (GetControl() == nullptr) {
        return E_FAIL;
    }
    return action(m_lines);
}

// Lines ---------------------------------------------------------------------------------------

HRESULT CRichEditObject::LineFromRow(LONG row, LONG* id, LONG* offset)
{
    return WithLines([&](CRichEditLineCtrl& c) { return c.LineFromRow(row, id, offset) ? S_OK : E_FAIL; });
}

HRESULT CRichEditObject::GetLineStartRow(LONG id, LONG* row)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const LONG offset = c.GetLineOffset(id, CRichEditLineCtrl::LineBy::Id);
        if (offset < 0) {
            return E_FAIL;
        }
        SetOptional(row, offset);
        return S_OK;
    });
}

HRESULT CRichEditObject::GetLineRowCount(LONG id, LONG* count)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0) {
            return E_FAIL;
        }
        SetOptional(count, c.LineAt(index).rows);
        return S_OK;
    });
}

HRESULT CRichEditObject::GetLineIndex(LONG id, LONG* index)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t found = c.FindLineById(id);
        SetOptional(index, found);
        return found < 0 ? E_FAIL : S_OK;
    });
}

HRESULT CRichEditObject::GetLineId(LONG index, LONG* id)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        if (index < 0 || static_cast<size_t>(index) >= c.Lines().size()) {
            return E_FAIL;
        }
        SetOptional(id, c.LineAt(index).id);
        return S_OK;
    });
}

HRESULT CRichEditObject::GetLineFlags(LONG id, LONG* flags)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0) {
            return E_FAIL;
        }
        SetOptional(flags, c.LineAt(index).flags);
        return S_OK;
    });
}

HRESULT CRichEditObject::SetLineFlags(LONG id, LONG flags)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0) {
            return E_FAIL;
        }
        c.LineAt(index).flags = flags;
        return S_OK;
    });
}

HRESULT CRichEditObject::DeleteRows(LONG id, LONG firstRow, LONG count, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0 || count < 1) {
            return E_FAIL;
        }
        LineEntry& line = c.LineAt(index);
        if (firstRow < 0 || firstRow >= line.rows) {
            return E_FAIL;
        }
        count = std::min(count, line.rows - firstRow);
        const LONG start = c.GetLineOffset(index, CRichEditLineCtrl::LineBy::Index) + firstRow;
        const CHARRANGE range = RowsRange(c, start, count);
        c.ReplaceSuspended(range.cpMin, range.cpMax, "", canUndo);
        c.LineAt(index).rows -= count;
        c.RefreshSnapshot(false);
        return S_OK;
    });
}

HRESULT CRichEditObject::InsertRows(LONG id, LONG row, const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0 || row < 0) {
            return E_FAIL;
        }
        const LONG lineRows = c.LineAt(index).rows;
        const LONG target = c.GetLineOffset(index, CRichEditLineCtrl::LineBy::Index) + std::min(row, lineRows);
        const LONG before = c.EditorRowCount();
        const std::string body = text != nullptr ? text : "";
        if (target < before) {
            const LONG at = RowStart(c, target);
            c.ReplaceSuspended(at, at, (body + "\n").c_str(), canUndo);
        } else {
            // After the last row of the text.
            const LONG end = c.GetTextLength();
            c.ReplaceSuspended(end, end, ("\n" + body).c_str(), canUndo);
        }
        c.LineAt(index).rows += c.EditorRowCount() - before;
        c.RefreshSnapshot(false);
        return S_OK;
    });
}

HRESULT CRichEditObject::ReplaceLineRow(LONG id, LONG row, const char* text, BOOL canUndo)
{
    if (GetControl() == nullptr) {
        return E_FAIL;
    }
    const int32_t index = m_lines.FindLineById(id);
    if (index < 0 || row < 0 || row >= m_lines.LineAt(index).rows) {
        return E_FAIL;
    }
    return ReplaceRow(m_lines.GetLineOffset(index, CRichEditLineCtrl::LineBy::Index) + row, text, canUndo);
}

HRESULT CRichEditObject::AppendToLine(LONG id, const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0) {
            return E_FAIL;
        }
        const LONG after = c.GetLineOffset(index, CRichEditLineCtrl::LineBy::Index) + c.LineAt(index).rows;
        const LONG before = c.EditorRowCount();
        const std::string body = text != nullptr ? text : "";
        if (after < before) {
            const LONG at = RowStart(c, after);
            c.ReplaceSuspended(at, at, (body + "\n").c_str(), canUndo);
        } else {
            // The line ends the text: a break first.
            const LONG end = c.GetTextLength();
            c.ReplaceSuspended(end, end, ("\n" + body).c_str(), canUndo);
        }
        // Exactly the rows the text brought.
        c.LineAt(index).rows += c.EditorRowCount() - before;
        c.RefreshSnapshot(false);
        return S_OK;
    });
}

HRESULT CRichEditObject::SplitLine(LONG id, LONG row, LONG* newId)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0 || row < 0 || row >= c.LineAt(index).rows) {
            return E_FAIL;
        }
        const LONG flags = c.LineAt(index).flags;
        const LONG made = c.InsertLineAfter(index, flags);
        LineEntry& line = c.LineAt(index);
        c.LineAt(index + 1).rows = line.rows - row;
        line.rows = row;
        SetOptional(newId, made);
        return S_OK;
    });
}

HRESULT CRichEditObject::DeleteLine(LONG id)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(id);
        if (index < 0) {
            return E_FAIL;
        }
        if (c.LineAt(index).rows > 0) {
            DeleteRows(id, 0, c.LineAt(index).rows, FALSE);
        }
        c.RemoveLineAt(c.FindLineById(id));
        return S_OK;
    });
}

HRESULT CRichEditObject::InsertLine(LONG afterId, LONG flags, LONG* newId)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const int32_t index = c.FindLineById(afterId);
        if (index < 0) {
            return E_FAIL;
        }
        SetOptional(newId, c.InsertLineAfter(index, flags));
        return S_OK;
    });
}

HRESULT CRichEditObject::AppendLine(LONG flags, LONG* newId)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        SetOptional(newId, c.InsertLineAfter(static_cast<int32_t>(c.Lines().size()) - 1, flags));
        return S_OK;
    });
}

HRESULT CRichEditObject::GetLineCount(LONG* count)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        SetOptional(count, c.Lines().size());
        return S_OK;
    });
}

// Rows and text ---------------------------------------------------------------------------------

HRESULT CRichEditObject::DeleteRowRange(LONG firstRow, LONG count, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const LONG rows = c.EditorRowCount();
        if (count < 1 || firstRow < 0 || firstRow >= rows) {
            return E_FAIL;
        }
        const CHARRANGE range = RowsRange(c, firstRow, std::min(count, rows - firstRow));
        c.RefreshSnapshot(false);
        c.ReplaceSuspended(range.cpMin, range.cpMax, "", canUndo);
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::GetCaretRow(LONG* row)
{
    return Forward([&](CRichEditCtrl& c) {
        CHARRANGE range{};
        c.GetSel(range);
        SetOptional(row, c.LineFromChar(range.cpMin));
    });
}

HRESULT CRichEditObject::SetRowFormat(LONG row, CHARFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        SelectionKept kept(c);
        const LONG start = RowStart(c, row);
        const LONG end = std::min<LONG>(RowEnd(c, row) + 1, c.GetTextLength());
        c.SetSel(start, end);
        c.SetSelectionCharFormat(*format);
    });
}

HRESULT CRichEditObject::SetRangeFormat(LONG start, LONG end, CHARFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        SelectionKept kept(c);
        c.SetSel(start, end);
        c.SetSelectionCharFormat(*format);
    });
}

HRESULT CRichEditObject::InsertRow(LONG row, const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const std::string body = text != nullptr ? text : "";
        c.RefreshSnapshot(false);
        if (row >= 0 && row < c.EditorRowCount()) {
            const LONG at = RowStart(c, row);
            c.ReplaceSuspended(at, at, (body + "\n").c_str(), canUndo);
        } else {
            const LONG end = c.GetTextLength();
            c.ReplaceSuspended(end, end, (end > 0 ? "\n" + body : body).c_str(), canUndo);
        }
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::AppendText(const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        const std::string body = text != nullptr ? text : "";
        const LONG end = c.GetTextLength();
        c.RefreshSnapshot(false);
        c.ReplaceSuspended(end, end, (end > 0 ? "\n" + body : body).c_str(), canUndo);
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::ReplaceRow(LONG row, const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        if (row < 0 || row >= c.EditorRowCount()) {
            return E_FAIL;
        }
        c.RefreshSnapshot(false);
        c.ReplaceSuspended(RowStart(c, row), RowEnd(c, row), text, canUndo);
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::ReplaceRange(LONG start, LONG end, const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        c.RefreshSnapshot(false);
        c.ReplaceSuspended(start, end, text, canUndo);
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::GetRowCount(LONG* count)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(count, c.GetLineCount()); });
}

HRESULT CRichEditObject::GetRow(LONG row, char* buffer, LONG max, LONG* length)
{
    return Forward([&](CRichEditCtrl& c) {
        LONG copied = 0;
        if (buffer != nullptr && max > 0) {
            copied = c.GetLine(static_cast<int>(row), buffer, static_cast<int>(max));
            copied = std::clamp<LONG>(copied, 0, max);
            // A terminating zero where the buffer has room for one.
            if (copied < max) {
                buffer[copied] = '\0';
            }
        }
        SetOptional(length, copied);
    });
}

HRESULT CRichEditObject::GetFirstVisibleRow(LONG* row)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(row, c.GetFirstVisibleLine()); });
}

HRESULT CRichEditObject::RowIndex(LONG row, LONG* charIndex)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(charIndex, c.LineIndex(static_cast<int>(row))); });
}

HRESULT CRichEditObject::RowFromChar(LONG charIndex, LONG* row)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(row, c.LineFromChar(charIndex)); });
}

HRESULT CRichEditObject::RowLength(LONG row, LONG* length)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(length, c.LineLength(static_cast<int>(RowStart(c, row)))); });
}

HRESULT CRichEditObject::LineScroll(LONG rows, LONG chars)
{
    return Forward([&](CRichEditCtrl& c) { c.LineScroll(static_cast<int>(rows), static_cast<int>(chars)); });
}

HRESULT CRichEditObject::GetSel(LONG* start, LONG* end)
{
    return Forward([&](CRichEditCtrl& c) {
        CHARRANGE range{};
        c.GetSel(range);
        SetOptional(start, range.cpMin);
        SetOptional(end, range.cpMax);
    });
}

HRESULT CRichEditObject::GetSelText(char* buffer)
{
    return Forward([&](CRichEditCtrl& c) {
        const CString text = c.GetSelText();
        CopyControlText(text.GetString(), static_cast<size_t>(text.GetLength()), buffer);
    });
}

HRESULT CRichEditObject::GetSelectionType(WORD* type)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(type, c.GetSelectionType()); });
}

HRESULT CRichEditObject::Clear()
{
    return Forward([&](CRichEditCtrl& c) { c.Clear(); });
}

HRESULT CRichEditObject::SetSel(LONG start, LONG end)
{
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        c.SetSel(start, end);
    });
}

HRESULT CRichEditObject::ReplaceSel(const char* text, BOOL canUndo)
{
    return WithLines([&](CRichEditLineCtrl& c) {
        c.RefreshSnapshot(false);
        {
            NotificationsOff quiet(c);
            c.ReplaceSel(text != nullptr ? text : "", canUndo);
        }
        c.RefreshSnapshot(true);
        return S_OK;
    });
}

HRESULT CRichEditObject::HideSelection(BOOL hide, BOOL permanent)
{
    return Forward([&](CRichEditCtrl& c) { c.HideSelection(hide, permanent); });
}

HRESULT CRichEditObject::GetCharFormat(LONG position, CHARFORMAT* format, DWORD* mask)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        SelectionKept kept(c);
        c.SetSel(position, position + 1);
        SetOptional(mask, c.GetSelectionCharFormat(*format));
    });
}

HRESULT CRichEditObject::GetDefaultCharFormat(CHARFORMAT* format, DWORD* mask)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) { SetOptional(mask, c.GetDefaultCharFormat(*format)); });
}

HRESULT CRichEditObject::GetSelectionCharFormat(CHARFORMAT* format, DWORD* mask)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) { SetOptional(mask, c.GetSelectionCharFormat(*format)); });
}

HRESULT CRichEditObject::GetParaFormat(PARAFORMAT* format, DWORD* mask)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) { SetOptional(mask, c.GetParaFormat(*format)); });
}

HRESULT CRichEditObject::SetDefaultCharFormat(CHARFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) { c.SetDefaultCharFormat(*format); });
}

HRESULT CRichEditObject::SetSelectionCharFormat(CHARFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        c.SetSelectionCharFormat(*format);
    });
}

HRESULT CRichEditObject::SetWordCharFormat(CHARFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        c.SetWordCharFormat(*format);
    });
}

HRESULT CRichEditObject::SetParaFormat(PARAFORMAT* format)
{
    if (format == nullptr) {
        return E_POINTER;
    }
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        c.SetParaFormat(*format);
    });
}

HRESULT CRichEditObject::Undo()
{
    return WithLines([&](CRichEditLineCtrl& c) {
        c.RefreshSnapshot(false);
        c.Undo();
        return S_OK;
    });
}

HRESULT CRichEditObject::CanUndo(BOOL* result)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(result, c.CanUndo()); });
}

HRESULT CRichEditObject::EmptyUndoBuffer()
{
    return Forward([&](CRichEditCtrl& c) { c.EmptyUndoBuffer(); });
}

HRESULT CRichEditObject::FindText(DWORD flags, FINDTEXTEX* find, LONG* position)
{
    return Forward([&](CRichEditCtrl& c) {
        SetOptional(position, c.SendMessage(EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(find)));
    });
}

HRESULT CRichEditObject::GetTextLength(LONG* length)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(length, c.GetTextLength()); });
}

HRESULT CRichEditObject::SetBackgroundColor(BOOL useSystem, COLORREF color, COLORREF* previous)
{
    return Forward([&](CRichEditCtrl& c) {
        NotificationsOff quiet(c);
        SetOptional(previous, c.SetBackgroundColor(useSystem, color));
    });
}

HRESULT CRichEditObject::Copy()
{
    return Forward([&](CRichEditCtrl& c) { c.Copy(); });
}

HRESULT CRichEditObject::Cut()
{
    return WithLines([&](CRichEditLineCtrl& c) {
        c.RefreshSnapshot(false);
        c.Cut();
        return S_OK;
    });
}

HRESULT CRichEditObject::Paste()
{
    return WithLines([&](CRichEditLineCtrl& c) {
        c.RefreshSnapshot(false);
        c.Paste();
        return S_OK;
    });
}

HRESULT CRichEditObject::CanPaste(UINT format, BOOL* result)
{
    return Forward([&](CRichEditCtrl& c) { SetOptional(result, c.SendMessage(EM_CANPASTE, format)); });
}
