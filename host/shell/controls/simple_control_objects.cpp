// The simple controls' scripting objects: each slot sends the control its
// message and hands back the answer.
#include "host/shell/controls/simple_control_objects.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/controls.h"
#include "platform/controls/richedit.h"

namespace {

LPARAM TextParam(const char* text) { return reinterpret_cast<LPARAM>(text); }

// An item's text of a list (LB_GETTEXT / CB_GETLBTEXT) whatever its length,
// cut to what a caller's buffer holds. -1 (LB_ERR, CB_ERR) for a bad index.
int CopyItemText(CWnd& list, UINT lengthMessage, UINT textMessage, int index, char* buffer)
{
    const LRESULT length = list.SendMessage(lengthMessage, static_cast<WPARAM>(index));
    if (length < 0) {
        return static_cast<int>(length);
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = list.SendMessage(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (copied < 0) {
        return static_cast<int>(copied);
    }
    return CopyControlText(text.data(), std::min(static_cast<size_t>(copied), static_cast<size_t>(length)), buffer);
}

} // namespace

int CopyControlText(const char* text, size_t length, char* buffer)
{
    if (buffer == nullptr) {
        return 0;
    }
    const size_t kept = std::min(length, static_cast<size_t>(kControlTextBufferSize - 1));
    std::memcpy(buffer, text, kept);
    buffer[kept] = '\0';
    return static_cast<int>(kept);
}

int CopyWindowText(const CWnd& window, char* buffer)
{
    CString text;
    window.GetWindowText(text);
    return CopyControlText(text.GetString(), static_cast<size_t>(text.GetLength()), buffer);
}

// Button ---------------------------------------------------------------------------

HRESULT CButtonObject::SetFocus()
{
    if (CButton* button = GetControl()) {
        button->SetFocus();
    }
    return S_OK;
}

HRESULT CButtonObject::GetState(UINT* state)
{
    return Forward([&](CButton& c) { SetOptional(state, c.SendMessage(BM_GETSTATE)); });
}

HRESULT CButtonObject::SetState(BOOL highlight)
{
    return Forward([&](CButton& c) { c.SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight)); });
}

HRESULT CButtonObject::GetCheck(int* check)
{
    return Forward([&](CButton& c) { SetOptional(check, c.SendMessage(BM_GETCHECK)); });
}

HRESULT CButtonObject::SetCheck(int check)
{
    return Forward([&](CButton& c) { c.SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); });
}

HRESULT CButtonObject::GetButtonStyle(UINT* style)
{
    return Forward([&](CButton& c) { SetOptional(style, c.GetStyle() & 0xFFu); });
}

HRESULT CButtonObject::SetButtonStyle(UINT style)
{
    return Forward([&](CButton& c) { c.SendMessage(BM_SETSTYLE, style, TRUE); });
}

HRESULT CButtonObject::GetIcon(HICON* icon)
{
    return Forward([&](CButton& c) {
        SetOptional(icon, reinterpret_cast<HICON>(c.SendMessage(BM_GETIMAGE, IMAGE_ICON)));
    });
}

HRESULT CButtonObject::SetIcon(HICON icon)
{
    return Forward([&](CButton& c) { c.SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)); });
}

HRESULT CButtonObject::GetBitmap(HBITMAP* bitmap)
{
    return Forward([&](CButton& c) {
        SetOptional(bitmap, reinterpret_cast<HBITMAP>(c.SendMessage(BM_GETIMAGE, IMAGE_BITMAP)));
    });
}

HRESULT CButtonObject::SetBitmap(HBITMAP bitmap)
{
    return Forward([&](CButton& c) { c.SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)); });
}

HRESULT CButtonObject::GetText(char* buffer)
{
    return Forward([&](CButton& c) { CopyWindowText(c, buffer); });
}

HRESULT CButtonObject::SetText(const char* text)
{
    return Forward([&](CButton& c) { c.SetWindowText(text); });
}

// Combo box ------------------------------------------------------------------------

HRESULT CComboBoxObject::AddString(const char* text, int* indexOptional)
{
    return Forward([&](CComboBox& c) { SetOptional(indexOptional, c.SendMessage(CB_ADDSTRING, 0, TextParam(text))); });
}

HRESULT CComboBoxObject::DeleteString(UINT index, int* remainingOptional)
{
    return Forward([&](CComboBox& c) { SetOptional(remainingOptional, c.SendMessage(CB_DELETESTRING, index)); });
}

HRESULT CComboBoxObject::InsertString(int index, const char* text, int* resultOptional)
{
    return Forward([&](CComboBox& c) {
        SetOptional(resultOptional, c.SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text)));
    });
}

HRESULT CComboBoxObject::ResetContent()
{
    return Forward([&](CComboBox& c) { c.SendMessage(CB_RESETCONTENT); });
}

HRESULT CComboBoxObject::FindString(int start, const char* text, int* index)
{
    return Forward([&](CComboBox& c) {
        SetOptional(index, c.SendMessage(CB_FINDSTRING, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CComboBoxObject::FindStringExact(int start, const char* text, int* index)
{
    return Forward([&](CComboBox& c) {
        SetOptional(index, c.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CComboBoxObject::SelectString(int start, const char* text, int* indexOptional)
{
    return Forward([&](CComboBox& c) {
        SetOptional(indexOptional, c.SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CComboBoxObject::GetCount(int* count)
{
    return Forward([&](CComboBox& c) { SetOptional(count, c.SendMessage(CB_GETCOUNT)); });
}

HRESULT CComboBoxObject::GetCurSel(int* index)
{
    return Forward([&](CComboBox& c) { SetOptional(index, c.SendMessage(CB_GETCURSEL)); });
}

HRESULT CComboBoxObject::SetCurSel(int index)
{
    CComboBox* combo = GetControl();
    if (combo == nullptr) {
        return E_FAIL;
    }
    return combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)) < 0 ? E_FAIL : S_OK;
}

HRESULT CComboBoxObject::GetTopIndex(int* index)
{
    return Forward([&](CComboBox& c) { SetOptional(index, c.SendMessage(CB_GETTOPINDEX)); });
}

HRESULT CComboBoxObject::SetTopIndex(int index)
{
    CComboBox* combo = GetControl();
    if (combo == nullptr) {
        return E_FAIL;
    }
    return combo->SendMessage(CB_SETTOPINDEX, static_cast<WPARAM>(index)) != 0 ? E_FAIL : S_OK;
}

HRESULT CComboBoxObject::GetEditSel(DWORD* start, DWORD* end)
{
    return Forward([&](CComboBox& c) {
        const auto selection = static_cast<DWORD>(c.SendMessage(CB_GETEDITSEL));
        SetOptional(start, LOWORD(selection));
        SetOptional(end, HIWORD(selection));
    });
}

HRESULT CComboBoxObject::SetEditSel(int start, int end)
{
    CComboBox* combo = GetControl();
    if (combo == nullptr) {
        return E_FAIL;
    }
    const LPARAM range = MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end));
    return combo->SendMessage(CB_SETEDITSEL, 0, range) == 0 ? E_FAIL : S_OK;
}

HRESULT CComboBoxObject::GetText(char* buffer)
{
    return Forward([&](CComboBox& c) { CopyWindowText(c, buffer); });
}

HRESULT CComboBoxObject::SetText(const char* text)
{
    return Forward([&](CComboBox& c) { c.SetWindowText(text); });
}

HRESULT CComboBoxObject::GetLBText(int index, char* buffer, int* lengthOptional)
{
    return Forward([&](CComboBox& c) {
        SetOptional(lengthOptional, CopyItemText(c, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, buffer));
    });
}

// Edit -----------------------------------------------------------------------------

HRESULT CEditObject::GetLineCount(int* count)
{
    return Forward([&](CEdit& c) { SetOptional(count, c.SendMessage(EM_GETLINECOUNT)); });
}

HRESULT CEditObject::GetSel(int* start, int* end)
{
    return Forward([&](CEdit& c) {
        DWORD first = 0;
        DWORD last = 0;
        c.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
        SetOptional(start, first);
        SetOptional(end, last);
    });
}

HRESULT CEditObject::SetSel(int start, int end, BOOL noScroll)
{
    return Forward([&](CEdit& c) {
        c.SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) {
            c.SendMessage(EM_SCROLLCARET);
        }
    });
}

HRESULT CEditObject::GetLine(int line, char* buffer)
{
    return Forward([&](CEdit& c) { c.SendMessage(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer)); });
}

HRESULT CEditObject::GetFirstVisibleLine(int* line)
{
    return Forward([&](CEdit& c) { SetOptional(line, c.SendMessage(EM_GETFIRSTVISIBLELINE)); });
}

HRESULT CEditObject::LineFromChar(int charIndex, int* line)
{
    return Forward([&](CEdit& c) { SetOptional(line, c.SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(charIndex))); });
}

HRESULT CEditObject::LineIndex(int line, int* charIndex)
{
    return Forward([&](CEdit& c) { SetOptional(charIndex, c.SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); });
}

HRESULT CEditObject::LineLength(int charIndex, int* length)
{
    return Forward([&](CEdit& c) { SetOptional(length, c.SendMessage(EM_LINELENGTH, static_cast<WPARAM>(charIndex))); });
}

HRESULT CEditObject::LineScroll(int lines, int chars)
{
    return Forward([&](CEdit& c) { c.SendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines); });
}

HRESULT CEditObject::ReplaceSel(const char* text)
{
    return Forward([&](CEdit& c) { c.SendMessage(EM_REPLACESEL, FALSE, TextParam(text)); });
}

HRESULT CEditObject::SetReadOnly(BOOL readOnly, BOOL* resultOptional)
{
    return Forward([&](CEdit& c) { SetOptional(resultOptional, c.SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly))); });
}

HRESULT CEditObject::SetText(const char* text)
{
    return Forward([&](CEdit& c) { c.SetWindowText(text); });
}

HRESULT CEditObject::GetText(char* buffer)
{
    return Forward([&](CEdit& c) { CopyWindowText(c, buffer); });
}

HRESULT CEditObject::SetFocus()
{
    if (CEdit* edit = GetControl()) {
        edit->SetFocus();
    }
    return S_OK;
}

// List box -------------------------------------------------------------------------

HRESULT CListBoxObject::GetCount(int* count)
{
    return Forward([&](CListBox& c) { SetOptional(count, c.SendMessage(LB_GETCOUNT)); });
}

HRESULT CListBoxObject::GetTopIndex(int* index)
{
    return Forward([&](CListBox& c) { SetOptional(index, c.SendMessage(LB_GETTOPINDEX)); });
}

HRESULT CListBoxObject::SetTopIndex(int index)
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index)); });
}

HRESULT CListBoxObject::GetSel(int index, int* selected)
{
    return Forward([&](CListBox& c) { SetOptional(selected, c.SendMessage(LB_GETSEL, static_cast<WPARAM>(index))); });
}

HRESULT CListBoxObject::SetSel(int index, BOOL select, int* resultOptional)
{
    return Forward([&](CListBox& c) { SetOptional(resultOptional, c.SendMessage(LB_SETSEL, static_cast<WPARAM>(select), index)); });
}

HRESULT CListBoxObject::GetText(int index, char* buffer, int* lengthOptional)
{
    return Forward([&](CListBox& c) {
        SetOptional(lengthOptional, CopyItemText(c, LB_GETTEXTLEN, LB_GETTEXT, index, buffer));
    });
}

HRESULT CListBoxObject::GetCurSel(int* index)
{
    return Forward([&](CListBox& c) { SetOptional(index, c.SendMessage(LB_GETCURSEL)); });
}

HRESULT CListBoxObject::SetCurSel(int index)
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)); });
}

HRESULT CListBoxObject::AddString(const char* text, int* indexOptional)
{
    return Forward([&](CListBox& c) { SetOptional(indexOptional, c.SendMessage(LB_ADDSTRING, 0, TextParam(text))); });
}

HRESULT CListBoxObject::DeleteString(UINT index, int* remainingOptional)
{
    return Forward([&](CListBox& c) { SetOptional(remainingOptional, c.SendMessage(LB_DELETESTRING, index)); });
}

HRESULT CListBoxObject::InsertString(int index, const char* text, int* resultOptional)
{
    return Forward([&](CListBox& c) {
        SetOptional(resultOptional, c.SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text)));
    });
}

HRESULT CListBoxObject::ResetContent()
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_RESETCONTENT); });
}

HRESULT CListBoxObject::FindString(int start, const char* text, int* index)
{
    return Forward([&](CListBox& c) {
        SetOptional(index, c.SendMessage(LB_FINDSTRING, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CListBoxObject::FindStringExact(int start, const char* text, int* index)
{
    return Forward([&](CListBox& c) {
        SetOptional(index, c.SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CListBoxObject::SelectString(int start, const char* text, int* indexOptional)
{
    return Forward([&](CListBox& c) {
        SetOptional(indexOptional, c.SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(start), TextParam(text)));
    });
}

HRESULT CListBoxObject::GetCaretIndex(int* index)
{
    return Forward([&](CListBox& c) { SetOptional(index, c.SendMessage(LB_GETCARETINDEX)); });
}

HRESULT CListBoxObject::SetCaretIndex(int index, BOOL scroll)
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), scroll); });
}

HRESULT CListBoxObject::GetSelCount(int* count)
{
    return Forward([&](CListBox& c) { SetOptional(count, c.SendMessage(LB_GETSELCOUNT)); });
}

HRESULT CListBoxObject::GetSelItems(int maxItems, int* items, int* countOptional)
{
    return Forward([&](CListBox& c) {
        SetOptional(countOptional,
                    c.SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(maxItems), reinterpret_cast<LPARAM>(items)));
    });
}

HRESULT CListBoxObject::SelItemRange(BOOL select, int first, int last, int* resultOptional)
{
    // The range message selects when its first index is the smaller one
    // and deselects when it is the larger.
    const int from = select ? first : last;
    const int to = select ? last : first;
    return Forward([&](CListBox& c) {
        SetOptional(resultOptional, c.SendMessage(LB_SELITEMRANGEEX, static_cast<WPARAM>(from), to));
    });
}

HRESULT CListBoxObject::GetAnchorIndex(int* index)
{
    return Forward([&](CListBox& c) { SetOptional(index, c.SendMessage(LB_GETANCHORINDEX)); });
}

HRESULT CListBoxObject::SetAnchorIndex(int index)
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_SETANCHORINDEX, static_cast<WPARAM>(index)); });
}

HRESULT CListBoxObject::SetColumnWidth(int width)
{
    return Forward([&](CListBox& c) { c.SendMessage(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width)); });
}

// Slider ---------------------------------------------------------------------------

HRESULT CSliderObject::GetPos(int* pos)
{
    return Forward([&](CSliderCtrl& c) { SetOptional(pos, c.SendMessage(TBM_GETPOS)); });
}

HRESULT CSliderObject::SetPos(int pos)
{
    return Forward([&](CSliderCtrl& c) { c.SendMessage(TBM_SETPOS, TRUE, pos); });
}

HRESULT CSliderObject::GetRange(int* min, int* max)
{
    return Forward([&](CSliderCtrl& c) {
        SetOptional(min, c.SendMessage(TBM_GETRANGEMIN));
        SetOptional(max, c.SendMessage(TBM_GETRANGEMAX));
    });
}

HRESULT CSliderObject::SetRange(int min, int max)
{
    return Forward([&](CSliderCtrl& c) {
        c.SendMessage(TBM_SETRANGEMIN, FALSE, min);
        c.SendMessage(TBM_SETRANGEMAX, FALSE, max);
    });
}

// Spin button ----------------------------------------------------------------------

HRESULT CSpinObject::GetBase(int* base)
{
    return Forward([&](CSpinButtonCtrl& c) { SetOptional(base, LOWORD(static_cast<uintptr_t>(c.SendMessage(UDM_GETBASE)))); });
}

HRESULT CSpinObject::SetBase(int base)
{
    return Forward([&](CSpinButtonCtrl& c) { c.SendMessage(UDM_SETBASE, static_cast<WPARAM>(base)); });
}

HRESULT CSpinObject::GetPos(int* pos)
{
    return Forward([&](CSpinButtonCtrl& c) { SetOptional(pos, c.SendMessage(UDM_GETPOS)); });
}

HRESULT CSpinObject::SetPos(int pos)
{
    return Forward([&](CSpinButtonCtrl& c) { c.SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(pos), 0)); });
}

HRESULT CSpinObject::GetRange(int* lower, int* upper)
{
    return Forward([&](CSpinButtonCtrl& c) {
        int low = 0;
        int high = 0;
        c.SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        SetOptional(lower, low);
        SetOptional(upper, high);
    });
}

HRESULT CSpinObject::SetRange(int lower, int upper)
{
    return Forward([&](CSpinButtonCtrl& c) { c.SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); });
}

// Static ---------------------------------------------------------------------------

HRESULT CStaticObject::GetIcon(HICON* icon)
{
    return Forward([&](CStatic& c) { SetOptional(icon, reinterpret_cast<HICON>(c.SendMessage(STM_GETICON))); });
}

HRESULT CStaticObject::SetIcon(HICON icon)
{
    return Forward([&](CStatic& c) { c.SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)); });
}

HRESULT CStaticObject::GetBitmap(HBITMAP* bitmap)
{
    return Forward([&](CStatic& c) {
        SetOptional(bitmap, reinterpret_cast<HBITMAP>(c.SendMessage(STM_GETIMAGE, IMAGE_BITMAP)));
    });
}

HRESULT CStaticObject::SetBitmap(HBITMAP bitmap)
{
    return Forward([&](CStatic& c) { c.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)); });
}

HRESULT CStaticObject::SetText(const char* text)
{
    return Forward([&](CStatic& c) { c.SetWindowText(text); });
}

HRESULT CStaticObject::GetText(char* buffer)
{
    return Forward([&](CStatic& c) { CopyWindowText(c, buffer); });
}
