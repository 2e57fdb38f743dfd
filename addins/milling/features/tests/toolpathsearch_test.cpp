// The indexed searches of the toolpaths (chains near one another, nearest
// link points) against the plain all-pairs searches they replace: the same
// nesting, passes, links and moves, to the last bit.
#include <gtest/gtest.h>

#include <random>

#include "addins/milling/features/chainindex.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "addins/milling/features/toolpathsteps.h"

namespace {

using namespace shapes;
using namespace toolpathtest;
using Chains = std::vector<std::unique_ptr<CCurveList>>;

// A boundary with a grid of islands: gears, circles and rounded squares,
// some close enough that their grown outlines merge, one touching the
// boundary, one with an island of its own inside (a pocket in an island).
Chains IslandField(double spacing)
{
    Chains part;
    part.push_back(Moved(Gear(40, 2.0), {0, 0})); // root radius about 25
    int k = 0;
    for (double x = -15; x <= 15; x += spacing)
        for (double y = -15; y <= 15; y += spacing, ++k) {
            if (k % 3 == 0)
                part.push_back(Circle(x, y, 1.5));
            else if (k % 3 == 1)
                part.push_back(Moved(Gear(6, 0.4), {x, y}));
            else
                part.push_back(RoundedRect(x - 1.2, y - 1.2, x + 1.2, y + 1.2, 0.4));
        }
    part.push_back(Circle(0, 23.5, 2.0)); // at the boundary's teeth
    return part;
}

Chains NestedIslands()
{
    return Make(Rect(0, 0, 120, 100), Rect(20, 20, 100, 80, false), Rect(40, 40, 80, 60), Circle(60, 50, 3),
                Circle(10, 10, 3), Circle(17, 10, 3), Circle(110, 90, 4));
}

void ExpectSameMoves(const std::vector<CMove>& a, const std::vector<CMove>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE("move " + std::to_string(i));
        EXPECT_EQ(a[i].flag, b[i].flag);
        for (auto [p, q] : {std::pair(a[i].start, b[i].start), std::pair(a[i].end, b[i].end),
                            std::pair(a[i].centre, b[i].centre)}) {
            EXPECT_DOUBLE_EQ(p.x, q.x);
            EXPECT_DOUBLE_EQ(p.y, q.y);
            EXPECT_DOUBLE_EQ(p.z, q.z);
        }
    }
}

struct PartCase {
    const char* name;
    Chains contours;
};

std::vector<PartCase> Parts()
{
    std::vector<PartCase> cases;
    cases.push_back({"islands_apart", IslandField(7.5)});
    cases.push_back({"islands_merging", IslandField(4.5)});
    cases.push_back({"nested_islands", NestedIslands()});
    cases.push_back({"two_islands_merged", Make(Rect(0, 0, 100, 60), Circle(40, 30, 5), Circle(55, 30, 5))});
    return cases;
}

TEST(ToolpathSearch, IndexedToolpathsEqualThePlainSearch)
{
    for (PartCase& c : Parts()) {
        SCOPED_TRACE(c.name);
        for (int outside : {0, 1}) {
            SCOPED_TRACE(outside ? "contour outside" : "contour inside");
            CContourFeature indexed, plain;
            const CMillingParams p = Params(0, -1, 1, 3.0, 0.2, outside);
            ASSERT_TRUE(indexed.ComputeFromContours(c.contours, p, nullptr, nullptr, PairSearch::Indexed).ok());
            ASSERT_TRUE(plain.ComputeFromContours(c.contours, p, nullptr, nullptr, PairSearch::AllPairs).ok());
            ASSERT_FALSE(indexed.Moves().empty());
            ExpectSameMoves(indexed.Moves(), plain.Moves());
        }
        SCOPED_TRACE("pocket");
        CPocketFeature indexed, plain;
        const CMillingParams p = Params(0, -1, 1, 3.0, 0.2);
        ASSERT_TRUE(indexed.ComputeFromContours(c.contours, p, nullptr, nullptr, PairSearch::Indexed).ok());
        ASSERT_TRUE(plain.ComputeFromContours(c.contours, p, nullptr, nullptr, PairSearch::AllPairs).ok());
        ASSERT_FALSE(indexed.Moves().empty());
        ExpectSameMoves(indexed.Moves(), plain.Moves());
    }
}

TEST(ToolpathSearch, IndexedNestingReportsTheSameCrossing)
{
    Chains part = IslandField(7.5);
    part.push_back(Circle(-6.5, 0.0, 1.5));   // crosses the circle island at (-7.5, 0)
    part.push_back(Circle(-14.0, -15.0, 1.5)); // crosses the first island, at (-15, -15)
    for (PairSearch search : {PairSearch::Indexed, PairSearch::AllPairs}) {
        toolpath::ContourTable table = toolpath::KeepUsableContours(part);
        Status status = toolpath::NestContours(table, 0, search);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().code, FeatureError::ContoursCross);
        toolpath::ContourTable reference = toolpath::KeepUsableContours(part);
        Status first = toolpath::NestContours(reference, 0, PairSearch::AllPairs);
        EXPECT_EQ(status.error().context, first.error().context);
    }
    Chains nested = NestedIslands();
    toolpath::ContourTable indexed = toolpath::KeepUsableContours(nested);
    toolpath::ContourTable plain = toolpath::KeepUsableContours(nested);
    ASSERT_TRUE(toolpath::NestContours(indexed, 0, PairSearch::Indexed).ok());
    ASSERT_TRUE(toolpath::NestContours(plain, 0, PairSearch::AllPairs).ok());
    EXPECT_EQ(indexed.parent, plain.parent);
    EXPECT_EQ(indexed.machined, plain.machined);
    EXPECT_EQ(indexed.parent, (std::vector<int>{-1, 0, 1, 2, 0, 0, 0}));
}

// Link points of children round a parent pass, far and near, inside and
// outside it, with and without a stop distance: those of the parent pass's
// own ClosestPoints.
TEST(ToolpathSearch, IndexedLinksEqualClosestPoints)
{
    std::mt19937 random(7);
    Chains passes;
    passes.push_back(Gear(60, 1.5));
    passes.push_back(Circle(0, 0, 20));
    passes.push_back(RandomStar(random, 80, 10, 25));
    Chains children;
    children.push_back(Circle(0, 0, 3));
    children.push_back(Circle(8, 2, 1));
    children.push_back(Moved(Gear(8, 0.5), {-5, 4}));
    children.push_back(Circle(0, 0, 40));
    children.push_back(RoundedRect(10, -3, 16, 3, 1));
    children.push_back(Circle(60, 60, 2));
    children.push_back(Gear(45, 1.2)); // long, close to the gear pass
    for (size_t p = 0; p < passes.size(); ++p)
        for (double stop : {0.0, 0.5, 2.0, 50.0}) {
            SCOPED_TRACE("pass " + std::to_string(p) + ", stop " + std::to_string(stop));
            CRegionNode parent;
            parent.pass = passes[p].get();
            std::vector<CRegionNode> indexed(children.size()), plain(children.size());
            std::vector<CRegionNode*> indexedNodes, plainNodes;
            for (size_t c = 0; c < children.size(); ++c) {
                indexed[c].pass = plain[c].pass = children[c].get();
                indexed[c].parent = plain[c].parent = &parent;
                indexedNodes.push_back(&indexed[c]);
                plainNodes.push_back(&plain[c]);
            }
            toolpath::LinkToParents(indexedNodes, stop, PairSearch::Indexed);
            toolpath::LinkToParents(plainNodes, stop, PairSearch::AllPairs);
            for (size_t c = 0; c < children.size(); ++c) {
                SCOPED_TRACE("child " + std::to_string(c));
                EXPECT_EQ(indexed[c].parentSegment, plain[c].parentSegment);
                EXPECT_EQ(indexed[c].entrySegment, plain[c].entrySegment);
                EXPECT_DOUBLE_EQ(indexed[c].parentPoint.x, plain[c].parentPoint.x);
                EXPECT_DOUBLE_EQ(indexed[c].parentPoint.y, plain[c].parentPoint.y);
                EXPECT_DOUBLE_EQ(indexed[c].entryPoint.x, plain[c].entryPoint.x);
                EXPECT_DOUBLE_EQ(indexed[c].entryPoint.y, plain[c].entryPoint.y);
            }
        }
}

// Points on a grid across each chain, on its vertices, on its joints' heights
// and just beside them: the indexed side test gives the chain's own answer.
TEST(ToolpathSearch, IndexedSideOfChainEqualsTheChainsOwnTest)
{
    std::mt19937 random(11);
    Chains chains;
    chains.push_back(Gear(30, 1.0));
    chains.push_back(Reversed(*Gear(12, 2.0)));
    chains.push_back(Rect(0, 0, 10, 6));
    chains.push_back(Rect(0, 0, 10, 6, false));
    chains.push_back(Circle(1, 2, 5));
    chains.push_back(TwoArcCircle(0, 0, 4, false));
    chains.push_back(RoundedRect(-5, -3, 5, 3, 1));
    chains.push_back(RandomStar(random, 40, 3, 9));
    chains.push_back(Polygon({{0, 0}, {4, 0}, {4, 4}, {2, 2}, {0, 4}})); // vertices at one height
    for (size_t c = 0; c < chains.size(); ++c) {
        SCOPED_TRACE("chain " + std::to_string(c));
        CCurveList& chain = *chains[c];
        chain.IsClockwise(0);
        const toolpath::CChainIndex index(chain);
        double minX, minY, maxX, maxY;
        chain.GetBounds(minX, minY, maxX, maxY);
        std::vector<CPoint2D> probes;
        for (double x = minX - 1; x <= maxX + 1; x += (maxX - minX) / 23)
            for (double y = minY - 1; y <= maxY + 1; y += (maxY - minY) / 17)
                probes.emplace_back(x, y);
        for (const auto& s : chain.segments)
            for (double dy : {0.0, 1e-4, -1e-4, 0.3})
                for (double dx : {0.0, -0.5, 0.5})
                    probes.push_back(s->GetStartPoint() + CPoint2D(dx, dy));
        for (const CPoint2D& p : probes)
            ASSERT_EQ(index.ClassifyPoint(p), chain.ClassifyPoint(p, 0)) << p.x << ", " << p.y;
        Chains others = Make(Circle(0, 0, 0.5), Circle(3, 2, 1), Rect(-20, -20, 20, 20), Moved(Gear(5, 0.3), {2, 1}));
        for (size_t o = 0; o < others.size(); ++o) {
            SCOPED_TRACE("other " + std::to_string(o));
            EXPECT_EQ(index.ContainsList(*others[o]), chain.ContainsList(*others[o], 0));
            const toolpath::CChainIndex otherIndex(*others[o]);
            std::vector<CPoint2D> points;
            if (chain.IntersectWith(*others[o], &points, nullptr, nullptr, 0x13, 0x13) > 0) {
                EXPECT_TRUE(index.MayMeet(otherIndex));
                EXPECT_TRUE(otherIndex.MayMeet(index));
            }
        }
    }
}

} // namespace
