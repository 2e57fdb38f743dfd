// Combining closed curve lists: the characteristic cases and a sampled
// point-in-region oracle over random and adversarial pairs.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "addins/milling/geometry/curvelistdebug.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using namespace shapes;
using Results = std::vector<std::unique_ptr<CCurveList>>;

std::string ModeName(CombineMode mode) { return mode == CombineMode::Union ? "union" : "difference"; }

// In the region of a set of outlines: inside an odd number of them.
bool InRegion(Results& outlines, const CPoint2D& p)
{
    bool inside = false;
    for (auto& outline : outlines)
        if (outline->ClassifyPoint(p, 1) == PointPlace::Inside)
            inside = !inside;
    return inside;
}

TEST(CombineTest, OverlappingSquares)
{
    struct Case {
        const char* name;
        CombineMode mode;
        int outlines;
        double area;
    };
    const Case cases[] = {
        {"union", CombineMode::Union, 1, 7.0},
        {"difference", CombineMode::Difference, 1, 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = Rect(0, 0, 2, 2);
        auto b = Rect(1, 1, 3, 3);
        a->IsClockwise(0);
        b->IsClockwise(0);
        Results results;
        ASSERT_EQ(a->Combine(*b, c.mode, results), c.outlines);
        EXPECT_EQ(results[0]->IsClosed(), 1);
        EXPECT_NEAR(SignedArea(*results[0]), c.area, 1e-9);
    }
}

TEST(CombineTest, DisjointAndBand)
{
    auto a = Rect(0, 0, 1, 1);
    auto far = Rect(5, 5, 6, 6);
    a->IsClockwise(0);
    far->IsClockwise(0);
    Results results;
    EXPECT_EQ(a->Combine(*far, CombineMode::Union, results), -1);
    EXPECT_TRUE(results.empty());

    auto square = Rect(0, 0, 4, 4);
    auto band = Rect(1, -1, 3, 5);
    square->IsClockwise(0);
    band->IsClockwise(0);
    ASSERT_EQ(square->Combine(*band, CombineMode::Difference, results), 2);
    for (const auto& part : results) {
        EXPECT_EQ(part->IsClosed(), 1);
        EXPECT_NEAR(SignedArea(*part), 4.0, 1e-9);
    }
}

// A crossing at the first vertex of a chain is one crossing, not two: the
// triangle leaves the square through its first vertex (2, 2) and enters it
// again through its lower side, so the union is one outline.
TEST(CombineTest, CrossingAtFirstVertex)
{
    auto a = Polygon({{2, 2}, {0, 2}, {0, 0}, {2, 0}});
    auto b = Polygon({{1, 1}, {3, 3}, {3, 0}});
    a->IsClockwise(0);
    b->IsClockwise(0);
    Results results;
    const int count = a->Combine(*b, CombineMode::Union, results);
    ASSERT_EQ(count, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0]->IsClosed(), 1);
    // Square 4 + triangle 3 - their overlap 0.75.
    EXPECT_NEAR(std::fabs(SignedArea(*results[0])), 6.25, 1e-9);
}

void CheckAgainstOracle(CCurveList& a, CCurveList& b, CombineMode mode, const std::string& trace)
{
    std::mt19937 random(12345);
    SCOPED_TRACE(trace);
    a.IsClockwise(0);
    b.IsClockwise(0);
    Results results;
    const int count = a.Combine(b, mode, results);
    if (count < 0)
        return;
    for (const auto& outline : results)
        ASSERT_EQ(outline->IsClosed(), 1) << ToInitializer(*outline);
    double x0, y0, x1, y1, u0, v0, u1, v1;
    a.GetBounds(x0, y0, x1, y1);
    b.GetBounds(u0, v0, u1, v1);
    std::uniform_real_distribution<double> px(std::min(x0, u0) - 1, std::max(x1, u1) + 1);
    std::uniform_real_distribution<double> py(std::min(y0, v0) - 1, std::max(y1, v1) + 1);
    int checked = 0;
    for (int k = 0; k < 400; ++k) {
        const CPoint2D p(px(random), py(random));
        if (DistanceTo(a, p) < 1e-3 || DistanceTo(b, p) < 1e-3)
            continue;
        const bool inA = a.ClassifyPoint(p, 0) == PointPlace::Inside;
        const bool inB = b.ClassifyPoint(p, 0) == PointPlace::Inside;
        const bool expected = mode == CombineMode::Union ? (inA || inB) : (inA && !inB);
        ASSERT_EQ(InRegion(results, p), expected) << "point " << p.x << ", " << p.y;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(CombinePropertyTest, RandomStarsAgreeWithOracle)
{
    const unsigned seed = 99173;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::uniform_real_distribution<double> shift(-6.0, 6.0);
    for (int round = 0; round < 40; ++round) {
        auto a = RandomStar(random, 6 + round % 13, 3.0, 9.0);
        auto b = RandomStar(random, 5 + round % 7, 2.0, 7.0, {shift(random), shift(random)});
        if (round % 3 == 0)
            b = Reversed(*b);
        for (CombineMode mode : {CombineMode::Union, CombineMode::Difference})
            CheckAgainstOracle(*a, *b, mode,
                               "round " + std::to_string(round) + " mode " + ModeName(mode) + "\n" +
                                   ToInitializer(*a) + "\n" + ToInitializer(*b));
    }
}

TEST(CombinePropertyTest, ArcShapesAgreeWithOracle)
{
    struct Pair {
        const char* name;
        std::shared_ptr<CCurveList> a, b;
    };
    const Pair pairs[] = {
        {"circles", Circle(0, 0, 5), Circle(4, 1, 3)},
        {"two_arc_circles", TwoArcCircle(0, 0, 5), TwoArcCircle(3, -2, 4)},
        {"rounded_and_circle", RoundedRect(0, 0, 10, 6, 2), Circle(10, 3, 2.5)},
        {"gears", Gear(12), Gear(12)},
        {"gear_and_square", Gear(20), Rect(0, 0, 30, 30)},
        {"cw_circle_and_square", Circle(0, 0, 5, false), Rect(2, -1, 9, 1)},
    };
    for (const Pair& p : pairs) {
        // Turn the second copy of a gear by a fraction of a tooth.
        if (std::string(p.name) == "gears") {
            for (auto& s : p.b->segments) {
                if (s->GetType() == kSegmentTypeArc) {
                    auto& arc = static_cast<CArcSegment2D&>(*s);
                    arc.centre = arc.centre + CPoint2D(0.7, 0.3);
                } else {
                    auto& line = static_cast<CLineSegment2D&>(*s);
                    line.start = line.start + CPoint2D(0.7, 0.3);
                    line.end = line.end + CPoint2D(0.7, 0.3);
                }
            }
        }
        for (CombineMode mode : {CombineMode::Union, CombineMode::Difference})
            CheckAgainstOracle(*p.a, *p.b, mode, std::string(p.name) + " mode " + ModeName(mode));
    }
}

// The indexed crossing search and the all-pairs one give the same outlines,
// for gears, long stroke outlines and many-pointed stars.
TEST(CombinePropertyTest, IndexedEqualsAllPairs)
{
    struct Case {
        const char* name;
        std::shared_ptr<CCurveList> a, b;
    };
    auto moved = [](const CCurveList& list, const CPoint2D& by) {
        std::shared_ptr<CCurveList> copy = list.Copy();
        for (auto& s : copy->segments) {
            if (s->GetType() == kSegmentTypeArc) {
                static_cast<CArcSegment2D&>(*s).centre = static_cast<CArcSegment2D&>(*s).centre + by;
            } else {
                auto& line = static_cast<CLineSegment2D&>(*s);
                line.start = line.start + by;
                line.end = line.end + by;
            }
        }
        return copy;
    };
    std::mt19937 random(4711);
    std::shared_ptr<CCurveList> gear = Gear(50);
    std::shared_ptr<CCurveList> stroke = Serpentine(60);
    const Case cases[] = {
        {"gear_shifted", gear, moved(*gear, {0.35, 0.2})},
        {"gear_moved_up", gear, moved(*gear, {0.0, 1.0})},
        {"stroke_shifted", stroke, moved(*stroke, {0.5, 0.25})},
        {"stars", RandomStar(random, 300, 20.0, 25.0), RandomStar(random, 200, 18.0, 26.0, {1.0, -0.5})},
    };
    for (const Case& c : cases) {
        c.a->IsClockwise(0);
        c.b->IsClockwise(0);
        for (CombineMode mode : {CombineMode::Union, CombineMode::Difference}) {
            SCOPED_TRACE(testing::Message() << c.name << " mode " << ModeName(mode));
            Results indexed, all;
            const int n1 = c.a->Combine(*c.b, mode, indexed, PairSearch::Indexed);
            const int n2 = c.a->Combine(*c.b, mode, all, PairSearch::AllPairs);
            ASSERT_EQ(n1, n2);
            ASSERT_GT(n1, 0);
            for (int k = 0; k < n1; ++k)
                EXPECT_EQ(ToInitializer(*indexed[k]), ToInitializer(*all[k]));
        }
    }
}

} // namespace
