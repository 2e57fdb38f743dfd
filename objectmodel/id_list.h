// The ordered list of object ids behind ISelectionSet, shared by the host's
// pick region and the add-in's plain selection set. Ids are pointer-sized
// plain numbers; the list holds no references. Every operation reports a
// bad index or an impossible size with E_FAIL (E_OUTOFMEMORY when memory
// runs out) and then leaves the list as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/hresult.h"

class CIdList {
public:
    // Growth step used when none is set: the list grows by at least this
    // many ids at a time.
    static constexpr int32_t kDefaultGrowBy = 16;

    HRESULT SetAt(int32_t index, uintptr_t id);
    HRESULT GetAt(int32_t index, uintptr_t* id) const;
    HRESULT RemoveAll();
    HRESULT RemoveAt(int32_t index);
    // Inserts `count` copies of id before index; an index at or past the
    // end first extends the list with 0 up to index. E_FAIL for a negative
    // index or a count below 1.
    HRESULT InsertAt(int32_t index, uintptr_t id, int32_t count = 1);
    HRESULT Add(uintptr_t id);
    HRESULT GetCount(uint32_t* count) const;
    // -1 for growBy keeps the current step; other values below 1 restore
    // the default.
    HRESULT SetSize(int32_t size, int32_t growBy = -1);

    int32_t Count() const { return static_cast<int32_t>(m_ids.size()); }
    // The id at index, or 0 outside the list.
    uintptr_t At(int32_t index) const;
    // The largest index or size the list accepts.
    static constexpr int32_t kMaxCount = 1 << 24;

private:
    bool IsIndex(int32_t index) const { return index >= 0 && index < Count(); }
    void ReserveFor(size_t count);

    std::vector<uintptr_t> m_ids;
    int32_t m_growBy = kDefaultGrowBy;
};
