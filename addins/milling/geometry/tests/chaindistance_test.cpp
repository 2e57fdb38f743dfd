// Distances from points to a chain: the tree's queries against a scan over
// every segment, on random chains of lines and arcs with degenerate pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "addins/milling/geometry/offsetfilter.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The distance of every segment, by the same nearest point the queries use.
std::vector<double> ScanDistances(const CCurveList& chain, const CPoint2D& p)
{
    std::vector<double> distances;
    for (const auto& segment : chain.segments)
        distances.push_back((NearestOnSegment(*segment, p) - p).Length());
    return distances;
}

double Least(const std::vector<double>& distances)
{
    double least = kInfinity;
    for (double d : distances)
        least = std::min(least, d);
    return least;
}

// A random walk of `steps` segments from the origin: lines of random length,
// zero-length lines (a vertex repeated), arcs bulging to either side, arcs
// of almost no sweep and, when asked, full circles round the current point.
std::unique_ptr<CCurveList> RandomChain(std::mt19937& random, int steps, bool arcs, bool circles)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0), angle(0.0, kTwoPi), bulge(-1.5, 1.5);
    auto chain = std::make_unique<CCurveList>();
    CPoint2D at(0.0, 0.0);
    for (int k = 0; k < steps; ++k) {
        const double kind = unit(random);
        if (kind < 0.1) {
            chain->Append(std::make_unique<CLineSegment2D>(at, at));
            continue;
        }
        if (circles && kind < 0.15) {
            auto circle = std::make_unique<CArcSegment2D>();
            circle->ccw = unit(random) < 0.5;
            circle->SetCircle(at + CPoint2D(0.0, 0.5 + unit(random)), 0.5 + unit(random));
            chain->Append(std::move(circle));
            continue;
        }
        const double a = angle(random), length = 0.01 + 3.0 * unit(random);
        const CPoint2D to = at + CPoint2D(std::cos(a), std::sin(a)) * length;
        if (arcs && kind < 0.45) {
            // The centre off the chord's middle by a share of its length:
            // from a near half circle to an arc of almost no sweep.
            const double share = kind < 0.2 ? 1e4 : bulge(random);
            const CPoint2D centre = (at + to) * 0.5 + (to - at).Perpendicular(1) * share;
            chain->Append(std::make_unique<CArcSegment2D>(centre, at, to, unit(random) < 0.5 ? 1 : 0));
        } else {
            chain->Append(std::make_unique<CLineSegment2D>(at, to));
        }
        at = to;
    }
    return chain;
}

// Points that test the queries at their edges: anywhere in and round the
// chain's box, on the chain (vertices and points of segments), at arc
// centres, and at the exact distance `offset` from a vertex.
std::vector<CPoint2D> QueryPoints(std::mt19937& random, const CCurveList& chain, int count, double offset)
{
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    chain.GetBounds(x0, y0, x1, y1);
    std::uniform_real_distribution<double> x(x0 - 3.0, x1 + 3.0), y(y0 - 3.0, y1 + 3.0), angle(0.0, kTwoPi);
    std::uniform_int_distribution<size_t> pick(0, chain.segments.size() - 1);
    std::vector<CPoint2D> points;
    for (int k = 0; k < count; ++k) {
        const CSegment2D& segment = *chain.segments[pick(random)];
        const CPoint2D anywhere(x(random), y(random));
        const double a = angle(random);
        switch (k % 5) {
        case 0: points.push_back(anywhere); break;
        case 1: points.push_back(segment.GetStartPoint()); break;
        case 2: points.push_back(NearestOnSegment(segment, anywhere)); break;
        case 3:
            points.push_back(segment.GetType() == kSegmentTypeArc
                                 ? static_cast<const CArcSegment2D&>(segment).centre
                                 : anywhere);
            break;
        default: points.push_back(segment.GetEndPoint() + CPoint2D(std::cos(a), std::sin(a)) * offset); break;
        }
    }
    return points;
}

// The segments found: each once, with the scan's distance, and among them
// every segment nearer than reach.
void ExpectEverySegmentWithin(const std::vector<CChainDistance::Near>& found, const std::vector<double>& distances,
                              double reach)
{
    std::vector<char> listed(distances.size(), 0);
    for (const auto& f : found) {
        ASSERT_GE(f.index, 0);
        ASSERT_LT(f.index, static_cast<int>(distances.size()));
        EXPECT_EQ(listed[static_cast<size_t>(f.index)], 0) << "listed twice: " << f.index;
        listed[static_cast<size_t>(f.index)] = 1;
        EXPECT_TRUE(ExactlyEqual(f.distance, distances[static_cast<size_t>(f.index)])) << f.index;
    }
    for (size_t k = 0; k < distances.size(); ++k) {
        if (distances[k] < reach) {
            EXPECT_EQ(listed[k], 1) << "missing: " << k;
        }
    }
}

struct ChainCase {
    std::string name;
    std::function<std::unique_ptr<CCurveList>(std::mt19937&)> make;
};

const ChainCase kChains[] = {
    {"single_line", [](std::mt19937&) { return shapes::Polygon({{0, 0}, {4, 1}}, false); }},
    {"zero_length_lines_at_one_point",
     [](std::mt19937&) {
         auto chain = std::make_unique<CCurveList>();
         for (int k = 0; k < 40; ++k)
             chain->Append(std::make_unique<CLineSegment2D>(CPoint2D(1, 2), CPoint2D(1, 2)));
         chain->Append(std::make_unique<CLineSegment2D>(CPoint2D(1, 2), CPoint2D(3, 2)));
         return chain;
     }},
    {"lines", [](std::mt19937& random) { return RandomChain(random, 300, false, false); }},
    {"lines_and_arcs", [](std::mt19937& random) { return RandomChain(random, 300, true, false); }},
    {"arcs_and_full_circles", [](std::mt19937& random) { return RandomChain(random, 120, true, true); }},
    {"jagged_polygon", [](std::mt19937& random) { return shapes::RandomStar(random, 2000, 318.0, 318.8); }},
    {"gear", [](std::mt19937&) { return shapes::Gear(60, 0.7); }},
    // Far from the origin, where the tree's rectangles along slanted runs
    // carry the rounding of large coordinates.
    {"fine_gear_far_off", [](std::mt19937&) { return shapes::Moved(shapes::Gear(500, 0.4), {3.0e4, -1.7e4}); }},
};

// Distance is exactly the least distance of the scan when that is below the
// limit and at least the limit otherwise; told a distance that is near
// enough, it answers below it exactly when the least distance is, and
// otherwise as without it; IsNearer agrees with the scan, also among the
// segments Within a box round the point; Nearest returns
// every segment within its reach, once, with the scan's distance. Limits include the least distance itself (not below it) and the
// next number above it.
TEST(ChainDistanceTest, QueriesAgreeWithTheScan)
{
    for (const ChainCase& c : kChains) {
        const unsigned seed = 17;
        std::mt19937 random(seed);
        SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
        const auto chain = c.make(random);
        const CChainDistance near(*chain);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<CChainDistance::Near> found;
        std::vector<int> segments;
        for (const CPoint2D& p : QueryPoints(random, *chain, 400, 0.75)) {
            const std::vector<double> distances = ScanDistances(*chain, p);
            const double least = Least(distances);
            SCOPED_TRACE(testing::Message()
                         << std::hexfloat << "point " << p.x << ", " << p.y << ", least " << least);
            EXPECT_TRUE(ExactlyEqual(near.Distance(p, kInfinity), least));
            const double limits[] = {least, std::nextafter(least, kInfinity), 0.5 * least, 2.0 * least + 0.1, 0.0,
                                     5.0 * unit(random)};
            for (double limit : limits) {
                SCOPED_TRACE(testing::Message() << "limit " << limit);
                const double d = near.Distance(p, limit);
                if (least < limit)
                    EXPECT_TRUE(ExactlyEqual(d, least)) << d;
                else
                    EXPECT_GE(d, limit);
                for (double enough : {limit, 0.5 * limit, least, std::nextafter(least, kInfinity)}) {
                    if (enough > limit)
                        continue;
                    const double e = near.Distance(p, limit, enough);
                    EXPECT_EQ(e < enough, least < enough) << "enough " << enough << ": " << e;
                    if (!(e < enough)) {
                        EXPECT_TRUE(ExactlyEqual(e, d)) << "enough " << enough << ": " << e;
                    }
                }
                EXPECT_EQ(near.IsNearer(p, limit), least < limit);
                // As one of the points in a box round it.
                const SegmentBox box{p.x - unit(random), p.y - 0.1 * unit(random), p.x + 2.0 * unit(random), p.y,
                                     false};
                near.Within(box, limit, segments);
                EXPECT_EQ(near.IsNearer(p, limit, segments), least < limit);
                std::sort(segments.begin(), segments.end());
                EXPECT_EQ(std::adjacent_find(segments.begin(), segments.end()), segments.end());
                near.Nearest(p, limit, found);
                ExpectEverySegmentWithin(found, distances, limit);
                // Distance and Nearest in one search: below `enough` with
                // nothing listed, or the distance with every segment within
                // the slack of it; the same when the search starts beside
                // some segment (any one, near the ends of the chain too).
                const int from = static_cast<int>(unit(random) * chain->GetCount());
                for (double slack : {1e-9, 1e-5, 0.3}) {
                    for (double enough : {0.5 * limit, least, std::nextafter(least, kInfinity)}) {
                        for (int start : {-1, from}) {
                            if (enough > limit)
                                continue;
                            SCOPED_TRACE(testing::Message()
                                         << "slack " << slack << ", enough " << enough << ", from " << start);
                            const double e = near.DistanceAndNearest(p, limit, enough, slack, found, start);
                            EXPECT_EQ(e < enough, least < enough) << e;
                            if (e < enough) {
                                EXPECT_TRUE(found.empty());
                                continue;
                            }
                            if (least < limit)
                                EXPECT_TRUE(ExactlyEqual(e, least)) << e;
                            else
                                EXPECT_GE(e, limit);
                            ExpectEverySegmentWithin(found, distances, std::min(e, limit) + slack);
                        }
                    }
                }
            }
        }
    }
}

// The nearest point of an arc is the one the kernel's closest point gives,
// to the last bit: for arcs of both senses, from slivers to nearly whole
// turns, with ends on the axes and off them, and points anywhere, beside
// the ends, on the axes through the centre and just off them.
TEST(ChainDistanceTest, NearestOnAnArcIsTheKernelsClosestPoint)
{
    std::mt19937 random(29);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double quarter = 0.5 * kPi, tol = g_geometryTolerance;
    std::vector<std::pair<double, double>> spans = {{0.0, quarter}, {quarter, kPi}, {0.0, kPi},        {kPi, 1.9 * kPi},
                                                    {-0.2, 0.2},    {1.0, 1.0 + 1e-5}, {0.3, 0.3 + 1e-7}, {0.5, 0.5 + 2.0 * kPi - 1e-6}};
    for (int k = 0; k < 300; ++k) {
        const double a = 2.0 * kPi * unit(random);
        spans.push_back({a, a + 2.0 * kPi * unit(random) * unit(random)});
    }
    for (const auto& [from, to] : spans) {
        for (int ccw : {1, 0}) {
            const CPoint2D centre(2.0 * unit(random) - 1.0, 2.0 * unit(random) - 1.0);
            const double radius = 0.01 + 50.0 * unit(random);
            auto at = [&](double angle, double r) { return centre + CPoint2D(std::cos(angle), std::sin(angle)) * r; };
            const CArcSegment2D arc(centre, at(ccw ? from : to, radius), at(ccw ? to : from, radius), ccw);
            std::vector<double> angles;
            for (int k = 0; k < 40; ++k)
                angles.push_back(2.0 * kPi * unit(random));
            for (double end : {from, to})
                for (double by : {0.0, tol, -tol, 4.0 * tol, -4.0 * tol, 9.0 * tol, -9.0 * tol, 1e-3, -1e-3})
                    angles.push_back(end + by);
            for (double axis : {0.0, quarter, kPi, 3.0 * quarter})
                for (double by : {0.0, tol, -tol, 9.0 * tol, -9.0 * tol})
                    angles.push_back(axis + by);
            for (double angle : angles) {
                for (double r : {0.0, 0.5 * radius, radius, 3.0 * radius}) {
                    const CPoint2D p = r > 0.0 ? at(angle, r) : centre;
                    const CPoint2D expected = p.IsEqual(centre) ? arc.GetStartPoint() : arc.ClosestPoint(p, kClosedSegment);
                    const CPoint2D got = NearestOnSegment(arc, p);
                    EXPECT_TRUE(ExactlyEqual(got.x, expected.x) && ExactlyEqual(got.y, expected.y))
                        << std::hexfloat << "arc " << from << " .. " << to << (ccw ? " ccw" : " cw") << ", point at "
                        << angle << ", " << r << ": " << got.x << ", " << got.y << " against " << expected.x << ", "
                        << expected.y;
                }
            }
        }
    }
}

// Where a point lies in a closed chain, from the segments the tree picks
// along the horizontal line left of it: as from every segment, also for
// points on the chain, at its vertices and level with them.
TEST(ChainDistanceTest, ClassifyingAmongTheSegmentsAlongTheRayAgreesWithTheScan)
{
    std::mt19937 random(23);
    std::vector<std::unique_ptr<CCurveList>> chains;
    chains.push_back(shapes::RandomStar(random, 2000, 318.0, 318.8));
    chains.push_back(shapes::Gear(60, 0.7));
    chains.push_back(shapes::Serpentine(30));
    chains.push_back(shapes::RoundedRect(0, 0, 10, 4, 1));
    for (auto& chain : chains) {
        chain->IsClockwise(0);
        const CChainDistance near(*chain);
        std::vector<int> among;
        std::vector<CPoint2D> points = QueryPoints(random, *chain, 600, 0.75);
        // Level with a vertex, to either side of it.
        for (size_t k = 0; k < chain->segments.size(); k += 7) {
            const CPoint2D v = chain->segments[k]->GetStartPoint();
            points.push_back(v + CPoint2D(0.3, 0.0));
            points.push_back(v - CPoint2D(0.3, 0.0));
        }
        for (const CPoint2D& p : points) {
            SCOPED_TRACE(testing::Message() << std::hexfloat << "point " << p.x << ", " << p.y);
            near.AlongRayLeft(p, among);
            EXPECT_TRUE(std::is_sorted(among.begin(), among.end()));
            EXPECT_EQ(chain->ClassifyPointAmong(p, among), chain->ClassifyPoint(p, 0));
        }
    }
}

// A chain without segments is nowhere near: no distance, nothing nearer.
TEST(ChainDistanceTest, EmptyChainIsNowhere)
{
    const CCurveList empty;
    const CChainDistance near(empty);
    std::vector<CChainDistance::Near> found;
    EXPECT_TRUE(std::isinf(near.Distance(CPoint2D(1, 1), kInfinity)));
    EXPECT_FALSE(near.IsNearer(CPoint2D(1, 1), kInfinity));
    near.Nearest(CPoint2D(1, 1), kInfinity, found);
    EXPECT_TRUE(found.empty());
}

} // namespace
