// CRecordingDocumentStub: a host document test double that keeps the entity
// records it is given and answers with a current attribute set and
// collection of its own, as the NC reader needs them. It makes no objects;
// a test derives from it to say how they are made.
#pragma once

#include <vector>

#include "addins/milling/features/tests/host_document_stub.h"
#include "ientityrecord.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"

class CRecordingDocumentStub : public CHostDocumentStub {
public:
    std::vector<ComPtr<IEntityRecord>> records;
    CAttributeSet attributes;
    CCollectionB collection;

    CRecordingDocumentStub()
    {
        attributes.AddRef();
        collection.AddRef();
    }
    HRESULT STDMETHODCALLTYPE AddObject(IEntityRecord* holder) override
    {
        records.push_back(ComPtr<IEntityRecord>::Share(holder));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetActiveObject(IUnknown** object) override
    {
        *object = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAttributes(IAttributeSet** set) override
    {
        *set = &attributes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSettings(ICollectionB** settings) override
    {
        *settings = &collection;
        return S_OK;
    }
};
