// Small counted objects for the object-model tests: an entity that draws one
// line, a child record that watches how its holder treats it, and a document
// stand-in that offers the file-index service.
#pragma once

#include <vector>

#include "icollection.h"
#include "idocumentfileindex.h"
#include "ientity.h"
#include "ientityrecord.h"
#include "objectmodel/com_object.h"
#include "objectmodel/file_index_map.h"
#include "objectmodel/vector3.h"

// The count of references to a counted object: the count after taking one
// more, less the one given back at once.
inline ULONG ReferenceCountOf(IUnknown* object)
{
    const ULONG withOneMore = object->AddRef();
    object->Release();
    return withOneMore - 1;
}

// Draws the line from `from` to `to`; Clone is offered only when asked for.
class TestLineEntity : public CCountedObject<IEntityBase, IID_IObjectBase, IID_IEntityBase> {
public:
    TestLineEntity(const CVector3& a, const CVector3& b, bool cloneable) : from(a), to(b), m_cloneable(cloneable) {}

    CVector3 from;
    CVector3 to;

    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override
    {
        *copy = nullptr;
        if (!m_cloneable) {
            return E_NOTIMPL;
        }
        *copy = new TestLineEntity(from, to, true);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(uint32_t, const BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = GUID_NULL;
        *iid = IID_IEntityBase;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved1(uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved2(uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override { return context->DrawLine(&from, &to); }
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved3(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                        uint32_t) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MoveGripPoint(uint32_t, IVector3*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HitTest(IPlane*, IPlane*, IPlane*, IPlane*, uint32_t, BOOL*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Tessellate(IPlane*, IPlane*, IPlane*, IPlane*, double, IPolylineSet**) override
    {
        return E_NOTIMPL;
    }

private:
    bool m_cloneable;
};

// A child record that logs what its holders do with it, and that can set
// flags on the holder it is applied to.
class WatchingChild : public CCountedObject<ICollectionBase, IID_ICollectionBase> {
public:
    // Holders that attached this child and have not detached it.
    std::vector<IEntityRecord*> holders;
    // Flags added to the target of the next Apply (then cleared).
    uint32_t flagsOnNextApply = 0;
    int applyCount = 0;

    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override
    {
        for (auto it = holders.begin(); it != holders.end(); ++it) {
            if (*it == holder) {
                holders.erase(it);
                return S_OK;
            }
        }
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override
    {
        holders.push_back(holder);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext*, IUnknown* target) override
    {
        ++applyCount;
        if (flagsOnNextApply != 0) {
            IEntityRecord* record = nullptr;
            if (SUCCEEDED(target->QueryInterface(IID_IEntityRecord, reinterpret_cast<void**>(&record)))) {
                record->AddFlags(flagsOnNextApply);
                record->Release();
            }
            flagsOnNextApply = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override
    {
        *out = static_cast<ICollectionBase*>(new WatchingChild());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(IHostDocument*, uint32_t, const BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument*, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IHostDocument*, BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument*, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = GUID_NULL;
        *iid = IID_ICollectionBase;
        return S_OK;
    }
};

// Stands in for a host document that offers the file-index service: the
// document's own tables, handed to objects as the document pointer.
class FileIndexDocument : public CFileIndexMap {
public:
    // As the documents pass themselves to their objects.
    IHostDocument* AsHostDocument() { return reinterpret_cast<IHostDocument*>(static_cast<IUnknown*>(this)); }
};
