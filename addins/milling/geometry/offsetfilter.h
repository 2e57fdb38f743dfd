// Checking offset results, and the filtering offset that replaces a result
// that fails the check. Internal to the offset.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; side 1 is the right of the direction of travel;
// lengths in drawing units; tolerant tests compare with g_geometryTolerance.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "addins/milling/geometry/curvelist.h"
#include "addins/milling/geometry/scratch.h"

// Distances from points to a chain, answered nearest first through a tree
// of boxes over runs of consecutive segments: a query looks at the boxes in
// order of their distance from the point and leaves out every box at least
// as far as what it looks for (the limit, or the nearest segment found so
// far), so that its cost follows the segments near the point rather than
// all those within the limit. The answers are those of a scan over every
// segment. Defined in chaindistance.cpp.
class CChainDistance {
public:
    // reach: the distance most queries look within (0: unknown). Each
    // query prunes by its own distance, so the tree does not depend on it.
    explicit CChainDistance(const CCurveList& chain, double reach = 0.0);
    // The distance from p to the chain when it is below limit, else a value
    // >= limit; as soon as a segment nearer than `enough` turns up, a value
    // below `enough` (not always the least).
    double Distance(const CPoint2D& p, double limit, double enough = -1.0) const;
    // Every segment within reach of p, once, with its nearest point and
    // distance; among them some farther ones that the cheap bounds did not
    // tell apart.
    struct Near {
        int index;
        CPoint2D point;
        double distance;
    };
    void Nearest(const CPoint2D& p, double reach, std::vector<Near>& out) const;
    // Distance and, in the same search, Nearest(p, the distance + slack)
    // when the distance is not below `enough` (else out is empty). The
    // search looks first at the segments round segment `from` (none for
    // -1): for a point that came from there, those that come nearer than
    // `enough` mostly lie among them, and then no more is searched.
    double DistanceAndNearest(const CPoint2D& p, double limit, double enough, double slack,
                              std::vector<Near>& out, int from = -1) const;
    // True when some point of the chain lies nearer to p than threshold;
    // stops at the first such segment.
    bool IsNearer(const CPoint2D& p, double threshold) const;
    // For many points in one box: the segments whose boxes lie nearer to
    // box than reach (all of them for an unbounded box), in no set order.
    void Within(const SegmentBox& box, double reach, std::vector<int>& out) const;
    // IsNearer among the given segments only: those Within a box that holds
    // p, by a reach of at least threshold.
    bool IsNearer(const CPoint2D& p, double threshold, const std::vector<int>& segments) const;
    // The segments that CCurveList::ClassifyPointAmong needs for p, in
    // ascending order: those within the tolerance of p and those whose boxes
    // meet the horizontal line left of it.
    void AlongRayLeft(const CPoint2D& p, std::vector<int>& out) const;

private:
    // The box round some segments: a leaf's kLeafSize consecutive segments
    // of the chain, or an inner node's two children. Consecutive segments
    // of a chain lie together, so that the boxes of a curve's pieces stay
    // tight without sorting. Empty (minX > maxX) when all its segments are
    // unbounded.
    struct Node {
        double minX, minY, maxX, maxY;
        // A second bound for point queries: the rectangle aligned with the
        // chord of the node's run (centre, unit axis, half lengths along and
        // across it). A run of a curve that lies slanted in the plane fills
        // little of its box; the rectangle along its chord stays as thin as
        // the run bulges.
        double cx = 0.0, cy = 0.0, ux = 1.0, uy = 0.0, along = -1.0, across = -1.0;
    };
    struct Pending {
        int level, index;
        double squared;
    };
    template <typename Radius, typename Visit>
    void Search(const SegmentBox& query, Radius&& radius, Visit&& visit, std::array<int, 2> first = {0, -1}) const;

    const CCurveList& m_chain;
    ScratchVector<SegmentBox> m_boxes;
    std::vector<int> m_unbounded;
    // The leaves first, each further level the parents of the one before,
    // node i holding nodes 2i and 2i + 1 of the level below; the last level
    // has one node.
    std::vector<ScratchVector<Node>> m_levels;
    mutable std::vector<Pending> m_stack;
};

// The nearest point of a segment to p; a point at an arc's centre is at the
// distance of the radius from every point of the circle.
CPoint2D NearestOnSegment(const CSegment2D& segment, const CPoint2D& p);

// Whether every point of `candidate` from its start (fromStart) or from its
// end up to p lies within `distance` of q, up to rounding at p, which lies
// at the distance: such a part of a candidate can never be on the offset.
// Along a line the distance from q has no maximum inside; along an arc its
// only maximum is where the direction from q through the centre meets the
// circle, which must lie outside the part.
bool CoveredUpTo(const CSegment2D& candidate, bool fromStart, const CPoint2D& p, const CPoint2D& q, double distance,
                 double slack);

// An arc so short (length: its length) that its end directions agree at
// the chaining tolerance would read as a full circle from then on, at the
// tolerance the toolpaths and the chaining work at: a circle of the
// offset's radius through the part. It is as good as its chord.
bool IsArcSliver(const CSegment2D& piece, double length);
// Replaces every such arc of the lists by its chord.
void ChordArcSlivers(std::vector<std::unique_ptr<CCurveList>>& lists);

// True when every list of an offset is sound: closed when the chain is
// closed, and no point of any piece nearer to the chain than the distance.
bool OffsetResultIsSound(const CCurveList& chain, double distance,
                         const std::vector<std::unique_ptr<CCurveList>>& lists);

// The offset by filtering: every segment's offset and a circle round every
// outer vertex, split where they cross, the portions that keep the distance
// from the chain and lie on the offset side, chained into lists. distance > 0.
int FilteredOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
                   int simplify, double simplifyTolerance, PairSearch search);
// The filtering offset by the last of distances (growing, each > 0), the
// earlier ones narrowing the candidates: only the segments and vertices
// whose candidates make up the outline at one distance are taken as
// candidates at the next. A chain that turns back and forth many times
// within the distance has few of them left by then, so that the crossing
// search stays near its outline instead of among every piece within the
// distance. The result is the filtering offset by the last distance.
// uncrossed: the caller has found that the chain does not cross itself.
// near: the chain's distance tree when the caller has built one already.
// grow: distances holds the first stage and the last; the stages between
// reach as far as the candidates allow, each once the one before has run.
// A candidate is also cut where it runs within the distance of a segment
// or vertex beside it on the outline at the stage before.
int FilteredOffsetInStages(const CCurveList& chain, const std::vector<double>& distances, int side,
                           std::vector<std::unique_ptr<CCurveList>>& results, int simplify, double simplifyTolerance,
                           PairSearch search, bool uncrossed = false, const CChainDistance* near = nullptr,
                           bool grow = false);
