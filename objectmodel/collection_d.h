// CCollectionD: the marker attachment. Its presence is the information; its
// byte form is empty.
#pragma once

#include "icollection.h"
#include "ientity.h"
#include "objectmodel/com_object.h"

class CCollectionD : public CCountedObject<ICollectionD, IID_ICollectionBase, IID_ICollectionD> {
public:
    CCollectionD() = default;
    // A marker has no content to take from another one.
    explicit CCollectionD(ICollectionD*) {}

    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override;
    // S_OK, no effect.
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) override;
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override;
    // Only the empty block is accepted; any other is refused with E_FAIL.
    HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    virtual ~CCollectionD() = default;

private:
};
