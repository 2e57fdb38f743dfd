// CPolylineSet: the counted set of tagged polylines of 3-D points through
// which entities, the graphics context and add-ins exchange drawable
// geometry. Tags: 1 segments, 2 open polyline, 3 closed polyline, 4 triangle
// strip, 5 triangle fan, 6 triangles; other values are kept, not drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "ipolylineset.h"
#include "objectmodel/com_object.h"

class CPolylineSet : public CCountedObject<IPolylineSet, IID_IPolylineSet> {
public:
    struct Point {
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
    };
    struct Polyline {
        uint32_t tag = 0;
        std::vector<Point> points;
    };

    // Count 0 and reference count 0: the creator takes the first reference.
    CPolylineSet() = default;

    // IPolylineSet. Indices count from 0 and are i32, so a set never holds
    // more than INT32_MAX polylines or a polyline more than INT32_MAX points;
    // growth past that is refused with E_INVALIDARG, exhausted memory with
    // E_OUTOFMEMORY, and nothing changes. Null out-pointers give E_POINTER.
    HRESULT STDMETHODCALLTYPE Clear() override;
    // E_NOTIMPL.
    HRESULT STDMETHODCALLTYPE NotImplemented(void* unused) override;
    // E_FAIL without effect for a polyline index out of range.
    HRESULT STDMETHODCALLTYPE SetTag(int32_t polyline, uint32_t tag) override;
    // E_FAIL without effect for a polyline or point index out of range.
    HRESULT STDMETHODCALLTYPE SetPoint(int32_t polyline, int32_t point, double x, double y, double z) override;
    // Appends a point. A polyline index out of range (negative, or at or past
    // the count) does nothing and answers S_OK.
    HRESULT STDMETHODCALLTYPE AddPoint(int32_t polyline, double x, double y, double z) override;
    // Gives the polyline exactly count points, keeping the first ones; new
    // points are (0, 0, 0). A polyline index out of range does nothing (S_OK).
    HRESULT STDMETHODCALLTYPE SetPointCount(int32_t polyline, uint32_t count) override;
    // Appends one polyline of pointCount points (0, 0, 0) with the tag.
    HRESULT STDMETHODCALLTYPE AddPolyline(uint32_t pointCount, uint32_t tag) override;
    // Appends polylineCount polylines without points, each with the tag.
    HRESULT STDMETHODCALLTYPE AddPolylines(uint32_t polylineCount, uint32_t tag) override;
    // 0 and S_OK for a polyline index out of range.
    HRESULT STDMETHODCALLTYPE GetPointCount(int32_t polyline, uint32_t* count) override;
    // E_FAIL for a polyline index out of range.
    HRESULT STDMETHODCALLTYPE GetTag(int32_t polyline, uint32_t* tag) override;
    HRESULT STDMETHODCALLTYPE GetCount(uint32_t* count) override;
    // E_FAIL, out-parameters untouched, for a polyline or point index out of range.
    HRESULT STDMETHODCALLTYPE GetPoint(int32_t polyline, int32_t point, double* x, double* y, double* z) override;

    // Read access for drawing code inside the host.
    const std::vector<Polyline>& Polylines() const { return m_polylines; }

private:
    Polyline* Find(int32_t polyline);

    std::vector<Polyline> m_polylines;
};
