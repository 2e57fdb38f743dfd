// Errors of the toolpath computations as they reach the command: each one
// names the functions it passed up through and what they were doing there.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/curvefeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace toolpathtest;

// A document that cannot create entities.
class CRefusingFactory final : public CMoveEntityFactory {
public:
    ComPtr<IEntityBase> CreateLine(const CMovePoint&, const CMovePoint&) override { return {}; }
    ComPtr<IEntityBase> CreateArc(const CMovePoint&, int, const CMovePoint&, const CMovePoint&, double) override
    {
        return {};
    }
};

enum class Kind { Pocket, Contour, Curve };

Status Compute(Kind kind, const std::vector<std::unique_ptr<CCurveList>>& contours, const CMillingParams& params,
           CMoveEntityFactory* factory)
{
    switch (kind) {
    case Kind::Pocket: return CPocketFeature().ComputeFromContours(contours, params, factory);
    case Kind::Contour: return CContourFeature().ComputeFromContours(contours, params, factory);
    case Kind::Curve: return CCurveFeature().ComputeFromChains(contours, params, factory);
    }
    return Ok{};
}

std::vector<std::unique_ptr<CCurveList>> Crossing() { return Make(Rect(0, 0, 50, 50), Rect(25, 25, 75, 75)); }
std::vector<std::unique_ptr<CCurveList>> Plate() { return Make(Rect(0, 0, 60, 40)); }

TEST(ErrorContext, AnErrorNamesWhereItPassed)
{
    CRefusingFactory refusing;
    const CMillingParams good = Params(0, -2, 1, 6, 0);
    const CMillingParams topBelowBottom = Params(-5, 0, 1, 6, 0);
    struct Case {
        const char* name;
        Kind kind;
        std::function<std::vector<std::unique_ptr<CCurveList>>()> contours;
        const CMillingParams& params;
        CMoveEntityFactory* factory;
        FeatureError code;
        // The front of the error's context.
        const char* where;
    };
    const Case cases[] = {
        {"pocket_levels", Kind::Pocket, Plate, topBelowBottom, nullptr, FeatureError::BadLevels,
         "CPocketFeature::ComputeFromContours: levels: top "},
        {"pocket_crossing", Kind::Pocket, Crossing, good, nullptr, FeatureError::ContoursCross,
         "CPocketFeature::ComputeFromContours: nesting: "},
        {"pocket_no_entities", Kind::Pocket, Plate, good, &refusing, FeatureError::EntityCreationFailed,
         "CPocketFeature::ComputeFromContours: walking the levels: WalkLevels: move "},
        {"contour_levels", Kind::Contour, Plate, topBelowBottom, nullptr, FeatureError::BadLevels,
         "CContourFeature::ComputeFromContours: levels: top "},
        {"contour_crossing", Kind::Contour, Crossing, good, nullptr, FeatureError::ContoursCross,
         "CContourFeature::ComputeFromContours: nesting: "},
        {"contour_no_entities", Kind::Contour, Plate, good, &refusing, FeatureError::EntityCreationFailed,
         "CContourFeature::ComputeFromContours: walking the levels: WalkLevels: move "},
        {"curve_levels", Kind::Curve, Plate, topBelowBottom, nullptr, FeatureError::BadLevels,
         "CCurveFeature::ComputeFromChains: levels: top "},
        {"curve_no_entities", Kind::Curve, Plate, good, &refusing, FeatureError::EntityCreationFailed,
         "CCurveFeature::ComputeFromChains: cutting the chains: CutChains: move "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Status status = Compute(c.kind, c.contours(), c.params, c.factory);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().code, c.code);
        EXPECT_EQ(status.error().context.rfind(c.where, 0), 0u) << status.error().context;
    }
}

// The picks' own errors pass through the computation that chains them.
TEST(ErrorContext, APickErrorNamesTheChaining)
{
    const CMillingParams params = Params(0, -2, 1, 6, 0);
    CPocketFeature pocket;
    const Status pocketStatus = pocket.GenerateToolpath(nullptr, params, nullptr, nullptr);
    ASSERT_FALSE(pocketStatus.ok());
    EXPECT_EQ(pocketStatus.error().code, FeatureError::NoDocument);
    EXPECT_EQ(pocketStatus.error().context.rfind("ComputeFromPicks: chaining the picks: ", 0), 0u)
        << pocketStatus.error().context;

    CCurveFeature curve;
    const Status curveStatus = curve.ComputeToolpath(nullptr, params, nullptr);
    ASSERT_FALSE(curveStatus.ok());
    EXPECT_EQ(curveStatus.error().code, FeatureError::NoDocument);
    EXPECT_EQ(curveStatus.error().context.rfind("CCurveFeature::ComputeToolpath: chaining the picks: ", 0), 0u)
        << curveStatus.error().context;
}

// What a person reads: the code's message, with the context in brackets.
TEST(ErrorContext, TheTextGivesTheMessageAndTheContext)
{
    EXPECT_EQ(FeatureErrorText(Error{FeatureError::NoDocument, ""}), FeatureErrorMessage(FeatureError::NoDocument));
    EXPECT_EQ(FeatureErrorText(Passed(Error{FeatureError::BadLevels, "step 0"}, "levels")),
              std::string(FeatureErrorMessage(FeatureError::BadLevels)) + " (levels: step 0)");
}

} // namespace
