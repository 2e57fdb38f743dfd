// Contour generators shared by the geometry tests and benchmarks: polygons,
// circles, rounded rectangles, gear outlines and random star polygons.
#pragma once

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "addins/milling/geometry/curvelist.h"

namespace shapes {

inline std::unique_ptr<CCurveList> Polygon(const std::vector<CPoint2D>& points, bool closed = true)
{
    auto list = std::make_unique<CCurveList>();
    const size_t n = points.size();
    for (size_t k = 0; k + 1 < n; ++k)
        list->Append(std::make_unique<CLineSegment2D>(points[k], points[k + 1]));
    if (closed && n > 2)
        list->Append(std::make_unique<CLineSegment2D>(points[n - 1], points[0]));
    return list;
}

inline std::unique_ptr<CCurveList> Rect(double x0, double y0, double x1, double y1, bool ccw = true)
{
    std::vector<CPoint2D> p = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    if (!ccw)
        p = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    return Polygon(p);
}

inline std::unique_ptr<CCurveList> Circle(double cx, double cy, double r, bool ccw = true)
{
    auto list = std::make_unique<CCurveList>();
    auto arc = std::make_unique<CArcSegment2D>();
    arc->ccw = ccw ? 1 : 0;
    arc->SetCircle({cx, cy}, r);
    list->Append(std::move(arc));
    return list;
}

// A circle made of two half arcs.
inline std::unique_ptr<CCurveList> TwoArcCircle(double cx, double cy, double r, bool ccw = true)
{
    auto list = std::make_unique<CCurveList>();
    const CPoint2D c(cx, cy), e(cx + r, cy), w(cx - r, cy);
    list->Append(std::make_unique<CArcSegment2D>(c, e, w, ccw ? 1 : 0));
    list->Append(std::make_unique<CArcSegment2D>(c, w, e, ccw ? 1 : 0));
    return list;
}

// Counter-clockwise rectangle with rounded corners of radius r.
inline std::unique_ptr<CCurveList> RoundedRect(double x0, double y0, double x1, double y1, double r)
{
    auto list = std::make_unique<CCurveList>();
    auto line = [&](double ax, double ay, double bx, double by) {
        list->Append(std::make_unique<CLineSegment2D>(CPoint2D(ax, ay), CPoint2D(bx, by)));
    };
    auto arc = [&](double cx, double cy, double ax, double ay, double bx, double by) {
        list->Append(std::make_unique<CArcSegment2D>(CPoint2D(cx, cy), CPoint2D(ax, ay), CPoint2D(bx, by), 1));
    };
    line(x0 + r, y0, x1 - r, y0);
    arc(x1 - r, y0 + r, x1 - r, y0, x1, y0 + r);
    line(x1, y0 + r, x1, y1 - r);
    arc(x1 - r, y1 - r, x1, y1 - r, x1 - r, y1);
    line(x1 - r, y1, x0 + r, y1);
    arc(x0 + r, y1 - r, x0 + r, y1, x0, y1 - r);
    line(x0, y1 - r, x0, y0 + r);
    arc(x0 + r, y0 + r, x0, y0 + r, x0 + r, y0);
    return list;
}

// Counter-clockwise gear outline with teeth teeth, four segments per tooth:
// a flank line up, an arc on the tip circle, a flank line down, an arc on the
// root circle. Radii grow with the tooth count so that teeth keep their size.
inline std::unique_ptr<CCurveList> Gear(int teeth, double toothSize = 1.0)
{
    auto list = std::make_unique<CCurveList>();
    const double rootRadius = teeth * toothSize / 1.5;
    const double tipRadius = rootRadius + toothSize;
    const double step = kTwoPi / teeth;
    auto at = [](double r, double a) { return CPoint2D(r * std::cos(a), r * std::sin(a)); };
    const CPoint2D centre(0.0, 0.0);
    for (int k = 0; k < teeth; ++k) {
        const double a0 = k * step;
        const double a1 = a0 + step * 0.2;
        const double a2 = a0 + step * 0.45;
        const double a3 = a0 + step * 0.65;
        const double a4 = (k + 1 == teeth) ? 0.0 : (k + 1) * step;
        list->Append(std::make_unique<CLineSegment2D>(at(rootRadius, a0), at(tipRadius, a1)));
        list->Append(std::make_unique<CArcSegment2D>(centre, at(tipRadius, a1), at(tipRadius, a2), 1));
        list->Append(std::make_unique<CLineSegment2D>(at(tipRadius, a2), at(rootRadius, a3)));
        list->Append(std::make_unique<CArcSegment2D>(centre, at(rootRadius, a3), at(rootRadius, a4), 1));
    }
    return list;
}

// Counter-clockwise outline of a long pen stroke written in loops, like a
// line of handwriting: loops upright strokes of width 1 and height h, 1
// apart, whose lines are joined tangentially by half circles at the top of
// each stroke and at the foot of each gap, closed by a base bar below.
// Four segments per loop, three more for the bar.
inline std::unique_ptr<CCurveList> Serpentine(int loops, double h = 3.0)
{
    auto list = std::make_unique<CCurveList>();
    auto line = [&](double ax, double ay, double bx, double by) {
        list->Append(std::make_unique<CLineSegment2D>(CPoint2D(ax, ay), CPoint2D(bx, by)));
    };
    // Along the top from right to left: stroke k spans [-2k, 1 - 2k].
    for (int k = 0; k < loops; ++k) {
        const double x = -2.0 * k;
        line(x + 1, 0, x + 1, h);
        list->Append(std::make_unique<CArcSegment2D>(CPoint2D(x + 0.5, h), CPoint2D(x + 1, h), CPoint2D(x, h), 1));
        line(x, h, x, 0);
        if (k + 1 < loops)
            list->Append(
                std::make_unique<CArcSegment2D>(CPoint2D(x - 0.5, 0), CPoint2D(x, 0), CPoint2D(x - 1, 0), 0));
    }
    const double left = -2.0 * (loops - 1);
    line(left, 0, left, -2);
    line(left, -2, 1, -2);
    line(1, -2, 1, 0);
    return list;
}

// Counter-clockwise regular-ish star polygon: n vertices at increasing
// angles with radii drawn from [rMin, rMax]. Always simple.
inline std::unique_ptr<CCurveList> RandomStar(std::mt19937& random, int n, double rMin, double rMax,
                                              CPoint2D centre = {0, 0})
{
    std::uniform_real_distribution<double> radius(rMin, rMax);
    std::vector<CPoint2D> points;
    for (int k = 0; k < n; ++k) {
        const double a = kTwoPi * k / n;
        const double r = radius(random);
        points.push_back(centre + CPoint2D(r * std::cos(a), r * std::sin(a)));
    }
    return Polygon(points);
}

// Counter-clockwise polygon of n vertices round a circle with segments of
// about `step`, every other vertex pushed out by a random amount up to
// `spike`: a ring of fine spikes, narrower than the offsets that cut them.
inline std::unique_ptr<CCurveList> SpikyRing(std::mt19937& random, int n, double step = 0.2, double spike = 0.8)
{
    std::uniform_real_distribution<double> out(0.0, spike);
    const double radius = step * n / kTwoPi;
    std::vector<CPoint2D> points;
    for (int k = 0; k < n; ++k) {
        const double a = kTwoPi * k / n;
        const double r = radius + (k % 2 ? out(random) : 0.0);
        points.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return Polygon(points);
}

// The list moved by `by`.
inline std::unique_ptr<CCurveList> Moved(std::unique_ptr<CCurveList> list, const CPoint2D& by)
{
    for (auto& segment : list->segments) {
        if (segment->GetType() == kSegmentTypeArc) {
            auto& arc = static_cast<CArcSegment2D&>(*segment);
            arc.centre = arc.centre + by;
        } else {
            auto& line = static_cast<CLineSegment2D&>(*segment);
            line.start = line.start + by;
            line.end = line.end + by;
        }
    }
    return list;
}

// A copy of a list run the other way round.
inline std::unique_ptr<CCurveList> Reversed(const CCurveList& list)
{
    auto result = std::make_unique<CCurveList>();
    for (auto it = list.segments.rbegin(); it != list.segments.rend(); ++it)
        result->Append((*it)->Clone(1));
    return result;
}

// Signed area (counter-clockwise positive) of a closed chain: the polygon of
// its end points plus the circular segments of its arcs.
inline double SignedArea(const CCurveList& list)
{
    double area = 0.0;
    for (const auto& segment : list.segments) {
        const CPoint2D s = segment->GetStartPoint(), e = segment->GetEndPoint();
        area += 0.5 * s.Cross(e);
        if (segment->GetType() == kSegmentTypeArc) {
            const auto& arc = static_cast<const CArcSegment2D&>(*segment);
            const double sweep = arc.SweepAngle();
            const double segmentArea = 0.5 * arc.radius * arc.radius * (sweep - std::sin(sweep));
            area += arc.ccw ? segmentArea : -segmentArea;
        }
    }
    return area;
}

// Points along every segment (ends included), about one per step of length.
inline std::vector<CPoint2D> Sample(const CCurveList& list, int perSegment)
{
    std::vector<CPoint2D> points;
    for (const auto& segment : list.segments) {
        const CPoint2D s = segment->GetStartPoint(), e = segment->GetEndPoint();
        for (int k = 0; k <= perSegment; ++k) {
            const double t = static_cast<double>(k) / perSegment;
            if (segment->GetType() == kSegmentTypeLine) {
                points.push_back(s + (e - s) * t);
            } else {
                const auto& arc = static_cast<const CArcSegment2D&>(*segment);
                const double a = arc.startDir.Angle() + (arc.ccw ? 1.0 : -1.0) * arc.SweepAngle() * t;
                points.push_back(arc.centre + CPoint2D(std::cos(a), std::sin(a)) * arc.radius);
            }
        }
    }
    return points;
}

// Distance from a point to the nearest point of a chain.
inline double DistanceTo(const CCurveList& list, const CPoint2D& p)
{
    double best = -1.0;
    for (const auto& segment : list.segments) {
        CPoint2D q = segment->ClosestPoint(p, kClosedSegment);
        if (segment->GetType() == kSegmentTypeArc &&
            p.IsEqual(static_cast<const CArcSegment2D&>(*segment).centre))
            q = segment->GetStartPoint();
        const double d = (q - p).Length();
        if (best < 0.0 || d < best)
            best = d;
    }
    return best;
}

} // namespace shapes
