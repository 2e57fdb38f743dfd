// Painting with clipped children and siblings: a parent with
// WS_CLIPCHILDREN paints around its children, a parent without it makes the
// children it painted over paint again, siblings with WS_CLIPSIBLINGS keep
// out of each other, a child that moves away shows the sibling below it
// again, a window hidden behind a sibling hears no paint when its parent
// paints over it, and nothing keeps repainting once the windows are idle.
#include <functional>
#include <map>

#include "platform/gdi/gdi.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

constexpr COLORREF kFrameColour = RGB(128, 128, 128);
constexpr COLORREF kPaneColour = RGB(0, 0, 255);
constexpr COLORREF kTreeColour = RGB(0, 160, 0);
constexpr COLORREF kViewColour = RGB(255, 255, 255);
constexpr COLORREF kGlColour = RGB(255, 255, 0);
constexpr COLORREF kDrawnOver = RGB(255, 0, 255);

// More paints than this while idle is taken as painting forever.
constexpr int kEndlessPaints = 200;

void FillWhole(HDC dc, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT everywhere{-1000, -1000, 1000, 1000};
    FillRect(dc, &everywhere, brush);
    DeleteObject(brush);
}

// The window paints its whole client in one colour, erasing nothing, and
// tells `painted` the update box of each paint.
void PaintWith(HWND window, COLORREF colour, std::function<void(HWND, const RECT&)> painted = {})
{
    SetHandler(window, [colour, painted](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_ERASEBKGND) {
            return TRUE;
        }
        if (msg != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        FillWhole(dc, colour);
        EndPaint(hwnd, &ps);
        if (painted) {
            painted(hwnd, ps.rcPaint);
        }
        return 0;
    });
}

// Messages taken and dispatched until the queue is empty, at most
// kEndlessPaints paints: the WM_PAINTs dispatched.
int PaintsUntilIdle()
{
    int paints = 0;
    MSG msg{};
    while (paints < kEndlessPaints && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        paints += msg.message == WM_PAINT ? 1 : 0;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return paints;
}

// A frame (WS_CLIPCHILDREN) holding a pane bar (WS_CLIPCHILDREN and
// WS_CLIPSIBLINGS) with a tree in it, and a view without WS_CLIPCHILDREN
// covered by a GL-like window that draws its image through its own DC when
// it hears WM_PAINT, as the OpenGL window does.
class ClippedPainting : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        frame = MakeTopLevel("frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 150});
        pane = MakeChild("pane", frame, {10, 10, 90, 140}, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
        tree = MakeChild("tree", pane, {5, 5, 75, 60});
        view = MakeChild("view", frame, {100, 10, 190, 140});
        gl = MakeChild("gl", view, {0, 0, 90, 120});
        for (auto [window, colour] : {std::pair{frame, kFrameColour}, std::pair{pane, kPaneColour},
                                      std::pair{tree, kTreeColour}, std::pair{view, kViewColour}}) {
            PaintWith(window, colour);
        }
        SetHandler(gl, [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_ERASEBKGND) {
                return TRUE;
            }
            if (msg != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT ps{};
            BeginPaint(hwnd, &ps);
            HDC dc = GetDC(hwnd);
            FillWhole(dc, kGlColour);
            ReleaseDC(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        });
        PumpUntilIdle();
        recorder.SkipDefaults();
        recorder.Only({WM_PAINT});
        recorder.Clear();
    }

    // A child of the frame at `rect` raised above the others, painted, its
    // colour showing at frame point (50, 100); null when it does not show.
    HWND AddWindowOnTop(RECT rect)
    {
        HWND over = MakeChild("over", frame, rect, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
        SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PaintWith(over, kDrawnOver);
        PumpUntilIdle();
        recorder.Clear();
        return PixelAt(frame, 50, 100) == kDrawnOver ? over : nullptr;
    }

    // Every window shows its own colour at its place (frame coordinates).
    void ExpectEveryWindowShown() const
    {
        EXPECT_EQ(PixelAt(frame, 5, 5), kFrameColour) << "the frame";
        EXPECT_EQ(PixelAt(frame, 95, 75), kFrameColour) << "the frame between the pane and the view";
        EXPECT_EQ(PixelAt(frame, 12, 12), kPaneColour) << "the pane";
        EXPECT_EQ(PixelAt(frame, 50, 120), kPaneColour) << "the pane below its tree";
        EXPECT_EQ(PixelAt(frame, 20, 20), kTreeColour) << "the tree";
        EXPECT_EQ(PixelAt(frame, 150, 70), kGlColour) << "the GL window";
        EXPECT_EQ(PixelAt(frame, 150, 135), kViewColour) << "the view below the GL window";
    }

    HWND frame = nullptr;
    HWND pane = nullptr;
    HWND tree = nullptr;
    HWND view = nullptr;
    HWND gl = nullptr;
};

TEST_F(ClippedPainting, EveryWindowShowsAndStaysIdle)
{
    ExpectEveryWindowShown();
    EXPECT_EQ(PaintsUntilIdle(), 0);
}

TEST_F(ClippedPainting, ParentsThatClipPaintAroundTheirChildren)
{
    struct Case {
        const char* name;
        HWND target;
        std::vector<Expect> paints;
    };
    const Case cases[] = {
        {"the frame", frame, {Posted("frame", WM_PAINT)}},
        {"the pane bar", pane, {Posted("pane", WM_PAINT)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        InvalidateRect(c.target, nullptr, TRUE);
        EXPECT_LT(PaintsUntilIdle(), kEndlessPaints);
        EXPECT_TRUE(recorder.Matches(c.paints)) << "the children were not painted over";
        ExpectEveryWindowShown();
    }
}

TEST_F(ClippedPainting, ChildrenPaintedOverPaintAgain)
{
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<Expect> paints;
    };
    const Case cases[] = {
        {"the view invalidated without its children",
         [&] { RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN); },
         {Posted("view", WM_PAINT), Posted("gl", WM_PAINT)}},
        {"the GL window painted before its parent",
         [&] {
             InvalidateRect(view, nullptr, FALSE);
             UpdateWindow(gl);
         },
         {Sent("gl", WM_PAINT), Posted("view", WM_PAINT), Posted("gl", WM_PAINT)}},
        {"both waiting: the GL window paints once, after the view",
         [&] { InvalidateRect(view, nullptr, FALSE); },
         {Posted("view", WM_PAINT), Posted("gl", WM_PAINT)}},
        {"the frame painted through a DC that does not clip its children",
         [&] {
             HDC dc = GetDCEx(frame, nullptr, DCX_CACHE);
             FillWhole(dc, kDrawnOver);
             ReleaseDC(frame, dc);
             EXPECT_EQ(PixelAt(frame, 150, 70), kDrawnOver) << "GetDCEx without DCX_CLIPCHILDREN reaches the children";
             RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
         },
         {Posted("frame", WM_PAINT), Posted("pane", WM_PAINT), Posted("tree", WM_PAINT), Posted("view", WM_PAINT),
          Posted("gl", WM_PAINT)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        c.act();
        EXPECT_LT(PaintsUntilIdle(), kEndlessPaints);
        EXPECT_TRUE(recorder.Matches(c.paints));
        ExpectEveryWindowShown();
        EXPECT_EQ(PaintsUntilIdle(), 0) << "idle again";
    }
}

TEST_F(ClippedPainting, DeviceContextsLeaveOutWhatTheStyleClips)
{
    struct Case {
        const char* name;
        HWND window;
        COLORREF atTree;  // frame point (20, 20), inside the tree
        COLORREF atGl;    // frame point (150, 70), inside the GL window
    };
    const Case cases[] = {
        {"the frame's GetDC", frame, kTreeColour, kGlColour},
        {"the view's GetDC reaches its GL window", view, kTreeColour, kDrawnOver},
        {"the pane's GetDC keeps off its tree", pane, kTreeColour, kGlColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HDC dc = GetDC(c.window);
        FillWhole(dc, kDrawnOver);
        ReleaseDC(c.window, dc);
        EXPECT_EQ(PixelAt(frame, 20, 20), c.atTree);
        EXPECT_EQ(PixelAt(frame, 150, 70), c.atGl);
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ExpectEveryWindowShown();
    }
}

TEST_F(ClippedPainting, SiblingsThatClipKeepOutOfEachOther)
{
    // A second pane over the first one's lower half.
    ASSERT_NE(AddWindowOnTop({30, 80, 120, 130}), nullptr);
    InvalidateRect(pane, nullptr, FALSE);
    EXPECT_LT(PaintsUntilIdle(), kEndlessPaints);
    EXPECT_TRUE(recorder.Matches({Posted("pane", WM_PAINT)}));
    EXPECT_EQ(PixelAt(frame, 50, 100), kDrawnOver) << "the pane below keeps out of the pane above";
    EXPECT_EQ(PixelAt(frame, 50, 70), kPaneColour);
}

TEST_F(ClippedPainting, AChildMovedAwayShowsTheSiblingBelowIt)
{
    HWND over = AddWindowOnTop({20, 90, 80, 130});
    ASSERT_NE(over, nullptr);
    ShowWindow(over, SW_HIDE);
    EXPECT_LT(PaintsUntilIdle(), kEndlessPaints);
    EXPECT_EQ(recorder.Count(pane, WM_PAINT), 1) << "the frame's WS_CLIPCHILDREN does not keep the pane waiting";
    EXPECT_EQ(recorder.Count(gl, WM_PAINT), 0) << "what the child never covered stays";
    ExpectEveryWindowShown();
}

// A main window without WS_CLIPCHILDREN holding a client area (with it)
// whose two document windows clip their siblings, each with a view in it,
// as the document windows of the program stand one behind the other. Each
// window paints its whole client in its own colour and keeps the update
// box of its last paint.
class StackedDocuments : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 200, 150});
        client = MakeChild("client", main, {0, 0, 200, 150}, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
        back = MakeChild("back", client, {0, 0, 200, 150}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
        backView = MakeChild("back view", back, {10, 10, 190, 140});
        front = MakeChild("front", client, {0, 0, 200, 150}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
        frontView = MakeChild("front view", front, {10, 10, 190, 140});
        SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        for (auto [window, colour] : {std::pair{main, kFrameColour}, std::pair{client, kFrameColour},
                                      std::pair{back, kPaneColour}, std::pair{backView, kTreeColour},
                                      std::pair{front, kViewColour}, std::pair{frontView, kGlColour}}) {
            PaintWith(window, colour, [this](HWND hwnd, const RECT& box) { painted[hwnd] = box; });
        }
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        PumpUntilIdle();
        recorder.SkipDefaults();
        recorder.Only({WM_PAINT});
        recorder.Clear();
        painted.clear();
    }

    HWND main = nullptr;
    HWND client = nullptr;
    HWND back = nullptr;
    HWND backView = nullptr;
    HWND front = nullptr;
    HWND frontView = nullptr;
    std::map<HWND, RECT> painted;
};

// The main window painting over the client area makes the windows in it
// paint again only where they show: a document window hidden behind the
// one on top, and its view, lost nothing and hear nothing (a view that
// paints may take a shared child window over, away from the view on top).
TEST_F(StackedDocuments, APaintOverThemRepaintsOnlyWhatShows)
{
    struct Case {
        const char* name;
        RECT frontPlace;     // client coordinates
        RECT backViewPaint;  // client coordinates of the back view; empty: no paint
        POINT backViewPoint; // main window point that shows the back view
    };
    const Case cases[] = {
        {"the front window covers the back one", {0, 0, 200, 150}, {0, 0, 0, 0}, {-1, -1}},
        {"the front window covers the back one's right half", {100, 0, 200, 150}, {0, 0, 90, 130}, {50, 70}},
        {"the front window covers the back one's lower part", {0, 80, 200, 150}, {0, 0, 180, 70}, {50, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT& r = c.frontPlace;
        SetWindowPos(front, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
        MoveWindow(frontView, 10, 10, r.right - r.left - 20, r.bottom - r.top - 20, TRUE);
        PumpUntilIdle();
        recorder.Clear();
        painted.clear();
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        EXPECT_LT(PaintsUntilIdle(), kEndlessPaints);
        EXPECT_EQ(recorder.Count(frontView, WM_PAINT), 1) << "the view on top was painted over";
        if (IsRectEmpty(&c.backViewPaint)) {
            EXPECT_EQ(recorder.Count(back, WM_PAINT), 0) << "the hidden document window painted";
            EXPECT_EQ(recorder.Count(backView, WM_PAINT), 0) << "the hidden view painted";
        } else {
            ASSERT_EQ(recorder.Count(backView, WM_PAINT), 1);
            EXPECT_EQ(painted[backView].left, c.backViewPaint.left);
            EXPECT_EQ(painted[backView].top, c.backViewPaint.top);
            EXPECT_EQ(painted[backView].right, c.backViewPaint.right);
            EXPECT_EQ(painted[backView].bottom, c.backViewPaint.bottom);
            EXPECT_EQ(PixelAt(main, c.backViewPoint.x, c.backViewPoint.y), kTreeColour) << "the back view";
        }
        EXPECT_EQ(PixelAt(main, 195, 145), kViewColour) << "the front window's edge";
        EXPECT_EQ(PixelAt(main, 180, 130), kGlColour) << "the front view";
        EXPECT_EQ(PaintsUntilIdle(), 0) << "idle again";
    }
}

} // namespace
} // namespace nuvex::user::testing
