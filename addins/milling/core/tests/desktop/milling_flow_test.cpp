// A person's first milling job in the program on a virtual X server, with
// the milling add-in, its postprocessor plug-in and the entity component in
// the program folder, driven only by the pointer and the keyboard through
// the X server: File > Open and the file dialog open the sample part, the
// "Manufacturing" toolbar adds an operation (its panel's Ok), the pocket
// command picks the pocket's boundary and islands with a box in the view,
// the tool list of its panel offers the tool store's mills, Recalculate
// computes the chosen mill's toolpath and Ok accepts it; the contour command
// picks the plate's four sides by clicks on them, its panel's Outside check
// and another mill are chosen, Recalculate and Ok; Save NC File writes the
// program of both through the save dialog, File > Save keeps the drawing
// and File > Exit ends the program. The program started again opens the
// saved drawing (its job and features back, as its features pane shows)
// and writes the same NC program again. A click that a slow X server drops
// is tried again once the program shows it never arrived. Skipped without
// Xvfb.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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
#include "ientityrecord.h"
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
#include "platform/user/winuser.h"

namespace {

using nuvex::testing::AfterLastStep;
using nuvex::testing::DesktopStep;
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
// Between two clicks on a scroll bar's arrow.
constexpr auto kScrollPause = std::chrono::milliseconds(300);
// How long what the server shows must stay the same to count as painted.
constexpr auto kSettleTime = std::chrono::milliseconds(500);

// The controls of the commands' panels and of the file dialogs.
constexpr int kPanelOk = 1000;
constexpr int kToolList = 211;
constexpr int kRecalculate = 206;
constexpr int kSpindleSpeed = 207;
constexpr int kOutsideCheck = 217;

// The box around the sample part's pocket (model coordinates): its boundary
// and both islands lie inside, the plate's outline outside.
constexpr double kPocketBoxLeft = 17.0;
constexpr double kPocketBoxBottom = 10.0;
constexpr double kPocketBoxRight = 104.0;
constexpr double kPocketBoxTop = 70.0;
// The second mill of the tool store (6 mm) pockets, the third (10 mm)
// contours; each is known by its spindle speed.
constexpr const char* kSecondMillSpindle = "12000";
constexpr const char* kThirdMillSpindle = "8000";

// The plate's outline: 120 x 80 with its lower left corner at the origin;
// each side is clicked at its middle.
struct PlateSide {
    const char* name;
    double x;
    double y;
};
constexpr PlateSide kPlateSides[] = {
    {"lower", 60.0, 0.0},
    {"right", 120.0, 40.0},
    {"upper", 60.0, 80.0},
    {"left", 0.0, 40.0},
};
// The features pane of the job: the operation and its two features (each
// label without the machine it may name).
const std::vector<std::string> kPaneLabels = {"Milling 2.5D", "  Operation 1", "    Phase 1", "    Phase 2"};

// The highlight flag of a curve the running command shows picked.
constexpr uint32_t kPickedHighlight = 0x100000;

// Blocks of the NC program, without their numbers: the pocket's last pass
// round a corner of its boundary (radius 5) with the 6 mm mill, and the
// contour's cuts round the plate with the 10 mm mill on its outside, from
// its lower left corner counter-clockwise.
constexpr const char* kPocketCorner = "G03 X97 Y20 I0 J2";
constexpr const char* kContourCuts[] = {
    "G03 X125 Y0 I0 J5", "G01 Y80", "G03 X120 Y85 I-5 J0", "G01 X0", "G03 X-5 Y80 I0 J-5", "G01 Y0",
    "G03 X0 Y-5 I5 J0",
};

// The clicks on a Recalculate button that reached the program, as their
// button's notification to its dialog: the views of a document window are
// not all shown on the X server yet, so its pixels cannot tell.
int g_recalculateClicks = 0;

LRESULT CountRecalculateClicks(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && message != nullptr && message->message == WM_COMMAND &&
        LOWORD(message->wParam) == kRecalculate && HIWORD(message->wParam) == BN_CLICKED)
        ++g_recalculateClicks;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The counting hook while it lives.
class RecalculateClickCounter {
public:
    RecalculateClickCounter() : m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, CountRecalculateClicks, nullptr, 0)) {}
    ~RecalculateClickCounter()
    {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
    }
    RecalculateClickCounter(const RecalculateClickCounter&) = delete;
    RecalculateClickCounter& operator=(const RecalculateClickCounter&) = delete;

private:
    HHOOK m_hook;
};

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

// The visible vertical scroll bar that scrolls the page holding `control`:
// a scroll bar control beside one of its ancestors (the panes' tab control
// keeps it beside the page's viewport), or null.
HWND PageScrollBar(HWND control)
{
    struct Search {
        HWND found;
    };
    for (HWND window = control != nullptr ? ::GetParent(control) : nullptr; window != nullptr;
         window = ::GetParent(window)) {
        Search search{nullptr};
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM param) -> BOOL {
                char name[64] = {};
                ::GetClassNameA(child, name, sizeof name);
                if (std::string(name) != "ScrollBar" || !::IsWindowVisible(child) ||
                    (::GetWindowLongA(child, GWL_STYLE) & SBS_VERT) == 0)
                    return TRUE;
                reinterpret_cast<Search*>(param)->found = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
    }
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

// The two starts of the program in one test: the first mills the part,
// saves it and exits; the second opens the saved drawing again.
enum class ProgramStart { First, AfterRestart };

TEST(MillingFlow, APartIsPocketedAndContouredSavedAsNcAndComesBackAfterARestart)
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
    const std::filesystem::path firstNc = work / "part_first.nc";
    const std::filesystem::path secondNc = work / "part_again.nc";

    setenv("DISPLAY", display.c_str(), 1);
    setenv("NUVEX_DISPLAY", "sdl", 1);
    // Message boxes are kept and answered, and none is expected; the file
    // dialogs are the person's.
    std::vector<std::string> messages;
    std::vector<std::string> paneBeforeExit;
    const std::string screenshot = ::testing::TempDir() + "first_milling_job-" + std::to_string(getpid()) + ".png";
    const auto runProgram = [&](ProgramStart start) {
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
        const RecalculateClickCounter recalculateClicks;
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
        auto settledSince = std::chrono::steady_clock::now();
        // The curves the running command shows picked: its temporary
        // objects highlighted as picked (a hovered curve is highlighted
        // otherwise).
        auto pickedCount = [&] {
            size_t count = 0;
            if (CNuvexDoc* open = document())
                for (const CommandObjectEntry& entry : open->GetCommandObjects()) {
                    ComPtr<IEntityRecord> record;
                    uint32_t flags = 0;
                    if (entry.object &&
                        SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) &&
                        SUCCEEDED(record->GetFlags(&flags)) && (flags & kPickedHighlight) != 0)
                        ++count;
                }
            return count;
        };
        auto boxInView = [&] {
            const RECT view = viewRect();
            for (const POINT corner : {screenPointOf(kPocketBoxLeft, kPocketBoxTop),
                                       screenPointOf(kPocketBoxRight, kPocketBoxBottom)})
                if (!::PtInRect(&view, corner))
                    return false;
            for (const PlateSide& side : kPlateSides) {
                const POINT middle = screenPointOf(side.x, side.y);
                if (!::PtInRect(&view, middle))
                    return false;
            }
            return true;
        };
        // Clicks the arrow of the panel's scroll bar towards the control
        // `id` (now and then, so that each click shows) until the control
        // shows; true once it does.
        auto lastScroll = std::chrono::steady_clock::now();
        auto scrolledTo = [&](int id) {
            HWND control = panelControl(id);
            if (ShowsItsCentre(control))
                return true;
            HWND bar = PageScrollBar(control);
            const auto now = std::chrono::steady_clock::now();
            if (bar == nullptr || now - lastScroll <= kScrollPause)
                return false;
            lastScroll = now;
            RECT rect{};
            RECT target{};
            ::GetWindowRect(bar, &rect);
            ::GetWindowRect(control, &target);
            const int arrow = rect.right - rect.left;
            const int x = (rect.left + rect.right) / 2;
            const int y = target.top < rect.top ? rect.top + arrow / 2 : rect.bottom - arrow / 2;
            pointer.Click(top, POINT{x, y});
            return false;
        };
        // Drops the tool list down and chooses its entry `index`, whose
        // spindle speed then shows in the panel.
        auto dropToolList = [&] { clickControl(panelControl(kToolList)); };
        auto droppedDown = [] { return DroppedList() != nullptr; };
        auto chooseTool = [&](int index) {
            return [&pointer, &top, index] {
                HWND list = DroppedList();
                RECT item{};
                ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
                POINT centre = Centre(item);
                ::ClientToScreen(list, &centre);
                pointer.Click(top, centre);
            };
        };
        auto toolChosen = [&](const char* spindle) {
            return [&panelControl, spindle] {
                return DroppedList() == nullptr && WindowText(panelControl(kSpindleSpeed)).rfind(spindle, 0) == 0;
            };
        };
        auto listClosed = [] { return DroppedList() == nullptr; };
        auto outsideChecked = [&] {
            HWND check = panelControl(kOutsideCheck);
            return check != nullptr && ::SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
        };
        uint64_t shownBeforePick = 0;
        uint64_t shownAfterPick = 0;
        // Recalculate clicked once its button shows: done once the click
        // reached the program (the toolpath it computes is checked in the
        // NC program).
        int clicksBefore = 0;
        auto recalculate = [&] {
            clicksBefore = g_recalculateClicks;
            clickControl(panelControl(kRecalculate));
        };
        auto recalculated = [&] { return g_recalculateClicks > clicksBefore; };
        // The clicks on the plate's sides, one step each: a click that
        // arrived shows one more curve picked.
        std::vector<DesktopStep> sideClicks;
        for (size_t i = 0; i < std::size(kPlateSides); ++i) {
            const PlateSide& side = kPlateSides[i];
            sideClicks.push_back(
                {std::string("a click on the plate's ") + side.name + " side picks it",
                 [&, side] { pointer.Click(top, screenPointOf(side.x, side.y)); },
                 [&, i] { return pickedCount() == i + 1; }, [&, i] { return pickedCount() > i; }});
        }

        std::vector<DesktopStep> steps = {
            {"File > Open shows the file dialog", fileItem(ID_FILE_OPEN), [&] { return menuClosed() && fileDialogShown(); },
             fileDialogUp},
            {"the sample part's path typed into it opens the drawing", [&] { answerFileDialog(drawing); },
             [&] {
                 CNuvexDoc* open = document();
                 return open != nullptr && FileDialog() == nullptr && FirstView(open) != nullptr;
             }},
        };
        const std::vector<DesktopStep> milling = {
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
             // Done once the box round the pocket and the plate's sides lie
             // in the view and what the server shows of the view has
             // settled (the pick's change is measured from there).
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
                 if (pickedCount() == 0)
                     return false;
                 shownAfterPick = ShownChecksum(top, viewRect());
                 return shownAfterPick != shownBeforePick;
             },
             [&] { return pickedCount() > 0; }},
            {"the panel scrolled down until its tool list shows", [] {}, [&] { return scrolledTo(kToolList); }},
            {"a click into the tool list drops it down", dropToolList, droppedDown, droppedDown},
            {"the second mill chosen from it fills the tool's fields", chooseTool(1), toolChosen(kSecondMillSpindle),
             listClosed},
            {"the panel scrolled until the pocket's Recalculate shows", [] {}, [&] { return scrolledTo(kRecalculate); }},
            {"Recalculate computes the new tool's toolpath", recalculate, recalculated, recalculated},
            {"the panel scrolled up until its Ok shows", [] {}, [&] { return scrolledTo(kPanelOk); }},
            {"Ok accepts the pocket", [&] { clickControl(panelControl(kPanelOk)); }, [&] { return !commandRunning(); },
             [&] { return !commandRunning(); }},
            {"the toolbar's contour button shows the contour panel", [&] { clickToolbarButton(kCommandContourMilling); },
             [&] { return commandRunning() && panelControl(kOutsideCheck) != nullptr; }, commandRunning},
        };
        const std::vector<DesktopStep> contour = {
            {"the panel scrolled until its Outside check shows", [] {}, [&] { return scrolledTo(kOutsideCheck); }},
            {"a click on Outside checks it", [&] { clickControl(panelControl(kOutsideCheck)); }, outsideChecked,
             outsideChecked},
            {"the panel scrolled down until the contour's tool list shows", [] {},
             [&] { return scrolledTo(kToolList); }},
            {"a click into the contour's tool list drops it down", dropToolList, droppedDown, droppedDown},
            {"the third mill chosen from it fills the tool's fields", chooseTool(2), toolChosen(kThirdMillSpindle),
             listClosed},
            {"the panel scrolled until the contour's Recalculate shows", [] {}, [&] { return scrolledTo(kRecalculate); }},
            {"Recalculate computes the contour outside the plate", recalculate,
             [&] {
                 if (!recalculated())
                     return false;
                 SaveWindowScreenshot(top, screenshot.c_str());
                 return true;
             },
             recalculated},
            {"the panel scrolled up until the contour's Ok shows", [] {}, [&] { return scrolledTo(kPanelOk); }},
            {"Ok accepts the contour", [&] { clickControl(panelControl(kPanelOk)); }, [&] { return !commandRunning(); },
             [&] { return !commandRunning(); }},
            {"the features pane shows the operation with both features", [] {},
             [&] {
                 paneBeforeExit = FeaturesPaneLabels(top);
                 return paneBeforeExit == kPaneLabels;
             }},
            {"the toolbar's Save NC File button shows the save dialog", [&] { clickToolbarButton(kCommandSaveNcFile); },
             fileDialogShown, fileDialogUp},
            {"the NC program is written under the typed name", [&] { answerFileDialog(firstNc); },
             [&] { return FileDialog() == nullptr && std::filesystem::exists(firstNc); }},
            {"File > Save saves the drawing", fileItem(ID_FILE_SAVE), [&] { return menuClosed() && saved(); }, saved},
            // The loop ends once the main window is gone.
            {"File > Exit ends the program",
             [&] {
                 if (::IsWindow(top))
                     advanceFileMenu(ID_APP_EXIT);
             },
             [] { return false; }, [&] { return !::IsWindow(top); }},
        };
        const std::vector<DesktopStep> again = {
            {"the reopened drawing's features pane shows the same operation and features", [] {},
             [&] { return FeaturesPaneLabels(top) == kPaneLabels; }},
            {"Save NC File of the reopened drawing shows the save dialog", [&] { clickToolbarButton(kCommandSaveNcFile); },
             fileDialogShown, fileDialogUp},
            {"its NC program is written under another name", [&] { answerFileDialog(secondNc); },
             [&] { return FileDialog() == nullptr && std::filesystem::exists(secondNc); }},
        };
        if (start == ProgramStart::First) {
            steps.insert(steps.end(), milling.begin(), milling.end());
            steps.insert(steps.end(), sideClicks.begin(), sideClicks.end());
            steps.insert(steps.end(), contour.begin(), contour.end());
        } else {
            steps.insert(steps.end(), again.begin(), again.end());
        }
        DesktopStepRunner runner(
            std::move(steps),
            [&] {
                if (!::IsWindow(top))
                    return;
                const std::string shot =
                    ::testing::TempDir() + "milling_flow_stuck-" + std::to_string(getpid()) + ".png";
                SaveWindowScreenshot(top, shot.c_str());
                std::printf("screenshot of the stuck program: %s\n", shot.c_str());
                std::printf("the features pane before the program ended:\n");
                for (const std::string& label : paneBeforeExit)
                    std::printf("  [%s]\n", label.c_str());
                std::printf("and now:\n");
                for (const std::string& label : FeaturesPaneLabels(top))
                    std::printf("  [%s]\n", label.c_str());
            },
            start == ProgramStart::First ? AfterLastStep::LeaveLoopRunning : AfterLastStep::QuitLoop, kStepTime);
        SetIdleScript([&] { return runner.OnIdle(); });
        const int result = program.Run();
        SetIdleScript(nullptr);
        EXPECT_EQ(result, 0) << "stuck at: " << runner.Failed() << " ("
                             << (pointer.ThroughX() ? "X test extension" : "SDL events") << ")";
        EXPECT_TRUE(runner.Failed().empty()) << runner.Failed();
        ReleaseStrimoRecord(app);
    };
    runProgram(ProgramStart::First);
    StopSdlDisplay();
    ResetWindowSystem();
    if (!HasFailure()) {
        runProgram(ProgramStart::AfterRestart);
        StopSdlDisplay();
        ResetWindowSystem();
    }
    setenv("NUVEX_DISPLAY", "headless", 1);
    EXPECT_TRUE(messages.empty()) << messages.front();
    std::printf("the program after the contour's Recalculate: %s\n", screenshot.c_str());

    // The program holds the pocket's cuts inside the plate and the
    // contour's along its sides, a tool radius outside.
    const std::string first = ReadFile(firstNc);
    const std::string again = ReadFile(secondNc);
    const size_t pocketCorner = first.find(kPocketCorner);
    EXPECT_NE(pocketCorner, std::string::npos) << "no pocket corner in:\n" << first;
    size_t from = pocketCorner == std::string::npos ? 0 : pocketCorner;
    for (const char* cut : kContourCuts) {
        const size_t at = first.find(cut, from);
        EXPECT_NE(at, std::string::npos) << "no contour cut \"" << cut << "\" after the pocket in:\n" << first;
        from = at == std::string::npos ? from : at;
    }
    EXPECT_EQ(first, again) << "the reopened drawing's NC program differs";
    if (!HasFailure())
        std::filesystem::remove_all(work);
}

} // namespace
