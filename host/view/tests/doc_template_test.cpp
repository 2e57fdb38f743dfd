// Drawings opened through the framework: a multi-document template makes
// the document and its view in an MDI child frame, and the framework's
// save and close commands reach the close question and the save dialog,
// answered through the platform's dialog answer hook.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "host/document/tests/document_test_support.h"
#include "host/view/document_closing.h"
#include "host/view/nuvex_view.h"
#include "host/view/platform_save_prompts.h"
#include "host/view/tests/view_test_app.h"
#include "host/view/tests/view_test_support.h"
#include "platform/framework/app.h"
#include "platform/framework/ids.h"
#include "platform/framework/mdi.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

// Each answer: the button, and for the save dialog the path.
using Answers = std::vector<DialogAnswer>;

class DocTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        AddViewVariables(services);
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            requests.push_back(request);
            if (answers.empty()) {
                return DialogAnswer{IDCANCEL, "", 0};
            }
            DialogAnswer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
        app = std::make_unique<CViewTestApp>("NuvexViewTests", "Nuvex View Tests", services, output, &flow);
        ASSERT_TRUE(app->InitInstance());
    }
    void TearDown() override
    {
        if (app != nullptr && app->m_pMainWnd != nullptr) {
            // Whatever is still open closes without being asked.
            answers.assign(8, DialogAnswer{IDNO, "", 0});
            app->CloseProgram();
        }
        app.reset();
        SetDialogAnswerHook(nullptr);
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    // File New: the new drawing in the active child frame.
    CNuvexDoc* NewDrawing() { return app->NewDrawing(); }
    void Command(UINT id) { app->Frame()->SendMessage(WM_COMMAND, id, 0); }
    std::string Path(const char* name) const { return (folder.Path() / name).string(); }

    TestConfigFolder folder{"nuvex-doctemplate-"};
    TestServices services;
    TestOutput output;
    CPlatformSavePrompts prompts{nullptr, "nuvex", "nvx"};
    CFrameworkCloseFlow flow{prompts};
    std::unique_ptr<CViewTestApp> app;
    std::vector<DialogRequest> requests;
    Answers answers;
};

TEST_F(DocTemplateTest, FileNewMakesTheDrawingWithItsViewInAnMdiChildFrame)
{
    CNuvexDoc* document = NewDrawing();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), CString("Drawing1"));
    CNuvexView* view = ViewOf(document);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), document);
    EXPECT_EQ(static_cast<CView*>(view)->GetDocument(), document);
    CFrameWnd* child = view->GetParentFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)));
    EXPECT_EQ(app->Frame()->MDIGetActive(), child);
    EXPECT_EQ(child->GetActiveView(), view);
}

TEST_F(DocTemplateTest, FileSaveOfANewDrawingAsksForANameAndTheDrawingTakesIt)
{
    CNuvexDoc* document = NewDrawing();
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(TRUE);
    const std::string file = Path("part.nvx");
    answers = {DialogAnswer{IDOK, file, 0}};
    Command(ID_FILE_SAVE);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, DialogRequestKind::SaveFile);
    EXPECT_EQ(requests[0].text, "Drawing1.nvx");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(document->GetPathName(), CString(file.c_str()));
    EXPECT_FALSE(document->IsModified());

    // Saving again goes to the same file without a dialog.
    document->SetModifiedFlag(TRUE);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(document->IsModified());
}

// File Close of a modified drawing: one question, then what each answer
// does to the document and its frame.
TEST_F(DocTemplateTest, FileCloseAsksOnceAndClosesOnlyWhenTheAnswerAllowsIt)
{
    struct Case {
        const char* name;
        Answers answers;
        bool closes;
        bool saved;
        size_t requestCount;
    };
    const std::vector<Case> cases = {
        {"no", {DialogAnswer{IDNO, "", 0}}, true, false, 1},
        {"cancel", {DialogAnswer{IDCANCEL, "", 0}}, false, false, 1},
        {"yes, saved", {DialogAnswer{IDYES, "", 0}, DialogAnswer{IDOK, "saved.nvx", 0}}, true, true, 2},
        {"yes, dialog cancelled", {DialogAnswer{IDYES, "", 0}, DialogAnswer{IDCANCEL, "", 0}}, false, false, 2},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CNuvexDoc* document = NewDrawing();
        ASSERT_NE(document, nullptr);
        CFrameWnd* child = ViewOf(document)->GetParentFrame();
        const HWND childWindow = child->m_hWnd;
        document->SetModifiedFlag(TRUE);
        requests.clear();
        answers = test.answers;
        const std::string file = Path("saved.nvx");
        if (answers.size() > 1 && answers[1].button == IDOK) {
            answers[1].path = file;
        }
        std::filesystem::remove(file);
        Command(ID_FILE_CLOSE);

        ASSERT_EQ(requests.size(), test.requestCount);
        EXPECT_EQ(requests[0].kind, DialogRequestKind::MessageBox);
        EXPECT_EQ(requests[0].text, kDefaultNotSaved);
        EXPECT_EQ(::IsWindow(childWindow) != FALSE, !test.closes);
        EXPECT_EQ(std::filesystem::exists(file), test.saved);
        if (!test.closes) {
            EXPECT_TRUE(document->IsModified());
            // Leave it for the next case.
            answers = {DialogAnswer{IDNO, "", 0}};
            Command(ID_FILE_CLOSE);
            EXPECT_FALSE(::IsWindow(childWindow));
        }
    }
}

TEST_F(DocTemplateTest, ClosingTheChildFrameAsksOnceAndKeepsTheDrawingOnCancel)
{
    CNuvexDoc* document = NewDrawing();
    ASSERT_NE(document, nullptr);
    CFrameWnd* child = ViewOf(document)->GetParentFrame();
    const HWND childWindow = child->m_hWnd;
    document->SetModifiedFlag(TRUE);
    answers = {DialogAnswer{IDCANCEL, "", 0}};
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(::IsWindow(childWindow));

    requests.clear();
    answers = {DialogAnswer{IDNO, "", 0}};
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(::IsWindow(childWindow));
}

} // namespace
