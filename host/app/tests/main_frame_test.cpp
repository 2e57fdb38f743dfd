// The running program's main window: its status bar panes, caption,
// tooltips and status texts, the add-ins' toolbars with their show/hide
// commands and names, and the bar layout kept across a restart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/menulook/new_menu.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/view/nuvex_view.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/ids.h"
#include "platform/user/input.h"
#include "platform/user/inspect.h"
#include "platform/user/keyboard.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kTestCommandNumber = 7;

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        ASSERT_TRUE(addin->Loaded());
        Restart();
    }
    void TearDown() override
    {
        program.reset();
        addin.reset();
    }
    void Restart()
    {
        program.reset();
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        ASSERT_NE(program->Frame(), nullptr);
    }
    CMainFrame& Frame() { return *program->Frame(); }
    UINT CommandId()
    {
        return kFirstHostCommandId +
               static_cast<UINT>(program->App().FindHostCommand(addin->Object(), kTestCommandNumber));
    }
    // The "&View" > "&Toolbars" items of the main menu: text and id.
    std::vector<std::pair<std::string, UINT>> ToolbarItems()
    {
        std::vector<std::pair<std::string, UINT>> items;
        HMENU main = program->App().GetMainMenu();
        for (int i = 0; i < ::GetMenuItemCount(main); ++i) {
            if (GetMenuItemCaption(main, static_cast<UINT>(i)) != "&View") {
                continue;
            }
            HMENU toolbars = ::GetSubMenu(::GetSubMenu(main, i), 0);
            for (int k = 0; k < ::GetMenuItemCount(toolbars); ++k) {
                items.emplace_back(GetMenuItemCaption(toolbars, static_cast<UINT>(k)), ::GetMenuItemID(toolbars, k));
            }
        }
        return items;
    }
    // The check the update pass gives a show/hide command.
    int CheckOf(UINT id)
    {
        struct Probe : CCmdUI {
            int check = -1;
            void SetCheck(int value) override { check = value; }
        } probe;
        probe.m_nID = id;
        EXPECT_TRUE(Frame().OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr));
        return probe.check;
    }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
};

TEST_F(MainFrameTest, TheStatusBarHoldsPromptCommandLineCoordinatesAndProgress)
{
    MPCStatusBar& bar = Frame().StatusBar();
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetItemID(0), kPromptPaneId);
    EXPECT_EQ(bar.GetItemID(1), kCommandLinePaneId);
    EXPECT_EQ(bar.GetItemID(2), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(bar.GetItemID(3), kProgressPaneId);
    EXPECT_NE(bar.GetPaneStyle(0) & SBPS_NOBORDERS, 0u);
    EXPECT_STREQ(bar.GetPaneText(2).GetString(), "0.000 , 0.000");
    Frame().ShowCoordinates3(1.5, -2.25, 3.0);
    EXPECT_STREQ(bar.GetPaneText(2).GetString(), "1.5000000000 , -2.2500000000 , 3.000");
    // The command line and the progress bar are the status bar's, in their
    // panes; the command line starts right after the prompt.
    ASSERT_NE(bar.GetPaneControlInfo(kCommandLinePaneId), nullptr);
    EXPECT_EQ(bar.GetPaneControlInfo(kCommandLinePaneId)->m_hWnd, Frame().CommandLine());
    ASSERT_NE(bar.GetPaneControlInfo(kProgressPaneId), nullptr);
    EXPECT_EQ(bar.GetPaneControlInfo(kProgressPaneId)->m_hWnd, Frame().ProgressControl());
    RECT line{};
    Frame().CommandLine()->GetWindowRect(&line);
    bar.ScreenToClient(&line);
    const RECT prompt = Frame().GetPromptRect();
    EXPECT_GT(line.left, prompt.right);
    EXPECT_LT(line.left, prompt.right + 30);
    // The prompt is the running level's, and the caption stays the program's.
    EXPECT_FALSE(Frame().GetPromptText().empty());
    CString caption;
    Frame().GetWindowText(caption);
    EXPECT_STREQ(caption.GetString(), "nuvex 2005 ");
}

TEST_F(MainFrameTest, TooltipsAndStatusTextsComeFromTheCommandsAndTheStrings)
{
    EXPECT_EQ(Frame().GetToolTipText(CommandId()), "Test command");
    CString status;
    Frame().GetMessageString(CommandId(), status);
    EXPECT_STREQ(status.GetString(), "Runs the test command");
    // An add-in id past the table has none, and leaves the message alone.
    EXPECT_EQ(Frame().GetToolTipText(kFirstHostCommandId + 500), "");
    CString untouched("kept");
    Frame().GetMessageString(kFirstHostCommandId + 500, untouched);
    EXPECT_STREQ(untouched.GetString(), "kept");
    // A host command's tip is its string's second line.
    EXPECT_EQ(Frame().GetToolTipText(32777), "Zoom all");

    // The toolbar's tooltip asks the frame by notification.
    NMTTDISPINFOA info{};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = CommandId();
    info.lpszText = info.szText;
    Frame().SendMessage(WM_NOTIFY, CommandId(), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.szText, "Test command");
}

TEST_F(MainFrameTest, AddinToolbarsHaveUniqueNamesAndShowHideCommands)
{
    IHostApplication& application = *program->App().HostApplication();
    LONG count = 0;
    application.GetToolbarCount(&count);
    ASSERT_EQ(count, 2);
    IToolbarControl* found = nullptr;
    EXPECT_EQ(application.FindToolbar("Standard", &found), S_OK);
    EXPECT_EQ(found, Frame().ToolbarObject(0));
    EXPECT_EQ(application.FindToolbar("Testing", &found), S_OK);
    EXPECT_EQ(found, Frame().ToolbarObject(1));
    EXPECT_EQ(Frame().Toolbars()[1]->GetDlgCtrlID(), 9001);

    IToolbarControl* second = nullptr;
    IToolbarControl* third = nullptr;
    ASSERT_EQ(application.AddToolbar("Testing", &second), S_OK);
    ASSERT_EQ(application.AddToolbar("Testing", &third), S_OK);
    CString name;
    Frame().Toolbars()[2]->GetWindowText(name);
    EXPECT_STREQ(name.GetString(), "Testing1");
    Frame().Toolbars()[3]->GetWindowText(name);
    EXPECT_STREQ(name.GetString(), "Testing2");
    EXPECT_EQ(application.FindToolbar("Testing2", &found), S_OK);
    EXPECT_EQ(found, third);
    EXPECT_EQ(application.GetToolbar(2, &found), S_OK);
    EXPECT_EQ(found, second);
    EXPECT_EQ(application.GetToolbar(4, &found), E_FAIL);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(application.FindToolbar("Milling", &found), E_FAIL);
    EXPECT_EQ(found, nullptr);
    const std::vector<std::pair<std::string, UINT>> items = {
        {"&Standard", 59392u}, {"Testing", 9001u}, {"Testing1", 9002u}, {"Testing2", 9003u}};
    EXPECT_EQ(ToolbarItems(), items);

    // Show/hide: the check follows the toolbar.
    CWnd& toolbar = *Frame().Toolbars()[2];
    EXPECT_EQ(CheckOf(9002), 1);
    Frame().SendMessage(WM_COMMAND, 9002, 0);
    EXPECT_FALSE(toolbar.IsWindowVisible());
    EXPECT_EQ(CheckOf(9002), 0);
    Frame().SendMessage(WM_COMMAND, 9002, 0);
    EXPECT_TRUE(toolbar.IsWindowVisible());
    // Ids past the toolbars are not the frame's.
    EXPECT_FALSE(Frame().OnCmdMsg(9004, CN_COMMAND, nullptr, nullptr));
}

TEST_F(MainFrameTest, F2AndF3AreTheViewsZoomsAndF3WithoutADrawingDoesNothing)
{
    // The keys of the frame's table.
    HACCEL table = Frame().m_hAccelTable;
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
    auto commandOf = [&](WORD key) {
        for (const ACCEL& accel : keys) {
            if (accel.key == key && (accel.fVirt & (FSHIFT | FCONTROL)) == 0) {
                return static_cast<UINT>(accel.cmd);
            }
        }
        return 0u;
    };
    EXPECT_EQ(commandOf(VK_F2), 32779u);
    EXPECT_EQ(commandOf(VK_F3), 32780u);
    EXPECT_EQ(commandOf(VK_ESCAPE), kCancelCommandId);
    EXPECT_EQ(commandOf(VK_F1), kHelpCommandId);

    // F3 reaches the drawing's view, which waits for the zoom's window.
    CNuvexDoc* document = program->ActiveDocument();
    ASSERT_NE(document, nullptr);
    POSITION position = document->GetFirstViewPosition();
    auto* view = dynamic_cast<CNuvexView*>(document->GetNextView(position));
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->Input().IsZoomWindow());
    Frame().SendMessage(WM_COMMAND, MAKEWPARAM(32780, 1), 0);
    EXPECT_TRUE(view->Input().IsZoomWindow());
    // Without a drawing the key is taken and nothing happens.
    program->App().CloseAllDocuments(TRUE);
    Frame().SendMessage(WM_COMMAND, MAKEWPARAM(32780, 1), 0);
    EXPECT_EQ(program->ActiveDocument(), nullptr);
}

// Two drawings open, the second one's window maximized over the first: the
// main window repainting (its paint reaches over the document windows)
// leaves the program's one OpenGL window in the view on top, where the
// pointer's messages to it must go, and the hidden view paints nothing.
TEST_F(MainFrameTest, TheOpenGLWindowStaysInTheViewOnTopWhenTheMainWindowRepaints)
{
    auto viewOf = [](CNuvexDoc* document) {
        POSITION position = document->GetFirstViewPosition();
        return dynamic_cast<CNuvexView*>(document->GetNextView(position));
    };
    CNuvexDoc* first = program->ActiveDocument();
    ASSERT_NE(first, nullptr);
    Frame().SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    CNuvexDoc* second = program->ActiveDocument();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    BOOL maximized = FALSE;
    CMDIChildWnd* child = Frame().MDIGetActive(&maximized);
    ASSERT_NE(child, nullptr);
    Frame().MDIMaximize(child);
    IdleUpdate(Frame());
    CNuvexView* hidden = viewOf(first);
    CNuvexView* onTop = viewOf(second);
    ASSERT_NE(hidden, nullptr);
    ASSERT_NE(onTop, nullptr);
    ASSERT_NE(CGLWnd::Shared(), nullptr);
    ASSERT_EQ(::GetParent(CGLWnd::Shared()->GetSafeHwnd()), onTop->GetSafeHwnd());

    struct Case {
        const char* name;
        UINT flags;
    };
    const Case cases[] = {
        {"the main window's client", RDW_INVALIDATE | RDW_ERASE},
        {"the main window's client and frame", RDW_INVALIDATE | RDW_ERASE | RDW_FRAME},
    };
    int paintsOfTheHiddenView = 0;
    int clicksOnTop = 0;
    int clicksHidden = 0;
    SetMessageSpy([&](HWND window, UINT message, WPARAM, LPARAM, MessageDelivery delivery) {
        if (delivery == MessageDelivery::Default) {
            return;
        }
        paintsOfTheHiddenView += window == hidden->GetSafeHwnd() && message == WM_PAINT ? 1 : 0;
        clicksOnTop += window == onTop->GetSafeHwnd() && message == WM_LBUTTONDOWN ? 1 : 0;
        clicksHidden += window == hidden->GetSafeHwnd() && message == WM_LBUTTONDOWN ? 1 : 0;
    });
    RECT shown{};
    onTop->GetWindowRect(&shown);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paintsOfTheHiddenView = 0;
        clicksOnTop = 0;
        clicksHidden = 0;
        Frame().RedrawWindow(nullptr, nullptr, c.flags);
        PumpUntilIdle();
        EXPECT_EQ(paintsOfTheHiddenView, 0);
        EXPECT_EQ(::GetParent(CGLWnd::Shared()->GetSafeHwnd()), onTop->GetSafeHwnd());
        // A click in the middle of the view on top, through the window
        // under the pointer; not so soon after the last that it makes a
        // double click.
        AdvanceWindowSystemTime(::GetDoubleClickTime() + 1);
        InjectMouseMove(POINT{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2});
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
        PumpUntilIdle();
        EXPECT_EQ(clicksOnTop, 1);
        EXPECT_EQ(clicksHidden, 0);
    }
    SetMessageSpy(nullptr);
}

TEST_F(MainFrameTest, TheBarLayoutIsKeptWhenTheProgramClosesAndRestoredAtItsStart)
{
    Frame().SendMessage(WM_COMMAND, 9001, 0);
    ASSERT_FALSE(Frame().Toolbars()[1]->IsWindowVisible());
    // Closing the window saves the layout.
    Frame().SendMessage(WM_CLOSE);
    Restart();
    ASSERT_EQ(Frame().Toolbars().size(), 2u);
    EXPECT_FALSE(Frame().Toolbars()[1]->IsWindowVisible());
    EXPECT_TRUE(Frame().Toolbars()[0]->IsWindowVisible());
    Frame().SendMessage(WM_COMMAND, 9001, 0);
    EXPECT_TRUE(Frame().Toolbars()[1]->IsWindowVisible());
}

} // namespace
