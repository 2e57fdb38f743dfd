// The machine settings dialog, run modally on the headless display: each
// flow (add, insert, remove, modify, cancel) ends with the machine store
// byte for byte as the person left it; a store without a current machine;
// OK that cannot write keeps the dialog open; the command without a view.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "addins/milling/core/machine_settings_command.h"
#include "addins/milling/core/machine_settings_dialog.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "platform/controls/controls.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

constexpr int kName = 6001;
constexpr int kModal = 6013;
constexpr int kAdd = 6018;
constexpr int kInsert = 6019;
constexpr int kRemove = 6020;
constexpr int kModify = 6021;
constexpr int kSeparator = 6023;
constexpr int kList = 6025;
constexpr int kLineNumbers = 6026;

// The shipped store: two machines, the first current.
constexpr const char* kShippedStore = "2\nPower Control CNC\n1 1\n1\n1\nSiemens 3Axis Milling\n1 1\n0\n1\n";

TEST(MachineName, TheChecksOfAName)
{
    CPostprocessorList list;
    list.Entries().resize(1);
    list[0].name = "Mill";
    struct Row {
        const char* name;
        std::string text;
        MachineNameCheck check;
        bool valid;
    };
    const Row rows[] = {
        {"a new name", "Lathe", MachineNameCheck::Unique, true},
        {"empty", "", MachineNameCheck::Any, false},
        {"taken", "Mill", MachineNameCheck::Unique, false},
        {"taken, modified", "Mill", MachineNameCheck::Any, true},
        {"other letter case", "MILL", MachineNameCheck::Unique, true},
        {"a line break", "Mi\nll", MachineNameCheck::Any, false},
        {"too long", std::string(1024, 'm'), MachineNameCheck::Any, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsValidMachineName(row.text, list, row.check), row.valid);
    }
}

class MachineSettingsDialogTest : public StrimoTest {
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
    std::string StorePath() const { return ProgramFile("Toolstore/poststore.dat"); }

    // Opens the dialog on the store, plays `step` in its first idle turn and
    // returns what DoModal answered.
    INT_PTR Run(long& current, const std::function<void(HWND)>& step, const std::string& path = {})
    {
        CPostprocessorSettingsDlg dialog(&current, m_addin, path.empty() ? StorePath() : path);
        auto played = std::make_shared<int>(0);
        SetIdleScript([&dialog, played, step]() {
            if ((*played)++ > 0)
                return false;
            step(dialog.m_hWnd);
            return true;
        });
        return dialog.DoModal();
    }

    static void SetText(HWND dialog, int id, const char* text) { ::SetWindowTextA(::GetDlgItem(dialog, id), text); }
    static std::string Text(HWND dialog, int id)
    {
        char buffer[256] = {};
        ::GetWindowTextA(::GetDlgItem(dialog, id), buffer, sizeof buffer);
        return buffer;
    }
    static void SetCheck(HWND dialog, int id, int check)
    {
        ::SendMessageA(::GetDlgItem(dialog, id), BM_SETCHECK, static_cast<WPARAM>(check), 0);
    }
    static int Check(HWND dialog, int id)
    {
        return static_cast<int>(::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
    }
    static void Press(HWND dialog, int id) { ::SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    static LRESULT List(HWND dialog, UINT message, WPARAM wParam = 0)
    {
        return ::SendMessageA(::GetDlgItem(dialog, kList), message, wParam, 0);
    }
    static std::string Item(HWND dialog, int index)
    {
        char line[256] = {};
        ::SendMessageA(::GetDlgItem(dialog, kList), CB_GETLBTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(line));
        return line;
    }
    static void Select(HWND dialog, int index)
    {
        List(dialog, CB_SETCURSEL, static_cast<WPARAM>(index));
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kList, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, kList)));
    }
    static void Machine(HWND dialog, const char* name, int modal, int separator, int lineNumbers)
    {
        SetText(dialog, kName, name);
        SetCheck(dialog, kModal, modal);
        SetCheck(dialog, kSeparator, separator);
        SetCheck(dialog, kLineNumbers, lineNumbers);
    }

    std::vector<std::string> messages;
};

// Each flow from the shipped store, ended with OK (or Cancel), and the
// store's bytes afterwards.
TEST_F(MachineSettingsDialogTest, EachFlowLeavesTheStoreByteExact)
{
    struct Flow {
        const char* name;
        std::function<void(HWND)> steps; // ends with OK or Cancel
        INT_PTR answer;
        long current;
        const char* store;
    };
    const Flow flows[] = {
        {"add: appended and chosen, so current",
         [](HWND d) {
             Machine(d, "Router 4", 0, 1, 0);
             Press(d, kAdd);
             Press(d, IDOK);
         },
         IDOK, 2,
         "3\nPower Control CNC\n1 1\n0\n1\nSiemens 3Axis Milling\n1 1\n0\n1\nRouter 4\n0 1\n1\n0\n"},
        {"add with a taken name does nothing",
         [](HWND d) {
             Machine(d, "Siemens 3Axis Milling", 0, 0, 0);
             Press(d, kAdd);
             Press(d, IDOK);
         },
         IDOK, 0, kShippedStore},
        {"add with a name differing in case only",
         [](HWND d) {
             Machine(d, "power control cnc", 1, 0, 1);
             Press(d, kAdd);
             Select(d, 0);
             Press(d, IDOK);
         },
         IDOK, 0,
         "3\nPower Control CNC\n1 1\n1\n1\nSiemens 3Axis Milling\n1 1\n0\n1\npower control cnc\n1 0\n0\n1\n"},
        {"insert before the selected machine",
         [](HWND d) {
             Select(d, 1);
             Machine(d, "Lathe", 1, 0, 0);
             Press(d, kInsert);
             Press(d, IDOK);
         },
         IDOK, 1,
         "3\nPower Control CNC\n1 1\n0\n1\nLathe\n1 0\n1\n0\nSiemens 3Axis Milling\n1 1\n0\n1\n"},
        {"insert with an empty name does nothing",
         [](HWND d) {
             Machine(d, "", 1, 0, 0);
             Press(d, kInsert);
             Press(d, IDOK);
         },
         IDOK, 0, kShippedStore},
        {"remove the first: the next one is chosen",
         [](HWND d) {
             Press(d, kRemove);
             Press(d, IDOK);
         },
         IDOK, 0, "1\nSiemens 3Axis Milling\n1 1\n1\n1\n"},
        {"remove the last: nothing chosen, no machine current",
         [](HWND d) {
             Select(d, 1);
             Press(d, kRemove);
             Press(d, IDOK);
         },
         IDOK, -1, "1\nPower Control CNC\n1 1\n0\n1\n"},
        {"modify keeps the place; OK sets current from the choice",
         [](HWND d) {
             Select(d, 1);
             Machine(d, "Siemens 840", 0, 0, 1);
             Press(d, kModify);
             Press(d, IDOK);
         },
         IDOK, 1, "2\nPower Control CNC\n1 1\n0\n1\nSiemens 840\n0 0\n1\n1\n"},
        {"modify with an empty name does nothing",
         [](HWND d) {
             Machine(d, "", 0, 0, 0);
             Press(d, kModify);
             Press(d, IDOK);
         },
         IDOK, 0, kShippedStore},
        {"cancel writes nothing",
         [](HWND d) {
             Machine(d, "Router 4", 0, 1, 0);
             Press(d, kAdd);
             Press(d, kRemove);
             Press(d, IDCANCEL);
         },
         IDCANCEL, 0, kShippedStore},
    };
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.name);
        WriteProgramFile("Toolstore/poststore.dat", kShippedStore);
        long current = 0;
        EXPECT_EQ(Run(current, flow.steps), flow.answer);
        EXPECT_EQ(current, flow.current);
        EXPECT_EQ(ReadFileBytes(StorePath()), flow.store);
    }
    EXPECT_TRUE(messages.empty());
}

// Opening shows the machine handed in; choosing another shows its name and
// switches; the labels come from the language file.
TEST_F(MachineSettingsDialogTest, TheChosenMachineIsShown)
{
    WriteProgramFile("Toolstore/poststore.dat", "2\nA\n1 0\n0\n1\nB\n0 1\n1\n0\n");
    long current = 1;
    std::vector<std::string> seen;
    Run(current, [&](HWND d) {
        seen.push_back(Text(d, kName) + " " + std::to_string(Check(d, kModal)) + std::to_string(Check(d, kSeparator)) +
                       std::to_string(Check(d, kLineNumbers)) + " " + std::to_string(List(d, CB_GETCURSEL)));
        Select(d, 0);
        seen.push_back(Text(d, kName) + " " + std::to_string(Check(d, kModal)) + std::to_string(Check(d, kSeparator)) +
                       std::to_string(Check(d, kLineNumbers)) + " " + std::to_string(List(d, CB_GETCURSEL)));
        seen.push_back(Text(d, 6002) + "|" + Text(d, 6016) + "|" + Text(d, kLineNumbers) + "|" + Text(d, kModal));
        Press(d, IDCANCEL);
    });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "B 010 1");
    EXPECT_EQ(seen[1], "A 101 0");
    EXPECT_EQ(seen[2], "Name|Postprocessors list|Code line index|Modal G adresses");
}

// A store without a current machine hands in the count: the first machine
// shows, nothing past the list is read; OK makes the shown one current.
TEST_F(MachineSettingsDialogTest, AStoreWithNoCurrentMachine)
{
    const std::string store = "2\nA\n1 0\n0\n1\nB\n0 1\n0\n0\n";
    WriteProgramFile("Toolstore/poststore.dat", store);
    CPostprocessorList list;
    list.Load(StorePath().c_str());
    long current = list.GetCurrent();
    ASSERT_EQ(current, 2);
    std::string shown;
    LRESULT selected = -2, count = 0;
    EXPECT_EQ(Run(current,
                  [&](HWND d) {
                      shown = Text(d, kName);
                      selected = List(d, CB_GETCURSEL);
                      count = List(d, CB_GETCOUNT);
                      Press(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(shown, "A");
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(ReadFileBytes(StorePath()), "2\nA\n1 0\n1\n1\nB\n0 1\n0\n0\n");

    // An empty store opens with nothing chosen; OK writes it empty again.
    WriteProgramFile("Toolstore/poststore.dat", "0\n");
    current = 0;
    EXPECT_EQ(Run(current, [&](HWND d) {
                  selected = List(d, CB_GETCURSEL);
                  Press(d, IDOK);
              }),
              IDOK);
    EXPECT_EQ(selected, CB_ERR);
    EXPECT_EQ(current, -1);
    EXPECT_EQ(ReadFileBytes(StorePath()), "0\n");
}

// OK that cannot write says so and stays open with the edits; the old file
// is untouched.
TEST_F(MachineSettingsDialogTest, OkThatCannotWriteKeepsTheDialogOpen)
{
    WriteProgramFile("Toolstore/poststore.dat", kShippedStore);
    long current = 0;
    bool openAfterOk = false;
    LRESULT countAfterOk = 0;
    const std::string path = ProgramFile("no such folder/poststore.dat");
    CPostprocessorSettingsDlg dialog(&current, m_addin, path);
    auto step = std::make_shared<int>(0);
    SetIdleScript([&]() {
        HWND d = dialog.m_hWnd;
        switch ((*step)++) {
        case 0:
            Machine(d, "Router 4", 0, 1, 0);
            Press(d, kAdd);
            Press(d, IDOK);
            return true;
        case 1:
            openAfterOk = ::IsWindow(d) != FALSE;
            countAfterOk = List(d, CB_GETCOUNT);
            Press(d, IDCANCEL);
            return true;
        default:
            return false;
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(countAfterOk, 1);
    EXPECT_EQ(current, 0) << "the index is handed out only by an OK that wrote";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("cannot be saved"), std::string::npos) << messages[0];
    EXPECT_EQ(ReadFileBytes(StorePath()), kShippedStore);
}

TEST_F(MachineSettingsDialogTest, TheCommandWithoutAViewShowsNothingAndEnds)
{
    IAddinCommand* command = nullptr;
    ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_PostprocessorSettingsCommand,
                                                       reinterpret_cast<void**>(&command)),
              S_OK);
    command->Create(m_document->GetHostDocument(), kCommandMachineSettings, 0);
    LONG result = 0x10000000;
    EXPECT_EQ(command->OnEvent(0x8000, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(command->OnEvent(1, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0x12);
    command->Release();
    EXPECT_EQ(ReadFileBytes(StorePath()), kShippedStore);
}

} // namespace
