// TogglePicks: the picks of one click toggled in a list.
#include "addins/milling/core/pick_toggle.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

void TogglePicks(CSelectionSetObject& list, ISelectionSet* picks)
{
    uint32_t count = 0;
    if (picks == nullptr || FAILED(picks->GetCount(&count)) || count == 0)
        return;
    // The list in order and where each id stands in it. Places left by
    // removed ids are 0 until the list is built again.
    std::vector<uintptr_t> order;
    std::unordered_map<uintptr_t, size_t> where;
    order.reserve(static_cast<size_t>(list.GetCount()) + count);
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        uintptr_t id = 0;
        list.GetAt(i, &id);
        where.emplace(id, order.size());
        order.push_back(id);
    }
    for (uint32_t i = 0; i < count && i <= INT32_MAX; ++i) {
        uintptr_t id = 0;
        if (FAILED(picks->GetAt(static_cast<int32_t>(i), &id)) || id == 0)
            continue;
        const auto found = where.find(id);
        if (found != where.end()) {
            order[found->second] = 0;
            where.erase(found);
        } else {
            where.emplace(id, order.size());
            order.push_back(id);
        }
    }
    list.RemoveAll();
    for (uintptr_t id : order)
        if (id != 0)
            list.Add(id);
}
