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

#include <cstdint>
#include <utility>
#include <vector>

#include "addins/milling/geometry/segment2d.h"

// How a crossing search enumerates pairs of segments.
enum class PairSearch {
    Indexed,  // candidate pairs from the spatial index (the default)
    AllPairs, // every pair, in order: the reference the index is checked against
};

struct SegmentBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool unbounded = false;

    bool Overlaps(const SegmentBox& other) const;
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
    CPointCells(const std::vector<CPoint2D>& points, double cellSize);
    void Near(const CPoint2D& p, std::vector<int>& out) const;

private:
    bool CellOf(const CPoint2D& p, int64_t& x, int64_t& y) const;

    double m_cellSize;
    std::vector<std::pair<uint64_t, int>> m_entries; // (cell key, index), sorted
    std::vector<int> m_outside;                      // points without a finite cell
};

// Calls visit(i, j) for the pairs i < j whose boxes overlap (every pair
// with AllPairs), in order of i, then j.
template <typename Visit>
void ForEachCandidatePair(const std::vector<SegmentBox>& boxes, PairSearch search, Visit&& visit)
{
    const int n = static_cast<int>(boxes.size());
    if (search == PairSearch::AllPairs) {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                visit(i, j);
        return;
    }
    CSegmentGrid grid(boxes);
    std::vector<int> found;
    for (int i = 0; i < n; ++i) {
        grid.Query(boxes[i], found);
        for (int j : found)
            if (j > i)
                visit(i, j);
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
