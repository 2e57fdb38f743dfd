// The common-control wrappers: a tree subclass that hears its own
// selection changes reflected, the owner's commands from a toolbar click,
// image lists owned and looked up by handle, status-bar texts and a
// tooltip on a whole child window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/framework/commonctrls.h"
#include "platform/user/inspect.h"

namespace {

using Log = std::vector<std::string>;

constexpr UINT kTreeId = 300;
constexpr UINT kBarId = 301;
constexpr UINT kStatusId = 302;
constexpr UINT kOpen = 57601;

class CommonControlWrappers : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowSystem(); }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        CImageList::DeleteTempMap();
        ResetWindowSystem();
    }
};

// A tree that keeps its own record of selection changes and lets the
// parent see right clicks.
class CFeatureTree : public CTreeCtrl {
public:
    explicit CFeatureTree(Log& log) : m_log(log) {}

protected:
    void OnSelChanged(NMHDR* header, LRESULT* result)
    {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
        m_log.push_back("tree selection " + std::string(nm->itemOld.hItem == nullptr ? "none" : "old") + " -> " +
                        GetItemText(nm->itemNew.hItem).GetString());
        *result = 0;
    }
    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFeatureTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
END_MESSAGE_MAP()

class COwnerWnd : public CWnd {
public:
    explicit COwnerWnd(Log& log) : m_log(log) {}

protected:
    void OnOpen() { m_log.push_back("owner OnOpen"); }
    void OnTreeSelChanged(NMHDR*, LRESULT*) { m_log.push_back("owner saw the selection"); }
    void OnToolTipText(UINT, NMHDR* header, LRESULT* result)
    {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        if ((info->uFlags & TTF_IDISHWND) != 0) {
            std::snprintf(info->szText, sizeof(info->szText), "window %d", ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
        }
        *result = 0;
    }
    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    ON_COMMAND(kOpen, OnOpen)
    ON_NOTIFY(TVN_SELCHANGEDA, kTreeId, OnTreeSelChanged)
    ON_NOTIFY_RANGE(TTN_NEEDTEXTA, 0, 0xFFFFFFFFu, OnToolTipText)
END_MESSAGE_MAP()

TEST_F(CommonControlWrappers, TreeHearsItsOwnSelectionReflected)
{
    Log log;
    COwnerWnd owner(log);
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CFeatureTree tree(log);
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, CRect(0, 0, 200, 150), &owner, kTreeId));
    HTREEITEM part = tree.InsertItem("Part");
    HTREEITEM pocket = tree.InsertItem("Pocket", part);
    tree.InsertItem("Contour", part);
    EXPECT_TRUE(tree.ItemHasChildren(part));
    EXPECT_TRUE(tree.Expand(part, TVE_EXPAND));
    EXPECT_EQ(tree.GetItemState(part, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(tree.GetChildItem(part), pocket);
    EXPECT_EQ(tree.GetParentItem(pocket), part);
    EXPECT_EQ(tree.GetCount(), 3u);

    EXPECT_TRUE(tree.SelectItem(pocket));
    EXPECT_EQ(log, (Log{"tree selection none -> Pocket"})) << "the reflected handler took it; the owner did not";
    EXPECT_EQ(tree.GetSelectedItem(), pocket);

    EXPECT_TRUE(tree.SetItemText(pocket, "Pocket 1"));
    EXPECT_STREQ(tree.GetItemText(pocket).GetString(), "Pocket 1");
    EXPECT_TRUE(tree.SetItemData(pocket, 77));
    EXPECT_EQ(tree.GetItemData(pocket), 77u);
    EXPECT_TRUE(tree.SetCheck(pocket, TRUE));
    EXPECT_TRUE(tree.GetCheck(pocket));
    EXPECT_TRUE(tree.SetCheck(pocket, FALSE));
    EXPECT_FALSE(tree.GetCheck(pocket));
    EXPECT_TRUE(tree.SetItemState(part, TVIS_BOLD, TVIS_BOLD));
    EXPECT_EQ(tree.GetItemState(part, TVIS_BOLD), TVIS_BOLD);

    CRect label;
    ASSERT_TRUE(tree.GetItemRect(part, &label, TRUE));
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(CPoint(label.left + 2, label.top + 2), &flags), part);
    EXPECT_EQ(flags, TVHT_ONITEMLABEL);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(CommonControlWrappers, ImageListsAreOwnedAndFoundByHandle)
{
    HIMAGELIST raw = nullptr;
    {
        CImageList images;
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
        CBitmap strip;
        ASSERT_TRUE(strip.CreateBitmap(48, 16, 1, 32, nullptr));
        EXPECT_EQ(images.Add(&strip, RGB(255, 0, 255)), 0);
        EXPECT_EQ(images.GetImageCount(), 3);
        raw = images.GetSafeHandle();
        EXPECT_EQ(CImageList::FromHandle(raw), &images);

        Log log;
        COwnerWnd owner(log);
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        CTreeCtrl tree;
        ASSERT_TRUE(tree.Create(0, CRect(0, 0, 100, 100), &owner, kTreeId));
        EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
        EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);
        tree.DestroyWindow();
    }
    EXPECT_EQ(ImageList_GetImageCount(raw), 0) << "the wrapper destroyed its list";
    int cx = 0;
    int cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(raw, &cx, &cy));

    // A list nobody attached gets a temporary wrapper that leaves it alone.
    HIMAGELIST foreign = ImageList_Create(8, 8, ILC_COLOR, 0, 0);
    CImageList* temporary = CImageList::FromHandle(foreign);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CImageList::FromHandlePermanent(foreign), nullptr);
    CImageList::DeleteTempMap();
    EXPECT_TRUE(ImageList_Destroy(foreign));
}

TEST_F(CommonControlWrappers, ToolbarClickReachesTheOwnersCommandHandler)
{
    Log log;
    COwnerWnd owner(log);
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    CToolBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE | TBSTYLE_FLAT, CRect(0, 0, 0, 0), &owner, kBarId));
    const TBBUTTON buttons[] = {{0, static_cast<int>(kOpen), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1}};
    ASSERT_TRUE(bar.AddButtons(1, buttons));
    bar.AutoSize();
    EXPECT_EQ(bar.GetButtonCount(), 1);
    EXPECT_EQ(bar.GetButtonSize().cx, 23);
    CRect r;
    ASSERT_TRUE(bar.GetItemRect(0, &r));
    POINT centre = r.CenterPoint();
    bar.ClientToScreen(&centre);
    HeadlessClick(centre);
    PumpUntilIdle();
    EXPECT_EQ(log, (Log{"owner OnOpen"}));
    EXPECT_TRUE(bar.EnableButton(static_cast<int>(kOpen), FALSE));
    EXPECT_FALSE(bar.IsButtonEnabled(static_cast<int>(kOpen)));
}

TEST_F(CommonControlWrappers, StatusBarTextsAndTooltipOnAWholeWindow)
{
    Log log;
    COwnerWnd owner(log);
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    CStatusBarCtrl status;
    ASSERT_TRUE(status.Create(WS_VISIBLE, CRect(0, 0, 0, 0), &owner, kStatusId));
    const int edges[] = {120, -1};
    ASSERT_TRUE(status.SetParts(2, edges));
    ASSERT_TRUE(status.SetText("X 12.500", 1, SBT_POPOUT));
    int type = 0;
    EXPECT_STREQ(status.GetText(1, &type).GetString(), "X 12.500");
    EXPECT_EQ(type, static_cast<int>(SBT_POPOUT));
    int horizontal = -1;
    int vertical = -1;
    int spacing = -1;
    EXPECT_TRUE(status.GetBorders(horizontal, vertical, spacing));
    EXPECT_EQ(spacing, 2);

    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(10, 10, 110, 60), &owner, 9));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&owner, TTS_ALWAYSTIP));
    ASSERT_TRUE(tips.AddTool(&child));
    EXPECT_EQ(tips.GetToolCount(), 1);
    POINT inside{30, 20};
    child.ClientToScreen(&inside);
    InjectMouseMove(inside);
    PumpUntilIdle();
    AdvanceWindowSystemTime(static_cast<DWORD>(tips.GetDelayTime(TTDT_INITIAL)));
    PumpUntilIdle();
    EXPECT_TRUE(tips.IsWindowVisible());
    CString text;
    tips.GetWindowText(text);
    EXPECT_STREQ(text.GetString(), "window 9");
    tips.Pop();
    EXPECT_FALSE(tips.IsWindowVisible());
}

} // namespace
