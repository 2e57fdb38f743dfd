// Changing items of an owner-drawn menu: images and texts given by command
// or text, the platform item changed by position, texts and item data.
#include <algorithm>

#include "host/menulook/new_menu_images.h"
#include "host/menulook/new_menu_records.h"

using namespace menu_records;

// Modifying ------------------------------------------------------------------------------------

BOOL CNewMenu::ApplyRecord(UINT position, CNewMenuItemData& record, bool textChanged)
{
    // The item keeps the state it has now (checks and greying set since).
    const UINT now = PositionFlags(m_hMenu, position);
    UINT flags = record.flags;
    if (now != 0xFFFFFFFF) {
        flags = (flags & ~kStateBits) | (now & kStateBits);
        record.flags = flags;
    }
    BOOL ok = TRUE;
    if (textChanged) {
        ok = ::ModifyMenuA(m_hMenu, position, (flags & ~MF_OWNERDRAW) | MF_BYPOSITION, record.commandId,
                           record.text.c_str());
    }
    return ::ModifyMenuA(m_hMenu, position, flags | kOwnerDrawnByPosition, record.commandId, AsContent(&record)) &&
           ok;
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, CNewMenuIcons* icons, int32_t imageIndex)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    BOOL all = TRUE;
    bool found = false;
    // Every occurrence of the command here and in the submenus, once each.
    std::vector<CNewMenu*> menus{this};
    for (size_t m = 0; m < menus.size(); ++m) {
        CNewMenu* menu = menus[m];
        const int count = ::GetMenuItemCount(menu->m_hMenu);
        for (int i = 0; i < count; ++i) {
            HMENU submenu = ::GetSubMenu(menu->m_hMenu, i);
            if (submenu != nullptr) {
                if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu))) {
                    menus.push_back(object);
                }
                continue;
            }
            if (::GetMenuItemID(menu->m_hMenu, i) != commandId || static_cast<size_t>(i) >= menu->m_records.size()) {
                continue;
            }
            CNewMenuItemData& record = *menu->m_records[static_cast<size_t>(i)];
            if ((record.flags & MF_SEPARATOR) != 0) {
                continue;
            }
            found = true;
            const bool textChanged = text != nullptr && record.text != text;
            if (textChanged) {
                record.text = text;
            }
            record.SetIcons(icons, imageIndex);
            if (record.ImageIndex() >= 0) {
                menu->RaiseIconSize(icons);
            }
            record.flags = (record.flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
            record.commandId = commandId;
            all = menu->ApplyRecord(static_cast<UINT>(i), record, textChanged) && all;
        }
    }
    // A command the menu does not have gets no record: a record without a
    // position would put every later record beside the wrong item.
    return found ? all : FALSE;
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, CImageList* list, int index)
{
    const MenuImage image = CNewMenuImages::FromList(*this, list, index);
    CNewMenuIcons::Ref hold(image.icons);
    return ModifyODMenu(text, commandId, image.icons, image.index);
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, CBitmap* bitmap)
{
    const MenuImage image = CNewMenuImages::FromBitmap(*this, bitmap);
    CNewMenuIcons::Ref hold(image.icons);
    return ModifyODMenu(text, commandId, image.icons, image.index);
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, MenuImageResource image)
{
    int index = -1;
    CNewMenuIcons* icons = IconsForResource(image.id, commandId, &index);
    CNewMenuIcons::Ref hold(icons);
    return ModifyODMenu(text, commandId, icons, index);
}

BOOL CNewMenu::ModifyODMenu(UINT position, UINT flags, UINT_PTR newId, const char* text)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        return owner != nullptr ? owner->ModifyODMenu(static_cast<UINT>(at), flags | MF_BYPOSITION, newId, text)
                                : FALSE;
    }
    if (position >= m_records.size()) {
        return FALSE;
    }
    CNewMenuItemData* record = m_records[position].get();
    if (!::ModifyMenuA(m_hMenu, position, (flags & ~MF_OWNERDRAW) | MF_BYPOSITION, newId, text)) {
        return FALSE;
    }
    record->commandId = newId;
    record->text = MenuString(m_hMenu, position);
    record->flags = (flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
    if ((flags & MF_POPUP) != 0) {
        if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(newId)))) {
            object->m_parent = m_hMenu;
        }
    }
    return ::ModifyMenuA(m_hMenu, position, record->flags | kOwnerDrawnByPosition, newId, AsContent(record));
}

BOOL CNewMenu::ModifyODMenu(UINT position, UINT flags, UINT_PTR newId, CBitmap* bitmap)
{
    if (!ModifyODMenu(position, flags, newId, static_cast<const char*>(nullptr))) {
        return FALSE;
    }
    CNewMenuItemData* record = (flags & MF_BYPOSITION) != 0 && position < m_records.size()
                                   ? m_records[position].get()
                                   : FindItemRecord(newId);
    if (record != nullptr) {
        record->text.clear();
        const MenuImage image = CNewMenuImages::FromBitmap(*this, bitmap);
        record->SetIcons(image.icons, image.index);
        RaiseIconSize(image.icons);
    }
    return TRUE;
}

BOOL CNewMenu::ModifyODMenu(const char* newText, const char* oldText, int bitmapId)
{
    if (m_hMenu == nullptr || oldText == nullptr) {
        return FALSE;
    }
    std::vector<CNewMenu*> menus{this};
    for (size_t m = 0; m < menus.size(); ++m) {
        CNewMenu* menu = menus[m];
        for (size_t i = 0; i < menu->m_records.size(); ++i) {
            CNewMenuItemData& record = *menu->m_records[i];
            if (record.text != oldText) {
                continue;
            }
            const bool textChanged = newText != nullptr && record.text != newText;
            if (textChanged) {
                record.text = newText;
            }
            int index = -1;
            CNewMenuIcons* icons =
                bitmapId >= 0 ? CNewMenuImages::FindBitmapsInGlobalList(*menu, static_cast<UINT>(bitmapId), &index)
                              : nullptr;
            record.SetIcons(icons, index);
            menu->RaiseIconSize(icons);
            if (!textChanged) {
                return TRUE;
            }
            return menu->ApplyRecord(static_cast<UINT>(i), record, true);
        }
        const int count = ::GetMenuItemCount(menu->m_hMenu);
        for (int i = 0; i < count; ++i) {
            if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(menu->m_hMenu, i)))) {
                menus.push_back(object);
            }
        }
    }
    return FALSE;
}

// Texts and data ----------------------------------------------------------------------------------

BOOL CNewMenu::GetMenuText(UINT position, CString& out, UINT flags)
{
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        return owner != nullptr ? owner->GetMenuText(static_cast<UINT>(at), out, MF_BYPOSITION) : FALSE;
    }
    if (position >= m_records.size()) {
        return FALSE;
    }
    const CNewMenuItemData& record = *m_records[position];
    out = record.GetString(GetShowAccelerators() ? m_accelerators : nullptr).c_str();
    return TRUE;
}

BOOL CNewMenu::SetMenuText(UINT position, const char* text, UINT flags)
{
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        return owner != nullptr ? owner->SetMenuText(static_cast<UINT>(at), text, MF_BYPOSITION) : FALSE;
    }
    if (m_hMenu == nullptr || position >= m_records.size()) {
        return FALSE;
    }
    CNewMenuItemData& record = *m_records[position];
    record.SetString(text);
    const UINT state = PositionFlags(m_hMenu, position) & ~(MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP);
    if (!::ModifyMenuA(m_hMenu, position, state | MF_BYPOSITION, record.commandId, record.text.c_str())) {
        return FALSE;
    }
    return ::ModifyMenuA(m_hMenu, position, (state & ~MF_POPUP) | (record.flags & MF_POPUP) | kOwnerDrawnByPosition,
                         record.commandId, AsContent(&record));
}

BOOL CNewMenu::SetItemData(UINT position, uint32_t value, UINT flags)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_DATA;
    if (m_hMenu == nullptr || ::GetMenuItemInfoA(m_hMenu, position, (flags & MF_BYPOSITION) != 0, &info) == FALSE) {
        return FALSE;
    }
    auto* record = reinterpret_cast<CNewMenuItemData*>(info.dwItemData);
    if (!HoldsRecord(record)) {
        return FALSE;
    }
    record->userData = value;
    return TRUE;
}

uint32_t CNewMenu::GetItemData(UINT position, UINT flags)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_DATA;
    if (m_hMenu == nullptr || ::GetMenuItemInfoA(m_hMenu, position, (flags & MF_BYPOSITION) != 0, &info) == FALSE) {
        return static_cast<uint32_t>(-1);
    }
    auto* record = reinterpret_cast<CNewMenuItemData*>(info.dwItemData);
    return HoldsRecord(record) ? record->userData : static_cast<uint32_t>(-1);
}

BOOL CNewMenu::ChangeCommandId(UINT oldId, UINT newId)
{
    int at = -1;
    CNewMenu* owner = FindMenuItemOwner(oldId, &at);
    if (owner == nullptr || static_cast<size_t>(at) >= owner->m_records.size()) {
        return FALSE;
    }
    CNewMenuItemData& record = *owner->m_records[static_cast<size_t>(at)];
    record.commandId = newId;
    return owner->ApplyRecord(static_cast<UINT>(at), record, false);
}

