// Input as a person gives it: the display back-ends (and tests, through the
// headless back-end) report mouse and keyboard events here, and the window
// system turns them into messages with hit-testing, capture, activation,
// cursor setting, double clicks and the keyboard state.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

enum class MouseButton : uint8_t { Left, Right, Middle };
enum class KeyAction : uint8_t { Down, Up };

// The cursor moves to `screen` (clamped to the screen); the window under it
// (or the capture window) gets WM_SETCURSOR and a posted mouse move.
NUVEX_PLATFORM_API void InjectMouseMove(POINT screen);
// A button goes down or up at the cursor position.
NUVEX_PLATFORM_API void InjectMouseButton(MouseButton button, KeyAction action);
// The wheel turns by `delta` (WHEEL_DELTA per notch); the focus window hears it.
NUVEX_PLATFORM_API void InjectMouseWheel(int delta);
// A key goes down or up; the focus window (else the active window, as a
// system key) hears it. `scanCode` 0 takes the key's usual scan code.
NUVEX_PLATFORM_API void InjectKey(int virtualKey, KeyAction action, int scanCode = 0);

namespace nuvex::user {
// Posts the mouse message `message` for the current cursor position (used
// for the synthetic move after windows changed under the cursor).
void PostMouseInput(UINT message);
// Lets something happen while a loop waits (see WaitMessage); false when
// nothing ever can.
bool WaitForInput();
} // namespace nuvex::user
