// CHostClassFactory: the class factory of the host's own document objects
// (CLSID_HostObjectFactory). It makes a model object, an id group, a colour
// attachment or an attribute set, chosen by the requested interface. It is
// embedded in its owner and never destroyed by Release.
#pragma once

#include "platform/com/unknwn.h"

class CHostClassFactory : public IClassFactory {
public:
    CHostClassFactory() = default;
    CHostClassFactory(const CHostClassFactory&) = delete;
    CHostClassFactory& operator=(const CHostClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // An outer object: CLASS_E_NOAGGREGATION, out untouched. An interface
    // that names none of the four classes: out null, E_NOINTERFACE.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
    virtual ~CHostClassFactory() = default;

    LONG LockCount() const { return m_lockCount; }

private:
    LONG m_referenceCount = 0;
    LONG m_lockCount = 0;
};
