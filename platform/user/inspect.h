// Observation and control of the window system for tests and display
// back-ends: a message spy, a fresh window system, pumping until idle, the
// surfaces of top-level windows and the script that plays the person at
// the keyboard while a modal loop waits.
#pragma once

#include <functional>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/surface.h"

// How a message reached a window procedure.
enum class MessageDelivery : uint8_t {
    Sent,    // SendMessage (and the window system's own sends)
    Posted,  // DispatchMessage of a message taken from the queue
    Default, // DefWindowProc
};

// Sees every delivery before the window procedure runs.
using MessageSpy = std::function<void(HWND, UINT, WPARAM, LPARAM, MessageDelivery)>;
NUVEX_PLATFORM_API void SetMessageSpy(MessageSpy spy);

// Called when a message loop would wait and the queue is empty; the script
// injects the next input and returns true, or returns false when it has
// nothing more to do.
using IdleScript = std::function<bool()>;
NUVEX_PLATFORM_API void SetIdleScript(IdleScript script);

// Destroys every window and replaces the window system with a fresh one:
// no classes but the system classes, an empty queue, no hooks or timers, the
// clock at 0, the cursor at (0, 0), a screen of `width` x `height`.
NUVEX_PLATFORM_API void ResetWindowSystem(int screenWidth = 1024, int screenHeight = 768);

struct PumpResult {
    int dispatched = 0;   // messages taken and dispatched
    bool quit = false;    // WM_QUIT was taken (it is not dispatched)
    int exitCode = 0;
};
// Takes, translates and dispatches messages (posted, paint, due timers)
// until none is left or WM_QUIT comes. Does not advance the clock.
NUVEX_PLATFORM_API PumpResult PumpUntilIdle();

// The pixel buffer of a top-level window (window-sized, BGRA); empty for
// child windows and unknown handles. Valid until the window is resized.
NUVEX_PLATFORM_API GdiSurface GetWindowSurface(HWND topLevel);

// The scripted clock: the time of new messages and of timers.
NUVEX_PLATFORM_API DWORD GetWindowSystemTime();
NUVEX_PLATFORM_API void AdvanceWindowSystemTime(DWORD milliseconds);
