// The sdl display back-end: each visible top-level window is an SDL window
// without decorations (the window system draws captions and frames itself)
// at its screen position, showing the window's pixels; SDL's mouse,
// keyboard, text-input and window events become the window system's input.
// It is chosen when an X11 or Wayland display is named and NUVEX_DISPLAY is
// not "headless".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"

// Starts the back-end now (whatever the environment says) and makes it the
// one in use; false, with a message on the error stream, when SDL cannot
// open the display.
NUVEX_PLATFORM_API bool StartSdlDisplay();
// Stops it: its windows close and the window system is headless again.
NUVEX_PLATFORM_API void StopSdlDisplay();

// Handles SDL's events (injecting input) until the window shows on screen
// (SDL reported it shown or exposed) or `timeoutMs` passes.
NUVEX_PLATFORM_API bool SdlWaitUntilShown(HWND topLevel, int timeoutMs);
// The SDL window id showing `topLevel` (0: none), for code that sends SDL
// events of its own.
NUVEX_PLATFORM_API uint32_t SdlWindowId(HWND topLevel);
// The pixels the SDL window of `topLevel` shows (BGRA, rows top-down);
// false when it has none.
NUVEX_PLATFORM_API bool SdlReadShownPixels(HWND topLevel, std::vector<uint32_t>* pixels, int* width, int* height);

// Clipboard text through the desktop's clipboard; empty when there is none.
NUVEX_PLATFORM_API bool SdlSetClipboardText(const std::string& text);
NUVEX_PLATFORM_API std::string SdlGetClipboardText();
