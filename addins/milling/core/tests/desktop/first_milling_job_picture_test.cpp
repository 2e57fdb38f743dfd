// What the program shows after a first milling job, headless, with the
// milling add-in, its postprocessor plug-in and the entity component in its
// folder: the sample part open, an operation added (Ok), the pocket command
// with a box picked round the pocket's boundary and islands in the view, the
// pocket accepted (Ok), the toolpath drawn in the view, and the document
// window's "Workshop" features tree and NC code pane beside the drawing,
// compared with its reviewed picture. The picture is also the README's.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "host/view/nuvex_view.h"
#include "platform/controls/commctrl.h"
#include "platform/controls/richedit.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/ids.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr UINT kZoomAllCommand = 32777;
constexpr int kWidth = 900;
constexpr int kHeight = 640;
// More paints than this while idle is taken as painting forever.
constexpr int kEndlessPaints = 500;

// The box round the sample part's pocket (model coordinates): its boundary
// and both islands lie inside, the plate's outline outside.
constexpr double kPocketBoxLeft = 17.0;
constexpr double kPocketBoxBottom = 10.0;
constexpr double kPocketBoxRight = 104.0;
constexpr double kPocketBoxTop = 70.0;

// Messages dispatched until the queue is empty, at most kEndlessPaints
// paints: the WM_PAINTs dispatched.
int PaintsUntilIdle()
{
    int paints = 0;
    MSG msg{};
    while (paints < kEndlessPaints && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        paints += msg.message == WM_PAINT ? 1 : 0;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return paints;
}

// A left click of the view at the model point (x, y).
void ClickAt(CNuvexView& view, double x, double y)
{
    const POINT client = view.Transform().ClientPointOf(view.Transform().ViewPointOf(CVector3(x, y, 0.0)));
    const LPARAM at = MAKELPARAM(client.x, client.y);
    view.SendMessage(WM_MOUSEMOVE, 0, at);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    view.SendMessage(WM_LBUTTONUP, 0, at);
    PumpUntilIdle();
}

// Clicks the page tab named `page` of a visible tab control below `root`;
// false when there is none.
bool ClickPageTab(HWND root, const std::string& page)
{
    RECT tab{};
    HWND tabs = FindPageTab(root, page, &tab);
    if (tabs == nullptr)
        return false;
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ::SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    return true;
}

// The NC code pane fills from a timer, slice by slice: moves the clock on
// until the pane's text has stopped growing for a while (or a time limit).
void LetTheNcCodePaneFill(CMainFrame& frame)
{
    HWND text = nullptr;
    ::EnumChildWindows(
        frame.GetSafeHwnd(),
        [](HWND window, LPARAM out) -> BOOL {
            char name[32] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) != RICHEDIT_CLASSA)
                return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&text));
    ASSERT_NE(text, nullptr) << "the NC code pane has no text";
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    LRESULT length = -1;
    int steady = 0;
    while (steady < 20 && std::chrono::steady_clock::now() < limit) {
        // The window system's clock moves only when told, headless.
        AdvanceWindowSystemTime(15);
        IdleUpdate(frame);
        const LRESULT now = ::SendMessageA(text, WM_GETTEXTLENGTH, 0, 0);
        steady = now == length && now > 0 ? steady + 1 : 0;
        length = now;
    }
}

TEST(FirstMillingJobPicture, APocketsToolpathBesideTheFeaturesTreeAndTheNcCode)
{
    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    const std::string drawing = (folder.Path() / "samples" / "sample_part.nvx").string();
    RunningProgram program({drawing});
    ASSERT_TRUE(program.Start());
    CNuvexApp& app = program.App();
    CMainFrame* frame = program.Frame();
    ASSERT_NE(frame, nullptr);
    const int addinIndex = app.FindAddinByClsid(CLSID_StrimoAddin);
    ASSERT_GE(addinIndex, 0) << "the milling add-in was not loaded";
    IAddin* addin = app.AddinRecords()[static_cast<size_t>(addinIndex)].addin;
    frame->ShowWindow(SW_RESTORE);
    frame->SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
    BOOL maximized = FALSE;
    CMDIChildWnd* child = frame->MDIGetActive(&maximized);
    ASSERT_NE(child, nullptr);
    frame->MDIMaximize(child);
    IdleUpdate(*frame);
    CNuvexDoc* document = program.ActiveDocument();
    CNuvexView* view = FirstView(document);
    ASSERT_NE(view, nullptr);
    frame->SendMessage(WM_COMMAND, kZoomAllCommand, 0);
    IdleUpdate(*frame);

    auto run = [&](long command) {
        const int index = app.FindHostCommand(addin, command);
        ASSERT_GE(index, 0) << command;
        frame->SendMessage(WM_COMMAND, kFirstHostCommandId + static_cast<UINT>(index), 0);
        IdleUpdate(*frame);
    };
    // Ok of the operation's panel adds the operation.
    run(kCommandAddOperation);
    ASSERT_TRUE(document->IsCommandActive());
    frame->SendMessage(WM_COMMAND, IDOK, 0);
    IdleUpdate(*frame);
    ASSERT_FALSE(document->IsCommandActive());
    // The pocket: a box picked round it computes the toolpath; Ok accepts.
    run(kCommandPocketMilling);
    ASSERT_TRUE(document->IsCommandActive());
    ClickAt(*view, kPocketBoxLeft, kPocketBoxTop);
    ClickAt(*view, kPocketBoxRight, kPocketBoxBottom);
    frame->SendMessage(WM_COMMAND, IDOK, 0);
    IdleUpdate(*frame);
    EXPECT_FALSE(document->IsCommandActive());

    // The pointer rests beside the part.
    const POINT rest = view->Transform().ClientPointOf(view->Transform().ViewPointOf(CVector3(118.0, 84.0, 0.0)));
    view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    struct Page {
        const char* tab;
        const char* picture;
    };
    const Page pages[] = {
        {"Features", "addins/milling/core/tests/pictures/first_milling_job.png"},
        {"NC code", "addins/milling/core/tests/pictures/first_milling_job_nc_code.png"},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.tab);
        EXPECT_TRUE(ClickPageTab(frame->GetSafeHwnd(), page.tab));
        IdleUpdate(*frame);
        LetTheNcCodePaneFill(*frame);
        frame->RedrawWindow(nullptr, nullptr,
                            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_LT(PaintsUntilIdle(), kEndlessPaints) << "a window keeps repainting";
        EXPECT_EQ(PaintsUntilIdle(), 0) << "a window repaints while idle";
        // The document window's panes painted again after the window
        // behind them repainted on its own.
        ::RedrawWindow(::GetParent(child->GetSafeHwnd()), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        EXPECT_LT(PaintsUntilIdle(), kEndlessPaints) << "a window keeps repainting";
        EXPECT_TRUE(MatchesReferencePicture(frame->GetSafeHwnd(), page.picture));
    }
    ReleaseStrimoRecord(app);
}

} // namespace
