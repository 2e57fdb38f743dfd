// Points, directions, angles and the angular order of directions.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/geometry/point2d.h"
#include "objectmodel/tolerance.h"

namespace {

constexpr double kTol = kDefaultGeometryTolerance;

TEST(CPoint2DTest, ToleranceIsStrict)
{
    const CPoint2D a(0.0, 0.0);
    const CPoint2D oneTolApart(kTol, 0.0);
    EXPECT_EQ(a.IsEqual(oneTolApart), 0);
    EXPECT_EQ(a.IsNotEqual(oneTolApart), 1);
    EXPECT_EQ(a.IsEqual(CPoint2D(kTol / 2, -kTol / 2)), 1);
    EXPECT_EQ(CPoint2D(kTol / 2, 0.0).IsZero(), 1);
    EXPECT_EQ(CPoint2D(kTol, 0.0).IsZero(), 0);
}

// The kernel's exact comparison lives beside the object model's in one file
// and, like it, never calls NaN equal.
TEST(CPoint2DTest, ExactComparison)
{
    const double nan = std::nan("");
    EXPECT_TRUE(ExactlyEqual(0.0, -0.0));
    EXPECT_FALSE(ExactlyEqual(1.0, std::nextafter(1.0, 2.0)));
    EXPECT_FALSE(ExactlyEqual(nan, nan));
    EXPECT_FALSE(ExactlyEqual(nan, 0.0));
    EXPECT_EQ(ExactlyEqual(2.5, 2.5), Exactly(2.5, 2.5));
}

TEST(CPoint2DTest, VectorOperations)
{
    const CPoint2D p(3.0, 4.0);
    EXPECT_DOUBLE_EQ(p.Length(), 5.0);
    EXPECT_DOUBLE_EQ(p.Normalized().x, 0.6);
    EXPECT_DOUBLE_EQ(p.Normalized().y, 0.8);
    EXPECT_EQ(CPoint2D(0.0, 0.0).Normalized().IsZero(), 1);
    EXPECT_DOUBLE_EQ(CPoint2D(1.0, 0.0).Cross(CPoint2D(0.0, 1.0)), 1.0);
    const CPoint2D right = CPoint2D(1.0, 0.0).Perpendicular(1);
    const CPoint2D left = CPoint2D(1.0, 0.0).Perpendicular(0);
    EXPECT_EQ(right.IsEqual(CPoint2D(0.0, -1.0)), 1);
    EXPECT_EQ(left.IsEqual(CPoint2D(0.0, 1.0)), 1);
    EXPECT_EQ(CPoint2D(1.0, -1.0).HasCommonSign(CPoint2D(2.0, 5.0)), 1);
    EXPECT_EQ(CPoint2D(1.0, -1.0).HasCommonSign(CPoint2D(-2.0, 5.0)), 0);
    EXPECT_EQ(CPoint2D(1e-7, 0.0).HasCommonSign(CPoint2D(1.0, 0.0)), 0);
}

TEST(CVector2DTest, AngleOfDirection)
{
    struct Case {
        const char* name;
        double x, y, angle;
    };
    const Case cases[] = {
        {"east", 1.0, 0.0, 0.0},
        {"west", -1.0, 0.0, kPi},
        {"south", 0.0, -1.0, 3 * kPi / 2},
        {"north", 0.0, 1.0, kPi / 2},
        {"east_within_tolerance_below", 1.0, -1e-7, 0.0},
        {"lower_right", 0.6, -0.8, kTwoPi - std::acos(0.6)},
        {"upper_left", -0.6, 0.8, kPi - std::asin(0.8)},
        {"lower_left_flat", -0.8, -0.6, kPi + std::asin(0.6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(CVector2D(c.x, c.y).Angle(), c.angle, 1e-12);
    }
}

TEST(CVector2DTest, AngularOrder)
{
    struct Case {
        const char* name;
        CVector2D a, b;
        int less, lessOrEqual;
    };
    const double s = std::sqrt(0.5);
    const CVector2D tiny(std::cos(0.00001), std::sin(0.00001));
    const Case cases[] = {
        {"zero_before_north", {1, 0}, {0, 1}, 1, 1},
        {"south_not_before_north", {0, -1}, {0, 1}, 0, 0},
        {"self", {0, 1}, {0, 1}, 0, 1},
        {"self_near_zero_upper", tiny, tiny, 0, 1},
        {"near_zero_upper_before_later", tiny, {std::cos(0.0002), std::sin(0.0002)}, 1, 1},
        {"near_half_turn_lower_before_later", {std::cos(kPi + 0.0001), std::sin(kPi + 0.0001)},
         {std::cos(kPi + 0.0003), std::sin(kPi + 0.0003)}, 1, 1},
        {"near_half_turn_lower_after_earlier", {std::cos(kPi + 0.0003), std::sin(kPi + 0.0003)},
         {std::cos(kPi + 0.0001), std::sin(kPi + 0.0001)}, 0, 0},
        {"west_before_east", {-1, 0}, {1, 0}, 1, 1},
        {"east_after_west", {1, 0}, {-1, 0}, 0, 0},
        {"lower_right_before_east", {s, -s}, {1, 0}, 1, 1},
        {"north_before_west", {0, 1}, {-1, 0}, 1, 1},
        {"upper_never_before_or_at_east", {0, 1}, {1, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.IsLess(c.b), c.less);
        EXPECT_EQ(c.a.IsLessOrEqual(c.b), c.lessOrEqual);
        EXPECT_EQ(c.a.IsGreater(c.b), 1 - c.lessOrEqual);
        EXPECT_EQ(c.a.IsGreaterOrEqual(c.b), 1 - c.less);
    }
}

TEST(CVector2DTest, RotationsAndHalfAngles)
{
    const CVector2D d(0.6, 0.8);
    const CVector2D self = d.Relative(d);
    EXPECT_NEAR(self.x, 1.0, 1e-15);
    EXPECT_NEAR(self.y, 0.0, 1e-15);
    const CVector2D r(std::cos(1.1), std::sin(1.1));
    const CVector2D back = d.Rotated(r).Relative(r);
    EXPECT_EQ(back.IsEqual(d), 1);
    CVector2D inPlace = d;
    inPlace.Rotate(r);
    EXPECT_EQ(inPlace.IsEqual(d.Rotated(r)), 1);
    inPlace.Unrotate(r);
    EXPECT_EQ(inPlace.IsEqual(d), 1);

    const CVector2D halfWest = CVector2D(-1.0, 0.0).HalfAngle();
    EXPECT_NEAR(halfWest.x, 0.0, 1e-12);
    EXPECT_NEAR(halfWest.y, 1.0, 1e-12);
    const CVector2D halfSouth = CVector2D(0.0, -1.0).HalfAngle();
    EXPECT_NEAR(halfSouth.x, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(halfSouth.y, std::sqrt(0.5), 1e-12);
}

TEST(CVector2DTest, FromTwoVectors)
{
    const CVector2D quarter(CPoint2D(2.0, 0.0), CPoint2D(0.0, 3.0));
    EXPECT_NEAR(quarter.x, 0.0, 1e-15);
    EXPECT_NEAR(quarter.y, 1.0, 1e-15);
    const CVector2D unsigned3d(CPoint3D(1, 0, 0), CPoint3D(0, -1, 0));
    EXPECT_NEAR(unsigned3d.y, 1.0, 1e-15);
    const CVector2D signed3d(CPoint3D(1, 0, 0), CPoint3D(0, -1, 0), CPoint3D(0, 0, 1));
    EXPECT_NEAR(signed3d.y, -1.0, 1e-15);
}

TEST(CPoint3DTest, CrossAndExactCompare)
{
    const CPoint3D c = CPoint3D(1, 0, 0).Cross(CPoint3D(0, 1, 0));
    EXPECT_TRUE(c == CPoint3D(0, 0, 1));
    EXPECT_TRUE(CPoint3D(0, 0, 1e-300) != CPoint3D(0, 0, 0));
    EXPECT_TRUE(CPoint3D().Normalized().IsZero());
}

TEST(GeometryToleranceTest, ScopeRestores)
{
    {
        CGeometryToleranceScope raised(g_geometryTolerance * 100.0);
        EXPECT_DOUBLE_EQ(g_geometryTolerance, 1e-4);
    }
    EXPECT_DOUBLE_EQ(g_geometryTolerance, kDefaultGeometryTolerance);
}

} // namespace
