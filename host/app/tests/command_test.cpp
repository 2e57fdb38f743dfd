// Add-in commands in the running program: started from their host command
// id, toggled off by a second press, repeated from the command line and
// started by their typed name, each with the exact events the add-in's
// command object receives; the command line's Enter and Esc; the closing
// check, the commands' update requests and idle redraws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "platform/framework/msgmap.h"
#include "platform/user/dialog.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kTestCommandNumber = 7;

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        ASSERT_TRUE(addin->Loaded());
        addin->Reset();
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        document = program->ActiveDocument();
        ASSERT_NE(document, nullptr);
        index = program->App().FindHostCommand(addin->Object(), kTestCommandNumber);
        ASSERT_GE(index, 0);
        Clear();
    }
    void TearDown() override
    {
        program.reset();
        addin.reset();
    }
    void Clear() { addin->Reset(); }
    std::vector<std::string> Log() const { return addin->Log(); }
    void Press(UINT id, WORD code = 0) { program->Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); }
    void Type(const std::string& text)
    {
        for (char c : text) {
            program->Frame()->SendMessage(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
        }
    }
    UINT CommandId() const { return kFirstHostCommandId + static_cast<UINT>(index); }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
    CNuvexDoc* document = nullptr;
    int index = -1;
};

const std::vector<std::string> kStartEvents = {
    "testaddin.so create 7 0 objects 0",
    "testaddin.so event 1 number 7 final 1",
    "testaddin.so event 8193 number 7 final 1",
};

TEST_F(CommandTest, AHostCommandIdStartsTheCommandAndASecondPressTogglesItOff)
{
    Press(CommandId());
    EXPECT_EQ(Log(), kStartEvents);
    EXPECT_EQ(document->GetLevelCount(), 2u);
    EXPECT_EQ(document->GetActiveCommandId(), index);
    EXPECT_TRUE(document->IsCommandActive());
    // From an accelerator (code 1) the same.
    Clear();
    Press(CommandId(), 1);
    const std::vector<std::string> toggled = {"testaddin.so event 16 final 1", "testaddin.so command released"};
    EXPECT_EQ(Log(), toggled);
    EXPECT_EQ(document->GetLevelCount(), 1u);
    EXPECT_EQ(document->GetActiveCommandId(), -1);
}

TEST_F(CommandTest, AStartThatIsNotHandledLeavesNoLevelAndTheSecondStepGoesBelow)
{
    addin->SetStartAnswer(0x10000000);
    Press(CommandId());
    const std::vector<std::string> expected = {
        "testaddin.so create 7 0 objects 0",
        "testaddin.so event 1 number 7 final 1",
        "testaddin.so command released",
    };
    EXPECT_EQ(Log(), expected);
    EXPECT_EQ(document->GetLevelCount(), 1u);
}

TEST_F(CommandTest, ABlankOnAnEmptyCommandLineRepeatsTheLastCommandAndTheTypedNameStartsIt)
{
    Press(CommandId());
    Press(kCancelCommandId);
    EXPECT_EQ(document->GetLevelCount(), 1u);
    Clear();
    // A blank typed anywhere lands in the command line and submits it.
    Type(" ");
    EXPECT_EQ(Log(), kStartEvents);
    EXPECT_EQ(document->GetLevelCount(), 2u);
    // The start keeps the line; emptied, a blank inside the command
    // cancels it.
    EXPECT_EQ(program->Frame()->GetCommandLineText(), " ");
    program->Frame()->SetCommandLineText("");
    Clear();
    Type(" ");
    const std::vector<std::string> cancelled = {"testaddin.so event 16 final 1", "testaddin.so command released"};
    EXPECT_EQ(Log(), cancelled);
    // The typed name and the short name start it; a start that hands on
    // the selection (as the add-ins' commands answer) empties the line.
    addin->SetStartAnswer(0x1);
    for (const char* name : {"testcmd ", "tc "}) {
        SCOPED_TRACE(name);
        addin->Reset();
        addin->SetStartAnswer(0x1);
        Type(name);
        EXPECT_EQ(Log(), kStartEvents);
        EXPECT_EQ(program->Frame()->GetCommandLineText(), "");
        Press(kCancelCommandId);
    }
    // An unknown name starts nothing and stays on the line.
    Clear();
    Type("nothing ");
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(program->Frame()->GetCommandLineText(), "nothing ");
}

TEST_F(CommandTest, EnterOnAnEmptyLineAcceptsTheRunningCommandAndEscCancelsIt)
{
    Press(CommandId());
    Clear();
    program->Frame()->FocusCommandLine();
    Press(IDOK);
    EXPECT_EQ(Log(), std::vector<std::string>{"testaddin.so event 256 final 1"});
    Clear();
    Press(kCancelCommandId);
    const std::vector<std::string> cancelled = {"testaddin.so event 16 final 1", "testaddin.so command released"};
    EXPECT_EQ(Log(), cancelled);
    // Without a running command Esc reaches the root only.
    Clear();
    Press(kCancelCommandId);
    EXPECT_TRUE(Log().empty());
}

TEST_F(CommandTest, TheHostDocumentStartsAnAddinCommandAsAButtonWould)
{
    IHostDocument* host = document->GetHostDocument();
    EXPECT_EQ(host->StartAddinCommand(addin->Object(), kTestCommandNumber), S_OK);
    EXPECT_EQ(Log(), kStartEvents);
    Clear();
    EXPECT_EQ(host->StartAddinCommand(addin->Object(), kTestCommandNumber), S_OK);
    EXPECT_EQ(document->GetLevelCount(), 1u);
    EXPECT_EQ(host->CancelCommand(addin->Object(), kTestCommandNumber), E_FAIL);
    EXPECT_EQ(host->AcceptCommand(addin->Object(), 99), E_FAIL);
}

TEST_F(CommandTest, AddinCommandIdsCountAsHandledForCommandsAndUpdatesAndNoOthers)
{
    CNuvexApp& app = program->App();
    EXPECT_TRUE(app.OnCmdMsg(10000, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(app.OnCmdMsg(19999, CN_UPDATE_COMMAND_UI, nullptr, nullptr));
    EXPECT_TRUE(app.OnCmdMsg(10000, CN_UPDATE_COMMAND_UI, nullptr, nullptr));
    EXPECT_FALSE(app.OnCmdMsg(20000, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(app.OnCmdMsg(9999, CN_COMMAND, nullptr, nullptr));
}

TEST_F(CommandTest, ARunningCommandRefusesTheCloseWithItsWarning)
{
    EXPECT_TRUE(program->App().SaveAllModified());
    EXPECT_TRUE(program->messages.empty());
    Press(CommandId());
    EXPECT_FALSE(program->App().SaveAllModified());
    ASSERT_EQ(program->messages.size(), 1u);
    EXPECT_EQ(program->messages[0], "WARNING!! Active command! Press Esc or right click to exit");
    // Once the command is cancelled the close may go on (the save-changes
    // dialog's flows are in save_changes_test.cpp).
    Press(kCancelCommandId);
    EXPECT_TRUE(program->App().SaveAllModified());
}

TEST_F(CommandTest, ADeferredRedrawIsDoneOnceAtTheNextIdleTime)
{
    document->SetDeferRedraw(TRUE);
    document->Redraw();
    document->SetDeferRedraw(FALSE);
    ASSERT_TRUE(document->IsRedrawPending());
    EXPECT_TRUE(program->App().OnIdle(0));
    EXPECT_FALSE(document->IsRedrawPending());
}

} // namespace
