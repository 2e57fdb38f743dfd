// The four exports of the milling add-in's shared library (bin/AddIns/
// strimo.so): the class object, the unload test and registration under
// CLSID\{...}\InprocServer32 with this library's own path.
#include "addins/milling/core/class_factory.h"
#include "platform/kernel/module.h"

#define STRIMO_EXPORT extern "C" __attribute__((visibility("default")))

STRIMO_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return StrimoGetClassObject(clsid, iid, out);
}

STRIMO_EXPORT HRESULT DllCanUnloadNow() { return StrimoCanUnloadNow(); }

STRIMO_EXPORT HRESULT DllRegisterServer()
{
    HMODULE module = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&DllRegisterServer));
    if (module == nullptr)
        return E_UNEXPECTED;
    char path[4096] = {};
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return E_UNEXPECTED;
    return StrimoRegisterServer(path);
}

STRIMO_EXPORT HRESULT DllUnregisterServer() { return StrimoUnregisterServer(); }
