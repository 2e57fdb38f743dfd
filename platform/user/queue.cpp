// The message queue: sending and posting, taking messages (posted, quit,
// synthetic mouse moves, paints, timers), dispatching, translating keys,
// hooks, timers, and the pump that tests run until the queue is idle.
#include <algorithm>
#include <chrono>
#include <memory>

#include "platform/user/display_backend.h"
#include "platform/user/input.h"
#include "platform/user/window_system.h"

namespace nuvex::user {

void Spy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, MessageDelivery delivery)
{
    WindowSystem& system = System();
    if (system.spy) {
        system.spy(hwnd, msg, wParam, lParam, delivery);
    }
}

namespace {

void PurgeRemovedHooks()
{
    WindowSystem& system = System();
    if (system.hookCallDepth == 0) {
        auto& hooks = system.hooks;
        hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [](const Hook& h) { return h.removed; }), hooks.end());
    }
}

// Calls the hook of `kind` that comes after `after` in the chain (the
// newest one when `after` is null); 0 when the chain ends.
LRESULT CallHookChain(int kind, HHOOK after, int code, WPARAM wParam, LPARAM lParam)
{
    WindowSystem& system = System();
    size_t i = 0;
    if (after != nullptr) {
        while (i < system.hooks.size() && system.hooks[i].handle != after) {
            ++i;
        }
        if (i == system.hooks.size()) {
            return 0;
        }
        ++i;
    }
    for (; i < system.hooks.size(); ++i) {
        const Hook& hook = system.hooks[i];
        if (hook.kind == kind && !hook.removed) {
            HOOKPROC proc = hook.proc;
            ++system.hookCallDepth;
            const LRESULT result = proc(code, wParam, lParam);
            --System().hookCallDepth;
            PurgeRemovedHooks();
            return result;
        }
    }
    return 0;
}

bool HasHooks(int kind)
{
    for (const Hook& hook : System().hooks) {
        if (hook.kind == kind && !hook.removed) {
            return true;
        }
    }
    return false;
}

bool Matches(const MSG& msg, HWND filter, UINT filterMin, UINT filterMax)
{
    if (filterMin != 0 || filterMax != 0) {
        if (msg.message < filterMin || msg.message > filterMax) {
            return false;
        }
    }
    if (filter == nullptr) {
        return true;
    }
    if (filter == reinterpret_cast<HWND>(-1)) {
        return msg.hwnd == nullptr;
    }
    return msg.hwnd == filter || IsChild(filter, msg.hwnd) != FALSE;
}

// The first visible window (top-level windows in z-order, parents before
// children) whose update area is pending, within `filter`.
Window* FindPaint(Window* parent, HWND filter)
{
    WindowSystem& system = System();
    for (Window* child : parent->children) {
        if ((child->style & WS_VISIBLE) == 0 || child->destroying) {
            continue;
        }
        if (system.locked != nullptr && (child->handle == system.locked || IsChild(system.locked, child->handle))) {
            continue;
        }
        const bool inFilter = filter == nullptr || child->handle == filter || IsChild(filter, child->handle);
        if (inFilter && !child->redrawOff && (child->updatePending || child->internalPaint || child->frameNeeded)) {
            return child;
        }
        if (Window* found = FindPaint(child, filter)) {
            return found;
        }
    }
    return nullptr;
}

void TrackKeyState(const MSG& msg)
{
    BYTE* state = System().keyState;
    auto press = [state](int vk, bool down) {
        if (down) {
            if ((state[vk] & 0x80) == 0) {
                state[vk] ^= 0x01;
            }
            state[vk] |= 0x80;
        } else {
            state[vk] &= static_cast<BYTE>(~0x80);
        }
    };
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        press(static_cast<int>(msg.wParam & 0xFF), true);
        System().lastKeyDown = static_cast<UINT>(msg.wParam & 0xFF);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP: press(static_cast<int>(msg.wParam & 0xFF), false); break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
        press(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: case WM_NCLBUTTONUP: press(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
        press(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: case WM_NCRBUTTONUP: press(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
        press(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: case WM_NCMBUTTONUP: press(VK_MBUTTON, false); break;
    default: break;
    }
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WindowSystem& system = System();
    return MSG{hwnd, message, wParam, lParam, system.now, system.cursor};
}

// Takes the next message in the platform's order: posted messages (input
// included), WM_QUIT, a synthetic mouse move, WM_PAINT, due timers.
bool Take(MSG* out, HWND filter, UINT filterMin, UINT filterMax, bool remove)
{
    WindowSystem& system = System();
    for (int round = 0; round < 2; ++round) {
        for (auto it = system.queue.begin(); it != system.queue.end(); ++it) {
            if (Matches(*it, filter, filterMin, filterMax)) {
                *out = *it;
                if (remove) {
                    system.queue.erase(it);
                    TrackKeyState(*out);
                }
                return true;
            }
        }
        if (system.quitPosted && (filterMin == 0 && filterMax == 0 ? true : (WM_QUIT >= filterMin && WM_QUIT <= filterMax))) {
            *out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(system.quitCode), 0);
            if (remove) {
                system.quitPosted = false;
            }
            return true;
        }
        if (!system.mouseMovePending) {
            break;
        }
        // A window moved, appeared or vanished under the cursor: the window
        // under it hears about it once, as if the mouse had moved.
        system.mouseMovePending = false;
        PostMouseInput(WM_MOUSEMOVE);
    }
    const bool paintInRange = (filterMin == 0 && filterMax == 0) || (WM_PAINT >= filterMin && WM_PAINT <= filterMax);
    if (paintInRange && filter != reinterpret_cast<HWND>(-1)) {
        if (Window* w = FindPaint(system.Desktop(), filter)) {
            *out = MakeMessage(w->handle, WM_PAINT, 0, 0);
            if (remove) {
                w->internalPaint = false;
            }
            return true;
        }
    }
    const bool timerInRange = (filterMin == 0 && filterMax == 0) || (WM_TIMER >= filterMin && WM_TIMER <= filterMax);
    if (timerInRange) {
        for (Timer& timer : system.timers) {
            if (timer.due > system.now) {
                continue;
            }
            MSG msg = MakeMessage(timer.hwnd, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.proc));
            if (!Matches(msg, filter, 0, 0)) {
                continue;
            }
            *out = msg;
            if (remove) {
                timer.due = system.now + timer.elapseMs;
            }
            return true;
        }
    }
    return false;
}

struct DisplayState {
    DisplayBackendFactory factory = nullptr;
    bool chosen = false;
    std::shared_ptr<DisplayBackend> backend;
};

DisplayState& Display()
{
    static DisplayState state;
    return state;
}

// The back-end in use; the registered factory chooses it on first need.
DisplayBackend* ActiveDisplayBackend()
{
    DisplayState& state = Display();
    if (!state.chosen && state.factory != nullptr) {
        state.chosen = true;
        state.backend = state.factory();
    }
    return state.backend.get();
}

// Lets something happen while a loop waits: the idle script injects input,
// or the scripted clock jumps to the next timer. False when nothing can.
bool WaitForSomething()
{
    WindowSystem& system = System();
    if (system.idleScript) {
        IdleScript script = system.idleScript;
        if (script()) {
            return true;
        }
    }
    WindowSystem& after = System();
    if (!after.queue.empty() || after.quitPosted || after.mouseMovePending) {
        return true;
    }
    DWORD next = 0;
    bool any = false;
    for (const Timer& timer : after.timers) {
        if (!any || timer.due < next) {
            next = timer.due;
            any = true;
        }
    }
    if (DisplayBackend* backend = ActiveDisplayBackend()) {
        // A real screen: show what there is, then wait for a person or the
        // next timer, with the clock following the time that passes.
        backend->Present();
        const int timeout = any ? static_cast<int>(next > after.now ? next - after.now : 0) : -1;
        const auto start = std::chrono::steady_clock::now();
        const bool input = backend->WaitForInput(timeout);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        WindowSystem& later = System();
        later.now += static_cast<DWORD>(elapsed.count());
        if (input) {
            return true;
        }
        if (any) {
            later.now = std::max(later.now, next);
            return true;
        }
        return false;
    }
    if (any) {
        after.now = std::max(after.now, next);
        return true;
    }
    return false;
}

} // namespace

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (HasHooks(WH_CALLWNDPROC)) {
        CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
        CallHookChain(WH_CALLWNDPROC, nullptr, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
        if ((w = W(hwnd)) == nullptr) {
            return 0;
        }
    }
    Spy(hwnd, msg, wParam, lParam, MessageDelivery::Sent);
    WNDPROC proc = w->proc;
    WindowSystem& system = System();
    ++system.sendDepth;
    const LRESULT result = proc != nullptr ? proc(hwnd, msg, wParam, lParam) : 0;
    --System().sendDepth;
    return result;
}

void KillWindowTimers(HWND hwnd)
{
    auto& timers = System().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

bool WaitForInput() { return WaitForSomething(); }

} // namespace nuvex::user

using namespace nuvex::user;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return Send(hwnd, msg, wParam, lParam); }

void RegisterDisplayBackendFactory(DisplayBackendFactory factory) { Display().factory = factory; }

void SetDisplayBackend(std::shared_ptr<DisplayBackend> backend)
{
    DisplayState& state = Display();
    state.chosen = true;
    state.backend = std::move(backend);
}

DisplayBackend* CurrentDisplayBackend() { return ActiveDisplayBackend(); }

bool PumpDisplay(int timeoutMs)
{
    DisplayBackend* backend = ActiveDisplayBackend();
    if (backend == nullptr) {
        return false;
    }
    backend->Present();
    return backend->WaitForInput(timeoutMs);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowSystem& system = System();
    if (hwnd != nullptr && W(hwnd) == nullptr) {
        return FALSE;
    }
    system.queue.push_back(MSG{hwnd, msg, wParam, lParam, system.now, system.cursor});
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    WindowSystem& system = System();
    system.quitPosted = true;
    system.quitCode = exitCode;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove)
{
    if (msg == nullptr) {
        return FALSE;
    }
    if (!Take(msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0)) {
        return FALSE;
    }
    if ((remove & PM_REMOVE) != 0) {
        System().lastMessage = *msg;
    }
    if (HasHooks(WH_GETMESSAGE)) {
        CallHookChain(WH_GETMESSAGE, nullptr, HC_ACTION, remove & PM_REMOVE, reinterpret_cast<LPARAM>(msg));
    }
    return TRUE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (msg == nullptr) {
        return -1;
    }
    for (;;) {
        if (PeekMessageA(msg, hwnd, filterMin, filterMax, PM_REMOVE) != FALSE) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        NUVEX_USER_ASSERT(WaitForSomething(),
                          "GetMessage would wait forever: no input script, no timer and no message can come");
    }
}

BOOL WaitMessage()
{
    WindowSystem& system = System();
    if (!system.queue.empty() || system.quitPosted) {
        return TRUE;
    }
    return WaitForSomething() ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr) {
        return 0;
    }
    WindowSystem& system = System();
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a procedure that belongs to a live timer is called.
        for (const Timer& timer : system.timers) {
            if (timer.hwnd == msg->hwnd && timer.id == msg->wParam &&
                reinterpret_cast<LPARAM>(timer.proc) == msg->lParam) {
                TIMERPROC proc = timer.proc;
                proc(msg->hwnd, WM_TIMER, msg->wParam, system.now);
                return 0;
            }
        }
        return 0;
    }
    Window* w = W(msg->hwnd);
    if (w == nullptr) {
        return 0;
    }
    Spy(msg->hwnd, msg->message, msg->wParam, msg->lParam, MessageDelivery::Posted);
    WNDPROC proc = w->proc;
    if (msg->message == WM_PAINT) {
        w->beganPaint = false;
    }
    const LRESULT result = proc != nullptr ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
    if (msg->message == WM_PAINT) {
        // A window that answers WM_PAINT without painting is taken as
        // painted, so that the queue does not offer it again forever.
        Window* after = W(msg->hwnd);
        if (after != nullptr && !after->beganPaint) {
            after->updatePending = false;
            after->eraseNeeded = false;
            after->frameNeeded = false;
            after->internalPaint = false;
        }
    }
    return result;
}

namespace {

// The character a key types on a US keyboard, or 0.
int KeyCharacter(int vk, bool shift, bool caps, bool control)
{
    if (vk >= 'A' && vk <= 'Z') {
        if (control) {
            return vk - 'A' + 1;
        }
        return (shift != caps) ? vk : vk - 'A' + 'a';
    }
    if (control) {
        switch (vk) {
        case VK_RETURN: return '\n';
        case VK_BACK: return 0x7F;
        case VK_ESCAPE: return 27;
        default: return 0;
        }
    }
    if (vk >= '0' && vk <= '9') {
        return shift ? ")!@#$%^&*("[vk - '0'] : vk;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        return '0' + (vk - VK_NUMPAD0);
    }
    struct Oem {
        int vk;
        char plain;
        char shifted;
    };
    static constexpr Oem kOem[] = {
        {VK_OEM_1, ';', ':'},  {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
        {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
        {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'}, {VK_SUBTRACT, '-', '-'}, {VK_DECIMAL, '.', '.'},
        {VK_DIVIDE, '/', '/'}, {VK_SPACE, ' ', ' '}, {VK_RETURN, '\r', '\r'}, {VK_BACK, 8, 8},
        {VK_TAB, 9, 9}, {VK_ESCAPE, 27, 27},
    };
    for (const Oem& row : kOem) {
        if (row.vk == vk) {
            return shift ? row.shifted : row.plain;
        }
    }
    return 0;
}

} // namespace

BOOL TranslateMessage(const MSG* msg)
{
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
        return FALSE;
    }
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool caps = (GetKeyState(VK_CAPITAL) & 0x0001) != 0;
    const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0 && !alt;
    const int ch = KeyCharacter(static_cast<int>(msg->wParam & 0xFF), shift, caps, control);
    if (ch == 0) {
        return FALSE;
    }
    // The character comes next, before anything else posted.
    const UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    WindowSystem& system = System();
    system.queue.push_front(MSG{msg->hwnd, charMessage, static_cast<WPARAM>(ch), msg->lParam, msg->time, msg->pt});
    return TRUE;
}

DWORD GetMessagePos()
{
    const MSG& last = System().lastMessage;
    return MAKELONG(static_cast<WORD>(last.pt.x), static_cast<WORD>(last.pt.y));
}

LONG GetMessageTime() { return static_cast<LONG>(System().lastMessage.time); }

BOOL InSendMessage()
{
    // One thread: no message ever comes from another thread.
    return FALSE;
}

HHOOK SetWindowsHookExA(int kind, HOOKPROC proc, HINSTANCE, DWORD)
{
    if (proc == nullptr || (kind != WH_CALLWNDPROC && kind != WH_GETMESSAGE && kind != WH_MSGFILTER)) {
        return nullptr;
    }
    WindowSystem& system = System();
    Hook hook;
    hook.handle = reinterpret_cast<HHOOK>(system.nextHook);
    system.nextHook += 8;
    hook.kind = kind;
    hook.proc = proc;
    system.hooks.insert(system.hooks.begin(), hook);
    return hook.handle;
}

BOOL UnhookWindowsHookEx(HHOOK handle)
{
    for (Hook& hook : System().hooks) {
        if (hook.handle == handle && !hook.removed) {
            hook.removed = true;
            PurgeRemovedHooks();
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    for (const Hook& h : System().hooks) {
        if (h.handle == hook) {
            return CallHookChain(h.kind, hook, code, wParam, lParam);
        }
    }
    return 0;
}

BOOL CallMsgFilterA(MSG* msg, int code)
{
    if (msg == nullptr || !HasHooks(WH_MSGFILTER)) {
        return FALSE;
    }
    return CallHookChain(WH_MSGFILTER, nullptr, code, 0, reinterpret_cast<LPARAM>(msg)) != 0 ? TRUE : FALSE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    WindowSystem& system = System();
    if (hwnd != nullptr && W(hwnd) == nullptr) {
        return 0;
    }
    // As on the platform, periods below 10 ms run at 10 ms.
    elapseMs = std::max<UINT>(elapseMs, 10);
    if (hwnd == nullptr) {
        bool known = false;
        for (const Timer& t : system.timers) {
            known = known || (t.hwnd == nullptr && t.id == id);
        }
        if (!known) {
            id = system.nextThreadTimer++;
        }
    }
    for (Timer& timer : system.timers) {
        if (timer.hwnd == hwnd && timer.id == id) {
            timer.elapseMs = elapseMs;
            timer.proc = proc;
            timer.due = system.now + elapseMs;
            return id == 0 ? 1 : id;
        }
    }
    system.timers.push_back(Timer{hwnd, id, elapseMs, proc, system.now + elapseMs});
    return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto& timers = System().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) {
        return FALSE;
    }
    timers.erase(it);
    return TRUE;
}

BOOL IsTimerSet(HWND hwnd, UINT_PTR id)
{
    const auto& timers = System().timers;
    return std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; })
               ? TRUE
               : FALSE;
}

PumpResult PumpUntilIdle()
{
    PumpResult result;
    constexpr int kRunawayLimit = 1000000;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (msg.message == WM_QUIT) {
            result.quit = true;
            result.exitCode = static_cast<int>(msg.wParam);
            return result;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++result.dispatched;
        NUVEX_USER_ASSERT(result.dispatched < kRunawayLimit, "messages keep coming: the queue never gets idle");
    }
    return result;
}

void AdvanceWindowSystemTime(DWORD milliseconds) { System().now += milliseconds; }
