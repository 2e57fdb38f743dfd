// The program's application services in the running program: help routed
// to the add-in owning a command or to the program's page in the chosen
// language, the Options dialog storing the language for the next start, the
// file dialog's filters from the templates and the add-ins' file types (and
// an add-in's file opened through its handler), and the properties page.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/help_router.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/options_dialog.h"
#include "icontrols.h"
#include "platform/controls/controls.h"
#include "platform/framework/ids.h"
#include "platform/kernel/help.h"
#include "platform/user/commdlg.h"
#include "platform/user/dialog.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kTestCommandNumber = 7;
const std::string kAddinHelp = "testaddin.so help 7 268435456";

class AppDialogsTest : public ::testing::Test {
protected:
    void Start(bool workshop = false)
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        ASSERT_TRUE(addin->Loaded());
        addin->Reset();
        addin->SetWorkshop(workshop);
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            requests.push_back(request);
            if (request.kind == DialogRequestKind::MessageBox) {
                return DialogAnswer{IDOK, "", 0};
            }
            return fileAnswer.empty() ? DialogAnswer{IDCANCEL, "", 0} : DialogAnswer{IDOK, fileAnswer, 0};
        });
        addin->Reset();
    }
    void TearDown() override
    {
        SetIdleScript(nullptr);
        if (addin) {
            addin->SetWorkshop(false);
        }
        program.reset();
        addin.reset();
    }
    UINT CommandId()
    {
        const int index = program->App().FindHostCommand(addin->Object(), kTestCommandNumber);
        EXPECT_GE(index, 0);
        return kFirstHostCommandId + static_cast<UINT>(index);
    }
    void Press(UINT id) { program->Frame()->SendMessage(WM_COMMAND, id, 0); }
    // The help pages asked for while `action` runs.
    std::vector<std::string> HelpPages(const std::function<void()>& action)
    {
        std::vector<std::string> pages;
        ScopedHelpRecorder recorder([&pages](const HelpRequest& request) { pages.push_back(request.requested); });
        action();
        return pages;
    }
    // Plays the Options dialog: `step` gets its window and presses a button.
    void PlayOptions(const std::function<void(HWND)>& step)
    {
        SetIdleScript([step]() {
            HWND dialog = ::GetActiveWindow();
            if (dialog == nullptr || ::GetDlgItem(dialog, kOptionsLanguageList) == nullptr) {
                return false;
            }
            step(dialog);
            return true;
        });
        Press(kOptionsCommand);
        SetIdleScript(nullptr);
    }
    static std::vector<std::string> ComboEntries(HWND dialog)
    {
        HWND list = ::GetDlgItem(dialog, kOptionsLanguageList);
        std::vector<std::string> entries;
        const auto count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        return entries;
    }
    static std::string SelectedEntry(HWND dialog)
    {
        HWND list = ::GetDlgItem(dialog, kOptionsLanguageList);
        const auto selected = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
        if (selected < 0) {
            return "(none)";
        }
        char text[128] = {};
        ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
        return text;
    }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
    std::vector<DialogRequest> requests;
    std::string fileAnswer;
};

TEST_F(AppDialogsTest, HelpGoesToTheRunningAddinCommandElseToTheProgramsPageInTheChosenLanguage)
{
    folder.Write("Language/language.txt", "de\n");
    Start();
    EXPECT_EQ(program->App().LanguageTable().ChosenLanguage(), "DE");
    // F1 at the root: the program's page, in the chosen language.
    EXPECT_EQ(HelpPages([&]() { program->App().WinHelp(0, kHelpContext); }),
              (std::vector<std::string>{"help\\DE\\nuvex.chm::/html/home.htm"}));
    EXPECT_EQ(HelpPages([&]() { program->App().WinHelp(0, kHelpFinder); }).size(), 1u);
    EXPECT_TRUE(addin->Log().empty());
    // F1 while the add-in's command runs: the add-in's help, no page.
    Press(CommandId());
    addin->Reset();
    EXPECT_TRUE(HelpPages([&]() { program->App().WinHelp(0, kHelpContext); }).empty());
    EXPECT_EQ(addin->Log(), (std::vector<std::string>{kAddinHelp}));
    Press(kCancelCommandId);
    // Any other help command is ignored.
    addin->Reset();
    EXPECT_TRUE(HelpPages([&]() { program->App().WinHelp(0, 0x0002); }).empty());
    EXPECT_TRUE(addin->Log().empty());
}

TEST_F(AppDialogsTest, ContextHelpOnAnAddinItemAsksItsAddinAndOnAHostItemDoesNothing)
{
    Start();
    struct Case {
        const char* name;
        DWORD_PTR data;
        std::vector<std::string> addinLog;
    };
    const Case cases[] = {
        {"add-in command", CommandId(), {kAddinHelp}},
        {"add-in command with a high word", 0x00020000u | CommandId(), {kAddinHelp}},
        {"host command", ID_FILE_NEW, {}},
        {"unused add-in id", kFirstHostCommandId + 500, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        addin->Reset();
        program->App().m_bHelpMode = TRUE;
        EXPECT_TRUE(HelpPages([&]() { program->App().WinHelp(c.data, kHelpContext); }).empty());
        EXPECT_EQ(addin->Log(), c.addinLog);
        EXPECT_FALSE(program->App().m_bHelpMode);
    }
}

TEST_F(AppDialogsTest, OptionsStoresTheChosenLanguageForTheNextStartOnly)
{
    folder.Write("Language/nuvex.txt",
                 "EN LNAME EN English\nDE LNAME DE Deutsch\nEN LNAME FR Francais\nEN STATIC 20002 Language\n"
                 "DE STATIC 20002 Sprache\n");
    folder.Write("Language/language.txt", "de\n");
    Start();
    // The list is sorted, the current language selected, the texts are the
    // chosen language's.
    std::vector<std::string> entries;
    std::string selected;
    std::string group;
    PlayOptions([&](HWND dialog) {
        entries = ComboEntries(dialog);
        selected = SelectedEntry(dialog);
        group = [&]() {
            char text[64] = {};
            ::GetWindowTextA(::GetDlgItem(dialog, kOptionsLanguageGroup), text, sizeof text);
            return std::string(text);
        }();
        ::SendMessageA(::GetDlgItem(dialog, kOptionsLanguageList), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>("English"));
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(entries, (std::vector<std::string>{"Deutsch", "English", "Francais"}));
    EXPECT_EQ(selected, "Deutsch");
    EXPECT_EQ(group, "Sprache");
    EXPECT_EQ(folder.Read("Language/language.txt"), "EN\n");
    // Nothing is reloaded now.
    EXPECT_EQ(program->App().LanguageTable().ChosenLanguage(), "DE");

    // Cancel leaves the file as it is.
    PlayOptions([](HWND dialog) {
        ::SendMessageA(::GetDlgItem(dialog, kOptionsLanguageList), CB_SETCURSEL, 2, 0);
        ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(folder.Read("Language/language.txt"), "EN\n");
    // A language chosen from the list is stored by its key.
    PlayOptions([](HWND dialog) {
        ::SendMessageA(::GetDlgItem(dialog, kOptionsLanguageList), CB_SETCURSEL, 2, 0);
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(folder.Read("Language/language.txt"), "FR\n");
}

TEST_F(AppDialogsTest, ALanguageThatIsNotListedLeavesNoSelectionAndOKStoresNothing)
{
    folder.Write("Language/nuvex.txt", "EN LNAME EN English\nDE LNAME DE Deutsch\n");
    folder.Write("Language/language.txt", "IT\n");
    Start();
    std::string selected;
    PlayOptions([&](HWND dialog) {
        selected = SelectedEntry(dialog);
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(selected, "(none)");
    EXPECT_EQ(folder.Read("Language/language.txt"), "IT\n");
}

TEST_F(AppDialogsTest, TheFileDialogOffersTheAddinsFileTypesOfItsFormAndOpensTheirFiles)
{
    Start();
    // A type for saving only, registered later by another party.
    program->App().HostApplication()->RegisterFileType("Exports (*.exp)", "exp", 2, GUID{}, 0);
    using Filters = std::vector<std::pair<std::string, std::string>>;
    CString name;
    EXPECT_FALSE(program->App().PromptForFileName(name, AFX_IDS_OPENFILE, 0, TRUE, nullptr));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, DialogRequestKind::OpenFile);
    EXPECT_EQ(requests[0].filters, (Filters{{"Drawings (*.nvx)", "*.nvx"},
                                            {"Test parts (*.tpt)", "*.tpt"},
                                            {"All Files (*.*)", "*.*"}}));
    EXPECT_FALSE(program->App().PromptForFileName(name, AFX_IDS_SAVEFILE, 0, FALSE, nullptr));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, DialogRequestKind::SaveFile);
    EXPECT_EQ(requests[1].filters, (Filters{{"Drawings (*.nvx)", "*.nvx"},
                                            {"Exports (*.exp)", "*.exp"},
                                            {"All Files (*.*)", "*.*"}}));

    // File Open with the add-in's type: its handler reads the file.
    folder.Write("part.tpt", "a part\n");
    fileAnswer = (folder.Path() / "part.tpt").string();
    addin->Reset();
    Press(ID_FILE_OPEN);
    EXPECT_EQ(addin->Log(), (std::vector<std::string>{"testaddin.so file 1 part.tpt"}));
}

TEST_F(AppDialogsTest, ThePropertiesPageIsBuiltInTheAddinsWorkshopGroup)
{
    Start(true);
    IControlPanel* panel = program->App().PropertiesPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(program->App().SelectedCountControl(), nullptr);
    IUnknown* count = nullptr;
    ASSERT_EQ(panel->GetControl(102, &count), S_OK);
    EXPECT_EQ(count, program->App().SelectedCountControl());
    IUnknown* group = nullptr;
    EXPECT_EQ(panel->GetControl(100, &group), S_OK);
    IUnknown* label = nullptr;
    EXPECT_EQ(panel->GetControl(101, &label), S_OK);
}

TEST_F(AppDialogsTest, WithoutTheWorkshopGroupThereIsNoPropertiesPage)
{
    Start(false);
    EXPECT_EQ(program->App().PropertiesPanel(), nullptr);
    EXPECT_EQ(program->App().SelectedCountControl(), nullptr);
}

} // namespace
