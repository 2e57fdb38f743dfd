// The view's repaint of a document of line entities (every holder drawing
// itself through the graphics context, with the paint's own context,
// projection, lighting and tool-layer phases) against the raw OpenGL draw
// of the same segments in one glBegin/glEnd block, each frame with its own
// context, clear, finish and swap into a full-HD window's image, as a paint
// has them. Both are timed in the same iteration; the ratio counter is the
// repaint over the raw draw, whose goal is at most 1.5 at 100 000 lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

#include "addins/entities/line_entity.h"
#include "host/document/tests/document_test_support.h"
#include "host/view/gl_window_paint.h"
#include "host/view/graphics_context.h"
#include "host/view/view_transform.h"
#include "objectmodel/entity_record.h"
#include "platform/gdi/gdi.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Segment {
    CVector3 from;
    CVector3 to;
};

std::vector<Segment> MakeSegments(size_t count)
{
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
    std::uniform_real_distribution<double> offset(-20.0, 20.0);
    std::vector<Segment> segments(count);
    for (Segment& s : segments) {
        const double x = coordinate(random);
        const double y = coordinate(random) * 0.5;
        s.from = CVector3(x, y, 0.0);
        s.to = CVector3(x + offset(random), y + offset(random), 0.0);
    }
    return segments;
}

// A window-less view: its transform and the graphics context it lends.
class BenchView : public IGraphicsContextOwner {
public:
    BenchView() : context(*this, SystemGLCalls())
    {
        transform.SetClientSize(kWidth, kHeight);
        transform.UpdateCursorCentre();
        transform.BuildViewMatrices();
        transform.UpdateCursorLine();
        transform.UpdateEdgePlanes();
    }
    bool IsPainting() const override { return true; }
    double GetScale() const override { return transform.Scale(); }
    HDC GetPaintDC() const override { return nullptr; }
    const std::array<CPlaneObject, 4>& GetEdgePlanes() const override { return transform.EdgePlanes(); }

    PaintViewState PaintState() const
    {
        PaintViewState state;
        state.clientWidth = kWidth;
        state.clientHeight = kHeight;
        state.scale = transform.Scale();
        state.translation = transform.TranslationMatrix();
        state.orientation = transform.Orientation();
        return state;
    }

    CViewTransform transform;
    CGraphicsContext context;
};

struct Surface {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u);
    HDC dc = CreateSurfaceDC(GdiSurface{pixels.data(), kWidth, kHeight, kWidth}, {0, 0}, {0, 0, kWidth, kHeight});
    ~Surface() { DeleteSurfaceDC(dc); }
};

// One raw frame: a new context, the same projection as the view's, the
// segments in one block, finish and swap; the context deleted again.
bool RawFrame(HDC dc, const std::vector<Segment>& segments)
{
    PIXELFORMATDESCRIPTOR request = ViewPixelFormatDescriptor();
    SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request);
    HGLRC rc = wglCreateContext(dc);
    if (rc == nullptr || !wglMakeCurrent(dc, rc)) {
        return false;
    }
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kWidth / 2.0, kWidth / 2.0, -kHeight / 2.0, kHeight / 2.0, -1000.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glColor3d(0.0, 0.0, 0.0);
    glBegin(GL_LINES);
    for (const Segment& s : segments) {
        glVertex3d(s.from.x.GetValue(), s.from.y.GetValue(), s.from.z.GetValue());
        glVertex3d(s.to.x.GetValue(), s.to.y.GetValue(), s.to.z.GetValue());
    }
    glEnd();
    glFinish();
    SwapBuffers(dc);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(rc);
    return true;
}

void BM_RepaintAgainstRawDraw(benchmark::State& state)
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    const auto count = static_cast<size_t>(state.range(0));
    const std::vector<Segment> segments = MakeSegments(count);
    DocumentFixture fixture;
    for (const Segment& s : segments) {
        auto* line = new CLineEntity();
        CVector3 from = s.from;
        CVector3 to = s.to;
        line->SetStartPoint(&from);
        line->SetEndPoint(&to);
        fixture.document.AddObject(new CEntityRecord(static_cast<IObjectBase*>(line)));
    }
    BenchView view;
    Surface surface;
    CViewGLContext setup(SystemGLCalls());
    DocumentPaintScene scene(fixture.document, &view.context);

    double raw = 0.0;
    double repaint = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!RawFrame(surface.dc, segments)) {
            state.SkipWithError("no OpenGL context on this machine");
            return;
        }
        const auto middle = Clock::now();
        PaintViewState paintState = view.PaintState();
        const PaintOutcome outcome = PaintGLScene(setup, surface.dc, paintState, scene, 1, nullptr, nullptr);
        const auto end = Clock::now();
        if (outcome != PaintOutcome::Drawn) {
            state.SkipWithError("the view's paint drew nothing");
            return;
        }
        raw += Seconds(middle - start);
        repaint += Seconds(end - middle);
        state.SetIterationTime(Seconds(end - middle));
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["raw_ms"] = 1000.0 * raw / frames;
    state.counters["repaint_ms"] = 1000.0 * repaint / frames;
    state.counters["ratio"] = repaint / raw;
}
BENCHMARK(BM_RepaintAgainstRawDraw)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
