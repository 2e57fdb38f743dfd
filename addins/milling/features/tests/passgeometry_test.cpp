// Contour and pocket passes on small parts that once went wrong: islands at
// exactly the tool width from a wall, ribs left between the last passes,
// areas enclosed by a ring of islands, a part in another part's closed bay,
// and simplified passes that crept into the wall. Everything is checked from
// the moves: exact distances between the cutting moves and the outlines, and
// the points the tool can reach lying within its radius of a cutting move.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/toolpathsteps.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"

namespace {

using namespace shapes;
using namespace toolpathtest;

// Exact distances may differ from the drawn ones by rounding only.
constexpr double kDistanceTolerance = 1e-6;
// A point counts as cut when it lies within the tool radius of a cutting
// move and this: inner passes are simplified within 0.0005.
constexpr double kCoverTolerance = 1e-3;

using Segments = std::vector<std::unique_ptr<CSegment2D>>;

// The horizontal feed moves of the deepest level as plane segments.
Segments CuttingPath(const std::vector<CMove>& moves)
{
    double deepest = 0.0;
    for (const CMove& m : moves)
        deepest = std::min(deepest, m.end.z);
    Segments path;
    for (const CMove& m : moves) {
        if (!IsFeedMove(m.flag) || !Horizontal(m) || std::fabs(m.start.z - deepest) > 1e-9)
            continue;
        const CPoint2D a(m.start.x, m.start.y), b(m.end.x, m.end.y);
        if (IsArcMove(m.flag))
            path.push_back(std::make_unique<CArcSegment2D>(CPoint2D(m.centre.x, m.centre.y), m.radius, a, b,
                                                           IsClockwiseArc(m.flag) ? 0 : 1));
        else if (a.IsNotEqual(b))
            path.push_back(std::make_unique<CLineSegment2D>(a, b));
    }
    return path;
}

// The segments of a chain as a path.
Segments CuttingPathOf(const CCurveList& chain)
{
    Segments path;
    for (const auto& s : chain.segments)
        path.push_back(s->Clone(0));
    return path;
}

// The least exact distance between the path and the outlines.
double Clearance(const Segments& path, const std::vector<std::unique_ptr<CCurveList>>& contours)
{
    double least = 1e300;
    for (const auto& s : path)
        for (const auto& c : contours)
            for (const auto& t : c->segments) {
                CPoint2D p, q;
                s->ClosestPoints(*t, p, q);
                least = std::min(least, (p - q).Length());
            }
    return least;
}

double DistanceToPath(const Segments& path, const CPoint2D& p)
{
    double least = 1e300;
    for (const auto& s : path)
        least = std::min(least, (s->ClosestPoint(p, kClosedSegment) - p).Length());
    return least;
}

// Where the tool centre may stand: inside the first contour (or anywhere,
// outside), outside the others, and at least the offset distance from all.
bool Reachable(const std::vector<std::unique_ptr<CCurveList>>& contours, const CPoint2D& p, double distance,
               bool outside)
{
    for (size_t i = 0; i < contours.size(); ++i) {
        const PointPlace place = contours[i]->ClassifyPoint(p, 1);
        if (place != ((i == 0 && !outside) ? PointPlace::Inside : PointPlace::Outside))
            return false;
        if (DistanceTo(*contours[i], p) < distance + 1e-3)
            return false;
    }
    return true;
}

// The share of the reachable grid points within [x0, x1] x [y0, y1] that no
// cutting move comes within the tool radius of; reports the first few.
double Uncut(const Segments& path, const std::vector<std::unique_ptr<CCurveList>>& contours, double radius,
             double distance, bool outside, double x0, double y0, double x1, double y1, double grid)
{
    int reachable = 0, uncut = 0;
    for (double x = x0; x <= x1; x += grid)
        for (double y = y0; y <= y1; y += grid) {
            const CPoint2D p(x, y);
            if (!Reachable(contours, p, distance, outside))
                continue;
            ++reachable;
            const double d = DistanceToPath(path, p);
            if (d > radius + kCoverTolerance && ++uncut <= 3)
                ADD_FAILURE() << "uncut at (" << x << ", " << y << "), " << d << " from the path";
        }
    return reachable == 0 ? 0.0 : static_cast<double>(uncut) / reachable;
}

CMillingParams Tool(double diameter, double radialStep, int outside = 0)
{
    CMillingParams p = Params(0, -2, 2, diameter, 0.0, outside);
    p.tool.radialStep = radialStep;
    return p;
}

struct Part {
    std::string name;
    std::vector<std::unique_ptr<CCurveList>> contours;
    double diameter;
};

enum class Kind { Contour, Pocket };

Status Compute(Kind kind, const std::vector<std::unique_ptr<CCurveList>>& contours, const CMillingParams& p,
               std::vector<CMove>& moves)
{
    if (kind == Kind::Contour) {
        CContourFeature f;
        Status s = f.ComputeFromContours(contours, p, nullptr);
        moves = f.Moves();
        return s;
    }
    CPocketFeature f;
    Status s = f.ComputeFromContours(contours, p, nullptr);
    moves = f.Moves();
    return s;
}

// An island whose outline meets the boundary pass exactly (the gap is the
// tool's width) or nearly: the passes are cut, never dropped.
std::vector<Part> TangentIslands()
{
    std::vector<Part> parts;
    for (double gap : {2.0, 2.0 - 1e-4, 2.0 + 1e-4}) {
        const std::string g = std::to_string(gap);
        parts.push_back({"block_" + g, Make(Rect(0, 0, 20, 10), Rect(gap, 3, gap + 6, 7)), 2.0});
        parts.push_back({"circle_" + g, Make(Rect(0, 0, 20, 10), Circle(10, gap + 3, 3)), 2.0});
        parts.push_back({"cw_block_" + g, Make(Rect(0, 0, 20, 10), Rect(gap, 3, gap + 6, 7, false)), 2.0});
    }
    return parts;
}

TEST(PassGeometry, IslandsAtTheToolWidthFromTheWallAreCutAround)
{
    for (Kind kind : {Kind::Contour, Kind::Pocket}) {
        for (Part& part : TangentIslands()) {
            SCOPED_TRACE(part.name + (kind == Kind::Contour ? " contour" : " pocket"));
            std::vector<CMove> moves;
            const Status s = Compute(kind, part.contours, Tool(part.diameter, 50), moves);
            ASSERT_TRUE(s.ok()) << FeatureErrorMessage(s.error().code);
            ExpectContinuous(moves);
            const Segments path = CuttingPath(moves);
            ASSERT_FALSE(path.empty());
            EXPECT_GE(Clearance(path, part.contours), 1.0 - kDistanceTolerance);
            if (kind == Kind::Pocket) {
                EXPECT_EQ(Uncut(path, part.contours, 1.0, 1.0, false, 0, 0, 20, 10, 0.25), 0.0);
            }
        }
    }
}

// Regions the next step-over leaves nothing of, or only part of, while they
// are still wider than the tool: the last passes are added.
std::vector<Part> NarrowRegions()
{
    std::vector<Part> parts;
    for (double h : {20.0, 22.0, 24.0, 26.0, 30.0, 34.0})
        parts.push_back({"rounded_" + std::to_string(h), Make(RoundedRect(0, 0, 42, h, 8)), 10.0});
    for (double w : {12.5, 14.0, 16.0})
        parts.push_back({"slot_" + std::to_string(w), Make(Rect(0, 0, 40, w)), 6.0});
    parts.push_back({"crescent", Make(Circle(0, 0, 20), Circle(5, 0, 14)), 4.0});
    parts.push_back({"dumbbell", Make(Polygon({{0, 0}, {20, 0}, {20, 8}, {30, 8}, {30, 0}, {50, 0}, {50, 20},
                                               {30, 20}, {30, 12}, {20, 12}, {20, 20}, {0, 20}})),
                     6.0});
    return parts;
}

TEST(PassGeometry, PocketsLeaveNoRibAtAnyStepOver)
{
    for (double step : {40.0, 55.0, 70.0, 100.0}) {
        for (Part& part : NarrowRegions()) {
            SCOPED_TRACE(part.name + " at " + std::to_string(step));
            std::vector<CMove> moves;
            const Status s = Compute(Kind::Pocket, part.contours, Tool(part.diameter, step), moves);
            ASSERT_TRUE(s.ok()) << FeatureErrorMessage(s.error().code);
            ExpectContinuous(moves);
            const Segments path = CuttingPath(moves);
            const double r = part.diameter / 2;
            EXPECT_GE(Clearance(path, part.contours), r - kDistanceTolerance);
            double x0, y0, x1, y1;
            part.contours.front()->GetBounds(x0, y0, x1, y1);
            EXPECT_EQ(Uncut(path, part.contours, r, r, false, x0, y0, x1, y1, 0.2), 0.0);
        }
    }
}

// Four bars whose outlines overlap at the corners enclose a square the tool
// reaches only from above.
std::unique_ptr<CCurveList> Bar(double x0, double y0, double x1, double y1) { return Rect(x0, y0, x1, y1); }

TEST(PassGeometry, AreasEnclosedByARingOfIslandsAreCut)
{
    for (Kind kind : {Kind::Contour, Kind::Pocket}) {
        SCOPED_TRACE(kind == Kind::Contour ? "contour" : "pocket");
        auto contours = Make(Rect(0, 0, 66, 66), Bar(10, 10, 50, 15), Bar(51, 10, 56, 50), Bar(16, 51, 56, 56),
                             Bar(10, 16, 15, 56));
        std::vector<CMove> moves;
        const Status s = Compute(kind, contours, Tool(4.0, 50), moves);
        ASSERT_TRUE(s.ok()) << FeatureErrorMessage(s.error().code);
        ExpectContinuous(moves);
        const Segments path = CuttingPath(moves);
        EXPECT_GE(Clearance(path, contours), 2.0 - kDistanceTolerance);
        // The enclosed square [15, 51] x [15, 51] less the tool radius:
        // its edge pass is cut in both, its middle in the pocket.
        int inside = 0;
        for (const auto& m : path)
            inside += m->GetStartPoint().x > 16.5 && m->GetStartPoint().x < 49.5 && m->GetStartPoint().y > 16.5 &&
                      m->GetStartPoint().y < 49.5;
        EXPECT_GT(inside, 0);
        if (kind == Kind::Pocket) {
            EXPECT_EQ(Uncut(path, contours, 2.0, 2.0, false, 17, 17, 49, 49, 0.5), 0.0);
        }
    }
}

// A C-shaped frame whose mouth is narrower than the tool, so that its bay is
// closed, and a block in the bay 2 from its walls: outside milling cuts the
// bay around the block and keeps the tool radius from both.
TEST(PassGeometry, OutsideMillingOfAPartInAClosedBayKeepsClear)
{
    auto contours = Make(Polygon({{0, 0}, {40, 0}, {40, 30}, {22, 30}, {22, 25}, {35, 25}, {35, 5}, {5, 5}, {5, 25},
                                  {18, 25}, {18, 30}, {0, 30}}),
                         Rect(7, 7, 20, 15));
    std::vector<CMove> moves;
    const Status s = Compute(Kind::Contour, contours, Tool(6.0, 50, 1), moves);
    ASSERT_TRUE(s.ok()) << FeatureErrorMessage(s.error().code);
    ExpectContinuous(moves);
    const Segments path = CuttingPath(moves);
    EXPECT_GE(Clearance(path, contours), 3.0 - kDistanceTolerance);
    // The bay is still cut, round the block: a pass runs down its right side
    // 3 from the block and along the bay's right wall 3 from the frame.
    int blockSide = 0, bayWall = 0;
    for (const auto& m : path) {
        const CPoint2D a = m->GetStartPoint(), b = m->GetEndPoint();
        blockSide += std::fabs(a.x - 23) < 1e-9 && std::fabs(b.x - 23) < 1e-9;
        bayWall += std::fabs(a.x - 32) < 1e-9 && std::fabs(b.x - 32) < 1e-9;
    }
    const int inBay = blockSide * bayWall;
    EXPECT_GT(inBay, 0);
}

// A polygon of 1 500 sides: simplified offsets would chord its rounded
// corners and come nearer than the tool radius.
std::unique_ptr<CCurveList> FinePolygon(double cx, double cy, double r, int sides, bool ccw = true)
{
    std::vector<CPoint2D> points;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * kPi * i / sides * (ccw ? 1 : -1);
        // A slight ripple keeps neighbouring sides from lying nearly in line.
        const double rr = r + 0.02 * std::sin(37.0 * a);
        points.emplace_back(cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    return Polygon(points);
}

TEST(PassGeometry, SimplifiedPassesKeepTheToolRadiusFromFineParts)
{
    struct Case {
        const char* name;
        std::vector<std::unique_ptr<CCurveList>> contours;
        int outside;
    };
    std::vector<Case> cases;
    cases.push_back({"outside", Make(FinePolygon(0, 0, 50, 1500)), 1});
    cases.push_back({"inside", Make(FinePolygon(0, 0, 50, 1500)), 0});
    cases.push_back({"island", Make(Rect(-80, -80, 80, 80), FinePolygon(0, 0, 50, 1500, false)), 0});
    for (Case& c : cases) {
        for (Kind kind : {Kind::Contour, Kind::Pocket}) {
            if (kind == Kind::Pocket && c.outside)
                continue;
            SCOPED_TRACE(std::string(c.name) + (kind == Kind::Contour ? " contour" : " pocket"));
            CMillingParams p = Tool(4.0, 70, c.outside);
            p.zBottom = 0.0;
            p.offset = 0.25;
            std::vector<CMove> moves;
            const Status s = Compute(kind, c.contours, p, moves);
            ASSERT_TRUE(s.ok()) << FeatureErrorMessage(s.error().code);
            const Segments path = CuttingPath(moves);
            ASSERT_FALSE(path.empty());
            EXPECT_GE(Clearance(path, c.contours), 2.25 - kDistanceTolerance);
        }
    }
}

// When no pass can be made at all the computation says so and leaves no moves.
TEST(PassGeometry, ATooLargeToolIsAnErrorNotAnEmptySuccess)
{
    for (Kind kind : {Kind::Contour, Kind::Pocket}) {
        std::vector<CMove> moves;
        const Status s = Compute(kind, Make(Rect(0, 0, 10, 10)), Tool(12.0, 50), moves);
        ASSERT_FALSE(s.ok());
        EXPECT_EQ(s.error().code, FeatureError::NoToolpath);
        EXPECT_TRUE(moves.empty());
    }
}

// A thin last offset simplified within a tolerance wider than itself would
// fold over (or vanish); it is kept as the offset made it, with the loop's
// orientation and its area.
TEST(PassGeometry, ThinOffsetsSurviveTheirSimplification)
{
    for (bool ccw : {true, false}) {
        SCOPED_TRACE(ccw ? "ccw" : "cw");
        auto slot = Rect(0, 0, 20, 1.2, ccw);
        slot->IsClockwise(0);
        const toolpath::ChainList inner = toolpath::OffsetClosed(*slot, 0.5, slot->clockwise, 0.3);
        ASSERT_EQ(inner.size(), 1u);
        EXPECT_EQ(inner[0]->clockwise, slot->clockwise);
        EXPECT_NEAR(std::fabs(SignedArea(*inner[0])), 19.0 * 0.2, 1e-9);
        EXPECT_GE(Clearance(CuttingPathOf(*inner[0]), Make(slot->Copy())), 0.5 - kDistanceTolerance);
    }
}

// Six circles of radius 11.2 whose centres lie 12 apart round a ring: their
// merged outline grown by 0.8 makes each circle pass through its
// neighbours' centres, where an arc of the outline shrinks to a point. The
// grown outline keeps the outline's orientation, has no segment from a
// point back to itself (an arc that would run the full circle) and keeps
// the distance from every circle.
TEST(PassGeometry, GrownOutlinesLoseTheArcsThatShrinkToAPoint)
{
    toolpath::ChainList circles;
    for (int k = 0; k < 6; ++k) {
        circles.push_back(Circle(30 + 12 * std::cos(k * kPi / 3), 30 + 12 * std::sin(k * kPi / 3), 11.2));
        circles.back()->IsClockwise(0);
    }
    toolpath::ChainList merged;
    for (const auto& c : circles)
        merged.push_back(c->Copy());
    toolpath::ChainList holes;
    toolpath::MergeIslands(merged, holes);
    ASSERT_EQ(merged.size(), 1u);
    const toolpath::ChainList grown = toolpath::OffsetClosed(*merged[0], 0.8, merged[0]->clockwise ? 0 : 1, 0.0005);
    bool outer = false;
    for (const auto& g : grown) {
        for (const auto& segment : g->segments)
            EXPECT_TRUE(segment->GetStartPoint().IsNotEqual(segment->GetEndPoint()));
        if (g->clockwise != merged[0]->clockwise)
            continue;
        outer = true;
        EXPECT_GT(std::fabs(SignedArea(*g)), std::fabs(SignedArea(*merged[0])));
        toolpath::ChainList originals;
        for (const auto& c : circles)
            originals.push_back(c->Copy());
        EXPECT_GE(Clearance(CuttingPathOf(*g), originals), 0.8 - kDistanceTolerance);
    }
    EXPECT_TRUE(outer);
}

} // namespace
