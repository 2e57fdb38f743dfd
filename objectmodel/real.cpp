// CReal: interface operations, tolerant equality, the comparisons with a
// plain number on the left and the Real* functions.
#include "objectmodel/real.h"

#include <cmath>

HRESULT CReal::CopyFrom(IReal* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    // Through locals, so that a source that fails leaves this number as it was.
    double newValue = value;
    uint16_t newFlag = flag;
    HRESULT hr = source->Get(&newValue, &newFlag);
    if (FAILED(hr)) {
        return hr;
    }
    value = newValue;
    flag = newFlag;
    return S_OK;
}

HRESULT CReal::Set(double newValue, uint16_t newFlag)
{
    value = newValue;
    flag = newFlag;
    return S_OK;
}

HRESULT CReal::Get(double* valueOut, uint16_t* flagOut)
{
    if (valueOut == nullptr || flagOut == nullptr) {
        return E_POINTER;
    }
    *valueOut = value;
    *flagOut = flag;
    return S_OK;
}

bool CReal::IsEqual(double b) const
{
    // The larger minus the smaller operand, so the result does not depend on
    // which side the number stands.
    double difference = value > b ? value - b : b - value;
    return difference < kRealTolerance;
}

namespace {

CReal Truth(bool holds)
{
    return CReal(holds ? 1.0 : 0.0);
}

} // namespace

CReal IsEqual(double d, const CReal& b) { return Truth(CReal(d).IsEqual(b)); }
CReal IsNotEqual(double d, const CReal& b) { return Truth(CReal(d).IsNotEqual(b)); }
CReal IsLess(double d, const CReal& b) { return Truth(CReal(d).IsLess(b)); }
CReal IsGreater(double d, const CReal& b) { return Truth(CReal(d).IsGreater(b)); }
CReal IsLessOrEqual(double d, const CReal& b) { return Truth(CReal(d).IsLessOrEqual(b)); }
CReal IsGreaterOrEqual(double d, const CReal& b) { return Truth(CReal(d).IsGreaterOrEqual(b)); }

CReal RealSqrt(const CReal& a) { return CReal(std::sqrt(a.GetValue())); }
CReal RealPow(const CReal& base, const CReal& exponent) { return CReal(std::pow(base.GetValue(), exponent.GetValue())); }
CReal RealSin(const CReal& a) { return CReal(std::sin(a.GetValue())); }
CReal RealCos(const CReal& a) { return CReal(std::cos(a.GetValue())); }
CReal RealTan(const CReal& a) { return CReal(std::tan(a.GetValue())); }
CReal RealAsin(const CReal& a) { return CReal(std::asin(a.GetValue())); }
CReal RealAcos(const CReal& a) { return CReal(std::acos(a.GetValue())); }
CReal RealAtan(const CReal& a) { return CReal(std::atan(a.GetValue())); }
CReal RealAbs(const CReal& a) { return CReal(std::fabs(a.GetValue())); }
