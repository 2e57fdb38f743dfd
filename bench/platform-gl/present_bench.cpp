// One OpenGL frame of line segments (1k, 10k and 100k) rendered into a
// full-HD window's image, timed in the same iteration as the raw render
// (clear, draw, glFinish) and as the present that follows it (SwapBuffers:
// read back, flip, copy into the surface). Reports both times and the
// present's share of the raw render; the goal is below 10 % at 100k.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gl/opengl.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Segment {
    double x0, y0, z0, x1, y1, z1;
};

std::vector<Segment> MakeSegments(size_t count)
{
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
    std::uniform_real_distribution<double> offset(-0.05, 0.05);
    std::vector<Segment> segments(count);
    for (Segment& s : segments) {
        s.x0 = coordinate(random);
        s.y0 = coordinate(random);
        s.z0 = coordinate(random) * 0.5;
        s.x1 = s.x0 + offset(random);
        s.y1 = s.y0 + offset(random);
        s.z1 = s.z0 + offset(random);
    }
    return segments;
}

// A full-HD surface standing for a top-level window, its DC and a current
// context, as a view's paint has them.
struct Window {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
    HDC dc = CreateSurfaceDC(GdiSurface{pixels.data(), kWidth, kHeight, kWidth}, {0, 0}, {0, 0, kWidth, kHeight});
    HGLRC rc = nullptr;
    Window()
    {
        PIXELFORMATDESCRIPTOR request{};
        request.nSize = sizeof request;
        request.nVersion = 1;
        request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        request.cColorBits = 24;
        request.cDepthBits = 32;
        SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request);
        rc = wglCreateContext(dc);
        if (rc != nullptr && wglMakeCurrent(dc, rc) == FALSE) {
            wglDeleteContext(rc);
            rc = nullptr;
        }
    }
    ~Window()
    {
        wglMakeCurrent(nullptr, nullptr);
        if (rc != nullptr) wglDeleteContext(rc);
        DeleteSurfaceDC(dc);
    }
};

void DrawFrame(const std::vector<Segment>& segments)
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3d(0.1, 0.2, 0.6);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (const Segment& s : segments) {
        glVertex3d(s.x0, s.y0, s.z0);
        glVertex3d(s.x1, s.y1, s.z1);
    }
    glEnd();
    glFinish();
}

void BM_GlFrameLines(benchmark::State& state)
{
    Window window;
    if (window.rc == nullptr) {
        state.SkipWithError("EGL cannot create a desktop OpenGL context on this machine");
        return;
    }
    const std::vector<Segment> segments = MakeSegments(static_cast<size_t>(state.range(0)));
    double renderSeconds = 0.0;
    double presentSeconds = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        DrawFrame(segments);
        const auto rendered = Clock::now();
        if (SwapBuffers(window.dc) == FALSE) {
            state.SkipWithError("SwapBuffers failed");
            break;
        }
        const auto presented = Clock::now();
        benchmark::DoNotOptimize(window.pixels.data());
        renderSeconds += Seconds(rendered - start);
        presentSeconds += Seconds(presented - rendered);
        state.SetIterationTime(Seconds(presented - start));
    }
    const double frames = static_cast<double>(state.iterations());
    if (frames > 0.0) {
        state.counters["render_ms"] = renderSeconds / frames * 1e3;
        state.counters["present_ms"] = presentSeconds / frames * 1e3;
        state.counters["present_to_render"] = renderSeconds > 0.0 ? presentSeconds / renderSeconds : 0.0;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// The raw render alone, as the baseline in its own row.
void BM_GlFrameLinesRenderOnly(benchmark::State& state)
{
    Window window;
    if (window.rc == nullptr) {
        state.SkipWithError("EGL cannot create a desktop OpenGL context on this machine");
        return;
    }
    const std::vector<Segment> segments = MakeSegments(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        DrawFrame(segments);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// The present alone, of a frame rendered once.
void BM_GlFramePresentOnly(benchmark::State& state)
{
    Window window;
    if (window.rc == nullptr) {
        state.SkipWithError("EGL cannot create a desktop OpenGL context on this machine");
        return;
    }
    DrawFrame(MakeSegments(1000));
    for (auto _ : state) {
        SwapBuffers(window.dc);
        benchmark::DoNotOptimize(window.pixels.data());
    }
}

// A view's paint creates a context for its DC, draws, swaps and deletes the
// context again: the cost of that cycle around an empty frame.
void BM_GlContextPerPaint(benchmark::State& state)
{
    Window window;
    if (window.rc == nullptr) {
        state.SkipWithError("EGL cannot create a desktop OpenGL context on this machine");
        return;
    }
    wglMakeCurrent(nullptr, nullptr);
    for (auto _ : state) {
        HGLRC rc = wglCreateContext(window.dc);
        if (rc == nullptr || wglMakeCurrent(window.dc, rc) == FALSE) {
            state.SkipWithError("context creation failed");
            break;
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(window.dc);
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(rc);
    }
}

}  // namespace

BENCHMARK(BM_GlContextPerPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlFramePresentOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlFrameLinesRenderOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlFrameLines)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
