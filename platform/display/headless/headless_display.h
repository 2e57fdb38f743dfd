// The headless display back-end: everything stays in memory. Top-level
// windows keep their pixels in their own surfaces, the clock is scripted,
// and input comes from these functions, which act as a person would
// (moving the mouse before clicking, pressing keys down and up).
#pragma once

#include <string_view>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/input.h"

// True when the headless back-end is the one to use: NUVEX_DISPLAY is
// "headless", or no X11 or Wayland display is named in the environment.
NUVEX_PLATFORM_API bool HeadlessDisplayChosen();

// Moves to `screen` and clicks `button` there (down, then up).
NUVEX_PLATFORM_API void HeadlessClick(POINT screen, MouseButton button = MouseButton::Left);
// Two clicks at `screen`, 50 ms apart on the scripted clock.
NUVEX_PLATFORM_API void HeadlessDoubleClick(POINT screen);
// Presses at `from`, moves in `steps` equal steps to `to`, releases there.
NUVEX_PLATFORM_API void HeadlessDrag(POINT from, POINT to, int steps, MouseButton button = MouseButton::Left);
// Presses the keys of `chord` in order and releases them in reverse order
// (for example {VK_CONTROL, 'S'}).
NUVEX_PLATFORM_API void HeadlessPressKeys(std::initializer_list<int> chord);
// Types `text` on a US keyboard (letters, digits, space, punctuation, Enter
// for '\n'), with Shift where a character needs it. Characters without a
// key are skipped.
NUVEX_PLATFORM_API void HeadlessTypeText(std::string_view text);
