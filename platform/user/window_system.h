// The window system's state inside the platform library: classes, windows,
// the queue, hooks, timers, focus, capture, input state and the clock. Not
// exported; the functions of winuser.h work on the current instance.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

// Broken invariants stop the process with a message, in release builds too.
#define NUVEX_USER_ASSERT(cond, text)                                                           \
    do {                                                                                        \
        if (!(cond)) {                                                                          \
            std::fprintf(stderr, "window system: %s (%s:%d)\n", text, __FILE__, __LINE__);      \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

namespace nuvex::user {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
    bool system = false;
    int windowCount = 0;
};

struct DialogInfo;       // dialog_internal.h
struct WindowScrollBars; // scroll.cpp

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC proc = nullptr;
    std::string text;
    Window* parent = nullptr;            // the desktop for top-level windows
    Window* owner = nullptr;             // top-level windows only
    std::vector<Window*> children;       // z-order, topmost first
    RECT rect{};                         // window rectangle in parent client coordinates
    RECT client{};                       // client rectangle relative to the window's top-left
    RECT normalRect{};                   // rectangle to restore from maximised or minimised
    HMENU menu = nullptr;                // frame menu of a top-level window
    HMENU systemMenu = nullptr;          // made on the first GetSystemMenu
    LONG_PTR id = 0;                     // control id of a child window
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<std::pair<std::string, HANDLE>> props;
    std::vector<BYTE> extra;
    WORD uiState = 0;

    // Painting: the update area is kept as one rectangle in client
    // coordinates (the bounding box of everything invalidated).
    bool updatePending = false;
    RECT update{};
    bool eraseNeeded = false;
    bool frameNeeded = false;
    bool internalPaint = false;
    bool redrawOff = false;
    bool beganPaint = false;  // BeginPaint ran since the last WM_PAINT delivery started

    bool created = false;     // WM_CREATE answered
    bool destroying = false;  // DestroyWindow has started
    std::vector<uint32_t> pixels; // top-level windows: the surface, width x height
    std::shared_ptr<DialogInfo> dialog; // windows made by the dialog manager
    std::shared_ptr<WindowScrollBars> scrollBars; // made by the first scroll call on its own bars
};

struct MenuData;

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapseMs = 0;
    TIMERPROC proc = nullptr;
    DWORD due = 0;
};

struct Hook {
    HHOOK handle = nullptr;
    int kind = 0;
    HOOKPROC proc = nullptr;
    bool removed = false;
};

struct DeviceContextRecord {
    HWND hwnd = nullptr;
    bool fromBeginPaint = false;
};

// One window system. The platform's functions are free functions, so they
// reach the current instance; tests replace it with a fresh one
// (ResetWindowSystem) so that no state leaks from one test to the next.
class WindowSystem {
public:
    WindowSystem();
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // Handles --------------------------------------------------------------
    Window* Find(HWND hwnd) const;
    Window* Desktop() const { return m_desktop; }
    HWND NewWindowHandle();
    Window* Adopt(std::unique_ptr<Window> window);
    void Forget(HWND hwnd);

    // Classes --------------------------------------------------------------
    std::map<std::string, std::unique_ptr<WindowClass>> classes; // by lower-case name
    WindowClass* FindClass(LPCSTR name) const;

    // Atoms and registered messages -----------------------------------------
    struct AtomEntry {
        std::string name;
        int references = 0;
    };
    std::map<ATOM, AtomEntry> atoms;
    std::map<std::string, UINT> registeredMessages; // lower-case name -> id
    std::map<UINT, std::string> registeredNames;
    UINT nextRegisteredMessage = 0xC000;
    ATOM nextAtom = 0xC000;

    // Queue ------------------------------------------------------------------
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    bool mouseMovePending = false; // a window moved or appeared under the cursor
    MSG lastMessage{};             // the message last taken from the queue
    UINT lastKeyDown = 0;          // virtual key of the last key-down taken
    int sendDepth = 0;

    // Hooks and timers --------------------------------------------------------
    std::vector<Hook> hooks; // newest first
    uintptr_t nextHook = 0x100;
    int hookCallDepth = 0;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimer = 0x7F00;

    // Focus, activation, capture, cursor, keyboard -----------------------------
    HWND active = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND locked = nullptr;
    POINT cursor{0, 0};
    HCURSOR currentCursor = nullptr;
    int cursorShowCount = 0;
    BYTE keyState[256]{};      // as of the last message taken
    BYTE asyncKeyState[256]{}; // as of the last input
    struct Click {
        HWND hwnd = nullptr;
        UINT message = 0;
        DWORD time = 0;
        POINT pt{};
    } lastClick;

    // Clock (milliseconds). The headless back-end scripts it.
    DWORD now = 0;

    // Display ----------------------------------------------------------------
    int screenWidth = 1024;
    int screenHeight = 768;
    std::vector<uint32_t> screenPixels;
    std::unordered_map<HDC, DeviceContextRecord> dcs;
    COLORREF sysColors[kSysColorCount]{};
    HBRUSH sysBrushes[kSysColorCount]{};

    // Observation and scripting ------------------------------------------------
    MessageSpy spy;
    IdleScript idleScript;

    // Menus by handle.
    std::unordered_map<uintptr_t, std::unique_ptr<MenuData>> menus;
    uintptr_t nextMenu = 0x20010;

    // Stock cursors by standard id.
    std::map<uintptr_t, HCURSOR> stockCursors;

private:
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> m_windows;
    uintptr_t m_nextHandle = 0x10010;
    Window* m_desktop = nullptr;
};

WindowSystem& System();

// Shared helpers between the files of the window system -----------------------

inline Window* W(HWND hwnd) { return System().Find(hwnd); }
inline bool IsTopLevel(const Window* w) { return w->parent == System().Desktop(); }
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
std::string Lower(const std::string& text);
const std::string* RegisteredMessageName(UINT id);

// System classes of the families above the window system (the common
// controls). A family adds its table once, when the library loads; every
// window system made from then on registers its rows as system classes,
// after (and in place of) the window system's own.
struct SystemClassEntry {
    const char* name;
    UINT style;
    WNDPROC proc;
    int windowExtra;
    int backgroundColour; // COLOR_* index + 1, or 0 for no background brush
};
void AddSystemClassEntries(const SystemClassEntry* entries, size_t count);

// The top-level window that contains `w` (w itself for a top-level window).
Window* TopLevelOf(Window* w);
// Window rectangle of `w` in screen coordinates.
RECT ScreenWindowRect(const Window* w);
// Client rectangle of `w` in screen coordinates.
RECT ScreenClientRect(const Window* w);
// Visible: the window and every ancestor have WS_VISIBLE.
bool IsReallyVisible(const Window* w);
// Sends through the hooks to the window procedure, reporting to the spy.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void Spy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, MessageDelivery delivery);
// Keeps a top-level window's surface as large as its window rectangle.
void ResizeSurface(Window* w);
// Removes timers of a window being destroyed.
void KillWindowTimers(HWND hwnd);
// Activation, focus and capture cleanup when a window hides or dies.
enum class WindowLeaving : uint8_t { Hidden, Destroyed };
void OnWindowHiddenOrGone(Window* w, WindowLeaving leaving);
// Invalidates the whole client area, and as asked erases it, marks the
// frame and takes in the children.
enum class EraseBackground : uint8_t { No, Yes };
enum class WithFrame : uint8_t { No, Yes };
enum class WithChildren : uint8_t { No, Yes };
void InvalidateWhole(Window* w, EraseBackground erase, WithFrame frame, WithChildren children);
// Invalidates `area` (client coordinates of `parent`) where the child `w`
// was, when it moved, shrank, hid or left: the parent, and the siblings
// that lay below `w` even where the parent's WS_CLIPCHILDREN keeps its
// invalidation away from them.
void InvalidateUncovered(Window* parent, const Window* w, const RECT& area);
LRESULT HitTest(HWND hwnd, POINT screen);
// The deepest visible, enabled-or-not window under `screen`, with its hit code.
HWND WindowUnder(POINT screen, LRESULT* hitCode);
DWORD Now();
// Makes a top-level window (or null) active; `how` is the WA_* state it hears.
HWND Activate(HWND hwnd, WORD how);
// Menus attached to windows are destroyed with them.
void DestroyWindowMenu(HMENU menu);

} // namespace nuvex::user

namespace nuvex::user {
// Families built on the window system (the standard and common controls)
// bring their own system classes. A registrar registers them through
// RegisterSystemClass; every fresh window system (the first one and each
// ResetWindowSystem) runs every registrar, and one added while a window
// system exists runs at once.
using SystemClassRegistrar = void (*)();
void AddSystemClassRegistrar(SystemClassRegistrar registrar);
// Registers `wc` as a system class: created by name from any module, and
// never unregistered. Answers the class atom, 0 when the name is taken.
ATOM RegisterSystemClass(const WNDCLASSEXA& wc);
} // namespace nuvex::user

namespace nuvex::user {
// The window procedure of the popup-menu window class "#32768".
LRESULT PopupMenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
} // namespace nuvex::user

namespace nuvex::user {
// Drawing through the drawing layer (drawing_bridge.cpp) -----------------------
// Fills `rect` of `dc` with `brush`; false when there is nothing to fill with.
bool FillWithBrush(HDC dc, const RECT& rect, HBRUSH brush);
// A DC on the surface of `w`'s top-level window: origin at the window's
// client (or, with DcArea::Window, window) top-left, clipped to the visible
// part of that area and to `clip` (same coordinates as the origin) if given.
// `clipFlags` (DCX_CLIPCHILDREN, DCX_CLIPSIBLINGS) leave out `w`'s visible
// children and the visible siblings above it; the siblings above an
// ancestor with WS_CLIPSIBLINGS are always left out.
enum class DcArea : uint8_t { Client, Window };
HDC MakeWindowDC(Window* w, DcArea area, const RECT* clip, DWORD clipFlags);
// The clip flags that `w`'s style asks of its DCs (WS_CLIPCHILDREN,
// WS_CLIPSIBLINGS).
DWORD StyleClipFlags(const Window* w);
// The screen rectangles that a DC of `w` with `clipFlags` leaves out.
std::vector<RECT> ClippedAway(const Window* w, DWORD clipFlags);
// The box round the part of `screenArea` where `w` shows, its children
// counted as its own: what the siblings above it (or above an ancestor)
// cover is left out where its style, or the ancestor's, clips them. False
// when nothing of it shows there: what it would paint there never shows.
bool ShownPart(const Window* w, const RECT& screenArea, RECT* shown);
// A DC on the whole screen surface.
HDC MakeScreenDC();
// Copies the visible top-level windows into the screen's pixels, so that a
// window DC of the screen reads what a person sees.
void ComposeScreen();
void FreeDC(HDC dc);
} // namespace nuvex::user

namespace nuvex::user {
// Draws the frame menu's items into the menu bar `bar` (window coordinates).
void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar);
} // namespace nuvex::user

namespace nuvex::user {
// Where a popup menu loop opens from: a frame menu bar's popup lets Left and
// Right leave it for the neighbouring bar item.
enum class MenuOpenedFrom : uint8_t { Popup, MenuBar };
// The popup menu loop; opened from a frame menu bar, Left and Right leave
// it asking for the neighbouring bar item (-1 / +1 in `barStep`).
BOOL TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params, MenuOpenedFrom from,
               int* barStep);
// Opens the frame menu bar's item `position` of `hwnd` and follows Left and
// Right to the neighbouring items until a command or a cancel ends it.
void TrackMenuBar(HWND hwnd, int position);
} // namespace nuvex::user

namespace nuvex::user {
// Dialog base units of `font` (null: the system font): average character
// width and character height in pixels.
void FontBaseUnits(HFONT font, int* baseX, int* baseY);
} // namespace nuvex::user
