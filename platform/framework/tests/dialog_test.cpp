// Dialogs through the framework: a modal dialog played by the idle script
// (the person at the keyboard), with data exchange into the controls and
// back, refused texts and values, and the framework's messages; the file
// dialog wrapper answered through the dialog hook.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/framework/ddx.h"
#include "platform/framework/dialog.h"
#include "platform/framework/filedialog.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

constexpr int kCountEdit = 101;
constexpr int kDepthEdit = 102;
constexpr int kCoolantCheck = 103;
constexpr int kClimbRadio = 104;
constexpr int kConventionalRadio = 105;
constexpr int kToolCombo = 106;
constexpr int kNameEdit = 107;

DialogItemTemplate Item(const char* className, int id, DWORD style, SHORT y, const char* text = "")
{
    DialogItemTemplate item;
    item.className = className;
    item.id = id;
    item.style = WS_CHILD | WS_VISIBLE | style;
    item.x = 10;
    item.y = y;
    item.cx = 100;
    item.cy = 12;
    item.text = text;
    return item;
}

DialogTemplate PocketTemplate()
{
    DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialog.cx = 200;
    dialog.cy = 160;
    dialog.caption = "Pocket";
    dialog.items = {
        Item("Edit", kCountEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 5),
        Item("Edit", kDepthEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 20),
        Item("Button", kCoolantCheck, WS_TABSTOP | BS_AUTOCHECKBOX, 35, "Coolant"),
        Item("Button", kClimbRadio, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 50, "Climb"),
        Item("Button", kConventionalRadio, BS_AUTORADIOBUTTON, 65, "Conventional"),
        Item("ComboBox", kToolCombo, WS_TABSTOP | WS_GROUP | CBS_DROPDOWNLIST, 80),
        Item("Edit", kNameEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 95),
        Item("Button", IDOK, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 120, "OK"),
        Item("Button", IDCANCEL, WS_TABSTOP, 135, "Cancel"),
    };
    return dialog;
}

class CPocketDialog : public CDialog {
public:
    int m_count = 5;
    double m_depth = 2.5;
    int m_coolant = 1;
    int m_direction = 1;
    int m_tool = 0;
    CString m_name = "pocket";
    int m_initialised = 0;

protected:
    BOOL OnInitDialog() override
    {
        ++m_initialised;
        for (const char* tool : {"End mill 6", "End mill 10", "Ball 4"}) {
            SendDlgItemMessage(kToolCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tool));
        }
        return CDialog::OnInitDialog();
    }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageA(::GetDlgItem(m_hWnd, id), message, wParam, lParam);
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kCountEdit, m_count);
        DDV_MinMaxInt(dx, m_count, 1, 100);
        DDX_Text(dx, kDepthEdit, m_depth);
        DDV_MinMaxDouble(dx, m_depth, 0.0, 50.0);
        DDX_Check(dx, kCoolantCheck, m_coolant);
        DDX_Radio(dx, kClimbRadio, m_direction);
        DDX_CBIndex(dx, kToolCombo, m_tool);
        DDX_Text(dx, kNameEdit, m_name);
        DDV_MaxChars(dx, m_name, 8);
    }
};

CString Text(HWND dialog, int id)
{
    char buffer[256] = {0};
    ::GetWindowTextA(::GetDlgItem(dialog, id), buffer, sizeof buffer);
    return buffer;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            m_requests.push_back(request);
            if (!m_fileAnswer.empty() && request.kind != DialogRequestKind::MessageBox) {
                return DialogAnswer{IDOK, m_fileAnswer, 0};
            }
            return DialogAnswer{IDOK, "", 0};
        });
    }
    void TearDown() override
    {
        SetIdleScript(nullptr);
        SetDialogAnswerHook(nullptr);
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    // Plays `steps` one per idle turn of the modal loop.
    void Play(std::vector<std::function<void()>> steps)
    {
        auto remaining = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
        SetIdleScript([remaining]() {
            if (remaining->empty()) {
                return false;
            }
            auto step = remaining->front();
            remaining->erase(remaining->begin());
            step();
            return true;
        });
    }

    std::vector<DialogRequest> m_requests;
    std::string m_fileAnswer;
};

TEST_F(DialogTest, ModalDialogExchangesDataAndRefusesBadValuesUntilTheyAreFixed)
{
    CPocketDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(PocketTemplate()));
    struct Seen {
        CString count, depth, name;
        LRESULT coolant = -1, climb = -1, conventional = -1, tool = -1;
    } seen;
    auto setText = [&dialog](int id, const char* text) { ::SetWindowTextA(::GetDlgItem(dialog.m_hWnd, id), text); };
    auto pressOK = [&dialog]() { ::SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0); };
    Play({
        // 1. The members are in the controls; a word where a number goes.
        [&]() {
            HWND hwnd = dialog.m_hWnd;
            seen.count = Text(hwnd, kCountEdit);
            seen.depth = Text(hwnd, kDepthEdit);
            seen.name = Text(hwnd, kNameEdit);
            seen.coolant = ::SendMessageA(::GetDlgItem(hwnd, kCoolantCheck), BM_GETCHECK, 0, 0);
            seen.climb = ::SendMessageA(::GetDlgItem(hwnd, kClimbRadio), BM_GETCHECK, 0, 0);
            seen.conventional = ::SendMessageA(::GetDlgItem(hwnd, kConventionalRadio), BM_GETCHECK, 0, 0);
            seen.tool = ::SendMessageA(::GetDlgItem(hwnd, kToolCombo), CB_GETCURSEL, 0, 0);
            setText(kCountEdit, "twelve");
            pressOK();
        },
        // 2. A number out of range, then a depth that is not a number.
        [&]() {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog.m_hWnd, kCountEdit));
            setText(kCountEdit, " 500 ");
            pressOK();
        },
        [&]() {
            setText(kCountEdit, "42");
            setText(kDepthEdit, "3,5");
            pressOK();
        },
        // 3. A name too long, then everything right.
        [&]() {
            setText(kDepthEdit, "3.25");
            setText(kNameEdit, "much too long");
            pressOK();
        },
        [&]() {
            setText(kNameEdit, "slot");
            ::SendMessageA(::GetDlgItem(dialog.m_hWnd, kCoolantCheck), BM_SETCHECK, 0, 0);
            ::CheckRadioButton(dialog.m_hWnd, kClimbRadio, kConventionalRadio, kClimbRadio);
            ::SendMessageA(::GetDlgItem(dialog.m_hWnd, kToolCombo), CB_SETCURSEL, 2, 0);
            pressOK();
        },
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);

    EXPECT_STREQ(seen.count, "5");
    EXPECT_STREQ(seen.depth, "2.5");
    EXPECT_STREQ(seen.name, "pocket");
    EXPECT_EQ(seen.coolant, 1);
    EXPECT_EQ(seen.climb, 0);
    EXPECT_EQ(seen.conventional, 1);
    EXPECT_EQ(seen.tool, 0);
    EXPECT_EQ(dialog.m_initialised, 1);

    std::vector<std::string> messages;
    for (const DialogRequest& request : m_requests) {
        EXPECT_EQ(request.kind, DialogRequestKind::MessageBox);
        messages.push_back(request.text);
    }
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Please enter an integer.",
                            "Please enter an integer between 1 and 100.",
                            "Please enter a number.",
                            "Please enter no more than 8 characters.",
                        }));
    EXPECT_EQ(dialog.m_count, 42);
    EXPECT_DOUBLE_EQ(dialog.m_depth, 3.25);
    EXPECT_EQ(dialog.m_coolant, 0);
    EXPECT_EQ(dialog.m_direction, 0);
    EXPECT_EQ(dialog.m_tool, 2);
    EXPECT_STREQ(dialog.m_name, "slot");
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, CancelLeavesTheMembersAsTheyWere)
{
    CPocketDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(PocketTemplate()));
    Play({[&]() {
        ::SetWindowTextA(::GetDlgItem(dialog.m_hWnd, kCountEdit), "77");
        ::SendMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_count, 5);
    EXPECT_TRUE(m_requests.empty());
}

TEST_F(DialogTest, MissingTemplateFailsTheModalRun)
{
    CDialog dialog(9999);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, FileDialogPassesTheFilterAndGivesThePartsOfTheChosenPath)
{
    m_fileAnswer = "/tmp/parts/bracket.nvx";
    CFileDialog dialog(FALSE, "nvx", "part", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Drawings (*.nvx)|*.nvx|All Files (*.*)|*.*||");
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_FALSE(m_requests.empty());
    const DialogRequest& request = m_requests.front();
    EXPECT_EQ(request.kind, DialogRequestKind::SaveFile);
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].first, "Drawings (*.nvx)");
    EXPECT_EQ(request.filters[0].second, "*.nvx");
    EXPECT_STREQ(dialog.GetPathName(), "/tmp/parts/bracket.nvx");
    EXPECT_STREQ(dialog.GetFileName(), "bracket.nvx");
    EXPECT_STREQ(dialog.GetFileTitle(), "bracket");
    EXPECT_STREQ(dialog.GetFileExt(), "nvx");
    EXPECT_STREQ(dialog.GetFolderPath(), "/tmp/parts");
}

} // namespace
