// Geometry types, the drawing-object and device-context wrappers and menus
// with their handle maps.
#include <gtest/gtest.h>

#include "platform/framework/dc.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/geometry.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"
#include "platform/user/inspect.h"

namespace {

struct RectCase {
    const char* name;
    CRect a;
    CRect b;
    CRect intersection;  // empty: no overlap
    CRect unionRect;
};

TEST(GeometryTest, IntersectionAndUnionTreatEmptyRectanglesAsNothing)
{
    const RectCase cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, {0, 0, 20, 20}},
        {"touching edges do not overlap", {0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},
        {"inside", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}},
        {"empty operand ignored by union", {0, 0, 10, 10}, {50, 50, 50, 60}, {}, {0, 0, 10, 10}},
        {"inverted operand is empty", {5, 5, 0, 0}, {1, 1, 2, 2}, {}, {1, 1, 2, 2}},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRect intersection;
        EXPECT_EQ(intersection.IntersectRect(&c.a, &c.b), c.intersection.IsRectEmpty() ? FALSE : TRUE);
        EXPECT_EQ(intersection, c.intersection);
        EXPECT_EQ(c.a & c.b, c.intersection);
        EXPECT_EQ(c.a | c.b, c.unionRect);
    }
}

TEST(GeometryTest, PointsAreInsideOnlyOnTheLeftAndTopEdges)
{
    const CRect rect(10, 20, 30, 40);
    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(rect.PtInRect(CPoint(29, 39)));
    EXPECT_FALSE(rect.PtInRect(CPoint(30, 39)));
    EXPECT_FALSE(rect.PtInRect(CPoint(29, 40)));
    EXPECT_EQ(rect.CenterPoint(), CPoint(20, 30));
    EXPECT_EQ(rect.Size(), CSize(20, 20));
    EXPECT_EQ(CPoint(5, 7) - CPoint(1, 2), CSize(4, 5));
    CRect moved = rect + CPoint(1, -1);
    EXPECT_EQ(moved, CRect(11, 19, 31, 39));
    CRect inverted(30, 40, 10, 20);
    inverted.NormalizeRect();
    EXPECT_EQ(inverted, rect);
    // Signed coordinates packed in a message parameter.
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-3), 7))), CPoint(-3, 7));
}

class GdiWrappersTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowSystem(); }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
};

TEST_F(GdiWrappersTest, MemoryDCDrawsWithSelectedWrappersAndGivesBackThePreviousOnes)
{
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));
    CBitmap* previousBitmap = memory.SelectObject(&bitmap);
    ASSERT_NE(previousBitmap, nullptr);

    memory.FillSolidRect(0, 0, 20, 10, RGB(255, 255, 255));
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* previousPen = memory.SelectObject(&red);
    ASSERT_NE(previousPen, nullptr);
    EXPECT_NE(previousPen, &red);
    memory.MoveTo(0, 5);
    memory.LineTo(20, 5);
    EXPECT_EQ(memory.GetPixel(10, 5), RGB(255, 0, 0));
    EXPECT_EQ(memory.GetPixel(10, 4), RGB(255, 255, 255));

    // Selecting the previous pen back answers the red pen's handle.
    CPen* back = memory.SelectObject(previousPen);
    EXPECT_EQ(back->m_hObject, red.m_hObject);
    // The same handle gives the same temporary wrapper until idle.
    EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(red.m_hObject)), back);
    memory.SelectObject(previousBitmap);

    // A temporary wrapper never deletes its handle.
    HGDIOBJ handle = red.m_hObject;
    AfxDeleteTempMaps();
    LOGPEN pen{};
    EXPECT_EQ(GetObjectA(handle, sizeof pen, &pen), static_cast<int>(sizeof pen));
    EXPECT_EQ(pen.lopnColor, RGB(255, 0, 0));
    ReleaseDC(nullptr, screen.Detach());
}

TEST_F(GdiWrappersTest, WrapperDeletesItsObjectUnlessDetached)
{
    HGDIOBJ deleted = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        deleted = brush.m_hObject;
        ASSERT_NE(deleted, nullptr);
    }
    EXPECT_EQ(GetObjectType(deleted), 0u);
    HGDIOBJ kept = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        kept = brush.Detach();
    }
    EXPECT_EQ(GetObjectType(kept), OBJ_BRUSH);
    DeleteObject(kept);

    CRgn a;
    CRgn b;
    CRgn both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 0, 20, 10);
    both.CreateRectRgn(0, 0, 0, 0);
    both.CombineRgn(&a, &b, RGN_OR);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 20, 10));
    EXPECT_TRUE(both.PtInRegion(15, 5));
    EXPECT_FALSE(a.PtInRegion(15, 5));
}

TEST_F(GdiWrappersTest, LoadedMenuIsPermanentAndItsPopupsTemporary)
{
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(128));
    EXPECT_EQ(CMenu::FromHandlePermanent(bar.m_hMenu), &bar);
    EXPECT_EQ(bar.GetMenuItemCount(), 2u);
    CMenu* file = bar.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(CMenu::FromHandlePermanent(file->m_hMenu), nullptr);
    EXPECT_EQ(file->GetMenuItemCount(), 3u);
    EXPECT_EQ(file->GetMenuItemID(0), 57600u);
    CString text;
    file->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&New\tCtrl+N");
    EXPECT_NE(file->GetMenuState(57665, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(bar.GetSubMenu(1)->GetMenuState(59392, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_FALSE(bar.LoadMenu(128));  // holds a menu already

    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(999));

    // A window's menu is reached through its object.
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(frame.SetMenu(&bar));
    EXPECT_EQ(frame.GetMenu(), &bar);
    frame.SetMenu(nullptr);
    HMENU handle = bar.m_hMenu;
    ASSERT_TRUE(bar.DestroyMenu());
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_EQ(CMenu::FromHandlePermanent(handle), nullptr);
}

} // namespace
