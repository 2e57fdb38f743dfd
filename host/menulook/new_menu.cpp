// The item records of an owner-drawn menu kept in step with the platform
// menu: loading and conversion, append, insert, modify, remove and delete,
// texts and item data, titles and lookups.
#include "host/menulook/new_menu.h"

#include <algorithm>

#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_images.h"
#include "platform/framework/commonctrls.h"
#include "platform/kernel/resource.h"

IMPLEMENT_DYNAMIC(CNewMenu, CMenu)

namespace {

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// The platform's item state and type bits of a position; for an item with
// a submenu GetMenuState puts the submenu's item count in bits 8 to 15,
// which are no flags and are dropped.
UINT PositionFlags(HMENU menu, UINT position)
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

std::string MenuString(HMENU menu, UINT position)
{
    char buffer[512] = {};
    const int n = ::GetMenuStringA(menu, position, buffer, static_cast<int>(sizeof buffer), MF_BYPOSITION);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

ULONG_PTR PositionData(HMENU menu, UINT position)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_DATA;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) != FALSE ? info.dwItemData : 0;
}

LPCSTR AsContent(const CNewMenuItemData* record) { return reinterpret_cast<LPCSTR>(record); }

} // namespace

CNewMenu::CNewMenu(HMENU parent) : m_parent(parent)
{
    if (!MenuLibrary().started) {
        InitLibrary();
    }
}

CNewMenu::~CNewMenu() { DestroyMenu(); }

UINT CNewMenu::WM_GETMENU()
{
    static const UINT message = RegisterWindowMessageA("CNewMenuBar::WM_GETMENU");
    return message;
}

BOOL CNewMenu::CreatePopupMenu()
{
    if (m_hMenu != nullptr) {
        return FALSE;
    }
    return CMenu::CreatePopupMenu();
}

BOOL CNewMenu::DestroyMenu()
{
    for (HMENU submenu : m_submenus) {
        if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu))) {
            delete object;
        }
    }
    m_submenus.clear();
    m_records.clear();
    if (m_checkImages != nullptr && !m_checkImagesShared) {
        ImageList_Destroy(m_checkImages);
    }
    m_checkImages = nullptr;
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    return CMenu::DestroyMenu();
}

int CNewMenu::GetMenuItemCount() const { return m_hMenu != nullptr ? ::GetMenuItemCount(m_hMenu) : -1; }

BOOL CNewMenu::LoadMenu(UINT resourceId)
{
    CMenu loader;
    if (!loader.LoadMenu(resourceId)) {
        return FALSE;
    }
    HMENU menu = loader.Detach();
    if (!LoadMenu(menu)) {
        ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CNewMenu::LoadMenu(LPCSTR resourceName)
{
    if (resourceName == nullptr || reinterpret_cast<uintptr_t>(resourceName) > 0xFFFF) {
        return FALSE; // resources are found by number on this platform
    }
    return LoadMenu(static_cast<UINT>(reinterpret_cast<uintptr_t>(resourceName)));
}

BOOL CNewMenu::LoadMenu(HMENU menu)
{
    if (::IsMenu(menu) == FALSE || !Attach(menu)) {
        return FALSE;
    }
    m_popup = FALSE;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = ::GetSubMenu(menu, i);
        if (submenu == nullptr || CMenu::FromHandlePermanent(submenu) != nullptr) {
            continue;
        }
        auto* object = new CNewMenu(menu);
        m_submenus.push_back(submenu);
        object->LoadMenu(submenu);
        object->m_popup = TRUE;
    }
    UpdateMenu();
    return TRUE;
}

void CNewMenu::UpdateMenu()
{
    if (m_hMenu == nullptr) {
        return;
    }
    for (auto& record : m_records) {
        record->used = 0;
    }
    std::vector<std::unique_ptr<CNewMenuItemData>> ordered;
    auto take = [&](auto matches) -> std::unique_ptr<CNewMenuItemData> {
        for (auto& record : m_records) {
            if (record && record->used == 0 && matches(*record)) {
                record->used = 1;
                return std::move(record);
            }
        }
        return nullptr;
    };
    for (UINT position = 0;; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = kMenuItemInfoSize32;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
        if (::GetMenuItemInfoA(m_hMenu, position, TRUE, &info) == FALSE) {
            break;
        }
        UINT flags = PositionFlags(m_hMenu, position);
        if (flags == 0xFFFFFFFF) {
            break;
        }
        if ((flags & MFT_RIGHTORDER) == 0) {
            flags |= info.fType & MFT_RIGHTJUSTIFY;
            if ((flags & MF_BITMAP) == 0) {
                flags |= info.fType & MFT_RIGHTORDER;
            }
        }
        const ULONG_PTR data = PositionData(m_hMenu, position);
        const std::string text = MenuString(m_hMenu, position);
        std::unique_ptr<CNewMenuItemData> record;
        HMENU submenu = ::GetSubMenu(m_hMenu, static_cast<int>(position));
        const UINT id = info.wID;
        if ((flags & MF_BITMAP) != 0) {
            record = take([&](const CNewMenuItemData& r) { return r.commandId == id; });
            if (!record) {
                record = MakeRecord("", flags, id, nullptr, -1);
            }
            ordered.push_back(std::move(record));
            continue;
        }
        const auto submenuId = reinterpret_cast<UINT_PTR>(submenu);
        if (submenu != nullptr) {
            record = take([&](const CNewMenuItemData& r) { return r.commandId == submenuId; });
            if (record && !text.empty()) {
                record->text = text;
            }
            if (!record) {
                record = MakeRecord(text.c_str(), (flags & ~(MF_SEPARATOR | 0x200u)) | 0x510u, submenuId, nullptr, -1);
            }
            record->flags = (flags & ~(MF_SEPARATOR | 0x200u)) | 0x510u;
            if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu))) {
                object->m_parent = m_hMenu;
            }
        } else if ((flags & MF_SEPARATOR) != 0) {
            record = take([&](const CNewMenuItemData& r) { return r.commandId == 0; });
            if (!record) {
                record = MakeRecord("", flags | kOwnerDrawnByPosition, 0, nullptr, -1);
            }
            record->flags = flags | kOwnerDrawnByPosition;
        } else {
            record = take([&](const CNewMenuItemData& r) { return r.commandId == id && (r.flags & MF_POPUP) == 0; });
            if (record && !text.empty()) {
                record->text = text;
            }
            if (!record) {
                record = MakeRecord(text.c_str(), flags | kOwnerDrawnByPosition, id, nullptr, -1);
            }
            record->flags = flags | kOwnerDrawnByPosition;
        }
        // The item shows its record (unless it does already).
        if (data != reinterpret_cast<ULONG_PTR>(record.get()) || (info.fType & MFT_OWNERDRAW) == 0) {
            ::ModifyMenuA(m_hMenu, position, record->flags | MF_BYPOSITION,
                          submenu != nullptr ? submenuId : static_cast<UINT_PTR>(id), AsContent(record.get()));
        }
        ordered.push_back(std::move(record));
    }
    m_records = std::move(ordered);
}

// Records ------------------------------------------------------------------------------------

void CNewMenu::RaiseIconSize(CNewMenuIcons* icons)
{
    if (icons == nullptr) {
        return;
    }
    const SIZE size = icons->GetIconSize();
    m_iconWidth = std::max<int32_t>(m_iconWidth, size.cx);
    m_iconHeight = std::max<int32_t>(m_iconHeight, size.cy);
}

std::unique_ptr<CNewMenuItemData> CNewMenu::MakeRecord(const char* text, UINT flags, UINT_PTR id,
                                                      CNewMenuIcons* icons, int32_t imageIndex)
{
    auto record = std::make_unique<CNewMenuItemData>();
    record->text = text != nullptr ? text : "";
    record->flags = flags;
    record->commandId = id;
    record->SetIcons(icons, imageIndex);
    if (record->ImageIndex() >= 0) {
        RaiseIconSize(icons);
    }
    return record;
}

bool CNewMenu::HoldsRecord(const CNewMenuItemData* record) const
{
    return std::any_of(m_records.begin(), m_records.end(), [&](const auto& r) { return r.get() == record; });
}

BOOL CNewMenu::AppendODMenu(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons, int32_t imageIndex)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    if (id != 0) {
        flags |= MF_OWNERDRAW;
    } else {
        flags = (flags & MF_BYPOSITION) != 0 ? kOwnerDrawnSeparatorByPosition : kOwnerDrawnSeparator;
    }
    if ((flags & MF_POPUP) != 0) {
        if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(id)))) {
            object->m_parent = m_hMenu;
        }
    }
    m_records.push_back(MakeRecord(text, flags, id, icons, imageIndex));
    CNewMenuItemData* record = m_records.back().get();
    if (!::AppendMenuA(m_hMenu, flags & ~MF_OWNERDRAW, id, text)) {
        // The record stays only while it has a position.
        m_records.pop_back();
        return FALSE;
    }
    const UINT last = static_cast<UINT>(::GetMenuItemCount(m_hMenu) - 1);
    return ::ModifyMenuA(m_hMenu, last, flags | MF_BYPOSITION, id, AsContent(record));
}

BOOL CNewMenu::InsertODMenu(UINT position, const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                            int32_t imageIndex)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        if (owner == nullptr) {
            return FALSE;
        }
        return owner->InsertODMenu(static_cast<UINT>(at), text, flags | MF_BYPOSITION, id, icons, imageIndex);
    }
    const int count = ::GetMenuItemCount(m_hMenu);
    if (position == static_cast<UINT>(-1) || position > static_cast<UINT>(count)) {
        position = static_cast<UINT>(count);
    }
    if (id != 0) {
        flags |= MF_OWNERDRAW;
    } else {
        flags = kOwnerDrawnSeparatorByPosition;
    }
    if ((flags & MF_POPUP) != 0) {
        if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(id)))) {
            object->m_parent = m_hMenu;
        }
    }
    auto record = MakeRecord(text, flags, id, icons, imageIndex);
    CNewMenuItemData* raw = record.get();
    const auto at = std::min<std::ptrdiff_t>(position, static_cast<std::ptrdiff_t>(m_records.size()));
    m_records.insert(m_records.begin() + at, std::move(record));
    if (!::InsertMenuA(m_hMenu, position, flags & ~MF_OWNERDRAW, id, text)) {
        m_records.erase(m_records.begin() + at);
        return FALSE;
    }
    return ::ModifyMenuA(m_hMenu, position, flags | MF_BYPOSITION, id, AsContent(raw));
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, int32_t imageIndex)
{
    (void)imageIndex; // an index without a set names no image
    return AppendODMenu(text, flags, id, nullptr, -1);
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, CImageList* list, int index)
{
    int at = -1;
    CNewMenuIcons* icons = list != nullptr ? CNewMenuImages::AddIconToGlobalList(*this, list->GetSafeHandle(), index, &at)
                                           : nullptr;
    return AppendODMenu(text, flags, id, icons, at);
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, CBitmap* bitmap)
{
    return AppendItem(flags, id, text, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr);
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons = CNewMenuImages::AddBitmapToGlobalList(*this, bitmap, &index);
    return AppendODMenu(text, flags, id, icons, index);
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, MenuImageResource image)
{
    int index = -1;
    CNewMenuIcons* icons = IconsForResource(image.id, static_cast<UINT>(id), &index);
    return AppendODMenu(text, flags, id, icons, index);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, int32_t imageIndex)
{
    (void)imageIndex;
    return InsertODMenu(position, text, flags, id, nullptr, -1);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, CImageList* list, int index)
{
    int at = -1;
    CNewMenuIcons* icons = list != nullptr ? CNewMenuImages::AddIconToGlobalList(*this, list->GetSafeHandle(), index, &at)
                                           : nullptr;
    return InsertODMenu(position, text, flags, id, icons, at);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, CBitmap* bitmap)
{
    return InsertItem(position, flags, id, text, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons = CNewMenuImages::AddBitmapToGlobalList(*this, bitmap, &index);
    return InsertODMenu(position, text, flags, id, icons, index);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, MenuImageResource image)
{
    int index = -1;
    CNewMenuIcons* icons = IconsForResource(image.id, static_cast<UINT>(id), &index);
    return InsertODMenu(position, text, flags, id, icons, index);
}

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
    int at = -1;
    CNewMenuIcons* icons =
        list != nullptr ? CNewMenuImages::AddIconToGlobalList(*this, list->GetSafeHandle(), index, &at) : nullptr;
    CNewMenuIcons::Ref hold(icons);
    return ModifyODMenu(text, commandId, icons, at);
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, CBitmap* bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons =
        CNewMenuImages::AddBitmapToGlobalList(*this, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr, &index);
    CNewMenuIcons::Ref hold(icons);
    return ModifyODMenu(text, commandId, icons, index);
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
        int32_t index = -1;
        CNewMenuIcons* icons =
            CNewMenuImages::AddBitmapToGlobalList(*this, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr,
                                                  &index);
        record->SetIcons(icons, index);
        RaiseIconSize(icons);
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

// Removing --------------------------------------------------------------------------------------

void CNewMenu::ForgetPosition(UINT position, bool deleteSubmenu)
{
    HMENU submenu = ::GetSubMenu(m_hMenu, static_cast<int>(position));
    if (submenu != nullptr) {
        const bool owned = std::find(m_submenus.begin(), m_submenus.end(), submenu) != m_submenus.end();
        m_submenus.erase(std::remove(m_submenus.begin(), m_submenus.end(), submenu), m_submenus.end());
        if (deleteSubmenu && owned) {
            if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu))) {
                // The platform destroys the handle with the item.
                object->m_records.clear();
                object->Detach();
                delete object;
            }
        }
    }
    // Exactly the record at the position goes: with a command id twice in
    // a menu, removing by id would take the wrong one.
    if (position < m_records.size()) {
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(position));
    }
}

BOOL CNewMenu::RemoveMenu(UINT position, UINT flags)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        if (owner == nullptr) {
            return CMenu::RemoveMenu(position, flags);
        }
        return owner->RemoveMenu(static_cast<UINT>(at), MF_BYPOSITION);
    }
    if (static_cast<int>(position) >= ::GetMenuItemCount(m_hMenu)) {
        return FALSE;
    }
    ForgetPosition(position, false);
    return CMenu::RemoveMenu(position, flags);
}

BOOL CNewMenu::DeleteMenu(UINT position, UINT flags)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    if ((flags & MF_BYPOSITION) == 0) {
        int at = -1;
        CNewMenu* owner = FindMenuItemOwner(position, &at);
        if (owner == nullptr) {
            return CMenu::DeleteMenu(position, flags);
        }
        return owner->DeleteMenu(static_cast<UINT>(at), MF_BYPOSITION);
    }
    if (static_cast<int>(position) >= ::GetMenuItemCount(m_hMenu)) {
        return FALSE;
    }
    ForgetPosition(position, true);
    return CMenu::DeleteMenu(position, flags);
}

int CNewMenu::RemoveMenuByText(const char* text, int mode)
{
    const int found = FindItemByData(text);
    if (found < 0) {
        return -1;
    }
    switch (mode) {
    case 0: RemoveMenu(static_cast<UINT>(found), MF_BYPOSITION); break;
    case 1:
        if (found > 0) {
            RemoveMenu(static_cast<UINT>(found - 1), MF_BYPOSITION);
        }
        break;
    case 2: RemoveMenu(static_cast<UINT>(found + 1), MF_BYPOSITION); break;
    case 3:
        RemoveMenu(static_cast<UINT>(found + 1), MF_BYPOSITION);
        if (found > 0) {
            RemoveMenu(static_cast<UINT>(found - 1), MF_BYPOSITION);
        }
        break;
    default: break;
    }
    return found;
}

CNewMenu* CNewMenu::AppendPopup(const char* text)
{
    if (m_hMenu == nullptr) {
        return nullptr;
    }
    auto popup = std::make_unique<CNewMenu>(m_hMenu);
    if (!popup->CreatePopupMenu()) {
        return nullptr;
    }
    popup->m_checkImageId = m_checkImageId;
    popup->m_selectedCheckImageId = m_selectedCheckImageId;
    popup->m_checkImages = m_checkImages;
    popup->m_checkImagesShared = TRUE;
    HMENU handle = popup->GetSafeHmenu();
    if (!AppendODMenu(text, MF_POPUP, reinterpret_cast<UINT_PTR>(handle), nullptr, -1)) {
        return nullptr;
    }
    m_submenus.push_back(handle);
    return popup.release();
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

// Titles ---------------------------------------------------------------------------------------------

BOOL CNewMenu::SetTitleImage(const char* text, UINT styleBits, CNewMenuIcons* icons, int index)
{
    if (::IsMenu(m_hMenu) == FALSE) {
        return FALSE;
    }
    if (static_cast<size_t>(::GetMenuItemCount(m_hMenu)) != m_records.size()) {
        UpdateMenu();
    }
    if (m_records.empty() || (m_records.front()->flags & MF_SEPARATOR) == 0) {
        auto title = std::make_unique<CNewMenuItemDataTitle>();
        title->text = text != nullptr ? text : "";
        title->flags = kOwnerDrawnSeparatorByPosition;
        CNewMenuItemDataTitle* raw = title.get();
        m_records.insert(m_records.begin(), std::move(title));
        ::InsertMenuA(m_hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, text);
        ::ModifyMenuA(m_hMenu, 0, kOwnerDrawnSeparatorByPosition, 0, AsContent(raw));
    }
    CNewMenuItemData& first = *m_records.front();
    if ((first.flags & MF_SEPARATOR) == 0) {
        return FALSE;
    }
    first.SetIcons(icons, icons != nullptr ? index : -1);
    first.text = text != nullptr ? text : "";
    first.titleStyle = styleBits | kTitleItem;
    if (::GetMenuItemCount(m_hMenu) >= 2) {
        const UINT flags = PositionFlags(m_hMenu, 1);
        const bool broken = (flags & MF_MENUBREAK) != 0;
        const bool wanted = (styleBits & kTitleVertical) != 0;
        if (broken != wanted && flags != 0xFFFFFFFF && m_records.size() >= 2) {
            CNewMenuItemData& second = *m_records[1];
            second.flags = wanted ? (second.flags | MF_MENUBREAK) : (second.flags & ~MF_MENUBREAK);
            const UINT_PTR id = (second.flags & MF_POPUP) != 0 ? second.commandId : second.commandId;
            ::ModifyMenuA(m_hMenu, 1, second.flags | kOwnerDrawnByPosition, id, AsContent(&second));
        }
    }
    return TRUE;
}

BOOL CNewMenu::SetMenuTitle(const char* text, UINT styleBits) { return SetTitleImage(text, styleBits, nullptr, -1); }

BOOL CNewMenu::SetMenuTitle(const char* text, UINT styleBits, MenuImageResource bitmap)
{
    int index = -1;
    CNewMenuIcons* icons = CNewMenuImages::FindBitmapsInGlobalList(*this, bitmap.id, &index);
    CNewMenuIcons::Ref hold(icons);
    return SetTitleImage(text, styleBits, icons, index);
}

BOOL CNewMenu::SetMenuTitle(const char* text, UINT styleBits, CBitmap* bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons =
        CNewMenuImages::AddBitmapToGlobalList(*this, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr, &index);
    CNewMenuIcons::Ref hold(icons);
    return SetTitleImage(text, styleBits, icons, index);
}

BOOL CNewMenu::SetMenuTitle(const char* text, UINT styleBits, CImageList* list, int index)
{
    int at = -1;
    CNewMenuIcons* icons =
        list != nullptr ? CNewMenuImages::AddIconToGlobalList(*this, list->GetSafeHandle(), index, &at) : nullptr;
    CNewMenuIcons::Ref hold(icons);
    return SetTitleImage(text, styleBits, icons, at);
}

BOOL CNewMenu::RemoveMenuTitle()
{
    if (m_records.empty() || (m_records.front()->flags & MF_SEPARATOR) == 0 ||
        (m_records.front()->titleStyle & kTitleItem) == 0) {
        return FALSE;
    }
    if (m_records.size() >= 2 && (m_records[1]->flags & MF_MENUBREAK) != 0) {
        CNewMenuItemData& second = *m_records[1];
        second.flags &= ~MF_MENUBREAK;
        ::ModifyMenuA(m_hMenu, 1, second.flags | kOwnerDrawnByPosition, second.commandId, AsContent(&second));
    }
    return RemoveMenu(0, MF_BYPOSITION);
}

CNewMenuItemDataTitle* CNewMenu::GetMenuTitle()
{
    if (m_records.empty()) {
        return nullptr;
    }
    return dynamic_cast<CNewMenuItemDataTitle*>(m_records.front().get());
}

BOOL CNewMenu::SetMenuTitleColors(COLORREF text, COLORREF back, COLORREF fill)
{
    CNewMenuItemDataTitle* title = GetMenuTitle();
    if (title == nullptr) {
        return FALSE;
    }
    title->textColor = text;
    title->backColor = back;
    title->fillColor = fill;
    return TRUE;
}

// Lookups -------------------------------------------------------------------------------------------------

CNewMenu* CNewMenu::FindMenuItemOwner(UINT commandId, int* position)
{
    *position = -1;
    if (m_hMenu == nullptr) {
        return nullptr;
    }
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = ::GetSubMenu(m_hMenu, i);
        if (submenu == nullptr) {
            if (::GetMenuItemID(m_hMenu, i) == commandId) {
                *position = i;
                return this;
            }
            continue;
        }
        if (auto* object = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(submenu))) {
            if (CNewMenu* found = object->FindMenuItemOwner(commandId, position)) {
                return found;
            }
        }
    }
    return nullptr;
}

int CNewMenu::FindItemByData(const char* text) const
{
    if (text == nullptr || m_hMenu == nullptr) {
        return -1;
    }
    const int count = ::GetMenuItemCount(m_hMenu);
    bool allPopups = count > 0;
    for (int i = 0; i < count; ++i) {
        allPopups = allPopups && ::GetSubMenu(m_hMenu, i) != nullptr;
    }
    if (allPopups) {
        return -1;
    }
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i]->text == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CNewMenu::FindItemPosByText(const char* text) const
{
    if (text == nullptr || m_hMenu == nullptr) {
        return -1;
    }
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        if (MenuString(m_hMenu, static_cast<UINT>(i)) == text) {
            return i;
        }
    }
    return -1;
}

CMenu* CNewMenu::FindSubMenuByText(const char* text) const
{
    if (text == nullptr || m_hMenu == nullptr) {
        return nullptr;
    }
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        std::string itemText = MenuString(m_hMenu, static_cast<UINT>(i));
        if (itemText.empty()) {
            auto* record = reinterpret_cast<const CNewMenuItemData*>(PositionData(m_hMenu, static_cast<UINT>(i)));
            if (record != nullptr && HoldsRecord(record)) {
                itemText = record->GetString(nullptr);
            }
        }
        if (itemText == text) {
            return GetSubMenuCast(i);
        }
    }
    return nullptr;
}

CMenu* CNewMenu::GetSubMenuCast(int position) const
{
    HMENU submenu = m_hMenu != nullptr ? ::GetSubMenu(m_hMenu, position) : nullptr;
    return submenu != nullptr ? CMenu::FromHandle(submenu) : nullptr;
}

CNewMenuItemData* CNewMenu::FindItemRecord(UINT_PTR id)
{
    for (auto& record : m_records) {
        if (record->commandId == id) {
            return record.get();
        }
    }
    int at = -1;
    CNewMenu* owner = FindMenuItemOwner(static_cast<UINT>(id), &at);
    if (owner == nullptr || owner == this) {
        return nullptr;
    }
    for (auto& record : owner->m_records) {
        if (record->commandId == id) {
            return record.get();
        }
    }
    return nullptr;
}

// Fields ---------------------------------------------------------------------------------------------------

void CNewMenu::SetIconSize(int cx, int cy)
{
    m_iconWidth = cx;
    m_iconHeight = cy;
}

HACCEL CNewMenu::SetAccelerator(HACCEL table)
{
    HACCEL old = m_accelerators;
    m_accelerators = table;
    return old;
}

COLORREF CNewMenu::SetBitmapBackground(COLORREF colour)
{
    const COLORREF old = m_bitmapBackground;
    m_bitmapBackground = colour;
    return old;
}

COLORREF CNewMenu::GetBitmapBackground() const
{
    return m_bitmapBackground == kDefaultColor ? GetSysColor(COLOR_3DFACE) : m_bitmapBackground;
}

BOOL CNewMenu::SetPopup(BOOL popup)
{
    const BOOL old = m_popup;
    m_popup = popup;
    return old;
}

BOOL CNewMenu::SetIconResources(BOOL on)
{
    const BOOL old = m_iconResources;
    m_iconResources = on;
    return old;
}

BOOL CNewMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner)
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    return CMenu::TrackPopupMenu(flags, x, y, CWnd::FromHandle(owner));
}

BOOL CNewMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    return CMenu::TrackPopupMenu(flags, x, y, owner, rect);
}
