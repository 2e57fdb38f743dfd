// Accelerators, key names and scan codes, monitors, and the frame menu
// bar opened by a click.
#include <cstring>
#include <deque>

#include "platform/user/input.h"
#include "platform/user/keyboard.h"
#include "platform/user/menu.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using Accelerators = WindowTest;

constexpr ACCEL kTable[] = {
    {FVIRTKEY, VK_ESCAPE, 32773},
    {FVIRTKEY, VK_F3, 32780},
    {FVIRTKEY, VK_F1, 57670},
    {FVIRTKEY | FSHIFT, VK_F1, 57669},
    {FVIRTKEY | FCONTROL, 'S', 57603},
    {0, '?', 40001},
};

TEST_F(Accelerators, TableCopiesAndTranslation)
{
    HACCEL table = CreateAcceleratorTableA(kTable, static_cast<int>(std::size(kTable)));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 6);
    ACCEL copy[3]{};
    EXPECT_EQ(CopyAcceleratorTableA(table, copy, 3), 3);
    EXPECT_EQ(copy[2].cmd, 57670);
    EXPECT_EQ(CreateAcceleratorTableA(kTable, 0), nullptr);

    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    struct Case {
        const char* name;
        std::vector<int> chord;
        WPARAM command; // 0: nothing
    };
    const Case cases[] = {
        {"escape", {VK_ESCAPE}, MAKEWPARAM(32773, 1)},
        {"f3", {VK_F3}, MAKEWPARAM(32780, 1)},
        {"f1", {VK_F1}, MAKEWPARAM(57670, 1)},
        {"shift_f1", {VK_SHIFT, VK_F1}, MAKEWPARAM(57669, 1)},
        {"ctrl_s", {VK_CONTROL, 'S'}, MAKEWPARAM(57603, 1)},
        {"plain_s_is_no_accelerator", {'S'}, 0},
        {"character_entry", {VK_SHIFT, VK_OEM_2}, MAKEWPARAM(40001, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int vk : c.chord) {
            InjectKey(vk, KeyAction::Down);
        }
        for (auto it = c.chord.rbegin(); it != c.chord.rend(); ++it) {
            InjectKey(*it, KeyAction::Up);
        }
        recorder.Clear();
        recorder.SkipDefaults();
        recorder.Only({WM_COMMAND});
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (TranslateAcceleratorA(frame, table, &msg) == 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (c.command == 0) {
            EXPECT_TRUE(recorder.Matches({}));
        } else {
            EXPECT_TRUE(recorder.Matches({Sent("frame", WM_COMMAND).W(c.command).L(0)}));
        }
    }
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
}

TEST_F(Accelerators, GrayedMenuCommandIsSwallowed)
{
    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 200});
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING | MF_GRAYED, 32780, "Find &next\tF3");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    SetMenu(frame, bar);
    HACCEL table = CreateAcceleratorTableA(kTable, static_cast<int>(std::size(kTable)));
    MSG msg{frame, WM_KEYDOWN, VK_F3, 0, 0, {}};
    recorder.Clear();
    recorder.SkipDefaults();
    EXPECT_NE(TranslateAcceleratorA(frame, table, &msg), 0);
    EXPECT_EQ(recorder.Count(WM_COMMAND), 0);
    EXPECT_EQ(recorder.Count(WM_INITMENU), 1) << "the menu gets its chance to update first";
    DestroyAcceleratorTable(table);
}

TEST(KeyNames, ScanCodesAndNames)
{
    struct Case {
        int vk;
        UINT scan;
        const char* name;
    };
    const Case cases[] = {
        {VK_SPACE, 57, "Space"}, {VK_ESCAPE, 1, "Esc"}, {VK_F3, 61, "F3"},   {'A', 30, "A"},
        {VK_CONTROL, 29, "Ctrl"}, {'0', 11, "0"},       {VK_NEXT, 81, "Page Down"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MapVirtualKeyA(static_cast<UINT>(c.vk), MAPVK_VK_TO_VSC), c.scan);
        EXPECT_EQ(MapVirtualKeyA(c.scan, MAPVK_VSC_TO_VK), static_cast<UINT>(c.vk));
        char name[16];
        EXPECT_EQ(GetKeyNameTextA(static_cast<LONG>(c.scan << 16), name, sizeof name),
                  static_cast<int>(std::strlen(c.name)));
        EXPECT_STREQ(name, c.name);
    }
    EXPECT_EQ(MapVirtualKeyA(VK_OEM_2, MAPVK_VK_TO_CHAR), static_cast<UINT>('/'));
    char tiny[3];
    EXPECT_EQ(GetKeyNameTextA(static_cast<LONG>(81u << 16), tiny, sizeof tiny), 2) << "cut and terminated";
    EXPECT_STREQ(tiny, "Pa");
}

using Monitors = WindowTest;

TEST_F(Monitors, OneMonitorCoversTheScreen)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {100, 100, 200, 200});
    HMONITOR monitor = MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST);
    ASSERT_NE(monitor, nullptr);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(monitor, &info));
    EXPECT_EQ(info.rcMonitor.right, 1024);
    EXPECT_EQ(info.rcWork.bottom, 768);
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    RECT far{5000, 5000, 5100, 5100};
    EXPECT_EQ(MonitorFromRect(&far, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromRect(&far, MONITOR_DEFAULTTONEAREST), monitor);
    info.cbSize = 12;
    EXPECT_FALSE(GetMonitorInfoA(monitor, &info));
}

TEST_F(Monitors, SystemParametersOfTheClassicDesktop)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.iMenuHeight, 18);
    EXPECT_GT(metrics.lfMenuFont.lfFaceName[0], 0);
    metrics.cbSize = 100;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 100, &metrics, 0));
    HIGHCONTRASTA contrast{};
    contrast.cbSize = 12;
    contrast.dwFlags = HCF_HIGHCONTRASTON;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETHIGHCONTRAST, 12, &contrast, 0));
    EXPECT_EQ(contrast.dwFlags & HCF_HIGHCONTRASTON, 0u);
    BOOL flag = TRUE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &flag, 0));
    EXPECT_FALSE(flag);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION), 15);
    EXPECT_EQ(GetSystemMetrics(SM_REMOTESESSION), 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
}

using MenuBar = WindowTest;

TEST_F(MenuBar, ClickOpensTheItemsPopupBelowIt)
{
    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 300, "&New");
    AppendMenuA(file, MF_STRING, 301, "&Close");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    SetMenu(frame, bar);
    PumpUntilIdle();
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &item));
    int step = 0;
    RECT popupItem{};
    SetIdleScript([&]() {
        switch (step++) {
        case 0:
            EXPECT_TRUE(GetMenuItemRect(frame, file, 1, &popupItem));
            EXPECT_GE(popupItem.top, item.bottom) << "the popup opens below the bar item";
            InjectKey(VK_DOWN, KeyAction::Down);
            InjectKey(VK_DOWN, KeyAction::Down);
            InjectKey(VK_RETURN, KeyAction::Down);
            return true;
        default: return false;
        }
    });
    InjectMouseMove(POINT{item.left + 3, item.top + 3});
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    recorder.Clear();
    recorder.SkipDefaults();
    recorder.Only({WM_COMMAND});
    PumpUntilIdle();
    SetIdleScript(nullptr);
    EXPECT_TRUE(recorder.Matches({Posted("frame", WM_COMMAND).W(MAKEWPARAM(301, 0))}));
}

TEST_F(MenuBar, AltOpensTheFirstItemAndArrowsWalkTheBar)
{
    HWND frame = MakeTopLevel("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 400, 300});
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 300, "&New");
    AppendMenuA(view, MF_STRING, 400, "&Zoom all");
    AppendMenuA(view, MF_STRING, 401, "Zoom &window");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
    SetMenu(frame, bar);
    PumpUntilIdle();
    struct Case {
        const char* name;
        std::vector<int> opening; // pressed and released before the loop
        std::vector<int> inLoop;  // pressed while the popup is open
        WPARAM command;
    };
    const Case cases[] = {
        {"alt_right_down_enter", {VK_MENU}, {VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}, MAKEWPARAM(401, 0)},
        {"f10_enter_on_first", {VK_F10}, {VK_DOWN, VK_RETURN}, MAKEWPARAM(300, 0)},
        {"left_wraps_to_last", {VK_MENU}, {VK_LEFT, VK_DOWN, VK_RETURN}, MAKEWPARAM(400, 0)},
        {"escape_leaves", {VK_MENU}, {VK_ESCAPE}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::deque<int> keys(c.inLoop.begin(), c.inLoop.end());
        SetIdleScript([&keys]() {
            if (keys.empty()) {
                return false;
            }
            InjectKey(keys.front(), KeyAction::Down);
            InjectKey(keys.front(), KeyAction::Up);
            keys.pop_front();
            return true;
        });
        for (int vk : c.opening) {
            InjectKey(vk, KeyAction::Down);
            InjectKey(vk, KeyAction::Up);
        }
        recorder.Clear();
        recorder.SkipDefaults();
        recorder.Only({WM_COMMAND});
        PumpUntilIdle();
        SetIdleScript(nullptr);
        if (c.command == 0) {
            EXPECT_TRUE(recorder.Matches({}));
        } else {
            EXPECT_TRUE(recorder.Matches({Posted("frame", WM_COMMAND).W(c.command)}));
        }
        EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION) & MF_HILITE, 0u) << "no bar item stays lit";
    }
}

} // namespace
} // namespace nuvex::user::testing
