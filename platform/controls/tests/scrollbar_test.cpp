// Scroll bars: the range, page and position kept consistent, clicks, drags
// and keys reported to the parent, and the bars of windows coming and
// going with the need.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

using ScrollBarTest = ControlTest;

TEST_F(ScrollBarTest, InformationIsKeptConsistent)
{
    struct Case {
        const char* name;
        SCROLLINFO set;
        int min;
        int max;
        UINT page;
        int pos;
    };
    const Case cases[] = {
        {"plain", {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 50, 0}, 0, 100, 10, 50},
        {"position_stops_where_the_page_fits", {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 100, 0}, 0, 100, 10, 91},
        {"position_below_the_range", {sizeof(SCROLLINFO), SIF_ALL, 10, 20, 0, -5, 0}, 10, 20, 0, 10},
        {"page_larger_than_the_range", {sizeof(SCROLLINFO), SIF_ALL, 0, 9, 50, 3, 0}, 0, 9, 10, 0},
        {"maximum_below_minimum", {sizeof(SCROLLINFO), SIF_ALL, 5, 2, 0, 4, 0}, 5, 5, 0, 5},
        {"negative_range", {sizeof(SCROLLINFO), SIF_ALL, -50, -10, 5, -20, 0}, -50, -10, 5, -20},
    };
    HWND bar = Make("ScrollBar", "", SBS_VERT, {10, 10, 27, 200}, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &c.set, TRUE), c.pos);
        SCROLLINFO got{sizeof(got), SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &got));
        EXPECT_EQ(got.nMin, c.min);
        EXPECT_EQ(got.nMax, c.max);
        EXPECT_EQ(got.nPage, c.page);
        EXPECT_EQ(got.nPos, c.pos);
    }
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 30, TRUE), -20);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), -10 - 4) << "clamped to where the page fits";
    int low = 0;
    int high = 0;
    SetScrollRange(bar, SB_CTL, 0, 8, TRUE);
    GetScrollRange(bar, SB_CTL, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 8);
}

TEST_F(ScrollBarTest, ArrowAndPageClicksAskTheParentToScroll)
{
    HWND bar = Make("ScrollBar", "", SBS_VERT, {10, 10, 27, 210}, 1);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 10, 40, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    struct Case {
        const char* name;
        int y;
        WORD code;
    };
    const Case cases[] = {
        {"up_arrow", 3, SB_LINEUP},
        {"down_arrow", 196, SB_LINEDOWN},
        {"track_above_the_thumb", 25, SB_PAGEUP},
        {"track_below_the_thumb", 170, SB_PAGEDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        ClickAt(bar, 8, c.y);
        EXPECT_TRUE(Heard({WM_VSCROLL}, {Scroll(WM_VSCROLL, c.code), Scroll(WM_VSCROLL, SB_ENDSCROLL)}));
        EXPECT_EQ(HeardOf({WM_VSCROLL}).front().lParam, reinterpret_cast<LPARAM>(bar));
    }
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << "the parent moves the bar, not the bar itself";
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition)
{
    HWND bar = Make("ScrollBar", "", SBS_HORZ, {10, 10, 210, 27}, 1);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 100, 0, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    DragAt(bar, {arrow + 4, 8}, {200 - arrow - 4, 8}, 4);
    const auto scrolls = HeardOf({WM_HSCROLL});
    ASSERT_GE(scrolls.size(), 3u) << HostLog();
    for (size_t i = 0; i + 2 < scrolls.size(); ++i) {
        EXPECT_EQ(scrolls[i].DetailOf("code"), SB_THUMBTRACK);
    }
    EXPECT_TRUE(recorder.Fits(Scroll(WM_HSCROLL, SB_THUMBPOSITION, 100), scrolls[scrolls.size() - 2]));
    EXPECT_TRUE(recorder.Fits(Scroll(WM_HSCROLL, SB_ENDSCROLL), scrolls.back()));
    SCROLLINFO track{sizeof(track), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &track);
    EXPECT_EQ(track.nTrackPos, 100);
}

TEST_F(ScrollBarTest, KeysScrollByLinesPagesAndEnds)
{
    HWND bar = Make("ScrollBar", "", SBS_VERT | WS_TABSTOP, {10, 10, 27, 200}, 1);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 10, 2, 5, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    EXPECT_EQ(SendMessageA(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    PressKeys(bar, {VK_DOWN});
    PressKeys(bar, {VK_PRIOR});
    PressKeys(bar, {VK_HOME});
    EXPECT_TRUE(Heard({WM_VSCROLL}, {Scroll(WM_VSCROLL, SB_LINEDOWN), Scroll(WM_VSCROLL, SB_ENDSCROLL),
                                     Scroll(WM_VSCROLL, SB_PAGEUP), Scroll(WM_VSCROLL, SB_ENDSCROLL),
                                     Scroll(WM_VSCROLL, SB_TOP), Scroll(WM_VSCROLL, SB_ENDSCROLL)}));
}

TEST_F(ScrollBarTest, WindowBarsComeAndGoWithTheNeed)
{
    HWND view = Make("Static", "", WS_VSCROLL | WS_HSCROLL, {10, 10, 210, 110}, 1);
    RECT before{};
    GetClientRect(view, &before);
    SCROLLINFO fits{sizeof(fits), SIF_RANGE | SIF_PAGE, 0, 50, 100, 0, 0};
    SetScrollInfo(view, SB_VERT, &fits, TRUE);
    EXPECT_EQ(GetWindowLongPtrA(view, GWL_STYLE) & WS_VSCROLL, 0);
    RECT after{};
    GetClientRect(view, &after);
    EXPECT_GT(after.right, before.right) << "the client takes the bar's room";

    SCROLLINFO needs{sizeof(needs), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 500, 100, 450, 0};
    EXPECT_EQ(SetScrollInfo(view, SB_VERT, &needs, TRUE), 401);
    EXPECT_NE(GetWindowLongPtrA(view, GWL_STYLE) & WS_VSCROLL, 0);

    SCROLLINFO keep{sizeof(keep), SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 50, 100, 0, 0};
    SetScrollInfo(view, SB_HORZ, &keep, TRUE);
    EXPECT_NE(GetWindowLongPtrA(view, GWL_STYLE) & WS_HSCROLL, 0) << "kept, disabled";

    HWND plain = Make("Static", "", 0, {10, 120, 60, 140}, 2);
    SCROLLINFO none{sizeof(none), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &none)) << "a window without bars has no information";
    ShowScrollBar(plain, SB_VERT, TRUE);
    EXPECT_TRUE(GetScrollInfo(plain, SB_VERT, &none));
    EXPECT_EQ(none.nMax, 100);
}

} // namespace
} // namespace nuvex::controls::testing
