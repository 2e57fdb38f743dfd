// What the dialog manager's files share: the record it keeps per dialog,
// the control messages it sends, and the steps of creation, focus and
// commands that the dialog procedure, the modal loop and the keyboard
// navigation call on each other. Private to the window system.
#pragma once

#include <optional>

#include "platform/user/dialog.h"
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

inline DialogInfo* InfoOf(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr ? w->dialog.get() : nullptr;
}

// The control's WM_GETDLGCODE answer for `msg` (null: in general).
inline LRESULT DialogCode(HWND control, const MSG* msg)
{
    return SendMessageA(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

// Templates (dialog_template.cpp): from the bytes of a resource in memory
// or by name from a module; none when missing or damaged.
std::optional<DialogTemplate> TemplateFromBytes(LPCDLGTEMPLATEA bytes);
std::optional<DialogTemplate> TemplateFromResource(HINSTANCE instance, LPCSTR name);
// Dialog units to pixels: rounds half away from zero
// like the platform's MulDiv.
int Scale(int value, int base, int divisor);
// Makes the dialog and its controls and sends WM_INITDIALOG; a modal one
// stays hidden for its loop to show. Null when anything cannot be made.
enum class DialogRun : uint8_t { Modeless, Modal };
HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                        DialogRun run);

// Focus and commands (dialog_navigation.cpp).
// The direct child of `dialog` that is or contains `hwnd`.
HWND ControlOf(HWND dialog, HWND hwnd);
// Moves the focus to `control` and lets the default-button look follow it:
// a push button that takes the focus looks like the default one while it
// has it; leaving the push buttons gives the look back to the default.
void FocusControl(HWND dialog, HWND control);
// WM_COMMAND for control `id` as a click sends it.
void SendCommand(HWND dialog, int id);

} // namespace nuvex::user
