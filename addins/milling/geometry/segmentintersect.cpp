// Pairwise operations of the segment family: intersection points under
// position flags, and a nearest pair of points. Every mixed pair (line and
// arc) is computed by one piece of code whichever side is asked, so the
// points come out in the same order. Conventions: see segment2d.h.
#include <cmath>

#include "addins/milling/geometry/segment2d.h"

namespace {

bool OnBoth(const CSegment2D& a, const CPoint2D& p, SegmentFlags flagsA, const CSegment2D& b, SegmentFlags flagsB)
{
    return a.IsPointOn(p, flagsA) && b.IsPointOn(p, flagsB);
}

// Counts the two candidates of a carrier-circle or circle-circle meeting:
// the second only when it differs from a counted first.
int CountCandidates(const CPoint2D& p1, const CPoint2D& p2, const CSegment2D& a, SegmentFlags flagsA,
                    const CSegment2D& b, SegmentFlags flagsB, SegmentPoints& out)
{
    int count = 0;
    if (OnBoth(a, p1, flagsA, b, flagsB))
        out[count++] = p1;
    if ((count == 0 || p2.IsNotEqual(p1)) && OnBoth(a, p2, flagsA, b, flagsB))
        out[count++] = p2;
    return count;
}

int IntersectLineLine(const CLineSegment2D& a, const CLineSegment2D& b, SegmentPoints& out, SegmentFlags flagsA,
                      SegmentFlags flagsB)
{
    const double tol = g_geometryTolerance;
    // The boxes bound the accepted points only when no extension is allowed.
    if (((flagsA | flagsB) & ~kClosedSegment) == 0) {
        const double aMinX = std::min(a.start.x, a.end.x), aMaxX = std::max(a.start.x, a.end.x);
        const double aMinY = std::min(a.start.y, a.end.y), aMaxY = std::max(a.start.y, a.end.y);
        const double bMinX = std::min(b.start.x, b.end.x), bMaxX = std::max(b.start.x, b.end.x);
        const double bMinY = std::min(b.start.y, b.end.y), bMaxY = std::max(b.start.y, b.end.y);
        if (aMinX - tol > bMaxX || aMaxX + tol < bMinX || aMinY - tol > bMaxY || aMaxY + tol < bMinY)
            return 0;
    }
    const CPoint2D d1 = a.end - a.start;
    const CPoint2D d2 = b.end - b.start;
    const double det = d1.x * d2.y - d1.y * d2.x;
    if (ExactlyEqual(det, 0.0))
        return 0;
    const double t = (d2.y * (b.start.x - a.start.x) - d2.x * (b.start.y - a.start.y)) / det;
    const CPoint2D p = a.start + d1 * t;
    if (!OnBoth(a, p, flagsA, b, flagsB))
        return 0;
    out[0] = p;
    return 1;
}

int IntersectLineArc(const CLineSegment2D& line, const CArcSegment2D& arc, SegmentPoints& out, SegmentFlags flagsLine,
                     SegmentFlags flagsArc)
{
    CPoint2D d = line.end - line.start;
    if (d.IsZero())
        return 0;
    d.Normalize();
    const CPoint2D m = line.start + d * (arc.centre - line.start).Dot(d);
    const double h = (m - arc.centre).Length();
    if (h > arc.radius)
        return 0;
    const CPoint2D k = d * std::sqrt(arc.radius * arc.radius - h * h);
    return CountCandidates(m + k, m - k, line, flagsLine, arc, flagsArc, out);
}

int IntersectArcArc(const CArcSegment2D& a, const CArcSegment2D& b, SegmentPoints& out, SegmentFlags flagsA,
                    SegmentFlags flagsB)
{
    const CPoint2D v = b.centre - a.centre;
    const double dist = v.Length();
    if (!(dist > g_geometryTolerance))
        return 0;
    const double r1 = a.radius, r2 = b.radius;
    if (std::fabs(r1 - r2) > dist || r1 + r2 < dist)
        return 0;
    const CPoint2D u = v / dist;
    const double along = (dist + (r1 * r1 - r2 * r2) / dist) * 0.5;
    const CPoint2D g = a.centre + u * along;
    const CPoint2D n = u.Perpendicular(1);
    // A touching pair never takes the root of a negative number.
    const double halfChord = std::fabs(along) < std::fabs(r1) ? std::sqrt(r1 * r1 - along * along)
                                                              : std::sqrt(along * along - r1 * r1);
    return CountCandidates(g + n * halfChord, g - n * halfChord, a, flagsA, b, flagsB, out);
}

// The nearest point of a segment to p. Every point of an arc is equally far
// from its centre: the centre's nearest point is the arc's start, a point
// that lies on the arc.
CPoint2D NearestPointOf(const CSegment2D& segment, const CPoint2D& p)
{
    if (segment.GetType() == kSegmentTypeArc && p.IsEqual(static_cast<const CArcSegment2D&>(segment).centre))
        return segment.GetStartPoint();
    return segment.ClosestPoint(p, kClosedSegment);
}

// The four end-point pairs; a later pair replaces the best only when strictly nearer.
void EndPointPairs(const CSegment2D& a, const CSegment2D& b, CPoint2D& onA, CPoint2D& onB)
{
    const CPoint2D as = a.GetStartPoint(), ae = a.GetEndPoint();
    const CPoint2D bs = b.GetStartPoint(), be = b.GetEndPoint();
    const CPoint2D candidates[4][2] = {
        {as, NearestPointOf(b, as)},
        {ae, NearestPointOf(b, ae)},
        {NearestPointOf(a, bs), bs},
        {NearestPointOf(a, be), be},
    };
    double best = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double d = (candidates[k][0] - candidates[k][1]).Length();
        if (k == 0 || d < best) {
            best = d;
            onA = candidates[k][0];
            onB = candidates[k][1];
        }
    }
}

// Crossing segments are at distance 0 at their crossing: a crossing, when
// there is one, is the answer for both.
bool CrossingPair(const CSegment2D& a, const CSegment2D& b, CPoint2D& onA, CPoint2D& onB)
{
    SegmentPoints points;
    if (a.Intersect(b, points, kClosedSegment, kClosedSegment) == 0)
        return false;
    onA = points[0];
    onB = points[0];
    return true;
}

void ClosestArcLine(const CArcSegment2D& arc, const CLineSegment2D& line, CPoint2D& onArc, CPoint2D& onLine)
{
    if (CrossingPair(arc, line, onArc, onLine))
        return;
    const CPoint2D d = line.end - line.start;
    const double squared = d.Dot(d);
    if (!ExactlyEqual(squared, 0.0)) {
        const CPoint2D f = line.start + d * ((arc.centre - line.start).Dot(d) / squared);
        // A carrier through the centre is equally far from every point of
        // the circle: the end points decide.
        if (line.IsPointOn(f, kClosedSegment) && f.IsNotEqual(arc.centre)) {
            const CPoint2D g = arc.centre + (f - arc.centre).Normalized() * arc.radius;
            if (arc.IsPointOn(g, kClosedSegment)) {
                onArc = g;
                onLine = f;
                return;
            }
        }
    }
    EndPointPairs(arc, line, onArc, onLine);
}

void ClosestArcArc(const CArcSegment2D& a, const CArcSegment2D& b, CPoint2D& onA, CPoint2D& onB)
{
    if (CrossingPair(a, b, onA, onB))
        return;
    if (a.centre.IsNotEqual(b.centre)) {
        const CPoint2D v = b.centre - a.centre;
        const double dist = v.Length();
        const CPoint2D u = v / dist;
        const double r1 = a.radius, r2 = b.radius;
        auto accept = [&](const CPoint2D& f, const CPoint2D& e) {
            if (a.IsPointOn(f, kClosedSegment) && b.IsPointOn(e, kClosedSegment)) {
                onA = f;
                onB = e;
                return true;
            }
            return false;
        };
        if (r1 + r2 <= dist) {
            if (accept(a.centre + u * r1, b.centre - u * r2))
                return;
        } else if (r1 > r2) {
            const CPoint2D f = a.centre + u * r1;
            if (accept(f, b.centre + u * r2) || accept(f, b.centre - u * r2))
                return;
        } else {
            if (accept(a.centre - u * r1, b.centre - u * r2))
                return;
        }
    }
    EndPointPairs(a, b, onA, onB);
}

} // namespace

int CLineSegment2D::Intersect(const CSegment2D& other, SegmentPoints& out, SegmentFlags flagsThis,
                              SegmentFlags flagsOther) const
{
    switch (other.GetType()) {
    case kSegmentTypeLine:
        return IntersectLineLine(*this, static_cast<const CLineSegment2D&>(other), out, flagsThis, flagsOther);
    case kSegmentTypeArc:
        return IntersectLineArc(*this, static_cast<const CArcSegment2D&>(other), out, flagsThis, flagsOther);
    default:
        return 0;
    }
}

int CArcSegment2D::Intersect(const CSegment2D& other, SegmentPoints& out, SegmentFlags flagsThis,
                             SegmentFlags flagsOther) const
{
    switch (other.GetType()) {
    case kSegmentTypeLine:
        return IntersectLineArc(static_cast<const CLineSegment2D&>(other), *this, out, flagsOther, flagsThis);
    case kSegmentTypeArc:
        return IntersectArcArc(*this, static_cast<const CArcSegment2D&>(other), out, flagsThis, flagsOther);
    default:
        return 0;
    }
}

void CLineSegment2D::ClosestPoints(const CSegment2D& other, CPoint2D& onThis, CPoint2D& onOther) const
{
    if (other.GetType() != kSegmentTypeLine) {
        other.ClosestPoints(*this, onOther, onThis);
        return;
    }
    if (CrossingPair(*this, other, onThis, onOther))
        return;
    EndPointPairs(*this, other, onThis, onOther);
}

void CArcSegment2D::ClosestPoints(const CSegment2D& other, CPoint2D& onThis, CPoint2D& onOther) const
{
    switch (other.GetType()) {
    case kSegmentTypeLine:
        ClosestArcLine(*this, static_cast<const CLineSegment2D&>(other), onThis, onOther);
        return;
    case kSegmentTypeArc:
        ClosestArcArc(*this, static_cast<const CArcSegment2D&>(other), onThis, onOther);
        return;
    default:
        return;
    }
}
