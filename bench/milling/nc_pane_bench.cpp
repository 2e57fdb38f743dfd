// The NC code pane filled with the program of one operation whose feature
// has 1 000, 10 000 and 100 000 moves (a block each), in the host's own
// text control, beside one repaint of the filled pane.
//
// - Program: the operation's program as text lines (what any display of it
//   costs first).
// - PaneFill: what the person waits for when the active operation changes:
//   the program, the colour runs from the postprocessor's styles, the text
//   into the control and the runs coloured. The pane shows at most 10 240
//   lines of a program, so 10 000 and 100 000 moves fill it alike.
// - PreviousFill: the fill as it was before, one line appended at a time in
//   one colour (the baseline).
// - Repaint: one paint of the filled pane.
//
// Each row reports the least processor time of one run ("ms"); PaneFill
// also its ratio to one repaint ("repaints").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/nc_code_pane.h"
#include "addins/milling/features/contourfeature.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "platform/user/inspect.h"

namespace {

constexpr double kMinSeconds = 1.0;

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

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
        ResetWindowSystem();
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

Pane& PaneOf(int moves)
{
    static std::map<int, std::unique_ptr<Pane>> panes;
    auto& pane = panes[moves];
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
    g_repaintSeconds[static_cast<int>(state.range(0))] = LeastSeconds(state, [&]() {
        pane.control.Invalidate(TRUE);
        pane.control.UpdateWindow();
    });
}

void PaneFill(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(pane.Object());
    const double least = LeastSeconds(state, [&]() {
        pane.job->UpdateNcCodePane();
        pane.control.UpdateWindow();
    });
    LONG rows = 0;
    pane.Object()->GetRowCount(&rows);
    state.counters["rows"] = static_cast<double>(rows);
    const double repaint = g_repaintSeconds[static_cast<int>(state.range(0))];
    if (repaint > 0.0)
        state.counters["repaints"] = least / repaint;
}

void PreviousFill(benchmark::State& state)
{
    Pane& pane = PaneOf(static_cast<int>(state.range(0)));
    pane.job->SetNcCodeControl(nullptr);
    IRichEditControl* control = pane.Object();
    LeastSeconds(state, [&]() {
        LONG rows = 0;
        control->GetRowCount(&rows);
        control->DeleteRowRange(0, rows, FALSE);
        CHARFORMAT format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR | CFM_PROTECTED | CFM_BOLD;
        format.dwEffects = CFE_PROTECTED;
        format.crTextColor = 0x0000FF;
        control->SetDefaultCharFormat(&format);
        for (const std::string& line : pane.job->NcCodePaneLines())
            control->AppendText(line.c_str(), FALSE);
        pane.control.UpdateWindow();
    });
}

} // namespace

BENCHMARK(Program)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(Repaint)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(PaneFill)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviousFill)->Arg(1000)->Arg(10000)->UseManualTime()->MinTime(kMinSeconds)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
