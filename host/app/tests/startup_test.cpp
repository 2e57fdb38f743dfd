// Start-up and shut-down of the program in a test program folder with real
// add-in modules: the order of the steps as the add-ins see it, the
// configuration files in every state a person's folder can be in, modules
// that fail, the server start, and the files rewritten at exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/app/drawing_template.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/child_frame.h"
#include "host/shell/in_place_frame.h"
#include "host/shell/main_frame.h"
#include "ientitycomponent.h"
#include "platform/framework/ids.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"

namespace {

bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}

size_t CountOf(const std::vector<std::string>& log, const std::string& entry)
{
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write("Language/language.txt", "de\n");
        folder.Write("Language/nuvex.txt", "EN STATIC 20000 Command\nDE STATIC 20000 Befehl\n");
    }

    TestProgramFolder folder;
};

TEST_F(StartupTest, TheStepsRunInTheirOrderAndAddinsSeeTheLanguageAndTheVariablesWhenTheyConnect)
{
    const std::string path = folder.AddTestAddin("testaddin");
    TestAddinModule addin(path);
    ASSERT_TRUE(addin.Loaded());
    addin.Reset();
    {
        RunningProgram program;
        ASSERT_TRUE(program.Start());
        const std::vector<StartupStep> expected = {
            StartupStep::ProgramFolder,       StartupStep::LanguageLoaded,    StartupStep::OleReady,
            StartupStep::ProfileLoaded,       StartupStep::TemplateAdded,     StartupStep::ServerConnected,
            StartupStep::MainFrameCreated,    StartupStep::AddinsLoaded,      StartupStep::VariablesRegistered,
            StartupStep::AddinsConnected,     StartupStep::BarLayoutRestored, StartupStep::CommandLineParsed,
            StartupStep::ShellCommandDone,    StartupStep::MainWindowShown,
        };
        EXPECT_EQ(program.App().StartupSteps(), expected);
        EXPECT_EQ(program.App().ProgramFolder(), folder.Path().string());
        EXPECT_STREQ(program.App().LanguageTable().GetStaticText(20000, ""), "Befehl");
        // The add-in saw the 25 built-in variables and the chosen language;
        // its own variable comes after them.
        EXPECT_TRUE(Contains(addin.Log(), "testaddin.so connect variables 25 ZViewDirection 14 language DE EN"))
            << ::testing::PrintToString(addin.Log());
        EXPECT_EQ(program.App().FindSystemVariable("TestFlag"), 25);
        // With no configuration file, the module registered itself and was
        // found in the registry by its path, written in other letter case.
        EXPECT_EQ(CountOf(addin.Log(), "testaddin.so register"), 1u);
        ASSERT_EQ(program.App().AddinRecords().size(), 1u);
        EXPECT_NE(program.App().AddinRecords()[0].addin, nullptr);
        EXPECT_TRUE(program.App().AddinRecords()[0].classId == addin.ClassId());
        // The shell command made a new drawing and the window is shown.
        EXPECT_NE(program.ActiveDocument(), nullptr);
        EXPECT_TRUE(program.Frame()->IsWindowVisible());
        EXPECT_TRUE(program.messages.empty());
        program.Stop();
    }
    EXPECT_EQ(folder.Read("AddInsCfg/testaddin.cfg"), "ADDIN_CLSID " + ClassIdText(addin.ClassId()));

    // The next start finds the module through its file at once.
    addin.Reset();
    RunningProgram again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(CountOf(addin.Log(), "testaddin.so register"), 0u);
    EXPECT_EQ(CountOf(addin.Log(), "testaddin.so connect variables 25 ZViewDirection 14 language DE EN"), 1u);
}

TEST_F(StartupTest, EveryStateOfAConfigurationFileEndsWithTheAddinConnectedAndTheRightFile)
{
    const std::string path = folder.AddTestAddin("testaddin");
    TestAddinModule addin(path);
    const std::string right = "ADDIN_CLSID " + ClassIdText(addin.ClassId());
    struct Row {
        const char* name;
        const char* file;  // null: no file
        bool registers;
    };
    const Row rows[] = {
        {"missing", nullptr, true},
        {"wrong_first_word", "CLASS_ID {00000000-0000-0000-0000-000000000001}", true},
        {"id_that_is_no_id", "ADDIN_CLSID {not-an-id}", true},
        {"id_of_another_class", "ADDIN_CLSID {00000000-0000-0000-0000-000000000001}", true},
        {"right_id", nullptr, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        addin.Reset();
        if (row.file != nullptr) {
            folder.Write("AddInsCfg/testaddin.cfg", row.file);
        } else if (row.registers) {
            std::filesystem::remove(folder.Path() / "AddInsCfg" / "testaddin.cfg");
        } else {
            folder.Write("AddInsCfg/testaddin.cfg", right);
        }
        {
            RunningProgram program;
            ASSERT_TRUE(program.Start());
            EXPECT_EQ(CountOf(addin.Log(), "testaddin.so register"), row.registers ? 1u : 0u);
            EXPECT_NE(program.App().AddinRecords().at(0).addin, nullptr);
            EXPECT_TRUE(program.messages.empty());
        }
        EXPECT_EQ(folder.Read("AddInsCfg/testaddin.cfg"), right);
    }
}

TEST_F(StartupTest, ModulesThatFailDoNotStopTheOthersAndEveryModuleGetsItsFileAtExit)
{
    const std::string good = folder.AddTestAddin("good");
    TestAddinModule addin(good);
    addin.Reset();
    // Not a library at all, and a library that registers nothing usable.
    folder.Write("AddIns/broken.so", "this is not a shared library\n");
    folder.AddEntityComponent();
    folder.Write("AddInsCfg/broken.cfg", "garbage");
    {
        RunningProgram program;
        ASSERT_TRUE(program.Start());
        const std::vector<CAddinRecord>& records = program.App().AddinRecords();
        ASSERT_EQ(records.size(), 3u);
        // File search order: by name.
        EXPECT_EQ(records[0].moduleTitle, "broken");
        EXPECT_EQ(records[1].moduleTitle, "entities");
        EXPECT_EQ(records[2].moduleTitle, "good");
        EXPECT_EQ(records[0].addin, nullptr);
        EXPECT_EQ(records[0].classFactory, nullptr);
        // The component registers itself and serves its class factory, but
        // no add-in object: it is kept, not connected.
        EXPECT_EQ(records[1].addin, nullptr);
        EXPECT_NE(records[1].classFactory, nullptr);
        EXPECT_TRUE(records[1].classId == CLSID_EntityComponent);
        EXPECT_EQ(program.App().GetClassFactoryForClsid(CLSID_EntityComponent), records[1].classFactory);
        EXPECT_NE(records[2].addin, nullptr);
        EXPECT_EQ(CountOf(addin.Log(), "good.so connect variables 25 ZViewDirection 14 language DE EN"), 1u);
        EXPECT_TRUE(program.messages.empty());
    }
    EXPECT_EQ(folder.Read("AddInsCfg/broken.cfg"), "ADDIN_CLSID {00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(folder.Read("AddInsCfg/entities.cfg"), "ADDIN_CLSID " + ClassIdText(CLSID_EntityComponent));
    EXPECT_EQ(folder.Read("AddInsCfg/good.cfg"), "ADDIN_CLSID " + ClassIdText(addin.ClassId()));
}

TEST_F(StartupTest, TwoAddinsAreTwoRecordsInFileOrderEachConnectedOnce)
{
    TestAddinModule first(folder.AddTestAddin("alpha"));
    TestAddinModule second(folder.AddTestAddin("beta"));
    first.Reset();
    second.Reset();
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(program.App().AddinRecords().size(), 2u);
    EXPECT_EQ(program.App().FindAddinByClsid(first.ClassId()), 0);
    EXPECT_EQ(program.App().FindAddinByClsid(second.ClassId()), 1);
    EXPECT_EQ(program.App().FindAddinByInterface(second.Object()), 1);
    EXPECT_EQ(CountOf(first.Log(), "alpha.so connect variables 25 ZViewDirection 14 language DE EN"), 1u);
    // The second add-in sees the first one's variable as well.
    EXPECT_EQ(CountOf(second.Log(), "beta.so connect variables 26 ZViewDirection 14 language DE EN"), 1u);
    EXPECT_EQ(program.App().FindSystemVariable("TestFlag1"), 26);
}

TEST_F(StartupTest, DrawingsOpenInMaximisedDocumentWindowsAndTheTemplateKeepsTheServersResources)
{
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(program.App().GetDocTemplateCount(), 1);
    POSITION position = program.App().GetFirstDocTemplatePosition();
    CDocTemplate* drawings = program.App().GetNextDocTemplate(position);
    ASSERT_NE(drawings, nullptr);
    EXPECT_EQ(drawings->m_nIDEmbeddingResource, kDrawingEmbeddedResource);
    EXPECT_EQ(drawings->m_nIDServerResource, kDrawingInPlaceResource);
    EXPECT_EQ(drawings->m_pOleFrameClass, RUNTIME_CLASS(CInPlaceFrame));

    // The first drawing and one made by File New are maximised children,
    // also when the one before was restored.
    CMDIChildWnd* first = program.Frame()->MDIGetActive();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsKindOf(RUNTIME_CLASS(CChildFrame)));
    EXPECT_TRUE(first->IsZoomed());
    first->MDIRestore();
    program.Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    CMDIChildWnd* second = program.Frame()->MDIGetActive();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->IsZoomed());
}

TEST_F(StartupTest, WithoutAddinsOrALanguageFileTheProgramStartsInEnglish)
{
    std::filesystem::remove(folder.Path() / "Language" / "language.txt");
    std::filesystem::remove(folder.Path() / "Language" / "nuvex.txt");
    std::filesystem::remove_all(folder.Path() / "AddIns");
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(program.App().AddinRecords().empty());
    EXPECT_EQ(program.App().LanguageTable().ChosenLanguage(), "EN");
    EXPECT_STREQ(program.App().LanguageTable().GetStaticText(20000, "Command"), "Command");
    EXPECT_EQ(program.App().SystemVariables().size(), 25u);
}

TEST_F(StartupTest, AServerStartConnectsTheAddinsAndShowsNoWindow)
{
    TestAddinModule addin(folder.AddTestAddin("testaddin"));
    for (const char* switchText : {"/Embedding", "-Automation"}) {
        SCOPED_TRACE(switchText);
        addin.Reset();
        RunningProgram program({switchText});
        ASSERT_TRUE(program.Start());
        EXPECT_EQ(CountOf(addin.Log(), "testaddin.so connect variables 25 ZViewDirection 14 language DE EN"), 1u);
        EXPECT_FALSE(program.Frame()->IsWindowVisible());
        EXPECT_EQ(program.ActiveDocument(), nullptr);
        EXPECT_EQ(program.App().StartupSteps().back(), StartupStep::CommandLineParsed);
    }
}

TEST_F(StartupTest, AFileThatCannotBeOpenedEndsTheProgram)
{
    RunningProgram program({(folder.Path() / "missing.nvx").string()});
    EXPECT_FALSE(program.Start());
    EXPECT_NE(program.App().StartupSteps().back(), StartupStep::MainWindowShown);
}

TEST_F(StartupTest, WithoutTheKeyTheExecutablesFolderIsUsedAndWrittenBack)
{
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_ALL_ACCESS, &classes), ERROR_SUCCESS);
    RegDeleteKeyA(classes, kProgramFolderClassKey);
    RegCloseKey(classes);
    CNuvexApp app;
    EXPECT_FALSE(app.FindProgramFolder());
    EXPECT_TRUE(app.ProgramFolder().empty());
    app.UseProgramFolder();
    EXPECT_EQ(app.ProgramFolder(), ProgramFolderOfExecutable());
    EXPECT_EQ(std::filesystem::current_path().string(), ProgramFolderOfExecutable());
    CNuvexApp next;
    EXPECT_TRUE(next.FindProgramFolder());
    EXPECT_EQ(next.ProgramFolder(), ProgramFolderOfExecutable());
}

} // namespace
