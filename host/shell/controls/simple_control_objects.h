// The scripting objects of the simple controls: button, combo box, edit,
// list box, slider, spin button and static. Each forwards its slots to one
// control by the control's own messages; results of those messages (counts,
// CB_ERR, LB_ERR) come back unchanged except where a slot names an E_FAIL
// test. A panel control's object has no binding; a toolbar control passes
// its document binding.
#pragma once

#include "host/shell/controls/control_object.h"
#include "platform/framework/ctrls.h"

class CButtonObject final : public CControlObject<IButtonControl, CButton, ControlObjectKind::Bindable> {
public:
    explicit CButtonObject(CButton* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_IButtonControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE SetFocus() override;
    HRESULT STDMETHODCALLTYPE GetState(UINT* state) override;
    HRESULT STDMETHODCALLTYPE SetState(BOOL highlight) override;
    HRESULT STDMETHODCALLTYPE GetCheck(int* check) override;
    HRESULT STDMETHODCALLTYPE SetCheck(int check) override;
    HRESULT STDMETHODCALLTYPE GetButtonStyle(UINT* style) override;
    HRESULT STDMETHODCALLTYPE SetButtonStyle(UINT style) override;
    HRESULT STDMETHODCALLTYPE GetIcon(HICON* icon) override;
    HRESULT STDMETHODCALLTYPE SetIcon(HICON icon) override;
    HRESULT STDMETHODCALLTYPE GetBitmap(HBITMAP* bitmap) override;
    HRESULT STDMETHODCALLTYPE SetBitmap(HBITMAP bitmap) override;
    HRESULT STDMETHODCALLTYPE GetText(char* buffer) override;
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;
};

class CComboBoxObject final : public CControlObject<IComboBoxControl, CComboBox, ControlObjectKind::Bindable> {
public:
    explicit CComboBoxObject(CComboBox* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_IComboBoxControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE AddString(const char* text, int* indexOptional) override;
    HRESULT STDMETHODCALLTYPE DeleteString(UINT index, int* remainingOptional) override;
    HRESULT STDMETHODCALLTYPE InsertString(int index, const char* text, int* resultOptional) override;
    HRESULT STDMETHODCALLTYPE ResetContent() override;
    HRESULT STDMETHODCALLTYPE FindString(int start, const char* text, int* index) override;
    HRESULT STDMETHODCALLTYPE FindStringExact(int start, const char* text, int* index) override;
    HRESULT STDMETHODCALLTYPE SelectString(int start, const char* text, int* indexOptional) override;
    HRESULT STDMETHODCALLTYPE GetCount(int* count) override;
    HRESULT STDMETHODCALLTYPE GetCurSel(int* index) override;
    HRESULT STDMETHODCALLTYPE SetCurSel(int index) override;
    HRESULT STDMETHODCALLTYPE GetTopIndex(int* index) override;
    HRESULT STDMETHODCALLTYPE SetTopIndex(int index) override;
    HRESULT STDMETHODCALLTYPE GetEditSel(DWORD* start, DWORD* end) override;
    HRESULT STDMETHODCALLTYPE SetEditSel(int start, int end) override;
    HRESULT STDMETHODCALLTYPE GetText(char* buffer) override;
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;
    HRESULT STDMETHODCALLTYPE GetLBText(int index, char* buffer, int* lengthOptional) override;
};

class CEditObject final : public CControlObject<IEditControl, CEdit, ControlObjectKind::Bindable> {
public:
    explicit CEditObject(CEdit* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_IEditControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE GetLineCount(int* count) override;
    HRESULT STDMETHODCALLTYPE GetSel(int* start, int* end) override;
    HRESULT STDMETHODCALLTYPE SetSel(int start, int end, BOOL noScroll) override;
    HRESULT STDMETHODCALLTYPE GetLine(int line, char* buffer) override;
    HRESULT STDMETHODCALLTYPE GetFirstVisibleLine(int* line) override;
    HRESULT STDMETHODCALLTYPE LineFromChar(int charIndex, int* line) override;
    HRESULT STDMETHODCALLTYPE LineIndex(int line, int* charIndex) override;
    HRESULT STDMETHODCALLTYPE LineLength(int charIndex, int* length) override;
    HRESULT STDMETHODCALLTYPE LineScroll(int lines, int chars) override;
    HRESULT STDMETHODCALLTYPE ReplaceSel(const char* text) override;
    HRESULT STDMETHODCALLTYPE SetReadOnly(BOOL readOnly, BOOL* resultOptional) override;
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;
    HRESULT STDMETHODCALLTYPE GetText(char* buffer) override;
    HRESULT STDMETHODCALLTYPE SetFocus() override;
};

class CListBoxObject final : public CControlObject<IWindowControl, CListBox, ControlObjectKind::ListBox> {
public:
    explicit CListBoxObject(CListBox* control) : CControlObject(control, IID_IWindowControl) {}
    HRESULT STDMETHODCALLTYPE GetCount(int* count) override;
    HRESULT STDMETHODCALLTYPE GetTopIndex(int* index) override;
    HRESULT STDMETHODCALLTYPE SetTopIndex(int index) override;
    HRESULT STDMETHODCALLTYPE GetSel(int index, int* selected) override;
    HRESULT STDMETHODCALLTYPE SetSel(int index, BOOL select, int* resultOptional) override;
    HRESULT STDMETHODCALLTYPE GetText(int index, char* buffer, int* lengthOptional) override;
    HRESULT STDMETHODCALLTYPE GetCurSel(int* index) override;
    HRESULT STDMETHODCALLTYPE SetCurSel(int index) override;
    HRESULT STDMETHODCALLTYPE AddString(const char* text, int* indexOptional) override;
    HRESULT STDMETHODCALLTYPE DeleteString(UINT index, int* remainingOptional) override;
    HRESULT STDMETHODCALLTYPE InsertString(int index, const char* text, int* resultOptional) override;
    HRESULT STDMETHODCALLTYPE ResetContent() override;
    HRESULT STDMETHODCALLTYPE FindString(int start, const char* text, int* index) override;
    HRESULT STDMETHODCALLTYPE FindStringExact(int start, const char* text, int* index) override;
    HRESULT STDMETHODCALLTYPE SelectString(int start, const char* text, int* indexOptional) override;
    HRESULT STDMETHODCALLTYPE GetCaretIndex(int* index) override;
    HRESULT STDMETHODCALLTYPE SetCaretIndex(int index, BOOL scroll) override;
    HRESULT STDMETHODCALLTYPE GetSelCount(int* count) override;
    HRESULT STDMETHODCALLTYPE GetSelItems(int maxItems, int* items, int* countOptional) override;
    HRESULT STDMETHODCALLTYPE SelItemRange(BOOL select, int first, int last, int* resultOptional) override;
    HRESULT STDMETHODCALLTYPE GetAnchorIndex(int* index) override;
    HRESULT STDMETHODCALLTYPE SetAnchorIndex(int index) override;
    HRESULT STDMETHODCALLTYPE SetColumnWidth(int width) override;
};

class CSliderObject final : public CControlObject<ISliderControl, CSliderCtrl, ControlObjectKind::Bindable> {
public:
    explicit CSliderObject(CSliderCtrl* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_ISliderControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE GetPos(int* pos) override;
    HRESULT STDMETHODCALLTYPE SetPos(int pos) override;
    HRESULT STDMETHODCALLTYPE GetRange(int* min, int* max) override;
    HRESULT STDMETHODCALLTYPE SetRange(int min, int max) override;
};

class CSpinObject final : public CControlObject<ISpinControl, CSpinButtonCtrl, ControlObjectKind::Bindable> {
public:
    explicit CSpinObject(CSpinButtonCtrl* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_ISpinControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE GetBase(int* base) override;
    HRESULT STDMETHODCALLTYPE SetBase(int base) override;
    HRESULT STDMETHODCALLTYPE GetPos(int* pos) override;
    HRESULT STDMETHODCALLTYPE SetPos(int pos) override;
    HRESULT STDMETHODCALLTYPE GetRange(int* lower, int* upper) override;
    HRESULT STDMETHODCALLTYPE SetRange(int lower, int upper) override;
};

class CStaticObject final : public CControlObject<IStaticControl, CStatic, ControlObjectKind::Bindable> {
public:
    explicit CStaticObject(CStatic* control, IControlBinding* binding = nullptr)
        : CControlObject(control, IID_IStaticControl, binding)
    {
    }
    HRESULT STDMETHODCALLTYPE GetIcon(HICON* icon) override;
    HRESULT STDMETHODCALLTYPE SetIcon(HICON icon) override;
    HRESULT STDMETHODCALLTYPE GetBitmap(HBITMAP* bitmap) override;
    HRESULT STDMETHODCALLTYPE SetBitmap(HBITMAP bitmap) override;
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;
    HRESULT STDMETHODCALLTYPE GetText(char* buffer) override;
};
