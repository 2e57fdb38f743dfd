// Cutting loops away from areas: a cut that crosses an area takes its piece
// out, one that covers it removes it, one inside it leaves it whole and is
// found as a hole; the innermost loop round another is the one of least
// area.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/features/tests/toolpathtestsupport.h"
#include "addins/milling/features/toolpathareas.h"

namespace {

using namespace shapes;
using namespace toolpath;

std::unique_ptr<CCurveList> Oriented(std::unique_ptr<CCurveList> list)
{
    list->IsClockwise(0);
    return list;
}

double TotalArea(const ChainList& areas)
{
    double total = 0.0;
    for (const auto& a : areas)
        total += std::fabs(a->SignedArea());
    return total;
}

TEST(ToolpathAreas, CutAwayTakesOutWhatTheCutsCover)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CCurveList>()> cut;
        size_t pieces;
        double area;
        size_t holes; // of the first piece
    };
    // The area is the square [0, 10] x [0, 10].
    const Case cases[] = {
        {"crossing the side", [] { return Rect(8, 2, 12, 4); }, 1, 100 - 4, 0},
        {"across the middle", [] { return Rect(-1, 4, 11, 6); }, 2, 100 - 20, 0},
        {"covering it", [] { return Rect(-1, -1, 11, 11); }, 0, 0, 0},
        {"apart", [] { return Rect(20, 20, 30, 30); }, 1, 100, 0},
        {"inside, kept as a hole", [] { return Circle(5, 5, 2); }, 1, 100, 1},
        {"inside, turning the other way", [] { return Rect(3, 3, 6, 6, false); }, 1, 100, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChainList areas;
        areas.push_back(Oriented(Rect(0, 0, 10, 10)));
        const auto cut = Oriented(c.cut());
        ChainList out = CutAway(std::move(areas), {cut.get()}, PairSearch::Indexed);
        ASSERT_EQ(out.size(), c.pieces);
        EXPECT_NEAR(TotalArea(out), c.area, 1e-6);
        if (!out.empty()) {
            EXPECT_EQ(HolesInside(*out.front(), {cut.get()}).size(), c.holes);
        }
    }
}

TEST(ToolpathAreas, HolesAreFoundInThePieceThatHoldsThem)
{
    // A band across the square splits it; a circle stands in the lower piece.
    ChainList areas;
    areas.push_back(Oriented(Rect(0, 0, 10, 10)));
    const auto band = Oriented(Rect(-1, 6, 11, 7));
    const auto circle = Oriented(Circle(5, 3, 1));
    ChainList out = CutAway(std::move(areas), {band.get(), circle.get()}, PairSearch::Indexed);
    ASSERT_EQ(out.size(), 2u);
    int holders = 0;
    for (auto& piece : out) {
        const auto holes = HolesInside(*piece, {circle.get(), band.get()});
        if (!holes.empty()) {
            ++holders;
            EXPECT_EQ(holes, std::vector<int>{0});
            EXPECT_NEAR(std::fabs(piece->SignedArea()), 60.0, 1e-6);
        }
    }
    EXPECT_EQ(holders, 1);
}

TEST(ToolpathAreas, InnermostAroundIsTheSmallestContainer)
{
    const auto big = Oriented(Rect(0, 0, 100, 100));
    const auto middle = Oriented(Rect(10, 10, 60, 60));
    const auto aside = Oriented(Rect(70, 70, 90, 90));
    const auto loop = Oriented(Circle(30, 30, 5));
    EXPECT_EQ(InnermostAround({big.get(), middle.get(), aside.get()}, *loop), 1);
    EXPECT_EQ(InnermostAround({middle.get(), big.get()}, *loop), 0);
    EXPECT_EQ(InnermostAround({aside.get()}, *loop), -1);
}

} // namespace
