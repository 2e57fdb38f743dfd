// The component's exports: its class factory (lines, arcs and the curve
// chainer, chosen by the interface asked for) and its registration in the
// registry under CLSID\{...}\InprocServer32.
#include <new>
#include <string>

#include "addins/entities/arc_entity.h"
#include "addins/entities/curve_chainer.h"
#include "addins/entities/line_entity.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"

#define ENTITIES_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Makes the object that answers `iid` and asks it for that interface.
template <class Object>
HRESULT MakeObject(REFIID iid, void** out)
{
    auto* object = new (std::nothrow) Object();
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    object->AddRef();
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
}

class CEntityFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is one static object of the module, which stays loaded.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // The arc is asked for by IID_IArcEntity, the line by IID_ILineEntity
    // (or any of the entity levels), the chainer by IID_ICurveChainer.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (iid == IID_IArcEntity) {
            return MakeObject<CArcEntity>(iid, out);
        }
        if (iid == IID_ICurveChainer) {
            return MakeObject<CCurveChainer>(iid, out);
        }
        if (iid == IID_ILineEntity || iid == IID_IObjectBase || iid == IID_IEntityBase ||
            iid == IID_IGeometryEntity) {
            return MakeObject<CLineEntity>(iid, out);
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CEntityFactory g_factory;

std::string ServerKeyName() { return "CLSID\\" + GuidToText(CLSID_EntityComponent, GuidCase::Upper); }

}  // namespace

ENTITIES_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (clsid != CLSID_EntityComponent) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

ENTITIES_EXPORT HRESULT DllCanUnloadNow() { return S_FALSE; }

ENTITIES_EXPORT HRESULT DllRegisterServer()
{
    char path[4096] = {};
    const DWORD length =
        GetModuleFileNameA(GetModuleHandleFromAddress(reinterpret_cast<const void*>(&DllRegisterServer)), path,
                           sizeof path);
    if (length == 0 || length >= sizeof path) {
        return E_FAIL;
    }
    HKEY key = nullptr;
    const std::string keyName = ServerKeyName() + "\\InprocServer32";
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return E_FAIL;
    }
    const LONG status =
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

ENTITIES_EXPORT HRESULT DllUnregisterServer()
{
    const std::string keyName = ServerKeyName();
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (keyName + "\\InprocServer32").c_str());
    const LONG status = RegDeleteKeyA(HKEY_CLASSES_ROOT, keyName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
