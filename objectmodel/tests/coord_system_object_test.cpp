// Tests of the coordinate system object: the axis setters keep the frame
// orthonormal and right-handed, the origin never moves, copying, the XY
// plane, and the entity operations a frame does not offer.
#include "objectmodel/coord_system_object.h"

#include <gtest/gtest.h>

#include <random>

#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::V;

// Orthonormality after a long run of turns: rounding may add up, but stays
// far below the model tolerance.
constexpr double kFrameTolerance = 1e-9;

::testing::AssertionResult IsOrthonormalRightHanded(const CCoordSystemObject& frame)
{
    const CVector3& x = frame.GetXAxisValue();
    const CVector3& y = frame.GetYAxisValue();
    const CVector3& z = frame.GetZAxisValue();
    const double values[] = {x.Length().GetValue() - 1.0, y.Length().GetValue() - 1.0, z.Length().GetValue() - 1.0,
                             x.Dot(y).GetValue(),          y.Dot(z).GetValue(),          z.Dot(x).GetValue()};
    for (double value : values) {
        if (std::abs(value) > kFrameTolerance) {
            return ::testing::AssertionFailure() << "not orthonormal: X " << entity_test::Text(x) << " Y "
                                                 << entity_test::Text(y) << " Z " << entity_test::Text(z);
        }
    }
    if (!Near(x.Cross(y), z, kFrameTolerance)) {
        return ::testing::AssertionFailure() << "not right-handed";
    }
    return ::testing::AssertionSuccess();
}

enum class Axis { X, Y, Z };

HRESULT SetAxis(CCoordSystemObject& frame, Axis axis, CVector3 value)
{
    switch (axis) {
    case Axis::X:
        return frame.SetXAxis(&value);
    case Axis::Y:
        return frame.SetYAxis(&value);
    case Axis::Z:
        return frame.SetZAxis(&value);
    }
    return E_FAIL;
}

TEST(CoordSystemObject, NewFrameIsTheWorldFrame)
{
    CCoordSystemObject frame;
    CVector3 origin = entity_test::Sentinel();
    CVector3 x;
    CVector3 y;
    CVector3 z;
    ASSERT_EQ(frame.GetOrigin(&origin), S_OK);
    ASSERT_EQ(frame.GetXAxis(&x), S_OK);
    ASSERT_EQ(frame.GetYAxis(&y), S_OK);
    ASSERT_EQ(frame.GetZAxis(&z), S_OK);
    EXPECT_TRUE(Near(origin, V(0, 0, 0)));
    EXPECT_TRUE(Near(x, V(1, 0, 0)));
    EXPECT_TRUE(Near(y, V(0, 1, 0)));
    EXPECT_TRUE(Near(z, V(0, 0, 1)));
}

TEST(CoordSystemObject, SettingAnAxisTurnsTheFrame)
{
    const double r = 1.0 / std::sqrt(2.0);
    struct Case {
        const char* name;
        Axis axis;
        CVector3 value;
        CVector3 x, y, z;
    };
    const Case kCases[] = {
        {"z_same_direction", Axis::Z, V(0, 0, 2), V(1, 0, 0), V(0, 1, 0), V(0, 0, 1)},
        {"z_reversed", Axis::Z, V(0, 0, -1), V(1, 0, 0), V(0, -1, 0), V(0, 0, -1)},
        {"z_quarter_turn_about_y", Axis::Z, V(1, 0, 0), V(0, 0, -1), V(0, 1, 0), V(1, 0, 0)},
        {"z_eighth_turn_about_x", Axis::Z, V(0, -1, 1), V(1, 0, 0), V(0, r, r), V(0, -r, r)},
        {"x_reversed", Axis::X, V(-3, 0, 0), V(-1, 0, 0), V(0, -1, 0), V(0, 0, 1)},
        {"x_quarter_turn_about_z", Axis::X, V(0, 1, 0), V(0, 1, 0), V(-1, 0, 0), V(0, 0, 1)},
        {"y_reversed", Axis::Y, V(0, -1, 0), V(1, 0, 0), V(0, -1, 0), V(0, 0, -1)},
        {"y_quarter_turn_about_x", Axis::Y, V(0, 0, 1), V(1, 0, 0), V(0, 0, 1), V(0, -1, 0)},
        // Within the tolerance of the current axis: nothing changes.
        {"z_within_tolerance", Axis::Z, V(5e-7, 0, 1), V(1, 0, 0), V(0, 1, 0), V(0, 0, 1)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CCoordSystemObject frame;
        CVector3 origin = V(3, -2, 7);
        ASSERT_EQ(frame.SetOrigin(&origin), S_OK);
        ASSERT_EQ(SetAxis(frame, c.axis, c.value), S_OK);
        EXPECT_TRUE(Near(frame.GetXAxisValue(), c.x));
        EXPECT_TRUE(Near(frame.GetYAxisValue(), c.y));
        EXPECT_TRUE(Near(frame.GetZAxisValue(), c.z));
        EXPECT_TRUE(Near(frame.GetOriginValue(), origin));
        EXPECT_TRUE(IsOrthonormalRightHanded(frame));
    }
}

TEST(CoordSystemObject, RandomTurnsKeepTheFrameOrthonormal)
{
    constexpr unsigned kSeed = 20240611;
    SCOPED_TRACE(::testing::Message() << "seed " << kSeed);
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    std::uniform_int_distribution<int> axisPick(0, 2);
    CCoordSystemObject frame;
    for (int step = 0; step < 500; ++step) {
        SCOPED_TRACE(step);
        const CVector3 value = V(coordinate(random), coordinate(random), coordinate(random));
        const Axis axis = static_cast<Axis>(axisPick(random));
        ASSERT_EQ(SetAxis(frame, axis, value), S_OK);
        const CVector3& set = axis == Axis::X   ? frame.GetXAxisValue()
                              : axis == Axis::Y ? frame.GetYAxisValue()
                                                : frame.GetZAxisValue();
        ASSERT_TRUE(Near(set, value.Normalized(), kFrameTolerance));
        ASSERT_TRUE(IsOrthonormalRightHanded(frame));
    }
    EXPECT_TRUE(Near(frame.GetOriginValue(), V(0, 0, 0)));
}

TEST(CoordSystemObject, ZeroAxisIsRefused)
{
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        CCoordSystemObject frame;
        ASSERT_EQ(SetAxis(frame, Axis::Z, V(1, 1, 1)), S_OK);
        const CCoordSystemObject before = frame;
        EXPECT_EQ(SetAxis(frame, axis, V(0, 0, 0)), E_INVALIDARG);
        EXPECT_TRUE(Near(frame.GetXAxisValue(), before.GetXAxisValue(), 0.0));
        EXPECT_TRUE(Near(frame.GetYAxisValue(), before.GetYAxisValue(), 0.0));
        EXPECT_TRUE(Near(frame.GetZAxisValue(), before.GetZAxisValue(), 0.0));
    }
}

TEST(CoordSystemObject, CopyFromAnotherFrame)
{
    CCoordSystemObject source;
    CVector3 origin = V(1, 2, 3);
    ASSERT_EQ(source.SetOrigin(&origin), S_OK);
    ASSERT_EQ(SetAxis(source, Axis::X, V(0, 1, 1)), S_OK);
    CCoordSystemObject frame;
    ASSERT_EQ(frame.CopyFrom(&source), S_OK);
    EXPECT_TRUE(Near(frame.GetOriginValue(), origin));
    EXPECT_TRUE(Near(frame.GetXAxisValue(), source.GetXAxisValue()));
    EXPECT_TRUE(Near(frame.GetYAxisValue(), source.GetYAxisValue()));
    EXPECT_TRUE(Near(frame.GetZAxisValue(), source.GetZAxisValue()));
    ASSERT_EQ(frame.CopyFrom(&frame), S_OK);
    EXPECT_TRUE(Near(frame.GetXAxisValue(), source.GetXAxisValue()));
}

TEST(CoordSystemObject, XYPlane)
{
    CCoordSystemObject frame;
    CPlaneObject plane = frame.GetXYPlane();
    EXPECT_TRUE(Near(plane.GetOriginValue(), V(0, 0, 0)));
    EXPECT_TRUE(Near(plane.GetNormalValue(), V(0, 0, 1)));

    CVector3 origin = V(0, 0, 5);
    ASSERT_EQ(frame.SetOrigin(&origin), S_OK);
    ASSERT_EQ(SetAxis(frame, Axis::Z, V(0, 1, 0)), S_OK);
    plane = frame.GetXYPlane();
    EXPECT_TRUE(Near(plane.GetOriginValue(), origin));
    EXPECT_TRUE(Near(plane.GetNormalValue(), V(0, 1, 0)));
}

TEST(CoordSystemObject, EntityOperationsAreNotOffered)
{
    CCoordSystemObject frame;
    entity_test::ExpectNotOfferedOperations(frame, {});
    CVector3 point = V(1, 2, 3);
    CVector3 foot = entity_test::Sentinel();
    CReal distance(-1.0);
    EXPECT_EQ(frame.ProjectPoint(&point, &foot, 0), E_NOTIMPL);
    EXPECT_EQ(frame.Distance(&point, &distance, 0), E_NOTIMPL);
    EXPECT_TRUE(Near(foot, entity_test::Sentinel()));
    EXPECT_DOUBLE_EQ(distance.GetValue(), -1.0);

    CLSID factory = GUID_NULL;
    IID iid = GUID_NULL;
    ASSERT_EQ(frame.GetClassIds(&factory, &iid), S_OK);
    EXPECT_EQ(factory, CLSID_HostObjectFactory);
    EXPECT_EQ(iid, IID_ICoordinateSystem);
}

TEST(CoordSystemObject, QueryInterfaceAnswersItsChain)
{
    ComPtr<CCoordSystemObject> frame = ComPtr<CCoordSystemObject>::Share(new CCoordSystemObject());
    entity_test::ExpectQueryInterfaceChain(
        *frame.Get(), {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_ICoordinateSystem});
}

// The document keeps its frame as a member and lends it out.
TEST(CoordSystemObject, OwnerHeldFrameSurvivesBorrowersRelease)
{
    CCoordSystemObject frame;
    frame.SetLifetime(Lifetime::OwnerHeld);
    ICoordinateSystem* queried = nullptr;
    ASSERT_EQ(frame.QueryInterface(IID_ICoordinateSystem, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_TRUE(IsOrthonormalRightHanded(frame));
}

}  // namespace
