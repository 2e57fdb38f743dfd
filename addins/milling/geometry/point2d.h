// 2-D points, unit directions and 3-D points of the milling geometry kernel.
//
// Conventions (as everywhere in this folder): x right, y up; angles in
// radians, counter-clockwise positive, read back in [0, 2*pi); tolerant tests
// compare with g_geometryTolerance (strictly less than it counts as equal).
#pragma once

#include <cmath>

#include "addins/milling/geometry/geomtol.h"

// Root of every kernel class: no fields, a virtual destructor only.
class CPoint2DBase {
public:
    virtual ~CPoint2DBase() = default;
};

class CPoint3D;

// A 2-D point or free vector. Coordinates are stored y before x; every
// constructor and operation takes and returns them as (x, y).
class CPoint2D : public CPoint2DBase {
public:
    double y = 0.0;
    double x = 0.0;

    CPoint2D() = default;
    CPoint2D(double px, double py) : y(py), x(px) {}
    CPoint2D(const CPoint2D&) = default;
    CPoint2D& operator=(const CPoint2D&) = default;

    CPoint2D operator+(const CPoint2D& p) const { return {x + p.x, y + p.y}; }
    CPoint2D operator-(const CPoint2D& p) const { return {x - p.x, y - p.y}; }
    CPoint2D operator-() const { return {-x, -y}; }
    CPoint2D operator*(double f) const { return {x * f, y * f}; }
    CPoint2D operator/(double f) const { return {x / f, y / f}; }
    CPoint2D& operator+=(const CPoint2D& p) { x += p.x; y += p.y; return *this; }
    CPoint2D& operator-=(const CPoint2D& p) { x -= p.x; y -= p.y; return *this; }
    CPoint2D& operator*=(double f) { x *= f; y *= f; return *this; }
    CPoint2D& operator/=(double f) { x /= f; y /= f; return *this; }

    double Dot(const CPoint2D& p) const { return x * p.x + y * p.y; }
    // z of the cross product: > 0 when p lies counter-clockwise of this.
    double Cross(const CPoint2D& p) const { return x * p.y - y * p.x; }
    // 1 when both coordinates differ by strictly less than the tolerance.
    int IsEqual(const CPoint2D& p) const
    {
        const double tol = g_geometryTolerance;
        return (std::fabs(x - p.x) < tol && std::fabs(y - p.y) < tol) ? 1 : 0;
    }
    int IsNotEqual(const CPoint2D& p) const { return IsEqual(p) ? 0 : 1; }
    int IsZero() const;
    double Length() const { return std::sqrt(x * x + y * y); }
    // Divided by its length; unchanged when the squared length is exactly 0 or 1.
    CPoint2D Normalized() const
    {
        const double squared = x * x + y * y;
        if (ExactlyEqual(squared, 0.0) || ExactlyEqual(squared, 1.0))
            return *this;
        return *this / std::sqrt(squared);
    }
    void Normalize() { *this = Normalized(); }
    // flag != 0: turned clockwise by 90 degrees (y, -x); flag 0: counter-clockwise (-y, x).
    CPoint2D Perpendicular(int flag) const { return flag ? CPoint2D(y, -x) : CPoint2D(-y, x); }
    // 1 when both x, or both y, lie beyond the tolerance on the same side of zero.
    int HasCommonSign(const CPoint2D& p) const;
};

// A direction held as the cosine (x) and sine (y) of its angle; normally of
// unit length. Arcs keep their start and end this way.
class CVector2D : public CPoint2DBase {
public:
    double x = 1.0;
    double y = 0.0;

    CVector2D() = default;
    CVector2D(double cosine, double sine) : x(cosine), y(sine) {}
    explicit CVector2D(double angle);
    CVector2D(const CPoint2D& p, int normalise)
    {
        const CPoint2D q = normalise ? p.Normalized() : p;
        x = q.x;
        y = q.y;
    }
    // The direction of the angle from a to b (both normalised first).
    CVector2D(const CPoint2D& a, const CPoint2D& b);
    // Cosine a.b and unsigned sine |a x b| of the angle between two 3-D vectors.
    CVector2D(const CPoint3D& a, const CPoint3D& b);
    // As above, the sine negated unless a x b has a common sign with ref.
    CVector2D(const CPoint3D& a, const CPoint3D& b, const CPoint3D& ref);
    CVector2D(const CVector2D&) = default;
    CVector2D& operator=(const CVector2D&) = default;

    CPoint2D ToPoint() const { return {x, y}; }
    double GetX() const { return x; }
    double GetY() const { return y; }
    void SetAngle(double angle);
    // The angle in [0, 2*pi).
    double Angle() const;
    double AngleDegrees() const { return Angle() * 180.0 / kPi; }
    // Direction of Angle + d.Angle and of Angle - d.Angle.
    CVector2D Rotated(const CVector2D& d) const { return {x * d.x - y * d.y, y * d.x + x * d.y}; }
    CVector2D Relative(const CVector2D& d) const { return {x * d.x + y * d.y, y * d.x - x * d.y}; }
    void Rotate(const CVector2D& d) { *this = Rotated(d); }
    void Unrotate(const CVector2D& d) { *this = Relative(d); }
    CVector2D ScaledAngle(double f) const { return CVector2D(Angle() * f); }
    CVector2D DividedAngle(double f) const { return CVector2D(Angle() / f); }
    void ScaleAngle(double f) { *this = ScaledAngle(f); }
    void DivideAngle(double f) { *this = DividedAngle(f); }
    double HalfAngleSine() const;
    double HalfAngleCosine() const;
    // Half of the unsigned angle, in [0, pi/2].
    CVector2D HalfAngle() const;
    int IsEqual(const CVector2D& d) const
    {
        const double tol = g_geometryTolerance;
        return (std::fabs(x - d.x) < tol && std::fabs(y - d.y) < tol) ? 1 : 0;
    }
    int IsNotEqual(const CVector2D& d) const { return IsEqual(d) ? 0 : 1; }
    // Angular order in [0, 2*pi) under the tolerance; both taken as unit
    // vectors. (1, 0) ranks as 0 against the upper half and as 2*pi
    // otherwise, so the order is not transitive through it.
    int IsLess(const CVector2D& d) const;
    int IsLessOrEqual(const CVector2D& d) const;
    int IsGreater(const CVector2D& d) const { return IsLessOrEqual(d) ? 0 : 1; }
    int IsGreaterOrEqual(const CVector2D& d) const { return IsLess(d) ? 0 : 1; }
};

double GetCosine(const CVector2D& d);
double GetSine(const CVector2D& d);
double GetTangent(const CVector2D& d);
// ScaledAngle, normalised.
CVector2D ScaledAngleNormalized(const CVector2D& d, double f);

// A 3-D point or vector, stored z, y, x; constructed as (x, y, z).
class CPoint3D : public CPoint2DBase {
public:
    double z = 0.0;
    double y = 0.0;
    double x = 0.0;

    CPoint3D() = default;
    CPoint3D(double px, double py, double pz) : z(pz), y(py), x(px) {}
    CPoint3D(const CPoint3D&) = default;
    CPoint3D& operator=(const CPoint3D&) = default;

    CPoint3D operator+(const CPoint3D& p) const { return {x + p.x, y + p.y, z + p.z}; }
    CPoint3D operator-(const CPoint3D& p) const { return {x - p.x, y - p.y, z - p.z}; }
    CPoint3D operator-() const { return {-x, -y, -z}; }
    CPoint3D operator*(double f) const { return {x * f, y * f, z * f}; }
    CPoint3D operator/(double f) const { return {x / f, y / f, z / f}; }
    CPoint3D& operator+=(const CPoint3D& p) { x += p.x; y += p.y; z += p.z; return *this; }
    CPoint3D& operator-=(const CPoint3D& p) { x -= p.x; y -= p.y; z -= p.z; return *this; }
    CPoint3D& operator*=(double f) { x *= f; y *= f; z *= f; return *this; }
    CPoint3D& operator/=(double f) { x /= f; y /= f; z /= f; return *this; }
    // Exact comparison, no tolerance.
    bool operator==(const CPoint3D& p) const { return ExactlyEqual(x, p.x) && ExactlyEqual(y, p.y) && ExactlyEqual(z, p.z); }
    bool operator!=(const CPoint3D& p) const { return !(*this == p); }

    double Dot(const CPoint3D& p) const { return x * p.x + y * p.y + z * p.z; }
    CPoint3D Cross(const CPoint3D& p) const { return {y * p.z - z * p.y, z * p.x - x * p.z, x * p.y - y * p.x}; }
    double Length() const;
    CPoint3D Normalized() const;
    void Normalize() { *this = Normalized(); }
    // All three exactly 0.
    bool IsZero() const { return ExactlyEqual(x, 0.0) && ExactlyEqual(y, 0.0) && ExactlyEqual(z, 0.0); }
    // x, then y, then z: both > 0 or both < 0 (no tolerance).
    int HasCommonSign(const CPoint3D& p) const;
};
