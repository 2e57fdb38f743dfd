// Picking: priority classes, kinds and distances of a single pick,
// occlusion, box and crossing selection, filters, and the spatial index
// giving the same picks as the walk over every object.
#include <gtest/gtest.h>

#include <random>

#include "host/view/picking.h"
#include "host/view/spatial_index.h"
#include "host/view/tests/test_segment.h"
#include "host/view/tests/view_test_support.h"
#include "objectmodel/point_object.h"

namespace {

// A 400 x 400 view at scale 1 looking down: model (x, y) is view (x, y).
class PickingTest : public ::testing::Test {
protected:
    PickingTest()
    {
        view.SetClientSize(400, 400);
        Aim(0, 0);
    }
    void Aim(int x, int y)
    {
        view.ReadViewOrientation(document);
        view.SetCursorClient(POINT{200 + x, 200 - y});
        view.UpdateCursorCentre();
        view.BuildViewMatrices();
        view.UpdateCursorLine();
        view.UpdateEdgePlanes();
    }
    IEntityRecord* Add(IUnknown* object, uint32_t flags = 0)
    {
        IEntityRecord* record = NewHolder(object);
        record->AddFlags(flags);
        document.AddObject(record);
        return record;
    }
    IEntityRecord* Point(double x, double y, double z = 0, uint32_t flags = 0)
    {
        return Add(static_cast<IPoint3*>(new CPointObject(CVector3(x, y, z))), flags);
    }
    IEntityRecord* Segment(const CVector3& a, const CVector3& b, uint32_t flags = 0)
    {
        return Add(static_cast<ILine*>(new TestSegment(a, b)), flags);
    }
    std::vector<uintptr_t> Single(CPickHelper& picker, int x = 0, int y = 0)
    {
        Aim(x, y);
        const CPoint2 cursor(x, y);
        picker.Evaluate(view, cursor, cursor, kSinglePick, 1, FALSE);
        return Ids(picker);
    }
    std::vector<uintptr_t> Box(CPickHelper& picker, const CPoint2& first, const CPoint2& second,
                               uint32_t word = kBoxPick)
    {
        Aim(static_cast<int>(second.x.GetValue()), static_cast<int>(second.y.GetValue()));
        picker.Evaluate(view, first, second, word, 1, FALSE);
        return Ids(picker);
    }
    static std::vector<uintptr_t> Ids(CPickHelper& picker)
    {
        std::vector<uintptr_t> ids;
        for (int32_t i = 0; i < picker.Region().GetCount(); ++i) {
            ids.push_back(picker.Region().GetAt(i));
        }
        return ids;
    }
    static uintptr_t Id(IEntityRecord* record) { return reinterpret_cast<uintptr_t>(record); }

    ViewDocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    CViewTransform view;
    CPickHelper picker{document};
};

TEST_F(PickingTest, KindPrecedence)
{
    struct Case {
        uint32_t a, b;
        int32_t result;
    };
    const Case cases[] = {
        {kPickKindOther, kPickKindOther, 0}, {kPickKindOther, kPickKindPoint, 1},
        {kPickKindPoint, kPickKindOther, -1}, {kPickKindPoint, kPickKindLine, 1},
        {kPickKindLine, kPickKindPoint, -1}, {kPickKindLine, kPickKindLine, 0},
        {kPickKindLine, kPickKindPlane, 1},  {kPickKindPlane, kPickKindLine, -1},
        {kPickKindPlane, kPickKindReserved, 1}, {kPickKindReserved, kPickKindPlane, -1},
        {kPickKindReserved, kPickKindReserved, 0}, {0, kPickKindPoint, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        EXPECT_EQ(CPickHelper::ComparePickKinds(c.a, c.b), c.result);
    }
}

TEST_F(PickingTest, NearerPointWinsAndLaterWinsTies)
{
    IEntityRecord* far = Point(4, 0);
    IEntityRecord* near = Point(1, 1);
    IEntityRecord* outside = Point(30, 0);
    (void)outside;
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(near)});
    IEntityRecord* tie = Point(-1, -1);
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(tie)});
    (void)far;
}

TEST_F(PickingTest, PointBeatsLineAndAHigherClassBeatsBoth)
{
    IEntityRecord* point = Point(8, 8);
    Segment(CVector3(-50, 0, 0), CVector3(50, 0, 0));
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(point)});
    IEntityRecord* grip = Segment(CVector3(-50, 2, 0), CVector3(50, 2, 0), kPickClass3);
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(grip)});
    EXPECT_EQ(picker.BestClass(), 3);
    ASSERT_EQ(picker.Candidates().size(), 1u);
}

TEST_F(PickingTest, RecordFlagsKeepObjectsOutOfSomeModes)
{
    struct Case {
        uint32_t flags;
        bool single, box;
    };
    const Case cases[] = {{0, true, true}, {0x2, false, false}, {0x20000000, false, false},
                          {kPickNotSingle, false, true}, {kPickNotBox, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        fixture.document.ResetDocument();
        IEntityRecord* point = Point(1, 1, 0, c.flags);
        EXPECT_EQ(Single(picker).size(), c.single ? 1u : 0u);
        const std::vector<uintptr_t> boxed = Box(picker, CPoint2(-10, 10), CPoint2(10, -10));
        EXPECT_EQ(boxed, c.box ? std::vector<uintptr_t>{Id(point)} : std::vector<uintptr_t>{});
    }
}

// The pick line runs along +z through the cursor at depth 0. A far line
// later in the list would win the tie of two lines, unless a nearer
// occluder hides it.
TEST_F(PickingTest, OccludersHideWhatLiesBehindThem)
{
    struct Case {
        const char* name;
        uint32_t occluderFlags;
        uint32_t farFlags;
        bool farPicked;
    };
    const Case cases[] = {
        {"plain lines: the later one", 0, 0, true},
        {"occluder in front", kPickOccluder, 0, false},
        {"never occluded", kPickOccluder, kPickNeverOccluded, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixture.document.ResetDocument();
        IEntityRecord* front = Segment(CVector3(0, -5, -2), CVector3(0, 5, -2), c.occluderFlags);
        IEntityRecord* far = Segment(CVector3(-5, 0, -10), CVector3(5, 0, -10), c.farFlags);
        EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(c.farPicked ? far : front)});
    }
}

TEST_F(PickingTest, PointsAreNeverHidden)
{
    // A point cannot be hidden: it has no nearest point to a line.
    IEntityRecord* point = Point(0, 0, -10);
    Segment(CVector3(0, -5, -2), CVector3(0, 5, -2), kPickOccluder);
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(point)});
}

TEST_F(PickingTest, BoxDirectionDecidesCrossing)
{
    IEntityRecord* inside = Segment(CVector3(-5, -5, 0), CVector3(5, 5, 0));
    IEntityRecord* across = Segment(CVector3(0, 0, 0), CVector3(100, 0, 0));
    struct Case {
        const char* name;
        CPoint2 first, second;
        uint32_t word;
        uint32_t crossing;
    };
    const Case cases[] = {
        {"left to right, top to bottom", CPoint2(-20, 20), CPoint2(20, -20), kBoxPick, 0},
        {"right to left", CPoint2(20, 20), CPoint2(-20, -20), kBoxPick, 1},
        {"bottom to top", CPoint2(-20, -20), CPoint2(20, 20), kBoxPick, 1},
        {"always crossing", CPoint2(-20, 20), CPoint2(20, -20), kCrossingBoxPick, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uintptr_t> ids = Box(picker, c.first, c.second, c.word);
        EXPECT_EQ(picker.CrossingFlag(), c.crossing);
        EXPECT_EQ(ids, c.crossing != 0 ? (std::vector<uintptr_t>{Id(inside), Id(across)})
                                       : std::vector<uintptr_t>{Id(inside)});
    }
}

TEST_F(PickingTest, EmptyingTheRegionCountsAsAChange)
{
    Point(1, 1);
    Single(picker);
    EXPECT_EQ(picker.Region().GetCount(), 1);
    Single(picker, 100, 100);
    EXPECT_EQ(picker.Region().GetCount(), 0);
    EXPECT_TRUE(picker.changed);
    Single(picker, 100, 100);
    EXPECT_FALSE(picker.changed);
    picker.refreshRequest = TRUE;
    Single(picker, 100, 100);
    EXPECT_TRUE(picker.changed);
    EXPECT_FALSE(picker.refreshRequest);
    // A word without a pick mode picks nothing.
    Aim(0, 0);
    picker.Evaluate(view, CPoint2(0, 0), CPoint2(0, 0), kPickInput, 1, FALSE);
    EXPECT_EQ(picker.Region().GetCount(), 0);
}

TEST_F(PickingTest, FiltersOfTheLevelLimitWhatIsPicked)
{
    IEntityRecord* point = Point(1, 1);
    IEntityRecord* line = Segment(CVector3(-5, 0, 0), CVector3(5, 0, 0));
    CommandLevel& level = document.Level(0);
    const size_t plain = 3 + static_cast<size_t>(ModifierTable::Plain);
    // Kind filter without points: the line.
    level.filterFlags[plain] = kPickKindLine;
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(line)});
    level.filterFlags[plain] = 0xFFFFFFFF;
    // Object filter: only its records.
    level.filterIds[plain] = {static_cast<uint32_t>(Id(line))};
    EXPECT_EQ(Single(picker), std::vector<uintptr_t>{Id(line)});
    level.filterIds[plain].clear();
    // Interface filter answered twice by the point: held once.
    level.filterGuids[plain] = {FilterGuidRecord{IID_IPoint3}, FilterGuidRecord{IID_IGeometryEntity}};
    EXPECT_EQ(Box(picker, CPoint2(-10, 10), CPoint2(10, -10)), (std::vector<uintptr_t>{Id(point), Id(line)}));
    level.filterGuids[plain] = {FilterGuidRecord{IID_IPoint3}};
    EXPECT_EQ(Box(picker, CPoint2(-10, 10), CPoint2(10, -10)), std::vector<uintptr_t>{Id(point)});
}

TEST_F(PickingTest, TheSpatialIndexPicksWhatTheFullWalkPicks)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-180, 180);
    std::uniform_real_distribution<double> depth(-30, 30);
    for (int i = 0; i < 400; ++i) {
        const CVector3 a(coordinate(random), coordinate(random), depth(random));
        if (i % 5 == 0) {
            Point(a.x.GetValue(), a.y.GetValue(), a.z.GetValue(), i % 7 == 0 ? kPickOccluder : 0);
        } else {
            const CVector3 b = a + CVector3(coordinate(random) / 6, coordinate(random) / 6, depth(random));
            Segment(a, b, i % 9 == 0 ? kPickOccluder : 0);
        }
    }
    // Objects without extents are always tested.
    Add(static_cast<ILineEx*>(new CLineObject(CVector3(0, 0, 0), CVector3(1, 1, 0))));
    CSpatialIndex index(document);
    CPickHelper indexed(document);
    indexed.SetSpatialIndex(&index);
    int picked = 0;
    for (int y = -190; y <= 190; y += 19) {
        for (int x = -190; x <= 190; x += 23) {
            SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
            const std::vector<uintptr_t> single = Single(picker, x, y);
            EXPECT_EQ(Single(indexed, x, y), single);
            picked += single.empty() ? 0 : 1;
            const CPoint2 first(x, y), second(x / 2 + 30, y / 3 - 25);
            EXPECT_EQ(Box(indexed, first, second), Box(picker, first, second));
        }
    }
    // The comparison means something: many clicks hit, and the index left
    // most objects out of each query.
    EXPECT_GT(picked, 40);
    EXPECT_EQ(index.IndexedCount(), 401u);
    Single(picker, 50, 50);
    CPickRegionObject& region = picker.Region();
    const std::array<CPlaneObject, 4> aperture{region.TopPlane(), region.BottomPlane(), region.RightPlane(),
                                               region.LeftPlane()};
    for (const auto& plane : aperture) std::cerr << plane.GetOriginValue().x.GetValue() << "," << plane.GetOriginValue().y.GetValue() << " n " << plane.GetNormalValue().x.GetValue() << "," << plane.GetNormalValue().y.GetValue() << "," << plane.GetNormalValue().z.GetValue() << "\n";
    EXPECT_LT(index.Query(aperture).size(), 40u);
    // A change of the list is seen without being announced.
    IEntityRecord* added = Point(3, 3);
    EXPECT_EQ(Single(indexed, 3, 3), std::vector<uintptr_t>{Id(added)});
}

}  // namespace
