// Offsetting and combining contours of 1 k, 10 k and 100 k segments: gear
// outlines (lines and arcs with corners), handwriting-like stroke outlines
// (lines and half circles joined tangentially), polygons, and rings of fine
// spikes that the offset cuts off.
//
// The distance cases offset the gear, the polygon and the stroke outline by
// 1 % and 5 % of the shape's size (the smaller side of its box), inwards and
// outwards: the farther the offset, the more source segments lie within
// the distance of each piece, which is what makes an offset grow faster
// than n log n.
//
// Every fixed-distance case runs with the indexed crossing search; up to 10 k segments it
// also runs with the all-pairs search as the baseline, and the indexed runs
// report the ratio baseline time / indexed time as the counter "speedup".
// The offset cases run the whole offset; the "fallback" cases run the
// filtering offset that replaces a walk result failing its check. The
// query cases time the chain's distance queries that both of these ask.
//
// After the runs a table gives, for each case and size, the CPU time per
// call (the least of its repetitions) and its growth against n log n from
// the size before: growth =
// (t(n) / t(m)) / ((n log n) / (m log m)); about 1 or below is n log n or
// better, 10 / log-ratio above that is quadratic.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "addins/milling/geometry/offsetfilter.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using Results = std::vector<std::unique_ptr<CCurveList>>;

constexpr int kLargestBaseline = 10000;
// Inwards by about a third of a tooth, a stroke or a segment.
constexpr double kOffsetDistance = 0.3;

// A gear outline of n segments (four per tooth), counter-clockwise.
std::unique_ptr<CCurveList> GearOf(int n) { return shapes::Gear(n / 4); }

// A stroke outline of about n segments (four per loop), counter-clockwise.
std::unique_ptr<CCurveList> StrokeOf(int n) { return shapes::Serpentine(n / 4); }

// A ring of n segments of about 0.2 with spikes up to 0.8 long: the offset
// cuts them off, the walk gives way to the filtering offset.
std::unique_ptr<CCurveList> SpikyOf(int n)
{
    std::mt19937 random(99);
    return shapes::SpikyRing(random, n);
}

// A jagged star polygon of n segments of about unit length.
std::unique_ptr<CCurveList> PolygonOf(int n)
{
    std::mt19937 random(1234);
    const double radius = n / kTwoPi;
    return shapes::RandomStar(random, n, radius - 0.4, radius + 0.4);
}

using Shape = std::unique_ptr<CCurveList> (*)(int);

// The smaller side of a chain's box.
double SizeOf(const CCurveList& list)
{
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    list.GetBounds(x0, y0, x1, y1);
    return std::min(x1 - x0, y1 - y0);
}

// An offset by a share of the shape's size: range(0) segments, range(1)
// the distance in percent, range(2) 1 inwards and 0 outwards, range(3) 1
// staged (the default) and 0 in one go.
void DistanceCase(benchmark::State& state, Shape shape)
{
    auto list = shape(static_cast<int>(state.range(0)));
    list->IsClockwise(0);
    const double distance = SizeOf(*list) * static_cast<double>(state.range(1)) / 100.0;
    const int side = state.range(2) ? list->clockwise : 1 - list->clockwise;
    for (auto _ : state) {
        Results results;
        benchmark::DoNotOptimize(list->Offset(distance, side, results, 0, 0.0, 0, 0.0, PairSearch::Indexed,
                                              state.range(3) ? OffsetStaging::Staged : OffsetStaging::OneGo));
    }
    state.counters["segments"] = list->GetCount();
}

int RunOffset(const CCurveList& list, PairSearch search)
{
    Results results;
    return list.Offset(kOffsetDistance, list.clockwise, results, 0, 0.0, 0, 0.0, search);
}

int RunFallback(const CCurveList& list, PairSearch search)
{
    Results results;
    return FilteredOffset(list, kOffsetDistance, list.clockwise, results, 0, 0.0, search);
}

int RunCombine(const CCurveList& a, const CCurveList& b, PairSearch search)
{
    Results results;
    return a.Combine(b, CombineMode::Union, results, search);
}

template <typename Run>
double SecondsOf(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <int (*Run)(const CCurveList&, PairSearch)>
void OffsetCase(benchmark::State& state, Shape shape, PairSearch search)
{
    auto list = shape(static_cast<int>(state.range(0)));
    list->IsClockwise(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(Run(*list, search));
    state.SetComplexityN(list->GetCount());
    state.counters["segments"] = list->GetCount();
    if (search == PairSearch::Indexed && state.range(0) <= kLargestBaseline) {
        const double baseline = SecondsOf([&] { Run(*list, PairSearch::AllPairs); });
        const double indexed = SecondsOf([&] { Run(*list, PairSearch::Indexed); });
        state.counters["speedup"] = baseline / indexed;
    }
}

void Offset(benchmark::State& state, Shape shape, PairSearch search) { OffsetCase<RunOffset>(state, shape, search); }
void Fallback(benchmark::State& state, Shape shape, PairSearch search)
{
    OffsetCase<RunFallback>(state, shape, search);
}

void Combine(benchmark::State& state, Shape shape, PairSearch search)
{
    auto a = shape(static_cast<int>(state.range(0)));
    auto b = shapes::Moved(a->Copy(), {0.35, 0.2});
    a->IsClockwise(0);
    b->IsClockwise(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(RunCombine(*a, *b, search));
    state.SetComplexityN(a->GetCount());
    state.counters["segments"] = a->GetCount();
    if (search == PairSearch::Indexed && state.range(0) <= kLargestBaseline) {
        const double baseline = SecondsOf([&] { RunCombine(*a, *b, PairSearch::AllPairs); });
        const double indexed = SecondsOf([&] { RunCombine(*a, *b, PairSearch::Indexed); });
        state.counters["speedup"] = baseline / indexed;
    }
}

// The smallest of the repetitions: other work on a shared machine only
// ever adds to a time.
double Least(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// A warm-up run first: the first call at a size pays for fresh memory
// pages, which says nothing about how the algorithm grows. The indexed
// cases then run three times (each long enough for several calls at
// 100 k segments) and report the least time as "least".
void SizesAll(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.2)->MinTime(0.7);
    b->Repetitions(3)->ComputeStatistics("least", Least)->DisplayAggregatesOnly();
}
void SizesBaseline(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.2);
}

BENCHMARK_CAPTURE(Offset, gear_indexed, GearOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, gear_allpairs, GearOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Offset, stroke_indexed, StrokeOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, stroke_allpairs, StrokeOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Offset, polygon_indexed, PolygonOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, polygon_allpairs, PolygonOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Offset, spiky_indexed, SpikyOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Offset, spiky_allpairs, SpikyOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Fallback, gear_indexed, GearOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Fallback, stroke_indexed, StrokeOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Fallback, polygon_indexed, PolygonOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, gear_indexed, GearOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, gear_allpairs, GearOf, PairSearch::AllPairs)->Apply(SizesBaseline);
BENCHMARK_CAPTURE(Combine, stroke_indexed, StrokeOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, polygon_indexed, PolygonOf, PairSearch::Indexed)->Apply(SizesAll);
BENCHMARK_CAPTURE(Combine, polygon_allpairs, PolygonOf, PairSearch::AllPairs)->Apply(SizesBaseline);

// The chain's distance queries at 1 000 points a call, round the jagged
// polygon at 1 % of its size (the distance of the offset cases): points
// about that far inside the outline, as the offset's check and the
// filtering offset ask about them. "within": the distance when below the
// limit, stopping at a segment nearer than the limit less a slack;
// "nearer": whether a segment lies nearer than the limit; "full": the
// distance without a limit from points anywhere in the polygon's box. The
// scan cases (to 10 k segments) answer "within" from every segment, the
// baseline the counter "speedup" divides by.
struct QueryPoints {
    std::unique_ptr<CCurveList> chain;
    double limit = 0.0;
    std::vector<CPoint2D> nearPoints, anyPoints;
};

QueryPoints QueryPointsOf(int n)
{
    QueryPoints q;
    q.chain = PolygonOf(n);
    q.limit = SizeOf(*q.chain) / 100.0;
    const double radius = n / kTwoPi;
    std::mt19937 random(77);
    std::uniform_real_distribution<double> angle(0.0, kTwoPi), depth(0.9, 1.1), coordinate(-radius, radius);
    for (int k = 0; k < 1000; ++k) {
        const double a = angle(random), r = radius - q.limit * depth(random);
        q.nearPoints.emplace_back(r * std::cos(a), r * std::sin(a));
        q.anyPoints.emplace_back(coordinate(random), coordinate(random));
    }
    return q;
}

double ScanDistance(const CCurveList& chain, const CPoint2D& p)
{
    double best = std::numeric_limits<double>::infinity();
    for (const auto& segment : chain.segments)
        best = std::min(best, (NearestOnSegment(*segment, p) - p).Length());
    return best;
}

enum class Query { Within, Nearer, Full, Scan };

void ChainQuery(benchmark::State& state, Query query)
{
    const QueryPoints q = QueryPointsOf(static_cast<int>(state.range(0)));
    const CChainDistance near(*q.chain, q.limit);
    const double enough = q.limit - 1e-5;
    auto batch = [&](Query which) {
        double sum = 0.0;
        for (size_t k = 0; k < q.nearPoints.size(); ++k) {
            switch (which) {
            case Query::Within: sum += near.Distance(q.nearPoints[k], q.limit, enough); break;
            case Query::Nearer: sum += near.IsNearer(q.nearPoints[k], q.limit) ? 1.0 : 0.0; break;
            case Query::Full: sum += near.Distance(q.anyPoints[k], std::numeric_limits<double>::infinity()); break;
            case Query::Scan: sum += ScanDistance(*q.chain, q.nearPoints[k]); break;
            }
        }
        return sum;
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(batch(query));
    state.counters["segments"] = q.chain->GetCount();
    if (query == Query::Within && state.range(0) <= kLargestBaseline) {
        const double baseline = SecondsOf([&] { benchmark::DoNotOptimize(batch(Query::Scan)); });
        const double indexed = SecondsOf([&] { benchmark::DoNotOptimize(batch(Query::Within)); });
        state.counters["speedup"] = baseline / indexed;
    }
}

void SizesQuery(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.1)->MinTime(0.3);
    b->Repetitions(3)->ComputeStatistics("least", Least)->DisplayAggregatesOnly();
}

BENCHMARK_CAPTURE(ChainQuery, within, Query::Within)->Apply(SizesQuery);
BENCHMARK_CAPTURE(ChainQuery, nearer, Query::Nearer)->Apply(SizesQuery);
BENCHMARK_CAPTURE(ChainQuery, full, Query::Full)->Apply(SizesQuery);
BENCHMARK_CAPTURE(ChainQuery, scan, Query::Scan)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->MinWarmUpTime(0.1);

struct DistanceShape {
    const char* name;
    Shape shape;
};
const DistanceShape kDistanceShapes[] = {{"gear", GearOf}, {"polygon", PolygonOf}, {"stroke", StrokeOf}};

// One case a shape, distance, side and staging, so that the growth table
// has a row for each; every size runs five times and counts by its least
// time. A 100 k-segment size runs a single call a repetition, so one slow
// spell of the machine decides a repetition; five of them, spread over the
// run (see main), let the least step past such spells. The offset in one
// go, the baseline, stops at 10 k segments: at 100 k it takes from seconds
// to minutes.
constexpr int kDistanceRepetitions = 5;

void RegisterDistanceCases()
{
    for (const DistanceShape& shape : kDistanceShapes) {
        for (int percent : {1, 5}) {
            for (int inwards : {1, 0}) {
                for (int staged : {1, 0}) {
                    const std::string name = std::string("Distance/") + shape.name + "_" + std::to_string(percent) +
                                             "pct_" + (inwards ? "in" : "out") + (staged ? "" : "_onego");
                    auto* b = benchmark::RegisterBenchmark(name.c_str(), DistanceCase, shape.shape);
                    for (int n : {1000, 10000, 100000})
                        if (staged || n <= kLargestBaseline)
                            b->Args({n, percent, inwards, staged});
                    b->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.1)->MinTime(0.3);
                    b->Repetitions(kDistanceRepetitions)->ComputeStatistics("least", Least)->DisplayAggregatesOnly();
                }
            }
        }
    }
}

// The console report, then the growth table of every case.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // A repeated case counts by its least time, a single one by its run.
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool least = run.run_type == Run::RT_Aggregate && run.aggregate_name == "least";
            const auto segments = run.counters.find("segments");
            if (run.error_occurred || !(single || least) || segments == run.counters.end())
                continue;
            // The time unit is milliseconds for every case.
            m_cases[run.run_name.function_name].push_back(
                {static_cast<int64_t>(segments->second.value), run.GetAdjustedCPUTime()});
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-26s %9s %12s %8s\n", "case", "segments", "cpu ms", "growth");
        for (auto& [name, sizes] : m_cases) {
            // Interleaved repetitions report the sizes of a case in any order.
            std::sort(sizes.begin(), sizes.end(), [](const Size& a, const Size& b) { return a.n < b.n; });
            for (size_t k = 0; k < sizes.size(); ++k) {
                std::printf("%-26s %9lld %12.2f", name.c_str(), static_cast<long long>(sizes[k].n), sizes[k].ms);
                if (k > 0 && sizes[k - 1].ms > 0.0) {
                    const double n = static_cast<double>(sizes[k].n), m = static_cast<double>(sizes[k - 1].n);
                    const double growth = (sizes[k].ms / sizes[k - 1].ms) / ((n * std::log(n)) / (m * std::log(m)));
                    std::printf(" %8.2f", growth);
                }
                std::printf("\n");
            }
        }
        std::printf("growth: time ratio over the n log n ratio from the size before (1 = n log n)\n");
    }

private:
    struct Size {
        int64_t n;
        double ms;
    };
    std::map<std::string, std::vector<Size>> m_cases;
};

} // namespace

// Repetitions run interleaved at random with those of the other cases
// unless the command line says otherwise: a shared machine's speed changes for
// seconds at a time, and repetitions run back to back would all fall into
// one spell, which the neighbouring size of the same case may miss.
int main(int argc, char** argv)
{
    RegisterDistanceCases();
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(args.begin(), args.end(), [](const char* arg) {
            return std::string(arg).rfind("--benchmark_enable_random_interleaving", 0) == 0;
        }))
        args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
