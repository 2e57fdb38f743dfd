// Message boxes and the file open and save dialogs, made by the window
// system from its dialog manager and standard controls, and the answer hook
// that lets a program's tests play the person in front of them.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/dialog.h"

// Message box buttons, icons, default button and modality.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// Shows `text` with the buttons of `type` and returns the button chosen
// (IDOK, IDCANCEL, IDYES, ...); 0 when the box cannot be shown. A null
// caption reads "Error". Esc answers IDCANCEL where there is a Cancel
// button, IDOK in a box with only OK, and nothing otherwise.
NUVEX_PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
inline int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}

// File dialog options.
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

// CommDlgExtendedError codes.
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;       // pairs of texts "Drawings (*.nvx)\0*.nvx\0" ending in an empty text
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;       // 1-based; 0 takes the first
    LPSTR lpstrFile;          // in: the proposed name; out: the chosen path
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;     // out: the chosen file's name without its folder
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;         // out: where the name starts in lpstrFile
    WORD nFileExtension;      // out: where the extension starts (the end when none)
    LPCSTR lpstrDefExt;       // added (after a dot) to a name without an extension
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
using LPOPENFILENAMEA = OPENFILENAMEA*;
// Structures of an older size (without the last three fields) are accepted.
constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = static_cast<DWORD>(offsetof(OPENFILENAMEA, pvReserved));

// Ask for a file to open or a name to save under. TRUE with the path (with
// "/" separators) in lpstrFile when the person chose one that passes the
// checks the flags ask for; FALSE when cancelled (CommDlgExtendedError 0)
// or on an error (CommDlgExtendedError says which; a buffer too small for
// the path gets the size needed in its first two bytes).
NUVEX_PLATFORM_API BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
NUVEX_PLATFORM_API BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
NUVEX_PLATFORM_API DWORD CommDlgExtendedError();

// The answer hook ----------------------------------------------------------------

enum class DialogRequestKind : uint8_t { MessageBox, OpenFile, SaveFile };

// What a message box or file dialog would show.
struct DialogRequest {
    DialogRequestKind kind = DialogRequestKind::MessageBox;
    HWND owner = nullptr;
    std::string text;    // message box text; file dialogs: the proposed file name
    std::string caption; // the title bar
    UINT type = 0;       // message box: MB_* bits; file dialogs: OFN_* flags
    std::string folder;  // file dialogs: the folder shown
    std::vector<std::pair<std::string, std::string>> filters; // file dialogs: (description, patterns)
    int filterIndex = 1;                                      // file dialogs: the filter selected, 1-based
    std::string defaultExtension;
};

struct DialogAnswer {
    int button = IDOK;  // message box: the button; file dialogs: IDOK or IDCANCEL
    std::string path;   // file dialogs: the file chosen, absolute or relative to `folder`
    int filterIndex = 0; // file dialogs: the filter chosen (0 keeps the request's)
};

// Called instead of showing a message box or file dialog; answers for the
// person, or nothing to let the dialog be shown. A file dialog's answer
// goes through the same checks as a person's (missing files, overwriting),
// whose message boxes come to the hook as well; after 100 refused answers
// in a row the dialog is cancelled.
using DialogAnswerHook = std::function<std::optional<DialogAnswer>(const DialogRequest&)>;
// Sets the hook (null removes it) and clears the record.
NUVEX_PLATFORM_API void SetDialogAnswerHook(DialogAnswerHook hook);
// Every message box and file dialog request since the hook was set.
NUVEX_PLATFORM_API std::vector<DialogRequest> RecordedDialogRequests();
