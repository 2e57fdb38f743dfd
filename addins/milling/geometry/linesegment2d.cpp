// Straight line segment of the milling geometry kernel (per-segment operations).
// Conventions: see segment2d.h.
#include <cmath>

#include "addins/milling/geometry/segment2d.h"

int CLineSegment2D::Reverse()
{
    std::swap(start, end);
    return 1;
}

double CLineSegment2D::DistanceBetween(const CPoint2D& a, const CPoint2D& b, int mode, int aOnSegment,
                                       int bOnSegment) const
{
    const double da = DistanceAlong(a, aOnSegment);
    const double db = DistanceAlong(b, bOnSegment);
    return mode == 2 ? da - db : db - da;
}

std::unique_ptr<CSegment2D> CLineSegment2D::Clone(int reversed) const
{
    if (reversed)
        return std::make_unique<CLineSegment2D>(end, start);
    return std::make_unique<CLineSegment2D>(start, end);
}

int CLineSegment2D::Offset(double distance, int rightSide)
{
    const CPoint2D d = end - start;
    CPoint2D n(d.y, -d.x);
    if (n.IsZero())
        return 0;
    n = n.Normalized() * (rightSide ? distance : -distance);
    start += n;
    end += n;
    return 1;
}

// Tests run in a fixed order and the first success answers: inside, beyond
// the start, beyond the end, at the start, at the end. Only the coordinate of
// the dominant axis is examined.
int CLineSegment2D::IsPointOn(const CPoint2D& p, SegmentFlags flags) const
{
    const double tol = g_geometryTolerance;
    const bool useX = std::fabs(end.y - start.y) < std::fabs(end.x - start.x);
    const double s = useX ? start.x : start.y;
    const double e = useX ? end.x : end.y;
    const double v = useX ? p.x : p.y;
    if ((flags & kInside) && std::min(s, e) + tol < v && v < std::max(s, e) - tol)
        return 1;
    if (flags & kBeyondStart) {
        if (e > s ? v < s - tol : v > s + tol)
            return 1;
    }
    if (flags & kBeyondEnd) {
        if (s < e ? v > e + tol : v < e - tol)
            return 1;
    }
    if ((flags & kAtStart) && std::fabs(v - s) < tol)
        return 1;
    if ((flags & kAtEnd) && std::fabs(v - e) < tol)
        return 1;
    return 0;
}

double CLineSegment2D::DistanceAlong(const CPoint2D& p, int pOnSegment) const
{
    const CPoint2D q = pOnSegment ? p : ClosestPoint(p, kAnywhere);
    const CPoint2D rel = q - start;
    const double length = rel.Length();
    return rel.HasCommonSign(end - start) ? length : -length;
}

CPoint2D CLineSegment2D::GetDirectionAt(const CPoint2D&, int normalise) const
{
    if (start.IsEqual(end)) {
        SetGeometryGlobal(E_FAIL);
        return {};
    }
    SetGeometryGlobal(S_OK);
    const CPoint2D d = end - start;
    return normalise ? d.Normalized() : d;
}

double CLineSegment2D::GetCurvature() const
{
    SetGeometryGlobal(start.IsEqual(end) ? E_FAIL : S_OK);
    return 0.0;
}

CPoint2D CLineSegment2D::GetCentre() const
{
    SetGeometryGlobal(E_FAIL);
    return {};
}

CPoint2D CLineSegment2D::ClosestPoint(const CPoint2D& p, SegmentFlags flags) const
{
    if (flags != kAnywhere)
        flags = kClosedSegment;
    const CPoint2D d = end - start;
    const double squared = d.Dot(d);
    // A degenerate line has no carrier direction; its start stands for it.
    const CPoint2D foot = ExactlyEqual(squared, 0.0) ? start : start + d * ((p - start).Dot(d) / squared);
    if (IsPointOn(foot, flags))
        return foot;
    return (p - start).Length() < (p - end).Length() ? start : end;
}
