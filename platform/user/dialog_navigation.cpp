// The dialog manager's keyboard navigation: the focus and the default
// button's look, tab order and groups, Enter, Esc and mnemonics.
#include <cctype>
#include <string>
#include <vector>

#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"

namespace nuvex::user {
namespace {

bool Usable(const Window* w) { return (w->style & WS_VISIBLE) != 0 && (w->style & WS_DISABLED) == 0; }

HWND DefaultButton(HWND dialog)
{
    const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<DWORD>(def)) != DC_HASDEFID) {
        return nullptr;
    }
    return GetDlgItem(dialog, static_cast<int>(LOWORD(static_cast<DWORD>(def))));
}

// The control whose text underlines `c` ("&c"; "&&" is a plain "&"),
// among the visible, enabled controls.
HWND MnemonicControl(HWND dialog, char c)
{
    Window* d = W(dialog);
    if (d == nullptr || c == '\0') {
        return nullptr;
    }
    const int wanted = std::tolower(static_cast<unsigned char>(c));
    for (Window* child : d->children) {
        if (!Usable(child)) {
            continue;
        }
        const LRESULT code = DialogCode(child->handle, nullptr);
        if ((code & DLGC_STATIC) != 0 && (child->style & kStaticNoPrefix) != 0 && (code & DLGC_BUTTON) == 0) {
            continue;
        }
        const std::string& text = child->text;
        for (size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') {
                continue;
            }
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            if (std::tolower(static_cast<unsigned char>(text[i + 1])) == wanted) {
                return child->handle;
            }
            break;
        }
    }
    return nullptr;
}

// A mnemonic clicks a button, and moves the focus to any other control; a
// label (or group box) hands it to the next control that can take it.
void ActivateMnemonic(HWND dialog, HWND control)
{
    LRESULT code = DialogCode(control, nullptr);
    const bool groupBox = (code & DLGC_STATIC) != 0;
    if (groupBox) {
        Window* d = W(dialog);
        bool after = false;
        HWND next = nullptr;
        for (Window* child : d->children) {
            if (after && Usable(child) && (DialogCode(child->handle, nullptr) & DLGC_STATIC) == 0) {
                next = child->handle;
                break;
            }
            after = after || child->handle == control;
        }
        if (next == nullptr) {
            return;
        }
        control = next;
        code = DialogCode(control, nullptr);
    }
    if ((code & DLGC_BUTTON) != 0) {
        if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) {
            FocusControl(dialog, control);
        }
        SendMessageA(control, kButtonClick, 0, 0);
        return;
    }
    FocusControl(dialog, control);
}

} // namespace

HWND ControlOf(HWND dialog, HWND hwnd)
{
    Window* d = W(dialog);
    Window* w = W(hwnd);
    while (w != nullptr && w->parent != d) {
        if (IsTopLevel(w)) {
            return nullptr;
        }
        w = w->parent;
    }
    return w != nullptr ? w->handle : nullptr;
}

void FocusControl(HWND dialog, HWND control)
{
    if (control == nullptr) {
        return;
    }
    const HWND old = GetFocus();
    const LRESULT newCode = DialogCode(control, nullptr);
    const HWND def = DefaultButton(dialog);
    if (old != nullptr && old != control && ControlOf(dialog, old) == old &&
        (DialogCode(old, nullptr) & DLGC_DEFPUSHBUTTON) != 0 &&
        ((newCode & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) != 0 || old != def)) {
        SendMessageA(old, kButtonSetStyle, kPushButtonStyle, TRUE);
    }
    if ((newCode & DLGC_UNDEFPUSHBUTTON) != 0) {
        if (def != nullptr && def != control && (DialogCode(def, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageA(def, kButtonSetStyle, kPushButtonStyle, TRUE);
        }
        SendMessageA(control, kButtonSetStyle, kDefaultPushButtonStyle, TRUE);
    } else if ((newCode & DLGC_DEFPUSHBUTTON) == 0 && def != nullptr &&
               (DialogCode(def, nullptr) & DLGC_UNDEFPUSHBUTTON) != 0) {
        SendMessageA(def, kButtonSetStyle, kDefaultPushButtonStyle, TRUE);
    }
    SetFocus(control);
    if ((newCode & DLGC_HASSETSEL) != 0) {
        SendMessageA(control, kEditSetSelection, 0, -1);
    }
}

void SendCommand(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), kButtonClicked),
                 reinterpret_cast<LPARAM>(control));
}

namespace {

// Arrows step through the focused control's group; a radio button that
// takes the focus is clicked.
bool ArrowKey(HWND dialog, HWND focus, WPARAM key)
{
    const bool back = key == VK_LEFT || key == VK_UP;
    HWND next = GetNextDlgGroupItem(dialog, focus, back ? TRUE : FALSE);
    if (next != nullptr && next != focus) {
        FocusControl(dialog, next);
        if ((DialogCode(next, nullptr) & DLGC_RADIOBUTTON) != 0) {
            SendMessageA(next, kButtonClick, 0, 0);
        }
    }
    return true;
}

// Enter clicks a focused default-looking button, else the default button
// (IDOK without one); a disabled default button takes nothing.
bool ReturnKey(HWND dialog, HWND focus)
{
    if (focus != nullptr && (DialogCode(focus, nullptr) & DLGC_DEFPUSHBUTTON) != 0 && IsWindowEnabled(focus)) {
        SendCommand(dialog, GetDlgCtrlID(focus));
        return true;
    }
    const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    int id = IDOK;
    if (HIWORD(static_cast<DWORD>(def)) == DC_HASDEFID) {
        id = static_cast<int>(LOWORD(static_cast<DWORD>(def)));
        HWND button = GetDlgItem(dialog, id);
        if (button != nullptr && !IsWindowEnabled(button)) {
            return true;
        }
    }
    SendCommand(dialog, id);
    return true;
}

// Esc is Cancel, unless the Cancel button is disabled.
bool EscapeKey(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel == nullptr || IsWindowEnabled(cancel)) {
        SendCommand(dialog, IDCANCEL);
    }
    return true;
}

// A key-down the focused control (whose dialog code is `code`) leaves to
// the dialog; true when it was taken.
bool NavigationKey(HWND dialog, const MSG& msg, LRESULT code)
{
    const HWND focus = ControlOf(dialog, msg.hwnd);
    switch (msg.wParam) {
    case VK_TAB:
        if ((code & DLGC_WANTTAB) != 0) {
            return false;
        }
        SendMessageA(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return (code & DLGC_WANTARROWS) == 0 && focus != nullptr && ArrowKey(dialog, focus, msg.wParam);
    case VK_RETURN: return ReturnKey(dialog, focus);
    case VK_ESCAPE: return EscapeKey(dialog);
    default: return false;
    }
}

} // namespace

} // namespace nuvex::user

using namespace nuvex::user;

// 1. A key the focused control does not want moves through the dialog:
//    Tab, the arrows, Enter and Esc.
// 2. A character the control does not take, or Alt with a character,
//    goes to the control that underlines it.
// 3. Everything else for the dialog is translated and dispatched.
BOOL IsDialogMessageA(HWND dialog, MSG* msg)
{
    if (msg == nullptr || W(dialog) == nullptr || msg->hwnd == nullptr) {
        return FALSE;
    }
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) {
        return FALSE;
    }
    if (msg->message == WM_KEYDOWN) {
        const LRESULT code = DialogCode(msg->hwnd, msg);
        if ((code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) == 0 && NavigationKey(dialog, *msg, code)) {
            return TRUE;
        }
    }
    if (msg->message == WM_SYSCHAR || msg->message == WM_CHAR) {
        const LRESULT code = DialogCode(msg->hwnd, msg);
        const bool taken = (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) != 0;
        if (msg->message == WM_SYSCHAR || !taken) {
            if (HWND target = MnemonicControl(dialog, static_cast<char>(msg->wParam))) {
                ActivateMnemonic(dialog, target);
                return TRUE;
            }
        }
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    Window* d = W(dialog);
    if (d == nullptr) {
        return nullptr;
    }
    std::vector<Window*> order = d->children; // z-order: creation order of the controls
    const int count = static_cast<int>(order.size());
    if (count == 0) {
        return nullptr;
    }
    HWND start = control != nullptr ? ControlOf(dialog, control) : nullptr;
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i]->handle == start) {
            index = i;
        }
    }
    const int step = previous ? -1 : 1;
    int i = index >= 0 ? index : (previous ? 0 : count - 1);
    for (int n = 0; n < count; ++n) {
        i = (i + step + count) % count;
        if (order[i]->handle == start) {
            break;
        }
        if (Usable(order[i]) && (order[i]->style & WS_TABSTOP) != 0) {
            return order[i]->handle;
        }
    }
    return start;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    Window* d = W(dialog);
    HWND start = control != nullptr ? ControlOf(dialog, control) : nullptr;
    if (d == nullptr || start == nullptr) {
        return nullptr;
    }
    const std::vector<Window*>& order = d->children;
    const int count = static_cast<int>(order.size());
    int index = 0;
    for (int i = 0; i < count; ++i) {
        if (order[i]->handle == start) {
            index = i;
        }
    }
    int first = index;
    while (first > 0 && (order[first]->style & WS_GROUP) == 0) {
        --first;
    }
    int end = first + 1;
    while (end < count && (order[end]->style & WS_GROUP) == 0) {
        ++end;
    }
    const int size = end - first;
    const int step = previous ? -1 : 1;
    int i = index - first;
    for (int n = 1; n < size; ++n) {
        i = (i + step + size) % size;
        if (Usable(order[first + i])) {
            return order[first + i]->handle;
        }
    }
    return start;
}
