// The demo frame under the sdl back-end on a virtual X server started by
// the test, driven by a pointer through the X server: it shows, a toolbar
// click reaches its command handler, a tree item click selects the item
// (TVN_SELCHANGED), a menu item chosen through the menu bar floats the
// tree bar, a toolbar button docks it again, and the status bar shows the
// texts. Screenshots of the frame and the floating bar go to the test's
// temporary folder; their bars' regions are checked coarsely.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/framework/controlbar.h"
#include "platform/framework/tests/demo/demo_frame.h"
#include "platform/framework/tests/demo/demo_image_support.h"
#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace {

using namespace demo;
using nuvex::testing::AfterLastStep;
using nuvex::testing::DesktopStepRunner;
using nuvex::testing::MenuChoice;
using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::VirtualServer;

// How long one step may take before the test gives up on it.
constexpr auto kStepTime = std::chrono::seconds(15);
constexpr int kShowTimeoutMs = 5000;
constexpr UINT_PTR kWakeTimer = 1;
constexpr UINT kWakeMs = 100;
constexpr int kBarsMenu = 1;  // "&Bars" on the sketch's menu bar
constexpr int kFloatItem = 1; // "&Float Operations" in it

POINT Centre(RECT rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

CString PaneText(CStatusBar& bar, UINT id) { return bar.GetPaneText(bar.CommandToIndex(id)); }

TEST(DemoFrame, RunsUnderTheSdlBackEndDrivenThroughTheXServer)
{
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the demo frame test needs a virtual X server";
    }
    VirtualServer server(program);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    const std::string dir = ::testing::TempDir();
    // The application's profile goes to a folder of its own.
    const std::filesystem::path config = dir + "nuvex-demo-frame-" + std::to_string(getpid());
    std::filesystem::create_directories(config);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    setenv("NUVEX_CONFIG_DIR", config.c_str(), 1);
    ResetWindowSystem(1024, 768);
    ASSERT_TRUE(StartSdlDisplay());

    {
        CDemoApp app;
        ASSERT_TRUE(app.InitInstance());
        CDemoMainFrame* frame = app.Frame();
        HWND top = frame->GetSafeHwnd();
        ASSERT_TRUE(SdlWaitUntilShown(top, kShowTimeoutMs)) << "the frame never showed on the X server";
        ASSERT_NE(app.Child(), nullptr);
        EXPECT_NE(app.Child()->GetActiveView(), nullptr);
        // A timer keeps every wait short.
        ::SetTimer(top, kWakeTimer, kWakeMs, nullptr);

        Pointer pointer(display);
        CTreeCtrl& tree = frame->m_treeBar.Tree();
        auto clickButton = [&](UINT command) {
            RECT button{};
            frame->m_toolBar.GetItemRect(frame->m_toolBar.CommandToIndex(command), &button);
            frame->m_toolBar.ClientToScreen(&button);
            pointer.Click(top, Centre(button));
        };
        auto treeItem = [&](const char* text) -> HTREEITEM {
            for (HTREEITEM root = tree.GetRootItem(); root != nullptr; root = tree.GetNextSiblingItem(root)) {
                for (HTREEITEM item = tree.GetChildItem(root); item != nullptr;
                     item = tree.GetNextSiblingItem(item)) {
                    if (tree.GetItemText(item) == text) {
                        return item;
                    }
                }
            }
            return nullptr;
        };
        auto floatingFrame = [&]() -> HWND {
            HWND root = ::GetAncestor(frame->m_treeBar.GetSafeHwnd(), GA_ROOT);
            return root != top ? root : nullptr;
        };
        const std::string frameShot = ShotPath("demo_frame");
        const std::string floatingShot = ShotPath("demo_frame_floating");
        const std::string dockedShot = ShotPath("demo_frame_docked_again");
        HWND floating = nullptr;
        MenuChoice floatChoice;
        auto chooseFloat = [&] {
            floatChoice.Start(
                [&] {
                    RECT item{};
                    EXPECT_TRUE(GetMenuItemRect(top, ::GetMenu(top), kBarsMenu, &item));
                    pointer.Click(top, Centre(item));
                },
                [&](HWND popup) {
                    RECT item{};
                    HMENU bars = ::GetSubMenu(::GetMenu(top), kBarsMenu);
                    EXPECT_TRUE(GetMenuItemRect(popup, bars, kFloatItem, &item));
                    pointer.Click(popup, Centre(item));
                });
        };
        auto nothing = [] { return true; };

        DesktopStepRunner runner({
            {"a click on the toolbar's Hello button", [&] { clickButton(kHelloCommand); },
             [&] {
                 return frame->m_helloCount == 1 && frame->m_statusBar.GetPaneText(0) == "Hello from the demo frame";
             }},
            {"a click on the tree item Pocket 2",
             [&] {
                 RECT item{};
                 ASSERT_TRUE(tree.GetItemRect(treeItem("Pocket 2"), &item, TRUE));
                 tree.ClientToScreen(&item);
                 pointer.Click(top, Centre(item));
             },
             [&] { return frame->m_treeSelections > 0; }},
            {"the frame's screenshot", [&] { EXPECT_TRUE(SaveWindowScreenshot(top, frameShot.c_str())); }, nothing},
            {"Float Operations chosen through the Bars menu of the menu bar", chooseFloat,
             [&] {
                 if (frame->m_treeBar.IsFloating()) {
                     floating = floatingFrame();
                     return floating != nullptr && SdlWaitUntilShown(floating, kShowTimeoutMs);
                 }
                 floatChoice.Follow();
                 return false;
             }},
            {"the floating bar's screenshot",
             [&] { EXPECT_TRUE(SaveWindowScreenshot(floating, floatingShot.c_str())); }, nothing},
            {"a click on the toolbar's Dock button", [&] { clickButton(kDockTreeCommand); },
             [&] { return !frame->m_treeBar.IsFloating(); }},
            {"the frame's screenshot with the bar docked again",
             [&] { EXPECT_TRUE(SaveWindowScreenshot(top, dockedShot.c_str())); }, nothing},
        },
                          [&] { SaveWindowScreenshot(top, ShotPath("demo_frame_stuck").c_str()); },
                          AfterLastStep::QuitLoop, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        app.Run();
        SetIdleScript(nullptr);
        EXPECT_TRUE(runner.Finished()) << "stuck at: " << runner.Failed() << " ("
                                       << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";

        // What the commands did.
        EXPECT_EQ(frame->m_helloCount, 1);
        EXPECT_EQ(frame->m_selectedText, "Pocket 2");
        EXPECT_EQ(tree.GetSelectedItem(), treeItem("Pocket 2"));
        EXPECT_EQ(PaneText(frame->m_statusBar, kTreePane), "Tree: Pocket 2");
        EXPECT_EQ(PaneText(frame->m_statusBar, kCommandsPane), "Commands: 3");
        EXPECT_FALSE(frame->m_treeBar.IsFloating());
        EXPECT_EQ(::GetParent(frame->m_treeBar.GetSafeHwnd()), ::GetDlgItem(top, static_cast<int>(AFX_IDW_DOCKBAR_LEFT)));
        EXPECT_FALSE(floating != nullptr && ::IsWindowVisible(floating));

        // The pictures: the bars' regions hold what they draw.
        if (runner.Finished()) {
            const Image shot = LoadImage(frameShot);
            ASSERT_GT(shot.width, 0);
            const RECT toolbar = RectInShot(frame->m_toolBar.GetSafeHwnd(), top);
            EXPECT_GT(CountNear(shot, toolbar, RGB(220, 30, 30)), 20) << "the Hello button's red disc";
            EXPECT_GT(CountNear(shot, toolbar, RGB(40, 190, 60)), 20) << "the Colour button's green square";
            const RECT status = RectInShot(frame->m_statusBar.GetSafeHwnd(), top);
            EXPECT_GT(CountNear(shot, status, RGB(0, 0, 0), 80), 30) << "the status bar's text";
            const RECT treeRect = RectInShot(tree.GetSafeHwnd(), top);
            EXPECT_GT(CountNear(shot, treeRect, RGB(0, 0, 0), 80), 30) << "the tree's labels";
            EXPECT_GT(CountOtherThan(shot, treeRect, RGB(255, 255, 255)), 100) << "the tree's lines and selection";
            CView* view = app.Child()->GetActiveView();
            const RECT viewRect = RectInShot(view->GetSafeHwnd(), top);
            EXPECT_GT(CountNear(shot, viewRect, RGB(40, 120, 200)), 500) << "the sketch's circle";

            const Image floatingImage = LoadImage(floatingShot);
            ASSERT_GT(floatingImage.width, 0);
            const RECT all{0, 0, floatingImage.width, floatingImage.height};
            EXPECT_GT(CountNear(floatingImage, all, RGB(0, 0, 0), 80), 30) << "the floating tree's labels";
            EXPECT_GE(floatingImage.width, 180);

            const Image docked = LoadImage(dockedShot);
            ASSERT_GT(docked.width, 0);
            EXPECT_GT(CountNear(docked, RectInShot(tree.GetSafeHwnd(), top), RGB(0, 0, 0), 80), 30);
        }

        DiscardShots({frameShot, floatingShot, dockedShot});
        ::KillTimer(top, kWakeTimer);
        app.CloseAllDocuments(TRUE);
        if (app.m_pMainWnd != nullptr) {
            app.m_pMainWnd->DestroyWindow();
        }
    }
    AfxDeleteTempMaps();
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
    unsetenv("NUVEX_CONFIG_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
}

} // namespace
