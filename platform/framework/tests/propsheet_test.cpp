// Property sheets: pages made when first shown, a page that refuses its
// data keeps the sheet on it, OK lets every shown page take its data,
// Cancel lets none.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/ddx.h"
#include "platform/framework/propsheet.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

constexpr UINT kCuttingPage = 200;
constexpr UINT kToolPage = 201;
constexpr int kFeedEdit = 210;
constexpr int kDiameterEdit = 211;

class CNumberPage : public CPropertyPage {
public:
    CNumberPage(UINT templateId, int editId, int value, int maximum)
        : CPropertyPage(templateId), m_value(value), m_editId(editId), m_maximum(maximum)
    {
    }
    int m_value;
    int m_applied = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, m_editId, m_value);
        DDV_MinMaxInt(dx, m_value, 1, m_maximum);
    }
    BOOL OnApply() override
    {
        ++m_applied;
        return CPropertyPage::OnApply();
    }
    int m_editId;
    int m_maximum;
};

class PropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            m_messages.push_back(request.text);
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
    std::vector<std::string> m_messages;
};

void SetItemText(CWnd& page, int id, const char* text) { ::SetWindowTextA(::GetDlgItem(page.m_hWnd, id), text); }

TEST_F(PropertySheetTest, RefusedPageKeepsTheSheetAndOKAppliesEveryShownPage)
{
    CNumberPage cutting(kCuttingPage, kFeedEdit, 100, 1000);
    CNumberPage tool(kToolPage, kDiameterEdit, 6, 50);
    CPropertySheet sheet("Operation");
    sheet.AddPage(&cutting);
    sheet.AddPage(&tool);
    bool toolMadeLate = false;
    bool refused = false;
    Play({
        [&]() {
            // Only the first page exists yet, filled from its member.
            toolMadeLate = tool.m_hWnd == nullptr && cutting.IsWindowVisible();
            char text[32] = {0};
            ::GetWindowTextA(::GetDlgItem(cutting.m_hWnd, kFeedEdit), text, sizeof text);
            EXPECT_STREQ(text, "100");
            SetItemText(cutting, kFeedEdit, "0");
            refused = !sheet.SetActivePage(1);
        },
        [&]() {
            SetItemText(cutting, kFeedEdit, "250");
            EXPECT_TRUE(sheet.SetActivePage(&tool));
            EXPECT_FALSE(cutting.IsWindowVisible());
            EXPECT_TRUE(tool.IsWindowVisible());
            SetItemText(tool, kDiameterEdit, "10");
            ::SendMessageA(sheet.m_hWnd, WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(toolMadeLate);
    EXPECT_TRUE(refused);
    EXPECT_EQ(m_messages, (std::vector<std::string>{"Please enter an integer between 1 and 1000."}));
    EXPECT_EQ(cutting.m_value, 250);
    EXPECT_EQ(tool.m_value, 10);
    EXPECT_EQ(cutting.m_applied, 1);
    EXPECT_EQ(tool.m_applied, 1);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
}

TEST_F(PropertySheetTest, CancelAppliesNothing)
{
    CNumberPage cutting(kCuttingPage, kFeedEdit, 100, 1000);
    CPropertySheet sheet("Operation");
    sheet.AddPage(&cutting);
    Play({[&]() {
        SetItemText(cutting, kFeedEdit, "300");
        ::SendMessageA(sheet.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }});
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(cutting.m_value, 100);
    EXPECT_EQ(cutting.m_applied, 0);
}

} // namespace
