// The dialog bar: a dialog template made as a child of the frame, placed
// along its edge like the other bars, its controls updated by idle
// command-UI updates.
#include "platform/framework/controlbar_internal.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/dialog.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

namespace {

// The dialog manager's procedure for a bar: nothing of its own, the
// framework's procedure (subclassed in) does the work.
INT_PTR DialogBarProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

// The template as a child window without a frame of its own.
DialogTemplate AsChild(const DialogTemplate& source, UINT style)
{
    DialogTemplate child = source;
    child.style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE);
    child.style |= WS_CHILD | (style & WS_VISIBLE);
    return child;
}

} // namespace

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    return Create(parent, UserIntName(static_cast<WORD>(templateId)), style, id);
}

BOOL CDialogBar::Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id)
{
    if (parent == nullptr || templateName == nullptr || !UserIsIntName(templateName)) {
        return FALSE;
    }
    const auto bytes = FindResourceBytes(nullptr, kResourceDialog, static_cast<WORD>(reinterpret_cast<uintptr_t>(templateName)));
    if (!bytes) {
        return FALSE;
    }
    const auto decoded = DecodeDialogTemplate(*bytes);
    return decoded ? CreateIndirect(parent, *decoded, style, id) : FALSE;
}

BOOL CDialogBar::CreateIndirect(CWnd* parent, const DialogTemplate& dialogTemplate, UINT style, UINT id)
{
    if (parent == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    HWND dialog = CreateDialogIndirectParamA(nullptr, AsChild(dialogTemplate, style), parent->GetSafeHwnd(),
                                             DialogBarProc, 0);
    return Adopt(dialog, style, id);
}

BOOL CDialogBar::Adopt(HWND dialog, UINT style, UINT id)
{
    if (dialog == nullptr) {
        return FALSE;
    }
    if (!SubclassWindow(dialog)) {
        ::DestroyWindow(dialog);
        return FALSE;
    }
    TakeBarStyle(style);
    SetDlgCtrlID(static_cast<int>(id));
    SetBorders(0, 0, 0, 0);
    CRect r;
    GetWindowRect(&r);
    m_sizeDefault = r.Size();
    SetOwner(GetParent());
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (!stretch) {
        return m_sizeDefault;
    }
    return horizontal ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

void CDialogBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}

LRESULT CDialogBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        // The controls' messages are the owner's to route.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        if (CWnd* owner = GetOwner(); owner != nullptr && owner != this) {
            return owner->SendMessage(message, wParam, lParam);
        }
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
