// CPoint2 and CRealRect.
#include "objectmodel/point2.h"

#include <cmath>

CPoint2::CPoint2(const POINT& screenPoint) : y(static_cast<double>(screenPoint.y)), x(static_cast<double>(screenPoint.x))
{
}

CPoint2::CPoint2(IPoint2* source)
{
    if (source != nullptr) {
        source->Get(&x, &y);
    }
}

HRESULT CPoint2::CopyFrom(IPoint2* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    CPoint2 read(*this);
    HRESULT hr = source->Get(&read.x, &read.y);
    if (FAILED(hr)) {
        return hr;
    }
    *this = read;
    return S_OK;
}

HRESULT CPoint2::Set(IReal* newX, IReal* newY)
{
    if (newX == nullptr || newY == nullptr) {
        return E_POINTER;
    }
    x.CopyFrom(newX);
    y.CopyFrom(newY);
    return S_OK;
}

HRESULT CPoint2::Get(IReal* xOut, IReal* yOut)
{
    if (xOut == nullptr || yOut == nullptr) {
        return E_POINTER;
    }
    xOut->CopyFrom(&x);
    yOut->CopyFrom(&y);
    return S_OK;
}

HRESULT CPoint2::SetY(IReal* newY) { return newY == nullptr ? E_POINTER : y.CopyFrom(newY); }
HRESULT CPoint2::GetY(IReal* yOut) { return yOut == nullptr ? E_POINTER : yOut->CopyFrom(&y); }
HRESULT CPoint2::SetX(IReal* newX) { return newX == nullptr ? E_POINTER : x.CopyFrom(newX); }
HRESULT CPoint2::GetX(IReal* xOut) { return xOut == nullptr ? E_POINTER : xOut->CopyFrom(&x); }

bool CPoint2::operator==(const CPoint2& other) const
{
    return x.IsEqual(other.x) && y.IsEqual(other.y);
}

Point2Components CPoint2::GetComponents() const
{
    return {x.GetComponent(), y.GetComponent()};
}

void CPoint2::Normalize()
{
    CReal squared = x * x + y * y;
    // The zero vector has no direction; it stays as it is instead of turning
    // into NaN.
    if (squared.IsNotEqual(1.0) && !Exactly(squared.GetValue(), 0.0)) {
        CReal length = RealSqrt(squared);
        x /= length;
        y /= length;
    }
}

CRealRect::CRealRect(const CPoint2& p, const CPoint2& q)
    : left(p.x.IsLess(q.x) ? p.x : q.x),
      top(p.y.IsGreater(q.y) ? p.y : q.y),
      right(p.x.IsGreater(q.x) ? p.x : q.x),
      bottom(p.y.IsLess(q.y) ? p.y : q.y)
{
}
