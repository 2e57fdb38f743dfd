// Window system: a full repaint of a 1920x1080 top-level window with 64
// children (background erase, child paints, frame) beside the baseline of
// the same fills drawn straight into a memory bitmap without windows.
#include <benchmark/benchmark.h>

#include <optional>

#include "platform/gdi/gdi.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 8;
constexpr int kRows = 8;

LRESULT ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

RECT ChildRect(int column, int row)
{
    const int cw = kWidth / kColumns;
    const int ch = kHeight / kRows;
    return RECT{column * cw + 4, row * ch + 4, (column + 1) * cw - 4, (row + 1) * ch - 4};
}

void BM_WindowRepaint_1920x1080_64Children(benchmark::State& state)
{
    ResetWindowSystem(kWidth, kHeight);
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = DefWindowProcA;
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    frameClass.lpszClassName = "BenchFrame";
    RegisterClassA(&frameClass);
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = ChildProc;
    childClass.lpszClassName = "BenchChild";
    RegisterClassA(&childClass);
    HWND frame = CreateWindowExA(0, "BenchFrame", "Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                 nullptr, nullptr, nullptr, nullptr);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const RECT r = ChildRect(column, row);
            CreateWindowExA(0, "BenchChild", "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, frame, nullptr, nullptr, nullptr);
        }
    }
    PumpUntilIdle();
    for (auto _ : state) {
        RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        benchmark::DoNotOptimize(GetWindowSurface(frame).pixels);
    }
    ResetWindowSystem();
}
BENCHMARK(BM_WindowRepaint_1920x1080_64Children)->Unit(benchmark::kMillisecond);

// Baseline: the same background and child fills into a memory bitmap.
void BM_RawFills_1920x1080_64Rects(benchmark::State& state)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (auto _ : state) {
        RECT all{0, 0, kWidth, kHeight};
        FillRect(memory, &all, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const RECT r = ChildRect(column, row);
                FillRect(memory, &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
            }
        }
        benchmark::ClobberMemory();
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_RawFills_1920x1080_64Rects)->Unit(benchmark::kMillisecond);

} // namespace
