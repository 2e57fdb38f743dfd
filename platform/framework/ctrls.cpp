// The framework's objects for the standard controls: creation by class
// name and the members that do more than forward one message.
#include "platform/framework/ctrls.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_BUTTONA, caption, style, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_EDITA, nullptr, style, rect, parent, id);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0;
    DWORD last = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll) {
        SendMessage(EM_SCROLLCARET);
    }
}

int CEdit::GetLine(int line, LPSTR buffer, int maxLength) const
{
    if (buffer == nullptr || maxLength <= 0) {
        return 0;
    }
    // The control reads the room it has from the buffer's first word, so a
    // buffer shorter than a word gets its copy through a larger one.
    const WORD room = static_cast<WORD>(std::min(maxLength, 0xFFFF));
    std::vector<char> scratch(std::max<size_t>(room, sizeof(WORD)));
    std::memcpy(scratch.data(), &room, sizeof(room));
    const int copied = static_cast<int>(
        SendMessage(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(scratch.data())));
    std::memcpy(buffer, scratch.data(), static_cast<size_t>(std::clamp(copied, 0, maxLength)));
    return copied;
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_STATICA, text, style, rect, parent, id);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_LISTBOXA, nullptr, style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const
{
    const int length = GetTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    char* buffer = text.GetBufferSetLength(std::max<int>(length, static_cast<int>(sizeof(ULONG_PTR))));
    GetText(index, buffer);
    text.ReleaseBuffer(length);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_COMBOBOXA, nullptr, style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const
{
    const int length = GetLBTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    char* buffer = text.GetBufferSetLength(std::max<int>(length, static_cast<int>(sizeof(ULONG_PTR))));
    GetLBText(index, buffer);
    text.ReleaseBuffer(length);
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_SCROLLBARA, nullptr, style, rect, parent, id);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw)
{
    if (info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) const
{
    if (info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, info);
}

int CScrollBar::GetScrollLimit() const
{
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(m_hWnd, SB_CTL, &info)) {
        return 0;
    }
    return std::max(info.nMin, info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0));
}

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id);
}

void CSliderCtrl::GetRange(int& minPos, int& maxPos) const
{
    minPos = GetRangeMin();
    maxPos = GetRangeMax();
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL redraw)
{
    SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
    SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), maxPos);
}

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(UPDOWN_CLASSA, nullptr, style, rect, parent, id);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy)
{
    HWND previous = reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy != nullptr ? buddy->m_hWnd : nullptr)));
    return previous != nullptr ? CWnd::FromHandle(previous) : nullptr;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    HWND buddy = reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY));
    return buddy != nullptr ? CWnd::FromHandle(buddy) : nullptr;
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE range{};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}
