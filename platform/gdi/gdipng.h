// PNG images for GDI: loading PNG resources and files into bitmaps, and
// writing any BGRA surface or bitmap to a PNG file (screenshots, pixel tests).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/surface.h"

// What a saved PNG does with the alpha byte of each pixel.
enum class PngAlpha {
    Opaque,  // written as RGB; GDI draws opaque, window buffers need no alpha
    Keep,    // written as RGBA (straight alpha, from premultiplied pixels)
};

// A 32-bit bitmap holding the image, with premultiplied alpha; null when the
// bytes are not a PNG image this reader handles.
NUVEX_PLATFORM_API HBITMAP LoadPngBitmap(const uint8_t* data, size_t size);
NUVEX_PLATFORM_API HBITMAP LoadPngBitmapFile(const char* path);
// Writes the surface (or bitmap) to `path`; false when the file cannot be written.
NUVEX_PLATFORM_API BOOL SavePngSurface(const GdiSurface& surface, const char* path, PngAlpha alpha);
NUVEX_PLATFORM_API BOOL SavePngBitmap(HBITMAP bitmap, const char* path, PngAlpha alpha);
