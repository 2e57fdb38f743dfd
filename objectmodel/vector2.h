// CVector2: a pair (x, y) of CReal, used as a plain 2-D vector and as the
// system's form of an angle a: the angle vector (cos a, sin a).
//
// Conventions: angles in radians, counter-clockwise positive; the angle
// operations (products, quotients, the order) assume unit vectors and never
// normalise. Arithmetic results carry flag 0. Comparisons use the absolute
// tolerance kRealTolerance.
#pragma once

#include "ivalues.h"
#include "objectmodel/com_object.h"
#include "objectmodel/real.h"

class CPoint2;
class CVector3;

class CVector2 : public CValueObject<IVector2, IID_IVector2> {
public:
    CReal x;
    CReal y;

    CVector2() = default;
    CVector2(const CReal& newX, const CReal& newY) : x(newX), y(newY) {}
    // Reads source through its GetY and GetX; a null source gives (0, 0).
    explicit CVector2(IVector2* source);
    // The angle vector (cos angle, sin angle) of an angle in radians.
    explicit CVector2(const CReal& angleRad);
    explicit CVector2(const CPoint2& point);
    // Reads point into a CPoint2 first; a null point gives (0, 0).
    explicit CVector2(IPoint2* point);
    // The angle between the directions u and w: (u . w, |u x w|) of the
    // normalised directions, so the sine is never negative.
    CVector2(const CVector3& u, const CVector3& w);
    // The signed angle from u to w: as above, with the sine negated unless the
    // reference direction r and u x w HasCommonSign.
    CVector2(const CVector3& u, const CVector3& w, const CVector3& r);
    // The same from interface pointers; a null pointer reads as (0, 0, 0).
    CVector2(IVector3* u, IVector3* w);
    CVector2(IVector3* u, IVector3* w, IVector3* r);
    CVector2(const CVector2& other) = default;
    CVector2& operator=(const CVector2& other) = default;
    ~CVector2() override = default;

    // IVector2. Every operation answers S_OK; a null argument is refused with
    // E_POINTER and nothing changes.
    HRESULT STDMETHODCALLTYPE CopyFrom(IVector2* source) override;
    HRESULT STDMETHODCALLTYPE Set(IReal* newX, IReal* newY) override;
    HRESULT STDMETHODCALLTYPE Get(IReal* xOut, IReal* yOut) override;
    HRESULT STDMETHODCALLTYPE SetY(IReal* newY) override;
    HRESULT STDMETHODCALLTYPE GetY(IReal* yOut) override;
    HRESULT STDMETHODCALLTYPE SetX(IReal* newX) override;
    HRESULT STDMETHODCALLTYPE GetX(IReal* xOut) override;

    // In place: (cos angle, sin angle).
    void SetAngle(const CReal& angleRad);
    CReal GetX() const { return x; }
    CReal GetY() const { return y; }

    // The angle in radians in [0, 2*pi): acos where the vector lies nearer the
    // y axis, asin where it lies nearer the x axis; within kRealTolerance of
    // the x axis it is exactly 0 or pi.
    CReal Angle() const;
    CReal AngleDegrees() const;
    CReal Tan() const { return y / x; }
    CReal Cot() const { return x / y; }

    // Tolerant: both components IsEqual / either IsNotEqual.
    bool operator==(const CVector2& other) const;
    bool operator!=(const CVector2& other) const { return !(*this == other); }

    // Angle sum, difference and opposite of angle vectors.
    friend CVector2 operator*(const CVector2& a, const CVector2& b);
    friend CVector2 operator/(const CVector2& a, const CVector2& b);
    CVector2 operator-() const;
    CVector2& operator*=(const CVector2& b);
    CVector2& operator/=(const CVector2& b);

    // The angle vector of Angle() * s (or / s).
    CVector2 operator*(const CReal& s) const;
    CVector2 operator/(const CReal& s) const;
    friend CVector2 operator*(const CReal& s, const CVector2& a) { return a * s; }
    CVector2& operator*=(const CReal& s);
    CVector2& operator/=(const CReal& s);

    CPoint2 ToPoint2() const;

    // The order of angle vectors, decided from the components with
    // t = kRealTolerance (a vector is "upper" when y >= t):
    //   a < b: 1. a upper: false when b.y >= -t and (b.x within t of 1, or
    //             not a.x > b.x + t); else true.
    //          2. else, b.y > t: false when a.y < -t or a.x < -t; else true.
    //          3. else: a.x < b.x - t.
    //   a <= b: the same with not (a.x > b.x - t) in step 1 and a.x < b.x + t
    //           in step 3.
    //   a > b is !(a <= b); a >= b is !(a < b).
    // NOT A STRICT WEAK ORDER: a vector within t of the positive x axis is
    // below every upper vector but above every lower one, so (1, 0) < (0, 1),
    // (0, 1) < (0, -1) and (0, -1) < (1, 0) all hold. Use it only to compare
    // two angles; never sort with it or key an ordered container by it
    // (sort by Angle() instead).
    bool operator<(const CVector2& b) const;
    bool operator<=(const CVector2& b) const;
    bool operator>(const CVector2& b) const { return !(*this <= b); }
    bool operator>=(const CVector2& b) const { return !(*this < b); }
};

// Components of an angle vector: v.x, v.y and v.y / v.x.
CReal Cos(const CVector2& v);
CReal Sin(const CVector2& v);
CReal Tan(const CVector2& v);
