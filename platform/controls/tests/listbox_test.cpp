// List boxes: items and their order, finding, single, multiple and extended
// selection by mouse and keyboard, owner-drawn items and scrolling.
#include "platform/controls/tests/control_test.h"

#include <vector>

namespace nuvex::controls::testing {
namespace {

class ListBoxTest : public ControlTest {
protected:
    HWND MakeList(DWORD style, std::initializer_list<const char*> items, int id = 3)
    {
        HWND list = Make("ListBox", "", style, {10, 10, 160, 170}, id);
        for (const char* item : items) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        return list;
    }
    std::vector<int> Selected(HWND list)
    {
        std::vector<int> out(static_cast<size_t>(SendMessageA(list, LB_GETCOUNT, 0, 0)));
        const LRESULT n = SendMessageA(list, LB_GETSELITEMS, out.size(), reinterpret_cast<LPARAM>(out.data()));
        out.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return out;
    }
    std::string Item(HWND list, int index)
    {
        char buffer[64] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    // The client point in the middle of item `index`.
    void ClickItem(HWND list, int index, std::initializer_list<int> keys = {})
    {
        RECT rc{};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
        ClickAt(list, 20, (rc.top + rc.bottom) / 2, keys);
    }
};

TEST_F(ListBoxTest, SortedInsertionIgnoresCaseAndKeepsEqualTextsInOrder)
{
    HWND list = MakeList(LBS_SORT | LBS_NOTIFY, {"delta", "Alpha", "charlie", "bravo", "alpha"});
    const char* expected[] = {"Alpha", "alpha", "bravo", "charlie", "delta"};
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Item(list, i), expected[i]);
    }
    // Insertion at a position does not sort; -1 appends.
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zulu")), 0);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("end")), 6);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 6);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 6, 0), LB_ERR);
}

TEST_F(ListBoxTest, FindingWrapsAroundFromAfterTheStart)
{
    HWND list = MakeList(0, {"apple", "banana", "apricot", "cherry"});
    struct Case {
        const char* name;
        UINT message;
        intptr_t start;
        const char* text;
        LRESULT found;
    };
    const Case cases[] = {
        {"prefix_from_top", LB_FINDSTRING, -1, "ap", 0},
        {"prefix_after_first", LB_FINDSTRING, 0, "AP", 2},
        {"prefix_wraps", LB_FINDSTRING, 2, "ap", 0},
        {"exact_needs_whole_text", LB_FINDSTRINGEXACT, -1, "apr", LB_ERR},
        {"exact_ignores_case", LB_FINDSTRINGEXACT, -1, "CHERRY", 3},
        {"missing", LB_FINDSTRING, -1, "kiwi", LB_ERR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageA(list, c.message, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)), c.found);
    }
    EXPECT_EQ(SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b")), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ListBoxTest, SingleSelectionByClicksAndKeys)
{
    HWND list = MakeList(LBS_NOTIFY, {"one", "two", "three", "four"});
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    ClickItem(list, 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(3, LBN_SETFOCUS), Command(3, LBN_SELCHANGE)}));
    Clear();
    PressKeys(list, {VK_DOWN});
    PressKeys(list, {VK_DOWN});
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(3, LBN_SELCHANGE)})) << "the end stops it";
    Clear();
    Type(list, "t");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "typing a letter finds the next item starting with it";
    // The programmatic selection tells no one; -1 clears and answers LB_ERR.
    Clear();
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(Heard({WM_COMMAND}, {}));
    // The selection messages of the multiple styles are refused.
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 1), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndCtrl)
{
    HWND list = MakeList(LBS_NOTIFY | LBS_EXTENDEDSEL, {"a", "b", "c", "d", "e", "f"});
    ClickItem(list, 1);
    ClickItem(list, 3, {VK_SHIFT});
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 2, 3}));
    ClickItem(list, 5, {VK_CONTROL});
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(SendMessageA(list, LB_GETANCHORINDEX, 0, 0), 5);
    ClickItem(list, 2, {VK_CONTROL});
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3, 5})) << "Ctrl toggles";
    // Shift with the anchor at 2 now: the range replaces the selection.
    ClickItem(list, 0, {VK_SHIFT});
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 2}));
    ClickItem(list, 4);
    EXPECT_EQ(Selected(list), (std::vector<int>{4}));
    PressKeys(list, {VK_SHIFT, VK_DOWN});
    EXPECT_EQ(Selected(list), (std::vector<int>{4, 5}));
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 5);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 2);

    SendMessageA(list, LB_SELITEMRANGEEX, 0, 2);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 2, 4, 5}));
    SendMessageA(list, LB_SELITEMRANGEEX, 5, 4);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 2})) << "a reversed range deselects";
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    EXPECT_TRUE(Selected(list).empty());
    EXPECT_EQ(SendMessageA(list, LB_GETSEL, 9, 0), LB_ERR);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesWithClicksAndSpace)
{
    HWND list = MakeList(LBS_MULTIPLESEL, {"a", "b", "c"});
    ClickItem(list, 0);
    ClickItem(list, 2);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 2}));
    ClickItem(list, 0);
    EXPECT_EQ(Selected(list), (std::vector<int>{2}));
    PressKeys(list, {VK_DOWN});
    PressKeys(list, {VK_SPACE});
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 2}));
}

TEST_F(ListBoxTest, OwnerDrawnFixedItemsAreMeasuredOnceAndDrawnByTheParent)
{
    measuredHeight = 20;
    HWND list = Make("ListBox", "", LBS_OWNERDRAWFIXED | LBS_NOTIFY, {10, 10, 160, 70}, 8);
    SendMessageA(list, LB_ADDSTRING, 0, 101);
    SendMessageA(list, LB_ADDSTRING, 0, 102);
    SendMessageA(list, LB_ADDSTRING, 0, 103);
    SendMessageA(list, LB_ADDSTRING, 0, 104);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(HeardOf({WM_MEASUREITEM}).size(), 1u);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), 103);
    Clear();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // 60 pixels show items 0 to 2 (and the edge of none else).
    EXPECT_TRUE(Heard({WM_DRAWITEM}, {DrawItem(8, 0, ODA_DRAWENTIRE, 0),
                                      DrawItem(8, 1, ODA_DRAWENTIRE, 0),
                                      DrawItem(8, 2, ODA_DRAWENTIRE, 0)}));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    Clear();
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_TRUE(Heard({WM_DRAWITEM}, {DrawItem(8, 1, ODA_SELECT, 0),
                                      DrawItem(8, 2, ODA_SELECT, ODS_SELECTED)}));
}

TEST_F(ListBoxTest, DeletingItemsKeepsTheSelectionOnTheSameItem)
{
    HWND list = MakeList(0, {"a", "b", "c", "d"});
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    SendMessageA(list, LB_DELETESTRING, 1, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>("")), LB_ERR);
}

TEST_F(ListBoxTest, TopIndexScrollsAndTheScrollBarFollows)
{
    HWND list = Make("ListBox", "", WS_VSCROLL, {10, 10, 160, 70}, 2);
    for (int i = 0; i < 30; ++i) {
        const std::string text = "item " + std::to_string(i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 10, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 10);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 10);
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 40, 0), LB_ERR);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0) << "the selection scrolls into view";
    SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    // With every item showing, the bar goes.
    HWND shortList = MakeList(WS_VSCROLL, {"a", "b"}, 4);
    EXPECT_EQ(GetWindowLongPtrA(shortList, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(ListBoxTest, ItsOwnBarScrollsItAsThePersonClicksAndDrags)
{
    HWND list = Make("ListBox", "", WS_VSCROLL, {10, 10, 160, 70}, 2);
    for (int i = 0; i < 30; ++i) {
        const std::string text = "item " + std::to_string(i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    RECT frame{};
    GetWindowRect(list, &frame);
    const int barX = frame.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
    HeadlessClick(POINT{barX, frame.bottom - 4}); // the down arrow
    PumpUntilIdle();
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);

    // The thumb, just below the up arrow, dragged to the bottom reaches the
    // last page.
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    HeadlessDrag(POINT{barX, frame.top + arrow + 2}, POINT{barX, frame.bottom + 40}, 4);
    PumpUntilIdle();
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), info.nPos);
}

} // namespace
} // namespace nuvex::controls::testing
