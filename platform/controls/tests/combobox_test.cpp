// Combo boxes: dropping the list and choosing with the mouse and keys, the
// edit of the drop-down style, the messages of the class.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

class ComboBoxTest : public ControlTest {
protected:
    HWND MakeCombo(DWORD style, std::initializer_list<const char*> items, int id = 40)
    {
        HWND combo = Make("ComboBox", "", style | WS_VSCROLL, {10, 10, 160, 150}, id);
        for (const char* item : items) {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        PumpUntilIdle();
        return combo;
    }
    HWND DroppedList(HWND combo)
    {
        (void)combo;
        HWND found = nullptr;
        EnumWindows(
            [](HWND hwnd, LPARAM out) -> BOOL {
                char name[32] = {};
                GetClassNameA(hwnd, name, sizeof(name));
                if (std::string_view(name) == "ComboLBox" && IsWindowVisible(hwnd)) {
                    *reinterpret_cast<HWND*>(out) = hwnd;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    std::vector<UINT> Codes(int id)
    {
        std::vector<Delivered> fromCombo;
        for (const Delivered& d : HeardOf({WM_COMMAND})) {
            if (d.DetailOf("id") == id) {
                fromCombo.push_back(d);
            }
        }
        return CodesOf(fromCombo);
    }
};

TEST_F(ComboBoxTest, DropDownListChoosesWithTheMouse)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {"red", "green", "blue"});
    RECT rc{};
    GetWindowRect(combo, &rc);
    EXPECT_LT(rc.bottom - rc.top, 40) << "the window keeps the selection field's height";
    Clear();
    ClickAt(combo, 20, 8);
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    RECT listRect{};
    GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.top, rc.bottom) << "the list drops below the field";

    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    ClickAt(list, 10, (item.top + item.bottom) / 2);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TextOf(combo), "green");
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}))
        << HostLog();
}

TEST_F(ComboBoxTest, ScrollBarsItIsMadeWithBelongToTheList)
{
    // Both bars on the box itself would cover its selection field.
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | WS_HSCROLL, {"red", "green", "blue"});
    EXPECT_EQ(GetWindowLongPtrA(combo, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    RECT window{};
    RECT client{};
    GetWindowRect(combo, &window);
    GetClientRect(combo, &client);
    EXPECT_EQ(client.bottom, window.bottom - window.top) << "no bar takes the field's height";
    ClickAt(combo, (client.right - client.left) / 2, client.bottom / 2);
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) << "a click in the field's middle drops the list";
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    // The list shows its vertical bar only when its items need it.
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL, static_cast<LONG_PTR>(WS_HSCROLL));
}

TEST_F(ComboBoxTest, ClickOutsideOrEscapeCancelsTheDrop)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {"red", "green", "blue"});
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    ClickAt(combo, 20, 8);
    Clear();
    ClickAt(host, 380, 280);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SELENDCANCEL, CBN_CLOSEUP})) << HostLog();

    SetFocus(combo);
    PressKeys(combo, {VK_F4});
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    Clear();
    PressKeys(combo, {VK_ESCAPE});
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SELENDCANCEL, CBN_CLOSEUP})) << HostLog();
}

TEST_F(ComboBoxTest, ArrowKeysChangeTheSelectionWithoutDropping)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {"one", "two", "three"});
    SetFocus(combo);
    PumpUntilIdle();
    Clear();
    PressKeys(combo, {VK_DOWN});
    PressKeys(combo, {VK_DOWN});
    PressKeys(combo, {VK_UP});
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE})) << HostLog();
    Clear();
    Type(combo, "t");
    EXPECT_EQ(TextOf(combo), "two");
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, DropDownEditTypingAndSelection)
{
    HWND combo = MakeCombo(CBS_DROPDOWN | CBS_SORT, {"pear", "apple", "fig"});
    EXPECT_EQ(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("fig")), 1);
    HWND edit = GetDlgItem(combo, 1001);
    ASSERT_NE(edit, nullptr);
    Clear();
    Type(edit, "ki");
    EXPECT_EQ(TextOf(combo), "ki");
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE,
                                            CBN_EDITCHANGE}))
        << HostLog();

    // A selection shows its text in the edit, selected.
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(TextOf(combo), "pear");
    DWORD start = 9;
    DWORD end = 9;
    SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    EXPECT_TRUE(SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3)));
    SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);

    // Down in the edit steps through the list.
    Clear();
    PressKeys(edit, {VK_UP});
    EXPECT_EQ(TextOf(combo), "fig");
    EXPECT_EQ(Codes(40), (std::vector<UINT>{CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, MessagesAnswerErrorsForWhatIsNotThere)
{
    HWND list = MakeCombo(CBS_DROPDOWNLIST, {"a", "b"}, 41);
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
    };
    char buffer[16] = {};
    const Case cases[] = {
        {"text_of_missing_item", CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(buffer), CB_ERR},
        {"length_of_missing_item", CB_GETLBTEXTLEN, 5, 0, CB_ERR},
        {"select_missing", CB_SETCURSEL, 5, 0, CB_ERR},
        {"delete_missing", CB_DELETESTRING, 5, 0, CB_ERR},
        {"edit_selection_of_a_drop_down_list", CB_SETEDITSEL, 0, 0, CB_ERR},
        {"select_string_missing", CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("z"), CB_ERR},
        {"select_string", CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("B"), 1},
        {"text_length", CB_GETLBTEXTLEN, 1, 0, 1},
        {"count", CB_GETCOUNT, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageA(list, c.message, c.wParam, c.lParam), c.answer);
    }
    // Setting the text of a drop-down list selects the item of that text.
    EXPECT_TRUE(SetWindowTextA(list, "a"));
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(TextOf(list), "");
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListBelowTheEdit)
{
    HWND combo = MakeCombo(CBS_SIMPLE, {"x", "y"}, 42);
    HWND list = GetDlgItem(combo, 1000);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    Clear();
    ClickAt(list, 10, (item.top + item.bottom) / 2);
    EXPECT_EQ(TextOf(combo), "y");
    EXPECT_EQ(Codes(42), (std::vector<UINT>{CBN_SELCHANGE})) << HostLog();
}

} // namespace
} // namespace nuvex::controls::testing
