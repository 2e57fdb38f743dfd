// CRichEditObject: the scripting object inside a rich-edit line control
// (IRichEditControl). The line slots act on the control's line books; the
// row and text slots are the rich edit's own messages. Operations that edit
// text keep the caller's selection and the books (see
// CRichEditLineCtrl::ReplaceSuspended); GetSelText writes at most
// kControlTextBufferSize bytes.
#pragma once

#include "host/shell/controls/control_object.h"
#include "platform/framework/richeditctrl.h"

class CRichEditLineCtrl;

class CRichEditObject final : public CControlObject<IRichEditControl, CRichEditCtrl, ControlObjectKind::Pane> {
public:
    CRichEditObject(CRichEditCtrl* control, CRichEditLineCtrl& lines);

    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineFromRow(LONG row, LONG* id, LONG* offset) override;
    HRESULT STDMETHODCALLTYPE GetLineStartRow(LONG id, LONG* row) override;
    HRESULT STDMETHODCALLTYPE GetLineRowCount(LONG id, LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetLineIndex(LONG id, LONG* index) override;
    HRESULT STDMETHODCALLTYPE GetLineId(LONG index, LONG* id) override;
    HRESULT STDMETHODCALLTYPE GetLineFlags(LONG id, LONG* flags) override;
    HRESULT STDMETHODCALLTYPE SetLineFlags(LONG id, LONG flags) override;
    HRESULT STDMETHODCALLTYPE DeleteRows(LONG id, LONG firstRow, LONG count, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE InsertRows(LONG id, LONG row, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE ReplaceLineRow(LONG id, LONG row, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE AppendToLine(LONG id, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE SplitLine(LONG id, LONG row, LONG* newId) override;
    HRESULT STDMETHODCALLTYPE DeleteLine(LONG id) override;
    HRESULT STDMETHODCALLTYPE InsertLine(LONG afterId, LONG flags, LONG* newId) override;
    HRESULT STDMETHODCALLTYPE AppendLine(LONG flags, LONG* newId) override;
    HRESULT STDMETHODCALLTYPE GetLineCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE DeleteRowRange(LONG firstRow, LONG count, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE GetCaretRow(LONG* row) override;
    HRESULT STDMETHODCALLTYPE SetRowFormat(LONG row, CHARFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE SetRangeFormat(LONG start, LONG end, CHARFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE InsertRow(LONG row, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE AppendText(const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE ReplaceRow(LONG row, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE ReplaceRange(LONG start, LONG end, const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE GetRowCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetRow(LONG row, char* buffer, LONG max, LONG* length) override;
    HRESULT STDMETHODCALLTYPE GetFirstVisibleRow(LONG* row) override;
    HRESULT STDMETHODCALLTYPE RowIndex(LONG row, LONG* charIndex) override;
    HRESULT STDMETHODCALLTYPE RowFromChar(LONG charIndex, LONG* row) override;
    HRESULT STDMETHODCALLTYPE RowLength(LONG row, LONG* length) override;
    HRESULT STDMETHODCALLTYPE LineScroll(LONG rows, LONG chars) override;
    HRESULT STDMETHODCALLTYPE GetSel(LONG* start, LONG* end) override;
    HRESULT STDMETHODCALLTYPE GetSelText(char* buffer) override;
    HRESULT STDMETHODCALLTYPE GetSelectionType(WORD* type) override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE SetSel(LONG start, LONG end) override;
    HRESULT STDMETHODCALLTYPE ReplaceSel(const char* text, BOOL canUndo) override;
    HRESULT STDMETHODCALLTYPE HideSelection(BOOL hide, BOOL permanent) override;
    HRESULT STDMETHODCALLTYPE GetCharFormat(LONG position, CHARFORMAT* format, DWORD* mask) override;
    HRESULT STDMETHODCALLTYPE GetDefaultCharFormat(CHARFORMAT* format, DWORD* mask) override;
    HRESULT STDMETHODCALLTYPE GetSelectionCharFormat(CHARFORMAT* format, DWORD* mask) override;
    HRESULT STDMETHODCALLTYPE GetParaFormat(PARAFORMAT* format, DWORD* mask) override;
    HRESULT STDMETHODCALLTYPE SetDefaultCharFormat(CHARFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE SetSelectionCharFormat(CHARFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE SetWordCharFormat(CHARFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE SetParaFormat(PARAFORMAT* format) override;
    HRESULT STDMETHODCALLTYPE Undo() override;
    HRESULT STDMETHODCALLTYPE CanUndo(BOOL* result) override;
    HRESULT STDMETHODCALLTYPE EmptyUndoBuffer() override;
    HRESULT STDMETHODCALLTYPE FindText(DWORD flags, FINDTEXTEX* find, LONG* position) override;
    HRESULT STDMETHODCALLTYPE GetTextLength(LONG* length) override;
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(BOOL useSystem, COLORREF color, COLORREF* previous) override;
    HRESULT STDMETHODCALLTYPE Copy() override;
    HRESULT STDMETHODCALLTYPE Cut() override;
    HRESULT STDMETHODCALLTYPE Paste() override;
    HRESULT STDMETHODCALLTYPE CanPaste(UINT format, BOOL* result) override;

private:
    // Runs an operation that needs the control and its books.
    template <class Action>
    HRESULT WithLines(Action&& action);

    CRichEditLineCtrl& m_lines;
};
