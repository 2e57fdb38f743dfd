// Property sheets: pages made when first shown, a page that refuses its
// data keeps the sheet on it, OK lets every shown page take its data,
// Cancel lets none; the tab strip switches pages as a person clicks its
// tabs, modally and modelessly.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/ddx.h"
#include "platform/display/headless/headless_display.h"
#include "platform/framework/propsheet.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"

namespace {

constexpr UINT kCuttingPage = 200;
constexpr UINT kToolPage = 201;
constexpr int kFeedEdit = 210;
constexpr int kDiameterEdit = 211;

// What the pages heard of their activation, in order, across pages.
std::vector<std::string> g_pageLog;

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
    BOOL OnSetActive() override
    {
        g_pageLog.push_back("set " + std::string(GetCaption().GetString()));
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        const BOOL passed = CPropertyPage::OnKillActive();
        g_pageLog.push_back("kill " + std::string(GetCaption().GetString()) + (passed ? "" : " refused"));
        return passed;
    }

    int m_editId;
    int m_maximum;
};

class PropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        g_pageLog.clear();
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

// The screen point at the middle of tab `index` of the sheet's strip.
POINT TabPoint(CPropertySheet& sheet, int index)
{
    RECT r{};
    sheet.GetTabControl()->GetItemRect(index, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(sheet.GetTabControl()->m_hWnd, &p);
    return p;
}

COLORREF ScreenPixel(HWND hwnd, POINT screen)
{
    HWND top = ::GetAncestor(hwnd, GA_ROOT);
    RECT frame{};
    ::GetWindowRect(top, &frame);
    const GdiSurface s = GetWindowSurface(top);
    const uint32_t bgra = s.pixels[static_cast<size_t>(screen.y - frame.top) * static_cast<size_t>(s.stride) +
                                   static_cast<size_t>(screen.x - frame.left)];
    return RGB(static_cast<BYTE>((bgra >> 16) & 0xFF), static_cast<BYTE>((bgra >> 8) & 0xFF),
               static_cast<BYTE>(bgra & 0xFF));
}

TEST_F(PropertySheetTest, TabsSwitchPagesAsThePersonClicksThem)
{
    CNumberPage cutting(kCuttingPage, kFeedEdit, 100, 1000);
    CNumberPage tool(kToolPage, kDiameterEdit, 6, 50);
    CPropertySheet sheet("Operation");
    sheet.AddPage(&cutting);
    sheet.AddPage(&tool);
    std::vector<std::string> tabs;
    std::vector<std::string> refusedLog;
    int tabAfterRefusal = -1;
    Play({
        [&]() {
            CTabCtrl* strip = sheet.GetTabControl();
            ASSERT_NE(strip, nullptr);
            for (int i = 0; i < strip->GetItemCount(); ++i) {
                char text[32] = {0};
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                strip->GetItem(i, &item);
                tabs.push_back(text);
            }
            // The page lies in the strip's display area; the buttons below.
            CRect display;
            strip->GetClientRect(&display);
            strip->AdjustRect(FALSE, &display);
            strip->MapWindowPoints(&sheet, &display);
            CRect page;
            cutting.GetWindowRect(&page);
            sheet.ScreenToClient(&page);
            EXPECT_EQ(page, display);
            CRect stripRect;
            strip->GetWindowRect(&stripRect);
            CRect ok;
            ::GetWindowRect(::GetDlgItem(sheet.m_hWnd, IDOK), &ok);
            EXPECT_GT(ok.top, stripRect.bottom);
            CRect client;
            sheet.GetClientRect(&client);
            sheet.ClientToScreen(&client);
            EXPECT_TRUE(client.PtInRect(ok.BottomRight() - CSize(1, 1)));
            // The page paints over the strip: its edit shows the window colour.
            ::UpdateWindow(sheet.m_hWnd);
            CRect edit;
            ::GetWindowRect(::GetDlgItem(cutting.m_hWnd, kFeedEdit), &edit);
            EXPECT_EQ(ScreenPixel(sheet.m_hWnd, edit.CenterPoint()), ::GetSysColor(COLOR_WINDOW));

            SetItemText(cutting, kFeedEdit, "0");
            HeadlessClick(TabPoint(sheet, 1));
        },
        [&]() {
            refusedLog = g_pageLog;
            tabAfterRefusal = sheet.GetTabControl()->GetCurSel();
            g_pageLog.clear();
            SetItemText(cutting, kFeedEdit, "250");
            HeadlessClick(TabPoint(sheet, 1));
        },
        [&]() {
            EXPECT_FALSE(cutting.IsWindowVisible());
            EXPECT_TRUE(tool.IsWindowVisible());
            HeadlessClick(TabPoint(sheet, 0));
        },
        [&]() { ::SendMessageA(sheet.m_hWnd, WM_COMMAND, IDCANCEL, 0); },
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(tabs, (std::vector<std::string>{"Cutting", "Tool"}));
    EXPECT_EQ(refusedLog, (std::vector<std::string>{"set Cutting", "kill Cutting refused"}));
    EXPECT_EQ(tabAfterRefusal, 0) << "the tab stays on the refusing page";
    EXPECT_EQ(g_pageLog, (std::vector<std::string>{"kill Cutting", "set Tool", "kill Tool", "set Cutting"}));
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(cutting.m_value, 250);
}

TEST_F(PropertySheetTest, ClicksInThePageAreaReachThePage)
{
    CNumberPage cutting(kCuttingPage, kFeedEdit, 100, 1000);
    CPropertySheet sheet("Operation");
    sheet.AddPage(&cutting);
    int focused = -1;
    Play({
        [&]() {
            RECT edit{};
            ::GetWindowRect(::GetDlgItem(cutting.m_hWnd, kFeedEdit), &edit);
            HeadlessClick(POINT{edit.left + 3, (edit.top + edit.bottom) / 2});
        },
        [&]() {
            focused = ::GetDlgCtrlID(::GetFocus());
            ::SendMessageA(sheet.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        },
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(focused, kFeedEdit);
}

TEST_F(PropertySheetTest, ModelessSheetHasTabsWithoutButtons)
{
    CNumberPage cutting(kCuttingPage, kFeedEdit, 100, 1000);
    CNumberPage tool(kToolPage, kDiameterEdit, 6, 50);
    CPropertySheet sheet("Operation", nullptr, 1);
    sheet.AddPage(&cutting);
    sheet.AddPage(&tool);
    ASSERT_TRUE(sheet.Create());
    EXPECT_TRUE(sheet.IsWindowVisible());
    EXPECT_EQ(::GetDlgItem(sheet.m_hWnd, IDOK), nullptr);
    EXPECT_EQ(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW), nullptr);
    ASSERT_NE(sheet.GetTabControl(), nullptr);
    EXPECT_EQ(sheet.GetTabControl()->GetCurSel(), 1) << "the page chosen at construction";
    EXPECT_TRUE(tool.IsWindowVisible());
    CRect strip;
    sheet.GetTabControl()->GetWindowRect(&strip);
    CRect client;
    sheet.GetClientRect(&client);
    sheet.ClientToScreen(&client);
    EXPECT_LT(client.bottom - strip.bottom, 20) << "no room for buttons";

    HeadlessClick(TabPoint(sheet, 0));
    PumpUntilIdle();
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_TRUE(cutting.IsWindowVisible());
    EXPECT_FALSE(tool.IsWindowVisible());

    // A page added while the sheet shows gets its tab; removing the active
    // page shows the one that takes its place.
    CNumberPage extra(kToolPage, kDiameterEdit, 7, 50);
    sheet.AddPage(&extra);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 3);
    sheet.RemovePage(0);
    EXPECT_EQ(sheet.GetTabControl()->GetItemCount(), 2);
    EXPECT_EQ(sheet.GetActivePage(), &tool);
    EXPECT_EQ(sheet.GetTabControl()->GetCurSel(), 0);
    EXPECT_TRUE(tool.IsWindowVisible());
    sheet.DestroyWindow();
}

} // namespace
