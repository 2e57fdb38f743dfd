// The program on a virtual X server started by the test, with a fixture
// drawing on its command line and the test add-in and the entity component
// in its program folder, driven by a pointer and keys through the X server:
// it loads the component's objects and shows the drawing (a click on the
// toolbar's Zoom all button fits it, and its curves show in the view), F5
// runs the add-in's command from its host command id, Esc cancels it, and
// File > Exit with the drawing changed shows the save-changes dialog, whose
// Save button saves the drawing and closes the main window, after which the
// loop ends and the configuration files are rewritten. Skipped without Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "host/shell/windows_manager.h"
#include "host/view/tests/desktop/desktop_fixture.h"
#include "ientitycomponent.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/framework/ids.h"
#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

namespace {

using nuvex::testing::AfterLastStep;
using nuvex::testing::DesktopStepRunner;
using nuvex::testing::FindPopupMenuWindow;
using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::VirtualServer;

constexpr auto kStepTime = std::chrono::seconds(20);
constexpr int kShowTimeoutMs = 5000;
constexpr UINT_PTR kWakeTimer = 1;
constexpr UINT kWakeMs = 100;
constexpr UINT kZoomAllCommand = 32777;
constexpr int kFileMenu = 0;
constexpr int kMenuTries = 3;
// The fixture drawing's objects that the program can recreate: the entity
// component's move and two arcs (the drawing lines are the fixture's own
// class, which the program does not know, and are left out).
constexpr LONG kComponentObjects = 3;
// Pixels other than the white paper in the fitted view, at the least.
constexpr int kDrawnPixels = 300;

POINT Centre(RECT rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// What the X server shows of `region` (screen): its pixels that are not
// white, and a checksum of all of them; -1 when nothing is shown.
struct ShownRegion {
    int drawn = -1;
    uint64_t checksum = 0;
};

ShownRegion ShownPixels(HWND top, RECT region)
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    RECT frame{};
    ShownRegion shown;
    if (!SdlReadShownPixels(top, &pixels, &width, &height) || !::GetWindowRect(top, &frame)) {
        return shown;
    }
    shown.drawn = 0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            const int px = x - frame.left;
            const int py = y - frame.top;
            if (px < 0 || py < 0 || px >= width || py >= height) {
                continue;
            }
            const uint32_t colour =
                pixels[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)] & 0xFFFFFF;
            shown.checksum = shown.checksum * 1099511628211ull + colour;
            if (colour != 0xFFFFFF) {
                ++shown.drawn;
            }
        }
    }
    return shown;
}

// The save-changes dialog while it is up, else null.
HWND SaveChangesDialog()
{
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::GetDlgItem(active, kWindowsManagerList) != nullptr ? active : nullptr;
}

bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(DesktopProgram, OpensItsDrawingRunsAnAddinCommandAndEndsWhenItsWindowCloses)
{
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the program's desktop test needs a virtual X server";
    }
    VirtualServer server(xvfb);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";

    TestProgramFolder folder;
    folder.AddEntityComponent();
    TestAddinModule addin(folder.AddTestAddin("testaddin"));
    ASSERT_TRUE(addin.Loaded());
    addin.Reset();
    const std::string drawing = (folder.Path() / "fixture.nvx").string();
    ASSERT_TRUE(WriteFixtureDrawing(drawing)) << "the entity component cannot be loaded";

    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    {
        RunningProgram program({drawing});
        ASSERT_TRUE(StartSdlDisplay());
        ASSERT_TRUE(program.Start());
        CMainFrame* frame = program.Frame();
        HWND top = frame->GetSafeHwnd();
        ASSERT_TRUE(SdlWaitUntilShown(top, kShowTimeoutMs)) << "the main window never showed on the X server";
        ::SetTimer(top, kWakeTimer, kWakeMs, nullptr);
        CNuvexDoc* document = program.ActiveDocument();
        ASSERT_NE(document, nullptr);
        LONG objects = 0;
        document->GetHostDocument()->GetObjectCount(&objects);
        EXPECT_EQ(objects, kComponentObjects);
        POSITION position = document->GetFirstViewPosition();
        CView* view = document->GetNextView(position);
        ASSERT_NE(view, nullptr);

        Pointer pointer(display);
        auto viewRect = [&] {
            RECT rect{};
            view->GetWindowRect(&rect);
            return rect;
        };
        IHostView* hostView = nullptr;
        document->GetHostDocument()->GetFirstView(&hostView);
        ASSERT_NE(hostView, nullptr);
        auto ViewScale = [&] {
            double scale = 0.0;
            hostView->GetScale(&scale);
            return scale;
        };
        auto clickToolbarButton = [&](UINT command) {
            CMainToolBar& toolbar = *frame->Toolbars().front();
            RECT button{};
            toolbar.GetItemRect(toolbar.CommandToIndex(command), &button);
            toolbar.ClientToScreen(&button);
            pointer.Click(top, Centre(button));
        };
        HMENU fileMenu = ::GetSubMenu(::GetMenu(top), kFileMenu);
        const int exitItem = fileMenu != nullptr ? ::GetMenuItemCount(fileMenu) - 1 : -1;
        bool exitClicked = false;
        int menuTries = 0;
        auto clickFileMenu = [&] {
            RECT item{};
            EXPECT_TRUE(GetMenuItemRect(top, ::GetMenu(top), kFileMenu, &item));
            pointer.Click(top, Centre(item));
        };
        std::filesystem::file_time_type writtenBefore{};
        ShownRegion before;
        ShownRegion after;
        double scaleBefore = 0.0;
        DesktopStepRunner runner({
            {"the drawing fitted by the toolbar's Zoom all button",
             [&] {
                 before = ShownPixels(top, viewRect());
                 scaleBefore = ViewScale();
                 clickToolbarButton(kZoomAllCommand);
             },
             [&] {
                 // The view's scale changed and the screen shows the drawing
                 // anew.
                 after = ShownPixels(top, viewRect());
                 return std::fabs(ViewScale() - scaleBefore) > 1e-9 && after.drawn > kDrawnPixels &&
                        after.checksum != before.checksum;
             }},
            {"F5 runs the add-in's command", [&] { pointer.Key(top, VK_F5); },
             [&] { return Contains(addin.Log(), "testaddin.so event 8193 number 7 final 1"); }},
            {"Esc cancels it", [&] { pointer.Key(top, VK_ESCAPE); },
             [&] { return Contains(addin.Log(), "testaddin.so command released"); }},
            {"File > Exit offers the changed drawing in the save-changes dialog",
             [&] {
                 writtenBefore = std::filesystem::last_write_time(drawing);
                 document->SetModifiedFlag(TRUE);
                 clickFileMenu();
             },
             [&] {
                 if (HWND dialog = SaveChangesDialog(); dialog != nullptr) {
                     return SdlWaitUntilShown(dialog, kShowTimeoutMs) != FALSE;
                 }
                 HWND popup = FindPopupMenuWindow();
                 if (popup != nullptr && !exitClicked && SdlWaitUntilShown(popup, kShowTimeoutMs)) {
                     RECT item{};
                     EXPECT_TRUE(GetMenuItemRect(popup, fileMenu, exitItem, &item));
                     pointer.Click(popup, Centre(item));
                     exitClicked = true;
                 } else if (popup == nullptr && exitClicked && menuTries < kMenuTries) {
                     // A click that missed the item (a slow X server) closed
                     // the menu without a command: open it again.
                     ++menuTries;
                     exitClicked = false;
                     clickFileMenu();
                 }
                 return false;
             }},
            {"Save in the dialog saves the drawing and closes the main window",
             [&] {
                 HWND dialog = SaveChangesDialog();
                 RECT button{};
                 ::GetWindowRect(::GetDlgItem(dialog, kWindowsManagerSave), &button);
                 pointer.Click(dialog, Centre(button));
             },
             [] { return false; }},
        },
                          [&] {
                              const std::string shot = ::testing::TempDir() + "nuvex_program_stuck-" +
                                                       std::to_string(getpid()) + ".png";
                              SaveWindowScreenshot(top, shot.c_str());
                              std::printf("screenshot of the stuck program: %s\n", shot.c_str());
                          },
                          AfterLastStep::LeaveLoopRunning, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        const int result = program.Run();
        SetIdleScript(nullptr);
        EXPECT_EQ(result, 0) << "stuck at: " << runner.Failed() << " ("
                             << (pointer.ThroughX() ? "X test extension" : "SDL events") << "); drawing pixels "
                             << before.drawn << " before, " << after.drawn << " after the fit";
        EXPECT_TRUE(runner.Failed().empty()) << runner.Failed();
        const std::vector<std::string> expected = {
            "testaddin.so create 7 0 objects 3",
            "testaddin.so event 1 number 7 final 1",
            "testaddin.so event 8193 number 7 final 1",
            "testaddin.so event 16 final 1",
            "testaddin.so command released",
        };
        std::vector<std::string> commandEvents;
        for (const std::string& entry : addin.Log()) {
            if (entry.find(" create ") != std::string::npos || entry.find(" event ") != std::string::npos ||
                entry.find(" released") != std::string::npos) {
                commandEvents.push_back(entry);
            }
        }
        EXPECT_EQ(commandEvents, expected);
        EXPECT_FALSE(::IsWindow(top));
        EXPECT_GT(std::filesystem::last_write_time(drawing), writtenBefore) << "the drawing was not saved";
    }
    EXPECT_EQ(folder.Read("AddInsCfg/testaddin.cfg"), "ADDIN_CLSID " + ClassIdText(addin.ClassId()));
    EXPECT_EQ(folder.Read("AddInsCfg/entities.cfg"), "ADDIN_CLSID " + ClassIdText(CLSID_EntityComponent));
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
}

} // namespace
