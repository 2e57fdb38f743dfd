// CRichEditCtrl: each member is the control's message.
#include "platform/framework/richeditctrl.h"

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace {

LPARAM Ptr(const void* p) { return reinterpret_cast<LPARAM>(p); }

} // namespace

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, style, rect, parent, id);
}

BOOL CRichEditCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(exStyle, RICHEDIT_CLASSA, nullptr, style, rect, parent, id);
}

int CRichEditCtrl::GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
int CRichEditCtrl::LineIndex(int line) const { return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); }
int CRichEditCtrl::LineLength(int charIndex) const
{
    return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(charIndex)));
}
long CRichEditCtrl::LineFromChar(long charIndex) const
{
    return static_cast<long>(SendMessage(EM_EXLINEFROMCHAR, 0, charIndex));
}

int CRichEditCtrl::GetLine(int line, LPSTR buffer) const
{
    return static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(line), Ptr(buffer)));
}

int CRichEditCtrl::GetLine(int line, LPSTR buffer, int maxLength) const
{
    if (buffer == nullptr || maxLength <= 0) {
        return 0;
    }
    // The size travels in the buffer's first word; a buffer shorter than
    // that word gets its characters through a copy.
    const WORD size = static_cast<WORD>(std::min(maxLength, 0xFFFF));
    std::string scratch(std::max<size_t>(size, sizeof(WORD)), '\0');
    std::memcpy(scratch.data(), &size, sizeof(size));
    const int copied = static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(line), Ptr(scratch.data())));
    std::memcpy(buffer, scratch.data(), static_cast<size_t>(std::min(copied, maxLength)));
    return copied;
}

int CRichEditCtrl::GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
BOOL CRichEditCtrl::LineScroll(int lines, int chars)
{
    return SendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines) != 0 ? TRUE : FALSE;
}

CPoint CRichEditCtrl::PosFromChar(UINT charIndex) const
{
    POINT point{};
    SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), static_cast<LPARAM>(charIndex));
    return CPoint(point.x, point.y);
}

int CRichEditCtrl::CharFromPos(CPoint point) const
{
    POINT p{point.x, point.y};
    return static_cast<int>(SendMessage(EM_CHARFROMPOS, 0, Ptr(&p)));
}

long CRichEditCtrl::GetTextLength() const { return static_cast<long>(SendMessage(WM_GETTEXTLENGTH)); }

long CRichEditCtrl::GetTextRange(long first, long last, CString& text) const
{
    const long length = std::max<long>(0, std::min(last, GetTextLength()) - std::max<long>(first, 0));
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    TEXTRANGEA range{{static_cast<LONG>(first), static_cast<LONG>(last)}, buffer.data()};
    const long copied = static_cast<long>(SendMessage(EM_GETTEXTRANGE, 0, Ptr(&range)));
    text = buffer.c_str();
    return copied;
}

void CRichEditCtrl::GetSel(CHARRANGE& range) const { SendMessage(EM_EXGETSEL, 0, Ptr(&range)); }
void CRichEditCtrl::GetSel(long& start, long& end) const
{
    CHARRANGE range{};
    GetSel(range);
    start = range.cpMin;
    end = range.cpMax;
}
void CRichEditCtrl::SetSel(CHARRANGE& range) { SendMessage(EM_EXSETSEL, 0, Ptr(&range)); }
void CRichEditCtrl::SetSel(long start, long end)
{
    CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
    SetSel(range);
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE range{};
    GetSel(range);
    std::string buffer(static_cast<size_t>(std::max<LONG>(range.cpMax - range.cpMin, 0)) + 1, '\0');
    SendMessage(EM_GETSELTEXT, 0, Ptr(buffer.data()));
    return CString(buffer.c_str());
}

long CRichEditCtrl::GetSelText(LPSTR buffer) const { return static_cast<long>(SendMessage(EM_GETSELTEXT, 0, Ptr(buffer))); }
WORD CRichEditCtrl::GetSelectionType() const { return static_cast<WORD>(SendMessage(EM_SELECTIONTYPE)); }
void CRichEditCtrl::ReplaceSel(LPCSTR text, BOOL canUndo)
{
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(canUndo), Ptr(text));
}
void CRichEditCtrl::HideSelection(BOOL hide, BOOL permanent)
{
    SendMessage(EM_HIDESELECTION, static_cast<WPARAM>(hide), permanent);
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& format) const
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, Ptr(&format)));
}
DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& format) const
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, Ptr(&format)));
}
BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& format)
{
    return SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, Ptr(&format)) != 0 ? TRUE : FALSE;
}
BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& format)
{
    return SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, Ptr(&format)) != 0 ? TRUE : FALSE;
}
BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT& format)
{
    return SendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, Ptr(&format)) != 0 ? TRUE : FALSE;
}
DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& format) const
{
    format.cbSize = sizeof(format);
    return static_cast<DWORD>(SendMessage(EM_GETPARAFORMAT, 0, Ptr(&format)));
}
BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& format)
{
    return SendMessage(EM_SETPARAFORMAT, 0, Ptr(&format)) != 0 ? TRUE : FALSE;
}
COLORREF CRichEditCtrl::SetBackgroundColor(BOOL systemColor, COLORREF colour)
{
    return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, static_cast<WPARAM>(systemColor), colour));
}

BOOL CRichEditCtrl::CanUndo() const { return SendMessage(EM_CANUNDO) != 0 ? TRUE : FALSE; }
BOOL CRichEditCtrl::CanRedo() const { return SendMessage(EM_CANREDO) != 0 ? TRUE : FALSE; }
BOOL CRichEditCtrl::Undo() { return SendMessage(EM_UNDO) != 0 ? TRUE : FALSE; }
BOOL CRichEditCtrl::Redo() { return SendMessage(EM_REDO) != 0 ? TRUE : FALSE; }
void CRichEditCtrl::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
void CRichEditCtrl::StopGroupTyping() { SendMessage(EM_STOPGROUPTYPING); }
void CRichEditCtrl::Clear() { SendMessage(WM_CLEAR); }
void CRichEditCtrl::Copy() { SendMessage(WM_COPY); }
void CRichEditCtrl::Cut() { SendMessage(WM_CUT); }
void CRichEditCtrl::Paste() { SendMessage(WM_PASTE); }
BOOL CRichEditCtrl::CanPaste(UINT format) const { return SendMessage(EM_CANPASTE, format) != 0 ? TRUE : FALSE; }
BOOL CRichEditCtrl::GetModify() const { return SendMessage(EM_GETMODIFY) != 0 ? TRUE : FALSE; }
void CRichEditCtrl::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(modified)); }
BOOL CRichEditCtrl::SetReadOnly(BOOL readOnly)
{
    return SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly)) != 0 ? TRUE : FALSE;
}
void CRichEditCtrl::LimitText(long limit) { SendMessage(EM_EXLIMITTEXT, 0, limit); }
long CRichEditCtrl::FindText(DWORD flags, FINDTEXTEX* find) const
{
    return static_cast<long>(SendMessage(EM_FINDTEXTEX, flags, Ptr(find)));
}

DWORD CRichEditCtrl::GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
DWORD CRichEditCtrl::SetEventMask(DWORD mask) { return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, mask)); }
