// Line and arc segments: position tests, projections, distances along,
// lengths, offsets, reversal and the status word.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/geometry/segment2d.h"

namespace {

CPoint2D Dir(double degrees) { return {std::cos(degrees * kPi / 180.0), std::sin(degrees * kPi / 180.0)}; }

void ExpectPoint(const CPoint2D& actual, const CPoint2D& expected, double tol = 1e-9)
{
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
}

TEST(CLineSegment2DTest, IsPointOnByFlags)
{
    const CLineSegment2D line({0, 0}, {10, 0});
    struct Case {
        const char* name;
        CPoint2D p;
        SegmentFlags flags;
        int expected;
    };
    const Case cases[] = {
        {"inside", {5, 0}, kInside, 1},
        {"start_not_inside", {0, 0}, kInside, 0},
        {"start_with_start_bit", {0, 0}, kAtStart, 1},
        {"end_with_end_bit", {10, 0}, kAtEnd, 1},
        {"end_without_end_bit", {10, 0}, kWithoutEnd, 0},
        {"before_start_extension", {-1, 0}, kBeyondStart, 1},
        {"before_start_not_beyond_end", {-1, 0}, kBeyondEnd, 0},
        {"after_end_extension", {11, 0}, kBeyondEnd, 1},
        {"distance_from_line_ignored", {5, 7}, kClosedSegment, 1},
        {"anywhere", {-100, 0}, kAnywhere, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(line.IsPointOn(c.p, c.flags), c.expected);
    }
}

TEST(CLineSegment2DTest, ProjectionAndDistances)
{
    const CLineSegment2D line({0, 0}, {10, 0});
    ExpectPoint(line.ClosestPoint({12, 3}, kClosedSegment), {10, 0});
    ExpectPoint(line.ClosestPoint({12, 3}, kAnywhere), {12, 0});
    ExpectPoint(line.ClosestPoint({4, -3}, 0x1), {4, 0});
    EXPECT_DOUBLE_EQ(line.DistanceAlong({-2, 0}, 1), -2.0);
    EXPECT_DOUBLE_EQ(line.DistanceAlong({3, 5}, 0), 3.0);
    EXPECT_DOUBLE_EQ(line.DistanceBetween({2, 0}, {7, 0}, 0, 1, 1), 5.0);
    EXPECT_DOUBLE_EQ(line.DistanceBetween({2, 0}, {7, 0}, 2, 1, 1), -5.0);
}

TEST(CLineSegment2DTest, OffsetReverseAndStatus)
{
    CLineSegment2D line({0, 0}, {10, 0});
    ASSERT_EQ(line.Offset(2.0, 1), 1);
    ExpectPoint(line.start, {0, -2});
    ASSERT_EQ(line.Offset(2.0, 0), 1);
    ExpectPoint(line.start, {0, 0});
    line.Reverse();
    ExpectPoint(line.start, {10, 0});
    auto clone = line.Clone(1);
    ExpectPoint(clone->GetStartPoint(), {0, 0});

    CLineSegment2D degenerate({1, 1}, {1, 1});
    EXPECT_EQ(degenerate.Offset(1.0, 1), 0);
    degenerate.GetDirectionAt({1, 1}, 1);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
    line.GetDirectionAt({0, 0}, 1);
    EXPECT_EQ(GetGeometryGlobal(), S_OK);
    line.GetCentre();
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
}

TEST(CArcSegment2DTest, LengthsAndPositionsBySense)
{
    const CArcSegment2D ccwQuarter({0, 0}, Dir(0), Dir(90), 1);
    const CArcSegment2D cwThreeQuarters({0, 0}, Dir(0), Dir(90), 0);
    EXPECT_NEAR(ccwQuarter.GetLength(), kPi / 2, 1e-12);
    EXPECT_NEAR(cwThreeQuarters.GetLength(), 3 * kPi / 2, 1e-12);
    EXPECT_EQ(ccwQuarter.IsPointOn(Dir(45), kInside), 1);
    EXPECT_EQ(cwThreeQuarters.IsPointOn(Dir(45), kInside), 0);
    EXPECT_EQ(cwThreeQuarters.IsPointOn(Dir(45), kBeyondEnd), 1);
    EXPECT_EQ(cwThreeQuarters.IsPointOn(Dir(200), kInside), 1);

    const CArcSegment2D wrapping({0, 0}, Dir(270), Dir(90), 1);
    EXPECT_EQ(wrapping.IsPointOn(Dir(0), kInside), 1);
    EXPECT_EQ(wrapping.IsPointOn(Dir(180), kInside), 0);
    EXPECT_EQ(wrapping.IsPointOn(Dir(180), kBeyondStart), 1);

    CArcSegment2D circle;
    circle.ccw = 1;
    circle.SetCircle({1, 1}, 2.0);
    EXPECT_NEAR(circle.GetLength(), 4 * kPi, 1e-12);
    EXPECT_EQ(circle.IsPointOn({1, 3}, kInside), 1);
    EXPECT_EQ(circle.IsPointOn({1, 3}, kBeyondEnd), 0);
    EXPECT_EQ(circle.IsClosed(0), 1);
}

// Arcs of a small sweep near the horizontal axis, where the cosines of their
// directions differ by less than the tolerance, still hold their middle.
TEST(CArcSegment2DTest, ShortArcsNearTheAxisKeepTheirInside)
{
    for (const double at : {0.0002, kPi + 0.0002, kPi - 0.0006, kTwoPi - 0.0006}) {
        SCOPED_TRACE(at);
        const CArcSegment2D arc({0, 0}, 1000.0, Dir(at * 180 / kPi) * 1000.0, Dir((at + 0.0004) * 180 / kPi) * 1000.0,
                                1);
        EXPECT_EQ(arc.IsPointOn(Dir((at + 0.0002) * 180 / kPi) * 1000.0, kInside), 1);
        EXPECT_EQ(arc.IsPointOn(Dir((at + 0.0008) * 180 / kPi) * 1000.0, kInside), 0);
        EXPECT_NEAR(arc.GetLength(), 0.4, 1e-6);
    }
}

TEST(CArcSegment2DTest, DistanceBetweenModes)
{
    const CArcSegment2D arc({0, 0}, Dir(0), Dir(90), 1);
    const CPoint2D a = Dir(0), b = Dir(270);
    EXPECT_NEAR(arc.DistanceBetween(a, b, 0, 1, 1), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(arc.DistanceBetween(a, b, 2, 1, 1), kPi / 2, 1e-12);
    EXPECT_NEAR(arc.DistanceBetween(a, b, 4, 1, 1), -kPi / 2, 1e-12);
    EXPECT_NEAR(arc.DistanceAlong(Dir(60) * 5.0, 0), kPi / 3, 1e-12);
}

TEST(CArcSegment2DTest, OffsetSides)
{
    CArcSegment2D arc({0, 0}, Dir(0), Dir(90), 1);
    ASSERT_EQ(arc.Offset(2.0, 1), 1);
    EXPECT_DOUBLE_EQ(arc.radius, 3.0);
    CArcSegment2D small({0, 0}, Dir(0), Dir(90), 1);
    EXPECT_EQ(small.Offset(2.0, 0), 0);
    EXPECT_DOUBLE_EQ(small.radius, 1.0);
    CArcSegment2D cw({0, 0}, 4.0, Dir(90), Dir(0), 0);
    ASSERT_EQ(cw.Offset(1.0, 1), 1);
    EXPECT_DOUBLE_EQ(cw.radius, 3.0);
}

TEST(CArcSegment2DTest, ReverseAndClone)
{
    CArcSegment2D arc({1, 2}, 3.0, CPoint2D(1, 2) + Dir(10), CPoint2D(1, 2) + Dir(100), 1);
    auto reversed = arc.Clone(1);
    arc.Reverse();
    ExpectPoint(reversed->GetStartPoint(), arc.GetStartPoint());
    ExpectPoint(reversed->GetEndPoint(), arc.GetEndPoint());
    EXPECT_EQ(static_cast<CArcSegment2D&>(*reversed).ccw, 0);
    arc.Reverse();
    ExpectPoint(arc.GetStartPoint(), CPoint2D(1, 2) + Dir(10) * 3.0);
}

TEST(CArcSegment2DTest, FailuresAndExtremes)
{
    CArcSegment2D zero;
    EXPECT_DOUBLE_EQ(zero.GetCurvature(), -1.0);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
    const CArcSegment2D arc({0, 0}, 2.0, Dir(0), Dir(90), 1);
    EXPECT_DOUBLE_EQ(arc.GetCurvature(), 0.5);
    EXPECT_EQ(GetGeometryGlobal(), S_OK);
    arc.ClosestPoint({0, 0}, kClosedSegment);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
    ExpectPoint(arc.ClosestPoint({-1, -1}, kAnywhere), Dir(225) * 2.0);
    ExpectPoint(arc.ClosestPoint({3, -1}, kClosedSegment), {2, 0});
    ExpectPoint(arc.GetMaxXPoint(), {2, 0});
    ExpectPoint(arc.GetMaxYPoint(), {0, 2});
    ExpectPoint(arc.GetMinXPoint(), {0, 2});
    ExpectPoint(arc.GetMinYPoint(), {2, 0});
    const CArcSegment2D topHalf({0, 0}, 1.0, {1, 0}, {-1, 0}, 1);
    ExpectPoint(topHalf.GetMaxYPoint(), {0, 1});
    ExpectPoint(topHalf.GetMinYPoint(), {-1, 0});
}

} // namespace
