// The menu records behind HMENU handles, shared by the menu functions, the
// menu bar painting and the popup menu loop.
#pragma once

#include <string>
#include <vector>

#include "platform/user/menu.h"
#include "platform/user/window_system.h"

namespace nuvex::user {

struct MenuItem {
    UINT type = MFT_STRING;  // MFT_* bits
    UINT state = 0;          // MFS_* bits
    UINT id = 0;
    HMENU subMenu = nullptr;
    HBITMAP checked = nullptr;
    HBITMAP unchecked = nullptr;
    HBITMAP bitmap = nullptr;
    ULONG_PTR data = 0;
    std::string text;
};

struct MenuData {
    HMENU handle = nullptr;
    bool popup = false;
    std::vector<MenuItem> items;
    DWORD style = 0;
    UINT maxHeight = 0;
    HBRUSH background = nullptr;
    DWORD helpId = 0;
    ULONG_PTR menuData = 0;
};

MenuData* FindMenu(HMENU menu);
// The menu and position of `item` (a position with MF_BYPOSITION, else a
// command id searched depth-first through submenus); false when missing.
bool LocateItem(HMENU menu, UINT item, UINT flags, MenuData** owner, size_t* position);
// Display text without '&' markers and with "\t" accelerators kept.
std::string MnemonicOf(const std::string& text);

} // namespace nuvex::user
