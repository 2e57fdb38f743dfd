// The component's exports: its class factory (lines, arcs and the curve
// chainer, chosen by the interface asked for) and its registration in the
// registry under CLSID\{...}\InprocServer32.
#include <new>
#include <string>

#include "addins/entities/arc_entity.h"
#include "addins/entities/curve_chainer.h"
#include "addins/entities/line_entity.h"
#include "platform/kernel/classobject.h"

#define ENTITIES_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Makes the object that answers `iid` and asks it for that interface.
template <class Object>
HRESULT MakeObject(REFIID iid, void** out)
{
    auto* made = new (std::nothrow) Object();
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    // Held for the query: an object nobody took goes at the end of the scope.
    const ComPtr<Object> object = ComPtr<Object>::Share(made);
    return object->QueryInterface(iid, out);
}

class CEntityFactory : public CModuleClassFactory {
public:
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
};

CEntityFactory g_factory;


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
    return RegisterInprocServer(CLSID_EntityComponent, reinterpret_cast<const void*>(&DllRegisterServer));
}

ENTITIES_EXPORT HRESULT DllUnregisterServer() { return UnregisterInprocServer(CLSID_EntityComponent); }
