// Screenshots: any window, as the window system drew it, written to a PNG
// file. Works the same with every display back-end.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

// Writes the pixels of `hwnd`'s window rectangle (frame included) to `path`;
// false for an unknown or empty window or a file that cannot be written.
NUVEX_PLATFORM_API BOOL SaveWindowScreenshot(HWND hwnd, const char* path);
