// Contour and pocket toolpaths of two parts at 100, 1 000, 10 000 and
// 30 000 boundary segments in all:
// - Gear: a gear-shaped boundary with four gear-shaped islands. The part
//   keeps its size as the segment count grows, so the times show how the
//   toolpaths grow with the boundary's detail rather than its area. From
//   about 2 000 segments on the teeth are finer than the tool radius, so each
//   offset by the tool radius spans many teeth: 10 000 is the first size of
//   that regime and 30 000 shows how it grows within it.
// - Field: a gear-shaped boundary round a square field of small gear-shaped
//   islands, one per 24 segments of the part's half; the field keeps its
//   spacing, so the part's area, its islands and its passes grow with the
//   segment count (the nesting, merging, cutting and linking of many
//   islands).
// And the merging of island outlines alone: a row of 100, 1 000 and 10 000
// islands each overlapping the next, which unite into one outline.
//
// Each row reports the least processor time of one computation over its
// iterations ("ms"; at least kMinSeconds of runs per row, so that other work
// on the machine does not pass for growth) and, from the second size
// on, "growth_vs_nlogn": the time's growth from the previous size over the
// growth of n log n (1 or less: no worse than n log n).
//
// Baseline, in the same run: the pocket of the same part with every arc
// approximated by chords within 0.001, cleared by repeated plain offsets of
// the boundary (inwards) and the islands (outwards) by the tool radius plus
// whole step-overs, the grown islands cut out of each ring, until the
// boundary's offset vanishes. The pocket rows report the baseline's time
// ("baseline_ms") and its ratio over theirs ("baseline_ratio", above 1: our
// pocket is faster). The baseline runs up to kLargestBaseline segments: at
// 10 000 its plain offsets of the chords take many minutes per pocket.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <string>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/toolpathsteps.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using Chains = std::vector<std::unique_ptr<CCurveList>>;

constexpr double kPartRadius = 60.0;   // root radius of the boundary gear
constexpr double kIslandRadius = 8.0;  // root radius of each island gear
constexpr double kIslandCentre = 30.0; // islands at (+-30, +-30)
constexpr double kToolDiameter = 4.0;
constexpr double kRadialStepPercent = 40.0;
constexpr double kChordTolerance = 0.001;
constexpr int kLargestBaseline = 1000;
constexpr double kMinSeconds = 2.0;
constexpr int kFieldIslandSegments = 24; // six teeth
constexpr double kFieldIslandRadius = 2.5;
constexpr double kFieldSpacing = 12.0;
constexpr double kFieldMargin = 8.0;

// A gear of about `segments` segments (four per tooth, at least three teeth)
// with the given root radius, centred at c.
std::unique_ptr<CCurveList> GearAt(int segments, double rootRadius, const CPoint2D& c)
{
    const int teeth = std::max(3, segments / 4);
    return shapes::Moved(shapes::Gear(teeth, 1.5 * rootRadius / teeth), c);
}

// The part: 60 % of the segments on the boundary, 10 % on each island.
Chains Part(int segments)
{
    Chains part;
    part.push_back(GearAt(segments * 6 / 10, kPartRadius, {0, 0}));
    for (const CPoint2D& c : {CPoint2D(kIslandCentre, kIslandCentre), CPoint2D(-kIslandCentre, kIslandCentre),
                             CPoint2D(-kIslandCentre, -kIslandCentre), CPoint2D(kIslandCentre, -kIslandCentre)})
        part.push_back(GearAt(segments / 10, kIslandRadius, c));
    return part;
}

// The field part: half the segments on the boundary, the rest on islands of
// kFieldIslandSegments each, in a square grid at kFieldSpacing.
Chains FieldPart(int segments)
{
    const int islands = std::max(1, segments / 2 / kFieldIslandSegments);
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(islands))));
    const double half = kFieldSpacing * (side - 1) / 2.0;
    Chains part;
    part.push_back(GearAt(segments / 2, half * std::sqrt(2.0) + kFieldIslandRadius + kFieldMargin, {0, 0}));
    for (int k = 0; k < islands; ++k) {
        const CPoint2D c(-half + kFieldSpacing * (k % side), -half + kFieldSpacing * (k / side));
        part.push_back(GearAt(kFieldIslandSegments, kFieldIslandRadius, c));
    }
    return part;
}

// The time of one computation per part and size, and its growth over the
// growth of n log n from the previous size of the same row family.
void ReportGrowth(benchmark::State& state, const std::string& family, double n, double seconds)
{
    static std::map<std::string, std::map<double, double>> times; // family: n -> seconds
    state.counters["ms"] = seconds * 1e3;
    std::map<double, double>& sizes = times[family];
    auto below = sizes.lower_bound(n);
    if (below != sizes.begin()) {
        --below;
        const auto [n0, t0] = *below;
        if (t0 > 0.0 && n0 > 1.0)
            state.counters["growth_vs_nlogn"] = (seconds / t0) / ((n * std::log(n)) / (n0 * std::log(n0)));
    }
    sizes[n] = seconds;
}

int SegmentCount(const Chains& chains)
{
    int n = 0;
    for (const auto& c : chains)
        n += c->GetCount();
    return n;
}

// The chain with every arc replaced by chords within the chord tolerance.
std::unique_ptr<CCurveList> Polygonized(const CCurveList& chain)
{
    auto out = std::make_unique<CCurveList>();
    for (const auto& s : chain.segments) {
        if (s->GetType() != kSegmentTypeArc) {
            out->Append(s->Clone(0));
            continue;
        }
        const auto& arc = static_cast<const CArcSegment2D&>(*s);
        const double maxAngle = 2.0 * std::acos(std::max(-1.0, 1.0 - kChordTolerance / arc.radius));
        const double sweep = arc.SweepAngle();
        const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / maxAngle)));
        const CPoint2D start = arc.GetStartPoint() - arc.centre;
        const double a0 = std::atan2(start.y, start.x);
        const double sign = arc.ccw ? 1.0 : -1.0;
        CPoint2D from = arc.GetStartPoint();
        for (int k = 1; k <= pieces; ++k) {
            const double a = a0 + sign * sweep * k / pieces;
            const CPoint2D to =
                k == pieces ? arc.GetEndPoint() : arc.centre + CPoint2D(std::cos(a), std::sin(a)) * arc.radius;
            out->Append(std::make_unique<CLineSegment2D>(from, to));
            from = to;
        }
    }
    out->IsClockwise(0);
    return out;
}

// Closed offsets of the chain with its own orientation.
Chains PlainOffset(const CCurveList& chain, double distance, int side)
{
    Chains results, kept;
    chain.Offset(distance, side, results, 0, 0.0, 0, 0.0);
    for (auto& r : results)
        if (r->GetCount() > 0 && r->IsClosed() && r->IsClockwise(0) == chain.clockwise)
            kept.push_back(std::move(r));
    return kept;
}

// The baseline pocket: returns the number of rings cut at one level.
int BaselinePocket(const Chains& polygons)
{
    const double radius = kToolDiameter / 2.0;
    const double step = kToolDiameter * kRadialStepPercent / 100.0;
    int rings = 0;
    for (double d = radius;; d += step) {
        Chains boundary = PlainOffset(*polygons[0], d, polygons[0]->clockwise);
        if (boundary.empty())
            break;
        for (size_t i = 1; i < polygons.size(); ++i) {
            for (auto& grown : PlainOffset(*polygons[i], d, polygons[i]->clockwise ? 0 : 1)) {
                Chains next;
                for (auto& ring : boundary) {
                    Chains pieces;
                    if (ring->Combine(*grown, CombineMode::Difference, pieces) < 0) {
                        if (!grown->ContainsList(*ring, 0))
                            next.push_back(std::move(ring));
                        continue;
                    }
                    for (auto& p : pieces)
                        if (p->GetCount() > 0 && p->IsClosed()) {
                            p->IsClockwise(0);
                            next.push_back(std::move(p));
                        }
                }
                boundary = std::move(next);
            }
        }
        rings += static_cast<int>(boundary.size());
    }
    return rings;
}

CMillingParams Params()
{
    CMillingParams p;
    p.zTop = 0.0;
    p.zBottom = 0.0;
    p.zSafePlane = 10.0;
    p.zEngage = 1.0;
    p.tool.diameter = kToolDiameter;
    p.tool.radialStep = kRadialStepPercent;
    p.tool.verticalStep = 1.0;
    return p;
}

template <typename Run>
// Processor time of the run: the computations are single-threaded, and the
// processor time does not count what other programs on the machine take.
double SecondsOf(Run&& run)
{
    const std::clock_t start = std::clock();
    run();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double BaselineSeconds(const Chains& part)
{
    Chains polygons;
    for (const auto& c : part)
        polygons.push_back(Polygonized(*c));
    return SecondsOf([&] { benchmark::DoNotOptimize(BaselinePocket(polygons)); });
}

template <typename Feature>
void Toolpath(benchmark::State& state, const char* family, Chains (*make)(int), bool pocket)
{
    const Chains part = make(static_cast<int>(state.range(0)));
    size_t moves = 0;
    double seconds = -1.0;
    for (auto _ : state) {
        Feature f;
        const double once = SecondsOf([&] {
            if (!f.ComputeFromContours(part, Params(), nullptr).ok())
                state.SkipWithError("toolpath failed");
        });
        seconds = seconds < 0.0 ? once : std::min(seconds, once);
        moves = f.Moves().size();
    }
    const int n = SegmentCount(part);
    state.SetComplexityN(n);
    state.counters["segments"] = n;
    state.counters["islands"] = static_cast<double>(part.size() - 1);
    state.counters["moves"] = static_cast<double>(moves);
    ReportGrowth(state, family, n, seconds);
    if (pocket && state.range(0) <= kLargestBaseline) {
        const double baseline = BaselineSeconds(part);
        state.counters["baseline_ms"] = baseline * 1e3;
        state.counters["baseline_ratio"] = baseline / seconds;
    }
}

void ContourGear(benchmark::State& state) { Toolpath<CContourFeature>(state, "contour gear", Part, false); }
void PocketGear(benchmark::State& state) { Toolpath<CPocketFeature>(state, "pocket gear", Part, true); }
void ContourField(benchmark::State& state) { Toolpath<CContourFeature>(state, "contour field", FieldPart, false); }
void PocketField(benchmark::State& state) { Toolpath<CPocketFeature>(state, "pocket field", FieldPart, true); }

// Merging the grown outlines of a row of k islands that each overlap the
// next (circles of radius 1 at a spacing of 1.5): one outline in the end.
void MergeRow(benchmark::State& state)
{
    const int k = static_cast<int>(state.range(0));
    auto row = [k] {
        Chains islands;
        for (int i = 0; i < k; ++i) {
            islands.push_back(shapes::Circle(1.5 * i, (i % 2) * 0.5, 1.0));
            islands.back()->IsClockwise(0);
        }
        return islands;
    };
    double seconds = -1.0;
    size_t outlines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Chains islands = row(), holes;
        state.ResumeTiming();
        const double once = SecondsOf([&] { toolpath::MergeIslands(islands, holes); });
        seconds = seconds < 0.0 ? once : std::min(seconds, once);
        outlines = islands.size();
    }
    state.counters["islands"] = k;
    state.counters["outlines"] = static_cast<double>(outlines);
    ReportGrowth(state, "merge row", 2.0 * k, seconds);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(100)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds)->Complexity();
}

BENCHMARK(ContourGear)->Apply(Sizes);
BENCHMARK(PocketGear)->Apply(Sizes);
BENCHMARK(ContourField)->Apply(Sizes);
BENCHMARK(PocketField)->Apply(Sizes);
BENCHMARK(MergeRow)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds);

} // namespace
