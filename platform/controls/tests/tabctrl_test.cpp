// The tab control: tabs switched by clicks and keys with the parent's
// say, the display area from TCM_ADJUSTRECT (tabs on top and at the
// bottom), and the bookkeeping of items and the selection.
#include "platform/controls/tests/control_test_support.h"

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr int kTabId = 200;

class TabControl : public ControlTest {
protected:
    HWND MakeTabs(DWORD style, std::initializer_list<const char*> names)
    {
        HWND tabs = MakeControl(WC_TABCONTROLA, style, {10, 10, 310, 210}, kTabId);
        int i = 0;
        for (const char* name : names) {
            TCITEMA item{};
            item.mask = TCIF_TEXT | TCIF_PARAM;
            item.pszText = const_cast<char*>(name);
            item.lParam = 1000 + i;
            EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)), i);
            ++i;
        }
        Clear();
        return tabs;
    }
    POINT TabCentre(HWND tabs, int index)
    {
        RECT r{};
        EXPECT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static Expect Note(UINT code) { return Notify(kTabId, code); }
};

TEST_F(TabControl, ClickSwitchesTabsWithTheParentsConsent)
{
    HWND tabs = MakeTabs(0, {"Milling", "Drilling", "Turning"});
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0) << "the first tab starts selected";
    Click(tabs, TabCentre(tabs, 2));
    EXPECT_TRUE(SameHeard({Note(TCN_SELCHANGING), Note(TCN_SELCHANGE), Note(NM_CLICK)}));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetFocus(), tabs);

    // Clicking the selected tab changes nothing.
    Clear();
    Click(tabs, TabCentre(tabs, 2));
    EXPECT_TRUE(SameHeard({Note(NM_CLICK)}));

    // The parent refuses to leave the page.
    answer = [](NMHDR* header) -> std::optional<LRESULT> {
        return header->code == TCN_SELCHANGING ? std::optional<LRESULT>(TRUE) : std::nullopt;
    };
    Clear();
    Click(tabs, TabCentre(tabs, 0));
    EXPECT_TRUE(SameHeard({Note(TCN_SELCHANGING), Note(NM_CLICK)}));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);

    // Keys move to the neighbouring tab.
    answer = nullptr;
    Clear();
    HeadlessPressKeys({VK_LEFT});
    PumpUntilIdle();
    EXPECT_TRUE(SameHeard({Note(TCN_KEYDOWN), Note(TCN_SELCHANGING), Note(TCN_SELCHANGE)}));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(TabControl, SetCurSelIsSilentAndChecksTheIndex)
{
    HWND tabs = MakeTabs(0, {"A", "B"});
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0), -1);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(TabControl, DisplayAreaLiesInsideAndAwayFromTheTabs)
{
    struct AdjustCase {
        const char* name;
        DWORD style;
    };
    const AdjustCase cases[] = {{"tabs_on_top", 0}, {"tabs_at_the_bottom", TCS_BOTTOM}};
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND tabs = MakeTabs(c.style, {"One", "Two"});
        RECT window{};
        GetClientRect(tabs, &window);
        RECT display = window;
        SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        RECT tab{};
        SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        EXPECT_GT(display.left, window.left);
        EXPECT_LT(display.right, window.right);
        if (c.style & TCS_BOTTOM) {
            EXPECT_GT(tab.top, window.bottom / 2) << "tabs sit at the bottom";
            EXPECT_LE(display.bottom, tab.top);
            EXPECT_GT(display.top, window.top);
        } else {
            EXPECT_LT(tab.bottom, window.bottom / 2);
            EXPECT_GE(display.top, tab.bottom);
            EXPECT_LT(display.bottom, window.bottom);
        }
        // Larger gives back the window rectangle.
        RECT back = display;
        SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
        EXPECT_TRUE(EqualRect(&back, &window));
        DestroyWindow(tabs);
    }
}

TEST_F(TabControl, ItemsAndSelectionFollowInsertAndDelete)
{
    HWND tabs = MakeTabs(0, {"A", "B", "C"});
    SendMessageA(tabs, TCM_SETCURSEL, 2, 0);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("First");
    EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3) << "the selection stays on its tab";
    EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&item)), 4) << "past the end appends";
    EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item)), -1);
    EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 2, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1) << "deleting the selected tab leaves none";
    EXPECT_FALSE(SendMessageA(tabs, TCM_DELETEITEM, 7, 0));

    char buffer[8] = "#######";
    TCITEMA get{};
    get.mask = TCIF_TEXT | TCIF_PARAM;
    get.pszText = buffer;
    get.cchTextMax = 3;
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&get)));
    EXPECT_STREQ(buffer, "B");
    EXPECT_EQ(get.lParam, 1001);
    get.cchTextMax = 4;
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_STREQ(buffer, "Fir") << "cut to the buffer";
    EXPECT_EQ(buffer[4], '#');

    TCHITTESTINFO hit{TabCentre(tabs, 1), 0};
    EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, TCHT_ONITEMLABEL);
    hit.pt = POINT{150, 150};
    EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, TCHT_NOWHERE);
    EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
}

} // namespace
} // namespace nuvex::controls::commontesting
