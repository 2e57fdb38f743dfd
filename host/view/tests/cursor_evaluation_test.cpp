// Cursor evaluation: end, mid, centre, intersection and nearest snaps,
// recent points, tracking lines and their crossings, the switches, and the
// spatial index giving the same snaps as the walk over every object.
#include <gtest/gtest.h>

#include <random>

#include "host/view/cursor_evaluation.h"
#include "host/view/spatial_index.h"
#include "host/view/tests/test_segment.h"
#include "host/view/tests/view_test_support.h"
#include "objectmodel/entity_record.h"

namespace {

// A 400 x 400 view at scale 1 looking down: model (x, y) is view (x, y).
class CursorEvaluationTest : public ::testing::Test {
protected:
    CursorEvaluationTest() { view.SetClientSize(400, 400); }
    void Evaluate(double x, double y, CCursorEvaluator* evaluator = nullptr)
    {
        view.ReadViewOrientation(document);
        view.SetCursorClient(POINT{200 + static_cast<LONG>(x), 200 - static_cast<LONG>(y)});
        view.UpdateCursorCentre();
        view.BuildViewMatrices();
        view.UpdateCursorLine();
        (evaluator != nullptr ? *evaluator : cursor).Evaluate(view, CPoint2(x, y), 1);
    }
    IEntityRecord* Segment(const CVector3& a, const CVector3& b)
    {
        IEntityRecord* record = NewHolder(static_cast<ILine*>(new TestSegment(a, b)));
        document.AddObject(record);
        return record;
    }
    CSnapEngine& Engine() { return document.SnapEngine(); }
    uint32_t HitOf(IEntityRecord* record)
    {
        for (const SnapCandidate& candidate : Engine().Candidates()) {
            if (candidate.holder == record) {
                return candidate.hit;
            }
        }
        return 0xDEAD;
    }
    void Switch(int32_t variable, bool on) { SetByte(document, variable, on ? 1 : 0); }

    ViewDocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    CViewTransform view;
    CCursorEvaluator cursor{document};
};

TEST_F(CursorEvaluationTest, SnapKindsAndTheirTies)
{
    struct Case {
        const char* name;
        std::vector<std::pair<CVector3, CVector3>> segments;
        uint32_t kind;
        CVector3 point;
    };
    const Case cases[] = {
        {"two end points at one distance: the first, once", {{{105, 100, 0}, {200, 100, 0}}, {{100, 105, 0}, {100, 200, 0}}},
         kSnapEndPoint, CVector3(105, 100, 0)},
        {"end point and mid point at one distance", {{{105, 100, 0}, {200, 100, 0}}, {{95, 95, 0}, {95, 105, 0}}},
         kSnapEndPoint | kSnapMidPoint, CVector3(105, 100, 0)},
        {"crossing", {{{60, 60, 0}, {150, 150, 0}}, {{70, 130, 0}, {170, 30, 0}}}, kSnapIntersection,
         CVector3(100, 100, 0)},
        // The mid point lies outside the aperture: the nearest point still
        // beats it.
        {"nearest after a far mid point", {{{20, 103, 0}, {150, 103, 0}}}, kSnapNearest, CVector3(100, 103, 0)},
        {"nothing near", {{{0, 300, 0}, {10, 300, 0}}}, 0, CVector3()},
    };
    Switch(kTrackingVariable, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.ResetDocument();
        for (const auto& [a, b] : c.segments) {
            Segment(a, b);
        }
        Evaluate(100, 100);
        EXPECT_EQ(Engine().ResultKind(), c.kind);
        if (c.kind != 0) {
            EXPECT_EQ(Engine().ResultPoint(), c.point);
        }
    }
}

TEST_F(CursorEvaluationTest, IntersectionMarksBothPartners)
{
    IEntityRecord* first = Segment(CVector3(60, 60, 0), CVector3(150, 150, 0));
    IEntityRecord* second = Segment(CVector3(70, 130, 0), CVector3(170, 30, 0));
    Switch(kTrackingVariable, false);
    Evaluate(101, 99);
    EXPECT_EQ(Engine().ResultKind(), kSnapIntersection);
    EXPECT_EQ(HitOf(first), kSnapIntersection);
    EXPECT_EQ(HitOf(second), kSnapIntersection);
}

TEST_F(CursorEvaluationTest, SwitchesAndOptionWords)
{
    Segment(CVector3(105, 100, 0), CVector3(200, 100, 0));
    Switch(kTrackingVariable, false);
    struct Case {
        const char* name;
        int32_t variable;  // switched off; -1 none
        uint32_t options;
        uint32_t kind;
    };
    const Case cases[] = {
        {"all on", -1, 0x33, kSnapEndPoint},
        {"master switch off", kOsnapVariable, 0x33, 0},
        {"level without snaps", -1, 0x32, 0},
        {"end points off: the nearest point", kOsnapEndPointVariable, 0x33, kSnapNearest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int32_t v = kOsnapVariable; v <= kOsnapNearestVariable; ++v) {
            Switch(v, v != c.variable && v != kTrackingVariable);
        }
        document.Level(0).options[static_cast<size_t>(ModifierTable::Plain)] = c.options;
        Evaluate(100, 100);
        EXPECT_EQ(Engine().ResultKind(), c.kind);
    }
}

TEST_F(CursorEvaluationTest, TheOriginSnapsWithEveryKindSwitchedOff)
{
    for (int32_t v = kTrackingVariable; v <= kOsnapNearestVariable; ++v) {
        Switch(v, false);
    }
    Evaluate(5, -3);
    EXPECT_EQ(Engine().ResultKind(), kSnapOrigin);
    EXPECT_EQ(Engine().ResultPoint(), CVector3(0, 0, 0));
    Evaluate(50, 0);
    EXPECT_EQ(Engine().ResultKind(), 0u);
}

TEST_F(CursorEvaluationTest, ASnappedEndPointAddsTrackingLinesOnce)
{
    // An end point and a mid point together: the user-frame lines once,
    // the Y line with the end point's kind.
    Segment(CVector3(105, 100, 0), CVector3(200, 100, 0));
    Segment(CVector3(95, 95, 0), CVector3(95, 105, 0));
    Evaluate(100, 100);
    ASSERT_EQ(Engine().ResultKind(), kSnapEndPoint | kSnapMidPoint);
    const std::vector<TrackingLine>& lines = Engine().TrackingLines();
    std::vector<std::pair<CVector3, uint32_t>> added;
    for (size_t i = kAxisTrackingLines; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].line->GetPointValue(), CVector3(105, 100, 0));
        added.emplace_back(lines[i].line->GetDirectionValue(), lines[i].kind);
    }
    // X, Y (kind 1), Z; then the end point's curve: its direction repeats
    // the X line, its cross with Z is new; the mid point's curve is not hit.
    const std::vector<std::pair<CVector3, uint32_t>> expected = {
        {CVector3(1, 0, 0), 0}, {CVector3(0, 1, 0), kSnapEndPoint}, {CVector3(0, 0, 1), 0},
        {CVector3(0, -1, 0), kSnapEndPoint}};
    EXPECT_EQ(added, expected);
}

TEST_F(CursorEvaluationTest, TrackingLinesGiveNearestPointsAndCrossings)
{
    for (int32_t v = kOsnapEndPointVariable; v <= kOsnapNearestVariable; ++v) {
        Switch(v, v == kOsnapNearestVariable);
    }
    Engine().AddTrackingLine(CVector3(0, 100, 0), CVector3(1, 0, 0), 0);
    // On one tracking line: its nearest point, the line shown, nothing added.
    Evaluate(100, 103);
    EXPECT_EQ(Engine().ResultKind(), kSnapNearest);
    EXPECT_EQ(Engine().ResultPoint(), CVector3(100, 100, 0));
    ASSERT_EQ(Engine().TrackingLines().size(), 4u);
    ASSERT_NE(Engine().FindTrackingDirection(), nullptr);
    EXPECT_EQ(Engine().FindTrackingDirection()->GetPointValue(), CVector3(0, 100, 0));
    uint32_t flags = 0;
    Engine().TrackingLines()[3].holder->GetFlags(&flags);
    EXPECT_EQ(flags & kRecordHidden, 0u);

    // Two tracking lines crossing under the aperture, intersections off.
    Engine().AddTrackingLine(CVector3(98, 0, 0), CVector3(0, 1, 0), 0);
    Evaluate(100, 103);
    EXPECT_EQ(Engine().ResultKind(), kSnapIntersection);
    EXPECT_EQ(Engine().ResultPoint(), CVector3(98, 100, 0));
    EXPECT_EQ(Engine().TrackingLines()[3].hit, kSnapIntersection);
    EXPECT_EQ(Engine().TrackingLines()[4].hit, kSnapIntersection);
    // Lines away from the cursor are hidden again.
    Evaluate(-150, -150);
    Engine().TrackingLines()[3].holder->GetFlags(&flags);
    EXPECT_EQ(flags & kRecordHidden, kRecordHidden);
}

TEST_F(CursorEvaluationTest, TheSpatialIndexSnapsAsTheFullWalkDoes)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-190, 190);
    for (int i = 0; i < 300; ++i) {
        const CVector3 a(coordinate(random), coordinate(random), 0);
        Segment(a, a + CVector3(coordinate(random) / 5, coordinate(random) / 5, 0));
    }
    Switch(kTrackingVariable, false);
    CSpatialIndex index(document);
    CCursorEvaluator indexed(document);
    indexed.SetSpatialIndex(&index);
    int snapped = 0;
    for (int y = -190; y <= 190; y += 17) {
        for (int x = -190; x <= 190; x += 13) {
            SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
            Evaluate(x, y);
            const uint32_t kind = Engine().ResultKind();
            const CVector3 point = Engine().ResultPoint();
            std::vector<std::pair<IEntityRecord*, uint32_t>> hits;
            for (const SnapCandidate& candidate : Engine().Candidates()) {
                hits.emplace_back(candidate.holder, candidate.hit);
            }
            Evaluate(x, y, &indexed);
            EXPECT_EQ(Engine().ResultKind(), kind);
            if (kind != 0) {
                EXPECT_EQ(Engine().ResultPoint(), point);
                ++snapped;
            }
            std::vector<std::pair<IEntityRecord*, uint32_t>> indexedHits;
            for (const SnapCandidate& candidate : Engine().Candidates()) {
                indexedHits.emplace_back(candidate.holder, candidate.hit);
            }
            EXPECT_EQ(indexedHits, hits);
        }
    }
    EXPECT_GT(snapped, 100);
}

}  // namespace
