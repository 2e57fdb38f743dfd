// The queue: posting order, WM_QUIT, key translation, hooks and timers on
// the scripted clock.
#include "platform/user/input.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

using MessageQueue = WindowTest;

TEST_F(MessageQueue, PostedBeforeQuitAndQuitEndsGetMessage)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    PostMessageA(main, WM_USER + 1, 1, 2);
    PostQuitMessage(3);
    PostMessageA(main, WM_USER + 2, 0, 0);
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 2) << "posted messages come before WM_QUIT";
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "WM_QUIT comes once";
}

TEST_F(MessageQueue, PeekWithoutRemovingAndFilters)
{
    HWND a = MakeTopLevel("a", WS_POPUP, {0, 0, 10, 10});
    HWND b = MakeTopLevel("b", WS_POPUP, {0, 0, 10, 10});
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2) << "the window filter skips other windows";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr) << "thread messages have no window";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, TranslateTypesCharactersWithTheKeyboardState)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
    ASSERT_EQ(GetFocus(), main);
    struct Case {
        const char* name;
        std::vector<int> held;
        int key;
        UINT message;
        WPARAM character;
    };
    const Case cases[] = {
        {"letter", {}, 'A', WM_CHAR, 'a'},
        {"shifted_letter", {VK_SHIFT}, 'A', WM_CHAR, 'A'},
        {"control_letter", {VK_CONTROL}, 'C', WM_CHAR, 3},
        {"shifted_digit", {VK_SHIFT}, '1', WM_CHAR, '!'},
        {"space", {}, VK_SPACE, WM_CHAR, ' '},
        {"enter", {}, VK_RETURN, WM_CHAR, '\r'},
        {"escape", {}, VK_ESCAPE, WM_CHAR, 27},
        {"alt_letter", {VK_MENU}, 'F', WM_SYSCHAR, 'f'},
        {"arrow_types_nothing", {}, VK_LEFT, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int vk : c.held) {
            InjectKey(vk, KeyAction::Down);
        }
        InjectKey(c.key, KeyAction::Down);
        InjectKey(c.key, KeyAction::Up);
        for (int vk : c.held) {
            InjectKey(vk, KeyAction::Up);
        }
        recorder.Clear();
        PumpUntilIdle();
        int typed = 0;
        for (const Delivered& d : recorder.Log()) {
            if (d.delivery == MessageDelivery::Posted && (d.message == WM_CHAR || d.message == WM_SYSCHAR)) {
                ++typed;
                EXPECT_EQ(d.message, c.message);
                EXPECT_EQ(d.wParam, c.character);
            }
        }
        EXPECT_EQ(typed, c.message == 0 ? 0 : 1);
    }
}

TEST_F(MessageQueue, KeyMessagesAndKeyState)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
    InjectKey(VK_SHIFT, KeyAction::Down);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0) << "the async state follows input at once";
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "the queue state follows the messages taken";
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, main);
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(msg.lParam)) & 0xFF, 42) << "scan code of Shift";
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);

    InjectKey(VK_MENU, KeyAction::Down);
    InjectKey('X', KeyAction::Down);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYDOWN);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYDOWN);
    EXPECT_NE(HIWORD(static_cast<uintptr_t>(msg.lParam)) & KF_ALTDOWN, 0) << "Alt context bit";
    InjectKey('X', KeyAction::Up);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYUP);
    EXPECT_NE(HIWORD(static_cast<uintptr_t>(msg.lParam)) & KF_UP, 0);
    EXPECT_NE(HIWORD(static_cast<uintptr_t>(msg.lParam)) & KF_REPEAT, 0) << "previous state down";
}

// Hooks --------------------------------------------------------------------------

std::vector<std::string> g_hookLog;
HHOOK g_first = nullptr;
HHOOK g_second = nullptr;

LRESULT CallWndFirst(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (cwp->message >= WM_USER) {
        g_hookLog.push_back(std::string("first ") + MessageName(cwp->message));
    }
    return CallNextHookEx(g_first, code, wParam, lParam);
}

LRESULT CallWndSecond(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (cwp->message >= WM_USER) {
        g_hookLog.push_back(std::string("second ") + MessageName(cwp->message));
    }
    return CallNextHookEx(g_second, code, wParam, lParam);
}

TEST_F(MessageQueue, CallWndProcHooksSeeSentMessagesNewestFirst)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    g_hookLog.clear();
    g_first = SetWindowsHookExA(WH_CALLWNDPROC, CallWndFirst, nullptr, 0);
    g_second = SetWindowsHookExA(WH_CALLWNDPROC, CallWndSecond, nullptr, 0);
    ASSERT_NE(g_first, nullptr);
    SendMessageA(main, WM_USER + 1, 0, 0);
    PostMessageA(main, WM_USER + 2, 0, 0);
    PumpUntilIdle();
    EXPECT_EQ(g_hookLog, (std::vector<std::string>{"second WM_USER+1", "first WM_USER+1"}))
        << "posted messages do not pass the call hooks";
    EXPECT_TRUE(UnhookWindowsHookEx(g_second));
    EXPECT_FALSE(UnhookWindowsHookEx(g_second));
    g_hookLog.clear();
    SendMessageA(main, WM_USER + 3, 0, 0);
    EXPECT_EQ(g_hookLog, (std::vector<std::string>{"first WM_USER+3"}));
    UnhookWindowsHookEx(g_first);
}

HHOOK g_filter = nullptr;
int g_filterCalls = 0;

LRESULT MenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    ++g_filterCalls;
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_KEYDOWN && msg->wParam == VK_LEFT) {
        return 1;
    }
    return CallNextHookEx(g_filter, code, wParam, lParam);
}

TEST_F(MessageQueue, MessageFilterHookDecidesWhatALoopDrops)
{
    g_filterCalls = 0;
    MSG left{nullptr, WM_KEYDOWN, VK_LEFT, 0, 0, {}};
    MSG right{nullptr, WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
    EXPECT_FALSE(CallMsgFilterA(&left, MSGF_MENU)) << "no hook, nothing dropped";
    g_filter = SetWindowsHookExA(WH_MSGFILTER, MenuFilter, nullptr, 0);
    EXPECT_TRUE(CallMsgFilterA(&left, MSGF_MENU));
    EXPECT_FALSE(CallMsgFilterA(&right, MSGF_MENU));
    EXPECT_FALSE(CallMsgFilterA(&left, MSGF_DIALOGBOX));
    EXPECT_EQ(g_filterCalls, 3);
    UnhookWindowsHookEx(g_filter);
    EXPECT_FALSE(CallMsgFilterA(&left, MSGF_MENU));
}

int g_getMessageSeen = 0;
LRESULT GetMessageHook(int, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (wParam == PM_REMOVE && msg->message == WM_USER + 9) {
        ++g_getMessageSeen;
        msg->message = WM_USER + 10; // a hook may change the message
    }
    return 0;
}

TEST_F(MessageQueue, GetMessageHookSeesAndMayChangeTakenMessages)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    g_getMessageSeen = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, 0);
    PostMessageA(main, WM_USER + 9, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(g_getMessageSeen, 0);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(g_getMessageSeen, 1);
    EXPECT_EQ(msg.message, WM_USER + 10);
    UnhookWindowsHookEx(hook);
}

// Timers --------------------------------------------------------------------------

int g_timerProcCalls = 0;
void CountingTimerProc(HWND, UINT msg, UINT_PTR, DWORD)
{
    EXPECT_EQ(msg, WM_TIMER);
    ++g_timerProcCalls;
}

TEST_F(MessageQueue, TimersFollowTheScriptedClockWithoutPilingUp)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    EXPECT_EQ(SetTimer(main, 31, 100, nullptr), 31u);
    recorder.Only({WM_TIMER});
    recorder.SkipDefaults();
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_TIMER), 0) << "not due yet";
    AdvanceWindowSystemTime(99);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_TIMER), 0);
    AdvanceWindowSystemTime(1);
    PumpUntilIdle();
    EXPECT_TRUE(recorder.Matches({Posted("main", WM_TIMER).W(31)}));
    recorder.Clear();
    AdvanceWindowSystemTime(1000);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_TIMER), 1) << "a late timer fires once, it does not catch up";
    EXPECT_TRUE(KillTimer(main, 31));
    EXPECT_FALSE(KillTimer(main, 31));
    recorder.Clear();
    AdvanceWindowSystemTime(1000);
    PumpUntilIdle();
    EXPECT_EQ(recorder.Count(WM_TIMER), 0);

    g_timerProcCalls = 0;
    const UINT_PTR threadTimer = SetTimer(nullptr, 0, 50, CountingTimerProc);
    EXPECT_NE(threadTimer, 0u);
    AdvanceWindowSystemTime(50);
    PumpUntilIdle();
    EXPECT_EQ(g_timerProcCalls, 1);
    KillTimer(nullptr, threadTimer);
}

TEST_F(MessageQueue, GetMessageAdvancesTheClockToTheNextTimer)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    SetTimer(main, 1, 250, nullptr);
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(GetWindowSystemTime(), 250u);
    EXPECT_EQ(msg.time, 250u);
}

TEST_F(MessageQueue, TimersDieWithTheirWindow)
{
    HWND main = MakeTopLevel("main", WS_POPUP, {0, 0, 10, 10});
    SetTimer(main, 5, 10, nullptr);
    DestroyWindow(main);
    EXPECT_FALSE(KillTimer(main, 5));
    EXPECT_EQ(SetTimer(main, 5, 10, nullptr), 0u);
}

TEST_F(MessageQueue, IdleScriptPlaysInputWhileGetMessageWaits)
{
    HWND main = MakeTopLevel("main", WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
    PumpUntilIdle();
    int step = 0;
    SetIdleScript([&]() {
        if (step++ == 0) {
            PostMessageA(main, WM_USER + 4, 0, 0);
            return true;
        }
        return false;
    });
    MSG msg{};
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 4);
    EXPECT_EQ(step, 1);
}

} // namespace
} // namespace nuvex::user::testing
