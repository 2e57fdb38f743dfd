// Merging island outlines: overlapping outlines become one, enclosed areas
// come back as holes, every original outline is a member of exactly one
// merged outline, and the indexed and plain searches agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "addins/milling/features/toolpathsteps.h"

namespace {

using namespace shapes;
using toolpath::ChainList;

ChainList Circles(const std::vector<std::pair<CPoint2D, double>>& circles)
{
    ChainList list;
    for (const auto& [c, r] : circles) {
        list.push_back(Circle(c.x, c.y, r));
        list.back()->IsClockwise(0);
    }
    return list;
}

// A row of circles, each overlapping the next.
std::vector<std::pair<CPoint2D, double>> Row(int count)
{
    std::vector<std::pair<CPoint2D, double>> row;
    for (int i = 0; i < count; ++i)
        row.push_back({CPoint2D(1.5 * i, (i % 2) * 0.5), 1.0});
    return row;
}

// Circles round a ring, each overlapping its neighbours, enclosing a hole.
std::vector<std::pair<CPoint2D, double>> Ring(int count, double radius)
{
    std::vector<std::pair<CPoint2D, double>> ring;
    for (int i = 0; i < count; ++i) {
        const double a = kTwoPi * i / count;
        ring.push_back({CPoint2D(radius * std::cos(a), radius * std::sin(a)), 1.0});
    }
    return ring;
}

struct MergeCase {
    const char* name;
    std::vector<std::pair<CPoint2D, double>> circles;
    size_t outlines;
    size_t holes;
};

std::vector<MergeCase> MergeCases()
{
    std::vector<MergeCase> cases;
    cases.push_back({"row of 60", Row(60), 1, 0});
    cases.push_back({"ring of 16", Ring(16, 5.0), 1, 1});
    auto apart = Row(10);
    for (const auto& c : Row(7))
        apart.push_back({c.first + CPoint2D(0.0, 10.0), c.second});
    cases.push_back({"two rows apart", apart, 2, 0});
    cases.push_back({"large circle holding small ones", {{CPoint2D(0, 0), 0.5}, {CPoint2D(0, 0), 6.0},
                                                         {CPoint2D(3, 0), 1.0}, {CPoint2D(-2, 2), 0.7}},
                     1, 0});
    return cases;
}

TEST(MergeIslands, OverlappingOutlinesBecomeOneWithTheirHoles)
{
    for (const auto& c : MergeCases()) {
        SCOPED_TRACE(c.name);
        const ChainList originals = Circles(c.circles);
        ChainList merged[2], holes[2];
        std::vector<std::vector<int>> members[2];
        const PairSearch searches[2] = {PairSearch::Indexed, PairSearch::AllPairs};
        for (int s = 0; s < 2; ++s) {
            merged[s] = Circles(c.circles);
            toolpath::MergeIslands(merged[s], holes[s], &members[s], searches[s]);
        }
        ASSERT_EQ(merged[0].size(), c.outlines);
        ASSERT_EQ(holes[0].size(), c.holes);
        ASSERT_EQ(members[0].size(), merged[0].size());
        // Every original is a member of exactly one outline, and lies
        // within it or on its edge.
        std::vector<int> all;
        for (size_t m = 0; m < merged[0].size(); ++m)
            for (int k : members[0][m]) {
                all.push_back(k);
                for (const CPoint2D& q : Sample(*originals[static_cast<size_t>(k)], 8))
                    EXPECT_TRUE(DistanceTo(*merged[0][m], q) < 1e-6 ||
                                merged[0][m]->ClassifyPoint(q, 0) == PointPlace::Inside)
                        << "original " << k << " at " << q.x << ", " << q.y;
            }
        std::sort(all.begin(), all.end());
        std::vector<int> expected(originals.size());
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(all, expected);
        // Outline and hole points lie on some original and inside none.
        auto onTheUnionsEdge = [&](const CCurveList& chain) {
            for (const CPoint2D& q : Sample(chain, 4)) {
                double nearest = 1e300;
                for (const auto& [centre, r] : c.circles) {
                    const double d = (q - centre).Length() - r;
                    nearest = std::min(nearest, std::fabs(d));
                    EXPECT_GT(d, -1e-6) << "point inside an original";
                }
                EXPECT_LT(nearest, 1e-6);
            }
        };
        for (const auto& outline : merged[0])
            onTheUnionsEdge(*outline);
        for (const auto& hole : holes[0])
            onTheUnionsEdge(*hole);
        // The plain search merges the same way.
        ASSERT_EQ(merged[1].size(), merged[0].size());
        ASSERT_EQ(holes[1].size(), holes[0].size());
        EXPECT_EQ(members[1], members[0]);
        for (size_t m = 0; m < merged[0].size(); ++m)
            EXPECT_DOUBLE_EQ(SignedArea(*merged[1][m]), SignedArea(*merged[0][m]));
    }
}

} // namespace
