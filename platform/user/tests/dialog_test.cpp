// Dialogs: creation from templates in code and from resources, dialog
// units, WM_INITDIALOG and the focus, modal runs and their loop, keyboard
// navigation (tab order, groups, default button, Enter and Esc) and the
// control helpers.
#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gditext.h"
#include "platform/kernel/resource.h"
#include "platform/user/input.h"
#include "platform/user/tests/dialog_support.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

constexpr int kIdName = 1000;
constexpr int kIdApply = 1001;
constexpr int kIdRadioA = 1010;
constexpr int kIdRadioB = 1011;
constexpr int kIdRadioC = 1012;
constexpr int kIdCheck = 1020;
constexpr WORD kSettingsDialog = 300;

class DialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterDialogTestClasses();
        owner = MakeTopLevel("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 40, 650, 500});
    }

    // A dialog with a name field, an Apply button, a group of three radio
    // buttons (the middle one disabled when asked), a check box without a
    // tab stop, and OK (default) and Cancel.
    static DialogTemplate Form(bool disableMiddleRadio = false)
    {
        DialogTemplate t;
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        t.x = 10;
        t.y = 10;
        t.cx = 200;
        t.cy = 120;
        t.fontPointSize = 8;
        t.fontFace = "MS Sans Serif";
        t.caption = "Form";
        t.items = {
            Item(kDlgEditClass, kIdName, WS_TABSTOP | WS_GROUP, 7, 7, 100, 12),
            Item(kDlgButtonClass, kIdApply, kPush | WS_TABSTOP | WS_GROUP, 110, 7, 50, 14, "&Apply"),
            Item(kDlgButtonClass, kIdRadioA, kAutoRadio | WS_TABSTOP | WS_GROUP, 7, 30, 60, 10, "A"),
            Item(kDlgButtonClass, kIdRadioB, kAutoRadio | (disableMiddleRadio ? WS_DISABLED : 0), 7, 42, 60, 10,
                 "B"),
            Item(kDlgButtonClass, kIdRadioC, kAutoRadio, 7, 54, 60, 10, "C"),
            Item(kDlgButtonClass, kIdCheck, kCheckBox | WS_GROUP, 7, 70, 60, 10, "Check"),
            Item(kDlgButtonClass, IDOK, kDefPush | WS_TABSTOP | WS_GROUP, 90, 100, 50, 14, "OK"),
            Item(kDlgButtonClass, IDCANCEL, kPush | WS_TABSTOP, 143, 100, 50, 14, "Cancel"),
        };
        return t;
    }

    HWND Modeless(const DialogTemplate& t, ScriptedDialog* script)
    {
        HWND dialog = CreateDialogIndirectParamA(nullptr, t, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(script));
        if (dialog != nullptr) {
            recorder.Name(dialog, "dialog");
            ShowWindow(dialog, SW_SHOW);
        }
        return dialog;
    }

    // Presses and releases a key, with the dialog's keyboard handling.
    static void Press(HWND dialog, int key, bool shift = false)
    {
        if (shift) {
            InjectKey(VK_SHIFT, KeyAction::Down);
        }
        InjectKey(key, KeyAction::Down);
        InjectKey(key, KeyAction::Up);
        if (shift) {
            InjectKey(VK_SHIFT, KeyAction::Up);
        }
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (IsDialogMessageA(dialog, &msg) == FALSE) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }

    HWND owner = nullptr;
};

// Average character width and height of a font, as the dialog manager
// measures them.
SIZE BaseUnitsOf(const char* face, int points)
{
    LOGFONTA lf{};
    lf.lfHeight = -(points * 96 + 36) / 72;
    lf.lfWeight = 400;
    std::strcpy(lf.lfFaceName, face);
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE letters{};
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return SIZE{(letters.cx / 26 + 1) / 2, tm.tmHeight};
}

TEST_F(DialogTest, CreationPlacesControlsInDialogUnitsAndSetsTheFocus)
{
    ScriptedDialog script;
    recorder.Only({WM_SETFONT, WM_INITDIALOG, WM_SHOWWINDOW});
    HWND dialog = Modeless(Form(), &script);
    ASSERT_NE(dialog, nullptr);

    char className[16]{};
    GetClassNameA(dialog, className, sizeof(className));
    EXPECT_STREQ(className, "#32770");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);

    // WM_INITDIALOG comes after every control exists, with the first tab
    // stop and the creation parameter; answering TRUE focuses that control.
    EXPECT_EQ(script.initCount, 1);
    EXPECT_EQ(script.initFocus, GetDlgItem(dialog, kIdName));
    EXPECT_EQ(script.initParam, reinterpret_cast<LPARAM>(&script));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kIdName));
    EXPECT_FALSE(IsWindowVisible(dialog) && script.initCount == 0);

    // The dialog font goes to the dialog and every control.
    auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    for (int id : {kIdName, kIdApply, IDOK, IDCANCEL}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0)), font);
    }
    const Delivered* firstInit = nullptr;
    for (const Delivered& d : recorder.Log()) {
        if (d.message == WM_INITDIALOG && firstInit == nullptr) {
            firstInit = &d;
        }
    }
    ASSERT_NE(firstInit, nullptr);

    // Dialog units: x by a quarter of the average character width, y by an
    // eighth of the character height, from the dialog's top-left client
    // corner; the dialog itself relative to its owner's client area.
    const SIZE base = BaseUnitsOf("MS Sans Serif", 8);
    ASSERT_GT(base.cx, 0);
    RECT mapped{110, 7, 160, 21};
    ASSERT_TRUE(MapDialogRect(dialog, &mapped));
    EXPECT_EQ(mapped.left, (110 * base.cx + 2) / 4);
    EXPECT_EQ(mapped.bottom, (21 * base.cy + 4) / 8);
    RECT apply{};
    GetWindowRect(GetDlgItem(dialog, kIdApply), &apply);
    POINT clientOrigin{0, 0};
    ClientToScreen(dialog, &clientOrigin);
    EXPECT_EQ(apply.left - clientOrigin.x, mapped.left);
    EXPECT_EQ(apply.top - clientOrigin.y, mapped.top);
    EXPECT_EQ(apply.right - clientOrigin.x, mapped.right);
    EXPECT_EQ(apply.bottom - clientOrigin.y, mapped.bottom);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, (200 * base.cx + 2) / 4);
    EXPECT_EQ(client.bottom, (120 * base.cy + 4) / 8);
    // The template places the client area: the frame grows around it.
    POINT ownerOrigin{0, 0};
    ClientToScreen(owner, &ownerOrigin);
    EXPECT_EQ(clientOrigin.x - ownerOrigin.x, (10 * base.cx + 2) / 4);
    EXPECT_EQ(clientOrigin.y - ownerOrigin.y, (10 * base.cy + 4) / 8);

    // The user's value and the procedure live in the dialog's extra bytes.
    EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(&ScriptedDialogProc));
    SetWindowLongPtrA(dialog, DWLP_USER, 0x1234);
    EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_USER), 0x1234);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, FocusOnlyWhenInitDialogAsksAndVisibleOnlyWithTheStyle)
{
    ScriptedDialog script;
    script.initAnswer = FALSE;
    DialogTemplate t = Form();
    HWND dialog = CreateDialogIndirectParamA(nullptr, t, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&script));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_NE(GetFocus(), GetDlgItem(dialog, kIdName));
    DestroyWindow(dialog);

    ScriptedDialog visible;
    t.style |= WS_VISIBLE;
    dialog = CreateDialogIndirectParamA(nullptr, t, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&visible));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kIdName));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ControlThatCannotBeMadeFailsTheDialogUnlessAllowed)
{
    DialogTemplate t = Form();
    t.items.push_back(Item("NoSuchControlClass", 2000, 0, 0, 0, 10, 10));
    int windowsBefore = 0;
    EnumWindows([](HWND, LPARAM count) { ++*reinterpret_cast<int*>(count); return TRUE; },
                reinterpret_cast<LPARAM>(&windowsBefore));
    ScriptedDialog script;
    EXPECT_EQ(CreateDialogIndirectParamA(nullptr, t, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&script)),
              nullptr);
    EXPECT_EQ(script.initCount, 0);
    int windowsAfter = 0;
    EnumWindows([](HWND, LPARAM count) { ++*reinterpret_cast<int*>(count); return TRUE; },
                reinterpret_cast<LPARAM>(&windowsAfter));
    EXPECT_EQ(windowsAfter, windowsBefore);

    t.style |= DS_NOFAILCREATE;
    HWND dialog = CreateDialogIndirectParamA(nullptr, t, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&script));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, 2000), nullptr);
    EXPECT_NE(GetDlgItem(dialog, IDOK), nullptr);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, TabOrderFollowsCreationAndSkipsWhatCannotTakeTheFocus)
{
    ScriptedDialog script;
    HWND dialog = Modeless(Form(), &script);
    ASSERT_NE(dialog, nullptr);
    EnableWindow(GetDlgItem(dialog, kIdApply), FALSE);
    struct Case {
        int from;
        bool back;
        int expected;
    };
    // Apply is disabled, the check box has no tab stop, B and C are not
    // stops; the order wraps at both ends.
    const Case cases[] = {
        {kIdName, false, kIdRadioA}, {kIdRadioA, false, IDOK},    {IDOK, false, IDCANCEL},
        {IDCANCEL, false, kIdName},  {kIdName, true, IDCANCEL},  {kIdRadioA, true, kIdName},
        {kIdRadioC, false, IDOK},    {kIdCheck, true, kIdRadioA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << (c.back ? " back" : " forward"));
        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, c.from), c.back), GetDlgItem(dialog, c.expected));
    }
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, kIdName));
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, TRUE), GetDlgItem(dialog, IDCANCEL));

    // The keyboard walks the same order.
    SetFocus(GetDlgItem(dialog, kIdName));
    const int forward[] = {kIdRadioA, IDOK, IDCANCEL, kIdName};
    for (int id : forward) {
        Press(dialog, VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, id)) << id;
    }
    Press(dialog, VK_TAB, true);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDCANCEL));
    // A tab into an edit field selects its text.
    Press(dialog, VK_TAB);
    EXPECT_TRUE(EditSelectedAll(GetDlgItem(dialog, kIdName)));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ArrowsMoveInsideTheGroupAndClickRadioButtons)
{
    ScriptedDialog script;
    HWND dialog = Modeless(Form(true), &script);
    ASSERT_NE(dialog, nullptr);
    struct Case {
        int from;
        bool back;
        int expected;
    };
    // The group A, B (disabled), C wraps; the edit field is a group alone.
    const Case cases[] = {
        {kIdRadioA, false, kIdRadioC}, {kIdRadioC, false, kIdRadioA}, {kIdRadioA, true, kIdRadioC},
        {kIdRadioC, true, kIdRadioA},  {kIdName, false, kIdName},     {IDOK, false, IDCANCEL},
        {IDCANCEL, false, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << (c.back ? " back" : " forward"));
        EXPECT_EQ(GetNextDlgGroupItem(dialog, GetDlgItem(dialog, c.from), c.back), GetDlgItem(dialog, c.expected));
    }

    SetFocus(GetDlgItem(dialog, kIdRadioA));
    script.commands.clear();
    Press(dialog, VK_DOWN);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kIdRadioC));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kIdRadioC), BST_CHECKED);
    EXPECT_EQ(script.commands, std::vector<int>{kIdRadioC});
    // An edit field keeps its arrows.
    SetFocus(GetDlgItem(dialog, kIdName));
    Press(dialog, VK_DOWN);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kIdName));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, EnterAndEscapeCommandTheDefaultAndCancel)
{
    struct Case {
        const char* name;
        int focus;        // control with the focus
        int setDefault;   // DM_SETDEFID before the key, 0 for none
        bool disableDefault;
        int key;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {"enter in a field commands the template's default", kIdName, 0, false, VK_RETURN, {IDOK}},
        {"enter on a push button commands that button", IDCANCEL, 0, false, VK_RETURN, {IDCANCEL}},
        {"enter follows DM_SETDEFID", kIdName, kIdApply, false, VK_RETURN, {kIdApply}},
        {"enter with a disabled default does nothing", kIdName, kIdApply, true, VK_RETURN, {}},
        {"escape commands cancel", kIdName, 0, false, VK_ESCAPE, {IDCANCEL}},
        {"escape on a push button still cancels", kIdApply, 0, false, VK_ESCAPE, {IDCANCEL}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialog script;
        script.endOn.clear();
        HWND dialog = Modeless(Form(), &script);
        ASSERT_NE(dialog, nullptr);
        if (c.setDefault != 0) {
            SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(c.setDefault), 0);
            if (c.disableDefault) {
                EnableWindow(GetDlgItem(dialog, c.setDefault), FALSE);
            }
        }
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, c.focus)), TRUE);
        script.commands.clear();
        Press(dialog, c.key);
        EXPECT_EQ(script.commands, c.commands);
        DestroyWindow(dialog);
    }

    // Without a default button Enter commands IDOK.
    DialogTemplate bare = Form();
    bare.items.resize(2);
    ScriptedDialog script;
    script.endOn.clear();
    HWND dialog = Modeless(bare, &script);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), 0);
    script.commands.clear();
    Press(dialog, VK_RETURN);
    EXPECT_EQ(script.commands, std::vector<int>{IDOK});
    DestroyWindow(dialog);
}

TEST_F(DialogTest, DefaultButtonLookFollowsTheFocusedPushButton)
{
    ScriptedDialog script;
    HWND dialog = Modeless(Form(), &script);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    auto kind = [&](int id) { return GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & 0xF; };
    struct Step {
        int focus;
        LONG_PTR okKind;
        LONG_PTR applyKind;
    };
    // A focused push button looks like the default; leaving the buttons
    // gives the look back to OK.
    const Step steps[] = {{kIdApply, kPush, kDefPush}, {IDCANCEL, kPush, kPush}, {kIdName, kDefPush, kPush},
                          {IDOK, kDefPush, kPush}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.focus);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, s.focus)), TRUE);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, s.focus));
        EXPECT_EQ(kind(IDOK), s.okKind);
        EXPECT_EQ(kind(kIdApply), s.applyKind);
    }
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kIdName)), TRUE);
    SendMessageA(dialog, DM_SETDEFID, kIdApply, 0);
    EXPECT_EQ(kind(IDOK), kPush);
    EXPECT_EQ(kind(kIdApply), kDefPush);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(kIdApply, DC_HASDEFID));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ModalRunDisablesTheOwnerUntilEndDialog)
{
    ScriptedDialog script;
    script.endOn = {IDCANCEL};
    bool ownerDisabledWhileRunning = false;
    HWND seenDialog = nullptr;
    int step = 0;
    SetIdleScript([&] {
        HWND active = GetActiveWindow();
        switch (step++) {
        case 0:
            seenDialog = active;
            ownerDisabledWhileRunning = IsWindowEnabled(owner) == FALSE;
            InjectKey('X', KeyAction::Down); // typed into the field, not a command
            InjectKey('X', KeyAction::Up);
            return true;
        case 1:
            InjectKey(VK_RETURN, KeyAction::Down); // OK is not an ending command here
            InjectKey(VK_RETURN, KeyAction::Up);
            return true;
        case 2:
            InjectKey(VK_ESCAPE, KeyAction::Down);
            InjectKey(VK_ESCAPE, KeyAction::Up);
            return true;
        default:
            return false;
        }
    });
    int idleMessages = 0;
    SetHandler(owner, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
            ++idleMessages;
        }
        return std::nullopt;
    });
    const INT_PTR result = DialogBoxIndirectParamA(nullptr, Form(), owner, ScriptedDialogProc,
                                                   reinterpret_cast<LPARAM>(&script));
    SetIdleScript(nullptr);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(script.commands, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(ownerDisabledWhileRunning);
    ASSERT_NE(seenDialog, nullptr);
    EXPECT_FALSE(IsWindow(seenDialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_GE(idleMessages, 1);
}

TEST_F(DialogTest, ModalRunEndings)
{
    // Ended in WM_INITDIALOG: never shown, the result comes back at once.
    ScriptedDialog early;
    bool shown = false;
    early.handler = [&](HWND dialog, UINT msg, WPARAM wParam, LPARAM) -> std::optional<INT_PTR> {
        if (msg == WM_INITDIALOG) {
            EndDialog(dialog, 42);
            return TRUE;
        }
        if (msg == WM_SHOWWINDOW && wParam != 0) {
            shown = true;
        }
        return std::nullopt;
    };
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, Form(), owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&early)),
              42);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(IsWindowEnabled(owner));

    // Closing from the system menu commands IDCANCEL.
    ScriptedDialog closed;
    SetIdleScript([] {
        HWND dialog = GetActiveWindow();
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return true;
    });
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, Form(), owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&closed)),
              IDCANCEL);

    // WM_QUIT ends the loop with 0 and stays for the caller's loop.
    ScriptedDialog quit;
    SetIdleScript([] {
        PostQuitMessage(3);
        return true;
    });
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, Form(), owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&quit)),
              0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);

    // Nothing can ever arrive: the run fails instead of hanging.
    SetIdleScript(nullptr);
    ScriptedDialog stuck;
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, Form(), owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&stuck)),
              -1);
    EXPECT_TRUE(IsWindowEnabled(owner));

    // A damaged or unknown template fails without a window.
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(9999), owner, ScriptedDialogProc, 0), -1);
    const BYTE junk[8]{};
    EXPECT_EQ(CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(junk), owner,
                                         ScriptedDialogProc, 0),
              nullptr);
}

TEST_F(DialogTest, TemplateFromResourceByIdAndByLockedBytes)
{
    ScriptedDialog script;
    SetIdleScript([] {
        InjectKey(VK_RETURN, KeyAction::Down);
        InjectKey(VK_RETURN, KeyAction::Up);
        return true;
    });
    script.handler = [](HWND dialog, UINT msg, WPARAM, LPARAM) -> std::optional<INT_PTR> {
        if (msg == WM_INITDIALOG) {
            char caption[32]{};
            GetWindowTextA(dialog, caption, sizeof(caption));
            EXPECT_STREQ(caption, "Settings");
            EXPECT_NE(GetDlgItem(dialog, kIdApply), nullptr);
        }
        return std::nullopt;
    };
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kSettingsDialog), owner, ScriptedDialogProc,
                              reinterpret_cast<LPARAM>(&script)),
              IDOK);
    SetIdleScript(nullptr);

    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(kSettingsDialog), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    auto bytes = static_cast<LPCDLGTEMPLATEA>(LockResource(LoadResource(nullptr, found)));
    ScriptedDialog modeless;
    HWND dialog =
        CreateDialogIndirectParamA(nullptr, bytes, owner, ScriptedDialogProc, reinterpret_cast<LPARAM>(&modeless));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(modeless.initFocus, GetDlgItem(dialog, kIdName));
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, ItemTextNumbersAndChecks)
{
    ScriptedDialog script;
    HWND dialog = Modeless(Form(), &script);
    ASSERT_NE(dialog, nullptr);
    struct Case {
        const char* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    };
    const Case cases[] = {
        {"42", FALSE, TRUE, 42},
        {"  17  ", FALSE, TRUE, 17},
        {"-5", TRUE, TRUE, static_cast<UINT>(-5)},
        {"-5", FALSE, FALSE, 0},
        {"4294967295", FALSE, TRUE, 4294967295u},
        {"4294967296", FALSE, FALSE, 0},
        {"2147483648", TRUE, FALSE, 0},
        {"-2147483648", TRUE, TRUE, 0x80000000u},
        {"12x", FALSE, FALSE, 0},
        {"", FALSE, FALSE, 0},
        {"-", TRUE, FALSE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(SetDlgItemTextA(dialog, kIdName, c.text));
        BOOL translated = 2;
        EXPECT_EQ(GetDlgItemInt(dialog, kIdName, &translated, c.isSigned), c.value);
        EXPECT_EQ(translated, c.translated);
    }
    SetDlgItemInt(dialog, kIdName, static_cast<UINT>(-12), TRUE);
    char text[8]{};
    EXPECT_EQ(GetDlgItemTextA(dialog, kIdName, text, 3), 2u);
    EXPECT_STREQ(text, "-1");
    EXPECT_EQ(GetDlgItemTextA(dialog, 4242, text, sizeof(text)), 0u);
    EXPECT_STREQ(text, "");

    CheckDlgButton(dialog, kIdCheck, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kIdCheck), BST_CHECKED);
    CheckRadioButton(dialog, kIdRadioA, kIdRadioC, kIdRadioB);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kIdRadioA), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kIdRadioB), BST_CHECKED);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, kIdRadioC)), kIdRadioC);
    DestroyWindow(dialog);
}

} // namespace
} // namespace nuvex::user::testing
