// CCollectionD: the marker attachment.
#include "objectmodel/collection_d.h"

#include <new>

#include "objectmodel/out_param.h"

HRESULT CCollectionD::Detach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionD::Attach(IEntityRecord*) { return E_NOTIMPL; }
HRESULT CCollectionD::Apply(IGraphicsContext*, IUnknown*) { return S_OK; }

HRESULT CCollectionD::Clone(IUnknown** out) { return WriteNewObject<ICollectionD, CCollectionD>(out); }

HRESULT CCollectionD::Load(IHostDocument*, uint32_t size, const BYTE*) { return size == 0 ? S_OK : E_FAIL; }

HRESULT CCollectionD::GetSize(IHostDocument*, uint32_t* size) { return WriteOut(size, 0); }

HRESULT CCollectionD::Save(IHostDocument*, BYTE*) { return S_OK; }

HRESULT CCollectionD::Resolve(IHostDocument*, IUnknown**) { return E_NOTIMPL; }

HRESULT CCollectionD::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_ICollectionD);
}
