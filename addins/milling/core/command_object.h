// CAddinCommandObject: identity and lifetime shared by every command and
// pane object of the add-in. QueryInterface answers IUnknown, the class's
// own class id and IAddinCommand; AddRef and Release move the object's own
// count and the module's object count; the object deletes itself when its
// count drops to 0. A class derives from it and supplies Create and OnEvent;
// `Base` (IAddinCommand or a common base of several commands, which gets
// the constructor's arguments) holds them.
#pragma once

#include <utility>

#include "addins/milling/core/module_count.h"
#include "iaddin.h"
#include "iids.h"

template <const GUID& ClassId, class Base = IAddinCommand>
class CAddinCommandObject : public Base {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == ClassId || iid == IID_IAddinCommand) {
            *out = static_cast<IAddinCommand*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        RaiseModuleObjectCount();
        return static_cast<ULONG>(++m_references);
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LowerModuleObjectCount();
        if (--m_references == 0) {
            delete this;
            return 0;
        }
        return static_cast<ULONG>(m_references);
    }
    virtual ~CAddinCommandObject() = default;

protected:
    template <class... Arguments>
    explicit CAddinCommandObject(Arguments&&... arguments) : Base(std::forward<Arguments>(arguments)...)
    {
    }
    CAddinCommandObject(const CAddinCommandObject&) = delete;
    CAddinCommandObject& operator=(const CAddinCommandObject&) = delete;

private:
    long m_references = 0;
};
