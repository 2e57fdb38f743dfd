// Spatial index of segment boxes: finds the pairs of segments that may meet,
// so that crossing searches over long chains run in about n log n instead of
// testing all pairs. Conventions: see segment2d.h.
//
// A box here is conservative: it holds every point that an intersection
// under the given flag word can accept on that segment (the segment grown by
// its tolerance margin; unbounded when the flag word allows an extension).
// Candidate pairs are therefore a superset of the pairs that meet, and a
// search that tests the candidates in all-pairs order finds exactly what the
// all-pairs search finds.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "addins/milling/geometry/scratch.h"
#include "addins/milling/geometry/segment2d.h"

// How a crossing search enumerates pairs of segments.
enum class PairSearch {
    Indexed,  // candidate pairs from the spatial index (the default)
    AllPairs, // every pair, in order: the reference the index is checked against
};

struct SegmentBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool unbounded = false;

    bool Overlaps(const SegmentBox& other) const
    {
        if (unbounded || other.unbounded)
            return true;
        return !(minX > other.maxX || maxX < other.minX || minY > other.maxY || maxY < other.minY);
    }
};

// Euclidean distance between two boxes; 0 when they overlap or one is unbounded.
double BoxDistance(const SegmentBox& a, const SegmentBox& b);
// The box grown by `by` on every side; unbounded when either is.
SegmentBox Grown(const SegmentBox& box, double by);

// The conservative box of a segment for intersections under flags.
SegmentBox IntersectionBox(const CSegment2D& segment, SegmentFlags flags);

// Grids over the boxes of one set, one per size class: the finest has cells
// about twice the typical box, each coarser one cells twice as large, and
// every box sits in the finest grid whose cells are at least its size, so it
// covers at most two by two cells. Only occupied cells are stored, so chains
// that run round a ring or along a line cost no more than compact ones, and
// a few large boxes (the corner arcs of an offset) cost no more than small
// ones. Unbounded boxes sit in a list that every query returns.
class CSegmentGrid {
public:
    // Cells are no finer than minCellSize: a grid that answers queries much
    // larger than its boxes (everything within a distance of a point) walks
    // fewer cells with coarser ones.
    explicit CSegmentGrid(std::vector<SegmentBox> boxes, double minCellSize = 0.0);
    // Indices of the boxes that overlap box, each once; ascending unless the
    // caller does not need them sorted.
    void Query(const SegmentBox& box, std::vector<int>& out, bool sorted = true) const;
    const SegmentBox& Box(int index) const { return m_boxes[index]; }
    int Count() const { return static_cast<int>(m_boxes.size()); }

private:
    // The occupied cells of one grid, sorted by row, then column, so that a
    // query walks each row of its range by one binary search; the boxes of
    // cell k are items[start[k]] .. items[start[k + 1] - 1].
    struct Level {
        double cellSize = 1.0;
        std::vector<uint64_t> keys;
        std::vector<uint32_t> start;
        std::vector<int> items;
    };
    bool CellRange(const SegmentBox& box, double cellSize, int64_t& x0, int64_t& y0, int64_t& x1,
                   int64_t& y1) const;
    static uint64_t Key(int64_t x, int64_t y);

    std::vector<SegmentBox> m_boxes;
    std::vector<int> m_unbounded;
    std::vector<Level> m_levels; // finest first
    double m_originX = 0.0, m_originY = 0.0;
    mutable std::vector<unsigned> m_stamp;
    mutable unsigned m_query = 0;
};

// Points bucketed by square cells of one size (at least the size asked for,
// larger where the coordinates are too large for it): Near(p) returns,
// ascending, the indices of the points in the three by three cells round p,
// among them every point within the asked size of p. One sorted array, no
// per-cell allocation.
class CPointCells {
public:
    CPointCells(std::span<const CPoint2D> points, double cellSize);
    void Near(const CPoint2D& p, std::vector<int>& out) const;

private:
    bool CellOf(const CPoint2D& p, int64_t& x, int64_t& y) const;

    double m_cellSize;
    ScratchVector<std::pair<uint64_t, int>> m_entries; // (cell key, index), sorted
    std::vector<int> m_outside;                      // points without a finite cell
};

// Calls visit(i, j) for the pairs i < j whose boxes overlap (every pair
// with AllPairs), in order of i, then j.
template <typename Visit>
void ForEachCandidatePair(std::span<const SegmentBox> boxes, PairSearch search, Visit&& visit)
{
    const int n = static_cast<int>(boxes.size());
    if (search == PairSearch::AllPairs) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                visit(i, j);
        return;
    }
    CSegmentGrid grid(std::vector<SegmentBox>(boxes.begin(), boxes.end()));
    std::vector<int> found;
    for (int i = 0; i < n; ++i) {
        grid.Query(boxes[static_cast<size_t>(i)], found);
        for (int j : found)
            if (j > i)
                visit(i, j);
    }
}

// The box round two boxes (bounded ones).
inline void Unite(SegmentBox& box, const SegmentBox& other)
{
    box.minX = std::min(box.minX, other.minX);
    box.minY = std::min(box.minY, other.minY);
    box.maxX = std::max(box.maxX, other.maxX);
    box.maxY = std::max(box.maxY, other.maxY);
}

// Calls visit(i, j) for the pairs i < j with i below `first` whose boxes
// overlap, in order of i, then j: the pairs ForEachCandidatePair visits
// with the index, in its order, but without meeting a pair from both ends
// or sorting what a box meets. For boxes where neighbours in the list lie
// together (the segments of a chain, the offsets of consecutive segments,
// the corner arcs in vertex order): a tree over runs of consecutive boxes
// lets the search from a run pass over every run at or before it and every
// run whose box misses it. Each run of kRun boxes searches the tree once
// for all of them (a run's neighbours are mostly those of each of its
// boxes), tests its boxes against those of the runs found, and visits its
// pairs ordered by i, then j. Unbounded boxes, which meet everything, go
// through ForEachCandidatePair.
template <typename Visit>
void ForEachLaterOverlap(std::span<const SegmentBox> boxes, int first, Visit&& visit)
{
    if (std::any_of(boxes.begin(), boxes.end(), [](const SegmentBox& box) { return box.unbounded; })) {
        ForEachCandidatePair(boxes, PairSearch::Indexed, [&](int i, int j) {
            if (i < first)
                visit(i, j);
        });
        return;
    }
    constexpr int kRun = 8;
    const int count = static_cast<int>(boxes.size());
    if (count < 2)
        return;
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<ScratchVector<SegmentBox>> levels(1);
    levels[0].assign(static_cast<size_t>((count + kRun - 1) / kRun),
                     SegmentBox{infinity, infinity, -infinity, -infinity, false});
    for (int k = 0; k < count; ++k)
        Unite(levels[0][static_cast<size_t>(k / kRun)], boxes[static_cast<size_t>(k)]);
    while (levels.back().size() > 1) {
        const ScratchVector<SegmentBox>& below = levels.back();
        ScratchVector<SegmentBox> above((below.size() + 1) / 2);
        for (size_t k = 0; k < above.size(); ++k) {
            above[k] = below[2 * k];
            if (2 * k + 1 < below.size())
                Unite(above[k], below[2 * k + 1]);
        }
        levels.push_back(std::move(above));
    }
    struct Pending {
        int level, index;
    };
    std::vector<Pending> stack;
    // The later boxes that each box of the run meets, in the order found
    // (j ascending for each box), tagged with the box's place in the run.
    std::vector<std::pair<int, int>> found, ordered;
    const int top = static_cast<int>(levels.size()) - 1;
    const int runs = (std::min(first, count) + kRun - 1) / kRun;
    for (int run = 0; run < runs; ++run) {
        const int begin = run * kRun, end = std::min(count, begin + kRun);
        const int last = std::min(end, first) - 1;
        const SegmentBox& runBox = levels[0][static_cast<size_t>(run)];
        found.clear();
        for (int i = begin; i <= last; ++i)
            for (int j = i + 1; j < end; ++j)
                if (boxes[static_cast<size_t>(i)].Overlaps(boxes[static_cast<size_t>(j)]))
                    found.push_back({i - begin, j});
        stack.assign(1, {top, 0});
        while (!stack.empty()) {
            const Pending next = stack.back();
            stack.pop_back();
            const int64_t span = int64_t{kRun} << next.level;
            if (std::min<int64_t>(count, (next.index + 1) * span) <= end ||
                !levels[static_cast<size_t>(next.level)][static_cast<size_t>(next.index)].Overlaps(runBox))
                continue;
            if (next.level == 0) {
                const int stop = std::min(count, (next.index + 1) * kRun);
                for (int j = std::max(end, next.index * kRun); j < stop; ++j) {
                    const SegmentBox& box = boxes[static_cast<size_t>(j)];
                    if (!box.Overlaps(runBox))
                        continue;
                    for (int i = begin; i <= last; ++i)
                        if (boxes[static_cast<size_t>(i)].Overlaps(box))
                            found.push_back({i - begin, j});
                }
                continue;
            }
            const int below = next.level - 1;
            if (2 * next.index + 1 < static_cast<int>(levels[static_cast<size_t>(below)].size()))
                stack.push_back({below, 2 * next.index + 1});
            stack.push_back({below, 2 * next.index});
        }
        // Counted out by the box's place in the run, keeping the order of
        // each box's j.
        std::array<int, kRun + 1> start{};
        for (const auto& pair : found)
            ++start[static_cast<size_t>(pair.first) + 1];
        for (size_t k = 1; k < start.size(); ++k)
            start[k] += start[k - 1];
        ordered.resize(found.size());
        for (const auto& pair : found)
            ordered[static_cast<size_t>(start[static_cast<size_t>(pair.first)]++)] = pair;
        for (const auto& [place, j] : ordered)
            visit(begin + place, j);
    }
}

// Calls visit(i, j) for the pairs (i of a, j of b) whose boxes overlap
// (every pair with AllPairs), in order of i, then j.
template <typename Visit>
void ForEachCandidatePair(const std::vector<SegmentBox>& a, const std::vector<SegmentBox>& b, PairSearch search,
                          Visit&& visit)
{
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (search == PairSearch::AllPairs) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < m; ++j)
                visit(i, j);
        return;
    }
    CSegmentGrid grid(b);
    std::vector<int> found;
    for (int i = 0; i < n; ++i) {
        grid.Query(a[i], found);
        for (int j : found)
            visit(i, j);
    }
}
