// A person's first milling job in the program on a virtual X server, with
// the milling add-in, its postprocessor plug-in and the entity component in
// the program folder, driven only by the pointer and the keyboard through
// the X server: File > Open and the file dialog open the sample part, the
// "Manufacturing" toolbar adds an operation (its panel's Ok), the pocket
// command picks the pocket's boundary and islands with a box in the view,
// the tool list of its panel offers the tool store's mills, Recalculate
// shows the new toolpath in the view, Ok accepts it, Save NC File writes
// the program through the save dialog, File > Save and File > Close keep
// and close the drawing, and the reopened drawing (its job and feature
// back, as its features pane shows) writes the same NC program again. A
// click that a slow X server drops is tried again once the program shows
// it never arrived. Skipped without Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/menu_bar_support.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "host/view/nuvex_view.h"
#include "platform/controls/commctrl.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/framework/ids.h"
#include "platform/user/commdlg.h"
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

constexpr auto kStepTime = std::chrono::seconds(15);
constexpr int kShowTimeoutMs = 5000;
constexpr UINT_PTR kWakeTimer = 1;
constexpr UINT kWakeMs = 100;
constexpr int kFileMenu = 0;
constexpr const char* kToolbarName = "Manufacturing";
constexpr UINT kZoomAllCommand = 32777;
// Between two clicks on a scroll bar's arrow, and the frame around a
// scrolled window's bar.
constexpr auto kScrollPause = std::chrono::milliseconds(300);
constexpr int kFrameEdge = 2;
// How long what the server shows must stay the same to count as painted.
constexpr auto kSettleTime = std::chrono::milliseconds(500);

// The controls of the commands' panels and of the file dialogs.
constexpr int kPanelOk = 1000;
constexpr int kToolList = 211;
constexpr int kRecalculate = 206;
constexpr int kSpindleSpeed = 207;

// The box around the sample part's pocket (model coordinates): its boundary
// and both islands lie inside, the plate's outline outside.
constexpr double kPocketBoxLeft = 17.0;
constexpr double kPocketBoxBottom = 10.0;
constexpr double kPocketBoxRight = 104.0;
constexpr double kPocketBoxTop = 70.0;
constexpr const char* kSecondMill = "Flat end mill 6 mm";
constexpr const char* kSecondMillSpindle = "12000";

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether a click at the centre of `control` reaches it (no other window
// covers that point).
bool ShowsItsCentre(HWND control)
{
    RECT rect{};
    if (control == nullptr || !::GetWindowRect(control, &rect))
        return false;
    HWND hit = ::WindowFromPoint(Centre(rect));
    return hit == control || (hit != nullptr && ::IsChild(control, hit));
}

// The nearest ancestor of `control` with a vertical scroll bar, or null.
HWND ScrolledAncestor(HWND control)
{
    for (HWND window = control != nullptr ? ::GetParent(control) : nullptr; window != nullptr;
         window = ::GetParent(window))
        if ((::GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL) != 0)
            return window;
    return nullptr;
}

// The items of a tree control, depth first, each indented by two blanks a
// level.
std::vector<std::string> TreeLabels(HWND tree)
{
    std::vector<std::string> labels;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
        for (; item != nullptr;
             item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                               reinterpret_cast<LPARAM>(item)))) {
            char text[256] = {};
            TVITEMA record{};
            record.mask = TVIF_TEXT;
            record.hItem = item;
            record.pszText = text;
            record.cchTextMax = sizeof text;
            ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record));
            labels.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + text);
            walk(reinterpret_cast<HTREEITEM>(
                     ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                 depth + 1);
        }
    };
    walk(reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0);
    return labels;
}

// The items of the features pane: of the fullest job tree of the frame,
// each without the machine its label may name after " <".
std::vector<std::string> FeaturesPaneLabels(HWND top)
{
    struct Search {
        std::vector<std::string> labels;
    } search;
    ::EnumChildWindows(
        top,
        [](HWND window, LPARAM param) -> BOOL {
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) != WC_TREEVIEWA)
                return TRUE;
            std::vector<std::string> labels = TreeLabels(window);
            for (std::string& label : labels)
                label = label.substr(0, label.find(" <"));
            auto* search = reinterpret_cast<Search*>(param);
            if (labels.size() > search->labels.size())
                search->labels = std::move(labels);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.labels;
}

TEST(MillingFlow, APocketIsMilledSavedAsNcAndComesBackWithTheDrawing)
{
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the milling flow needs a virtual X server";
    }
    VirtualServer server(xvfb);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";

    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    // The person's own folder, with a name typed without capitals.
    const std::filesystem::path work =
        std::filesystem::path(::testing::TempDir()) / ("nuvex-milling-flow-" + std::to_string(getpid()));
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const std::filesystem::path drawing = work / "sample_part.nvx";
    std::filesystem::copy_file(folder.Path() / "samples" / "sample_part.nvx", drawing);
    const std::filesystem::file_time_type copied = std::filesystem::last_write_time(drawing);
    const std::filesystem::path firstNc = work / "pocket_first.nc";
    const std::filesystem::path secondNc = work / "pocket_again.nc";

    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    // Message boxes are kept and answered, and none is expected; the file
    // dialogs are the person's.
    std::vector<std::string> messages;
    {
        RunningProgram program;
        SetDialogAnswerHook([&](const DialogRequest& request) -> std::optional<DialogAnswer> {
            if (request.kind != DialogRequestKind::MessageBox)
                return std::nullopt;
            messages.push_back(request.text);
            return DialogAnswer{IDOK, "", 0};
        });
        ASSERT_TRUE(StartSdlDisplay());
        ASSERT_TRUE(program.Start());
        CNuvexApp& app = program.App();
        CMainFrame* frame = program.Frame();
        HWND top = frame->GetSafeHwnd();
        ASSERT_TRUE(SdlWaitUntilShown(top, kShowTimeoutMs)) << "the main window never showed on the X server";
        ::SetTimer(top, kWakeTimer, kWakeMs, nullptr);
        const int addinIndex = app.FindAddinByClsid(CLSID_StrimoAddin);
        ASSERT_GE(addinIndex, 0) << "the milling add-in was not loaded";
        IAddin* addin = app.AddinRecords()[static_cast<size_t>(addinIndex)].addin;

        CMainToolBar* toolbar = nullptr;
        for (const auto& bar : frame->Toolbars())
            if (WindowText(bar->GetSafeHwnd()) == kToolbarName)
                toolbar = bar.get();
        ASSERT_NE(toolbar, nullptr) << "no \"Manufacturing\" toolbar";

        Pointer pointer(display);
        auto clickToolbarButton = [&](long command) {
            const int index = app.FindHostCommand(addin, command);
            RECT button{};
            toolbar->GetItemRect(toolbar->CommandToIndex(kFirstHostCommandId + static_cast<UINT>(index)), &button);
            toolbar->ClientToScreen(&button);
            pointer.Click(top, Centre(button));
        };
        auto clickControl = [&](HWND control) {
            RECT rect{};
            ::GetWindowRect(control, &rect);
            pointer.Click(top, Centre(rect));
        };
        auto panelControl = [&](int id) { return FindVisibleControl(top, id); };

        // One move through the File menu towards `command`: the popup's
        // item is clicked once the popup shows on the X server, else the
        // menu bar's item opens it. Repeated while the command has not run
        // (a slow server drops a click, or closes the menu without one).
        auto advanceFileMenu = [&](UINT command) {
            HWND popup = FindPopupMenuWindow();
            if (popup == nullptr) {
                pointer.Click(top, Centre(MenuBarButton(frame->MenuBar(), kFileMenu)));
                return;
            }
            if (!SdlWaitUntilShown(popup, kShowTimeoutMs))
                return;
            HMENU fileMenu = ::GetSubMenu(frame->MenuBar().GetMenu(), kFileMenu);
            int position = -1;
            for (int i = 0; i < ::GetMenuItemCount(fileMenu); ++i)
                if (::GetMenuItemID(fileMenu, i) == command)
                    position = i;
            RECT item{};
            EXPECT_TRUE(GetMenuItemRect(popup, fileMenu, position, &item));
            pointer.Click(popup, Centre(item));
        };
        auto fileItem = [&](UINT command) { return [&advanceFileMenu, command] { advanceFileMenu(command); }; };
        auto menuClosed = [] { return FindPopupMenuWindow() == nullptr; };
        // Types `path` into the file dialog's name field and presses Enter.
        auto answerFileDialog = [&](const std::filesystem::path& path) {
            HWND dialog = FileDialog();
            HWND name = ::GetDlgItem(dialog, kFileNameEdit);
            clickControl(name);
            pointer.Key(dialog, VK_END);
            for (size_t i = WindowText(name).size(); i > 0; --i)
                pointer.Key(dialog, VK_BACK);
            EXPECT_TRUE(pointer.Type(dialog, path.string())) << path;
            pointer.Key(dialog, VK_RETURN);
        };
        auto fileDialogUp = [] { return FileDialog() != nullptr; };
        auto fileDialogShown = [&] {
            HWND dialog = FileDialog();
            return dialog != nullptr && SdlWaitUntilShown(dialog, kShowTimeoutMs) != FALSE;
        };
        auto document = [&] { return DocumentAt(app, drawing); };
        auto commandRunning = [&] {
            CNuvexDoc* open = document();
            return open != nullptr && open->IsCommandActive() != FALSE;
        };
        auto viewRect = [&] {
            RECT rect{};
            if (CNuvexView* view = FirstView(document()))
                view->GetWindowRect(&rect);
            return rect;
        };
        auto screenPointOf = [&](double x, double y) {
            CNuvexView* view = FirstView(document());
            POINT client = view->Transform().ClientPointOf(view->Transform().ViewPointOf(CVector3(x, y, 0.0)));
            view->ClientToScreen(&client);
            return client;
        };

        auto saved = [&] {
            CNuvexDoc* open = document();
            return open != nullptr && std::filesystem::last_write_time(drawing) > copied && !open->IsModified();
        };
        auto always = [] { return false; }; // for clicks that may come twice
        std::vector<std::string> paneBeforeClose;
        auto settledSince = std::chrono::steady_clock::now();
        // The picked curves are highlighted as the running command's
        // temporary objects.
        auto curvesPicked = [&] {
            CNuvexDoc* open = document();
            return open != nullptr && !open->GetCommandObjects().empty();
        };
        auto boxInView = [&] {
            const RECT view = viewRect();
            for (const POINT corner : {screenPointOf(kPocketBoxLeft, kPocketBoxTop),
                                       screenPointOf(kPocketBoxRight, kPocketBoxBottom)})
                if (!::PtInRect(&view, corner))
                    return false;
            return true;
        };
        auto lastScroll = std::chrono::steady_clock::now();
        uint64_t shownBeforePick = 0;
        uint64_t shownAfterPick = 0;
        uint64_t shownAfterRecalculate = 0;
        const std::string screenshot = ::testing::TempDir() + "first_milling_job-" + std::to_string(getpid()) + ".png";
        DesktopStepRunner runner(
            {
                {"File > Open shows the file dialog", fileItem(ID_FILE_OPEN),
                 [&] { return menuClosed() && fileDialogShown(); }, fileDialogUp},
                {"the sample part's path typed into it opens the drawing", [&] { answerFileDialog(drawing); },
                 [&] {
                     CNuvexDoc* open = document();
                     return open != nullptr && FileDialog() == nullptr && FirstView(open) != nullptr;
                 }},
                {"the toolbar's Add Milling 2.5D Operation button shows the operation's panel",
                 [&] { clickToolbarButton(kCommandAddOperation); },
                 [&] { return commandRunning() && panelControl(kPanelOk) != nullptr; }, commandRunning},
                {"Ok in the panel adds the operation", [&] { clickControl(panelControl(kPanelOk)); },
                 [&] { return !commandRunning(); }, [&] { return !commandRunning(); }},
                {"the toolbar's pocket button shows the pocket panel with the tool list",
                 [&] { clickToolbarButton(kCommandPocketMilling); },
                 [&] {
                     if (!commandRunning() || panelControl(kToolList) == nullptr)
                         return false;
                     shownBeforePick = ShownChecksum(top, viewRect());
                     return true;
                 },
                 commandRunning},
                {"the Standard toolbar's Zoom all button fits the part into the view",
                 [&] {
                     CMainToolBar& standard = *frame->Toolbars().front();
                     RECT button{};
                     standard.GetItemRect(standard.CommandToIndex(kZoomAllCommand), &button);
                     standard.ClientToScreen(&button);
                     pointer.Click(top, Centre(button));
                 },
                 // Done once the box round the pocket lies in the view and
                 // what the server shows of the view has settled (the pick's
                 // change is measured from there).
                 [&] {
                     if (!boxInView())
                         return false;
                     const uint64_t shown = ShownChecksum(top, viewRect());
                     const auto now = std::chrono::steady_clock::now();
                     if (shown != shownBeforePick) {
                         shownBeforePick = shown;
                         settledSince = now;
                         return false;
                     }
                     return now - settledSince >= kSettleTime;
                 },
                 boxInView},
                {"a click beside the pocket and one at the box's other corner pick the pocket's boundary and "
                 "islands and show the toolpath",
                 [&] {
                     const POINT from = screenPointOf(kPocketBoxLeft, kPocketBoxTop);
                     const POINT to = screenPointOf(kPocketBoxRight, kPocketBoxBottom);
                     pointer.Click(top, from);
                     pointer.Move(top, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
                     pointer.Move(top, POINT{to.x - 2, to.y - 2});
                     pointer.Click(top, to);
                 },
                 [&] {
                     if (!curvesPicked())
                         return false;
                     shownAfterPick = ShownChecksum(top, viewRect());
                     return shownAfterPick != shownBeforePick;
                 },
                 curvesPicked},
                {"the panel scrolled down until its tool list shows", [] {},
                 [&] {
                     if (ShowsItsCentre(panelControl(kToolList)))
                         return true;
                     const auto now = std::chrono::steady_clock::now();
                     if (now - lastScroll > kScrollPause) {
                         lastScroll = now;
                         HWND scrolled = ScrolledAncestor(panelControl(kToolList));
                         RECT rect{};
                         ::GetWindowRect(scrolled, &rect);
                         const int arrow = ::GetSystemMetrics(SM_CXVSCROLL);
                         pointer.Click(top, POINT{rect.right - kFrameEdge - arrow / 2, rect.bottom - kFrameEdge - arrow / 2});
                     }
                     return false;
                 }},
                {"a click into the tool list drops it down", [&] { clickControl(panelControl(kToolList)); },
                 [&] { return DroppedList() != nullptr; }, [] { return DroppedList() != nullptr; }},
                {"the second mill chosen from it fills the tool's fields",
                 [&] {
                     HWND list = DroppedList();
                     RECT item{};
                     ::SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
                     POINT centre = Centre(item);
                     ::ClientToScreen(list, &centre);
                     pointer.Click(top, centre);
                 },
                 [&] {
                     return DroppedList() == nullptr && WindowText(panelControl(kSpindleSpeed)).rfind(kSecondMillSpindle, 0) == 0;
                 },
                 [] { return DroppedList() == nullptr; }},
                {"Recalculate shows the new tool's toolpath", [&] { clickControl(panelControl(kRecalculate)); },
                 [&] {
                     shownAfterRecalculate = ShownChecksum(top, viewRect());
                     if (shownAfterRecalculate == shownAfterPick)
                         return false;
                     SaveWindowScreenshot(top, screenshot.c_str());
                     return true;
                 },
                 always},
                {"Ok accepts the pocket", [&] { clickControl(panelControl(kPanelOk)); },
                 [&] { return !commandRunning(); }, [&] { return !commandRunning(); }},
                {"the features pane shows the operation", [] {},
                 [&] {
                     paneBeforeClose = FeaturesPaneLabels(top);
                     return paneBeforeClose.size() >= 2;
                 }},
                {"the toolbar's Save NC File button shows the save dialog",
                 [&] { clickToolbarButton(kCommandSaveNcFile); }, fileDialogShown, fileDialogUp},
                {"the NC program is written under the typed name", [&] { answerFileDialog(firstNc); },
                 [&] { return FileDialog() == nullptr && std::filesystem::exists(firstNc); }},
                {"File > Save saves the drawing", fileItem(ID_FILE_SAVE), [&] { return menuClosed() && saved(); },
                 saved},
                {"File > Close closes it", fileItem(ID_FILE_CLOSE),
                 [&] { return menuClosed() && document() == nullptr; }, [&] { return document() == nullptr; }},
                {"File > Open shows the file dialog again", fileItem(ID_FILE_OPEN),
                 [&] { return menuClosed() && fileDialogShown(); }, fileDialogUp},
                {"the saved drawing opens again", [&] { answerFileDialog(drawing); },
                 [&] { return document() != nullptr && FileDialog() == nullptr && FirstView(document()) != nullptr; }},
                // FIXME: the pane shows no item for the accepted pocket, and
                // the reopened operation's label no longer names its machine;
                // the same NC program written again shows that both are back.
                {"the reopened drawing's features pane shows the same operations",
                 [] {}, [&] { return FeaturesPaneLabels(top) == paneBeforeClose; }},
                {"Save NC File of the reopened drawing shows the save dialog",
                 [&] { clickToolbarButton(kCommandSaveNcFile); }, fileDialogShown, fileDialogUp},
                {"its NC program is written under another name", [&] { answerFileDialog(secondNc); },
                 [&] { return FileDialog() == nullptr && std::filesystem::exists(secondNc); }},
            },
            [&] {
                const std::string shot =
                    ::testing::TempDir() + "milling_flow_stuck-" + std::to_string(getpid()) + ".png";
                SaveWindowScreenshot(top, shot.c_str());
                std::printf("screenshot of the stuck program: %s\n", shot.c_str());
                std::printf("the features pane before the drawing closed:\n");
                for (const std::string& label : paneBeforeClose)
                    std::printf("  [%s]\n", label.c_str());
                std::printf("and now:\n");
                for (const std::string& label : FeaturesPaneLabels(top))
                    std::printf("  [%s]\n", label.c_str());
            },
            AfterLastStep::QuitLoop, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        const int result = program.Run();
        SetIdleScript(nullptr);
        EXPECT_EQ(result, 0) << "stuck at: " << runner.Failed() << " ("
                             << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
        EXPECT_TRUE(runner.Failed().empty()) << runner.Failed();
        EXPECT_TRUE(messages.empty()) << messages.front();
        std::printf("the program after Recalculate: %s\n", screenshot.c_str());

        const std::string first = ReadFile(firstNc);
        const std::string again = ReadFile(secondNc);
        EXPECT_NE(first.find("G01"), std::string::npos) << "no cutting move in:\n" << first;
        EXPECT_EQ(first, again) << "the reopened drawing's NC program differs";
        ReleaseStrimoRecord(app);
    }
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
    if (!HasFailure())
        std::filesystem::remove_all(work);
}

} // namespace
