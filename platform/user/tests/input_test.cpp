// Input as a person gives it: hit-testing, click activation, cursor
// setting, double clicks, capture, non-client clicks, the wheel, and the
// synthetic mouse move after a window moved under the cursor.
#include "platform/user/input.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

class MouseInput : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // Frame at (100, 100), 4-pixel frame and 19-pixel caption: client
        // origin (104, 123). The view's client origin is (114, 133).
        frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
        view = MakeChild("view", frame, {10, 10, 210, 110});
        other = MakeTopLevel("other", WS_POPUP | WS_VISIBLE, {600, 100, 700, 200});
        PumpUntilIdle();
        recorder.Clear();
        recorder.SkipDefaults();
    }
    void Click(POINT at, MouseButton button = MouseButton::Left)
    {
        InjectMouseMove(at);
        InjectMouseButton(button, KeyAction::Down);
        InjectMouseButton(button, KeyAction::Up);
    }
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND other = nullptr;
};

TEST_F(MouseInput, ClickOnAnInactiveWindowsChild)
{
    ASSERT_EQ(GetActiveWindow(), other);
    recorder.Watch({WM_SETCURSOR});
    recorder.Only({WM_SETCURSOR, WM_MOUSEACTIVATE, WM_ACTIVATE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    InjectMouseMove(POINT{124, 143});
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    const LPARAM at = MAKELPARAM(10, 10);
    EXPECT_TRUE(recorder.Matches({
        Sent("view", WM_SETCURSOR).L(MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        Sent("frame", WM_SETCURSOR).Optional(),
        Sent("view", WM_SETCURSOR).L(MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
        Sent("frame", WM_SETCURSOR).Optional(),
        Sent("view", WM_MOUSEACTIVATE).W(reinterpret_cast<WPARAM>(frame)),
        Sent("frame", WM_MOUSEACTIVATE).Optional(),
        Sent("other", WM_ACTIVATE).W(WA_INACTIVE),
        Sent("frame", WM_ACTIVATE).W(WA_CLICKACTIVE),
        Sent("view", WM_SETCURSOR).L(MAKELPARAM(HTCLIENT, WM_LBUTTONUP)),
        Sent("frame", WM_SETCURSOR).Optional(),
        Posted("view", WM_MOUSEMOVE).L(at),
        Posted("view", WM_LBUTTONDOWN).W(MK_LBUTTON).L(at),
        Posted("view", WM_LBUTTONUP).W(0).L(at),
    }));
    EXPECT_EQ(GetActiveWindow(), frame);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "the class cursor";
}

TEST_F(MouseInput, EatingActivationClick)
{
    SetHandler(frame, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_MOUSEACTIVATE) {
            return MA_ACTIVATEANDEAT;
        }
        return std::nullopt;
    });
    Click(POINT{124, 143});
    PumpUntilIdle();
    EXPECT_EQ(GetActiveWindow(), frame);
    EXPECT_EQ(recorder.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(recorder.Count(WM_LBUTTONUP), 1);
}

TEST_F(MouseInput, DoubleClickNeedsTheClassStyleTimeAndPlace)
{
    struct Case {
        const char* name;
        DWORD pauseMs;
        int dx;
        int doubleClicks;
    };
    const Case cases[] = {
        {"quick_and_close", 100, 1, 1},
        {"too_slow", 600, 0, 0},
        {"too_far", 100, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AdvanceWindowSystemTime(5000);
        recorder.Clear();
        Click(POINT{150, 150});
        AdvanceWindowSystemTime(c.pauseMs);
        Click(POINT{150 + c.dx, 150});
        PumpUntilIdle();
        EXPECT_EQ(recorder.Count(WM_LBUTTONDBLCLK), c.doubleClicks);
        EXPECT_EQ(recorder.Count(WM_LBUTTONDOWN), 2 - c.doubleClicks);
    }
}

TEST_F(MouseInput, CaptureTakesEveryMouseMessage)
{
    SetCapture(view);
    recorder.Only({WM_MOUSEMOVE, WM_LBUTTONUP, WM_NCMOUSEMOVE, WM_SETCURSOR});
    InjectMouseMove(POINT{650, 150}); // over the other window
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("view", WM_MOUSEMOVE).L(MAKELPARAM(650 - 114, 150 - 133)),
                                  Posted("view", WM_LBUTTONUP)}))
        << "client coordinates of the capture window, no cursor setting";
}

TEST_F(MouseInput, NonClientClicksCarryTheHitCode)
{
    struct Case {
        const char* name;
        POINT at;
        LRESULT hit;
    };
    const Case cases[] = {
        {"caption", {300, 110}, HTCAPTION},
        {"left_border", {101, 250}, HTLEFT},
        {"bottom_right_corner", {498, 398}, HTBOTTOMRIGHT},
        {"close_button", {485, 112}, HTCLOSE - 0},
        {"system_menu", {110, 112}, HTSYSMENU},
    };
    SetHandler(frame, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP) {
            return 0; // keep the frame's default actions (closing) out of the test
        }
        return std::nullopt;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        recorder.Only({WM_NCLBUTTONDOWN});
        InjectMouseMove(c.at);
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
        PumpUntilIdle();
        EXPECT_TRUE(recorder.Matches({Posted("frame", WM_NCLBUTTONDOWN)
                                          .W(static_cast<WPARAM>(c.hit))
                                          .L(MAKELPARAM(static_cast<WORD>(c.at.x), static_cast<WORD>(c.at.y)))}));
        AdvanceWindowSystemTime(1000);
    }
}

TEST_F(MouseInput, CloseButtonClosesTheWindow)
{
    Click(POINT{485, 112});
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(frame));
}

TEST_F(MouseInput, WheelGoesToTheFocusWindowAndUpToItsParent)
{
    SetFocus(view);
    recorder.Only({WM_MOUSEWHEEL});
    InjectMouseMove(POINT{300, 300});
    InjectMouseWheel(-WHEEL_DELTA);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("view", WM_MOUSEWHEEL), Sent("frame", WM_MOUSEWHEEL)}));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(recorder.Log().back().wParam), -WHEEL_DELTA);
}

TEST_F(MouseInput, WindowMovingUnderTheCursorBringsOneMouseMove)
{
    InjectMouseMove(POINT{300, 300});
    PumpUntilIdle();
    HWND strip = MakeChild("strip", frame, {150, 150, 250, 200});
    recorder.Clear();
    recorder.Only({WM_MOUSEMOVE});
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("strip", WM_MOUSEMOVE)}));
    recorder.Clear();
    MoveWindow(strip, 140, 150, 100, 50, TRUE);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("strip", WM_MOUSEMOVE)}));
    recorder.Clear();
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({}));
}

TEST_F(MouseInput, DisabledWindowsGetNoClicks)
{
    EnableWindow(frame, FALSE);
    Click(POINT{124, 143});
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(MouseInput, SetCursorAnsweredByTheParentWins)
{
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    SetHandler(frame, [cross](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_SETCURSOR) {
            SetCursor(cross);
            return TRUE;
        }
        return std::nullopt;
    });
    InjectMouseMove(POINT{124, 143});
    EXPECT_EQ(GetCursor(), cross);
}

TEST_F(MouseInput, FrameEdgesShowSizingCursors)
{
    struct Case {
        const char* name;
        POINT at;
        LPCSTR cursor;
    };
    const Case cases[] = {
        {"left_edge", {101, 250}, IDC_SIZEWE},
        {"bottom_edge", {300, 398}, IDC_SIZENS},
        {"bottom_right_corner", {498, 398}, IDC_SIZENWSE},
        {"caption", {300, 110}, IDC_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InjectMouseMove(c.at);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor));
    }
}

} // namespace
} // namespace nuvex::user::testing
