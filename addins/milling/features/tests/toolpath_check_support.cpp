// Machining checks of toolpaths from their moves (see toolpath_check.h):
// exact plane distances of lines and arcs, the outlines' index, clearance,
// the free area a tool may reach and the coverage of it by the cuts. The
// NC programs' checks are in toolpath_check_programs_support.cpp.
#include "addins/milling/features/tests/toolpath_check.h"

#include <algorithm>
#include <cmath>

namespace toolpathcheck {

namespace {

constexpr double kTwoPiRad = 6.283185307179586;
// Points this near count as one: far below the print grid and every
// tolerance the checks use, far above the rounding of the arithmetic.
constexpr double kSamePoint = 1e-12;

double Angle(CPoint2D v) { return std::atan2(v.y, v.x); }
CPoint2D Direction(double angleRad) { return {std::cos(angleRad), std::sin(angleRad)}; }
double Cross(CPoint2D a, CPoint2D b) { return a.x * b.y - a.y * b.x; }
double Dot(CPoint2D a, CPoint2D b) { return a.x * b.x + a.y * b.y; }
double Norm(CPoint2D v) { return std::hypot(v.x, v.y); }

// The angle from the arc's start to the direction d, in the arc's sense,
// in [0, 2 pi).
double AngleFromStart(const PlaneCurve& c, CPoint2D d)
{
    double a = Angle(d) - Angle(c.start - c.centre);
    if (!c.ccw)
        a = -a;
    a = std::fmod(a, kTwoPiRad);
    if (a < 0)
        a += kTwoPiRad;
    return a;
}

bool DirectionOnArc(const PlaneCurve& c, CPoint2D d)
{
    const double sweep = c.SweepRad();
    if (sweep >= kTwoPiRad)
        return true;
    const double a = AngleFromStart(c, d);
    return a <= sweep || a >= kTwoPiRad - 1e-15;
}

bool IsPoint(const PlaneCurve& c) { return !c.arc && Norm(c.end - c.start) < kSamePoint; }

double DistanceToLine(CPoint2D p, CPoint2D a, CPoint2D b)
{
    const CPoint2D d = b - a;
    const double dd = Dot(d, d);
    if (dd < kSamePoint * kSamePoint)
        return Norm(p - a);
    const double t = std::clamp(Dot(p - a, d) / dd, 0.0, 1.0);
    return Norm(p - (a + d * t));
}

// Whether the curves meet: the points where the carriers meet, on both.
bool LinesMeet(const PlaneCurve& a, const PlaneCurve& b)
{
    const CPoint2D r = a.end - a.start, s = b.end - b.start;
    const double denom = Cross(r, s);
    if (std::fabs(denom) < 1e-300)
        return false; // parallel: the end-point distances decide
    const double t = Cross(b.start - a.start, s) / denom;
    const double u = Cross(b.start - a.start, r) / denom;
    return t >= 0 && t <= 1 && u >= 0 && u <= 1;
}

bool LineMeetsArc(const PlaneCurve& line, const PlaneCurve& arc)
{
    const CPoint2D d = line.end - line.start, f = line.start - arc.centre;
    const double a = Dot(d, d), b = 2 * Dot(f, d), c = Dot(f, f) - arc.radius * arc.radius;
    const double disc = b * b - 4 * a * c;
    if (a < 1e-300 || disc < 0)
        return false;
    const double root = std::sqrt(disc);
    for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)})
        if (t >= 0 && t <= 1 && DirectionOnArc(arc, line.start + d * t - arc.centre))
            return true;
    return false;
}

bool ArcsMeet(const PlaneCurve& p, const PlaneCurve& q)
{
    const CPoint2D d = q.centre - p.centre;
    const double dist = Norm(d);
    if (dist < kSamePoint || dist > p.radius + q.radius || dist < std::fabs(p.radius - q.radius))
        return false;
    const double a = (dist * dist + p.radius * p.radius - q.radius * q.radius) / (2 * dist);
    const double h = std::sqrt(std::max(0.0, p.radius * p.radius - a * a));
    const CPoint2D u = d * (1.0 / dist), n(-u.y, u.x);
    for (double sign : {-1.0, 1.0}) {
        const CPoint2D x = p.centre + u * a + n * (h * sign);
        if (DirectionOnArc(p, x - p.centre) && DirectionOnArc(q, x - q.centre))
            return true;
    }
    return false;
}

// Points of c where the distance to the other curve can be least inside c:
// on an arc, the points facing a line square on, or on the line of centres.
std::vector<CPoint2D> InnerCandidates(const PlaneCurve& c, const PlaneCurve& other)
{
    std::vector<CPoint2D> points;
    if (!c.arc)
        return points;
    CPoint2D axis;
    if (other.arc) {
        axis = other.centre - c.centre;
        if (Norm(axis) < kSamePoint)
            return points;
    } else {
        const CPoint2D d = other.end - other.start;
        if (Norm(d) < kSamePoint)
            axis = other.start - c.centre;
        else
            axis = {-d.y, d.x};
        if (Norm(axis) < kSamePoint)
            return points;
    }
    axis = axis * (1.0 / Norm(axis));
    for (double sign : {-1.0, 1.0})
        if (DirectionOnArc(c, axis * sign))
            points.push_back(c.centre + axis * (sign * c.radius));
    return points;
}

void CurveBounds(const PlaneCurve& c, double& minX, double& minY, double& maxX, double& maxY)
{
    if (c.arc) {
        minX = c.centre.x - c.radius;
        maxX = c.centre.x + c.radius;
        minY = c.centre.y - c.radius;
        maxY = c.centre.y + c.radius;
    } else {
        minX = std::min(c.start.x, c.end.x);
        maxX = std::max(c.start.x, c.end.x);
        minY = std::min(c.start.y, c.end.y);
        maxY = std::max(c.start.y, c.end.y);
    }
}

} // namespace

PlaneCurve PlaneCurve::Line(CPoint2D a, CPoint2D b)
{
    PlaneCurve c;
    c.start = a;
    c.end = b;
    return c;
}

PlaneCurve PlaneCurve::Arc(CPoint2D centre, CPoint2D a, CPoint2D b, bool ccw)
{
    PlaneCurve c;
    c.arc = true;
    c.centre = centre;
    c.start = a;
    c.end = b;
    c.radius = Norm(a - centre);
    c.ccw = ccw;
    return c;
}

PlaneCurve PlaneCurve::FromSegment(const CSegment2D& segment)
{
    if (segment.GetType() == kSegmentTypeArc) {
        const auto& arc = static_cast<const CArcSegment2D&>(segment);
        PlaneCurve c = Arc(arc.centre, arc.GetStartPoint(), arc.GetEndPoint(), arc.ccw != 0);
        c.radius = arc.radius;
        return c;
    }
    return Line(segment.GetStartPoint(), segment.GetEndPoint());
}

PlaneCurve PlaneCurve::FromMove(const CMove& move)
{
    const CPoint2D a(move.start.x, move.start.y), b(move.end.x, move.end.y);
    if (!IsArcMove(move.flag))
        return Line(a, b);
    PlaneCurve c = Arc({move.centre.x, move.centre.y}, a, b, !IsClockwiseArc(move.flag));
    c.radius = move.radius;
    return c;
}

double PlaneCurve::SweepRad() const
{
    if (Norm(end - start) < kSamePoint)
        return kTwoPiRad;
    const double a = AngleFromStart(*this, end - centre);
    return a > 0 ? a : kTwoPiRad;
}

CPoint2D PlaneCurve::At(double t) const
{
    if (!arc)
        return start + (end - start) * t;
    if (t >= 1.0)
        return end;
    const double a = Angle(start - centre) + (ccw ? 1.0 : -1.0) * SweepRad() * t;
    return centre + Direction(a) * radius;
}

double PlaneCurve::Length() const { return arc ? radius * SweepRad() : Norm(end - start); }

double Distance(CPoint2D p, const PlaneCurve& c)
{
    if (!c.arc)
        return DistanceToLine(p, c.start, c.end);
    const CPoint2D v = p - c.centre;
    const double d = Norm(v);
    if (d < kSamePoint)
        return c.radius;
    if (DirectionOnArc(c, v))
        return std::fabs(d - c.radius);
    return std::min(Norm(p - c.start), Norm(p - c.end));
}

double Distance(const PlaneCurve& a, const PlaneCurve& b)
{
    if (IsPoint(a))
        return Distance(a.start, b);
    if (IsPoint(b))
        return Distance(b.start, a);
    const bool meet = !a.arc && !b.arc ? LinesMeet(a, b)
                      : !a.arc         ? LineMeetsArc(a, b)
                      : !b.arc         ? LineMeetsArc(b, a)
                                       : ArcsMeet(a, b);
    if (meet)
        return 0.0;
    double best = std::min({Distance(a.start, b), Distance(a.end, b), Distance(b.start, a), Distance(b.end, a)});
    for (CPoint2D p : InnerCandidates(a, b))
        best = std::min(best, Distance(p, b));
    for (CPoint2D p : InnerCandidates(b, a))
        best = std::min(best, Distance(p, a));
    return best;
}

// ---- outlines -------------------------------------------------------------

CurveIndex::CurveIndex(std::vector<PlaneCurve> curves) : m_curves(std::move(curves))
{
    m_minX = m_minY = 1e300;
    m_maxX = m_maxY = -1e300;
    for (const PlaneCurve& c : m_curves) {
        double x0, y0, x1, y1;
        CurveBounds(c, x0, y0, x1, y1);
        m_minX = std::min(m_minX, x0);
        m_minY = std::min(m_minY, y0);
        m_maxX = std::max(m_maxX, x1);
        m_maxY = std::max(m_maxY, y1);
    }
    if (m_curves.empty()) {
        m_minX = m_minY = 0;
        m_maxX = m_maxY = 1;
    }
    const double extent = std::max({m_maxX - m_minX, m_maxY - m_minY, 1e-9});
    const int across = std::clamp(static_cast<int>(2.0 * std::sqrt(static_cast<double>(m_curves.size()))), 1, 256);
    m_cell = extent / across;
    m_columns = static_cast<int>((m_maxX - m_minX) / m_cell) + 1;
    m_rows = static_cast<int>((m_maxY - m_minY) / m_cell) + 1;
    m_cells.resize(static_cast<size_t>(m_columns) * m_rows);
    for (size_t i = 0; i < m_curves.size(); ++i) {
        double x0, y0, x1, y1;
        CurveBounds(m_curves[i], x0, y0, x1, y1);
        const int c0 = std::clamp(static_cast<int>((x0 - m_minX) / m_cell), 0, m_columns - 1);
        const int c1 = std::clamp(static_cast<int>((x1 - m_minX) / m_cell), 0, m_columns - 1);
        const int r0 = std::clamp(static_cast<int>((y0 - m_minY) / m_cell), 0, m_rows - 1);
        const int r1 = std::clamp(static_cast<int>((y1 - m_minY) / m_cell), 0, m_rows - 1);
        for (int r = r0; r <= r1; ++r)
            for (int col = c0; col <= c1; ++col)
                m_cells[static_cast<size_t>(r) * m_columns + col].push_back(i);
    }
}

// The least distance to the curves in the cells within reach of c's bounds:
// every curve nearer than reach is among them.
double CurveIndex::DistanceWithin(const PlaneCurve& c, double reach) const
{
    double x0, y0, x1, y1;
    CurveBounds(c, x0, y0, x1, y1);
    x0 -= reach;
    y0 -= reach;
    x1 += reach;
    y1 += reach;
    double best = reach;
    if (x1 < m_minX || y1 < m_minY || x0 > m_maxX || y0 > m_maxY)
        return best;
    const auto column = [&](double x) { return std::clamp(static_cast<int>((x - m_minX) / m_cell), 0, m_columns - 1); };
    const auto row = [&](double y) { return std::clamp(static_cast<int>((y - m_minY) / m_cell), 0, m_rows - 1); };
    const int c0 = column(x0), c1 = column(x1), r0 = row(y0), r1 = row(y1);
    std::vector<size_t> seen;
    for (int r = r0; r <= r1; ++r)
        for (int col = c0; col <= c1; ++col)
            for (size_t i : m_cells[static_cast<size_t>(r) * m_columns + col]) {
                if (std::find(seen.begin(), seen.end(), i) != seen.end())
                    continue;
                seen.push_back(i);
                best = std::min(best, Distance(c, m_curves[i]));
            }
    return best;
}

// Widens the reach from one cell until a curve lies within it.
double CurveIndex::DistanceFrom(const PlaneCurve& c, double reach) const
{
    for (double r = std::min(m_cell, reach);; r *= 2) {
        const double d = DistanceWithin(c, std::min(r, reach));
        if (d < r || r >= reach)
            return std::min(d, reach);
    }
}

double CurveIndex::DistanceFrom(CPoint2D p, double reach) const { return DistanceFrom(PlaneCurve::Line(p, p), reach); }

void CurveIndex::Bounds(double& minX, double& minY, double& maxX, double& maxY) const
{
    minX = m_minX;
    minY = m_minY;
    maxX = m_maxX;
    maxY = m_maxY;
}

namespace {
std::vector<PlaneCurve> AllSegments(const std::vector<std::unique_ptr<CCurveList>>& contours)
{
    std::vector<PlaneCurve> curves;
    for (const auto& contour : contours)
        for (const auto& segment : contour->segments)
            curves.push_back(PlaneCurve::FromSegment(*segment));
    return curves;
}
} // namespace

OutlineSet::OutlineSet(const std::vector<std::unique_ptr<CCurveList>>& contours) : m_index(AllSegments(contours))
{
    for (const auto& contour : contours) {
        m_contours.emplace_back();
        for (const auto& segment : contour->segments)
            m_contours.back().push_back(PlaneCurve::FromSegment(*segment));
    }
}

// Crossings of the chords of a chain with the ray to +x, corrected by the
// circular segments between the chords and their arcs: the area a chain
// encloses is its chord polygon with those segments added or taken away.
int OutlineSet::Depth(CPoint2D p) const
{
    int depth = 0;
    for (const auto& contour : m_contours) {
        bool inside = false;
        for (const PlaneCurve& c : contour) {
            const CPoint2D a = c.start, b = c.end;
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
            if (c.arc && Norm(p - c.centre) < c.radius) {
                if (Norm(b - a) < kSamePoint) {
                    inside = !inside;
                } else {
                    const CPoint2D mid = c.At(0.5);
                    if ((Cross(b - a, p - a) > 0) == (Cross(b - a, mid - a) > 0))
                        inside = !inside;
                }
            }
        }
        depth += inside;
    }
    return depth;
}

// ---- clearance ------------------------------------------------------------

bool IsCutting(const CMove& move, double zTop) { return std::min(move.start.z, move.end.z) < zTop - 1e-9; }

namespace {
bool InMachinedArea(int depth, Machining machining)
{
    return machining == Machining::Inside ? depth % 2 == 1 : depth % 2 == 0;
}
} // namespace

Clearance MeasureClearance(const std::vector<CMove>& moves, const OutlineSet& outlines, double distance,
                           Machining machining, double zTop)
{
    Clearance result;
    result.nearest = 1e300;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (!IsCutting(moves[i], zTop))
            continue;
        const PlaneCurve c = PlaneCurve::FromMove(moves[i]);
        const double d = outlines.DistanceFrom(c, distance + 1.0);
        if (d < result.nearest) {
            result.nearest = d;
            result.move = i;
        }
        // A move that keeps its distance crosses no outline, so one of its
        // points tells on which side it lies.
        if (d > 0 && !InMachinedArea(outlines.Depth(c.start), machining))
            ++result.movesOutside;
    }
    return result;
}

// ---- free area ------------------------------------------------------------

FreeArea::FreeArea(const OutlineSet& outlines, double distance, Machining machining)
    : m_outlines(outlines), m_distance(distance), m_machining(machining)
{
    for (const PlaneCurve& s : outlines.Segments()) {
        if (IsPoint(s))
            continue;
        // The circle about the segment's start: each vertex of a closed chain
        // starts a segment.
        const CPoint2D round = s.start + CPoint2D(distance, 0.0);
        AddKeptPieces(PlaneCurve::Arc(s.start, round, round, true), {}, 1.0);
        if (s.arc) {
            for (double r : {s.radius + distance, s.radius - distance}) {
                if (r <= 1e-9)
                    continue;
                const CPoint2D a = s.centre + (s.start - s.centre) * (r / s.radius);
                const CPoint2D b = s.centre + (s.end - s.centre) * (r / s.radius);
                PlaneCurve piece = PlaneCurve::Arc(s.centre, a, b, s.ccw);
                piece.radius = r;
                AddKeptPieces(piece, {}, r > s.radius ? 1.0 : -1.0);
            }
        } else {
            const CPoint2D d = (s.end - s.start) * (1.0 / Norm(s.end - s.start));
            const CPoint2D n(-d.y, d.x);
            for (double sign : {-1.0, 1.0})
                AddKeptPieces(PlaneCurve::Line(s.start + n * (distance * sign), s.end + n * (distance * sign)),
                              n * sign, 0.0);
        }
    }
    m_index = std::make_unique<CurveIndex>(m_boundary);
}

// The pieces lie at the distance from their own segment up to the rounding
// of the arithmetic. A point is kept only when the free area widens beyond
// it, away from its own segment: where two walls stand exactly the tool's
// width apart the free area is a line of no width, which no offset follows
// and no tool path is asked to. Whether a kept run lies in the machined
// area is told once per run (a run crosses no outline).
bool FreeArea::Keeps(CPoint2D p, CPoint2D away) const
{
    constexpr double kBeyond = 1e-6;
    return m_outlines.DistanceFrom(p, m_distance) >= m_distance - 1e-9 &&
           m_outlines.DistanceFrom(p + away * kBeyond, m_distance + kBeyond) >= m_distance + 0.5 * kBeyond;
}

bool FreeArea::Contains(CPoint2D p) const
{
    return m_outlines.DistanceFrom(p, m_distance) >= m_distance && InMachinedArea(m_outlines.Depth(p), m_machining);
}

// Samples the piece and keeps the runs of samples that keep the distance,
// their ends found by bisection; a kept stretch shorter than the sample
// spacing may be missed, which only spares the toolpath a check.
void FreeArea::AddKeptPieces(const PlaneCurve& piece, CPoint2D lineAway, double arcAway)
{
    const auto Keeps = [&](CPoint2D p) {
        if (!piece.arc)
            return this->Keeps(p, lineAway);
        const CPoint2D radial = p - piece.centre;
        return this->Keeps(p, radial * (arcAway / Norm(radial)));
    };
    const double spacing = std::max(m_distance / 16.0, 1e-3);
    const int n = std::max(8, static_cast<int>(std::ceil(piece.Length() / spacing)));
    std::vector<char> kept(n + 1);
    for (int k = 0; k <= n; ++k)
        kept[k] = Keeps(piece.At(static_cast<double>(k) / n));
    const auto edge = [&](double keptT, double lostT) {
        for (int k = 0; k < 40; ++k) {
            const double mid = 0.5 * (keptT + lostT);
            (Keeps(piece.At(mid)) ? keptT : lostT) = mid;
        }
        return keptT;
    };
    const bool closed = piece.arc && Norm(piece.end - piece.start) < kSamePoint;
    const auto add = [&](double t0, double t1) {
        if (!InMachinedArea(m_outlines.Depth(piece.At(0.5 * (t0 + t1))), m_machining))
            return;
        if (closed && t0 <= 0.0 && t1 >= 1.0) {
            m_boundary.push_back(piece);
            return;
        }
        const CPoint2D a = piece.At(t0), b = piece.At(t1);
        if (Norm(b - a) < kSamePoint)
            return;
        if (piece.arc) {
            PlaneCurve c = PlaneCurve::Arc(piece.centre, a, b, piece.ccw);
            c.radius = piece.radius;
            m_boundary.push_back(c);
        } else {
            m_boundary.push_back(PlaneCurve::Line(a, b));
        }
    };
    int k = 0;
    while (k <= n) {
        if (!kept[k]) {
            ++k;
            continue;
        }
        const double t0 = k == 0 ? 0.0 : edge(static_cast<double>(k) / n, static_cast<double>(k - 1) / n);
        int j = k;
        while (j + 1 <= n && kept[j + 1])
            ++j;
        const double t1 = j == n ? 1.0 : edge(static_cast<double>(j) / n, static_cast<double>(j + 1) / n);
        add(t0, t1);
        k = j + 1;
    }
}

double FreeArea::DistanceFrom(CPoint2D p) const
{
    if (Contains(p))
        return 0.0;
    return m_index->DistanceFrom(p, 1e300);
}

double FreeArea::BoundaryLength() const
{
    double length = 0.0;
    for (const PlaneCurve& c : m_boundary)
        length += c.Length();
    return length;
}

// ---- trace and coverage ---------------------------------------------------

std::vector<PlaneCurve> DeepestCut(const std::vector<CMove>& moves)
{
    double deepest = 1e300;
    for (const CMove& m : moves)
        deepest = std::min(deepest, m.end.z);
    std::vector<PlaneCurve> cut;
    for (const CMove& m : moves)
        if (IsFeedMove(m.flag) && std::fabs(m.start.z - deepest) < 1e-9 && std::fabs(m.end.z - deepest) < 1e-9)
            cut.push_back(PlaneCurve::FromMove(m));
    return cut;
}

Trace MeasureTrace(const FreeArea& free, const std::vector<PlaneCurve>& cut, double step, double tolerance)
{
    const CurveIndex index(cut);
    Trace trace;
    int samples = 0, missed = 0;
    for (const PlaneCurve& piece : free.Boundary()) {
        const int n = std::max(1, static_cast<int>(std::ceil(piece.Length() / step)));
        for (int k = 0; k <= n; ++k) {
            const CPoint2D p = piece.At(static_cast<double>(k) / n);
            const double d = index.DistanceFrom(p, 1e3);
            ++samples;
            if (d > tolerance)
                ++missed;
            if (d > trace.worst) {
                trace.worst = d;
                trace.worstAt = p;
            }
        }
    }
    trace.missedFraction = samples > 0 ? static_cast<double>(missed) / samples : 0.0;
    return trace;
}

Coverage MeasureCoverage(const FreeArea& free, const OutlineSet& outlines, const std::vector<PlaneCurve>& cut,
                         double toolRadius, double gridStep, double tolerance)
{
    const CurveIndex index(cut);
    Coverage coverage;
    double minX, minY, maxX, maxY;
    outlines.Bounds(minX, minY, maxX, maxY);
    for (double x = minX + 0.5 * gridStep; x < maxX; x += gridStep)
        for (double y = minY + 0.5 * gridStep; y < maxY; y += gridStep) {
            const CPoint2D p(x, y);
            if (free.DistanceFrom(p) > toolRadius)
                continue;
            ++coverage.reachable;
            const double beyond = index.DistanceFrom(p, toolRadius + 1e3) - toolRadius;
            if (beyond > tolerance)
                ++coverage.uncut;
            if (beyond > coverage.worst) {
                coverage.worst = beyond;
                coverage.worstAt = p;
            }
        }
    return coverage;
}

} // namespace toolpathcheck
