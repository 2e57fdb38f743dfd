// Intersections and nearest points of two segments.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "addins/milling/geometry/segment2d.h"

namespace {

std::unique_ptr<CSegment2D> Line(double x0, double y0, double x1, double y1)
{
    return std::make_unique<CLineSegment2D>(CPoint2D(x0, y0), CPoint2D(x1, y1));
}

std::unique_ptr<CSegment2D> Circle(double cx, double cy, double r)
{
    auto arc = std::make_unique<CArcSegment2D>();
    arc->ccw = 1;
    arc->SetCircle({cx, cy}, r);
    return arc;
}

struct IntersectCase {
    const char* name;
    std::shared_ptr<CSegment2D> a, b;
    SegmentFlags flagsA, flagsB;
    std::vector<CPoint2D> expected;
};

TEST(SegmentIntersectTest, Table)
{
    const double h = std::sqrt(0.75);
    const IntersectCase cases[] = {
        {"crossing_lines", Line(0, 0, 10, 0), Line(5, -5, 5, 5), kClosedSegment, kClosedSegment, {{5, 0}}},
        {"box_rejected", Line(0, 0, 10, 0), Line(5, 1, 5, 5), kClosedSegment, kClosedSegment, {}},
        {"extension_before_start", Line(0, 0, 10, 0), Line(5, 1, 5, 5), kClosedSegment, 0x113, {{5, 0}}},
        {"parallel", Line(0, 0, 10, 0), Line(0, 1, 10, 1), kAnywhere, kAnywhere, {}},
        {"collinear_overlap", Line(0, 0, 10, 0), Line(5, 0, 15, 0), kClosedSegment, kClosedSegment, {}},
        {"line_through_circle", Line(-2, 0, 2, 0), Circle(0, 0, 1), kClosedSegment, kClosedSegment,
         {{1, 0}, {-1, 0}}},
        {"circle_through_line", Circle(0, 0, 1), Line(-2, 0, 2, 0), kClosedSegment, kClosedSegment,
         {{1, 0}, {-1, 0}}},
        {"line_touches_circle", Line(-2, 1, 2, 1), Circle(0, 0, 1), kClosedSegment, kClosedSegment, {{0, 1}}},
        {"two_circles", Circle(0, 0, 1), Circle(1, 0, 1), kClosedSegment, kClosedSegment, {{0.5, -h}, {0.5, h}}},
        {"circles_touch_outside", Circle(0, 0, 1), Circle(2, 0, 1), kClosedSegment, kClosedSegment, {{1, 0}}},
        {"concentric", Circle(0, 0, 1), Circle(0, 0, 2), kClosedSegment, kClosedSegment, {}},
        {"end_excluded", Line(0, 0, 10, 0), Line(10, 0, 10, 5), kWithoutEnd, kClosedSegment, {}},
    };
    for (const IntersectCase& c : cases) {
        SCOPED_TRACE(c.name);
        SegmentPoints out;
        const int count = c.a->Intersect(*c.b, out, c.flagsA, c.flagsB);
        ASSERT_EQ(count, static_cast<int>(c.expected.size()));
        for (int k = 0; k < count; ++k) {
            EXPECT_NEAR(out[k].x, c.expected[k].x, 1e-9);
            EXPECT_NEAR(out[k].y, c.expected[k].y, 1e-9);
        }
    }
}

TEST(SegmentClosestPointsTest, Table)
{
    struct Case {
        const char* name;
        std::shared_ptr<CSegment2D> a, b;
        CPoint2D onA, onB;
    };
    auto arc = [](double cx, double cy, double r, double a0, double a1, int ccw) {
        return std::make_shared<CArcSegment2D>(CPoint2D(cx, cy), r, CPoint2D(cx + std::cos(a0), cy + std::sin(a0)),
                                               CPoint2D(cx + std::cos(a1), cy + std::sin(a1)), ccw);
    };
    const Case cases[] = {
        {"parallel_lines_first_pair", Line(0, 0, 10, 0), Line(0, 2, 10, 2), {0, 0}, {0, 2}},
        {"crossing_lines_meet_at_crossing", Line(0, 0, 10, 10), Line(0, 10, 10, 0), {5, 5}, {5, 5}},
        {"line_above_arc_foot", Line(-5, 3, 5, 3), arc(0, 0, 1, 0.0, kPi, 1), {0, 3}, {0, 1}},
        {"arc_below_line_foot", arc(0, 0, 1, 0.0, kPi, 1), Line(-5, 3, 5, 3), {0, 1}, {0, 3}},
        {"arcs_apart", arc(0, 0, 1, -1.0, 1.0, 1), arc(5, 0, 1, 2.0, 4.0, 1), {1, 0}, {4, 0}},
        {"line_crosses_arc", Line(0, 0, 3, 0), arc(0, 0, 2, -1.0, 1.0, 1), {2, 0}, {2, 0}},
        // The centre is a radius away from every point of the arc, never at 0.
        {"line_from_arc_centre", Line(0, 0, -2, -1), arc(0, 0, 1, 0.0, kPi / 2, 1), {0, 0}, {1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPoint2D onA, onB;
        c.a->ClosestPoints(*c.b, onA, onB);
        EXPECT_NEAR(onA.x, c.onA.x, 1e-9);
        EXPECT_NEAR(onA.y, c.onA.y, 1e-9);
        EXPECT_NEAR(onB.x, c.onB.x, 1e-9);
        EXPECT_NEAR(onB.y, c.onB.y, 1e-9);
    }
}

// Crossing segments are at distance 0: the nearest pair of two crossing
// lines is their crossing, not one of the end-point pairs.
TEST(SegmentClosestPointsTest, CrossingSegmentsHaveDistanceZero)
{
    const auto a = Line(0, 0, 10, 1);
    const auto b = Line(3, -4, 4, 6);
    CPoint2D onA, onB;
    a->ClosestPoints(*b, onA, onB);
    EXPECT_LT((onA - onB).Length(), 1e-9);
    EXPECT_EQ(a->IsPointOn(onA, kClosedSegment), 1);
}

} // namespace
