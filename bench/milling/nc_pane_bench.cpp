// The NC code pane filled with the program of one operation whose feature
// has 1 000, 10 000 and 100 000 moves (a block each), in the host's own
// text control, beside one repaint of the filled pane.
//
// - Program: the operation's whole program as text lines (what Save NC
//   File writes).
// - Repaint: one paint of the filled pane.
// - LongestPause: what the person waits for when the active operation
//   changes: the longest single stretch the fill holds the message loop,
//   the update itself (the old text emptied, the first slice shown) or one
//   of the slices that follow from the loop. Goal: no longer than one
//   repaint ("repaints" is its ratio to Repaint).
// - PaneFill: all the work of one fill, every slice run back to back.
// - OneShotFill: the fill as it was before (the baseline): the whole
//   program written, cut at the pane's limit, styled and appended in one
//   piece while the loop waits.
//
// Each row reports the least processor time of one run ("ms").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/nc_code_fill.h"
#include "addins/milling/core/nc_code_pane.h"
#include "addins/milling/features/contourfeature.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "platform/user/inspect.h"

namespace {

constexpr double kMinSeconds = 1.0;

// The thread's processor time: finer than std::clock, which a slice of a
// few dozen microseconds would fall through.
double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Run>
double LeastSeconds(benchmark::State& state, Run run)
{
    double least = 1e30;
    for (auto _ : state) {
        const double start = ProcessorSeconds();
        run();
        const double took = ProcessorSeconds() - start;
        least = std::min(least, took);
        state.SetIterationTime(took);
    }
    state.counters["ms"] = least * 1000.0;
    return least;
}

// The pane's window, its text control and a job of one operation with one
// contour of `moves` feed moves, zigzagging up the part.
struct Pane {
    explicit Pane(int moves)
    {
        // Once for all sizes: a reset destroys the windows of the panes
        // made before.
        static const bool reset = [] {
            ResetWindowSystem();
            return true;
        }();
        (void)reset;
        if (!window.CreateEx(0, CWnd::AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 600),
                             nullptr, 0) ||
            !control.Create(kRichEditLineStyle, CRect(0, 0, 400, 600), &window, 0))
            std::abort();
        addin = new CMillingAddin();
        addin->AddRef();
        addin->LoadPostprocessorsFrom(std::string(NUVEX_BENCH_BIN_DIR) + "/PostProc");
        if (addin->Postprocessors().empty())
            std::abort();
        job = new CMillingJob();
        job->AddRef();
        auto operation = std::make_unique<CMillingOperation>(addin->Postprocessors()[0], "", CMovePoint{}, false);
        auto feature = std::make_unique<CContourFeature>();
        CMovePoint at{0, 0, -1};
        for (int i = 0; i < moves; ++i) {
            CMove move;
            move.flag = kMoveFeedLine;
            move.start = at;
            at.x = (i % 2 == 0) ? 100.0 : 0.0;
            at.y += 0.25;
            move.end = at;
            if (!feature->AppendMove(move, nullptr).ok())
                std::abort();
        }
        operation->AddFeature(std::move(feature));
        job->AddOperation(std::move(operation), true);
    }
    ~Pane()
    {
        job->SetNcCodeControl(nullptr);
        job->Release();
        addin->Release();
    }
    IRichEditControl* Object() { return &control.ScriptingObject(); }

    CWnd window;
    CRichEditLineCtrl control;
    CMillingAddin* addin = nullptr;
    CMillingJob* job = nullptr;
};

// The panes by their move count. They go in main, before the end of the
// program destroys the statics their windows and add-in rely on (the
// window system, the add-in's list of live objects), which are made after
// this map and so destroyed before it.
std::map<int, std::unique_ptr<Pane>>& Panes()
{
    static std::map<int, std::unique_ptr<Pane>> panes;
    return panes;
}

Pane& PaneOf(int moves)
{
    auto& pane = Panes()[moves];
    if (!pane)
        pane = std::make_unique<Pane>(moves);
    return *pane;
}

std::map<int, double> g_repaintSeconds;

void Program(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    std::vector<std::string> lines;
    LeastSeconds(state, [&]() { (void)pane.job->WriteNcCode(lines, 0, CMillingJob::Phases::Numbered); });
    state.counters["lines"] = static_cast<double>(lines.size());
}

void Repaint(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(pane.Object());
    pane.job->UpdateNcCodePane();
    pane.job->FinishNcCodePane();
    g_repaintSeconds[static_cast<int>(state.range(0))] = LeastSeconds(state, [&]() {
        pane.control.Invalidate(TRUE);
        pane.control.UpdateWindow();
    });
}

void ReportRepaints(benchmark::State& state, double seconds)
{
    const double repaint = g_repaintSeconds[static_cast<int>(state.range(0))];
    if (repaint > 0.0)
        state.counters["repaints"] = seconds / repaint;
}

void LongestPause(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(pane.Object());
    double least = 1e30;
    double slices = 0.0;
    double leastUpdate = 1e30;
    double leastSlice = 1e30;
    for (auto _ : state) {
        // The update, then the slices one by one as the loop's timer runs
        // them, each with the repaint of what it appended.
        double start = ProcessorSeconds();
        pane.job->UpdateNcCodePane();
        pane.control.UpdateWindow();
        const double update = ProcessorSeconds() - start;
        double slice = 0.0;
        slices = 0.0;
        for (bool more = true; more;) {
            start = ProcessorSeconds();
            more = pane.job->ContinueNcCodePane();
            pane.control.UpdateWindow();
            slice = std::max(slice, ProcessorSeconds() - start);
            ++slices;
        }
        const double longest = std::max(update, slice);
        least = std::min(least, longest);
        leastUpdate = std::min(leastUpdate, update);
        leastSlice = std::min(leastSlice, slice);
        state.SetIterationTime(longest);
    }
    state.counters["ms"] = least * 1000.0;
    state.counters["slices"] = slices;
    // The two kinds of pause apart: the update, the longest later slice.
    state.counters["update_ms"] = leastUpdate * 1000.0;
    state.counters["slice_ms"] = leastSlice * 1000.0;
    ReportRepaints(state, least);
}

void PaneFill(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(pane.Object());
    const double least = LeastSeconds(state, [&]() {
        pane.job->UpdateNcCodePane();
        pane.job->FinishNcCodePane();
        pane.control.UpdateWindow();
    });
    LONG rows = 0;
    pane.Object()->GetRowCount(&rows);
    state.counters["rows"] = static_cast<double>(rows);
    ReportRepaints(state, least);
}

void OneShotFill(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(nullptr);
    IRichEditControl* control = pane.Object();
    const double least = LeastSeconds(state, [&]() {
        std::vector<std::string> program;
        std::vector<size_t> headings;
        (void)pane.job->WriteNcCode(program, 0, CMillingJob::Phases::Numbered, &headings);
        std::vector<std::string> lines{"Operation 1"};
        const bool cut = program.size() > kMaxNcPaneLines;
        if (cut)
            program.resize(kMaxNcPaneLines);
        lines.insert(lines.end(), program.begin(), program.end());
        if (cut)
            lines.emplace_back("Not Enough Memory...");
        std::vector<bool> heading(lines.size(), false);
        heading.front() = true;
        for (size_t index : headings)
            if (index + 1 < heading.size())
                heading[index + 1] = true;
        if (cut)
            heading.back() = true;
        FillNcCodePane(*control, BuildNcCodePaneText(lines, heading, pane.addin->Postprocessors()[0]));
        pane.control.UpdateWindow();
    });
    ReportRepaints(state, least);
}

} // namespace

BENCHMARK(Program)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(Repaint)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(LongestPause)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(PaneFill)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(OneShotFill)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    Panes().clear();
    benchmark::Shutdown();
    return 0;
}
