// The demo frame of the library's classes under the sdl back-end on a
// virtual X server started by the test, its menu bar driven as a person
// would through the X server: Alt alone lights the first button, Right
// moves along the bar, Esc leaves, Alt with a mnemonic opens a popup,
// Right and Left move between popups (wrapping round), Esc closes them;
// a click on a button opens its popup, the pointer moving to another
// button opens that one's, and a click on an item chooses its command.
// The keys come first: once a popup window has had the X server's
// keyboard focus, a server without a window manager gives it to no one. A screenshot of the frame goes to
// the test's temporary folder (kept when the test fails or
// NUVEX_KEEP_SCREENSHOTS is set).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/menulook/tests/look_frame.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/xserver_support.h"

namespace {

using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::VirtualServer;

constexpr auto kStepTime = std::chrono::seconds(15);
constexpr int kShowTimeoutMs = 5000;
constexpr UINT_PTR kWakeTimer = 1;
constexpr UINT kWakeMs = 100;

POINT Centre(RECT rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

struct Step {
    std::string name;
    std::function<void()> act;
    std::function<bool()> done;
};

// Runs the steps from the idle script while the loops run (the program's
// and the popups'); posts WM_QUIT when they are done or one times out.
class StepRunner {
public:
    explicit StepRunner(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    bool OnIdle()
    {
        if (m_next >= m_steps.size()) {
            return Quit();
        }
        Step& step = m_steps[m_next];
        if (!m_acted) {
            m_started = std::chrono::steady_clock::now();
            step.act();
            m_acted = true;
            return false;
        }
        if (step.done()) {
            ++m_next;
            m_acted = false;
            return true;
        }
        if (std::chrono::steady_clock::now() - m_started > kStepTime) {
            m_failed = step.name;
            if (HWND popup = FindPopupWindow()) {
                PostMessageA(popup, WM_CANCELMODE, 0, 0);
            }
            m_next = m_steps.size();
            return Quit();
        }
        return false;
    }
    const std::string& Failed() const { return m_failed; }
    bool Finished() const { return m_next >= m_steps.size() && m_failed.empty(); }

private:
    bool Quit()
    {
        if (m_quitPosted) {
            return false;
        }
        m_quitPosted = true;
        PostQuitMessage(0);
        return true;
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_acted = false;
    bool m_quitPosted = false;
    std::chrono::steady_clock::time_point m_started;
    std::string m_failed;
};

std::string ShotPath(const char* name)
{
    return ::testing::TempDir() + name + "-" + std::to_string(getpid()) + ".png";
}

TEST(MenuBarDesktop, APersonDrivesTheMenuBarByKeyboardAndMouse)
{
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the menu bar desktop test needs a virtual X server";
    }
    VirtualServer server(program);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    ResetWindowSystem(1024, 768);
    ASSERT_TRUE(StartSdlDisplay());
    CNewMenu::InitLibrary();
    CNewMenu::SetMenuDrawMode(8);
    FixtureResources resources;
    LookFrameResources frameResources;

    const std::string shot = ShotPath("menu_bar_desktop");
    bool passed = false;
    {
        CLookFrame* frame = CLookFrame::Open(RECT{40, 40, 560, 380});
        ASSERT_NE(frame, nullptr);
        HWND top = frame->GetSafeHwnd();
        ASSERT_TRUE(SdlWaitUntilShown(top, kShowTimeoutMs)) << "the frame never showed on the X server";
        ::SetFocus(top);
        ::SetTimer(top, kWakeTimer, kWakeMs, nullptr);
        CNewMenuBar& bar = frame->m_menuBar;
        Pointer pointer(display);
        auto button = [&](int index) {
            CRect r;
            bar.Items()[static_cast<size_t>(index)]->GetRect(r, FALSE);
            bar.ClientToScreen(&r);
            return Centre(r);
        };
        auto popupOpen = [&](int item) {
            HWND popup = FindPopupWindow();
            return popup != nullptr && bar.GetTrackingState() == kTrackPopup && bar.GetCurrentItem() == item &&
                   SdlWaitUntilShown(popup, kShowTimeoutMs);
        };
        auto idle = [&] { return bar.GetTrackingState() == kTrackNone && FindPopupWindow() == nullptr; };
        auto key = [&](int virtualKey) { pointer.Key(top, virtualKey); };
        std::vector<Step> steps{
            {"the pointer rests on the frame's client area",
             [&] {
                 RECT client{};
                 GetWindowRect(top, &client);
                 pointer.Move(top, POINT{client.left + 260, client.top + 200});
             },
             [] { return true; }},
            {"Alt alone lights the first button", [&] { key(VK_MENU); },
             [&] { return bar.GetTrackingState() == kTrackHot && bar.GetHotItem() == 0; }},
            {"Right moves to Edit", [&] { key(VK_RIGHT); }, [&] { return bar.GetHotItem() == 1; }},
            {"Esc leaves menu mode", [&] { key(VK_ESCAPE); }, idle},
            {"Alt and H open Help's popup",
             [&] {
                 pointer.KeyDown(top, VK_MENU);
                 pointer.Key(top, 'H');
                 pointer.KeyUp(top, VK_MENU);
             },
             [&] { return popupOpen(4); }},
            {"Right wraps round to File's popup", [&] { key(VK_RIGHT); }, [&] { return popupOpen(0); }},
            {"Left goes back to Help's", [&] { key(VK_LEFT); }, [&] { return popupOpen(4); }},
            {"Left again to Window's", [&] { key(VK_LEFT); }, [&] { return popupOpen(3); }},
            {"Esc closes it", [&] { key(VK_ESCAPE); }, idle},
            {"a click on File opens its popup", [&] { pointer.Click(top, button(0)); }, [&] { return popupOpen(0); }},
            {"the pointer on Edit opens Edit's popup", [&] { pointer.Move(top, button(1)); },
             [&] { return popupOpen(1); }},
            {"and back on File, File's", [&] { pointer.Move(top, button(0)); }, [&] { return popupOpen(0); }},
            {"the frame's screenshot with the popup open", [&] { SaveWindowScreenshot(top, shot.c_str()); },
             [] { return true; }},
            {"a click on Open... chooses it",
             [&] {
                 HWND popup = FindPopupWindow();
                 RECT item{};
                 HMENU file = ::GetSubMenu(bar.GetMenu(), 0);
                 GetMenuItemRect(popup, file, 1, &item);
                 pointer.Click(popup, Centre(item));
             },
             [&] {
                 return std::find(frame->m_commands.begin(), frame->m_commands.end(), kCmdOpen) !=
                        frame->m_commands.end();
             }},
        };
        StepRunner runner(std::move(steps));
        SetIdleScript([&] { return runner.OnIdle(); });
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (!CWnd::WalkPreTranslateTree(top, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        SetIdleScript(nullptr);
        EXPECT_TRUE(runner.Finished()) << "stuck at: " << runner.Failed() << " ("
                                       << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
        EXPECT_TRUE(bar.GetTrackingState() == kTrackNone || bar.GetTrackingState() == kTrackHot);
        passed = !HasFailure();
        ::DestroyWindow(top);
    }
    if (passed && std::getenv("NUVEX_KEEP_SCREENSHOTS") == nullptr) {
        std::filesystem::remove(shot);
    }
    StopSdlDisplay();
    ResetWindowSystem();
}

} // namespace
