// The snap engine's lists and their limits.
#include <gtest/gtest.h>

#include "host/document/snap_engine.h"

#include "host/document/tests/document_test_support.h"
#include "iids.h"
#include "objectmodel/point_object.h"

namespace {

CVector3 Point(double x) { return CVector3(x, 0.0, 0.0); }
const CVector3 kUp(0.0, 0.0, 1.0);

TEST(SnapEngineTest, ANewEngineHasTheOriginAndTheThreeAxisLines)
{
    CSnapEngine engine;
    ASSERT_EQ(engine.RecentPoints().size(), 1u);
    EXPECT_EQ(engine.RecentPoints()[0].kind, kSnapOrigin);
    ASSERT_EQ(engine.TrackingLines().size(), 3u);
    for (const TrackingLine& line : engine.TrackingLines()) {
        EXPECT_EQ(line.kind, kSnapOrigin);
        uint32_t flags = 0;
        line.holder->GetFlags(&flags);
        EXPECT_EQ(flags & 0x1, 0x1u);
        int32_t children = 0;
        line.holder->GetChildCount(&children);
        EXPECT_EQ(children, 2);
    }
}

TEST(SnapEngineTest, TrackingLinesStayWithinTheirLimitAndAreNotRepeated)
{
    CSnapEngine engine;
    for (int i = 1; i <= 27; ++i) {
        engine.AddTrackingLine(Point(i), kUp, 0);
    }
    ASSERT_EQ(engine.TrackingLines().size(), kMaxTrackingLines);
    engine.AddTrackingLine(Point(5), kUp, 7);
    EXPECT_EQ(engine.TrackingLines().size(), kMaxTrackingLines);
    EXPECT_EQ(engine.TrackingLines()[7].kind, 0u);
    // The 31st line pushes out the oldest after the axis lines.
    engine.AddTrackingLine(Point(100), kUp, 0);
    ASSERT_EQ(engine.TrackingLines().size(), kMaxTrackingLines);
    EXPECT_EQ(engine.TrackingLines()[3].line->GetPointValue(), Point(2));
    EXPECT_EQ(engine.TrackingLines()[2].kind, kSnapOrigin);
    EXPECT_EQ(engine.TrackingLines().back().line->GetPointValue(), Point(100));
    engine.Refresh();
    EXPECT_EQ(engine.TrackingLines().size(), kAxisTrackingLines);
}

TEST(SnapEngineTest, RecentPointsKeepTheOriginFirst)
{
    CSnapEngine engine;
    for (int i = 1; i <= 50; ++i) {
        engine.AddRecentPoint(Point(i), kSnapEndPoint, 0);
    }
    ASSERT_EQ(engine.RecentPoints().size(), kMaxRecentPoints);
    EXPECT_EQ(engine.RecentPoints()[0].kind, kSnapOrigin);
    EXPECT_EQ(engine.RecentPoints()[1].point, Point(11));
    engine.AddRecentPoint(Point(50), kSnapEndPoint, 0);
    EXPECT_EQ(engine.RecentPoints().back().point, Point(50));
    EXPECT_EQ(engine.RecentPoints()[1].point, Point(11));
    engine.ResetRecentPoints();
    EXPECT_EQ(engine.RecentPoints().size(), 1u);
}

TEST(SnapEngineTest, TheTrackingDirectionIsTheFirstLineHitAsNearest)
{
    CSnapEngine engine;
    engine.AddTrackingLine(Point(3), kUp, 0);
    EXPECT_EQ(engine.FindTrackingDirection(), nullptr);
    engine.TrackingLines()[1].hit = kSnapEndPoint;
    engine.TrackingLines()[3].hit = kSnapNearest;
    ASSERT_NE(engine.FindTrackingDirection(), nullptr);
    EXPECT_EQ(engine.FindTrackingDirection()->GetPointValue(), Point(3));
    uint32_t flag = 9;
    engine.QueryTrackingActive(&flag);
    EXPECT_EQ(flag, 1u);
    engine.Reset();
    EXPECT_EQ(engine.FindTrackingDirection(), nullptr);
}

// Points of a document around an aperture of side 2 about the origin in the
// x-y plane.
struct CandidateFixture : DocumentFixture {
    CandidateFixture()
    {
        document.SnapEngine().SetAperturePlanes(
            CPlaneObject(CVector3(0.0, 1.0, 0.0), CVector3(0.0, -1.0, 0.0)),
            CPlaneObject(CVector3(0.0, -1.0, 0.0), CVector3(0.0, 1.0, 0.0)),
            CPlaneObject(CVector3(1.0, 0.0, 0.0), CVector3(-1.0, 0.0, 0.0)),
            CPlaneObject(CVector3(-1.0, 0.0, 0.0), CVector3(1.0, 0.0, 0.0)));
    }
    IEntityRecord* AddPoint(double x, double y, uint32_t holderFlags = 0)
    {
        IEntityRecord* holder = MakeHolder(static_cast<IPoint3*>(new CPointObject(CVector3(x, y, 0.0))));
        holder->AddFlags(holderFlags);
        document.AddObject(holder);
        return holder;
    }
    std::vector<IEntityRecord*> CandidateHolders()
    {
        std::vector<IEntityRecord*> holders;
        for (const SnapCandidate& candidate : document.SnapEngine().Candidates()) {
            holders.push_back(candidate.holder);
        }
        return holders;
    }
};

TEST(SnapCandidateTest, OnlyVisibleObjectsUnderTheApertureBecomeCandidates)
{
    CandidateFixture f;
    IEntityRecord* inside = f.AddPoint(0.5, -0.5);
    f.AddPoint(3.0, 0.0);
    f.AddPoint(0.0, 0.0, 0x20);
    f.AddPoint(0.0, 0.0, 0x2);
    CSnapEngine& engine = f.document.SnapEngine();
    engine.CollectCandidates(f.document);
    ASSERT_EQ(f.CandidateHolders(), std::vector<IEntityRecord*>{inside});
    EXPECT_EQ(engine.Candidates()[0].mask, kCandidatePoint);
    EXPECT_EQ(engine.Candidates()[0].hit, 0u);
    engine.Reset();
    EXPECT_TRUE(engine.Candidates().empty());
}

TEST(SnapCandidateTest, TheActiveFilterDecidesWhichObjectsAreKept)
{
    struct Case {
        const char* name;
        std::vector<GUID> ids;
        uint32_t kindFilter;
        bool kept;
        uint32_t mask;
    };
    const Case cases[] = {
        {"all kinds", {}, 0xFFFFFFFFu, true, kCandidatePoint},
        {"point bit off", {}, ~kCandidatePoint, false, 0},
        {"lines only", {}, kCandidateLine, false, 0},
        {"answers the point interface", {IID_IPoint3}, 0xFFFFFFFFu, true, kCandidatePoint},
        {"answers none of the IDs", {IID_ILine, IID_IPlane}, 0xFFFFFFFFu, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CandidateFixture f;
        f.AddPoint(0.0, 0.0);
        CSnapEngine& engine = f.document.SnapEngine();
        engine.SetActiveFilter(c.ids, c.kindFilter, {});
        engine.CollectCandidates(f.document);
        ASSERT_EQ(engine.Candidates().size(), c.kept ? 1u : 0u);
        if (c.kept) {
            EXPECT_EQ(engine.Candidates()[0].mask, c.mask);
        }
    }
}

TEST(SnapCandidateTest, AnActiveObjectListReplacesTheDocumentsObjects)
{
    CandidateFixture f;
    f.AddPoint(0.0, 0.0);
    IEntityRecord* chosen = f.AddPoint(0.1, 0.1);
    CSnapEngine& engine = f.document.SnapEngine();
    engine.SetActiveFilter({}, 0xFFFFFFFFu, {chosen});
    engine.CollectCandidates(f.document);
    EXPECT_EQ(f.CandidateHolders(), std::vector<IEntityRecord*>{chosen});
}

TEST(SnapCandidateTest, TheLevelsSnappingFilterOfTheModifierKindBecomesActive)
{
    // Filter flags: 1 snapping set, 4 picking set; kinds: 1 plain, 2 Ctrl, 4 Shift.
    CandidateFixture f;
    IEntityRecord* first = f.AddPoint(0.0, 0.0);
    IEntityRecord* second = f.AddPoint(0.1, 0.1);
    IHostDocument* host = f.document.GetHostDocument();
    host->AddFilterId(1, 2, reinterpret_cast<uintptr_t>(second));
    host->AddFilterId(4, 1, reinterpret_cast<uintptr_t>(first));
    host->SetFilterFlags(1, 4, ~kCandidatePoint);
    host->AddFilterGuid(1, 1, IID_ILine);

    struct Case {
        const char* name;
        uint32_t modifierKind;
        std::vector<IEntityRecord*> expected;
    };
    const Case cases[] = {
        {"plain: answers none of its IDs", 1, {}},
        {"Ctrl: its object list only", 2, {second}},
        {"Shift: its kind word drops points", 4, {}},
        {"plain and Ctrl: Ctrl comes last", 3, {second}},
        {"Ctrl and Shift: Shift comes last", 6, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSnapEngine& engine = f.document.SnapEngine();
        engine.Reset();
        engine.SetActiveFilter({}, 0xFFFFFFFFu, {});
        engine.SelectLevelFilter(f.document, c.modifierKind);
        engine.CollectCandidates(f.document);
        EXPECT_EQ(f.CandidateHolders(), c.expected);
    }

    // No modifier bit keeps the active filter; the picking set never applies.
    CSnapEngine& engine = f.document.SnapEngine();
    engine.Reset();
    engine.SetActiveFilter({}, 0xFFFFFFFFu, {});
    engine.SelectLevelFilter(f.document, 0);
    engine.CollectCandidates(f.document);
    EXPECT_EQ(f.CandidateHolders(), (std::vector<IEntityRecord*>{first, second}));

    // An id that names no record is never followed, and a filter left
    // without records still keeps every other object out.
    host->ClearFilterIds(1, 2);
    host->AddFilterId(1, 2, reinterpret_cast<uintptr_t>(first) + 8);
    engine.Reset();
    engine.SelectLevelFilter(f.document, 2);
    engine.CollectCandidates(f.document);
    EXPECT_TRUE(f.CandidateHolders().empty());
}

TEST(SnapCandidateTest, CommandObjectsOfOtherCommandsAreNotCandidates)
{
    CandidateFixture f;
    IEntityRecord* free = MakeHolder(static_cast<IPoint3*>(new CPointObject(CVector3(0.0, 0.0, 0.0))));
    IEntityRecord* foreign = MakeHolder(static_cast<IPoint3*>(new CPointObject(CVector3(0.0, 0.0, 0.0))));
    f.document.AddCommandObject(free, kNoOwner, kNoOwner);
    f.document.AddCommandObject(foreign, 5, kNoOwner);
    f.document.SnapEngine().CollectCandidates(f.document);
    EXPECT_EQ(f.CandidateHolders(), std::vector<IEntityRecord*>{free});
}

} // namespace
