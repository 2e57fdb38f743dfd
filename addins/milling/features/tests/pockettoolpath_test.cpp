// Pocket toolpaths: clearance from boundaries and islands, no uncut area
// wider than the step-over allows, levels, the record without Outside.
#include <gtest/gtest.h>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

// How far beyond the tool radius a sampled point may lie from the path and
// still count as cleared (drawing units): inner passes are simplified within
// a tolerance that grows with the uncut width, so their corners may fall
// short by a fraction of a millimetre.
constexpr double kUncutTolerance = 0.25;

CMillingParams PocketParams(double diameter, double radialStep, double offset)
{
    CMillingParams p = Params(0, -4, 2, diameter, offset);
    p.tool.radialStep = radialStep;
    return p;
}

// Every point where the tool centre may stand (at least radius + offset from
// every contour, inside the outer one) lies within the tool radius of a
// cutting move at the deepest level: nothing is left standing there.
void ExpectCleared(const std::vector<CMove>& moves, const std::vector<std::unique_ptr<CCurveList>>& contours,
                   double radius, double offset, double gridStep)
{
    std::vector<CPoint2D> path;
    double deepest = 0.0;
    for (const CMove& m : moves)
        deepest = std::min(deepest, m.end.z);
    for (const CMove& m : moves)
        if (IsFeedMove(m.flag) && Horizontal(m) && std::fabs(m.start.z - deepest) < 1e-9)
            for (const CPoint2D& p : SampleMove(m, 40))
                path.push_back(p);
    double minX, minY, maxX, maxY;
    contours.front()->GetBounds(minX, minY, maxX, maxY);
    int uncut = 0;
    for (double x = minX; x <= maxX; x += gridStep)
        for (double y = minY; y <= maxY; y += gridStep) {
            const CPoint2D p(x, y);
            if (contours.front()->ClassifyPoint(p, 1) != PointPlace::Inside)
                continue;
            bool free = true;
            for (const auto& c : contours)
                free = free && DistanceTo(*c, p) >= radius + offset + 0.05;
            for (size_t i = 1; i < contours.size() && free; ++i)
                free = contours[i]->ClassifyPoint(p, 1) == PointPlace::Outside;
            if (!free)
                continue;
            double nearest = 1e300;
            for (const CPoint2D& q : path)
                nearest = std::min(nearest, (q - p).Length());
            if (nearest > radius + kUncutTolerance && ++uncut <= 5)
                ADD_FAILURE() << "uncut at (" << x << ", " << y << "), " << nearest << " from the path";
        }
}

struct PocketCase {
    const char* name;
    std::vector<std::unique_ptr<CCurveList>> contours;
};

std::vector<PocketCase> PocketCases()
{
    std::vector<PocketCase> cases;
    cases.push_back({"rectangle", Make(Rect(0, 0, 100, 60))});
    cases.push_back({"rectangle_with_circle_island", Make(Rect(0, 0, 100, 60), Circle(50, 30, 10))});
    cases.push_back({"rounded_rectangle", Make(RoundedRect(0, 0, 80, 50, 8))});
    cases.push_back({"two_islands_merged", Make(Rect(0, 0, 100, 60), Circle(40, 30, 5), Circle(55, 30, 5))});
    cases.push_back({"island_touching_boundary", Make(Rect(0, 0, 100, 60), Circle(10, 30, 8))});
    cases.push_back({"pocket_inside_island", Make(Rect(0, 0, 120, 100), Rect(20, 20, 100, 80, false), Rect(40, 40, 80, 60))});
    cases.push_back({"circle", Make(Circle(0, 0, 30))});
    return cases;
}

TEST(PocketToolpath, ClearsThePocketWithoutTouchingIslands)
{
    const double diameter = 10.0, offset = 0.5;
    for (PocketCase& c : PocketCases()) {
        SCOPED_TRACE(c.name);
        CPocketFeature f;
        Status status = f.ComputeFromContours(c.contours, PocketParams(diameter, 50.0, offset), nullptr);
        ASSERT_TRUE(status.ok()) << FeatureErrorMessage(status.error().code);
        ASSERT_FALSE(f.Moves().empty());
        ExpectContinuous(f.Moves());
        ExpectClearance(f.Moves(), c.contours, diameter / 2 + offset, true);
        ExpectCleared(f.Moves(), c.contours, diameter / 2, offset, 1.0);
        const std::map<double, double> lengths = CutLengthByLevel(f.Moves());
        ASSERT_EQ(lengths.size(), 3u); // 0, -2, -4
        for (const auto& [z, length] : lengths)
            EXPECT_NEAR(length, lengths.begin()->second, 1e-6) << z;
        int rapids = 0;
        for (const CMove& m : f.Moves())
            rapids += !IsFeedMove(m.flag);
        EXPECT_GE(rapids, 1);
    }
}

TEST(PocketToolpath, RectangleLoopsStepInByTheStepOver)
{
    // 10 mm tool at 50 %: loops 5, 10, 15, 20, 25 from the edge of 100 x 60.
    CPocketFeature f;
    CMillingParams p = PocketParams(10.0, 50.0, 0.0);
    p.zBottom = 0.0;
    ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 100, 60)), p, nullptr).ok());
    double minX = 1e300;
    for (const CMove& m : f.Moves())
        minX = std::min(minX, m.end.x);
    EXPECT_NEAR(minX, 5.0, 1e-9);
    double loopLength = 0.0;
    for (double d : {5.0, 10.0, 15.0, 20.0, 25.0})
        loopLength += 2 * (100 - 2 * d + 60 - 2 * d);
    // Every loop once, plus the feed links (each about one step long).
    const double cut = CutLengthByLevel(f.Moves()).begin()->second;
    EXPECT_GE(cut, loopLength - 1e-6);
    EXPECT_LE(cut, loopLength + 2 * 4 * 5.0 + 1e-6);
}

TEST(PocketToolpath, FailuresAreReportedAndLeaveNoMoves)
{
    struct Case {
        const char* name;
        std::vector<std::unique_ptr<CCurveList>> contours;
        double radialStep;
        FeatureError code;
    };
    std::vector<Case> cases;
    cases.push_back({"crossing_rectangles", Make(Rect(0, 0, 50, 50), Rect(25, 25, 75, 75)), 50, FeatureError::ContoursCross});
    cases.push_back({"open_only", Make(Polygon({{0, 0}, {10, 0}, {10, 10}}, false)), 50, FeatureError::NoUsableContour});
    cases.push_back({"zero_radial_step", Make(Rect(0, 0, 50, 50)), 0, FeatureError::BadRadialStep});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPocketFeature f;
        ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 40, 40)), PocketParams(6, 50, 0), nullptr).ok());
        Status status = f.ComputeFromContours(c.contours, PocketParams(6, c.radialStep, 0), nullptr);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().code, c.code);
        EXPECT_TRUE(f.Moves().empty());
    }
}

TEST(PocketRecord, HasNoOutsideAndNeverRecordsBlocks)
{
    CPocketFeature f;
    f.m_name = "Pocket";
    f.m_params.tool.name = "T";
    EXPECT_EQ(f.GetSize(), 150u + 6 + 1);
    ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 40, 30)), PocketParams(6, 50, 0), nullptr).ok());
    f.m_params.tool.name = "T";
    const std::vector<uint8_t> bytes = f.SaveRecord();
    EXPECT_EQ(bytes.size(), f.GetSize());
    CPocketFeature g;
    Result<size_t> read = g.Load(bytes.data(), bytes.size(), nullptr);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), bytes.size());
    ASSERT_EQ(g.Moves().size(), f.Moves().size());
    for (size_t i = 0; i < g.Moves().size(); ++i) {
        EXPECT_EQ(g.Moves()[i].flag, f.Moves()[i].flag);
        EXPECT_NEAR(g.Moves()[i].end.x, f.Moves()[i].end.x, 1e-5);
    }
    EXPECT_EQ(g.m_params.tool.name, "T");
    EXPECT_DOUBLE_EQ(g.m_params.tool.radialStep, 50.0);
}

} // namespace

namespace {

TEST(PocketToolpath, RandomStarsKeepClearanceAndContinuity)
{
    const unsigned seed = 20261209;
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        auto contours = Make(RandomStar(random, 12 + 4 * i, 25.0, 50.0));
        if (i % 2 == 1)
            contours.push_back(Circle(0, 0, 8)); // an island in the middle
        CPocketFeature f;
        Status status = f.ComputeFromContours(contours, PocketParams(6.0, 40.0, 0.2), nullptr);
        ASSERT_TRUE(status.ok()) << FeatureErrorMessage(status.error().code);
        ExpectContinuous(f.Moves());
        ExpectClearance(f.Moves(), contours, 3.2, true);
        CContourFeature contour;
        ASSERT_TRUE(contour.ComputeFromContours(contours, PocketParams(6.0, 40.0, 0.2), nullptr).ok());
        ExpectContinuous(contour.Moves());
        ExpectClearance(contour.Moves(), contours, 3.2, true);
    }
}

} // namespace
