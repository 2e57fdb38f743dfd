// The headless back-end drives windows as a person would.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

std::string g_typed;
int g_doubleClicks = 0;
std::vector<POINT> g_moves;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CHAR: g_typed.push_back(static_cast<char>(wParam)); return 0;
    case WM_LBUTTONDBLCLK: ++g_doubleClicks; return 0;
    case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) != 0) {
            g_moves.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        }
        return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class HeadlessDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(800, 600);
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "HeadlessRecorder";
        ASSERT_NE(RegisterClassA(&wc), 0);
        window = CreateWindowExA(0, "HeadlessRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        g_typed.clear();
        g_doubleClicks = 0;
        g_moves.clear();
    }
    void TearDown() override { ResetWindowSystem(); }
    HWND window = nullptr;
};

TEST_F(HeadlessDisplay, IsChosenByTheEnvironment)
{
    // The test runner sets NUVEX_DISPLAY=headless.
    const char* chosen = std::getenv("NUVEX_DISPLAY");
    if (chosen != nullptr && std::string(chosen) == "headless") {
        EXPECT_TRUE(HeadlessDisplayChosen());
    }
}

TEST_F(HeadlessDisplay, TypedTextArrivesAsCharacters)
{
    HeadlessTypeText("Ab1!, x\n");
    PumpUntilIdle();
    EXPECT_EQ(g_typed, "Ab1!, x\r");
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "Shift is released again";
}

TEST_F(HeadlessDisplay, DoubleClickAndDrag)
{
    HeadlessDoubleClick(POINT{20, 20});
    PumpUntilIdle();
    EXPECT_EQ(g_doubleClicks, 1);
    HeadlessDrag(POINT{10, 10}, POINT{50, 30}, 4);
    PumpUntilIdle();
    ASSERT_EQ(g_moves.size(), 4u) << "four steps with the button held";
    EXPECT_EQ(g_moves.back().x, 50);
    EXPECT_EQ(g_moves.back().y, 30);
}

TEST_F(HeadlessDisplay, ScreenSizeAndSurfaces)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    const GdiSurface surface = GetWindowSurface(window);
    EXPECT_EQ(surface.width, 400);
    EXPECT_EQ(surface.height, 300);
    EXPECT_NE(surface.pixels, nullptr);
}

} // namespace
