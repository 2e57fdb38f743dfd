// Contour toolpaths: levels, continuity, clearance from every contour, each
// pass cut once, errors reported as errors.
#include <gtest/gtest.h>


#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/regionnode.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

TEST(ContourLevels, FollowTopBottomAndStep)
{
    struct Case {
        const char* name;
        double top, bottom, step;
        std::vector<double> levels;
        bool ok;
    };
    const Case cases[] = {
        {"whole_steps_up_from_bottom", 0, -10, 3, {-1, -4, -7, -10}, true},
        {"exact_division", 0, -9, 3, {0, -3, -6, -9}, true},
        {"top_equals_bottom_step_zero", -2, -2, 0, {-2}, true},
        {"top_equals_bottom_step_positive", -2, -2, 5, {-2}, true},
        {"step_zero_with_depth", 0, -5, 0, {}, false},
        {"negative_step", 0, -5, -1, {}, false},
        {"top_below_bottom", -5, 0, 1, {}, false},
        {"absurd_level_count", 0, -1000, 1e-9, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result<std::vector<double>> levels = ComputeLevels(Params(c.top, c.bottom, c.step, 6, 0));
        ASSERT_EQ(levels.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(levels.error().code, FeatureError::BadLevels);
            continue;
        }
        ASSERT_EQ(levels.value().size(), c.levels.size());
        for (size_t i = 0; i < c.levels.size(); ++i)
            EXPECT_NEAR(levels.value()[i], c.levels[i], 1e-12);
    }
}

struct ShapeCase {
    const char* name;
    std::vector<std::unique_ptr<CCurveList>> contours;
    int outside;
    double expectedLengthPerLevel; // 0: not checked
};

std::vector<ShapeCase> ShapeCases()
{
    const double d = 3.5; // radius 3 + offset 0.5
    std::vector<ShapeCase> cases;
    cases.push_back(ShapeCase{"rectangle", Make(Rect(0, 0, 100, 60)), 0, 2 * (100 - 2 * d + 60 - 2 * d)});
    cases.push_back(ShapeCase{"rectangle_clockwise", Make(Rect(0, 0, 100, 60, false)), 0, 2 * (100 - 2 * d + 60 - 2 * d)});
    cases.push_back(ShapeCase{"rectangle_with_circle_island", Make(Rect(0, 0, 100, 60), Circle(50, 30, 10)), 0,
                     2 * (100 - 2 * d + 60 - 2 * d) + 2 * kPi * (10 + d)});
    cases.push_back(ShapeCase{"outside_rectangle", Make(Rect(0, 0, 100, 60)), 1, 2 * (100 + 60) + 2 * kPi * d});
    cases.push_back(ShapeCase{"rounded_rectangle", Make(RoundedRect(0, 0, 80, 50, 8)), 0, 0});
    cases.push_back(ShapeCase{"two_islands_merged", Make(Rect(0, 0, 100, 60), Circle(40, 30, 5), Circle(55, 30, 5)), 0, 0});
    cases.push_back(ShapeCase{"island_touching_boundary", Make(Rect(0, 0, 100, 60), Circle(10, 30, 8)), 0, 0});
    cases.push_back(ShapeCase{"nested_islands",
                     Make(Rect(0, 0, 120, 100), Rect(20, 20, 100, 80, false), Rect(40, 40, 80, 60)), 0, 0});
    cases.push_back(ShapeCase{"full_circle_pocket", Make(Circle(0, 0, 30)), 0, 2 * kPi * (30 - d)});
    cases.push_back(ShapeCase{"islands_in_pocket_outside", Make(Rect(0, 0, 100, 60), Rect(30, 20, 70, 40)), 1, 0});
    return cases;
}

TEST(ContourToolpath, MovesAreContinuousKeepClearanceAndCutEachPassOnce)
{
    const double d = 3.5;
    for (ShapeCase& c : ShapeCases()) {
        SCOPED_TRACE(c.name);
        CContourFeature f;
        const CMillingParams params = Params(0, -6, 2.5, 6, 0.5, c.outside);
        Status status = f.ComputeFromContours(c.contours, params, nullptr);
        ASSERT_TRUE(status.ok()) << FeatureErrorMessage(status.error().code);
        ASSERT_FALSE(f.Moves().empty());
        ExpectContinuous(f.Moves());
        ExpectClearance(f.Moves(), c.contours, d, c.outside == 0);
        const std::map<double, double> lengths = CutLengthByLevel(f.Moves());
        ASSERT_EQ(lengths.size(), 3u); // -1, -3.5, -6
        EXPECT_NEAR(lengths.begin()->first, -6.0, 1e-12);
        EXPECT_NEAR(lengths.rbegin()->first, -1.0, 1e-12);
        for (const auto& [z, length] : lengths) {
            SCOPED_TRACE(z);
            EXPECT_NEAR(length, lengths.begin()->second, 1e-6); // every level cuts the same passes
            if (c.expectedLengthPerLevel > 0) {
                EXPECT_NEAR(length, c.expectedLengthPerLevel, 0.01);
            }
        }
        // The program starts and ends every entry above the material.
        EXPECT_DOUBLE_EQ(f.Moves().front().start.z, params.zSafePlane);
    }
}

TEST(ContourToolpath, SecondLevelStepsDownWithoutRetract)
{
    CContourFeature f;
    ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 100, 60)), Params(0, -4, 2, 6, 0), nullptr).ok());
    int rapids = 0, plunges = 0;
    for (const CMove& m : f.Moves()) {
        rapids += !IsFeedMove(m.flag);
        plunges += IsFeedMove(m.flag) && !Horizontal(m);
    }
    EXPECT_EQ(rapids, 1); // the single approach from the safe plane
    EXPECT_EQ(plunges, 3); // engage to -0, then -2, then -4
}

TEST(ContourToolpath, FailuresAreReportedAndLeaveNoMoves)
{
    struct Case {
        const char* name;
        std::vector<std::unique_ptr<CCurveList>> contours;
        FeatureError code;
    };
    std::vector<Case> cases;
    cases.push_back(Case{"crossing_contours", Make(Rect(0, 0, 50, 50), Rect(25, 25, 75, 75)), FeatureError::ContoursCross});
    cases.push_back(Case{"open_only", Make(Polygon({{0, 0}, {10, 0}, {10, 10}}, false)), FeatureError::NoUsableContour});
    cases.push_back(Case{"self_crossing", Make(Polygon({{0, 0}, {10, 10}, {10, 0}, {0, 10}})), FeatureError::NoUsableContour});
    cases.push_back(Case{"nothing", {}, FeatureError::NoUsableContour});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CContourFeature f;
        ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 100, 60)), Params(0, -1, 1, 6, 0), nullptr).ok());
        Status status = f.ComputeFromContours(c.contours, Params(0, -1, 1, 6, 0), nullptr);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().code, c.code);
        EXPECT_TRUE(f.Moves().empty());
    }
}

TEST(ContourToolpath, SlotNarrowerThanToolYieldsNoPassButOthersAreCut)
{
    CContourFeature f;
    ASSERT_TRUE(f.ComputeFromContours(Make(Rect(0, 0, 5, 40), Rect(20, 0, 60, 40)), Params(0, -1, 1, 6, 0), nullptr).ok());
    ASSERT_FALSE(f.Moves().empty());
    for (const CMove& m : f.Moves())
        EXPECT_GE(m.end.x, 20.0);
}

// A document that cannot create entities.
class CFailingFactory : public CMoveEntityFactory {
public:
    ComPtr<IEntityBase> CreateLine(const CMovePoint&, const CMovePoint&) override { return {}; }
    ComPtr<IEntityBase> CreateArc(const CMovePoint&, int, const CMovePoint&, const CMovePoint&, double) override
    {
        return {};
    }
};

TEST(ContourToolpath, FailedEntityCreationIsAnErrorWithoutMoves)
{
    CContourFeature f;
    CFailingFactory factory;
    Status status = f.ComputeFromContours(Make(Rect(0, 0, 100, 60)), Params(0, -1, 1, 6, 0), &factory);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, FeatureError::EntityCreationFailed);
    EXPECT_TRUE(f.Moves().empty());
}

} // namespace
