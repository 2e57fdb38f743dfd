// Menus: the HMENU model (items with text, ids, submenus, states, owner
// draw, bitmaps, item data), menu information, frame and system menus, and
// TrackPopupMenu with its modal loop over popup windows of class "#32768".
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/winuser.h"

// Item flags of the append/insert/modify family and GetMenuState.
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_USECHECKBITMAPS = 0x0200;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

// Bitmap handles with a meaning of their own in a menu item.
inline const HBITMAP HBMMENU_CALLBACK = reinterpret_cast<HBITMAP>(static_cast<intptr_t>(-1));
inline const HBITMAP HBMMENU_SYSTEM = reinterpret_cast<HBITMAP>(1);
inline const HBITMAP HBMMENU_MBAR_RESTORE = reinterpret_cast<HBITMAP>(2);
inline const HBITMAP HBMMENU_MBAR_MINIMIZE = reinterpret_cast<HBITMAP>(3);
inline const HBITMAP HBMMENU_MBAR_CLOSE = reinterpret_cast<HBITMAP>(5);
inline const HBITMAP HBMMENU_MBAR_CLOSE_D = reinterpret_cast<HBITMAP>(6);
inline const HBITMAP HBMMENU_MBAR_MINIMIZE_D = reinterpret_cast<HBITMAP>(7);
inline const HBITMAP HBMMENU_POPUP_CLOSE = reinterpret_cast<HBITMAP>(8);
inline const HBITMAP HBMMENU_POPUP_RESTORE = reinterpret_cast<HBITMAP>(9);
inline const HBITMAP HBMMENU_POPUP_MAXIMIZE = reinterpret_cast<HBITMAP>(10);
inline const HBITMAP HBMMENU_POPUP_MINIMIZE = reinterpret_cast<HBITMAP>(11);

// The record is laid out for this 64-bit platform (pointer-sized handles
// and data). cbSize may be this record's size, or 48 or 44 as on the 32-bit
// platform; 44 leaves out hbmpItem.
struct MENUITEMINFOA {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
constexpr UINT kMenuItemInfoSize32 = 48;

constexpr DWORD MIM_MAXHEIGHT = 0x00000001;
constexpr DWORD MIM_BACKGROUND = 0x00000002;
constexpr DWORD MIM_HELPID = 0x00000004;
constexpr DWORD MIM_MENUDATA = 0x00000008;
constexpr DWORD MIM_STYLE = 0x00000010;
constexpr DWORD MIM_APPLYTOSUBMENUS = 0x80000000;
constexpr DWORD MNS_NOCHECK = 0x80000000;
constexpr DWORD MNS_NOTIFYBYPOS = 0x08000000;
// cbSize may be this record's size or 28 as on the 32-bit platform.
struct MENUINFO {
    DWORD cbSize;
    DWORD fMask;
    DWORD dwStyle;
    UINT cyMax;
    HBRUSH hbrBack;
    DWORD dwContextHelpID;
    ULONG_PTR dwMenuData;
};
constexpr DWORD kMenuInfoSize32 = 28;

// Owner draw.
constexpr UINT ODT_MENU = 1;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_NOACCEL = 0x0100;
struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem; // for menus: the HMENU
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};

// WM_MENUCHAR answers (high word).
constexpr WORD MNC_IGNORE = 0;
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};

NUVEX_PLATFORM_API HMENU CreateMenu();
NUVEX_PLATFORM_API HMENU CreatePopupMenu();
// Destroys the menu and its submenus.
NUVEX_PLATFORM_API BOOL DestroyMenu(HMENU menu);
NUVEX_PLATFORM_API BOOL IsMenu(HMENU menu);
// `item` is a command id, or with MF_POPUP the submenu handle. `content` is
// the text, or with MF_BITMAP the bitmap, or with MF_OWNERDRAW the item data.
NUVEX_PLATFORM_API BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR item, LPCSTR content);
NUVEX_PLATFORM_API BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content);
NUVEX_PLATFORM_API BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR content);
// Takes the item out; its submenu survives.
NUVEX_PLATFORM_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Takes the item out and destroys its submenu.
NUVEX_PLATFORM_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// -1 for an invalid menu.
NUVEX_PLATFORM_API int GetMenuItemCount(HMENU menu);
// -1 (as UINT) for a submenu item or a position out of range.
NUVEX_PLATFORM_API UINT GetMenuItemID(HMENU menu, int position);
NUVEX_PLATFORM_API HMENU GetSubMenu(HMENU menu, int position);
NUVEX_PLATFORM_API int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
// MF_* state and type bits; for a submenu item its item count in the high
// byte of the low word; 0xFFFFFFFF when there is no such item.
NUVEX_PLATFORM_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Return the previous check or enable state; -1 (0xFFFFFFFF) when missing.
NUVEX_PLATFORM_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
NUVEX_PLATFORM_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
NUVEX_PLATFORM_API BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
NUVEX_PLATFORM_API BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
NUVEX_PLATFORM_API BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
NUVEX_PLATFORM_API BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
NUVEX_PLATFORM_API BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
NUVEX_PLATFORM_API BOOL GetMenuInfo(HMENU menu, MENUINFO* info);
NUVEX_PLATFORM_API BOOL SetMenuInfo(HMENU menu, const MENUINFO* info);
// The default item's id (or position with flags bit 0 set); -1 when none.
NUVEX_PLATFORM_API UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
NUVEX_PLATFORM_API BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);

// Frame menus and the system menu.
NUVEX_PLATFORM_API HMENU GetMenu(HWND hwnd);
NUVEX_PLATFORM_API BOOL SetMenu(HWND hwnd, HMENU menu);
NUVEX_PLATFORM_API BOOL DrawMenuBar(HWND hwnd);
// The window's system menu (Restore, Move, Size, Minimize, Maximize,
// Close); `revert` puts back the standard one and returns null.
NUVEX_PLATFORM_API HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// Screen rectangle of an item of the window's menu bar, or of the tracked
// popup that shows `menu`.
NUVEX_PLATFORM_API BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect);
// Position of the item under `screen` in the menu bar or tracked popup
// showing `menu`; -1 when none.
NUVEX_PLATFORM_API int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen);

// Shows `menu` at (x, y) and runs the menu loop until an item is chosen or
// the menu is cancelled. With TPM_RETURNCMD returns the chosen id (0 for
// none); otherwise posts WM_COMMAND to `owner` and returns whether an item
// was chosen. `exclude` (TrackPopupMenuEx) is a screen rectangle the popup
// must not cover.
NUVEX_PLATFORM_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                       const RECT* unused);
NUVEX_PLATFORM_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Ends the running menu loop as a cancel.
NUVEX_PLATFORM_API BOOL EndMenu();
