// CVector3: interface operations, vector algebra, rotation, transformation
// and the plane side tests.
#include "objectmodel/vector3.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "objectmodel/matrix4.h"
#include "objectmodel/vector2.h"

namespace {

// Truncation toward zero into the 32-bit range; NaN gives 0.
LONG TruncateToLong(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<int32_t>::min();
    constexpr double kHigh = std::numeric_limits<int32_t>::max();
    if (v <= kLow) {
        return std::numeric_limits<int32_t>::min();
    }
    if (v >= kHigh) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<LONG>(v);
}

} // namespace

CVector3::CVector3(IVector3* source)
{
    if (source != nullptr) {
        source->Get(&x, &y, &z);
    }
}

CVector3::CVector3(const Vector3Components& components)
    : z(components.z), y(components.y), x(components.x)
{
}

CVector3& CVector3::operator=(const Vector3Components& components)
{
    x = CReal(components.x);
    y = CReal(components.y);
    z = CReal(components.z);
    return *this;
}

HRESULT CVector3::Rotate(IVector3* axisPoint, IVector3* axisDirection, IVector2* angle)
{
    if (axisPoint == nullptr || axisDirection == nullptr || angle == nullptr) {
        return E_POINTER;
    }
    RotateAbout(CVector3(axisPoint), CVector3(axisDirection), CVector2(angle));
    return S_OK;
}

HRESULT CVector3::CopyFrom(IVector3* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    // Through a copy, so that a source that fails half way changes nothing.
    CVector3 read(*this);
    HRESULT hr = source->Get(&read.x, &read.y, &read.z);
    if (FAILED(hr)) {
        return hr;
    }
    *this = read;
    return S_OK;
}

HRESULT CVector3::Set(IReal* newX, IReal* newY, IReal* newZ)
{
    if (newX == nullptr || newY == nullptr || newZ == nullptr) {
        return E_POINTER;
    }
    x.CopyFrom(newX);
    y.CopyFrom(newY);
    z.CopyFrom(newZ);
    return S_OK;
}

HRESULT CVector3::Get(IReal* xOut, IReal* yOut, IReal* zOut)
{
    if (xOut == nullptr || yOut == nullptr || zOut == nullptr) {
        return E_POINTER;
    }
    xOut->CopyFrom(&x);
    yOut->CopyFrom(&y);
    zOut->CopyFrom(&z);
    return S_OK;
}

HRESULT CVector3::SetZ(IReal* newZ) { return newZ == nullptr ? E_POINTER : z.CopyFrom(newZ); }
HRESULT CVector3::GetZ(IReal* zOut) { return zOut == nullptr ? E_POINTER : zOut->CopyFrom(&z); }
HRESULT CVector3::SetY(IReal* newY) { return newY == nullptr ? E_POINTER : y.CopyFrom(newY); }
HRESULT CVector3::GetY(IReal* yOut) { return yOut == nullptr ? E_POINTER : yOut->CopyFrom(&y); }
HRESULT CVector3::SetX(IReal* newX) { return newX == nullptr ? E_POINTER : x.CopyFrom(newX); }
HRESULT CVector3::GetX(IReal* xOut) { return xOut == nullptr ? E_POINTER : xOut->CopyFrom(&x); }

void CVector3::RotateAbout(const CVector3& axisPoint, const CVector3& axisDirection, const CVector2& angle)
{
    CVector3 t2 = (*this - axisPoint).Cross(axisDirection);
    CVector3 t3 = axisDirection.Cross(t2);
    *this = ((*this + t3 * angle.x) + t2 * angle.y) - t3;
}

Vector3Components CVector3::GetComponents() const
{
    return {x.GetComponent(), y.GetComponent(), z.GetComponent()};
}

POINT CVector3::ToIntPoint() const
{
    return {TruncateToLong(x.GetValue()), TruncateToLong(y.GetValue())};
}

CVector3 operator+(const CVector3& a, const CVector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
CVector3 operator-(const CVector3& a, const CVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
CVector3 CVector3::Negate() const { return {-x, -y, -z}; }
CVector3 CVector3::operator*(const CReal& s) const { return {x * s, y * s, z * s}; }
CVector3 CVector3::operator/(const CReal& s) const { return {x / s, y / s, z / s}; }

CVector3& CVector3::operator+=(const CVector3& b)
{
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
}

CVector3& CVector3::operator-=(const CVector3& b)
{
    x -= b.x;
    y -= b.y;
    z -= b.z;
    return *this;
}

CVector3& CVector3::operator*=(const CReal& s)
{
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

CVector3& CVector3::operator/=(const CReal& s)
{
    x /= s;
    y /= s;
    z /= s;
    return *this;
}

CReal CVector3::Dot(const CVector3& other) const
{
    return (x * other.x + y * other.y) + z * other.z;
}

CVector3 CVector3::Cross(const CVector3& other) const
{
    return {y * other.z - z * other.y, z * other.x - x * other.z, x * other.y - y * other.x};
}

CReal CVector3::Length() const
{
    return RealSqrt(Dot(*this));
}

void CVector3::Normalize()
{
    CReal squared = Dot(*this);
    if (squared.IsNotEqual(1.0) && !Exactly(squared.GetValue(), 0.0)) {
        *this /= RealSqrt(squared);
    }
}

CVector3 CVector3::Normalized() const
{
    CVector3 result(*this);
    result.Normalize();
    return result;
}

bool CVector3::operator==(const CVector3& other) const
{
    return x.IsEqual(other.x) && y.IsEqual(other.y) && z.IsEqual(other.z);
}

bool CVector3::IsZero() const
{
    return x.IsEqual(0.0) && y.IsEqual(0.0) && z.IsEqual(0.0);
}

CVector3 CVector3::Transform(const CMatrix4& m) const
{
    CReal result[3];
    for (int j = 0; j < 3; ++j) {
        result[j] = ((x * m(0, j) + y * m(1, j)) + z * m(2, j)) + m(3, j);
    }
    return {result[0], result[1], result[2]};
}

void CVector3::TransformInPlace(const CMatrix4& m)
{
    *this = Transform(m);
}

HRESULT CVector3::Mirror(IVector3* planePoint, IVector3* planeNormal)
{
    if (planePoint == nullptr || planeNormal == nullptr) {
        return E_POINTER;
    }
    CVector3 a(planePoint);
    CVector3 n(planeNormal);
    *this = *this + n * (2.0 * (a - *this).Dot(n));
    return S_OK;
}

namespace {

CReal PlaneSideValue(const CVector3& p, const CVector3& origin, const CVector3& normal)
{
    return normal.Dot(p - origin);
}

} // namespace

bool CVector3::IsInFrontOfPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsGreater(0.0);
}

bool CVector3::IsBehindPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsLess(0.0);
}

bool CVector3::IsInFrontOfOrOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsGreaterOrEqual(0.0);
}

bool CVector3::IsBehindOrOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsLessOrEqual(0.0);
}

bool CVector3::IsOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsEqual(0.0);
}

bool CVector3::IsOffPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const
{
    return PlaneSideValue(*this, planeOrigin, planeNormal).IsNotEqual(0.0);
}

bool CVector3::IsInsidePlanes(const PlaneSide& p1, const PlaneSide& p2, const PlaneSide& p3,
                              const PlaneSide& p4) const
{
    for (const PlaneSide* side : {&p1, &p2, &p3, &p4}) {
        if (!IsInFrontOfOrOnPlane(side->origin, side->normal)) {
            return false;
        }
    }
    return true;
}

bool CVector3::HasCommonSign(const CVector3& other) const
{
    const CReal* mine[3] = {&x, &y, &z};
    const CReal* theirs[3] = {&other.x, &other.y, &other.z};
    for (int axis = 0; axis < 3; ++axis) {
        bool bothPositive = mine[axis]->IsGreater(0.0) && theirs[axis]->IsGreater(0.0);
        bool bothNegative = mine[axis]->IsLess(0.0) && theirs[axis]->IsLess(0.0);
        if (bothPositive || bothNegative) {
            return true;
        }
    }
    return false;
}

CVector3 CVector3::ProjectOntoPlane(const CVector3& planeNormal) const
{
    return *this + planeNormal * ((-Dot(planeNormal)) / planeNormal.Dot(planeNormal));
}

CVector3 CVector3::AnyPerpendicular() const
{
    CReal absX = RealAbs(x);
    CReal absY = RealAbs(y);
    CReal absZ = RealAbs(z);
    CVector3 seed;
    if (absX.IsLessOrEqual(absY)) {
        seed = absX.IsLessOrEqual(absZ) ? CVector3(1.0, 0.0, 0.0) : CVector3(0.0, 0.0, 1.0);
    } else {
        seed = absY.IsLessOrEqual(absZ) ? CVector3(0.0, 1.0, 0.0) : CVector3(0.0, 0.0, 1.0);
    }
    CVector3 result = seed.ProjectOntoPlane(*this);
    result.Normalize();
    return result;
}
