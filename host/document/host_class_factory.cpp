// CHostClassFactory: creation of the host's own document objects by IID.
#include "host/document/host_class_factory.h"

#include <new>

#include "iids.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"

HRESULT CHostClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CHostClassFactory::AddRef()
{
    ++m_lockCount;
    return static_cast<ULONG>(++m_referenceCount);
}

ULONG CHostClassFactory::Release()
{
    --m_lockCount;
    --m_referenceCount;
    return m_referenceCount > 0 ? static_cast<ULONG>(m_referenceCount) : 0;
}

namespace {

// A new object of the class that offers iid, as IUnknown with count 0; null
// when the host makes no such class.
IUnknown* MakeHostObject(REFIID iid)
{
    if (iid == IID_ICollectionB) {
        return static_cast<ICollectionB*>(new CCollectionB());
    }
    if (iid == IID_IAttributeSet) {
        return static_cast<IAttributeSet*>(new CAttributeSet());
    }
    if (iid == IID_IIdGroup) {
        return static_cast<IIdGroup*>(new CIdGroupObject());
    }
    if (iid == IID_IModelObject) {
        return static_cast<IModelObject*>(new CModelObject());
    }
    return nullptr;
}

} // namespace

HRESULT CHostClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    *out = nullptr;
    IUnknown* object = nullptr;
    try {
        object = MakeHostObject(iid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (object == nullptr) {
        return E_NOINTERFACE;
    }
    // Take a reference while asking, so a failed query destroys the object.
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Share(object);
    return held->QueryInterface(iid, out);
}

HRESULT CHostClassFactory::LockServer(BOOL lock)
{
    m_lockCount += lock ? 1 : -1;
    return S_OK;
}
