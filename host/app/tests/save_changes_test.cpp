// The program's closing through the save-changes dialog: which drawings it
// lists, Save (titled drawings under their names, untitled ones through the
// file dialog, a cancelled dialog or a failed save keeping the program
// running), No, Cancel, and a running command refusing the close. The
// dialog is played by the idle script of its modal loop, the file dialogs
// and message boxes are answered through the dialog hook. Nothing saved is
// lost and no drawing lets go of its objects while the closing can still
// be stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/main_frame.h"
#include "host/shell/windows_manager.h"
#include "ihost.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/id_group_object.h"
#include "platform/framework/ids.h"
#include "platform/user/commdlg.h"
#include "platform/user/dialog.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

class SaveChangesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addin = std::make_unique<TestAddinModule>(folder.AddTestAddin("testaddin"));
        program = std::make_unique<RunningProgram>();
        ASSERT_TRUE(program->Start());
        first = program->ActiveDocument();
        ASSERT_NE(first, nullptr);
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            requests.push_back(request);
            if (request.kind == DialogRequestKind::SaveFile) {
                if (saveAnswers.empty()) {
                    return DialogAnswer{IDCANCEL, "", 0};
                }
                std::string path = saveAnswers.front();
                saveAnswers.erase(saveAnswers.begin());
                return path.empty() ? DialogAnswer{IDCANCEL, "", 0} : DialogAnswer{IDOK, path, 0};
            }
            // "Replace the file?" is answered yes.
            return DialogAnswer{(request.type & 0xF) == MB_YESNO ? IDYES : IDOK, "", 0};
        });
    }
    void TearDown() override
    {
        SetIdleScript(nullptr);
        program.reset();
        addin.reset();
    }

    // A second drawing, made as File New makes it; it becomes the active one.
    CNuvexDoc* NewDrawing()
    {
        program->Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
        return program->ActiveDocument();
    }
    static void AddObjects(CNuvexDoc* document, int count)
    {
        for (int i = 0; i < count; ++i) {
            document->GetHostDocument()->AddObject(new CEntityRecord(static_cast<IUnknown*>(new CIdGroupObject())));
        }
        document->SetModifiedFlag(TRUE);
    }
    // The drawing saved once under a name in the program folder, then
    // changed: it has a file and unsaved changes.
    std::string Titled(CNuvexDoc* document, const std::string& name, int objects)
    {
        const std::string path = (folder.Path() / name).string();
        EXPECT_TRUE(document->DoSave(path.c_str(), TRUE));
        EXPECT_TRUE(document->HasFile());
        AddObjects(document, objects);
        return path;
    }
    std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }

    // The dialog as its modal loop runs it; null when none is up.
    static HWND Dialog()
    {
        HWND active = ::GetActiveWindow();
        return active != nullptr && ::GetDlgItem(active, kWindowsManagerList) != nullptr ? active : nullptr;
    }
    static std::vector<std::string> ListedTitles(HWND dialog)
    {
        std::vector<std::string> titles;
        HWND list = ::GetDlgItem(dialog, kWindowsManagerList);
        const auto count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            titles.emplace_back(text);
        }
        return titles;
    }
    static std::string Text(HWND dialog, int id)
    {
        char text[256] = {};
        ::GetWindowTextA(::GetDlgItem(dialog, id), text, sizeof text);
        return text;
    }
    // The closing check with the dialog answered by pressing `button`; what
    // the dialog listed is kept in `listed`. A check that shows no dialog
    // leaves `shown` false.
    BOOL CloseWith(int button)
    {
        shown = false;
        listed.clear();
        selected.clear();
        SetIdleScript([this, button]() {
            HWND dialog = Dialog();
            if (dialog == nullptr) {
                return false;
            }
            shown = true;
            listed = ListedTitles(dialog);
            HWND list = ::GetDlgItem(dialog, kWindowsManagerList);
            for (int i = 0; i < static_cast<int>(listed.size()); ++i) {
                selected.push_back(static_cast<int>(::SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0)));
            }
            label = Text(dialog, kWindowsManagerLabel);
            ::SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
            return true;
        });
        const BOOL result = program->App().SaveAllModified();
        SetIdleScript(nullptr);
        return result;
    }
    size_t SaveDialogs() const
    {
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [](const DialogRequest& request) {
            return request.kind == DialogRequestKind::SaveFile;
        }));
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const DialogRequest& request : requests) {
            if (request.kind == DialogRequestKind::MessageBox) {
                texts.push_back(request.text);
            }
        }
        return texts;
    }

    TestProgramFolder folder;
    std::unique_ptr<TestAddinModule> addin;
    std::unique_ptr<RunningProgram> program;
    CNuvexDoc* first = nullptr;
    std::vector<DialogRequest> requests;
    // The file names the save dialogs are answered with, in turn; an empty
    // one (or none left) cancels the dialog.
    std::vector<std::string> saveAnswers;
    bool shown = false;
    std::vector<std::string> listed;
    std::vector<int> selected;
    std::string label;
};

TEST_F(SaveChangesTest, WithoutModifiedDrawingsNoDialogIsShownAndTheProgramMayClose)
{
    NewDrawing();
    EXPECT_TRUE(CloseWith(IDCANCEL));
    EXPECT_FALSE(shown);
    EXPECT_TRUE(requests.empty());
}

TEST_F(SaveChangesTest, TheDialogListsTheModifiedWindowsSortedWithTheFirstSelected)
{
    AddObjects(first, 1);
    NewDrawing();                 // Drawing2, unchanged: not listed
    CNuvexDoc* third = NewDrawing();
    AddObjects(third, 1);
    EXPECT_FALSE(CloseWith(IDCANCEL));
    ASSERT_TRUE(shown);
    EXPECT_EQ(label, kDefaultSaveChangesLabel);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0], first->GetTitle().GetString());
    EXPECT_EQ(listed[1], third->GetTitle().GetString());
    EXPECT_EQ(selected, (std::vector<int>{1, 0}));
}

TEST_F(SaveChangesTest, SaveWritesTitledDrawingsUnderTheirNamesAndUntitledOnesThroughTheFileDialog)
{
    const std::string titledPath = Titled(first, "titled.nvx", 3);
    CNuvexDoc* untitled = NewDrawing();
    AddObjects(untitled, 2);
    requests.clear();
    saveAnswers = {Path("untitled.nvx")};

    EXPECT_TRUE(CloseWith(kWindowsManagerSave));
    EXPECT_EQ(SaveDialogs(), 1u);
    EXPECT_FALSE(first->IsModified());
    EXPECT_FALSE(untitled->IsModified());
    EXPECT_EQ(std::string(untitled->GetPathName().GetString()), Path("untitled.nvx"));
    // Both are in their files, and both still hold their objects until
    // they close.
    EXPECT_GT(std::filesystem::file_size(titledPath), 0u);
    EXPECT_GT(std::filesystem::file_size(Path("untitled.nvx")), 0u);
    EXPECT_EQ(first->GetObjectCount(), 3u);
    EXPECT_EQ(untitled->GetObjectCount(), 2u);
}

TEST_F(SaveChangesTest, AnUntitledDrawingThatIsNotSavedKeepsTheProgramRunningWithEveryChange)
{
    struct Case {
        const char* name;
        std::string answer;   // the save dialog's answer; empty cancels it
    };
    const Case cases[] = {
        {"file dialog cancelled", ""},
        // A folder where the file would go: it cannot be written.
        {"save fails", "blocked.nvx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNuvexDoc* titled = NewDrawing();
        Titled(titled, std::string("titled ") + c.name + ".nvx", 2);
        CNuvexDoc* untitled = NewDrawing();
        AddObjects(untitled, 4);
        std::filesystem::create_directories(Path("blocked.nvx"));
        saveAnswers = {c.answer.empty() ? "" : Path(c.answer)};

        EXPECT_FALSE(CloseWith(kWindowsManagerSave));
        // The titled drawing was still saved; the untitled one keeps its
        // changes and its objects, and the program goes on.
        EXPECT_FALSE(titled->IsModified());
        EXPECT_TRUE(untitled->IsModified());
        EXPECT_EQ(untitled->GetObjectCount(), 4u);
        EXPECT_EQ(titled->GetObjectCount(), 2u);
        EXPECT_TRUE(std::filesystem::is_directory(Path("blocked.nvx")));
        // The next close offers only the drawing that is still modified.
        EXPECT_FALSE(CloseWith(IDCANCEL));
        EXPECT_EQ(listed, (std::vector<std::string>{untitled->GetTitle().GetString()}));
        EXPECT_TRUE(untitled->IsModified());
        // Given up before the next case.
        untitled->SetModifiedFlag(FALSE);
    }
}

TEST_F(SaveChangesTest, TwoWindowsOfOneUntitledDrawingAreSavedOnceAndKeepTheirObjects)
{
    AddObjects(first, 5);
    program->Frame()->SendMessage(WM_COMMAND, ID_WINDOW_NEW, 0);
    requests.clear();
    saveAnswers = {Path("one.nvx"), Path("again.nvx")};

    EXPECT_TRUE(CloseWith(kWindowsManagerSave));
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_EQ(SaveDialogs(), 1u);
    EXPECT_FALSE(first->IsModified());
    EXPECT_EQ(first->GetObjectCount(), 5u);
    EXPECT_FALSE(std::filesystem::exists(Path("again.nvx")));
}

TEST_F(SaveChangesTest, NoDropsTheChangesOfEveryListedDrawingWithoutAnotherQuestion)
{
    AddObjects(first, 1);
    CNuvexDoc* second = NewDrawing();
    AddObjects(second, 1);
    requests.clear();
    EXPECT_TRUE(CloseWith(kWindowsManagerNo));
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_FALSE(first->IsModified());
    EXPECT_FALSE(second->IsModified());
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(first->GetObjectCount(), 1u);
}

TEST_F(SaveChangesTest, CancelNeverClosesTheProgramEvenAfterAnEarlierSave)
{
    const std::string path = Titled(first, "titled.nvx", 1);
    // Save of titled drawings only ends the dialog with the program closing.
    EXPECT_TRUE(CloseWith(kWindowsManagerSave));
    EXPECT_FALSE(first->IsModified());
    EXPECT_EQ(program->App().SaveAllResult(), TRUE);
    // A later close that is cancelled keeps the program, whatever the
    // earlier decision was.
    AddObjects(first, 1);
    EXPECT_FALSE(CloseWith(IDCANCEL));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(first->IsModified());
    EXPECT_EQ(first->GetObjectCount(), 2u);
}

TEST_F(SaveChangesTest, ARunningCommandRefusesTheCloseBeforeAnyDialog)
{
    AddObjects(first, 1);
    CNuvexDoc* second = NewDrawing();
    const int index = program->App().FindHostCommand(addin->Object(), 7);
    ASSERT_GE(index, 0);
    program->Frame()->SendMessage(WM_COMMAND, kFirstHostCommandId + static_cast<UINT>(index), 0);
    ASSERT_TRUE(second->IsCommandActive());
    EXPECT_FALSE(CloseWith(kWindowsManagerNo));
    EXPECT_FALSE(shown);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"WARNING!! Active command! Press Esc or right click to exit"}));
    EXPECT_TRUE(first->IsModified());
}

TEST_F(SaveChangesTest, ClosingTheMainWindowGoesThroughTheDialog)
{
    AddObjects(first, 2);
    // Cancel: the window and the drawing stay.
    SetIdleScript([]() {
        HWND dialog = Dialog();
        if (dialog == nullptr) {
            return false;
        }
        ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    program->Frame()->SendMessage(WM_CLOSE, 0, 0);
    SetIdleScript(nullptr);
    ASSERT_NE(program->Frame(), nullptr);
    EXPECT_TRUE(::IsWindow(program->Frame()->GetSafeHwnd()));
    EXPECT_EQ(program->ActiveDocument(), first);
    EXPECT_EQ(first->GetObjectCount(), 2u);

    // Save under a name: the file is written and the program's window ends.
    saveAnswers = {Path("closing.nvx")};
    HWND frame = program->Frame()->GetSafeHwnd();
    SetIdleScript([]() {
        HWND dialog = Dialog();
        if (dialog == nullptr) {
            return false;
        }
        ::SendMessageA(dialog, WM_COMMAND, kWindowsManagerSave, 0);
        return true;
    });
    program->Frame()->SendMessage(WM_CLOSE, 0, 0);
    SetIdleScript(nullptr);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_GT(std::filesystem::file_size(Path("closing.nvx")), 0u);
}

} // namespace
