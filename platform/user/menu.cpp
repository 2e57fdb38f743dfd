// The HMENU model: creating and destroying menus, adding, changing and
// removing items, states, item information, menu information, frame and
// system menus.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/user/menu_model.h"

namespace nuvex::user {

MenuData* FindMenu(HMENU menu)
{
    auto& menus = System().menus;
    auto it = menus.find(reinterpret_cast<uintptr_t>(menu));
    return it == menus.end() ? nullptr : it->second.get();
}

bool LocateItem(HMENU menu, UINT item, UINT flags, MenuData** owner, size_t* position)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr) {
        return false;
    }
    if ((flags & MF_BYPOSITION) != 0) {
        if (item >= m->items.size()) {
            return false;
        }
        *owner = m;
        *position = item;
        return true;
    }
    // By command: items before the submenus that follow them; a submenu
    // item whose handle equals the id also matches.
    for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        if (it.subMenu == nullptr && it.id == item) {
            *owner = m;
            *position = i;
            return true;
        }
        if (it.subMenu != nullptr) {
            if (reinterpret_cast<UINT_PTR>(it.subMenu) == item) {
                *owner = m;
                *position = i;
                return true;
            }
            if (LocateItem(it.subMenu, item, flags, owner, position)) {
                return true;
            }
        }
    }
    return false;
}

std::string MnemonicOf(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1]))));
        }
    }
    return {};
}

void DestroyWindowMenu(HMENU menu)
{
    if (FindMenu(menu) != nullptr) {
        DestroyMenu(menu);
    }
}

namespace {

HMENU NewMenu(bool popup)
{
    WindowSystem& system = System();
    auto data = std::make_unique<MenuData>();
    data->handle = reinterpret_cast<HMENU>(system.nextMenu);
    system.nextMenu += 4;
    data->popup = popup;
    HMENU handle = data->handle;
    system.menus[reinterpret_cast<uintptr_t>(handle)] = std::move(data);
    return handle;
}

// An item from the flag form of AppendMenu/InsertMenu/ModifyMenu.
bool ItemFromFlags(UINT flags, UINT_PTR item, LPCSTR content, MenuItem* out)
{
    MenuItem m;
    m.type = flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY);
    m.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if ((flags & MF_POPUP) != 0) {
        m.subMenu = reinterpret_cast<HMENU>(item);
        if (FindMenu(m.subMenu) == nullptr) {
            return false;
        }
        FindMenu(m.subMenu)->popup = true;
        m.id = static_cast<UINT>(item);
    } else {
        m.id = static_cast<UINT>(item);
    }
    if ((flags & MF_OWNERDRAW) != 0) {
        m.data = reinterpret_cast<ULONG_PTR>(content);
    } else if ((flags & MF_BITMAP) != 0) {
        m.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(content));
    } else if ((flags & MF_SEPARATOR) == 0 && content != nullptr) {
        m.text = content;
    }
    *out = m;
    return true;
}

void DestroyRecursive(HMENU menu)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr) {
        return;
    }
    std::vector<HMENU> subs;
    for (const MenuItem& it : m->items) {
        if (it.subMenu != nullptr) {
            subs.push_back(it.subMenu);
        }
    }
    System().menus.erase(reinterpret_cast<uintptr_t>(menu));
    for (HMENU sub : subs) {
        DestroyRecursive(sub);
    }
}

UINT StateBits(const MenuItem& it)
{
    UINT bits = (it.type & ~MFT_RADIOCHECK) | it.state;
    if (it.subMenu != nullptr) {
        const MenuData* sub = FindMenu(it.subMenu);
        const UINT count = sub != nullptr ? static_cast<UINT>(sub->items.size()) : 0;
        bits = ((count & 0xFF) << 8) | (bits & 0xFF) | MF_POPUP;
    }
    return bits;
}

bool SizeAccepted(UINT size) { return size == sizeof(MENUITEMINFOA) || size == kMenuItemInfoSize32 || size == 44; }

} // namespace
} // namespace nuvex::user

using namespace nuvex::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu)
{
    if (FindMenu(menu) == nullptr) {
        return FALSE;
    }
    for (Window* top : System().Desktop()->children) {
        if (top->menu == menu) {
            top->menu = nullptr;
        }
        if (top->systemMenu == menu) {
            top->systemMenu = nullptr;
        }
    }
    DestroyRecursive(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr ? TRUE : FALSE; }

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content)
{
    MenuData* m = FindMenu(menu);
    MenuItem fresh;
    if (m == nullptr || !ItemFromFlags(flags, item, content, &fresh)) {
        return FALSE;
    }
    MenuData* owner = m;
    size_t at = m->items.size();
    if (position != static_cast<UINT>(-1)) {
        if (!LocateItem(menu, position, flags, &owner, &at)) {
            // A position past the end, or a missing command, appends.
            owner = m;
            at = m->items.size();
        }
    }
    owner->items.insert(owner->items.begin() + static_cast<std::ptrdiff_t>(at), fresh);
    return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR item, LPCSTR content)
{
    return InsertMenuA(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, item, content);
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    MenuItem fresh;
    if (!LocateItem(menu, position, flags, &owner, &at) || !ItemFromFlags(flags, item, content, &fresh)) {
        return FALSE;
    }
    MenuItem& old = owner->items[at];
    // Item data and check bitmaps survive a change of text or state.
    if ((flags & MF_OWNERDRAW) == 0) {
        fresh.data = old.data;
    }
    fresh.checked = old.checked;
    fresh.unchecked = old.unchecked;
    if (old.subMenu != nullptr && old.subMenu != fresh.subMenu) {
        DestroyRecursive(old.subMenu);
    }
    old = fresh;
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, position, flags, &owner, &at)) {
        return FALSE;
    }
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(at));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, position, flags, &owner, &at)) {
        return FALSE;
    }
    HMENU sub = owner->items[at].subMenu;
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(at));
    if (sub != nullptr) {
        DestroyRecursive(sub);
    }
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    MenuData* m = FindMenu(menu);
    return m == nullptr ? -1 : static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU menu, int position)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr || position < 0 || static_cast<size_t>(position) >= m->items.size()) {
        return static_cast<UINT>(-1);
    }
    const MenuItem& it = m->items[static_cast<size_t>(position)];
    return it.subMenu != nullptr ? static_cast<UINT>(-1) : it.id;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr || position < 0 || static_cast<size_t>(position) >= m->items.size()) {
        return nullptr;
    }
    return m->items[static_cast<size_t>(position)].subMenu;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, item, flags, &owner, &at)) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    const std::string& text = owner->items[at].text;
    if (buffer == nullptr || size <= 0) {
        return static_cast<int>(text.size());
    }
    const int n = std::min(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, item, flags, &owner, &at)) {
        return static_cast<UINT>(-1);
    }
    return StateBits(owner->items[at]);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, item, check, &owner, &at)) {
        return static_cast<DWORD>(-1);
    }
    MenuItem& it = owner->items[at];
    const DWORD previous = it.state & MF_CHECKED;
    it.state = (it.state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, item, enable, &owner, &at)) {
        return -1;
    }
    MenuItem& it = owner->items[at];
    const BOOL previous = static_cast<BOOL>(it.state & (MF_GRAYED | MF_DISABLED));
    it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    MenuData* ownerFirst = nullptr;
    MenuData* ownerLast = nullptr;
    size_t a = 0;
    size_t b = 0;
    if (!LocateItem(menu, first, flags, &ownerFirst, &a) || !LocateItem(menu, last, flags, &ownerLast, &b) ||
        ownerFirst != ownerLast) {
        return FALSE;
    }
    MenuData* owner = ownerFirst;
    bool found = false;
    for (size_t i = std::min(a, b); i <= std::max(a, b); ++i) {
        MenuItem& it = owner->items[i];
        const bool chosen = (flags & MF_BYPOSITION) != 0 ? i == check : it.id == check;
        if (chosen) {
            it.state |= MF_CHECKED;
            it.type |= MFT_RADIOCHECK;
            found = true;
        } else {
            it.state &= ~MF_CHECKED;
        }
    }
    return found ? TRUE : FALSE;
}

BOOL HiliteMenuItem(HWND, HMENU menu, UINT item, UINT hilite)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (!LocateItem(menu, item, hilite, &owner, &at)) {
        return FALSE;
    }
    MenuItem& it = owner->items[at];
    it.state = (it.state & ~MF_HILITE) | (hilite & MF_HILITE);
    return TRUE;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (info == nullptr || !SizeAccepted(info->cbSize) ||
        !LocateItem(menu, item, byPosition != FALSE ? MF_BYPOSITION : MF_BYCOMMAND, &owner, &at)) {
        return FALSE;
    }
    const MenuItem& it = owner->items[at];
    const UINT mask = info->fMask;
    if ((mask & (MIIM_TYPE | MIIM_FTYPE)) != 0) {
        info->fType = it.type;
    }
    if ((mask & MIIM_STATE) != 0) {
        info->fState = it.state;
    }
    if ((mask & MIIM_ID) != 0) {
        info->wID = it.id;
    }
    if ((mask & MIIM_SUBMENU) != 0) {
        info->hSubMenu = it.subMenu;
    }
    if ((mask & MIIM_CHECKMARKS) != 0) {
        info->hbmpChecked = it.checked;
        info->hbmpUnchecked = it.unchecked;
    }
    if ((mask & MIIM_DATA) != 0) {
        info->dwItemData = it.data;
    }
    if ((mask & MIIM_BITMAP) != 0 && info->cbSize != 44) {
        info->hbmpItem = it.bitmap;
    }
    const bool textItem = (it.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) == 0;
    if ((mask & MIIM_STRING) != 0 || ((mask & MIIM_TYPE) != 0 && textItem)) {
        if (info->dwTypeData != nullptr && info->cch > 0) {
            const size_t n = std::min(it.text.size(), static_cast<size_t>(info->cch) - 1);
            std::memcpy(info->dwTypeData, it.text.data(), n);
            info->dwTypeData[n] = '\0';
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(it.text.size());
        }
    } else if ((mask & MIIM_TYPE) != 0 && (it.type & MFT_BITMAP) != 0) {
        info->dwTypeData = reinterpret_cast<LPSTR>(it.bitmap);
    } else if ((mask & MIIM_TYPE) != 0 && (it.type & MFT_OWNERDRAW) != 0) {
        info->dwTypeData = reinterpret_cast<LPSTR>(it.data);
    }
    return TRUE;
}

namespace nuvex::user {
namespace {

bool ApplyItemInfo(MenuItem* it, const MENUITEMINFOA* info)
{
    const UINT mask = info->fMask;
    if ((mask & MIIM_SUBMENU) != 0 && info->hSubMenu != nullptr && FindMenu(info->hSubMenu) == nullptr) {
        return false;
    }
    if ((mask & MIIM_TYPE) != 0) {
        it->type = info->fType;
        if ((info->fType & MFT_BITMAP) != 0) {
            it->bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
            it->text.clear();
        } else if ((info->fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) == 0) {
            it->text = info->dwTypeData != nullptr ? info->dwTypeData : "";
        }
    }
    if ((mask & MIIM_FTYPE) != 0) {
        it->type = info->fType;
    }
    if ((mask & MIIM_STRING) != 0) {
        it->text = info->dwTypeData != nullptr ? info->dwTypeData : "";
    }
    if ((mask & MIIM_STATE) != 0) {
        it->state = info->fState;
    }
    if ((mask & MIIM_ID) != 0) {
        it->id = info->wID;
    }
    if ((mask & MIIM_SUBMENU) != 0) {
        it->subMenu = info->hSubMenu;
        if (MenuData* sub = FindMenu(info->hSubMenu)) {
            sub->popup = true;
        }
    }
    if ((mask & MIIM_CHECKMARKS) != 0) {
        it->checked = info->hbmpChecked;
        it->unchecked = info->hbmpUnchecked;
    }
    if ((mask & MIIM_DATA) != 0) {
        it->data = info->dwItemData;
    }
    if ((mask & MIIM_BITMAP) != 0 && info->cbSize != 44) {
        it->bitmap = info->hbmpItem;
    }
    return true;
}

} // namespace
} // namespace nuvex::user

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info)
{
    MenuData* owner = nullptr;
    size_t at = 0;
    if (info == nullptr || !SizeAccepted(info->cbSize) ||
        !LocateItem(menu, item, byPosition != FALSE ? MF_BYPOSITION : MF_BYCOMMAND, &owner, &at)) {
        return FALSE;
    }
    MenuItem changed = owner->items[at];
    if (!ApplyItemInfo(&changed, info)) {
        return FALSE;
    }
    owner->items[at] = changed;
    return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr || info == nullptr || !SizeAccepted(info->cbSize)) {
        return FALSE;
    }
    MenuItem fresh;
    if (!ApplyItemInfo(&fresh, info)) {
        return FALSE;
    }
    MenuData* owner = m;
    size_t at = m->items.size();
    if (!LocateItem(menu, item, byPosition != FALSE ? MF_BYPOSITION : MF_BYCOMMAND, &owner, &at)) {
        owner = m;
        at = m->items.size();
    }
    owner->items.insert(owner->items.begin() + static_cast<std::ptrdiff_t>(at), fresh);
    return TRUE;
}

BOOL GetMenuInfo(HMENU menu, MENUINFO* info)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr || info == nullptr || (info->cbSize != sizeof(MENUINFO) && info->cbSize != kMenuInfoSize32)) {
        return FALSE;
    }
    if ((info->fMask & MIM_STYLE) != 0) {
        info->dwStyle = m->style;
    }
    if ((info->fMask & MIM_MAXHEIGHT) != 0) {
        info->cyMax = m->maxHeight;
    }
    if ((info->fMask & MIM_BACKGROUND) != 0) {
        info->hbrBack = m->background;
    }
    if ((info->fMask & MIM_HELPID) != 0) {
        info->dwContextHelpID = m->helpId;
    }
    if ((info->fMask & MIM_MENUDATA) != 0) {
        info->dwMenuData = m->menuData;
    }
    return TRUE;
}

BOOL SetMenuInfo(HMENU menu, const MENUINFO* info)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr || info == nullptr || (info->cbSize != sizeof(MENUINFO) && info->cbSize != kMenuInfoSize32)) {
        return FALSE;
    }
    if ((info->fMask & MIM_STYLE) != 0) {
        m->style = info->dwStyle;
    }
    if ((info->fMask & MIM_MAXHEIGHT) != 0) {
        m->maxHeight = info->cyMax;
    }
    if ((info->fMask & MIM_BACKGROUND) != 0) {
        m->background = info->hbrBack;
    }
    if ((info->fMask & MIM_HELPID) != 0) {
        m->helpId = info->dwContextHelpID;
    }
    if ((info->fMask & MIM_MENUDATA) != 0) {
        m->menuData = info->dwMenuData;
    }
    if ((info->fMask & MIM_APPLYTOSUBMENUS) != 0) {
        std::vector<HMENU> subs;
        for (const MenuItem& it : m->items) {
            if (it.subMenu != nullptr) {
                subs.push_back(it.subMenu);
            }
        }
        for (HMENU sub : subs) {
            SetMenuInfo(sub, info);
        }
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr) {
        return static_cast<UINT>(-1);
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        if ((m->items[i].state & MFS_DEFAULT) != 0) {
            return byPosition != 0 ? static_cast<UINT>(i) : m->items[i].id;
        }
    }
    return static_cast<UINT>(-1);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition)
{
    MenuData* m = FindMenu(menu);
    if (m == nullptr) {
        return FALSE;
    }
    bool found = item == static_cast<UINT>(-1);
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        const bool chosen = byPosition != 0 ? i == item : it.id == item;
        it.state = chosen ? (it.state | MFS_DEFAULT) : (it.state & ~MFS_DEFAULT);
        found = found || chosen;
    }
    return found ? TRUE : FALSE;
}

HMENU GetMenu(HWND hwnd)
{
    Window* w = W(hwnd);
    if (w == nullptr || !IsTopLevel(w) || (w->style & WS_CHILD) != 0) {
        return nullptr;
    }
    return w->menu;
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    Window* w = W(hwnd);
    if (w == nullptr || !IsTopLevel(w) || (w->style & WS_CHILD) != 0 || (menu != nullptr && FindMenu(menu) == nullptr)) {
        return FALSE;
    }
    w->menu = menu;
    // The menu bar takes its place in the frame.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL DrawMenuBar(HWND hwnd)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_NOERASE);
    return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (revert != FALSE) {
        if (w->systemMenu != nullptr) {
            DestroyMenu(w->systemMenu);
            w->systemMenu = nullptr;
        }
        return nullptr;
    }
    if (w->systemMenu == nullptr) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
        AppendMenuA(menu, MF_STRING, SC_MOVE, "&Move");
        AppendMenuA(menu, MF_STRING, SC_SIZE, "&Size");
        AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
        AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
        w->systemMenu = menu;
    }
    return w->systemMenu;
}
