// The ordered list of object ids behind ISelectionSet.
#include "objectmodel/id_list.h"

#include <new>

HRESULT CIdList::SetAt(int32_t index, uintptr_t id)
{
    if (!IsIndex(index)) {
        return E_FAIL;
    }
    m_ids[static_cast<size_t>(index)] = id;
    return S_OK;
}

HRESULT CIdList::GetAt(int32_t index, uintptr_t* id) const
{
    if (!IsIndex(index) || id == nullptr) {
        return E_FAIL;
    }
    *id = m_ids[static_cast<size_t>(index)];
    return S_OK;
}

HRESULT CIdList::RemoveAll()
{
    m_ids.clear();
    return S_OK;
}

HRESULT CIdList::RemoveAt(int32_t index)
{
    if (!IsIndex(index)) {
        return E_FAIL;
    }
    m_ids.erase(m_ids.begin() + index);
    return S_OK;
}

void CIdList::ReserveFor(size_t count)
{
    if (count <= m_ids.capacity()) {
        return;
    }
    const size_t step = static_cast<size_t>(m_growBy);
    m_ids.reserve(((count + step - 1) / step) * step);
}

HRESULT CIdList::InsertAt(int32_t index, uintptr_t id, int32_t count)
{
    if (index < 0 || count < 1 || index > kMaxCount || count > kMaxCount - index ||
        Count() > kMaxCount - count) {
        return E_FAIL;
    }
    try {
        const size_t at = static_cast<size_t>(index);
        const size_t n = static_cast<size_t>(count);
        if (at >= m_ids.size()) {
            ReserveFor(at + n);
            m_ids.resize(at, 0);
            m_ids.insert(m_ids.end(), n, id);
        } else {
            ReserveFor(m_ids.size() + n);
            m_ids.insert(m_ids.begin() + index, n, id);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CIdList::Add(uintptr_t id)
{
    if (Count() >= kMaxCount) {
        return E_FAIL;
    }
    try {
        ReserveFor(m_ids.size() + 1);
        m_ids.push_back(id);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CIdList::GetCount(uint32_t* count) const
{
    if (count == nullptr) {
        return E_FAIL;
    }
    *count = static_cast<uint32_t>(m_ids.size());
    return S_OK;
}

HRESULT CIdList::SetSize(int32_t size, int32_t growBy)
{
    if (size < 0 || size > kMaxCount) {
        return E_FAIL;
    }
    if (growBy != -1) {
        m_growBy = growBy > 0 ? growBy : kDefaultGrowBy;
    }
    try {
        ReserveFor(static_cast<size_t>(size));
        m_ids.resize(static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

uintptr_t CIdList::At(int32_t index) const { return IsIndex(index) ? m_ids[static_cast<size_t>(index)] : 0; }
