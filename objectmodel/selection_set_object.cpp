// CSelectionSetObject: the plain list of object ids behind ISelectionSet.
#include "objectmodel/selection_set_object.h"

CSelectionSetObject* CSelectionSetObject::Create() { return new CSelectionSetObject(Lifetime::Counted); }

HRESULT CSelectionSetObject::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_ISelectionSet) {
        *out = static_cast<ISelectionSet*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CSelectionSetObject::AddRef() { return m_references.Increment(); }

ULONG CSelectionSetObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CSelectionSetObject::SetAt(int32_t index, uintptr_t id) { return m_ids.SetAt(index, id); }
HRESULT CSelectionSetObject::GetAt(int32_t index, uintptr_t* id) { return m_ids.GetAt(index, id); }
HRESULT CSelectionSetObject::RemoveAll() { return m_ids.RemoveAll(); }
HRESULT CSelectionSetObject::RemoveAt(int32_t index) { return m_ids.RemoveAt(index); }
HRESULT CSelectionSetObject::InsertAt(int32_t index, uintptr_t id) { return m_ids.InsertAt(index, id); }
HRESULT CSelectionSetObject::Add(uintptr_t id) { return m_ids.Add(id); }
HRESULT CSelectionSetObject::GetCount(uint32_t* count) { return m_ids.GetCount(count); }
HRESULT CSelectionSetObject::SetSize(int32_t size) { return m_ids.SetSize(size); }
HRESULT CSelectionSetObject::SetSize(int32_t size, int32_t grow) { return m_ids.SetSize(size, grow); }
