// Edits: typing with its notifications, the styles that filter or refuse
// text, selection by keys and mouse, clipboard, undo, line queries and the
// messages of the class.
#include "platform/controls/tests/control_test.h"

#include <cstring>

namespace nuvex::controls::testing {
namespace {

using EditTest = ControlTest;

TEST_F(EditTest, TypingNotifiesUpdateThenChangeForEachCharacter)
{
    HWND edit = Make("Edit", "", ES_AUTOHSCROLL | WS_BORDER, {10, 10, 200, 32}, 5);
    SetFocus(edit);
    PumpUntilIdle();
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(5, EN_SETFOCUS)}));
    Clear();
    Type(edit, "ab");
    EXPECT_EQ(TextOf(edit), "ab");
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(5, EN_UPDATE), Command(5, EN_CHANGE),
                                     Command(5, EN_UPDATE), Command(5, EN_CHANGE)}));
    EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));

    // Setting the text tells the parent as well, and clears the modified flag.
    Clear();
    SetWindowTextA(edit, "xyz");
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(5, EN_UPDATE), Command(5, EN_CHANGE)}));
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));

    Clear();
    SetFocus(host);
    PumpUntilIdle();
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(5, EN_KILLFOCUS)}));
}

TEST_F(EditTest, StylesAndLimitFilterWhatIsTyped)
{
    struct Case {
        const char* name;
        DWORD style;
        UINT limit; // 0: none
        const char* typed;
        const char* text;
        size_t maxTextNotices;
    };
    const Case cases[] = {
        {"number_keeps_digits", ES_NUMBER | ES_AUTOHSCROLL, 0, "a1b2-3", "123", 0},
        {"uppercase", ES_UPPERCASE | ES_AUTOHSCROLL, 0, "MiXed", "MIXED", 0},
        {"lowercase", ES_LOWERCASE | ES_AUTOHSCROLL, 0, "MiXed", "mixed", 0},
        {"read_only_refuses", ES_READONLY | ES_AUTOHSCROLL, 0, "abc", "", 0},
        {"limit_refuses_beyond", ES_AUTOHSCROLL, 3, "abcde", "abc", 2},
        {"single_line_ignores_enter", ES_AUTOHSCROLL, 0, "a\nb", "ab", 0},
        {"multi_line_enter_breaks", ES_MULTILINE | ES_WANTRETURN, 0, "a\nb", "a\r\nb", 0},
        {"no_autoscroll_refuses_beyond_width", 0, 0, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = Make("Edit", "", c.style, {10, 10, 110, 60}, 6);
        if (c.limit != 0) {
            SendMessageA(edit, EM_LIMITTEXT, c.limit, 0);
        }
        Clear();
        Type(edit, c.typed);
        if (c.text != nullptr) {
            EXPECT_EQ(TextOf(edit), c.text);
        } else {
            const std::string text = TextOf(edit);
            EXPECT_FALSE(text.empty());
            EXPECT_LT(text.size(), std::strlen(c.typed));
        }
        size_t maxText = 0;
        for (const Delivered& d : HeardOf({WM_COMMAND})) {
            maxText += d.DetailOf("code") == EN_MAXTEXT ? 1 : 0;
        }
        if (c.maxTextNotices == 1 && c.text == nullptr) {
            EXPECT_GE(maxText, 1u);
        } else {
            EXPECT_EQ(maxText, c.maxTextNotices);
        }
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, ProgramChangesKeepTheLimitButNotTheReadOnlyStyle)
{
    HWND edit = Make("Edit", "", ES_READONLY | ES_AUTOHSCROLL, {10, 10, 200, 32}, 7);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("read only"));
    EXPECT_EQ(TextOf(edit), "read only");
    SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY, 0);

    SetWindowTextA(edit, "");
    SendMessageA(edit, EM_LIMITTEXT, 4, 0);
    Clear();
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("123456"));
    EXPECT_EQ(TextOf(edit), "1234");
    const auto commands = HeardOf({WM_COMMAND});
    ASSERT_FALSE(commands.empty());
    EXPECT_TRUE(recorder.Fits(Command(7, EN_MAXTEXT), commands.back())) << HostLog();
    // The text set as a whole is not cut to the limit.
    SetWindowTextA(edit, "longer than four");
    EXPECT_EQ(TextOf(edit), "longer than four");
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 4);
}

TEST_F(EditTest, SetSelectionCases)
{
    struct Case {
        const char* name;
        WPARAM start;
        LPARAM end;
        DWORD selStart;
        DWORD selEnd;
    };
    const Case cases[] = {
        {"all", 0, -1, 0, 10},
        {"range", 2, 5, 2, 5},
        {"reversed", 5, 2, 2, 5},
        {"clamped", 3, 200, 3, 10},
        {"minus_one_deselects", static_cast<WPARAM>(-1), 0, 3, 3},
    };
    HWND edit = Make("Edit", "0123456789", ES_AUTOHSCROLL, {10, 10, 200, 32}, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(edit, EM_SETSEL, 3, 3);
        SendMessageA(edit, EM_SETSEL, c.start, c.end);
        DWORD start = 99;
        DWORD end = 99;
        const LRESULT packed = SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, c.selStart);
        EXPECT_EQ(end, c.selEnd);
        EXPECT_EQ(packed, static_cast<LRESULT>(MAKELONG(c.selStart, c.selEnd)));
    }
}

TEST_F(EditTest, KeysMoveAndExtendTheSelectionAndEdit)
{
    HWND edit = Make("Edit", "hello world", ES_AUTOHSCROLL, {10, 10, 200, 32}, 1);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    PressKeys(edit, {VK_END});
    PressKeys(edit, {VK_SHIFT, VK_LEFT});
    PressKeys(edit, {VK_SHIFT, VK_LEFT});
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 9u);
    EXPECT_EQ(end, 11u);
    Type(edit, "X");
    EXPECT_EQ(TextOf(edit), "hello worX");
    PressKeys(edit, {VK_HOME});
    PressKeys(edit, {VK_DELETE});
    PressKeys(edit, {VK_END});
    PressKeys(edit, {VK_BACK});
    EXPECT_EQ(TextOf(edit), "ello wor");
    PressKeys(edit, {VK_CONTROL, VK_LEFT});
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 5u) << "Ctrl+Left goes to the start of the word";
}

TEST_F(EditTest, ClipboardCutCopyPasteAndPasswords)
{
    HWND edit = Make("Edit", "alpha beta", ES_AUTOHSCROLL, {10, 10, 200, 32}, 1);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, 6);
    PressKeys(edit, {VK_CONTROL, 'X'});
    EXPECT_EQ(TextOf(edit), "beta");
    EXPECT_EQ(ClipboardGetText(), std::optional<std::string>("alpha "));
    SendMessageA(edit, EM_SETSEL, 4, 4);
    PressKeys(edit, {VK_CONTROL, 'V'});
    EXPECT_EQ(TextOf(edit), "betaalpha ");
    SendMessageA(edit, EM_SETSEL, 0, 4);
    PressKeys(edit, {VK_CONTROL, VK_INSERT});
    EXPECT_EQ(ClipboardGetText(), std::optional<std::string>("beta"));

    // A single line takes only the first line of what is pasted.
    ClipboardSetText("one\r\ntwo");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), "one");

    HWND password = Make("Edit", "secret", ES_PASSWORD | ES_AUTOHSCROLL, {10, 40, 200, 62}, 2);
    EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '*');
    ClipboardSetText("kept");
    SendMessageA(password, EM_SETSEL, 0, -1);
    SendMessageA(password, WM_COPY, 0, 0);
    SendMessageA(password, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardGetText(), std::optional<std::string>("kept")) << "a password is never copied";
    EXPECT_EQ(TextOf(password), "secret");
}

TEST_F(EditTest, UndoTakesBackATypedRunAndASecondUndoRedoes)
{
    HWND edit = Make("Edit", "start", ES_AUTOHSCROLL, {10, 10, 200, 32}, 1);
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    SendMessageA(edit, EM_SETSEL, 5, 5);
    Type(edit, " more");
    EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    PressKeys(edit, {VK_CONTROL, 'Z'});
    EXPECT_EQ(TextOf(edit), "start");
    EXPECT_TRUE(SendMessageA(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(TextOf(edit), "start more");
    SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageA(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(TextOf(edit), "start more");
}

TEST_F(EditTest, LineQueriesOfAMultiLineEdit)
{
    HWND edit = Make("Edit", "one\r\ntwo words\r\n\r\nfour", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                     {10, 10, 200, 46}, 1);
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 4);
    struct Line {
        int index;
        LRESULT start;
        LRESULT length;
        const char* text;
    };
    const Line lines[] = {{0, 0, 3, "one"}, {1, 5, 9, "two words"}, {2, 16, 0, ""}, {3, 18, 4, "four"}};
    for (const Line& l : lines) {
        SCOPED_TRACE(l.index);
        EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(l.index), 0), l.start);
        EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(l.start), 0), l.length);
        EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(l.start), 0), l.index);
        char buffer[32] = {};
        const WORD size = sizeof(buffer);
        std::memcpy(buffer, &size, sizeof(size));
        const LRESULT copied = SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(l.index), reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(copied)), l.text);
    }
    EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 4, 0), -1);
    // The size in the buffer's first word bounds what is copied.
    char small[4] = {};
    const WORD two = 2;
    std::memcpy(small, &two, sizeof(two));
    EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(small)), 2);
    EXPECT_EQ(std::string(small, 2), "tw");
    // -1: the caret's line; the unselected characters of the selected lines.
    SendMessageA(edit, EM_SETSEL, 6, 8);
    EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 5);
    EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
    EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 7);

    EXPECT_TRUE(SendMessageA(edit, EM_LINESCROLL, 0, 2));
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), 2);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    HWND single = Make("Edit", "single", ES_AUTOHSCROLL, {10, 130, 200, 150}, 2);
    EXPECT_EQ(SendMessageA(single, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_FALSE(SendMessageA(single, EM_LINESCROLL, 0, 1));
}

TEST_F(EditTest, DialogCodeLeavesEnterToTheDialogUnlessWanted)
{
    MSG enter{};
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    HWND single = Make("Edit", "", ES_AUTOHSCROLL, {0, 0, 100, 20}, 1);
    HWND multi = Make("Edit", "", ES_MULTILINE, {0, 30, 100, 80}, 2);
    HWND wants = Make("Edit", "", ES_MULTILINE | ES_WANTRETURN, {0, 90, 100, 140}, 3);
    const LRESULT base = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const auto code = [&](HWND h) { return SendMessageA(h, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)); };
    EXPECT_EQ(code(single), base);
    EXPECT_EQ(code(multi), base);
    EXPECT_EQ(code(wants), base | DLGC_WANTALLKEYS);
}

TEST_F(EditTest, ClickPlacesTheCaretAndDragSelects)
{
    HWND edit = Make("Edit", "abcdefgh", ES_AUTOHSCROLL, {10, 10, 300, 32}, 1);
    ClickAt(edit, 280, 8);
    EXPECT_EQ(GetFocus(), edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 8u);
    EXPECT_EQ(end, 8u);
    DragAt(edit, {1, 8}, {280, 8});
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);
    const LRESULT at = SendMessageA(edit, EM_POSFROMCHAR, 4, 0);
    EXPECT_EQ(LOWORD(SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(at) + 1, HIWORD(at)))), 4);
}

TEST_F(EditTest, ColoursComeFromTheParent)
{
    HWND edit = Make("Edit", "", ES_AUTOHSCROLL, {10, 10, 200, 32}, 1);
    EXPECT_EQ(PixelAt(edit, 100, 5), GetSysColor(COLOR_WINDOW));
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    colorBrush = yellow;
    answerColors = true;
    EXPECT_EQ(PixelAt(edit, 100, 5), RGB(255, 255, 0));
    answerColors = false;
    DeleteObject(yellow);
}

} // namespace
} // namespace nuvex::controls::testing
