// The milling add-in's panes and tools in the program on a virtual X server,
// driven only by the pointer and the keyboard through the X server: the
// sample part opened, an operation and a pocket added as a person's first
// job does; then the pocket's item in the "Workshop" features tree hidden
// and shown again from its right-click popup (its label and the drawn view
// follow), the "NC code" tab showing the pocket's NC program in its colours,
// the simulation running the tool along the pocket's toolpath while the
// passed NC lines turn red, two curves picked with no command running and
// measured in the properties panel (Ctrl toggling), and a machine renamed
// in the machine settings dialog and written to the program folder's
// machine store. What each step did is read from the program's own objects
// (tree items, text controls, the running command). A click that a slow X
// server drops is tried again once the program shows it never arrived.
// Skipped without Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/simulation_probe.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/menu_bar_support.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/main_frame.h"
#include "host/view/nuvex_view.h"
#include "icontrols.h"
#include "platform/controls/commctrl.h"
#include "platform/controls/controls.h"
#include "platform/display/screenshot.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/display/sdl/tests/desktop_steps.h"
#include "platform/display/sdl/tests/xserver_support.h"
#include "platform/framework/ids.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
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
constexpr int kRightButton = 3;
constexpr const char* kToolbarName = "Manufacturing";
constexpr UINT kZoomAllCommand = 32777;
constexpr const char* kFeaturesPage = "Features";
constexpr const char* kNcCodePage = "NC code";
constexpr const char* kHiddenMark = " <Hidden>";
// How long what the server shows must stay the same to count as painted.
constexpr auto kSettleTime = std::chrono::milliseconds(500);
constexpr int kPanelOk = 1000;
constexpr int kToolList = 211;

// The simulation panel's controls.
constexpr int kPhaseList = 100;
constexpr int kSimulationCancel = 102;
constexpr int kSimulationText = 107;
constexpr int kStartButton = 110;
constexpr int kStopButton = 111;
constexpr int kSpeedField = 121;
// Typed after the field's "1": the tool runs a hundred times as fast, so
// that it passes several lines within a step.
constexpr const char* kSpeedDigits = "00";
constexpr double kSpeedFactor = 100.0;
constexpr size_t kLinesToPass = 4;

// The selection information panel's value fields.
constexpr int kPickedCount = 102;
constexpr int kClosedCount = 103;
constexpr int kOpenCount = 104;
constexpr int kPickedLength = 105;

// The machine settings dialog's controls.
constexpr int kMachineName = 6001;
constexpr int kModalCheck = 6013;
constexpr int kModifyButton = 6021;
constexpr int kMachineList = 6025;

// The pane's colours (0x00BBGGRR): headings red, G words blue, axis words
// dark red; a passed line of the simulation red and bold.
constexpr COLORREF kHeadingRed = 0x0000FF;
constexpr COLORREF kGWordBlue = 0xC00000;
constexpr COLORREF kAxisDarkRed = 0x000080;
constexpr COLORREF kMarkedRed = 0x0000FF;

// The box round the sample part's pocket (model coordinates): its boundary
// and both islands lie inside, the plate's outline outside.
constexpr double kPocketBoxLeft = 17.0;
constexpr double kPocketBoxBottom = 10.0;
constexpr double kPocketBoxRight = 104.0;
constexpr double kPocketBoxTop = 70.0;

// Points on two edges of the plate's outline (120 x 80 at the origin): its
// bottom edge and its right edge, which meet at (120, 0).
struct ModelPoint {
    double x;
    double y;
};
constexpr ModelPoint kBottomEdge = {60.0, 0.0};
constexpr ModelPoint kRightEdge = {120.0, 40.0};

// What the selection information shows after each pick: the count, the
// closed and open contours and the length.
struct PickedFields {
    const char* count;
    const char* closed;
    const char* open;
    const char* length;
};

// The shipped machine store with the current machine renamed and its modal
// G addresses switched off (count; per machine its name, modal and
// separator switches, current flag, line numbering).
constexpr const char* kRenamedMachine = "Power Control CNC 2";
constexpr const char* kNameTyped = " 2";
constexpr const char* kRenamedStore = "2\n"
                                      "Power Control CNC 2\n0 1\n1\n1\n"
                                      "Siemens 3Axis Milling\n1 1\n0\n1\n";

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ItemText(HWND tree, HTREEITEM item)
{
    char text[256] = {};
    TVITEMA record{};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = text;
    record.cchTextMax = sizeof text;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record));
    return text;
}

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The first feature's item: the first item two levels below the root
// (root, operation, feature), or null.
HTREEITEM FirstFeatureItem(HWND tree)
{
    if (tree == nullptr)
        return nullptr;
    HTREEITEM root = NextItem(tree, TVGN_ROOT, nullptr);
    for (HTREEITEM operation = root != nullptr ? NextItem(tree, TVGN_CHILD, root) : nullptr; operation != nullptr;
         operation = NextItem(tree, TVGN_NEXT, operation))
        if (HTREEITEM feature = NextItem(tree, TVGN_CHILD, operation); feature != nullptr)
            return feature;
    return nullptr;
}

// The scripting object of the host's text control `window`, or null.
IRichEditControl* TextObjectOf(HWND window)
{
    auto* control = dynamic_cast<CRichEditLineCtrl*>(CWnd::FromHandlePermanent(window));
    return control != nullptr ? &control->ScriptingObject() : nullptr;
}

LONG RowCount(IRichEditControl* text)
{
    LONG rows = 0;
    if (text != nullptr)
        text->GetRowCount(&rows);
    return rows;
}

std::string RowText(IRichEditControl* text, LONG row)
{
    char buffer[512] = {};
    LONG length = 0;
    if (text == nullptr || FAILED(text->GetRow(row, buffer, sizeof buffer, &length)))
        return {};
    return std::string(buffer, static_cast<size_t>(std::max<LONG>(length, 0)));
}

// The format of the character at `column` of `row`.
CHARFORMAT FormatAt(IRichEditControl* text, LONG row, LONG column)
{
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    LONG start = 0;
    DWORD mask = 0;
    if (text != nullptr && SUCCEEDED(text->RowIndex(row, &start)))
        text->GetCharFormat(start + column, &format, &mask);
    return format;
}

bool RowMarked(IRichEditControl* text, LONG row)
{
    const CHARFORMAT format = FormatAt(text, row, 0);
    return (format.dwEffects & CFE_BOLD) != 0 && format.crTextColor == kMarkedRed;
}

bool InPocketBox(const SimulationProbePoint& point)
{
    return point.x >= kPocketBoxLeft && point.x <= kPocketBoxRight && point.y >= kPocketBoxBottom &&
           point.y <= kPocketBoxTop;
}

// The machine settings dialog while it is up (the active window holding
// the machine list), else null.
HWND MachineDialog()
{
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::GetDlgItem(active, kMachineList) != nullptr ? active : nullptr;
}

std::string ComboItemText(HWND combo, int index)
{
    char text[256] = {};
    if (combo == nullptr || ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= 255)
        return {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(MillingPanes, TheFeaturesTreeNcPaneSimulationSelectionAndMachinesTakeRealInput)
{
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        GTEST_SKIP() << "Xvfb is not installed (tools/deps.sh installs the xvfb package); "
                        "the panes need a virtual X server";
    }
    VirtualServer server(xvfb);
    const std::string display = server.Start();
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";

    // The test's program folder holds copies of the shipped data files, so
    // the machine store the dialog writes is the folder's own.
    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    const std::filesystem::path store = folder.Path() / "Toolstore" / "poststore.dat";
    const std::string shippedStore = ReadFile(store);
    ASSERT_FALSE(shippedStore.empty()) << store;
    const std::filesystem::path work =
        std::filesystem::path(::testing::TempDir()) / ("nuvex-milling-panes-" + std::to_string(getpid()));
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const std::filesystem::path drawing = work / "sample_part.nvx";
    std::filesystem::copy_file(folder.Path() / "samples" / "sample_part.nvx", drawing);

    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
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
        auto panelControl = [&](int id, const char* className = nullptr) {
            return FindVisibleControl(top, id, className);
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
        // The page of the document's "Workshop" group named `name`, or null.
        auto pageWindow = [&](const char* name) -> HWND {
            CNuvexView* view = FirstView(document());
            CFrameWnd* childFrame = view != nullptr ? view->GetParentFrame() : nullptr;
            if (childFrame == nullptr)
                return nullptr;
            for (CDockingPaneBar* bar : CDockingPaneBar::BarsOf(*childFrame))
                for (const PanePage& page : bar->Pages())
                    if (page.name == name && page.window != nullptr)
                        return page.window->GetSafeHwnd();
            return nullptr;
        };
        auto pageShown = [&](const char* name) {
            HWND window = pageWindow(name);
            return window != nullptr && ::IsWindowVisible(window) != FALSE;
        };
        auto clickPageTab = [&](const char* name) {
            RECT tab{};
            if (HWND tabs = FindPageTab(top, name, &tab); tabs != nullptr) {
                POINT centre = Centre(tab);
                ::ClientToScreen(tabs, &centre);
                pointer.Click(top, centre);
            }
        };
        auto featuresTree = [&] { return pageWindow(kFeaturesPage); };
        auto featureLabel = [&] {
            HWND tree = featuresTree();
            HTREEITEM item = FirstFeatureItem(tree);
            return item != nullptr ? ItemText(tree, item) : std::string();
        };
        auto isHidden = [&] { return featureLabel().find(kHiddenMark) != std::string::npos; };
        auto rightClickFeature = [&] {
            HWND tree = featuresTree();
            HTREEITEM item = FirstFeatureItem(tree);
            RECT label{};
            std::memcpy(&label, &item, sizeof item);
            if (item == nullptr || ::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)) == 0)
                return;
            POINT centre = Centre(label);
            ::ClientToScreen(tree, &centre);
            pointer.Click(top, centre, kRightButton);
        };
        auto popupShown = [] {
            HWND popup = FindPopupMenuWindow();
            return popup != nullptr && SdlWaitUntilShown(popup, kShowTimeoutMs) != FALSE;
        };
        auto popupUp = [] { return FindPopupMenuWindow() != nullptr; };
        auto popupGone = [] { return FindPopupMenuWindow() == nullptr; };
        auto popupMenu = [] {
            HWND popup = FindPopupMenuWindow();
            return popup != nullptr ? reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
        };
        // Clicks the shown popup's item at `position`.
        auto clickPopupItem = [&](int position) {
            HWND popup = FindPopupMenuWindow();
            RECT item{};
            if (popup != nullptr && GetMenuItemRect(popup, popupMenu(), static_cast<UINT>(position), &item))
                pointer.Click(popup, Centre(item));
        };
        // Whether what the server shows of the view has stayed the same for
        // a while; `shown` is what it showed last.
        auto settledSince = std::chrono::steady_clock::now();
        auto viewSettled = [&](uint64_t& shown) {
            const uint64_t now = ShownChecksum(top, viewRect());
            const auto time = std::chrono::steady_clock::now();
            if (now != shown) {
                shown = now;
                settledSince = time;
                return false;
            }
            return time - settledSince >= kSettleTime;
        };
        auto boxInView = [&] {
            const RECT view = viewRect();
            for (const POINT corner : {screenPointOf(kPocketBoxLeft, kPocketBoxTop),
                                       screenPointOf(kPocketBoxRight, kPocketBoxBottom)})
                if (!::PtInRect(&view, corner))
                    return false;
            return true;
        };
        auto curvesPicked = [&] {
            CNuvexDoc* open = document();
            return open != nullptr && !open->GetCommandObjects().empty();
        };
        auto fileDialogShown = [&] {
            HWND dialog = FileDialog();
            return dialog != nullptr && SdlWaitUntilShown(dialog, kShowTimeoutMs) != FALSE;
        };
        auto ncPane = [&] { return TextObjectOf(pageWindow(kNcCodePage)); };
        auto simulation = [&]() -> std::optional<SimulationProbe> {
            CNuvexDoc* open = document();
            return open != nullptr ? ProbeSimulation(open->GetActiveCommandObject()) : std::nullopt;
        };
        auto simulationText = [&] { return TextObjectOf(panelControl(kSimulationText)); };
        // The selection information's fields (the ids of other panels'
        // controls are the same).
        auto pickedField = [&](int id) { return WindowText(panelControl(id, WC_STATICA)); };
        auto pickedFields = [&] {
            return std::vector<std::string>{pickedField(kPickedCount), pickedField(kClosedCount),
                                            pickedField(kOpenCount), pickedField(kPickedLength)};
        };
        auto fieldsRead = [&](const PickedFields& expected) {
            return pickedFields() ==
                   std::vector<std::string>{expected.count, expected.closed, expected.open, expected.length};
        };
        auto clickModel = [&](ModelPoint at) { pointer.Click(top, screenPointOf(at.x, at.y)); };
        auto ctrlClickModel = [&](ModelPoint at) {
            pointer.KeyDown(top, VK_CONTROL);
            pointer.Click(top, screenPointOf(at.x, at.y));
            pointer.KeyUp(top, VK_CONTROL);
        };
        auto dialogControl = [](int id) { return ::GetDlgItem(MachineDialog(), id); };

        std::string shownLabel;
        std::string hideItem;
        std::string showItem;
        std::vector<std::string> ncRows;
        std::vector<CHARFORMAT> ncFormats;
        uint64_t shownWithFeature = 0;
        uint64_t shownHidden = 0;
        uint64_t shownPicked = 0;
        uint64_t shownAgain = 0;
        // The simulation's lines seen under way, and where the tool was.
        std::set<long> linesPassed;
        std::vector<std::string> offPath;
        std::vector<long> unmarked;
        long stoppedAt = -1;
        auto stoppedSince = std::chrono::steady_clock::now();
        const PickedFields kOneEdge = {" 1", " 0", " 1", "120.000"};
        const PickedFields kTwoEdges = {" 2", " 0", " 1", "200.000"};
        DesktopStepRunner runner(
            {
                {"File > Open shows the file dialog",
                 [&] {
                     HWND popup = FindPopupMenuWindow();
                     if (popup == nullptr) {
                         pointer.Click(top, Centre(MenuBarButton(frame->MenuBar(), kFileMenu)));
                         return;
                     }
                     if (!SdlWaitUntilShown(popup, kShowTimeoutMs))
                         return;
                     HMENU fileMenu = ::GetSubMenu(frame->MenuBar().GetMenu(), kFileMenu);
                     for (int i = 0; i < ::GetMenuItemCount(fileMenu); ++i) {
                         RECT item{};
                         if (::GetMenuItemID(fileMenu, i) == ID_FILE_OPEN && GetMenuItemRect(popup, fileMenu, i, &item))
                             pointer.Click(popup, Centre(item));
                     }
                 },
                 [&] { return popupGone() && fileDialogShown(); }, [] { return FileDialog() != nullptr; }},
                {"the sample part's path typed into it opens the drawing",
                 [&] {
                     HWND dialog = FileDialog();
                     HWND name = ::GetDlgItem(dialog, kFileNameEdit);
                     clickControl(name);
                     pointer.Key(dialog, VK_END);
                     for (size_t i = WindowText(name).size(); i > 0; --i)
                         pointer.Key(dialog, VK_BACK);
                     EXPECT_TRUE(pointer.Type(dialog, drawing.string()));
                     pointer.Key(dialog, VK_RETURN);
                 },
                 [&] { return document() != nullptr && FileDialog() == nullptr && FirstView(document()) != nullptr; }},
                {"the toolbar's Add Milling 2.5D Operation button shows the operation's panel",
                 [&] { clickToolbarButton(kCommandAddOperation); },
                 [&] { return commandRunning() && panelControl(kPanelOk) != nullptr; }, commandRunning},
                {"Ok in the panel adds the operation", [&] { clickControl(panelControl(kPanelOk)); },
                 [&] { return !commandRunning(); }, [&] { return !commandRunning(); }},
                {"the toolbar's pocket button shows the pocket panel",
                 [&] { clickToolbarButton(kCommandPocketMilling); },
                 [&] { return commandRunning() && panelControl(kToolList) != nullptr; }, commandRunning},
                {"the Standard toolbar's Zoom all button fits the part into the view",
                 [&] {
                     CMainToolBar& standard = *frame->Toolbars().front();
                     RECT button{};
                     standard.GetItemRect(standard.CommandToIndex(kZoomAllCommand), &button);
                     standard.ClientToScreen(&button);
                     pointer.Click(top, Centre(button));
                 },
                 [&] { return boxInView() && viewSettled(shownPicked); }, boxInView},
                {"a click beside the pocket and one at the box's other corner pick the pocket's boundary and "
                 "islands",
                 [&] {
                     const POINT from = screenPointOf(kPocketBoxLeft, kPocketBoxTop);
                     const POINT to = screenPointOf(kPocketBoxRight, kPocketBoxBottom);
                     pointer.Click(top, from);
                     pointer.Move(top, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
                     pointer.Move(top, POINT{to.x - 2, to.y - 2});
                     pointer.Click(top, to);
                 },
                 curvesPicked, curvesPicked},
                {"Ok accepts the pocket", [&] { clickControl(panelControl(kPanelOk)); },
                 [&] { return !commandRunning(); }, [&] { return !commandRunning(); }},
                {"the Features tab shows the tree with the pocket's item", [&] { clickPageTab(kFeaturesPage); },
                 [&] {
                     return pageShown(kFeaturesPage) && !featureLabel().empty() && !isHidden() &&
                            viewSettled(shownWithFeature);
                 },
                 [&] { return pageShown(kFeaturesPage); }},
                {"a right click on the pocket's item shows its popup", rightClickFeature,
                 [&] {
                     if (!popupShown())
                         return false;
                     hideItem = MenuItemText(popupMenu(), 0);
                     return true;
                 },
                 popupUp},
                {"Hide in the popup hides the pocket", [&] { clickPopupItem(0); },
                 [&] {
                     shownLabel = featureLabel();
                     return popupGone() && isHidden() && viewSettled(shownHidden);
                 },
                 [&] { return popupGone() || isHidden(); }},
                {"a right click on the hidden item shows its popup again", rightClickFeature,
                 [&] {
                     if (!popupShown())
                         return false;
                     showItem = MenuItemText(popupMenu(), 0);
                     return true;
                 },
                 popupUp},
                {"Show in the popup shows the pocket again", [&] { clickPopupItem(0); },
                 [&] {
                     const std::string label = featureLabel();
                     return popupGone() && !label.empty() && !isHidden() && viewSettled(shownAgain);
                 },
                 [&] { return popupGone() || !isHidden(); }},
                {"the NC code tab shows the pocket's NC program", [&] { clickPageTab(kNcCodePage); },
                 [&] {
                     IRichEditControl* pane = ncPane();
                     if (!pageShown(kNcCodePage) || pane == nullptr)
                         return false;
                     // Filled once the program's end shows.
                     const LONG rows = RowCount(pane);
                     if (rows < 2 || RowText(pane, rows - 1).find("M30") == std::string::npos)
                         return false;
                     ncRows.clear();
                     ncFormats.clear();
                     for (LONG row = 0; row < rows; ++row) {
                         ncRows.push_back(RowText(pane, row));
                         for (LONG column = 0; column < static_cast<LONG>(ncRows.back().size()); ++column)
                             ncFormats.push_back(FormatAt(pane, row, column));
                     }
                     return true;
                 },
                 [&] { return pageShown(kNcCodePage); }},
                {"the toolbar's simulation button shows the simulation panel",
                 [&] { clickToolbarButton(kCommandSimulation); },
                 [&] { return simulation().has_value() && panelControl(kPhaseList, WC_COMBOBOXA) != nullptr; },
                 [&] { return simulation().has_value(); }},
                {"a click into the phase list drops it down",
                 [&] { clickControl(panelControl(kPhaseList, WC_COMBOBOXA)); },
                 [&] { return DroppedList() != nullptr; }, [] { return DroppedList() != nullptr; }},
                {"the pocket chosen from it fills the panel's NC text",
                 [&] {
                     HWND list = DroppedList();
                     RECT item{};
                     ::SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
                     POINT centre = Centre(item);
                     ::ClientToScreen(list, &centre);
                     pointer.Click(top, centre);
                 },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     return DroppedList() == nullptr && run && run->featureChosen &&
                            RowCount(simulationText()) > 1 && ::IsWindowEnabled(panelControl(kStartButton)) != FALSE;
                 },
                 [] { return DroppedList() == nullptr; }},
                {"a click into the speed field gives it the keyboard", [&] { clickControl(panelControl(kSpeedField)); },
                 [&] { return ::GetFocus() == panelControl(kSpeedField); },
                 [&] { return ::GetFocus() == panelControl(kSpeedField); }},
                {"digits typed after the speed field's 1 make the tool run faster",
                 [&] {
                     pointer.Key(top, VK_END);
                     EXPECT_TRUE(pointer.Type(top, kSpeedDigits));
                 },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     return run && std::fabs(run->speedFactor - kSpeedFactor) < 1e-9;
                 }},
                {"Start runs the tool along the pocket's toolpath while the passed NC lines turn red",
                 [&] { clickControl(panelControl(kStartButton)); },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     if (!run || !run->running || run->lineIndex < 0 || run->lineIndex >= run->lineCount)
                         return false;
                     if (linesPassed.insert(run->lineIndex).second) {
                         if (!InPocketBox(run->from) || !InPocketBox(run->to))
                             offPath.push_back("line " + std::to_string(run->lineIndex));
                         if (run->row >= 0 && !RowMarked(simulationText(), run->row))
                             unmarked.push_back(run->row);
                     }
                     return linesPassed.size() >= kLinesToPass;
                 },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     return run && run->running;
                 }},
                {"Stop halts the tool where it is", [&] { clickControl(panelControl(kStopButton)); },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     if (!run || run->running)
                         return false;
                     const auto now = std::chrono::steady_clock::now();
                     if (run->lineIndex != stoppedAt) {
                         stoppedAt = run->lineIndex;
                         stoppedSince = now;
                         return false;
                     }
                     return now - stoppedSince >= kSettleTime;
                 },
                 [&] {
                     const std::optional<SimulationProbe> run = simulation();
                     return run && !run->running;
                 }},
                {"Cancel in the panel ends the simulation", [&] { clickControl(panelControl(kSimulationCancel)); },
                 [&] { return !commandRunning(); }, [&] { return !commandRunning(); }},
                {"a click on the plate's bottom edge picks it and the panel measures it",
                 [&] { clickModel(kBottomEdge); }, [&] { return fieldsRead(kOneEdge); },
                 [&] { return pickedField(kPickedCount) == kOneEdge.count; }},
                {"a Ctrl click on its right edge adds that edge", [&] { ctrlClickModel(kRightEdge); },
                 [&] { return fieldsRead(kTwoEdges); },
                 [&] { return pickedField(kPickedLength) != kOneEdge.length; }},
                {"a Ctrl click on the right edge again takes it away", [&] { ctrlClickModel(kRightEdge); },
                 [&] { return fieldsRead(kOneEdge); },
                 [&] { return pickedField(kPickedLength) != kTwoEdges.length; }},
                {"Escape ends the picking", [&] { pointer.Key(top, VK_ESCAPE); },
                 [&] { return pickedField(kPickedCount) == "0"; }},
                {"the toolbar's machine settings button shows the machine dialog",
                 [&] { clickToolbarButton(kCommandMachineSettings); },
                 [&] {
                     HWND dialog = MachineDialog();
                     return dialog != nullptr && SdlWaitUntilShown(dialog, kShowTimeoutMs) != FALSE;
                 },
                 [] { return MachineDialog() != nullptr; }},
                // The keys follow once the field has the keyboard: keys that
                // come with the click go to the control that had it (the
                // machine list, where End would choose the last machine).
                {"a click into the name field gives it the keyboard",
                 [&] { clickControl(dialogControl(kMachineName)); },
                 [&] { return ::GetFocus() == dialogControl(kMachineName); },
                 [&] { return ::GetFocus() == dialogControl(kMachineName); }},
                {"a name typed after the current machine's renames it in the field",
                 [&] {
                     pointer.Key(MachineDialog(), VK_END);
                     EXPECT_TRUE(pointer.Type(MachineDialog(), kNameTyped));
                 },
                 [&] { return WindowText(dialogControl(kMachineName)) == kRenamedMachine; }},
                {"a click on Modal G adresses switches them off", [&] { clickControl(dialogControl(kModalCheck)); },
                 [&] { return ::SendMessageA(dialogControl(kModalCheck), BM_GETCHECK, 0, 0) == BST_UNCHECKED; },
                 [&] { return ::SendMessageA(dialogControl(kModalCheck), BM_GETCHECK, 0, 0) == BST_UNCHECKED; }},
                {"Modify changes the machine in the list", [&] { clickControl(dialogControl(kModifyButton)); },
                 [&] { return ComboItemText(dialogControl(kMachineList), 0) == kRenamedMachine; },
                 [&] { return ComboItemText(dialogControl(kMachineList), 0) == kRenamedMachine; }},
                {"OK writes the machine store", [&] { clickControl(dialogControl(IDOK)); },
                 [&] { return MachineDialog() == nullptr && ReadFile(store) != shippedStore; },
                 [] { return MachineDialog() == nullptr; }},
            },
            [&] {
                const std::string shot =
                    ::testing::TempDir() + "milling_panes_stuck-" + std::to_string(getpid()) + ".png";
                SaveWindowScreenshot(top, shot.c_str());
                std::printf("screenshot of the stuck program: %s\n", shot.c_str());
                std::printf("the feature's item: [%s], the popup's items: [%s] [%s]\n", featureLabel().c_str(),
                            hideItem.c_str(), showItem.c_str());
                const std::vector<std::string> fields = pickedFields();
                std::printf("the selection fields: [%s] [%s] [%s] [%s]\n", fields[0].c_str(), fields[1].c_str(),
                            fields[2].c_str(), fields[3].c_str());
                HWND focus = ::GetFocus();
                char focusClass[64] = {};
                ::GetClassNameA(focus, focusClass, sizeof focusClass);
                std::printf("lines passed: %zu; the focus: %s %d [%s]\n", linesPassed.size(), focusClass,
                            ::GetDlgCtrlID(focus), WindowText(focus).c_str());
            },
            AfterLastStep::QuitLoop, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        const int result = program.Run();
        SetIdleScript(nullptr);
        EXPECT_EQ(result, 0) << "stuck at: " << runner.Failed() << " ("
                             << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
        EXPECT_TRUE(runner.Failed().empty()) << runner.Failed();
        EXPECT_TRUE(messages.empty()) << messages.front();
        if (runner.Finished()) {
            // The tree's popups and labels; the hidden pocket's toolpath
            // left the view, and came back.
            EXPECT_EQ(hideItem, "Hide");
            EXPECT_EQ(showItem, "Show");
            EXPECT_NE(shownLabel.find(kHiddenMark), std::string::npos) << shownLabel;
            EXPECT_NE(shownHidden, shownWithFeature);
            EXPECT_EQ(shownAgain, shownWithFeature);

            // The NC pane: the heading in red, then the numbered program
            // with each G word blue and each axis word dark red (in the
            // blocks, the rows that begin with "N"); every character
            // protected.
            ASSERT_GE(ncRows.size(), 3u);
            EXPECT_EQ(ncRows.front(), "Operation 1");
            size_t at = 0;
            size_t gWords = 0;
            size_t axisWords = 0;
            for (size_t row = 0; row < ncRows.size(); ++row) {
                const std::string& text = ncRows[row];
                for (size_t column = 0; column < text.size(); ++column, ++at) {
                    SCOPED_TRACE("row " + std::to_string(row) + " [" + text + "] column " + std::to_string(column));
                    const CHARFORMAT& format = ncFormats[at];
                    EXPECT_NE(format.dwEffects & CFE_PROTECTED, 0u);
                    if (row == 0) {
                        EXPECT_EQ(format.crTextColor, kHeadingRed);
                    } else if (text.front() != 'N') {
                        continue;
                    } else if (text[column] == 'G') {
                        EXPECT_EQ(format.crTextColor, kGWordBlue);
                        ++gWords;
                    } else if (text[column] == 'X' || text[column] == 'Y' || text[column] == 'Z') {
                        EXPECT_EQ(format.crTextColor, kAxisDarkRed);
                        ++axisWords;
                    }
                }
            }
            EXPECT_GT(gWords, 0u);
            EXPECT_GT(axisWords, 0u);
            bool cuts = false;
            for (const std::string& text : ncRows)
                cuts = cuts || text.find("G01") != std::string::npos;
            EXPECT_TRUE(cuts) << "no cutting move in the NC pane";

            // The simulation stayed on the pocket's toolpath and marked the
            // row of each line it passed.
            EXPECT_TRUE(offPath.empty()) << offPath.front();
            EXPECT_TRUE(unmarked.empty()) << "row " << unmarked.front() << " not marked";

            // The machine store: the current machine renamed, its modal G
            // addresses off, the other machine as shipped.
            EXPECT_EQ(ReadFile(store), kRenamedStore);
        }
        ReleaseStrimoRecord(app);
    }
    StopSdlDisplay();
    ResetWindowSystem();
    setenv("NUVEX_DISPLAY", "headless", 1);
    if (!HasFailure())
        std::filesystem::remove_all(work);
}

} // namespace
