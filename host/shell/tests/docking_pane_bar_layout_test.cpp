// The pane bar's frame geometry as tables: the client area and sizing edge
// on each side, the gripper and its buttons, what each point of the frame
// is, and the thickness a drag of the sizing edge gives.
#include <gtest/gtest.h>

#include "host/shell/docking_pane_bar_layout.h"
#include "platform/framework/controlbar.h"
#include "platform/framework/ids.h"
#include "platform/user/winuser.h"

namespace {

const CSize kWindow(200, 150);

TEST(DockingPaneBarLayout, EachSideKeepsItsEdgeTowardsTheDocument)
{
    struct Case {
        const char* name;
        PaneBarSide side;
        CRect client;
        CRect edge;
        DWORD dropped;
    };
    const Case cases[] = {
        {"top", PaneBarSide::Top, CRect(20, 3, 197, 144), CRect(0, 144, 200, 150), CBRS_BORDER_BOTTOM},
        {"left", PaneBarSide::Left, CRect(3, 20, 194, 147), CRect(194, 0, 200, 150), CBRS_BORDER_RIGHT},
        {"right", PaneBarSide::Right, CRect(6, 20, 197, 147), CRect(0, 0, 6, 150), CBRS_BORDER_LEFT},
        {"bottom", PaneBarSide::Bottom, CRect(20, 6, 197, 147), CRect(0, 0, 200, 6), CBRS_BORDER_TOP},
        {"floating", PaneBarSide::Floating, CRect(0, 0, 200, 150), CRect(0, 0, 0, 0), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PaneBarFrame frame = LayoutPaneBarFrame(c.side, kWindow);
        EXPECT_EQ(frame.client, c.client);
        EXPECT_EQ(frame.sizingEdge, c.edge);
        EXPECT_EQ(frame.droppedBorder, c.dropped);
    }
    // A window smaller than its margins keeps an empty client area.
    const PaneBarFrame tiny = LayoutPaneBarFrame(PaneBarSide::Left, CSize(4, 10));
    EXPECT_GE(tiny.client.Width(), 0);
    EXPECT_GE(tiny.client.Height(), 0);
}

TEST(DockingPaneBarLayout, TheGripperAndButtonsFollowTheBarsOrientation)
{
    const PaneBarGripper horizontal = LayoutPaneBarGripper(PaneBarSide::Bottom, kWindow);
    EXPECT_EQ(horizontal.gripper, CRect(0, 40, 20, 150));
    EXPECT_EQ(horizontal.closeButton, CRect(7, 10, 19, 22));
    EXPECT_EQ(horizontal.toggleButton, CRect(7, 23, 19, 35));
    EXPECT_EQ(horizontal.lines[0], CRect(10, 38, 13, 140));
    EXPECT_EQ(horizontal.lines[1], CRect(14, 38, 17, 140));

    const PaneBarGripper vertical = LayoutPaneBarGripper(PaneBarSide::Left, kWindow);
    EXPECT_EQ(vertical.gripper, CRect(0, 0, 160, 20));
    EXPECT_EQ(vertical.closeButton, CRect(179, 7, 190, 18));
    EXPECT_EQ(vertical.toggleButton, CRect(166, 7, 177, 18));
    EXPECT_EQ(vertical.lines[0], CRect(10, 10, 162, 13));
    EXPECT_EQ(vertical.lines[1], CRect(10, 14, 162, 17));

    const PaneBarGripper floating = LayoutPaneBarGripper(PaneBarSide::Floating, kWindow);
    EXPECT_TRUE(floating.gripper.IsRectEmpty());
    EXPECT_TRUE(floating.closeButton.IsRectEmpty());
}

TEST(DockingPaneBarLayout, HitCodesOfTheFrame)
{
    const PaneBarGripper gripper = LayoutPaneBarGripper(PaneBarSide::Left, kWindow);
    const CRect edge = LayoutPaneBarFrame(PaneBarSide::Left, kWindow).sizingEdge;
    struct Case {
        const char* name;
        CPoint point;
        LRESULT hit;
    };
    const Case cases[] = {
        {"close button", CPoint(180, 10), HTSYSMENU},
        {"toggle button", CPoint(170, 10), HTMINBUTTON},
        {"gripper", CPoint(50, 10), HTCAPTION},
        {"sizing edge", CPoint(197, 100), HTGROWBOX},
        {"inside", CPoint(50, 100), HTNOWHERE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HitTestPaneBar(gripper, edge, c.point), c.hit);
    }
}

TEST(DockingPaneBarLayout, DraggingTheEdgeAwayFromTheSideMakesTheBarThicker)
{
    struct Case {
        const char* name;
        PaneBarSide side;
        CPoint start;
        CPoint cursor;
        int delta;
    };
    const Case cases[] = {
        {"top bar dragged down", PaneBarSide::Top, CPoint(100, 50), CPoint(100, 70), 20},
        {"left bar dragged right", PaneBarSide::Left, CPoint(50, 100), CPoint(80, 100), 30},
        // The cursor point counts 6 pixels further for right and bottom bars.
        {"right bar dragged left", PaneBarSide::Right, CPoint(300, 100), CPoint(254, 100), 40},
        {"bottom bar dragged up", PaneBarSide::Bottom, CPoint(100, 300), CPoint(100, 244), 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CPoint tracked = CorrectSizingPoint(c.side, c.cursor);
        EXPECT_EQ(SizingDelta(c.side, tracked, c.start), c.delta);
    }
    // Never thinner than 32 pixels nor thicker than the frame allows.
    EXPECT_EQ(SizedThickness(100, 30, 500), 130);
    EXPECT_EQ(SizedThickness(100, -90, 500), kPaneBarMinimum);
    EXPECT_EQ(SizedThickness(100, 900, 500), 600);
    EXPECT_EQ(PaneBarSideOf(AFX_IDW_DOCKBAR_BOTTOM), PaneBarSide::Bottom);
    EXPECT_EQ(PaneBarSideOf(AFX_IDW_DOCKBAR_FLOAT), PaneBarSide::Floating);
}

} // namespace
