// Curve offset: the table of characteristic cases and property tests over
// random and adversarial contours.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "addins/milling/geometry/curvelistdebug.h"
#include "addins/milling/geometry/offsetfilter.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using namespace shapes;

using Results = std::vector<std::unique_ptr<CCurveList>>;

int CountArcs(const CCurveList& list)
{
    int arcs = 0;
    for (const auto& s : list.segments)
        arcs += s->GetType() == kSegmentTypeArc;
    return arcs;
}

TEST(OffsetTest, ZeroDistanceCopies)
{
    auto square = Rect(0, 0, 10, 10);
    Results results;
    ASSERT_EQ(square->Offset(1e-7, 0, results, 0, 0.0, 0, 0.0), 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->GetCount(), 4);
    EXPECT_NEAR(SignedArea(*results[0]), 100.0, 1e-9);
}

TEST(OffsetTest, SquareInsideAndOutside)
{
    struct Case {
        const char* name;
        double distance;
        int side;
        int segments, arcs;
        double area, length;
    };
    const Case cases[] = {
        {"inside", 1.0, 0, 4, 0, 64.0, 32.0},
        {"outside", 1.0, 1, 8, 4, 140.0 + kPi, 40.0 + kTwoPi},
        {"outside_by_negative_distance", -1.0, 0, 8, 4, 140.0 + kPi, 40.0 + kTwoPi},
        {"inside_by_negative_distance", -1.0, 1, 4, 0, 64.0, 32.0},
        {"inside_collapses", 6.0, 0, 0, 0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto square = Rect(0, 0, 10, 10);
        Results results;
        const int count = square->Offset(c.distance, c.side, results, 0, 0.0, 0, 0.0);
        if (c.segments == 0) {
            EXPECT_EQ(count, 0);
            continue;
        }
        ASSERT_EQ(count, 1);
        EXPECT_EQ(results[0]->GetCount(), c.segments);
        EXPECT_EQ(CountArcs(*results[0]), c.arcs);
        EXPECT_EQ(results[0]->IsClosed(), 1);
        EXPECT_NEAR(SignedArea(*results[0]), c.area, 1e-9);
        EXPECT_NEAR(results[0]->GetLength(), c.length, 1e-9);
    }
}

TEST(OffsetTest, CornerLimitJoinsSlightBendsSharp)
{
    // A pentagon whose apex bends by 10 degrees.
    const double t = std::tan(5.0 * kPi / 180.0);
    auto shape = Polygon({{0, 0}, {20, 0}, {20, 10}, {10, 10 + 10 * t}, {0, 10}});
    Results sharp, round;
    ASSERT_EQ(shape->Offset(1.0, 1, sharp, 1, 165.0, 0, 0.0), 1);
    ASSERT_EQ(shape->Offset(1.0, 1, round, 0, 165.0, 0, 0.0), 1);
    EXPECT_EQ(CountArcs(*round[0]), 5);
    // The 90- and 95-degree corners stay round, the 10-degree bend becomes sharp.
    EXPECT_EQ(CountArcs(*sharp[0]), 4);
    EXPECT_EQ(sharp[0]->GetCount(), 9);
}

TEST(OffsetTest, OpenLineKeepsNoCaps)
{
    auto line = Polygon({{0, 0}, {10, 0}}, false);
    Results results;
    ASSERT_EQ(line->Offset(1.0, 0, results, 0, 0.0, 0, 0.0), 1);
    ASSERT_EQ(results[0]->GetCount(), 1);
    EXPECT_EQ(results[0]->GetStartPoint().IsEqual({0, 1}), 1);
    EXPECT_EQ(results[0]->GetEndPoint().IsEqual({10, 1}), 1);
}

TEST(OffsetTest, FailingSegments)
{
    // Every arc of a circle of radius 1 fails inwards by 2.
    auto circle = TwoArcCircle(0, 0, 1);
    Results results;
    EXPECT_EQ(circle->Offset(2.0, 0, results, 0, 0.0, 0, 0.0), 0);
    EXPECT_TRUE(results.empty());
    // A single circle offsets to a single circle.
    auto single = Circle(0, 0, 3);
    ASSERT_EQ(single->Offset(1.0, 0, results, 0, 0.0, 0, 0.0), 1);
    EXPECT_NEAR(static_cast<CArcSegment2D&>(*results[0]->segments[0]).radius, 2.0, 1e-12);
}

TEST(OffsetTest, PinchedShapeSplitsInTwo)
{
    // Two 10 x 10 squares joined by a 2-wide neck: an inward offset of 1.5
    // leaves two islands.
    auto dumbbell = Polygon({{0, 0}, {10, 0}, {10, 4}, {14, 4}, {14, 0}, {24, 0}, {24, 10}, {14, 10}, {14, 6},
                             {10, 6}, {10, 10}, {0, 10}});
    Results results;
    ASSERT_EQ(dumbbell->Offset(1.5, 0, results, 0, 0.0, 0, 0.0), 2);
    // Each island is the 7 x 7 square with a small bulge towards the neck,
    // where the rounded neck corners leave room.
    for (const auto& island : results) {
        EXPECT_EQ(island->IsClosed(), 1);
        EXPECT_GT(SignedArea(*island), 49.0);
        EXPECT_LT(SignedArea(*island), 49.5);
    }
    EXPECT_NEAR(SignedArea(*results[0]), SignedArea(*results[1]), 1e-9);
}

struct PropertyFailure {
    std::string what;
};

// Checks the offset of a closed source against the properties every result
// must have; returns a description of the first failure, or an empty text.
std::string CheckOffset(CCurveList& source, double d, int side, const Results& results, double tol)
{
    const int sourceClockwise = source.IsClockwise(0);
    for (const auto& result : results) {
        if (result->IsClosed() != source.IsClosed())
            return "result closedness differs from the source";
        // A region that has shrunk to a line has no orientation.
        const bool flat = std::fabs(SignedArea(*result)) < 1e-6;
        if (source.IsClosed() && !flat && result->IsClockwise(0) != sourceClockwise)
            return "result orientation differs from the source";
        for (const CPoint2D& q : Sample(*result, 8)) {
            const double distance = DistanceTo(source, q);
            if (std::fabs(distance - std::fabs(d)) > tol)
                return "point (" + std::to_string(q.x) + ", " + std::to_string(q.y) + ") lies at " +
                       std::to_string(distance) + " from the source";
        }
    }
    (void)side;
    return {};
}

struct PropertyCase {
    std::string name;
    std::shared_ptr<CCurveList> source;
};

std::vector<PropertyCase> AdversarialContours()
{
    std::vector<PropertyCase> cases;
    cases.push_back({"square", Rect(0, 0, 10, 10)});
    cases.push_back({"cw_square", Rect(0, 0, 10, 10, false)});
    cases.push_back({"circle", Circle(1, 2, 5)});
    cases.push_back({"two_arc_circle", TwoArcCircle(0, 0, 5, false)});
    cases.push_back({"rounded_rect", RoundedRect(0, 0, 20, 8, 2)});
    cases.push_back({"gear", Gear(16)});
    cases.push_back({"cw_gear", Reversed(*Gear(10))});
    cases.push_back({"l_shape", Polygon({{0, 0}, {10, 0}, {10, 3}, {3, 3}, {3, 10}, {0, 10}})});
    cases.push_back({"comb", Polygon({{0, 0}, {20, 0}, {20, 10}, {17, 10}, {17, 3.2}, {13, 3.2}, {13, 10}, {7, 10},
                                      {7, 3.2}, {3, 3.2}, {3, 10}, {0, 10}})});
    cases.push_back({"tiny_segments", Polygon({{0, 0}, {5, 0}, {5, 2e-6}, {10, 2e-6}, {10, 10}, {0, 10}})});
    cases.push_back({"collinear_run", Polygon({{0, 0}, {2, 0}, {4, 0}, {6, 0}, {10, 0}, {10, 10}, {0, 10}})});
    cases.push_back({"near_collinear", Polygon({{0, 0}, {5, 1e-7}, {10, 0}, {10, 10}, {0, 10}})});
    cases.push_back({"self_touching_slot", Polygon({{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 2}, {5, 10}, {0, 10}})});
    // A tangent chain: a half circle continued by lines that touch it.
    {
        auto slot = std::make_shared<CCurveList>();
        slot->Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0)));
        slot->Append(std::make_unique<CArcSegment2D>(CPoint2D(10, 3), CPoint2D(10, 0), CPoint2D(10, 6), 1));
        slot->Append(std::make_unique<CLineSegment2D>(CPoint2D(10, 6), CPoint2D(0, 6)));
        slot->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 3), CPoint2D(0, 6), CPoint2D(0, 0), 1));
        cases.push_back({"stadium", slot});
    }
    // A concave arc in a square (a bite) and tangent arcs of opposite sense.
    {
        auto bite = std::make_shared<CCurveList>();
        bite->Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0)));
        bite->Append(std::make_unique<CLineSegment2D>(CPoint2D(10, 0), CPoint2D(10, 10)));
        bite->Append(std::make_unique<CLineSegment2D>(CPoint2D(10, 10), CPoint2D(8, 10)));
        bite->Append(std::make_unique<CArcSegment2D>(CPoint2D(5, 10), CPoint2D(8, 10), CPoint2D(2, 10), 0));
        bite->Append(std::make_unique<CLineSegment2D>(CPoint2D(2, 10), CPoint2D(0, 10)));
        bite->Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 10), CPoint2D(0, 0)));
        cases.push_back({"bite", bite});
        auto wave = std::make_shared<CCurveList>();
        wave->Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(2, 0)));
        wave->Append(std::make_unique<CArcSegment2D>(CPoint2D(4, 0), CPoint2D(2, 0), CPoint2D(6, 0), 0));
        wave->Append(std::make_unique<CArcSegment2D>(CPoint2D(8, 0), CPoint2D(6, 0), CPoint2D(10, 0), 1));
        wave->Append(std::make_unique<CLineSegment2D>(CPoint2D(10, 0), CPoint2D(12, 0)));
        wave->Append(std::make_unique<CLineSegment2D>(CPoint2D(12, 0), CPoint2D(12, 8)));
        wave->Append(std::make_unique<CLineSegment2D>(CPoint2D(12, 8), CPoint2D(0, 8)));
        wave->Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 8), CPoint2D(0, 0)));
        cases.push_back({"tangent_wave", wave});
    }
    return cases;
}

TEST(OffsetPropertyTest, AdversarialContours)
{
    const double distances[] = {0.5, 1.0, 1.7, 2.5, -0.5, -1.3, -3.0};
    for (PropertyCase& c : AdversarialContours()) {
        for (double d : distances) {
            for (int corner = 0; corner < 2; ++corner) {
                SCOPED_TRACE(testing::Message() << c.name << " d=" << d << " corner=" << corner << "\n"
                                                << ToInitializer(*c.source));
                Results results;
                const int side = c.source->IsClockwise(0);
                const int count = c.source->Offset(d, side, results, corner, 165.0, 0, 0.0);
                ASSERT_EQ(count, static_cast<int>(results.size()));
                EXPECT_EQ(CheckOffset(*c.source, d, side, results, corner ? 0.2 * std::fabs(d) : 1e-4), "");
                if (d < 0.0) {
                    EXPECT_GE(count, 1);
                }
            }
        }
    }
}

TEST(OffsetPropertyTest, RandomStars)
{
    const unsigned seed = 424242;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::uniform_real_distribution<double> distance(0.2, 3.0);
    for (int round = 0; round < 60; ++round) {
        auto star = RandomStar(random, 5 + round % 17, 4.0, 12.0);
        const double d = distance(random) * (round % 2 ? 1.0 : -1.0);
        SCOPED_TRACE(testing::Message() << "round " << round << " d=" << d << "\n" << ToInitializer(*star));
        Results results;
        const int side = star->IsClockwise(0);
        star->Offset(d, side, results, 0, 0.0, 0, 0.0);
        EXPECT_EQ(CheckOffset(*star, d, side, results, 1e-4), "");
    }
}

// Where a jagged outline bends only a little and no corner limit joins the
// bend sharp, the walk's corner arc can be a few ten-thousandths long: at
// the chaining tolerance, at which offsets are oriented, chained and
// simplified, its ends agree and it would read as a full circle of the
// offset's radius. No arc of an offset reads so unless it is one.
TEST(OffsetPropertyTest, NoShortArcReadsAsAFullCircleAtTheChainingTolerance)
{
    for (const unsigned seed : {1u, 10u, 30u}) {
        std::mt19937 random(seed);
        const int n = 200 + static_cast<int>(seed * 137) % 1800;
        const double jitter = 0.1 + 0.05 * (seed % 10), radius = n / kTwoPi;
        auto star = RandomStar(random, n, radius - jitter, radius + jitter);
        const int inwards = star->IsClockwise(0);
        for (const double share : {0.007, 0.015, 0.03}) {
            const double d = 2.0 * radius * share;
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", distance " << d);
            for (const int simplify : {0, 1}) {
                Results results;
                star->Offset(d, inwards, results, 0, 0.0, simplify, 0.0005);
                ASSERT_FALSE(results.empty());
                for (const auto& list : results) {
                    for (const auto& segment : list->segments) {
                        if (segment->GetType() != kSegmentTypeArc)
                            continue;
                        const auto& arc = static_cast<const CArcSegment2D&>(*segment);
                        const bool whole = arc.IsFullCircle();
                        CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
                        EXPECT_EQ(arc.IsFullCircle(), whole) << "arc of radius " << arc.radius << ", length "
                                                             << arc.GetLength();
                    }
                }
            }
        }
    }
}

// Offsetting out and back in gives back the source (up to its rounded
// concave corners, of which a convex polygon has none).
TEST(OffsetPropertyTest, OutAndBackInRestoresConvexPolygon)
{
    std::vector<CPoint2D> points;
    for (int k = 0; k < 9; ++k)
        points.push_back({10 * std::cos(kTwoPi * k / 9), 10 * std::sin(kTwoPi * k / 9)});
    auto polygon = Polygon(points);
    Results out, back;
    ASSERT_EQ(polygon->Offset(-2.0, 0, out, 0, 0.0, 0, 0.0), 1);
    ASSERT_EQ(out[0]->Offset(2.0, 0, back, 0, 0.0, 1, 1e-6), 1);
    EXPECT_NEAR(SignedArea(*back[0]), SignedArea(*polygon), 1e-6);
}

// The indexed crossing search and the all-pairs one give the same results.
TEST(OffsetPropertyTest, IndexedEqualsAllPairs)
{
    std::mt19937 random(77);
    for (int round = 0; round < 20; ++round) {
        auto star = RandomStar(random, 40, 3.0, 12.0);
        Results indexed, all;
        const double d = round % 2 ? 1.5 : -1.5;
        const int n1 = star->Offset(d, 0, indexed, 1, 165.0, 0, 0.0, PairSearch::Indexed);
        const int n2 = star->Offset(d, 0, all, 1, 165.0, 0, 0.0, PairSearch::AllPairs);
        ASSERT_EQ(n1, n2);
        for (int k = 0; k < n1; ++k)
            EXPECT_EQ(ToInitializer(*indexed[k]), ToInitializer(*all[k]));
    }
}

} // namespace

namespace {

// Chains that cross themselves, with arcs among their lines: no crash, no
// hang, and no result point nearer to the chain than the distance.
TEST(OffsetPropertyTest, SelfCrossingChainsKeepTheDistance)
{
    const unsigned seed = 31337;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::uniform_real_distribution<double> coordinate(-10, 10);
    for (int round = 0; round < 30; ++round) {
        auto chain = std::make_unique<CCurveList>();
        const CPoint2D first(coordinate(random), coordinate(random));
        CPoint2D p = first;
        const int n = 4 + round % 9;
        for (int k = 0; k < n; ++k) {
            const CPoint2D q = k + 1 == n ? first : CPoint2D(coordinate(random), coordinate(random));
            if (k % 3 == 1)
                chain->Append(std::make_unique<CArcSegment2D>((p + q) / 2 + (q - p).Perpendicular(k % 2) * 0.3, p, q,
                                                              k % 2));
            else
                chain->Append(std::make_unique<CLineSegment2D>(p, q));
            p = chain->GetEndPoint();
        }
        const double d = 0.5 + (round % 4) * 0.6;
        SCOPED_TRACE(testing::Message() << "round " << round << " d=" << d << "\n" << ToInitializer(*chain));
        for (int side = 0; side < 2; ++side) {
            Results results;
            const int count = chain->Offset(d, side, results, round % 2, 165.0, round % 3 == 0, 0.01);
            ASSERT_EQ(count, static_cast<int>(results.size()));
            for (const auto& result : results)
                for (const CPoint2D& q : Sample(*result, 6))
                    ASSERT_GT(DistanceTo(*chain, q), d - 0.01) << q.x << ", " << q.y;
        }
    }
}

} // namespace

namespace {

// A long polygon whose vertices bend only slightly, many of them away from
// the offset side: there the offsets of neighbouring segments cross and
// overhang each other by less than any distance slack. The filtering
// offset must still give one closed outline keeping the distance, the same
// as the walk's, with the indexed and the all-pairs crossing search alike.
TEST(FilteredOffsetTest, SlightBendsGiveOneClosedOutline)
{
    std::mt19937 random(1234);
    const int n = 1000;
    const double radius = n / kTwoPi;
    auto star = RandomStar(random, n, radius - 0.4, radius + 0.4);
    const int side = star->IsClockwise(0);
    for (PairSearch search : {PairSearch::Indexed, PairSearch::AllPairs}) {
        SCOPED_TRACE(search == PairSearch::Indexed ? "indexed" : "all pairs");
        Results filtered, walked;
        ASSERT_EQ(FilteredOffset(*star, 0.3, side, filtered, 0, 0.0, search), 1);
        EXPECT_EQ(filtered[0]->IsClosed(), 1);
        EXPECT_EQ(CheckOffset(*star, 0.3, side, filtered, 1e-4), "");
        ASSERT_EQ(star->Offset(0.3, side, walked, 0, 0.0, 0, 0.0, search), 1);
        EXPECT_NEAR(SignedArea(*filtered[0]), SignedArea(*walked[0]), 1e-6 * std::fabs(SignedArea(*walked[0])));
    }
}

// Rings of fine spikes cut off by the offset: the walk gives way to the
// filtering offset, where three vertex circles can cross so close together
// that the outline runs over two slivers in a row, each shorter than the
// chaining tolerance but together longer. The outline stays closed and
// keeps the distance.
TEST(FilteredOffsetTest, SpikyRingsStayClosed)
{
    for (unsigned seed : {2u, 10u, 23u}) {
        std::mt19937 random(seed);
        auto ring = SpikyRing(random, 600);
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const int side = ring->IsClockwise(0);
        Results filtered, offset;
        ASSERT_EQ(FilteredOffset(*ring, 0.3, side, filtered, 0, 0.0, PairSearch::Indexed), 1);
        EXPECT_EQ(filtered[0]->IsClosed(), 1);
        EXPECT_EQ(CheckOffset(*ring, 0.3, side, filtered, 1e-4), "");
        ASSERT_EQ(ring->Offset(0.3, side, offset, 0, 0.0, 0, 0.0), 1);
        EXPECT_EQ(offset[0]->IsClosed(), 1);
        EXPECT_EQ(CheckOffset(*ring, 0.3, side, offset, 1e-4), "");
    }
}

// Jagged star polygons of unit edges offset by a share of their size: where
// many portions cross close together the filtering offset can leave a
// stub, a short open list beside the outline. The offset of a closed chain
// is closed outlines only, each keeping the distance.
TEST(FilteredOffsetTest, JaggedPolygonsGiveNoStubs)
{
    std::mt19937 random(1234);
    const int n = 5000;
    const double radius = n / kTwoPi;
    auto star = RandomStar(random, n, radius - 0.4, radius + 0.4);
    const int outwards = 1 - star->IsClockwise(0);
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    star->GetBounds(x0, y0, x1, y1);
    const double d = 0.05 * std::min(x1 - x0, y1 - y0);
    Results results;
    ASSERT_GE(star->Offset(d, outwards, results, 0, 0.0, 0, 0.0), 1);
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    for (const auto& list : results) {
        EXPECT_EQ(list->IsClosed(), 1);
        EXPECT_GE(list->GetLength(), d);
    }
}

// The filtering offset of a whole circle, in one arc or two, inwards and
// outwards: one closed circle at the offset radius.
TEST(FilteredOffsetTest, CirclesStayWhole)
{
    for (double d : {1.0, -1.0}) {
        for (int arcs : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "d=" << d << " arcs=" << arcs);
            auto circle = arcs == 1 ? Circle(1, 2, 5) : TwoArcCircle(1, 2, 5);
            const int side = d > 0.0 ? circle->IsClockwise(0) : 1 - circle->IsClockwise(0);
            Results results;
            ASSERT_EQ(FilteredOffset(*circle, 1.0, side, results, 0, 0.0, PairSearch::Indexed), 1);
            EXPECT_EQ(results[0]->IsClosed(), 1);
            EXPECT_NEAR(std::fabs(SignedArea(*results[0])), kPi * (5 - d) * (5 - d), 1e-6);
        }
    }
}

// Gears whose teeth are far finer than the distance, offset outwards and
// inwards by the filtering offset: where many offsets cross close together
// a portion of a vertex's arc can be shorter than the chaining tolerance,
// and such a sliver must not read as a whole circle round the vertex (a
// circle through the part). One closed outline keeping the distance.
TEST(FilteredOffsetTest, FineTeethGiveOneOutlineWithoutStrayCircles)
{
    for (int teeth : {150, 250}) {
        auto gear = Gear(teeth, 90.0 / teeth); // root radius 60
        const int outwards = 1 - gear->IsClockwise(0);
        for (int side : {outwards, 1 - outwards}) {
            SCOPED_TRACE(testing::Message() << teeth << " teeth, " << (side == outwards ? "outwards" : "inwards"));
            Results results;
            ASSERT_EQ(FilteredOffset(*gear, 2.0, side, results, 0, 0.0, PairSearch::Indexed), 1);
            EXPECT_EQ(results[0]->IsClosed(), 1);
            EXPECT_EQ(CheckOffset(*gear, 2.0, side, results, 1e-4), "");
        }
    }
}

// The chain's distance queries against the distance to every segment, at
// random points round a gear (arcs and lines, points at arc centres too):
// Distance is the least distance when it is below the limit; told when a
// distance is near enough, it answers below that exactly when the least
// distance is; IsNearer agrees.
TEST(ChainDistanceTest, QueriesEqualTheScan)
{
    auto gear = Gear(40, 0.7);
    std::mt19937 random(8);
    std::uniform_real_distribution<double> at(-14.0, 14.0);
    for (double reach : {0.0, 0.5, 3.0}) {
        const CChainDistance near(*gear, reach);
        for (int q = 0; q < 300; ++q) {
            const CPoint2D p = q % 50 == 0 ? CPoint2D(0.0, 0.0) : CPoint2D(at(random), at(random));
            const double least = DistanceTo(*gear, p);
            SCOPED_TRACE(testing::Message() << "reach " << reach << ", point " << p.x << ", " << p.y);
            for (double limit : {0.3, 1.0, 4.0}) {
                const double d = near.Distance(p, limit);
                if (least < limit)
                    EXPECT_NEAR(d, least, 1e-9);
                else
                    EXPECT_GE(d, limit - 1e-9);
                EXPECT_EQ(near.Distance(p, limit, 0.5 * limit) < 0.5 * limit, least < 0.5 * limit);
                EXPECT_EQ(near.IsNearer(p, limit), least < limit);
            }
        }
    }
}

} // namespace
