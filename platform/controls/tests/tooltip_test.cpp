// Tooltips: a tip that appears after the hover delay on the scripted
// clock with the text its owner gives, and goes away when the mouse
// leaves, when it times out or on a click.
#include "platform/controls/tests/control_test_support.h"

#include <cstring>

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr UINT_PTR kToolId = 7;

class ToolTip : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, parent, nullptr,
                              nullptr, nullptr);
        ASSERT_NE(tip, nullptr);
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = kToolId;
        tool.rect = RECT{20, 20, 120, 60};
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
        answer = [](NMHDR* header) -> std::optional<LRESULT> {
            if (header->code == TTN_NEEDTEXTA) {
                auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
                std::strcpy(info->szText, "Rough the pocket");
            }
            return std::nullopt;
        };
        Clear();
    }
    void MoveTo(POINT client)
    {
        ClientToScreen(parent, &client);
        InjectMouseMove(client);
        PumpUntilIdle();
    }
    void Wait(DWORD ms)
    {
        AdvanceWindowSystemTime(ms);
        PumpUntilIdle();
    }
    std::string TipText()
    {
        char text[128] = {};
        GetWindowTextA(tip, text, sizeof(text));
        return text;
    }
    static Expect Note(UINT code) { return Notify(kToolId, code); }

    HWND tip = nullptr;
};

TEST_F(ToolTip, AppearsAfterTheHoverDelayWithTheOwnersText)
{
    MoveTo(POINT{50, 40});
    const auto initial = static_cast<DWORD>(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    Wait(initial - 10);
    EXPECT_FALSE(IsWindowVisible(tip)) << "not before the delay";
    Wait(10);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_TRUE(SameHeard({Note(TTN_NEEDTEXTA), Note(TTN_SHOW)}));
    EXPECT_EQ(TipText(), "Rough the pocket");
    RECT at{};
    GetWindowRect(tip, &at);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_GT(at.top, cursor.y) << "below the cursor";
    EXPECT_EQ(GetActiveWindow(), parent) << "the tip never takes the activation";

    TTTOOLINFOA current{};
    current.cbSize = sizeof(current);
    EXPECT_TRUE(SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, kToolId);

    // Leaving the tool hides the tip.
    Clear();
    MoveTo(POINT{200, 150});
    Wait(100);
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_TRUE(SameHeard({Note(TTN_POP)}));
}

TEST_F(ToolTip, TimesOutAndAClickHidesIt)
{
    MoveTo(POINT{50, 40});
    Wait(500);
    ASSERT_TRUE(IsWindowVisible(tip));
    const auto autoPop = static_cast<DWORD>(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
    Wait(autoPop);
    EXPECT_FALSE(IsWindowVisible(tip));
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip)) << "not again while the mouse rests";

    MoveTo(POINT{200, 150});
    MoveTo(POINT{60, 40});
    Wait(500);
    ASSERT_TRUE(IsWindowVisible(tip));
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(tip));
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(ToolTip, RelayedMovesAndFixedTextsAndDelays)
{
    // A second tool with fixed text, fed by TTM_RELAYEVENT instead of subclassing.
    HWND area = MakeControl("ControlTestParent", 0, {200, 100, 300, 200}, 300);
    ASSERT_NE(area, nullptr);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(area);
    tool.lpszText = const_cast<char*>("Stock");
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 200);
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 200);
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2000);

    POINT screen{50, 50};
    ClientToScreen(area, &screen);
    InjectMouseMove(screen);
    MSG move{area, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50), 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    Wait(200);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(TipText(), "Stock");
    EXPECT_TRUE(Heard().empty() || Heard().front().DetailOf("code") == TTN_SHOW) << "a fixed text asks nobody";

    // TTM_GETTEXT writes no more than the buffer it is given.
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    tool.lpszText = buffer;
    EXPECT_EQ(SendMessageA(tip, TTM_GETTEXTA, 4, reinterpret_cast<LPARAM>(&tool)), 3);
    EXPECT_STREQ(buffer, "Sto");
    EXPECT_EQ(buffer[4], '#');

    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_FALSE(IsWindowVisible(tip)) << "deleting the shown tool hides the tip";
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    tool.cbSize = 8;
    EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) << "a record too small";
}

} // namespace
} // namespace nuvex::controls::commontesting
