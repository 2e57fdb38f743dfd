// Offsets in stages: a chain that turns back and forth many times within the
// distance is offset by a small distance first and then further, each stage
// narrowing the candidates of the next; the outlines must be those of the
// offset in one go.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <random>

#include "addins/milling/geometry/curvelist.h"
#include "addins/milling/geometry/offsetfilter.h"
#include "addins/milling/geometry/offsetstaging.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using namespace shapes;
using ChainList = std::vector<std::unique_ptr<CCurveList>>;

// Offsets are simplified at this tolerance, both ways.
constexpr double kSimplifyTolerance = 0.0005;
// How far a point of an offset may lie from the distance: the
// simplification moves lines and chords by up to its tolerance.
constexpr double kDistanceTolerance = 2e-3;

// The closed lists of an offset with the corner limit of the toolpaths; a
// negative distance offsets to the other side.
ChainList ClosedOffset(const CCurveList& chain, double distance, int side, OffsetStaging staging)
{
    ChainList results, closed;
    chain.Offset(distance, side, results, 1, 165.0, 1, kSimplifyTolerance, PairSearch::Indexed, staging);
    CGeometryToleranceScope raised(g_geometryTolerance * kChainingToleranceFactor);
    for (auto& r : results)
        if (r->GetCount() > 0 && r->IsClosed())
            closed.push_back(std::move(r));
    return closed;
}

double Perimeter(const CCurveList& chain)
{
    double length = 0.0;
    for (const auto& s : chain.segments)
        length += s->GetLength();
    return length;
}

struct StagedCase {
    const char* name;
    std::unique_ptr<CCurveList> chain;
    double distance;
    bool inwardsToo; // the strokes of a handwriting line vanish inwards
};

// A comb, counter-clockwise: a bar of height 10 under teeth 0.4 wide and
// 6 high, 1 apart. Inwards the teeth vanish long before the distance, so
// their sides make up the outlines of the first stages only.
std::unique_ptr<CCurveList> Comb(int teeth)
{
    std::vector<CPoint2D> points = {{0.0, 0.0}, {teeth + 0.6, 0.0}, {teeth + 0.6, 10.0}};
    for (int k = teeth - 1; k >= 0; --k) {
        const double x = k + 0.6;
        points.insert(points.end(), {{x + 0.4, 10.0}, {x + 0.4, 16.0}, {x, 16.0}, {x, 10.0}});
    }
    return Polygon(points);
}

std::vector<StagedCase> StagedCases()
{
    std::vector<StagedCase> cases;
    cases.push_back({"fine gear, root radius 60", Gear(400, 90.0 / 400), 2.0, true});
    cases.push_back({"fine gear, root radius 8", Gear(120, 12.0 / 120), 2.0, true});
    // Teeth 0.7 apart at 1.5 % of the gear's width: the stage after the
    // first reaches the distance at once, its candidates cut at their
    // neighbours on the first stage's outline. Cutting at every crossing
    // with a neighbour, covered or not, broke this outline into 18 pieces.
    auto gear = Gear(246, 0.7);
    double x0, y0, x1, y1;
    gear->GetBounds(x0, y0, x1, y1);
    const double width = std::min(x1 - x0, y1 - y0);
    cases.push_back({"gear, teeth 0.7 apart", std::move(gear), width * 1.5 / 100.0, true});
    cases.push_back({"handwriting stroke", Serpentine(40, 3.0), 3.0, false});
    cases.push_back({"comb", Comb(60), 3.0, true});
    // Unit edges with radii jittered by 0.4: the first stage's outline is
    // made of many short arcs and lines meeting smoothly or nearly so.
    std::mt19937 random(1234);
    const double radius = 1000 / kTwoPi;
    cases.push_back({"jagged polygon", RandomStar(random, 1000, radius - 0.4, radius + 0.4), 16.0, true});
    return cases;
}

// Outwards and inwards: as many outlines as in one go, each enclosing the
// same area within the simplification, every point at the distance from
// the chain.
// A negative distance to one side is the distance to the other, staged too.
TEST(OffsetStages, StagedOutlinesEqualTheOffsetInOneGo)
{
    for (auto& c : StagedCases()) {
        const int outwards = 1 - c.chain->IsClockwise(0);
        for (int side : {outwards, 1 - outwards}) {
            if (side != outwards && !c.inwardsToo)
                continue;
            SCOPED_TRACE(testing::Message() << c.name << (side == outwards ? ", outwards" : ", inwards"));
            const std::vector<double> steps = OffsetStages(*c.chain, c.distance);
            ASSERT_EQ(steps.size(), 2u);
            EXPECT_GE(steps[0], c.distance / 1024.0);
            EXPECT_LE(steps[0], c.distance / 2.0);
            EXPECT_NEAR(steps[0] + steps[1], c.distance, 1e-12);
            const ChainList staged = ClosedOffset(*c.chain, c.distance, side, OffsetStaging::Staged);
            const ChainList once = ClosedOffset(*c.chain, c.distance, side, OffsetStaging::OneGo);
            const ChainList negated = ClosedOffset(*c.chain, -c.distance, 1 - side, OffsetStaging::Staged);
            ASSERT_EQ(staged.size(), once.size());
            ASSERT_EQ(negated.size(), once.size());
            ASSERT_FALSE(staged.empty());
            std::vector<double> stagedAreas, negatedAreas, onceAreas;
            double perimeter = 0.0;
            for (size_t k = 0; k < staged.size(); ++k) {
                stagedAreas.push_back(SignedArea(*staged[k]));
                negatedAreas.push_back(SignedArea(*negated[k]));
                onceAreas.push_back(SignedArea(*once[k]));
                perimeter += Perimeter(*once[k]);
                for (const CPoint2D& q : Sample(*staged[k], 4))
                    EXPECT_NEAR(DistanceTo(*c.chain, q), c.distance, kDistanceTolerance);
            }
            std::sort(stagedAreas.begin(), stagedAreas.end());
            std::sort(negatedAreas.begin(), negatedAreas.end());
            std::sort(onceAreas.begin(), onceAreas.end());
            for (size_t k = 0; k < staged.size(); ++k) {
                EXPECT_NEAR(stagedAreas[k], onceAreas[k], 2.0 * kSimplifyTolerance * perimeter);
                EXPECT_NEAR(negatedAreas[k], onceAreas[k], 2.0 * kSimplifyTolerance * perimeter);
            }
        }
    }
}

// Inwards of a large jagged polygon, where many corners' arcs meet close
// together: cutting candidates at their neighbours must keep the slivers
// that the outline runs over there (cut right up to each crossing, this
// outline came out broken, missing a stretch of 86 000 square units).
TEST(OffsetStages, AJaggedOutlineStaysWholeWhereManyCornersMeet)
{
    std::mt19937 random(1);
    const int corners = 12000;
    const double radius = corners / kTwoPi;
    const auto chain = RandomStar(random, corners, radius - 0.4, radius + 0.4);
    double x0, y0, x1, y1;
    chain->GetBounds(x0, y0, x1, y1);
    const double distance = std::min(x1 - x0, y1 - y0) * 5.0 / 100.0;
    const int inwards = chain->IsClockwise(0);
    ASSERT_GE(OffsetStages(*chain, distance).size(), 2u);
    const ChainList staged = ClosedOffset(*chain, distance, inwards, OffsetStaging::Staged);
    const ChainList once = ClosedOffset(*chain, distance, inwards, OffsetStaging::OneGo);
    ASSERT_EQ(staged.size(), 1u);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_NEAR(SignedArea(*staged[0]), SignedArea(*once[0]), 2.0 * kSimplifyTolerance * Perimeter(*once[0]));
}

// A candidate is cut where it runs within the distance of a neighbour's
// segment or vertex: only a part that lies wholly within the distance of
// the neighbour's nearest point q may go, from the candidate's start (or
// end) up to the crossing p at the distance.
TEST(OffsetStages, OnlyPartsWithinTheDistanceOfANeighbourAreCutOff)
{
    const double slack = 1e-9;
    auto arc = [](double fromDegrees, double toDegrees, int ccw) {
        auto at = [](double degrees) {
            const double a = degrees * kPi / 180.0;
            return CPoint2D(5.0 * std::cos(a), 5.0 * std::sin(a));
        };
        return std::make_unique<CArcSegment2D>(CPoint2D(0.0, 0.0), at(fromDegrees), at(toDegrees), ccw);
    };
    auto point = [](double degrees) {
        const double a = degrees * kPi / 180.0;
        return CPoint2D(5.0 * std::cos(a), 5.0 * std::sin(a));
    };
    const CPoint2D left(-1.0, 0.0);
    // From q = (-1, 0) the circle of radius 5 round the origin is farthest
    // at angle 0: a part across it rises above what its ends have.
    const double across = (point(60.0) - left).Length() + 0.01;
    const double beside = (point(100.0) - left).Length();
    struct Case {
        const char* name;
        std::unique_ptr<CSegment2D> candidate;
        bool fromStart;
        CPoint2D p, q;
        double distance;
        bool covered;
    } cases[] = {
        {"line, start within", std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0)), true,
         CPoint2D(7, 0), CPoint2D(3, 1), std::sqrt(17.0), true},
        {"line, end beyond", std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0)), false,
         CPoint2D(7, 0), CPoint2D(3, 1), std::sqrt(17.0), false},
        {"line, crossing beyond the distance", std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0)),
         true, CPoint2D(8, 0), CPoint2D(3, 1), std::sqrt(17.0), false},
        {"arc across its farthest point", arc(-60.0, 90.0, 1), true, point(60.0), left, across, false},
        {"arc across its farthest point, clockwise", arc(60.0, -90.0, 0), true, point(-60.0), left, across, false},
        {"arc clear of its farthest point", arc(100.0, 180.0, 1), false, point(100.0), left, beside, true},
        {"arc clear of its farthest point, clockwise", arc(180.0, 100.0, 0), true, point(100.0), left, beside,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CoveredUpTo(*c.candidate, c.fromStart, c.p, c.q, c.distance, slack), c.covered);
    }
}

// Chains the stages do not serve are offset in one go: few segments, little
// turning within the distance, open, or crossing themselves.
TEST(OffsetStages, OneStageWhereStagesDoNotServe)
{
    auto eight = std::make_unique<CCurveList>();
    for (int k = 0; k < 200; ++k) {
        const double a = kTwoPi * k / 200, b = kTwoPi * (k + 1) / 200;
        eight->Append(std::make_unique<CLineSegment2D>(CPoint2D(10 * std::sin(a), 5 * std::sin(2 * a)),
                                                       CPoint2D(10 * std::sin(b), 5 * std::sin(2 * b))));
    }
    auto open = Gear(250, 12.0 / 250);
    open->segments.pop_back();
    std::vector<CPoint2D> round;
    for (int k = 0; k < 2000; ++k)
        round.emplace_back(50 * std::cos(kTwoPi * k / 2000), 50 * std::sin(kTwoPi * k / 2000));
    struct Case {
        const char* name;
        std::unique_ptr<CCurveList> chain;
        double distance;
    };
    Case cases[] = {
        {"few segments", Gear(12, 0.5), 2.0},
        {"fine polygon circle", Polygon(round), 2.0},
        {"fine gear, small distance", Gear(250, 12.0 / 250), 0.01},
        {"open chain", std::move(open), 2.0},
        {"figure eight", std::move(eight), 2.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OffsetStages(*c.chain, c.distance), std::vector<double>{c.distance});
    }
}

} // namespace
