// CHostEntity: the grip marker's identity.
#include "host/document/host_entity.h"

HRESULT CHostEntity::QueryInterface(REFIID iid, void** out)
{
    if (out != nullptr && iid == IID_IHostEntity) {
        *out = static_cast<IPoint3*>(this);
        AddRef();
        return S_OK;
    }
    return CPointObject::QueryInterface(iid, out);
}

HRESULT CHostEntity::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory != nullptr) {
        *factory = CLSID_HostObjectFactory;
    }
    if (iid != nullptr) {
        *iid = IID_IHostEntity;
    }
    return S_OK;
}
