// PNG images through libpng: decoding into premultiplied 32-bit bitmaps and
// encoding BGRA surfaces. libpng reports errors by long jumps; every jump
// lands in the function that set it up, before any C++ object with a
// destructor is created after the set-up point.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/gdipng.h"

using namespace gdi;

namespace {

// Images above this many pixels are refused rather than decoded.
constexpr uint64_t kMaxPngPixels = uint64_t{1} << 26;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->offset) png_error(png, "read past the end of the image");
    std::memcpy(out, reader->data + reader->offset, length);
    reader->offset += length;
}

void Warning(png_structp, png_const_charp) {}
// Errors unwind to the set-up point without printing.
[[noreturn]] void Error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Decodes into `pixels` (straight RGBA rows); false on any error.
bool Decode(const uint8_t* data, size_t size, std::vector<uint8_t>& rgba, png_uint_32& width, png_uint_32& height)
{
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryReader reader{data, size, 0};
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || uint64_t{width} * height > kMaxPngPixels) png_error(png, "image too large");
    // Every format becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) png_error(png, "unexpected row size");
    rgba.resize(size_t{width} * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = rgba.data() + size_t{y} * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file) return false;
    uint8_t buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    return !std::ferror(file.get());
}

bool Encode(const GdiSurface& surface, FILE* file, PngAlpha alpha)
{
    const int channels = alpha == PngAlpha::Keep ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(surface.width) * channels);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width), static_cast<png_uint_32>(surface.height), 8,
                 alpha == PngAlpha::Keep ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* src = surface.pixels + static_cast<ptrdiff_t>(y) * surface.stride;
        for (int x = 0; x < surface.width; ++x) {
            const uint32_t p = src[x];
            uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            const uint32_t a = p >> 24;
            uint8_t* out = row.data() + static_cast<size_t>(x) * channels;
            if (channels == 4) {
                // Pixels are premultiplied; PNG alpha is straight.
                if (a != 0 && a != 255) {
                    r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
                    g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
                    b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
                }
                out[3] = static_cast<uint8_t>(a);
            }
            out[0] = static_cast<uint8_t>(r);
            out[1] = static_cast<uint8_t>(g);
            out[2] = static_cast<uint8_t>(b);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

HBITMAP LoadPngBitmap(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> rgba;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    if (!Decode(data, size, rgba, width, height)) return nullptr;
    Bitmap* bitmap = NewBitmap(static_cast<int>(width), static_cast<int>(height), Depth::Colour);
    for (size_t i = 0; i < bitmap->pixels.size(); ++i) {
        const uint32_t r = rgba[4 * i], g = rgba[4 * i + 1], b = rgba[4 * i + 2], a = rgba[4 * i + 3];
        // Premultiplied, as alpha blending expects.
        bitmap->pixels[i] = (a << 24) | (((r * a + 127) / 255) << 16) | (((g * a + 127) / 255) << 8) | ((b * a + 127) / 255);
    }
    return HandleOf<HBITMAP>(bitmap);
}

HBITMAP LoadPngBitmapFile(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!path || !ReadFile(path, bytes)) return nullptr;
    return LoadPngBitmap(bytes.data(), bytes.size());
}

BOOL SavePngSurface(const GdiSurface& surface, const char* path, PngAlpha alpha)
{
    if (!path || !surface.pixels || surface.width <= 0 || surface.height <= 0 || std::abs(surface.stride) < surface.width) {
        return FALSE;
    }
    FILE* file = std::fopen(path, "wb");
    if (!file) return FALSE;
    const bool ok = Encode(surface, file, alpha);
    const bool closed = std::fclose(file) == 0;
    if (!ok || !closed) {
        std::remove(path);
        return FALSE;
    }
    return TRUE;
}

BOOL SavePngBitmap(HBITMAP handle, const char* path, PngAlpha alpha)
{
    Bitmap* bitmap = AsBitmap(handle);
    if (!bitmap) return FALSE;
    return SavePngSurface(bitmap->Surface(), path, alpha);
}
