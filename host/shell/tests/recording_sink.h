// An IDispatch event sink that writes every call it gets into a log: the
// dispatch id and, for an IUnknown argument passed by reference, the name
// given to the object it names (else its ObjectToken).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/dispatch.h"

// How a log names an object that has no name (yet): "@" and its address.
inline std::string ObjectToken(const void* object)
{
    return "@" + std::to_string(reinterpret_cast<uintptr_t>(object));
}

class RecordingSink final : public IDispatch {
public:
    // `log` outlives the sink; `name` tells sinks apart in it.
    RecordingSink(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || (iid == IID_IDispatch && answersDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        std::string entry = m_name + " " + std::to_string(id);
        if (flags != DISPATCH_METHOD) {
            entry += " not a method";
        }
        for (UINT i = params != nullptr ? params->cArgs : 0; i > 0; --i) {
            const VARIANT& argument = params->rgvarg[i - 1];
            if (argument.vt == (VT_BYREF | VT_UNKNOWN)) {
                entry += " " + NameOf(*static_cast<IUnknown**>(argument.byref));
            } else if (argument.vt == VT_I4) {
                entry += " " + std::to_string(argument.lVal);
            } else {
                entry += " (type " + std::to_string(argument.vt) + ")";
            }
        }
        m_log.push_back(entry);
        if (onInvoke) {
            onInvoke();
        }
        return S_OK;
    }

    ULONG references = 0;
    bool answersDispatch = true;
    // Names of the objects that IUnknown arguments may name.
    std::vector<std::pair<IUnknown*, std::string>> names;
    std::function<void()> onInvoke;

private:
    std::string NameOf(IUnknown* object) const
    {
        for (const auto& [known, name] : names) {
            if (known == object) {
                return name;
            }
        }
        return ObjectToken(object);
    }

    std::vector<std::string>& m_log;
    std::string m_name;
};
