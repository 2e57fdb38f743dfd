// CVector3: the point and direction type of the geometry model, three CReal
// components with the vector algebra, rotation about an axis and the
// transformation by a matrix.
//
// Conventions: right-handed axes; points are row vectors multiplied on the
// left of a CMatrix4, so row 3 of a matrix is the translation; angles are
// angle vectors (cos, sin) held in a CVector2; every comparison uses the
// absolute tolerance kRealTolerance. Arithmetic that makes new components
// gives flag 0; the in-place operations keep the components' flags.
#pragma once

#include "ivalues.h"
#include "objectmodel/com_object.h"
#include "objectmodel/real.h"
#include "platform/base/types.h"

class CMatrix4;
class CVector2;

// The three components with their flags, x first, as one record.
struct Vector3Components {
    RealComponent x;
    RealComponent y;
    RealComponent z;
};

class CVector3 : public CValueObject<IVector3, IID_IVector3> {
public:
    // Stored as z, y, x; every operation still names and passes x first.
    CReal z;
    CReal y;
    CReal x;

    CVector3() = default;
    CVector3(const CReal& newX, const CReal& newY, const CReal& newZ) : z(newZ), y(newY), x(newX) {}
    // Reads source through its IVector3::Get; a null source gives (0, 0, 0).
    explicit CVector3(IVector3* source);
    explicit CVector3(const Vector3Components& components);
    CVector3(const CVector3& other) = default;
    CVector3& operator=(const CVector3& other) = default;
    CVector3& operator=(const Vector3Components& components);
    ~CVector3() override = default;

    // IVector3. Every operation answers S_OK; a null argument is refused with
    // E_POINTER and nothing changes.
    // Rotates this point about the axis through axisPoint along axisDirection
    // by the angle vector angle (cos, sin); see RotateAbout.
    HRESULT STDMETHODCALLTYPE Rotate(IVector3* axisPoint, IVector3* axisDirection, IVector2* angle) override;
    HRESULT STDMETHODCALLTYPE CopyFrom(IVector3* source) override;
    HRESULT STDMETHODCALLTYPE Set(IReal* newX, IReal* newY, IReal* newZ) override;
    HRESULT STDMETHODCALLTYPE Get(IReal* xOut, IReal* yOut, IReal* zOut) override;
    HRESULT STDMETHODCALLTYPE SetZ(IReal* newZ) override;
    HRESULT STDMETHODCALLTYPE GetZ(IReal* zOut) override;
    HRESULT STDMETHODCALLTYPE SetY(IReal* newY) override;
    HRESULT STDMETHODCALLTYPE GetY(IReal* yOut) override;
    HRESULT STDMETHODCALLTYPE SetX(IReal* newX) override;
    HRESULT STDMETHODCALLTYPE GetX(IReal* xOut) override;

    // In place: P becomes P + c*t3 + s*t2 - t3 with t2 = (P - a) x d,
    // t3 = d x t2, (c, s) the angle vector. d is used as given, so the result
    // is a rotation only for a unit d; a positive sine turns clockwise when
    // seen from the tip of d.
    void RotateAbout(const CVector3& axisPoint, const CVector3& axisDirection, const CVector2& angle);

    Vector3Components GetComponents() const;
    // x and y truncated toward zero to 32-bit integers, z dropped. Values
    // beyond the 32-bit range are clamped to it; NaN gives 0.
    POINT ToIntPoint() const;

    // New vectors, flag 0.
    friend CVector3 operator+(const CVector3& a, const CVector3& b);
    friend CVector3 operator-(const CVector3& a, const CVector3& b);
    CVector3 operator-() const { return Negate(); }
    CVector3 Negate() const;
    CVector3 operator*(const CReal& s) const;
    CVector3 operator/(const CReal& s) const;

    // In place, flags kept.
    CVector3& operator+=(const CVector3& b);
    CVector3& operator-=(const CVector3& b);
    CVector3& operator*=(const CReal& s);
    CVector3& operator/=(const CReal& s);

    // (x*x' + y*y') + z*z'.
    CReal Dot(const CVector3& other) const;
    // (y*z' - z*y', z*x' - x*z', x*y' - y*x').
    CVector3 Cross(const CVector3& other) const;
    CReal Length() const;
    // Divides by the length unless the squared length is exactly 0 or within
    // kRealTolerance of 1: a zero vector stays zero, a nearly unit vector is
    // left as it is.
    void Normalize();
    CVector3 Normalized() const;

    // Tolerant: all three components IsEqual / any IsNotEqual.
    bool operator==(const CVector3& other) const;
    bool operator!=(const CVector3& other) const { return !(*this == other); }
    // Every component within kRealTolerance of 0.
    bool IsZero() const;

    // Maps this point by m: component j is ((x*m(0,j) + y*m(1,j)) + z*m(2,j)) + m(3,j);
    // column 3 is unused and nothing is divided by w.
    CVector3 Transform(const CMatrix4& m) const;
    void TransformInPlace(const CMatrix4& m);

    // In place: P becomes P + n * (2 * ((a - P) . n)) with a = planePoint and
    // n = planeNormal used as given (a reflection when n is a unit vector).
    HRESULT Mirror(IVector3* planePoint, IVector3* planeNormal);

    // Side of the plane through planeOrigin with normal planeNormal, from
    // d = n . (P - O); n need not be a unit vector, so d is the signed
    // distance times |n|. With t = kRealTolerance:
    //   IsInFrontOfPlane d > t         IsBehindPlane       d < -t
    //   IsInFrontOfOrOnPlane d > -t    IsBehindOrOnPlane   d < t
    //   IsOnPlane |d| < t              IsOffPlane          |d| >= t
    bool IsInFrontOfPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;
    bool IsBehindPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;
    bool IsInFrontOfOrOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;
    bool IsBehindOrOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;
    bool IsOnPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;
    bool IsOffPlane(const CVector3& planeOrigin, const CVector3& planeNormal) const;

    // A plane by its origin and normal, for the four-plane test.
    struct PlaneSide {
        const CVector3& origin;
        const CVector3& normal;
    };
    // IsInFrontOfOrOnPlane for all four planes, tested in order.
    bool IsInsidePlanes(const PlaneSide& p1, const PlaneSide& p2, const PlaneSide& p3, const PlaneSide& p4) const;

    // True at the first axis (x, y, z) on which both components are beyond
    // kRealTolerance with the same sign; components near zero never count.
    bool HasCommonSign(const CVector3& other) const;

    // P + n * ((-P . n) / (n . n)): this vector without its part along the
    // plane normal n (the plane's origin plays no part). n must not be zero.
    CVector3 ProjectOntoPlane(const CVector3& planeNormal) const;

    // A unit vector perpendicular to this one, seeded by the axis of the
    // smallest absolute component (ties go to x, then y). This vector must
    // not be zero.
    CVector3 AnyPerpendicular() const;
};
