// The window system's public face: styles, records and functions of window
// classes, windows, the message queue, hooks, timers, focus and capture,
// painting, coordinates and the classic desktop's metrics and colours.
// Everything runs on the one GUI thread of the process.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/logfont.h"
#include "platform/gdi/syscolor.h"
#include "platform/user/messages.h"
#include "platform/user/notify.h"
#include "platform/user/scroll.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using HOOKPROC = LRESULT (*)(int code, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return static_cast<WPARAM>(MAKELONG(low, high)); }
constexpr LPARAM MAKELPARAM(WORD low, WORD high) { return static_cast<LPARAM>(MAKELONG(low, high)); }
constexpr LRESULT MAKELRESULT(WORD low, WORD high) { return static_cast<LRESULT>(MAKELONG(low, high)); }
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(l))); }
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<SHORT>(HIWORD(w)); }
// A class name given as an atom instead of a text.
inline LPCSTR MAKEINTATOM(ATOM atom) { return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(atom)); }
// A numeric id in the place of a text (the resource family offers the
// MAKEINTRESOURCE names for the same thing).
inline LPCSTR UserIntName(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(id)); }
inline bool UserIsIntName(const void* p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_CHILDWINDOW = WS_CHILD;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;
constexpr UINT CS_DROPSHADOW = 0x00020000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;
struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

// GetWindowLong indexes. A window procedure, a menu handle or user data is
// pointer-sized, so the long accessors carry pointer-sized values; the
// 32-bit and the pointer-named forms are the same functions.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_WNDPROC = GWLP_WNDPROC;
constexpr int GWL_ID = GWLP_ID;
constexpr int GWL_USERDATA = GWLP_USERDATA;
constexpr int GWL_HWNDPARENT = GWLP_HWNDPARENT;
constexpr int GCLP_MENUNAME = -8;
constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
constexpr int GCLP_HICON = -14;
constexpr int GCLP_WNDPROC = -24;
constexpr int GCL_STYLE = -26;
constexpr int GCLP_HICONSM = -34;
constexpr int GCL_HICONSM = GCLP_HICONSM;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// SetWindowPos flags and insert-after values.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DEFERERASE = 0x2000;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;
inline const HWND HWND_TOP = reinterpret_cast<HWND>(0);
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(-3);

// WM_SIZE kinds, WM_ACTIVATE states, WM_MOUSEACTIVATE answers.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// GetWindow relations and GetAncestor kinds.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;

// Hit-test codes.
constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTSYSMENU = 3;
constexpr LRESULT HTGROWBOX = 4;
constexpr LRESULT HTSIZE = HTGROWBOX;
constexpr LRESULT HTMENU = 5;
constexpr LRESULT HTHSCROLL = 6;
constexpr LRESULT HTVSCROLL = 7;
constexpr LRESULT HTMINBUTTON = 8;
constexpr LRESULT HTMAXBUTTON = 9;
constexpr LRESULT HTLEFT = 10;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTTOP = 12;
constexpr LRESULT HTTOPLEFT = 13;
constexpr LRESULT HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMLEFT = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;
constexpr LRESULT HTBORDER = 18;
constexpr LRESULT HTCLOSE = 20;

// WM_NCCALCSIZE answers when wParam is TRUE.
constexpr LRESULT WVR_VALIDRECTS = 0x0400;

// WM_SYSCOMMAND codes.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_NEXTWINDOW = 0xF040;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_VSCROLL = 0xF070;
constexpr WPARAM SC_HSCROLL = 0xF080;
constexpr WPARAM SC_RESTORE = 0xF120;

// Mouse key flags of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

// Virtual keys.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_HELP = 0x2F;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SEPARATOR = 0x6C;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA;
constexpr int VK_OEM_PLUS = 0xBB;
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_MINUS = 0xBD;
constexpr int VK_OEM_PERIOD = 0xBE;
constexpr int VK_OEM_2 = 0xBF;
constexpr int VK_OEM_3 = 0xC0;
constexpr int VK_OEM_4 = 0xDB;
constexpr int VK_OEM_5 = 0xDC;
constexpr int VK_OEM_6 = 0xDD;
constexpr int VK_OEM_7 = 0xDE;
// High word of a key message's lParam.
constexpr WORD KF_EXTENDED = 0x0100;
constexpr WORD KF_ALTDOWN = 0x2000;
constexpr WORD KF_REPEAT = 0x4000;
constexpr WORD KF_UP = 0x8000;

// PeekMessage options.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// Hooks.
constexpr int WH_MSGFILTER = -1;
constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;
constexpr int WH_CBT = 5;
constexpr int HC_ACTION = 0;
constexpr int MSGF_DIALOGBOX = 0;
constexpr int MSGF_MENU = 2;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// WM_PRINT options.
constexpr LPARAM PRF_CHECKVISIBLE = 0x0001;
constexpr LPARAM PRF_NONCLIENT = 0x0002;
constexpr LPARAM PRF_CLIENT = 0x0004;
constexpr LPARAM PRF_ERASEBKGND = 0x0008;
constexpr LPARAM PRF_CHILDREN = 0x0010;
constexpr LPARAM PRF_OWNED = 0x0020;

// GetDCEx options.
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_NORESETATTRS = 0x00000004;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;

// UI state (WM_CHANGEUISTATE, WM_UPDATEUISTATE, WM_QUERYUISTATE).
constexpr WORD UIS_SET = 1;
constexpr WORD UIS_CLEAR = 2;
constexpr WORD UIS_INITIALIZE = 3;
constexpr WORD UISF_HIDEFOCUS = 0x1;
constexpr WORD UISF_HIDEACCEL = 0x2;
constexpr WORD UISF_ACTIVE = 0x4;

// Standard cursor ids (LoadCursor with no instance).
inline LPCSTR IDC_ARROW = UserIntName(32512);
inline LPCSTR IDC_IBEAM = UserIntName(32513);
inline LPCSTR IDC_WAIT = UserIntName(32514);
inline LPCSTR IDC_CROSS = UserIntName(32515);
inline LPCSTR IDC_SIZENWSE = UserIntName(32642);
inline LPCSTR IDC_SIZENESW = UserIntName(32643);
inline LPCSTR IDC_SIZEWE = UserIntName(32644);
inline LPCSTR IDC_SIZENS = UserIntName(32645);
inline LPCSTR IDC_SIZEALL = UserIntName(32646);
inline LPCSTR IDC_NO = UserIntName(32648);
inline LPCSTR IDC_HAND = UserIntName(32649);

// Classes, windows and their data -------------------------------------------

// Registers a class; 0 when the name is empty or already registered.
NUVEX_PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* wc);
NUVEX_PLATFORM_API ATOM RegisterClassExA(const WNDCLASSEXA* wc);
// Fails while a window of the class exists, and for the system classes.
NUVEX_PLATFORM_API BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
NUVEX_PLATFORM_API BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* out);
NUVEX_PLATFORM_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* out);
// Copies the class name, cut to size - 1 characters and terminated; returns
// the characters copied.
NUVEX_PLATFORM_API int GetClassNameA(HWND hwnd, LPSTR buffer, int size);
NUVEX_PLATFORM_API ULONG_PTR GetClassLongPtrA(HWND hwnd, int index);
NUVEX_PLATFORM_API ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value);
NUVEX_PLATFORM_API DWORD GetClassLongA(HWND hwnd, int index);

// Creates a window and runs its creation messages; null when the class is
// unknown, a child has no parent, or WM_NCCREATE/WM_CREATE refused it.
NUVEX_PLATFORM_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                        int y, int width, int height, HWND parent, HMENU menu,
                                        HINSTANCE instance, LPVOID param);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                          HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Destroys the window, its owned windows and its children (WM_DESTROY from
// the parent down, WM_NCDESTROY from the children up).
NUVEX_PLATFORM_API BOOL DestroyWindow(HWND hwnd);
NUVEX_PLATFORM_API BOOL IsWindow(HWND hwnd);
NUVEX_PLATFORM_API BOOL IsWindowVisible(HWND hwnd);
NUVEX_PLATFORM_API BOOL IsWindowEnabled(HWND hwnd);
NUVEX_PLATFORM_API BOOL EnableWindow(HWND hwnd, BOOL enable);
NUVEX_PLATFORM_API BOOL IsChild(HWND parent, HWND hwnd);
NUVEX_PLATFORM_API BOOL IsIconic(HWND hwnd);
NUVEX_PLATFORM_API BOOL IsZoomed(HWND hwnd);
NUVEX_PLATFORM_API HWND GetDesktopWindow();

NUVEX_PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
NUVEX_PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLongA(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
inline LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtrA(hwnd, index, value); }
NUVEX_PLATFORM_API LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
NUVEX_PLATFORM_API LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
NUVEX_PLATFORM_API int GetDlgCtrlID(HWND hwnd);
NUVEX_PLATFORM_API HWND GetDlgItem(HWND parent, int id);

NUVEX_PLATFORM_API BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
NUVEX_PLATFORM_API int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
NUVEX_PLATFORM_API int GetWindowTextLengthA(HWND hwnd);

// Properties are keyed by name or by atom (MAKEINTATOM).
NUVEX_PLATFORM_API BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
NUVEX_PLATFORM_API HANDLE GetPropA(HWND hwnd, LPCSTR name);
NUVEX_PLATFORM_API HANDLE RemovePropA(HWND hwnd, LPCSTR name);

// Atoms: names compare without regard to case; "#123" is the integer atom 123.
NUVEX_PLATFORM_API ATOM GlobalAddAtomA(LPCSTR name);
NUVEX_PLATFORM_API ATOM GlobalFindAtomA(LPCSTR name);
NUVEX_PLATFORM_API ATOM GlobalDeleteAtom(ATOM atom);
NUVEX_PLATFORM_API UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size);
// Message numbers 0xC000..0xFFFF, the same for the same name (any case).
NUVEX_PLATFORM_API UINT RegisterWindowMessageA(LPCSTR name);

// Relations and z-order -----------------------------------------------------

NUVEX_PLATFORM_API HWND GetParent(HWND hwnd);
NUVEX_PLATFORM_API HWND SetParent(HWND hwnd, HWND newParent);
NUVEX_PLATFORM_API HWND GetAncestor(HWND hwnd, UINT kind);
NUVEX_PLATFORM_API HWND GetWindow(HWND hwnd, UINT relation);
NUVEX_PLATFORM_API HWND GetTopWindow(HWND hwnd);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
NUVEX_PLATFORM_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param);
NUVEX_PLATFORM_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM param);

// Showing, activation, position ---------------------------------------------

// Returns whether the window was visible before.
NUVEX_PLATFORM_API BOOL ShowWindow(HWND hwnd, int command);
NUVEX_PLATFORM_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
NUVEX_PLATFORM_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
NUVEX_PLATFORM_API BOOL BringWindowToTop(HWND hwnd);
NUVEX_PLATFORM_API BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
NUVEX_PLATFORM_API BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
NUVEX_PLATFORM_API HWND SetActiveWindow(HWND hwnd);
NUVEX_PLATFORM_API HWND GetActiveWindow();
NUVEX_PLATFORM_API HWND GetForegroundWindow();
NUVEX_PLATFORM_API BOOL SetForegroundWindow(HWND hwnd);
NUVEX_PLATFORM_API HWND SetFocus(HWND hwnd);
NUVEX_PLATFORM_API HWND GetFocus();
NUVEX_PLATFORM_API HWND SetCapture(HWND hwnd);
NUVEX_PLATFORM_API BOOL ReleaseCapture();
NUVEX_PLATFORM_API HWND GetCapture();
// While a window is locked, its painting is held back; unlocking (null)
// invalidates it. One window at a time, as the platform has it.
NUVEX_PLATFORM_API BOOL LockWindowUpdate(HWND hwnd);

// Geometry -------------------------------------------------------------------

NUVEX_PLATFORM_API BOOL GetWindowRect(HWND hwnd, RECT* rect);
NUVEX_PLATFORM_API BOOL GetClientRect(HWND hwnd, RECT* rect);
NUVEX_PLATFORM_API BOOL ClientToScreen(HWND hwnd, POINT* point);
NUVEX_PLATFORM_API BOOL ScreenToClient(HWND hwnd, POINT* point);
// Returns the horizontal shift in the low word and the vertical in the high.
NUVEX_PLATFORM_API int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
NUVEX_PLATFORM_API HWND WindowFromPoint(POINT screen);
NUVEX_PLATFORM_API HWND ChildWindowFromPoint(HWND parent, POINT client);
NUVEX_PLATFORM_API BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);

NUVEX_PLATFORM_API BOOL PtInRect(const RECT* rect, POINT point);
NUVEX_PLATFORM_API BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
NUVEX_PLATFORM_API BOOL SetRectEmpty(RECT* rect);
NUVEX_PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
NUVEX_PLATFORM_API BOOL CopyRect(RECT* dst, const RECT* src);
NUVEX_PLATFORM_API BOOL EqualRect(const RECT* a, const RECT* b);
NUVEX_PLATFORM_API BOOL OffsetRect(RECT* rect, int dx, int dy);
NUVEX_PLATFORM_API BOOL InflateRect(RECT* rect, int dx, int dy);
NUVEX_PLATFORM_API BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
NUVEX_PLATFORM_API BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);

// Messages, queue, hooks, timers ---------------------------------------------

NUVEX_PLATFORM_API LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Posting to a null window posts a message for the thread.
NUVEX_PLATFORM_API BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
NUVEX_PLATFORM_API void PostQuitMessage(int exitCode);
// Returns 0 for WM_QUIT, else non-zero. In the headless back-end a wait
// with nothing that could ever arrive (no input script, no timer) is a
// fault of the caller and stops the process with a message.
NUVEX_PLATFORM_API BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
NUVEX_PLATFORM_API BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
NUVEX_PLATFORM_API LRESULT DispatchMessageA(const MSG* msg);
// Posts WM_CHAR (WM_SYSCHAR) for a key-down of a key that types a character.
NUVEX_PLATFORM_API BOOL TranslateMessage(const MSG* msg);
NUVEX_PLATFORM_API BOOL WaitMessage();
NUVEX_PLATFORM_API DWORD GetMessagePos();
NUVEX_PLATFORM_API LONG GetMessageTime();
NUVEX_PLATFORM_API BOOL InSendMessage();

NUVEX_PLATFORM_API HHOOK SetWindowsHookExA(int kind, HOOKPROC proc, HINSTANCE module, DWORD threadId);
NUVEX_PLATFORM_API BOOL UnhookWindowsHookEx(HHOOK hook);
NUVEX_PLATFORM_API LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Runs the WH_MSGFILTER hooks; TRUE when one of them took the message.
NUVEX_PLATFORM_API BOOL CallMsgFilterA(MSG* msg, int code);

// Returns the timer id (for a null window a new one), 0 on failure.
NUVEX_PLATFORM_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
NUVEX_PLATFORM_API BOOL KillTimer(HWND hwnd, UINT_PTR id);
// Whether the window has a timer with that id running (SetTimer with a
// running id replaces that timer; callers that want a free id ask first).
NUVEX_PLATFORM_API BOOL IsTimerSet(HWND hwnd, UINT_PTR id);

// Keyboard and mouse state -----------------------------------------------------

// Bit 0x8000 (negative) while down, bit 1 toggled; as of the last message
// taken from the queue.
NUVEX_PLATFORM_API SHORT GetKeyState(int virtualKey);
// The state at this instant, ahead of the queue.
NUVEX_PLATFORM_API SHORT GetAsyncKeyState(int virtualKey);
NUVEX_PLATFORM_API BOOL GetCursorPos(POINT* point);
NUVEX_PLATFORM_API BOOL SetCursorPos(int x, int y);
NUVEX_PLATFORM_API HCURSOR SetCursor(HCURSOR cursor);
NUVEX_PLATFORM_API HCURSOR GetCursor();
// Cursors are shared handles; a standard id (IDC_*) with a null instance
// gives the system cursor. Resource cursors come from the resource module.
NUVEX_PLATFORM_API HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
NUVEX_PLATFORM_API int ShowCursor(BOOL show);
NUVEX_PLATFORM_API UINT GetDoubleClickTime();

// Painting ---------------------------------------------------------------------

NUVEX_PLATFORM_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
NUVEX_PLATFORM_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
NUVEX_PLATFORM_API BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
NUVEX_PLATFORM_API BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
NUVEX_PLATFORM_API BOOL UpdateWindow(HWND hwnd);
NUVEX_PLATFORM_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
NUVEX_PLATFORM_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
NUVEX_PLATFORM_API HDC GetDC(HWND hwnd);
NUVEX_PLATFORM_API HDC GetWindowDC(HWND hwnd);
NUVEX_PLATFORM_API HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
NUVEX_PLATFORM_API int ReleaseDC(HWND hwnd, HDC dc);
NUVEX_PLATFORM_API HWND WindowFromDC(HDC dc);

// System metrics, colours and parameters of a classic desktop ----------------

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_CMONITORS = 80;
constexpr int SM_REMOTESESSION = 0x1000;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
NUVEX_PLATFORM_API int GetSystemMetrics(int index);

// COLOR_* indexes come from the drawing layer's system colours.
NUVEX_PLATFORM_API DWORD GetSysColor(int index);
// A solid brush of the colour owned by the window system; its users never
// delete it.
NUVEX_PLATFORM_API HBRUSH GetSysColorBrush(int index);
// Changes colours and sends WM_SYSCOLORCHANGE to the top-level windows.
NUVEX_PLATFORM_API BOOL SetSysColors(int count, const int* indexes, const COLORREF* colours);

constexpr UINT SPI_GETBORDER = 0x0005;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETHIGHCONTRAST = 0x0042;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETMENUUNDERLINES = SPI_GETKEYBOARDCUES;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETDROPSHADOW = 0x1024;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
constexpr DWORD HCF_HIGHCONTRASTON = 0x00000001;
struct HIGHCONTRASTA {
    UINT cbSize;
    DWORD dwFlags;
    LPSTR lpszDefaultScheme;
};
struct NONCLIENTMETRICSA {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
};
static_assert(sizeof(NONCLIENTMETRICSA) == 340);
// Reads a value of the classic desktop into `data`. Records carry their
// size in their first field, which must be at least the size of the fields
// that are written (HIGHCONTRASTA: 12 as on the 32-bit platform, or the
// size of the record here, whose scheme name is pointer-sized).
NUVEX_PLATFORM_API BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID data, UINT winIni);

// Monitors: the headless screen is one monitor -------------------------------

struct HMONITOR__;
using HMONITOR = HMONITOR__*;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
struct MONITORINFOEXA {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
    CHAR szDevice[32];
};
NUVEX_PLATFORM_API HMONITOR MonitorFromPoint(POINT point, DWORD flags);
NUVEX_PLATFORM_API HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
NUVEX_PLATFORM_API HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
// cbSize is sizeof(MONITORINFO) or sizeof(MONITORINFOEXA).
NUVEX_PLATFORM_API BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
