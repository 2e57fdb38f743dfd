// Screenshots of top-level and child windows read back from their PNG files.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/display/screenshot.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdipng.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

LRESULT PaintRed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client{};
        GetClientRect(hwnd, &client);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &client, red);
        DeleteObject(red);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(Screenshot, WritesTheWindowsPixelsToPng)
{
    ResetWindowSystem();
    WNDCLASSA wc{};
    wc.lpfnWndProc = PaintRed;
    wc.lpszClassName = "ScreenshotRed";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND top = CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 10, 10, 200, 150, nullptr, nullptr, nullptr,
                               nullptr);
    HWND child = CreateWindowExA(0, "ScreenshotRed", "", WS_CHILD | WS_VISIBLE, 30, 20, 50, 40, top, nullptr, nullptr,
                                 nullptr);
    ASSERT_NE(child, nullptr);
    UpdateWindow(top);
    const std::string dir = ::testing::TempDir();
    struct Case {
        HWND hwnd;
        const char* file;
        LONG width;
        LONG height;
        COLORREF corner;
    };
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const Case cases[] = {{top, "screenshot_top.png", 200, 150, face}, {child, "screenshot_child.png", 50, 40, RGB(255, 0, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir + "/" + c.file;
        ASSERT_TRUE(SaveWindowScreenshot(c.hwnd, path.c_str()));
        HBITMAP image = LoadPngBitmapFile(path.c_str());
        ASSERT_NE(image, nullptr);
        BITMAP info{};
        GetObjectA(image, sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, image);
        EXPECT_EQ(GetPixel(dc, 0, 0), c.corner);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(image);
        std::filesystem::remove(path);
    }
    EXPECT_FALSE(SaveWindowScreenshot(nullptr, (dir + "/none.png").c_str()));
    ResetWindowSystem();
}

} // namespace
