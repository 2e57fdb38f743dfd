// Test support for dialogs: stand-in push buttons, check and radio buttons
// and edit fields that answer the dialog manager's questions the way the
// standard controls do, and a dialog procedure a test scripts.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/user/dialog.h"

namespace nuvex::user::testing {

// Button kinds in the low style bits, as the standard button has them.
constexpr DWORD kPush = 0x0;
constexpr DWORD kDefPush = 0x1;
constexpr DWORD kCheckBox = 0x3;
constexpr DWORD kAutoRadio = 0x9;
extern const char* const kDlgButtonClass; // answers WM_GETDLGCODE, BM_* and clicks
extern const char* const kDlgEditClass;   // wants characters and arrows, has a selection
void RegisterDialogTestClasses();
// Registers stand-ins under the standard names "Button", "Static" and
// "Edit" where the window system has no such classes yet, so that the
// dialogs the window system builds from them can run.
void RegisterStandardControlStandIns();
// Whether a stand-in edit field was told to select all its text.
bool EditSelectedAll(HWND edit);

// A dialog procedure that records WM_INITDIALOG and the commands, ends the
// dialog on the commands listed in `endOn`, and lets a test answer any
// message first through `handler`.
struct ScriptedDialog {
    std::vector<int> endOn{IDOK, IDCANCEL};
    std::vector<int> commands;
    HWND initFocus = nullptr;
    LPARAM initParam = 0;
    int initCount = 0;
    INT_PTR initAnswer = TRUE;
    std::function<std::optional<INT_PTR>(HWND, UINT, WPARAM, LPARAM)> handler;
};
// The procedure runs the ScriptedDialog passed as the creation parameter.
INT_PTR ScriptedDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// An item of a template built in code.
DialogItemTemplate Item(const char* className, int id, DWORD style, SHORT x, SHORT y, SHORT cx, SHORT cy,
                        const char* text = "");

} // namespace nuvex::user::testing
