// 2-D points, unit directions and 3-D points of the milling geometry kernel.
// Conventions: see point2d.h.
#include "addins/milling/geometry/point2d.h"

#include <cmath>

int CPoint2D::IsZero() const { return (IsWithinTolerance(x) && IsWithinTolerance(y)) ? 1 : 0; }

int CPoint2D::HasCommonSign(const CPoint2D& p) const
{
    const double tol = g_geometryTolerance;
    if ((x > tol && p.x > tol) || (x < -tol && p.x < -tol))
        return 1;
    if ((y > tol && p.y > tol) || (y < -tol && p.y < -tol))
        return 1;
    return 0;
}

CVector2D::CVector2D(double angle) : x(std::cos(angle)), y(std::sin(angle)) {}

CVector2D::CVector2D(const CPoint2D& a, const CPoint2D& b)
{
    const CPoint2D na = a.Normalized();
    const CPoint2D nb = b.Normalized();
    x = na.x * nb.x + na.y * nb.y;
    y = na.x * nb.y - na.y * nb.x;
}

CVector2D::CVector2D(const CPoint3D& a, const CPoint3D& b)
{
    const CPoint3D na = a.Normalized();
    const CPoint3D nb = b.Normalized();
    x = na.Dot(nb);
    y = na.Cross(nb).Length();
}

CVector2D::CVector2D(const CPoint3D& a, const CPoint3D& b, const CPoint3D& ref)
{
    const CPoint3D na = a.Normalized();
    const CPoint3D nb = b.Normalized();
    const CPoint3D cross = na.Cross(nb);
    x = na.Dot(nb);
    y = cross.Length();
    if (!cross.HasCommonSign(ref))
        y = -y;
}

void CVector2D::SetAngle(double angle)
{
    x = std::cos(angle);
    y = std::sin(angle);
}

double CVector2D::Angle() const
{
    const double tol = g_geometryTolerance;
    if (std::fabs(y) > std::fabs(x))
        return y > -tol ? std::acos(x) : kTwoPi - std::acos(x);
    if (-tol < y && y < tol)
        return x >= 0.0 ? 0.0 : kPi;
    if (y > 0.0)
        return x > tol ? std::asin(y) : kPi - std::asin(y);
    return x > -tol ? std::asin(y) + kTwoPi : kPi - std::asin(y);
}

double CVector2D::HalfAngleSine() const { return std::sqrt((1.0 - x) / 2.0); }

double CVector2D::HalfAngleCosine() const { return std::sqrt((1.0 + x) / 2.0); }

CVector2D CVector2D::HalfAngle() const
{
    const CPoint2D half = CPoint2D(HalfAngleCosine(), HalfAngleSine()).Normalized();
    return {half.x, half.y};
}

// Both orders place a direction by its half of the circle, then compare the
// cosines within a half: on the lower half (and the axis) the angle grows
// with x, on the upper half it falls with x. Where the cosines agree within
// the tolerance, which near the horizontal axis spans an angle of about the
// square root of the tolerance, the sine of the angle between the two
// directions decides, so that short arcs near the axis keep their inside.
// (1, 0) on the axis ranks as angle 0 against the upper half and as 2*pi
// otherwise.
int CVector2D::IsLess(const CVector2D& d) const
{
    const double tol = g_geometryTolerance;
    const double turn = x * d.y - y * d.x; // > 0 when d lies counter-clockwise of this
    if (y < tol) {
        if (d.y > tol)
            return (y >= -tol && x >= -tol) ? 1 : 0;
        if (x < d.x - tol)
            return 1;
        if (x > d.x + tol)
            return 0;
        return turn > tol ? 1 : 0;
    }
    if (d.y < -tol)
        return 1;
    if (std::fabs(d.x - 1.0) < tol && d.y < tol)
        return 0;
    if (x > d.x + tol)
        return 1;
    if (x < d.x - tol)
        return 0;
    return turn > tol ? 1 : 0;
}

int CVector2D::IsLessOrEqual(const CVector2D& d) const
{
    const double tol = g_geometryTolerance;
    const double turn = x * d.y - y * d.x;
    if (y < tol) {
        if (d.y > tol)
            return (y >= -tol && x >= -tol) ? 1 : 0;
        if (x < d.x - tol)
            return 1;
        if (x > d.x + tol)
            return 0;
        return turn > -tol ? 1 : 0;
    }
    if (d.y < -tol)
        return 1;
    if (std::fabs(d.x - 1.0) < tol && d.y < tol)
        return 0;
    if (x > d.x + tol)
        return 1;
    if (x < d.x - tol)
        return 0;
    return turn > -tol ? 1 : 0;
}

double GetCosine(const CVector2D& d) { return d.x; }
double GetSine(const CVector2D& d) { return d.y; }
double GetTangent(const CVector2D& d) { return d.y / d.x; }

CVector2D ScaledAngleNormalized(const CVector2D& d, double f)
{
    const CVector2D scaled = d.ScaledAngle(f);
    return CVector2D(scaled.ToPoint(), 1);
}

double CPoint3D::Length() const { return std::sqrt(x * x + y * y + z * z); }

CPoint3D CPoint3D::Normalized() const
{
    const double squared = x * x + y * y + z * z;
    if (ExactlyEqual(squared, 0.0) || ExactlyEqual(squared, 1.0))
        return *this;
    return *this / std::sqrt(squared);
}

int CPoint3D::HasCommonSign(const CPoint3D& p) const
{
    if ((x > 0.0 && p.x > 0.0) || (x < 0.0 && p.x < 0.0))
        return 1;
    if ((y > 0.0 && p.y > 0.0) || (y < 0.0 && p.y < 0.0))
        return 1;
    if ((z > 0.0 && p.z > 0.0) || (z < 0.0 && p.z < 0.0))
        return 1;
    return 0;
}
