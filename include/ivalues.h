// Interfaces of the value objects of the shared object model: the tolerant
// real number, 2-D point, 3-D vector, 4x4 matrix and 2-D vector (angle).
// Value objects have one owner: AddRef does nothing and returns 0, Release
// destroys the object at once. Operations stand in table order.
#pragma once

#include "iids.h"
#include "platform/com/unknwn.h"

struct IReal : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IReal* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(double value, uint16_t flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(double* value, uint16_t* flag) = 0;

protected:
    ~IReal() = default;
};

struct IPoint2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IPoint2* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(IReal* x, IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(IReal* x, IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetX(IReal* x) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetX(IReal* x) = 0;

protected:
    ~IPoint2() = default;
};

struct IVector2;

struct IVector3 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Rotate(IVector3* axisPoint, IVector3* axisDirection, IVector2* angle) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IVector3* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(IReal* x, IReal* y, IReal* z) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(IReal* x, IReal* y, IReal* z) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetZ(IReal* z) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetZ(IReal* z) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetX(IReal* x) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetX(IReal* x) = 0;

protected:
    ~IVector3() = default;
};

struct IMatrix4 : IUnknown {
    // Row and column 0 to 3; outside that range both answer E_FAIL and
    // touch nothing.
    virtual HRESULT STDMETHODCALLTYPE SetElement(uint32_t row, uint32_t column, IReal* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetElement(uint32_t row, uint32_t column, IReal* value) = 0;

protected:
    ~IMatrix4() = default;
};

struct IVector2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IVector2* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(IReal* x, IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(IReal* x, IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetY(IReal* y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetX(IReal* x) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetX(IReal* x) = 0;

protected:
    ~IVector2() = default;
};
