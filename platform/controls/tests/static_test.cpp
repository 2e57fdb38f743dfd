// Statics: clicks let through or notified, images and the size they give,
// frames and rectangles, colours from the parent.
#include "platform/controls/tests/control_test.h"

namespace nuvex::controls::testing {
namespace {

using StaticTest = ControlTest;

TEST_F(StaticTest, ClicksPassThroughUnlessNotifyIsAsked)
{
    HWND quiet = Make("Static", "label", SS_LEFT, {10, 10, 110, 30}, 70);
    HWND notify = Make("Static", "link", SS_LEFT | SS_NOTIFY, {10, 40, 110, 60}, 71);
    ClickAt(quiet, 5, 5);
    EXPECT_TRUE(Heard({WM_COMMAND}, {}));
    ClickAt(notify, 5, 5);
    EXPECT_TRUE(Heard({WM_COMMAND}, {Command(71, STN_CLICKED)}));
    POINT inside{5, 5};
    ClientToScreen(quiet, &inside);
    EXPECT_EQ(WindowFromPoint(inside), host) << "a plain static is transparent to the mouse";
}

TEST_F(StaticTest, ImagesAreKeptByKindAndSizeTheControl)
{
    HWND picture = Make("Static", "", SS_BITMAP, {10, 10, 200, 200}, 1);
    uint32_t pixels[6 * 4];
    for (auto& p : pixels) {
        p = 0x000000FF; // red in BGRA order, blue byte first
    }
    HBITMAP bitmap = CreateBitmap(6, 4, 1, 32, pixels);
    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, 0), 0) << "the wrong kind is refused";
    RECT rc{};
    GetClientRect(picture, &rc);
    EXPECT_EQ(rc.right, 6);
    EXPECT_EQ(rc.bottom, 4);
    EXPECT_EQ(PixelAt(picture, 2, 2), RGB(0, 0, 255));
    DestroyWindow(picture);
    DeleteObject(bitmap);
}

TEST_F(StaticTest, RectanglesFramesAndText)
{
    struct Case {
        const char* name;
        DWORD style;
        POINT at;
        COLORREF colour;
    };
    const Case cases[] = {
        {"black_rect", SS_BLACKRECT, {20, 10}, GetSysColor(COLOR_WINDOWFRAME)},
        {"gray_frame_edge", SS_GRAYFRAME, {0, 10}, GetSysColor(COLOR_BTNSHADOW)},
        {"gray_frame_inside_untouched", SS_GRAYFRAME, {20, 10}, GetSysColor(COLOR_BTNFACE)},
        {"etched_horizontal_top", SS_ETCHEDHORZ, {20, 0}, GetSysColor(COLOR_BTNSHADOW)},
        {"etched_horizontal_below", SS_ETCHEDHORZ, {20, 1}, GetSysColor(COLOR_BTNHIGHLIGHT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND shape = Make("Static", "", c.style, {10, 10, 110, 40}, 1);
        EXPECT_EQ(PixelAt(shape, c.at.x, c.at.y), c.colour);
        DestroyWindow(shape);
    }
    HWND text = Make("Static", "Hello", SS_CENTER, {10, 10, 110, 40}, 1);
    int dark = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 15; ++y) {
            dark += PixelAt(text, x, y) == GetSysColor(COLOR_BTNTEXT) ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10);
    colorBrush = GetSysColorBrush(COLOR_WINDOW);
    answerColors = true;
    EXPECT_EQ(PixelAt(text, 2, 25), GetSysColor(COLOR_WINDOW)) << "the parent's brush fills the background";
}

} // namespace
} // namespace nuvex::controls::testing
