// Bitmaps: creation from device-dependent and device-independent sources
// (1, 4, 8, 16, 24 and 32 bits converted to 32-bit BGRA), reading them back,
// and icons built from a colour bitmap and a mask.
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"

using namespace gdi;

namespace {

// Bitmaps above this many pixels are refused rather than allocated.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;

bool SizeAllowed(int width, int height)
{
    return width > 0 && height > 0 && int64_t{width} * int64_t{height} <= kMaxBitmapPixels;
}

// The classic 16-colour palette; 8-bit device-dependent values use a
// 6x6x6 colour cube after these 16 and greys after the cube.
uint32_t DefaultPaletteColor(int index, int bits)
{
    static const COLORREF kVga[16] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    if (bits == 4 || index < 16) return PixelFromColor(kVga[index & 15]);
    const int i = index - 16;
    if (i < 216) {
        const auto level = [](int v) { return static_cast<BYTE>(v * 51); };
        return PixelFromColor(RGB(level(i / 36), level((i / 6) % 6), level(i % 6)));
    }
    const auto grey = static_cast<BYTE>((i - 216) * 255 / 23);
    return PixelFromColor(RGB(grey, grey, grey));
}

uint32_t Read16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }
uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// Scales a masked field to 8 bits.
uint32_t FieldTo8(uint32_t value, uint32_t mask)
{
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint32_t max = mask >> shift;
    return ((value & mask) >> shift) * 255u / max;
}

// How a row of source pixels is decoded.
struct SourceFormat {
    int bits = 32;
    const uint32_t* palette = nullptr;  // for 1, 4, 8 bits
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // red, green, blue for 16 and 32 bits
    bool useMasks = false;
    bool monoTarget = false;
};

void DecodeRow(const uint8_t* src, int width, const SourceFormat& f, uint32_t* out)
{
    for (int x = 0; x < width; ++x) {
        uint32_t p = kOpaque;
        switch (f.bits) {
        case 1: p = f.palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: p = f.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
        case 8: p = f.palette[src[x]]; break;
        case 16: {
            const uint32_t v = Read16(src + 2 * x);
            p = kOpaque | (FieldTo8(v, f.masks[0]) << 16) | (FieldTo8(v, f.masks[1]) << 8) | FieldTo8(v, f.masks[2]);
            break;
        }
        case 24: p = kOpaque | (uint32_t{src[3 * x + 2]} << 16) | (uint32_t{src[3 * x + 1]} << 8) | src[3 * x]; break;
        case 32: {
            const uint32_t v = Read32(src + 4 * x);
            if (f.useMasks) {
                p = kOpaque | (FieldTo8(v, f.masks[0]) << 16) | (FieldTo8(v, f.masks[1]) << 8) |
                    FieldTo8(v, f.masks[2]);
            } else {
                p = kOpaque | (v & kColorBits);
            }
            break;
        }
        default: break;
        }
        out[x] = f.monoTarget ? MonoPixel(p) : p;
    }
}

int RowBytes(int width, int bits, int alignBytes)
{
    const int64_t bytes = (int64_t{width} * bits + 7) / 8;
    return static_cast<int>((bytes + alignBytes - 1) / alignBytes * alignBytes);
}

HBITMAP Handle(Bitmap* b) { return HandleOf<HBITMAP>(b); }

// Reads the palette or masks of a BITMAPINFO into `format`; false when the
// header is not one we read.
bool ReadInfoFormat(const BITMAPINFO* info, UINT usage, SourceFormat& format, std::vector<uint32_t>& palette)
{
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes > 1) return false;
    format.bits = h.biBitCount;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return false;
    const auto* tableBytes = reinterpret_cast<const uint8_t*>(info) + h.biSize;
    switch (h.biBitCount) {
    case 1:
    case 4:
    case 8: {
        const int entries = 1 << h.biBitCount;
        const int used = h.biClrUsed && static_cast<int>(h.biClrUsed) < entries ? static_cast<int>(h.biClrUsed) : entries;
        palette.assign(static_cast<size_t>(entries), kOpaque);
        for (int i = 0; i < used; ++i) {
            if (usage == DIB_PAL_COLORS) {
                palette[static_cast<size_t>(i)] = DefaultPaletteColor(Read16(tableBytes + 2 * i) & 0xFF, 8);
            } else {
                const uint8_t* q = tableBytes + 4 * i;
                palette[static_cast<size_t>(i)] =
                    kOpaque | (uint32_t{q[2]} << 16) | (uint32_t{q[1]} << 8) | uint32_t{q[0]};
            }
        }
        format.palette = palette.data();
        return true;
    }
    case 16:
    case 32:
        if (h.biCompression == BI_BITFIELDS) {
            const uint8_t* m = h.biSize >= 52 ? reinterpret_cast<const uint8_t*>(info) + 40 : tableBytes;
            format.masks[0] = Read32(m);
            format.masks[1] = Read32(m + 4);
            format.masks[2] = Read32(m + 8);
            format.useMasks = true;
        }
        return true;
    case 24: return true;
    default: return false;
    }
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (planes > 1 || !SizeAllowed(width, height)) {
        if (width == 0 || height == 0) return Handle(NewBitmap(1, 1, Depth::Mono));
        return nullptr;
    }
    const int bpp = static_cast<int>(bitsPerPixel);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    Bitmap* b = NewBitmap(width, height, DepthOf(bpp == 1));
    b->bitsPixel = bpp == 1 ? 1 : 32;
    if (bits) {
        SourceFormat format;
        format.bits = bpp;
        std::vector<uint32_t> palette(256);
        if (bpp == 1) {
            palette[0] = kOpaque;
            palette[1] = 0xFFFFFFFFu;
        } else {
            for (int i = 0; i < 256; ++i) palette[static_cast<size_t>(i)] = DefaultPaletteColor(i, bpp);
        }
        format.palette = palette.data();
        const int stride = RowBytes(width, bpp, 2);
        const auto* src = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < height; ++y) {
            DecodeRow(src + static_cast<ptrdiff_t>(y) * stride, width, format, b->Row(y));
        }
    }
    return Handle(b);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bitmap)
{
    if (!bitmap) return nullptr;
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height)
{
    Dc* dc = AsDc(handle);
    if (!dc) return nullptr;
    if (width == 0 || height == 0) return Handle(NewBitmap(1, 1, Depth::Mono));
    if (!SizeAllowed(width, height)) return nullptr;
    // Compatible with a memory DC means compatible with its bitmap: a fresh
    // memory DC holds the monochrome stock bitmap, so the result is monochrome.
    const bool mono = dc->memory && dc->state.bitmap && dc->state.bitmap->mono;
    return Handle(NewBitmap(width, height, DepthOf(mono)));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    if (bits) *bits = nullptr;
    if (!info) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (!SizeAllowed(width, height)) return nullptr;
    SourceFormat format;
    std::vector<uint32_t> palette;
    if (!ReadInfoFormat(info, usage, format, palette)) return nullptr;
    // The pixels are always 32 bits here; callers writing through `bits`
    // must ask for 32 bits per pixel. A positive height keeps the rows
    // bottom-up in memory, as such callers write them.
    Bitmap* b = NewBitmap(width, height, Depth::Colour);
    b->dibSection = true;
    b->bottomUp = h.biHeight > 0;
    std::fill(b->pixels.begin(), b->pixels.end(), 0u);
    if (bits) *bits = b->pixels.data();
    return Handle(b);
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    Bitmap* b = AsBitmap(handle);
    if (!b || !bits || !info) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    SourceFormat format;
    std::vector<uint32_t> palette;
    if (!ReadInfoFormat(info, usage, format, palette)) return 0;
    format.monoTarget = b->mono;
    const bool bottomUp = h.biHeight > 0;
    const int height = bottomUp ? h.biHeight : -h.biHeight;
    const int width = std::min<int>(h.biWidth, b->width);
    const int stride = RowBytes(h.biWidth, h.biBitCount, 4);
    const auto* src = static_cast<const uint8_t*>(bits);
    int copied = 0;
    std::vector<uint32_t> row(static_cast<size_t>(std::max(h.biWidth, 1)));
    for (UINT i = 0; i < lines; ++i) {
        // Scan line `start + i` counted from the bottom for bottom-up images.
        const int line = static_cast<int>(start + i);
        if (line >= height) break;
        const int y = bottomUp ? height - 1 - line : line;
        if (y < 0 || y >= b->height) continue;
        DecodeRow(src + static_cast<ptrdiff_t>(i) * stride, h.biWidth, format, row.data());
        std::copy(row.begin(), row.begin() + width, b->Row(y));
        ++copied;
    }
    return copied;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage)
{
    if (!header) return nullptr;
    const int width = header->biWidth;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    if (!SizeAllowed(width, height)) return nullptr;
    Bitmap* b = NewBitmap(width, height, Depth::Colour);
    if ((init & CBM_INIT) && bits && info) {
        SetDIBits(dc, Handle(b), 0, static_cast<UINT>(height), bits, info, usage);
    }
    return Handle(b);
}

int GetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT)
{
    Bitmap* b = AsBitmap(handle);
    if (!b || !info) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (!bits) {
        h.biWidth = b->width;
        h.biHeight = b->height;
        h.biPlanes = 1;
        h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(b->width * b->height * 4);
        return b->height;
    }
    if (h.biBitCount != 32 && h.biBitCount != 24) return 0;
    const bool bottomUp = h.biHeight > 0;
    const int stride = RowBytes(b->width, h.biBitCount, 4);
    auto* out = static_cast<uint8_t*>(bits);
    int copied = 0;
    for (UINT i = 0; i < lines; ++i) {
        const int line = static_cast<int>(start + i);
        if (line >= b->height) break;
        const int y = bottomUp ? b->height - 1 - line : line;
        const uint32_t* row = b->Row(y);
        uint8_t* dst = out + static_cast<ptrdiff_t>(i) * stride;
        for (int x = 0; x < b->width; ++x) {
            const uint32_t p = row[x];
            if (h.biBitCount == 32) {
                std::memcpy(dst + 4 * x, &p, 4);
            } else {
                dst[3 * x] = static_cast<uint8_t>(p);
                dst[3 * x + 1] = static_cast<uint8_t>(p >> 8);
                dst[3 * x + 2] = static_cast<uint8_t>(p >> 16);
            }
        }
        ++copied;
    }
    return copied;
}

LONG GetBitmapBits(HBITMAP handle, LONG size, void* bits)
{
    // Device-dependent bits are the 32-bit pixels, top-down.
    Bitmap* b = AsBitmap(handle);
    if (!b || !bits || size < 0) return 0;
    const size_t total = b->pixels.size() * 4;
    const size_t n = std::min(total, static_cast<size_t>(size));
    std::memcpy(bits, b->pixels.data(), n);
    return static_cast<LONG>(n);
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits)
{
    Bitmap* b = AsBitmap(handle);
    if (!b || !bits) return 0;
    const size_t n = std::min(b->pixels.size() * 4, static_cast<size_t>(size));
    std::memcpy(b->pixels.data(), bits, n);
    return static_cast<LONG>(n);
}

BOOL GetBitmapDimensionEx(HBITMAP handle, SIZE* size)
{
    Bitmap* b = AsBitmap(handle);
    if (!b || !size) return FALSE;
    *size = b->dimension;
    return TRUE;
}

BOOL GetBitmapSurface(HBITMAP handle, GdiSurface* surface)
{
    Bitmap* b = AsBitmap(handle);
    if (!b || !surface) return FALSE;
    *surface = b->Surface();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Icons

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info) return nullptr;
    Bitmap* mask = AsBitmap(info->hbmMask);
    Bitmap* color = AsBitmap(info->hbmColor);
    if (!mask && !color) return nullptr;
    auto* icon = new Icon;
    icon->isIcon = info->fIcon != 0;
    icon->hotspot = {static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    if (mask) icon->mask = CopyBitmap(*mask);
    if (color) icon->color = CopyBitmap(*color);
    Register(icon);
    return HandleOf<HICON>(icon);
}

BOOL GetIconInfo(HICON handle, ICONINFO* info)
{
    Icon* icon = AsIcon(handle);
    if (!icon || !info) return FALSE;
    auto copy = [](const std::shared_ptr<Bitmap>& source) -> HBITMAP {
        if (!source) return nullptr;
        Bitmap* b = NewBitmap(source->width, source->height, DepthOf(source->mono));
        b->pixels = source->pixels;
        return Handle(b);
    };
    info->fIcon = icon->isIcon ? TRUE : FALSE;
    info->xHotspot = static_cast<DWORD>(icon->hotspot.x);
    info->yHotspot = static_cast<DWORD>(icon->hotspot.y);
    info->hbmMask = copy(icon->mask);
    info->hbmColor = copy(icon->color);
    return TRUE;
}

HICON CopyIcon(HICON handle)
{
    Icon* icon = AsIcon(handle);
    if (!icon) return nullptr;
    auto* copy = new Icon;
    copy->isIcon = icon->isIcon;
    copy->hotspot = icon->hotspot;
    copy->mask = icon->mask;
    copy->color = icon->color;
    Register(copy);
    return HandleOf<HICON>(copy);
}

BOOL DestroyIcon(HICON handle)
{
    Icon* icon = AsIcon(handle);
    if (!icon) return FALSE;
    Destroy(icon);
    return TRUE;
}
