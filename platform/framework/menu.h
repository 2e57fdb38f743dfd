// CMenu: a menu handle with the menu calls, and the menu handle map
// (FromHandle, FromHandlePermanent). A CMenu that created or loaded its
// menu destroys it with the object unless it was detached.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/object.h"
#include "platform/user/menu.h"

class CWnd;

class NUVEX_PLATFORM_API CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    static CMenu* FromHandle(HMENU menu);
    static CMenu* FromHandlePermanent(HMENU menu);
    static void DeleteTempMap();
    // FALSE when this object holds a menu already, `menu` is null or
    // belongs to another object.
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // The menu resource `id` of the running program.
    BOOL LoadMenu(UINT id);
    BOOL LoadMenuIndirect(const void* menuTemplate);
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL InsertMenuItem(UINT item, MENUITEMINFOA* info, BOOL byPosition = FALSE);
    BOOL GetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPosition = FALSE) const;
    BOOL SetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPosition = FALSE);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT item, UINT flags) const;
    int GetMenuString(UINT item, LPSTR buffer, int size, UINT flags) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int position) const;
    UINT CheckMenuItem(UINT item, UINT check);
    UINT EnableMenuItem(UINT item, UINT enable);
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);
    UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) const;
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
    // The menu `owner` is tracking through TrackPopupMenu now, or null.
    static HMENU GetTrackingMenu(HWND owner);
    BOOL GetMenuInfo(MENUINFO* info) const;
    BOOL SetMenuInfo(const MENUINFO* info);

    // Owner-drawn items: called by the owner window's default handling.
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);
};
