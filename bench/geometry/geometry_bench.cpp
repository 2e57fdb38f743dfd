// Offsetting and combining contours of 1 k, 10 k and 100 k segments: gear
// outlines (half arcs) and polygons. Each case runs with the indexed crossing
// search and with the all-pairs search as its baseline (the latter only up to
// 10 k segments, where it still finishes); the indexed runs report the ratio
// baseline time / indexed time as the counter "speedup".
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>

#include "addins/milling/geometry/tests/shapes.h"

namespace {

using Results = std::vector<std::unique_ptr<CCurveList>>;

constexpr int kLargestBaseline = 10000;

// A gear outline of n segments (four per tooth), counter-clockwise.
std::unique_ptr<CCurveList> GearOf(int n) { return shapes::Gear(n / 4); }

// A jagged star polygon of n segments of about unit length.
std::unique_ptr<CCurveList> PolygonOf(int n)
{
    std::mt19937 random(1234);
    const double radius = n / kTwoPi;
    return shapes::RandomStar(random, n, radius - 0.4, radius + 0.4);
}

std::unique_ptr<CCurveList> Shifted(const CCurveList& list, const CPoint2D& by)
{
    auto copy = list.Copy();
    for (auto& segment : copy->segments) {
        if (segment->GetType() == kSegmentTypeArc) {
            auto& arc = static_cast<CArcSegment2D&>(*segment);
            arc.centre = arc.centre + by;
        } else {
            auto& line = static_cast<CLineSegment2D&>(*segment);
            line.start = line.start + by;
            line.end = line.end + by;
        }
    }
    return copy;
}

using Shape = std::unique_ptr<CCurveList> (*)(int);

int RunOffset(const CCurveList& list, PairSearch search)
{
    Results results;
    // Inwards by half a tooth (or half a segment), round corners.
    return list.Offset(0.3, list.clockwise, results, 0, 0.0, 0, 0.0, search);
}

int RunCombine(const CCurveList& a, const CCurveList& b, PairSearch search)
{
    Results results;
    return a.Combine(b, 1, results, search);
}

template <typename Run>
double SecondsOf(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Offset(benchmark::State& state, Shape shape, PairSearch search)
{
    auto list = shape(static_cast<int>(state.range(0)));
    list->IsClockwise(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunOffset(*list, search));
    state.SetComplexityN(state.range(0));
    state.counters["segments"] = static_cast<double>(list->GetCount());
    if (search == PairSearch::Indexed && state.range(0) <= kLargestBaseline) {
        const double baseline = SecondsOf([&] { RunOffset(*list, PairSearch::AllPairs); });
        const double indexed = SecondsOf([&] { RunOffset(*list, PairSearch::Indexed); });
        state.counters["speedup"] = baseline / indexed;
    }
}

void Combine(benchmark::State& state, Shape shape, PairSearch search)
{
    auto a = shape(static_cast<int>(state.range(0)));
    auto b = Shifted(*a, {0.35, 0.2});
    a->IsClockwise(0);
    b->IsClockwise(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunCombine(*a, *b, search));
    state.SetComplexityN(state.range(0));
    if (search == PairSearch::Indexed && state.range(0) <= kLargestBaseline) {
        const double baseline = SecondsOf([&] { RunCombine(*a, *b, PairSearch::AllPairs); });
        const double indexed = SecondsOf([&] { RunCombine(*a, *b, PairSearch::Indexed); });
        state.counters["speedup"] = baseline / indexed;
    }
}

void SizesAll(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond); }
void SizesBaseline(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond); }

BENCHMARK_CAPTURE(Offset, gear_indexed, GearOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, gear_allpairs, GearOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Offset, polygon_indexed, PolygonOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, polygon_allpairs, PolygonOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Combine, gear_indexed, GearOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, gear_allpairs, GearOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Combine, polygon_indexed, PolygonOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, polygon_allpairs, PolygonOf, PairSearch::AllPairs)->Apply(SizesBaseline);

} // namespace
