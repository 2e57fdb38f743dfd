// GDI speed: filling and blitting a full-HD surface, 10 000 lines and
// 1 000 text runs into a memory bitmap. Fills, blits and lines run beside a
// baseline on the raw pixel buffer (std::fill, row copies, a bare
// Bresenham loop without clipping or raster operations); the counter
// "vs_baseline" is our time over the baseline's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A memory DC on a full-HD 32-bit bitmap.
class Screen {
public:
    Screen()
    {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        GetBitmapSurface(m_bitmap, &m_surface);
    }
    ~Screen()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    const GdiSurface& surface() const { return m_surface; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    GdiSurface m_surface{};
};

double g_baselineFill = 0;
double g_baselineBlit = 0;
double g_baselineLines = 0;

// Times the loop body and stores seconds per iteration for the ratio.
template <class F>
double Timed(benchmark::State& state, F&& body)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return state.iterations() ? total / static_cast<double>(state.iterations()) : 0;
}

void BM_FillFullHd_Baseline(benchmark::State& state)
{
    Screen screen;
    uint32_t colour = 0xFF000000u;
    g_baselineFill = Timed(state, [&] {
        std::fill(screen.surface().pixels, screen.surface().pixels + kWidth * kHeight, ++colour | 0xFF000000u);
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_FillFullHd_Baseline)->Unit(benchmark::kMillisecond);

void BM_FillFullHd(benchmark::State& state)
{
    Screen screen;
    const RECT all{0, 0, kWidth, kHeight};
    COLORREF colour = 0;
    const double t = Timed(state, [&] {
        FillSolidRect(screen.dc(), &all, ++colour & 0xFFFFFF);
        benchmark::ClobberMemory();
    });
    if (g_baselineFill > 0) state.counters["vs_baseline"] = t / g_baselineFill;
}
BENCHMARK(BM_FillFullHd)->Unit(benchmark::kMillisecond);

void BM_BlitFullHd_Baseline(benchmark::State& state)
{
    Screen source;
    Screen dest;
    g_baselineBlit = Timed(state, [&] {
        for (int y = 0; y < kHeight; ++y) {
            std::memcpy(dest.surface().pixels + y * kWidth, source.surface().pixels + y * kWidth, kWidth * 4);
        }
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_BlitFullHd_Baseline)->Unit(benchmark::kMillisecond);

void BM_BlitFullHd(benchmark::State& state)
{
    Screen source;
    Screen dest;
    const DWORD rop = static_cast<DWORD>(state.range(0));
    const double t = Timed(state, [&] {
        BitBlt(dest.dc(), 0, 0, kWidth, kHeight, source.dc(), 0, 0, rop);
        benchmark::ClobberMemory();
    });
    if (g_baselineBlit > 0) state.counters["vs_baseline"] = t / g_baselineBlit;
}
BENCHMARK(BM_BlitFullHd)->Arg(SRCCOPY)->Arg(SRCINVERT)->Unit(benchmark::kMillisecond);

std::vector<POINT> RandomPoints(int count)
{
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    std::vector<POINT> points(static_cast<size_t>(count));
    for (POINT& p : points) p = {x(random), y(random)};
    return points;
}

void BM_Lines10k_Baseline(benchmark::State& state)
{
    Screen screen;
    const std::vector<POINT> points = RandomPoints(10001);
    uint32_t* pixels = screen.surface().pixels;
    g_baselineLines = Timed(state, [&] {
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            int x = points[i].x, y = points[i].y;
            const int x1 = points[i + 1].x, y1 = points[i + 1].y;
            const int dx = std::abs(x1 - x), dy = std::abs(y1 - y);
            const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
            int err = (dx > dy ? dx : -dy) / 2;
            for (int k = std::max(dx, dy); k > 0; --k) {
                pixels[y * kWidth + x] = 0xFF000000u;
                const int e = err;
                if (e > -dx) {
                    err -= dy;
                    x += sx;
                }
                if (e < dy) {
                    err += dx;
                    y += sy;
                }
            }
        }
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_Lines10k_Baseline)->Unit(benchmark::kMillisecond);

void BM_Lines10k(benchmark::State& state)
{
    Screen screen;
    const std::vector<POINT> points = RandomPoints(10001);
    HPEN pen = CreatePen(PS_SOLID, static_cast<int>(state.range(0)), RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(screen.dc(), pen);
    const double t = Timed(state, [&] {
        Polyline(screen.dc(), points.data(), static_cast<int>(points.size()));
        benchmark::ClobberMemory();
    });
    if (g_baselineLines > 0 && state.range(0) == 1) state.counters["vs_baseline"] = t / g_baselineLines;
    SelectObject(screen.dc(), old);
    DeleteObject(pen);
}
BENCHMARK(BM_Lines10k)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_TextRuns1k(benchmark::State& state)
{
    Screen screen;
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    HGDIOBJ old = SelectObject(screen.dc(), font);
    SetBkMode(screen.dc(), TRANSPARENT);
    static const char kText[] = "Toolpath 12: rough pocket, 6 mm end mill";
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            TextOutA(screen.dc(), (i * 37) % (kWidth - 300), (i * 13) % (kHeight - 20), kText, sizeof(kText) - 1);
        }
        benchmark::ClobberMemory();
    }
    SelectObject(screen.dc(), old);
    DeleteObject(font);
}
BENCHMARK(BM_TextRuns1k)->Unit(benchmark::kMillisecond);

}  // namespace
