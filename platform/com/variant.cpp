// VARIANT and BSTR helpers.
#include "platform/com/variant.h"

#include <cstdlib>
#include <cstring>

#include "platform/com/unknwn.h"

BSTR SysAllocString(const char* text)
{
    if (text == nullptr) {
        return nullptr;
    }
    const size_t length = std::strlen(text);
    auto* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text, length + 1);
    }
    return copy;
}

void SysFreeString(BSTR text) { std::free(text); }

UINT SysStringLen(BSTR text) { return text == nullptr ? 0 : static_cast<UINT>(std::strlen(text)); }

void VariantInit(VARIANT* value)
{
    if (value != nullptr) {
        std::memset(value, 0, sizeof(VARIANT));
        value->vt = VT_EMPTY;
    }
}

HRESULT VariantClear(VARIANT* value)
{
    if (value == nullptr) {
        return E_INVALIDARG;
    }
    switch (value->vt) {
    case VT_BSTR:
        SysFreeString(value->bstrVal);
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (value->punkVal != nullptr) {
            value->punkVal->Release();
        }
        break;
    default:
        break;
    }
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* target, const VARIANT* source)
{
    if (target == nullptr || source == nullptr) {
        return E_INVALIDARG;
    }
    if (target == source) {
        return S_OK;
    }
    VariantClear(target);
    *target = *source;
    switch (source->vt) {
    case VT_BSTR:
        target->bstrVal = SysAllocString(source->bstrVal);
        if (source->bstrVal != nullptr && target->bstrVal == nullptr) {
            VariantInit(target);
            return E_OUTOFMEMORY;
        }
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (target->punkVal != nullptr) {
            target->punkVal->AddRef();
        }
        break;
    default:
        break;
    }
    return S_OK;
}
