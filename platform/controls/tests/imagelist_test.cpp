// Image lists: images added from bitmaps with masks, mask colours and
// alpha, drawn in the ILD_* ways, and checked indexes and handles.
#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/commctrl.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kRedBgra = 0xFFFF0000u;   // COLORREF RGB(255, 0, 0)
constexpr uint32_t kMagentaBgra = 0xFFFF00FFu;
constexpr uint32_t kBlueBgra = 0xFF0000FFu;

// A canvas of BGRA pixels with a DC drawing into it.
struct Canvas {
    explicit Canvas(int w, int h, uint32_t fill = kWhite) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill)
    {
        dc = CreateSurfaceDC(GdiSurface{pixels.data(), w, h, w}, POINT{0, 0}, RECT{0, 0, w, h});
    }
    ~Canvas() { DeleteSurfaceDC(dc); }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] | 0xFF000000u; }
    int width;
    int height;
    std::vector<uint32_t> pixels;
    HDC dc = nullptr;
};

// Two 4x4 cells: the left one red with a magenta corner pixel, the right one
// all magenta except a red centre pixel.
HBITMAP TwoCells()
{
    std::vector<uint32_t> bits(8 * 4, kRedBgra);
    bits[0] = kMagentaBgra;
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x) {
            bits[static_cast<size_t>(y) * 8 + x] = (x == 5 && y == 1) ? kRedBgra : kMagentaBgra;
        }
    }
    return CreateBitmap(8, 4, 1, 32, bits.data());
}

struct ListGuard {
    HIMAGELIST list;
    ~ListGuard() { ImageList_Destroy(list); }
};

TEST(ImageList, MaskColourMakesPixelsTransparent)
{
    ListGuard guard{ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 4)};
    HBITMAP bitmap = TwoCells();
    EXPECT_EQ(ImageList_AddMasked(guard.list, bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_AddMasked(guard.list, bitmap, RGB(255, 0, 255)), 2) << "the first new index";
    EXPECT_EQ(ImageList_GetImageCount(guard.list), 4);
    DeleteObject(bitmap);

    struct DrawCase {
        const char* name;
        int image;
        UINT style;
        COLORREF background;
        POINT probe;
        uint32_t expected;
    };
    const DrawCase cases[] = {
        {"opaque_pixel", 0, ILD_NORMAL, CLR_NONE, {2, 2}, kRedBgra},
        {"masked_pixel_transparent", 0, ILD_TRANSPARENT, RGB(0, 0, 255), {0, 0}, kWhite},
        {"masked_pixel_shows_background", 0, ILD_NORMAL, RGB(0, 0, 255), {0, 0}, kBlueBgra},
        {"masked_pixel_no_background", 0, ILD_NORMAL, CLR_NONE, {0, 0}, kWhite},
        {"second_cell_centre", 1, ILD_TRANSPARENT, CLR_NONE, {1, 1}, kRedBgra},
        {"second_cell_edge", 1, ILD_TRANSPARENT, CLR_NONE, {3, 3}, kWhite},
        {"mask_of_opaque_is_black", 0, ILD_MASK, CLR_NONE, {2, 2}, 0xFF000000u},
        {"mask_of_transparent_is_white", 0, ILD_MASK, CLR_NONE, {0, 0}, kWhite},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(8, 8);
        ImageList_SetBkColor(guard.list, c.background);
        ASSERT_TRUE(ImageList_Draw(guard.list, c.image, canvas.dc, 2, 2, c.style));
        EXPECT_EQ(canvas.At(2 + c.probe.x, 2 + c.probe.y), c.expected);
        EXPECT_EQ(canvas.At(7, 7), kWhite) << "nothing outside the image";
    }
}

TEST(ImageList, SeparateMaskBitmapAndAlphaImages)
{
    ListGuard masked{ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 0, 1)};
    const uint32_t colour[] = {kRedBgra, kRedBgra};
    const uint32_t mask[] = {0xFF000000u, 0xFFFFFFFFu}; // white: transparent
    HBITMAP image = CreateBitmap(2, 1, 1, 32, colour);
    HBITMAP maskBitmap = CreateBitmap(2, 1, 1, 32, mask);
    ASSERT_EQ(ImageList_Add(masked.list, image, maskBitmap), 0);
    {
        Canvas canvas(2, 1);
        ImageList_Draw(masked.list, 0, canvas.dc, 0, 0, ILD_TRANSPARENT);
        EXPECT_EQ(canvas.At(0, 0), kRedBgra);
        EXPECT_EQ(canvas.At(1, 0), kWhite);
    }
    DeleteObject(image);
    DeleteObject(maskBitmap);

    // A 32-bit list keeps alpha: a half-covered red pixel over white is pink.
    ListGuard alpha{ImageList_Create(1, 1, ILC_COLOR32, 0, 1)};
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 1;
    bmi.bmiHeader.biHeight = -1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP halfBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bits, nullptr);
    *static_cast<uint32_t*>(bits) = 0x80FF0000u;
    ASSERT_EQ(ImageList_Add(alpha.list, halfBitmap, nullptr), 0);
    Canvas canvas(1, 1);
    ImageList_Draw(alpha.list, 0, canvas.dc, 0, 0, ILD_TRANSPARENT);
    const uint32_t pixel = canvas.At(0, 0);
    EXPECT_EQ((pixel >> 16) & 0xFF, 0xFFu);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 127, 2);
    DeleteObject(halfBitmap);
}

TEST(ImageList, IconsRoundTripAndImagesAreRemoved)
{
    ListGuard guard{ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 4)};
    HBITMAP bitmap = TwoCells();
    ImageList_AddMasked(guard.list, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
    HICON icon = ImageList_GetIcon(guard.list, 1, ILD_NORMAL);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ImageList_AddIcon(guard.list, icon), 2);
    DestroyIcon(icon);
    Canvas canvas(4, 4);
    ImageList_Draw(guard.list, 2, canvas.dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.At(1, 1), kRedBgra);
    EXPECT_EQ(canvas.At(0, 0), kWhite) << "the icon's mask came along";

    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(guard.list, 1, &info));
    EXPECT_EQ(info.rcImage.left, 4);
    EXPECT_NE(info.hbmMask, nullptr);

    EXPECT_TRUE(ImageList_Remove(guard.list, 0));
    EXPECT_EQ(ImageList_GetImageCount(guard.list), 2);
    EXPECT_TRUE(ImageList_RemoveAll(guard.list));
    EXPECT_EQ(ImageList_GetImageCount(guard.list), 0);
    EXPECT_TRUE(ImageList_SetImageCount(guard.list, 3));
    EXPECT_EQ(ImageList_GetImageCount(guard.list), 3);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(guard.list, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
}

TEST(ImageList, BadIndexesAndHandlesFailWithoutEffect)
{
    ListGuard guard{ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 4)};
    HBITMAP narrow = CreateBitmap(3, 4, 1, 32, nullptr);
    EXPECT_EQ(ImageList_Add(guard.list, narrow, nullptr), -1) << "narrower than one image";
    DeleteObject(narrow);
    Canvas canvas(4, 4);
    EXPECT_FALSE(ImageList_Draw(guard.list, 0, canvas.dc, 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Remove(guard.list, 5));
    EXPECT_FALSE(ImageList_Replace(guard.list, -2, nullptr, nullptr));
    EXPECT_EQ(ImageList_ReplaceIcon(guard.list, 3, nullptr), -1);
    EXPECT_EQ(ImageList_GetIcon(guard.list, 0, 0), nullptr);
    EXPECT_FALSE(ImageList_SetOverlayImage(guard.list, 0, 16));
    EXPECT_EQ(ImageList_Create(0, 4, ILC_COLOR, 0, 0), nullptr);

    HIMAGELIST gone = ImageList_Create(2, 2, ILC_COLOR, 0, 0);
    ASSERT_TRUE(ImageList_Destroy(gone));
    EXPECT_FALSE(ImageList_Destroy(gone));
    EXPECT_EQ(ImageList_GetImageCount(gone), 0);
    int cx = 0;
    int cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(gone, &cx, &cy));
}

} // namespace
} // namespace nuvex::controls::commontesting
