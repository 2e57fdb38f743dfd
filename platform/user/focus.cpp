// Activation, keyboard focus, mouse capture, window-update locking, the
// keyboard state and the cursor.
#include <algorithm>

#include "platform/kernel/resource.h"
#include "platform/user/display_backend.h"
#include "platform/user/window_system.h"

namespace nuvex::user {

// Makes `hwnd` (a top-level window, or null) the active window; `how` is
// the WA_* state the new window is told.
HWND Activate(HWND hwnd, WORD how)
{
    WindowSystem& system = System();
    Window* w = nullptr;
    if (hwnd != nullptr) {
        w = W(hwnd);
        if (w == nullptr || w->destroying) {
            return nullptr;
        }
        w = TopLevelOf(w);
        hwnd = w->handle;
    }
    const HWND old = system.active;
    if (old == hwnd) {
        return old;
    }
    if (w != nullptr) {
        // Bring it above its non-topmost siblings first.
        auto& tops = system.Desktop()->children;
        Window* first = nullptr;
        for (Window* top : tops) {
            if ((top->exStyle & WS_EX_TOPMOST) == (w->exStyle & WS_EX_TOPMOST)) {
                first = top;
                break;
            }
        }
        if (first != w) {
            SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (W(hwnd) == nullptr) {
                return old;
            }
        }
    }
    if (old != nullptr && W(old) != nullptr) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        if (W(old) != nullptr) {
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(hwnd));
        }
    }
    system.active = hwnd;
    if (hwnd == nullptr) {
        if (old != nullptr && W(old) != nullptr) {
            Send(old, WM_ACTIVATEAPP, FALSE, 0);
        }
        if (system.focus != nullptr) {
            SetFocus(nullptr);
        }
        return old;
    }
    if (old == nullptr) {
        Send(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (W(hwnd) != nullptr && system.active == hwnd) {
        Send(hwnd, WM_NCACTIVATE, TRUE, 0);
    }
    if (W(hwnd) != nullptr && system.active == hwnd) {
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    }
    // The focus may not stay in a window that is no longer active.
    if (system.focus != nullptr && W(system.focus) != nullptr && system.active == hwnd &&
        TopLevelOf(W(system.focus)) != W(hwnd)) {
        SetFocus(nullptr);
    }
    return old;
}

} // namespace nuvex::user

using namespace nuvex::user;

HWND SetActiveWindow(HWND hwnd) { return Activate(hwnd, WA_ACTIVE); }
HWND GetActiveWindow() { return System().active; }
HWND GetForegroundWindow() { return System().active; }
BOOL SetForegroundWindow(HWND hwnd)
{
    if (W(hwnd) == nullptr) {
        return FALSE;
    }
    Activate(hwnd, WA_ACTIVE);
    return TRUE;
}

HWND SetFocus(HWND hwnd)
{
    WindowSystem& system = System();
    if (hwnd != nullptr) {
        Window* w = W(hwnd);
        if (w == nullptr || w->destroying) {
            return nullptr;
        }
        Window* top = TopLevelOf(w);
        if (system.active != top->handle) {
            Activate(top->handle, WA_ACTIVE);
            if (W(hwnd) == nullptr) {
                return nullptr;
            }
        }
    }
    const HWND old = system.focus;
    if (old == hwnd) {
        return old;
    }
    if (old != nullptr && W(old) != nullptr) {
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    if (hwnd != nullptr && W(hwnd) == nullptr) {
        return old;
    }
    system.focus = hwnd;
    if (hwnd != nullptr) {
        Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

HWND GetFocus() { return System().focus; }

HWND SetCapture(HWND hwnd)
{
    WindowSystem& system = System();
    if (W(hwnd) == nullptr) {
        return nullptr;
    }
    const HWND old = system.capture;
    system.capture = hwnd;
    if (old != nullptr && old != hwnd && W(old) != nullptr) {
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return old;
}

BOOL ReleaseCapture()
{
    WindowSystem& system = System();
    const HWND old = system.capture;
    system.capture = nullptr;
    if (old != nullptr && W(old) != nullptr) {
        Send(old, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture() { return System().capture; }

BOOL LockWindowUpdate(HWND hwnd)
{
    WindowSystem& system = System();
    if (hwnd != nullptr) {
        if (W(hwnd) == nullptr || (system.locked != nullptr && system.locked != hwnd)) {
            return FALSE;
        }
        system.locked = hwnd;
        return TRUE;
    }
    const HWND was = system.locked;
    system.locked = nullptr;
    if (Window* w = W(was)) {
        InvalidateWhole(w, EraseBackground::Yes, WithFrame::Yes, WithChildren::Yes);
    }
    return TRUE;
}

SHORT GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255) {
        return 0;
    }
    const BYTE state = System().keyState[virtualKey];
    return static_cast<SHORT>(((state & 0x80) != 0 ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255) {
        return 0;
    }
    const BYTE state = System().asyncKeyState[virtualKey];
    return static_cast<SHORT>((state & 0x80) != 0 ? 0x8000 : 0);
}

BOOL GetCursorPos(POINT* point)
{
    if (point == nullptr) {
        return FALSE;
    }
    *point = System().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    WindowSystem& system = System();
    system.cursor = {std::clamp(x, 0, system.screenWidth - 1), std::clamp(y, 0, system.screenHeight - 1)};
    system.mouseMovePending = true;
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    WindowSystem& system = System();
    const HCURSOR old = system.currentCursor;
    system.currentCursor = cursor;
    return old;
}

HCURSOR GetCursor() { return System().currentCursor; }

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    // Cursors are shared handles named by instance and id; the display
    // back-end turns a handle into a picture.
    if (name == nullptr || !UserIsIntName(name)) {
        return nullptr;
    }
    WindowSystem& system = System();
    const uintptr_t key = (reinterpret_cast<uintptr_t>(instance) << 16) | reinterpret_cast<uintptr_t>(name);
    auto it = system.stockCursors.find(key);
    if (it != system.stockCursors.end()) {
        return it->second;
    }
    const auto id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    if (instance == nullptr) {
        if (id < 32512 || id > 32651) {
            return nullptr;
        }
    } else if (!FindResourceBytes(instance, kResourceCursor, id)) {
        // A module's cursor exists only where its resources have one.
        return nullptr;
    }
    auto cursor = reinterpret_cast<HCURSOR>(0x7C000000u + system.stockCursors.size() * 16u + 16u);
    system.stockCursors[key] = cursor;
    return cursor;
}

int ShowCursor(BOOL show)
{
    WindowSystem& system = System();
    system.cursorShowCount += show != FALSE ? 1 : -1;
    return system.cursorShowCount;
}

UINT GetDoubleClickTime() { return 500; }

bool GetCursorSource(HCURSOR cursor, HINSTANCE* instance, WORD* id)
{
    if (cursor == nullptr) {
        return false;
    }
    for (const auto& [key, handle] : System().stockCursors) {
        if (handle == cursor) {
            if (instance != nullptr) {
                *instance = reinterpret_cast<HINSTANCE>(key >> 16);
            }
            if (id != nullptr) {
                *id = static_cast<WORD>(key & 0xFFFF);
            }
            return true;
        }
    }
    return false;
}
