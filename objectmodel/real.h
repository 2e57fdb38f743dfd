// CReal: the scalar of the geometry model, a double that carries a 16-bit
// flag and whose comparisons all use the absolute tolerance kRealTolerance.
//
// The flag is carried, never interpreted: assignment, copying, IReal::CopyFrom,
// IReal::Set, IReal::Get and compound assignment keep or carry it; every
// operation that makes a new number (arithmetic, the Real* functions,
// SetValue) gives flag 0. Comparisons ignore it.
#pragma once

#include <cstdint>

#include "ivalues.h"
#include "objectmodel/com_object.h"
#include "objectmodel/tolerance.h"

// A number with its flag as records carry it: the value, then the flag, padded
// to 16 bytes (the flag takes an 8-byte slot).
struct RealComponent {
    double value = 0.0;
    uint16_t flag = 0;
};
static_assert(sizeof(RealComponent) == 16);

class CReal : public CValueObject<IReal, IID_IReal> {
public:
    CReal() = default;
    // Implicit on purpose: a plain number is a CReal with flag 0.
    CReal(double newValue, uint16_t newFlag = 0) : flag(newFlag), value(newValue) {}
    explicit CReal(const RealComponent& component) : flag(component.flag), value(component.value) {}
    CReal(const CReal& other) = default;
    CReal& operator=(const CReal& other) = default;
    ~CReal() override = default;

    // IReal. Null pointers are refused with E_POINTER and nothing changes.
    // Copies value and flag from source, through its Get.
    HRESULT STDMETHODCALLTYPE CopyFrom(IReal* source) override;
    HRESULT STDMETHODCALLTYPE Set(double newValue, uint16_t newFlag) override;
    HRESULT STDMETHODCALLTYPE Get(double* valueOut, uint16_t* flagOut) override;

    // Sets the value and clears the flag.
    void SetValue(double newValue)
    {
        value = newValue;
        flag = 0;
    }
    double GetValue() const { return value; }
    uint16_t GetFlag() const { return flag; }
    RealComponent GetComponent() const { return {value, flag}; }

    // New numbers, flag 0. Division by zero gives the floating-point result.
    CReal operator+() const { return CReal(value); }
    CReal operator-() const { return CReal(-value); }
    friend CReal operator+(const CReal& a, const CReal& b) { return CReal(a.value + b.value); }
    friend CReal operator-(const CReal& a, const CReal& b) { return CReal(a.value - b.value); }
    friend CReal operator*(const CReal& a, const CReal& b) { return CReal(a.value * b.value); }
    friend CReal operator/(const CReal& a, const CReal& b) { return CReal(a.value / b.value); }
    friend CReal operator+(const CReal& a, double d) { return CReal(a.value + d); }
    friend CReal operator-(const CReal& a, double d) { return CReal(a.value - d); }
    friend CReal operator*(const CReal& a, double d) { return CReal(a.value * d); }
    friend CReal operator/(const CReal& a, double d) { return CReal(a.value / d); }
    friend CReal operator+(double d, const CReal& a) { return CReal(d + a.value); }
    friend CReal operator-(double d, const CReal& a) { return CReal(d - a.value); }
    friend CReal operator*(double d, const CReal& a) { return CReal(d * a.value); }
    friend CReal operator/(double d, const CReal& a) { return CReal(d / a.value); }

    // In place; the flag stays.
    CReal& operator+=(const CReal& b) { return *this += b.value; }
    CReal& operator-=(const CReal& b) { return *this -= b.value; }
    CReal& operator*=(const CReal& b) { return *this *= b.value; }
    CReal& operator/=(const CReal& b) { return *this /= b.value; }
    CReal& operator+=(double d)
    {
        value += d;
        return *this;
    }
    CReal& operator-=(double d)
    {
        value -= d;
        return *this;
    }
    CReal& operator*=(double d)
    {
        value *= d;
        return *this;
    }
    CReal& operator/=(double d)
    {
        value /= d;
        return *this;
    }

    // Tolerant comparisons, all strict as written, with t = kRealTolerance:
    //   IsEqual          |a - b| < t        IsNotEqual        |a - b| >= t
    //   IsLess           a < b - t          IsGreater         a > b + t
    //   IsLessOrEqual    a < b + t          IsGreaterOrEqual  a > b - t
    // They are not an ordering (equality is not transitive): never hand them
    // to a sort or an ordered container.
    bool IsEqual(double b) const;
    bool IsNotEqual(double b) const { return !IsEqual(b); }
    bool IsLess(double b) const { return value < b - kRealTolerance; }
    bool IsGreater(double b) const { return value > b + kRealTolerance; }
    bool IsLessOrEqual(double b) const { return value < b + kRealTolerance; }
    bool IsGreaterOrEqual(double b) const { return value > b - kRealTolerance; }
    bool IsEqual(const CReal& b) const { return IsEqual(b.value); }
    bool IsNotEqual(const CReal& b) const { return IsNotEqual(b.value); }
    bool IsLess(const CReal& b) const { return IsLess(b.value); }
    bool IsGreater(const CReal& b) const { return IsGreater(b.value); }
    bool IsLessOrEqual(const CReal& b) const { return IsLessOrEqual(b.value); }
    bool IsGreaterOrEqual(const CReal& b) const { return IsGreaterOrEqual(b.value); }

private:
    uint16_t flag = 0;
    double value = 0.0;
};

// The comparisons with a plain number d on the left: the same rule as
// CReal(d).IsXxx(b), answered as a new CReal of value 1.0 (holds) or 0.0.
CReal IsEqual(double d, const CReal& b);
CReal IsNotEqual(double d, const CReal& b);
CReal IsLess(double d, const CReal& b);
CReal IsGreater(double d, const CReal& b);
CReal IsLessOrEqual(double d, const CReal& b);
CReal IsGreaterOrEqual(double d, const CReal& b);

// Functions of the values, each a new CReal with flag 0, angles in radians.
// Arguments are not checked: a domain error gives NaN as the library does.
CReal RealSqrt(const CReal& a);
CReal RealPow(const CReal& base, const CReal& exponent);
CReal RealSin(const CReal& a);
CReal RealCos(const CReal& a);
CReal RealTan(const CReal& a);
CReal RealAsin(const CReal& a);
CReal RealAcos(const CReal& a);
CReal RealAtan(const CReal& a);
CReal RealAbs(const CReal& a);
