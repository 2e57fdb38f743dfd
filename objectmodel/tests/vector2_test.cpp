// CVector2: angle vectors, the angle in radians, angle arithmetic and the
// (non-transitive) order of angles.
#include <gtest/gtest.h>

#include <cmath>

#include "objectmodel/point2.h"
#include "objectmodel/vector2.h"
#include "objectmodel/vector3.h"

namespace {

constexpr double kPi = 3.141592653589793;

void ExpectAngleVectorNear(const CVector2& actual, double angleRad)
{
    EXPECT_NEAR(actual.x.GetValue(), std::cos(angleRad), 1e-12);
    EXPECT_NEAR(actual.y.GetValue(), std::sin(angleRad), 1e-12);
}

struct AngleCase {
    const char* name;
    double x;
    double y;
    double expected;
};

TEST(Vector2, AngleInRadians)
{
    const AngleCase cases[] = {
        {"positive_y", 0.0, 1.0, kPi / 2},
        {"negative_y", 0.0, -1.0, 2 * kPi - kPi / 2},
        {"negative_x", -1.0, 0.0, kPi},
        {"positive_x", 1.0, 0.0, 0.0},
        {"just_below_x_axis_is_zero", 1.0, -1e-7, 0.0},
        {"just_above_negative_x_axis_is_pi", -1.0, 9e-7, kPi},
        {"below_by_0.3", std::cos(0.3), -std::sin(0.3), 2 * kPi - 0.3},
        {"first_quadrant_near_x", std::cos(0.3), std::sin(0.3), 0.3},
        {"second_quadrant_near_x", std::cos(2.9), std::sin(2.9), 2.9},
        {"third_quadrant_near_x", std::cos(3.4), std::sin(3.4), 3.4},
        {"second_quadrant_near_y", std::cos(2.0), std::sin(2.0), 2.0},
        {"fourth_quadrant_near_y", std::cos(5.0), std::sin(5.0), 5.0},
    };
    for (const AngleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(CVector2(c.x, c.y).Angle().GetValue(), c.expected, 1e-12);
    }
    EXPECT_NEAR(CVector2(0.0, 1.0).AngleDegrees().GetValue(), 90.0, 1e-12);
}

TEST(Vector2, AngleVectorFromRadians)
{
    CVector2 quarter(CReal(kPi / 2));
    EXPECT_NEAR(quarter.x.GetValue(), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(quarter.y.GetValue(), 1.0);
    CVector2 v;
    v.SetAngle(0.7);
    ExpectAngleVectorNear(v, 0.7);
    EXPECT_NEAR(Tan(v).GetValue(), std::tan(0.7), 1e-12);
    EXPECT_NEAR(v.Cot().GetValue(), 1.0 / std::tan(0.7), 1e-12);
    EXPECT_DOUBLE_EQ(Cos(v).GetValue(), v.x.GetValue());
    EXPECT_DOUBLE_EQ(Sin(v).GetValue(), v.y.GetValue());
}

TEST(Vector2, AngleBetweenDirections)
{
    const CVector3 u(1.0, 0.0, 0.0);
    const CVector3 w(0.0, 2.0, 0.0);
    CVector2 unsignedAngle(u, w);
    EXPECT_NEAR(unsignedAngle.x.GetValue(), 0.0, 1e-15);
    EXPECT_NEAR(unsignedAngle.y.GetValue(), 1.0, 1e-15);
    CVector2 up(u, w, CVector3(0.0, 0.0, 1.0));
    EXPECT_NEAR(up.y.GetValue(), 1.0, 1e-15);
    CVector2 down(u, w, CVector3(0.0, 0.0, -1.0));
    EXPECT_NEAR(down.y.GetValue(), -1.0, 1e-15);

    // Through interface pointers, and the sine is never negative without a
    // reference.
    CVector3 a(0.0, 3.0, 0.0), b(1.0, 0.0, 0.0);
    CVector2 fromInterfaces(static_cast<IVector3*>(&a), static_cast<IVector3*>(&b));
    EXPECT_NEAR(fromInterfaces.y.GetValue(), 1.0, 1e-15);
}

TEST(Vector2, AngleArithmetic)
{
    CVector2 a(CReal(0.2));
    CVector2 b(CReal(0.3));
    ExpectAngleVectorNear(a * b, 0.5);
    ExpectAngleVectorNear(a / b, -0.1);
    ExpectAngleVectorNear(-a, -0.2);
    CVector2 c = a;
    c *= b;
    ExpectAngleVectorNear(c, 0.5);
    c /= b;
    ExpectAngleVectorNear(c, 0.2);

    ExpectAngleVectorNear(CVector2(0.0, 1.0) * CReal(2.0), kPi);
    ExpectAngleVectorNear(CReal(2.0) * CVector2(0.0, 1.0), kPi);
    ExpectAngleVectorNear(CVector2(0.0, 1.0) / CReal(2.0), kPi / 4);
    CVector2 d(0.0, 1.0);
    d *= CReal(3.0);
    ExpectAngleVectorNear(d, 3 * kPi / 2);
    EXPECT_EQ((CVector2(CReal(0.5, 3), CReal(0.5, 4)) * b).x.GetFlag(), 0);
}

struct OrderCase {
    const char* name;
    CVector2 a;
    CVector2 b;
    bool less;
    bool lessOrEqual;
};

TEST(Vector2, OrderOfAngles)
{
    const OrderCase cases[] = {
        {"upper_smaller_angle", {0.6, 0.8}, {0.0, 1.0}, true, true},
        {"upper_larger_angle", {0.0, 1.0}, {0.6, 0.8}, false, false},
        {"x_axis_below_upper", {1.0, 0.0}, {0.0, 1.0}, true, true},
        {"upper_below_lower", {0.0, 1.0}, {0.0, -1.0}, true, true},
        {"same_upper", {0.6, 0.8}, {0.6, 0.8}, false, true},
        {"upper_within_tolerance", {0.6, 0.8}, {0.6000005, 0.8}, false, true},
        {"lower_by_cosine", {-1.0, 0.0}, {0.0, -1.0}, true, true},
        {"lower_same", {0.0, -1.0}, {0.0, -1.0}, false, true},
        {"upper_against_positive_x", {0.6, 0.8}, {1.0, 0.0}, false, false},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a < c.b, c.less);
        EXPECT_EQ(c.a <= c.b, c.lessOrEqual);
        EXPECT_EQ(c.a > c.b, !c.lessOrEqual);
        EXPECT_EQ(c.a >= c.b, !c.less);
    }
}

TEST(Vector2, OrderIsNotTransitiveNearThePositiveXAxis)
{
    // The documented cycle: this is why the order must never drive a sort.
    const CVector2 east(1.0, 0.0), north(0.0, 1.0), south(0.0, -1.0);
    EXPECT_TRUE(east < north);
    EXPECT_TRUE(north < south);
    EXPECT_TRUE(south < east);
}

TEST(Vector2, InterfaceAndConversions)
{
    CReal x(0.25, 2), y(-0.5, 3);
    CVector2 v;
    ASSERT_EQ(v.Set(&x, &y), S_OK);
    auto copy = ComPtr<IVector2>::Adopt(new CVector2());
    ASSERT_EQ(copy->CopyFrom(&v), S_OK);
    CVector2 back(copy.Get());
    copy.Reset();
    EXPECT_EQ(back.x.GetFlag(), 2);
    EXPECT_EQ(back.y.GetFlag(), 3);
    EXPECT_DOUBLE_EQ(back.GetY().GetValue(), -0.5);
    CReal gotX;
    ASSERT_EQ(back.GetX(&gotX), S_OK);
    EXPECT_DOUBLE_EQ(gotX.GetValue(), 0.25);
    EXPECT_EQ(back.GetX(nullptr), E_POINTER);

    CPoint2 point = back.ToPoint2();
    EXPECT_DOUBLE_EQ(point.x.GetValue(), 0.25);
    CVector2 fromPoint(static_cast<IPoint2*>(&point));
    EXPECT_TRUE(fromPoint == back);
    EXPECT_TRUE(CVector2(point) != CVector2(0.25, -0.4999));
}

} // namespace
