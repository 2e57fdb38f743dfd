// The control interfaces: the scripting objects through which add-ins drive
// the controls the host makes for them (in control panels, on toolbars and
// in pane pages), the control panel itself and the toolbar object.
// Operations stand in table order; reserved slots keep their place and
// arity and answer E_NOTIMPL. An implementing class lists the operations
// after the IUnknown ones and adds its virtual destructor last.
//
// Every per-kind interface begins with the ten slots of IControlBase. The
// tree and rich-edit objects share that table but answer QueryInterface only
// for IUnknown and their own interface, not for IControlBase.
//
// Nothing here is AddRef'ed for the add-in: the host owns its controls,
// panels and toolbars and lends them; a lent object lives exactly as long as
// its owner, whatever the add-in's AddRef and Release calls add up to.
//
// Text comes back into a caller's buffer. A text operation without a size
// argument (GetText, GetLBText, GetSelText) writes at most
// kControlTextBufferSize bytes, the terminating zero included: longer text
// is cut. A caller hands a buffer of at least that size.
#pragma once

#include "iaddin.h"
#include "iids.h"
#include "platform/base/types.h"
#include "platform/com/unknwn.h"
#include "platform/controls/richedit.h"

struct IHostDocument;
struct ITreeControl;

// The most bytes, zero included, that a text operation without a size
// argument writes into the caller's buffer.
inline constexpr int kControlTextBufferSize = 2048;

// Tree event codes.
inline constexpr int32_t kTreeEventSelectionChanged = -402;
inline constexpr int32_t kTreeEventRightClick = -5;

// The items of a tree selection change.
struct TreeSelectionChange {
    HTREEITEM previous; // null on the first selection
    HTREEITEM selected;
};

// A tree's event (0x2000000) to its pane object carries a pointer to this
// record; it and what `data` points to live for the duration of the call.
struct TreeEventRecord {
    ITreeControl* object;
    int32_t code; // kTreeEventSelectionChanged or kTreeEventRightClick
    // kTreeEventSelectionChanged: TreeSelectionChange*;
    // kTreeEventRightClick: POINT*, the last mouse position over the tree in
    // its client coordinates.
    void* data;
};

// The slots every control's scripting object begins with. Forwarding
// operations return S_OK, or E_FAIL when the object has no control.
struct IControlBase : IUnknown {
    // The handler a toolbar control made for that document. E_FAIL with
    // null when there is no record for the document, no control or the
    // object belongs to a panel control; E_NOTIMPL for list box, tree and
    // rich edit.
    virtual HRESULT STDMETHODCALLTYPE GetCommandObject(IHostDocument* document, IAddinCommand** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE Enable(BOOL enable) = 0;
    // Redraws the rectangle (null: the whole window) at once.
    virtual HRESULT STDMETHODCALLTYPE Redraw(const RECT* rect) = 0;
    // Non-zero flags refresh the window frame.
    virtual HRESULT STDMETHODCALLTYPE ModifyStyle(DWORD remove, DWORD add, UINT windowPosFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModifyStyleEx(DWORD remove, DWORD add, UINT windowPosFlags) = 0;
    // Binds a toolbar control to a document, saving the state the control
    // showed for the one before. E_FAIL on a panel control and a list box;
    // E_NOTIMPL for tree and rich edit.
    virtual HRESULT STDMETHODCALLTYPE SetDocument(IHostDocument* document) = 0;
    // The document of the current binding; E_FAIL with null when there is
    // none or on a panel control or list box; E_NOTIMPL for tree and rich
    // edit.
    virtual HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument** document) = 0;

protected:
    ~IControlBase() = default;
};

// Out pointers named `...Optional` may be null.
struct IButtonControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetState(UINT* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetState(BOOL highlight) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCheck(int* check) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCheck(int check) = 0;
    // The low byte of the window style.
    virtual HRESULT STDMETHODCALLTYPE GetButtonStyle(UINT* style) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetButtonStyle(UINT style) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIcon(HICON* icon) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIcon(HICON icon) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBitmap(HBITMAP* bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBitmap(HBITMAP bitmap) = 0;
    // At most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetText(char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;

protected:
    ~IButtonControl() = default;
};

// Results of the list's own messages (CB_ERR, counts) come back unchanged.
struct IComboBoxControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE AddString(const char* text, int* indexOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteString(UINT index, int* remainingOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertString(int index, const char* text, int* resultOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetContent() = 0;
    // The first item after `start` that begins with the text.
    virtual HRESULT STDMETHODCALLTYPE FindString(int start, const char* text, int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindStringExact(int start, const char* text, int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectString(int start, const char* text, int* indexOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCount(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurSel(int* index) = 0;
    // E_FAIL when the list answers a negative index, which -1 (clearing the
    // selection) always does.
    virtual HRESULT STDMETHODCALLTYPE SetCurSel(int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTopIndex(int* index) = 0;
    // E_FAIL when the list refuses.
    virtual HRESULT STDMETHODCALLTYPE SetTopIndex(int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEditSel(DWORD* start, DWORD* end) = 0;
    // E_FAIL when the list refuses.
    virtual HRESULT STDMETHODCALLTYPE SetEditSel(int start, int end) = 0;
    // The edit field's text, at most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetText(char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;
    // An item's text, at most kControlTextBufferSize bytes; its length (or
    // CB_ERR) in `length`.
    virtual HRESULT STDMETHODCALLTYPE GetLBText(int index, char* buffer, int* lengthOptional) = 0;

protected:
    ~IComboBoxControl() = default;
};

// SetText stands before GetText here, unlike the button and static.
struct IEditControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE GetLineCount(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSel(int* start, int* end) = 0;
    // Scrolls the caret into view unless noScroll.
    virtual HRESULT STDMETHODCALLTYPE SetSel(int start, int end, BOOL noScroll) = 0;
    // The buffer's first WORD holds its size in bytes; the line is not
    // zero-terminated.
    virtual HRESULT STDMETHODCALLTYPE GetLine(int line, char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstVisibleLine(int* line) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineFromChar(int charIndex, int* line) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineIndex(int line, int* charIndex) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineLength(int charIndex, int* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineScroll(int lines, int chars) = 0;
    // Without undo.
    virtual HRESULT STDMETHODCALLTYPE ReplaceSel(const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReadOnly(BOOL readOnly, BOOL* resultOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;
    // At most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetText(char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;

protected:
    ~IEditControl() = default;
};

// The list box. It has no document binding: GetCommandObject answers
// E_NOTIMPL, SetDocument and GetDocument E_FAIL. Results of the list's own
// messages (LB_ERR, counts) come back unchanged.
struct IWindowControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE GetCount(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTopIndex(int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTopIndex(int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSel(int index, int* selected) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSel(int index, BOOL select, int* resultOptional) = 0;
    // An item's text, at most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetText(int index, char* buffer, int* lengthOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurSel(int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCurSel(int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddString(const char* text, int* indexOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteString(UINT index, int* remainingOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertString(int index, const char* text, int* resultOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetContent() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindString(int start, const char* text, int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindStringExact(int start, const char* text, int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectString(int start, const char* text, int* indexOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaretIndex(int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCaretIndex(int index, BOOL scroll) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelCount(int* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelItems(int maxItems, int* items, int* countOptional) = 0;
    // Selects first..last, or deselects from last down to first.
    virtual HRESULT STDMETHODCALLTYPE SelItemRange(BOOL select, int first, int last, int* resultOptional) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAnchorIndex(int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAnchorIndex(int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColumnWidth(int width) = 0;

protected:
    ~IWindowControl() = default;
};

struct ISliderControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE GetPos(int* pos) = 0;
    // Redraws.
    virtual HRESULT STDMETHODCALLTYPE SetPos(int pos) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRange(int* min, int* max) = 0;
    // Sets both limits without redrawing.
    virtual HRESULT STDMETHODCALLTYPE SetRange(int min, int max) = 0;

protected:
    ~ISliderControl() = default;
};

struct ISpinControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE GetBase(int* base) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBase(int base) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPos(int* pos) = 0;
    // The position is cut to 16 bits (70000 sets 4464).
    virtual HRESULT STDMETHODCALLTYPE SetPos(int pos) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRange(int* lower, int* upper) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRange(int lower, int upper) = 0;

protected:
    ~ISpinControl() = default;
};

struct IStaticControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE GetIcon(HICON* icon) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIcon(HICON icon) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBitmap(HBITMAP* bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBitmap(HBITMAP bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;
    // At most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetText(char* buffer) = 0;

protected:
    ~IStaticControl() = default;
};

// The tree of a pane page. GetCommandObject, SetDocument and GetDocument
// answer E_NOTIMPL. Selection changes and right clicks reach the page's pane
// object as event 0x2000000 with a TreeEventRecord; advised sinks are kept but not called.
struct ITreeControl : IControlBase {
    // E_FAIL when the sink was never advised; else releases it.
    virtual HRESULT STDMETHODCALLTYPE Unadvise(IUnknown* sink) = 0;
    // Keeps the sink with a reference.
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClientToScreen(LONG x, LONG y, LONG* screenX, LONG* screenY) = 0;
    // The hit flags (TVHT_) and the item, null when none.
    virtual HRESULT STDMETHODCALLTYPE HitTest(LONG x, LONG y, UINT* flags, HTREEITEM* item) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemState(HTREEITEM item, UINT stateMask, UINT* state) = 0;
    // E_FAIL when the tree refuses.
    virtual HRESULT STDMETHODCALLTYPE SetItemState(HTREEITEM item, UINT state, UINT stateMask) = 0;
    // The state image index minus 1.
    virtual HRESULT STDMETHODCALLTYPE GetCheck(HTREEITEM item, BOOL* checked) = 0;
    // State image 2 (checked) or 1; E_FAIL when the tree refuses.
    virtual HRESULT STDMETHODCALLTYPE SetCheck(HTREEITEM item, BOOL checked) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetItemText(HTREEITEM item, const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved19(LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectItem(HTREEITEM item) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelectedItem(HTREEITEM* item) = 0;
    // code: TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE.
    virtual HRESULT STDMETHODCALLTYPE Expand(HTREEITEM item, UINT code) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteAllItems() = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteItem(HTREEITEM item) = 0;
    // An item with text only; the new handle, null on failure.
    virtual HRESULT STDMETHODCALLTYPE InsertItem(const char* text, HTREEITEM parent, HTREEITEM insertAfter,
                                                 HTREEITEM* item) = 0;

protected:
    ~ITreeControl() = default;
};

// Line flags of the rich-edit line control.
inline constexpr LONG kLineRefusesEnterAtStart = 0x1;
inline constexpr LONG kLineRefusesEnterAtEnd = 0x2;
inline constexpr LONG kLineEnterAtStartOpensOutside = 0x4;
inline constexpr LONG kLineEnterAtEndOpensOutside = 0x8;

// The rich-edit line control: text rows grouped into numbered lines whose ids
// stay fixed while rows change around them. Operations that take a line id
// answer E_FAIL for an unknown one. Slots 3 and 8 to 11 answer E_NOTIMPL.
struct IRichEditControl : IControlBase {
    virtual HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR) = 0;
    // The line that holds the row and the row's offset in it; E_FAIL beyond
    // the last line.
    virtual HRESULT STDMETHODCALLTYPE LineFromRow(LONG row, LONG* id, LONG* offset) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineStartRow(LONG id, LONG* row) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineRowCount(LONG id, LONG* count) = 0;
    // E_FAIL, with -1, when unknown.
    virtual HRESULT STDMETHODCALLTYPE GetLineIndex(LONG id, LONG* index) = 0;
    // E_FAIL for an index outside the lines.
    virtual HRESULT STDMETHODCALLTYPE GetLineId(LONG index, LONG* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineFlags(LONG id, LONG* flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineFlags(LONG id, LONG flags) = 0;
    // E_FAIL when count < 1 or firstRow is not inside the line; count is cut
    // to the rows left in the line.
    virtual HRESULT STDMETHODCALLTYPE DeleteRows(LONG id, LONG firstRow, LONG count, BOOL canUndo) = 0;
    // The text and a row break before the line's row; a row past the line's
    // rows means after its last row.
    virtual HRESULT STDMETHODCALLTYPE InsertRows(LONG id, LONG row, const char* text, BOOL canUndo) = 0;
    // E_FAIL when the row is not inside the line.
    virtual HRESULT STDMETHODCALLTYPE ReplaceLineRow(LONG id, LONG row, const char* text, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendToLine(LONG id, const char* text, BOOL canUndo) = 0;
    // A new line after this one with its flags takes the rows from `row` on;
    // E_FAIL when the row is not inside the line.
    virtual HRESULT STDMETHODCALLTYPE SplitLine(LONG id, LONG row, LONG* newId) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteLine(LONG id) = 0;
    // A new line with no rows after the given one.
    virtual HRESULT STDMETHODCALLTYPE InsertLine(LONG afterId, LONG flags, LONG* newId) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendLine(LONG flags, LONG* newId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineCount(LONG* count) = 0;
    // Whole text rows; E_FAIL when count < 1.
    virtual HRESULT STDMETHODCALLTYPE DeleteRowRange(LONG firstRow, LONG count, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaretRow(LONG* row) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRowFormat(LONG row, CHARFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRangeFormat(LONG start, LONG end, CHARFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertRow(LONG row, const char* text, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendText(const char* text, BOOL canUndo) = 0;
    // The row's characters, without its break.
    virtual HRESULT STDMETHODCALLTYPE ReplaceRow(LONG row, const char* text, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReplaceRange(LONG start, LONG end, const char* text, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRowCount(LONG* count) = 0;
    // At most `max` bytes; the length copied in `length`.
    virtual HRESULT STDMETHODCALLTYPE GetRow(LONG row, char* buffer, LONG max, LONG* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstVisibleRow(LONG* row) = 0;
    virtual HRESULT STDMETHODCALLTYPE RowIndex(LONG row, LONG* charIndex) = 0;
    virtual HRESULT STDMETHODCALLTYPE RowFromChar(LONG charIndex, LONG* row) = 0;
    virtual HRESULT STDMETHODCALLTYPE RowLength(LONG row, LONG* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineScroll(LONG rows, LONG chars) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSel(LONG* start, LONG* end) = 0;
    // At most kControlTextBufferSize bytes.
    virtual HRESULT STDMETHODCALLTYPE GetSelText(char* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelectionType(WORD* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSel(LONG start, LONG end) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReplaceSel(const char* text, BOOL canUndo) = 0;
    virtual HRESULT STDMETHODCALLTYPE HideSelection(BOOL hide, BOOL permanent) = 0;
    // The format of the one character at the position.
    virtual HRESULT STDMETHODCALLTYPE GetCharFormat(LONG position, CHARFORMAT* format, DWORD* mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDefaultCharFormat(CHARFORMAT* format, DWORD* mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelectionCharFormat(CHARFORMAT* format, DWORD* mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetParaFormat(PARAFORMAT* format, DWORD* mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDefaultCharFormat(CHARFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSelectionCharFormat(CHARFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWordCharFormat(CHARFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetParaFormat(PARAFORMAT* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE Undo() = 0;
    virtual HRESULT STDMETHODCALLTYPE CanUndo(BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE EmptyUndoBuffer() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(DWORD flags, FINDTEXTEX* find, LONG* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTextLength(LONG* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBackgroundColor(BOOL useSystem, COLORREF color, COLORREF* previous) = 0;
    virtual HRESULT STDMETHODCALLTYPE Copy() = 0;
    virtual HRESULT STDMETHODCALLTYPE Cut() = 0;
    virtual HRESULT STDMETHODCALLTYPE Paste() = 0;
    virtual HRESULT STDMETHODCALLTYPE CanPaste(UINT format, BOOL* result) = 0;

protected:
    ~IRichEditControl() = default;
};

// A set of controls on a control-panel page. Panels on one page form a stack
// of which only the top one shows. Clicks and changes in its controls reach
// the owner as command events. The add-operations create a child of the
// page with WS_CHILD added to the style, the rectangle in page coordinates
// and the dialog control ID, and write the control's index (its place in
// the order of adding) into `index` when that is not null; E_FAIL, the panel
// unchanged, when the window cannot be made.
struct IControlPanel : IUnknown {
    // Sizes the page to the visible controls; E_FAIL when the panel is
    // hidden.
    virtual HRESULT STDMETHODCALLTYPE Layout() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableNotify(BOOL on) = 0;
    // A static text in a bold font.
    virtual HRESULT STDMETHODCALLTYPE AddTitle(const char* text, DWORD style, const RECT* rect, LONG id,
                                               LONG* index) = 0;
    // The scripting object of the first control with that ID; E_FAIL, *out
    // untouched, when none.
    virtual HRESULT STDMETHODCALLTYPE GetControl(LONG id, IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOwner(IAddinCommand** owner) = 0;
    // Borrowed: the panel keeps no reference.
    virtual HRESULT STDMETHODCALLTYPE SetOwner(IAddinCommand* owner) = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddSpin(const char* text, DWORD style, const RECT* rect, LONG id,
                                              LONG* index) = 0;
    // The text is not used; WS_BORDER becomes the client edge.
    virtual HRESULT STDMETHODCALLTYPE AddListBox(const char* text, DWORD style, const RECT* rect, LONG id,
                                                 LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddStatic(const char* text, DWORD style, const RECT* rect, LONG id,
                                                LONG* index) = 0;
    // The text is not used; WS_BORDER becomes the client edge.
    virtual HRESULT STDMETHODCALLTYPE AddEdit(const char* text, DWORD style, const RECT* rect, LONG id,
                                              LONG* index) = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddComboBox(const char* text, DWORD style, const RECT* rect, LONG id,
                                                  LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddButton(const char* text, DWORD style, const RECT* rect, LONG id,
                                                LONG* index) = 0;
    // Destroys every control; their scripting objects stop driving them.
    virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
    // Puts the panel on top of its page.
    virtual HRESULT STDMETHODCALLTYPE ShowAll() = 0;
    // Takes the panel off its page; the one below shows again.
    virtual HRESULT STDMETHODCALLTYPE HideAll() = 0;
    // Removes the panel from its page and deletes it.
    virtual HRESULT STDMETHODCALLTYPE Destroy() = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddSlider(const char* text, DWORD style, const RECT* rect, LONG id,
                                                LONG* index) = 0;
    // The text is not used; the style is the line control's own, WS_BORDER
    // in the caller's style adds the client edge.
    virtual HRESULT STDMETHODCALLTYPE AddRichEdit(const char* text, DWORD style, const RECT* rect, LONG id,
                                                  LONG* index) = 0;

protected:
    ~IControlPanel() = default;
};

// A toolbar of the main frame. Buttons and controls for an add-in command
// carry its host command ID (10000 plus its command-table index), so clicks
// reach the command engine like menu commands.
struct IToolbarControl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5(LONG_PTR) = 0;
    // On every toolbar of the main frame; E_FAIL when the command table does
    // not hold the command.
    virtual HRESULT STDMETHODCALLTYPE SetButtonState(IAddin* addin, LONG commandId, LONG state) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7(LONG_PTR) = 0;
    // `firstImage` (may be null): the images the toolbar held before.
    virtual HRESULT STDMETHODCALLTYPE AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved9(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                                LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                                 LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                                 LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddButtonControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                       DWORD style) = 0;
    // E_FAIL for an image outside the image list, or without an add-in for
    // anything but a separator (style 1). The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style,
                                                const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved14(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved15(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved16(LONG_PTR, LONG_PTR, LONG_PTR) = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddEditControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                     DWORD style) = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddComboBoxControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                         LONG dropHeight, DWORD style) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddStaticControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                       DWORD style) = 0;
    // The text is not used.
    virtual HRESULT STDMETHODCALLTYPE AddSpinControl(IAddin* addin, LONG commandId, const char* text, LONG width,
                                                     DWORD style) = 0;

protected:
    ~IToolbarControl() = default;
};
