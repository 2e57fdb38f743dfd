// The machining checks themselves: exact distances between lines and arcs,
// and toolpaths with a planted fault that the checks must find.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/toolpath_check.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace toolpathcheck;
using toolpathtest::Make;

PlaneCurve L(double ax, double ay, double bx, double by) { return PlaneCurve::Line({ax, ay}, {bx, by}); }
PlaneCurve A(double cx, double cy, double ax, double ay, double bx, double by, bool ccw = true)
{
    return PlaneCurve::Arc({cx, cy}, {ax, ay}, {bx, by}, ccw);
}

TEST(ToolpathCheck, DistancesBetweenLinesAndArcsAreExact)
{
    struct Case {
        const char* name;
        PlaneCurve a, b;
        double distance;
    };
    const double s = std::sqrt(0.5);
    const Case cases[] = {
        {"parallel_lines", L(0, 0, 10, 0), L(2, 3, 8, 3), 3.0},
        {"crossing_lines", L(0, 0, 10, 10), L(0, 10, 10, 0), 0.0},
        {"line_end_to_line", L(0, 0, 10, 0), L(12, -5, 12, 5), 2.0},
        {"point_to_line", L(5, 4, 5, 4), L(0, 0, 10, 0), 4.0},
        {"line_under_half_circle", L(-5, -1, 5, -1), A(0, 0, 2, 0, -2, 0), 1.0},       // the arc's ends face it
        {"line_over_half_circle", L(-5, 3, 5, 3), A(0, 0, 2, 0, -2, 0), 1.0},         // the arc's top faces it
        {"line_beside_the_missing_half", L(-5, 3, 5, 3), A(0, 0, 2, 0, -2, 0, false), 3.0},
        {"line_tangent_to_circle", L(-5, 2, 5, 2), A(0, 0, 2, 0, 2, 0), 0.0},
        {"line_through_circle", L(-5, 0, 5, 0), A(0, 0, 2, 0, 2, 0), 0.0},
        {"line_inside_circle", L(-0.5, 0, 0.5, 0), A(0, 0, 2, 0, 2, 0), 1.5},
        {"concentric_arcs", A(0, 0, 3, 0, 0, 3), A(0, 0, 0, 5, 5, 0, false), 2.0},
        {"arcs_facing_across_centres", A(0, 0, 0, 1, 0, -1, false), A(5, 0, 5, -1, 5, 1, false), 3.0},
        {"arcs_facing_away", A(0, 0, 0, 1, 0, -1), A(5, 0, 5, -1, 5, 1), 5.0}, // end to end
        {"touching_circles", A(0, 0, 1, 0, 1, 0), A(2, 0, 3, 0, 3, 0), 0.0},
        {"circles_apart", A(0, 0, 1, 0, 1, 0), A(3, 0, 4, 0, 4, 0), 1.0},
        {"circle_inside_circle", A(0, 0, 1, 0, 1, 0), A(0.5, 0, 4.5, 0, 4.5, 0), 2.5},
        {"quarter_arc_to_point", A(0, 0, 1, 0, 0, 1), L(1, 1, 1, 1), std::sqrt(2.0) - 1.0},
        {"quarter_arc_missed_point", A(0, 0, 1, 0, 0, 1), L(-1, -1, -1, -1), std::hypot(2.0, 1.0)},
        {"arc_end_to_diagonal", A(0, 0, s, s, -s, s), L(2, -2, 3, -3), std::hypot(2 - s, 2 + s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(Distance(c.a, c.b), c.distance, 1e-12);
        EXPECT_NEAR(Distance(c.b, c.a), c.distance, 1e-12);
    }
}

// A rectangle pocket 40 x 30 cut with a tool of radius 3: the real
// toolpath passes, and each planted fault is found.
TEST(ToolpathCheck, FindsGougesUncutAreasAndLostCircles)
{
    const auto parts = Make(shapes::Rect(0, 0, 40, 30), shapes::Circle(20, 15, 4));
    CMillingParams params = toolpathtest::Params(0, -1, 2, 6.0, 0.0);
    CPocketFeature f;
    ASSERT_TRUE(f.ComputeFromContours(parts, params, nullptr).ok());
    const std::vector<CMove> moves = f.Moves();
    const OutlineSet outlines(parts);
    const FreeArea free(outlines, 3.0, Machining::Inside);
    EXPECT_GE(MeasureClearance(moves, outlines, 3.0, Machining::Inside, 0.0).nearest, 3.0 - 1e-6);
    EXPECT_EQ(MeasureCoverage(free, outlines, DeepestCut(moves), 3.0, 0.5, 1e-3).uncut, 0);

    // Moved 2e-6 towards the wall at x = 0: the clearance check sees it.
    std::vector<CMove> shifted = moves;
    for (CMove& m : shifted) {
        m.start.x -= 2e-6;
        m.end.x -= 2e-6;
        m.centre.x -= 2e-6;
    }
    EXPECT_LT(MeasureClearance(shifted, outlines, 3.0, Machining::Inside, 0.0).nearest, 3.0 - 1e-6);

    // Without its outermost pass the corners stand uncut.
    std::vector<CMove> inner;
    double minX = 1e300;
    for (const CMove& m : moves)
        minX = std::min(minX, std::min(m.start.x, m.end.x));
    for (const CMove& m : moves)
        if (std::fabs(m.start.x - minX) > 1e-9 && std::fabs(m.end.x - minX) > 1e-9)
            inner.push_back(m);
    EXPECT_GT(MeasureCoverage(free, outlines, DeepestCut(inner), 3.0, 0.5, 1e-3).uncut, 0);

    // A full circle that is not drawn, and one drawn in the wrong sense.
    CMove circle;
    circle.flag = kMoveArcCounterClockwise;
    circle.start = circle.end = {5, 0, -1};
    circle.centre = {0, 0, -1};
    circle.radius = 5;
    EXPECT_NE(CompareDrawn({circle}, {}, {}, 1e-3), "");
    DrawnMove drawn;
    drawn.arc = true;
    drawn.start = drawn.end = circle.start;
    drawn.centre = circle.centre;
    EXPECT_EQ(CompareDrawn({circle}, {drawn}, {}, 1e-3), "");
    drawn.ccw = false;
    EXPECT_NE(CompareDrawn({circle}, {drawn}, {}, 1e-3), "");
}

} // namespace
