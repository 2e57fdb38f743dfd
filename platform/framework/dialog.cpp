// CDialog over the dialog manager: the dialog window is attached to its
// object from its first creation message, so the message map sees
// WM_INITDIALOG and the commands of OK and Cancel.
#include "platform/framework/dialog.h"

#include "platform/framework/app.h"
#include "platform/controls/controls.h"
#include "platform/framework/ddx.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId),
      m_lpszTemplateName(UserIntName(static_cast<WORD>(templateId))),
      m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
    }
}

// The dialog manager's procedure for our dialogs: the object's map has
// handled what it wanted before this is reached.
INT_PTR CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND CDialog::ParentHandle() const
{
    if (m_pParentWnd != nullptr) {
        return m_pParentWnd->m_hWnd;
    }
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->m_hWnd : nullptr;
}

BOOL CDialog::InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent)
{
    m_template = dialogTemplate;
    if (parent != nullptr) {
        m_pParentWnd = parent;
    }
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr) {
        return -1;
    }
    m_modal = true;
    HookWindowCreate(this);
    INT_PTR result = -1;
    if (m_template) {
        result = ::DialogBoxIndirectParamA(nullptr, *m_template, ParentHandle(), &CDialog::DialogProc, 0);
    } else {
        result = ::DialogBoxParamA(nullptr, m_lpszTemplateName, ParentHandle(), &CDialog::DialogProc, 0);
    }
    // The hook is gone once the dialog was made; unhook if it never was.
    UnhookWindowCreate();
    m_modal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(UserIntName(static_cast<WORD>(templateId)), parent); }

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    m_lpszTemplateName = templateName;
    if (parent != nullptr) {
        m_pParentWnd = parent;
    }
    HookWindowCreate(this);
    HWND hwnd = ::CreateDialogParamA(nullptr, templateName, ParentHandle(), &CDialog::DialogProc, 0);
    UnhookWindowCreate();
    return hwnd != nullptr && hwnd == m_hWnd ? TRUE : FALSE;
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent)
{
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    if (parent != nullptr) {
        m_pParentWnd = parent;
    }
    HookWindowCreate(this);
    HWND hwnd = ::CreateDialogIndirectParamA(nullptr, dialogTemplate, ParentHandle(), &CDialog::DialogProc, 0);
    UnhookWindowCreate();
    return hwnd != nullptr && hwnd == m_hWnd ? TRUE : FALSE;
}

void CDialog::EndDialog(int result)
{
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        ShowWindow(SW_HIDE);
    }
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    // The dialog manager's own start (fonts, default button) first.
    Default();
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) {
        return;  // the person was told and the control has the focus
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, 0x0028 /* WM_NEXTDLGCTL */, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, 0x0028 /* WM_NEXTDLGCTL */, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control != nullptr) {
        ::SetFocus(control->m_hWnd);
    }
}

void CDialog::SetDefID(UINT id) { ::SendMessageA(m_hWnd, DM_SETDEFID, id, 0); }

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }

BOOL CDialog::CheckRadioButton(int first, int last, int check) { return ::CheckRadioButton(m_hWnd, first, last, check); }
BOOL CDialog::CheckDlgButton(int id, UINT check) { return ::CheckDlgButton(m_hWnd, id, check); }
UINT CDialog::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (m_modal || m_hWnd == nullptr) {
        return FALSE;  // the modal loop does this itself
    }
    if (msg->message < WM_KEYDOWN || msg->message > 0x0108) {
        return FALSE;
    }
    return ::IsDialogMessageA(m_hWnd, msg);
}
