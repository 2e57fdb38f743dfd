// The owner-drawn menu library's process-wide state: what start-up learnt
// about the platform (system style, high contrast, remote session), the
// gradient and theme entry points, the registered menu-look painters and
// the current one, the WH_CALLWNDPROC hook that subclasses popup-menu
// windows, and the small guards around them (CDynLib, CMenuHookHolder,
// CMenuOptionScope, SetUnusedTimer).
//
// Start-up runs on first use (CNewMenu::InitLibrary), not from a static
// initialiser: the window system it hooks may be created after the
// program's statics, and tests start a fresh window system per test. Each
// call re-installs the hook in the window system of the moment.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/kernel/module.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

class CMenuLookPainter;
class CNewMenuIcons;
class CMenuBackgroundBrush;

// System style codes of GetOsStyle.
enum OsStyle : int {
    kOsStyleOld = 0,      // not NT, major version below 4
    kOsStyleNt3 = 1,
    kOsStyle95 = 2,
    kOsStyle98 = 3,
    kOsStyleMe = 4,
    kOsStyleNt4 = 5,
    kOsStyle2000 = 6,
    kOsStyleXp = 7,       // NT 5.1 and later
};

// Option word bits.
inline constexpr DWORD kOptionDialogHandlers = 0x1;  // every dialog gets a CNewMenuTempHandler
inline constexpr DWORD kOptionDialogSystemMenu = 0x2; // such a handler wraps the system menu
inline constexpr DWORD kOptionScopeStyle = 0x4;       // read by CMenuOptionScope

// The platform's GradientFill, as the gradient entry point.
using GradientFillProc = BOOL (*)(HDC, const TRIVERTEX*, ULONG, void*, ULONG, ULONG);
using IsThemeActiveProc = BOOL (*)();
using SetWindowThemeProc = HRESULT (*)(HWND, LPCSTR, LPCSTR);

struct MenuLibraryState {
    int osStyle = kOsStyleXp;
    BOOL highContrast = FALSE;
    BOOL wine = FALSE;
    BOOL remoteSession = FALSE;
    GradientFillProc gradientFill = nullptr;
    IsThemeActiveProc isThemeActive = nullptr;
    SetWindowThemeProc setWindowTheme = nullptr;
    HMODULE themeModule = nullptr;
    HMODULE imageModule = nullptr;
    CMenuLookPainter* currentPainter = nullptr;
    HHOOK hook = nullptr;
    HMENU pendingMenu = nullptr;
    DWORD lastMessagePos = 0;
    DWORD optionWord = 0;
    // Registered painters, owned; null until the first registration.
    std::unique_ptr<std::vector<CMenuLookPainter*>> painters;
    // The shared image sets (not owned: each set leaves when its last
    // holder releases it).
    std::unique_ptr<std::vector<CNewMenuIcons*>> iconSets;
    // Item data of the menu-bar item RedrawMenuBarItem drew last.
    ULONG_PTR lastRedrawnBarItem = 0;
    // Item data of the bar item the item drawing saw hot last.
    ULONG_PTR lastDrawnBarItem = 0;
    int screenColorCount = 0; // 0 until read
    DWORD lastCacheRefresh = 0;
    bool cacheRefreshed = false;
    bool started = false;
};

MenuLibraryState& MenuLibrary();

// The system style code of the platform (Linux: NT 5.1 and later).
int GetOsStyle();
// The platform's drop-shadow setting (0 when the query fails).
BOOL IsDropShadowEnabled();

// Stops the library: unhooks, deletes the painters, frees the modules
// and forgets the shared image sets' list.
void ExitMenuLibrary();

// A run-time library with one entry point; both null when missing.
class CDynLib {
public:
    CDynLib(LPCSTR fileName, LPCSTR entryName);
    ~CDynLib();
    CDynLib(const CDynLib&) = delete;
    CDynLib& operator=(const CDynLib&) = delete;
    FARPROC Entry() const { return m_entry; }
    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module = nullptr;
    FARPROC m_entry = nullptr;
};

// Installs the popup-menu hook for the current thread while it lives.
class CMenuHookHolder {
public:
    CMenuHookHolder();
    ~CMenuHookHolder();
    CMenuHookHolder(const CMenuHookHolder&) = delete;
    CMenuHookHolder& operator=(const CMenuHookHolder&) = delete;
    HHOOK Hook() const { return m_hook; }

private:
    HHOOK m_hook = nullptr;
};

// Sets the option word (or a style code) for its lifetime and puts back
// the previous word and style code afterwards.
class CMenuOptionScope {
public:
    explicit CMenuOptionScope(DWORD optionWord);
    enum class StyleOnly { Yes };
    CMenuOptionScope(StyleOnly, int styleCode);
    ~CMenuOptionScope();
    CMenuOptionScope(const CMenuOptionScope&) = delete;
    CMenuOptionScope& operator=(const CMenuOptionScope&) = delete;

private:
    DWORD m_savedOptions = 0;
    int m_savedStyle = 0;
};

// Starts a timer on the window with the first free id from 31 to 99; its
// id, or 0 when the window is none or every id is taken.
UINT_PTR SetUnusedTimer(HWND window, UINT periodMs);

// The hook procedure that subclasses popup-menu windows (menu_window.cpp).
LRESULT MenuWindowHookProc(int code, WPARAM wParam, LPARAM lParam);
