// Window creation and destruction sequences, relations, long values,
// text, properties and atoms, the message table.
#include <cstring>

#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using WindowLifetime = WindowTest;

TEST_F(WindowLifetime, TopLevelCreationSequence)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 20, 410, 320});
    ASSERT_NE(main, nullptr);
    recorder.Only({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                   WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                   WM_SETFOCUS});
    recorder.SkipDefaults();
    EXPECT_TRUE(recorder.Matches({
        Sent("main", WM_GETMINMAXINFO),
        Sent("main", WM_NCCREATE),
        Sent("main", WM_NCCALCSIZE).W(FALSE),
        Sent("main", WM_CREATE),
        Sent("main", WM_SIZE).W(SIZE_RESTORED),
        Sent("main", WM_MOVE),
        Sent("main", WM_SHOWWINDOW).W(TRUE),
        Sent("main", WM_WINDOWPOSCHANGING),
        Sent("main", WM_ACTIVATEAPP).W(TRUE),
        Sent("main", WM_NCACTIVATE).W(TRUE),
        Sent("main", WM_ACTIVATE).W(WA_ACTIVE).L(0),
        Sent("main", WM_SETFOCUS).W(0),
        Sent("main", WM_WINDOWPOSCHANGED),
    }));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
    // The overlapped frame: 4-pixel sizing border and a 19-pixel caption.
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 400 - 2 * 4);
    EXPECT_EQ(client.bottom, 300 - 2 * 4 - 19);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    EXPECT_EQ(origin.x, 14);
    EXPECT_EQ(origin.y, 20 + 4 + 19);
}

TEST_F(WindowLifetime, ChildCreationSequenceAndPosition)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {100, 100, 500, 400});
    recorder.Clear();
    HWND child = MakeChild("child", main, {10, 10, 110, 60}, WS_CHILD | WS_VISIBLE | WS_BORDER, 7);
    ASSERT_NE(child, nullptr);
    recorder.SkipDefaults();
    EXPECT_TRUE(recorder.Matches({
        Sent("child", WM_NCCREATE),
        Sent("child", WM_NCCALCSIZE).W(FALSE),
        Sent("child", WM_CREATE),
        Sent("child", WM_SIZE).W(SIZE_RESTORED).L(MAKELPARAM(98, 48)),
        Sent("child", WM_MOVE).L(MAKELPARAM(11, 11)),
        Sent("child", WM_SHOWWINDOW).W(TRUE),
        Sent("child", WM_WINDOWPOSCHANGING),
        Sent("child", WM_WINDOWPOSCHANGED),
    }));
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetDlgItem(main, 7), child);
    EXPECT_EQ(GetParent(child), main);
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 110);
    EXPECT_EQ(r.top, 110);
    EXPECT_EQ(GetFocus(), main) << "a child shown at creation does not take the focus";
}

TEST_F(WindowLifetime, RefusedCreation)
{
    struct Case {
        const char* name;
        UINT refusing;
        LRESULT answer;
        std::vector<Expect> sequence;
    };
    const Case cases[] = {
        {"nccreate_false", WM_NCCREATE, FALSE, {Sent("?", WM_NCCREATE), Sent("?", WM_NCDESTROY)}},
        {"create_minus_one", WM_CREATE, -1,
         {Sent("?", WM_NCCREATE), Sent("?", WM_NCCALCSIZE), Sent("?", WM_CREATE), Sent("?", WM_DESTROY),
          Sent("?", WM_NCDESTROY)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        const UINT refusing = c.refusing;
        const LRESULT answer = c.answer;
        SetNextHandler([=](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == refusing) {
                return answer;
            }
            return std::nullopt;
        });
        HWND hwnd = CreateWindowExA(0, kTestClass, "x", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        SetNextHandler(nullptr);
        EXPECT_EQ(hwnd, nullptr);
        recorder.SkipDefaults();
        EXPECT_TRUE(recorder.Matches(c.sequence));
    }
}

TEST_F(WindowLifetime, CreationFailsWithoutClassOrParent)
{
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateWindowExA(0, kTestClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowLifetime, DestroySequenceParentFirstThenChildrenUp)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HWND a = MakeChild("a", main, {0, 0, 10, 10});
    HWND a1 = MakeChild("a1", a, {0, 0, 5, 5});
    HWND b = MakeChild("b", main, {20, 0, 30, 10});
    HWND tool = MakeTopLevel("tool", WS_POPUP, {0, 0, 10, 10}, 0, main);
    recorder.Clear();
    recorder.Only({WM_DESTROY, WM_NCDESTROY});
    recorder.SkipDefaults();
    EXPECT_TRUE(DestroyWindow(main));
    EXPECT_TRUE(recorder.Matches({
        Sent("tool", WM_DESTROY),
        Sent("tool", WM_NCDESTROY),
        Sent("main", WM_DESTROY),
        Sent("a", WM_DESTROY),
        Sent("a1", WM_DESTROY),
        Sent("b", WM_DESTROY),
        Sent("a1", WM_NCDESTROY),
        Sent("a", WM_NCDESTROY),
        Sent("b", WM_NCDESTROY),
        Sent("main", WM_NCDESTROY),
    }));
    for (HWND gone : {main, a, a1, b, tool}) {
        EXPECT_FALSE(IsWindow(gone));
    }
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(DestroyWindow(main)) << "a destroyed handle stays invalid";
}

TEST_F(WindowLifetime, DestroyInsideDestroyIsIgnored)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    int destroys = 0;
    SetHandler(main, [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY) {
            ++destroys;
            EXPECT_FALSE(DestroyWindow(hwnd));
        }
        return std::nullopt;
    });
    EXPECT_TRUE(DestroyWindow(main));
    EXPECT_EQ(destroys, 1);
}

TEST_F(WindowLifetime, PostedMessagesDieWithTheirWindow)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    PostMessageA(main, WM_USER + 1, 0, 0);
    DestroyWindow(main);
    recorder.Clear();
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_USER + 1), 0);
    EXPECT_FALSE(PostMessageA(main, WM_USER, 0, 0));
}

using WindowRelations = WindowTest;

TEST_F(WindowRelations, ParentOwnerAndAncestors)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW, {0, 0, 300, 200});
    HWND child = MakeChild("child", main, {0, 0, 50, 50});
    HWND grandchild = MakeChild("grandchild", child, {0, 0, 10, 10});
    HWND popup = MakeTopLevel("popup", WS_POPUP, {0, 0, 10, 10}, 0, grandchild);
    HWND overlappedOwned = MakeTopLevel("owned", WS_OVERLAPPED, {0, 0, 120, 50}, 0, main);

    EXPECT_EQ(GetParent(grandchild), child);
    EXPECT_EQ(GetParent(popup), main) << "a popup's parent is its owner, the top-level window";
    EXPECT_EQ(GetParent(overlappedOwned), nullptr);
    EXPECT_EQ(GetWindow(overlappedOwned, GW_OWNER), main);
    EXPECT_EQ(GetAncestor(grandchild, GA_PARENT), child);
    EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), main);
    EXPECT_EQ(GetAncestor(main, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), main);
    EXPECT_TRUE(IsChild(main, grandchild));
    EXPECT_FALSE(IsChild(main, popup));
    EXPECT_FALSE(IsChild(child, main));
}

TEST_F(WindowRelations, ZOrderOfChildrenAndSetParent)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
    HWND other = MakeTopLevel("other", WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
    HWND first = MakeChild("first", main, {0, 0, 10, 10});
    HWND second = MakeChild("second", main, {0, 0, 10, 10});
    // Children keep creation order (first on top); new top-level windows go on top.
    EXPECT_EQ(GetWindow(main, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetTopWindow(nullptr), other);

    SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(main, GW_CHILD), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDLAST), first);

    EXPECT_EQ(SetParent(first, other), main);
    EXPECT_EQ(GetParent(first), other);
    EXPECT_EQ(GetWindow(main, GW_CHILD), second);
    EXPECT_EQ(SetParent(other, first), nullptr) << "a window cannot become its own descendant's child";
}

using WindowData = WindowTest;

TEST_F(WindowData, LongValuesStylesAndExtraBytes)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    EXPECT_EQ(GetWindowLongPtrA(main, GWL_STYLE) & WS_POPUP, static_cast<LONG_PTR>(WS_POPUP));
    recorder.Clear();
    recorder.SkipDefaults();
    SetWindowLongPtrA(main, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_TRUE(recorder.Matches({Sent("main", WM_STYLECHANGING).W(static_cast<WPARAM>(GWL_EXSTYLE)),
                                  Sent("main", WM_STYLECHANGED).W(static_cast<WPARAM>(GWL_EXSTYLE))}));
    EXPECT_EQ(GetWindowLongPtrA(main, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
    const LONG_PTR big = static_cast<LONG_PTR>(0x123456789ABCLL);
    EXPECT_EQ(SetWindowLongPtrA(main, GWLP_USERDATA, big), 0);
    EXPECT_EQ(GetWindowLongPtrA(main, GWLP_USERDATA), big) << "user data keeps all pointer bits";

    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    // Offset 16 is the dialog's user value (8 holds its procedure).
    EXPECT_EQ(SetWindowLongPtrA(dialog, 16, big), 0);
    EXPECT_EQ(GetWindowLongPtrA(dialog, 16), big);
    EXPECT_EQ(GetWindowLongPtrA(dialog, 4000), 0) << "indexes past the extra bytes read nothing";
    char name[20];
    EXPECT_EQ(GetClassNameA(dialog, name, sizeof name), 6);
    EXPECT_STREQ(name, "#32770");
    EXPECT_EQ(GetClassNameA(dialog, name, 4), 3);
    EXPECT_STREQ(name, "#32");
}

WNDPROC g_previous = nullptr;
std::vector<UINT> g_seenBySubclass;

LRESULT SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_seenBySubclass.push_back(msg);
    if (msg == WM_USER + 5) {
        return 55;
    }
    return CallWindowProcA(g_previous, hwnd, msg, wParam, lParam);
}

TEST_F(WindowData, SubclassingThroughTheWindowProcedure)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    SetHandler(main, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER + 6) {
            return 66;
        }
        return std::nullopt;
    });
    g_seenBySubclass.clear();
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    ASSERT_NE(g_previous, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(main, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(SubclassProc));
    EXPECT_EQ(SendMessageA(main, WM_USER + 5, 0, 0), 55) << "the subclass answers";
    EXPECT_EQ(SendMessageA(main, WM_USER + 6, 0, 0), 66) << "the previous procedure answers through CallWindowProc";
    PostMessageA(main, WM_USER + 7, 0, 0);
    PumpUntilIdle();
    EXPECT_EQ(g_seenBySubclass, (std::vector<UINT>{WM_USER + 5, WM_USER + 6, WM_USER + 7}));
    SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    EXPECT_EQ(SendMessageA(main, WM_USER + 5, 0, 0), 0);
}

TEST_F(WindowData, TextThroughMessages)
{
    HWND main = MakeTopLevel("main", WS_OVERLAPPEDWINDOW, {0, 0, 200, 100});
    char text[8];
    EXPECT_EQ(GetWindowTextA(main, text, sizeof text), 4);
    EXPECT_STREQ(text, "main");
    EXPECT_TRUE(SetWindowTextA(main, "a longer title"));
    EXPECT_EQ(GetWindowTextLengthA(main), 14);
    EXPECT_EQ(GetWindowTextA(main, text, sizeof text), 7) << "cut to the buffer and terminated";
    EXPECT_STREQ(text, "a longe");
}

TEST_F(WindowData, PropertiesByNameAndByAtom)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    HANDLE value = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_TRUE(SetPropA(main, "OldMenuProc", value));
    EXPECT_EQ(GetPropA(main, "oldmenuproc"), value) << "names compare without case";
    const ATOM atom = GlobalAddAtomA("OldMenuProc");
    ASSERT_NE(atom, 0);
    EXPECT_EQ(GlobalFindAtomA("OLDMENUPROC"), atom);
    EXPECT_EQ(GetPropA(main, MAKEINTATOM(atom)), value) << "the atom of a name finds the property";
    EXPECT_EQ(RemovePropA(main, "OldMenuProc"), value);
    EXPECT_EQ(GetPropA(main, "OldMenuProc"), nullptr);
    GlobalDeleteAtom(atom);
    EXPECT_EQ(GlobalFindAtomA("OldMenuProc"), 0);
    EXPECT_EQ(GlobalAddAtomA("#42"), 42) << "integer atoms stand for themselves";
}

TEST(MessageTable, NamesAndRegisteredMessages)
{
    ResetWindowSystem();
    EXPECT_STREQ(MessageName(WM_NCCALCSIZE), "WM_NCCALCSIZE");
    EXPECT_STREQ(MessageName(MN_GETHMENU), "MN_GETHMENU");
    EXPECT_STREQ(MessageName(WM_USER + 3), "WM_USER+3");
    ASSERT_NE(FindMessageInfo(WM_MOUSEMOVE), nullptr);
    EXPECT_EQ(FindMessageInfo(WM_MOUSEMOVE)->lParam, ParamKind::Point);
    const UINT id = RegisterWindowMessageA("NuvexPing");
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("nuvexping"), id);
    EXPECT_NE(RegisterWindowMessageA("NuvexPong"), id);
    EXPECT_STREQ(MessageName(id), "NuvexPing");
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST(SystemClasses, AreRegistered)
{
    ResetWindowSystem();
    for (const char* name : {"#32768", "#32770", "tooltips_class32"}) {
        SCOPED_TRACE(name);
        WNDCLASSA wc{};
        EXPECT_TRUE(GetClassInfoA(nullptr, name, &wc));
        EXPECT_FALSE(UnregisterClassA(name, nullptr));
    }
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = "#32770";
    EXPECT_EQ(RegisterClassA(&again), 0) << "a registered name cannot be registered twice";
}

} // namespace
} // namespace nuvex::user::testing
