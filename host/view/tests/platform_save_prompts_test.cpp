// The close prompt and the save dialog through the platform's dialogs,
// answered by the dialog answer hook.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/document/tests/document_test_support.h"
#include "host/view/platform_save_prompts.h"
#include "platform/user/commdlg.h"

namespace {

class PlatformSavePromptsTest : public ::testing::Test {
protected:
    PlatformSavePromptsTest()
    {
        char pattern[] = "/tmp/nuvex-prompts-XXXXXX";
        folder = mkdtemp(pattern);
        fixture.document.SetModifiedFlag(TRUE);
    }
    ~PlatformSavePromptsTest() override
    {
        SetDialogAnswerHook(nullptr);
        std::filesystem::remove_all(folder);
    }
    // Answers the message box with button, then the save dialog with path
    // (empty: Cancel).
    void Answer(int button, std::string path)
    {
        SetDialogAnswerHook([button, path](const DialogRequest& request) -> std::optional<DialogAnswer> {
            DialogAnswer answer;
            if (request.kind == DialogRequestKind::MessageBox) {
                answer.button = button;
            } else {
                answer.button = path.empty() ? IDCANCEL : IDOK;
                answer.path = path;
            }
            return answer;
        });
    }
    CloseOutcome Close()
    {
        return CloseDocument(fixture.document, name, prompts, [this] { ++closes; });
    }

    std::string folder;
    DocumentFixture fixture;
    DocumentName name{"", "Bracket", ".nvx"};
    CPlatformSavePrompts prompts{nullptr, "nuvex", "nvx"};
    int closes = 0;
};

TEST_F(PlatformSavePromptsTest, YesAsksForANameInTheSaveDialogAndSavesThere)
{
    const std::string file = folder + "/bracket.nvx";
    Answer(IDYES, file);
    EXPECT_EQ(Close(), CloseOutcome::Closed);
    const auto requests = RecordedDialogRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, DialogRequestKind::MessageBox);
    EXPECT_EQ(requests[0].text, kDefaultNotSaved);
    EXPECT_EQ(requests[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
    EXPECT_EQ(requests[1].kind, DialogRequestKind::SaveFile);
    EXPECT_EQ(requests[1].caption, "Save As");
    EXPECT_EQ(requests[1].text, "Bracket.nvx");
    EXPECT_NE(requests[1].type & OFN_HIDEREADONLY, 0u);
    EXPECT_EQ(requests[1].defaultExtension, "nvx");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(name.path, file);
    EXPECT_EQ(closes, 1);
}

TEST_F(PlatformSavePromptsTest, CancellingTheSaveDialogKeepsTheDocumentOpen)
{
    Answer(IDYES, "");
    EXPECT_EQ(Close(), CloseOutcome::KeptOpen);
    EXPECT_EQ(RecordedDialogRequests().size(), 2u);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(fixture.document.IsModified());
}

TEST_F(PlatformSavePromptsTest, TheAnswersOfTheCloseBoxDecide)
{
    struct Case {
        const char* name;
        int button;
        CloseOutcome outcome;
    };
    const Case cases[] = {
        {"no", IDNO, CloseOutcome::Closed},
        {"cancel", IDCANCEL, CloseOutcome::KeptOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Answer(c.button, "");
        EXPECT_EQ(Close(), c.outcome);
        // One box, no save dialog.
        EXPECT_EQ(RecordedDialogRequests().size(), 1u);
    }
}

} // namespace
