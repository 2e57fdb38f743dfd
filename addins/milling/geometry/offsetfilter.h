// Checking offset results, and the filtering offset that replaces a result
// that fails the check. Internal to the offset.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; side 1 is the right of the direction of travel;
// lengths in drawing units; tolerant tests compare with g_geometryTolerance.
#pragma once

#include <memory>
#include <vector>

#include "addins/milling/geometry/curvelist.h"

// Distances from points to a chain, answered through a spatial index.
class CChainDistance {
public:
    // reach: the distance most queries look within (0: unknown).
    explicit CChainDistance(const CCurveList& chain, double reach = 0.0);
    // The distance from p to the chain when it is below limit, else a value
    // >= limit; as soon as a segment nearer than `enough` turns up, a value
    // below `enough` (not always the least).
    double Distance(const CPoint2D& p, double limit, double enough = -1.0) const;
    // The segments within reach + margin of p with their nearest points and distances.
    struct Near {
        int index;
        CPoint2D point;
        double distance;
    };
    void Nearest(const CPoint2D& p, double reach, std::vector<Near>& out) const;
    // True when some point of the chain lies nearer to p than threshold.
    bool IsNearer(const CPoint2D& p, double threshold) const;
    // The segments whose boxes overlap box, for IsNearer over many points.
    void Within(const SegmentBox& box, std::vector<int>& out) const;
    // IsNearer among the given segments only: those Within a box that holds
    // p grown by threshold.
    bool IsNearer(const CPoint2D& p, double threshold, const std::vector<int>& segments) const;

private:
    const CCurveList& m_chain;
    std::unique_ptr<CSegmentGrid> m_grid;
    mutable std::vector<int> m_found;
};

// The nearest point of a segment to p; a point at an arc's centre is at the
// distance of the radius from every point of the circle.
CPoint2D NearestOnSegment(const CSegment2D& segment, const CPoint2D& p);

// True when every list of an offset is sound: closed when the chain is
// closed, and no point of any piece nearer to the chain than the distance.
bool OffsetResultIsSound(const CCurveList& chain, double distance,
                         const std::vector<std::unique_ptr<CCurveList>>& lists);

// The offset by filtering: every segment's offset and a circle round every
// outer vertex, split where they cross, the portions that keep the distance
// from the chain and lie on the offset side, chained into lists. distance > 0.
int FilteredOffset(const CCurveList& chain, double distance, int side, std::vector<std::unique_ptr<CCurveList>>& results,
               int simplify, double simplifyTolerance, PairSearch search);
