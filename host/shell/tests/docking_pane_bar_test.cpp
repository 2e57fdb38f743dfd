// A pane group's docking bar on a frame, driven by mouse input as a person
// drives it: docked on each side with the sizing edge towards the
// document, floated by its toggle button or by dragging its gripper out,
// docked again by dragging the floating frame's caption to a side, sized
// by its edge, and closed by its close button.
#include <gtest/gtest.h>

#include "host/shell/tests/pane_bar_fixture.h"
#include "platform/framework/docking.h"
#include "platform/user/input.h"

namespace {

constexpr UINT kPaneFirst = CDockSite::kPaneFirst;

class DockingPaneBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(site.CreateEx(0, nullptr, "site", WS_POPUP | WS_VISIBLE, 40, 40, 700, 500, nullptr, nullptr));
        ASSERT_TRUE(view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), &site, kPaneFirst));
        bar = std::make_unique<CDockingPaneBar>(&document.document);
        bar->AddTabControl();
        bar->AddPage(Page("Features", kPageTree));
        bar->AddPage(Page("Parameters", kPageControlPanels));
        ASSERT_TRUE(bar->Create(&site, "Workshop", kPaneBarStyle, 0));
        bar->EnableDocking(CBRS_ALIGN_ANY);
        bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
        AfxEnableDocking(&site, CBRS_ALIGN_ANY);
        ASSERT_TRUE(AfxDockControlBar(&site, bar.get(), AFX_IDW_DOCKBAR_LEFT));
        PumpUntilIdle();
    }
    void TearDown() override
    {
        bar.reset();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    CRect Window(const CWnd& wnd)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        return r;
    }
    CRect InSite(const CWnd& wnd)
    {
        CRect r = Window(wnd);
        site.ScreenToClient(&r);
        return r;
    }
    // A person's drag: each step is seen before the next one happens.
    static void Drag(CPoint from, CPoint to)
    {
        InjectMouseMove(from);
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        PumpUntilIdle();
        constexpr int kSteps = 4;
        for (int i = 1; i <= kSteps; ++i) {
            InjectMouseMove(CPoint(from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps));
            PumpUntilIdle();
        }
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
        PumpUntilIdle();
        AdvanceWindowSystemTime(1000);
    }
    static void Click(CPoint at)
    {
        InjectMouseMove(at);
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
        PumpUntilIdle();
        AdvanceWindowSystemTime(1000);
    }
    // A point of the bar's frame, from its window rectangle.
    CPoint OnBar(const CRect& part)
    {
        const CRect window = Window(*bar);
        return CPoint(window.left + part.CenterPoint().x, window.top + part.CenterPoint().y);
    }
    HWND FloatingFrame() const
    {
        HWND top = ::GetAncestor(bar->GetSafeHwnd(), GA_ROOT);
        return top != site.GetSafeHwnd() ? top : nullptr;
    }

    DocumentFixture document;
    CDockSite site;
    CWnd view;
    std::unique_ptr<CDockingPaneBar> bar;
};

TEST_F(DockingPaneBarTest, DockedOnEachSideTheEdgeFacesTheDocument)
{
    struct Case {
        const char* name;
        UINT dockBar;
        PaneBarSide side;
    };
    const Case cases[] = {
        {"left", AFX_IDW_DOCKBAR_LEFT, PaneBarSide::Left},
        {"top", AFX_IDW_DOCKBAR_TOP, PaneBarSide::Top},
        {"right", AFX_IDW_DOCKBAR_RIGHT, PaneBarSide::Right},
        {"bottom", AFX_IDW_DOCKBAR_BOTTOM, PaneBarSide::Bottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(AfxDockControlBar(&site, bar.get(), c.dockBar));
        PumpUntilIdle();
        EXPECT_EQ(bar->Side(), c.side);
        const CRect placed = InSite(*bar);
        const CRect document = InSite(view);
        CRect client;
        bar->GetClientRect(&client);
        const PaneBarFrame frame = LayoutPaneBarFrame(c.side, placed.Size());
        EXPECT_EQ(client.Size(), frame.client.Size());
        switch (c.side) {
        case PaneBarSide::Left:
            EXPECT_EQ(placed.Width(), bar->VerticalDockedSize().cx);
            EXPECT_EQ(document.left, placed.right);
            break;
        case PaneBarSide::Right: EXPECT_EQ(document.right, placed.left); break;
        case PaneBarSide::Top:
            EXPECT_EQ(placed.Height(), bar->HorizontalDockedSize().cy);
            EXPECT_EQ(document.top, placed.bottom);
            break;
        case PaneBarSide::Bottom: EXPECT_EQ(document.bottom, placed.top); break;
        case PaneBarSide::Floating: break;
        }
        // The dialog fills the client area.
        EXPECT_EQ(Window(bar->Dialog()).Size(), client.Size());
        // The sizing edge and the gripper answer their hit codes.
        const LRESULT edge = bar->SendMessage(WM_NCHITTEST, 0,
                                              MAKELPARAM(OnBar(frame.sizingEdge).x, OnBar(frame.sizingEdge).y));
        EXPECT_EQ(edge, HTGROWBOX);
        const PaneBarGripper gripper = LayoutPaneBarGripper(c.side, placed.Size());
        const CPoint grip(Window(*bar).left + gripper.gripper.left + 4, Window(*bar).top + gripper.gripper.top + 4);
        EXPECT_EQ(bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
    }
}

TEST_F(DockingPaneBarTest, TheToggleButtonFloatsAndTheCaptionDragDocksAgain)
{
    const PaneBarGripper gripper = LayoutPaneBarGripper(PaneBarSide::Left, Window(*bar).Size());
    Click(OnBar(gripper.toggleButton));
    HWND floating = FloatingFrame();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(bar->Side(), PaneBarSide::Floating);
    char title[32] = {};
    ::GetWindowTextA(floating, title, sizeof title);
    EXPECT_STREQ(title, "Workshop");

    // The floating frame dragged by its caption to the frame's right edge.
    CRect frame;
    ::GetWindowRect(floating, &frame);
    CRect client;
    site.GetClientRect(&client);
    site.ClientToScreen(&client);
    Drag(CPoint(frame.left + 30, frame.top + 8), CPoint(client.right - 5, client.top + 200));
    EXPECT_EQ(bar->Side(), PaneBarSide::Right);
    EXPECT_FALSE(::IsWindow(floating));
    EXPECT_EQ(InSite(view).right, InSite(*bar).left);
}

TEST_F(DockingPaneBarTest, DraggingTheGripperOutFloatsAndACaptionDragElsewhereMoves)
{
    const CRect before = Window(*bar);
    const CPoint grip(before.left + 30, before.top + 8);
    ASSERT_EQ(bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
    Drag(grip, CPoint(420, 300));
    HWND floating = FloatingFrame();
    ASSERT_NE(floating, nullptr);
    CRect frame;
    ::GetWindowRect(floating, &frame);
    // A drag in the middle of the frame moves the floating frame only.
    Drag(CPoint(frame.left + 30, frame.top + 8), CPoint(frame.left + 60, frame.top + 48));
    ASSERT_EQ(FloatingFrame(), floating);
    CRect moved;
    ::GetWindowRect(floating, &moved);
    EXPECT_EQ(moved.TopLeft(), CPoint(frame.left + 30, frame.top + 40));
    EXPECT_EQ(bar->Side(), PaneBarSide::Floating);
}

TEST_F(DockingPaneBarTest, TheSizingEdgeMakesTheBarWiderAndALostCaptureKeepsItsSize)
{
    const CRect before = Window(*bar);
    const CRect edge = LayoutPaneBarFrame(PaneBarSide::Left, before.Size()).sizingEdge;
    const CPoint start = OnBar(edge);
    Drag(start, CPoint(start.x + 60, start.y));
    EXPECT_EQ(Window(*bar).Width(), before.Width() + 60);
    EXPECT_FALSE(bar->IsTracking());

    // Another window takes the mouse mid-drag: nothing changes.
    const CRect sized = Window(*bar);
    const CPoint again = OnBar(LayoutPaneBarFrame(PaneBarSide::Left, sized.Size()).sizingEdge);
    InjectMouseMove(again);
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    PumpUntilIdle();
    ASSERT_TRUE(bar->IsTracking());
    InjectMouseMove(CPoint(again.x + 40, again.y));
    PumpUntilIdle();
    ::SetCapture(view.GetSafeHwnd());
    EXPECT_FALSE(bar->IsTracking());
    ::ReleaseCapture();
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_EQ(Window(*bar).Width(), sized.Width());
}

TEST_F(DockingPaneBarTest, TheCloseButtonHidesTheBar)
{
    const PaneBarGripper gripper = LayoutPaneBarGripper(PaneBarSide::Left, Window(*bar).Size());
    Click(OnBar(gripper.closeButton));
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(InSite(view).left, 0);
}

} // namespace
