// CRichEditCtrl on a framework parent: its members drive the control, the
// control's own map hears its change reflected before the parent does, and
// the parent's answer to EN_PROTECTED decides a person's edit of protected
// text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "platform/framework/richeditctrl.h"
#include "platform/user/inspect.h"

namespace {

using Log = std::vector<std::string>;
constexpr UINT kTextId = 40;
// Child, visible, both scroll bars, multi-line, automatic scrolling both
// ways, want-return: the style text panes use.
constexpr DWORD kPaneStyle = 0x503010C4;

// A rich edit that hears its own changes first and lets the parent hear them too.
class CLineCtrl : public CRichEditCtrl {
public:
    explicit CLineCtrl(Log& log) : m_log(log) {}

protected:
    BOOL OnChangeReflect()
    {
        m_log.push_back("control change, rows " + std::to_string(GetLineCount()));
        return FALSE;
    }
    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLineCtrl, CRichEditCtrl)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChangeReflect)
END_MESSAGE_MAP()

class CPanel : public CWnd {
public:
    explicit CPanel(Log& log) : m_log(log) {}
    LRESULT m_refuse = 1;

protected:
    void OnTextChange() { m_log.push_back("parent change"); }
    void OnProtected(NMHDR* header, LRESULT* result)
    {
        const auto* info = reinterpret_cast<const ENPROTECTED*>(header);
        m_log.push_back("parent protected " + std::to_string(info->chrg.cpMin) + "-" +
                        std::to_string(info->chrg.cpMax));
        *result = m_refuse;
    }
    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CWnd)
    ON_CONTROL(EN_CHANGE, kTextId, OnTextChange)
    ON_NOTIFY(EN_PROTECTED, kTextId, OnProtected)
END_MESSAGE_MAP()

class RichEditCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ClipboardClear();
        ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
        ASSERT_TRUE(text.Create(kPaneStyle, CRect(0, 0, 300, 200), &panel, kTextId));
        EXPECT_EQ(text.SetEventMask(ENM_CHANGE | ENM_PROTECTED), ENM_NONE);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        text.DestroyWindow();
        panel.DestroyWindow();
        ResetWindowSystem();
    }
    std::string Text() const
    {
        CString all;
        text.GetWindowText(all);
        return all.GetString();
    }

    Log log;
    CPanel panel{log};
    CLineCtrl text{log};
};

TEST_F(RichEditCtrlTest, ProtectedProgramTextRefusesTypingWhileTheParentSaysSo)
{
    // As a program fills a pane: everything red and protected.
    CHARFORMAT red{};
    red.cbSize = sizeof(red);
    red.dwMask = CFM_COLOR | CFM_PROTECTED | CFM_BOLD;
    red.dwEffects = CFE_PROTECTED;
    red.crTextColor = RGB(255, 0, 0);
    ASSERT_TRUE(text.SetDefaultCharFormat(red));
    text.ReplaceSel("N1 G0\nN2 G1");
    EXPECT_EQ(log, (Log{"control change, rows 2", "parent change"}));
    EXPECT_EQ(text.GetLineCount(), 2);
    EXPECT_EQ(text.LineIndex(1), 6);
    EXPECT_EQ(text.LineLength(7), 5);
    EXPECT_EQ(text.LineFromChar(8), 1);
    char row[16] = {};
    EXPECT_EQ(text.GetLine(1, row, 3), 3);
    EXPECT_EQ(std::string(row, 3), "N2 ");
    CHARFORMAT got{};
    text.SetSel(0, 11);
    EXPECT_NE(text.GetSelectionCharFormat(got) & CFM_PROTECTED, 0u);
    EXPECT_EQ(got.dwEffects & CFE_PROTECTED, CFE_PROTECTED);
    EXPECT_EQ(got.crTextColor, RGB(255, 0, 0));

    struct TypeCase {
        const char* name;
        LRESULT refuse;
        const char* expected;
        Log heard;
    };
    const TypeCase kCases[] = {
        {"refused", 1, "N1 G0\r\nN2 G1", {"parent protected 2-2"}},
        {"allowed", 0, "N1X G0\r\nN2 G1",
         {"parent protected 2-2", "control change, rows 2", "parent change"}},
    };
    for (const TypeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        panel.m_refuse = c.refuse;
        text.SetFocus();
        text.SetSel(2, 2);
        PumpUntilIdle();
        log.clear();
        HeadlessTypeText("X");
        PumpUntilIdle();
        EXPECT_EQ(Text(), c.expected);
        EXPECT_EQ(log, c.heard);
    }
}

TEST_F(RichEditCtrlTest, MembersReachTheControl)
{
    text.ReplaceSel("alpha beta\ngamma", TRUE);
    EXPECT_EQ(text.GetTextLength(), 17); // the break counts as "\r\n"

    FINDTEXTEX find{{0, -1}, "GAMMA", {0, 0}};
    EXPECT_EQ(text.FindText(FR_DOWN, &find), 11);
    EXPECT_EQ(find.chrgText.cpMax, 16);
    EXPECT_EQ(text.FindText(FR_DOWN | FR_MATCHCASE, &find), -1);

    text.SetSel(6, 10);
    EXPECT_EQ(std::string(text.GetSelText().GetString()), "beta");
    EXPECT_EQ(text.GetSelectionType(), SEL_TEXT | SEL_MULTICHAR);
    CString range;
    EXPECT_EQ(text.GetTextRange(0, 5, range), 5);
    EXPECT_EQ(std::string(range.GetString()), "alpha");

    text.Copy();
    EXPECT_TRUE(text.CanPaste());
    text.SetSel(0, 0);
    text.Paste();
    EXPECT_EQ(Text(), "betaalpha beta\r\ngamma");
    EXPECT_TRUE(text.CanUndo());
    EXPECT_TRUE(text.Undo());
    EXPECT_EQ(Text(), "alpha beta\r\ngamma");
    EXPECT_TRUE(text.Undo());
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(text.CanUndo());
    EXPECT_TRUE(text.Redo());
    text.EmptyUndoBuffer();
    EXPECT_FALSE(text.CanUndo());

    EXPECT_EQ(text.SetBackgroundColor(FALSE, RGB(1, 2, 3)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(text.SetBackgroundColor(TRUE, 0), RGB(1, 2, 3));
    EXPECT_EQ(text.GetEventMask(), ENM_CHANGE | ENM_PROTECTED);

    PARAFORMAT para{};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_ALIGNMENT;
    para.wAlignment = PFA_CENTER;
    text.SetSel(12, 12);
    EXPECT_TRUE(text.SetParaFormat(para));
    PARAFORMAT back{};
    text.GetParaFormat(back);
    EXPECT_EQ(back.wAlignment, PFA_CENTER);

    EXPECT_TRUE(text.LineScroll(1));
    EXPECT_EQ(text.GetFirstVisibleLine(), 1);
    const CPoint at = text.PosFromChar(0);
    EXPECT_LT(at.y, 0); // the first row scrolled out of sight above
    text.LineScroll(-1);
    EXPECT_EQ(text.CharFromPos(text.PosFromChar(3)), 3);
}

} // namespace
