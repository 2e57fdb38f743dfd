// The snap engine's lists and their limits.
#include <gtest/gtest.h>

#include "host/document/snap_engine.h"

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

} // namespace
