// Pixels of top-level surfaces: class background erasing, child painting
// clipped to the child, the classic frame and caption in both activation
// states, and WM_PRINT of a window into another DC.
#include "platform/gdi/gdi.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::user::testing {
namespace {

LRESULT FacedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Surfaces : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = FacedProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
        wc.lpszClassName = "Faced";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
};

TEST_F(Surfaces, BackgroundErasedAndChildPaintClipped)
{
    HWND main = CreateWindowExA(0, "Faced", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr, nullptr,
                                nullptr);
    HWND child = MakeChild("child", main, {10, 10, 50, 40});
    SetHandler(child, [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        RECT everywhere{-100, -100, 500, 500};
        FillRect(dc, &everywhere, red);
        DeleteObject(red);
        EndPaint(hwnd, &ps);
        return 0;
    });
    PumpUntilIdle();
    EXPECT_EQ(PixelAt(main, 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelAt(main, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(main, 49, 39), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(main, 50, 40), GetSysColor(COLOR_BTNFACE)) << "the child cannot paint outside itself";
    EXPECT_EQ(PixelAt(main, 99, 79), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Surfaces, CaptionFollowsActivation)
{
    HWND first = CreateWindowExA(0, "Faced", "first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    PumpUntilIdle();
    const int captionX = 60;
    const int captionY = 4 + 9;
    EXPECT_EQ(PixelAt(first, captionX, captionY), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(PixelAt(first, 100, 60), GetSysColor(COLOR_BTNFACE)) << "client erased with the class brush";
    CreateWindowExA(0, "Faced", "second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0, 200, 100, nullptr, nullptr,
                    nullptr, nullptr);
    PumpUntilIdle();
    EXPECT_EQ(PixelAt(first, captionX, captionY), GetSysColor(COLOR_INACTIVECAPTION));
}

TEST_F(Surfaces, SysColorChangesReachDrawing)
{
    HWND main = CreateWindowExA(0, "Faced", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                nullptr);
    recorder.Name(main, "main");
    const int index = COLOR_BTNFACE;
    const COLORREF green = RGB(0, 200, 0);
    recorder.Clear();
    SetSysColors(1, &index, &green);
    EXPECT_EQ(recorder.Count(WM_SYSCOLORCHANGE), 1);
    InvalidateRect(main, nullptr, TRUE);
    PumpUntilIdle();
    EXPECT_EQ(PixelAt(main, 25, 25), green);
    EXPECT_NE(GetSysColorBrush(index), nullptr);
}

TEST_F(Surfaces, PrintDrawsTheWindowAndItsChildrenIntoAnotherDc)
{
    HWND main = CreateWindowExA(0, "Faced", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 100, 80, nullptr, nullptr,
                                nullptr, nullptr);
    HWND child = MakeChild("child", main, {10, 10, 30, 30});
    SetHandler(child, [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_PRINTCLIENT) {
            return std::nullopt;
        }
        RECT r{};
        GetClientRect(hwnd, &r);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(reinterpret_cast<HDC>(wParam), &r, red);
        DeleteObject(red);
        return 0;
    });
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 80);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageA(main, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                 PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(GetPixel(memory, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the border";
    EXPECT_EQ(GetPixel(memory, 5, 5), GetSysColor(COLOR_BTNFACE)) << "the erased client";
    EXPECT_EQ(GetPixel(memory, 1 + 10, 1 + 10), RGB(255, 0, 0)) << "the child at its place";
    EXPECT_EQ(GetPixel(memory, 1 + 30, 1 + 30), GetSysColor(COLOR_BTNFACE));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace
} // namespace nuvex::user::testing
