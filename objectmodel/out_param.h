// The answers of interface operations through a caller's out-parameters:
// the values written, or E_POINTER for a null pointer.
#pragma once

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
