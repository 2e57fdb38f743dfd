// The item records of an owner-drawn menu kept in step with the platform
// menu: loading and conversion, append and insert, remove and delete.
#include "host/menulook/new_menu.h"

#include <algorithm>

#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_images.h"
#include "host/menulook/new_menu_records.h"
#include "platform/framework/commonctrls.h"
#include "platform/kernel/resource.h"

IMPLEMENT_DYNAMIC(CNewMenu, CMenu)

using namespace menu_records;

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
    const MenuImage image = CNewMenuImages::FromList(*this, list, index);
    return AppendODMenu(text, flags, id, image.icons, image.index);
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
    const MenuImage image = CNewMenuImages::FromList(*this, list, index);
    return InsertODMenu(position, text, flags, id, image.icons, image.index);
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
