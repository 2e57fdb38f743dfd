// Curve feature: chains are checked and cut along themselves, and the
// record is the contour feature's.
#include <gtest/gtest.h>

#include <algorithm>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/curvefeature.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

double TotalLength(const std::vector<std::unique_ptr<CCurveList>>& chains)
{
    double length = 0.0;
    for (const auto& c : chains)
        length += c->GetLength();
    return length;
}

// Kept chains are cut along themselves on every level; crossing or only
// self-crossing chains give an error and no moves.
TEST(CurveFeature, ChecksChainsAndCutsAlongThem)
{
    struct Case {
        const char* name;
        std::vector<std::unique_ptr<CCurveList>> chains;
        bool ok;
        FeatureError code;
    };
    std::vector<Case> cases;
    cases.push_back({"open_polyline", Make(Polygon({{0, 0}, {10, 0}, {10, 10}}, false)), true, {}});
    cases.push_back({"closed_and_open", Make(Rect(0, 0, 10, 10), Polygon({{20, 0}, {30, 5}}, false)), true, {}});
    cases.push_back({"rounded_rect", Make(RoundedRect(0, 0, 30, 20, 4)), true, {}});
    cases.push_back({"full_circle", Make(Circle(5, 5, 3)), true, {}});
    cases.push_back({"crossing", Make(Polygon({{0, 0}, {10, 10}}, false), Polygon({{0, 10}, {10, 0}}, false)), false,
                     FeatureError::ContoursCross});
    cases.push_back({"only_self_crossing", Make(Polygon({{0, 0}, {10, 10}, {10, 0}, {0, 10}}, false)), false,
                     FeatureError::NoUsableContour});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurveFeature f;
        Status status = f.ComputeFromChains(c.chains, Params(0, -3, 1, 6, 0.5));
        ASSERT_EQ(status.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(status.error().code, c.code);
            EXPECT_TRUE(f.Moves().empty());
            continue;
        }
        ExpectContinuous(f.Moves());
        // The tool centre stays on the chains (neither radius nor Offset
        // moves it) and every level cuts every chain once.
        for (const CMove& m : f.Moves()) {
            if (!IsFeedMove(m.flag) || !Horizontal(m))
                continue;
            for (const CPoint2D& p : SampleMove(m, 8)) {
                double nearest = 1e300;
                for (const auto& chain : c.chains)
                    nearest = std::min(nearest, DistanceTo(*chain, p));
                EXPECT_LT(nearest, 1e-9);
            }
        }
        const std::map<double, double> byLevel = CutLengthByLevel(f.Moves());
        ASSERT_EQ(byLevel.size(), 4u); // 0, -1, -2, -3
        for (const auto& [z, length] : byLevel)
            EXPECT_NEAR(length, TotalLength(c.chains), 1e-5 * length) << "level " << z; // arcs are sampled
        EXPECT_EQ(f.Moves().front().flag, kMoveRapid);
        EXPECT_DOUBLE_EQ(f.Moves().front().start.z, 20.0);
    }
}

// A closed chain steps down at its start by one feed move; an open chain is
// left at its end by a retract and entered again from above.
TEST(CurveFeature, LevelChangesOfClosedAndOpenChains)
{
    auto count = [](const std::vector<CMove>& moves, uint8_t flag) {
        return std::count_if(moves.begin(), moves.end(), [flag](const CMove& m) { return m.flag == flag; });
    };
    CCurveFeature closed;
    ASSERT_TRUE(closed.ComputeFromChains(Make(Rect(0, 0, 10, 10)), Params(0, -2, 1, 6, 0)).ok());
    // One approach: down to the engage height; nothing rapid afterwards.
    EXPECT_EQ(count(closed.Moves(), kMoveRapid), 1);

    CCurveFeature open;
    ASSERT_TRUE(open.ComputeFromChains(Make(Polygon({{0, 0}, {10, 0}}, false)), Params(0, -2, 1, 6, 0)).ok());
    // First approach 1 rapid, each of the two later levels 3 (up, across, down).
    EXPECT_EQ(count(open.Moves(), kMoveRapid), 7);
    for (const CMove& m : open.Moves()) {
        if (m.flag == kMoveRapid) {
            EXPECT_GE(std::max(m.start.z, m.end.z), 2.0);
        }
    }
}

TEST(CurveFeature, LoadsBackAsAContourFeature)
{
    CCurveFeature curve;
    curve.m_name = "Curve 1";
    curve.m_hidden = 1;
    curve.m_params = Params(0, -3, 1, 4, 0.1, 1);
    curve.m_params.tool.name = "Ball 4";
    const std::vector<uint8_t> bytes = curve.SaveRecord();
    CContourFeature contour;
    ASSERT_TRUE(contour.Load(bytes.data(), bytes.size(), nullptr).ok());
    EXPECT_EQ(contour.GetType(), curve.GetType());
    EXPECT_EQ(contour.m_name, "Curve 1");
    EXPECT_EQ(contour.m_hidden, 1);
    EXPECT_EQ(contour.m_params.outside, 1);
    EXPECT_EQ(contour.m_params.tool.name, "Ball 4");
    EXPECT_DOUBLE_EQ(contour.m_params.offset, 0.1);
}

} // namespace
