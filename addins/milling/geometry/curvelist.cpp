// CCurveList: closedness, end points, bounds, length, crossing codes,
// orientation, point and list containment, simplification.
// Conventions: see curvelist.h.
#include "addins/milling/geometry/curvelist.h"

#include <algorithm>
#include <cmath>

namespace {

// The contribution of one segment at point c to a crossing code, seen along b.
// atJoint: c is a joint of the chain rather than a point inside the segment.
CrossingCode SegmentContribution(const CSegment2D& segment, const CPoint2D& c, const CPoint2D& b, bool atJoint)
{
    using enum CrossingCode;
    if (segment.GetType() == kSegmentTypeLine) {
        const auto& line = static_cast<const CLineSegment2D&>(segment);
        const double s = b.Cross(line.end - line.start);
        if (IsWithinTolerance(s))
            return Along;
        return s > 0.0 ? RightToLeft : LeftToRight;
    }
    const auto& arc = static_cast<const CArcSegment2D&>(segment);
    const double s = b.Dot(c - arc.centre);
    if (IsWithinTolerance(s)) {
        if (atJoint)
            return Along;
        return arc.ccw ? TouchesLeft : TouchesRight;
    }
    if (s > 0.0)
        return arc.ccw ? RightToLeft : LeftToRight;
    return arc.ccw ? LeftToRight : RightToLeft;
}

int Sign(double x) { return IsWithinTolerance(x) ? 0 : (x > 0.0 ? 1 : -1); }

// Turn sign of the joint at c between the arriving segment h and the leaving segment i.
int JointTurn(const CSegment2D& h, const CSegment2D& i, const CPoint2D& c)
{
    const bool hLine = h.GetType() == kSegmentTypeLine;
    const bool iLine = i.GetType() == kSegmentTypeLine;
    if (hLine && iLine) {
        const auto& lh = static_cast<const CLineSegment2D&>(h);
        const auto& li = static_cast<const CLineSegment2D&>(i);
        return Sign((li.end - li.start).Cross(lh.end - lh.start));
    }
    if (hLine) {
        const auto& lh = static_cast<const CLineSegment2D&>(h);
        const auto& ai = static_cast<const CArcSegment2D&>(i);
        const int s = Sign((lh.end - lh.start).Dot(c - ai.centre));
        return ai.ccw ? -s : s;
    }
    if (iLine) {
        const auto& ah = static_cast<const CArcSegment2D&>(h);
        const auto& li = static_cast<const CLineSegment2D&>(i);
        const int s = Sign((li.end - li.start).Dot(c - ah.centre));
        return ah.ccw ? s : -s;
    }
    const auto& ah = static_cast<const CArcSegment2D&>(h);
    const auto& ai = static_cast<const CArcSegment2D&>(i);
    const CPoint2D rh = c - ah.centre;
    const CPoint2D ri = c - ai.centre;
    const double x = ri.Cross(rh);
    if (!IsWithinTolerance(x)) {
        const int k = x > 0.0 ? 1 : -1;
        return (ah.ccw != 0) != (ai.ccw != 0) ? -k : k;
    }
    // The two arcs touch at c.
    const double d = ri.Dot(rh);
    if (ah.ccw && ai.ccw)
        return d > 0.0 ? 0 : 1;
    if (ah.ccw && !ai.ccw) {
        if (d > 0.0)
            return ai.radius > ah.radius ? 1 : -1;
        return 1;
    }
    if (!ah.ccw && ai.ccw) {
        if (d > 0.0)
            return ai.radius > ah.radius ? -1 : 1;
        return -1;
    }
    return d > 0.0 ? 0 : -1;
}

// Leftmost point of a segment: for a line the end with the smaller x (the
// start on a tie), for an arc its leftmost point.
CPoint2D LeftmostPoint(const CSegment2D& segment)
{
    if (segment.GetType() == kSegmentTypeArc)
        return static_cast<const CArcSegment2D&>(segment).GetMinXPoint();
    const auto& line = static_cast<const CLineSegment2D&>(segment);
    return line.end.x < line.start.x ? line.end : line.start;
}

} // namespace

std::unique_ptr<CCurveList> CCurveList::Copy() const
{
    auto copy = std::make_unique<CCurveList>();
    copy->clockwise = clockwise;
    for (const auto& segment : segments)
        if (segment)
            copy->Append(segment->Clone(0));
    return copy;
}

int CCurveList::IsClosed() const
{
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    return segments.back()->GetEndPoint().IsEqual(segments.front()->GetStartPoint());
}

CPoint2D CCurveList::GetStartPoint() const
{
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return {};
    }
    return segments.front()->GetStartPoint();
}

CPoint2D CCurveList::GetEndPoint() const
{
    if (segments.empty()) {
        SetGeometryGlobal(E_FAIL);
        return {};
    }
    return segments.back()->GetEndPoint();
}

void CCurveList::GetBounds(double& minX, double& minY, double& maxX, double& maxY) const
{
    bool first = true;
    for (const auto& segment : segments) {
        double x0, y0, x1, y1;
        if (segment->GetType() == kSegmentTypeArc) {
            const auto& arc = static_cast<const CArcSegment2D&>(*segment);
            x0 = arc.GetMinXPoint().x;
            x1 = arc.GetMaxXPoint().x;
            y0 = arc.GetMinYPoint().y;
            y1 = arc.GetMaxYPoint().y;
        } else {
            const CPoint2D s = segment->GetStartPoint(), e = segment->GetEndPoint();
            x0 = std::min(s.x, e.x);
            x1 = std::max(s.x, e.x);
            y0 = std::min(s.y, e.y);
            y1 = std::max(s.y, e.y);
        }
        if (first) {
            minX = x0, minY = y0, maxX = x1, maxY = y1;
            first = false;
            continue;
        }
        minX = std::min(minX, x0);
        minY = std::min(minY, y0);
        maxX = std::max(maxX, x1);
        maxY = std::max(maxY, y1);
    }
}

double CCurveList::GetLength(double* length) const
{
    double sum = 0.0;
    for (const auto& segment : segments)
        sum += segment->GetLength();
    if (length)
        *length = sum;
    return sum;
}

// 1. A point strictly inside segment k: that segment's contribution.
// 2. A joint: the arriving segment h and the leaving segment i each
//    contribute; where they disagree the turn of the joint picks the arriving
//    bits, then the leaving bits.
CrossingCode CCurveList::ClassifyCrossing(int k, const CPoint2D& c, const CPoint2D& b) const
{
    using enum CrossingCode;
    const int count = GetCount();
    const CSegment2D& segment = Seg(k);
    if (segment.IsPointOn(c, kInside))
        return SegmentContribution(segment, c, b, false);
    int h, i;
    if (c.IsEqual(segment.GetStartPoint())) {
        h = k == 0 ? count - 1 : k - 1;
        i = k;
    } else {
        h = k;
        i = k == count - 1 ? 0 : k + 1;
    }
    const int turn = JointTurn(Seg(h), Seg(i), c);
    const CrossingCode l = SegmentContribution(Seg(h), c, b, true);
    const CrossingCode m = SegmentContribution(Seg(i), c, b, true);
    CrossingCode e = l & m;
    if (!HasAny(e, Arriving)) {
        const bool takeArriving = (HasAny(l, ArrivesFromRight) && turn > 0) || (HasAny(l, ArrivesFromLeft) && turn < 0);
        e |= (takeArriving ? l : m) & Arriving;
    }
    if (!HasAny(e, Leaving)) {
        if (HasAny(m, LeavesToRight) && turn > 0)
            e |= m & Leaving;
        else if (HasAny(m, LeavesToLeft) && turn < 0)
            e |= m & Leaving;
        else
            e |= l & Leaving;
    }
    return e;
}

// Shoelace sum of the chords, taken about the first point to keep the
// products small, plus the circular segment between each arc and its chord
// (positive for a counter-clockwise arc). scale receives the chain's length.
double CCurveList::SignedArea(double* scale) const
{
    double twiceArea = 0.0;
    double length = 0.0;
    if (segments.empty()) {
        if (scale != nullptr)
            *scale = 0.0;
        return 0.0;
    }
    const CPoint2D origin = Seg(0).GetStartPoint();
    for (const auto& segment : segments) {
        const CPoint2D a = segment->GetStartPoint() - origin;
        const CPoint2D b = segment->GetEndPoint() - origin;
        twiceArea += a.x * b.y - b.x * a.y;
        length += segment->GetLength();
        if (segment->GetType() == kSegmentTypeArc) {
            const auto& arc = static_cast<const CArcSegment2D&>(*segment);
            const double sweep = arc.SweepAngle();
            const double bulge = arc.radius * arc.radius * (sweep - std::sin(sweep));
            twiceArea += arc.ccw ? bulge : -bulge;
        }
    }
    if (scale != nullptr)
        *scale = length;
    return twiceArea / 2.0;
}

int CCurveList::IsClockwise(int checkSelfIntersections)
{
    if (segments.empty() || !IsClosed()) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    if (checkSelfIntersections && SelfIntersections(nullptr) > 0) {
        SetGeometryGlobal(E_FAIL);
        return 0;
    }
    // The sign of the enclosed area decides: it does not depend on how the
    // chain passes any single point, so cusps, tangent joints and arcs at
    // the leftmost point cannot mislead it.
    double scale = 0.0;
    const double area = SignedArea(&scale);
    if (std::fabs(area) > kDegenerateAreaFactor * g_geometryTolerance * scale) {
        clockwise = area < 0.0 ? 1 : 0;
        SetGeometryGlobal(S_OK);
        return clockwise;
    }
    // No area to speak of (a chain that runs out and back): the way the
    // chain passes its leftmost point is the only hint left.
    int best = 0;
    CPoint2D bestPoint = LeftmostPoint(Seg(0));
    for (int k = 1; k < GetCount(); ++k) {
        const CPoint2D p = LeftmostPoint(Seg(k));
        if (p.x < bestPoint.x) {
            best = k;
            bestPoint = p;
        }
    }
    const CrossingCode code = ClassifyCrossing(best, bestPoint, CPoint2D(1.0, 0.0));
    if (HasAny(code, CrossingCode::ArrivesFromLeft))
        clockwise = 0;
    else if (HasAny(code, CrossingCode::ArrivesFromRight))
        clockwise = 1;
    else if (HasAny(code, CrossingCode::LeavesToLeft))
        clockwise = 0;
    else
        clockwise = 1;
    SetGeometryGlobal(S_OK);
    return clockwise;
}

// Casts a horizontal ray to the left of the point and reads how the chain
// crosses it at the nearest crossing.
PointPlace CCurveList::ClassifyPoint(CPoint2D point, int refreshOrientation)
{
    if (segments.empty() || !IsClosed()) {
        SetGeometryGlobal(E_FAIL);
        return PointPlace::Outside;
    }
    if (refreshOrientation)
        IsClockwise(0);
    return ClassifyAmong(point, nullptr);
}

PointPlace CCurveList::ClassifyPointAmong(CPoint2D point, const std::vector<int>& among) const
{
    if (segments.empty() || !IsClosed()) {
        SetGeometryGlobal(E_FAIL);
        return PointPlace::Outside;
    }
    return ClassifyAmong(point, &among);
}

PointPlace CCurveList::ClassifyAmong(const CPoint2D& point, const std::vector<int>* among) const
{
    // A point on the chain is on the boundary whatever the probe finds: a
    // probe that touches an arc at its top or bottom can miss it by a
    // rounding and read the point as outside.
    const int count = among ? static_cast<int>(among->size()) : GetCount();
    for (int n = 0; n < count; ++n)
        if (IsOnSegment(among ? (*among)[static_cast<size_t>(n)] : n, point))
            return PointPlace::On;
    const CLineSegment2D probe(point, point + CPoint2D(1.0, 0.0));
    std::vector<CPoint2D> points;
    std::vector<int> indices;
    if (IntersectSegmentAmong(probe, among, &points, &indices, kClosedSegment, kAnywhere) == 0)
        return PointPlace::Outside;
    return ClassifyByRayCrossings(point, points, indices);
}

bool CCurveList::IsOnSegment(int k, const CPoint2D& point) const
{
    const CSegment2D& segment = *segments[static_cast<size_t>(k)];
    if (segment.GetType() == kSegmentTypeArc && point.IsEqual(static_cast<const CArcSegment2D&>(segment).centre))
        return IsWithinTolerance(static_cast<const CArcSegment2D&>(segment).radius);
    return IsWithinTolerance((segment.ClosestPoint(point, kClosedSegment) - point).Length());
}

PointPlace CCurveList::ClassifyByRayCrossings(CPoint2D point, const std::vector<CPoint2D>& points,
                                              const std::vector<int>& indices) const
{
    int kept = -1;
    double keptDifference = 0.0;
    for (size_t k = 0; k < points.size(); ++k) {
        const double difference = points[k].x - point.x;
        if (IsWithinTolerance(difference))
            return PointPlace::On;
        if (difference < 0.0 && (kept < 0 || difference > keptDifference)) {
            kept = static_cast<int>(k);
            keptDifference = difference;
        }
    }
    if (kept < 0)
        return PointPlace::Outside;
    const CrossingCode code =
        ClassifyCrossing(indices[static_cast<size_t>(kept)], points[static_cast<size_t>(kept)], CPoint2D(1.0, 0.0));
    if (HasAny(code, CrossingCode::ArrivesAlong))
        return PointPlace::Outside;
    if (clockwise)
        return HasAny(code, CrossingCode::LeavesToRight) ? PointPlace::Outside : PointPlace::Inside;
    return HasAny(code, CrossingCode::LeavesToLeft) ? PointPlace::Outside : PointPlace::Inside;
}

int CCurveList::ContainsList(const CCurveList& other, int refreshOrientation)
{
    if (refreshOrientation)
        IsClockwise(0);
    for (const auto& segment : other.segments) {
        const PointPlace answer = ClassifyPoint(segment->GetStartPoint(), 0);
        if (answer == PointPlace::Outside)
            return 0;
        if (answer == PointPlace::Inside)
            return 1;
    }
    if (other.segments.empty())
        return 0;
    return ClassifyPoint(other.segments.back()->GetEndPoint(), 0) == PointPlace::Inside ? 1 : 0;
}

void CCurveList::Simplify(double tolerance, SimplifySide side)
{
    // The chord of an arc lies on the side of its centre: left of travel for
    // a counter-clockwise arc. A merged line moves the points it drops to
    // its other side: they must lie left of it for the chain to move right.
    const auto chordAllowed = [side](const CArcSegment2D& arc) {
        return side == SimplifySide::Either || (side == SimplifySide::Left) == (arc.ccw != 0);
    };
    const auto mergeAllowed = [side](const CPoint2D& d, const CPoint2D& dropped) {
        const double cross = d.Cross(dropped);
        return side == SimplifySide::Either || (side == SimplifySide::Right ? cross >= 0.0 : cross <= 0.0);
    };
    // Flat arcs become chords. An arc of more than a half turn is never
    // flat: the test below measures the sagitta of the shorter of the two
    // arcs between its end points, which vanishes for a full circle.
    for (auto& segment : segments) {
        if (segment->GetType() != kSegmentTypeArc)
            continue;
        const auto& arc = static_cast<const CArcSegment2D&>(*segment);
        if (arc.IsFullCircle() || arc.SweepAngle() > kPi || !chordAllowed(arc))
            continue;
        const double h = arc.endDir.Relative(arc.startDir).HalfAngleCosine();
        if (tolerance / 2.0 > (1.0 - h) * arc.radius)
            segment = std::make_unique<CLineSegment2D>(arc.GetStartPoint(), arc.GetEndPoint());
    }

    // Runs of nearly collinear lines merge into their first line.
    for (int e = 0; e < GetCount() - 1; ++e) {
        if (Seg(e).GetType() != kSegmentTypeLine)
            continue;
        const CPoint2D p0 = Seg(e).GetStartPoint();
        int lastGood = e;
        for (int o = e + 1; o < GetCount(); ++o) {
            if (Seg(o).GetType() != kSegmentTypeLine)
                break;
            const CPoint2D d = Seg(o).GetEndPoint() - p0;
            const double squared = d.Dot(d);
            bool good = !ExactlyEqual(squared, 0.0);
            for (int u = e + 1; good && u <= o; ++u) {
                const CPoint2D s = Seg(u).GetStartPoint();
                const CPoint2D foot = p0 + d * ((s - p0).Dot(d) / squared);
                if ((s - foot).Length() >= tolerance || !mergeAllowed(d, s - p0))
                    good = false;
            }
            if (!good)
                break;
            lastGood = o;
        }
        if (e == 0 && lastGood == GetCount() - 1)
            --lastGood;
        if (lastGood > e) {
            segments[static_cast<size_t>(e)]->SetEndPoint(Seg(lastGood).GetEndPoint());
            segments.erase(segments.begin() + e + 1, segments.begin() + lastGood + 1);
        }
    }
}
