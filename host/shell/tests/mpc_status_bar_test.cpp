// The status bar with controls in its panes: panes inserted at run time
// keep the others as they were, controls follow their panes, and the bar
// deletes the controls it owns exactly once. The prompt control's colours
// and its fitted width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/shell/color_text_static.h"
#include "host/shell/mpc_status_bar.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/ctrls.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/ids.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr UINT kPromptPane = 101;
constexpr UINT kLinePane = 102;
constexpr UINT kProgressPane = 104;

// A child window that counts its destructions.
class CountedWindow : public CStatic {
public:
    explicit CountedWindow(int& deleted) : m_deleted(deleted) {}
    ~CountedWindow() override { ++m_deleted; }

private:
    int& m_deleted;
};

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        frame = new CFrameWnd();
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 200)));
        bar = std::make_unique<MPCStatusBar>();
        ASSERT_TRUE(bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
        const UINT separator[] = {ID_SEPARATOR};
        ASSERT_TRUE(bar->SetIndicators(separator, 1));
        bar->SetPaneInfo(0, ID_SEPARATOR, bar->GetPaneStyle(0), 120);
        bar->SetPaneText(0, "0.000 , 0.000");
        bar->MoveWindow(0, 170, 600, 22, TRUE);
    }
    void TearDown() override
    {
        bar.reset();
        if (::IsWindow(frame->GetSafeHwnd())) {
            frame->DestroyWindow();
        }
        ResetWindowSystem();
    }
    std::vector<UINT> PaneIds() const
    {
        std::vector<UINT> ids;
        for (int i = 0; i < bar->GetCount(); ++i) {
            ids.push_back(bar->GetItemID(i));
        }
        return ids;
    }
    // A child of the bar to put into a pane.
    CWnd* Child(CStatic* window, UINT id)
    {
        EXPECT_TRUE(window->Create("child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), bar.get(), id));
        return window;
    }
    static RECT WindowIn(CWnd& parent, CWnd& window)
    {
        RECT rect{};
        window.GetWindowRect(&rect);
        parent.ScreenToClient(&rect);
        return rect;
    }

    CFrameWnd* frame = nullptr;
    std::unique_ptr<MPCStatusBar> bar;
};

TEST_F(StatusBarTest, InsertedPanesKeepTheOthersAndStartFiftyWideAndEmpty)
{
    const UINT oldStyle = bar->GetPaneStyle(0);
    EXPECT_TRUE(bar->AddIndicator(0, kPromptPane));
    EXPECT_TRUE(bar->AddIndicator(1, kLinePane));
    EXPECT_TRUE(bar->AddIndicator(3, kProgressPane));
    EXPECT_EQ(PaneIds(), (std::vector<UINT>{kPromptPane, kLinePane, ID_SEPARATOR, kProgressPane}));

    MPCStatusBarPane separator;
    ASSERT_TRUE(bar->GetPaneRecord(2, separator));
    EXPECT_EQ(separator.nStyle, oldStyle);
    EXPECT_EQ(separator.cxText, 120);
    EXPECT_STREQ(separator.strText.GetString(), "0.000 , 0.000");
    for (int index : {0, 1, 3}) {
        SCOPED_TRACE(index);
        MPCStatusBarPane added;
        ASSERT_TRUE(bar->GetPaneRecord(index, added));
        EXPECT_EQ(added.cxText, MPCStatusBar::kNewPaneWidth);
        EXPECT_STREQ(added.strText.GetString(), "");
    }
    bar->SetPaneWidth(1, 100);
    MPCStatusBarPane widened;
    ASSERT_TRUE(bar->GetPaneRecord(1, widened));
    EXPECT_EQ(widened.cxText, 100);
    EXPECT_EQ(widened.nID, kLinePane);

    // An id that a pane has already, and snapshots outside the panes.
    EXPECT_FALSE(bar->AddIndicator(2, kLinePane));
    EXPECT_EQ(PaneIds(), (std::vector<UINT>{kPromptPane, kLinePane, ID_SEPARATOR, kProgressPane}));
    MPCStatusBarPane none;
    EXPECT_FALSE(bar->GetPaneRecord(4, none));
    EXPECT_FALSE(bar->GetPaneRecord(-1, none));
    // Positions below 0 insert first, beyond the panes before the last.
    EXPECT_TRUE(bar->AddIndicator(-3, 200));
    EXPECT_TRUE(bar->AddIndicator(99, 201));
    EXPECT_EQ(PaneIds(), (std::vector<UINT>{200, kPromptPane, kLinePane, ID_SEPARATOR, 201, kProgressPane}));
    // The pane count itself appends.
    EXPECT_TRUE(bar->AddIndicator(bar->GetCount(), 202));
    EXPECT_EQ(bar->GetItemID(bar->GetCount() - 1), 202u);
}

TEST_F(StatusBarTest, ControlsLieInTheirPanesAndFollowThemThroughInsertionsAndResizing)
{
    ASSERT_TRUE(bar->AddIndicator(0, kLinePane));
    bar->SetPaneWidth(0, 100);
    CStatic line;
    CStatic filled;
    ASSERT_TRUE(bar->AddControl(Child(&line, kLinePane), kLinePane, FALSE));
    // One control a pane; no pane, no control.
    CStatic second;
    EXPECT_FALSE(bar->AddControl(Child(&second, 300), kLinePane, FALSE));
    EXPECT_FALSE(bar->AddControl(&second, 999, FALSE));
    EXPECT_EQ(bar->ControlRecords().size(), 1u);

    int horizontal = 0;
    int vertical = 0;
    int spacing = 0;
    bar->GetStatusBarCtrl().GetBorders(horizontal, vertical, spacing);
    auto expectInset = [&](CWnd& control, UINT paneId) {
        RECT pane{};
        bar->GetPaneRect(bar->CommandToIndex(paneId), &pane);
        const RECT placed = WindowIn(*bar, control);
        EXPECT_EQ(placed.left, pane.left + horizontal + spacing);
        EXPECT_EQ(placed.right, pane.right - horizontal - spacing);
        EXPECT_EQ(placed.top, pane.top + vertical);
        EXPECT_EQ(placed.bottom, pane.bottom - vertical);
    };
    expectInset(line, kLinePane);

    // A pane inserted before it moves the control along.
    const RECT before = WindowIn(*bar, line);
    ASSERT_TRUE(bar->AddIndicator(0, kPromptPane));
    bar->SetPaneWidth(0, 80);
    bar->PositionControls();
    EXPECT_GT(WindowIn(*bar, line).left, before.left);
    expectInset(line, kLinePane);

    // A pane with the fill bit gives its control all of it.
    ASSERT_TRUE(bar->AddIndicator(bar->GetCount(), kProgressPane));
    const int progress = bar->CommandToIndex(kProgressPane);
    bar->SetPaneInfo(progress, kProgressPane, bar->GetPaneStyle(progress) | MPCStatusBar::kFillPaneStyle, 90);
    ASSERT_TRUE(bar->AddControl(Child(&filled, kProgressPane), kProgressPane, FALSE));
    RECT pane{};
    bar->GetPaneRect(progress, &pane);
    const RECT placed = WindowIn(*bar, filled);
    EXPECT_EQ(placed.left, pane.left);
    EXPECT_EQ(placed.right, pane.right);
    EXPECT_EQ(placed.top, pane.top);
    EXPECT_EQ(placed.bottom, pane.bottom);

    // A wider bar: the controls follow their panes at once.
    bar->MoveWindow(0, 160, 500, 30, TRUE);
    expectInset(line, kLinePane);
    EXPECT_EQ(WindowIn(*bar, filled).bottom, [&] {
        RECT now{};
        bar->GetPaneRect(bar->CommandToIndex(kProgressPane), &now);
        return now.bottom;
    }());
}

TEST_F(StatusBarTest, TheBarDeletesTheControlsItOwnsOnceAndLeavesTheOthers)
{
    ASSERT_TRUE(bar->AddIndicator(0, kLinePane));
    ASSERT_TRUE(bar->AddIndicator(1, kProgressPane));
    int ownedDeleted = 0;
    int keptDeleted = 0;
    auto* owned = new CountedWindow(ownedDeleted);
    CountedWindow kept(keptDeleted);
    ASSERT_TRUE(bar->AddControl(Child(owned, kLinePane), kLinePane, TRUE));
    ASSERT_TRUE(bar->AddControl(Child(&kept, kProgressPane), kProgressPane, FALSE));
    HWND ownedWindow = owned->GetSafeHwnd();
    // The bar's window goes first, as when its frame closes; the objects
    // go with the bar.
    bar->DestroyWindow();
    EXPECT_FALSE(::IsWindow(ownedWindow));
    EXPECT_EQ(ownedDeleted, 0);
    bar.reset();
    EXPECT_EQ(ownedDeleted, 1);
    EXPECT_EQ(keptDeleted, 0);
}

// The prompt control -------------------------------------------------------------------

class PromptTest : public StatusBarTest {
protected:
    void SetUp() override
    {
        StatusBarTest::SetUp();
        ASSERT_TRUE(prompt.Create("Command", WS_CHILD | WS_VISIBLE, CRect(5, 0, 160, 20), bar.get(), kPromptPane));
    }
    void TearDown() override
    {
        prompt.DestroyWindow();
        StatusBarTest::TearDown();
    }
    int Width() const
    {
        RECT rect{};
        prompt.GetWindowRect(&rect);
        return rect.right - rect.left;
    }
    int Measured(const std::string& text)
    {
        HDC dc = ::GetDC(prompt.GetSafeHwnd());
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE extent{0, 0};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(prompt.GetSafeHwnd(), dc);
        return extent.cx;
    }

    CColorTextStatic prompt;
};

TEST_F(PromptTest, ColoursFollowTheTextAsResetAndRangesSay)
{
    constexpr COLORREF kBlue = 0x00C00000;
    constexpr COLORREF kRed = 0x000000FF;
    struct Step {
        const char* name;
        const char* text;  // null: SetCharAttributes(colour, start, count)
        BOOL resetAll;
        COLORREF colour;
        int start;
        int count;
        std::vector<COLORREF> colours;
    };
    const Step steps[] = {
        {"a text with every colour reset", "Point", TRUE, 0, 0, 0, {0, 0, 0, 0, 0}},
        {"a range inside the text", nullptr, FALSE, kBlue, 1, 2, {0, kBlue, kBlue, 0, 0}},
        {"a range past the end stops there", nullptr, FALSE, kRed, 3, 10, {0, kBlue, kBlue, kRed, kRed}},
        {"a longer text keeps the old prefix's colours", "Point/Value", FALSE, 0, 0, 0,
         {0, kBlue, kBlue, kRed, kRed, 0, 0, 0, 0, 0, 0}},
        {"a shorter text keeps what is left of them", "Poi", FALSE, 0, 0, 0, {0, kBlue, kBlue}},
        {"a reset clears them", "Point", TRUE, 0, 0, 0, {0, 0, 0, 0, 0}},
        {"a range before the text changes nothing", nullptr, FALSE, kRed, -4, 3, {0, 0, 0, 0, 0}},
        {"an empty text has no colours", "", TRUE, 0, 0, 0, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.text != nullptr) {
            prompt.SetText(step.text, step.resetAll);
            EXPECT_EQ(prompt.Text(), step.text);
        } else {
            prompt.SetCharAttributes(step.colour, step.start, step.count);
        }
        EXPECT_EQ(prompt.Colors(), step.colours);
    }
}

TEST_F(PromptTest, TheControlIsAsWideAsItsRunsAndFourMore)
{
    prompt.SetText("", TRUE);
    EXPECT_EQ(Width(), 4);
    prompt.SetText("Command/Point", TRUE);
    EXPECT_EQ(Width(), Measured("Command/Point") + 4);
    // Runs of one colour measure as one piece; two colours as two.
    prompt.SetCharAttributes(0x00C00000, 8, 5);
    prompt.FitToText();
    EXPECT_EQ(Width(), Measured("Command/") + Measured("Point") + 4);
    // Without auto-size a new text leaves the width alone.
    prompt.m_autoSize = FALSE;
    const int width = Width();
    prompt.SetText("Command/Point/Value/Angle", TRUE);
    EXPECT_EQ(Width(), width);
}

} // namespace
