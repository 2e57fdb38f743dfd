// CCollectionD: the marker attachment.
#include "objectmodel/collection_d.h"

#include <new>

HRESULT CCollectionD::Detach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionD::Attach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionD::Apply(IGraphicsContext*, IUnknown*) { return S_OK; }

HRESULT CCollectionD::Clone(IUnknown** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    auto* copy = new (std::nothrow) CCollectionD();
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    *out = static_cast<ICollectionD*>(copy);
    return S_OK;
}

HRESULT CCollectionD::Load(IHostDocument*, uint32_t size, const BYTE*) { return size == 0 ? S_OK : E_FAIL; }

HRESULT CCollectionD::GetSize(IHostDocument*, uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = 0;
    return S_OK;
}

HRESULT CCollectionD::Save(IHostDocument*, BYTE*) { return S_OK; }

HRESULT CCollectionD::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CCollectionD::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory == nullptr || iid == nullptr) {
        return E_POINTER;
    }
    *factory = CLSID_HostObjectFactory;
    *iid = IID_ICollectionD;
    return S_OK;
}
