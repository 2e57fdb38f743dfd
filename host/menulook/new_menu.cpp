// The item records of an owner-drawn menu kept in step with the platform menu.
#include "host/menulook/new_menu.h"

#include <algorithm>

void CNewMenuItemData::SetIcons(CNewMenuIcons* icons, int32_t index)
{
    if (icons != nullptr) {
        icons->AddRef();
    }
    if (m_icons != nullptr) {
        m_icons->Release();
    }
    m_icons = icons;
    m_imageIndex = icons != nullptr && index >= 0 ? index : -1;
}

BOOL CNewMenu::CreatePopupMenu()
{
    if (m_menu != nullptr) {
        return FALSE;
    }
    m_menu = ::CreatePopupMenu();
    return m_menu != nullptr ? TRUE : FALSE;
}

BOOL CNewMenu::DestroyMenu()
{
    m_records.clear();
    if (m_menu == nullptr) {
        return FALSE;
    }
    const BOOL destroyed = ::DestroyMenu(m_menu);
    m_menu = nullptr;
    return destroyed;
}

int CNewMenu::GetMenuItemCount() const
{
    return m_menu != nullptr ? ::GetMenuItemCount(m_menu) : -1;
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
        m_iconWidth = std::max<int32_t>(m_iconWidth, icons->Width());
        m_iconHeight = std::max<int32_t>(m_iconHeight, icons->Height());
    }
    return record;
}

BOOL CNewMenu::AppendODMenu(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons, int32_t imageIndex)
{
    if (m_menu == nullptr) {
        return FALSE;
    }
    if (id != 0) {
        flags |= MF_OWNERDRAW;
    } else {
        flags = (flags & MF_BYPOSITION) != 0 ? kOwnerDrawnSeparatorByPosition : kOwnerDrawnSeparator;
    }
    m_records.push_back(MakeRecord(text, flags, id, icons, imageIndex));
    CNewMenuItemData* record = m_records.back().get();
    if (!::AppendMenuA(m_menu, flags & ~MF_OWNERDRAW, id, text)) {
        return FALSE;
    }
    const UINT last = static_cast<UINT>(::GetMenuItemCount(m_menu) - 1);
    return ::ModifyMenuA(m_menu, last, flags | MF_BYPOSITION, id, reinterpret_cast<LPCSTR>(record));
}

BOOL CNewMenu::InsertODMenu(UINT position, const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                            int32_t imageIndex)
{
    if (m_menu == nullptr) {
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
    const int count = ::GetMenuItemCount(m_menu);
    if (position == static_cast<UINT>(-1) || position > static_cast<UINT>(count)) {
        position = static_cast<UINT>(count);
    }
    if (id != 0) {
        flags |= MF_OWNERDRAW;
    } else {
        flags = kOwnerDrawnSeparatorByPosition;
    }
    auto record = MakeRecord(text, flags, id, icons, imageIndex);
    CNewMenuItemData* raw = record.get();
    m_records.insert(m_records.begin() + std::min<std::ptrdiff_t>(position, static_cast<std::ptrdiff_t>(m_records.size())),
                     std::move(record));
    if (!::InsertMenuA(m_menu, position, flags & ~MF_OWNERDRAW, id, text)) {
        return FALSE;
    }
    return ::ModifyMenuA(m_menu, position, flags | MF_BYPOSITION, id, reinterpret_cast<LPCSTR>(raw));
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, int32_t imageIndex)
{
    return AppendODMenu(text, flags, id, nullptr, imageIndex);
}

BOOL CNewMenu::AppendItem(UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons = CNewMenuIcons::AddBitmapToGlobalList(bitmap, &index);
    return AppendODMenu(text, flags, id, icons, index);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, int32_t imageIndex)
{
    return InsertODMenu(position, text, flags, id, nullptr, imageIndex);
}

BOOL CNewMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap)
{
    int32_t index = -1;
    CNewMenuIcons* icons = CNewMenuIcons::AddBitmapToGlobalList(bitmap, &index);
    return InsertODMenu(position, text, flags, id, icons, index);
}

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, CNewMenuIcons* icons, int32_t imageIndex)
{
    if (m_menu == nullptr) {
        return FALSE;
    }
    BOOL all = TRUE;
    for (size_t i = 0; i < m_records.size(); ++i) {
        CNewMenuItemData& record = *m_records[i];
        if (record.commandId != commandId || (record.flags & MF_SEPARATOR) != 0) {
            continue;
        }
        if (text != nullptr && record.text != text) {
            record.text = text;
        }
        record.SetIcons(icons, imageIndex);
        if (record.ImageIndex() >= 0) {
            m_iconWidth = std::max<int32_t>(m_iconWidth, icons->Width());
            m_iconHeight = std::max<int32_t>(m_iconHeight, icons->Height());
        }
        record.flags = (record.flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        if (!::ModifyMenuA(m_menu, static_cast<UINT>(i), record.flags | MF_BYPOSITION, commandId,
                           reinterpret_cast<LPCSTR>(&record))) {
            all = FALSE;
        }
    }
    return all;
}

BOOL CNewMenu::LoadToolBar(UINT toolBarId, HMODULE module)
{
    CNewMenuIcons* icons = CNewMenuIcons::FindOrLoadToolBarIcons(toolBarId, module);
    if (icons == nullptr) {
        return FALSE;
    }
    // Held while applied, so that a tool bar no item uses does not stay listed.
    icons->AddRef();
    const std::vector<WORD>& ids = icons->CommandIds();
    for (size_t i = ids.size(); i-- > 0;) {
        ModifyODMenu(nullptr, ids[i], icons, static_cast<int32_t>(3 * i));
    }
    icons->Release();
    return TRUE;
}

CNewMenu* CNewMenu::FindMenuItemOwner(UINT commandId, int* position)
{
    *position = -1;
    if (m_menu == nullptr) {
        return nullptr;
    }
    const int count = ::GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        if (::GetSubMenu(m_menu, i) == nullptr && ::GetMenuItemID(m_menu, i) == commandId) {
            *position = i;
            return this;
        }
    }
    return nullptr;
}

BOOL CNewMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner)
{
    if (m_menu == nullptr) {
        return FALSE;
    }
    return ::TrackPopupMenu(m_menu, flags, x, y, 0, owner, nullptr);
}
