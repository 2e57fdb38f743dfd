// CChainIndex: the boxes of one chain's segments and a grid over them, so
// that the tests the toolpaths make between a long chain (a boundary pass)
// and many short ones (islands, grown outlines) cost about log n each
// instead of n: whether two chains may cross, and on which side of the chain
// a point lies. The answers are those of the chain's own CCurveList tests.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/geometry/curvelist.h"

namespace toolpath {

class CChainIndex {
public:
    // The chain must outlive the index and stay unchanged.
    explicit CChainIndex(const CCurveList& chain);

    const CCurveList& Chain() const { return *m_chain; }

    // False when no segment box of this chain overlaps one of the other's:
    // the two then have no crossing under kClosedSegment (IntersectWith
    // finds nothing and Combine answers -1).
    bool MayMeet(const CChainIndex& other) const;

    // The answer of Chain().ClassifyPoint(point, 0): only the segments whose
    // boxes reach the point's height can meet the horizontal probe, and they
    // are tested in chain order as the chain's own probe tests them.
    PointPlace ClassifyPoint(const CPoint2D& point) const;
    // The answer of Chain().ContainsList(other, 0).
    int ContainsList(const CCurveList& other) const;

private:
    const CSegmentGrid& Grid() const;

    const CCurveList* m_chain;
    bool m_closed = false;
    SegmentBox m_bounds; // of all the segment boxes
    std::vector<SegmentBox> m_boxes;
    mutable std::unique_ptr<CSegmentGrid> m_grid;
    mutable std::vector<int> m_found;
};

} // namespace toolpath
