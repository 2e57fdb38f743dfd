// The sdl back-end on a virtual X server started by the test: a frame
// window with a menu shows, a click through the X server opens the menu,
// a second click chooses its first item, and screenshots are taken.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/user/display_backend.h"
#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace {

using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::VirtualServer;

int g_command = 0;

LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        g_command = LOWORD(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND FindPopupMenuWindow()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM out) {
            char name[16]{};
            GetClassNameA(hwnd, name, sizeof(name));
            if (std::string(name) == "#32768" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(SdlDisplay, ShowsAWindowOpensItsMenuByClicksAndTakesScreenshots)
{
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the sdl back-end smoke test needs a virtual X server";
    }
    VirtualServer server(program);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    ResetWindowSystem(1024, 768);
    ASSERT_TRUE(StartSdlDisplay());

    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = "SdlSmokeFrame";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "&New");
    AppendMenuA(file, MF_STRING, 101, "E&xit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HWND frame = CreateWindowExA(0, "SdlSmokeFrame", "Smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 400, 300,
                                 nullptr, bar, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    UpdateWindow(frame);
    ASSERT_TRUE(SdlWaitUntilShown(frame, 5000)) << "the frame never showed on the X server";
    // A timer keeps every wait short, so the test cannot hang.
    SetTimer(frame, 1, 100, nullptr);

    Pointer pointer(display);
    RECT barItem{};
    ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &barItem));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const std::string dir = ::testing::TempDir();
    const std::string popupShot = dir + "/sdl_popup.png";
    const std::string frameShot = dir + "/sdl_frame.png";
    HWND popup = nullptr;
    bool popupMatchesScreen = false;
    bool clickedItem = false;
    SetIdleScript([&] {
        if (std::chrono::steady_clock::now() > deadline) {
            if (HWND open = FindPopupMenuWindow()) {
                PostMessageA(open, WM_CANCELMODE, 0, 0);
                return true;
            }
            return false;
        }
        if (clickedItem) {
            return false;
        }
        popup = FindPopupMenuWindow();
        if (popup == nullptr || !SdlWaitUntilShown(popup, 5000)) {
            return false;
        }
        SaveWindowScreenshot(popup, popupShot.c_str());
        std::vector<uint32_t> shown;
        int width = 0;
        int height = 0;
        const GdiSurface drawn = GetWindowSurface(popup);
        if (SdlReadShownPixels(popup, &shown, &width, &height) && width == drawn.width && height == drawn.height) {
            popupMatchesScreen = true;
            for (int y = 0; y < height && popupMatchesScreen; ++y) {
                for (int x = 0; x < width; ++x) {
                    if ((shown[static_cast<size_t>(y) * width + x] & 0xFFFFFF) !=
                        (drawn.pixels[static_cast<size_t>(y) * drawn.stride + x] & 0xFFFFFF)) {
                        popupMatchesScreen = false;
                        break;
                    }
                }
            }
        }
        RECT item{};
        GetMenuItemRect(popup, file, 0, &item);
        pointer.Click(popup, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        clickedItem = true;
        return false;
    });

    pointer.Click(frame, POINT{(barItem.left + barItem.right) / 2, (barItem.top + barItem.bottom) / 2});
    while (g_command == 0 && std::chrono::steady_clock::now() < deadline) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            WaitMessage();
        }
    }
    SetIdleScript(nullptr);
    EXPECT_NE(popup, nullptr) << "the click on the menu bar did not open the menu ("
                              << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
    EXPECT_EQ(g_command, 100);
    EXPECT_TRUE(popupMatchesScreen) << "the popup menu's SDL window does not show its pixels";

    ASSERT_TRUE(SaveWindowScreenshot(frame, frameShot.c_str()));
    for (const std::string& shot : {frameShot, popupShot}) {
        SCOPED_TRACE(shot);
        HBITMAP image = LoadPngBitmapFile(shot.c_str());
        ASSERT_NE(image, nullptr);
        BITMAP info{};
        GetObjectA(image, sizeof(info), &info);
        EXPECT_GT(info.bmWidth, 0);
        if (shot == frameShot) {
            EXPECT_EQ(info.bmWidth, 400);
            EXPECT_EQ(info.bmHeight, 300);
        }
        DeleteObject(image);
        std::filesystem::remove(shot);
    }
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
}

} // namespace
