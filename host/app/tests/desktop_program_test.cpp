// The program on a virtual X server started by the test, with a fixture
// drawing on its command line and the test add-in and the entity component
// in its program folder, driven by a pointer and keys through the X server:
// it loads the component's objects and shows the drawing (a click on the
// toolbar's Zoom all button fits it, and its curves show in the view), F5
// runs the add-in's command from its host command id, Esc cancels it; the
// command's name typed into the command line with a blank starts it, a
// typed value and Enter reach it, Esc cancels it, a blank repeats it and
// Esc cancels that; the add-in's owner-drawn menu item starts it and its
// toolbar button, pressed again, cancels it; File > New opens a second drawing
// beside the first; and File > Exit with the first drawing changed shows
// the save-changes dialog, whose Save button saves the drawing and closes
// the main window, after which the loop ends and the configuration files
// are rewritten. Skipped without Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/menu_bar_support.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/menulook/new_menu_bar.h"
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
using nuvex::testing::MenuChoice;
using nuvex::testing::FindProgram;
using nuvex::testing::Pointer;
using nuvex::testing::VirtualServer;

constexpr auto kStepTime = std::chrono::seconds(20);
constexpr int kShowTimeoutMs = 5000;
constexpr UINT_PTR kWakeTimer = 1;
constexpr UINT kWakeMs = 100;
constexpr UINT kZoomAllCommand = 32777;
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

// How often an entry is in the log.
size_t CountOf(const std::vector<std::string>& log, const std::string& entry)
{
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

// The position of the main menu's item with that text, or -1.
int MenuPosition(HMENU menu, const char* text)
{
    const int count = menu != nullptr ? ::GetMenuItemCount(menu) : 0;
    for (int position = 0; position < count; ++position) {
        if (GetMenuItemCaption(menu, static_cast<UINT>(position)) == text) {
            return position;
        }
    }
    return -1;
}

// Keys for a text of letters, digits and blanks.
void TypeKeys(Pointer& pointer, HWND top, const std::string& text)
{
    for (char c : text) {
        pointer.Key(top, c == ' ' ? VK_SPACE : std::toupper(static_cast<unsigned char>(c)));
    }
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
        auto clickToolbarButton = [&](CMainToolBar& toolbar, UINT command) {
            RECT button{};
            toolbar.GetItemRect(toolbar.CommandToIndex(command), &button);
            toolbar.ClientToScreen(&button);
            pointer.Click(top, Centre(button));
        };
        CNewMenuBar& menuBar = frame->MenuBar();
        const UINT commandId = kFirstHostCommandId + static_cast<UINT>(program.App().FindHostCommand(addin.Object(), 7));
        ASSERT_GE(frame->Toolbars().size(), 2u) << "the add-in's toolbar is missing";
        CMainToolBar& addinToolbar = *frame->Toolbars()[1];
        // A menu of the bar opened by the pointer; its item at `item` (the
        // last one when `last`) clicked once the popup shows.
        MenuChoice menuChoice;
        auto openMenu = [&](const char* caption, int item, bool last) {
            const int position = MenuPosition(menuBar.GetMenu(), caption);
            HMENU popupMenu = ::GetSubMenu(menuBar.GetMenu(), position);
            const int chosen = last ? ::GetMenuItemCount(popupMenu) - 1 : item;
            menuChoice.Start([&, position] { pointer.Click(top, Centre(MenuBarButton(menuBar, position))); },
                             [&, popupMenu, chosen](HWND popup) {
                                 RECT rect{};
                                 EXPECT_TRUE(GetMenuItemRect(popup, popupMenu, static_cast<UINT>(chosen), &rect));
                                 pointer.Click(popup, Centre(rect));
                             });
        };
        auto followMenu = [&] { menuChoice.Follow(); };
        std::filesystem::file_time_type writtenBefore{};
        ShownRegion before;
        ShownRegion after;
        double scaleBefore = 0.0;
        const std::string started = "testaddin.so event 8193 number 7 final 1";
        const std::string released = "testaddin.so command released";
        size_t startsBefore = 0;
        size_t releasesBefore = 0;
        auto mark = [&] {
            startsBefore = CountOf(addin.Log(), started);
            releasesBefore = CountOf(addin.Log(), released);
        };
        auto startedAgain = [&] { return CountOf(addin.Log(), started) > startsBefore; };
        auto releasedAgain = [&] { return CountOf(addin.Log(), released) > releasesBefore; };
        DesktopStepRunner runner({
            {"the drawing fitted by the toolbar's Zoom all button",
             [&] {
                 before = ShownPixels(top, viewRect());
                 scaleBefore = ViewScale();
                 clickToolbarButton(*frame->Toolbars().front(), kZoomAllCommand);
             },
             [&] {
                 // The view's scale changed and the screen shows the drawing
                 // anew.
                 after = ShownPixels(top, viewRect());
                 return std::fabs(ViewScale() - scaleBefore) > 1e-9 && after.drawn > kDrawnPixels &&
                        after.checksum != before.checksum;
             }},
            {"F5 runs the add-in's command", [&] { pointer.Key(top, VK_F5); },
             [&] { return Contains(addin.Log(), started); }},
            {"Esc cancels it", [&] { pointer.Key(top, VK_ESCAPE); },
             [&] { return Contains(addin.Log(), released); }},
            {"the command's name and a blank typed into the command line start it",
             [&] {
                 // A start that hands on the selection empties the line.
                 addin.SetStartAnswer(0x1);
                 mark();
                 TypeKeys(pointer, top, "testcmd ");
             },
             [&] { return startedAgain() && frame->GetCommandLineText().empty(); }},
            {"a typed value and Enter reach it", [&] { TypeKeys(pointer, top, "12"); pointer.Key(top, VK_RETURN); },
             [&] { return Contains(addin.Log(), "testaddin.so event 64 value 12 final 1"); }},
            {"Esc cancels it", [&] { mark(); pointer.Key(top, VK_ESCAPE); }, [&] { return releasedAgain(); }},
            {"a blank repeats it", [&] { mark(); TypeKeys(pointer, top, " "); }, [&] { return startedAgain(); }},
            {"Esc cancels the repeat", [&] { mark(); pointer.Key(top, VK_ESCAPE); }, [&] { return releasedAgain(); }},
            {"the add-in's owner-drawn menu item starts it",
             [&] {
                 mark();
                 openMenu("&Testing", 0, false);
             },
             [&] {
                 if (startedAgain()) {
                     return true;
                 }
                 followMenu();
                 return false;
             }},
            {"its toolbar button pressed again cancels it",
             [&] {
                 mark();
                 clickToolbarButton(addinToolbar, commandId);
             },
             [&] { return releasedAgain(); }},
            {"File > New opens a second drawing", [&] { openMenu("&File", 0, false); },
             [&] {
                 CDocTemplate* drawings = document->GetDocTemplate();
                 int count = 0;
                 for (POSITION at = drawings->GetFirstDocPosition(); at != nullptr; ++count) {
                     drawings->GetNextDoc(at);
                 }
                 if (count == 2 && program.ActiveDocument() != document) {
                     return true;
                 }
                 followMenu();
                 return false;
             }},
            {"File > Exit offers the changed drawing in the save-changes dialog",
             [&] {
                 writtenBefore = std::filesystem::last_write_time(drawing);
                 document->SetModifiedFlag(TRUE);
                 openMenu("&File", 0, true);
             },
             [&] {
                 if (HWND dialog = SaveChangesDialog(); dialog != nullptr) {
                     return SdlWaitUntilShown(dialog, kShowTimeoutMs) != FALSE;
                 }
                 followMenu();
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
        const std::vector<std::string> run = {
            "testaddin.so create 7 0 objects 3",
            "testaddin.so event 1 number 7 final 1",
            "testaddin.so event 8193 number 7 final 1",
        };
        const std::vector<std::string> cancel = {"testaddin.so event 16 final 1", "testaddin.so command released"};
        // F5 and Esc; typed, a value, Esc; the repeat and Esc; the menu item
        // and the button.
        std::vector<std::string> expected;
        for (int i = 0; i < 4; ++i) {
            expected.insert(expected.end(), run.begin(), run.end());
            if (i == 1) {
                expected.push_back("testaddin.so event 64 value 12 final 1");
            }
            expected.insert(expected.end(), cancel.begin(), cancel.end());
        }
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
