// The answers of interface operations through a caller's out-parameters:
// the values written, or E_POINTER for a null pointer.
#pragma once

#include <new>
#include <utility>

#include "platform/base/guid.h"
#include "platform/base/types.h"

template <class T, class U>
HRESULT WriteOut(T* out, const U& value)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = value;
    return S_OK;
}

// The class ids of a stored object: the factory that makes it and the
// interface it is made for; E_POINTER when either pointer is null.
inline HRESULT WriteClassIds(CLSID* factory, IID* iid, const CLSID& factoryValue, const IID& iidValue)
{
    if (factory == nullptr || iid == nullptr) {
        return E_POINTER;
    }
    *factory = factoryValue;
    *iid = iidValue;
    return S_OK;
}

// A new object of type T made from `args`, handed out through `out` as its
// interface I with no reference counted yet (the taker's first reference
// is its own); E_POINTER for a null pointer, E_OUTOFMEMORY when it cannot
// be made. `out` is null on failure.
template <class I, class T, class... Args>
HRESULT WriteNewObject(IUnknown** out, Args&&... args)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    try {
        *out = static_cast<I*>(new T(std::forward<Args>(args)...));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
