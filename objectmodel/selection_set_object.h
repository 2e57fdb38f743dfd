// CSelectionSetObject: the plain list of object ids behind ISelectionSet,
// the form the milling add-in builds to hand picked objects to its toolpath
// generators. It answers IUnknown and ISelectionSet only.
//
// Lifetime: made as a member or a local it is owner-held, so a borrower's
// QueryInterface + Release pair never destroys it; Create() makes a counted
// heap object that the Release taking its count to 0 destroys.
#pragma once

#include "iselection.h"
#include "objectmodel/id_list.h"
#include "objectmodel/reference_count.h"

class CSelectionSetObject : public ISelectionSet {
public:
    CSelectionSetObject() : m_references(Lifetime::OwnerHeld) {}
    CSelectionSetObject(const CSelectionSetObject&) = delete;
    CSelectionSetObject& operator=(const CSelectionSetObject&) = delete;
    // A counted object with count 0; the caller's first AddRef or
    // QueryInterface takes the first reference.
    static CSelectionSetObject* Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE SetAt(int32_t index, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE GetAt(int32_t index, uintptr_t* id) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE RemoveAt(int32_t index) override;
    HRESULT STDMETHODCALLTYPE InsertAt(int32_t index, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE Add(uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE GetCount(uint32_t* count) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t size) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t size, int32_t grow) override;

    virtual ~CSelectionSetObject() = default;

    // Inserts `count` copies of the id before index (the generators pass 1).
    HRESULT InsertAt(int32_t index, uintptr_t id, int32_t count) { return m_ids.InsertAt(index, id, count); }
    int32_t GetCount() const { return m_ids.Count(); }
    // The id at index, or 0 outside the list.
    uintptr_t GetAt(int32_t index) const { return m_ids.At(index); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    explicit CSelectionSetObject(Lifetime lifetime) : m_references(lifetime) {}

    CReferenceCount m_references;
    CIdList m_ids;
};
