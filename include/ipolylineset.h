// IPolylineSet: a counted set of tagged polylines of 3-D points, the form in
// which entities hand out drawable geometry and the graphics context draws it.
// Tags: 1 segments (points in pairs), 2 open polyline, 3 closed polyline,
// 4 triangle strip, 5 triangle fan, 6 triangles (points in threes); other
// values are kept but not drawn. Polyline i and point j count from 0.
#pragma once

#include "iids.h"
#include "platform/com/unknwn.h"

struct IPolylineSet : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    virtual HRESULT STDMETHODCALLTYPE NotImplemented(void* unused) = 0;
    // The index-taking setters and getters answer E_FAIL without effect for
    // a polyline or point index out of range.
    virtual HRESULT STDMETHODCALLTYPE SetTag(int32_t polyline, uint32_t tag) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPoint(int32_t polyline, int32_t point, double x, double y, double z) = 0;
    // Appends a point; a polyline index out of range does nothing (S_OK).
    virtual HRESULT STDMETHODCALLTYPE AddPoint(int32_t polyline, double x, double y, double z) = 0;
    // Resizes a polyline keeping its first points; new points are (0, 0, 0)
    // until set. A polyline index out of range does nothing (S_OK).
    virtual HRESULT STDMETHODCALLTYPE SetPointCount(int32_t polyline, uint32_t count) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPolyline(uint32_t pointCount, uint32_t tag) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPolylines(uint32_t polylineCount, uint32_t tag) = 0;
    // 0 and S_OK for a polyline index out of range.
    virtual HRESULT STDMETHODCALLTYPE GetPointCount(int32_t polyline, uint32_t* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTag(int32_t polyline, uint32_t* tag) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCount(uint32_t* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPoint(int32_t polyline, int32_t point, double* x, double* y, double* z) = 0;

protected:
    ~IPolylineSet() = default;
};
