// Frames and glyphs: 3-D edges in the system colours, focus rectangles,
// frame controls and DrawState.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

TEST(GdiFrames, RaisedAndSunkenEdges)
{
    struct Case {
        const char* name;
        UINT edge;
        COLORREF outerTopLeft;
        COLORREF outerBottomRight;
        COLORREF innerTopLeft;
        COLORREF innerBottomRight;
    };
    const Case kCases[] = {
        {"raised", EDGE_RAISED, GdiSysColor(COLOR_3DLIGHT), GdiSysColor(COLOR_3DDKSHADOW),
         GdiSysColor(COLOR_3DHIGHLIGHT), GdiSysColor(COLOR_3DSHADOW)},
        {"sunken", EDGE_SUNKEN, GdiSysColor(COLOR_3DSHADOW), GdiSysColor(COLOR_3DHIGHLIGHT),
         GdiSysColor(COLOR_3DDKSHADOW), GdiSysColor(COLOR_3DLIGHT)},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(10, 10, kRed);
        RECT r{1, 1, 9, 9};
        ASSERT_TRUE(DrawEdge(c.dc(), &r, k.edge, BF_RECT | BF_ADJUST | BF_MIDDLE));
        EXPECT_EQ(r.left, 3);
        EXPECT_EQ(r.bottom, 7);
        EXPECT_EQ(c.At(4, 1), k.outerTopLeft);
        EXPECT_EQ(c.At(1, 4), k.outerTopLeft);
        EXPECT_EQ(c.At(4, 8), k.outerBottomRight);
        EXPECT_EQ(c.At(8, 4), k.outerBottomRight);
        EXPECT_EQ(c.At(4, 2), k.innerTopLeft);
        EXPECT_EQ(c.At(7, 4), k.innerBottomRight);
        EXPECT_EQ(c.At(5, 5), GdiSysColor(COLOR_BTNFACE));
        EXPECT_EQ(c.At(0, 0), kRed);
        EXPECT_EQ(c.At(9, 9), kRed);
    }
}

TEST(GdiFrames, FocusRectangleTwiceRemovesItself)
{
    Canvas c(10, 8, RGB(20, 40, 60));
    const RECT r{1, 1, 9, 7};
    DrawFocusRect(c.dc(), &r);
    const int changed = c.CountNot(RGB(20, 40, 60));
    EXPECT_GT(changed, 8);
    EXPECT_LT(changed, 24);  // dotted: about half the 24 frame pixels
    EXPECT_EQ(c.Count({2, 2, 8, 6}, RGB(20, 40, 60)), 24);
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.CountNot(RGB(20, 40, 60)), 0);
}

TEST(GdiFrames, FrameControlGlyphsInkInsideTheirRectangle)
{
    struct Case {
        const char* name;
        UINT type;
        UINT state;
    };
    const Case kCases[] = {
        {"menu_check", DFC_MENU, DFCS_MENUCHECK},
        {"menu_bullet", DFC_MENU, DFCS_MENUBULLET},
        {"menu_arrow", DFC_MENU, DFCS_MENUARROW},
        {"caption_close", DFC_CAPTION, DFCS_CAPTIONCLOSE},
        {"caption_max", DFC_CAPTION, DFCS_CAPTIONMAX},
        {"caption_min", DFC_CAPTION, DFCS_CAPTIONMIN},
        {"caption_restore", DFC_CAPTION, DFCS_CAPTIONRESTORE},
        {"check_checked", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {"radio_checked", DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
        {"scroll_down", DFC_SCROLL, DFCS_SCROLLDOWN},
        {"push", DFC_BUTTON, DFCS_BUTTONPUSH},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(30, 30, kRed);
        RECT r{5, 5, 21, 19};
        ASSERT_TRUE(DrawFrameControl(c.dc(), &r, k.type, k.state));
        const RECT ink = c.InkBox(kRed);
        EXPECT_GE(ink.left, 5);
        EXPECT_GE(ink.top, 5);
        EXPECT_LE(ink.right, 21);
        EXPECT_LE(ink.bottom, 19);
        EXPECT_GT(c.CountNot(kRed), 8);
    }
    Canvas c(20, 20);
    RECT r{0, 0, 20, 20};
    EXPECT_FALSE(DrawFrameControl(c.dc(), &r, 99, 0));
}

TEST(GdiFrames, MenuGlyphIsBlackOnWhite)
{
    Canvas c(16, 16, kRed);
    RECT r{0, 0, 16, 16};
    DrawFrameControl(c.dc(), &r, DFC_MENU, DFCS_MENUCHECK);
    EXPECT_EQ(c.CountAll(kRed), 0);
    EXPECT_GT(c.CountAll(kBlack), 10);
    EXPECT_EQ(c.CountAll(kBlack) + c.CountAll(kWhite), 256);
}

TEST(GdiDrawState, MonoBitmapTakesTheBrushAndDisabledEmbosses)
{
    // A monochrome check bitmap: black ink on white.
    Canvas glyph(8, 8, kWhite);
    RECT cell{0, 0, 8, 8};
    GdiDrawMarlettGlyph(glyph.dc(), &cell, 'a', kBlack);
    const int inked = glyph.CountAll(kBlack);
    ASSERT_GT(inked, 5);

    Canvas c(12, 12, kGreen);
    HBRUSH blue = CreateSolidBrush(kBlue);
    ASSERT_TRUE(DrawStateA(c.dc(), blue, nullptr, reinterpret_cast<LPARAM>(glyph.bitmap()), 0, 2, 2, 0, 0,
                           DST_BITMAP | DSS_MONO));
    EXPECT_EQ(c.CountAll(kBlue), inked);
    EXPECT_EQ(c.CountAll(kGreen), 144 - inked);
    DeleteObject(blue);

    c.Clear(kGreen);
    DrawStateA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(glyph.bitmap()), 0, 2, 2, 8, 8,
               DST_BITMAP | DSS_DISABLED | DSS_MONO);
    EXPECT_EQ(c.CountAll(GdiSysColor(COLOR_3DSHADOW)), inked);
    EXPECT_GT(c.CountAll(GdiSysColor(COLOR_3DHIGHLIGHT)), 0);
}

TEST(GdiDrawState, TextNormalAndComplexCallback)
{
    Canvas c(60, 20);
    SetBkMode(c.dc(), TRANSPARENT);
    const char* text = "&Open";
    ASSERT_TRUE(DrawStateA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 1, 1, 0, 0, DST_PREFIXTEXT));
    EXPECT_GT(c.CountAll(kBlack), 10);
    EXPECT_GE(c.InkBox(kWhite).left, 1);

    c.Clear(kWhite);
    auto proc = [](HDC dc, LPARAM, WPARAM, int cx, int cy) -> BOOL {
        const RECT r{0, 0, cx, cy};
        FillSolidRect(dc, &r, RGB(0, 0, 0));
        return TRUE;
    };
    ASSERT_TRUE(DrawStateA(c.dc(), nullptr, proc, 0, 0, 3, 4, 5, 6, DST_COMPLEX));
    ExpectExactlyRect(c, {3, 4, 8, 10}, kBlack, kWhite);
}
