// A window's own scroll bars: room in the frame, arrows, track and thumb
// drawn there, clicks, held arrows and thumb drags reported to the window
// as WM_VSCROLL/WM_HSCROLL, and greyed bars that take no clicks.
#include "platform/gdi/gdi.h"
#include "platform/user/input.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

// A 200 x 200 popup at (100, 100) without a frame, both bars: the vertical
// bar is x 184..199, y 0..183; the horizontal one x 0..183, y 184..199. With
// 16-pixel arrows each track is 152 pixels long.
class WindowScrollBars : public WindowTest {
protected:
    static constexpr int kBar = 16;
    static constexpr int kTrack = 200 - 3 * kBar;

    void SetUp() override
    {
        WindowTest::SetUp();
        view = MakeTopLevel("view", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, {100, 100, 300, 300});
        SetHandler(view, [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
                EXPECT_EQ(lParam, 0) << "a window's own bar has no control";
                return 0;
            }
            return std::nullopt;
        });
        SCROLLINFO info{sizeof(info), SIF_ALL, 0, 99, 10, 0, 0};
        SetScrollInfo(view, SB_VERT, &info, TRUE);
        SetScrollInfo(view, SB_HORZ, &info, TRUE);
        PumpUntilIdle();
        recorder.Clear();
    }
    // Screen point of the window point (x, y).
    static POINT At(int x, int y) { return POINT{100 + x, 100 + y}; }
    void Click(POINT screen)
    {
        InjectMouseMove(screen);
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
        PumpUntilIdle();
    }
    // The last row of the vertical bar's middle column, within the track,
    // that is not the track's colour: the thumb's dark bottom edge.
    int ThumbBottom()
    {
        int last = -1;
        for (int y = kBar; y < kBar + kTrack; ++y) {
            if (PixelAt(view, 200 - kBar / 2, y) != GetSysColor(COLOR_SCROLLBAR)) {
                last = y;
            }
        }
        return last;
    }

    // What the window heard from its bars since the last Clear.
    std::vector<Delivered> Heard() const { return recorder.Deliveries("view", {WM_VSCROLL, WM_HSCROLL}); }
    static Expect Scroll(UINT message, WORD code, int pos = 0)
    {
        return Sent("view", message).D("code", code).D("pos", pos);
    }

    HWND view = nullptr;
};

TEST_F(WindowScrollBars, TakeRoomInTheFrameAndDrawArrowsAndThumb)
{
    RECT client{};
    GetClientRect(view, &client);
    EXPECT_EQ(client.right, 200 - kBar);
    EXPECT_EQ(client.bottom, 200 - kBar);
    // Page 10 of 100 positions: a 15-pixel thumb, at the track's start for
    // position 0 and at its end for the last position (90).
    EXPECT_EQ(ThumbBottom(), kBar + 14);
    EXPECT_EQ(PixelAt(view, 200 - kBar / 2, kBar / 2 + 1), RGB(0, 0, 0)) << "the up arrow's glyph";
    EXPECT_EQ(PixelAt(view, kBar / 2, 200 - kBar / 2), RGB(0, 0, 0)) << "the left arrow's glyph";
    EXPECT_EQ(PixelAt(view, 195, 195), GetSysColor(COLOR_3DFACE)) << "the box between the bars";

    EXPECT_EQ(SetScrollPos(view, SB_VERT, 500, TRUE), 0);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 90);
    EXPECT_EQ(ThumbBottom(), kBar + kTrack - 1);

    EnableScrollBar(view, SB_VERT, ESB_DISABLE_BOTH);
    EXPECT_NE(PixelAt(view, 200 - kBar / 2, kBar / 2 + 1), RGB(0, 0, 0)) << "a greyed arrow";
}

TEST_F(WindowScrollBars, ClicksOnArrowsAndTrackScrollByLinesAndPages)
{
    SetScrollPos(view, SB_VERT, 40, TRUE);
    SetScrollPos(view, SB_HORZ, 40, TRUE);
    recorder.Clear();
    struct Case {
        const char* name;
        POINT at;
        UINT message;
        WORD code;
    };
    const Case cases[] = {
        {"up_arrow", At(192, 3), WM_VSCROLL, SB_LINEUP},
        {"down_arrow", At(192, 180), WM_VSCROLL, SB_LINEDOWN},
        {"track_above_the_thumb", At(192, 30), WM_VSCROLL, SB_PAGEUP},
        {"track_below_the_thumb", At(192, 160), WM_VSCROLL, SB_PAGEDOWN},
        {"left_arrow", At(3, 192), WM_HSCROLL, SB_LINELEFT},
        {"right_arrow", At(180, 192), WM_HSCROLL, SB_LINERIGHT},
        {"track_left_of_the_thumb", At(30, 192), WM_HSCROLL, SB_PAGELEFT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        Click(c.at);
        EXPECT_TRUE(recorder.Matches({Scroll(c.message, c.code), Scroll(c.message, SB_ENDSCROLL)}, Heard()));
    }
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 40) << "the window moves its bars, not the click";
    recorder.Clear();
    Click(At(100, 100));
    EXPECT_TRUE(Heard().empty()) << "a click in the client area";
}

TEST_F(WindowScrollBars, DraggingTheThumbTracksThenSetsThePosition)
{
    // The thumb lies at rows 16..30; dragging it by the whole room (137
    // pixels) reaches the last position.
    InjectMouseMove(At(192, 20));
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    InjectMouseMove(At(192, 20 + 68));
    InjectMouseMove(At(150, 20 + 137)); // off the bar sideways still drags
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Scroll(WM_VSCROLL, SB_THUMBTRACK, 45), Scroll(WM_VSCROLL, SB_THUMBTRACK, 90),
                                  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 90), Scroll(WM_VSCROLL, SB_ENDSCROLL)},
                                 Heard()));
    SCROLLINFO info{sizeof(info), SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &info));
    EXPECT_EQ(info.nTrackPos, 90);
    EXPECT_EQ(info.nPos, 0) << "the window sets the position itself";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowScrollBars, AHeldArrowRepeatsWhileTheMouseStaysOnIt)
{
    // The person holds the down arrow: the first repeat after 400 ms, the
    // next every 50 ms; moving off the arrow pauses them.
    int step = 0;
    SetIdleScript([&step]() {
        switch (step++) {
        case 0: AdvanceWindowSystemTime(400); return true;
        case 1: AdvanceWindowSystemTime(50); return true;
        case 2: InjectMouseMove(POINT{100 + 192, 100 + 100}); return true;
        case 3: AdvanceWindowSystemTime(50); return true;
        case 4: InjectMouseButton(MouseButton::Left, KeyAction::Up); return true;
        default: return false;
        }
    });
    InjectMouseMove(At(192, 180));
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    PumpUntilIdle();
    SetIdleScript(nullptr);
    EXPECT_TRUE(recorder.Matches({Scroll(WM_VSCROLL, SB_LINEDOWN), Scroll(WM_VSCROLL, SB_LINEDOWN),
                                  Scroll(WM_VSCROLL, SB_LINEDOWN), Scroll(WM_VSCROLL, SB_ENDSCROLL)},
                                 Heard()));
}

TEST_F(WindowScrollBars, GreyedBarsAndArrowsTakeNoClicks)
{
    SetScrollPos(view, SB_VERT, 40, TRUE);
    EnableScrollBar(view, SB_VERT, ESB_DISABLE_DOWN);
    recorder.Clear();
    Click(At(192, 180));
    EXPECT_TRUE(Heard().empty()) << "the greyed down arrow";
    Click(At(192, 3));
    EXPECT_EQ(Heard().size(), 2u) << "the up arrow still works";

    EnableScrollBar(view, SB_VERT, ESB_DISABLE_BOTH);
    recorder.Clear();
    Click(At(192, 3));
    Click(At(192, 160));
    EXPECT_TRUE(Heard().empty());

    // Information that cannot scroll, kept by SIF_DISABLENOSCROLL.
    SCROLLINFO fits{sizeof(fits), SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 5, 10, 0, 0};
    SetScrollInfo(view, SB_HORZ, &fits, TRUE);
    EXPECT_NE(GetWindowLongPtrA(view, GWL_STYLE) & WS_HSCROLL, 0);
    Click(At(180, 192));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(WindowScrollBars, ShowScrollBarGivesTheRoomBack)
{
    ShowScrollBar(view, SB_BOTH, FALSE);
    RECT client{};
    GetClientRect(view, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 200);
    Click(At(192, 180));
    EXPECT_TRUE(Heard().empty());
    ShowScrollBar(view, SB_VERT, TRUE);
    GetClientRect(view, &client);
    EXPECT_EQ(client.right, 200 - kBar);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 0) << "the bar keeps its information";
}

} // namespace
} // namespace nuvex::user::testing
