// The seam between the window system and a display back-end that shows
// windows on a real screen. Without one (the headless back-end) everything
// stays in memory and a waiting loop only runs the idle script and the
// scripted clock. With one, a loop that would wait first lets it show the
// top-level windows as they are now, then waits for its input (which it
// injects through platform/user/input.h) or the next timer, and the clock
// follows the time that passed.
#pragma once

#include <memory>

#include "platform/base/api.h"
#include "platform/base/types.h"

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    // Shows every top-level window at its place and size with its pixels,
    // hides the hidden ones, drops the destroyed ones; sets the cursor.
    virtual void Present() = 0;
    // Waits up to `timeoutMs` (negative: without limit) for input and injects
    // it; true when something was injected.
    virtual bool WaitForInput(int timeoutMs) = 0;
};

// Makes the back-end chosen by the environment: null for headless. Called
// once, the first time a loop would wait.
using DisplayBackendFactory = std::shared_ptr<DisplayBackend> (*)();
NUVEX_PLATFORM_API void RegisterDisplayBackendFactory(DisplayBackendFactory factory);
// Replaces the back-end in use (null: headless); it outlives window-system
// resets.
NUVEX_PLATFORM_API void SetDisplayBackend(std::shared_ptr<DisplayBackend> backend);
NUVEX_PLATFORM_API DisplayBackend* CurrentDisplayBackend();
// Presents now and handles the back-end's input for up to `timeoutMs`; false
// without a back-end or when no input came.
NUVEX_PLATFORM_API bool PumpDisplay(int timeoutMs);

// The module and resource id a cursor handle was loaded from (a null module
// for the system cursors, IDC_* ids); false for unknown handles.
NUVEX_PLATFORM_API bool GetCursorSource(HCURSOR cursor, HINSTANCE* instance, WORD* id);
