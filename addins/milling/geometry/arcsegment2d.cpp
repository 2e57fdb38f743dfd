// Circular arc segment of the milling geometry kernel (per-segment operations).
// An arc keeps its centre, radius and the unit directions from the centre to
// its start and end; the end points are derived. Conventions: see segment2d.h.
#include <cmath>

#include "addins/milling/geometry/segment2d.h"

CArcSegment2D::CArcSegment2D(const CPoint2D& c, const CPoint2D& startPoint, const CPoint2D& endPoint,
                             int counterClockwise)
{
    Set(c, startPoint, endPoint, counterClockwise);
}

CArcSegment2D::CArcSegment2D(const CPoint2D& c, double r, const CPoint2D& startPoint, const CPoint2D& endPoint,
                             int counterClockwise)
{
    Set(c, r, startPoint, endPoint, counterClockwise);
}

void CArcSegment2D::Set(const CPoint2D& c, const CPoint2D& startPoint, const CPoint2D& endPoint,
                        int counterClockwise)
{
    Set(c, (startPoint - c).Length(), startPoint, endPoint, counterClockwise);
}

void CArcSegment2D::Set(const CPoint2D& c, double r, const CPoint2D& startPoint, const CPoint2D& endPoint,
                        int counterClockwise)
{
    centre = c;
    radius = r;
    startDir = CVector2D(startPoint - c, 1);
    endDir = CVector2D(endPoint - c, 1);
    ccw = counterClockwise;
}

void CArcSegment2D::SetCircle(const CPoint2D& c, double r)
{
    centre = c;
    radius = r;
    startDir = CVector2D(1.0, 0.0);
    endDir = CVector2D(1.0, 0.0);
}

double CArcSegment2D::SweepAngle() const
{
    if (IsFullCircle())
        return kTwoPi;
    return ccw ? endDir.Relative(startDir).Angle() : startDir.Relative(endDir).Angle();
}

// Full circle: the extreme of the circle along the unit axis. Otherwise the
// extreme of the circle when the axis direction lies on the arc, else the end
// point farther along the axis (the end point on a tie).
CPoint2D CArcSegment2D::ExtremePoint(const CPoint2D& axis) const
{
    const CPoint2D circleExtreme = centre + axis * radius;
    if (IsFullCircle() || IsPointOn(centre + axis, kClosedSegment))
        return circleExtreme;
    const CPoint2D s = GetStartPoint();
    const CPoint2D e = GetEndPoint();
    const double alongStart = s.x * axis.x + s.y * axis.y;
    const double alongEnd = e.x * axis.x + e.y * axis.y;
    return alongStart > alongEnd ? s : e;
}

CPoint2D CArcSegment2D::GetMinXPoint() const { return ExtremePoint({-1.0, 0.0}); }
CPoint2D CArcSegment2D::GetMaxXPoint() const { return ExtremePoint({1.0, 0.0}); }
CPoint2D CArcSegment2D::GetMinYPoint() const { return ExtremePoint({0.0, -1.0}); }
CPoint2D CArcSegment2D::GetMaxYPoint() const { return ExtremePoint({0.0, 1.0}); }

int CArcSegment2D::Reverse()
{
    std::swap(startDir, endDir);
    ccw = ccw ? 0 : 1;
    return 1;
}

double CArcSegment2D::DistanceBetween(const CPoint2D& a, const CPoint2D& b, int mode, int aOnSegment,
                                      int bOnSegment) const
{
    const double circumference = kTwoPi * radius;
    const double da = DistanceAlong(a, aOnSegment);
    const double db = DistanceAlong(b, bOnSegment);
    double r = db - da;
    if (mode == 4) {
        if (!IsPointOn(a, kClosedSegment) || !IsPointOn(b, kClosedSegment)) {
            if (r < -circumference / 2.0)
                r += circumference;
            else if (r > circumference / 2.0)
                r -= circumference;
        }
        return r;
    }
    if (r < 0.0)
        r += circumference;
    return mode == 2 ? circumference - r : r;
}

std::unique_ptr<CSegment2D> CArcSegment2D::Clone(int reversed) const
{
    auto copy = std::make_unique<CArcSegment2D>(*this);
    if (reversed)
        copy->Reverse();
    return copy;
}

// The right side of a counter-clockwise arc is its outside.
int CArcSegment2D::Offset(double distance, int rightSide)
{
    const bool shrinks = (ccw != 0) != (rightSide != 0);
    const double newRadius = shrinks ? radius - distance : radius + distance;
    if (!(newRadius > 0.0))
        return 0;
    radius = newRadius;
    return 1;
}

// Whether the arc passes through angle 0 decides how the angular order
// tests combine; the inside test runs before the extension test, and the two
// extension bits are not told apart.
int CArcSegment2D::IsPointOn(const CPoint2D& p, SegmentFlags flags) const
{
    if (!(radius > 0.0)) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    const CVector2D q(p - centre, 1);
    if ((flags & kAtStart) && q.IsEqual(startDir))
        return 1;
    if ((flags & kAtEnd) && q.IsEqual(endDir))
        return 1;
    if (IsFullCircle())
        return (flags & kInside) ? 1 : 0;
    const CVector2D& s = startDir;
    const CVector2D& e = endDir;
    bool inside;
    bool beyond;
    if (ccw) {
        if (e.IsLess(s)) {
            inside = q.IsGreater(s) || q.IsLess(e);
            beyond = q.IsLess(s) && q.IsGreater(e);
        } else {
            inside = q.IsGreater(s) && q.IsLess(e);
            beyond = q.IsLess(s) || q.IsGreater(e);
        }
    } else {
        if (s.IsLess(e)) {
            inside = q.IsLess(s) || q.IsGreater(e);
            beyond = q.IsGreater(s) && q.IsLess(e);
        } else {
            inside = q.IsLess(s) && q.IsGreater(e);
            beyond = q.IsGreater(s) || q.IsLess(e);
        }
    }
    if ((flags & kInside) && inside)
        return 1;
    if ((flags & (kBeyondStart | kBeyondEnd)) && beyond)
        return 1;
    return 0;
}

int CArcSegment2D::IsClosed(int flag) const
{
    if (!(radius > 0.0)) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    SetGeometryGlobal(S_OK);
    return (flag || IsFullCircle()) ? 1 : 0;
}

double CArcSegment2D::DistanceAlong(const CPoint2D& p, int pOnSegment) const
{
    const CPoint2D q = pOnSegment ? p : ClosestPoint(p, kAnywhere);
    const CVector2D dir(q - centre, 1);
    const double angle = ccw ? dir.Relative(startDir).Angle() : startDir.Relative(dir).Angle();
    return angle * radius;
}

double CArcSegment2D::GetLength() const { return SweepAngle() * radius; }

void CArcSegment2D::SetStartPoint(const CPoint2D& p) { startDir = CVector2D(p - centre, 1); }

void CArcSegment2D::SetEndPoint(const CPoint2D& p) { endDir = CVector2D(p - centre, 1); }

CPoint2D CArcSegment2D::GetDirectionAt(const CPoint2D& p, int normalise) const
{
    if (!(radius > 0.0)) {
        SetGeometryGlobal(E_FAIL);
        return {};
    }
    const CPoint2D r = p - centre;
    const CPoint2D d = ccw ? CPoint2D(-r.y, r.x) : CPoint2D(r.y, -r.x);
    if (d.IsZero()) {
        SetGeometryGlobal(E_FAIL);
        return {0.0, 0.0};
    }
    SetGeometryGlobal(S_OK);
    return normalise ? d.Normalized() : d;
}

double CArcSegment2D::GetCurvature() const
{
    if (!(radius > 0.0)) {
        SetGeometryGlobal(E_FAIL);
        return -1.0;
    }
    SetGeometryGlobal(S_OK);
    return 1.0 / radius;
}

CPoint2D CArcSegment2D::GetCentre() const
{
    if (!(radius > 0.0)) {
        SetGeometryGlobal(E_FAIL);
        return centre;
    }
    SetGeometryGlobal(S_OK);
    return centre;
}

CPoint2D CArcSegment2D::ClosestPoint(const CPoint2D& p, SegmentFlags flags) const
{
    if (flags != kAnywhere)
        flags = kClosedSegment;
    if (!(radius > 0.0) || p.IsEqual(centre)) {
        SetGeometryGlobal(E_FAIL);
        return centre;
    }
    const CPoint2D foot = centre + (p - centre).Normalized() * radius;
    if (IsPointOn(foot, flags))
        return foot;
    const CPoint2D s = GetStartPoint();
    const CPoint2D e = GetEndPoint();
    return (p - s).Length() < (p - e).Length() ? s : e;
}
