// What a popup menu shows in each style code: a title, images, a default,
// a checked, a disabled and a selected item, a separator, a submenu and an
// accelerator text, the popup's frame and its soft shadow over the owner.
#include <gtest/gtest.h>

#include <string>

#include "host/menulook/tests/menu_test_support.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/user/input.h"

namespace {

class PopupPictureTest : public MenuLookTest {};

struct SampleMenu {
    CNewMenu menu;
    CNewMenu* recent = nullptr;
};

void BuildSample(SampleMenu& sample)
{
    CNewMenu& menu = sample.menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, kCmdNew, "&New\tCtrl+N");
    menu.AppendItem(MF_STRING, kCmdOpen, "&Open...");
    menu.AppendItem(MF_STRING | MF_GRAYED, kCmdSave, "&Save");
    menu.AppendItem(MF_SEPARATOR, 0, nullptr);
    menu.AppendItem(MF_STRING | MF_CHECKED, 40001, "Snap to &grid");
    menu.AppendItem(MF_STRING | MF_CHECKED, kCmdCut, "Cu&t");
    menu.AppendItem(MF_STRING | MF_GRAYED, 40002, "&Paste special");
    sample.recent = menu.AppendPopup("&Recent files");
    ASSERT_NE(sample.recent, nullptr);
    sample.recent->AppendItem(MF_STRING, 40010, "part.nvx");
    menu.AppendItem(MF_SEPARATOR, 0, nullptr);
    menu.AppendItem(MF_STRING, kCmdPrint, "&Print...\tCtrl+P");
    SetMenuDefaultItem(menu.GetSafeHmenu(), kCmdNew, FALSE);
    ASSERT_TRUE(menu.LoadToolBar(kToolBarId));
    ASSERT_TRUE(menu.SetMenuTitle("Drawing", kTitleGradient));
}

TEST_F(PopupPictureTest, EachStyleCodeDrawsItsPopup)
{
    for (int code = 0; code <= 11; ++code) {
        SCOPED_TRACE("style " + std::to_string(code));
        ResetWindowSystem();
        CNewMenu::InitLibrary();
        UseStyle(code);
        HWND owner = CreateMenuOwnerWindow(RECT{0, 0, 400, 360});
        SampleMenu sample;
        BuildSample(sample);
        CapturedPixels popup;
        RunPopup(sample.menu.GetSafeHmenu(), owner, POINT{20, 20},
                 {
                     [] {
                         // Onto "Open...", the third row (after the title and New).
                         HWND window = FindPopupWindow();
                         RECT r{};
                         GetWindowRect(window, &r);
                         InjectMouseMove(POINT{r.left + 40, r.top + 50});
                     },
                     [&] { popup = CaptureWindow(FindPopupWindow()); },
                 });
        ASSERT_FALSE(popup.Empty());
        EXPECT_TRUE(MatchesReferencePicture(popup.Surface(),
                                            "host/menulook/tests/pictures/popup_style_" + std::to_string(code) + ".png"));
        DestroyWindow(owner);
    }
}

} // namespace
