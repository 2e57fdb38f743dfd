// Tests of the line object: intersections with lines and planes under the
// model tolerance, nearest points, hit tests and tessellation against a
// region's side planes, projection, the ILine stubs, its interface chain
// and lifetime.
#include "objectmodel/line_object.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "objectmodel/point_list.h"
#include "objectmodel/tests/recording_graphics_context.h"
#include "objectmodel/tests/entity_test_support.h"

namespace {

using entity_test::Near;
using entity_test::Sentinel;
using entity_test::V;

std::vector<CVector3> Points(const CPointList& list)
{
    std::vector<CVector3> points;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        points.push_back(list.GetAt(i));
    }
    return points;
}

// A list that already holds a point, to see that operations empty it.
void PreFill(CPointList& list)
{
    CVector3 stale = Sentinel();
    ASSERT_EQ(list.Add(&stale), S_OK);
}

TEST(LineObject, DefaultDefinition)
{
    CLineObject line;
    CVector3 point = Sentinel();
    CVector3 direction = Sentinel();
    ASSERT_EQ(line.GetDefinition(&point, &direction), S_OK);
    EXPECT_TRUE(Near(point, V(0, 0, 0)));
    EXPECT_TRUE(Near(direction, V(1, 0, 0)));
}

struct LineLineCase {
    const char* name;
    CLineObject first;
    CLineObject second;
    std::optional<CVector3> crossing;
};

const std::vector<LineLineCase>& LineLineCases()
{
    static const std::vector<LineLineCase> kCases = {
        {"x_axis_and_vertical", CLineObject(V(0, 0, 0), V(1, 0, 0)), CLineObject(V(5, 5, 0), V(0, 1, 0)), V(5, 0, 0)},
        {"parallel", CLineObject(V(0, 0, 0), V(0, 0, 1)), CLineObject(V(3, 4, 0), V(0, 0, 1)), std::nullopt},
        {"same_line", CLineObject(V(0, 0, 0), V(0, 0, 1)), CLineObject(V(0, 0, 5), V(0, 0, -2)), std::nullopt},
        {"skew", CLineObject(V(0, 0, 0), V(0, 0, 1)), CLineObject(V(1, 0, 2), V(0, 1, 0)), std::nullopt},
        // No determinant in (x, y): solved in (x, z).
        {"solved_in_xz", CLineObject(V(0, 0, 0), V(0, 0, 1)), CLineObject(V(1, 0, 1), V(1, 0, 0)), V(0, 0, 1)},
        // No determinant in (x, y) or (x, z): solved in (y, z).
        {"solved_in_yz", CLineObject(V(0, 0, 0), V(0, 1, 0)), CLineObject(V(0, 3, 4), V(0, 0, 1)), V(0, 3, 0)},
        {"unnormalised_directions", CLineObject(V(1, 1, 0), V(4, 4, 0)), CLineObject(V(0, 2, 0), V(3, -3, 0)),
         V(1, 1, 0)},
        // Cross product below the tolerance in every component: parallel.
        {"nearly_parallel", CLineObject(V(0, 0, 0), V(1, 0, 0)), CLineObject(V(0, 1, 0), V(1, 5e-7, 0)),
         std::nullopt},
        // Gap of 5e-7 between the lines: below the tolerance, so they meet.
        {"skew_within_tolerance", CLineObject(V(0, 0, 0), V(1, 0, 0)), CLineObject(V(3, 5, 5e-7), V(0, 1, 0)),
         V(3, 0, 0)},
        {"skew_beyond_tolerance", CLineObject(V(0, 0, 0), V(1, 0, 0)), CLineObject(V(3, 5, 2e-6), V(0, 1, 0)),
         std::nullopt},
    };
    return kCases;
}

TEST(LineObject, IntersectLine)
{
    for (const LineLineCase& c : LineLineCases()) {
        SCOPED_TRACE(c.name);
        CLineObject first = c.first;
        CLineObject second = c.second;
        CPointList result;
        PreFill(result);
        ASSERT_EQ(first.IntersectLine(&second, &result, 0x13, 0x13), S_OK);
        const std::vector<CVector3> points = Points(result);
        if (c.crossing) {
            ASSERT_EQ(points.size(), 1u);
            EXPECT_TRUE(Near(points[0], *c.crossing, 1e-6));
        } else {
            EXPECT_TRUE(points.empty());
        }
    }
}

// Swapping the lines, or moving both by the same offset, moves the crossing
// with them (or keeps there being none).
TEST(LineObject, IntersectLineIsSymmetricAndMovesWithTheLines)
{
    const CVector3 offset = V(100, -50, 25);
    for (const LineLineCase& c : LineLineCases()) {
        SCOPED_TRACE(c.name);
        CLineObject first = c.first;
        CLineObject second = c.second;
        CLineObject movedFirst(first.GetPointValue() + offset, first.GetDirectionValue());
        CLineObject movedSecond(second.GetPointValue() + offset, second.GetDirectionValue());
        CPointList swapped;
        CPointList moved;
        ASSERT_EQ(second.IntersectLine(&first, &swapped, 0x13, 0x13), S_OK);
        ASSERT_EQ(movedFirst.IntersectLine(&movedSecond, &moved, 0x13, 0x13), S_OK);
        if (c.crossing) {
            ASSERT_EQ(swapped.GetCount(), 1);
            ASSERT_EQ(moved.GetCount(), 1);
            EXPECT_TRUE(Near(swapped.GetAt(0), *c.crossing, 1e-6));
            EXPECT_TRUE(Near(moved.GetAt(0), *c.crossing + offset, 1e-6));
        } else {
            EXPECT_EQ(swapped.GetCount(), 0);
            EXPECT_EQ(moved.GetCount(), 0);
        }
    }
}

TEST(LineObject, IntersectPlane)
{
    struct Case {
        const char* name;
        CLineObject line;
        CPlaneObject plane;
        std::optional<CVector3> crossing;
    };
    const Case kCases[] = {
        {"x_axis_through_x5", CLineObject(V(0, 0, 0), V(1, 0, 0)), CPlaneObject(V(5, 0, 0), V(1, 0, 0)), V(5, 0, 0)},
        {"oblique", CLineObject(V(0, 0, 0), V(1, 1, 1)), CPlaneObject(V(0, 0, 3), V(0, 0, -2)), V(3, 3, 3)},
        {"parallel", CLineObject(V(0, 0, 1), V(1, 0, 0)), CPlaneObject(V(0, 0, 0), V(0, 0, 1)), std::nullopt},
        // d . n = 5e-7: within the tolerance of zero, so parallel.
        {"nearly_parallel", CLineObject(V(0, 0, 1), V(1, 0, 5e-7)), CPlaneObject(V(0, 0, 0), V(0, 0, 1)),
         std::nullopt},
        {"lying_in_the_plane", CLineObject(V(0, 0, 0), V(0, 1, 0)), CPlaneObject(V(0, 0, 0), V(0, 0, 1)),
         std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CLineObject line = c.line;
        CPlaneObject plane = c.plane;
        CPointList result;
        PreFill(result);
        ASSERT_EQ(line.IntersectPlane(&plane, &result, 0x13, 0x13), S_OK);
        const std::vector<CVector3> points = Points(result);
        if (c.crossing) {
            ASSERT_EQ(points.size(), 1u);
            EXPECT_TRUE(Near(points[0], *c.crossing));
        } else {
            EXPECT_TRUE(points.empty());
        }
    }
}

TEST(LineObject, IntersectWithAnotherKindIsNotImplementedAndEmpties)
{
    CLineObject line;
    CLineObject otherLine(V(1, 1, 0), V(0, 1, 0));
    CPlaneObject plane;
    ComPtr<entity_test::CForeignEntity> foreign =
        ComPtr<entity_test::CForeignEntity>::Share(new entity_test::CForeignEntity());
    struct Case {
        const char* name;
        bool againstLine;
        IObjectBase* other;
    };
    const Case kCases[] = {
        {"plane_as_line", true, &plane},
        {"foreign_as_line", true, foreign.Get()},
        {"line_as_plane", false, &otherLine},
        {"foreign_as_plane", false, foreign.Get()},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CPointList result;
        PreFill(result);
        const HRESULT answer = c.againstLine ? line.IntersectLine(c.other, &result, 0x13, 0x13)
                                             : line.IntersectPlane(c.other, &result, 0x13, 0x13);
        EXPECT_EQ(answer, E_NOTIMPL);
        EXPECT_EQ(result.GetCount(), 0);
    }
}

TEST(LineObject, NearestPointToLine)
{
    CLineObject xAxis;
    CLineObject vertical(V(2, 7, 3), V(0, 0, 1));
    CVector3 nearest = Sentinel();
    ASSERT_EQ(xAxis.NearestPointToLine(&vertical, &nearest, 1), S_OK);
    EXPECT_TRUE(Near(nearest, V(2, 0, 0)));

    // Skew lines in general position: the point of this line, not the other.
    CLineObject slanted(V(0, 0, 0), V(1, 1, 0));
    CLineObject high(V(0, 4, 5), V(1, 0, 0));
    ASSERT_EQ(slanted.NearestPointToLine(&high, &nearest, 1), S_OK);
    EXPECT_TRUE(Near(nearest, V(4, 4, 0)));

    CLineObject parallel(V(0, 3, 0), V(-2, 0, 0));
    nearest = Sentinel();
    EXPECT_EQ(xAxis.NearestPointToLine(&parallel, &nearest, 1), E_FAIL);
    EXPECT_TRUE(Near(nearest, Sentinel()));
}

// The region of the tests: 0 < x < 10 and 0 < y < 10, normals inward,
// passed as the picker passes them: left, bottom, right, top.
struct Region {
    CPlaneObject left{V(0, 0, 0), V(1, 0, 0)};
    CPlaneObject bottom{V(0, 0, 0), V(0, 1, 0)};
    CPlaneObject right{V(10, 0, 0), V(-2, 0, 0)};
    CPlaneObject top{V(0, 10, 0), V(0, -1, 0)};
};

struct RegionCase {
    const char* name;
    CLineObject line;
    bool hit;
    // The drawn piece, when there is one, in its point order.
    std::vector<CVector3> piece;
};

const std::vector<RegionCase>& RegionCases()
{
    static const std::vector<RegionCase> kCases = {
        // Left (first) and right (third) are visited before bottom and top.
        {"horizontal", CLineObject(V(5, 5, 0), V(1, 0, 0)), true, {V(0, 5, 0), V(10, 5, 0)}},
        {"horizontal_reversed", CLineObject(V(5, 5, 0), V(-3, 0, 0)), true, {V(0, 5, 0), V(10, 5, 0)}},
        {"vertical", CLineObject(V(5, 5, 0), V(0, 1, 0)), true, {V(5, 0, 0), V(5, 10, 0)}},
        {"diagonal_through_corners", CLineObject(V(0, 0, 0), V(1, 1, 0)), false, {}},
        {"diagonal_crossing", CLineObject(V(0, 2, 0), V(1, 1, 0)), true, {V(0, 2, 0), V(8, 10, 0)}},
        {"above", CLineObject(V(0, 20, 0), V(1, 0, 0)), false, {}},
        {"on_the_bottom_side", CLineObject(V(0, 0, 0), V(1, 0, 0)), false, {}},
        {"just_inside_the_bottom", CLineObject(V(0, 2e-6, 0), V(1, 0, 0)), true, {V(0, 2e-6, 0), V(10, 2e-6, 0)}},
        // Parallel to all four sides: no crossing, but its own point is
        // inside, so it is drawn from there (and still not hit).
        {"along_view_inside", CLineObject(V(5, 5, 0), V(0, 0, 1)), false, {V(5, 5, 0), V(5, 5, 1)}},
        {"along_view_outside", CLineObject(V(15, 5, 0), V(0, 0, 1)), false, {}},
    };
    return kCases;
}

TEST(LineObject, HitTestAgainstRegion)
{
    Region region;
    for (const RegionCase& c : RegionCases()) {
        SCOPED_TRACE(c.name);
        CLineObject line = c.line;
        for (uint32_t mode : {0u, 1u, 0xFFFFFFFFu}) {
            BOOL hit = 7;
            ASSERT_EQ(line.HitTest(&region.left, &region.bottom, &region.right, &region.top, mode, &hit), S_OK);
            EXPECT_EQ(hit, c.hit ? TRUE : FALSE);
        }
    }
}

TEST(LineObject, TessellateAgainstRegion)
{
    Region region;
    for (const RegionCase& c : RegionCases()) {
        SCOPED_TRACE(c.name);
        CLineObject line = c.line;
        for (double scale : {0.01, 1.0, 250.0}) {
            ComPtr<IPolylineSet> set;
            ASSERT_EQ(line.Tessellate(&region.left, &region.bottom, &region.right, &region.top, scale,
                                      set.Receive()),
                      S_OK);
            ASSERT_TRUE(set);
            uint32_t count = 99;
            ASSERT_EQ(set->GetCount(&count), S_OK);
            if (c.piece.empty()) {
                EXPECT_EQ(count, 0u);
                continue;
            }
            ASSERT_EQ(count, 1u);
            uint32_t tag = 0;
            uint32_t points = 0;
            ASSERT_EQ(set->GetTag(0, &tag), S_OK);
            ASSERT_EQ(set->GetPointCount(0, &points), S_OK);
            EXPECT_EQ(tag, 2u);
            ASSERT_EQ(points, 2u);
            for (int32_t j = 0; j < 2; ++j) {
                double x = 0;
                double y = 0;
                double z = 0;
                ASSERT_EQ(set->GetPoint(0, j, &x, &y, &z), S_OK);
                EXPECT_TRUE(Near(V(x, y, z), c.piece[static_cast<size_t>(j)]));
            }
        }
    }
}

TEST(LineObject, DrawsAsAnInfiniteLine)
{
    CLineObject line(V(1, 2, 3), V(0, 0, -2));
    RecordingGraphicsContext context;
    ASSERT_EQ(line.Draw(&context), S_OK);
    EXPECT_TRUE(CallsAre(context.Calls(), {{GraphicsOp::DrawInfiniteLine, {1, 2, 3, 0, 0, -2}}}));
    EXPECT_EQ(context.ReferenceCount(), 0u);
}

// A plane is never drawn as an entity.
TEST(LineObject, OtherGeometryDrawsNothing)
{
    CPlaneObject plane;
    RecordingGraphicsContext context;
    EXPECT_EQ(plane.Draw(&context), E_NOTIMPL);
    EXPECT_TRUE(context.Calls().empty());
}

TEST(LineObject, ProjectionAndDistance)
{
    struct Case {
        const char* name;
        CLineObject line;
        CVector3 point;
        CVector3 foot;
        double distance;
    };
    const Case kCases[] = {
        {"long_direction", CLineObject(V(1, 1, 0), V(2, 0, 0)), V(5, 4, 4), V(5, 1, 0), 5.0},
        {"point_on_line", CLineObject(V(1, 1, 1), V(1, 1, 1)), V(3, 3, 3), V(3, 3, 3), 0.0},
        // A zero direction stands for the line's point alone.
        {"zero_direction", CLineObject(V(1, 2, 2), V(0, 0, 0)), V(1, 5, 6), V(1, 2, 2), 5.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CLineObject line = c.line;
        CVector3 point = c.point;
        CVector3 foot;
        CReal distance(-1.0);
        ASSERT_EQ(line.ProjectPoint(&point, &foot, 0), S_OK);
        ASSERT_EQ(line.Distance(&point, &distance, 0), S_OK);
        EXPECT_TRUE(Near(foot, c.foot));
        EXPECT_NEAR(distance.GetValue(), c.distance, entity_test::kExpectTolerance);
        EXPECT_NEAR(line.DistanceToPoint(c.point).GetValue(), c.distance, entity_test::kExpectTolerance);
    }
}

TEST(LineObject, ContainsPoint)
{
    const CLineObject line(V(1, 1, 0), V(0, 2, 0));
    EXPECT_TRUE(line.ContainsPoint(V(1, 1, 0)));
    EXPECT_TRUE(line.ContainsPoint(V(1, -40, 0)));
    EXPECT_TRUE(line.ContainsPoint(V(1 + 4e-7, 3, 0)));
    EXPECT_FALSE(line.ContainsPoint(V(1.001, 3, 0)));
}

TEST(LineObject, CurveQueriesOfALine)
{
    CLineObject line;
    BOOL flag = 7;
    ASSERT_EQ(line.IsClosed(&flag), S_OK);
    EXPECT_EQ(flag, FALSE);
    flag = 7;
    ASSERT_EQ(line.LineReserved11(&flag), S_OK);
    EXPECT_EQ(flag, FALSE);
    flag = 7;
    ASSERT_EQ(line.LineReserved14(nullptr, nullptr, &flag), S_OK);
    EXPECT_EQ(flag, TRUE);

    using PointQuery = HRESULT (CLineObject::*)(IVector3*);
    for (PointQuery query : {static_cast<PointQuery>(&CLineObject::GetCenter),
                             static_cast<PointQuery>(&CLineObject::GetMidPoint),
                             static_cast<PointQuery>(&CLineObject::GetEndPoint),
                             static_cast<PointQuery>(&CLineObject::GetStartPoint)}) {
        CVector3 point = Sentinel();
        EXPECT_EQ((line.*query)(&point), E_FAIL);
        EXPECT_TRUE(Near(point, Sentinel()));
    }
    CVector3 point = V(1, 0, 0);
    CVector3 direction = Sentinel();
    EXPECT_EQ(line.GetDirectionAt(&point, &direction), E_NOTIMPL);
    EXPECT_TRUE(Near(direction, Sentinel()));
    EXPECT_EQ(line.LineReserved10(nullptr), E_FAIL);
}

TEST(LineObject, ReservedSlotsAnswerNotImplemented)
{
    CLineObject line;
    EXPECT_EQ(line.LineReserved1(nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved2(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved3(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved4(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved5(nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved6(nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved7(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved8(nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved9(nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved12(nullptr), E_NOTIMPL);
    EXPECT_EQ(line.LineReserved13(nullptr), E_NOTIMPL);
    entity_test::ExpectNotOfferedOperations(
        line, {.draw = true, .nearestPointToLine = true, .hitTest = true, .tessellate = true});
}

TEST(LineObject, ClassIdsAndAccessors)
{
    CLineObject line;
    CLSID factory = GUID_NULL;
    IID iid = GUID_NULL;
    ASSERT_EQ(line.GetClassIds(&factory, &iid), S_OK);
    EXPECT_EQ(factory, CLSID_HostObjectFactory);
    EXPECT_EQ(iid, IID_ILineEx);

    CVector3 point = V(1, 2, 3);
    CVector3 direction = V(0, 0, 4);
    ASSERT_EQ(line.SetPoint(&point), S_OK);
    ASSERT_EQ(line.SetDirection(&direction), S_OK);
    const CLineObject copy(static_cast<ILine*>(&line));
    CVector3 readPoint;
    CVector3 readDirection;
    CLineObject reader = copy;
    ASSERT_EQ(reader.GetPoint(&readPoint), S_OK);
    ASSERT_EQ(reader.GetDirection(&readDirection), S_OK);
    EXPECT_TRUE(Near(readPoint, point));
    EXPECT_TRUE(Near(readDirection, direction));
}

TEST(LineObject, QueryInterfaceAnswersItsChain)
{
    ComPtr<CLineObject> line = ComPtr<CLineObject>::Share(new CLineObject());
    entity_test::ExpectQueryInterfaceChain(
        *line.Get(), {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_ILine, &IID_ILineEx});
    void* plane = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(line->QueryInterface(IID_IPlane, &plane), E_NOINTERFACE);
    EXPECT_EQ(plane, nullptr);
}

TEST(LineObject, OwnerHeldLineSurvivesBorrowersRelease)
{
    CLineObject line(V(1, 2, 3), V(0, 1, 0));
    line.SetLifetime(Lifetime::OwnerHeld);
    ILine* queried = nullptr;
    ASSERT_EQ(line.QueryInterface(IID_ILine, reinterpret_cast<void**>(&queried)), S_OK);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_EQ(queried->Release(), 0u);
    EXPECT_TRUE(Near(line.GetPointValue(), V(1, 2, 3)));
}

}  // namespace
