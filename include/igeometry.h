// The reference-geometry interfaces: the line (ILine, ILineEx), the plane
// (IPlane, IPlaneEx), the point entity (IPoint3) and the coordinate system
// (ICoordinateSystem). Each derives from IGeometryEntity and appends its
// operations in table order. Reserved slots keep their place and arity; the
// host classes answer them as noted on each slot, and no caller relies on
// them. Arguments of reserved slots are declared pointer-sized so that any
// value a caller might pass fits.
#pragma once

#include "ientity.h"
#include "ipointlist.h"

struct ILine : IGeometryEntity {
    // E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE LineReserved1(void*, void*, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved2(void*, void*) = 0;
    // The curve's direction at one of its points; the line answers E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE GetDirectionAt(IVector3* point, IVector3* direction) = 0;
    // E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE LineReserved3(void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved4(void*, void*, void*, void*, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved5(void*, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved6(void*, void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved7(void*, void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved8(void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved9(void*, void*, void*) = 0;
    // E_FAIL.
    virtual HRESULT STDMETHODCALLTYPE LineReserved10(void*) = 0;
    // Copies a point of the curve and its direction.
    virtual HRESULT STDMETHODCALLTYPE GetDefinition(IVector3* point, IVector3* direction) = 0;
    // A yes/no query; the line answers 0 and S_OK.
    virtual HRESULT STDMETHODCALLTYPE LineReserved11(BOOL* result) = 0;
    // Whether the curve is closed; asked before end and mid points.
    virtual HRESULT STDMETHODCALLTYPE IsClosed(BOOL* result) = 0;
    // E_FAIL when the curve has no such point (the line has none).
    virtual HRESULT STDMETHODCALLTYPE GetCenter(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMidPoint(IVector3* point) = 0;
    // E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE LineReserved12(void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineReserved13(void*) = 0;
    // E_FAIL when the curve has no end points (the line has none).
    virtual HRESULT STDMETHODCALLTYPE GetEndPoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStartPoint(IVector3* point) = 0;
    // Sets *third to 1 and answers S_OK.
    virtual HRESULT STDMETHODCALLTYPE LineReserved14(void*, void*, BOOL* third) = 0;
    // Empties `result`, then appends the intersection points with `other`.
    // E_NOTIMPL when `other` is not of a kind the curve can intersect. Both
    // option words are passed as 0x13 and not read.
    virtual HRESULT STDMETHODCALLTYPE IntersectLine(IObjectBase* other, IPointList* result, uint32_t option1,
                                                    uint32_t option2) = 0;
    virtual HRESULT STDMETHODCALLTYPE IntersectPlane(IObjectBase* other, IPointList* result, uint32_t option1,
                                                     uint32_t option2) = 0;

protected:
    ~ILine() = default;
};

struct ILineEx : ILine {
    virtual HRESULT STDMETHODCALLTYPE SetDirection(IVector3* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDirection(IVector3* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPoint(IVector3* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPoint(IVector3* out) = 0;

protected:
    ~ILineEx() = default;
};

struct IPlane : IGeometryEntity {
    // The curve approximated within `tolerance` as a new polyline set that
    // the caller releases. Callers pass mode 1. Any result but S_OK hands
    // out nothing. The host's plane answers E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                                       uint32_t mode) = 0;
    // Fills `parts` (GetPartCount entries) with the member curves of a
    // grouped entity, each with one reference for the caller. The host's
    // plane answers E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE GetParts(IPlane** parts) = 0;
    // The number of member curves; a failure or 0 means the entity is no
    // group. The host's plane sets *count to 0 and answers E_NOTIMPL.
    virtual HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) = 0;

protected:
    ~IPlane() = default;
};

struct IPlaneEx : IPlane {
    virtual HRESULT STDMETHODCALLTYPE SetNormal(IVector3* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNormal(IVector3* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOrigin(IVector3* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOrigin(IVector3* out) = 0;

protected:
    ~IPlaneEx() = default;
};

struct IPoint3 : IGeometryEntity {
    virtual HRESULT STDMETHODCALLTYPE SetPosition(IVector3* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPosition(IVector3* out) = 0;

protected:
    ~IPoint3() = default;
};

// A right-handed orthonormal frame. The axis setters turn the other axes
// with the one being set, so the frame stays orthonormal; the origin is
// never changed by them. Z comes before Y before X.
struct ICoordinateSystem : IGeometryEntity {
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(ICoordinateSystem* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetZAxis(IVector3* axis) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetZAxis(IVector3* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetYAxis(IVector3* axis) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetYAxis(IVector3* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetXAxis(IVector3* axis) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetXAxis(IVector3* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOrigin(IVector3* origin) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOrigin(IVector3* out) = 0;

protected:
    ~ICoordinateSystem() = default;
};
