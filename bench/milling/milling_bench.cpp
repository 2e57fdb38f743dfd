// Contour and pocket toolpaths of one part, a gear-shaped boundary with four
// gear-shaped islands, at 100, 1 000 and 10 000 boundary segments in all.
// The part keeps its size as the segment count grows, so the times show how
// the toolpaths grow with the boundary's detail rather than its area.
//
// Baseline, in the same run: the pocket of the same part with every arc
// approximated by chords within 0.001, cleared by repeated plain offsets of
// the boundary (inwards) and the islands (outwards) by the tool radius plus
// whole step-overs, the grown islands cut out of each ring, until the
// boundary's offset vanishes. The feature runs report the baseline's time
// over theirs as the counter "baseline_ratio". The baseline runs up to
// kLargestBaseline segments: at 10 000 its plain offsets of the chords take
// many minutes per pocket.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
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

// A gear of about `segments` segments (four per tooth, at least three teeth)
// with the given root radius, centred at c.
std::unique_ptr<CCurveList> GearAt(int segments, double rootRadius, const CPoint2D& c)
{
    const int teeth = std::max(3, segments / 4);
    auto gear = shapes::Gear(teeth, 1.5 * rootRadius / teeth);
    for (auto& s : gear->segments) {
        if (s->GetType() == kSegmentTypeArc) {
            auto& arc = static_cast<CArcSegment2D&>(*s);
            arc.centre = arc.centre + c;
        } else {
            auto& line = static_cast<CLineSegment2D&>(*s);
            line.start = line.start + c;
            line.end = line.end + c;
        }
    }
    return gear;
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
                    if (ring->Combine(*grown, 2, pieces) < 0) {
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
double SecondsOf(Run&& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BaselineSeconds(const Chains& part)
{
    Chains polygons;
    for (const auto& c : part)
        polygons.push_back(Polygonized(*c));
    return SecondsOf([&] { benchmark::DoNotOptimize(BaselinePocket(polygons)); });
}

void Contour(benchmark::State& state)
{
    const Chains part = Part(static_cast<int>(state.range(0)));
    size_t moves = 0;
    for (auto _ : state) {
        CContourFeature f;
        if (!f.ComputeFromContours(part, Params(), nullptr).ok())
            state.SkipWithError("contour failed");
        moves = f.Moves().size();
    }
    state.SetComplexityN(SegmentCount(part));
    state.counters["segments"] = SegmentCount(part);
    state.counters["moves"] = static_cast<double>(moves);
}

void Pocket(benchmark::State& state)
{
    const Chains part = Part(static_cast<int>(state.range(0)));
    size_t moves = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        CPocketFeature f;
        seconds = SecondsOf([&] {
            if (!f.ComputeFromContours(part, Params(), nullptr).ok())
                state.SkipWithError("pocket failed");
        });
        moves = f.Moves().size();
    }
    state.SetComplexityN(SegmentCount(part));
    state.counters["segments"] = SegmentCount(part);
    state.counters["moves"] = static_cast<double>(moves);
    if (state.range(0) <= kLargestBaseline)
        state.counters["baseline_ratio"] = BaselineSeconds(part) / seconds;
}

void Baseline(benchmark::State& state)
{
    const Chains part = Part(static_cast<int>(state.range(0)));
    Chains polygons;
    for (const auto& c : part)
        polygons.push_back(Polygonized(*c));
    int rings = 0;
    for (auto _ : state)
        rings = BaselinePocket(polygons);
    state.SetComplexityN(SegmentCount(part));
    state.counters["segments"] = SegmentCount(part);
    state.counters["polygon_segments"] = SegmentCount(polygons);
    state.counters["rings"] = rings;
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
}

BENCHMARK(Contour)->Apply(Sizes);
BENCHMARK(Pocket)->Apply(Sizes);
BENCHMARK(Baseline)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
