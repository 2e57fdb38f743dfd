// The pane group dialog: the windows and handler objects of its tree and
// text pages, which page shows, a group without tabs, and the scrolling
// area that control-panel pages share.
#include <gtest/gtest.h>

#include "host/shell/controls/panel_tree.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/tests/pane_bar_fixture.h"
#include "platform/controls/commctrl.h"
#include "platform/user/scroll.h"

namespace {

constexpr GUID kPaneClass = {0x9a9e0001, 0x1234, 0x5678, {1, 1, 2, 3, 5, 8, 13, 21}};

class PaneGroupDialogTest : public ::testing::Test {
protected:
    PaneBarFixture pane;
    std::vector<std::string> log;
};

TEST_F(PaneGroupDialogTest, TreeAndTextPagesGetTheirWindowsAndTheAddinsPaneObjects)
{
    TestServices& services = pane.fixture.services;
    services.commands.push_back(Command(0, 500, kPaneClass));
    std::vector<RecordingCommand*> made;
    services.addinFactory.maker = [&](const IID& iid) -> IUnknown* {
        if (iid != kPaneClass) {
            return nullptr;
        }
        made.push_back(new RecordingCommand(log));
        return static_cast<IAddinCommand*>(made.back());
    };
    pane.Build({Page("Features", kPageTree, 0), Page("NC code", kPageText, 0), Page("Both bits", kPageTree | kPageText),
                Page("Parameters", kPageControlPanels | kPageTree, 0)});
    const std::vector<PanePage>& pages = pane.Dialog().Pages();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_NE(dynamic_cast<CPanelTree*>(pages[0].window.get()), nullptr);
    EXPECT_NE(dynamic_cast<CRichEditLineCtrl*>(pages[1].window.get()), nullptr);
    // The tree bit wins over the text bit; the control-panel bit over both.
    EXPECT_NE(dynamic_cast<CPanelTree*>(pages[2].window.get()), nullptr);
    EXPECT_EQ(pages[3].window, nullptr);
    // Pages with a command have the add-in's object; the tree's owner is it.
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(pages[0].handler.Get(), static_cast<IAddinCommand*>(made[0]));
    EXPECT_EQ(pages[1].handler.Get(), static_cast<IAddinCommand*>(made[1]));
    EXPECT_EQ(pages[2].handler.Get(), nullptr);
    EXPECT_EQ(pages[3].handler.Get(), nullptr);
    EXPECT_EQ(static_cast<CPanelTree*>(pages[0].window.get())->GetOwner(), pages[0].handler.Get());
    EXPECT_EQ(pages[0].itemObject, static_cast<IUnknown*>(static_cast<IControlBase*>(
                                       &static_cast<CPanelTree*>(pages[0].window.get())->ScriptingObject())));
    EXPECT_EQ(pane.Dialog().TabControl()->GetItemCount(), 4);

    // The first page shows; the viewport waits for a control-panel page.
    EXPECT_EQ(pane.Dialog().SelectedPage(), 0);
    EXPECT_TRUE(pages[0].window->IsWindowVisible());
    EXPECT_FALSE(pages[1].window->IsWindowVisible());
    EXPECT_FALSE(pane.Dialog().TabControl()->Viewport().IsWindowVisible());

    // A click on a tab selects its page.
    CScrollTabCtrl& tabs = *pane.Dialog().TabControl();
    tabs.SetCurSel(1);
    NMHDR header{tabs.m_hWnd, 1, static_cast<UINT>(TCN_SELCHANGE)};
    pane.Dialog().SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(pane.Dialog().SelectedPage(), 1);
    EXPECT_TRUE(pages[1].window->IsWindowVisible());
    EXPECT_FALSE(pages[0].window->IsWindowVisible());
    // Control-panel pages only hold panels.
    EXPECT_EQ(pane.Dialog().CreateControlPanel(0), nullptr);
    EXPECT_NE(pane.Dialog().CreateControlPanel(3), nullptr);
    EXPECT_EQ(pane.Dialog().CreateControlPanel(4), nullptr);
}

TEST_F(PaneGroupDialogTest, AGroupWithoutTabsShowsNoPagesAndTakesNoPanels)
{
    pane.Build({Page("Parameters", kPageControlPanels)}, false);
    EXPECT_EQ(pane.bar->TabControl(), nullptr);
    EXPECT_EQ(pane.Dialog().SelectedPage(), -1);
    EXPECT_EQ(pane.Dialog().CreateControlPanel(0), nullptr);
    EXPECT_NE(pane.Dialog().GetSafeHwnd(), nullptr);
}

class PageScrollingTest : public PaneGroupDialogTest {
protected:
    void SetUp() override
    {
        pane.Build({Page("Parameters", kPageControlPanels)});
        tabs = pane.Dialog().TabControl();
        area = tabs->DisplayArea();
        area.right -= 2;
        area.bottom -= 2;
    }
    void PageSize(int width, int height)
    {
        tabs->PageDialog().SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        tabs->RecalcLayout();
    }
    CRect PageRect()
    {
        CRect rect;
        tabs->PageDialog().GetWindowRect(&rect);
        tabs->Viewport().ScreenToClient(&rect);
        return rect;
    }
    CScrollTabCtrl* tabs = nullptr;
    CRect area;
};

TEST_F(PageScrollingTest, ScrollBarsAppearOnlyForAPageLargerThanTheViewport)
{
    struct Case {
        const char* name;
        int width;
        int height;
        bool vertical;
        bool horizontal;
    };
    const Case cases[] = {
        {"exactly the viewport", area.Width(), area.Height(), false, false},
        {"one pixel taller", area.Width() - 20, area.Height() + 1, true, false},
        {"taller, and then wider than the narrowed viewport", area.Width() - 10, area.Height() + 1, true, true},
        {"wider, and then taller than the lowered viewport", area.Width() + 1, area.Height() - 10, true, true},
        {"wider only", area.Width() + 1, area.Height() - 20, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageSize(c.width, c.height);
        EXPECT_EQ(tabs->Vertical().shown, c.vertical);
        EXPECT_EQ(tabs->Horizontal().shown, c.horizontal);
        EXPECT_EQ(tabs->VerticalBar().IsWindowVisible() != FALSE, c.vertical);
        EXPECT_EQ(tabs->HorizontalBar().IsWindowVisible() != FALSE, c.horizontal);
        CRect viewport;
        tabs->Viewport().GetWindowRect(&viewport);
        EXPECT_EQ(viewport.Width(), area.Width() - (c.vertical ? kPageScrollBarSpace : 0));
        EXPECT_EQ(viewport.Height(), area.Height() - (c.horizontal ? kPageScrollBarSpace : 0));
    }
}

TEST_F(PageScrollingTest, ScrollingStaysWithinThePageAndThumbTrackingOnlyMovesIt)
{
    PageSize(area.Width() - 30, area.Height() * 3);
    const ScrollAxis& axis = tabs->Vertical();
    ASSERT_TRUE(axis.shown);
    const int last = axis.maximum - axis.page;
    tabs->Scroll(true, SB_LINEDOWN, 0);
    EXPECT_EQ(tabs->VerticalBar().GetScrollPos(), 5);
    EXPECT_EQ(PageRect().top, -5);
    tabs->Scroll(true, SB_BOTTOM, 0);
    EXPECT_EQ(PageRect().top, -last);
    tabs->Scroll(true, SB_LINEDOWN, 0);
    EXPECT_EQ(PageRect().top, -last);
    tabs->Scroll(true, SB_PAGEUP, 0);
    EXPECT_EQ(PageRect().top, -(last - axis.page > 0 ? last - axis.page : 0));
    tabs->Scroll(true, SB_TOP, 0);
    tabs->Scroll(true, SB_LINEUP, 0);
    EXPECT_EQ(PageRect().top, 0);

    tabs->Scroll(true, SB_THUMBTRACK, 40);
    EXPECT_EQ(PageRect().top, -40);
    EXPECT_EQ(tabs->VerticalBar().GetScrollPos(), 0);
    tabs->Scroll(true, SB_THUMBPOSITION, 40);
    EXPECT_EQ(PageRect().top, -40);
    EXPECT_EQ(tabs->VerticalBar().GetScrollPos(), 40);
    // The bar's own messages arrive the same way.
    tabs->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), reinterpret_cast<LPARAM>(tabs->VerticalBar().m_hWnd));
    EXPECT_EQ(PageRect().top, 0);
}

} // namespace
