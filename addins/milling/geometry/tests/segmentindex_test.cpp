// The spatial indexes of the crossing searches and of the chaining answer
// every query with a superset of what a scan of all boxes or points finds;
// the boxes they start from hold every point a segment accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "addins/milling/geometry/segmentindex.h"

namespace {

// Boxes of random sizes, from slivers to a few spanning most of the field,
// and one unbounded: each query returns exactly the overlapping boxes, with
// the grid's own cells and with cells coarsened for queries far larger than
// the boxes, sorted or not.
TEST(CSegmentGridTest, QueryEqualsScan)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(-100.0, 100.0), size(0.0, 2.0);
    std::vector<SegmentBox> boxes;
    for (int k = 0; k < 400; ++k) {
        const double x = at(random), y = at(random);
        const double grow = k % 50 == 0 ? 80.0 : 1.0;
        boxes.push_back({x, y, x + size(random) * grow, y + size(random) * grow, false});
    }
    boxes[7].unbounded = true;
    for (double minCell : {0.0, 12.0, 1e300}) {
        const CSegmentGrid grid(boxes, minCell);
        std::vector<int> found;
        for (int q = 0; q < 200; ++q) {
            const double x = at(random), y = at(random), scale = q % 2 == 0 ? 3.0 : 30.0;
            const SegmentBox box{x, y, x + size(random) * scale, y + size(random) * scale, false};
            std::vector<int> expected;
            for (int k = 0; k < static_cast<int>(boxes.size()); ++k)
                if (box.Overlaps(boxes[k]))
                    expected.push_back(k);
            grid.Query(box, found);
            ASSERT_EQ(found, expected) << "cells at least " << minCell << ", query " << q;
            grid.Query(box, found, false);
            std::sort(found.begin(), found.end());
            ASSERT_EQ(found, expected) << "cells at least " << minCell << ", unsorted query " << q;
        }
    }
}

// The search over runs of consecutive boxes visits the pairs of a scan over
// every pair, in the scan's order (i, then j), for boxes along a winding
// path (as the segments of a chain lie), boxes scattered anywhere, and
// counts and limits that end inside a run, on its border, or beyond the
// boxes.
TEST(ForEachLaterOverlapTest, VisitsThePairsOfAScanInItsOrder)
{
    using Pairs = std::vector<std::pair<int, int>>;
    auto scan = [](const std::vector<SegmentBox>& boxes, int first) {
        Pairs pairs;
        for (int i = 0; i < std::min(first, static_cast<int>(boxes.size())); ++i)
            for (int j = i + 1; j < static_cast<int>(boxes.size()); ++j)
                if (boxes[i].Overlaps(boxes[j]))
                    pairs.push_back({i, j});
        return pairs;
    };
    std::mt19937 random(17);
    std::uniform_real_distribution<double> turn(-1.2, 1.2), at(-30.0, 30.0), size(0.0, 3.0);
    for (int count : {0, 1, 2, 7, 8, 9, 64, 333}) {
        for (bool path : {true, false}) {
            std::vector<SegmentBox> boxes;
            double x = 0.0, y = 0.0, heading = 0.0;
            for (int k = 0; k < count; ++k) {
                heading += turn(random);
                const double nx = path ? x + std::cos(heading) : at(random);
                const double ny = path ? y + std::sin(heading) : at(random);
                const double grow = path ? 0.05 : size(random);
                boxes.push_back({std::min(x, nx) - grow, std::min(y, ny) - grow, std::max(x, nx) + grow,
                                 std::max(y, ny) + grow, false});
                x = nx;
                y = ny;
            }
            for (int first : {0, 1, count / 2, count - 1, count, count + 5}) {
                Pairs visited;
                ForEachLaterOverlap(boxes, first, [&](int i, int j) { visited.push_back({i, j}); });
                EXPECT_EQ(visited, scan(boxes, first))
                    << count << (path ? " boxes along a path" : " scattered boxes") << ", first " << first;
            }
        }
    }
}

// Points near cell borders, far from the origin and not finite: Near holds
// every point within the cell size, ascending.
TEST(CPointCellsTest, NearHoldsEveryClosePoint)
{
    const double cell = 1e-4;
    std::mt19937 random(9);
    std::uniform_real_distribution<double> jitter(-1.5 * cell, 1.5 * cell);
    struct Case {
        const char* name;
        CPoint2D centre;
    };
    const Case cases[] = {
        {"origin", {0.0, 0.0}},
        {"on a cell border", {3 * cell, -7 * cell}},
        {"far out", {2.5e6, -4.0e6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CPoint2D> points;
        for (int k = 0; k < 300; ++k)
            points.push_back(c.centre + CPoint2D(jitter(random), jitter(random)));
        points.push_back({std::nan(""), 0.0});
        const CPointCells cells(points, cell);
        std::vector<int> near;
        for (int q = 0; q < 50; ++q) {
            const CPoint2D p = points[static_cast<size_t>(q)];
            cells.Near(p, near);
            ASSERT_TRUE(std::is_sorted(near.begin(), near.end()));
            ASSERT_TRUE(std::binary_search(near.begin(), near.end(), 300)) << "a point without a cell is always near";
            for (int k = 0; k < 300; ++k) {
                const CPoint2D d = points[static_cast<size_t>(k)] - p;
                if (std::fabs(d.x) < cell && std::fabs(d.y) < cell) {
                    ASSERT_TRUE(std::binary_search(near.begin(), near.end(), k)) << "point " << k;
                }
            }
        }
    }
}

// An arc's box holds its points and those the kernel still takes as on it
// within the tolerance beyond its ends: arcs of both senses, from a sliver
// to nearly a whole turn, with ends on the axes and off them, half and
// whole circles.
TEST(IntersectionBoxTest, AnArcsBoxHoldsEveryPointItAccepts)
{
    std::mt19937 random(41);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double quarter = 0.5 * kPi;
    std::vector<std::pair<double, double>> spans = {{0.0, quarter}, {quarter, kPi},   {0.0, kPi},
                                                    {kPi, 2.0 * kPi}, {0.3, 0.3 + kPi}, {-0.2, 0.2},
                                                    {0.0, 2.0 * kPi}, {1.0, 1.0 + 1e-5}};
    for (int k = 0; k < 200; ++k) {
        const double a = 2.0 * kPi * unit(random);
        spans.push_back({a, a + 2.0 * kPi * unit(random) * unit(random)});
    }
    for (const auto& [from, to] : spans) {
        for (int ccw : {1, 0}) {
            const CPoint2D centre(3.0 * unit(random) - 1.0, 2.0 * unit(random));
            const double radius = 0.01 + 20.0 * unit(random);
            auto at = [&](double angle) { return centre + CPoint2D(std::cos(angle), std::sin(angle)) * radius; };
            CArcSegment2D arc(centre, at(ccw ? from : to), at(ccw ? to : from), ccw);
            if (to - from >= 2.0 * kPi)
                arc.SetCircle(centre, radius);
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to << (ccw ? ", ccw" : ", cw"));
            const SegmentBox box = IntersectionBox(arc, kClosedSegment);
            ASSERT_FALSE(box.unbounded);
            const double beyond = 3.0 * g_geometryTolerance;
            for (int step = 0; step <= 400; ++step) {
                const double angle = from - beyond + (to - from + 2.0 * beyond) * step / 400.0;
                for (double near : {angle, from - beyond * unit(random), to + beyond * unit(random)}) {
                    const CPoint2D p = at(near);
                    if (!arc.IsPointOn(p, kClosedSegment))
                        continue;
                    EXPECT_TRUE(p.x >= box.minX && p.x <= box.maxX && p.y >= box.minY && p.y <= box.maxY)
                        << std::hexfloat << near << ": " << p.x << ", " << p.y;
                }
            }
            // The axis points the arc sweeps past, exactly: the box reaches them.
            for (double angle : {0.0, quarter, kPi, 3.0 * quarter, 2.0 * kPi}) {
                for (double turn : {angle - 2.0 * kPi, angle, angle + 2.0 * kPi}) {
                    if (turn > from + 1e-9 && turn < to - 1e-9) {
                        const CPoint2D p = at(turn);
                        EXPECT_TRUE(p.x >= box.minX && p.x <= box.maxX && p.y >= box.minY && p.y <= box.maxY)
                            << "axis " << angle;
                    }
                }
            }
        }
    }
}

} // namespace
