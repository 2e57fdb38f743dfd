// The tool store dialog, run modally on the headless display: the list
// and the fields, the checks of Add, Insert and Modify, Remove, and OK that
// writes the store or, when it cannot, stays open with the edits.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/core/tool_store_command.h"
#include "addins/milling/core/tool_store_dialog.h"
#include "platform/controls/controls.h"
#include "platform/kernel/help.h"
#include "platform/user/commdlg.h"
#include "platform/user/input.h"
#include "platform/user/inspect.h"

namespace {

CToolRecord Tool(const std::string& name, double diameter, double radius, double cut, double length)
{
    CToolRecord tool;
    tool.name = name;
    tool.diameter = diameter;
    tool.cornerRadius = radius;
    tool.cutLength = cut;
    tool.length = length;
    tool.toolType = 1;
    return tool;
}

TEST(ToolCheck, TheValuesOfATool)
{
    CToolList list;
    list.Tools().push_back(Tool("Taken", 6, 0, 20, 50));
    struct Row {
        const char* name;
        CToolRecord tool;
        ToolNameCheck names;
        ToolCheck check;
    };
    const Row rows[] = {
        {"a good tool", Tool("New", 6, 1, 20, 50), ToolNameCheck::Unique, ToolCheck::Ok},
        {"radius exactly half the diameter", Tool("New", 6, 3, 20, 50), ToolNameCheck::Unique, ToolCheck::Ok},
        {"radius above half", Tool("New", 6, 3.01, 20, 50), ToolNameCheck::Unique, ToolCheck::RadiusTooLarge},
        {"radius equal to the cut length", Tool("New", 6, 2, 2, 50), ToolNameCheck::Unique,
         ToolCheck::RadiusNotBelowCut},
        {"cut length equal to the length", Tool("New", 6, 0, 50, 50), ToolNameCheck::Unique, ToolCheck::Ok},
        {"cut longer than the tool", Tool("New", 6, 0, 51, 50), ToolNameCheck::Unique, ToolCheck::CutLongerThanTool},
        {"diameter 0", Tool("New", 0, 0, 20, 50), ToolNameCheck::Unique, ToolCheck::NoDiameter},
        {"negative radius", Tool("New", 6, -1, 20, 50), ToolNameCheck::Unique, ToolCheck::NegativeRadius},
        {"no name", Tool("", 6, 0, 20, 50), ToolNameCheck::Unique, ToolCheck::NoName},
        {"name too long", Tool(std::string(1024, 'n'), 6, 0, 20, 50), ToolNameCheck::Unique, ToolCheck::NameTooLong},
        {"name taken", Tool("Taken", 6, 0, 20, 50), ToolNameCheck::Unique, ToolCheck::NameTaken},
        {"name taken, modified", Tool("Taken", 6, 0, 20, 50), ToolNameCheck::Any, ToolCheck::Ok},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckToolValues(row.tool, list, row.names), row.check);
    }
}

class ToolStoreDialogTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        ResetWindowSystem();
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            messages.push_back(request.text);
            return DialogAnswer{IDOK, "", 0};
        });
    }
    void TearDown() override
    {
        SetIdleScript(nullptr);
        SetDialogAnswerHook(nullptr);
        ResetWindowSystem();
        StrimoTest::TearDown();
    }
    // Plays the steps one per idle turn of the dialog's modal loop.
    void Play(std::vector<std::function<void()>> steps)
    {
        auto remaining = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
        SetIdleScript([remaining]() {
            if (remaining->empty())
                return false;
            auto step = remaining->front();
            remaining->erase(remaining->begin());
            step();
            return true;
        });
    }
    static void SetText(HWND dialog, int id, const char* text) { ::SetWindowTextA(::GetDlgItem(dialog, id), text); }
    static std::string Text(HWND dialog, int id)
    {
        char buffer[256] = {};
        ::GetWindowTextA(::GetDlgItem(dialog, id), buffer, sizeof buffer);
        return buffer;
    }
    static void Press(HWND dialog, int id) { ::SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    static LRESULT List(HWND dialog, UINT message, WPARAM wParam = 0)
    {
        return ::SendMessageA(::GetDlgItem(dialog, 6000), message, wParam, 0);
    }
    static void Select(HWND dialog, int index)
    {
        List(dialog, LB_SETCURSEL, static_cast<WPARAM>(index));
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(6000, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, 6000)));
    }

    std::vector<std::string> messages;
};

// Opening shows the store's first tool; the buttons change the dialog's
// copy as the checks allow; OK writes it.
TEST_F(ToolStoreDialogTest, TheButtonsEditTheListAndOkWritesIt)
{
    const std::string path = ProgramFile("Toolstore/toolstore.dat");
    CToolStoreDialog dialog(m_addin, path);
    std::string firstName, firstDiameter;
    LRESULT countAtStart = 0, countAfterDuplicate = 0, countAfterInsert = 0, selectionAfterRemove = 0;
    std::string modifiedLine;
    Play({
        [&]() {
            HWND d = dialog.m_hWnd;
            countAtStart = List(d, LB_GETCOUNT);
            firstName = Text(d, 6001);
            firstDiameter = Text(d, 6020);
            // Add with the name the first tool has: nothing happens.
            Press(d, 57671);
            countAfterDuplicate = List(d, LB_GETCOUNT);
        },
        [&]() {
            HWND d = dialog.m_hWnd;
            // Insert a new tool before the selected first one.
            SetText(d, 6001, "Slot drill 8 mm");
            SetText(d, 6020, "8");
            SetText(d, 6011, "0");
            SetText(d, 6021, "16");
            SetText(d, 6010, "60");
            Press(d, 57672);
            countAfterInsert = List(d, LB_GETCOUNT);
        },
        [&]() {
            HWND d = dialog.m_hWnd;
            // Modify the second entry to the radius half its diameter.
            Select(d, 1);
            SetText(d, 6011, "1.5");
            Press(d, 57674);
            char line[256] = {};
            ::SendMessageA(::GetDlgItem(d, 6000), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
            modifiedLine = line;
            // Remove the last entry: nothing stays selected.
            Select(d, static_cast<int>(List(d, LB_GETCOUNT)) - 1);
            Press(d, 57673);
            selectionAfterRemove = List(d, LB_GETCURSEL);
            Press(d, IDOK);
        },
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(countAtStart, 5);
    EXPECT_EQ(firstName, "Flat end mill 3 mm");
    EXPECT_EQ(firstDiameter, "3");
    EXPECT_EQ(countAfterDuplicate, 5);
    EXPECT_EQ(countAfterInsert, 6);
    EXPECT_EQ(modifiedLine, "Flat end mill 3 mm");
    EXPECT_EQ(selectionAfterRemove, LB_ERR);

    CToolList written;
    ASSERT_EQ(written.Read(path).status, ToolStoreStatus::Ok);
    ASSERT_EQ(written.size(), 5u);
    EXPECT_EQ(written[0].name, "Slot drill 8 mm");
    EXPECT_EQ(written[0].toolType, kToolTypeMill) << "the type shown when it was inserted";
    EXPECT_DOUBLE_EQ(written[1].cornerRadius, 1.5);
    EXPECT_EQ(written[4].name, "Ball nose mill 6 mm") << "the drill at the end was removed";
}

// OK that cannot write the store says so and keeps the dialog, with every
// edit, open; Cancel then closes without writing.
TEST_F(ToolStoreDialogTest, OkThatCannotWriteKeepsTheDialogOpen)
{
    const std::string path = ProgramFile("no such folder/toolstore.dat");
    CToolStoreDialog dialog(m_addin, path);
    bool openAfterOk = false;
    LRESULT countAfterOk = 0;
    Play({
        [&]() {
            HWND d = dialog.m_hWnd;
            SetText(d, 6001, "Engraver");
            SetText(d, 6020, "1");
            SetText(d, 6021, "2");
            SetText(d, 6010, "40");
            Press(d, 57671);
            Press(d, IDOK);
        },
        [&]() {
            openAfterOk = ::IsWindow(dialog.m_hWnd) != FALSE;
            countAfterOk = List(dialog.m_hWnd, LB_GETCOUNT);
            Press(dialog.m_hWnd, IDCANCEL);
        },
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(countAfterOk, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cannot be saved"), std::string::npos) << messages[0];
    EXPECT_FALSE(dialog.LastError().empty());
}

// A damaged store opens as an empty list and says why.
TEST_F(ToolStoreDialogTest, ADamagedStoreOpensEmptyAndSaysWhy)
{
    WriteProgramFile("Toolstore/toolstore.dat", "3\nA\n1 2 3\n");
    CToolStoreDialog dialog(m_addin, ProgramFile("Toolstore/toolstore.dat"));
    LRESULT count = -1;
    std::string label;
    Play({[&]() {
        count = List(dialog.m_hWnd, LB_GETCOUNT);
        label = Text(dialog.m_hWnd, 6002);
        Press(dialog.m_hWnd, IDCANCEL);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(label, "Name") << "the labels come from the language file also for an empty store";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("line 3"), std::string::npos) << messages[0];
    EXPECT_EQ(ReadFileBytes(ProgramFile("Toolstore/toolstore.dat")), "3\nA\n1 2 3\n") << "Cancel writes nothing";
}

// F1 on a control of the dialog and its Help button open the same topic in
// the chosen language's help; the dialog stays open.
TEST_F(ToolStoreDialogTest, FOneAndHelpOpenTheToolStoreTopic)
{
    CToolStoreDialog dialog(m_addin, ProgramFile("Toolstore/toolstore.dat"));
    std::vector<std::string> requests;
    ScopedHelpRecorder recorder([&](const HelpRequest& request) { requests.push_back(request.requested); });
    std::vector<std::string> afterKey;
    bool openAfterKey = false;
    Play({
        [&]() {
            ::SetFocus(::GetDlgItem(dialog.m_hWnd, 6001));
            InjectKey(VK_F1, KeyAction::Down);
            InjectKey(VK_F1, KeyAction::Up);
        },
        [&]() {
            afterKey = requests;
            openAfterKey = ::IsWindow(dialog.m_hWnd) != FALSE;
            Press(dialog.m_hWnd, 57670);
        },
        [&]() { Press(dialog.m_hWnd, IDCANCEL); },
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const std::string topic = "help\\EN\\nuvex.chm::/khtml/toolstore.htm";
    EXPECT_EQ(afterKey, std::vector<std::string>{topic});
    EXPECT_TRUE(openAfterKey);
    EXPECT_EQ(requests, (std::vector<std::string>{topic, topic}));
}

TEST_F(ToolStoreDialogTest, TheCommandWithoutAViewShowsNothingAndEnds)
{
    IAddinCommand* command = nullptr;
    ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_ToolStoreCommand,
                                                       reinterpret_cast<void**>(&command)),
              S_OK);
    command->Create(m_document->GetHostDocument(), kCommandToolStore, 0);
    LONG result = 0x10000000;
    EXPECT_EQ(command->OnEvent(0x8000, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(command->OnEvent(1, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0x12);
    command->Release();
}

} // namespace
