// Menus: the HMENU model and the popup menu loop driven as a person would
// (mouse and keys from an idle script), with its messages, hooks and the
// "#32768" popup windows.
#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using MenuModel = WindowTest;

constexpr UINT kOpen = 100;
constexpr UINT kSave = 101;
constexpr UINT kExit = 102;
constexpr UINT kZoomAll = 32777;

// File: &Open, &Save (grayed), separator, Recent >, E&xit; Recent: one, two.
struct SampleMenu {
    HMENU popup = nullptr;
    HMENU recent = nullptr;
    SampleMenu()
    {
        popup = CreatePopupMenu();
        recent = CreatePopupMenu();
        AppendMenuA(recent, MF_STRING, 200, "&one");
        AppendMenuA(recent, MF_STRING, 201, "&two");
        AppendMenuA(popup, MF_STRING, kOpen, "&Open\tCtrl+O");
        AppendMenuA(popup, MF_STRING | MF_GRAYED, kSave, "&Save");
        AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
        AppendMenuA(popup, MF_STRING, kExit, "E&xit");
    }
};

TEST_F(MenuModel, ItemsStatesAndLookups)
{
    SampleMenu m;
    EXPECT_EQ(GetMenuItemCount(m.popup), 5);
    EXPECT_EQ(GetMenuItemID(m.popup, 0), kOpen);
    EXPECT_EQ(GetMenuItemID(m.popup, 3), static_cast<UINT>(-1)) << "a submenu item has no id";
    EXPECT_EQ(GetSubMenu(m.popup, 3), m.recent);
    EXPECT_EQ(GetSubMenu(m.popup, 0), nullptr);
    EXPECT_EQ(GetMenuState(m.popup, 3, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (2 << 8)));
    EXPECT_EQ(GetMenuState(m.popup, kSave, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(m.popup, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(m.popup, 999, MF_BYCOMMAND), static_cast<UINT>(-1));
    char text[32];
    EXPECT_EQ(GetMenuStringA(m.popup, 201, text, sizeof text, MF_BYCOMMAND), 4) << "found in the submenu";
    EXPECT_STREQ(text, "&two");

    EXPECT_EQ(CheckMenuItem(m.popup, 200, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(m.popup, 200, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(m.popup, kSave, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(m.popup, 999, MF_BYCOMMAND), -1);

    EXPECT_TRUE(InsertMenuA(m.popup, kExit, MF_BYCOMMAND | MF_STRING, kZoomAll, "Zoom &all"));
    EXPECT_EQ(GetMenuItemID(m.popup, 4), kZoomAll) << "inserted before the item named by command";
    EXPECT_TRUE(ModifyMenuA(m.popup, kZoomAll, MF_BYCOMMAND | MF_STRING | MF_CHECKED, kZoomAll, "Zoom all"));
    EXPECT_EQ(GetMenuState(m.popup, kZoomAll, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_TRUE(DeleteMenu(m.popup, kZoomAll, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(m.popup), 5);
    EXPECT_FALSE(DeleteMenu(m.popup, 9, MF_BYPOSITION));

    EXPECT_TRUE(RemoveMenu(m.popup, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(m.recent)) << "removing keeps the submenu";
    AppendMenuA(m.popup, MF_POPUP, reinterpret_cast<UINT_PTR>(m.recent), "&Recent");
    EXPECT_TRUE(DestroyMenu(m.popup));
    EXPECT_FALSE(IsMenu(m.popup));
    EXPECT_FALSE(IsMenu(m.recent)) << "destroying a menu destroys its submenus";
    EXPECT_EQ(GetMenuItemCount(m.popup), -1);
}

TEST_F(MenuModel, ItemInformationRecordSizes)
{
    SampleMenu m;
    struct Case {
        const char* name;
        UINT size;
        bool accepted;
    };
    const Case cases[] = {
        {"this_platform", sizeof(MENUITEMINFOA), true},
        {"thirty_two_bit", 48, true},
        {"thirty_two_bit_without_bitmap", 44, true},
        {"wrong", 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char text[16] = {};
        MENUITEMINFOA info{};
        info.cbSize = c.size;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_EQ(GetMenuItemInfoA(m.popup, 0, TRUE, &info) != FALSE, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(info.wID, kOpen);
            EXPECT_STREQ(text, "&Open\tCtrl+O");
            EXPECT_EQ(info.cch, 12u);
        }
    }
    MENUITEMINFOA set{};
    set.cbSize = 48;
    set.fMask = MIIM_DATA | MIIM_FTYPE;
    set.fType = MFT_OWNERDRAW;
    set.dwItemData = 0xABCDEF0123ull;
    ASSERT_TRUE(SetMenuItemInfoA(m.popup, kExit, FALSE, &set));
    MENUITEMINFOA get{};
    get.cbSize = sizeof get;
    get.fMask = MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(m.popup, kExit, FALSE, &get));
    EXPECT_EQ(get.dwItemData, 0xABCDEF0123ull) << "item data keeps every pointer bit";
    EXPECT_EQ(get.fType, MFT_OWNERDRAW);
    DestroyMenu(m.popup);
}

TEST_F(MenuModel, MenuInformationAndDefaultItem)
{
    SampleMenu m;
    MENUINFO info{};
    info.cbSize = 28;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    EXPECT_TRUE(SetMenuInfo(m.popup, &info));
    MENUINFO read{};
    read.cbSize = sizeof read;
    read.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(m.recent, &read));
    EXPECT_EQ(read.hbrBack, info.hbrBack) << "applied to the submenus too";
    EXPECT_EQ(GetMenuDefaultItem(m.popup, FALSE, 0), static_cast<UINT>(-1));
    EXPECT_TRUE(SetMenuDefaultItem(m.popup, kExit, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(m.popup, FALSE, 0), kExit);
    EXPECT_EQ(GetMenuDefaultItem(m.popup, TRUE, 0), 4u);
    DestroyMenu(m.popup);
}

TEST_F(MenuModel, FrameAndSystemMenus)
{
    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    RECT before{};
    GetClientRect(frame, &before);
    HMENU bar = CreateMenu();
    SampleMenu file;
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file.popup), "&File");
    ASSERT_TRUE(SetMenu(frame, bar));
    EXPECT_EQ(GetMenu(frame), bar);
    RECT after{};
    GetClientRect(frame, &after);
    EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU)) << "the bar takes room from the client";
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &item));
    EXPECT_EQ(item.top, 4 + 19);
    EXPECT_EQ(MenuItemFromPoint(frame, bar, POINT{item.left + 2, item.top + 2}), 0);
    const POINT inBar{item.left + 2, item.top + 2};
    SetHandler(frame, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return msg == WM_NCLBUTTONDOWN ? std::optional<LRESULT>(0) : std::nullopt;
    });
    EXPECT_EQ(WindowFromPoint(inBar), frame);

    HMENU system = GetSystemMenu(frame, FALSE);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(GetSystemMenu(frame, FALSE), system);
    EXPECT_NE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyWindow(frame);
    EXPECT_FALSE(IsMenu(bar)) << "a frame's menu dies with it";
    EXPECT_FALSE(IsMenu(file.popup));
    EXPECT_FALSE(IsMenu(system));
}

// Popup menu loop ------------------------------------------------------------------

// The person at the keyboard: each idle call runs the next step.
class Person {
public:
    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void Install()
    {
        SetIdleScript([this]() {
            if (m_steps.empty()) {
                return false;
            }
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step();
            return true;
        });
    }

private:
    std::deque<std::function<void()>> m_steps;
};

class PopupMenus : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        owner = MakeTopLevel("owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 600, 400});
        PumpUntilIdle();
        recorder.Clear();
        recorder.SkipDefaults();
    }
    // Centre of item `index` of a popup at (x, y) whose items above are
    // all of the standard height (separators counted by `separatorsAbove`).
    static POINT ItemCentre(POINT at, int index, int separatorsAbove = 0)
    {
        const int cy = GetSystemMetrics(SM_CYMENU);
        return POINT{at.x + 3 + 10, at.y + 3 + (index - separatorsAbove) * cy + separatorsAbove * 9 + cy / 2};
    }
    HWND owner = nullptr;
    Person person;
};

TEST_F(PopupMenus, ClickChoosesAndTheOwnerHearsTheLoop)
{
    SampleMenu m;
    const POINT at{100, 100};
    HWND seenPopup = nullptr;
    std::string className;
    person.Then([&]() {
        seenPopup = WindowFromPoint(ItemCentre(at, 0));
        recorder.Name(seenPopup, "popup");
        char name[16] = {};
        GetClassNameA(seenPopup, name, sizeof name);
        className = name;
        InjectMouseMove(ItemCentre(at, 0));
    });
    person.Then([&]() {
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
    });
    person.Install();
    recorder.Only({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_EXITMENULOOP,
                   WM_COMMAND});
    const BOOL chosen = TrackPopupMenu(m.popup, TPM_RETURNCMD | TPM_LEFTALIGN, at.x, at.y, 0, owner, nullptr);
    EXPECT_EQ(chosen, static_cast<BOOL>(kOpen));
    ASSERT_NE(seenPopup, nullptr);
    EXPECT_EQ(className, "#32768");
    EXPECT_FALSE(IsWindow(seenPopup)) << "the popup window is gone after the loop";
    const LPARAM menu = reinterpret_cast<LPARAM>(m.popup);
    EXPECT_TRUE(recorder.Matches({
        Sent("owner", WM_ENTERMENULOOP).W(TRUE),
        Sent("owner", WM_INITMENU).W(static_cast<WPARAM>(menu)),
        Sent("owner", WM_INITMENUPOPUP).W(static_cast<WPARAM>(menu)).L(0),
        Sent("owner", WM_MENUSELECT).W(MAKEWPARAM(kOpen, MF_HILITE | MF_MOUSESELECT)).L(menu),
        Sent("owner", WM_UNINITMENUPOPUP).W(static_cast<WPARAM>(menu)),
        Sent("owner", WM_MENUSELECT).W(MAKEWPARAM(0, 0xFFFF)).L(0),
        Sent("owner", WM_EXITMENULOOP).W(TRUE),
    }));
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_COMMAND), 0) << "TPM_RETURNCMD posts no command";
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, KeyboardNavigationByTable)
{
    struct Case {
        const char* name;
        std::vector<int> keys;
        std::vector<char> chars;
        UINT result;
    };
    const Case cases[] = {
        {"down_enter_first", {VK_DOWN, VK_RETURN}, {}, kOpen},
        {"grayed_item_is_not_chosen", {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, {}, 0},
        {"separator_skipped_wrap_up", {VK_UP, VK_RETURN}, {}, kExit},
        {"submenu_by_right", {VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, {}, 201},
        {"left_closes_submenu", {VK_UP, VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, {}, kExit},
        {"escape_cancels", {VK_ESCAPE}, {}, 0},
        {"mnemonic", {}, {'x'}, kExit},
        {"mnemonic_into_submenu", {}, {'r', 't'}, 201},
    };
    SampleMenu m;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Person script;
        for (int key : c.keys) {
            script.Then([key]() { InjectKey(key, KeyAction::Down); });
        }
        for (char ch : c.chars) {
            script.Then([ch]() { InjectKey(std::toupper(ch), KeyAction::Down); });
        }
        script.Install();
        EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), static_cast<BOOL>(c.result));
        for (int key : c.keys) {
            InjectKey(key, KeyAction::Up);
        }
        SetIdleScript(nullptr);
        PumpUntilIdle();
    }
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, WithoutReturnCommandTheOwnerGetsWmCommand)
{
    SampleMenu m;
    person.Then([]() { InjectKey('X', KeyAction::Down); });
    person.Install();
    EXPECT_TRUE(TrackPopupMenu(m.popup, 0, 10, 10, 0, owner, nullptr));
    recorder.Clear();
    recorder.Only({WM_COMMAND});
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("owner", WM_COMMAND).W(MAKEWPARAM(kExit, 0)).L(0)}));
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, UnknownCharacterAsksTheOwner)
{
    SampleMenu m;
    SetHandler(owner, [](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_MENUCHAR && LOWORD(wParam) == 'q') {
            return MAKELRESULT(4, MNC_EXECUTE);
        }
        return std::nullopt;
    });
    person.Then([]() { InjectKey('Q', KeyAction::Down); });
    person.Install();
    EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), static_cast<BOOL>(kExit));
    EXPECT_EQ(recorder.Count(WM_MENUCHAR), 1);
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, ClickOutsideCancels)
{
    SampleMenu m;
    person.Then([]() {
        InjectMouseMove(POINT{500, 350});
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
    });
    person.Install();
    EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
    DestroyMenu(m.popup);
}

HHOOK g_menuFilter = nullptr;
HWND g_menuOwner = nullptr;
std::vector<UINT> g_filtered;
LRESULT CancelOnRight(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU) {
        g_filtered.push_back(msg->message);
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RIGHT) {
            PostMessageA(g_menuOwner, WM_CANCELMODE, 0, 0);
            return 1;
        }
    }
    return CallNextHookEx(g_menuFilter, code, wParam, lParam);
}

TEST_F(PopupMenus, MessageFilterHookAndCancelMode)
{
    SampleMenu m;
    g_menuOwner = owner;
    g_filtered.clear();
    g_menuFilter = SetWindowsHookExA(WH_MSGFILTER, CancelOnRight, nullptr, 0);
    person.Then([]() { InjectKey(VK_RIGHT, KeyAction::Down); });
    person.Install();
    recorder.Only({WM_CANCELMODE});
    EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
    UnhookWindowsHookEx(g_menuFilter);
    EXPECT_NE(std::find(g_filtered.begin(), g_filtered.end(), WM_KEYDOWN), g_filtered.end());
    EXPECT_EQ(g_filtered.back(), WM_CANCELMODE) << "the cancel passed the filter and ended the loop";
    EXPECT_TRUE(recorder.Matches({Posted("owner", WM_CANCELMODE)}));
    DestroyMenu(m.popup);
}

HHOOK g_createHook = nullptr;
HMENU g_menuAtCreate = nullptr;
LRESULT WatchPopupCreation(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_CREATE) {
        char name[20];
        if (GetClassNameA(cwp->hwnd, name, sizeof name) == 6 && std::strcmp(name, "#32768") == 0) {
            g_menuAtCreate = reinterpret_cast<HMENU>(SendMessageA(cwp->hwnd, MN_GETHMENU, 0, 0));
        }
    }
    return CallNextHookEx(g_createHook, code, wParam, lParam);
}

TEST_F(PopupMenus, PopupWindowTellsItsMenuFromCreationOn)
{
    SampleMenu m;
    g_menuAtCreate = nullptr;
    g_createHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchPopupCreation, nullptr, 0);
    person.Then([]() { InjectKey(VK_ESCAPE, KeyAction::Down); });
    person.Install();
    TrackPopupMenu(m.popup, 0, 10, 10, 0, owner, nullptr);
    UnhookWindowsHookEx(g_createHook);
    EXPECT_EQ(g_menuAtCreate, m.popup);
    DestroyMenu(m.popup);
}

// A popup-menu window subclassed from a WH_CALLWNDPROC hook at WM_CREATE,
// its old procedure kept in a window property, as a menu painter does.
HHOOK g_subclassHook = nullptr;
std::vector<UINT> g_subclassSeen;

LRESULT MenuSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_subclassSeen.push_back(msg);
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, "OldMenuProc"));
    if (msg == WM_SHOWWINDOW && wParam == FALSE) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, "OldMenuProc");
    }
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

LRESULT SubclassMenuWindows(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char name[20];
    if (code == HC_ACTION && cwp->message == WM_CREATE && GetClassNameA(cwp->hwnd, name, sizeof name) == 6 &&
        std::strcmp(name, "#32768") == 0 && GetPropA(cwp->hwnd, "OldMenuProc") == nullptr) {
        const LONG_PTR old = GetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC);
        SetPropA(cwp->hwnd, "OldMenuProc", reinterpret_cast<HANDLE>(old));
        SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSubclassProc));
    }
    return CallNextHookEx(g_subclassHook, code, wParam, lParam);
}

TEST_F(PopupMenus, PopupWindowSubclassedAtCreationSeesItsLifeAfterwards)
{
    SampleMenu m;
    g_subclassSeen.clear();
    g_subclassHook = SetWindowsHookExA(WH_CALLWNDPROC, SubclassMenuWindows, nullptr, 0);
    person.Then([]() { InjectKey(VK_ESCAPE, KeyAction::Down); });
    person.Install();
    TrackPopupMenu(m.popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    UnhookWindowsHookEx(g_subclassHook);
    auto seen = [](UINT msg) {
        return std::find(g_subclassSeen.begin(), g_subclassSeen.end(), msg) != g_subclassSeen.end();
    };
    ASSERT_FALSE(g_subclassSeen.empty());
    EXPECT_EQ(g_subclassSeen.front(), WM_CREATE) << "the subclass starts with the creation message itself";
    for (UINT msg : {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}) {
        SCOPED_TRACE(MessageName(msg));
        EXPECT_TRUE(seen(msg));
    }
    EXPECT_EQ(g_subclassSeen.back(), WM_SHOWWINDOW) << "hiding unsubclassed the window";
    EXPECT_FALSE(seen(WM_NCDESTROY));
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, HoverOpensTheSubmenuAsASecondPopup)
{
    SampleMenu m;
    const POINT at{100, 100};
    HWND second = nullptr;
    // "Recent" lies below the 9-pixel separator.
    person.Then([&]() { InjectMouseMove(ItemCentre(at, 3, 1)); });
    person.Then([&]() {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(owner, m.recent, 1, &r));
        second = WindowFromPoint(POINT{r.left + 5, r.top + 5});
        InjectMouseMove(POINT{r.left + 5, r.top + 5});
    });
    person.Then([]() {
        InjectMouseButton(MouseButton::Left, KeyAction::Down);
        InjectMouseButton(MouseButton::Left, KeyAction::Up);
    });
    person.Install();
    EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr), 201);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageA(second, MN_GETHMENU, 0, 0)), nullptr) << "gone by now";
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, SelectedItemIsPaintedHighlighted)
{
    SampleMenu m;
    const POINT at{100, 100};
    COLORREF selected = 0;
    COLORREF plain = 0;
    auto pixel = [](HWND popup, int x, int y) {
        const GdiSurface s = GetWindowSurface(popup);
        const uint32_t bgra = s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.stride) + static_cast<size_t>(x)];
        return RGB(static_cast<BYTE>((bgra >> 16) & 0xFF), static_cast<BYTE>((bgra >> 8) & 0xFF),
                   static_cast<BYTE>(bgra & 0xFF));
    };
    person.Then([&]() { InjectMouseMove(ItemCentre(at, 0)); });
    person.Then([&]() {
        HWND popup = WindowFromPoint(ItemCentre(at, 0));
        UpdateWindow(popup);
        // Right end of the first item (no text there), and of the last.
        RECT r{};
        GetWindowRect(popup, &r);
        const int x = (r.right - r.left) - 3 - 4;
        selected = pixel(popup, x, 3 + 2);
        plain = pixel(popup, x, (r.bottom - r.top) - 3 - 2);
        InjectKey(VK_ESCAPE, KeyAction::Down);
    });
    person.Install();
    TrackPopupMenu(m.popup, TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
    EXPECT_EQ(selected, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(plain, GetSysColor(COLOR_MENU));
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner)
{
    HMENU popup = CreatePopupMenu();
    const ULONG_PTR record = 0x5EC0DE;
    AppendMenuA(popup, MF_OWNERDRAW, 700, reinterpret_cast<LPCSTR>(record));
    AppendMenuA(popup, MF_STRING, 701, "&Plain");
    std::vector<UINT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    SetHandler(owner, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(mis->CtlType, ODT_MENU);
            EXPECT_EQ(mis->itemData, record);
            measured.push_back(mis->itemID);
            mis->itemWidth = 120;
            mis->itemHeight = 30;
            return TRUE;
        }
        if (msg == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    });
    RECT first{};
    person.Then([&]() {
        GetMenuItemRect(owner, popup, 0, &first);
        InjectKey(VK_ESCAPE, KeyAction::Down);
    });
    person.Install();
    TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    EXPECT_EQ(measured, std::vector<UINT>{700});
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().itemID, 700u);
    EXPECT_EQ(drawn.front().itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(drawn.front().hwndItem, reinterpret_cast<HWND>(popup)) << "the menu handle stands in the window field";
    EXPECT_EQ(first.bottom - first.top, 30) << "the measured height";
    EXPECT_GE(first.right - first.left, 120);
    DestroyMenu(popup);
}

TEST_F(PopupMenus, NothingToWaitForCancels)
{
    SampleMenu m;
    EXPECT_EQ(TrackPopupMenu(m.popup, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
    DestroyMenu(m.popup);
}

TEST_F(PopupMenus, PlacementByAlignmentFlags)
{
    SampleMenu m;
    struct Case {
        const char* name;
        UINT flags;
        POINT at;
        bool rightOfPoint;
        bool belowPoint;
    };
    const Case cases[] = {
        {"left_top", TPM_LEFTALIGN | TPM_TOPALIGN, {300, 300}, true, true},
        {"right_bottom", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {300, 300}, false, false},
        {"clamped_at_screen_edge", 0, {1020, 760}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT popup{};
        Person script;
        script.Then([&]() {
            ASSERT_TRUE(GetMenuItemRect(owner, m.popup, 0, &popup));
            InjectKey(VK_ESCAPE, KeyAction::Down);
        });
        script.Install();
        TrackPopupMenu(m.popup, c.flags | TPM_RETURNCMD, c.at.x, c.at.y, 0, owner, nullptr);
        EXPECT_EQ(popup.left >= c.at.x, c.rightOfPoint);
        EXPECT_EQ(popup.top >= c.at.y, c.belowPoint);
        EXPECT_LE(popup.right, GetSystemMetrics(SM_CXSCREEN));
        InjectKey(VK_ESCAPE, KeyAction::Up);
        SetIdleScript(nullptr);
        PumpUntilIdle();
    }
    DestroyMenu(m.popup);
}

} // namespace
} // namespace nuvex::user::testing
