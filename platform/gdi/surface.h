// The seam between the window system and GDI: every top-level window owns a
// 32-bit BGRA pixel buffer (a surface), and a device context of a window
// draws into its rectangle of that buffer, with its own origin and clip.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

// A 32-bit BGRA pixel buffer owned by someone else (a top-level window, a
// test). Row y starts at pixels + y * stride; stride counts pixels (it is
// negative for a bitmap whose rows are stored bottom-up).
struct GdiSurface {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// A device context drawing into `surface`: logical (0, 0) lies at `origin`
// of the surface, and nothing is drawn outside `clip` (surface coordinates,
// cut to the surface). The surface must outlive the DC. Null on failure.
NUVEX_PLATFORM_API HDC CreateSurfaceDC(const GdiSurface& surface, POINT origin, RECT clip);
// Frees a DC made by CreateSurfaceDC (objects selected into it are not deleted).
NUVEX_PLATFORM_API BOOL DeleteSurfaceDC(HDC dc);
