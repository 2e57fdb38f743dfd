// What the program's main window looks like with a drawing open: the menu
// bar, the "Standard" and the test add-in's toolbars, the drawing's window
// with its curves fitted, and the status bar with the running command's
// prompt, a half-typed command line and the coordinates, compared with its
// reviewed picture.
#include <gtest/gtest.h>

#include <string>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "host/view/tests/desktop/desktop_fixture.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/ids.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr UINT kZoomAllCommand = 32777;
constexpr int kWidth = 800;
constexpr int kHeight = 560;

TEST(MainWindowPicture, ADrawingOpenWithACommandRunning)
{
    TestProgramFolder folder;
    folder.AddEntityComponent();
    TestAddinModule addin(folder.AddTestAddin("testaddin"));
    ASSERT_TRUE(addin.Loaded());
    const std::string drawing = (folder.Path() / "fixture.nvx").string();
    ASSERT_TRUE(WriteFixtureDrawing(drawing)) << "the entity component cannot be loaded";
    {
        RunningProgram program({drawing});
        ASSERT_TRUE(program.Start());
        CMainFrame* frame = program.Frame();
        ASSERT_NE(frame, nullptr);
        frame->ShowWindow(SW_RESTORE);
        frame->SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        // The drawing's window fills the frame's client.
        BOOL maximized = FALSE;
        CMDIChildWnd* child = frame->MDIGetActive(&maximized);
        ASSERT_NE(child, nullptr);
        frame->MDIMaximize(child);
        IdleUpdate(*frame);
        frame->SendMessage(WM_COMMAND, kZoomAllCommand, 0);
        // The test command runs; a pair of values is half typed.
        const int index = program.App().FindHostCommand(addin.Object(), 7);
        ASSERT_GE(index, 0);
        frame->SendMessage(WM_COMMAND, kFirstHostCommandId + static_cast<UINT>(index), 0);
        for (char c : std::string("3;4")) {
            frame->SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
        }
        frame->ShowCoordinates3(12.5, 40.25, 0.0);
        IdleUpdate(*frame);
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpUntilIdle();
        EXPECT_TRUE(MatchesReferencePicture(frame->GetSafeHwnd(), "host/app/tests/pictures/main_window.png"));
    }
}

} // namespace
