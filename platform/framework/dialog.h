// CDialog: a dialog made by the dialog manager from a template (a module
// resource or a record built in code), run modally or modelessly, with data
// exchange between member variables and the controls (DoDataExchange with
// the DDX_ and DDV_ functions of ddx.h).
#pragma once

#include <optional>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/wnd.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/dialog.h"

class CDataExchange;

class NUVEX_PLATFORM_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // Modal run: IDOK, IDCANCEL or what EndDialog was given; -1 when the
    // dialog cannot be made.
    virtual INT_PTR DoModal();
    // A template built in code for the next DoModal.
    BOOL InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    // Modeless.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    void EndDialog(int result);

    // Reads the controls into the members (validating them) or writes the
    // members to the controls. FALSE when a value failed validation: the
    // person was told and the control has the focus.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);
    // Fills the controls from the members; TRUE lets the dialog manager
    // focus the first control.
    virtual BOOL OnInitDialog();
    // IDOK: the controls are read and checked; the dialog ends only when
    // they pass.
    virtual void OnOK();
    virtual void OnCancel();

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    BOOL CheckRadioButton(int first, int last, int check);
    BOOL CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    // Modeless dialogs take their keyboard through the dialog manager.
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDHelp = 0;
    LPCSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }
    HWND ParentHandle() const;
    static INT_PTR DialogProc(HWND, UINT, WPARAM, LPARAM);

    std::optional<DialogTemplate> m_template;
    bool m_modal = false;

    DECLARE_MESSAGE_MAP()
};
