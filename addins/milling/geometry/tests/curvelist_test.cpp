// Curve lists: closedness, orientation, point and list containment, bounds,
// length and simplification.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/geometry/curvelistdebug.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace {

using namespace shapes;

TEST(CCurveListTest, ClosednessAndOrientation)
{
    struct Case {
        const char* name;
        std::shared_ptr<CCurveList> list;
        int closed, clockwise;
    };
    const double s = std::sqrt(0.5);
    const Case cases[] = {
        {"ccw_square", Rect(0, 0, 1, 1, true), 1, 0},
        {"cw_square", Rect(0, 0, 1, 1, false), 1, 1},
        {"ccw_circle", Circle(0, 0, 1, true), 1, 0},
        {"cw_circle", Circle(0, 0, 1, false), 1, 1},
        {"ccw_two_arc_circle", TwoArcCircle(3, 1, 2, true), 1, 0},
        {"cw_two_arc_circle", TwoArcCircle(3, 1, 2, false), 1, 1},
        {"ccw_rounded_rect", RoundedRect(0, 0, 10, 5, 1), 1, 0},
        {"cw_rounded_rect", Reversed(*RoundedRect(0, 0, 10, 5, 1)), 1, 1},
        {"ccw_diamond", Polygon({{0, -s}, {s, 0}, {0, s}, {-s, 0}}), 1, 0},
        {"cw_diamond", Polygon({{-s, 0}, {0, s}, {s, 0}, {0, -s}}), 1, 1},
        {"ccw_gear", Gear(12), 1, 0},
        {"cw_gear", Reversed(*Gear(12)), 1, 1},
        {"open_polyline", Polygon({{0, 0}, {1, 0}, {1, 1}}, false), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.list->IsClosed(), c.closed);
        EXPECT_EQ(c.list->IsClockwise(0), c.clockwise);
        EXPECT_EQ(GetGeometryGlobal(), c.closed ? S_OK : E_FAIL);
        EXPECT_EQ(c.list->clockwise, c.clockwise);
    }
    CCurveList empty;
    EXPECT_EQ(empty.IsClosed(), 0);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
    EXPECT_DOUBLE_EQ(empty.GetLength(), 0.0);
}

// Chains built from (kind, points) steps: 'L' a line to the point, 'A' / 'C'
// a counter-clockwise / clockwise arc about the centre to the point.
struct Step {
    char kind;
    CPoint2D to;
    CPoint2D centre;
};

std::shared_ptr<CCurveList> Chain(CPoint2D start, const std::vector<Step>& steps)
{
    auto list = std::make_shared<CCurveList>();
    CPoint2D at = start;
    for (const Step& s : steps) {
        if (s.kind == 'L')
            list->Append(std::make_unique<CLineSegment2D>(at, s.to));
        else
            list->Append(std::make_unique<CArcSegment2D>(s.centre, at, s.to, s.kind == 'A' ? 1 : 0));
        at = s.to;
    }
    return list;
}

// Orientation where the leftmost point tells little: cusps (both neighbours
// leave it in the same direction), tangent joints, a chain touching itself
// there, and shapes at the edge of the tolerance. Each chain is also checked
// run the other way.
TEST(CCurveListTest, OrientationOfCuspTangentAndThinChains)
{
    struct Case {
        const char* name;
        std::shared_ptr<CCurveList> list;
        int clockwise;
    };
    auto moon = std::make_shared<CCurveList>();
    moon->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 0), CPoint2D(-1, 0), CPoint2D(1, 0), 1));
    moon->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 0), CPoint2D(1, 0), CPoint2D(-1, 0), 1));
    moon->Append(std::make_unique<CArcSegment2D>(CPoint2D(-0.5, 0), CPoint2D(-1, 0), CPoint2D(0, 0), 0));
    moon->Append(std::make_unique<CArcSegment2D>(CPoint2D(-0.5, 0), CPoint2D(0, 0), CPoint2D(-1, 0), 0));
    const Case cases[] = {
        // Two arcs leave the leftmost point along +x, one bending up, one down.
        {"horn_cusp_left", Chain({0, 0}, {{'C', {1, -1}, {0, -1}}, {'L', {1, 1}, {}}, {'C', {0, 0}, {0, 1}}}), 0},
        // A cusp whose both arcs bend the same way (a thorn).
        {"thorn_cusp_left", Chain({0, 0}, {{'A', {1, 3 - std::sqrt(8.0)}, {0, 3}}, {'L', {1, 1}, {}},
                                          {'C', {0, 0}, {0, 1}}}),
         0},
        // Line cusp: a spike to the left, both edges nearly along -x.
        {"line_spike_left", Polygon({{0, 0}, {-10, 0.001}, {0, 0.01}, {2, 2}, {2, -2}}), 1},
        // Arc ending at the leftmost x where a vertical line carries on.
        {"tangent_arc_line", Chain({0, 1}, {{'A', {-1, 0}, {0, 0}}, {'L', {-1, -2}, {}}, {'L', {2, -2}, {}},
                                            {'L', {2, 1}, {}}, {'L', {0, 1}, {}}}),
         0},
        // A disc with a smaller disc cut out, the two circles touching at the
        // leftmost point.
        {"moon_touching_at_left", moon, 0},
        {"sliver_ten_tolerances_wide", Polygon({{0, 0}, {100, 0}, {100, 1e-5}}), 0},
        {"far_from_origin", Rect(1e6, -1e6, 1e6 + 1, -1e6 + 1), 0},
        {"tiny_square", Rect(0, 0, 1e-4, 1e-4), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.list->IsClosed(), 1);
        EXPECT_EQ(c.list->IsClockwise(0), c.clockwise);
        EXPECT_EQ(GetGeometryGlobal(), S_OK);
        EXPECT_EQ(c.list->IsClockwise(0) == 1, SignedArea(*c.list) < 0.0);
        auto reversed = Reversed(*c.list);
        EXPECT_EQ(reversed->IsClockwise(0), 1 - c.clockwise);
    }
}

// A chain without area (out and back along itself) still gets an answer
// and a clean status.
TEST(CCurveListTest, OrientationOfChainWithoutArea)
{
    auto back = Polygon({{0, 0}, {5, 0}, {5, 0.0}, {0, 0}});
    auto arcBack = Chain({-1, 0}, {{'A', {1, 0}, {0, 0}}, {'C', {-1, 0}, {0, 0}}});
    for (auto* list : {back.get(), arcBack.get()}) {
        const int answer = list->IsClockwise(0);
        EXPECT_TRUE(answer == 0 || answer == 1);
        EXPECT_EQ(GetGeometryGlobal(), S_OK);
        EXPECT_NEAR(list->SignedArea(), 0.0, 1e-9);
    }
}

TEST(CCurveListTest, SelfCrossingListFailsOrientationCheck)
{
    auto eight = Polygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    EXPECT_EQ(eight->SelfIntersections(nullptr), 1);
    EXPECT_EQ(eight->IsClockwise(1), 0);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
}

TEST(CCurveListTest, ClassifyPoint)
{
    struct Case {
        const char* name;
        std::shared_ptr<CCurveList> list;
        CPoint2D p;
        PointPlace expected;
    };
    const double s = std::sqrt(0.5);
    auto diamond = [&](bool ccw) {
        std::vector<CPoint2D> p = {{0.5, 0.5 - s}, {0.5 + s, 0.5}, {0.5, 0.5 + s}, {0.5 - s, 0.5}};
        if (!ccw)
            std::reverse(p.begin(), p.end());
        return std::shared_ptr<CCurveList>(Polygon(p));
    };
    const Case cases[] = {
        {"inside_square", Rect(0, 0, 1, 1), {0.5, 0.5}, PointPlace::Inside},
        {"right_of_square", Rect(0, 0, 1, 1), {2, 0.5}, PointPlace::Outside},
        {"left_of_square", Rect(0, 0, 1, 1), {-2, 0.5}, PointPlace::Outside},
        {"on_left_side", Rect(0, 0, 1, 1), {0, 0.5}, PointPlace::On},
        {"on_right_side", Rect(0, 0, 1, 1), {1, 0.5}, PointPlace::On},
        {"inside_cw_square", Rect(0, 0, 1, 1, false), {0.5, 0.5}, PointPlace::Inside},
        {"outside_cw_square", Rect(0, 0, 1, 1, false), {1.5, 0.5}, PointPlace::Outside},
        {"inside_circle", Circle(0, 0, 1), {0.2, -0.3}, PointPlace::Inside},
        {"outside_circle", Circle(0, 0, 1), {1.2, 0.9}, PointPlace::Outside},
        {"inside_cw_circle", Circle(0, 0, 1, false), {0.2, 0.3}, PointPlace::Inside},
        {"on_circle", Circle(0, 0, 1), {-1, 0}, PointPlace::On},
        // The probe through the top or bottom of a circle only touches it,
        // and off the origin rounding can make it miss.
        {"top_of_circle", Circle(0.1, 0.7, 0.3), {0.1, 0.7 + 0.3}, PointPlace::On},
        {"bottom_of_circle", Circle(0.1, 0.7, 0.3), {0.1, 0.7 - 0.3}, PointPlace::On},
        {"top_of_another_circle", Circle(1.1, 2.3, 0.7), {1.1, 2.3 + 0.7}, PointPlace::On},
        {"vertex_level_inside_diamond", diamond(true), {0.5, 0.5}, PointPlace::Inside},
        {"vertex_level_right_of_diamond", diamond(true), {3, 0.5}, PointPlace::Outside},
        {"vertex_level_inside_cw_diamond", diamond(false), {0.5, 0.5}, PointPlace::Inside},
        {"top_vertex_level", diamond(true), {0.6, 0.5 + s}, PointPlace::Outside},
        {"inside_gear", Gear(12), {0, 0}, PointPlace::Inside},
        {"outside_gear", Gear(12), {20, 0.3}, PointPlace::Outside},
        {"inside_rounded_rect_corner_level", RoundedRect(0, 0, 10, 5, 1), {9.5, 4.5}, PointPlace::Inside},
        {"outside_rounded_rect_corner", RoundedRect(0, 0, 10, 5, 1), {9.9, 4.9}, PointPlace::Outside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.list->ClassifyPoint(c.p, 1), c.expected);
    }
    auto open = Polygon({{0, 0}, {1, 0}, {1, 1}}, false);
    EXPECT_EQ(open->ClassifyPoint({0.5, 0.5}, 1), PointPlace::Outside);
    EXPECT_EQ(GetGeometryGlobal(), E_FAIL);
}

TEST(CCurveListTest, ContainsList)
{
    auto big = Rect(0, 0, 10, 10);
    EXPECT_EQ(big->ContainsList(*Rect(2, 2, 4, 4), 1), 1);
    EXPECT_EQ(big->ContainsList(*Rect(12, 2, 14, 4), 1), 0);
    // Every start point lies on the boundary; the end point decides.
    EXPECT_EQ(big->ContainsList(*Polygon({{0, 0}, {10, 0}, {5, 5}}, false), 1), 1);
    EXPECT_EQ(big->ContainsList(*Polygon({{0, 0}, {10, 0}, {5, -5}}, false), 1), 0);
}

TEST(CCurveListTest, BoundsAndLength)
{
    auto rounded = RoundedRect(0, 0, 10, 5, 1);
    double x0, y0, x1, y1;
    rounded->GetBounds(x0, y0, x1, y1);
    EXPECT_NEAR(x0, 0, 1e-12);
    EXPECT_NEAR(y0, 0, 1e-12);
    EXPECT_NEAR(x1, 10, 1e-12);
    EXPECT_NEAR(y1, 5, 1e-12);
    double length = 0.0;
    EXPECT_NEAR(rounded->GetLength(&length), 2 * 8 + 2 * 3 + kTwoPi, 1e-9);
    EXPECT_NEAR(length, 2 * 8 + 2 * 3 + kTwoPi, 1e-9);
    auto circle = Circle(1, 2, 3);
    circle->GetBounds(x0, y0, x1, y1);
    EXPECT_NEAR(x0, -2, 1e-12);
    EXPECT_NEAR(y1, 5, 1e-12);
}

TEST(CCurveListTest, SimplifyMergesCollinearRunsButNeverTheWholeChain)
{
    auto rect = Polygon({{0, 0}, {3, 0}, {6, 0.001}, {10, 0}, {10, 5}, {0, 5}});
    rect->Simplify(0.01);
    ASSERT_EQ(rect->GetCount(), 4);
    EXPECT_EQ(rect->segments[0]->GetEndPoint().IsEqual({10, 0}), 1);

    auto collinear = Polygon({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, false);
    collinear->Simplify(0.01);
    EXPECT_EQ(collinear->GetCount(), 2);
}

TEST(CCurveListTest, SimplifyReplacesOnlyFlatArcs)
{
    auto arcList = [](double sweepDegrees) {
        auto list = std::make_unique<CCurveList>();
        const double a = sweepDegrees * kPi / 180.0;
        list->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 0), CPoint2D(10, 0),
                                                     CPoint2D(10 * std::cos(a), 10 * std::sin(a)), 1));
        return list;
    };
    auto flat = arcList(2.0);
    flat->Simplify(0.01);
    EXPECT_EQ(flat->segments[0]->GetType(), kSegmentTypeLine);
    auto curved = arcList(20.0);
    curved->Simplify(0.01);
    EXPECT_EQ(curved->segments[0]->GetType(), kSegmentTypeArc);
}

// A full circle and arcs of nearly a full turn have start and end points
// close together, yet they are anything but flat: they stay arcs, and a
// closed list stays closed.
TEST(CCurveListTest, SimplifyKeepsCirclesAndLargeArcs)
{
    auto circle = Circle(0, 0, 5);
    circle->Simplify(0.01);
    ASSERT_EQ(circle->GetCount(), 1);
    EXPECT_EQ(circle->segments[0]->GetType(), kSegmentTypeArc);
    EXPECT_EQ(circle->IsClosed(), 1);
    EXPECT_NEAR(circle->GetLength(), 10 * kPi, 1e-9);

    auto nearlyFull = std::make_unique<CCurveList>();
    const double a = kTwoPi - 0.001;
    nearlyFull->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 0), CPoint2D(5, 0),
                                                       CPoint2D(5 * std::cos(a), 5 * std::sin(a)), 1));
    nearlyFull->Simplify(0.01);
    EXPECT_EQ(nearlyFull->segments[0]->GetType(), kSegmentTypeArc);
}

TEST(CCurveListDebugTest, InitializerRoundTrip)
{
    auto rounded = RoundedRect(0, 0, 10, 5, 1);
    const std::string text = ToInitializer(*rounded);
    EXPECT_NE(text.find("{1, 0, 9, 0}"), std::string::npos);
    EXPECT_NE(text.find(", 1}"), std::string::npos);
    auto rebuilt = FromRows({{1, 0, 9, 0}, {9, 0, 10, 1, 9, 1, 1}});
    EXPECT_EQ(ToInitializer(*rebuilt), "{{1, 0, 9, 0},\n {9, 0, 10, 1, 9, 1, 1}}");
}

TEST(CCurveListTest, SimplifyToASideMovesTheChainOnlyThatWay)
{
    // Travel is along +x: left is up. A vertex 1e-4 up (or down) is merged
    // away only when the merged line lies on the allowed side of it; a flat
    // counter-clockwise arc bulging down (centre up) becomes its chord only
    // when the chain may move up.
    struct Case {
        const char* name;
        double bump; // the middle vertex's y; 0 for the arc
        bool arc;
        SimplifySide side;
        bool kept; // the vertex or the arc is still there
    };
    const Case cases[] = {
        {"vertex_up_either", 1e-4, false, SimplifySide::Either, false},
        {"vertex_up_right", 1e-4, false, SimplifySide::Right, false},
        {"vertex_up_left", 1e-4, false, SimplifySide::Left, true},
        {"vertex_down_right", -1e-4, false, SimplifySide::Right, true},
        {"vertex_down_left", -1e-4, false, SimplifySide::Left, false},
        {"arc_either", 0, true, SimplifySide::Either, false},
        {"arc_left", 0, true, SimplifySide::Left, false},
        {"arc_right", 0, true, SimplifySide::Right, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurveList chain;
        chain.Append(std::make_unique<CLineSegment2D>(CPoint2D(-10, 0), CPoint2D(0, 0)));
        if (c.arc) {
            const double r = 1000.0; // sagitta 0.0125 over the chord of 10
            const CPoint2D centre(5.0, std::sqrt(r * r - 25.0));
            chain.Append(std::make_unique<CArcSegment2D>(centre, CPoint2D(0, 0), CPoint2D(10, 0), 1));
        } else {
            chain.Append(std::make_unique<CLineSegment2D>(CPoint2D(0, 0), CPoint2D(5, c.bump)));
            chain.Append(std::make_unique<CLineSegment2D>(CPoint2D(5, c.bump), CPoint2D(10, 0)));
        }
        chain.Append(std::make_unique<CLineSegment2D>(CPoint2D(10, 0), CPoint2D(20, 0)));
        chain.Append(std::make_unique<CLineSegment2D>(CPoint2D(20, 0), CPoint2D(20, 5)));
        chain.Simplify(0.05, c.side);
        bool kept = false;
        for (const auto& s : chain.segments)
            kept = kept || s->GetType() == kSegmentTypeArc ||
                   (std::fabs(s->GetEndPoint().y - c.bump) < 1e-12 && std::fabs(s->GetEndPoint().x - 5) < 1e-12);
        EXPECT_EQ(kept, c.kept);
    }
}

} // namespace
