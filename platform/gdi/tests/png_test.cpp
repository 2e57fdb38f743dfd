// PNG images: a bitmap written and read back is the same, alpha survives as
// premultiplied pixels, bad input is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

namespace {

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("nuvex_gdi_") + name)).string();
}

// Removes a file when the test ends.
struct TempFile {
    std::string path;
    ~TempFile() { std::remove(path.c_str()); }
};

}  // namespace

TEST(GdiPng, OpaqueRoundTrip)
{
    Canvas c(7, 5, kBlue);
    SetPixel(c.dc(), 0, 0, kRed);
    SetPixel(c.dc(), 6, 4, RGB(1, 2, 3));
    TempFile file{TempPath("opaque.png")};
    ASSERT_TRUE(SavePngBitmap(c.bitmap(), file.path.c_str(), PngAlpha::Opaque));
    HBITMAP loaded = LoadPngBitmapFile(file.path.c_str());
    ASSERT_NE(loaded, nullptr);
    GdiSurface s{};
    GetBitmapSurface(loaded, &s);
    EXPECT_EQ(s.width, 7);
    EXPECT_EQ(s.height, 5);
    EXPECT_EQ(s.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(s.pixels[4 * 7 + 6], 0xFF010203u);
    EXPECT_EQ(s.pixels[1], 0xFF0000FFu);
    DeleteObject(loaded);
}

TEST(GdiPng, AlphaIsKeptPremultiplied)
{
    std::vector<uint32_t> pixels = {0x80800000u, 0x00000000u};  // half red, transparent
    const GdiSurface surface{pixels.data(), 2, 1, 2};
    TempFile file{TempPath("alpha.png")};
    ASSERT_TRUE(SavePngSurface(surface, file.path.c_str(), PngAlpha::Keep));
    HBITMAP loaded = LoadPngBitmapFile(file.path.c_str());
    ASSERT_NE(loaded, nullptr);
    GdiSurface s{};
    GetBitmapSurface(loaded, &s);
    EXPECT_EQ(s.pixels[0], 0x80800000u);
    EXPECT_EQ(s.pixels[1], 0x00000000u);
    DeleteObject(loaded);
}

TEST(GdiPng, BadInputIsRefused)
{
    const uint8_t notPng[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(LoadPngBitmap(notPng, sizeof(notPng)), nullptr);
    EXPECT_EQ(LoadPngBitmap(nullptr, 0), nullptr);
    // A real header cut short.
    Canvas c(16, 16, kRed);
    TempFile file{TempPath("cut.png")};
    ASSERT_TRUE(SavePngBitmap(c.bitmap(), file.path.c_str(), PngAlpha::Opaque));
    std::vector<uint8_t> bytes;
    {
        FILE* f = std::fopen(file.path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        int ch;
        while ((ch = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(ch));
        std::fclose(f);
    }
    HBITMAP whole = LoadPngBitmap(bytes.data(), bytes.size());
    EXPECT_NE(whole, nullptr);
    DeleteObject(whole);
    EXPECT_EQ(LoadPngBitmap(bytes.data(), bytes.size() / 2), nullptr);
    EXPECT_EQ(LoadPngBitmapFile("/nonexistent/nothing.png"), nullptr);
    EXPECT_FALSE(SavePngBitmap(c.bitmap(), "/nonexistent/dir/out.png", PngAlpha::Opaque));
}
