// Helpers of the toolpath tests: parameters, sampling moves, continuity and
// clearance checks.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "addins/milling/features/millingfeature.h"
#include "addins/milling/geometry/tests/shapes.h"

namespace toolpathtest {

using namespace shapes;

// How far a sampled cutting point may come nearer than the offset distance
// (drawing units): offsets are simplified at 0.0005.
constexpr double kClearanceTolerance = 2e-3;
constexpr double kContinuityTolerance = 1e-9;

inline CMillingParams Params(double top, double bottom, double step, double diameter, double offset, int outside = 0)
{
    CMillingParams p;
    p.zTop = top;
    p.zBottom = bottom;
    p.zSafePlane = 20.0;
    p.zEngage = 2.0;
    p.offset = offset;
    p.tool.verticalStep = step;
    p.tool.radialStep = 40.0;
    p.tool.diameter = diameter;
    p.outside = outside;
    return p;
}

template <typename... T>
std::vector<std::unique_ptr<CCurveList>> Make(T... lists)
{
    std::vector<std::unique_ptr<CCurveList>> v;
    (v.push_back(std::move(lists)), ...);
    return v;
}

inline bool Horizontal(const CMove& m) { return std::fabs(m.start.z - m.end.z) < 1e-12; }

// Points along a move in the plane.
inline std::vector<CPoint2D> SampleMove(const CMove& m, int n)
{
    std::vector<CPoint2D> points;
    if (IsArcMove(m.flag)) {
        const double a0 = std::atan2(m.start.y - m.centre.y, m.start.x - m.centre.x);
        double a1 = std::atan2(m.end.y - m.centre.y, m.end.x - m.centre.x);
        const bool ccw = !IsClockwiseArc(m.flag);
        double sweep = ccw ? a1 - a0 : a0 - a1;
        while (sweep <= 1e-9)
            sweep += 2 * kPi;
        for (int i = 0; i <= n; ++i) {
            const double a = a0 + (ccw ? 1 : -1) * sweep * i / n;
            points.emplace_back(m.centre.x + m.radius * std::cos(a), m.centre.y + m.radius * std::sin(a));
        }
    } else {
        for (int i = 0; i <= n; ++i) {
            const double t = static_cast<double>(i) / n;
            points.emplace_back(m.start.x + (m.end.x - m.start.x) * t, m.start.y + (m.end.y - m.start.y) * t);
        }
    }
    return points;
}

inline double MoveLength(const CMove& m)
{
    if (!IsArcMove(m.flag))
        return std::hypot(m.end.x - m.start.x, m.end.y - m.start.y);
    const std::vector<CPoint2D> p = SampleMove(m, 2000);
    double length = 0.0;
    for (size_t i = 1; i < p.size(); ++i)
        length += (p[i] - p[i - 1]).Length();
    return length;
}

inline void ExpectContinuous(const std::vector<CMove>& moves)
{
    for (size_t i = 1; i < moves.size(); ++i) {
        SCOPED_TRACE("move " + std::to_string(i));
        EXPECT_NEAR(moves[i].start.x, moves[i - 1].end.x, kContinuityTolerance);
        EXPECT_NEAR(moves[i].start.y, moves[i - 1].end.y, kContinuityTolerance);
        EXPECT_NEAR(moves[i].start.z, moves[i - 1].end.z, kContinuityTolerance);
    }
}

// Every horizontal cutting move keeps the offset distance from every contour;
// inside milling also stays inside the outermost contour.
inline void ExpectClearance(const std::vector<CMove>& moves, const std::vector<std::unique_ptr<CCurveList>>& contours,
                     double distance, bool inside)
{
    for (size_t i = 0; i < moves.size(); ++i) {
        const CMove& m = moves[i];
        if (!IsFeedMove(m.flag) || !Horizontal(m))
            continue;
        for (const CPoint2D& p : SampleMove(m, 16)) {
            for (const auto& c : contours) {
                const double d = DistanceTo(*c, p);
                if (d < distance - kClearanceTolerance)
                    ADD_FAILURE() << "move " << i << " at (" << p.x << ", " << p.y << ") is " << d
                                  << " from a contour";
            }
            if (inside) {
                EXPECT_EQ(contours.front()->ClassifyPoint(p, 1), PointPlace::Inside) << "move " << i;
            }
        }
    }
}

// Horizontal feed length per level height.
inline std::map<double, double> CutLengthByLevel(const std::vector<CMove>& moves)
{
    std::map<double, double> lengths;
    for (const CMove& m : moves)
        if (IsFeedMove(m.flag) && Horizontal(m))
            lengths[m.start.z] += MoveLength(m);
    return lengths;
}

} // namespace toolpathtest
