#include "platform/user/tests/dialog_support.h"

#include <map>

namespace nuvex::user::testing {

const char* const kDlgButtonClass = "DlgTestButton";
const char* const kDlgEditClass = "DlgTestEdit";

namespace {

constexpr UINT kGetCheck = 0x00F0;
constexpr UINT kSetCheck = 0x00F1;
constexpr UINT kSetStyle = 0x00F4;
constexpr UINT kClick = 0x00F5;
constexpr UINT kSetSel = 0x00B1;

DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & 0xF; }

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE:
        switch (Kind(hwnd)) {
        case kPush: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case kDefPush: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case kAutoRadio: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        default: return DLGC_BUTTON;
        }
    case kSetStyle: {
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~LONG_PTR{0xF}) | static_cast<LONG_PTR>(wParam & 0xF));
        return 0;
    }
    case kGetCheck: return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    case kSetCheck: SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam)); return 0;
    case kClick:
        if (Kind(hwnd) == kAutoRadio) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, BST_CHECKED);
        }
        SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), 0),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    case WM_SETFONT: SetPropA(hwnd, "font", reinterpret_cast<HANDLE>(wParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GetPropA(hwnd, "font"));
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case kSetSel:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, wParam == 0 && lParam == -1 ? 1 : 0);
        return 0;
    case WM_SETFONT: SetPropA(hwnd, "font", reinterpret_cast<HANDLE>(wParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GetPropA(hwnd, "font"));
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == WM_GETDLGCODE ? DLGC_STATIC : DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::map<HWND, ScriptedDialog*>& Scripts()
{
    static std::map<HWND, ScriptedDialog*> scripts;
    return scripts;
}

} // namespace

void RegisterDialogTestClasses()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ButtonProc;
    wc.lpszClassName = kDlgButtonClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = EditProc;
    wc.lpszClassName = kDlgEditClass;
    RegisterClassA(&wc);
}

void RegisterStandardControlStandIns()
{
    const std::pair<const char*, WNDPROC> classes[] = {{"Button", ButtonProc}, {"Static", StaticProc}, {"Edit", EditProc}};
    for (const auto& [name, proc] : classes) {
        WNDCLASSA existing{};
        if (GetClassInfoA(nullptr, name, &existing) != FALSE) {
            continue;
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
}

bool EditSelectedAll(HWND edit) { return GetWindowLongPtrA(edit, GWLP_USERDATA) == 1; }

INT_PTR ScriptedDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        Scripts()[dialog] = reinterpret_cast<ScriptedDialog*>(lParam);
    }
    auto it = Scripts().find(dialog);
    if (it == Scripts().end()) {
        return FALSE;
    }
    ScriptedDialog& script = *it->second;
    if (msg == WM_NCDESTROY) {
        Scripts().erase(it);
        return FALSE;
    }
    if (script.handler) {
        if (auto answer = script.handler(dialog, msg, wParam, lParam)) {
            return *answer;
        }
    }
    switch (msg) {
    case WM_INITDIALOG:
        script.initFocus = reinterpret_cast<HWND>(wParam);
        script.initParam = lParam;
        ++script.initCount;
        return script.initAnswer;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        script.commands.push_back(id);
        for (int end : script.endOn) {
            if (end == id) {
                EndDialog(dialog, id);
            }
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

DialogItemTemplate Item(const char* className, int id, DWORD style, SHORT x, SHORT y, SHORT cx, SHORT cy,
                        const char* text)
{
    DialogItemTemplate item;
    item.className = className;
    item.id = id;
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.text = text;
    return item;
}

} // namespace nuvex::user::testing
