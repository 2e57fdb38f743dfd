// Up-down controls: steps asked of the parent with UDN_DELTAPOS and
// reported as scroll messages, the buddy showing the position, ranges,
// wrapping, bases and the arrow keys of the buddy.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

class UpDownTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        buddy = Make("Edit", "", ES_AUTOHSCROLL, {10, 10, 110, 32}, 50);
        spin = Make("msctls_updown32", "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_AUTOBUDDY,
                    {0, 0, 16, 22}, 51);
    }
    void ClickArrow(bool up)
    {
        RECT rc{};
        GetClientRect(spin, &rc);
        ClickAt(spin, rc.right / 2, up ? 2 : rc.bottom - 3);
    }
    HWND buddy = nullptr;
    HWND spin = nullptr;
};

TEST_F(UpDownTest, AutoBuddyTakesThePreviousSiblingAndSitsAtItsRight)
{
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)), buddy);
    RECT b{};
    RECT s{};
    GetWindowRect(buddy, &b);
    GetWindowRect(spin, &s);
    EXPECT_EQ(s.left, b.right);
    EXPECT_EQ(s.top, b.top);
    EXPECT_EQ(s.bottom, b.bottom);
    EXPECT_EQ(s.right - b.left, 100) << "the pair keeps the buddy's old width";
}

TEST_F(UpDownTest, ArrowClickAsksThenReportsTheNewPosition)
{
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 4);
    EXPECT_EQ(TextOf(buddy), "4");
    Clear();
    ClickArrow(true);
    EXPECT_TRUE(Heard({WM_NOTIFY, WM_VSCROLL}, {DeltaPos(51, 4, 1), Scroll(WM_VSCROLL, SB_THUMBPOSITION, 5),
                                                Scroll(WM_VSCROLL, SB_ENDSCROLL)}));
    EXPECT_EQ(TextOf(buddy), "5");
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 5);
    ClickArrow(false);
    ClickArrow(false);
    EXPECT_EQ(TextOf(buddy), "3");
}

TEST_F(UpDownTest, TheParentMayRefuseAStep)
{
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 4);
    notifyAnswer = [](const NMHDR& hdr) -> LRESULT { return hdr.code == UDN_DELTAPOS ? 1 : 0; };
    Clear();
    ClickArrow(true);
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 4);
    EXPECT_EQ(TextOf(buddy), "4");
    EXPECT_TRUE(Heard({WM_NOTIFY, WM_VSCROLL}, {DeltaPos(51, 4, 1), Scroll(WM_VSCROLL, SB_ENDSCROLL)}));
}

TEST_F(UpDownTest, EndsOfTheRangeStopOrWrap)
{
    struct Case {
        const char* name;
        DWORD style;
        int lower;
        int upper;
        int start;
        bool up;
        int expected;
    };
    const Case cases[] = {
        {"stops_at_the_top", 0, 0, 5, 5, true, 5},
        {"wraps_to_the_bottom", UDS_WRAP, 0, 5, 5, true, 0},
        {"wraps_to_the_top", UDS_WRAP, 0, 5, 0, false, 5},
        {"reversed_range_up_lowers", 0, 100, 0, 50, true, 49},
        {"thirty_two_bits", 0, -100000, 100000, 99999, true, 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND alone = Make("msctls_updown32", "", c.style, {200, 10, 216, 40}, 60);
        SendMessageA(alone, UDM_SETRANGE32, static_cast<WPARAM>(c.lower), c.upper);
        SendMessageA(alone, UDM_SETPOS32, 0, c.start);
        ClickAt(alone, 8, c.up ? 2 : 27);
        EXPECT_EQ(SendMessageA(alone, UDM_GETPOS32, 0, 0), c.expected);
        DestroyWindow(alone);
    }
    // The classic default range runs from 100 down to 0.
    HWND fresh = Make("msctls_updown32", "", 0, {200, 10, 216, 40}, 61);
    EXPECT_EQ(SendMessageA(fresh, UDM_GETRANGE, 0, 0), MAKELRESULT(0, 100));
    int lower = 0;
    int upper = 0;
    SendMessageA(fresh, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);
}

TEST_F(UpDownTest, PositionReadsTheBuddyAndReportsBadText)
{
    SendMessageA(spin, UDM_SETRANGE32, 0, 5000);
    SendMessageA(spin, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(TextOf(buddy), "1,234");
    SetWindowTextA(buddy, "77");
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS, 0, 0), MAKELRESULT(77, 0));
    SetWindowTextA(buddy, "abc");
    EXPECT_NE(HIWORD(SendMessageA(spin, UDM_GETPOS, 0, 0)), 0);
    BOOL error = FALSE;
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 77);
    EXPECT_TRUE(error);

    EXPECT_EQ(SendMessageA(spin, UDM_SETBASE, 8, 0), 0) << "only 10 and 16";
    EXPECT_EQ(SendMessageA(spin, UDM_SETBASE, 16, 0), 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 255);
    EXPECT_EQ(TextOf(buddy), "0xFF");
    EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 255);
}

TEST_F(UpDownTest, ArrowKeysInTheBuddyStep)
{
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 2);
    Clear();
    PressKeys(buddy, {VK_UP});
    PressKeys(buddy, {VK_UP});
    EXPECT_EQ(TextOf(buddy), "4");
    const auto notes = HeardOf({WM_NOTIFY});
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_TRUE(recorder.Fits(DeltaPos(51, 3, 1), notes[1]));
    // The buddy is let go when the up-down goes.
    DestroyWindow(spin);
    PressKeys(buddy, {VK_UP});
    EXPECT_EQ(TextOf(buddy), "4");
}

} // namespace
} // namespace nuvex::controls::testing
