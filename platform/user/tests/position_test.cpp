// Placement: SetWindowPos flags and messages, showing, maximising,
// coordinates, activation, focus and capture.
#include "platform/user/input.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using Placement = WindowTest;

constexpr UINT kPositionMessages[] = {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE,
                                      WM_SHOWWINDOW, WM_ACTIVATE, WM_NCACTIVATE, WM_ACTIVATEAPP, WM_SETFOCUS,
                                      WM_KILLFOCUS};

TEST_F(Placement, SetWindowPosSequencesByFlag)
{
    struct Case {
        const char* name;
        RECT to;
        UINT flags;
        std::vector<Expect> sequence;
    };
    const Case cases[] = {
        {"size", {10, 10, 210, 110}, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE,
         {Sent("child", WM_WINDOWPOSCHANGING), Sent("child", WM_NCCALCSIZE).W(TRUE),
          Sent("child", WM_WINDOWPOSCHANGED), Sent("child", WM_SIZE).L(MAKELPARAM(200, 100))}},
        {"move", {30, 40, 130, 90}, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE,
         {Sent("child", WM_WINDOWPOSCHANGING), Sent("child", WM_WINDOWPOSCHANGED),
          Sent("child", WM_MOVE).L(MAKELPARAM(30, 40))}},
        {"move_and_size", {5, 6, 55, 66}, SWP_NOZORDER | SWP_NOACTIVATE,
         {Sent("child", WM_WINDOWPOSCHANGING), Sent("child", WM_NCCALCSIZE).W(TRUE),
          Sent("child", WM_WINDOWPOSCHANGED), Sent("child", WM_MOVE).L(MAKELPARAM(5, 6)),
          Sent("child", WM_SIZE).L(MAKELPARAM(50, 60))}},
        {"no_send_changing", {10, 10, 60, 60}, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOMOVE,
         {Sent("child", WM_NCCALCSIZE).W(TRUE), Sent("child", WM_WINDOWPOSCHANGED), Sent("child", WM_SIZE)}},
        {"frame_changed_only", {0, 0, 0, 0},
         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED,
         {Sent("child", WM_WINDOWPOSCHANGING), Sent("child", WM_NCCALCSIZE).W(TRUE),
          Sent("child", WM_WINDOWPOSCHANGED), Sent("child", WM_SIZE)}},
        {"nothing_changes", {10, 10, 110, 60}, SWP_NOZORDER | SWP_NOACTIVATE,
         {Sent("child", WM_WINDOWPOSCHANGING), Sent("child", WM_WINDOWPOSCHANGED)}},
    };
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND child = MakeChild("child", main, {10, 10, 110, 60});
        recorder.Clear();
        recorder.SkipDefaults();
        recorder.Only(std::vector<UINT>(std::begin(kPositionMessages), std::end(kPositionMessages)));
        SetWindowPos(child, nullptr, c.to.left, c.to.top, c.to.right - c.to.left, c.to.bottom - c.to.top, c.flags);
        EXPECT_TRUE(recorder.Matches(c.sequence));
        DestroyWindow(child);
    }
}

TEST_F(Placement, ChangingMessageMayAlterThePosition)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    SetHandler(main, [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            pos->cx = std::min(pos->cx, 150); // a window that refuses to grow wider
        }
        return std::nullopt;
    });
    MoveWindow(main, 0, 0, 500, 200, TRUE);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 150);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(Placement, ShowAndHideSequences)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    HWND child = MakeChild("child", main, {0, 0, 50, 50}, WS_CHILD);
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only(std::vector<UINT>(std::begin(kPositionMessages), std::end(kPositionMessages)));
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(ShowWindow(child, SW_SHOW)) << "returns the previous visibility";
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(ShowWindow(child, SW_HIDE));
    EXPECT_TRUE(recorder.Matches({
        Sent("child", WM_SHOWWINDOW).W(TRUE),
        Sent("child", WM_WINDOWPOSCHANGING),
        Sent("child", WM_WINDOWPOSCHANGED),
        Sent("child", WM_WINDOWPOSCHANGING),
        Sent("child", WM_WINDOWPOSCHANGED),
        Sent("child", WM_SHOWWINDOW).W(FALSE),
        Sent("child", WM_WINDOWPOSCHANGING),
        Sent("child", WM_WINDOWPOSCHANGED),
    }));
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(main, SW_HIDE);
    ShowWindow(child, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(child)) << "visible only with every ancestor visible";
}

TEST_F(Placement, ShowWithoutActivation)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "tooltips_class32", "", WS_POPUP, 10, 10, 50, 20,
                               main, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    recorder.Name(tip, "tip");
    ShowWindow(tip, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(Placement, MaximiseAndRestore)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 60, 450, 360});
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_GETMINMAXINFO, WM_SIZE});
    ShowWindow(main, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(main));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.right, 1024 + 4) << "the frame lies just off the screen";
    EXPECT_TRUE(recorder.Matches({Sent("main", WM_GETMINMAXINFO), Sent("main", WM_SIZE).W(SIZE_MAXIMIZED),
                                  Sent("main", WM_SIZE).W(SIZE_MAXIMIZED).Optional()}));
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(GetWindowPlacement(main, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.left, 50);
    ShowWindow(main, SW_RESTORE);
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.bottom, 360);
    EXPECT_FALSE(IsZoomed(main));
}

TEST_F(Placement, AVisibleWindowMadeMaximisedTakesItsMaximisedPlace)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, {50, 60, 450, 360});
    EXPECT_TRUE(IsZoomed(main));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.right, 1024 + 4);
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(GetWindowPlacement(main, &placement));
    EXPECT_EQ(placement.rcNormalPosition.left, 50);
    EXPECT_EQ(placement.rcNormalPosition.bottom, 360);

    // A child fills its parent's client area, its frame just outside it.
    HWND child = MakeChild("child", main, {10, 10, 110, 110}, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(child));
    RECT parent{};
    GetClientRect(main, &parent);
    RECT inParent{};
    GetWindowRect(child, &inParent);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&inParent), 2);
    EXPECT_LE(inParent.left, 0);
    EXPECT_GE(inParent.right, parent.right);
    EXPECT_GE(inParent.bottom, parent.bottom);
    ShowWindow(child, SW_RESTORE);
    GetWindowRect(child, &inParent);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&inParent), 2);
    EXPECT_EQ(inParent.left, 10);
    EXPECT_EQ(inParent.right, 110);
}

TEST_F(Placement, CoordinatesAndMapping)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 50, 500, 350});
    HWND child = MakeChild("child", main, {20, 30, 120, 130}, WS_CHILD | WS_VISIBLE);
    HWND inner = MakeChild("inner", child, {5, 5, 25, 25}, WS_CHILD | WS_VISIBLE);
    POINT p{1, 2};
    ClientToScreen(inner, &p);
    EXPECT_EQ(p.x, 100 + 1 + 20 + 5 + 1);
    EXPECT_EQ(p.y, 50 + 1 + 30 + 5 + 2);
    ScreenToClient(main, &p);
    EXPECT_EQ(p.x, 20 + 5 + 1);
    POINT pts[2] = {{0, 0}, {10, 10}};
    MapWindowPoints(inner, main, pts, 2);
    EXPECT_EQ(pts[1].x, 35);
    EXPECT_EQ(pts[1].y, 45);
    EXPECT_EQ(WindowFromPoint(POINT{100 + 1 + 20 + 6, 50 + 1 + 30 + 6}), inner);
    EXPECT_EQ(WindowFromPoint(POINT{100 + 1 + 20 + 50, 50 + 1 + 30 + 50}), child);
    EXPECT_EQ(WindowFromPoint(POINT{100, 50}), main) << "the border belongs to the window";
    EXPECT_EQ(WindowFromPoint(POINT{900, 700}), nullptr);
    EXPECT_EQ(ChildWindowFromPoint(main, POINT{25, 35}), child) << "only direct children";
    EXPECT_EQ(ChildWindowFromPoint(main, POINT{300, 200}), main);

    SetHandler(inner, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_NCHITTEST) {
            return HTTRANSPARENT;
        }
        return std::nullopt;
    });
    EXPECT_EQ(WindowFromPoint(POINT{100 + 1 + 20 + 6, 50 + 1 + 30 + 6}), child)
        << "a transparent window lets the point through";
}

using Activation = WindowTest;

TEST_F(Activation, SwitchingTopLevelWindows)
{
    HWND first = MakeTopLevel("first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HWND second = MakeTopLevel("second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 50, 350, 250});
    ASSERT_EQ(GetActiveWindow(), second);
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_ACTIVATE, WM_NCACTIVATE, WM_ACTIVATEAPP, WM_SETFOCUS, WM_KILLFOCUS});
    EXPECT_EQ(SetActiveWindow(first), second);
    EXPECT_TRUE(recorder.Matches({
        Sent("second", WM_NCACTIVATE).W(FALSE),
        Sent("second", WM_ACTIVATE).W(WA_INACTIVE).L(reinterpret_cast<LPARAM>(first)),
        Sent("first", WM_NCACTIVATE).W(TRUE),
        Sent("first", WM_ACTIVATE).W(WA_ACTIVE).L(reinterpret_cast<LPARAM>(second)),
        Sent("second", WM_KILLFOCUS).W(reinterpret_cast<WPARAM>(first)),
        Sent("first", WM_SETFOCUS).W(reinterpret_cast<WPARAM>(second)),
    }));
    EXPECT_EQ(GetTopWindow(nullptr), first) << "the active window comes to the top";
    DestroyWindow(first);
    EXPECT_EQ(GetActiveWindow(), second) << "the next window takes over";
}

TEST_F(Activation, FocusBetweenChildrenAndAcrossWindows)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HWND a = MakeChild("a", main, {0, 0, 10, 10});
    HWND b = MakeChild("b", main, {20, 0, 30, 10});
    HWND other = MakeTopLevel("other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HWND c = MakeChild("c", other, {0, 0, 10, 10});
    SetFocus(a);
    EXPECT_EQ(GetActiveWindow(), main) << "focusing a child activates its window";
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_SETFOCUS, WM_KILLFOCUS});
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_TRUE(recorder.Matches({Sent("a", WM_KILLFOCUS).W(reinterpret_cast<WPARAM>(b)),
                                  Sent("b", WM_SETFOCUS).W(reinterpret_cast<WPARAM>(a))}));
    SetFocus(c);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), c);
    DestroyWindow(c);
    EXPECT_EQ(GetFocus(), other) << "the focus goes to the parent of a destroyed focus window";
    EnableWindow(other, FALSE);
    EXPECT_EQ(GetFocus(), nullptr) << "disabling the focus window takes the focus away";
}

TEST_F(Activation, CaptureChanges)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
    HWND a = MakeChild("a", main, {0, 0, 10, 10});
    HWND b = MakeChild("b", main, {20, 0, 30, 10});
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_CAPTURECHANGED});
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_EQ(GetCapture(), b);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_TRUE(recorder.Matches({Sent("a", WM_CAPTURECHANGED).L(reinterpret_cast<LPARAM>(b)),
                                  Sent("b", WM_CAPTURECHANGED).L(0), Sent("a", WM_CAPTURECHANGED).L(0)}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Activation, KeyboardCuesFollowTheUiState)
{
    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HWND child = MakeChild("child", frame, {0, 0, 10, 10});
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_CHANGEUISTATE, WM_UPDATEUISTATE});
    SendMessageA(child, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    EXPECT_TRUE(recorder.Matches({
        Sent("child", WM_CHANGEUISTATE),
        Sent("frame", WM_CHANGEUISTATE),
        Sent("frame", WM_UPDATEUISTATE),
        Sent("child", WM_UPDATEUISTATE),
    })) << "a child asks its top-level window, which tells everyone";
    EXPECT_EQ(SendMessageA(child, WM_QUERYUISTATE, 0, 0), UISF_HIDEFOCUS | UISF_HIDEACCEL);
    recorder.Clear();
    SendMessageA(frame, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_EQ(recorder.Count(WM_UPDATEUISTATE), 0) << "no change, no update";
    SendMessageA(frame, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    EXPECT_EQ(SendMessageA(child, WM_QUERYUISTATE, 0, 0), UISF_HIDEFOCUS);
}

} // namespace
} // namespace nuvex::user::testing
