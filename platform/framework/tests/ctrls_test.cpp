// The framework's control objects: creation by class name, and the members
// that do more than forward a message (buffers sized for the caller,
// paired results, 32-bit ranges, buddies as objects).
#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/ctrls.h"
#include "platform/user/inspect.h"

namespace {

class CtrlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "CtrlsTestHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "CtrlsTestHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
        parent = CWnd::FromHandle(host);
    }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    HWND host = nullptr;
    CWnd* parent = nullptr;
};

std::string ClassOf(const CWnd& wnd)
{
    char name[64] = {};
    GetClassNameA(wnd.m_hWnd, name, sizeof(name));
    return name;
}

TEST_F(CtrlsTest, EachObjectCreatesItsControlByClassName)
{
    const RECT rc{10, 10, 120, 40};
    const DWORD child = WS_CHILD | WS_VISIBLE;
    CButton button;
    CEdit edit;
    CStatic label;
    CListBox list;
    CComboBox combo;
    CScrollBar bar;
    CSliderCtrl slider;
    CSpinButtonCtrl spin;
    CProgressCtrl progress;
    struct Case {
        const char* name;
        BOOL created;
        const CWnd& wnd;
        const char* className;
    };
    const Case cases[] = {
        {"button", button.Create("OK", child | BS_PUSHBUTTON, rc, parent, 1), button, "Button"},
        {"edit", edit.Create(child | ES_AUTOHSCROLL, rc, parent, 2), edit, "Edit"},
        {"static", label.Create("text", child, rc, parent), label, "Static"},
        {"list", list.Create(child, rc, parent, 4), list, "ListBox"},
        {"combo", combo.Create(child | CBS_DROPDOWNLIST, rc, parent, 5), combo, "ComboBox"},
        {"scroll_bar", bar.Create(child | SBS_HORZ, rc, parent, 6), bar, "ScrollBar"},
        {"slider", slider.Create(child, rc, parent, 7), slider, "msctls_trackbar32"},
        {"spin", spin.Create(child, rc, parent, 8), spin, "msctls_updown32"},
        {"progress", progress.Create(child, rc, parent, 9), progress, "msctls_progress32"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.created);
        EXPECT_EQ(ClassOf(c.wnd), c.className);
        EXPECT_EQ(CWnd::FromHandlePermanent(c.wnd.m_hWnd), &c.wnd);
    }
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(label.GetDlgCtrlID(), 0xFFFF);
}

TEST_F(CtrlsTest, EditLineCopiesNoMoreThanTheCallerHasRoomFor)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE, {0, 0, 200, 100}, parent, 1));
    edit.SetWindowText("first line\r\nsecond");
    char buffer[16];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(edit.GetLine(1, buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 4), "sec#") << "nothing written past the room given";
    char one = '#';
    EXPECT_EQ(edit.GetLine(0, &one, 1), 1);
    EXPECT_EQ(one, 'f');
    EXPECT_EQ(edit.GetLine(0, buffer, 0), 0);
    edit.SetSel(2, 7);
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 7);
}

TEST_F(CtrlsTest, ItemTextsComeBackAsStrings)
{
    CListBox list;
    CComboBox combo;
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_SORT, {0, 0, 100, 100}, parent, 1));
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, {0, 0, 100, 100}, parent, 2));
    list.AddString("beta");
    list.AddString("alpha, the first and a much longer text");
    combo.AddString("x");
    CString text;
    list.GetText(0, text);
    EXPECT_STREQ(text.GetString(), "alpha, the first and a much longer text");
    list.GetText(1, text);
    EXPECT_STREQ(text.GetString(), "beta");
    list.GetText(7, text);
    EXPECT_TRUE(text.IsEmpty());
    combo.GetLBText(0, text);
    EXPECT_STREQ(text.GetString(), "x");
    combo.GetLBText(3, text);
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(CtrlsTest, RangesAndBuddies)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_VERT, {0, 0, 17, 100}, parent, 1));
    SCROLLINFO set{};
    set.fMask = SIF_ALL;
    set.nMax = 99;
    set.nPage = 10;
    set.nPos = 95;
    EXPECT_TRUE(bar.SetScrollInfo(&set));
    SCROLLINFO got{};
    EXPECT_TRUE(bar.GetScrollInfo(&got, SIF_POS | SIF_PAGE));
    EXPECT_EQ(got.nPos, 90);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(bar.GetScrollLimit(), 90);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD, {0, 0, 200, 30}, parent, 2));
    slider.SetRange(-100000, 100000);
    slider.SetPos(70000);
    int low = 0;
    int high = 0;
    slider.GetRange(low, high);
    EXPECT_EQ(low, -100000);
    EXPECT_EQ(high, 100000);
    EXPECT_EQ(slider.GetPos(), 70000);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, {0, 0, 200, 20}, parent, 3));
    progress.SetRange32(-5, 500);
    progress.GetRange(low, high);
    EXPECT_EQ(low, -5);
    EXPECT_EQ(high, 500);

    CEdit first;
    CEdit second;
    ASSERT_TRUE(first.Create(WS_CHILD, {0, 0, 50, 20}, parent, 4));
    ASSERT_TRUE(second.Create(WS_CHILD, {0, 30, 50, 50}, parent, 5));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | UDS_SETBUDDYINT, {60, 0, 76, 20}, parent, 6));
    EXPECT_EQ(spin.SetBuddy(&first), nullptr);
    EXPECT_EQ(spin.SetBuddy(&second), &first);
    EXPECT_EQ(spin.GetBuddy(), &second);
    spin.SetRange32(-3, 300000);
    spin.GetRange(low, high);
    EXPECT_EQ(low, -3);
    EXPECT_EQ(high, 300000);
    spin.SetPos32(250000);
    CString shown;
    second.GetWindowText(shown);
    EXPECT_STREQ(shown.GetString(), "250,000");
}

} // namespace
