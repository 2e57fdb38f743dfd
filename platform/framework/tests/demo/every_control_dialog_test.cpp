// The dialog with every control, made headless from its template and
// screenshotted: each control draws something of its own (its rectangle is
// not all one colour), and the whole dialog matches its reviewed reference
// picture (docs/images/every_control_dialog.png).
#include <gtest/gtest.h>

#include <string>

#include "platform/display/screenshot.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/tests/demo/demo_image_support.h"
#include "platform/framework/tests/demo/every_control_dialog.h"
#include "platform/framework/wnd.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

using namespace demo;

TEST(EveryControlDialog, EachControlDrawsInTheScreenshot)
{
    ResetWindowSystem();
    {
        CEveryControlDialog dialog;
        ASSERT_TRUE(dialog.CreateIndirect(EveryControlTemplate(), nullptr));
        HWND hwnd = dialog.GetSafeHwnd();
        ::ShowWindow(hwnd, SW_SHOW);
        ::UpdateWindow(hwnd);
        PumpUntilIdle();

        const std::string shot = ShotPath("every_control_dialog");
        ASSERT_TRUE(SaveWindowScreenshot(hwnd, shot.c_str()));
        const Image image = LoadImage(shot);
        ASSERT_GT(image.width, 0);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT window{};
        ::GetWindowRect(hwnd, &window);
        OffsetRect(&client, -window.left, -window.top);
        const COLORREF background = MostCommon(image, client);
        EXPECT_EQ(background, GetSysColor(COLOR_BTNFACE)) << "the dialog's face";

        for (int id : EveryControlIds()) {
            SCOPED_TRACE("control " + std::to_string(id));
            HWND control = ::GetDlgItem(hwnd, id);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(::IsWindowVisible(control));
            const RECT rect = RectInShot(control, hwnd);
            EXPECT_FALSE(IsRectEmpty(&rect));
            // Something of the control's own: an edge, text, an image.
            EXPECT_GT(CountOtherThan(image, rect, background), 8);
        }
        // The images of the image controls and the rich edit's coloured text show.
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kStaticBitmapId), hwnd), RGB(190, 30, 30)), 10);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kStaticIconId), hwnd), RGB(255, 220, 0)), 10);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kBitmapButtonId), hwnd), RGB(190, 30, 30)), 10);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kIconButtonId), hwnd), RGB(255, 220, 0)), 10);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kRichEditId), hwnd), RGB(200, 0, 0), 60), 5);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kOwnerDrawId), hwnd), RGB(200, 235, 200)), 50);
        EXPECT_GT(CountNear(image, RectInShot(::GetDlgItem(hwnd, kToolbarId), hwnd), RGB(40, 80, 220), 40), 10);
        // And the whole dialog as a person reviewed it.
        EXPECT_TRUE(MatchesReferencePicture(hwnd, "docs/images/every_control_dialog.png"));
        DiscardShots({shot});
        dialog.DestroyWindow();
    }
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

} // namespace
