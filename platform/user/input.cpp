// Mouse and keyboard input turned into messages: the target by capture or
// hit-test, WM_SETCURSOR, click activation, double clicks, client versus
// non-client messages, key messages with their key data.
#include <algorithm>
#include <cstdlib>

#include "platform/user/input.h"
#include "platform/user/keyboard.h"
#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

WPARAM MouseKeys()
{
    const BYTE* state = System().asyncKeyState;
    WPARAM keys = 0;
    keys |= (state[VK_LBUTTON] & 0x80) != 0 ? MK_LBUTTON : 0;
    keys |= (state[VK_RBUTTON] & 0x80) != 0 ? MK_RBUTTON : 0;
    keys |= (state[VK_MBUTTON] & 0x80) != 0 ? MK_MBUTTON : 0;
    keys |= (state[VK_SHIFT] & 0x80) != 0 ? MK_SHIFT : 0;
    keys |= (state[VK_CONTROL] & 0x80) != 0 ? MK_CONTROL : 0;
    return keys;
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowSystem& system = System();
    system.queue.push_back(MSG{hwnd, message, wParam, lParam, system.now, system.cursor});
}

LPARAM Pack(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

bool IsButtonDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

} // namespace

void PostMouseInput(UINT message)
{
    WindowSystem& system = System();
    const POINT pt = system.cursor;
    HWND target = nullptr;
    LRESULT hit = HTCLIENT;
    if (system.capture != nullptr && W(system.capture) != nullptr) {
        target = system.capture;
    } else {
        target = WindowUnder(pt, &hit);
    }
    if (target == nullptr) {
        return;
    }
    Window* w = W(target);
    if (w == nullptr) {
        return;
    }
    if (system.capture == nullptr) {
        Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
             MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
        if ((w = W(target)) == nullptr) {
            return;
        }
        if (hit == HTERROR || (w->style & WS_DISABLED) != 0) {
            return;
        }
    }
    if (IsButtonDown(message) && system.capture == nullptr) {
        Window* top = TopLevelOf(w);
        if (system.active != top->handle && (top->exStyle & WS_EX_NOACTIVATE) == 0) {
            const LRESULT answer = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                                        MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(message)));
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
                HWND topHandle = top->handle;
                Activate(topHandle, WA_CLICKACTIVE);
            }
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) {
                return;
            }
            if ((w = W(target)) == nullptr) {
                return;
            }
        }
    }
    const bool client = system.capture != nullptr || hit == HTCLIENT;
    UINT posted = message;
    if (IsButtonDown(message)) {
        auto& last = system.lastClick;
        const int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
        const bool allowed = !client || (w->windowClass != nullptr && (w->windowClass->style & CS_DBLCLKS) != 0);
        if (allowed && last.hwnd == target && last.message == message &&
            system.now - last.time <= GetDoubleClickTime() && std::abs(pt.x - last.pt.x) <= half &&
            std::abs(pt.y - last.pt.y) <= half) {
            posted = message + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
            last = {};
        } else {
            last = {target, message, system.now, pt};
        }
    }
    if (client) {
        POINT local = pt;
        ScreenToClient(target, &local);
        Post(target, posted, MouseKeys(), Pack(local));
    } else {
        Post(target, posted + (WM_NCMOUSEMOVE - WM_MOUSEMOVE), static_cast<WPARAM>(hit), Pack(pt));
    }
}

} // namespace nuvex::user

using namespace nuvex::user;

void InjectMouseMove(POINT screen)
{
    WindowSystem& system = System();
    system.cursor = {std::clamp(static_cast<int>(screen.x), 0, system.screenWidth - 1),
                     std::clamp(static_cast<int>(screen.y), 0, system.screenHeight - 1)};
    system.mouseMovePending = false;
    PostMouseInput(WM_MOUSEMOVE);
}

void InjectMouseButton(MouseButton button, KeyAction action)
{
    WindowSystem& system = System();
    const bool down = action == KeyAction::Down;
    UINT message = 0;
    int vk = 0;
    switch (button) {
    case MouseButton::Left: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; vk = VK_LBUTTON; break;
    case MouseButton::Right: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; vk = VK_RBUTTON; break;
    case MouseButton::Middle: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; vk = VK_MBUTTON; break;
    }
    if (down) {
        system.asyncKeyState[vk] |= 0x80;
    } else {
        system.asyncKeyState[vk] &= static_cast<BYTE>(~0x80);
    }
    PostMouseInput(message);
}

void InjectMouseWheel(int delta)
{
    WindowSystem& system = System();
    HWND target = system.focus != nullptr ? system.focus : system.active;
    if (target == nullptr) {
        return;
    }
    Post(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(MouseKeys()), static_cast<WORD>(delta)),
         Pack(system.cursor));
}

void InjectKey(int virtualKey, KeyAction action, int scanCode)
{
    if (virtualKey <= 0 || virtualKey > 255) {
        return;
    }
    WindowSystem& system = System();
    BYTE& state = system.asyncKeyState[virtualKey];
    const bool wasDown = (state & 0x80) != 0;
    const bool down = action == KeyAction::Down;
    state = down ? static_cast<BYTE>(state | 0x80) : static_cast<BYTE>(state & ~0x80);
    const bool alt = (system.asyncKeyState[VK_MENU] & 0x80) != 0;
    const bool control = (system.asyncKeyState[VK_CONTROL] & 0x80) != 0;
    HWND target = system.focus;
    bool systemKey = (alt && !control) || virtualKey == VK_F10 || virtualKey == VK_MENU;
    if (target == nullptr) {
        // Without a focus window the active window hears keys as system keys.
        target = system.active;
        systemKey = true;
    }
    if (target == nullptr) {
        return;
    }
    const int scan = scanCode != 0 ? scanCode : ScanCodeOf(virtualKey);
    uint32_t data = 1u | (static_cast<uint32_t>(scan & 0xFF) << 16);
    if (alt && systemKey && virtualKey != VK_F10) {
        data |= 1u << 29;
    }
    if (wasDown || !down) {
        data |= 1u << 30;
    }
    if (!down) {
        data |= 1u << 31;
    }
    const UINT message = systemKey ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    Post(target, message, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(data));
}
