// The close prompt and the save-as flow, answered by a script: which
// message is shown with which buttons, when the file dialog is asked,
// what is written, and whether the document closes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/document/tests/document_test_support.h"
#include "host/view/document_closing.h"
#include "objectmodel/entity_record.h"

namespace {

// Answers from a script and logs what was asked.
class ScriptedPrompts : public ISavePrompts {
public:
    PromptAnswer ShowMessage(const std::string& text, PromptButtons buttons) override
    {
        log.push_back(std::string(buttons == PromptButtons::Ok ? "ok: " : "yes/no/cancel: ") + text);
        return answer;
    }
    bool AskSaveFileName(std::string& path, bool saveAs) override
    {
        log.push_back(std::string(saveAs ? "save as " : "save copy as ") + path);
        if (fileName.empty()) {
            return false;
        }
        path = fileName;
        return true;
    }
    void SetWaitCursor(bool on) override { log.push_back(on ? "wait" : "wait end"); }

    PromptAnswer answer = PromptAnswer::Cancel;
    // Empty: the dialog is cancelled.
    std::string fileName;
    std::vector<std::string> log;
};

class StartOnlyCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG, void*, LONG, LONG, LONG* result) override
    {
        *result = 0;
        return S_OK;
    }
};

class DocumentClosingTest : public ::testing::Test {
protected:
    DocumentClosingTest()
    {
        char pattern[] = "/tmp/nuvex-closing-XXXXXX";
        folder = mkdtemp(pattern);
        name.title = "Bracket 1;draft";
        name.extension = ".nvx";
    }
    ~DocumentClosingTest() override { std::filesystem::remove_all(folder); }

    CloseOutcome Close()
    {
        return CloseDocument(fixture.document, name, prompts, [this] { ++closes; });
    }
    void AddObject(bool failSave = false)
    {
        auto* object = new TestObject("abc");
        object->failSave = failSave;
        fixture.document.AddObject(new CEntityRecord(static_cast<IObjectBase*>(object)));
        fixture.document.SetModifiedFlag(TRUE);
    }

    std::string folder;
    DocumentFixture fixture;
    DocumentName name;
    ScriptedPrompts prompts;
    int closes = 0;
};

const std::string kNotSaved = std::string("yes/no/cancel: ") + kDefaultNotSaved;

TEST_F(DocumentClosingTest, AModifiedDocumentClosesOnlyWhenNoOrASuccessfulSaveSaysSo)
{
    struct Case {
        const char* name;
        bool modified;
        PromptAnswer answer;
        bool dialogGivesName;
        CloseOutcome outcome;
        bool written;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {"unmodified closes without a word", false, PromptAnswer::Yes, true, CloseOutcome::Closed, false, {}},
        {"cancel keeps it", true, PromptAnswer::Cancel, true, CloseOutcome::KeptOpen, false, {kNotSaved}},
        {"no closes without writing", true, PromptAnswer::No, true, CloseOutcome::Closed, false, {kNotSaved}},
        {"yes without a file asks for a name and saves", true, PromptAnswer::Yes, true, CloseOutcome::Closed, true,
         {kNotSaved, "save as Bracket.nvx", "wait", "wait end"}},
        {"yes with the dialog cancelled keeps it", true, PromptAnswer::Yes, false, CloseOutcome::KeptOpen, false,
         {kNotSaved, "save as Bracket.nvx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentFixture local;
        DocumentName localName{"", "Bracket 1;draft", ".nvx"};
        ScriptedPrompts localPrompts;
        localPrompts.answer = c.answer;
        const std::string file = folder + "/" + std::to_string(&c - cases) + ".nvx";
        if (c.dialogGivesName) {
            localPrompts.fileName = file;
        }
        local.document.SetModifiedFlag(c.modified ? TRUE : FALSE);
        int localCloses = 0;
        EXPECT_EQ(CloseDocument(local.document, localName, localPrompts, [&] { ++localCloses; }), c.outcome);
        EXPECT_EQ(localCloses, c.outcome == CloseOutcome::Closed ? 1 : 0);
        EXPECT_EQ(localPrompts.log, c.asked);
        EXPECT_EQ(std::filesystem::exists(file), c.written);
        if (c.written) {
            EXPECT_EQ(localName.path, file);
            EXPECT_FALSE(local.document.IsModified());
        }
        if (c.outcome == CloseOutcome::KeptOpen) {
            EXPECT_TRUE(local.document.IsModified());
        }
    }
}

TEST_F(DocumentClosingTest, YesForASavedDocumentSavesUnderItsPathWithoutAsking)
{
    AddObject();
    const std::string file = folder + "/saved.nvx";
    ASSERT_TRUE(DoSave(fixture.document, name, prompts, file.c_str(), TRUE));
    EXPECT_EQ(name.path, file);
    std::filesystem::remove(file);
    fixture.document.SetModifiedFlag(TRUE);
    prompts.log.clear();
    prompts.answer = PromptAnswer::Yes;
    EXPECT_EQ(Close(), CloseOutcome::Closed);
    EXPECT_EQ(prompts.log, (std::vector<std::string>{kNotSaved, "wait", "wait end"}));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(DocumentClosingTest, AFailedSaveKeepsTheDocumentOpenAndAFailedSaveAsLeavesNoFile)
{
    AddObject(true);
    const std::string file = folder + "/broken.nvx";
    prompts.answer = PromptAnswer::Yes;
    prompts.fileName = file;
    EXPECT_EQ(Close(), CloseOutcome::KeptOpen);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(fixture.document.IsModified());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(name.path.empty());
    // A failed save under a given path (not a Save As) leaves the file alone.
    std::ofstream(file) << "earlier";
    EXPECT_FALSE(DoSave(fixture.document, name, prompts, file.c_str(), TRUE));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(DocumentClosingTest, ARunningCommandRefusesTheCloseOnce)
{
    fixture.services.addinFactory.maker = [](const IID&) -> IUnknown* { return new StartOnlyCommand(); };
    fixture.services.commands.push_back(Command(0, 100, GUID{0xc0de, 0, 0, {}}));
    fixture.document.StartCommand(0, 1);
    ASSERT_TRUE(fixture.document.IsCommandActive());
    fixture.document.SetModifiedFlag(TRUE);
    EXPECT_EQ(Close(), CloseOutcome::RefusedActiveCommand);
    EXPECT_EQ(prompts.log, (std::vector<std::string>{std::string("ok: ") + kDefaultActiveCommand}));
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(fixture.document.IsCommandActive());
}

TEST_F(DocumentClosingTest, SaveCopyAsProposesThePathAndKeepsIt)
{
    name.path = folder + "/current.nvx";
    prompts.fileName = folder + "/copy.nvx";
    EXPECT_TRUE(DoSave(fixture.document, name, prompts, nullptr, FALSE));
    EXPECT_EQ(prompts.log.front(), "save copy as " + folder + "/current.nvx");
    EXPECT_EQ(name.path, folder + "/current.nvx");
    EXPECT_TRUE(std::filesystem::exists(folder + "/copy.nvx"));
}

} // namespace
