// Picking and snapping under the cursor in a drawing of 100 000 lines, with
// the box tree over object extents and, for comparison, with the walk over
// every object.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "host/document/tests/document_test_support.h"
#include "host/view/cursor_evaluation.h"
#include "host/view/picking.h"
#include "host/view/spatial_index.h"
#include "host/view/tests/test_segment.h"
#include "host/view/view_transform.h"
#include "objectmodel/entity_record.h"

namespace {

constexpr int kLines = 100000;
constexpr double kField = 10000.0;
constexpr int kWidth = 1000;
constexpr int kHeight = 800;

// A document of kLines short lines spread over the field, seen whole.
struct Drawing {
    Drawing()
    {
        VARIANT real{};
        real.vt = VT_R8;
        VARIANT on{};
        on.vt = VT_UI1;
        on.bVal = 1;
        for (int i = 0; i < 12; ++i) {
            services.variables.emplace_back("Unused" + std::to_string(i), real);
        }
        for (double value : {0.0, 0.0, -1.0, 1.0, 0.0, 0.0}) {
            real.dblVal = value;
            services.variables.emplace_back("View" + std::to_string(services.variables.size()), real);
        }
        for (int i = 0; i < 7; ++i) {
            services.variables.emplace_back("Snap" + std::to_string(i), on);
        }
        document = std::make_unique<CNuvexDoc>(services, output);
        std::mt19937 random(42);
        std::uniform_real_distribution<double> coordinate(-kField / 2, kField / 2);
        std::uniform_real_distribution<double> step(-40.0, 40.0);
        for (int i = 0; i < kLines; ++i) {
            const CVector3 a(coordinate(random), coordinate(random), 0.0);
            const CVector3 b = a + CVector3(step(random), step(random), 0.0);
            document->AddObject(new CEntityRecord(static_cast<ILine*>(new TestSegment(a, b))));
        }
        document->CommitUndoStep();
        view.SetClientSize(kWidth, kHeight);
        view.SetScale(kHeight / kField);
        view.ReadViewOrientation(*document);
    }
    // The cursor at client (x, y), transforms up to date.
    CPoint2 Aim(int x, int y)
    {
        view.SetCursorClient(POINT{x, y});
        view.UpdateCursorCentre();
        view.BuildViewMatrices();
        view.UpdateCursorLine();
        return CPoint2(view.CursorView().x, view.CursorView().y);
    }

    TestServices services;
    TestOutput output;
    std::unique_ptr<CNuvexDoc> document;
    CViewTransform view;
};

Drawing& TheDrawing()
{
    static Drawing drawing;
    return drawing;
}

void Pick(benchmark::State& state, bool indexed)
{
    Drawing& drawing = TheDrawing();
    CSpatialIndex index(*drawing.document);
    CPickHelper picker(*drawing.document);
    if (indexed) {
        picker.SetSpatialIndex(&index);
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    int64_t picked = 0;
    for (auto _ : state) {
        const CPoint2 cursor = drawing.Aim(x(random), y(random));
        picker.Evaluate(drawing.view, cursor, cursor, kSinglePick, 1, FALSE);
        picked += picker.Region().GetCount();
    }
    state.counters["picked"] = static_cast<double>(picked) / static_cast<double>(state.iterations());
}

void Snap(benchmark::State& state, bool indexed)
{
    Drawing& drawing = TheDrawing();
    CSpatialIndex index(*drawing.document);
    CCursorEvaluator evaluator(*drawing.document);
    if (indexed) {
        evaluator.SetSpatialIndex(&index);
    }
    std::mt19937 random(9);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    int64_t snapped = 0;
    for (auto _ : state) {
        const CPoint2 cursor = drawing.Aim(x(random), y(random));
        evaluator.Evaluate(drawing.view, cursor, 1);
        snapped += drawing.document->SnapEngine().ResultKind() != 0 ? 1 : 0;
    }
    state.counters["snapped"] = static_cast<double>(snapped) / static_cast<double>(state.iterations());
}

void BM_PickUnderCursor(benchmark::State& state) { Pick(state, true); }
void BM_PickUnderCursorWalkingEveryObject(benchmark::State& state) { Pick(state, false); }
void BM_SnapUnderCursor(benchmark::State& state) { Snap(state, true); }
void BM_SnapUnderCursorWalkingEveryObject(benchmark::State& state) { Snap(state, false); }

// Building the tree once after the drawing changed.
void BM_BuildIndex(benchmark::State& state)
{
    Drawing& drawing = TheDrawing();
    CSpatialIndex index(*drawing.document);
    const std::array<CPlaneObject, 4> planes;
    for (auto _ : state) {
        index.Invalidate();
        benchmark::DoNotOptimize(index.Query(planes).size());
    }
}

BENCHMARK(BM_PickUnderCursor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickUnderCursorWalkingEveryObject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapUnderCursor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapUnderCursorWalkingEveryObject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

}  // namespace
