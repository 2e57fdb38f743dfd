// CRichEditCtrl: the framework object of a rich edit control
// ("RichEdit20A"). Each member sends the control its message; notifications
// reach the parent (and, reflected, the control's own message map) as the
// event mask says.
#pragma once

#include "platform/base/api.h"
#include "platform/controls/richedit.h"
#include "platform/framework/cstring.h"
#include "platform/framework/geometry.h"
#include "platform/framework/wnd.h"

class NUVEX_PLATFORM_API CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;

    // A child control of `parent` with id `id`; FALSE when it was refused.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    using CWnd::Create;
    using CWnd::CreateEx;

    // Rows ------------------------------------------------------------------
    int GetLineCount() const;
    // The first character of row `line` (-1: the caret's row); -1 past the end.
    int LineIndex(int line = -1) const;
    // The length of the row holding character `charIndex` (-1: the selection's).
    int LineLength(int charIndex = -1) const;
    long LineFromChar(long charIndex) const;
    // Copies row `line` into `buffer` (at most `maxLength` characters, or as
    // many as the first word of the buffer says); the count copied.
    int GetLine(int line, LPSTR buffer) const;
    int GetLine(int line, LPSTR buffer, int maxLength) const;
    int GetFirstVisibleLine() const;
    BOOL LineScroll(int lines, int chars = 0);
    CPoint PosFromChar(UINT charIndex) const;
    int CharFromPos(CPoint point) const;
    long GetTextLength() const;
    long GetTextRange(long first, long last, CString& text) const;

    // Selection ---------------------------------------------------------------
    void GetSel(CHARRANGE& range) const;
    void GetSel(long& start, long& end) const;
    void SetSel(CHARRANGE& range);
    void SetSel(long start, long end);
    CString GetSelText() const;
    // `buffer` must hold the selected text and its terminating zero.
    long GetSelText(LPSTR buffer) const;
    WORD GetSelectionType() const;
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    void HideSelection(BOOL hide, BOOL permanent);

    // Formats -------------------------------------------------------------------
    DWORD GetDefaultCharFormat(CHARFORMAT& format) const;
    DWORD GetSelectionCharFormat(CHARFORMAT& format) const;
    BOOL SetDefaultCharFormat(CHARFORMAT& format);
    BOOL SetSelectionCharFormat(CHARFORMAT& format);
    BOOL SetWordCharFormat(CHARFORMAT& format);
    DWORD GetParaFormat(PARAFORMAT& format) const;
    BOOL SetParaFormat(PARAFORMAT& format);
    // Answers the previous background colour.
    COLORREF SetBackgroundColor(BOOL systemColor, COLORREF colour);

    // Editing ---------------------------------------------------------------------
    BOOL CanUndo() const;
    BOOL CanRedo() const;
    BOOL Undo();
    BOOL Redo();
    void EmptyUndoBuffer();
    void StopGroupTyping();
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL CanPaste(UINT format = 0) const;
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void LimitText(long limit = 0);
    // The start of the match (and its range in find.chrgText), or -1.
    long FindText(DWORD flags, FINDTEXTEX* find) const;

    // Notifications -------------------------------------------------------------
    DWORD GetEventMask() const;
    // Answers the previous mask.
    DWORD SetEventMask(DWORD mask);
};
