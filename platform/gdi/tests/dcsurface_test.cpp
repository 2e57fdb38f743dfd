// GetSurfaceOfDC: what a surface DC and a memory DC report of their pixels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dcsurface.h"
#include "platform/gdi/gdi.h"

namespace {

struct SurfaceCase {
    const char* name;
    POINT origin;
    RECT clip;
    RECT expectedClip;
};

}  // namespace

TEST(GetSurfaceOfDC, SurfaceDCReportsItsSurfaceOriginAndClipCutToTheSurface)
{
    std::vector<uint32_t> pixels(40 * 30);
    const GdiSurface surface{pixels.data(), 40, 30, 40};
    const SurfaceCase kCases[] = {
        {"inside", {5, 6}, {5, 6, 20, 16}, {5, 6, 20, 16}},
        {"cut_by_surface", {30, 20}, {30, 20, 60, 50}, {30, 20, 40, 30}},
        {"negative_origin", {-5, -5}, {-5, -5, 10, 10}, {0, 0, 10, 10}},
        {"outside", {50, 50}, {50, 50, 60, 60}, {0, 0, 0, 0}},
    };
    for (const SurfaceCase& c : kCases) {
        SCOPED_TRACE(c.name);
        HDC dc = CreateSurfaceDC(surface, c.origin, c.clip);
        ASSERT_NE(dc, nullptr);
        GdiSurface got{};
        POINT origin{};
        RECT clip{};
        ASSERT_TRUE(GetSurfaceOfDC(dc, &got, &origin, &clip));
        EXPECT_EQ(got.pixels, pixels.data());
        EXPECT_EQ(got.width, 40);
        EXPECT_EQ(got.height, 30);
        EXPECT_EQ(got.stride, 40);
        EXPECT_EQ(origin.x, c.origin.x);
        EXPECT_EQ(origin.y, c.origin.y);
        EXPECT_EQ(clip.left, c.expectedClip.left);
        EXPECT_EQ(clip.top, c.expectedClip.top);
        EXPECT_EQ(clip.right, c.expectedClip.right);
        EXPECT_EQ(clip.bottom, c.expectedClip.bottom);
        EXPECT_TRUE(DeleteSurfaceDC(dc));
    }
}

TEST(GetSurfaceOfDC, MemoryDCReportsItsColourBitmapOnly)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    GdiSurface got{};
    POINT origin{-1, -1};
    RECT clip{};
    // The stock 1x1 monochrome bitmap is no place for a colour image.
    EXPECT_FALSE(GetSurfaceOfDC(dc, &got, &origin, &clip));
    EXPECT_EQ(origin.x, -1);

    HBITMAP bitmap = CreateBitmap(12, 7, 1, 32, nullptr);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ASSERT_TRUE(GetSurfaceOfDC(dc, &got, &origin, &clip));
    GdiSurface own{};
    ASSERT_TRUE(GetBitmapSurface(bitmap, &own));
    EXPECT_EQ(got.pixels, own.pixels);
    EXPECT_EQ(got.width, 12);
    EXPECT_EQ(got.height, 7);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_EQ(clip.right, 12);
    EXPECT_EQ(clip.bottom, 7);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(GetSurfaceOfDC, StaleHandlesAndNullOutputsFail)
{
    std::vector<uint32_t> pixels(4 * 4);
    HDC dc = CreateSurfaceDC(GdiSurface{pixels.data(), 4, 4, 4}, {0, 0}, {0, 0, 4, 4});
    ASSERT_NE(dc, nullptr);
    GdiSurface got{};
    POINT origin{};
    RECT clip{};
    EXPECT_FALSE(GetSurfaceOfDC(dc, nullptr, &origin, &clip));
    EXPECT_FALSE(GetSurfaceOfDC(nullptr, &got, &origin, &clip));
    ASSERT_TRUE(DeleteSurfaceDC(dc));
    EXPECT_FALSE(GetSurfaceOfDC(dc, &got, &origin, &clip));
}
