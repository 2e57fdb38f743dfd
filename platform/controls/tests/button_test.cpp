// Buttons: clicks and keys as a person gives them, automatic check boxes
// and radio groups, owner-drawn buttons, the messages of the class, and
// the classic look.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

using ButtonTest = ControlTest;

TEST_F(ButtonTest, ControlClassesAreSystemClassesCreatedByName)
{
    for (const char* name : {"Button", "EDIT", "static", "ListBox", "ComboBox", "ScrollBar", "ComboLBox",
                             "msctls_trackbar32", "msctls_updown32", "msctls_progress32"}) {
        SCOPED_TRACE(name);
        WNDCLASSA wc{};
        EXPECT_TRUE(GetClassInfoA(nullptr, name, &wc));
        EXPECT_FALSE(UnregisterClassA(name, nullptr));
        HWND hwnd = Make(name, "", 0, {0, 0, 50, 20}, 7);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetDlgCtrlID(hwnd), 7);
        DestroyWindow(hwnd);
    }
}

TEST_F(ButtonTest, PushButtonClicksOnlyWhenReleasedOverIt)
{
    HWND button = Make("Button", "OK", BS_PUSHBUTTON, {10, 10, 90, 35}, 1);
    ClickAt(button, 20, 10);
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(1, BN_CLICKED)}));
    EXPECT_EQ(GetFocus(), button);

    // Pressed on the button, dragged off and released elsewhere: no click.
    Clear();
    DragAt(button, {20, 10}, {200, 200});
    EXPECT_TRUE(Heard({WM_COMMAND}, {}));
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(ButtonTest, SpaceBarClicksTheFocusedButton)
{
    HWND button = Make("Button", "Go", BS_PUSHBUTTON, {10, 10, 90, 35}, 4);
    SetFocus(button);
    InjectKey(VK_SPACE, KeyAction::Down);
    PumpUntilIdle();
    EXPECT_NE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_TRUE(Heard({WM_COMMAND}, {}));
    InjectKey(VK_SPACE, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(4, BN_CLICKED)}));
}

TEST_F(ButtonTest, ClicksStepTheCheckStateOfEachKind)
{
    struct Case {
        const char* name;
        DWORD style;
        std::vector<WPARAM> afterClicks;
    };
    const Case cases[] = {
        {"auto_check", BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {"auto_3state", BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {"plain_check_is_left_to_the_parent", BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
        {"auto_radio_stays_checked", BS_AUTORADIOBUTTON, {BST_CHECKED, BST_CHECKED, BST_CHECKED}},
        {"push_button_has_no_check", BS_PUSHBUTTON, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = Make("Button", "Option", c.style | WS_GROUP, {10, 10, 150, 30}, 9);
        Clear();
        for (WPARAM expected : c.afterClicks) {
            ClickAt(button, 5, 10);
            EXPECT_EQ(static_cast<WPARAM>(SendMessageA(button, BM_GETCHECK, 0, 0)), expected);
        }
        EXPECT_EQ(HeardOf({WM_COMMAND}).size(), c.afterClicks.size());
        DestroyWindow(button);
    }
}

TEST_F(ButtonTest, AutomaticRadioButtonsCheckOneOfTheirGroup)
{
    HWND a = Make("Button", "A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {10, 10, 100, 30}, 11);
    HWND b = Make("Button", "B", BS_AUTORADIOBUTTON, {10, 40, 100, 60}, 12);
    HWND c = Make("Button", "C", BS_AUTORADIOBUTTON, {10, 70, 100, 90}, 13);
    HWND d = Make("Button", "D", BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 100, 120}, 14);
    SendMessageA(d, BM_SETCHECK, BST_CHECKED, 0);
    ClickAt(a, 5, 10);
    ClickAt(c, 5, 10);
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    EXPECT_EQ(SendMessageA(d, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED)) << "another group";
    // The checked radio button is the group's tab stop.
    EXPECT_NE(GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrA(a, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(11, BN_CLICKED), Command(13, BN_CLICKED)}));

    CheckRadioButton(host, 11, 13, 12);
    EXPECT_EQ(IsDlgButtonChecked(host, 12), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(host, 13), BST_UNCHECKED);
}

TEST_F(ButtonTest, OwnerDrawnButtonHearsEntireSelectAndFocusDrawing)
{
    HWND button = Make("Button", "", BS_OWNERDRAW, {10, 10, 60, 40}, 21);
    Clear();
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(Heard({WM_DRAWITEM}, {DrawItem(21, 0, ODA_DRAWENTIRE, 0)}));

    Clear();
    POINT p{5, 5};
    ClientToScreen(button, &p);
    InjectMouseMove(p);
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    PumpUntilIdle();
    const auto draws = HeardOf({WM_DRAWITEM});
    ASSERT_FALSE(draws.empty()) << HostLog();
    EXPECT_TRUE(AnyFits(draws, DrawItem(21, 0, ODA_SELECT, ODS_SELECTED | ODS_FOCUS))) << recorder.Describe(draws);
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(21, BN_CLICKED)}));
}

TEST_F(ButtonTest, DialogCodesFollowTheKind)
{
    struct Case {
        const char* name;
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {"push", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {"default_push", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {"check", BS_AUTOCHECKBOX, DLGC_BUTTON},
        {"radio", BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {"group", BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = Make("Button", "x", c.style, {0, 0, 50, 20}, 1);
        EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), c.code);
        DestroyWindow(button);
    }
    // The dialog manager turns a push button into the default one and back.
    HWND button = Make("Button", "x", BS_PUSHBUTTON, {0, 0, 50, 20}, 1);
    SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrA(button, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
}

TEST_F(ButtonTest, ImagesAreKeptByKindAndTheOldOneAnswered)
{
    HWND button = Make("Button", "", BS_PUSHBUTTON | BS_BITMAP, {0, 0, 50, 20}, 1);
    HBITMAP first = CreateBitmap(8, 8, 1, 32, nullptr);
    HBITMAP second = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    DestroyWindow(button);
    DeleteObject(first);
    DeleteObject(second);
}

TEST_F(ButtonTest, ClassicLookOfPushButtonsAndCheckBoxes)
{
    HWND push = Make("Button", "", BS_PUSHBUTTON, {10, 10, 90, 40}, 1);
    // Raised edge: white highlight at the top left, the dark shadow at the
    // bottom right, the face inside.
    EXPECT_EQ(PixelAt(push, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(push, 79, 29), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(PixelAt(push, 40, 15), GetSysColor(COLOR_BTNFACE));
    SendMessageA(push, BM_SETSTATE, TRUE, 0);
    EXPECT_NE(PixelAt(push, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "a pushed button is drawn sunken";

    HWND check = Make("Button", "", BS_AUTOCHECKBOX, {10, 50, 90, 70}, 2);
    // The box is 13 pixels square, vertically centred at the left, white inside.
    const COLORREF unchecked = PixelAt(check, 6, 10);
    EXPECT_EQ(unchecked, GetSysColor(COLOR_WINDOW));
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    int marked = 0;
    for (int y = 5; y < 16; ++y) {
        for (int x = 2; x < 11; ++x) {
            marked += PixelAt(check, x, y) == GetSysColor(COLOR_WINDOWTEXT) ? 1 : 0;
        }
    }
    EXPECT_GT(marked, 5) << "the check mark shows in the box";
}

TEST_F(ButtonTest, PushLikeCheckBoxesAndRadioButtonsLookLikePushButtons)
{
    for (DWORD type : {BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_AUTO3STATE}) {
        SCOPED_TRACE(type);
        HWND button = Make("Button", "", type | BS_PUSHLIKE, {10, 10, 90, 40}, 1);
        EXPECT_EQ(PixelAt(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised while unchecked";
        EXPECT_EQ(PixelAt(button, 79, 29), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(PixelAt(button, 6, 15), GetSysColor(COLOR_BTNFACE)) << "no check box";
        SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(PixelAt(button, 0, 0), GetSysColor(COLOR_BTNSHADOW)) << "sunken while checked";
        DestroyWindow(button);
    }
}

} // namespace
} // namespace nuvex::controls::testing
