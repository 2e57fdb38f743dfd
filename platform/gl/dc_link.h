// What the OpenGL layer needs to know of a device context: which window it
// belongs to (pixel formats are a window's), how large that window's image
// is, and where on its surface the image goes.
#pragma once

#include "platform/base/types.h"
#include "platform/gdi/surface.h"

namespace gl {

// The DC's pixels as GetSurfaceOfDC reports them, plus the image size.
struct DcTarget {
    GdiSurface surface;
    POINT origin{0, 0};  // surface position of the image's top-left pixel
    RECT clip{0, 0, 0, 0};  // surface pixels the image may write
    int width = 0;  // the window's client size (at least 1 x 1)
    int height = 0;
};

// The thing a pixel format belongs to: the DC's window when the window
// system knows one, else the DC itself.
const void* DcOwner(HDC dc);

// The DC's pixels and image size; false for a stale or pixel-less DC.
bool TargetOfDC(HDC dc, DcTarget& target);

// True for a live DC; `memory` tells a memory DC from a surface DC.
bool IsDC(HDC dc, bool& memory);

}  // namespace gl
