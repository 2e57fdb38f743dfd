// The status bar: its place at the bottom of the parent, parts and their
// rectangles, texts with their drawing flags, the simple mode, the size
// grip and clicks on parts.
#include "platform/controls/tests/control_test_support.h"

#include <cstring>

#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr int kBarId = 59393;

class StatusBar : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        bar = MakeControl(STATUSCLASSNAMEA, SBARS_SIZEGRIP, {0, 0, 10, 10}, kBarId);
        ASSERT_NE(bar, nullptr);
        const int edges[] = {100, 200, -1};
        ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    }
    RECT PartRect(int part)
    {
        RECT r{};
        EXPECT_TRUE(SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    HWND bar = nullptr;
};

TEST_F(StatusBar, SitsAlongTheBottomOfTheParentAndFollowsIt)
{
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    RECT r{};
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, parentClient.right);
    EXPECT_EQ(r.bottom, parentClient.bottom);
    EXPECT_GT(r.bottom - r.top, 10);

    SetWindowPos(parent, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(parent, &parentClient);
    SendMessageA(bar, WM_SIZE, 0, 0);
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right, parentClient.right);
    EXPECT_EQ(r.bottom, parentClient.bottom);
}

TEST_F(StatusBar, PartsLieSideBySideAndTheLastStretches)
{
    RECT client{};
    GetClientRect(bar, &client);
    int borders[3] = {};
    ASSERT_TRUE(SendMessageA(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
    const RECT first = PartRect(0);
    const RECT second = PartRect(1);
    const RECT last = PartRect(2);
    EXPECT_EQ(first.left, borders[0]);
    EXPECT_EQ(first.right, 100);
    EXPECT_EQ(second.left, 100 + borders[2]);
    EXPECT_EQ(second.right, 200);
    EXPECT_EQ(last.right, client.right);
    EXPECT_EQ(first.top, borders[1]);
    EXPECT_EQ(first.bottom, client.bottom - borders[1]);
    RECT none{};
    EXPECT_FALSE(SendMessageA(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&none)));

    // Bad part lists are refused and change nothing.
    const int many[1] = {50};
    EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(many)));
    EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 257, reinterpret_cast<LPARAM>(many)));
    EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 1, 0));
    int edges[4] = {-7, -7, -7, -7};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 200);
    EXPECT_EQ(edges[2], -7) << "no more than asked for";
}

TEST_F(StatusBar, TextsKeepTheirFlagsAndSimpleModeKeepsThePartsTexts)
{
    struct TextCase {
        const char* name;
        WPARAM part;
        WPARAM flags;
        const char* text;
    };
    const TextCase cases[] = {
        {"plain", 0, 0, "Ready"},
        {"no_borders", 1, SBT_NOBORDERS, "X 10.000"},
        {"popout_with_tabs", 2, SBT_POPOUT, "left\tcentre\tright"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SendMessageA(bar, SB_SETTEXTA, c.part | c.flags, reinterpret_cast<LPARAM>(c.text)));
        const auto length = static_cast<DWORD>(SendMessageA(bar, SB_GETTEXTLENGTHA, c.part, 0));
        EXPECT_EQ(LOWORD(length), std::strlen(c.text));
        EXPECT_EQ(HIWORD(length), c.flags);
        char buffer[64] = {};
        const auto result = static_cast<DWORD>(SendMessageA(bar, SB_GETTEXTA, c.part, reinterpret_cast<LPARAM>(buffer)));
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(result, length);
    }
    EXPECT_FALSE(SendMessageA(bar, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>("none")));

    SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    ASSERT_TRUE(SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>("Select a pocket")));
    SendMessageA(bar, SB_SIMPLE, FALSE, 0);
    char buffer[64] = {};
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "Ready");
    UpdateWindow(bar);
}

TEST_F(StatusBar, TheGripSizesTheWindowAndClicksNameThePart)
{
    RECT r{};
    GetWindowRect(bar, &r);
    EXPECT_EQ(SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.bottom - 2)), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.bottom - 2)), HTCLIENT);

    DWORD_PTR clicked = 99;
    answer = [&](NMHDR* header) -> std::optional<LRESULT> {
        if (header->code == NM_CLICK) {
            clicked = reinterpret_cast<NMMOUSE*>(header)->dwItemSpec;
        }
        return std::nullopt;
    };
    const RECT second = PartRect(1);
    Click(bar, POINT{second.left + 5, second.top + 3});
    EXPECT_EQ(clicked, 1u);
    ASSERT_FALSE(Heard().empty());
    EXPECT_EQ(Heard().back().DetailOf("code"), NM_CLICK);
    EXPECT_EQ(Heard().back().DetailOf("id"), static_cast<UINT_PTR>(kBarId));
}

} // namespace
} // namespace nuvex::controls::commontesting
