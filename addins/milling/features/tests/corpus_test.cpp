// Adversarial parts machined by contour and pocket toolpaths, checked from
// the moves: clearance of every cutting move to every outline, the free
// boundary traced (contour) or the reachable area covered (pocket), and the
// NC program of both dialects printed with consistent arcs and read back to
// the same moves.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/entitycomponentdocument.h"
#include "addins/milling/features/tests/toolpath_check.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "postproc/postprocessor.h"

namespace {

using namespace shapes;
using namespace toolpathcheck;
using toolpathtest::Make;
using Parts = std::vector<std::unique_ptr<CCurveList>>;

// The least distance a cutting move may keep from an outline below the
// offset distance: the rounding of the arithmetic, nothing more.
constexpr double kClearanceSlack = 1e-6;
// Outer corners that turn by less than 15 degrees are joined sharp, not
// round: the cut then stays off the free boundary's corner arc by up to
// (1 - cos 7.5 degrees) of the offset distance. Plus the simplification of
// the offsets (0.0005) and the print grid.
const double kSharpJoinShortfall = 1.0 - std::cos(7.5 * kPi / 180.0);
constexpr double kPathSlack = 1e-3;
// The largest difference of the two radii of a printed arc that a strict
// controller accepts, and how near the read-back moves must come.
constexpr double kPrintedRadiusTolerance = 0.0005;
constexpr double kReadBackTolerance = 0.001;

enum class Kind { ContourInside, ContourOutside, Pocket };

struct CorpusCase {
    std::string name;
    std::function<Parts()> parts;
    Kind kind = Kind::Pocket;
    double toolDiameter = 2.0;
    double offset = 0.0;
    double radialStep = 40.0;
    double gridStep = 0.5; // of the coverage grid
};

std::ostream& operator<<(std::ostream& out, const CorpusCase& c) { return out << c.name; }

// ---- parts ----------------------------------------------------------------

std::unique_ptr<CCurveList> PolygonCircle(double cx, double cy, double r, int n, bool ccw = true)
{
    std::vector<CPoint2D> points;
    for (int k = 0; k < n; ++k) {
        const double a = (ccw ? 1 : -1) * kTwoPi * k / n;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(points);
}

// A 30 x 20 block with a slot of width w and depth 10 rising from the
// middle of its top edge.
std::unique_ptr<CCurveList> SlottedBlock(double w)
{
    const double x0 = 15 - w / 2, x1 = 15 + w / 2;
    return Polygon({{0, 0}, {30, 0}, {30, 20}, {x1, 20}, {x1, 30}, {x0, 30}, {x0, 20}, {0, 20}});
}

// Six round islands of radius 5 on a ring of radius 12 in the middle of a
// square: 2 apart, so that their offsets overlap and enclose the middle.
Parts RingOfIslands(double toolGap, double side = 60)
{
    Parts parts = Make(Rect(0, 0, side, side));
    const double ring = 10.0 + toolGap / 2 / std::sin(kPi / 6), m = side / 2;
    for (int k = 0; k < 6; ++k)
        parts.push_back(Circle(m + ring * std::cos(k * kPi / 3), m + ring * std::sin(k * kPi / 3), 5));
    return parts;
}

// The ring of islands round a small round island in its middle: the area
// enclosed by the ring is cleared round the middle island.
Parts RingRoundIsland()
{
    Parts parts = RingOfIslands(2.0);
    parts.push_back(Circle(30, 30, 2));
    return parts;
}

// An island shaped like a C whose bay the tool cannot enter through its
// mouth (2 wide), and a block standing in the bay: the bay is cleared round
// the block.
Parts IslandInBayOfIsland()
{
    return Make(Rect(0, 0, 50, 40),
                Polygon({{10, 8}, {40, 8}, {40, 19}, {36, 19}, {36, 12}, {14, 12}, {14, 28}, {36, 28}, {36, 21},
                         {40, 21}, {40, 32}, {10, 32}}),
                Rect(22, 17, 28, 23));
}

// A frame shaped like a C whose bay is closed but for a mouth of width 4,
// and a block standing in the bay 2 from its walls.
Parts FrameWithBlockInBay()
{
    return Make(Polygon({{0, 0}, {40, 0}, {40, 18}, {32, 18}, {32, 8}, {8, 8}, {8, 32}, {32, 32}, {32, 22},
                         {40, 22}, {40, 40}, {0, 40}}),
                Rect(10, 10, 20, 20));
}

// Inside the circle of radius r about the origin and outside the circle of
// radius s about (shift, 0): widest on the left, thinning to horns on the
// right.
std::unique_ptr<CCurveList> Crescent(double r, double s, double shift)
{
    const double x = (r * r - s * s + shift * shift) / (2 * shift), y = std::sqrt(r * r - x * x);
    auto list = std::make_unique<CCurveList>();
    list->Append(std::make_unique<CArcSegment2D>(CPoint2D(0, 0), CPoint2D(x, y), CPoint2D(x, -y), 1));
    list->Append(std::make_unique<CArcSegment2D>(CPoint2D(shift, 0), CPoint2D(x, -y), CPoint2D(x, y), 0));
    return list;
}

struct PartDefinition {
    const char* name;
    std::function<Parts()> parts;
    double toolDiameter;
    double offset;
    bool outside; // also contour milled on the outside
    bool pocket;
    double gridStep;
};

std::vector<PartDefinition> Parts_()
{
    // Tool radius 1: an island 2.0 from the wall touches the boundary's
    // offset; 1e-4 nearer or farther it crosses it or misses it.
    const auto islandAt = [](double gap) {
        return [gap] { return Make(Rect(0, 0, 20, 10), Circle(10, 5, 5 - gap)); };
    };
    const auto islandPair = [](double gap) {
        return [gap] { return Make(Rect(0, 0, 40, 20), Circle(13, 10, 5), Circle(23 + gap, 10, 5)); };
    };
    return {
        {"island_tangent", islandAt(2.0), 2.0, 0.0, false, true, 0.25},
        {"island_near_tangent_in", islandAt(2.0 - 1e-4), 2.0, 0.0, false, true, 0.25},
        {"island_near_tangent_out", islandAt(2.0 + 1e-4), 2.0, 0.0, false, true, 0.25},
        {"islands_tangent", islandPair(2.0), 2.0, 0.0, true, true, 0.25},
        {"islands_near_tangent_in", islandPair(2.0 - 1e-4), 2.0, 0.0, true, true, 0.25},
        {"islands_near_tangent_out", islandPair(2.0 + 1e-4), 2.0, 0.0, true, true, 0.25},
        // The material a wide step leaves round a lone island encloses it.
        {"island_amid_wide_pocket", [] { return Make(Rect(0, 0, 30, 24), Circle(13, 11, 2.5)); }, 4.0, 0.0, false,
         true, 0.25},
        {"slot_at_tool_width", [] { return Make(SlottedBlock(6.0)); }, 6.0, 0.0, true, true, 0.5},
        {"slot_below_tool_width", [] { return Make(SlottedBlock(5.5)); }, 6.0, 0.0, true, true, 0.5},
        {"slot_just_above_tool_width", [] { return Make(SlottedBlock(6.0 + 1e-4)); }, 6.0, 0.0, true, true, 0.5},
        {"narrow_slot", [] { return Make(Rect(0, 0, 60, 14)); }, 6.0, 0.0, false, true, 0.5},
        {"ring_of_islands", [] { return RingOfIslands(2.0); }, 3.0, 0.0, false, true, 0.5},
        {"ring_of_islands_with_allowance", [] { return RingOfIslands(2.0); }, 2.0, 0.4, false, true, 0.5},
        {"ring_round_island", RingRoundIsland, 3.0, 0.0, false, true, 0.5},
        // A ring-shaped island: its hole is a pocket again, round an island
        // of its own.
        {"ring_shaped_island",
         [] { return Make(Rect(0, 0, 60, 60), Circle(30, 30, 20), Circle(30, 30, 12), Circle(30, 30, 4)); }, 3.0, 0.0,
         false, true, 0.5},
        // The ring's outer islands 2 from the walls: their offsets cut into
        // the boundary's, and the middle stays enclosed.
        {"ring_against_walls", [] { return RingOfIslands(2.0, 38); }, 3.0, 0.0, false, true, 0.5},
        {"island_in_bay_of_island", IslandInBayOfIsland, 3.0, 0.0, false, true, 0.5},
        {"block_in_closed_bay", FrameWithBlockInBay, 6.0, 0.0, true, false, 0.5},
        {"rounded_rectangle", [] { return Make(RoundedRect(0, 0, 80, 44, 8)); }, 10.0, 0.0, true, true, 1.0},
        {"thin_crescent", [] { return Make(Crescent(20, 16, 6)); }, 6.0, 0.0, true, true, 0.5},
        {"wide_crescent", [] { return Make(Crescent(30, 24, 10)); }, 6.0, 0.0, true, true, 0.5},
        {"thin_wedge", [] { return Make(Polygon({{0, 0}, {60, 0}, {0, 8}})); }, 2.0, 0.0, true, true, 0.5},
        {"fine_gear", [] { return Make(Gear(48, 0.6)); }, 2.0, 0.1, true, true, 0.5},
        {"gear_with_round_island", [] { return Make(Gear(40, 1.0), Circle(0, 0, 10)); }, 3.0, 0.0, false, true,
         0.75},
        {"polygon_circles_1500_segments",
         [] { return Make(PolygonCircle(0, 0, 40, 1500), PolygonCircle(5, 0, 12, 1500)); }, 6.0, 0.0, true, true,
         1.0},
    };
}

std::string StepName(double step)
{
    std::ostringstream s;
    s << static_cast<int>(step);
    return s.str();
}

std::vector<CorpusCase> AllCases()
{
    std::vector<CorpusCase> cases;
    for (const PartDefinition& d : Parts_()) {
        CorpusCase c;
        c.parts = d.parts;
        c.toolDiameter = d.toolDiameter;
        c.offset = d.offset;
        c.gridStep = d.gridStep;
        c.name = std::string(d.name) + "_contour";
        c.kind = Kind::ContourInside;
        cases.push_back(c);
        if (d.outside) {
            c.name = std::string(d.name) + "_outside";
            c.kind = Kind::ContourOutside;
            cases.push_back(c);
        }
        if (d.pocket)
            for (double step : {40.0, 55.0, 70.0, 100.0}) {
                c.name = std::string(d.name) + "_pocket_" + StepName(step);
                c.kind = Kind::Pocket;
                c.radialStep = step;
                cases.push_back(c);
            }
    }
    return cases;
}

// ---- the checks -----------------------------------------------------------

using Postprocessor = toolpathcheck::PostprocessorHolder;

class CorpusToolpath : public EntityComponentTest, public testing::WithParamInterface<CorpusCase> {};

TEST_P(CorpusToolpath, KeepsClearanceCutsWhatItCanReachAndReadsBack)
{
    const CorpusCase& c = GetParam();
    const Parts parts = c.parts();
    // One level: every level cuts the same passes.
    CMillingParams params = toolpathtest::Params(0, -1, 2, c.toolDiameter, c.offset,
                                                 c.kind == Kind::ContourOutside ? 1 : 0);
    params.tool.radialStep = c.radialStep;
    const double radius = c.toolDiameter / 2, distance = radius + c.offset;

    std::vector<CMove> moves;
    if (c.kind == Kind::Pocket) {
        CPocketFeature f;
        const Status status = f.ComputeFromContours(parts, params, nullptr);
        ASSERT_TRUE(status.ok()) << FeatureErrorMessage(status.error().code);
        moves = f.Moves();
    } else {
        CContourFeature f;
        const Status status = f.ComputeFromContours(parts, params, nullptr);
        ASSERT_TRUE(status.ok()) << FeatureErrorMessage(status.error().code);
        moves = f.Moves();
    }
    ASSERT_FALSE(moves.empty()) << "success with no moves";

    const OutlineSet outlines(parts);
    const Machining machining = c.kind == Kind::ContourOutside ? Machining::Outside : Machining::Inside;
    const Clearance clearance = MeasureClearance(moves, outlines, distance, machining, params.zTop);
    EXPECT_GE(clearance.nearest, distance - kClearanceSlack)
        << "move " << clearance.move << " comes " << distance - clearance.nearest << " too near";
    EXPECT_EQ(clearance.movesOutside, 0) << "cutting moves outside the machined area";

    const FreeArea free(outlines, distance, machining);
    const std::vector<PlaneCurve> cut = DeepestCut(moves);
    if (c.kind == Kind::Pocket) {
        // Each inward pass is offset from the one before by the step.
        const double step = 2 * radius * c.radialStep / 100.0;
        const double slack = kPathSlack + kSharpJoinShortfall * std::max(distance, step);
        const Coverage coverage = MeasureCoverage(free, outlines, cut, radius, c.gridStep, slack);
        EXPECT_GT(coverage.reachable, 0);
        EXPECT_EQ(coverage.uncut, 0) << coverage.uncut << " of " << coverage.reachable << " reachable points ("
                                     << 100.0 * coverage.UncutFraction() << " %) uncut, worst "
                                     << coverage.worst << " beyond the tool at (" << coverage.worstAt.x << ", "
                                     << coverage.worstAt.y << ")";
    } else {
        const double slack = kPathSlack + kSharpJoinShortfall * distance;
        const Trace trace = MeasureTrace(free, cut, 0.1 * radius, slack);
        EXPECT_GT(free.BoundaryLength(), 0.0);
        EXPECT_DOUBLE_EQ(trace.missedFraction, 0.0)
            << 100.0 * trace.missedFraction << " % of the free boundary not traced, worst " << trace.worst
            << " at (" << trace.worstAt.x << ", " << trace.worstAt.y << ")";
    }

    // The program in both dialects, away from the origin so that the
    // printed numbers are not the toolpath's own.
    CContourFeature program;
    for (const CMove& m : moves)
        ASSERT_TRUE(program.AppendMove(m, nullptr).ok());
    const CMovePoint origin{0.1234, -0.0567, 0.5};
    for (int dialect : {0, 1}) {
        SCOPED_TRACE("dialect " + std::to_string(dialect));
        Postprocessor pp(dialect);
        CNcOutputContext context;
        context.postprocessor = pp.p;
        context.machine = {true, dialect == 0, dialect == 1};
        context.origin = origin;
        std::vector<std::string> lines;
        ASSERT_TRUE(program.WriteNc(lines, -1, CMillingFeature::NcBlocks::Discard, context).ok());
        EXPECT_LE(WorstArcRadiusDifference(ReadProgram(pp.p, lines)), kPrintedRadiusTolerance + 1e-9);
        const std::string difference = CompareDrawn(moves, DrawProgram(pp.p, lines), origin, kReadBackTolerance);
        EXPECT_EQ(difference, "");
    }
}

std::string CaseName(const testing::TestParamInfo<CorpusCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Parts, CorpusToolpath, testing::ValuesIn(AllCases()), CaseName);

// Where the tool fits nowhere there is nothing to cut, and the toolpath
// says so instead of succeeding with no moves.
// Disabled: a toolpath that cannot be made is reported as success.
TEST(CorpusToolpathFailure, ToolWiderThanEveryPartIsAnError)
{
    struct Case {
        const char* name;
        std::function<Parts()> parts;
        Kind kind;
    };
    const Case cases[] = {
        {"slot_narrower_than_the_tool_contour", [] { return Make(Rect(0, 0, 30, 5)); }, Kind::ContourInside},
        {"slot_narrower_than_the_tool_pocket", [] { return Make(Rect(0, 0, 30, 5)); }, Kind::Pocket},
        {"island_filling_the_pocket", [] { return Make(Rect(0, 0, 20, 20), Rect(2, 2, 18, 18, false)); },
         Kind::Pocket},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parts parts = c.parts();
        const CMillingParams params = toolpathtest::Params(0, -1, 2, 6.0, 0.0);
        CContourFeature contour;
        CPocketFeature pocket;
        const Status status = c.kind == Kind::Pocket ? pocket.ComputeFromContours(parts, params, nullptr)
                                                     : contour.ComputeFromContours(parts, params, nullptr);
        EXPECT_FALSE(status.ok());
        EXPECT_TRUE(contour.Moves().empty());
        EXPECT_TRUE(pocket.Moves().empty());
    }
}

} // namespace
