// What a docked pane bar with tabbed pages looks like: the gripper with its
// buttons, the sizing edge, the tabs at the bottom and a tree page with the
// items a features pane shows, compared with its reviewed picture.
#include <gtest/gtest.h>

#include "host/shell/controls/panel_tree.h"
#include "host/shell/tests/pane_bar_fixture.h"
#include "platform/controls/commctrl.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/docking.h"

namespace {

constexpr UINT kPaneFirst = CDockSite::kPaneFirst;

TEST(PaneBarPicture, ADockedBarWithTabbedPages)
{
    ResetWindowSystem();
    {
        DocumentFixture document;
        CDockSite site;
        ASSERT_TRUE(site.CreateEx(0, nullptr, "site", WS_POPUP | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr));
        CWnd view;
        ASSERT_TRUE(view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), &site, kPaneFirst));
        CDockingPaneBar bar(&document.document);
        bar.AddTabControl();
        bar.AddPage(Page("Features", kPageTree));
        bar.AddPage(Page("NC code", kPageText));
        bar.AddPage(Page("Parameters", kPageControlPanels));
        ASSERT_TRUE(bar.Create(&site, "Workshop", kPaneBarStyle, 0));
        bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP);
        AfxEnableDocking(&site, CBRS_ALIGN_ANY);
        ASSERT_TRUE(AfxDockControlBar(&site, &bar, AFX_IDW_DOCKBAR_LEFT));

        ITreeControl& tree = static_cast<CPanelTree*>(bar.Pages()[0].window.get())->ScriptingObject();
        HTREEITEM root = nullptr;
        HTREEITEM phase = nullptr;
        HTREEITEM feature = nullptr;
        tree.InsertItem("Milling 2.5D", TVI_ROOT, TVI_LAST, &root);
        tree.InsertItem("Phase 1", root, TVI_LAST, &phase);
        tree.InsertItem("Pocket 1", phase, TVI_LAST, &feature);
        tree.InsertItem("Contour 2", phase, TVI_LAST, nullptr);
        tree.Expand(root, TVE_EXPAND);
        tree.Expand(phase, TVE_EXPAND);
        tree.SetItemState(phase, TVIS_BOLD, TVIS_BOLD);
        site.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpUntilIdle();
        EXPECT_TRUE(MatchesReferencePicture(site.GetSafeHwnd(), "host/shell/tests/pictures/pane_bar_tabs.png"));
    }
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

} // namespace
