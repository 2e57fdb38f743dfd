// Regions: combinations, queries and painting.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

TEST(GdiRegions, CombineModes)
{
    struct Case {
        const char* name;
        int mode;
        int kind;
        RECT box;
        int area;
    };
    // a = (0,0)-(4,4), b = (2,2)-(6,6)
    const Case kCases[] = {
        {"and", RGN_AND, SIMPLEREGION, {2, 2, 4, 4}, 4},
        {"or", RGN_OR, COMPLEXREGION, {0, 0, 6, 6}, 28},
        {"xor", RGN_XOR, COMPLEXREGION, {0, 0, 6, 6}, 24},
        {"diff", RGN_DIFF, COMPLEXREGION, {0, 0, 4, 4}, 12},
        {"copy", RGN_COPY, SIMPLEREGION, {0, 0, 4, 4}, 16},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        HRGN a = CreateRectRgn(0, 0, 4, 4);
        HRGN b = CreateRectRgn(2, 2, 6, 6);
        HRGN d = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(d, a, b, k.mode), k.kind);
        RECT box{};
        GetRgnBox(d, &box);
        EXPECT_EQ(box.left, k.box.left);
        EXPECT_EQ(box.top, k.box.top);
        EXPECT_EQ(box.right, k.box.right);
        EXPECT_EQ(box.bottom, k.box.bottom);
        int area = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) area += PtInRegion(d, x, y) ? 1 : 0;
        EXPECT_EQ(area, k.area);
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(d);
    }
}

TEST(GdiRegions, EmptyResultsAndEquality)
{
    HRGN a = CreateRectRgn(0, 0, 2, 2);
    HRGN b = CreateRectRgn(5, 5, 6, 6);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), ERROR);
    // Two halves joined equal the whole.
    HRGN left = CreateRectRgn(0, 0, 1, 2);
    HRGN right = CreateRectRgn(1, 0, 2, 2);
    CombineRgn(d, left, right, RGN_OR);
    EXPECT_TRUE(EqualRgn(d, a));
    EXPECT_EQ(OffsetRgn(d, 3, 3), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(d, 3, 3));
    EXPECT_FALSE(PtInRegion(d, 5, 5));
    const RECT probe{4, 4, 10, 10};
    EXPECT_TRUE(RectInRegion(d, &probe));
    for (HRGN r : {a, b, d, left, right}) DeleteObject(r);
}

TEST(GdiRegions, FillFrameAndInvert)
{
    Canvas c(6, 6);
    HRGN r = CreateRectRgn(1, 1, 5, 5);
    HBRUSH black = CreateSolidBrush(kBlack);
    FrameRgn(c.dc(), r, black, 1, 1);
    EXPECT_EQ(c.CountAll(kBlack), 12);
    EXPECT_EQ(c.At(2, 2), kWhite);
    InvertRgn(c.dc(), r);
    EXPECT_EQ(c.Count({2, 2, 4, 4}, kBlack), 4);
    FillRgn(c.dc(), r, black);
    EXPECT_EQ(c.CountAll(kBlack), 16);
    HRGN ellipse = CreateEllipticRgn(0, 0, 6, 6);
    EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
    EXPECT_TRUE(PtInRegion(ellipse, 3, 3));
    DeleteObject(ellipse);
    DeleteObject(black);
    DeleteObject(r);
}
