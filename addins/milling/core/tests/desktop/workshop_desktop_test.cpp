// The milling add-in's panes in the program on a virtual X server, driven by
// a pointer and keys through the X server: the sample part with a pocket
// made by the pocket command shows its job in the Features tree (a right
// click on the operation offers its popup, whose "Set Active" keeps it
// active and bold) and its NC program in the NC code pane; the machine
// settings dialog adds a machine that OK makes current in "poststore.dat";
// the simulation runs the tool along the pocket's toolpath and marks the NC
// lines it has passed; and, with no command running, picked curves are
// counted and measured in the properties panel, a Ctrl pick adding to
// them. Skipped without Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "addins/milling/core/tests/desktop/workshop_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/controls/control_panel.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/main_frame.h"
#include "host/shell/pane_group_dialog.h"
#include "host/shell/scroll_tab_ctrl.h"
#include "host/view/nuvex_view.h"
#include "objectmodel/vector3.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/framework/commonctrls.h"
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
constexpr UINT kWakeMs = 50;
constexpr UINT kFirstAddinCommand = 10000;
// The machine settings dialog's controls.
constexpr int kMachineName = 6001;
constexpr int kMachineAdd = 6018;
constexpr int kMachineList = 6025;
// The simulation panel's controls.
constexpr int kPhaseList = 100;
constexpr int kNcCodeField = 107;
constexpr int kShadedBox = 109;
constexpr int kStartButton = 110;
constexpr int kStopButton = 111;
constexpr int kPanelOk = 1000;
// The selection information's value fields.
constexpr int kNumberField = 102;
constexpr int kClosedField = 103;
constexpr int kOpenField = 104;
constexpr int kLengthField = 105;
// Rows of the simulation's NC code field that the tool has passed, at the
// least, before the test stops it.
constexpr LONG kPassedRows = 4;

POINT Centre(RECT rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

POINT ScreenPointOf(CWnd& window, RECT client)
{
    window.ClientToScreen(&client);
    return Centre(client);
}

// A control of the properties page's current panel by its id, or null.
CWnd* PanelControl(const WorkshopPanes& panes, int id)
{
    if (panes.bar == nullptr || panes.propertiesPage < 0)
        return nullptr;
    const PanePage& page = panes.bar->Pages()[static_cast<size_t>(panes.propertiesPage)];
    if (page.currentPanel == nullptr)
        return nullptr;
    for (size_t i = 0; i < page.currentPanel->GetControlCount(); ++i) {
        CWnd* control = page.currentPanel->GetControlWindow(i);
        if (control != nullptr && control->GetDlgCtrlID() == id && control->IsWindowVisible())
            return control;
    }
    return nullptr;
}

std::string WindowText(CWnd* window)
{
    if (window == nullptr)
        return "(none)";
    char text[256] = {};
    ::GetWindowTextA(window->GetSafeHwnd(), text, sizeof text);
    return text;
}

// The rows of a text control that show marked (bold), counted from the top.
LONG MarkedRows(CRichEditLineCtrl& control)
{
    IRichEditControl& object = control.ScriptingObject();
    LONG rows = 0;
    object.GetRowCount(&rows);
    LONG marked = 0;
    for (LONG row = 0; row < rows; ++row) {
        LONG start = 0;
        object.RowIndex(row, &start);
        CHARFORMAT format{};
        format.cbSize = sizeof format;
        DWORD mask = 0;
        if (SUCCEEDED(object.GetCharFormat(start, &format, &mask)) && (format.dwEffects & CFE_BOLD) != 0 &&
            format.crTextColor == 0x0000FF)
            ++marked;
    }
    return marked;
}

// The machine store's entries: name and current flag, in file order.
struct StoredMachine {
    std::string name;
    int current = 0;
};
std::vector<StoredMachine> ReadMachines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<StoredMachine> machines;
    int count = 0;
    file >> count;
    std::string line;
    std::getline(file, line);
    for (int i = 0; i < count && file; ++i) {
        StoredMachine machine;
        std::getline(file, machine.name);
        std::getline(file, line); // the modal and separator switches
        file >> machine.current;
        std::getline(file, line);
        std::getline(file, line); // line numbers
        machines.push_back(machine);
    }
    return machines;
}

// The active window when it is the machine settings dialog, else null.
HWND MachineDialog()
{
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::GetDlgItem(active, kMachineList) != nullptr ? active : nullptr;
}

TEST(WorkshopDesktop, APersonSeesTheJobItsProgramTheMachinesTheSimulationAndThePickedCurves)
{
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the panes' desktop test needs a virtual X server";
    }
    VirtualServer server(xvfb);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";

    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    const std::string drawing = (folder.Path() / "samples/sample_part.nvx").string();
    const std::string store = (folder.Path() / "Toolstore/poststore.dat").string();
    const std::vector<StoredMachine> machinesBefore = ReadMachines(store);
    ASSERT_FALSE(machinesBefore.empty());

    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    {
        RunningProgram program({drawing});
        ASSERT_TRUE(StartSdlDisplay());
        ASSERT_TRUE(program.Start());
        CNuvexApp& app = program.App();
        CMainFrame* frame = program.Frame();
        HWND top = frame->GetSafeHwnd();
        ASSERT_TRUE(SdlWaitUntilShown(top, kShowTimeoutMs)) << "the main window never showed on the X server";
        ::SetTimer(top, kWakeTimer, kWakeMs, nullptr);
        CNuvexDoc* document = program.ActiveDocument();
        ASSERT_NE(document, nullptr);
        const std::string made = AddSamplePocket(app, *document);
        ASSERT_TRUE(made.empty()) << made;
        const WorkshopPanes panes = FindWorkshop(app, *document);
        ASSERT_NE(panes.features, nullptr);
        ASSERT_NE(panes.ncCode, nullptr);
        CScrollTabCtrl* tabs = panes.bar->Dialog().TabControl();
        ASSERT_NE(tabs, nullptr);
        POSITION position = document->GetFirstViewPosition();
        auto* view = dynamic_cast<CNuvexView*>(document->GetNextView(position));
        ASSERT_NE(view, nullptr);

        Pointer pointer(display);
        auto clickTab = [&](long page) {
            RECT item{};
            tabs->GetItemRect(static_cast<int>(page), &item);
            pointer.Click(top, ScreenPointOf(*tabs, item));
        };
        auto clickControl = [&](CWnd* control) {
            if (control == nullptr)
                return;
            RECT rect{};
            control->GetWindowRect(&rect);
            pointer.Click(top, Centre(rect));
        };
        auto clickCommand = [&](long command) {
            const UINT id = kFirstAddinCommand + static_cast<UINT>(StrimoCommandIndex(app, command));
            for (const auto& toolbar : frame->Toolbars()) {
                const int index = toolbar->CommandToIndex(id);
                if (index < 0)
                    continue;
                RECT button{};
                toolbar->GetItemRect(index, &button);
                pointer.Click(top, ScreenPointOf(*toolbar, button));
                return;
            }
            ADD_FAILURE() << "no toolbar button for command " << command;
        };
        auto clickModel = [&](double x, double y) {
            const POINT at = view->ModelToView(CVector3(x, y, 0.0));
            RECT spot{at.x, at.y, at.x + 1, at.y + 1};
            pointer.Click(top, ScreenPointOf(*view, spot));
        };
        HTREEITEM operationItem = nullptr;
        bool popupChosen = false;
        std::string addedName;
        bool dropClicked = false;
        DesktopStepRunner runner(
            {
                {"the Features tab shows the job: the root, the operation in bold, its pocket",
                 [&] { clickTab(panes.featuresPage); },
                 [&] {
                     const std::vector<std::string> lines = TreeLines(*panes.features);
                     return panes.bar->Dialog().SelectedPage() == panes.featuresPage && lines.size() == 3 &&
                            lines[0] == "Milling 2.5D" && lines[1].find("[bold]") != std::string::npos &&
                            lines[2] == "    Phase 1" && panes.features->IsWindowVisible();
                 }},
                {"a right click on the operation offers Set Active, which keeps it active",
                 [&] {
                     operationItem = panes.features->GetChildItem(panes.features->GetRootItem());
                     RECT item{};
                     panes.features->GetItemRect(operationItem, &item, TRUE);
                     pointer.Click(top, ScreenPointOf(*panes.features, item), 3);
                 },
                 [&] {
                     HWND popup = FindPopupMenuWindow();
                     if (popup != nullptr && !popupChosen && SdlWaitUntilShown(popup, kShowTimeoutMs)) {
                         HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                         RECT item{};
                         if (menu != nullptr && GetMenuItemRect(popup, menu, 0, &item)) {
                             pointer.Click(popup, Centre(item));
                             popupChosen = true;
                         }
                         return false;
                     }
                     return popupChosen && popup == nullptr &&
                            (panes.features->GetItemState(operationItem, TVIS_BOLD) & TVIS_BOLD) != 0;
                 }},
                {"the NC code tab shows the pocket's program to its end",
                 [&] { clickTab(panes.ncCodePage); },
                 [&] {
                     const std::vector<std::string> rows = TextRows(*panes.ncCode);
                     return panes.bar->Dialog().SelectedPage() == panes.ncCodePage && rows.size() > 20 &&
                            rows[0] == "Operation 1" && rows[1] == "Phase 1" && rows.back() == "M30" &&
                            panes.ncCode->IsWindowVisible();
                 }},
                {"the machine settings button opens the dialog", [&] { clickCommand(kCommandMachineSettings); },
                 [&] { return MachineDialog() != nullptr && SdlWaitUntilShown(MachineDialog(), kShowTimeoutMs); }},
                {"a name typed after the current one and Add put a machine in the list",
                 [&] {
                     HWND dialog = MachineDialog();
                     char name[256] = {};
                     ::GetDlgItemTextA(dialog, kMachineName, name, sizeof name);
                     addedName = std::string(name) + "mk";
                     RECT edit{};
                     ::GetWindowRect(::GetDlgItem(dialog, kMachineName), &edit);
                     pointer.Click(dialog, Centre(edit));
                     pointer.Key(dialog, VK_END);
                     pointer.Key(dialog, 'M');
                     pointer.Key(dialog, 'K');
                     RECT add{};
                     ::GetWindowRect(::GetDlgItem(dialog, kMachineAdd), &add);
                     pointer.Click(dialog, Centre(add));
                 },
                 [&] {
                     HWND list = ::GetDlgItem(MachineDialog(), kMachineList);
                     return list != nullptr &&
                            ::SendMessageA(list, CB_GETCOUNT, 0, 0) ==
                                static_cast<LRESULT>(machinesBefore.size() + 1) &&
                            ::SendMessageA(list, CB_GETCURSEL, 0, 0) == static_cast<LRESULT>(machinesBefore.size());
                 }},
                {"OK writes the store with the new machine current",
                 [&] {
                     HWND dialog = MachineDialog();
                     RECT ok{};
                     ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
                     pointer.Click(dialog, Centre(ok));
                 },
                 [&] {
                     const std::vector<StoredMachine> machines = ReadMachines(store);
                     return MachineDialog() == nullptr && machines.size() == machinesBefore.size() + 1 &&
                            machines.back().name == addedName && machines.back().current == 1 &&
                            machines.front().current == 0;
                 }},
                {"the simulation button shows its panel with the phases",
                 [&] { clickCommand(kCommandSimulation); },
                 [&] {
                     CWnd* phases = PanelControl(panes, kPhaseList);
                     return phases != nullptr && ::SendMessageA(phases->GetSafeHwnd(), CB_GETCOUNT, 0, 0) == 1;
                 }},
                {"the pocket chosen from the phase list shows its NC code",
                 [&] {
                     clickControl(PanelControl(panes, kPhaseList));
                     dropClicked = false;
                 },
                 [&] {
                     CWnd* phases = PanelControl(panes, kPhaseList);
                     auto* code = dynamic_cast<CRichEditLineCtrl*>(PanelControl(panes, kNcCodeField));
                     if (phases == nullptr || code == nullptr)
                         return false;
                     HWND combo = phases->GetSafeHwnd();
                     if (!dropClicked && ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0) {
                         RECT drop{};
                         ::SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
                         const auto itemHeight = static_cast<LONG>(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
                         RECT field{};
                         phases->GetWindowRect(&field);
                         // The list drops below the field; its first item.
                         const LONG listTop = std::max(drop.top, field.bottom);
                         pointer.Click(top, POINT{(drop.left + drop.right) / 2, listTop + itemHeight / 2 + 1});
                         dropClicked = true;
                         return false;
                     }
                     const std::vector<std::string> rows = TextRows(*code);
                     return ::SendMessageA(combo, CB_GETCURSEL, 0, 0) == 0 && rows.size() > 20 &&
                            rows.front() == "Phase 1";
                 }},
                {"Shaded tool ticked and Start run the tool along the toolpath, marking the lines it passes",
                 [&] {
                     clickControl(PanelControl(panes, kShadedBox));
                     clickControl(PanelControl(panes, kStartButton));
                 },
                 [&] {
                     auto* code = dynamic_cast<CRichEditLineCtrl*>(PanelControl(panes, kNcCodeField));
                     CWnd* shaded = PanelControl(panes, kShadedBox);
                     return code != nullptr && shaded != nullptr &&
                            ::SendMessageA(shaded->GetSafeHwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED &&
                            MarkedRows(*code) >= kPassedRows;
                 }},
                {"Stop and Ok end the simulation",
                 [&] {
                     clickControl(PanelControl(panes, kStopButton));
                     clickControl(PanelControl(panes, kPanelOk));
                 },
                 [&] { return document->GetLevelCount() == 1; }},
                {"a pick of the plate's left side shows one object 80 long",
                 [&] { clickModel(0.0, 40.0); },
                 [&] {
                     return WindowText(PanelControl(panes, kNumberField)) == " 1" &&
                            WindowText(PanelControl(panes, kLengthField)) == "80.000";
                 }},
                {"a Ctrl pick of its bottom adds it: two curves, one open contour, 200 long",
                 [&] {
                     pointer.KeyDown(top, VK_CONTROL);
                     clickModel(60.0, 0.0);
                     pointer.KeyUp(top, VK_CONTROL);
                 },
                 [&] {
                     return WindowText(PanelControl(panes, kNumberField)) == " 2" &&
                            WindowText(PanelControl(panes, kClosedField)) == " 0" &&
                            WindowText(PanelControl(panes, kOpenField)) == " 1" &&
                            WindowText(PanelControl(panes, kLengthField)) == "200.000";
                 }},
            },
            [&] {
                const std::string shot =
                    ::testing::TempDir() + "nuvex_workshop_stuck-" + std::to_string(getpid()) + ".png";
                SaveWindowScreenshot(top, shot.c_str());
                std::printf("screenshot of the stuck program: %s\n", shot.c_str());
                std::printf("number %s closed %s open %s length %s\n", WindowText(PanelControl(panes, kNumberField)).c_str(),
                            WindowText(PanelControl(panes, kClosedField)).c_str(),
                            WindowText(PanelControl(panes, kOpenField)).c_str(),
                            WindowText(PanelControl(panes, kLengthField)).c_str());
            },
            AfterLastStep::QuitLoop, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        const int result = program.Run();
        SetIdleScript(nullptr);
        EXPECT_EQ(result, 0) << "stuck at: " << runner.Failed() << " ("
                             << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
        EXPECT_TRUE(runner.Failed().empty()) << runner.Failed();
        program.Stop();
        ReleaseStrimoRecord(app);
    }
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
}

} // namespace
