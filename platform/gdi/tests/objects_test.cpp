// GDI objects and DC state: selection, deletion while selected, stock
// objects, GetObject layouts, saved states and device capabilities.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

TEST(GdiObjects, SelectReturnsThePreviousObjectOfItsKind)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN red = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ oldPen = SelectObject(dc, red);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), red);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, oldPen), red);
    EXPECT_TRUE(DeleteObject(red));
    DeleteDC(dc);
}

TEST(GdiObjects, StaleAndWrongHandlesFail)
{
    HBRUSH brush = CreateSolidBrush(kRed);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), 0u);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    const RECT r{0, 0, 1, 1};
    EXPECT_FALSE(FillRect(dc, &r, brush));
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(brush), GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(DeleteObject(dc));  // a DC is not an object for DeleteObject
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(GetTextColor(dc), CLR_INVALID);
}

TEST(GdiObjects, DeletingASelectedObjectWaitsForItsRelease)
{
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc(), red);
    EXPECT_TRUE(DeleteObject(red));
    // Still usable while selected.
    Rectangle(c.dc(), 0, 0, 4, 4);
    EXPECT_EQ(c.At(1, 1), kRed);
    EXPECT_EQ(GetObjectType(red), static_cast<DWORD>(OBJ_BRUSH));
    SelectObject(c.dc(), old);
    EXPECT_EQ(GetObjectType(red), 0u);
}

TEST(GdiObjects, StockObjectsSurviveDeletion)
{
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_NE(GetStockObject(DC_BRUSH), nullptr);
}

TEST(GdiObjects, GetObjectDescribesEachKind)
{
    HPEN pen = CreatePen(PS_DASH, 3, kRed);
    LOGPEN lp{};
    EXPECT_EQ(GetObjectA(pen, sizeof(lp), &lp), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, kRed);
    DeleteObject(pen);

    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, kBlue);
    LOGBRUSH lb{};
    GetObject(hatch, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
    DeleteObject(hatch);

    HBITMAP bitmap = CreateBitmap(13, 7, 1, 1, nullptr);
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(bm.bmWidth, 13);
    EXPECT_EQ(bm.bmHeight, 7);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    DeleteObject(bitmap);
}

TEST(GdiDc, SaveAndRestoreState)
{
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    SetTextColor(c.dc(), kBlue);
    const int level = SaveDC(c.dc());
    EXPECT_EQ(level, 1);
    SelectObject(c.dc(), red);
    SetTextColor(c.dc(), kGreen);
    IntersectClipRect(c.dc(), 0, 0, 1, 1);
    SetWindowOrgEx(c.dc(), 3, 3, nullptr);
    EXPECT_EQ(SaveDC(c.dc()), 2);
    SetBkMode(c.dc(), TRANSPARENT);
    EXPECT_TRUE(RestoreDC(c.dc(), -1));
    EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
    EXPECT_EQ(GetTextColor(c.dc()), kGreen);
    EXPECT_TRUE(RestoreDC(c.dc(), level));
    EXPECT_EQ(GetTextColor(c.dc()), kBlue);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    POINT org{};
    GetWindowOrgEx(c.dc(), &org);
    EXPECT_EQ(org.x, 0);
    RECT box{};
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box.right, 4);
    EXPECT_FALSE(RestoreDC(c.dc(), 1));  // nothing saved any more
    // The brush survived in the saved state and is now free to delete.
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetObjectType(red), 0u);
}

TEST(GdiDc, DeviceCapsOfATrueColourScreen)
{
    Canvas c(4, 4);
    EXPECT_EQ(GetDeviceCaps(c.dc(), BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(c.dc(), NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(c.dc(), LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc(), PLANES), 1);
    HDC fresh = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(fresh, BITSPIXEL), 1);  // the stock monochrome bitmap
    DeleteDC(fresh);
}

TEST(GdiDc, CompatibleBitmapOfAFreshMemoryDcIsMonochrome)
{
    HDC fresh = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(fresh, 8, 8);
    BITMAP bm{};
    GetObject(mono, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    Canvas c(2, 2);
    HBITMAP colour = CreateCompatibleBitmap(c.dc(), 8, 8);
    GetObject(colour, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(CreateCompatibleBitmap(c.dc(), -5, 5), nullptr);
    DeleteObject(mono);
    DeleteObject(colour);
    DeleteDC(fresh);
}
