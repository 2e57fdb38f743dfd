// CVector3: algebra, normalisation, flags, transformation, rotation and the
// plane side tests at the edges of the tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "objectmodel/matrix4.h"
#include "objectmodel/vector2.h"
#include "objectmodel/vector3.h"

namespace {

void ExpectVectorNear(const CVector3& actual, double x, double y, double z, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.x.GetValue(), x, tolerance);
    EXPECT_NEAR(actual.y.GetValue(), y, tolerance);
    EXPECT_NEAR(actual.z.GetValue(), z, tolerance);
}

TEST(Vector3, FieldsAreStoredZYX)
{
    CVector3 v(1.0, 2.0, 3.0);
    const char* base = reinterpret_cast<const char*>(&v);
    EXPECT_LT(reinterpret_cast<const char*>(&v.z) - base, reinterpret_cast<const char*>(&v.y) - base);
    EXPECT_LT(reinterpret_cast<const char*>(&v.y) - base, reinterpret_cast<const char*>(&v.x) - base);
    EXPECT_DOUBLE_EQ(v.x.GetValue(), 1.0);
    EXPECT_DOUBLE_EQ(v.z.GetValue(), 3.0);
}

struct NormalizeCase {
    const char* name;
    CVector3 input;
    CVector3 expected;
};

TEST(Vector3, Normalize)
{
    const NormalizeCase cases[] = {
        {"zero_stays_zero", {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}},
        {"three_four", {3.0, 0.0, 4.0}, {0.6, 0.0, 0.8}},
        // Squared length 1.00000001 is within the tolerance of 1: unchanged.
        {"nearly_unit_unchanged", {1.0, 1e-4, 0.0}, {1.0, 1e-4, 0.0}},
        {"tiny_is_scaled_up", {0.0, 1e-5, 0.0}, {0.0, 1.0, 0.0}},
    };
    for (const NormalizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CVector3 v = c.input.Normalized();
        ExpectVectorNear(v, c.expected.x.GetValue(), c.expected.y.GetValue(), c.expected.z.GetValue(), 0.0);
    }
}

TEST(Vector3, DotCrossLength)
{
    ExpectVectorNear(CVector3(1.0, 0.0, 0.0).Cross(CVector3(0.0, 1.0, 0.0)), 0.0, 0.0, 1.0, 0.0);
    ExpectVectorNear(CVector3(0.0, 1.0, 0.0).Cross(CVector3(1.0, 0.0, 0.0)), 0.0, 0.0, -1.0, 0.0);
    EXPECT_DOUBLE_EQ(CVector3(1.0, 2.0, 3.0).Dot(CVector3(4.0, 5.0, 6.0)).GetValue(), 32.0);
    EXPECT_DOUBLE_EQ(CVector3(2.0, 3.0, 6.0).Length().GetValue(), 7.0);
}

TEST(Vector3, InterfaceCarriesFlagsAndArithmeticClearsThem)
{
    CReal x(1.0, 1), y(2.0, 2), z(3.0, 3);
    CVector3 v;
    ASSERT_EQ(v.Set(&x, &y, &z), S_OK);
    CReal gx, gy, gz;
    ASSERT_EQ(v.Get(&gx, &gy, &gz), S_OK);
    EXPECT_EQ(gx.GetFlag(), 1);
    EXPECT_EQ(gy.GetFlag(), 2);
    EXPECT_EQ(gz.GetFlag(), 3);
    EXPECT_DOUBLE_EQ(gz.GetValue(), 3.0);

    CReal single;
    ASSERT_EQ(v.GetY(&single), S_OK);
    EXPECT_EQ(single.GetFlag(), 2);
    CReal newZ(9.0, 8);
    ASSERT_EQ(v.SetZ(&newZ), S_OK);
    EXPECT_EQ(v.z.GetFlag(), 8);

    CVector3 sum = v + v;
    EXPECT_EQ(sum.x.GetFlag(), 0);
    EXPECT_EQ(sum.y.GetFlag(), 0);
    EXPECT_EQ(sum.z.GetFlag(), 0);
    v += CVector3(1.0, 1.0, 1.0);
    EXPECT_EQ(v.x.GetFlag(), 1); // in place keeps the flags
    EXPECT_DOUBLE_EQ(v.x.GetValue(), 2.0);

    // A heap value object goes when its one owner releases it.
    auto copy = ComPtr<IVector3>::Adopt(new CVector3());
    ASSERT_EQ(copy->CopyFrom(&v), S_OK);
    CVector3 back(copy.Get());
    EXPECT_EQ(back.z.GetFlag(), 8);
    EXPECT_DOUBLE_EQ(back.z.GetValue(), 10.0);
    copy.Reset();

    EXPECT_EQ(v.Set(&x, nullptr, &z), E_POINTER);
    EXPECT_DOUBLE_EQ(v.x.GetValue(), 2.0);
}

TEST(Vector3, ComponentRecord)
{
    CVector3 v(CReal(1.0, 4), CReal(2.0, 5), CReal(3.0, 6));
    Vector3Components c = v.GetComponents();
    EXPECT_DOUBLE_EQ(c.x.value, 1.0);
    EXPECT_EQ(c.x.flag, 4);
    EXPECT_DOUBLE_EQ(c.z.value, 3.0);
    EXPECT_EQ(c.z.flag, 6);
    CVector3 w(c);
    EXPECT_EQ(w.y.GetFlag(), 5);
    CVector3 assigned;
    assigned = c;
    EXPECT_EQ(assigned.z.GetFlag(), 6);
}

TEST(Vector3, ToIntPointTruncatesTowardZeroAndClamps)
{
    POINT p = CVector3(2.9, -2.9, 5.0).ToIntPoint();
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, -2);
    POINT far = CVector3(1e12, -1e12, 0.0).ToIntPoint();
    EXPECT_EQ(far.x, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(far.y, std::numeric_limits<int32_t>::min());
    POINT nan = CVector3(std::nan(""), 1.0, 0.0).ToIntPoint();
    EXPECT_EQ(nan.x, 0);
}

TEST(Vector3, TolerantEqualityAndZero)
{
    EXPECT_TRUE(CVector3(1.0, 2.0, 3.0) == CVector3(1.0000009, 2.0, 3.0));
    EXPECT_TRUE(CVector3(1.0, 2.0, 3.0) != CVector3(1.0, 2.0, 3.0000011));
    EXPECT_TRUE(CVector3(9e-7, -9e-7, 0.0).IsZero());
    EXPECT_FALSE(CVector3(0.0, 0.0, 1e-6).IsZero());
}

TEST(Vector3, TransformUsesRowThreeAsTranslation)
{
    CMatrix4 m;
    m(3, 0) = 10.0;
    m(3, 1) = 20.0;
    m(3, 2) = 30.0;
    m(0, 3) = 99.0; // column 3 is not used
    ExpectVectorNear(CVector3(1.0, 2.0, 3.0).Transform(m), 11.0, 22.0, 33.0, 0.0);
    CVector3 v(1.0, 2.0, 3.0);
    v.TransformInPlace(m);
    ExpectVectorNear(v, 11.0, 22.0, 33.0, 0.0);
}

TEST(Vector3, RotateTurnsClockwiseSeenFromTheAxisTip)
{
    CVector3 p(1.0, 0.0, 0.0);
    CVector3 axisPoint;
    CVector3 axisDirection(0.0, 0.0, 1.0);
    CVector2 quarter(0.0, 1.0);
    ASSERT_EQ(p.Rotate(&axisPoint, &axisDirection, &quarter), S_OK);
    ExpectVectorNear(p, 0.0, -1.0, 0.0);

    // About an axis through (1, 1, 0): (2, 1, 5) turns to (1, 0, 5).
    CVector3 q(2.0, 1.0, 5.0);
    q.RotateAbout(CVector3(1.0, 1.0, 0.0), CVector3(0.0, 0.0, 1.0), CVector2(0.0, 1.0));
    ExpectVectorNear(q, 1.0, 0.0, 5.0);
    EXPECT_EQ(q.Rotate(nullptr, &axisDirection, &quarter), E_POINTER);
}

TEST(Vector3, MirrorAndProject)
{
    CVector3 p(1.0, 2.0, 3.0);
    CVector3 planePoint(0.0, 0.0, 1.0);
    CVector3 planeNormal(0.0, 0.0, 1.0);
    ASSERT_EQ(p.Mirror(&planePoint, &planeNormal), S_OK);
    ExpectVectorNear(p, 1.0, 2.0, -1.0);

    ExpectVectorNear(CVector3(1.0, 2.0, 3.0).ProjectOntoPlane(CVector3(0.0, 0.0, 2.0)), 1.0, 2.0, 0.0);
    ExpectVectorNear(CVector3(1.0, 1.0, 0.0).ProjectOntoPlane(CVector3(1.0, 0.0, 0.0)), 0.0, 1.0, 0.0);
}

struct PlaneSideCase {
    const char* name;
    CVector3 point;
    bool inFront, behind, inFrontOrOn, behindOrOn, on, off;
};

TEST(Vector3, PlaneSideTests)
{
    // Origin (0, 0, 0), normal (0, 0, 2): d is twice the height.
    const CVector3 origin;
    const CVector3 normal(0.0, 0.0, 2.0);
    const PlaneSideCase cases[] = {
        {"d_1.2e-6_in_front", {0.0, 0.0, 6e-7}, true, false, true, false, false, true},
        {"d_2e-7_on", {0.0, 0.0, 1e-7}, false, false, true, true, true, false},
        {"d_-2e-7_on", {0.0, 0.0, -1e-7}, false, false, true, true, true, false},
        {"d_-1.2e-6_behind", {0.0, 0.0, -6e-7}, false, true, false, true, false, true},
        {"far_in_front", {5.0, -3.0, 1.0}, true, false, true, false, false, true},
    };
    for (const PlaneSideCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.point.IsInFrontOfPlane(origin, normal), c.inFront);
        EXPECT_EQ(c.point.IsBehindPlane(origin, normal), c.behind);
        EXPECT_EQ(c.point.IsInFrontOfOrOnPlane(origin, normal), c.inFrontOrOn);
        EXPECT_EQ(c.point.IsBehindOrOnPlane(origin, normal), c.behindOrOn);
        EXPECT_EQ(c.point.IsOnPlane(origin, normal), c.on);
        EXPECT_EQ(c.point.IsOffPlane(origin, normal), c.off);
    }
}

TEST(Vector3, IsInsidePlanesOfABox)
{
    // The four side planes of the square 0..1 x 0..1, normals pointing in.
    const CVector3 o0(0.0, 0.0, 0.0), n0(1.0, 0.0, 0.0);
    const CVector3 o1(1.0, 0.0, 0.0), n1(-1.0, 0.0, 0.0);
    const CVector3 o2(0.0, 0.0, 0.0), n2(0.0, 1.0, 0.0);
    const CVector3 o3(0.0, 1.0, 0.0), n3(0.0, -1.0, 0.0);
    auto inside = [&](const CVector3& p) { return p.IsInsidePlanes({o0, n0}, {o1, n1}, {o2, n2}, {o3, n3}); };
    EXPECT_TRUE(inside(CVector3(0.5, 0.5, 7.0)));
    EXPECT_TRUE(inside(CVector3(1.0000005, 0.0, 0.0))); // on the edge within tolerance
    EXPECT_FALSE(inside(CVector3(1.0000011, 0.5, 0.0)));
    EXPECT_FALSE(inside(CVector3(0.5, -0.1, 0.0)));
}

TEST(Vector3, HasCommonSign)
{
    EXPECT_TRUE(CVector3(1.0, -1.0, 0.0).HasCommonSign(CVector3(2.0, 5.0, 0.0)));
    EXPECT_FALSE(CVector3(5e-7, 1.0, 0.0).HasCommonSign(CVector3(1.0, -1.0, 0.0)));
    EXPECT_TRUE(CVector3(0.0, 0.0, -2.0).HasCommonSign(CVector3(3.0, 0.0, -1e-5)));
    EXPECT_FALSE(CVector3(0.0, 0.0, 0.0).HasCommonSign(CVector3(0.0, 0.0, 0.0)));
}

TEST(Vector3, AnyPerpendicular)
{
    ExpectVectorNear(CVector3(0.0, 0.0, 5.0).AnyPerpendicular(), 1.0, 0.0, 0.0);
    const double length = std::sqrt(6.0);
    ExpectVectorNear(CVector3(1.0, 1.0, 1.0).AnyPerpendicular(), 2.0 / length, -1.0 / length, -1.0 / length);
    for (const CVector3& v : {CVector3(3.0, -7.0, 0.5), CVector3(0.0, 1.0, 0.0), CVector3(-1e3, 2.0, 1e3)}) {
        CVector3 p = v.AnyPerpendicular();
        EXPECT_NEAR(p.Dot(v).GetValue(), 0.0, 1e-9);
        EXPECT_NEAR(p.Length().GetValue(), 1.0, 1e-6);
    }
}

} // namespace
