// Helpers the files of CNewMenu share: the platform item's flags, text and
// data at a position, and a record as the content of an owner-drawn item.
#pragma once

#include <string>

#include "host/menulook/new_menu.h"

namespace menu_records {


inline constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// The platform's item state and type bits of a position; for an item with
// a submenu GetMenuState puts the submenu's item count in bits 8 to 15,
// which are no flags and are dropped.
inline UINT PositionFlags(HMENU menu, UINT position)
{
    const UINT flags = ::GetMenuState(menu, position, MF_BYPOSITION);
    if (flags == 0xFFFFFFFF) {
        return flags;
    }
    if ((flags & MF_POPUP) != 0) {
        return (flags & 0xFFFF00FF) | MF_POPUP;
    }
    return flags;
}

inline std::string MenuString(HMENU menu, UINT position)
{
    char buffer[512] = {};
    const int n = ::GetMenuStringA(menu, position, buffer, static_cast<int>(sizeof buffer), MF_BYPOSITION);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

inline ULONG_PTR PositionData(HMENU menu, UINT position)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_DATA;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) != FALSE ? info.dwItemData : 0;
}

inline LPCSTR AsContent(const CNewMenuItemData* record) { return reinterpret_cast<LPCSTR>(record); }

} // namespace menu_records
