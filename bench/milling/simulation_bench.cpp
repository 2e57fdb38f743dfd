// The simulation's step on toolpaths of 1 000 and 100 000 moves, at the
// speed factor 1 (a step stays on one move) and 100 (a step passes about
// ten moves). Goal: the cost of a step does not grow with the toolpath's
// length. The clock is scripted: every step is 16 ms after the one before.
#include <benchmark/benchmark.h>

#include <vector>

#include "addins/milling/core/simulation.h"
#include "nctokens.h"

namespace {

// A zigzag of feed moves one unit long, each its own line and row.
std::vector<SimulationLine> Zigzag(int moves)
{
    std::vector<SimulationLine> lines;
    lines.reserve(static_cast<size_t>(moves));
    for (int i = 0; i < moves; ++i) {
        SimulationLine line;
        if (i == 0)
            line.tokens = {{kNcLinear, 0, 0.0}, {kNcFeed, 0, 600.0}};
        else
            line.tokens = {{kNcX, 0, static_cast<double>(i)}, {kNcY, 0, static_cast<double>(i % 2)}};
        line.segment = SimulationSegment::Straight({static_cast<double>(i), 0.0, 0.0},
                                                   {static_cast<double>(i + 1), 0.0, 0.0});
        line.row = i + 1;
        lines.push_back(std::move(line));
    }
    return lines;
}

void StepThroughToolpath(benchmark::State& state)
{
    const int moves = static_cast<int>(state.range(0));
    const double factor = static_cast<double>(state.range(1));
    DWORD now = 0;
    CSimulation simulation([&now] { return now; });
    simulation.SetLines(Zigzag(moves));
    std::vector<unsigned char> marked(static_cast<size_t>(moves) + 1, 0);
    simulation.SetMarker([&marked](long row) { marked[static_cast<size_t>(row)] = 1; });
    simulation.SetSpeedFactor(factor);
    simulation.Start();
    simulation.Step();
    for (auto _ : state) {
        now += 16;
        benchmark::DoNotOptimize(simulation.Step());
        benchmark::DoNotOptimize(simulation.ToolPosition());
    }
    state.counters["line"] = static_cast<double>(simulation.LineIndex());
}

} // namespace

BENCHMARK(StepThroughToolpath)->Args({1000, 1})->Args({100000, 1})->Args({1000, 100})->Args({100000, 100});

BENCHMARK_MAIN();
