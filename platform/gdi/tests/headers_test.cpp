// The public GDI headers: layouts other modules and stored data rely on.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"

TEST(GdiHeaders, RecordLayoutsMatchThePlatform)
{
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(sizeof(TTPOLYGONHEADER), 16u);
    EXPECT_EQ(sizeof(POINTFX), 8u);
    EXPECT_EQ(offsetof(TTPOLYCURVE, apfx), 4u);
    EXPECT_EQ(sizeof(MAT2), 16u);
    EXPECT_EQ(sizeof(GLYPHMETRICS), 20u);
    EXPECT_EQ(sizeof(LOGFONTA), 60u);
    EXPECT_EQ(sizeof(TRIVERTEX), 16u);
    EXPECT_EQ(sizeof(BLENDFUNCTION), 4u);
}

TEST(GdiHeaders, ClassicSystemColoursAndSource)
{
    EXPECT_EQ(GdiSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    GdiSetSysColorSource([](int) -> COLORREF { return RGB(1, 2, 3); });
    EXPECT_EQ(GdiSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
    GdiSetSysColorSource(nullptr);
    EXPECT_EQ(GdiSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GdiClassicSysColor(-1), RGB(0, 0, 0));
}
