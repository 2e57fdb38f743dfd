// The dialog manager's dialog window: the default dialog procedure, which
// asks the dialog's own procedure first, and the modal runs with their
// loop.
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/gdi/gdi.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"

namespace nuvex::user {
namespace {

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case 0x0039: // WM_COMPAREITEM
    case 0x002E: // WM_VKEYTOITEM
    case 0x002F: // WM_CHARTOITEM
    case 0x0037: // WM_QUERYDRAGICON
        return true;
    default:
        return false;
    }
}

LRESULT EraseBackground(HWND dialog, WPARAM dcParam)
{
    HBRUSH brush =
        reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, dcParam, reinterpret_cast<LPARAM>(dialog)));
    if (brush == nullptr) {
        brush = GetSysColorBrush(COLOR_3DFACE);
    }
    RECT client{};
    GetClientRect(dialog, &client);
    FillRect(reinterpret_cast<HDC>(dcParam), &client, brush);
    return TRUE;
}

// Closing is Cancel, unless the Cancel button is disabled.
LRESULT Close(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel == nullptr || IsWindowEnabled(cancel)) {
        SendCommand(dialog, IDCANCEL);
    }
    return 0;
}

// The default id moves, and the default-button look with it.
LRESULT SetDefaultId(HWND dialog, DialogInfo* info, WPARAM id)
{
    if (info == nullptr) {
        return FALSE;
    }
    HWND old = info->defaultId != 0 ? GetDlgItem(dialog, info->defaultId) : nullptr;
    HWND next = GetDlgItem(dialog, static_cast<int>(id));
    if (old != nullptr && old != next && (DialogCode(old, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
        SendMessageA(old, kButtonSetStyle, kPushButtonStyle, TRUE);
    }
    info->defaultId = static_cast<int>(id);
    if (next != nullptr && (DialogCode(next, nullptr) & DLGC_UNDEFPUSHBUTTON) != 0) {
        SendMessageA(next, kButtonSetStyle, kDefaultPushButtonStyle, TRUE);
    }
    return TRUE;
}

// WM_NEXTDLGCTL: the control in wParam when lParam's low word says so,
// else the next (wParam zero) or previous tab stop.
LRESULT NextControl(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND target = nullptr;
    if (LOWORD(static_cast<uintptr_t>(lParam)) != 0) {
        target = reinterpret_cast<HWND>(wParam);
    } else {
        target = GetNextDlgTabItem(dialog, ControlOf(dialog, GetFocus()), wParam != 0 ? TRUE : FALSE);
    }
    FocusControl(dialog, target);
    return 0;
}

// The control that had the focus when the dialog was left, or the first
// tab stop.
HWND FocusToRestore(HWND dialog, const DialogInfo* info)
{
    HWND target = info != nullptr ? info->savedFocus : nullptr;
    if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target)) {
        target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    }
    return target;
}

// Deactivation remembers the focused control, activation gives the focus
// back. None when there is no control to take it: the dialog keeps it.
std::optional<LRESULT> Activate(HWND dialog, DialogInfo& info, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ControlOf(dialog, GetFocus());
        if (focus != nullptr) {
            info.savedFocus = GetFocus();
        }
        return 0;
    }
    HWND target = FocusToRestore(dialog, &info);
    if (target == nullptr) {
        return std::nullopt;
    }
    FocusControl(dialog, target);
    return 0;
}

LRESULT TakeFocus(HWND dialog, const DialogInfo* info)
{
    if (HWND target = FocusToRestore(dialog, info)) {
        FocusControl(dialog, target);
    }
    return 0;
}

void DropFont(DialogInfo* info)
{
    if (info != nullptr && info->ownsFont) {
        DeleteObject(info->font);
        info->ownsFont = false;
        info->font = nullptr;
    }
}

// The dialog manager's own answer to a message the dialog's procedure left
// to it; none sends the message on to DefWindowProc.
std::optional<LRESULT> DefaultAnswer(HWND dialog, DialogInfo* info, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return TRUE; // without a procedure the first tab stop takes the focus
    case WM_ERASEBKGND: return EraseBackground(dialog, wParam);
    case WM_CLOSE: return Close(dialog);
    case WM_GETFONT: return info != nullptr ? reinterpret_cast<LRESULT>(info->font) : 0;
    case WM_SETFONT:
        if (info != nullptr && wParam != 0) {
            info->font = reinterpret_cast<HFONT>(wParam);
        }
        return 0;
    case DM_GETDEFID:
        if (info != nullptr && info->defaultId != 0) {
            return MAKELRESULT(static_cast<WORD>(info->defaultId), DC_HASDEFID);
        }
        return 0;
    case DM_SETDEFID: return SetDefaultId(dialog, info, wParam);
    case DM_REPOSITION: return 0;
    case WM_NEXTDLGCTL: return NextControl(dialog, wParam, lParam);
    case WM_ACTIVATE: return info != nullptr ? Activate(dialog, *info, wParam) : std::nullopt;
    case WM_SETFOCUS: return TakeFocus(dialog, info);
    case WM_NCDESTROY: DropFont(info); return std::nullopt;
    default: return std::nullopt;
    }
}

INT_PTR RunModal(HWND dialog, HWND owner)
{
    DialogInfo* info = InfoOf(dialog);
    info->modal = true;
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    if (!info->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    const bool idleMessages = (GetWindowLongPtrA(dialog, GWL_STYLE) & DS_NOIDLEMSG) == 0;
    INT_PTR result = -1;
    for (;;) {
        info = InfoOf(dialog);
        if (info == nullptr) {
            break; // destroyed without EndDialog
        }
        if (info->ended) {
            result = info->result;
            break;
        }
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) == FALSE) {
            if (idleMessages && owner != nullptr) {
                SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
            }
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) == FALSE && !WaitForInput()) {
                std::fprintf(stderr, "window system: a modal dialog waits and no input can come; it ends with -1\n");
                break;
            }
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            result = 0;
            break;
        }
        if (CallMsgFilterA(&msg, MSGF_DIALOGBOX) == FALSE && IsDialogMessageA(dialog, &msg) == FALSE) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (IsWindow(dialog)) {
        if (owner != nullptr && GetActiveWindow() == dialog) {
            SetActiveWindow(owner);
        }
        DestroyWindow(dialog);
    }
    return result;
}

INT_PTR Modal(HINSTANCE instance, const std::optional<DialogTemplate>& t, HWND parent, DLGPROC proc, LPARAM param)
{
    if (!t) {
        return -1;
    }
    HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
    HWND dialog = CreateFromTemplate(instance, *t, parent, proc, param, DialogRun::Modal);
    if (dialog == nullptr) {
        return -1;
    }
    return RunModal(dialog, owner);
}

} // namespace

} // namespace nuvex::user

using namespace nuvex::user;

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam)
{
    return Modal(instance, TemplateFromResource(instance, templateName), parent, proc, initParam);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    return Modal(instance, TemplateFromBytes(dialogTemplate), parent, proc, initParam);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    return Modal(instance, dialogTemplate, parent, proc, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    DialogInfo* info = InfoOf(dialog);
    if (info == nullptr) {
        return FALSE;
    }
    info->ended = true;
    info->result = result;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (info->modal && owner != nullptr && !IsWindowEnabled(owner)) {
        // The owner a modal run disabled takes the activation back before
        // the dialog goes.
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

// 1. The dialog's procedure sees the message first; what it handled is
//    answered from DWLP_MSGRESULT, or directly for the messages that
//    answer so (WM_INITDIALOG always answers the procedure's value).
// 2. The dialog manager answers what the procedure left.
// 3. Everything else reaches DefWindowProc.
LRESULT DefDlgProcA(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = W(dialog);
    if (w == nullptr) {
        return 0;
    }
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    if (proc != nullptr) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(dialog, msg, wParam, lParam);
        if (msg == WM_INITDIALOG) {
            return handled; // FALSE: the procedure set the focus itself
        }
        if (handled != 0) {
            if (AnswersDirectly(msg)) {
                return handled;
            }
            return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
        }
        if (!IsWindow(dialog)) {
            return 0;
        }
    }
    // Held for the message: a control may destroy the dialog meanwhile.
    const std::shared_ptr<DialogInfo> info = W(dialog)->dialog;
    if (const std::optional<LRESULT> answer = DefaultAnswer(dialog, info.get(), msg, wParam, lParam)) {
        return *answer;
    }
    return DefWindowProcA(dialog, msg, wParam, lParam);
}
