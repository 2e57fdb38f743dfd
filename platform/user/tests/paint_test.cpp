// Invalidation and painting: WM_PAINT when the queue is empty, erasing,
// RedrawWindow flags, UpdateWindow, validation and hidden windows.
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using Painting = WindowTest;

const std::vector<UINT> kPaintMessages = {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND};

class PaintingWindows : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 400, 300});
        view = MakeChild("view", main, {10, 10, 210, 110});
        PumpUntilIdle();
        recorder.Clear();
        recorder.SkipDefaults();
        recorder.Only(kPaintMessages);
    }
    HWND main = nullptr;
    HWND view = nullptr;
};

TEST_F(PaintingWindows, ShowingPaintsParentBeforeChildren)
{
    HWND fresh = MakeTopLevel("fresh", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    MakeChild("inner", fresh, {0, 0, 10, 10});
    recorder.Clear();
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({
        Posted("fresh", WM_PAINT),
        Sent("fresh", WM_NCPAINT),
        Sent("fresh", WM_ERASEBKGND),
        Posted("inner", WM_PAINT),
        Sent("inner", WM_NCPAINT),
        Sent("inner", WM_ERASEBKGND),
    }));
}

TEST_F(PaintingWindows, InvalidateThenPaintWhenIdle)
{
    struct Case {
        const char* name;
        BOOL erase;
        std::vector<Expect> sequence;
    };
    const Case cases[] = {
        {"with_erase", TRUE, {Posted("view", WM_PAINT), Sent("view", WM_ERASEBKGND)}},
        {"without_erase", FALSE, {Posted("view", WM_PAINT)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        RECT r{5, 5, 20, 20};
        InvalidateRect(view, &r, c.erase);
        RECT update{};
        EXPECT_TRUE(GetUpdateRect(view, &update, FALSE));
        EXPECT_TRUE(EqualRect(&update, &r));
        EXPECT_TRUE(recorder.Matches({})) << "nothing is painted before the queue runs";
        PumpUntilIdle();
        EXPECT_TRUE(recorder.Matches(c.sequence));
        EXPECT_FALSE(GetUpdateRect(view, nullptr, FALSE));
    }
}

TEST_F(PaintingWindows, PaintStructureReportsAreaAndErase)
{
    PAINTSTRUCT seen{};
    bool painted = false;
    SetHandler(view, [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_ERASEBKGND) {
            return 0; // leaves erasing to the paint
        }
        if (msg == WM_PAINT) {
            BeginPaint(hwnd, &seen);
            EndPaint(hwnd, &seen);
            painted = true;
            return 0;
        }
        return std::nullopt;
    });
    RECT a{0, 0, 10, 10};
    RECT b{50, 40, 60, 50};
    InvalidateRect(view, &a, TRUE);
    InvalidateRect(view, &b, FALSE);
    PumpUntilIdle();
    ASSERT_TRUE(painted);
    EXPECT_EQ(seen.rcPaint.left, 0);
    EXPECT_EQ(seen.rcPaint.bottom, 50) << "the update area covers both rectangles";
    EXPECT_TRUE(seen.fErase) << "the background was not erased by WM_ERASEBKGND";
    EXPECT_NE(seen.hdc, nullptr);
}

TEST_F(PaintingWindows, RedrawWindowFlags)
{
    struct Case {
        const char* name;
        UINT flags;
        std::vector<Expect> now;   // during the call
        std::vector<Expect> later; // when the queue runs
    };
    const Case cases[] = {
        {"invalidate_noerase_updatenow", RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW, {Sent("view", WM_PAINT)}, {}},
        {"invalidate_erase_updatenow", RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW,
         {Sent("view", WM_PAINT), Sent("view", WM_ERASEBKGND)}, {}},
        {"invalidate_only", RDW_INVALIDATE, {}, {Posted("view", WM_PAINT)}},
        {"frame_and_erase_now", RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW,
         {Sent("view", WM_NCPAINT), Sent("view", WM_ERASEBKGND)}, {Posted("view", WM_PAINT)}},
        {"validate", RDW_VALIDATE, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.flags & RDW_VALIDATE) != 0) {
            InvalidateRect(view, nullptr, TRUE);
        }
        recorder.Clear();
        RedrawWindow(view, nullptr, nullptr, c.flags);
        EXPECT_TRUE(recorder.Matches(c.now));
        recorder.Clear();
        PumpUntilIdle();
        EXPECT_TRUE(recorder.Matches(c.later));
    }
}

TEST_F(PaintingWindows, ChildrenFollowTheParentUnlessItClipsThem)
{
    recorder.Clear();
    InvalidateRect(main, nullptr, FALSE);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("main", WM_PAINT)})) << "WS_CLIPCHILDREN keeps the child out";
    recorder.Clear();
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(recorder.Matches({Sent("main", WM_PAINT), Sent("view", WM_PAINT)}));

    SetWindowLongPtrA(main, GWL_STYLE, GetWindowLongPtrA(main, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
    recorder.Clear();
    RECT overlapping{0, 0, 50, 50};
    InvalidateRect(main, &overlapping, FALSE);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("main", WM_PAINT), Posted("view", WM_PAINT)}));
    recorder.Clear();
    RECT apart{300, 200, 350, 250};
    InvalidateRect(main, &apart, FALSE);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("main", WM_PAINT)})) << "only children inside the area";
}

TEST_F(PaintingWindows, UpdateWindowPaintsAtOnceAndValidateCancels)
{
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(main);
    EXPECT_TRUE(recorder.Matches({Sent("view", WM_PAINT)}));
    recorder.Clear();
    InvalidateRect(view, nullptr, TRUE);
    ValidateRect(view, nullptr);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({}));
    RECT top{0, 0, 200, 50};
    InvalidateRect(view, nullptr, FALSE);
    ValidateRect(view, &top);
    RECT left{};
    GetUpdateRect(view, &left, FALSE);
    EXPECT_EQ(left.top, 50) << "validating a full-width band shrinks the area";
    EXPECT_EQ(left.bottom, 100);
}

TEST_F(PaintingWindows, HiddenAndLockedWindowsWait)
{
    ShowWindow(view, SW_HIDE);
    InvalidateRect(view, nullptr, TRUE);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(view, WM_PAINT), 0);
    EXPECT_EQ(recorder.Count(main, WM_PAINT), 1) << "the parent repaints where the child was";
    recorder.Clear();
    LockWindowUpdate(main);
    ShowWindow(view, SW_SHOW);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_PAINT), 0) << "a locked window is not painted";
    LockWindowUpdate(nullptr);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(main, WM_PAINT), 1);
    EXPECT_EQ(recorder.Count(view, WM_PAINT), 1);
}

TEST_F(PaintingWindows, RedrawOffHoldsPaintingBack)
{
    SendMessageA(view, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(view, nullptr, TRUE);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(view, WM_PAINT), 0);
    SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(view, WM_PAINT), 1) << "what was invalidated meanwhile is painted";
}

TEST_F(PaintingWindows, InvalidatingWhilePaintingPaintsAgain)
{
    int paints = 0;
    SetHandler(view, [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT ps{};
        BeginPaint(hwnd, &ps);
        if (++paints == 1) {
            InvalidateRect(hwnd, nullptr, FALSE); // e.g. content that changed size
        }
        EndPaint(hwnd, &ps);
        return 0;
    });
    InvalidateRect(view, nullptr, FALSE);
    PumpUntilIdle();
    EXPECT_EQ(paints, 2);
}

TEST_F(PaintingWindows, ProcedureThatIgnoresPaintIsNotAskedAgain)
{
    SetHandler(view, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_PAINT) {
            return 0; // no BeginPaint
        }
        return std::nullopt;
    });
    InvalidateRect(view, nullptr, TRUE);
    const PumpResult result = PumpUntilIdle();
    EXPECT_EQ(result.dispatched, 1);
}

TEST_F(PaintingWindows, PrintSendsWhatItsOptionsAsk)
{
    recorder.Only({WM_PRINT, WM_PRINTCLIENT, WM_ERASEBKGND, WM_NCPAINT});
    HDC dc = GetDC(main);
    SendMessageA(view, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_ERASEBKGND | PRF_CLIENT);
    ReleaseDC(main, dc);
    EXPECT_TRUE(recorder.Matches({Sent("view", WM_PRINT).L(PRF_ERASEBKGND | PRF_CLIENT), Sent("view", WM_ERASEBKGND),
                                  Sent("view", WM_PRINTCLIENT)}));
}

TEST_F(PaintingWindows, DeviceContextsKnowTheirWindow)
{
    HDC dc = GetDC(view);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), view);
    EXPECT_EQ(ReleaseDC(view, dc), 1);
    EXPECT_EQ(WindowFromDC(dc), nullptr);
    EXPECT_EQ(ReleaseDC(view, dc), 0) << "a DC is released once";
}

} // namespace
} // namespace nuvex::user::testing
