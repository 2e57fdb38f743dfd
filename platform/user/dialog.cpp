// The dialog manager: dialogs from templates, the dialog window's default
// procedure, the modal loop, keyboard navigation and the control helpers.
#include "platform/user/dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gditext.h"
#include "platform/kernel/resource.h"
#include "platform/user/input.h"
#include "platform/user/window_system.h"

namespace nuvex::user {

// What the dialog manager keeps about a dialog beyond its extra bytes.
struct DialogInfo {
    HFONT font = nullptr;     // the template's font (null: the system font)
    bool ownsFont = false;
    int baseX = 0;            // average character width, pixels
    int baseY = 0;            // character height, pixels
    int defaultId = 0;        // DM_SETDEFID; 0: the default push button's
    bool modal = false;       // run by DialogBox's loop
    bool ended = false;       // EndDialog was called
    INT_PTR result = 0;
    HWND savedFocus = nullptr; // the control that had the focus on deactivation
};

namespace {

// Button and edit messages the dialog manager sends to its controls.
constexpr UINT kButtonGetCheck = 0x00F0;
constexpr UINT kButtonSetCheck = 0x00F1;
constexpr WPARAM kButtonUnchecked = 0x0;
constexpr WPARAM kButtonChecked = 0x1;
constexpr UINT kButtonSetStyle = 0x00F4;
constexpr UINT kButtonClick = 0x00F5;
constexpr UINT kEditSetSelection = 0x00B1;
constexpr WPARAM kPushButtonStyle = 0x0;
constexpr WPARAM kDefaultPushButtonStyle = 0x1;
constexpr WORD kButtonClicked = 0;
constexpr DWORD kStaticNoPrefix = 0x80;

constexpr int kPointsPerInch = 72;
constexpr int kPixelsPerInch = 96;

DialogInfo* InfoOf(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr ? w->dialog.get() : nullptr;
}

// Base units of a font: the average width of the 52 letters (rounded) and
// the character height.
void MeasureBaseUnits(HFONT font, int* baseX, int* baseY)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE extent{};
    GetTextExtentPoint32A(dc, kLetters, 52, &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    *baseX = std::max(1, static_cast<int>((extent.cx / 26 + 1) / 2));
    *baseY = std::max(1, static_cast<int>(metrics.tmHeight));
}

HFONT MakeDialogFont(const DialogTemplate& t)
{
    LOGFONTA lf{};
    const int points = t.fontPointSize != 0 ? t.fontPointSize : 8;
    lf.lfHeight = -((points * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
    lf.lfWeight = 400;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", t.fontFace.c_str());
    return CreateFontIndirectA(&lf);
}

int Scale(int value, int base, int divisor)
{
    // Rounds half away from zero like the platform's MulDiv.
    const long long product = static_cast<long long>(value) * base;
    const long long rounded = product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor);
    return static_cast<int>(rounded);
}

RECT ToPixels(const DialogInfo& info, int x, int y, int cx, int cy)
{
    return RECT{Scale(x, info.baseX, 4), Scale(y, info.baseY, 8), Scale(x + cx, info.baseX, 4),
                Scale(y + cy, info.baseY, 8)};
}

LRESULT DialogCode(HWND control, const MSG* msg)
{
    return SendMessageA(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

// The direct child of `dialog` that is or contains `hwnd`.
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

bool Usable(const Window* w) { return (w->style & WS_VISIBLE) != 0 && (w->style & WS_DISABLED) == 0; }

HWND DefaultButton(HWND dialog)
{
    const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<DWORD>(def)) != DC_HASDEFID) {
        return nullptr;
    }
    return GetDlgItem(dialog, static_cast<int>(LOWORD(static_cast<DWORD>(def))));
}

// Moves the focus to `control` and lets the default-button look follow it:
// a push button that takes the focus looks like the default one while it
// has it; leaving the push buttons gives the look back to the default.
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

void SendCommand(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), kButtonClicked),
                 reinterpret_cast<LPARAM>(control));
}

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

std::optional<DialogTemplate> TemplateFromBytes(LPCDLGTEMPLATEA bytes)
{
    auto span = FindResourceBytesAt(kResourceDialog, bytes);
    if (!span) {
        return std::nullopt;
    }
    return DecodeDialogTemplate(*span);
}

std::optional<DialogTemplate> TemplateFromResource(HINSTANCE instance, LPCSTR name)
{
    HRSRC found = FindResourceA(instance, name, RT_DIALOG);
    if (found == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(instance, found);
    if (data == nullptr) {
        return std::nullopt;
    }
    return DecodeDialogTemplate(std::span<const BYTE>(data, size));
}

HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                        bool modal)
{
    auto info = std::make_shared<DialogInfo>();
    if ((t.style & DS_SETFONT) != 0) {
        info->font = MakeDialogFont(t);
        info->ownsFont = info->font != nullptr;
    }
    MeasureBaseUnits(info->font, &info->baseX, &info->baseY);

    DWORD style = t.style;
    if (modal) {
        style &= ~WS_VISIBLE;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && parent == nullptr) {
        return nullptr;
    }
    DWORD exStyle = t.exStyle;
    if ((style & DS_MODALFRAME) != 0) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    if ((style & DS_CONTROL) != 0) {
        exStyle |= WS_EX_CONTROLPARENT;
    }
    RECT rect = ToPixels(*info, t.x, t.y, t.cx, t.cy);
    AdjustWindowRectEx(&rect, style & ~WS_VISIBLE, FALSE, exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HWND owner = parent;
    if (!child && owner != nullptr) {
        owner = GetAncestor(owner, GA_ROOT);
    }
    if (!child && (style & DS_CENTER) != 0) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner != nullptr && IsWindowVisible(owner)) {
            GetWindowRect(owner, &area);
        }
        rect.left = area.left + (area.right - area.left - width) / 2;
        rect.top = area.top + (area.bottom - area.top - height) / 2;
    } else if (!child && (style & DS_ABSALIGN) == 0 && owner != nullptr) {
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        rect.left += origin.x;
        rect.top += origin.y;
    }
    const char* className = t.className.empty() ? "#32770" : t.className.c_str();
    HWND dialog = CreateWindowExA(exStyle, className, t.caption.c_str(), style & ~WS_VISIBLE, rect.left, rect.top,
                                  width, height, child ? parent : owner, nullptr, instance, nullptr);
    if (dialog == nullptr) {
        if (info->ownsFont) {
            DeleteObject(info->font);
        }
        return nullptr;
    }
    W(dialog)->dialog = info;
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (info->font != nullptr) {
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(info->font), FALSE);
    }

    for (const DialogItemTemplate& item : t.items) {
        const RECT r = ToPixels(*info, item.x, item.y, item.cx, item.cy);
        HWND control =
            CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                            (item.style | WS_CHILD) & ~WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            dialog, reinterpret_cast<HMENU>(static_cast<uintptr_t>(static_cast<WORD>(item.id))),
                            instance, nullptr);
        if (control == nullptr) {
            if ((t.style & DS_NOFAILCREATE) != 0) {
                continue;
            }
            DestroyWindow(dialog);
            return nullptr;
        }
        if (info->font != nullptr) {
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(info->font), FALSE);
        }
    }

    // The default push button of the template is the dialog's default.
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((DialogCode(c, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
            info->defaultId = GetDlgCtrlID(c);
            break;
        }
    }

    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT setFocus = SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (setFocus != 0 && first != nullptr && !info->ended) {
        FocusControl(dialog, first);
    }
    if ((style & WS_VISIBLE) != 0 && !info->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return dialog;
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
    HWND dialog = CreateFromTemplate(instance, *t, parent, proc, param, true);
    if (dialog == nullptr) {
        return -1;
    }
    return RunModal(dialog, owner);
}

} // namespace

void FontBaseUnits(HFONT font, int* baseX, int* baseY) { MeasureBaseUnits(font, baseX, baseY); }

} // namespace nuvex::user

using namespace nuvex::user;

HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    return CreateFromTemplate(instance, dialogTemplate, parent, proc, initParam, false);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam)
{
    auto t = TemplateFromBytes(dialogTemplate);
    return t ? CreateFromTemplate(instance, *t, parent, proc, initParam, false) : nullptr;
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam)
{
    auto t = TemplateFromResource(instance, templateName);
    return t ? CreateFromTemplate(instance, *t, parent, proc, initParam, false) : nullptr;
}

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
    std::shared_ptr<DialogInfo> info = W(dialog)->dialog;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE; // without a procedure the first tab stop takes the focus
    case WM_ERASEBKGND: {
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessageA(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
        if (brush == nullptr) {
            brush = GetSysColorBrush(COLOR_3DFACE);
        }
        RECT client{};
        GetClientRect(dialog, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        return TRUE;
    }
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        if (cancel == nullptr || IsWindowEnabled(cancel)) {
            SendCommand(dialog, IDCANCEL);
        }
        return 0;
    }
    case WM_GETFONT:
        return info != nullptr ? reinterpret_cast<LRESULT>(info->font) : 0;
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
    case DM_SETDEFID: {
        if (info == nullptr) {
            return FALSE;
        }
        HWND old = info->defaultId != 0 ? GetDlgItem(dialog, info->defaultId) : nullptr;
        HWND next = GetDlgItem(dialog, static_cast<int>(wParam));
        if (old != nullptr && old != next && (DialogCode(old, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageA(old, kButtonSetStyle, kPushButtonStyle, TRUE);
        }
        info->defaultId = static_cast<int>(wParam);
        if (next != nullptr && (DialogCode(next, nullptr) & DLGC_UNDEFPUSHBUTTON) != 0) {
            SendMessageA(next, kButtonSetStyle, kDefaultPushButtonStyle, TRUE);
        }
        return TRUE;
    }
    case DM_REPOSITION:
        return 0;
    case WM_NEXTDLGCTL: {
        HWND target = nullptr;
        if (LOWORD(static_cast<uintptr_t>(lParam)) != 0) {
            target = reinterpret_cast<HWND>(wParam);
        } else {
            target = GetNextDlgTabItem(dialog, ControlOf(dialog, GetFocus()), wParam != 0 ? TRUE : FALSE);
        }
        FocusControl(dialog, target);
        return 0;
    }
    case WM_ACTIVATE:
        if (info != nullptr) {
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ControlOf(dialog, GetFocus());
                if (focus != nullptr) {
                    info->savedFocus = GetFocus();
                }
            } else {
                HWND target = info->savedFocus;
                if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target)) {
                    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
                }
                if (target == nullptr) {
                    break; // no control to take the focus: the dialog keeps it
                }
                FocusControl(dialog, target);
            }
            return 0;
        }
        break;
    case WM_SETFOCUS: {
        HWND target = info != nullptr ? info->savedFocus : nullptr;
        if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target)) {
            target = GetNextDlgTabItem(dialog, nullptr, FALSE);
        }
        if (target != nullptr) {
            FocusControl(dialog, target);
        }
        return 0;
    }
    case WM_NCDESTROY:
        if (info != nullptr && info->ownsFont) {
            DeleteObject(info->font);
            info->ownsFont = false;
            info->font = nullptr;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(dialog, msg, wParam, lParam);
}

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
        if ((code & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) == 0) {
            const HWND focus = ControlOf(dialog, msg->hwnd);
            switch (msg->wParam) {
            case VK_TAB:
                if ((code & DLGC_WANTTAB) == 0) {
                    const bool back = GetKeyState(VK_SHIFT) < 0;
                    SendMessageA(dialog, WM_NEXTDLGCTL, back ? 1 : 0, 0);
                    return TRUE;
                }
                break;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if ((code & DLGC_WANTARROWS) == 0 && focus != nullptr) {
                    const bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
                    HWND next = GetNextDlgGroupItem(dialog, focus, back ? TRUE : FALSE);
                    if (next != nullptr && next != focus) {
                        FocusControl(dialog, next);
                        if ((DialogCode(next, nullptr) & DLGC_RADIOBUTTON) != 0) {
                            SendMessageA(next, kButtonClick, 0, 0);
                        }
                    }
                    return TRUE;
                }
                break;
            case VK_RETURN: {
                if (focus != nullptr && (DialogCode(focus, nullptr) & DLGC_DEFPUSHBUTTON) != 0 &&
                    IsWindowEnabled(focus)) {
                    SendCommand(dialog, GetDlgCtrlID(focus));
                    return TRUE;
                }
                const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
                int id = IDOK;
                if (HIWORD(static_cast<DWORD>(def)) == DC_HASDEFID) {
                    id = static_cast<int>(LOWORD(static_cast<DWORD>(def)));
                    HWND button = GetDlgItem(dialog, id);
                    if (button != nullptr && !IsWindowEnabled(button)) {
                        return TRUE;
                    }
                }
                SendCommand(dialog, id);
                return TRUE;
            }
            case VK_ESCAPE: {
                HWND cancel = GetDlgItem(dialog, IDCANCEL);
                if (cancel == nullptr || IsWindowEnabled(cancel)) {
                    SendCommand(dialog, IDCANCEL);
                }
                return TRUE;
            }
            default:
                break;
            }
        }
    }
    if (msg->message == WM_SYSCHAR || msg->message == WM_CHAR) {
        // Characters the focused control does not take, and Alt with a
        // character, go to the control that underlines it.
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

BOOL MapDialogRect(HWND dialog, RECT* rect)
{
    DialogInfo* info = InfoOf(dialog);
    if (info == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{Scale(rect->left, info->baseX, 4), Scale(rect->top, info->baseY, 8), Scale(rect->right, info->baseX, 4),
                 Scale(rect->bottom, info->baseY, 8)};
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    int x = 0;
    int y = 0;
    MeasureBaseUnits(nullptr, &x, &y);
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size)
{
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? static_cast<UINT>(GetWindowTextA(item, buffer, size)) : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned != FALSE) {
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
    } else {
        std::snprintf(text, sizeof(text), "%u", value);
    }
    return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned)
{
    if (translated != nullptr) {
        *translated = FALSE;
    }
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return 0;
    }
    const int length = GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(item, text.data(), length + 1);
    text.resize(std::strlen(text.c_str()));
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && text[i] == '-' && isSigned != FALSE) {
        negative = true;
        ++i;
    }
    const size_t digitsStart = i;
    unsigned long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
        ++i;
    }
    if (i == digitsStart) {
        return 0;
    }
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    if (i != text.size()) {
        return 0;
    }
    if (isSigned != FALSE) {
        const unsigned long long limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit) {
            return 0;
        }
    }
    if (translated != nullptr) {
        *translated = TRUE;
    }
    if (negative) {
        return static_cast<UINT>(-static_cast<long long>(value));
    }
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return FALSE;
    }
    SendMessageA(item, kButtonSetCheck, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? static_cast<UINT>(SendMessageA(item, kButtonGetCheck, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check)
{
    if (W(dialog) == nullptr || first > last) {
        return FALSE;
    }
    for (int id = first; id <= last; ++id) {
        if (HWND item = GetDlgItem(dialog, id)) {
            SendMessageA(item, kButtonSetCheck, id == check ? kButtonChecked : kButtonUnchecked, 0);
        }
    }
    return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SendMessageA(item, msg, wParam, lParam) : 0;
}
