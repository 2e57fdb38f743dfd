// The toolbar: clicks that reach the owner as commands, check and group
// buttons, drop-downs, custom drawing stages, tooltips asked for with
// TTN_NEEDTEXT, bitmaps and strings, and its place along the parent.
#include "platform/controls/tests/control_test_support.h"

#include <cstring>

#include "platform/display/headless/headless_display.h"
#include "platform/user/inspect.h"

namespace nuvex::controls::commontesting {
namespace {

constexpr int kBarId = 59392;
constexpr int kOpen = 101;
constexpr int kSave = 102;
constexpr int kLeft = 103;  // group of two check buttons
constexpr int kRight = 104;
constexpr int kGrid = 105;  // a lone check button
constexpr int kSnap = 106;  // drop-down
constexpr int kOff = 107;   // disabled

class Toolbar : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        bar = MakeControl(TOOLBARCLASSNAMEA, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, {0, 0, 0, 0}, kBarId);
        ASSERT_NE(bar, nullptr);
        SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        const TBBUTTON buttons[] = {
            {0, kOpen, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
            {1, kSave, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
            {8, 0, 0, BTNS_SEP, {}, 0, -1},
            {2, kLeft, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECKGROUP, {}, 0, -1},
            {3, kRight, TBSTATE_ENABLED, BTNS_CHECKGROUP, {}, 0, -1},
            {4, kGrid, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, -1},
            {5, kSnap, TBSTATE_ENABLED, BTNS_DROPDOWN, {}, 0, -1},
            {6, kOff, 0, BTNS_BUTTON, {}, 0, -1},
        };
        ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons)));
        SendMessageA(bar, TB_AUTOSIZE, 0, 0);
        PumpUntilIdle();
        ignored.push_back(TTN_NEEDTEXTA);
        ignored.push_back(TTN_SHOW);
        ignored.push_back(TTN_POP);
        Clear();
    }
    RECT ButtonRect(int id)
    {
        RECT r{};
        EXPECT_TRUE(SendMessageA(bar, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    POINT Centre(int id)
    {
        const RECT r = ButtonRect(id);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ClickButton(int id)
    {
        AdvanceWindowSystemTime(1000); // no double clicks between tests' clicks
        Click(bar, Centre(id));
    }
    bool Checked(int id) { return SendMessageA(bar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0; }
    static Expect Command(int id) { return testing::Command(id, BN_CLICKED); }

    HWND bar = nullptr;
};

TEST_F(Toolbar, ClicksReachTheOwnerAsCommands)
{
    ClickButton(kOpen);
    EXPECT_TRUE(SameHeard({Command(kOpen)}));
    EXPECT_EQ(SendMessageA(bar, TB_ISBUTTONPRESSED, kOpen, 0), 0) << "released after the click";

    Clear();
    ClickButton(kOff);
    EXPECT_TRUE(Heard().empty()) << "a disabled button does nothing";

    // Pressed, then released elsewhere: no command.
    Clear();
    const POINT from = ScreenOf(bar, Centre(kSave));
    InjectMouseMove(from);
    InjectMouseButton(MouseButton::Left, KeyAction::Down);
    PumpUntilIdle();
    EXPECT_NE(SendMessageA(bar, TB_ISBUTTONPRESSED, kSave, 0), 0);
    InjectMouseMove(POINT{from.x, from.y + 200});
    InjectMouseButton(MouseButton::Left, KeyAction::Up);
    PumpUntilIdle();
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(SendMessageA(bar, TB_ISBUTTONPRESSED, kSave, 0), 0);

    // A new notify window takes the commands.
    HWND other = MakeControl("ControlTestParent", 0, {0, 200, 10, 210}, 5);
    recorder.Name(other, testing::kParentRole); // what it hears counts as the parent's
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(other), 0)), nullptr);
    Clear();
    ClickButton(kOpen);
    EXPECT_TRUE(SameHeard({Command(kOpen)}));
}

TEST_F(Toolbar, CheckAndGroupButtons)
{
    struct CheckCase {
        const char* name;
        int click;
        bool left;
        bool right;
        bool grid;
    };
    const CheckCase cases[] = {
        {"group_moves_to_right", kRight, false, true, false},
        {"group_checked_stays", kRight, false, true, false},
        {"group_back_to_left", kLeft, true, false, false},
        {"lone_check_on", kGrid, true, false, true},
        {"lone_check_off", kGrid, true, false, false},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        ClickButton(c.click);
        EXPECT_TRUE(SameHeard({Command(c.click)}));
        EXPECT_EQ(Checked(kLeft), c.left);
        EXPECT_EQ(Checked(kRight), c.right);
        EXPECT_EQ(Checked(kGrid), c.grid);
    }
    // Checking a group member by message unchecks its neighbour too.
    EXPECT_TRUE(SendMessageA(bar, TB_CHECKBUTTON, kRight, MAKELPARAM(TRUE, 0)));
    EXPECT_FALSE(Checked(kLeft));
    EXPECT_FALSE(SendMessageA(bar, TB_CHECKBUTTON, 999, MAKELPARAM(TRUE, 0)));
}

TEST_F(Toolbar, DropDownsAskTheOwner)
{
    int dropped = 0;
    RECT droppedRect{};
    LRESULT reply = TBDDRET_DEFAULT;
    answer = [&](NMHDR* header) -> std::optional<LRESULT> {
        if (header->code == TBN_DROPDOWN) {
            auto* nm = reinterpret_cast<NMTOOLBARA*>(header);
            dropped = nm->iItem;
            droppedRect = nm->rcButton;
            return reply;
        }
        return std::nullopt;
    };
    // Without separate arrows the whole button drops down.
    ClickButton(kSnap);
    EXPECT_TRUE(SameHeard({Notify(kBarId, TBN_DROPDOWN)}));
    EXPECT_EQ(dropped, kSnap);
    const RECT plain = ButtonRect(kSnap);
    EXPECT_TRUE(EqualRect(&droppedRect, &plain));

    // With arrows, the arrow drops down and the face gives the command.
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    const RECT wide = ButtonRect(kSnap);
    EXPECT_GT(wide.right - wide.left, plain.right - plain.left);
    Clear();
    AdvanceWindowSystemTime(1000);
    Click(bar, POINT{wide.right - 3, (wide.top + wide.bottom) / 2});
    EXPECT_TRUE(SameHeard({Notify(kBarId, TBN_DROPDOWN)}));
    Clear();
    AdvanceWindowSystemTime(1000);
    Click(bar, POINT{wide.left + 4, (wide.top + wide.bottom) / 2});
    EXPECT_TRUE(SameHeard({Command(kSnap)}));

    // "Treat as pressed": the drop-down becomes a click.
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, 0);
    reply = TBDDRET_TREATPRESSED;
    Clear();
    ClickButton(kSnap);
    EXPECT_TRUE(SameHeard({Notify(kBarId, TBN_DROPDOWN), Command(kSnap)}));
}

TEST_F(Toolbar, CustomDrawStagesNameEveryVisibleButton)
{
    SendMessageA(bar, TB_HIDEBUTTON, kSave, MAKELPARAM(TRUE, 0));
    struct Stage {
        DWORD stage;
        DWORD_PTR item;
        UINT state;
    };
    std::vector<Stage> stages;
    answer = [&](NMHDR* header) -> std::optional<LRESULT> {
        if (header->code != NM_CUSTOMDRAW) {
            return std::nullopt;
        }
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
        stages.push_back(Stage{cd->nmcd.dwDrawStage, cd->nmcd.dwItemSpec, cd->nmcd.uItemState});
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        }
        return CDRF_DODEFAULT;
    };
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    ASSERT_EQ(stages.size(), 9u) << "pre-paint, seven visible buttons, post-paint";
    EXPECT_EQ(stages.front().stage, CDDS_PREPAINT);
    EXPECT_EQ(stages.back().stage, CDDS_POSTPAINT);
    const Stage& left = stages[3];
    EXPECT_EQ(left.stage, CDDS_ITEMPREPAINT);
    EXPECT_EQ(left.item, static_cast<DWORD_PTR>(kLeft));
    EXPECT_EQ(left.state & CDIS_CHECKED, CDIS_CHECKED);
    EXPECT_EQ(stages[7].item, static_cast<DWORD_PTR>(kOff));
    EXPECT_EQ(stages[7].state & CDIS_DISABLED, CDIS_DISABLED);
    for (const Stage& s : stages) {
        EXPECT_NE(s.item, static_cast<DWORD_PTR>(kSave)) << "hidden buttons are not drawn";
    }
}

TEST_F(Toolbar, TooltipShowsTheOwnersTextForTheButtonUnderTheMouse)
{
    HWND tip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    UINT_PTR asked = 0;
    answer = [&](NMHDR* header) -> std::optional<LRESULT> {
        if (header->code == TTN_NEEDTEXTA) {
            asked = header->idFrom;
            std::strcpy(reinterpret_cast<NMTTDISPINFOA*>(header)->szText, "Save the drawing");
        }
        return std::nullopt;
    };
    InjectMouseMove(ScreenOf(bar, Centre(kSave)));
    PumpUntilIdle();
    AdvanceWindowSystemTime(static_cast<DWORD>(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0)));
    PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(asked, static_cast<UINT_PTR>(kSave));
    char text[64] = {};
    GetWindowTextA(tip, text, sizeof(text));
    EXPECT_STREQ(text, "Save the drawing");
}

TEST_F(Toolbar, BitmapsStringsAndPlace)
{
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    RECT r{};
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, parentClient.right);
    const SIZE button{LOWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0)), HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0))};
    EXPECT_EQ(button.cx, 23);
    EXPECT_EQ(button.cy, 22);
    EXPECT_GE(r.bottom - r.top, button.cy);

    HBITMAP strip = CreateBitmap(32, 15, 1, 32, nullptr);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(strip)};
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add)), 0);
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add)), 0) << "the same bitmap again";
    HBITMAP more = CreateBitmap(16, 15, 1, 32, nullptr);
    TBADDBITMAP addMore{nullptr, reinterpret_cast<UINT_PTR>(more)};
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&addMore)), 2);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0))), 3);
    EXPECT_FALSE(SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(24, 24))) << "images of the old size are in";
    DeleteObject(strip);
    DeleteObject(more);

    EXPECT_EQ(SendMessageA(bar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>("Open\0Save\0")), 0);
    TBBUTTON withText{0, 200, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 1};
    EXPECT_TRUE(SendMessageA(bar, TB_INSERTBUTTONA, 0, reinterpret_cast<LPARAM>(&withText)));
    EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 200, 0), 0);
    EXPECT_EQ(SendMessageA(bar, TB_GETBUTTONTEXTA, 200, 0), 4);
    char text[8] = {};
    SendMessageA(bar, TB_GETBUTTONTEXTA, 200, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Save");
    TBBUTTON got{};
    ASSERT_TRUE(SendMessageA(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.idCommand, 200);
    EXPECT_EQ(got.iString, 1);
    EXPECT_FALSE(SendMessageA(bar, TB_GETBUTTON, 99, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 9);
    EXPECT_TRUE(SendMessageA(bar, TB_DELETEBUTTON, 0, 0));
    EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 200, 0), -1);
}

} // namespace
} // namespace nuvex::controls::commontesting
