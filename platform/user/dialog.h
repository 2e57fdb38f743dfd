// The dialog manager: dialogs made from templates (module resources or
// records built in code), the "#32770" dialog window and its default
// procedure, modal and modeless runs, keyboard navigation between the
// controls (tab order, groups, default button, Enter and Esc) and the
// helpers that reach a dialog's controls by id.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/winuser.h"

// Dialog template styles.
constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_LOCALEDIT = 0x0020;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG = 0x0100;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;
constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Command ids of the standard buttons; dialog procedures end with them.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;
constexpr int IDHELP = 9;

// Dialog messages.
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr UINT DM_REPOSITION = WM_USER + 2;
// DM_GETDEFID answers MAKELRESULT(id, DC_HASDEFID), or 0 without a default.
constexpr WORD DC_HASDEFID = 0x534B;

// WM_GETDLGCODE answers (DLGC_*) are in messages.h.

// Extra bytes of a dialog window: the answer of the last message, the
// dialog procedure and the user's value, each pointer-sized. A window class
// that makes dialogs reserves DLGWINDOWEXTRA bytes.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = static_cast<int>(sizeof(LONG_PTR));
constexpr int DWLP_USER = 2 * static_cast<int>(sizeof(LONG_PTR));
constexpr int DWL_MSGRESULT = DWLP_MSGRESULT;
constexpr int DWL_DLGPROC = DWLP_DLGPROC;
constexpr int DWL_USER = DWLP_USER;
constexpr int DLGWINDOWEXTRA = 30;

// A dialog procedure answers TRUE for what it handled (the answer itself then
// goes into DWLP_MSGRESULT), FALSE to leave the message to the dialog
// manager. WM_INITDIALOG answers TRUE to have the focus set to the control
// in wParam.
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// A template in memory: the bytes of a dialog resource (what LockResource
// gives for a dialog; its length is known from the module's table). Code
// that builds a dialog passes a DialogTemplate record instead.
struct DLGTEMPLATE;
using LPCDLGTEMPLATEA = const DLGTEMPLATE*;
using LPCDLGTEMPLATE = LPCDLGTEMPLATEA;

// Modeless dialogs: created, sent WM_INITDIALOG, shown when the template
// says WS_VISIBLE. Null when the template is missing or damaged, when the
// dialog window cannot be made, or when a control cannot be made (unless
// DS_NOFAILCREATE). `parent` owns a top-level dialog and is the parent of a
// WS_CHILD one.
NUVEX_PLATFORM_API HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                                           LPARAM initParam);
NUVEX_PLATFORM_API HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent,
                                                   DLGPROC proc, LPARAM initParam);
NUVEX_PLATFORM_API HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate& dialogTemplate,
                                                   HWND parent, DLGPROC proc, LPARAM initParam);
inline HWND CreateDialogA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc)
{
    return CreateDialogParamA(instance, templateName, parent, proc, 0);
}

// Modal dialogs: the owner (the top-level window of `parent`) is disabled,
// the dialog shown, and the dialog's own loop runs until EndDialog; the
// owner is enabled again, the dialog destroyed and EndDialog's result
// returned. -1 when the dialog cannot be made, when it is destroyed without
// EndDialog, or when its loop waits and nothing can ever arrive (no input
// script, no timer; a message on the error stream says so). WM_QUIT ends
// the loop with 0 and is posted again for the caller's loop.
NUVEX_PLATFORM_API INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                                           LPARAM initParam);
NUVEX_PLATFORM_API INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent,
                                                   DLGPROC proc, LPARAM initParam);
NUVEX_PLATFORM_API INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate& dialogTemplate,
                                                   HWND parent, DLGPROC proc, LPARAM initParam);
inline INT_PTR DialogBoxA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc)
{
    return DialogBoxParamA(instance, templateName, parent, proc, 0);
}
// Ends a modal dialog's loop with `result` and hides the dialog; a
// modeless dialog is only hidden (DestroyWindow ends it).
NUVEX_PLATFORM_API BOOL EndDialog(HWND dialog, INT_PTR result);

// The default procedure of dialog windows; classes named in a template's
// CLASS line call it for what they do not handle.
NUVEX_PLATFORM_API LRESULT DefDlgProcA(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Handles the keyboard for `dialog` when `msg` is for it or one of its
// controls: Tab and Shift+Tab through the tab stops, arrows through a
// group, Enter for the default button (IDOK without one), Esc for IDCANCEL.
// Anything else meant for the dialog is translated and dispatched. TRUE when
// the message was taken.
NUVEX_PLATFORM_API BOOL IsDialogMessageA(HWND dialog, MSG* msg);
inline BOOL IsDialogMessage(HWND dialog, MSG* msg) { return IsDialogMessageA(dialog, msg); }

// Tab order is the controls' creation order; only visible, enabled
// controls with WS_TABSTOP count. `control` null starts at the ends.
// Returns `control` itself when nothing else qualifies.
NUVEX_PLATFORM_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// A group runs from a control with WS_GROUP to the control before the next
// one with WS_GROUP; the step wraps inside it and skips hidden and disabled
// controls.
NUVEX_PLATFORM_API HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// Dialog units to pixels with the dialog's font: x by the average character
// width / 4, y by the character height / 8.
NUVEX_PLATFORM_API BOOL MapDialogRect(HWND dialog, RECT* rect);
// The base units of the system font: width in the low word, height in the
// high word.
NUVEX_PLATFORM_API LONG GetDialogBaseUnits();

NUVEX_PLATFORM_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
// Copies at most size - 1 characters and a terminator; returns the count.
NUVEX_PLATFORM_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
NUVEX_PLATFORM_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// Reads a whole decimal number (blanks around it allowed, a minus sign when
// `isSigned`); 0 with *translated FALSE for anything else or a number out
// of range.
NUVEX_PLATFORM_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
// CheckDlgButton, IsDlgButtonChecked and CheckRadioButton come with the
// buttons (platform/controls/controls.h).
NUVEX_PLATFORM_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
