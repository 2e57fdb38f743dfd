// Pixel tests of the drawing calls: exact where the platform is exact
// (rectangles, fills, horizontal and vertical lines, raster operations,
// clipping), shape checks for ellipses and polygons.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

namespace {

// Selects a pen and brush for one drawing, and restores the old ones.
class PenBrush {
public:
    PenBrush(HDC dc, HPEN pen, HBRUSH brush) : m_dc(dc), m_pen(pen), m_brush(brush)
    {
        m_oldPen = SelectObject(dc, pen);
        m_oldBrush = SelectObject(dc, brush);
    }
    ~PenBrush()
    {
        SelectObject(m_dc, m_oldPen);
        SelectObject(m_dc, m_oldBrush);
        DeleteObject(m_pen);
        DeleteObject(m_brush);
    }

private:
    HDC m_dc;
    HPEN m_pen;
    HBRUSH m_brush;
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
};

}  // namespace

TEST(GdiFill, FillRectExcludesRightAndBottom)
{
    Canvas c(10, 8);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT r{2, 1, 6, 4};
    EXPECT_TRUE(FillRect(c.dc(), &r, red));
    ExpectExactlyRect(c, r, kRed, kWhite);
    DeleteObject(red);
}

TEST(GdiFill, SystemColourIndexAsBrush)
{
    Canvas c(4, 4, kBlack);
    const RECT r{0, 0, 2, 2};
    FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
    ExpectExactlyRect(c, r, GdiSysColor(COLOR_WINDOW), kBlack);
}

TEST(GdiFill, FrameAndInvertRect)
{
    Canvas c(6, 5);
    HBRUSH black = CreateSolidBrush(kBlack);
    const RECT r{1, 1, 5, 4};
    FrameRect(c.dc(), &r, black);
    ExpectPicture(c,
                  "......\n"
                  ".####.\n"
                  ".#..#.\n"
                  ".####.\n"
                  "......\n",
                  kWhite, kBlack);
    InvertRect(c.dc(), &r);
    ExpectPicture(c,
                  "......\n"
                  "......\n"
                  "..##..\n"
                  "......\n"
                  "......\n",
                  kWhite, kBlack);
    DeleteObject(black);
}

TEST(GdiShapes, RectangleOutlineAndInterior)
{
    Canvas c(7, 6);
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    Rectangle(c.dc(), 1, 1, 6, 5);
    EXPECT_EQ(c.Picture(kWhite, kBlack),
              ".......\n"
              ".#####.\n"
              ".#???#.\n"
              ".#???#.\n"
              ".#####.\n"
              ".......\n");
    EXPECT_EQ(c.Count({2, 2, 5, 4}, kRed), 6);
}

TEST(GdiShapes, RectangleWithNullPenIsOnePixelSmaller)
{
    Canvas c(8, 8);
    PenBrush pb(c.dc(), static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(kBlue));
    Rectangle(c.dc(), 1, 2, 6, 7);
    ExpectExactlyRect(c, {1, 2, 5, 6}, kBlue, kWhite);
}

TEST(GdiShapes, RectangleWithWidePenStraddlesTheOutline)
{
    Canvas c(12, 12);
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 3, kBlack), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    Rectangle(c.dc(), 3, 3, 9, 9);
    // One pixel outside the box, the box's edge pixel, one pixel inside.
    EXPECT_EQ(c.InkBox(kWhite).left, 2);
    EXPECT_EQ(c.InkBox(kWhite).right, 10);
    EXPECT_EQ(c.At(4, 4), kBlack);
    EXPECT_EQ(c.At(5, 5), kWhite);
    EXPECT_EQ(c.At(6, 6), kWhite);
}

TEST(GdiLines, LineToExcludesTheEndPointAndMovesThere)
{
    struct Case {
        const char* name;
        POINT from;
        POINT to;
        int expectedPixels;
    };
    const Case kCases[] = {
        {"horizontal_right", {1, 2}, {7, 2}, 6},
        {"horizontal_left", {7, 2}, {1, 2}, 6},
        {"vertical_down", {3, 0}, {3, 5}, 5},
        {"diagonal", {0, 0}, {5, 5}, 5},
        {"steep", {1, 0}, {3, 7}, 7},
        {"point", {4, 4}, {4, 4}, 0},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(10, 10);
        MoveToEx(c.dc(), k.from.x, k.from.y, nullptr);
        LineTo(c.dc(), k.to.x, k.to.y);
        EXPECT_EQ(c.CountAll(kBlack), k.expectedPixels);
        EXPECT_EQ(c.At(k.to.x, k.to.y), kWhite);
        if (k.expectedPixels > 0) {
            EXPECT_EQ(c.At(k.from.x, k.from.y), kBlack);
        }
        POINT position{};
        GetCurrentPositionEx(c.dc(), &position);
        EXPECT_EQ(position.x, k.to.x);
        EXPECT_EQ(position.y, k.to.y);
    }
}

TEST(GdiLines, PolylineDrawsEveryVertexButTheLast)
{
    Canvas c(6, 6);
    const POINT points[] = {{1, 1}, {4, 1}, {4, 4}};
    Polyline(c.dc(), points, 3);
    EXPECT_EQ(c.Picture(kWhite, kBlack),
              "......\n"
              ".####.\n"
              "....#.\n"
              "....#.\n"
              "......\n"
              "......\n");
}

TEST(GdiLines, DottedPenLeavesGapsInBackgroundOrTransparent)
{
    Canvas c(12, 1);
    HPEN dot = CreatePen(PS_DOT, 1, kBlack);
    HGDIOBJ old = SelectObject(c.dc(), dot);
    SetBkColor(c.dc(), kRed);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 12, 0);
    EXPECT_EQ(c.CountAll(kBlack), 6);
    EXPECT_EQ(c.CountAll(kRed), 6);
    c.Clear(kWhite);
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 12, 0);
    EXPECT_EQ(c.CountAll(kBlack), 6);
    EXPECT_EQ(c.CountAll(kWhite), 6);
    SelectObject(c.dc(), old);
    DeleteObject(dot);
}

TEST(GdiLines, WidePenCoversItsWidth)
{
    Canvas c(20, 20);
    HPEN pen = CreatePen(PS_SOLID, 5, kBlack);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    MoveToEx(c.dc(), 5, 10, nullptr);
    LineTo(c.dc(), 15, 10);
    const RECT ink = c.InkBox(kWhite);
    EXPECT_EQ(ink.bottom - ink.top, 5);
    EXPECT_EQ(ink.top, 8);
    EXPECT_EQ(c.At(10, 8), kBlack);
    EXPECT_EQ(c.At(10, 12), kBlack);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
}

TEST(GdiRop2, BinaryRasterOperationsOnLines)
{
    struct Case {
        const char* name;
        int rop;
        COLORREF dest;
        COLORREF pen;
        COLORREF expected;
    };
    const Case kCases[] = {
        {"copy", R2_COPYPEN, RGB(10, 20, 30), RGB(1, 2, 3), RGB(1, 2, 3)},
        {"xor", R2_XORPEN, RGB(0xF0, 0x0F, 0xFF), RGB(0xFF, 0xFF, 0x0F), RGB(0x0F, 0xF0, 0xF0)},
        {"not", R2_NOT, RGB(0x12, 0x34, 0x56), RGB(0, 0, 0), RGB(0xED, 0xCB, 0xA9)},
        {"notxor", R2_NOTXORPEN, RGB(0xFF, 0, 0), RGB(0xFF, 0, 0), RGB(0xFF, 0xFF, 0xFF)},
        {"mask", R2_MASKPEN, RGB(0xF0, 0xF0, 0xF0), RGB(0x3C, 0x3C, 0x3C), RGB(0x30, 0x30, 0x30)},
        {"merge", R2_MERGEPEN, RGB(0xF0, 0, 0), RGB(0x0F, 0, 0), RGB(0xFF, 0, 0)},
        {"nop", R2_NOP, RGB(7, 8, 9), RGB(1, 1, 1), RGB(7, 8, 9)},
        {"black", R2_BLACK, RGB(7, 8, 9), RGB(1, 1, 1), RGB(0, 0, 0)},
        {"white", R2_WHITE, RGB(7, 8, 9), RGB(1, 1, 1), RGB(255, 255, 255)},
        {"notcopy", R2_NOTCOPYPEN, RGB(7, 8, 9), RGB(0xFF, 0, 0x0F), RGB(0, 0xFF, 0xF0)},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(4, 1, k.dest);
        HPEN pen = CreatePen(PS_SOLID, 1, k.pen);
        HGDIOBJ old = SelectObject(c.dc(), pen);
        SetROP2(c.dc(), k.rop);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 2, 0);
        EXPECT_EQ(c.At(0, 0), k.expected);
        EXPECT_EQ(c.At(1, 0), k.expected);
        EXPECT_EQ(c.At(2, 0), k.dest);
        SelectObject(c.dc(), old);
        DeleteObject(pen);
    }
}

TEST(GdiRop2, XorRectangleTwiceRestoresTheImage)
{
    Canvas c(10, 10, RGB(12, 200, 99));
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 3, kWhite), CreateSolidBrush(RGB(1, 2, 3)));
    SetROP2(c.dc(), R2_XORPEN);
    Rectangle(c.dc(), 2, 2, 8, 8);
    EXPECT_GT(c.CountNot(RGB(12, 200, 99)), 0);
    Rectangle(c.dc(), 2, 2, 8, 8);
    EXPECT_EQ(c.CountNot(RGB(12, 200, 99)), 0);
}

TEST(GdiShapes, EllipseIsSymmetricAndTouchesItsBox)
{
    Canvas c(24, 18);
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    Ellipse(c.dc(), 2, 3, 21, 15);
    const RECT ink = c.InkBox(kWhite);
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 3);
    EXPECT_EQ(ink.right, 21);
    EXPECT_EQ(ink.bottom, 15);
    for (int y = 3; y < 15; ++y) {
        for (int x = 2; x < 21; ++x) {
            ASSERT_EQ(c.At(x, y), c.At(2 + 20 - x, y)) << x << "," << y << "\n" << c.Picture(kWhite, kBlack);
            ASSERT_EQ(c.At(x, y), c.At(x, 3 + 14 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(c.At(11, 9), kRed);  // centre filled
    EXPECT_EQ(c.At(2, 3), kWhite);  // corner of the box is outside
    EXPECT_EQ(c.At(2, 9), kBlack);  // outline on the left edge
}

TEST(GdiShapes, RoundRectCornersAreCut)
{
    Canvas c(20, 20);
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    RoundRect(c.dc(), 0, 0, 20, 20, 8, 8);
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(19, 19), kWhite);
    EXPECT_EQ(c.At(10, 0), kBlack);
    EXPECT_EQ(c.At(0, 10), kBlack);
    EXPECT_EQ(c.At(10, 10), kRed);
}

TEST(GdiShapes, PolygonFillModes)
{
    // A five-pointed star: its centre is a hole under ALTERNATE and filled under WINDING.
    const POINT star[] = {{20, 2}, {31, 37}, {2, 15}, {38, 15}, {9, 37}};
    struct Case {
        const char* name;
        int mode;
        COLORREF centre;
    };
    const Case kCases[] = {{"alternate", ALTERNATE, kWhite}, {"winding", WINDING, kRed}};
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(40, 40);
        PenBrush pb(c.dc(), static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(kRed));
        SetPolyFillMode(c.dc(), k.mode);
        Polygon(c.dc(), star, 5);
        EXPECT_EQ(c.At(20, 20), k.centre);
        EXPECT_EQ(c.At(20, 8), kRed);  // inside a point of the star
    }
}

TEST(GdiShapes, PolygonWithPenCoversAllVertices)
{
    Canvas c(8, 8);
    PenBrush pb(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    const POINT square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    Polygon(c.dc(), square, 4);
    EXPECT_EQ(c.InkBox(kWhite).right, 7);
    EXPECT_EQ(c.InkBox(kWhite).bottom, 7);
    EXPECT_EQ(c.Count({2, 2, 6, 6}, kRed), 16);
    EXPECT_EQ(c.CountAll(kBlack), 20);
}

TEST(GdiBrushes, HatchBrushTransparentAndOpaque)
{
    Canvas c(16, 16, kGreen);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, kBlack);
    const RECT all{0, 0, 16, 16};
    SetBkMode(c.dc(), TRANSPARENT);
    FillRect(c.dc(), &all, hatch);
    EXPECT_EQ(c.CountAll(kBlack), 2 * (8 + 8 + 8 + 8) - 4);
    EXPECT_EQ(c.CountAll(kGreen), 256 - c.CountAll(kBlack));
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kWhite);
    FillRect(c.dc(), &all, hatch);
    EXPECT_EQ(c.CountAll(kGreen), 0);
    DeleteObject(hatch);
}

TEST(GdiBrushes, PatternBrushFollowsTheBrushOrigin)
{
    // A 2x2 checker of a monochrome bitmap: black takes the text colour, white the background.
    const uint16_t rows[2] = {0x0040, 0x0080};  // word-aligned rows: 01, 10
    HBITMAP bits = CreateBitmap(2, 2, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bits);
    DeleteObject(bits);
    Canvas c(4, 2);
    SetTextColor(c.dc(), kRed);
    SetBkColor(c.dc(), kBlue);
    const RECT all{0, 0, 4, 2};
    FillRect(c.dc(), &all, brush);
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(1, 0), kBlue);
    EXPECT_EQ(c.At(0, 1), kBlue);
    SetBrushOrgEx(c.dc(), 1, 0, nullptr);
    FillRect(c.dc(), &all, brush);
    EXPECT_EQ(c.At(0, 0), kBlue);
    EXPECT_EQ(c.At(1, 0), kRed);
    DeleteObject(brush);
}

TEST(GdiPixels, SetAndGetPixelWithClipAndBounds)
{
    Canvas c(5, 5);
    EXPECT_EQ(SetPixel(c.dc(), 2, 3, kRed), kRed);
    EXPECT_EQ(GetPixel(c.dc(), 2, 3), kRed);
    EXPECT_EQ(GetPixel(c.dc(), 5, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), -1, 0, kRed), CLR_INVALID);
    IntersectClipRect(c.dc(), 0, 0, 2, 2);
    EXPECT_EQ(GetPixel(c.dc(), 2, 3), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 3, 3, kRed), CLR_INVALID);
    EXPECT_EQ(c.At(3, 3), kWhite);
    EXPECT_EQ(GetNearestColor(c.dc(), RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(GdiClip, DrawingStaysInsideTheClip)
{
    struct Case {
        const char* name;
        void (*clip)(HDC);
        int expectedRed;
    };
    const Case kCases[] = {
        {"intersect", [](HDC dc) { IntersectClipRect(dc, 2, 2, 6, 5); }, 12},
        {"exclude", [](HDC dc) { ExcludeClipRect(dc, 0, 0, 10, 5); }, 50},
        {"region",
         [](HDC dc) {
             HRGN r = CreateRectRgn(1, 1, 3, 3);
             SelectClipRgn(dc, r);
             DeleteObject(r);
         },
         4},
        {"region_then_intersect",
         [](HDC dc) {
             HRGN r = CreateRectRgn(0, 0, 4, 10);
             SelectClipRgn(dc, r);
             DeleteObject(r);
             IntersectClipRect(dc, 2, 0, 10, 1);
         },
         2},
        {"removed",
         [](HDC dc) {
             IntersectClipRect(dc, 0, 0, 1, 1);
             SelectClipRgn(dc, nullptr);
         },
         100},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(10, 10);
        k.clip(c.dc());
        HBRUSH red = CreateSolidBrush(kRed);
        const RECT all{0, 0, 10, 10};
        FillRect(c.dc(), &all, red);
        EXPECT_EQ(c.CountAll(kRed), k.expectedRed);
        DeleteObject(red);
    }
}

TEST(GdiClip, ClipBoxIsLogical)
{
    Canvas c(20, 10);
    RECT box{};
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 20);
    SetWindowOrgEx(c.dc(), 5, 0, nullptr);
    IntersectClipRect(c.dc(), 5, 0, 10, 10);  // device 0..5
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 10);
    EXPECT_TRUE(RectVisible(c.dc(), &box));
    const RECT outside{12, 0, 14, 2};
    EXPECT_FALSE(RectVisible(c.dc(), &outside));
    EXPECT_TRUE(PtVisible(c.dc(), 6, 1));
    EXPECT_FALSE(PtVisible(c.dc(), 11, 1));
}

TEST(GdiOrigins, WindowAndViewportOriginsShiftDrawing)
{
    Canvas c(10, 10);
    SetWindowOrgEx(c.dc(), 2, 1, nullptr);
    SetViewportOrgEx(c.dc(), 5, 5, nullptr);
    OffsetViewportOrgEx(c.dc(), -1, 0, nullptr);
    SetPixel(c.dc(), 2, 1, kRed);
    EXPECT_EQ(c.At(4, 5), kRed);
    POINT p{2, 1};
    LPtoDP(c.dc(), &p, 1);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 5);
    DPtoLP(c.dc(), &p, 1);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 1);
}

TEST(GdiOrigins, HimetricMapsHundredthsOfMillimetresWithYUp)
{
    Canvas c(200, 200);
    SetMapMode(c.dc(), MM_HIMETRIC);
    POINT p{2540, -2540};  // one inch right, one inch down
    LPtoDP(c.dc(), &p, 1);
    EXPECT_EQ(p.x, 96);
    EXPECT_EQ(p.y, 96);
    SetMapMode(c.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(c.dc(), 10, 10, nullptr);
    SetViewportExtEx(c.dc(), 20, 30, nullptr);
    POINT q{5, 5};
    LPtoDP(c.dc(), &q, 1);
    EXPECT_EQ(q.x, 10);
    EXPECT_EQ(q.y, 15);
}

TEST(GdiSurfaceDc, DrawsAtItsOriginInsideItsClip)
{
    std::vector<uint32_t> pixels(20 * 10, 0xFF000000u);
    const GdiSurface surface{pixels.data(), 20, 10, 20};
    HDC dc = CreateSurfaceDC(surface, {5, 2}, {5, 2, 12, 8});
    ASSERT_NE(dc, nullptr);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const RECT big{-10, -10, 100, 100};
    FillRect(dc, &big, white);
    int painted = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 12 && y >= 2 && y < 8;
            EXPECT_EQ(pixels[y * 20 + x] == 0xFFFFFFFFu, inside) << x << "," << y;
            painted += inside ? 1 : 0;
        }
    EXPECT_EQ(painted, 42);
    SetPixel(dc, 0, 0, RGB(0, 0, 255));
    EXPECT_EQ(pixels[2 * 20 + 5], 0xFF0000FFu);  // blue in the lowest byte: BGRA order
    // An update region narrows the clip further.
    HRGN update = CreateRectRgn(0, 0, 2, 2);
    SetSurfaceDCVisibleRegion(dc, update);
    DeleteObject(update);
    const RECT all{0, 0, 7, 6};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(pixels[2 * 20 + 5], 0xFF000000u);
    EXPECT_EQ(pixels[2 * 20 + 8], 0xFFFFFFFFu);
    EXPECT_TRUE(DeleteSurfaceDC(dc));
}
