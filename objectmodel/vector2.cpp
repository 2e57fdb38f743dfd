// CVector2: interface operations, angle vectors, the angle in radians and
// the order of angles.
#include "objectmodel/vector2.h"

#include "objectmodel/point2.h"
#include "objectmodel/vector3.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// (u . w, |u x w|) of the normalised directions; the sine keeps its sign only
// through the reference test of the caller.
CVector2 AngleBetween(CVector3 u, CVector3 w, const CVector3* reference)
{
    u.Normalize();
    w.Normalize();
    CVector3 normal = u.Cross(w);
    CReal sine = normal.Length();
    if (reference != nullptr && !reference->HasCommonSign(normal)) {
        sine = -sine;
    }
    return CVector2(u.Dot(w), sine);
}

CVector3 ReadVector(IVector3* source)
{
    return CVector3(source);
}

} // namespace

CVector2::CVector2(IVector2* source)
{
    if (source != nullptr) {
        source->GetY(&y);
        source->GetX(&x);
    }
}

CVector2::CVector2(const CReal& angleRad)
{
    SetAngle(angleRad);
}

CVector2::CVector2(const CPoint2& point) : x(point.x), y(point.y) {}

CVector2::CVector2(IPoint2* point) : CVector2(CPoint2(point)) {}

CVector2::CVector2(const CVector3& u, const CVector3& w) : CVector2(AngleBetween(u, w, nullptr)) {}

CVector2::CVector2(const CVector3& u, const CVector3& w, const CVector3& r) : CVector2(AngleBetween(u, w, &r)) {}

CVector2::CVector2(IVector3* u, IVector3* w) : CVector2(ReadVector(u), ReadVector(w)) {}

CVector2::CVector2(IVector3* u, IVector3* w, IVector3* r) : CVector2(ReadVector(u), ReadVector(w), ReadVector(r)) {}

HRESULT CVector2::CopyFrom(IVector2* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    CVector2 read(*this);
    HRESULT hr = source->Get(&read.x, &read.y);
    if (FAILED(hr)) {
        return hr;
    }
    *this = read;
    return S_OK;
}

HRESULT CVector2::Set(IReal* newX, IReal* newY)
{
    if (newX == nullptr || newY == nullptr) {
        return E_POINTER;
    }
    x.CopyFrom(newX);
    y.CopyFrom(newY);
    return S_OK;
}

HRESULT CVector2::Get(IReal* xOut, IReal* yOut)
{
    if (xOut == nullptr || yOut == nullptr) {
        return E_POINTER;
    }
    xOut->CopyFrom(&x);
    yOut->CopyFrom(&y);
    return S_OK;
}

HRESULT CVector2::SetY(IReal* newY) { return newY == nullptr ? E_POINTER : y.CopyFrom(newY); }
HRESULT CVector2::GetY(IReal* yOut) { return yOut == nullptr ? E_POINTER : yOut->CopyFrom(&y); }
HRESULT CVector2::SetX(IReal* newX) { return newX == nullptr ? E_POINTER : x.CopyFrom(newX); }
HRESULT CVector2::GetX(IReal* xOut) { return xOut == nullptr ? E_POINTER : xOut->CopyFrom(&x); }

void CVector2::SetAngle(const CReal& angleRad)
{
    x = RealCos(angleRad);
    y = RealSin(angleRad);
}

CReal CVector2::Angle() const
{
    const double t = kRealTolerance;
    CReal absX = RealAbs(x);
    CReal absY = RealAbs(y);
    // Nearer the y axis: the arc cosine, mirrored below the x axis.
    if (absX.IsLess(absY)) {
        CReal acosX = RealAcos(x);
        return y.GetValue() > -t ? acosX : kTwoPi - acosX;
    }
    // On the x axis.
    if (absY.GetValue() < t) {
        return CReal(x.GetValue() <= -t ? kPi : 0.0);
    }
    // Nearer the x axis: the arc sine, placed in its quadrant.
    CReal asinY = RealAsin(y);
    if (y.GetValue() <= -t) {
        return x.GetValue() <= -t ? kPi - asinY : kTwoPi + asinY;
    }
    return x.GetValue() > t ? asinY : kPi - asinY;
}

CReal CVector2::AngleDegrees() const
{
    return Angle() * 180.0 / kPi;
}

bool CVector2::operator==(const CVector2& other) const
{
    return x.IsEqual(other.x) && y.IsEqual(other.y);
}

CVector2 operator*(const CVector2& a, const CVector2& b)
{
    return {a.x * b.x - a.y * b.y, a.x * b.y + a.y * b.x};
}

CVector2 operator/(const CVector2& a, const CVector2& b)
{
    return {a.x * b.x + a.y * b.y, a.y * b.x - a.x * b.y};
}

CVector2 CVector2::operator-() const
{
    return {CReal(x.GetValue()), -y};
}

CVector2& CVector2::operator*=(const CVector2& b)
{
    *this = *this * b;
    return *this;
}

CVector2& CVector2::operator/=(const CVector2& b)
{
    *this = *this / b;
    return *this;
}

CVector2 CVector2::operator*(const CReal& s) const
{
    return CVector2(Angle() * s);
}

CVector2 CVector2::operator/(const CReal& s) const
{
    return CVector2(Angle() / s);
}

CVector2& CVector2::operator*=(const CReal& s)
{
    *this = *this * s;
    return *this;
}

CVector2& CVector2::operator/=(const CReal& s)
{
    *this = *this / s;
    return *this;
}

CPoint2 CVector2::ToPoint2() const
{
    return CPoint2(x, y);
}

namespace {

enum class AngleOrder { Less, LessOrEqual };

// One function for < and <=: they differ only in the cosine tests of steps
// 1 and 3.
bool CompareAngles(const CVector2& a, const CVector2& b, AngleOrder order)
{
    const double t = kRealTolerance;
    const double ax = a.x.GetValue();
    const double ay = a.y.GetValue();
    const double bx = b.x.GetValue();
    const double by = b.y.GetValue();
    const bool lessOrEqual = order == AngleOrder::LessOrEqual;
    if (ay >= t) {
        bool bOnPositiveXAxis = CReal(bx).IsEqual(1.0);
        bool aBeyondB = lessOrEqual ? ax > bx - t : ax > bx + t;
        return !(by >= -t && (bOnPositiveXAxis || !aBeyondB));
    }
    if (by > t) {
        return !(ay < -t || ax < -t);
    }
    return lessOrEqual ? ax < bx + t : ax < bx - t;
}

} // namespace

bool CVector2::operator<(const CVector2& b) const
{
    return CompareAngles(*this, b, AngleOrder::Less);
}

bool CVector2::operator<=(const CVector2& b) const
{
    return CompareAngles(*this, b, AngleOrder::LessOrEqual);
}

CReal Cos(const CVector2& v) { return v.x; }
CReal Sin(const CVector2& v) { return v.y; }
CReal Tan(const CVector2& v) { return v.y / v.x; }
