// Docking: a tool bar docked on a frame's side, floated in its own frame,
// docked again on another side (by call and by dragging its gripper), and
// its layout saved in the profile, loaded back and applied.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/display/headless/headless_display.h"
#include "platform/framework/docking.h"
#include "platform/framework/framewnd.h"
#include "platform/user/inspect.h"

namespace {

constexpr UINT kPaneFirst = 0xE900;
constexpr UINT kOpen = 57601;
constexpr UINT kSave = 57603;
constexpr UINT kPrint = 57607;

class CDockHost : public CWnd {
public:
    int m_saves = 0;

protected:
    void OnSize(UINT type, int cx, int cy)
    {
        CWnd::OnSize(type, cx, cy);
        AfxRecalcBarLayout(this);
    }
    void OnSave() { ++m_saves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockHost, CWnd)
    ON_WM_SIZE()
    ON_COMMAND(kSave, OnSave)
END_MESSAGE_MAP()

// The registry file of the test lives in its own folder.
class ScopedConfigDir {
public:
    ScopedConfigDir()
    {
        char pattern[] = "/tmp/nuvex-docking-XXXXXX";
        m_path = mkdtemp(pattern) != nullptr ? pattern : "";
        const char* old = std::getenv("NUVEX_CONFIG_DIR");
        m_hadOld = old != nullptr;
        m_old = old != nullptr ? old : "";
        setenv("NUVEX_CONFIG_DIR", m_path.c_str(), 1);
    }
    ~ScopedConfigDir()
    {
        if (m_hadOld) {
            setenv("NUVEX_CONFIG_DIR", m_old.c_str(), 1);
        } else {
            unsetenv("NUVEX_CONFIG_DIR");
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::string m_path;
    std::string m_old;
    bool m_hadOld = false;
};

class Docking : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 50, 50, 500, 400, nullptr, nullptr));
        ASSERT_TRUE(toolbar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC));
        const UINT buttons[] = {kOpen, kSave, kPrint};
        ASSERT_TRUE(toolbar.SetButtons(buttons, 3));
        ASSERT_TRUE(view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), &host, kPaneFirst));
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        AfxEnableDocking(&host, CBRS_ALIGN_ANY);
        ASSERT_TRUE(AfxDockControlBar(&host, &toolbar));
    }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    CRect InHost(const CWnd& wnd)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        host.ScreenToClient(&r);
        return r;
    }
    HWND ToolbarParent() { return ::GetParent(toolbar.GetSafeHwnd()); }
    HWND DockBar(UINT id) { return ::GetDlgItem(host.GetSafeHwnd(), static_cast<int>(id)); }
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
    }
    HWND FloatingFrame()
    {
        HWND top = ::GetAncestor(toolbar.GetSafeHwnd(), GA_ROOT);
        return top != host.GetSafeHwnd() ? top : nullptr;
    }

    CDockHost host;
    CToolBar toolbar;
    CWnd view;
};

TEST_F(Docking, DockedFloatedAndDockedAgain)
{
    // Docked on top: the view starts below the bar.
    EXPECT_EQ(ToolbarParent(), DockBar(AFX_IDW_DOCKBAR_TOP));
    const CRect docked = InHost(toolbar);
    EXPECT_EQ(docked.top, 0);
    EXPECT_GE(docked.Height(), 22);
    EXPECT_EQ(InHost(view).top, docked.bottom);
    EXPECT_TRUE(toolbar.IsHorizontal());

    // Floating: its own frame at the point, the view takes the room back.
    ASSERT_TRUE(AfxFloatControlBar(&host, &toolbar, CPoint(600, 400)));
    HWND floating = FloatingFrame();
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(::IsWindowVisible(floating));
    EXPECT_TRUE(CWnd::FromHandlePermanent(floating)->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    CRect frameRect;
    ::GetWindowRect(floating, &frameRect);
    EXPECT_EQ(frameRect.left, 600);
    EXPECT_EQ(frameRect.top, 400);
    EXPECT_TRUE(toolbar.IsFloating());
    EXPECT_TRUE(toolbar.IsWindowVisible());
    EXPECT_EQ(InHost(view).top, 0);

    // Docked on the left: a column of buttons, the floating frame gone.
    ASSERT_TRUE(AfxDockControlBar(&host, &toolbar, AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(ToolbarParent(), DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(::IsWindow(floating));
    EXPECT_FALSE(toolbar.IsFloating());
    const CRect column = InHost(toolbar);
    EXPECT_EQ(column.left, 0);
    EXPECT_GT(column.Height(), column.Width());
    EXPECT_EQ(InHost(view).left, column.right);
    EXPECT_EQ(InHost(view).top, 0);
    EXPECT_EQ(toolbar.m_uMRUDockID, AFX_IDW_DOCKBAR_LEFT);
}

TEST_F(Docking, LayoutWhileTheHostIsHiddenGivesTheBarsTheirRoom)
{
    // A frame lays its bars out before it is first shown.
    host.ShowWindow(SW_HIDE);
    host.MoveWindow(40, 40, 520, 420);
    host.ShowWindow(SW_SHOW);
    const CRect docked = InHost(toolbar);
    EXPECT_EQ(docked.top, 0);
    EXPECT_GE(docked.Height(), 22);
    EXPECT_EQ(InHost(view).top, docked.bottom);
}

TEST_F(Docking, ButtonClicksReachTheFrameDockedAndFloating)
{
    auto clickSave = [this] {
        CRect button;
        toolbar.GetItemRect(toolbar.CommandToIndex(kSave), &button);
        toolbar.ClientToScreen(&button);
        HeadlessClick(button.CenterPoint());
        PumpUntilIdle();
    };
    clickSave();
    EXPECT_EQ(host.m_saves, 1) << "through the dock bar";
    ASSERT_TRUE(AfxFloatControlBar(&host, &toolbar, CPoint(600, 400)));
    clickSave();
    EXPECT_EQ(host.m_saves, 2) << "through the floating frame's dock bar";
}

TEST_F(Docking, DraggingTheGripperFloatsAndDocks)
{
    CRect bar;
    toolbar.GetWindowRect(&bar);
    const CPoint gripper(bar.left + 3, (bar.top + bar.bottom) / 2);
    Drag(gripper, CPoint(700, 600));
    HWND floating = FloatingFrame();
    ASSERT_NE(floating, nullptr) << "dropped outside the frame: floats";
    CRect frameRect;
    ::GetWindowRect(floating, &frameRect);
    EXPECT_EQ(frameRect.left, bar.left + 700 - gripper.x);

    // Back where it was docked last.
    EXPECT_EQ(toolbar.m_uMRUDockID, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(AfxDockControlBar(&host, &toolbar, toolbar.m_uMRUDockID));
    EXPECT_EQ(ToolbarParent(), DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_FALSE(::IsWindow(floating));

    // Dragged to the right edge inside the frame: docks on the right.
    AdvanceWindowSystemTime(1000);
    toolbar.GetWindowRect(&bar);
    CRect client;
    host.GetClientRect(&client);
    host.ClientToScreen(&client);
    Drag(CPoint(bar.left + 3, (bar.top + bar.bottom) / 2), CPoint(client.right - 5, client.top + 150));
    EXPECT_EQ(ToolbarParent(), DockBar(AFX_IDW_DOCKBAR_RIGHT));
    RECT hostClient{};
    host.GetClientRect(&hostClient);
    EXPECT_EQ(InHost(toolbar).right, hostClient.right);
    EXPECT_EQ(InHost(view).right, InHost(toolbar).left);
}

TEST_F(Docking, BarStateIsSavedReloadedAndApplied)
{
    ScopedConfigDir config;
    ASSERT_TRUE(AfxDockControlBar(&host, &toolbar, AFX_IDW_DOCKBAR_LEFT));
    CDockState saved;
    AfxGetDockState(&host, saved);
    ASSERT_EQ(saved.m_arrBarInfo.size(), 1u);
    EXPECT_EQ(saved.m_arrBarInfo[0].m_nBarID, AFX_IDW_TOOLBAR);
    EXPECT_EQ(saved.m_arrBarInfo[0].m_uDockBarID, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(saved.m_arrBarInfo[0].m_bFloating);
    ASSERT_TRUE(saved.SaveState("Layout"));

    // Elsewhere meanwhile; then the saved layout comes back.
    ASSERT_TRUE(AfxFloatControlBar(&host, &toolbar, CPoint(640, 420)));
    CDockState loaded;
    ASSERT_TRUE(loaded.LoadState("Layout"));
    ASSERT_EQ(loaded.m_arrBarInfo.size(), 1u);
    EXPECT_EQ(loaded.m_arrBarInfo[0].m_uDockBarID, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(loaded.m_arrBarInfo[0].m_bVisible);
    HWND floating = FloatingFrame();
    AfxSetDockState(&host, loaded);
    EXPECT_EQ(ToolbarParent(), DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(::IsWindow(floating));
    EXPECT_EQ(InHost(view).left, InHost(toolbar).right);

    // A floating, hidden bar comes back floating at its place, hidden.
    ASSERT_TRUE(AfxFloatControlBar(&host, &toolbar, CPoint(640, 420)));
    AfxShowControlBar(&host, &toolbar, FALSE);
    CDockState away;
    AfxGetDockState(&host, away);
    ASSERT_TRUE(away.SaveState("Away"));
    AfxDockControlBar(&host, &toolbar, AFX_IDW_DOCKBAR_TOP);
    CDockState back;
    ASSERT_TRUE(back.LoadState("Away"));
    EXPECT_TRUE(back.m_arrBarInfo[0].m_bFloating);
    EXPECT_FALSE(back.m_arrBarInfo[0].m_bVisible);
    AfxSetDockState(&host, back);
    ASSERT_NE(FloatingFrame(), nullptr);
    CRect frameRect;
    ::GetWindowRect(FloatingFrame(), &frameRect);
    EXPECT_EQ(frameRect.left, 640);
    EXPECT_EQ(frameRect.top, 420);
    EXPECT_FALSE(toolbar.IsWindowVisible());

    // A profile without a layout loads nothing and keeps what was there.
    CDockState missing;
    missing.m_arrBarInfo.push_back(CControlBarInfo{});
    EXPECT_FALSE(missing.LoadState("Nothing"));
    EXPECT_EQ(missing.m_arrBarInfo.size(), 1u);
}

TEST(FrameDocking, TheFramesMembersDockFloatAndRestoreItsBars)
{
    ScopedConfigDir config;
    ResetWindowSystem();
    // A frame deletes itself when its window goes.
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 540, 440)));
    CToolBar toolbar;
    ASSERT_TRUE(toolbar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC));
    const UINT buttons[] = {kOpen, kSave};
    ASSERT_TRUE(toolbar.SetButtons(buttons, 2));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    const auto parentIs = [&](UINT dockBar) {
        return ::GetParent(toolbar.GetSafeHwnd()) == ::GetDlgItem(frame->GetSafeHwnd(), static_cast<int>(dockBar));
    };

    frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(parentIs(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_TOOLBAR), &toolbar);
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_STATUS_BAR), nullptr);
    frame->SaveBarState("Frame");

    frame->FloatControlBar(&toolbar, CPoint(600, 300));
    EXPECT_TRUE(toolbar.IsFloating());
    frame->ShowControlBar(&toolbar, FALSE, FALSE);
    EXPECT_FALSE(toolbar.IsWindowVisible());

    // The saved layout: docked on the left and shown.
    frame->LoadBarState("Frame");
    EXPECT_TRUE(parentIs(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(toolbar.IsFloating());
    EXPECT_TRUE(toolbar.IsWindowVisible());
    // A profile without a layout changes nothing.
    frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
    frame->LoadBarState("Nothing");
    EXPECT_TRUE(parentIs(AFX_IDW_DOCKBAR_TOP));

    frame->DestroyWindow();
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

} // namespace
