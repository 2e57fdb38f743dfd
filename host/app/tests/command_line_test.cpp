// The command line as the running program routes it: what is typed (keys
// to the command line, characters to the frame from anywhere), with and
// without a running command, at the root and with no drawing open, against
// the exact events the test add-in's command receives and the line that is
// left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "platform/framework/wnd.h"
#include "platform/user/keyboard.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kTestCommandNumber = 7;

// What the program is in before the keys.
enum class Start {
    // A drawing, no command running (the last command ran once).
    Root,
    // The test command runs in the drawing.
    InCommand,
    // Every drawing closed.
    NoDocument,
};

// Keys: '\n' is Enter and '\x1b' Esc pressed in the command line, '!' a
// press of the test command's button; every other character is typed into
// the frame (as the view forwards it).
struct CommandLineCase {
    const char* name;
    Start start;
    const char* keys;
    std::vector<std::string> events;
    std::string lineAfter;
    // The test command's level after the keys.
    bool runningAfter;
};

const std::string kCreate = "testaddin.so create 7 0 objects 0";
const std::string kStart = "testaddin.so event 1 number 7 final 1";
const std::string kSecondStart = "testaddin.so event 8193 number 7 final 1";
const std::string kCancel = "testaddin.so event 16 final 1";
const std::string kReleased = "testaddin.so command released";
const std::string kAccept = "testaddin.so event 256 final 1";

const CommandLineCase kCases[] = {
    {"enter on an empty line accepts the running command", Start::InCommand, "\n", {kAccept}, "", true},
    {"enter on an empty line at the root reaches no command", Start::Root, "\n", {}, "", false},
    {"a value and enter submit it", Start::InCommand, "12.5\n", {"testaddin.so event 64 value 12.5 final 1"}, "",
     true},
    {"a trailing blank submits two values without it", Start::InCommand, "3;4 ",
     {"testaddin.so event 128 values 3 4 final 1"}, "", true},
    {"a point the command does not take stays on the line", Start::InCommand, "3,4 ", {}, "3,4 ", true},
    {"letters alone are not submitted", Start::InCommand, "12", {}, "12", true},
    {"a lone blank cancels the running command and clears the line", Start::InCommand, " ", {kCancel, kReleased}, "",
     false},
    {"a lone blank at the root repeats the last command", Start::Root, " ", {kCreate, kStart, kSecondStart}, " ",
     true},
    {"the typed name and a blank start the command", Start::Root, "testcmd ", {kCreate, kStart, kSecondStart},
     "testcmd ", true},
    {"the short name and enter start the command", Start::Root, "tc\n", {kCreate, kStart, kSecondStart}, "tc", true},
    {"an unknown name starts nothing", Start::Root, "other ", {}, "other ", false},
    {"esc cancels the running command", Start::InCommand, "\x1b", {kCancel, kReleased}, "", false},
    {"esc at the root reaches no command", Start::Root, "\x1b", {}, "", false},
    {"the running command's button cancels it", Start::InCommand, "!", {kCancel, kReleased}, "", false},
    {"the command's button at the root starts it", Start::Root, "!", {kCreate, kStart, kSecondStart}, "", true},
    {"without a drawing a name, enter and esc do nothing", Start::NoDocument, "testcmd\n \x1b", {}, "testcmd ",
     false},
    {"without a drawing the button does nothing", Start::NoDocument, "!", {}, "", false},
};

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        ASSERT_TRUE(addin->Loaded());
        addin->Reset();
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        ASSERT_NE(program->ActiveDocument(), nullptr);
        index = program->App().FindHostCommand(addin->Object(), kTestCommandNumber);
        ASSERT_GE(index, 0);
    }
    void TearDown() override
    {
        program.reset();
        addin.reset();
    }
    CMainFrame& Frame() { return *program->Frame(); }
    UINT CommandId() const { return kFirstHostCommandId + static_cast<UINT>(index); }
    void PressButton() { Frame().SendMessage(WM_COMMAND, MAKEWPARAM(CommandId(), 0), 0); }
    // A key pressed in the command line, through the frame's translation
    // as the message loop does it.
    void KeyInLine(WPARAM key)
    {
        Frame().FocusCommandLine();
        MSG msg{};
        msg.hwnd = Frame().CommandLine()->GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        msg.lParam = 1;
        if (!CWnd::WalkPreTranslateTree(Frame().GetSafeHwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    void Type(const std::string& keys)
    {
        for (char key : keys) {
            if (key == '\n') {
                KeyInLine(VK_RETURN);
            } else if (key == '\x1b') {
                KeyInLine(VK_ESCAPE);
            } else if (key == '!') {
                PressButton();
            } else {
                Frame().SendMessage(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 1);
            }
        }
    }
    void Prepare(Start start)
    {
        // The command ran once, so a repeat has a last command.
        PressButton();
        Frame().SendMessage(WM_COMMAND, kCancelCommandId, 0);
        if (start == Start::InCommand) {
            PressButton();
        } else if (start == Start::NoDocument) {
            program->App().CloseAllDocuments(TRUE);
        }
        Frame().SetCommandLineText("");
        addin->Reset();
    }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
    int index = -1;
};

TEST_F(CommandLineTest, TypedKeysReachTheCommandEngineAsTheLineSays)
{
    for (const CommandLineCase& c : kCases) {
        SCOPED_TRACE(c.name);
        // Each case in a program of its own.
        program.reset();
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        Prepare(c.start);
        Type(c.keys);
        EXPECT_EQ(addin->Log(), c.events);
        EXPECT_EQ(Frame().GetCommandLineText(), c.lineAfter);
        CNuvexDoc* document = program->ActiveDocument();
        if (c.start == Start::NoDocument) {
            EXPECT_EQ(document, nullptr);
        } else {
            ASSERT_NE(document, nullptr);
            EXPECT_EQ(document->GetActiveCommandId() == index, c.runningAfter);
        }
    }
}

// Help keys: what the add-in is asked, and whether context-help mode is on
// afterwards. '?' is F1, '^' Shift+F1, '!' the command's button, 'z' the
// host's Zoom all button.
struct HelpCase {
    const char* name;
    Start start;
    const char* keys;
    std::vector<std::string> log;
    bool helpModeAfter;
};

const std::string kHelp = "testaddin.so help 7 268435456";

const HelpCase kHelpCases[] = {
    {"f1 in a running command asks its add-in", Start::InCommand, "?", {kHelp}, false},
    {"shift+f1 waits for a click", Start::Root, "^", {}, true},
    {"shift+f1 and the command's button ask for its help and run nothing", Start::Root, "^!", {kHelp}, false},
    {"shift+f1 and a host button show no help and end the mode", Start::Root, "^z", {}, false},
    {"shift+f1 and then f1 only end the mode", Start::Root, "^?", {}, false},
};

TEST_F(CommandLineTest, HelpGoesToTheAddinThatOwnsTheCommand)
{
    for (const HelpCase& c : kHelpCases) {
        SCOPED_TRACE(c.name);
        Prepare(c.start);
        for (char key : std::string(c.keys)) {
            const UINT command = key == '?'   ? kHelpCommandId
                                 : key == '^' ? kContextHelpCommandId
                                 : key == 'z' ? 32777u
                                              : CommandId();
            Frame().SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
        }
        EXPECT_EQ(addin->Log(), c.log);
        EXPECT_EQ(Frame().IsContextHelpMode() != FALSE, c.helpModeAfter);
        Frame().ContextHelpFlag() = FALSE;
        Frame().SendMessage(WM_COMMAND, kCancelCommandId, 0);
    }
}

} // namespace
