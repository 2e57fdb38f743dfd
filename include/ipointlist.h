// IPointList: an ordered, growable list of 3-D points through which
// geometric operations hand back a variable number of results. Points are
// copied in and out through IVector3. Indices count from 0; the index-taking
// operations answer E_FAIL without effect for an index outside the list.
#pragma once

#include "iids.h"
#include "ivalues.h"
#include "platform/com/unknwn.h"

struct IPointList : IUnknown {
    // Appends copies of every point of `other`, in order; E_FAIL, and this
    // list unchanged, when `other` cannot report its points.
    virtual HRESULT STDMETHODCALLTYPE Append(IPointList* other) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAt(int32_t index, IVector3* point) = 0;
    // Lends the stored point itself (no reference), valid until the list
    // next changes size.
    virtual HRESULT STDMETHODCALLTYPE GetAt(int32_t index, IVector3** point) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAt(int32_t index) = 0;
    // Inserts a copy before `index`; an index at or past the end first grows
    // the list with (0, 0, 0) points. E_FAIL for a negative index.
    virtual HRESULT STDMETHODCALLTYPE InsertAt(int32_t index, IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE Add(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCount(int32_t* count) = 0;
    // New points are (0, 0, 0). E_FAIL for a negative count.
    virtual HRESULT STDMETHODCALLTYPE SetSize(int32_t count) = 0;
    // The same, also setting the growth increment (-1 keeps the current one).
    virtual HRESULT STDMETHODCALLTYPE SetSize(int32_t count, int32_t growBy) = 0;

protected:
    ~IPointList() = default;
};
