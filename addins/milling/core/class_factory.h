// CAddinClassFactory: the module's class factory. The host asks it for
// every object of the add-in by the GUID the object's class is known by
// (a command's or pane's class id, IAddin, or IMillingJob), which selects
// the class from a table.
#pragma once

#include "platform/com/unknwn.h"

class CAddinClassFactory final : public IClassFactory {
public:
    CAddinClassFactory() = default;
    CAddinClassFactory(const CAddinClassFactory&) = delete;
    CAddinClassFactory& operator=(const CAddinClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // CLASS_E_NOAGGREGATION for an outer object; E_NOINTERFACE with *out
    // null for a GUID the table does not hold.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~CAddinClassFactory() = default;
    unsigned long m_references = 0;
};

// One row of the creation table: the GUID, the class's name and how to
// make one (null while the class is not part of the module).
struct AddinClassEntry {
    const GUID* id;
    const char* className;
    IUnknown* (*make)();
};
const AddinClassEntry* AddinClassTable(size_t& count);

// The module's exports, shared by the shared library and the tests.
HRESULT StrimoGetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT StrimoCanUnloadNow();
// Registers the module found at `modulePath` under the module's class id.
HRESULT StrimoRegisterServer(const char* modulePath);
HRESULT StrimoUnregisterServer();
