// CNewMenu: a menu whose every item is owner-drawn and carries an item
// record (CNewMenuItemData) with its text, flags, command id and image. The
// records are kept in position order, in step with the platform menu,
// through the menu's own append, insert and modify operations; the image
// of a record is an index into a shared image set (CNewMenuIcons).
//
// This holds what the views use: a popup created empty and rebuilt, items
// inserted by position or appended with or without a bitmap, separators,
// the images of a tool bar given to the items of its commands, and the
// popup shown with the platform's track call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/menulook/new_menu_icons.h"
#include "platform/user/menu.h"

// Flags that the item operations add.
inline constexpr UINT kOwnerDrawnSeparator = MF_SEPARATOR | MF_OWNERDRAW;
inline constexpr UINT kOwnerDrawnSeparatorByPosition = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;

class CNewMenuItemData {
public:
    CNewMenuItemData() = default;
    CNewMenuItemData(const CNewMenuItemData&) = delete;
    CNewMenuItemData& operator=(const CNewMenuItemData&) = delete;
    ~CNewMenuItemData() { SetIcons(nullptr, -1); }

    // Takes a reference on the new set before the old one is released.
    void SetIcons(CNewMenuIcons* icons, int32_t index);
    CNewMenuIcons* Icons() const { return m_icons; }
    int32_t ImageIndex() const { return m_imageIndex; }

    std::string text;
    UINT flags = 0;
    // The command id, or for an item that opens a submenu its handle.
    UINT_PTR commandId = 0;
    uint32_t userData = 0;

private:
    CNewMenuIcons* m_icons = nullptr;
    int32_t m_imageIndex = -1;
};

class CNewMenu {
public:
    explicit CNewMenu(HMENU parent = nullptr) : m_parent(parent) {}
    CNewMenu(const CNewMenu&) = delete;
    CNewMenu& operator=(const CNewMenu&) = delete;
    virtual ~CNewMenu() { DestroyMenu(); }

    // An empty popup menu for this object; FALSE when it already has one or
    // none can be made.
    BOOL CreatePopupMenu();
    // Deletes the item records and destroys the platform menu; the object
    // can make a new one afterwards.
    virtual BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_menu; }
    HMENU GetParentMenu() const { return m_parent; }
    int GetMenuItemCount() const;

    // Appends an item (id 0: a separator) without image, with an image of
    // the shared sets by index (-1 for none), or with a copy of a bitmap.
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, int32_t imageIndex = -1);
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap);
    // Inserts an item at a position (-1: the end) when flags hold
    // MF_BYPOSITION, else before the item with the command id position.
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, int32_t imageIndex = -1);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap);

    // Gives every item of a command on the tool bar the tool bar's image;
    // 0 when the tool bar cannot be loaded.
    BOOL LoadToolBar(UINT toolBarId, HMODULE module = nullptr);
    // Gives every item of the command (this menu's) an image from a set.
    BOOL ModifyODMenu(const char* text, UINT commandId, CNewMenuIcons* icons, int32_t imageIndex);

    // The menu (this one) that has a plain item with the command id, and
    // its position; null and -1 when none.
    CNewMenu* FindMenuItemOwner(UINT commandId, int* position);

    // The popup at screen point (x, y), owned by owner.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner);

    const std::vector<std::unique_ptr<CNewMenuItemData>>& ItemRecords() const { return m_records; }
    int32_t IconWidth() const { return m_iconWidth; }
    int32_t IconHeight() const { return m_iconHeight; }

private:
    BOOL AppendODMenu(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons, int32_t imageIndex);
    BOOL InsertODMenu(UINT position, const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                      int32_t imageIndex);
    // A record for the item; its image raises the icon size.
    std::unique_ptr<CNewMenuItemData> MakeRecord(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                                                 int32_t imageIndex);

    HMENU m_menu = nullptr;
    HMENU m_parent = nullptr;
    std::vector<std::unique_ptr<CNewMenuItemData>> m_records;
    int32_t m_iconWidth = 16;
    int32_t m_iconHeight = 15;
};
