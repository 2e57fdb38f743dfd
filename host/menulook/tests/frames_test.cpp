// Menu-aware frames, dialogs and the document template; and the popup-menu
// windows the library subclasses (or leaves alone).
#include <gtest/gtest.h>

#include <string>

#include "host/menulook/menu_library.h"
#include "host/menulook/menu_painter.h"
#include "host/menulook/tests/look_frame.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/user/dialog.h"
#include "platform/user/input.h"

namespace {

class FramesTest : public MenuLookTest {
protected:
    void SetUp() override
    {
        MenuLookTest::SetUp();
        m_frameResources = std::make_unique<LookFrameResources>();
    }
    void TearDown() override
    {
        m_frameResources.reset();
        MenuLookTest::TearDown();
    }
    std::unique_ptr<LookFrameResources> m_frameResources;
};

TEST_F(FramesTest, ShowMenuHidesAndGivesBackTheFramesMenu)
{
    auto* frame = new CNewMDIFrameWnd();
    ASSERT_TRUE(frame->LoadFrame(kLookFrameId, WS_OVERLAPPEDWINDOW));
    HWND window = frame->GetSafeHwnd();
    HMENU menu = ::GetMenu(window);
    ASSERT_NE(menu, nullptr);
    // The loaded menu is owner-drawn: it is the frame's CNewMenu.
    EXPECT_EQ(menu, frame->WindowMenu().GetSafeHmenu());
    EXPECT_EQ(frame->WindowMenu().ItemRecords().size(), 5u);
    // Showing with nothing saved changes nothing.
    EXPECT_TRUE(frame->ShowMenu(TRUE));
    EXPECT_EQ(::GetMenu(window), menu);
    EXPECT_TRUE(frame->ShowMenu(FALSE));
    EXPECT_EQ(::GetMenu(window), nullptr);
    EXPECT_FALSE(frame->ShowMenu(FALSE));
    EXPECT_FALSE(frame->ShowMenu(TRUE));
    EXPECT_EQ(::GetMenu(window), menu);
    ::DestroyWindow(window);
}

TEST_F(FramesTest, TheWindowsOwnMenuBarIsHotTrackedOnlyWhereThePlatformDoesNot)
{
    auto* frame = new CNewFrameWnd();
    ASSERT_TRUE(frame->LoadFrame(kLookFrameId, WS_OVERLAPPEDWINDOW));
    HWND window = frame->GetSafeHwnd();
    frame->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(window, ::GetMenu(window), 1, &item));
    const LPARAM over = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    // This platform tracks the bar itself: no timer, no hot item.
    ::SendMessageA(window, WM_NCHITTEST, 0, over);
    EXPECT_EQ(frame->HoverTimer(), 0u);
    EXPECT_EQ(frame->HotMenuItem(), -1);
    // An older system: the item under the mouse lights up, a timer watches.
    MenuLibrary().osStyle = kOsStyleNt4;
    ::SendMessageA(window, WM_NCHITTEST, 0, over);
    EXPECT_EQ(frame->HotMenuItem(), 1);
    EXPECT_NE(frame->HoverTimer(), 0u);
    // Off the bar: back to normal, the timer stops.
    ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(frame->HotMenuItem(), -1);
    EXPECT_EQ(frame->HoverTimer(), 0u);
    // A bar whose items are not owner-drawn cannot light up.
    CNewMenu plain;
    HMENU bare = CreateMenu();
    AppendMenuA(bare, MF_STRING, 1, "&One");
    ASSERT_TRUE(plain.Attach(bare));
    ::SetMenu(window, bare);
    ASSERT_TRUE(GetMenuItemRect(window, bare, 0, &item));
    ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    EXPECT_EQ(frame->HotMenuItem(), -1);
    MenuLibrary().osStyle = GetOsStyle();
    ::SetMenu(window, frame->WindowMenu().GetSafeHmenu());
    ::DestroyWindow(window);
}

TEST_F(FramesTest, ADialogWithoutAMenuGetsNoBarBackground)
{
    UseStyle(8);
    DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    dialog.cx = 80;
    dialog.cy = 40;
    HWND window = CreateDialogIndirectParamA(nullptr, dialog, nullptr, nullptr, 0);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    const GdiSurface before = GetWindowSurface(window);
    std::vector<uint32_t> copy(before.pixels, before.pixels + static_cast<size_t>(before.stride) * before.height);
    FillMenuBarBackground(window);
    const GdiSurface after = GetWindowSurface(window);
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), after.pixels));
    DestroyWindow(window);
}

TEST_F(FramesTest, DialogsGetAHandlerOnlyWhenTheOptionWordAsks)
{
    DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.cx = 80;
    dialog.cy = 40;
    HWND plain = CreateDialogIndirectParamA(nullptr, dialog, nullptr, nullptr, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(GetPropA(plain, "CNewMenuTempHandler"), nullptr);
    {
        CMenuOptionScope scope(kOptionDialogHandlers | kOptionDialogSystemMenu);
        HWND handled = CreateDialogIndirectParamA(nullptr, dialog, nullptr, nullptr, 0);
        ASSERT_NE(handled, nullptr);
        EXPECT_NE(GetPropA(handled, "CNewMenuTempHandler"), nullptr);
        // Its system menu became owner-drawn.
        HMENU system = GetSystemMenu(handled, FALSE);
        EXPECT_NE(dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(system)), nullptr);
        DestroyWindow(handled);
        EXPECT_EQ(CMenu::FromHandlePermanent(system), nullptr);
    }
    DestroyWindow(plain);
}

TEST_F(FramesTest, TheDocumentTemplatesSharedMenuIsOwnerDrawnAndDestroyedOnce)
{
    HMENU shared = nullptr;
    {
        CNewMultiDocTemplate docTemplate(kLookFrameId, nullptr, nullptr, nullptr);
        docTemplate.LoadTemplate();
        shared = docTemplate.m_hMenuShared;
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(docTemplate.m_NewMenuShared.GetSafeHmenu(), shared);
        EXPECT_EQ(docTemplate.m_NewMenuShared.ItemRecords().size(), 5u);
    }
    EXPECT_FALSE(IsMenu(shared));
}

TEST_F(FramesTest, OnlyPopupsOfOwnerDrawnMenusAreSubclassed)
{
    HWND owner = CreateMenuOwnerWindow(RECT{0, 0, 300, 300});
    // A plain menu: its popup keeps the system's window procedure.
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 1, "One");
    bool plainSubclassed = true;
    RunPopup(plain.GetSafeHmenu(), owner, POINT{10, 10},
             {[&] { plainSubclassed = GetPropA(FindPopupWindow(), "OldMenuProc") != nullptr; }});
    EXPECT_FALSE(plainSubclassed);
    // A CNewMenu: subclassed; Escape is noted and every key remembers the
    // message position for the item drawing.
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 1, "One");
    bool subclassed = false;
    DWORD flags = 0;
    DWORD remembered = 0;
    RunPopup(menu.GetSafeHmenu(), owner, POINT{10, 10},
             {[&] {
                 HWND popup = FindPopupWindow();
                 subclassed = GetPropA(popup, "OldMenuProc") != nullptr;
                 InjectMouseMove(POINT{57, 33});
                 PumpUntilIdle();
                 SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                 if (CMenuWindowRecord* record = FindMenuWindowRecord(popup)) {
                     flags = record->flags;
                 }
                 remembered = MenuLibrary().lastMessagePos;
             }});
    EXPECT_TRUE(subclassed);
    EXPECT_NE(flags & kRecordEscape, 0u);
    EXPECT_EQ(remembered, GetMessagePos());
    // The window is let go with the popup.
    EXPECT_EQ(FindPopupWindow(), nullptr);
    DestroyWindow(owner);
}

} // namespace
