// Image lists: equal-sized images kept as 32-bit colour with a mask or an
// alpha channel, added from bitmaps and icons and drawn in the ILD_* ways.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/controls/commctrl.h"
#include "platform/gdi/dc_guards.h"

struct HIMAGELIST__ {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    int overlays[16]{}; // overlay n (1..15) -> image index + 1, 0 when unset
    // Image i is pixels[i * cx * cy ...], top-down BGRA; alpha 0 is
    // transparent, 255 opaque, between only for ILC_COLOR32 images.
    std::vector<uint32_t> pixels;
    int count = 0;
    HBITMAP imageStrip = nullptr; // made for ImageList_GetImageInfo
    HBITMAP maskStrip = nullptr;
};

namespace {

// Live lists, so that a stale or foreign handle fails instead of crashing.
std::set<HIMAGELIST>& LiveLists()
{
    static std::set<HIMAGELIST> lists;
    return lists;
}

HIMAGELIST__* Check(HIMAGELIST list)
{
    return list != nullptr && LiveLists().count(list) != 0 ? list : nullptr;
}

bool ValidIndex(const HIMAGELIST__* list, int index) { return index >= 0 && index < list->count; }

size_t ImageSize(const HIMAGELIST__* list) { return static_cast<size_t>(list->cx) * list->cy; }

uint32_t* ImageAt(HIMAGELIST__* list, int index) { return list->pixels.data() + ImageSize(list) * index; }

void DropStrips(HIMAGELIST__* list)
{
    for (HBITMAP* strip : {&list->imageStrip, &list->maskStrip}) {
        if (*strip != nullptr) {
            DeleteObject(*strip);
            *strip = nullptr;
        }
    }
}

constexpr uint32_t Bgra(COLORREF c, uint32_t alpha)
{
    return (alpha << 24) | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// Reads a bitmap's pixels (top-down BGRA, alpha as stored); empty on failure.
std::vector<uint32_t> ReadBitmap(HBITMAP bitmap, int* width, int* height)
{
    GdiSurface surface{};
    if (bitmap == nullptr || !GetBitmapSurface(bitmap, &surface) || surface.width <= 0 || surface.height <= 0) {
        return {};
    }
    std::vector<uint32_t> out(static_cast<size_t>(surface.width) * surface.height);
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* row = surface.pixels + static_cast<ptrdiff_t>(y) * surface.stride;
        std::copy(row, row + surface.width, out.begin() + static_cast<ptrdiff_t>(y) * surface.width);
    }
    *width = surface.width;
    *height = surface.height;
    return out;
}

bool KeepsAlpha(const HIMAGELIST__* list) { return (list->flags & 0xFE) == ILC_COLOR32; }

// Writes images from `colour` (and `mask`: white is transparent) starting
// at `first`, cell by cell across the bitmap.
void StoreCells(HIMAGELIST__* list, int first, int cells, const std::vector<uint32_t>& colour, int width,
                int height, const std::vector<uint32_t>* mask, int maskWidth, int maskHeight,
                std::optional<COLORREF> maskColour)
{
    for (int cell = 0; cell < cells; ++cell) {
        uint32_t* image = ImageAt(list, first + cell);
        for (int y = 0; y < list->cy; ++y) {
            for (int x = 0; x < list->cx; ++x) {
                const int sx = cell * list->cx + x;
                uint32_t value = 0;
                if (sx < width && y < height) {
                    value = colour[static_cast<size_t>(y) * width + sx];
                }
                bool transparent = false;
                if (mask != nullptr && (list->flags & ILC_MASK) != 0 && sx < maskWidth && y < maskHeight) {
                    transparent = ((*mask)[static_cast<size_t>(y) * maskWidth + sx] & 0x00FFFFFFu) != 0;
                }
                if (maskColour && (value & 0x00FFFFFFu) == (Bgra(*maskColour, 0) & 0x00FFFFFFu)) {
                    transparent = true;
                }
                uint32_t alpha = KeepsAlpha(list) && mask == nullptr && !maskColour ? (value >> 24) : 255u;
                if (KeepsAlpha(list) && mask == nullptr && !maskColour && alpha == 0 &&
                    (value & 0x00FFFFFFu) != 0) {
                    // A 32-bit bitmap with no alpha at all counts as opaque.
                    alpha = 255;
                }
                if (transparent) {
                    alpha = 0;
                }
                image[static_cast<size_t>(y) * list->cx + x] = (value & 0x00FFFFFFu) | (alpha << 24);
            }
        }
    }
    DropStrips(list);
}

int AddFrom(HIMAGELIST__* list, HBITMAP image, HBITMAP mask, std::optional<COLORREF> maskColour)
{
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> colour = ReadBitmap(image, &width, &height);
    if (colour.empty() || width < list->cx) {
        return -1;
    }
    int maskWidth = 0;
    int maskHeight = 0;
    const std::vector<uint32_t> maskPixels = ReadBitmap(mask, &maskWidth, &maskHeight);
    const int cells = width / list->cx;
    const int first = list->count;
    list->count += cells;
    list->pixels.resize(ImageSize(list) * list->count, 0);
    StoreCells(list, first, cells, colour, width, height, maskPixels.empty() ? nullptr : &maskPixels, maskWidth,
               maskHeight, maskColour);
    return first;
}

// Mixes `c` with `with` at weight / 256.
uint32_t Mix(uint32_t c, COLORREF with, int weight)
{
    const uint32_t w = Bgra(with, 0);
    uint32_t out = c & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((c >> shift) & 0xFF);
        const int b = static_cast<int>((w >> shift) & 0xFF);
        out |= static_cast<uint32_t>((a * (256 - weight) + b * weight) >> 8) << shift;
    }
    return out;
}

// Draws one image (or its mask) through a premultiplied DIB and AlphaBlend,
// so that the DC's clip and origin apply.
bool DrawImage(HIMAGELIST__* list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
               COLORREF foreground, UINT style)
{
    const int width = dx > 0 ? std::min(dx, list->cx) : list->cx;
    const int height = dy > 0 ? std::min(dy, list->cy) : list->cy;
    if (background == CLR_DEFAULT) {
        background = list->background;
    }
    const bool transparent = (style & ILD_TRANSPARENT) != 0 || background == CLR_NONE;
    const int blend = (style & ILD_BLEND50) != 0 ? 128 : (style & ILD_BLEND25) != 0 ? 64 : 0;
    if (foreground == CLR_DEFAULT || foreground == CLR_NONE) {
        foreground = GetSysColor(COLOR_HIGHLIGHT);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib == nullptr || bits == nullptr) {
        return false;
    }
    auto* out = static_cast<uint32_t*>(bits);
    const uint32_t* image = ImageAt(list, index);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            uint32_t c = image[static_cast<size_t>(row) * list->cx + col];
            uint32_t alpha = c >> 24;
            if ((style & ILD_MASK) != 0) {
                c = alpha == 0 ? 0x00FFFFFFu : 0;
                alpha = 255;
            } else {
                if (blend != 0 && alpha != 0) {
                    c = Mix(c, foreground, blend);
                }
                if (alpha < 255 && !transparent) {
                    // The background shows through where the image does not cover.
                    const uint32_t bk = Bgra(background, 0);
                    uint32_t mixed = 0;
                    for (int shift = 0; shift < 24; shift += 8) {
                        const uint32_t a = (c >> shift) & 0xFF;
                        const uint32_t b = (bk >> shift) & 0xFF;
                        mixed |= ((a * alpha + b * (255 - alpha)) / 255) << shift;
                    }
                    c = mixed;
                    alpha = 255;
                }
            }
            uint32_t premultiplied = alpha << 24;
            for (int shift = 0; shift < 24; shift += 8) {
                premultiplied |= ((((c >> shift) & 0xFF) * alpha + 127) / 255) << shift;
            }
            out[static_cast<size_t>(row) * width + col] = premultiplied;
        }
    }
    BOOL done = FALSE;
    {
        const MemoryDC memory(dc);
        const SelectedObject selected(memory.Get(), dib);
        const BLENDFUNCTION function{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        done = AlphaBlend(dc, x, y, width, height, memory.Get(), 0, 0, width, height, function);
    }
    DeleteObject(dib);
    return done != FALSE;
}

enum class Strip : uint8_t { Images, Mask };

HBITMAP MakeStrip(HIMAGELIST__* list, Strip strip)
{
    const bool mask = strip == Strip::Mask;
    const int width = std::max(list->count, 1) * list->cx;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * list->cy, mask ? 0x00FFFFFFu : 0);
    for (int i = 0; i < list->count; ++i) {
        const uint32_t* image = ImageAt(list, i);
        for (int y = 0; y < list->cy; ++y) {
            for (int x = 0; x < list->cx; ++x) {
                const uint32_t c = image[static_cast<size_t>(y) * list->cx + x];
                pixels[static_cast<size_t>(y) * width + i * list->cx + x] =
                    mask ? ((c >> 24) == 0 ? 0x00FFFFFFu : 0) : c;
            }
        }
    }
    return CreateBitmap(width, list->cy, 1, 32, pixels.data());
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    (void)grow;
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || initial < 0) {
        return nullptr;
    }
    auto list = std::make_unique<HIMAGELIST__>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    HIMAGELIST handle = list.release();
    LiveLists().insert(handle);
    return handle;
}

BOOL ImageList_Destroy(HIMAGELIST handle)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr) {
        return FALSE;
    }
    LiveLists().erase(handle);
    DropStrips(list);
    delete list;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle)
{
    HIMAGELIST__* list = Check(handle);
    return list == nullptr ? 0 : list->count;
}

BOOL ImageList_SetImageCount(HIMAGELIST handle, UINT count)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || count > 65535) {
        return FALSE;
    }
    list->count = static_cast<int>(count);
    list->pixels.resize(ImageSize(list) * count, 0);
    DropStrips(list);
    return TRUE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask)
{
    HIMAGELIST__* list = Check(handle);
    return list == nullptr ? -1 : AddFrom(list, image, mask, std::nullopt);
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF maskColour)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr) {
        return -1;
    }
    if ((list->flags & ILC_MASK) == 0) {
        return AddFrom(list, image, nullptr, std::nullopt);
    }
    return AddFrom(list, image, nullptr, maskColour);
}

BOOL ImageList_Replace(HIMAGELIST handle, int index, HBITMAP image, HBITMAP mask)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || !ValidIndex(list, index)) {
        return FALSE;
    }
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> colour = ReadBitmap(image, &width, &height);
    if (colour.empty()) {
        return FALSE;
    }
    int maskWidth = 0;
    int maskHeight = 0;
    const std::vector<uint32_t> maskPixels = ReadBitmap(mask, &maskWidth, &maskHeight);
    StoreCells(list, index, 1, colour, width, height, maskPixels.empty() ? nullptr : &maskPixels, maskWidth,
               maskHeight, std::nullopt);
    return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, HICON icon)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || icon == nullptr || index < -1 || index >= list->count) {
        return -1;
    }
    // Draw the icon into a cell-sized image over a known background twice
    // (black and white) to learn both its colours and its transparency.
    std::vector<uint32_t> layers[2];
    for (int layer = 0; layer < 2; ++layer) {
        layers[layer].assign(ImageSize(list), layer == 0 ? 0xFF000000u : 0xFFFFFFFFu);
        GdiSurface surface{layers[layer].data(), list->cx, list->cy, list->cx};
        HDC dc = CreateSurfaceDC(surface, POINT{0, 0}, RECT{0, 0, list->cx, list->cy});
        if (dc == nullptr) {
            return -1;
        }
        DrawIconEx(dc, 0, 0, icon, list->cx, list->cy, 0, nullptr, 3 /* DI_NORMAL */);
        DeleteSurfaceDC(dc);
    }
    if (index == -1) {
        index = list->count++;
        list->pixels.resize(ImageSize(list) * list->count, 0);
    }
    uint32_t* image = ImageAt(list, index);
    for (size_t i = 0; i < ImageSize(list); ++i) {
        const uint32_t onBlack = layers[0][i] & 0x00FFFFFFu;
        const uint32_t onWhite = layers[1][i] & 0x00FFFFFFu;
        // Covered pixels read the same over both backgrounds; partly covered
        // ones differ by (1 - alpha) in every channel.
        const uint32_t difference = ((onWhite & 0xFF) - (onBlack & 0xFF)) & 0xFF;
        const uint32_t alpha = 255 - std::min<uint32_t>(difference, 255);
        uint32_t colour = onBlack;
        if (alpha != 0 && alpha != 255) {
            colour = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                colour |= std::min<uint32_t>(((onBlack >> shift) & 0xFF) * 255 / alpha, 255) << shift;
            }
        }
        image[i] = (alpha == 0 ? 0 : colour) | (alpha << 24);
    }
    DropStrips(list);
    return index;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr) {
        return FALSE;
    }
    if (index == -1) {
        list->count = 0;
        list->pixels.clear();
    } else if (ValidIndex(list, index)) {
        const auto begin = list->pixels.begin() + static_cast<ptrdiff_t>(ImageSize(list) * index);
        list->pixels.erase(begin, begin + static_cast<ptrdiff_t>(ImageSize(list)));
        --list->count;
    } else {
        return FALSE;
    }
    DropStrips(list);
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF colour)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr) {
        return CLR_NONE;
    }
    return std::exchange(list->background, colour);
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle)
{
    HIMAGELIST__* list = Check(handle);
    return list == nullptr ? CLR_NONE : list->background;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST handle, int index, int overlay)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || overlay < 1 || overlay > 15 || !ValidIndex(list, index)) {
        return FALSE;
    }
    list->overlays[overlay] = index + 1;
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST handle, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF foreground, UINT style)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || dc == nullptr || !ValidIndex(list, index)) {
        return FALSE;
    }
    if (!DrawImage(list, index, dc, x, y, dx, dy, background, foreground, style)) {
        return FALSE;
    }
    const UINT overlay = (style & ILD_OVERLAYMASK) >> 8;
    if (overlay != 0 && list->overlays[overlay] != 0 && (style & ILD_MASK) == 0) {
        DrawImage(list, list->overlays[overlay] - 1, dc, x, y, dx, dy, CLR_NONE, foreground,
                  (style & ~ILD_OVERLAYMASK) | ILD_TRANSPARENT);
    }
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC dc, int x, int y, UINT style)
{
    return ImageList_DrawEx(handle, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

HICON ImageList_GetIcon(HIMAGELIST handle, int index, UINT flags)
{
    (void)flags;
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || !ValidIndex(list, index)) {
        return nullptr;
    }
    std::vector<uint32_t> colour(ImageAt(list, index), ImageAt(list, index) + ImageSize(list));
    std::vector<uint32_t> mask(ImageSize(list));
    for (size_t i = 0; i < colour.size(); ++i) {
        const uint32_t alpha = colour[i] >> 24;
        mask[i] = alpha == 0 ? 0x00FFFFFFu : 0;
        if (alpha == 0) {
            colour[i] = 0;
        }
    }
    HBITMAP colourBitmap = CreateBitmap(list->cx, list->cy, 1, 32, colour.data());
    HBITMAP maskBitmap = CreateBitmap(list->cx, list->cy, 1, 32, mask.data());
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colourBitmap;
    info.hbmMask = KeepsAlpha(list) ? nullptr : maskBitmap;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    return icon;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || cx == nullptr || cy == nullptr) {
        return FALSE;
    }
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST handle, int cx, int cy)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096) {
        return FALSE;
    }
    list->cx = cx;
    list->cy = cy;
    list->count = 0;
    list->pixels.clear();
    DropStrips(list);
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST handle, int index, IMAGEINFO* info)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr || info == nullptr || !ValidIndex(list, index)) {
        return FALSE;
    }
    if (list->imageStrip == nullptr) {
        list->imageStrip = MakeStrip(list, Strip::Images);
        list->maskStrip = (list->flags & ILC_MASK) != 0 ? MakeStrip(list, Strip::Mask) : nullptr;
    }
    *info = IMAGEINFO{};
    info->hbmImage = list->imageStrip;
    info->hbmMask = list->maskStrip;
    info->rcImage = RECT{index * list->cx, 0, (index + 1) * list->cx, list->cy};
    return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST handle)
{
    HIMAGELIST__* list = Check(handle);
    if (list == nullptr) {
        return nullptr;
    }
    auto copy = std::make_unique<HIMAGELIST__>(*list);
    copy->imageStrip = nullptr;
    copy->maskStrip = nullptr;
    HIMAGELIST result = copy.release();
    LiveLists().insert(result);
    return result;
}

BOOL ImageList_Copy(HIMAGELIST toHandle, int dest, HIMAGELIST fromHandle, int source, UINT flags)
{
    HIMAGELIST__* to = Check(toHandle);
    HIMAGELIST__* from = Check(fromHandle);
    if (to == nullptr || from == nullptr || to != from || !ValidIndex(to, dest) || !ValidIndex(from, source)) {
        // Copies between lists of different sizes are not offered.
        return FALSE;
    }
    uint32_t* a = ImageAt(to, dest);
    uint32_t* b = ImageAt(from, source);
    if ((flags & ILCF_SWAP) != 0) {
        std::swap_ranges(a, a + ImageSize(to), b);
    } else {
        std::copy(b, b + ImageSize(to), a);
    }
    DropStrips(to);
    return TRUE;
}
