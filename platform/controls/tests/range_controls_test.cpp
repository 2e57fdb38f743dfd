// Trackbars and progress bars: ranges and positions, the trackbar moved
// by keys, clicks and drags with its scroll messages, and the bar's look.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

using TrackbarTest = ControlTest;
using ProgressTest = ControlTest;

TEST_F(TrackbarTest, RangeAndPositionStayConsistent)
{
    HWND track = Make("msctls_trackbar32", "", TBS_NOTICKS, {10, 10, 210, 40}, 1);
    EXPECT_EQ(SendMessageA(track, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(track, TBM_GETRANGEMAX, 0, 0), 100);
    SendMessageA(track, TBM_SETPOS, TRUE, 150);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 100);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(10, 20));
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 20);
    SendMessageA(track, TBM_SETRANGEMAX, TRUE, 15);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 15);
    SendMessageA(track, TBM_SETRANGEMIN, TRUE, -5);
    SendMessageA(track, TBM_SETPOS, TRUE, -9);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), -5);
    EXPECT_EQ(SendMessageA(track, TBM_GETNUMTICS, 0, 0), 0) << "no ticks shown";
    EXPECT_EQ(SendMessageA(track, TBM_SETPAGESIZE, 0, 5), 20);
    EXPECT_EQ(SendMessageA(track, TBM_GETPAGESIZE, 0, 0), 5);
}

TEST_F(TrackbarTest, KeysAndClicksMoveAndTellTheParent)
{
    HWND track = Make("msctls_trackbar32", "", 0, {10, 10, 210, 40}, 1);
    SendMessageA(track, TBM_SETPOS, TRUE, 50);
    PressKeys(track, {VK_RIGHT});
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 51);
    EXPECT_TRUE(Heard({WM_HSCROLL}, {Scroll(WM_HSCROLL, TB_LINEDOWN), Scroll(WM_HSCROLL, TB_ENDTRACK)}));
    Clear();
    PressKeys(track, {VK_END});
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 100);
    Clear();
    // A click on the channel left of the thumb pages down toward the minimum.
    ClickAt(track, 12, 10);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 80);
    EXPECT_TRUE(Heard({WM_HSCROLL}, {Scroll(WM_HSCROLL, TB_PAGEUP), Scroll(WM_HSCROLL, TB_ENDTRACK)}));
}

TEST_F(TrackbarTest, DraggingTheThumbTracksEveryPosition)
{
    HWND track = Make("msctls_trackbar32", "", TBS_VERT, {10, 10, 40, 210}, 1);
    RECT thumb{};
    SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT grip{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    DragAt(track, grip, {grip.x, grip.y + 500}, 4);
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 100);
    const auto scrolls = HeardOf({WM_VSCROLL});
    ASSERT_GE(scrolls.size(), 3u) << HostLog();
    EXPECT_EQ(scrolls.front().DetailOf("code"), TB_THUMBTRACK);
    EXPECT_TRUE(recorder.Fits(Scroll(WM_VSCROLL, TB_THUMBPOSITION, 100), scrolls[scrolls.size() - 2]));
    EXPECT_TRUE(recorder.Fits(Scroll(WM_VSCROLL, TB_ENDTRACK), scrolls.back()));
}

TEST_F(ProgressTest, RangePositionAndSteps)
{
    HWND bar = Make("msctls_progress32", "", PBS_SMOOTH, {10, 10, 210, 30}, 1);
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
        int posAfter;
    };
    const Case cases[] = {
        {"set_pos_answers_previous", PBM_SETPOS, 30, 0, 0, 30},
        {"delta_answers_previous", PBM_DELTAPOS, 15, 0, 30, 45},
        {"set_pos_clamps", PBM_SETPOS, 500, 0, 45, 100},
        {"range_answers_previous_range", PBM_SETRANGE, 0, MAKELPARAM(0, 50), MAKELRESULT(0, 100), 50},
        {"range32_takes_wide_values", PBM_SETRANGE32, 0, 1000, MAKELRESULT(0, 50), 50},
        {"step_answers_previous_step", PBM_SETSTEP, 400, 0, 10, 50},
        {"step_it", PBM_STEPIT, 0, 0, 50, 450},
        {"step_it_past_the_end_starts_over", PBM_STEPIT, 0, 0, 450, 850},
        {"and_again", PBM_STEPIT, 0, 0, 850, 250},
        {"negative_delta", PBM_DELTAPOS, static_cast<WPARAM>(-300), 0, 250, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageA(bar, c.message, c.wParam, c.lParam), c.answer);
        EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), c.posAfter);
    }
    PBRANGE range{};
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 1000);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 1000);
}

TEST_F(ProgressTest, BarFillsItsShareOfTheField)
{
    HWND smooth = Make("msctls_progress32", "", PBS_SMOOTH, {10, 10, 210, 30}, 1);
    SendMessageA(smooth, PBM_SETPOS, 50, 0);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(PixelAt(smooth, 50, 10), highlight);
    EXPECT_EQ(PixelAt(smooth, 150, 10), GetSysColor(COLOR_BTNFACE));
    SendMessageA(smooth, PBM_SETBARCOLOR, 0, RGB(0, 128, 0));
    EXPECT_EQ(PixelAt(smooth, 50, 10), RGB(0, 128, 0));

    // Blocks leave gaps between them.
    HWND blocks = Make("msctls_progress32", "", 0, {10, 40, 210, 60}, 2);
    SendMessageA(blocks, PBM_SETPOS, 100, 0);
    int gaps = 0;
    for (int x = 3; x < 195; ++x) {
        gaps += PixelAt(blocks, x, 10) != highlight ? 1 : 0;
    }
    EXPECT_GT(gaps, 10);

    // An empty range draws nothing and breaks nothing.
    SendMessageA(blocks, PBM_SETRANGE32, 5, 5);
    EXPECT_EQ(SendMessageA(blocks, PBM_GETPOS, 0, 0), 5);
    EXPECT_EQ(PixelAt(blocks, 50, 10), GetSysColor(COLOR_BTNFACE));
}

} // namespace
} // namespace nuvex::controls::testing
