// Tests of the point object: hit tests on and near the side planes,
// projection and distance, the distance asked of a target, the operations
// it does not offer, its chain and lifetime.
#include "objectmodel/point_object.h"

#include <gtest/gtest.h>

#include "objectmodel/line_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::V;

TEST(PointObject, HitTestCountsTheSidesAsInside)
{
    // 0 <= x <= 10 and 0 <= y <= 10, passed left, bottom, right, top.
    CPlaneObject left(V(0, 0, 0), V(1, 0, 0));
    CPlaneObject bottom(V(0, 0, 0), V(0, 1, 0));
    CPlaneObject right(V(10, 0, 0), V(-1, 0, 0));
    CPlaneObject top(V(0, 10, 0), V(0, -1, 0));
    struct Case {
        const char* name;
        CVector3 position;
        bool hit;
    };
    const Case kCases[] = {
        {"inside", V(5, 5, 3), true},
        {"on_the_left_side", V(0, 5, 0), true},
        {"on_a_corner", V(10, 10, 0), true},
        {"1e-7_outside", V(-1e-7, 5, 0), true},
        {"1e-5_outside", V(-1e-5, 5, 0), false},
        {"beyond_the_top", V(5, 11, 0), false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPointObject point(c.position);
        for (uint32_t mode : {0u, 1u}) {
            BOOL hit = 7;
            ASSERT_EQ(point.HitTest(&left, &bottom, &right, &top, mode, &hit), S_OK);
            EXPECT_EQ(hit, c.hit ? TRUE : FALSE);
        }
    }
}

TEST(PointObject, ProjectionAndDistance)
{
    CPointObject point(CReal(4.0), CReal(6.0), CReal(3.0));
    CVector3 from = V(1, 2, 3);
    CVector3 foot;
    CReal distance(-1.0);
    ASSERT_EQ(point.ProjectPoint(&from, &foot, 0), S_OK);
    EXPECT_TRUE(Near(foot, V(4, 6, 3)));
    ASSERT_EQ(point.Distance(&from, &distance, 0), S_OK);
    EXPECT_NEAR(distance.GetValue(), 5.0, entity_test::kExpectTolerance);
}

// A target that records the word its Distance is asked with.
class CRecordingTarget : public CEntityOperationsNotOffered<IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Distance(IVector3* point, IReal* distance, uint32_t word) override
    {
        m_point = CVector3(point);
        m_word = word;
        CReal answer(42.0);
        distance->CopyFrom(&answer);
        return E_FAIL;
    }
    CVector3 m_point;
    uint32_t m_word = 0;
};

TEST(PointObject, GetDistanceToAsksTheTarget)
{
    CPointObject point(V(1, 2, 3));
    struct Case {
        const char* name;
        BOOL emphasised;
        uint32_t word;
    };
    const Case kCases[] = {{"emphasised", TRUE, 0x13}, {"other_non_zero", 5, 0x13}, {"plain", FALSE, 0x1F}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CRecordingTarget target;
        CReal distance;
        // The target's own failure is not passed on.
        EXPECT_EQ(point.GetDistanceTo(&target, &distance, c.emphasised), S_OK);
        EXPECT_EQ(target.m_word, c.word);
        EXPECT_TRUE(Near(target.m_point, V(1, 2, 3)));
        EXPECT_DOUBLE_EQ(distance.GetValue(), 42.0);
    }
}

TEST(PointObject, DistanceToThePickLine)
{
    CPointObject point(V(3, 4, 12));
    CLineObject pickLine(V(0, 0, 0), V(0, 0, -1));
    CReal distance;
    ASSERT_EQ(point.GetDistanceTo(&pickLine, &distance, TRUE), S_OK);
    EXPECT_NEAR(distance.GetValue(), 5.0, entity_test::kExpectTolerance);
}

TEST(PointObject, PositionAccessorsAndClassIds)
{
    CPointObject point;
    CVector3 position = V(7, 8, 9);
    ASSERT_EQ(point.SetPosition(&position), S_OK);
    CVector3 read;
    ASSERT_EQ(point.GetPosition(&read), S_OK);
    EXPECT_TRUE(Near(read, position));

    CLSID factory = GUID_NULL;
    IID iid = GUID_NULL;
    ASSERT_EQ(point.GetClassIds(&factory, &iid), S_OK);
    EXPECT_EQ(factory, CLSID_HostObjectFactory);
    EXPECT_EQ(iid, IID_IPoint3);
}

TEST(PointObject, OperationsNotOfferedTouchNothing)
{
    CPointObject point(V(1, 1, 1));
    entity_test::ExpectNotOfferedOperations(point, {.hitTest = true, .getDistanceTo = true, .getExtents = true});
}

TEST(PointObject, QueryInterfaceAnswersItsChain)
{
    ComPtr<CPointObject> point = ComPtr<CPointObject>::Share(new CPointObject());
    entity_test::ExpectQueryInterfaceChain(
        *point.Get(), {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_IPoint3});
}

TEST(PointObject, CountedPointIsDestroyedByLastRelease)
{
    auto* point = new CPointObject(V(1, 2, 3));
    EXPECT_EQ(point->GetReferenceCount(), 0u);
    IPoint3* queried = nullptr;
    ASSERT_EQ(point->QueryInterface(IID_IPoint3, reinterpret_cast<void**>(&queried)), S_OK);
    // The sanitizer build reports a leak if this Release does not destroy.
    EXPECT_EQ(queried->Release(), 0u);
}

}  // namespace
