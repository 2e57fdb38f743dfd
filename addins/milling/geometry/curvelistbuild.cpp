// CCurveList: building a chain from the approximation of a curve entity.
//
// Conventions (as everywhere in this folder): x right, y up, counter-
// clockwise positive; the approximation's points are 3-D, the chain takes
// their x and y; lengths in drawing units; tolerant tests compare with
// g_geometryTolerance.
//
// Approximation lists by tag: 1 separate line pieces (points in pairs), 2 a
// polyline, 7 a circular arc (start, centre, normal, end), 8 an arc that
// continues from the last point read (centre, normal, end), 10 a polyline
// that continues from the last point read. Other tags add nothing.
#include <cmath>
#include <vector>

#include "addins/milling/geometry/curvelist.h"
#include "ientitycomponent.h"
#include "igeometry.h"
#include "objectmodel/polylineset.h"
#include "platform/com/unknwn.h"

namespace {

// An arc whose normal has x and y within this bound of 0 lies in the drawing
// plane (a fixed bound of the approximation, not the geometry tolerance).
constexpr double kInPlaneNormalBound = 1e-6;
// The steps of an out-of-plane arc's polyline are bounded, so that a huge
// radius against a tiny tolerance cannot ask for unbounded memory.
constexpr double kMaxArcSteps = 1 << 20;

enum ApproximationTag : uint32_t {
    kTagPieces = 1,
    kTagPolyline = 2,
    kTagArc = 7,
    kTagContinuedArc = 8,
    kTagContinuedPolyline = 10,
};

bool SamePlanarPoint(const CPoint3D& a, const CPoint3D& b)
{
    return std::fabs(a.x - b.x) < g_geometryTolerance && std::fabs(a.y - b.y) < g_geometryTolerance;
}

// Converts approximation lists into segments of a chain, in reading order.
class CApproximationReader {
public:
    CApproximationReader(CCurveList& out, double tolerance) : m_out(out), m_tolerance(tolerance) {}

    void Convert(IPolylineSet& set)
    {
        uint32_t count = 0;
        if (FAILED(set.GetCount(&count)))
            return;
        for (uint32_t i = 0; i < count && i <= INT32_MAX; ++i) {
            uint32_t tag = 0, points = 0;
            if (FAILED(set.GetTag(static_cast<int32_t>(i), &tag)) ||
                FAILED(set.GetPointCount(static_cast<int32_t>(i), &points)))
                continue;
            std::vector<CPoint3D> p;
            p.reserve(points);
            bool complete = true;
            for (uint32_t k = 0; k < points && k <= INT32_MAX && complete; ++k) {
                double x = 0, y = 0, z = 0;
                complete = SUCCEEDED(set.GetPoint(static_cast<int32_t>(i), static_cast<int32_t>(k), &x, &y, &z));
                p.emplace_back(x, y, z);
            }
            if (complete)
                ConvertList(tag, p);
        }
    }

private:
    void Line(const CPoint3D& a, const CPoint3D& b)
    {
        m_out.Append(std::make_unique<CLineSegment2D>(CPoint2D(a.x, a.y), CPoint2D(b.x, b.y)));
    }

    // A polyline from `from` through the points; points within the
    // tolerance of the one before them make no segment.
    void Polyline(CPoint3D from, const std::vector<CPoint3D>& p, size_t first)
    {
        for (size_t k = first; k < p.size(); ++k) {
            if (!SamePlanarPoint(from, p[k]))
                Line(from, p[k]);
            from = p[k];
        }
        SetLast(from);
    }

    void SetLast(const CPoint3D& p)
    {
        m_last = p;
        m_hasLast = true;
    }

    void ConvertList(uint32_t tag, const std::vector<CPoint3D>& p)
    {
        switch (tag) {
        case kTagPieces:
            for (size_t k = 0; k + 1 < p.size(); k += 2) {
                if (!SamePlanarPoint(p[k], p[k + 1]))
                    Line(p[k], p[k + 1]);
                SetLast(p[k + 1]);
            }
            return;
        case kTagPolyline:
            if (!p.empty())
                Polyline(p[0], p, 1);
            return;
        case kTagContinuedPolyline:
            // A continued polyline that comes first has nothing to continue
            // from: it starts at its own first point.
            if (m_hasLast)
                Polyline(m_last, p, 0);
            else if (!p.empty())
                Polyline(p[0], p, 1);
            return;
        case kTagArc:
            if (p.size() >= 4)
                Arc(p[0], p[1], p[2], p[3]);
            return;
        case kTagContinuedArc:
            // A continued arc that comes first has no start: it is skipped.
            if (p.size() >= 3 && m_hasLast)
                Arc(m_last, p[0], p[1], p[2]);
            return;
        default:
            return;
        }
    }

    void Arc(const CPoint3D& start, const CPoint3D& centre, const CPoint3D& normal, const CPoint3D& end)
    {
        if (std::fabs(normal.x) < kInPlaneNormalBound && std::fabs(normal.y) < kInPlaneNormalBound) {
            m_out.Append(std::make_unique<CArcSegment2D>(CPoint2D(centre.x, centre.y), CPoint2D(start.x, start.y),
                                                         CPoint2D(end.x, end.y), normal.z > 0.0 ? 1 : 0));
            SetLast(end);
            return;
        }
        ArcPolyline(start, centre, normal, end);
    }

    // An arc out of the drawing plane becomes a polyline with steps that
    // keep it within the tolerance, running from the start to the end
    // counter-clockwise about the normal.
    void ArcPolyline(const CPoint3D& start, const CPoint3D& centre, const CPoint3D& normal, const CPoint3D& end)
    {
        const CPoint3D toStart = start - centre;
        const double radius = toStart.Length();
        const CPoint3D axis = normal.Normalized();
        if (!(radius > 0.0) || !(m_tolerance > 0.0) || axis.IsZero()) {
            Line(start, end);
            SetLast(end);
            return;
        }
        const CPoint3D u = toStart / radius;
        const CPoint3D v = axis.Cross(u);
        double steps = std::trunc(kTwoPi / (1.6 / std::sqrt(radius / m_tolerance)));
        steps = std::min(std::max(steps, 1.0), kMaxArcSteps);
        const double step = kTwoPi / steps;
        const CPoint3D toEnd = end - centre;
        const bool full = std::fabs(start.x - end.x) < g_geometryTolerance &&
                          std::fabs(start.y - end.y) < g_geometryTolerance &&
                          std::fabs(start.z - end.z) < g_geometryTolerance;
        double sweep = std::atan2(toEnd.Dot(v), toEnd.Dot(u));
        if (sweep < 0.0)
            sweep += kTwoPi;
        const double count = std::min(std::trunc((full ? kTwoPi : sweep) / step + 1.0), kMaxArcSteps + 1.0);
        const int n = static_cast<int>(count);

        ComPtr<IPolylineSet> polyline = ComPtr<IPolylineSet>::Share(new CPolylineSet());
        polyline->AddPolyline(static_cast<uint32_t>(n + 1), kTagPolyline);
        polyline->SetPoint(0, 0, start.x, start.y, start.z);
        const double c = std::cos(step), s = std::sin(step);
        double x = radius, y = 0.0;
        for (int k = 1; k < n; ++k) {
            const double nx = x * c - y * s;
            y = x * s + y * c;
            x = nx;
            const CPoint3D p = centre + u * x + v * y;
            polyline->SetPoint(0, k, p.x, p.y, p.z);
        }
        polyline->SetPoint(0, n, end.x, end.y, end.z);
        Convert(*polyline.Get());
    }

    CCurveList& m_out;
    double m_tolerance;
    bool m_hasLast = false;
    CPoint3D m_last;
};

} // namespace

// The approximation is read forwards; a reversed curve then takes the
// segments in the reversed chain order, each turned round, so that every
// segment starts where the one before it ends.
void CCurveList::AddEntityCurve(IPlane* curve, const void* reversed, double tolerance)
{
    if (curve == nullptr)
        return;
    IPolylineSet* raw = nullptr;
    if (curve->GetApproximation(tolerance, &raw, 1) != S_OK || raw == nullptr)
        return;
    ComPtr<IPolylineSet> approximation = ComPtr<IPolylineSet>::Adopt(raw);
    CCurveList forward;
    CApproximationReader reader(forward, tolerance);
    reader.Convert(*approximation.Get());
    if (!reversed) {
        for (auto& segment : forward.segments)
            Append(std::move(segment));
        return;
    }
    for (auto it = forward.segments.rbegin(); it != forward.segments.rend(); ++it) {
        (*it)->Reverse();
        Append(std::move(*it));
    }
}

void CCurveList::AddEntitySegments(ICurveSetEntity* chain, double tolerance)
{
    if (chain == nullptr)
        return;
    int32_t count = 0;
    if (FAILED(chain->GetCurveCount(&count)))
        return;
    for (int32_t i = 0; i < count; ++i) {
        IPlane* raw = nullptr;
        void* companion = nullptr;
        if (FAILED(chain->GetCurve(i, &raw, &companion)) || raw == nullptr)
            continue;
        ComPtr<IPlane> curve = ComPtr<IPlane>::Adopt(raw);
        AddEntityCurve(curve.Get(), companion, tolerance);
    }
}
