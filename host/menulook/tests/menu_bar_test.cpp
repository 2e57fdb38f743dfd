// The menu bar: its layout in rows with right-justified runs, its hold on
// the frame's menu and the MDI buttons of a maximised child, and its
// tracking by keyboard and mouse as message sequences (Alt alone, F10,
// Alt with a letter, arrows across popups, Esc, clicks on the buttons and
// outside).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/menulook/tests/look_frame.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/user/input.h"

namespace {

// Layout -----------------------------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    std::vector<int> widths;
    std::vector<bool> rightJustified;
    int width;
    int rows;
    std::vector<int> lefts;
    std::vector<int> tops;
};

TEST(MenuBarLayoutTest, ItemsWrapIntoRowsWithTheRightJustifiedRunAtTheEnd)
{
    const int h = 19;
    const LayoutCase cases[] = {
        {"wraps before the third", {30, 40, 50, 20, 20}, {false, false, false, true, false}, 100, 2, {0, 30, 0, 60, 80},
         {0, 0, h, h, h}},
        {"one row, run pushed right", {30, 40, 50, 20, 20}, {false, false, false, true, false}, 1000, 1,
         {0, 30, 70, 960, 980}, {0, 0, 0, 0, 0}},
        {"no room: one item per row", {30, 40, 50}, {false, false, false}, 0, 3, {0, 0, 0}, {0, h, 2 * h}},
        {"a run over several rows", {10, 10, 10}, {true, false, false}, 15, 3, {5, 5, 5}, {0, h, 2 * h}},
        {"no run", {10, 10}, {false, false}, 50, 1, {0, 10}, {0, 0}},
    };
    CNewMenuBar bar;
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<MenuBarLayoutRecord> records(c.widths.size());
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].rect = CRect(0, 0, c.widths[i], h);
            records[i].state = c.rightJustified[i] ? kItemRightJustify : 0u;
        }
        EXPECT_EQ(bar.WrapItems(records.data(), static_cast<int>(records.size()), c.width), c.rows);
        for (size_t i = 0; i < records.size(); ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            EXPECT_EQ(records[i].rect.left, c.lefts[i]);
            EXPECT_EQ(records[i].rect.top, c.tops[i]);
            EXPECT_EQ(records[i].rect.Width(), c.widths[i]);
            EXPECT_EQ((records[i].state & kItemWrap) != 0, i > 0 && c.tops[i] != c.tops[i - 1]);
        }
        const CSize size = bar.CalcSize(records.data(), static_cast<int>(records.size()));
        EXPECT_EQ(size.cy, c.rows * h);
    }
    // Justifying needs a width and an ordered range.
    std::vector<MenuBarLayoutRecord> records(2);
    records[0].rect = CRect(0, 0, 10, h);
    records[1].rect = CRect(10, 0, 20, h);
    bar.JustifyRow(records.data(), 1, 0, 100);
    bar.JustifyRow(records.data(), 0, 1, 0);
    bar.JustifyRow(records.data(), -1, 1, 100);
    EXPECT_EQ(records[1].rect.left, 10);
    bar.JustifyRow(records.data(), 1, 1, 100);
    EXPECT_EQ(records[1].rect.left, 90);
}

TEST(MenuBarLayoutTest, ItemRectanglesTurnInVerticalBars)
{
    CMenuBarButton button(nullptr, 0);
    button.m_rect = CRect(30, 19, 70, 38);
    CRect r;
    button.GetRect(r, TRUE);
    EXPECT_EQ(r, CRect(19, 30, 38, 70));
    // MDI buttons keep their size and only move.
    CMenuBarSysButton close(5, SC_CLOSE);
    close.m_rect = CRect(100, 0, 118, 18);
    close.GetRect(r, TRUE);
    EXPECT_EQ(r, CRect(0, 100, 18, 118));
    EXPECT_TRUE(close.HitTest(POINT{5, 105}, TRUE));
    EXPECT_FALSE(close.HitTest(POINT{105, 5}, TRUE));
}

// The frame -----------------------------------------------------------------------------------------

class MenuBarTest : public LookFrameTest {
public:
    CNewMenuBar& Bar() { return m_frame->m_menuBar; }

    // Keys as a person types them, through the frame's translation.
    void Key(int key, KeyAction action)
    {
        InjectKey(key, action);
        PumpFrameMessages(*m_frame);
    }
    void Press(int key)
    {
        Key(key, KeyAction::Down);
        Key(key, KeyAction::Up);
    }

    // The screen centre of a bar button.
    POINT ButtonCentre(int index)
    {
        CRect r;
        Bar().Items()[static_cast<size_t>(index)]->GetRect(r, Bar().IsVerticalBar());
        Bar().ClientToScreen(&r);
        return POINT{r.CenterPoint().x, r.CenterPoint().y};
    }

    // Runs steps one per idle turn of a popup loop started by `start`.
    void WhileTracking(const std::function<void()>& start, std::vector<std::function<void()>> steps)
    {
        size_t next = 0;
        SetIdleScript([&]() {
            if (next >= steps.size()) {
                return false;
            }
            steps[next++]();
            return true;
        });
        start();
        SetIdleScript(nullptr);
        EXPECT_EQ(next, steps.size()) << "the popup loop ended early";
    }
};

TEST_F(MenuBarTest, TheBarTakesTheFramesMenuAndKeepsTakingNewOnes)
{
    EXPECT_EQ(::GetMenu(m_frame->GetSafeHwnd()), nullptr);
    ASSERT_EQ(Bar().Items().size(), 5u);
    EXPECT_EQ(Bar().GetMenu(), m_frame->WindowMenu().GetSafeHmenu());
    // The frame's menu items measure through the owner drawing.
    EXPECT_GT(Bar().Items()[0]->m_rect.Width(), GetSystemMetrics(SM_CXMENUCHECK));
    // A menu the frame sets is taken at the next idle time.
    CNewMenu other;
    ASSERT_TRUE(other.CreatePopupMenu());
    CNewMenu* popup = other.AppendPopup("&Tools");
    popup->AppendItem(MF_STRING, 1, "One");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(other.Detach()), "&Tools");
    ::SetMenu(m_frame->GetSafeHwnd(), bar);
    m_frame->IdleUpdate();
    EXPECT_EQ(::GetMenu(m_frame->GetSafeHwnd()), nullptr);
    EXPECT_EQ(Bar().GetMenu(), bar);
    EXPECT_EQ(Bar().Items().size(), 1u);
    DestroyMenu(bar);
}

TEST_F(MenuBarTest, AMaximisedChildAddsItsIconAndTheMdiButtons)
{
    CNewMDIChildWnd* child = m_frame->OpenChild("Part");
    ASSERT_NE(child, nullptr);
    child->ShowWindow(SW_MAXIMIZE);
    m_frame->IdleUpdate();
    ASSERT_EQ(Bar().Items().size(), 9u);
    EXPECT_TRUE(Bar().IsMaximized());
    const UINT ids[] = {static_cast<UINT>(-1), SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    const size_t positions[] = {0, 6, 7, 8};
    for (size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Bar().Items()[positions[k]]->GetID(m_frame->GetSafeHwnd()), ids[k]);
    }
    EXPECT_NE(Bar().Items()[6]->m_state & kItemRightJustify, 0u);
    // The child's system menu is the icon's popup.
    EXPECT_EQ(Bar().Items()[0]->GetSubMenu(m_frame->GetSafeHwnd()), GetSystemMenu(child->GetSafeHwnd(), FALSE));
    // Left and Right skip the MDI buttons but reach the icon.
    EXPECT_EQ(Bar().GetNextItem(5, TRUE), 0);
    EXPECT_EQ(Bar().GetNextItem(0, FALSE), 5);
    EXPECT_EQ(Bar().GetNextItem(1, FALSE), 0);
    // Alt with a mnemonic opens the right popup although the icon is first.
    int opened = -1;
    WhileTracking(
        [&] {
            Key(VK_MENU, KeyAction::Down);
            Key('E', KeyAction::Down);
        },
        {[&] {
            opened = Bar().GetCurrentItem();
            InjectKey(VK_ESCAPE, KeyAction::Down);
        }});
    Key('E', KeyAction::Up);
    Key(VK_MENU, KeyAction::Up);
    EXPECT_EQ(opened, 2);
    // Restored: the buttons go.
    child->ShowWindow(SW_RESTORE);
    m_frame->IdleUpdate();
    EXPECT_EQ(Bar().Items().size(), 5u);
}

TEST_F(MenuBarTest, AltAndF10EnterAndLeaveKeyboardMenuMode)
{
    struct Step {
        const char* name;
        std::function<void(MenuBarTest&)> act;
        int state;
        int hot;
    };
    const Step steps[] = {
        {"Alt alone", [](MenuBarTest& t) { t.Press(VK_MENU); }, kTrackHot, 0},
        {"Right moves", [](MenuBarTest& t) { t.Press(VK_RIGHT); }, kTrackHot, 1},
        {"Left moves back", [](MenuBarTest& t) { t.Press(VK_LEFT); }, kTrackHot, 0},
        {"Left wraps", [](MenuBarTest& t) { t.Press(VK_LEFT); }, kTrackHot, 4},
        {"Alt again leaves", [](MenuBarTest& t) { t.Press(VK_MENU); }, kTrackNone, -1},
        {"F10 enters", [](MenuBarTest& t) { t.Press(VK_F10); }, kTrackHot, 0},
        {"Esc leaves", [](MenuBarTest& t) { t.Press(VK_ESCAPE); }, kTrackNone, -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(*this);
        EXPECT_EQ(Bar().GetTrackingState(), step.state);
        EXPECT_EQ(Bar().GetHotItem(), step.hot);
    }
    // F10 with Shift or Ctrl is not the bar's.
    for (int modifier : {VK_SHIFT, VK_CONTROL}) {
        SCOPED_TRACE(modifier);
        Key(modifier, KeyAction::Down);
        MSG msg{m_frame->GetSafeHwnd(), WM_SYSKEYDOWN, VK_F10, 0, 0, {}};
        EXPECT_FALSE(Bar().TranslateFrameMessage(&msg));
        Key(modifier, KeyAction::Up);
        EXPECT_EQ(Bar().GetTrackingState(), kTrackNone);
    }
}

TEST_F(MenuBarTest, InMenuModeStrayLettersAreSwallowedAndEnterOnAPopupButtonPassesOn)
{
    Press(VK_MENU);
    ASSERT_EQ(Bar().GetTrackingState(), kTrackHot);
    MSG letter{m_frame->GetSafeHwnd(), WM_KEYDOWN, 'Q', 0, 0, {}};
    EXPECT_TRUE(Bar().TranslateFrameMessage(&letter));
    EXPECT_EQ(Bar().GetTrackingState(), kTrackHot);
    MSG enter{m_frame->GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_FALSE(Bar().TranslateFrameMessage(&enter));
    EXPECT_EQ(Bar().GetTrackingState(), kTrackHot);
    EXPECT_EQ(Bar().GetHotItem(), 0);
    // Outside menu mode plain keys are the focus window's.
    Press(VK_ESCAPE);
    EXPECT_FALSE(Bar().TranslateFrameMessage(&letter));
}

TEST_F(MenuBarTest, ArrowsMoveBetweenPopupsAndEscapeClosesThem)
{
    std::vector<int> seen;
    std::vector<bool> shown;
    auto look = [&] {
        seen.push_back(Bar().GetCurrentItem());
        shown.push_back(FindPopupWindow() != nullptr && Bar().GetTrackingState() == kTrackPopup);
    };
    WhileTracking(
        [&] {
            Key(VK_MENU, KeyAction::Down);
            Key('F', KeyAction::Down);
        },
        {
            [&] {
                // The letter and Alt go up inside the popup, as a person's would.
                InjectKey('F', KeyAction::Up);
                InjectKey(VK_MENU, KeyAction::Up);
            },
            [&] { look(); InjectKey(VK_RIGHT, KeyAction::Down); },
            [&] { look(); InjectKey(VK_RIGHT, KeyAction::Down); },
            [&] { look(); InjectKey(VK_LEFT, KeyAction::Down); },
            [&] { look(); InjectKey(VK_LEFT, KeyAction::Down); },
            [&] { look(); InjectKey(VK_LEFT, KeyAction::Down); },
            [&] { look(); InjectKey(VK_ESCAPE, KeyAction::Down); },
        });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 1, 0, 4}));
    EXPECT_EQ(shown, std::vector<bool>(6, true));
    EXPECT_EQ(Bar().GetTrackingState(), kTrackNone);
    EXPECT_EQ(FindPopupWindow(), nullptr);
}

TEST_F(MenuBarTest, ChoosingAnItemSendsItsCommand)
{
    WhileTracking(
        [&] {
            Key(VK_MENU, KeyAction::Down);
            Key('E', KeyAction::Down);
        },
        {[&] {
             InjectKey('E', KeyAction::Up);
             InjectKey(VK_MENU, KeyAction::Up);
         },
         [&] { InjectKey(VK_DOWN, KeyAction::Down); },
         [&] { InjectKey(VK_DOWN, KeyAction::Down); },
         [&] { InjectKey(VK_RETURN, KeyAction::Down); }});
    PumpFrameMessages(*m_frame);
    EXPECT_EQ(m_frame->m_commands, std::vector<UINT>{kCmdCopy});
    EXPECT_EQ(Bar().GetTrackingState(), kTrackNone);
}

TEST_F(MenuBarTest, TheMouseOpensHotTracksAndClosesPopups)
{
    // Over a button: hot.
    InjectMouseMove(ButtonCentre(1));
    PumpFrameMessages(*m_frame);
    EXPECT_EQ(Bar().GetTrackingState(), kTrackHot);
    EXPECT_EQ(Bar().GetHotItem(), 1);
    std::vector<int> seen;
    WhileTracking(
        [&] {
            InjectMouseMove(ButtonCentre(0));
            InjectMouseButton(MouseButton::Left, KeyAction::Down);
            PumpFrameMessages(*m_frame);
        },
        {
            [&] {
                seen.push_back(Bar().GetCurrentItem());
                InjectMouseButton(MouseButton::Left, KeyAction::Up);
                InjectMouseMove(ButtonCentre(2));
            },
            [&] {
                seen.push_back(Bar().GetCurrentItem());
                // A click far from the bar and the popup.
                InjectMouseMove(POINT{400, 250});
                InjectMouseButton(MouseButton::Left, KeyAction::Down);
            },
        });
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpFrameMessages(*m_frame);
    EXPECT_EQ(seen, (std::vector<int>{0, 2}));
    EXPECT_EQ(Bar().GetTrackingState(), kTrackNone);
    EXPECT_EQ(FindPopupWindow(), nullptr);
    EXPECT_TRUE(m_frame->m_commands.empty());
}

TEST_F(MenuBarTest, ClickingTheOpenButtonClosesItsPopupAndLeavesItHot)
{
    WhileTracking(
        [&] {
            InjectMouseMove(ButtonCentre(1));
            InjectMouseButton(MouseButton::Left, KeyAction::Down);
            PumpFrameMessages(*m_frame);
        },
        {
            [&] { InjectMouseButton(MouseButton::Left, KeyAction::Up); },
            [&] { InjectMouseButton(MouseButton::Left, KeyAction::Down); },
            [&] { InjectMouseButton(MouseButton::Left, KeyAction::Up); },
        });
    PumpFrameMessages(*m_frame);
    EXPECT_EQ(FindPopupWindow(), nullptr);
    EXPECT_EQ(Bar().GetTrackingState(), kTrackHot);
    EXPECT_EQ(Bar().GetHotItem(), 1);
}

TEST_F(MenuBarTest, AQuitRequestWaitingBeforeThePopupIsKept)
{
    PostQuitMessage(7);
    EXPECT_FALSE(Bar().TrackPopup(0));
    EXPECT_EQ(FindPopupWindow(), nullptr);
    EXPECT_EQ(Bar().GetTrackingState(), kTrackNone);
    // The program's loop still sees the request.
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MenuBarTest, ABarDockedBesideTheMenuBarMovesToTheNextRow)
{
    CRect menu;
    CRect tools;
    Bar().GetWindowRect(&menu);
    m_frame->m_toolBar.GetWindowRect(&tools);
    EXPECT_GE(tools.top, menu.bottom);
    // Docked left, the bar turns: its width is a row's height.
    m_frame->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_LEFT);
    m_frame->RecalcLayout();
    m_frame->IdleUpdate();
    EXPECT_TRUE(Bar().IsVerticalBar());
    CRect left;
    Bar().GetWindowRect(&left);
    EXPECT_LT(left.Width(), 40);
    CRect first;
    Bar().Items()[0]->GetRect(first, TRUE);
    EXPECT_GT(first.Height(), first.Width());
}

} // namespace
