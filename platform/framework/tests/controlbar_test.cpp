// Control bars: a tool bar and a status bar laid out around a client
// window through WM_SIZEPARENT, their items brought up to date from the
// command handlers when idle, and the tool bar's wrapping layouts.
#include <gtest/gtest.h>

#include "platform/framework/controlbar.h"
#include "platform/user/dialog.h"
#include "platform/user/inspect.h"

namespace {

constexpr UINT kOpen = 57601;
constexpr UINT kSave = 57603;
constexpr UINT kGrid = 32801;
constexpr UINT kCaps = 59137;
constexpr UINT kPaneFirst = 0xE900;

class CBarHost : public CWnd {
public:
    bool m_gridOn = true;

protected:
    void OnSize(UINT type, int cx, int cy)
    {
        CWnd::OnSize(type, cx, cy);
        RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, kPaneFirst);
    }
    void OnOpen() {}
    void OnUpdateGrid(CCmdUI* ui) { ui->SetCheck(m_gridOn ? 1 : 0); }
    void OnUpdateCaps(CCmdUI* ui) { ui->SetText("CAPS"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarHost, CWnd)
    ON_WM_SIZE()
    ON_COMMAND(kOpen, OnOpen)
    ON_UPDATE_COMMAND_UI(kGrid, OnUpdateGrid)
    ON_UPDATE_COMMAND_UI(kCaps, OnUpdateCaps)
END_MESSAGE_MAP()

class ControlBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
        ASSERT_TRUE(toolbar.Create(&host));
        const UINT buttons[] = {kOpen, 0, kSave, kGrid};
        ASSERT_TRUE(toolbar.SetButtons(buttons, 4));
        ASSERT_TRUE(status.Create(&host));
        const UINT indicators[] = {0, kCaps};
        ASSERT_TRUE(status.SetIndicators(indicators, 2));
        ASSERT_TRUE(view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), &host, kPaneFirst));
        host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, kPaneFirst);
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

    CBarHost host;
    CToolBar toolbar;
    CStatusBar status;
    CWnd view;
};

TEST_F(ControlBars, BarsTakeTheEdgesAndTheViewTheRest)
{
    CRect client;
    host.GetClientRect(&client);
    const CRect bar = InHost(toolbar);
    const CRect line = InHost(status);
    const CRect rest = InHost(view);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, client.right) << "stretched across the frame";
    EXPECT_EQ(bar.Height(), toolbar.CalcFixedLayout(TRUE, TRUE).cy);
    EXPECT_GE(bar.Height(), 22) << "at least one button high";
    EXPECT_EQ(line.bottom, client.bottom);
    EXPECT_EQ(line.right, client.right);
    EXPECT_EQ(rest.top, bar.bottom);
    EXPECT_EQ(rest.bottom, line.top);
    EXPECT_EQ(rest.right, client.right);

    // Asked only, the free rectangle comes back and nothing moves.
    CRect free;
    toolbar.ShowWindow(SW_HIDE);
    host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, kPaneFirst, CWnd::reposQuery, &free);
    EXPECT_EQ(free.top, 0) << "a hidden bar takes nothing";
    EXPECT_EQ(free.bottom, line.top);
    EXPECT_EQ(InHost(view).top, bar.bottom);

    // The frame grows: the bars follow.
    toolbar.ShowWindow(SW_SHOW);
    host.SetWindowPos(nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    host.GetClientRect(&client);
    EXPECT_EQ(InHost(status).bottom, client.bottom);
    EXPECT_EQ(InHost(toolbar).right, client.right);
    EXPECT_EQ(InHost(view).top, InHost(toolbar).bottom);
}

TEST_F(ControlBars, StatusPanesLeaveRoomForTheirTexts)
{
    // The control puts a gap between neighbouring parts; the panes still
    // get their text's width plus the edges and insets around it.
    constexpr int kTextWidth = 40;
    constexpr int kEdgesAndInsets = 6;
    const UINT indicators[] = {0, kCaps, kCaps};
    ASSERT_TRUE(status.SetIndicators(indicators, 3));
    for (int i = 1; i < 3; ++i) {
        status.SetPaneInfo(i, kCaps, SBPS_NORMAL, kTextWidth);
    }
    for (int i = 1; i < 3; ++i) {
        SCOPED_TRACE(i);
        CRect pane;
        status.GetItemRect(i, &pane);
        EXPECT_GE(pane.Width(), kTextWidth + kEdgesAndInsets);
    }
}

TEST_F(ControlBars, IdleUpdateBringsItemsToTheirCommandsState)
{
    host.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    CToolBarCtrl& control = toolbar.GetToolBarCtrl();
    EXPECT_TRUE(control.IsButtonEnabled(static_cast<int>(kOpen)));
    EXPECT_FALSE(control.IsButtonEnabled(static_cast<int>(kSave))) << "no handler anywhere";
    EXPECT_TRUE(control.IsButtonEnabled(static_cast<int>(kGrid))) << "an update handler decides";
    EXPECT_TRUE(control.IsButtonChecked(static_cast<int>(kGrid)));
    EXPECT_STREQ(status.GetPaneText(1).GetString(), "CAPS");
    int type = 0;
    EXPECT_STREQ(status.GetStatusBarCtrl().GetText(1, &type).GetString(), "CAPS");

    host.m_gridOn = false;
    host.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(control.IsButtonChecked(static_cast<int>(kGrid)));

    // Items and their ids.
    EXPECT_EQ(toolbar.CommandToIndex(kSave), 2);
    EXPECT_EQ(toolbar.GetItemID(1), 0u) << "a separator";
    EXPECT_EQ(status.CommandToIndex(kCaps), 1);
    EXPECT_EQ(status.GetPaneStyle(0), SBPS_NOBORDERS | SBPS_STRETCH);
    EXPECT_TRUE(status.SetPaneText(0, "Ready"));
    EXPECT_STREQ(status.GetStatusBarCtrl().GetText(0).GetString(), "Ready");
    EXPECT_FALSE(status.SetPaneText(5, "none"));
}

TEST_F(ControlBars, ToolBarWrapsToTheLengthItIsGiven)
{
    const CSize row = toolbar.CalcFixedLayout(FALSE, TRUE);
    const CSize column = toolbar.CalcFixedLayout(FALSE, FALSE);
    CRect button;
    toolbar.GetItemRect(0, &button);
    EXPECT_GT(row.cx, column.cx);
    EXPECT_GT(column.cy, row.cy);
    // Room for two buttons in a floating bar: more than one row.
    const CSize wrapped = toolbar.CalcDynamicLayout(2 * button.Width() + 1, LM_HORZ);
    EXPECT_LT(wrapped.cx, row.cx);
    EXPECT_GE(wrapped.cy, 2 * button.Height());
    // Docked again: one row.
    EXPECT_EQ(toolbar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cy, row.cy);
}

} // namespace

namespace {

TEST(DialogBar, MadeFromATemplateItTakesItsSideAtItsOwnWidth)
{
    ResetWindowSystem();
    {
        CBarHost host;
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
        DialogTemplate form;
        form.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
        form.cx = 60;
        form.cy = 40;
        form.fontPointSize = 8;
        form.fontFace = "MS Shell Dlg";
        CDialogBar bar;
        ASSERT_TRUE(bar.CreateIndirect(&host, form, WS_CHILD | WS_VISIBLE | CBRS_LEFT, 0xE805));
        EXPECT_EQ(bar.GetDlgCtrlID(), 0xE805);
        EXPECT_EQ(::GetParent(bar.GetSafeHwnd()), host.GetSafeHwnd());
        EXPECT_EQ(bar.GetStyle() & (WS_POPUP | WS_CAPTION), 0u) << "a child without a frame";
        EXPECT_GT(bar.m_sizeDefault.cx, 60) << "dialog units become pixels";
        CWnd view;
        ASSERT_TRUE(view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), &host, kPaneFirst));
        host.RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, kPaneFirst);
        CRect client;
        host.GetClientRect(&client);
        CRect r;
        bar.GetWindowRect(&r);
        host.ScreenToClient(&r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.Width(), bar.m_sizeDefault.cx);
        EXPECT_EQ(r.Height(), client.Height()) << "stretched along its side";
        CRect rest;
        view.GetWindowRect(&rest);
        host.ScreenToClient(&rest);
        EXPECT_EQ(rest.left, r.right);
    }
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

} // namespace
