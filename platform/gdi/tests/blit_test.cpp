// Blits: ternary raster operations, stretching and mirroring, colour and
// monochrome conversion, transparent and alpha blits, gradients, bitmap
// sources of every depth, and icons.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

TEST(GdiBlit, RasterOperations)
{
    const COLORREF kSource = RGB(0xF0, 0x0F, 0x3C);
    const COLORREF kDest = RGB(0xAA, 0x55, 0xFF);
    const COLORREF kPattern = RGB(0x0F, 0xF0, 0x00);
    struct Case {
        const char* name;
        DWORD rop;
        COLORREF expected;
    };
    const Case kCases[] = {
        {"srccopy", SRCCOPY, kSource},
        {"srcinvert", SRCINVERT, RGB(0x5A, 0x5A, 0xC3)},
        {"srcand", SRCAND, RGB(0xA0, 0x05, 0x3C)},
        {"srcpaint", SRCPAINT, RGB(0xFA, 0x5F, 0xFF)},
        {"notsrccopy", NOTSRCCOPY, RGB(0x0F, 0xF0, 0xC3)},
        {"srcerase", SRCERASE, RGB(0x50, 0x0A, 0x00)},
        {"patcopy", PATCOPY, kPattern},
        {"patinvert", PATINVERT, RGB(0xA5, 0xA5, 0xFF)},
        {"mergecopy", MERGECOPY, RGB(0x00, 0x00, 0x00)},
        {"dstinvert", DSTINVERT, RGB(0x55, 0xAA, 0x00)},
        {"blackness", BLACKNESS, kBlack},
        {"whiteness", WHITENESS, kWhite},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas source(3, 3, kSource);
        Canvas dest(3, 3, kDest);
        HBRUSH brush = CreateSolidBrush(kPattern);
        HGDIOBJ old = SelectObject(dest.dc(), brush);
        EXPECT_TRUE(BitBlt(dest.dc(), 1, 1, 1, 1, source.dc(), 0, 0, k.rop));
        EXPECT_EQ(dest.At(1, 1), k.expected);
        EXPECT_EQ(dest.At(0, 0), kDest);
        EXPECT_EQ(dest.At(2, 2), kDest);
        SelectObject(dest.dc(), old);
        DeleteObject(brush);
    }
}

TEST(GdiBlit, PatBltHalftoneInvertTwiceRestores)
{
    // The classic drag frame: a checker brush XORed onto the screen.
    const uint16_t rows[8] = {0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA};
    HBITMAP checker = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH halftone = CreatePatternBrush(checker);
    DeleteObject(checker);
    Canvas c(8, 8, RGB(30, 60, 90));
    HGDIOBJ old = SelectObject(c.dc(), halftone);
    PatBlt(c.dc(), 0, 0, 8, 8, PATINVERT);
    EXPECT_EQ(c.CountAll(RGB(30, 60, 90)), 32);
    EXPECT_EQ(c.CountAll(RGB(225, 195, 165)), 32);
    PatBlt(c.dc(), 0, 0, 8, 8, PATINVERT);
    EXPECT_EQ(c.CountAll(RGB(30, 60, 90)), 64);
    EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 8, 8, SRCCOPY));  // needs a source
    SelectObject(c.dc(), old);
    DeleteObject(halftone);
}

TEST(GdiBlit, StretchAndMirror)
{
    Canvas source(2, 1);
    SetPixel(source.dc(), 0, 0, kRed);
    SetPixel(source.dc(), 1, 0, kBlue);
    Canvas dest(4, 2);
    StretchBlt(dest.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dest.Count({0, 0, 2, 2}, kRed), 4);
    EXPECT_EQ(dest.Count({2, 0, 4, 2}, kBlue), 4);
    StretchBlt(dest.dc(), 3, 0, -4, 1, source.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dest.At(0, 0), kBlue);
    EXPECT_EQ(dest.At(3, 0), kRed);
}

TEST(GdiBlit, OverlappingCopyOnOneBitmapScrolls)
{
    Canvas c(6, 1);
    for (int x = 0; x < 6; ++x) SetPixel(c.dc(), x, 0, RGB(x * 10, 0, 0));
    BitBlt(c.dc(), 1, 0, 5, 1, c.dc(), 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(c.At(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
}

TEST(GdiBlit, MonochromeToColourUsesTextAndBackgroundColours)
{
    const uint16_t rows[1] = {0x0080};  // white, black (rows are little-endian words)
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, rows);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    Canvas c(2, 1);
    SetTextColor(c.dc(), kRed);
    SetBkColor(c.dc(), kGreen);
    BitBlt(c.dc(), 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), kGreen);
    EXPECT_EQ(c.At(1, 0), kRed);

    // Colour to monochrome: the source background colour becomes white, the rest black.
    SetPixel(c.dc(), 0, 0, kBlue);
    SetBkColor(c.dc(), kBlue);
    BitBlt(monoDc, 0, 0, 2, 1, c.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(monoDc, 0, 0), kWhite);
    EXPECT_EQ(GetPixel(monoDc, 1, 0), kBlack);
    SelectObject(monoDc, old);
    DeleteObject(mono);
    DeleteDC(monoDc);
}

TEST(GdiBlit, TransparentBltSkipsTheKeyColour)
{
    Canvas source(3, 1, kGreen);
    SetPixel(source.dc(), 1, 0, kRed);
    Canvas dest(3, 1, kBlue);
    EXPECT_TRUE(TransparentBlt(dest.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 3, 1, kGreen));
    EXPECT_EQ(dest.At(0, 0), kBlue);
    EXPECT_EQ(dest.At(1, 0), kRed);
    EXPECT_EQ(dest.At(2, 0), kBlue);
}

TEST(GdiBlit, AlphaBlendConstantAndPerPixel)
{
    Canvas source(2, 1);
    GdiSurface s{};
    GetBitmapSurface(source.bitmap(), &s);
    s.pixels[0] = 0x80800000u;  // half-transparent red, premultiplied
    s.pixels[1] = 0x00000000u;  // fully transparent
    Canvas dest(2, 1, kBlue);
    const BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(dest.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, perPixel));
    EXPECT_EQ(dest.At(0, 0), RGB(128, 0, 127));
    EXPECT_EQ(dest.At(1, 0), kBlue);

    Canvas opaque(1, 1, kWhite);
    Canvas black(1, 1, kBlack);
    const BLENDFUNCTION quarter{AC_SRC_OVER, 0, 64, 0};
    AlphaBlend(black.dc(), 0, 0, 1, 1, opaque.dc(), 0, 0, 1, 1, quarter);
    EXPECT_EQ(black.At(0, 0), RGB(64, 64, 64));
}

TEST(GdiBlit, GradientFillRectangles)
{
    Canvas c(5, 4);
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {5, 4, 0xFF00, 0, 0, 0}};
    GRADIENT_RECT r{0, 1};
    EXPECT_TRUE(GradientFill(c.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(0, 3), RGB(0, 0, 0));
    for (int x = 1; x < 5; ++x) EXPECT_GT(GetRValue(c.At(x, 2)), GetRValue(c.At(x - 1, 2)));
    EXPECT_EQ(c.At(4, 0), RGB(204, 0, 0));

    EXPECT_TRUE(GradientFill(c.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(c.At(4, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(0, 3), RGB(191, 0, 0));
    GRADIENT_RECT bad{0, 7};
    EXPECT_FALSE(GradientFill(c.dc(), v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(GdiBitmaps, DeviceIndependentSourcesOfEveryDepth)
{
    struct Case {
        const char* name;
        WORD bits;
        std::vector<uint8_t> row;  // one 2-pixel row, padded to 4 bytes
        std::vector<RGBQUAD> palette;
    };
    const std::vector<RGBQUAD> kTwo = {{0, 0, 255, 0}, {255, 0, 0, 0}};  // red, blue
    const Case kCases[] = {
        {"1bit", 1, {0x40, 0, 0, 0}, kTwo},
        {"4bit", 4, {0x01, 0, 0, 0}, kTwo},
        {"8bit", 8, {0x00, 0x01, 0, 0}, kTwo},
        {"16bit", 16, {0x00, 0x7C, 0x1F, 0x00}, {}},
        {"24bit", 24, {0, 0, 255, 255, 0, 0, 0, 0}, {}},
        {"32bit", 32, {0, 0, 255, 0, 255, 0, 0, 0}, {}},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * k.palette.size() + 4);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = 2;
        header->biHeight = 1;
        header->biPlanes = 1;
        header->biBitCount = k.bits;
        header->biClrUsed = static_cast<DWORD>(k.palette.size());
        for (size_t i = 0; i < k.palette.size(); ++i) {
            std::memcpy(info.data() + sizeof(BITMAPINFOHEADER) + 4 * i, &k.palette[i], 4);
        }
        Canvas c(2, 1);
        HBITMAP b = CreateDIBitmap(c.dc(), header, CBM_INIT, k.row.data(),
                                   reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
        ASSERT_NE(b, nullptr);
        HDC mem = CreateCompatibleDC(c.dc());
        HGDIOBJ old = SelectObject(mem, b);
        EXPECT_EQ(GetPixel(mem, 0, 0), kRed);
        EXPECT_EQ(GetPixel(mem, 1, 0), kBlue);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(b);
    }
}

TEST(GdiBitmaps, BottomUpRowsAndReadBack)
{
    // Two rows of one pixel, bottom-up: the first row in memory is the bottom one.
    const uint8_t bits[8] = {0, 0, 255, 0, 255, 0, 0, 0};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    Canvas c(1, 2);
    EXPECT_EQ(SetDIBits(c.dc(), c.bitmap(), 0, 2, bits, &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(c.At(0, 0), kBlue);
    EXPECT_EQ(c.At(0, 1), kRed);
    uint8_t out[6 * 2] = {};
    BITMAPINFO query{};
    query.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, out, &query, DIB_RGB_COLORS), 2);
    EXPECT_EQ(out[0], 255);  // top row blue: B first
    EXPECT_EQ(out[4 + 2], 255);  // second row (4-byte aligned) red
}

TEST(GdiIcons, MaskAndColourCompose)
{
    // Left pixel: mask black (image shows), right pixel: mask white (destination shows).
    const uint16_t maskRows[1] = {0x0040};
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskRows);
    Canvas colour(2, 1, kRed);
    SetPixel(colour.dc(), 1, 0, kBlack);  // black XORs nothing where the mask keeps the destination
    ICONINFO ii{TRUE, 0, 0, mask, colour.bitmap()};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    DeleteObject(mask);
    Canvas c(2, 1, kBlue);
    EXPECT_TRUE(DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(1, 0), kBlue);
    ICONINFO back{};
    EXPECT_TRUE(GetIconInfo(icon, &back));
    EXPECT_NE(back.hbmColor, nullptr);
    DeleteObject(back.hbmColor);
    DeleteObject(back.hbmMask);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST(GdiBitmaps, BottomUpDibSectionKeepsItsRowOrderInMemory)
{
    // A caller writing rows through the bits pointer of a bottom-up section
    // writes the bottom row first.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    auto* pixels = static_cast<uint32_t*>(bits);
    pixels[0] = 0xFFFF0000u;  // bottom-left red
    pixels[3] = 0xFF0000FFu;  // top-right blue
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    EXPECT_EQ(GetPixel(dc, 0, 1), kRed);
    EXPECT_EQ(GetPixel(dc, 1, 0), kBlue);
    SetPixel(dc, 1, 1, kGreen);
    EXPECT_EQ(pixels[1], 0xFF00FF00u);
    Canvas copy(2, 2);
    BitBlt(copy.dc(), 0, 0, 2, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(copy.At(0, 1), kRed);
    EXPECT_EQ(copy.At(1, 0), kBlue);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}
