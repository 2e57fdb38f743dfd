// Tests of the plane object: projection and distance, side tests, the
// operations a plane does not offer, its interface chain and lifetime.
#include "objectmodel/plane_object.h"

#include <gtest/gtest.h>

#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::Sentinel;
using entity_test::V;

TEST(PlaneObject, ProjectsAndMeasuresDistance)
{
    struct Case {
        const char* name;
        CVector3 origin;
        CVector3 normal;
        CVector3 point;
        CVector3 foot;
        double distance;
    };
    const Case kCases[] = {
        {"default_above", V(0, 0, 0), V(0, 0, 1), V(3, 4, 5), V(3, 4, 0), 5.0},
        {"default_below", V(0, 0, 0), V(0, 0, 1), V(1, 1, -2), V(1, 1, 0), 2.0},
        {"long_normal", V(0, 0, 0), V(0, 0, 2), V(3, 4, 5), V(3, 4, 0), 5.0},
        {"reversed_normal", V(0, 0, 0), V(0, 0, -3), V(1, 1, -2), V(1, 1, 0), 2.0},
        {"tilted_shifted", V(1, 1, 1), V(1, 1, 0), V(3, 3, 0), V(1, 1, 0), 2.0 * std::sqrt(2.0)},
        {"point_on_plane", V(0, 0, 7), V(0, 0, 1), V(-2, 5, 7), V(-2, 5, 7), 0.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPlaneObject plane(c.origin, c.normal);
        CVector3 point = c.point;
        CVector3 foot;
        CReal distance(-1.0);
        ASSERT_EQ(plane.ProjectPoint(&point, &foot, 0), S_OK);
        ASSERT_EQ(plane.Distance(&point, &distance, 0), S_OK);
        EXPECT_TRUE(Near(foot, c.foot));
        EXPECT_NEAR(distance.GetValue(), c.distance, entity_test::kExpectTolerance);
    }
}

TEST(PlaneObject, ZeroNormalFailsWithoutWriting)
{
    CPlaneObject plane(V(1, 2, 3), V(0, 0, 0));
    CVector3 point = V(4, 5, 6);
    CVector3 foot = Sentinel();
    CReal distance(-1.0);
    EXPECT_EQ(plane.ProjectPoint(&point, &foot, 0), E_FAIL);
    EXPECT_EQ(plane.Distance(&point, &distance, 0), E_FAIL);
    EXPECT_TRUE(Near(foot, Sentinel()));
    EXPECT_DOUBLE_EQ(distance.GetValue(), -1.0);
}

TEST(PlaneObject, DefaultsAndAccessors)
{
    CPlaneObject plane;
    CVector3 origin = Sentinel();
    CVector3 normal = Sentinel();
    ASSERT_EQ(plane.GetOrigin(&origin), S_OK);
    ASSERT_EQ(plane.GetNormal(&normal), S_OK);
    EXPECT_TRUE(Near(origin, V(0, 0, 0)));
    EXPECT_TRUE(Near(normal, V(0, 0, 1)));

    CVector3 newOrigin = V(1, 2, 3);
    CVector3 newNormal = V(0, 2, 0);
    ASSERT_EQ(plane.SetOrigin(&newOrigin), S_OK);
    ASSERT_EQ(plane.SetNormal(&newNormal), S_OK);
    // A copy made through IPlane reads the same origin and normal.
    const CPlaneObject copy(static_cast<IPlane*>(&plane));
    EXPECT_TRUE(Near(copy.GetOriginValue(), newOrigin));
    EXPECT_TRUE(Near(copy.GetNormalValue(), newNormal));
}

TEST(PlaneObject, CopyFromAnotherKindKeepsDefaults)
{
    ComPtr<entity_test::CForeignEntity> foreign = ComPtr<entity_test::CForeignEntity>::Share(
        new entity_test::CForeignEntity());
    // Not a plane: its class ids say so, and it is never read as one.
    const CPlaneObject plane(reinterpret_cast<IPlane*>(foreign.Get()));
    EXPECT_TRUE(Near(plane.GetOriginValue(), V(0, 0, 0)));
    EXPECT_TRUE(Near(plane.GetNormalValue(), V(0, 0, 1)));
}

TEST(PlaneObject, ClassIds)
{
    CPlaneObject plane;
    CLSID factory = GUID_NULL;
    IID iid = GUID_NULL;
    ASSERT_EQ(plane.GetClassIds(&factory, &iid), S_OK);
    EXPECT_EQ(factory, CLSID_HostObjectFactory);
    EXPECT_EQ(iid, IID_IPlaneEx);
}

TEST(PlaneObject, OperationsNotOfferedTouchNothing)
{
    CPlaneObject plane;
    entity_test::ExpectNotOfferedOperations(plane, {});

    IPolylineSet* approximation = reinterpret_cast<IPolylineSet*>(0x1);
    EXPECT_EQ(plane.GetApproximation(0.003, &approximation, 1), E_NOTIMPL);
    EXPECT_EQ(approximation, reinterpret_cast<IPolylineSet*>(0x1));
    IPlane* parts[2] = {nullptr, nullptr};
    EXPECT_EQ(plane.GetParts(parts), E_NOTIMPL);
    EXPECT_EQ(parts[0], nullptr);
    // The part count is cleared, so a caller that reads it sees no group.
    int32_t count = 5;
    EXPECT_EQ(plane.GetPartCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 0);
}

TEST(PlaneObject, QueryInterfaceAnswersItsChain)
{
    ComPtr<CPlaneObject> plane = ComPtr<CPlaneObject>::Share(new CPlaneObject());
    entity_test::ExpectQueryInterfaceChain(
        *plane.Get(), {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_IPlane, &IID_IPlaneEx});
}

TEST(PlaneObject, SideTestsOfAPlaneObject)
{
    const CPlaneObject plane(V(0, 0, 0), V(0, 0, 2));
    struct Case {
        const char* name;
        double z;
        bool front, behind, frontOrOn, behindOrOn, on, off;
    };
    // d = normal . (P - origin) = 2z, compared with 1e-6.
    const Case kCases[] = {
        {"clearly_in_front", 1.0, true, false, true, false, false, true},
        {"just_in_front", 6e-7, true, false, true, false, false, true},
        {"on_within_tolerance", 1e-7, false, false, true, true, true, false},
        {"just_behind", -6e-7, false, true, false, true, false, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const CVector3 p = V(5, -3, c.z);
        EXPECT_EQ(IsInFrontOfPlane(p, plane), c.front);
        EXPECT_EQ(IsBehindPlane(p, plane), c.behind);
        EXPECT_EQ(IsInFrontOfOrOnPlane(p, plane), c.frontOrOn);
        EXPECT_EQ(IsBehindOrOnPlane(p, plane), c.behindOrOn);
        EXPECT_EQ(IsOnPlane(p, plane), c.on);
        EXPECT_EQ(IsOffPlane(p, plane), c.off);
    }
}

TEST(PlaneObject, InsidePlanesOfAPlaneObjectRegion)
{
    const CPlaneObject left(V(0, 0, 0), V(1, 0, 0));
    const CPlaneObject bottom(V(0, 0, 0), V(0, 1, 0));
    const CPlaneObject right(V(10, 0, 0), V(-1, 0, 0));
    const CPlaneObject top(V(0, 10, 0), V(0, -1, 0));
    EXPECT_TRUE(IsInsidePlanes(V(5, 5, 0), left, bottom, right, top));
    EXPECT_TRUE(IsInsidePlanes(V(0, 5, 0), left, bottom, right, top));
    EXPECT_FALSE(IsInsidePlanes(V(5, 10.001, 0), left, bottom, right, top));
    // The plane objects also serve CVector3's own four-plane test.
    EXPECT_FALSE(V(-1, 5, 0).IsInsidePlanes(left, bottom, right, top));
}

TEST(PlaneObject, CountedPlaneIsDestroyedByLastRelease)
{
    auto* plane = new CPlaneObject();
    EXPECT_EQ(plane->GetReferenceCount(), 0u);
    IPlaneEx* queried = nullptr;
    ASSERT_EQ(plane->QueryInterface(IID_IPlaneEx, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->AddRef(), 2u);
    EXPECT_EQ(queried->Release(), 1u);
    // The sanitizer build reports a leak if this Release does not destroy.
    EXPECT_EQ(queried->Release(), 0u);
}

TEST(PlaneObject, OwnerHeldPlaneSurvivesBorrowersRelease)
{
    CPlaneObject plane(V(1, 2, 3), V(0, 1, 0));
    plane.SetLifetime(Lifetime::OwnerHeld);
    IPlane* queried = nullptr;
    ASSERT_EQ(plane.QueryInterface(IID_IPlane, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_TRUE(Near(plane.GetOriginValue(), V(1, 2, 3)));
}

// Copies and assignments carry the geometry, never the count or lifetime.
TEST(PlaneObject, AssignmentKeepsCountAndLifetime)
{
    CPlaneObject held;
    held.SetLifetime(Lifetime::OwnerHeld);
    held.AddRef();
    held.Assign(CPlaneObject(V(4, 4, 4), V(1, 0, 0)));
    EXPECT_EQ(held.GetReferenceCount(), 1u);
    EXPECT_TRUE(Near(held.GetOriginValue(), V(4, 4, 4)));
    EXPECT_EQ(held.Release(), 0u);
    EXPECT_EQ(held.Release(), 0u);
}

}  // namespace
