// CPoint2: a point or vector in a plane, two CReal (x, y); and CRealRect, a
// rectangle of four CReal built from two corners.
//
// Conventions: y grows upwards (top is the larger y); comparisons use the
// absolute tolerance kRealTolerance.
#pragma once

#include "ivalues.h"
#include "objectmodel/com_object.h"
#include "objectmodel/real.h"
#include "platform/base/types.h"

// x and y with their flags, x first, each in a 16-byte slot.
struct Point2Components {
    RealComponent x;
    RealComponent y;
};

class CPoint2 : public CValueObject<IPoint2, IID_IPoint2> {
public:
    // Stored as y, x; every operation still takes x first.
    CReal y;
    CReal x;

    CPoint2() = default;
    CPoint2(const CReal& newX, const CReal& newY) : y(newY), x(newX) {}
    // A screen point, converted to doubles.
    explicit CPoint2(const POINT& screenPoint);
    // Reads source through its Get; a null source gives (0, 0).
    explicit CPoint2(IPoint2* source);
    CPoint2(const CPoint2& other) = default;
    CPoint2& operator=(const CPoint2& other) = default;
    ~CPoint2() override = default;

    // IPoint2. Every operation answers S_OK; a null argument is refused with
    // E_POINTER and nothing changes.
    HRESULT STDMETHODCALLTYPE CopyFrom(IPoint2* source) override;
    HRESULT STDMETHODCALLTYPE Set(IReal* newX, IReal* newY) override;
    HRESULT STDMETHODCALLTYPE Get(IReal* xOut, IReal* yOut) override;
    HRESULT STDMETHODCALLTYPE SetY(IReal* newY) override;
    HRESULT STDMETHODCALLTYPE GetY(IReal* yOut) override;
    HRESULT STDMETHODCALLTYPE SetX(IReal* newX) override;
    HRESULT STDMETHODCALLTYPE GetX(IReal* xOut) override;

    // Copies both coordinates with their flags.
    void Assign(const CPoint2& other) { *this = other; }
    // Tolerant: both coordinates IsEqual / either IsNotEqual.
    bool operator==(const CPoint2& other) const;
    bool operator!=(const CPoint2& other) const { return !(*this == other); }
    Point2Components GetComponents() const;
    // Divides by the length when the squared length differs from 1 by
    // kRealTolerance or more; the zero vector stays zero.
    void Normalize();
};

// A rectangle with left <= right and bottom <= top (y grows upwards).
class CRealRect {
public:
    CReal left;
    CReal top;
    CReal right;
    CReal bottom;

    CRealRect() = default;
    // From two corners p and q: left and bottom the smaller, right and top the
    // larger coordinate; a value counts as smaller or larger only by more than
    // kRealTolerance, otherwise q's value is taken.
    CRealRect(const CPoint2& p, const CPoint2& q);
};
