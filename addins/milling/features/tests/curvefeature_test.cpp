// Curve feature: chains are checked, no moves are built, and the record is
// the contour feature's.
#include <gtest/gtest.h>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/curvefeature.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

TEST(CurveFeature, ChecksChainsAndBuildsNoMoves)
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
    cases.push_back({"crossing", Make(Polygon({{0, 0}, {10, 10}}, false), Polygon({{0, 10}, {10, 0}}, false)), false,
                     FeatureError::ContoursCross});
    cases.push_back({"only_self_crossing", Make(Polygon({{0, 0}, {10, 10}, {10, 0}, {0, 10}}, false)), false,
                     FeatureError::NoUsableContour});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurveFeature f;
        Status status = f.ComputeFromChains(c.chains, Params(0, -1, 1, 6, 0));
        ASSERT_EQ(status.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(status.error().code, c.code);
        }
        EXPECT_TRUE(f.Moves().empty());
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
