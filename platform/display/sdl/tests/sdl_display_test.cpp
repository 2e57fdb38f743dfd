// The sdl back-end on a virtual X server started by the test: a frame
// window with a menu shows, a click through the X server opens the menu,
// a second click chooses its first item, and screenshots are taken; the
// X server's buttons, wheel and keys arrive as messages, and a terminate
// signal still ends the program.
#include <gtest/gtest.h>

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/user/display_backend.h"
#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace {

using nuvex::testing::FindPopupMenuWindow;
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
    // Named by process: other test programs may run this test at the same time.
    const std::string popupShot = dir + "/sdl_popup-" + std::to_string(getpid()) + ".png";
    const std::string frameShot = dir + "/sdl_frame-" + std::to_string(getpid()) + ".png";
    HWND popup = nullptr;
    bool popupMatchesScreen = false;
    // A loaded X server may map the popup's window only after the first
    // click on its item has passed: the item is clicked again while the
    // popup stays open, a little later each time.
    int itemClicks = 0;
    auto lastItemClick = std::chrono::steady_clock::now();
    SetIdleScript([&] {
        if (std::chrono::steady_clock::now() > deadline) {
            if (HWND open = FindPopupMenuWindow()) {
                PostMessageA(open, WM_CANCELMODE, 0, 0);
                return true;
            }
            return false;
        }
        if (itemClicks > 0 &&
            (itemClicks >= 5 || std::chrono::steady_clock::now() - lastItemClick < std::chrono::milliseconds(1500))) {
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
        ++itemClicks;
        lastItemClick = std::chrono::steady_clock::now();
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

// Every kind of input the X server's pointer and keyboard give arrives as
// the window system's messages.
std::vector<std::string> g_input;

LRESULT InputProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_RBUTTONDOWN: g_input.push_back("right down"); return 0;
    case WM_RBUTTONUP: g_input.push_back("right up"); return 0;
    case WM_MBUTTONDOWN: g_input.push_back("middle down"); return 0;
    case WM_MBUTTONUP: g_input.push_back("middle up"); return 0;
    case WM_MOUSEWHEEL: g_input.push_back("wheel " + std::to_string(static_cast<short>(HIWORD(wParam)))); return 0;
    case WM_KEYDOWN: g_input.push_back("key down " + std::to_string(wParam)); return 0;
    case WM_KEYUP: g_input.push_back("key up " + std::to_string(wParam)); return 0;
    case WM_CHAR: g_input.push_back("char " + std::to_string(wParam)); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

TEST(SdlDisplay, PointerButtonsWheelAndKeysArriveAsMessages)
{
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the sdl back-end input test needs a virtual X server";
    }
    VirtualServer server(program);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    ResetWindowSystem(1024, 768);
    ASSERT_TRUE(StartSdlDisplay());

    WNDCLASSA wc{};
    wc.lpfnWndProc = InputProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = "SdlInputFrame";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND frame = CreateWindowExA(0, "SdlInputFrame", "Input", WS_POPUP | WS_VISIBLE, 200, 150, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    UpdateWindow(frame);
    SetFocus(frame);
    ASSERT_TRUE(SdlWaitUntilShown(frame, 5000));
    SetTimer(frame, 1, 100, nullptr);

    Pointer pointer(display);
    const POINT inside{350, 250};
    pointer.Click(frame, inside, 3);
    pointer.Click(frame, inside, 2);
    pointer.Wheel(frame, inside, 1);
    pointer.Wheel(frame, inside, -2);
    EXPECT_TRUE(pointer.Key(frame, 'A'));
    EXPECT_TRUE(pointer.Key(frame, VK_RETURN));
    EXPECT_FALSE(pointer.Key(frame, VK_F1 + 20)) << "a key the support does not know";
    const std::vector<std::string> expected{"right down", "right up", "middle down", "middle up", "wheel 120",
                                            "wheel -120", "wheel -120", "key down 65", "char 97", "key up 65",
                                            "key down 13", "char 13", "key up 13"};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (g_input.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            WaitMessage();
        }
    }
    EXPECT_EQ(g_input, expected) << (pointer.ThroughX() ? "X test extension" : "SDL events");
    StopSdlDisplay();

    // A terminate signal still ends a program showing windows.
    const pid_t child = fork();
    if (child == 0) {
        StartSdlDisplay();
        raise(SIGTERM);
        _exit(0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "the program outlived SIGTERM";
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
}

} // namespace
