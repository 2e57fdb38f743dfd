// The rich edit control through its messages and through input as a person
// gives it: rows, selection, protected text, find, undo, the clipboard,
// scrolling, formats and the mouse.
#include <cstring>

#include "platform/controls/tests/richedit_support.h"

namespace nuvex::controls::testing {
namespace {

// "alpha" / "beta" / "" / "gamma": the breaks arrive in three forms.
constexpr const char* kFourRows = "alpha\r\nbeta\n\rgamma";

TEST_F(RichEditTest, RowsAndPositions)
{
    SetText(kFourRows);
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 4);
    // Breaks are one character inside and "\r\n" outside.
    EXPECT_EQ(Text(), "alpha\r\nbeta\r\n\r\ngamma");
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 20);

    struct RowCase {
        const char* name;
        LONG row;
        LRESULT index;
        LRESULT length;
        const char* text;
    };
    const RowCase kRows[] = {
        {"first", 0, 0, 5, "alpha"},
        {"second", 1, 6, 4, "beta"},
        {"empty", 2, 11, 0, ""},
        {"last", 3, 12, 5, "gamma"},
    };
    for (const RowCase& c : kRows) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(c.row), 0), c.index);
        EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(c.index), 0), c.length);
        EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(c.index), 0), c.row);
        EXPECT_EQ(SendMessageA(edit, EM_EXLINEFROMCHAR, 0, c.index + c.length), c.row);
        char buffer[16] = {};
        const WORD size = sizeof(buffer);
        std::memcpy(buffer, &size, sizeof(size));
        EXPECT_EQ(SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(c.row), reinterpret_cast<LPARAM>(buffer)),
                  c.length);
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(c.length)), c.text);
    }
    // Row numbers past the end, however large, answer "no such row".
    for (WPARAM past : {WPARAM{4}, WPARAM{0x80000000u}, WPARAM{0xFFFFFFFFu}}) {
        SCOPED_TRACE(past);
        EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, past, 0), -1);
        char none[8] = {8, 0};
        EXPECT_EQ(SendMessageA(edit, EM_GETLINE, past, reinterpret_cast<LPARAM>(none)), 0);
    }

    // EM_GETLINE copies no more than the size in the buffer's first word.
    char small[8];
    std::memset(small, '#', sizeof(small));
    const WORD three = 3;
    std::memcpy(small, &three, sizeof(three));
    EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 3, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::string(small, 4), "gam#");
}

TEST_F(RichEditTest, SelectionIsClampedAndReported)
{
    SetText(kFourRows);
    SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    struct SelCase {
        const char* name;
        CHARRANGE set;
        CHARRANGE expected;
        const char* text;
        LRESULT type;
    };
    const SelCase kCases[] = {
        {"inside", {1, 3}, {1, 3}, "lp", SEL_TEXT | SEL_MULTICHAR},
        {"across_break", {4, 7}, {4, 7}, "a\rb", SEL_TEXT | SEL_MULTICHAR},
        {"everything", {0, -1}, {0, 17}, "alpha\rbeta\r\rgamma", SEL_TEXT | SEL_MULTICHAR},
        {"reversed", {3, 1}, {1, 3}, "lp", SEL_TEXT | SEL_MULTICHAR},
        {"past_end", {15, 99}, {15, 17}, "ma", SEL_TEXT | SEL_MULTICHAR},
        {"one_char", {16, 17}, {16, 17}, "a", SEL_TEXT},
        {"none", {-1, 0}, {17, 17}, "", SEL_EMPTY},
    };
    for (const SelCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Clear();
        Select(c.set.cpMin, c.set.cpMax);
        const CHARRANGE got = Selection();
        EXPECT_EQ(got.cpMin, c.expected.cpMin);
        EXPECT_EQ(got.cpMax, c.expected.cpMax);
        char buffer[32] = {};
        EXPECT_EQ(SendMessageA(edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer)),
                  static_cast<LRESULT>(std::strlen(c.text)));
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(SendMessageA(edit, EM_SELECTIONTYPE, 0, 0), c.type);
    }
    // A change is reported once, with the new range; setting it again is silent.
    Clear();
    Select(2, 4);
    Select(2, 4);
    ASSERT_EQ(Count(EN_SELCHANGE), 1);
    EXPECT_EQ(Notifications()[0].DetailOf("min"), 2);
    EXPECT_EQ(Notifications()[0].DetailOf("max"), 4);
}

// The first row is protected; the second is free.
class ProtectedRows : public RichEditTest {
protected:
    void SetUp() override
    {
        RichEditTest::SetUp();
        SetText("N10 G0\r\nfree");
        SetFormat(0, 7, CFM_PROTECTED, CFE_PROTECTED);
        SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_PROTECTED | ENM_CHANGE);
    }
    static constexpr const char* kOriginal = "N10 G0\r\nfree";
};

TEST_F(ProtectedRows, PersonsEditsAskTheParent)
{
    struct EditCase {
        const char* name;
        LONG caret;
        int key;               // a virtual key pressed, or 0 to type 'Z'
        LRESULT answer;        // what the parent says to EN_PROTECTED
        bool asked;
        const char* expected;  // the text afterwards
    };
    const EditCase kCases[] = {
        {"type_inside_refused", 2, 0, 1, true, kOriginal},
        {"type_inside_allowed", 2, 0, 0, true, "N1Z0 G0\r\nfree"},
        {"delete_inside_refused", 0, VK_DELETE, 1, true, kOriginal},
        {"backspace_joining_rows_refused", 7, VK_BACK, 1, true, kOriginal},
        {"type_at_start_of_free_row", 7, 0, 1, false, "N10 G0\r\nZfree"},
        {"delete_in_free_row", 8, VK_DELETE, 1, false, "N10 G0\r\nfee"},
    };
    for (const EditCase& c : kCases) {
        SCOPED_TRACE(c.name);
        SetText(kOriginal);
        SetFormat(0, 7, CFM_PROTECTED, CFE_PROTECTED);
        protectedAnswer = c.answer;
        FocusAt(c.caret);
        if (c.key == 0) {
            HeadlessTypeText("Z");
        } else {
            HeadlessPressKeys({c.key});
        }
        PumpUntilIdle();
        EXPECT_EQ(Text(), c.expected);
        EXPECT_EQ(Count(EN_PROTECTED), c.asked ? 1 : 0);
        const bool changed = Text() != kOriginal;
        EXPECT_EQ(Count(EN_CHANGE), changed ? 1 : 0);
        for (const Delivered& n : Notifications()) {
            if (n.DetailOf("code") != EN_PROTECTED) {
                continue;
            }
            EXPECT_EQ(n.DetailOf("from"), reinterpret_cast<intptr_t>(edit));
            EXPECT_EQ(n.DetailOf("id"), kControlId);
            EXPECT_EQ(n.DetailOf("msg"), c.key == 0 ? WM_CHAR : WM_KEYDOWN);
            const LONG touched = c.key == VK_BACK ? c.caret - 1 : c.caret;
            EXPECT_EQ(n.DetailOf("min"), touched);
        }
    }
}

TEST_F(ProtectedRows, WithoutTheNotificationProtectedTextStays)
{
    SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
    protectedAnswer = 0;
    FocusAt(3);
    HeadlessTypeText("Z");
    HeadlessPressKeys({VK_BACK});
    PumpUntilIdle();
    EXPECT_EQ(Text(), kOriginal);
    EXPECT_EQ(Count(EN_PROTECTED), 0);
    EXPECT_EQ(Count(EN_CHANGE), 0);
}

TEST_F(ProtectedRows, ProgramsAndCutAndPaste)
{
    // A cut of protected text is refused and leaves the clipboard alone.
    ClipboardSetText("keep");
    Select(0, 3);
    SendMessageA(edit, WM_CUT, 0, 0);
    EXPECT_EQ(Text(), kOriginal);
    EXPECT_EQ(ClipboardGetText().value_or(""), "keep");
    // Pasting into protected text is refused too, into free text allowed.
    Select(1, 1);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), kOriginal);
    Select(12, 12);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), "N10 G0\r\nfreekeep");
    // Our code may always rewrite protected text.
    Select(0, 3);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("N20"));
    EXPECT_EQ(Text(), "N20 G0\r\nfreekeep");
    EXPECT_EQ(Count(EN_PROTECTED), 2);
}

TEST_F(RichEditTest, FindText)
{
    SetText("Alpha beta ALPHA alphabet\r\nalpha");
    struct FindCase {
        const char* name;
        const char* what;
        CHARRANGE range;
        WPARAM flags;
        LRESULT found;
    };
    const FindCase kCases[] = {
        {"down_any_case", "alpha", {1, -1}, FR_DOWN, 11},
        {"down_match_case", "alpha", {0, -1}, FR_DOWN | FR_MATCHCASE, 17},
        {"whole_word", "alpha", {12, -1}, FR_DOWN | FR_WHOLEWORD, 26},
        {"backwards_from_min", "alpha", {20, 0}, 0, 11},
        {"backwards_match_case", "ALPHA", {30, 0}, FR_MATCHCASE, 11},
        {"limited_range", "beta", {0, 9}, FR_DOWN, -1},
        {"pattern_crosses_break", "bet\nal", {0, -1}, FR_DOWN, 22},
        {"break_in_pattern", "alphabet\nalpha", {0, -1}, FR_DOWN, 17},
        {"missing", "gamma", {0, -1}, FR_DOWN, -1},
        {"empty_pattern", "", {0, -1}, FR_DOWN, -1},
    };
    for (const FindCase& c : kCases) {
        SCOPED_TRACE(c.name);
        FINDTEXTEXA find{};
        find.chrg = c.range;
        find.lpstrText = c.what;
        EXPECT_EQ(SendMessageA(edit, EM_FINDTEXTEX, c.flags, reinterpret_cast<LPARAM>(&find)), c.found);
        if (c.found >= 0) {
            EXPECT_EQ(find.chrgText.cpMin, c.found);
            // A "\n" of the pattern is one break character.
            EXPECT_EQ(find.chrgText.cpMax, c.found + static_cast<LONG>(std::strlen(c.what)));
        } else {
            EXPECT_EQ(find.chrgText.cpMin, -1);
        }
    }
}

TEST_F(RichEditTest, UndoAndRedo)
{
    FocusAt(0);
    HeadlessTypeText("abc");
    HeadlessPressKeys({VK_LEFT});
    HeadlessTypeText("X");
    PumpUntilIdle();
    EXPECT_EQ(Text(), "abXc");
    // Typing in one stretch is one step; moving the caret starts another.
    EXPECT_TRUE(SendMessageA(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(), "abc");
    EXPECT_TRUE(SendMessageA(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    EXPECT_TRUE(SendMessageA(edit, EM_REDO, 0, 0));
    EXPECT_EQ(Text(), "abc");

    // Replacements that may be undone, then one that may not: it empties
    // the history, whose positions it made stale.
    Select(0, 1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("zz"));
    EXPECT_EQ(Text(), "zzbc");
    HeadlessPressKeys({VK_CONTROL, 'Z'});
    PumpUntilIdle();
    EXPECT_EQ(Text(), "abc");
    CHARRANGE restored = Selection();
    EXPECT_EQ(restored.cpMin, 0);
    EXPECT_EQ(restored.cpMax, 1);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("q"));
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(), "qbc");
}

TEST_F(RichEditTest, ClipboardCopyCutPaste)
{
    SetText("one two\r\nthree");
    EXPECT_FALSE(SendMessageA(edit, EM_CANPASTE, 0, 0));
    Select(4, 10);
    SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardGetText().value_or(""), "two\r\nth");
    EXPECT_TRUE(SendMessageA(edit, EM_CANPASTE, CF_TEXT, 0));

    FocusAt(0);
    HeadlessPressKeys({VK_CONTROL, 'V'});
    PumpUntilIdle();
    EXPECT_EQ(Text(), "two\r\nthone two\r\nthree");
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 3);

    // Cut with the keyboard, then undo it.
    Select(0, 6);
    HeadlessPressKeys({VK_CONTROL, 'X'});
    PumpUntilIdle();
    EXPECT_EQ(Text(), "one two\r\nthree");
    EXPECT_EQ(ClipboardGetText().value_or(""), "two\r\nth");
    SendMessageA(edit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(), "two\r\nthone two\r\nthree");
    // Nothing selected: copy and cut leave the clipboard.
    Select(2, 2);
    ClipboardSetText("kept");
    SendMessageA(edit, WM_COPY, 0, 0);
    SendMessageA(edit, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardGetText().value_or(""), "kept");
}

TEST_F(RichEditTest, ScrollingRows)
{
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "row " + std::to_string(i) + "\r\n";
    }
    SetText(text.c_str());
    SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_SCROLL);
    Clear();
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_TRUE(SendMessageA(edit, EM_LINESCROLL, 0, 10));
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    EXPECT_EQ(Count(EN_VSCROLL), 1);
    SendMessageA(edit, EM_LINESCROLL, 0, -50);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(edit, EM_LINESCROLL, 0, 500);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 60);
    SendMessageA(edit, EM_LINESCROLL, 0, 0x7FFFFFFF);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 60);

    // The window's own vertical bar shows the rows and follows the scrolling.
    SendMessageA(edit, EM_LINESCROLL, 0, -40);
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL, 0);
    SCROLLINFO bar{sizeof(bar), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 60);
    EXPECT_EQ(bar.nPos, 20);
    SendMessageA(edit, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 21);

    // Scrolling the caret into view from above and from below.
    for (LONG row : {45, 3, 59}) {
        SCOPED_TRACE(row);
        const auto start = static_cast<LONG>(SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(row), 0));
        Select(start, start);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        const auto first = static_cast<LONG>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        EXPECT_LE(first, row);
        const POINT at = ScreenPointOf(start);
        RECT client{};
        GetClientRect(edit, &client);
        POINT origin{0, 0};
        ClientToScreen(edit, &origin);
        EXPECT_GE(at.y, origin.y);
        EXPECT_LT(at.y, origin.y + client.bottom);
    }
    // A short text needs no bar.
    SetText("short");
    EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(RichEditTest, TypingAndKeys)
{
    SendMessageA(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
    FocusAt(0);
    HeadlessTypeText("ab\ncd");
    PumpUntilIdle();
    EXPECT_EQ(Text(), "ab\r\ncd");
    EXPECT_EQ(Count(EN_CHANGE), 5);
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 2);

    struct KeyCase {
        const char* name;
        std::initializer_list<int> keys;
        CHARRANGE expected;
    };
    const KeyCase kCases[] = {
        {"home", {VK_HOME}, {3, 3}},
        {"up_keeps_column", {VK_UP}, {0, 0}},
        {"shift_end", {VK_SHIFT, VK_END}, {0, 2}},
        {"ctrl_end", {VK_CONTROL, VK_END}, {5, 5}},
        {"shift_ctrl_home", {VK_SHIFT, VK_CONTROL, VK_HOME}, {0, 5}},
        {"left_collapses", {VK_LEFT}, {0, 0}},
        {"ctrl_a", {VK_CONTROL, 'A'}, {0, 5}},
    };
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        HeadlessPressKeys(c.keys);
        PumpUntilIdle();
        const CHARRANGE got = Selection();
        EXPECT_EQ(got.cpMin, c.expected.cpMin);
        EXPECT_EQ(got.cpMax, c.expected.cpMax);
    }
    // Read-only refuses typing.
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    HeadlessTypeText("x");
    PumpUntilIdle();
    EXPECT_EQ(Text(), "ab\r\ncd");
}

TEST_F(RichEditTest, MouseSelects)
{
    SetText("first line\r\nsecond words here");
    PumpUntilIdle();
    // Drag from inside "first" to the middle of "second".
    HeadlessDrag(ScreenPointOf(2, 1, 3), ScreenPointOf(14, 1, 3), 4);
    PumpUntilIdle();
    CHARRANGE got = Selection();
    EXPECT_EQ(got.cpMin, 2);
    EXPECT_EQ(got.cpMax, 14);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(GetCapture(), nullptr);
    // A double click selects the word under it.
    HeadlessDoubleClick(ScreenPointOf(20, 2, 3));
    PumpUntilIdle();
    got = Selection();
    EXPECT_EQ(got.cpMin, 18);
    EXPECT_EQ(got.cpMax, 23);
}

TEST_F(RichEditTest, CharacterFormats)
{
    SetText("plain bold red");
    SetFormat(6, 10, CFM_BOLD, CFE_BOLD);
    SetFormat(11, 14, CFM_COLOR, 0, RGB(255, 0, 0));

    struct FormatCase {
        const char* name;
        CHARRANGE range;
        DWORD maskHas;
        DWORD maskLacks;
        DWORD effects;
        COLORREF colour;
    };
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const FormatCase kCases[] = {
        {"plain", {0, 5}, CFM_BOLD | CFM_COLOR, 0, CFE_AUTOCOLOR, windowText},
        {"bold", {6, 10}, CFM_BOLD | CFM_COLOR, 0, CFE_BOLD | CFE_AUTOCOLOR, windowText},
        {"red", {11, 14}, CFM_BOLD | CFM_COLOR, 0, 0, RGB(255, 0, 0)},
        {"mixed", {3, 12}, CFM_PROTECTED, CFM_BOLD | CFM_COLOR, 0, 0},
    };
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Select(c.range.cpMin, c.range.cpMax);
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        const auto mask =
            static_cast<DWORD>(SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
        EXPECT_EQ(mask & c.maskHas, c.maskHas);
        EXPECT_EQ(mask & c.maskLacks, 0u);
        if (c.maskLacks == 0) {
            EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_AUTOCOLOR), c.effects);
            EXPECT_EQ(format.crTextColor, c.colour);
        }
    }

    // A format set on an empty selection is what the next typed text takes.
    FocusAt(5);
    CHARFORMATA bold{};
    bold.cbSize = sizeof(bold);
    bold.dwMask = CFM_BOLD | CFM_PROTECTED;
    bold.dwEffects = CFE_BOLD | CFE_PROTECTED;
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    HeadlessTypeText("X");
    PumpUntilIdle();
    Select(5, 6);
    CHARFORMATA typed{};
    typed.cbSize = sizeof(typed);
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&typed));
    EXPECT_EQ(typed.dwEffects & (CFE_BOLD | CFE_PROTECTED), CFE_BOLD | CFE_PROTECTED);

    // The default format is what an empty control's new text takes; a
    // record that is too small is refused.
    CHARFORMATA red{};
    red.cbSize = sizeof(red);
    red.dwMask = CFM_COLOR | CFM_PROTECTED | CFM_BOLD;
    red.dwEffects = CFE_PROTECTED;
    red.crTextColor = RGB(255, 0, 0);
    EXPECT_NE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&red)), 0);
    SetText("");
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("G1"));
    Select(0, 2);
    CHARFORMATA got{};
    got.cbSize = sizeof(got);
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.dwEffects & (CFE_PROTECTED | CFE_BOLD | CFE_AUTOCOLOR), CFE_PROTECTED);
    EXPECT_EQ(got.crTextColor, RGB(255, 0, 0));
    red.cbSize = 40;
    EXPECT_EQ(SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&red)), 0);
}

TEST_F(RichEditTest, ParagraphAlignment)
{
    SetText("left\r\nright");
    Select(7, 7);
    PARAFORMAT para{};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_ALIGNMENT;
    para.wAlignment = PFA_RIGHT;
    EXPECT_NE(SendMessageA(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para)), 0);

    PARAFORMAT got{};
    got.cbSize = sizeof(got);
    SendMessageA(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.wAlignment, PFA_RIGHT);
    Select(1, 1);
    SendMessageA(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.wAlignment, PFA_LEFT);

    // The right-aligned row ends at the right margin, the left one starts at the left.
    RECT client{};
    GetClientRect(edit, &client);
    POINT leftStart{};
    POINT rightEnd{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&leftStart), 0);
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&rightEnd), 11);
    EXPECT_LT(leftStart.x, 5);
    EXPECT_GT(rightEnd.x, client.right - 5);
}

TEST_F(RichEditTest, SidewaysScrollMovesTheText)
{
    SetText("a long row that reaches past the right edge of the control, and then some more words");
    POINT before{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&before), 0);
    EXPECT_TRUE(SendMessageA(edit, EM_LINESCROLL, 5, 0));
    POINT after{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&after), 0);
    EXPECT_LT(after.x, before.x);
    // The caret at the end of the row scrolls into view.
    const LONG end = static_cast<LONG>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    Select(end, end);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    POINT caret{};
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&caret), end);
    RECT client{};
    GetClientRect(edit, &client);
    EXPECT_GE(caret.x, 0);
    EXPECT_LT(caret.x, client.right);
    SendMessageA(edit, WM_HSCROLL, 6 /* to the left end */, 0);
    SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&after), 0);
    EXPECT_EQ(after.x, before.x);
}

// Crash regression: a parent that destroys the control while it hears of a
// change must not leave the control working on freed state.
LRESULT DestroyingParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(RichEditTest, ParentDestroyingTheControlOnChangeIsNoCrash)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DestroyingParentProc;
    wc.lpszClassName = "DestroyingParent";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND host = CreateWindowExA(0, "DestroyingParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    HWND doomed = CreateWindowExA(0, RICHEDIT_CLASSA, "", kPageStyle, 0, 0, 150, 80, host, nullptr, nullptr, nullptr);
    ASSERT_NE(doomed, nullptr);
    SendMessageA(doomed, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_UPDATE);
    SetFocus(doomed);
    HeadlessTypeText("ab");
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(doomed));
}

} // namespace
} // namespace nuvex::controls::testing
