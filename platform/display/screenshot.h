// Screenshots: any window, as the window system drew it, written to a PNG
// file. Works the same with every display back-end.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/surface.h"

// The pixels of `hwnd`'s window rectangle (frame included), cut to its
// top-level window's buffer: a view into that buffer, valid until the
// window system draws or resizes it again. Empty (null pixels) for an
// unknown window or one with nothing to show.
NUVEX_PLATFORM_API GdiSurface GetWindowPixels(HWND hwnd);

// Writes the pixels of `hwnd`'s window rectangle (frame included) to `path`;
// false for an unknown or empty window or a file that cannot be written.
NUVEX_PLATFORM_API BOOL SaveWindowScreenshot(HWND hwnd, const char* path);
