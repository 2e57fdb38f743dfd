// Curve list intersections, nearest points and cutting.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "addins/milling/geometry/curvelistdebug.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using namespace shapes;

TEST(CurveListIntersectTest, SelfIntersections)
{
    EXPECT_EQ(Rect(0, 0, 1, 1)->SelfIntersections(nullptr), 0);
    EXPECT_EQ(Gear(30)->SelfIntersections(nullptr), 0);
    std::vector<CPoint2D> points;
    EXPECT_EQ(Polygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}})->SelfIntersections(&points), 1);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].IsEqual({1, 1}), 1);
    CCurveList empty;
    EXPECT_EQ(empty.SelfIntersections(&points), 0);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
}

TEST(CurveListIntersectTest, IntersectWithReportsAVertexCrossingOnce)
{
    // The second square's edge passes exactly through the corner (2, 2) of the first.
    auto a = Rect(0, 0, 2, 2);
    auto b = Polygon({{1, 3}, {3, 1}, {4, 4}});
    std::vector<CPoint2D> points;
    std::vector<int> ia, ib;
    const int count = a->IntersectWith(*b, &points, &ia, &ib, 0x13, 0x13);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(points[0].IsEqual({2, 2}), 1);
    EXPECT_EQ(ia[0], 1);
    EXPECT_EQ(ib[0], 0);
}

TEST(CurveListIntersectTest, IntersectSegmentThroughSquare)
{
    auto square = Rect(0, 0, 1, 1);
    const CLineSegment2D probe({0.5, 0.5}, {1.5, 0.5});
    std::vector<CPoint2D> points;
    std::vector<int> indices;
    ASSERT_EQ(square->IntersectSegment(probe, &points, &indices, 0x13, kAnywhere), 2);
    EXPECT_EQ(indices[0], 1);
    EXPECT_EQ(indices[1], 3);
}

// The ordered scan of all pairs that the indexed search must reproduce:
// keeps a pair only when strictly nearer than all before, stops at the first
// kept pair nearer than the stop distance plus the tolerance.
struct PairAnswer {
    CPoint2D a, b;
    int i = -1, j = -1;
};

PairAnswer ScanAllPairs(const CCurveList& x, const CCurveList& y, double stop)
{
    PairAnswer answer;
    bool first = true;
    double best = 0.0;
    for (int i = 0; i < x.GetCount(); ++i)
        for (int j = 0; j < y.GetCount(); ++j) {
            CPoint2D a, b;
            x.segments[i]->ClosestPoints(*y.segments[j], a, b);
            const double d = (a - b).Length();
            if (!first && !(d < best))
                continue;
            first = false;
            best = d;
            answer = {a, b, i, j};
            if (stop > 0.0 && stop + g_geometryTolerance > d)
                return answer;
        }
    return answer;
}

// Nested, side by side, touching and crossing chains, with and without a
// stop distance: the same pair of points and segments as the full scan.
TEST(CurveListIntersectTest, ClosestPointsEqualTheScanOfAllPairs)
{
    std::mt19937 random(77);
    struct Case {
        const char* name;
        std::shared_ptr<CCurveList> x, y;
    };
    const Case cases[] = {
        {"gear_around_circle", Gear(40), Circle(0, 0, 5)},
        {"star_beside_star", RandomStar(random, 300, 8, 10), RandomStar(random, 200, 3, 5, {25, 3})},
        {"gear_touching_rect", Gear(12), Rect(9, -1, 12, 1)},
        {"crossing_rects", Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)},
        {"rounded_inside_rounded", RoundedRect(0, 0, 60, 40, 8), RoundedRect(20, 15, 32, 25, 2)},
        {"far_apart", Rect(0, 0, 1, 1), Gear(8)},
    };
    for (const Case& c : cases) {
        for (double stop : {0.0, 0.5, 3.0, 100.0}) {
            SCOPED_TRACE(std::string(c.name) + " stop " + std::to_string(stop));
            const PairAnswer expected = ScanAllPairs(*c.x, *c.y, stop);
            PairAnswer got;
            c.x->ClosestPoints(*c.y, got.a, got.b, &got.i, &got.j, stop);
            EXPECT_EQ(got.i, expected.i);
            EXPECT_EQ(got.j, expected.j);
            EXPECT_EQ(got.a.IsEqual(expected.a), 1);
            EXPECT_EQ(got.b.IsEqual(expected.b), 1);
        }
    }
}

TEST(CurveListIntersectTest, ClosestPointsWithStopDistance)
{
    auto a = Rect(0, 0, 1, 1);
    auto b = Polygon({{5, 0.5}, {3, 0.5}, {1.5, 0.5}}, false);
    CPoint2D pa, pb;
    int ia = -1, ib = -1;
    a->ClosestPoints(*b, pa, pb, &ia, &ib, 0.0);
    EXPECT_NEAR((pa - pb).Length(), 0.5, 1e-12);
    EXPECT_EQ(ib, 1);
    a->ClosestPoints(*b, pa, pb, &ia, &ib, 10.0);
    EXPECT_EQ(ia, 0);
    EXPECT_EQ(ib, 0);
    EXPECT_NEAR((pa - pb).Length(), std::sqrt(4.25), 1e-12);

    int index = -1;
    const CPoint2D q = a->ClosestPoint({3, 0.25}, kClosedSegment, &index);
    EXPECT_EQ(q.IsEqual({1, 0.25}), 1);
    EXPECT_EQ(index, 1);
}

TEST(CurveListIntersectTest, CutAt)
{
    auto square = Rect(0, 0, 4, 4);
    auto forward = square->CutAt({{1, 0}, 0}, {{3, 0}, 0});
    ASSERT_EQ(forward->GetCount(), 1);
    EXPECT_NEAR(forward->GetLength(), 2.0, 1e-12);

    auto roundTheBack = square->CutAt({{3, 0}, 0}, {{1, 0}, 0});
    EXPECT_EQ(roundTheBack->GetCount(), 5);
    EXPECT_NEAR(roundTheBack->GetLength(), 14.0, 1e-12);
    EXPECT_EQ(roundTheBack->GetStartPoint().IsEqual({3, 0}), 1);
    EXPECT_EQ(roundTheBack->GetEndPoint().IsEqual({1, 0}), 1);

    auto circle = Circle(0, 0, 1);
    auto whole = circle->CutAt({{0, 1}, 0}, {{0, 1}, 0});
    ASSERT_EQ(whole->GetCount(), 1);
    EXPECT_NEAR(whole->GetLength(), kTwoPi, 1e-9);

    auto acrossCorner = square->CutAt({{4, 2}, 1}, {{2, 4}, 2});
    EXPECT_EQ(acrossCorner->GetCount(), 2);
    EXPECT_NEAR(acrossCorner->GetLength(), 4.0, 1e-12);
    EXPECT_EQ(square->CutAt({{0, 0}, 7}, {{0, 0}, 0})->GetCount(), 0);
}

TEST(CurveListIntersectTest, OrderAlongChain)
{
    auto square = Rect(0, 0, 4, 4);
    const std::vector<CChainPosition> positions = {{{0, 3}, 3}, {{4, 1}, 1}, {{4, 0.5}, 1}, {{4, 3}, 1}, {{4, 1}, 1}};
    EXPECT_EQ(OrderAlongChain(*square, positions), (std::vector<int>{2, 1, 4, 3, 0}));
    EXPECT_TRUE(OrderAlongChain(*square, {}).empty());
}

// The spatial index only prunes pairs that cannot meet: on random and
// adversarial chains it finds exactly what the all-pairs search finds.
TEST(CurveListIntersectTest, IndexedSearchEqualsAllPairs)
{
    const unsigned seed = 20261209;
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::uniform_real_distribution<double> coordinate(-10, 10);
    for (int round = 0; round < 40; ++round) {
        auto a = std::make_unique<CCurveList>();
        auto b = std::make_unique<CCurveList>();
        for (CCurveList* list : {a.get(), b.get()}) {
            CPoint2D p(coordinate(random), coordinate(random));
            for (int k = 0; k < 30; ++k) {
                const CPoint2D q(coordinate(random), coordinate(random));
                if (k % 3 == 2)
                    list->Append(std::make_unique<CArcSegment2D>((p + q) / 2 + CPoint2D(0.3, -0.2), p, q, k % 2));
                else
                    list->Append(std::make_unique<CLineSegment2D>(p, q));
                p = list->GetEndPoint();
            }
        }
        std::vector<CPoint2D> indexed, all;
        std::vector<int> ia1, ib1, ia2, ib2;
        ASSERT_EQ(a->SelfIntersections(&indexed, PairSearch::Indexed),
                  a->SelfIntersections(&all, PairSearch::AllPairs));
        const SegmentFlags openFlags = round % 2 ? 0x313 : 0x13;
        const int n1 = a->IntersectWith(*b, &indexed, &ia1, &ib1, openFlags, 0x13, PairSearch::Indexed);
        const int n2 = a->IntersectWith(*b, &all, &ia2, &ib2, openFlags, 0x13, PairSearch::AllPairs);
        ASSERT_EQ(n1, n2) << ToInitializer(*a) << "\n" << ToInitializer(*b);
        EXPECT_EQ(ia1, ia2);
        EXPECT_EQ(ib1, ib2);
        for (int k = 0; k < n1; ++k)
            EXPECT_EQ(indexed[k].IsEqual(all[k]), 1);
    }
}

} // namespace
