// ISelectionSet: an ordered list of object ids, the form in which a set of
// document objects travels between the host and the add-ins; IPickRegion
// extends it with where the selection was made (four side planes, the pick
// line and two corners). An object id is the document record's pointer
// value, pointer-sized; the list holds no references.
#pragma once

#include "iids.h"
#include "ivalues.h"
#include "platform/com/unknwn.h"

struct IPlane;
struct ILine;

struct ISelectionSet : IUnknown {
    // The index-taking operations answer E_FAIL without effect for an index
    // outside the list.
    virtual HRESULT STDMETHODCALLTYPE SetAt(int32_t index, uintptr_t id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAt(int32_t index, uintptr_t* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAt(int32_t index) = 0;
    // Inserts before `index`; an index at or past the end extends the list
    // with id 0 up to index + 1. E_FAIL for a negative index.
    virtual HRESULT STDMETHODCALLTYPE InsertAt(int32_t index, uintptr_t id) = 0;
    virtual HRESULT STDMETHODCALLTYPE Add(uintptr_t id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCount(uint32_t* count) = 0;
    // New entries are 0. E_FAIL for a negative size.
    virtual HRESULT STDMETHODCALLTYPE SetSize(int32_t size) = 0;
    // The same with a growth step (-1 keeps the default).
    virtual HRESULT STDMETHODCALLTYPE SetSize(int32_t size, int32_t grow) = 0;

protected:
    ~ISelectionSet() = default;
};

struct IPickRegion : ISelectionSet {
    // Lends the region's own side planes (no reference). E_FAIL, the outs
    // untouched, when the region is not valid.
    virtual HRESULT STDMETHODCALLTYPE GetPlanes(IPlane** left, IPlane** bottom, IPlane** right, IPlane** top) = 0;
    // Lends the region's pick line (no reference). E_FAIL when not valid.
    virtual HRESULT STDMETHODCALLTYPE GetLine(ILine** line) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSecondCorner(IPoint2* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstCorner(IPoint2* point) = 0;
    // 1 when valid and the corners differ (a box), else 0.
    virtual HRESULT STDMETHODCALLTYPE IsBox(BOOL* result) = 0;
    // 1 when valid and the corners are equal (a single pick), else 0.
    virtual HRESULT STDMETHODCALLTYPE IsPoint(BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsValid(BOOL* result) = 0;

protected:
    ~IPickRegion() = default;
};
