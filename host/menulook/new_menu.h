// CNewMenu: a menu whose every item is owner-drawn and carries an item
// record (CNewMenuItemData) with its text, flags, command id and image. The
// records are kept in position order, one per position, in step with the
// platform menu through the menu's own append, insert, modify, remove and
// delete operations; the image of a record is an index into a shared image
// set (CNewMenuIcons). Ordinary menus (resources or handles) are converted
// into owner-drawn ones. Items are measured and drawn by the current
// menu-look painter's routines (new_menu_measure.cpp, new_menu_draw*.cpp);
// the library's process-wide options live here as statics.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/menulook/new_menu_icons.h"
#include "platform/framework/cstring.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/menu.h"
#include "platform/gdi/gdi.h"

class CImageList;

// Flags that the item operations add.
inline constexpr UINT kOwnerDrawnSeparator = MF_SEPARATOR | MF_OWNERDRAW;
inline constexpr UINT kOwnerDrawnSeparatorByPosition = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;
inline constexpr UINT kOwnerDrawnByPosition = MF_BYPOSITION | MF_OWNERDRAW;

// "Use the default" for a colour.
inline constexpr COLORREF kDefaultColor = 0xFF000000;

// Title style bits.
inline constexpr UINT kTitleItem = 0x01;
inline constexpr UINT kTitleVertical = 0x02;
inline constexpr UINT kTitleGradient = 0x04;
inline constexpr UINT kTitle3dFrame = 0x08;
inline constexpr UINT kTitleEngraved = 0x10;
inline constexpr UINT kTitleRound = 0x20;
inline constexpr UINT kTitleCentred = 0x40;

// Owner-draw state bits the menu bar adds to an item's state.
inline constexpr UINT kStateBarTracking = 0x0800;
inline constexpr UINT kStateBarVertical = 0x8000;
inline constexpr UINT ODS_INACTIVE = 0x0080;

// A bitmap or tool-bar resource id given as an item's image.
struct MenuImageResource {
    UINT id = 0;
};

class CNewMenuItemData {
public:
    CNewMenuItemData() = default;
    CNewMenuItemData(const CNewMenuItemData&) = delete;
    CNewMenuItemData& operator=(const CNewMenuItemData&) = delete;
    virtual ~CNewMenuItemData() { SetIcons(nullptr, -1); }

    // The text with the accelerators of `table` behind a tab (table -1 or
    // -2: the main frame's default table; null: none).
    virtual std::string GetString(HACCEL table) const;
    virtual void SetString(const char* text) { this->text = text != nullptr ? text : ""; }
    virtual bool IsTitle() const { return false; }

    // Takes a reference on the new set before the old one is released.
    void SetIcons(CNewMenuIcons* icons, int32_t index);
    CNewMenuIcons* Icons() const { return m_icons; }
    int32_t ImageIndex() const { return m_imageIndex; }

    std::string text;
    UINT titleStyle = 0;
    UINT flags = 0;
    // The command id, or for an item that opens a submenu its handle.
    UINT_PTR commandId = 0;
    UINT used = 0;
    uint32_t userData = 0;

private:
    CNewMenuIcons* m_icons = nullptr;
    int32_t m_imageIndex = -1;
};

class CNewMenuItemDataTitle : public CNewMenuItemData {
public:
    bool IsTitle() const override { return true; }
    COLORREF textColor = kDefaultColor;
    COLORREF backColor = kDefaultColor;
    COLORREF fillColor = kDefaultColor;
    CFont font;
};

class CNewMenu;
using MenuMeasureRoutine = void (CNewMenu::*)(MEASUREITEMSTRUCT*, BOOL bar);
using MenuDrawRoutine = void (CNewMenu::*)(DRAWITEMSTRUCT*, BOOL bar);
using MenuCommonRoutine = void (CNewMenu::*)(DRAWITEMSTRUCT*);

class CNewMenu : public CMenu {
    DECLARE_DYNAMIC(CNewMenu)
public:
    explicit CNewMenu(HMENU parent = nullptr);
    ~CNewMenu() override;

    // Starts the library (painters, hook) in the window system of the
    // moment; repeat calls re-install the hook. ExitLibrary stops it.
    static void InitLibrary();
    static void ExitLibrary();

    // Construction and loading ----------------------------------------------------------
    BOOL CreatePopupMenu();
    // Deletes the submenus' objects this menu made, every record and the
    // check images (unless shared), then the platform menu.
    virtual BOOL DestroyMenu();
    virtual BOOL LoadMenu(UINT resourceId);
    virtual BOOL LoadMenu(LPCSTR resourceName);
    // Attaches the menu and converts it with every submenu.
    virtual BOOL LoadMenu(HMENU menu);
    // Matches the records to the platform menu position by position.
    void UpdateMenu();
    int GetMenuItemCount() const;

    // Items ---------------------------------------------------------------------------------
    // Appends an item (id 0: a separator); images by the shared sets'
    // index (-1: none), from an image list entry, a bitmap or a resource.
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, int32_t imageIndex = -1);
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, CImageList* list, int index);
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, CBitmap* bitmap);
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap);
    BOOL AppendItem(UINT flags, UINT_PTR id, const char* text, MenuImageResource image);
    BOOL AppendODMenu(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons, int32_t imageIndex);
    // Inserts at a position (-1: the end) with MF_BYPOSITION, else before
    // the item with the command id `position`.
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, int32_t imageIndex = -1);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, CImageList* list, int index);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, CBitmap* bitmap);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, HBITMAP bitmap);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR id, const char* text, MenuImageResource image);
    BOOL InsertODMenu(UINT position, const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                      int32_t imageIndex);
    // Gives every item of the command (here and in submenus) the text (when
    // given) and the image.
    BOOL ModifyODMenu(const char* text, UINT commandId, CNewMenuIcons* icons, int32_t imageIndex);
    BOOL ModifyODMenu(const char* text, UINT commandId, CImageList* list, int index);
    BOOL ModifyODMenu(const char* text, UINT commandId, CBitmap* bitmap);
    BOOL ModifyODMenu(const char* text, UINT commandId, MenuImageResource image);
    // A colour swatch of the icon size: border pen, fill (hatch -1: solid).
    BOOL ModifyODMenu(const char* text, UINT commandId, COLORREF fill, COLORREF border, int hatch = -1);
    // The platform item changes; its record follows it.
    BOOL ModifyODMenu(UINT position, UINT flags, UINT_PTR newId, const char* text);
    BOOL ModifyODMenu(UINT position, UINT flags, UINT_PTR newId, CBitmap* bitmap);
    // The first record with the old text gets the new text and the bitmap
    // resource's image (none for a negative id).
    BOOL ModifyODMenu(const char* newText, const char* oldText, int bitmapId);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    // Removes around the item with the text: mode 0 it, 1 the one before,
    // 2 the one after, 3 after then before. The found index, -1 for none.
    int RemoveMenuByText(const char* text, int mode);
    // A new owned popup appended with the text; null on failure.
    CNewMenu* AppendPopup(const char* text);
    BOOL GetMenuText(UINT position, CString& out, UINT flags = MF_BYPOSITION);
    BOOL SetMenuText(UINT position, const char* text, UINT flags = MF_BYPOSITION);
    BOOL SetItemData(UINT position, uint32_t value, UINT flags = MF_BYPOSITION);
    uint32_t GetItemData(UINT position, UINT flags = MF_BYPOSITION);
    BOOL ChangeCommandId(UINT oldId, UINT newId);

    // Titles ------------------------------------------------------------------------------
    BOOL SetMenuTitle(const char* text, UINT styleBits);
    BOOL SetMenuTitle(const char* text, UINT styleBits, MenuImageResource bitmap);
    BOOL SetMenuTitle(const char* text, UINT styleBits, CBitmap* bitmap);
    BOOL SetMenuTitle(const char* text, UINT styleBits, CImageList* list, int index);
    BOOL RemoveMenuTitle();
    CNewMenuItemDataTitle* GetMenuTitle();
    BOOL SetMenuTitleColors(COLORREF text, COLORREF back, COLORREF fill);

    // Lookups -----------------------------------------------------------------------------
    // The menu (this one or a submenu, depth-first) whose position holds a
    // plain item with the command id, and the position; null and -1 when none.
    CNewMenu* FindMenuItemOwner(UINT commandId, int* position);
    int FindItemByData(const char* text) const;
    int FindItemPosByText(const char* text) const;
    CMenu* FindSubMenuByText(const char* text) const;
    CMenu* GetSubMenuCast(int position) const;
    CNewMenuItemData* FindItemRecord(UINT_PTR id);

    // Images ------------------------------------------------------------------------------
    // Every item of a command on the tool bar gets the tool bar's image;
    // 0 when the tool bar cannot be loaded.
    BOOL LoadToolBar(UINT toolBarId, HMODULE module = nullptr);
    BOOL LoadToolBars(const UINT* ids, int count, HMODULE module = nullptr);
    // A description: bitmap resource id, width, height, ids ending in 0.
    BOOL LoadToolBar(const WORD* description, COLORREF transparent = static_cast<COLORREF>(-1));
    // The tool-bar resource's ids with another bitmap resource.
    BOOL LoadToolBar(UINT toolBarId, UINT bitmapId, COLORREF transparent, HMODULE module = nullptr);
    // A bitmap handle with a zero-terminated id list.
    BOOL LoadToolBar(HBITMAP bitmap, int width, int height, const UINT* ids,
                     COLORREF transparent = static_cast<COLORREF>(-1));
    BOOL SetCheckImages(UINT checkId, UINT selectedCheckId);
    // Renews the shaded and greyed copies of every set, at most once per 2 s.
    static void RefreshMenuCaches();
    // Whether the tool-bar resource has a button for the command.
    static BOOL IsCommandInToolBar(UINT toolBarId, UINT commandId);

    // Owner draw --------------------------------------------------------------------------
    void DrawItem(DRAWITEMSTRUCT* item) override;
    void MeasureItem(MEASUREITEMSTRUCT* item) override;
    virtual void DrawTitle(DRAWITEMSTRUCT* item);
    virtual BOOL EraseBkgnd(HWND window, HDC dc);
    virtual void OnInitMenuPopup();
    virtual BOOL OnUnInitMenuPopup();

    // The routines of the looks (style codes, new_menu_measure.cpp and
    // new_menu_draw*.cpp).
    void MeasureItemClassic(MEASUREITEMSTRUCT* item, BOOL bar);
    void MeasureItemGradient(MEASUREITEMSTRUCT* item, BOOL bar);
    void MeasureItemColumn(MEASUREITEMSTRUCT* item, BOOL bar);
    void DrawItemClassic(DRAWITEMSTRUCT* item, BOOL bar);
    void DrawItemFlatBar(DRAWITEMSTRUCT* item, BOOL bar);
    void DrawItemGradient(DRAWITEMSTRUCT* item, BOOL bar);
    void DrawItemColumn(DRAWITEMSTRUCT* item, BOOL bar);
    void DrawItemShaded(DRAWITEMSTRUCT* item, BOOL bar);
    void DrawItemTitle(DRAWITEMSTRUCT* item);
    // One "Marlett" glyph in the rectangle deflated by 2.
    static void DrawGlyph(HDC dc, RECT rect, char glyph, BOOL bold, COLORREF color);

    // Options -----------------------------------------------------------------------------
    // The look of that code (under Wine the odd code after an even one);
    // the previous code, -1 (nothing changed) without a painter.
    static int SetMenuDrawMode(int styleCode);
    static int GetMenuDrawMode();
    static void SetMenuTitleFont(const LOGFONTA& font);
    static void SetMenuTitleFont(CFont* font);
    static void GetMenuTitleFont(LOGFONTA* font);
    static BOOL SetFadedIcons(BOOL on);
    static BOOL GetFadedIcons();
    static BOOL SetDrawAllPopupMenus(BOOL on);
    static BOOL GetDrawAllPopupMenus();
    static BOOL SetSelectDisabledItems(BOOL on);
    static BOOL GetSelectDisabledItems();
    static int SetIconShadeAmount(int amount);
    static int GetIconShadeAmount();
    static BOOL SetShowAccelerators(BOOL on);
    static BOOL GetShowAccelerators();

    void SetIconSize(int cx, int cy);
    SIZE GetIconSize() const { return SIZE{m_iconWidth, m_iconHeight}; }
    HACCEL SetAccelerator(HACCEL table);
    HACCEL GetAccelerator() const { return m_accelerators; }
    void SetUserValue(uint32_t value) { m_userValue = value; }
    uint32_t GetUserValue() const { return m_userValue; }
    COLORREF SetBitmapBackground(COLORREF colour);
    COLORREF GetBitmapBackground() const;
    HMENU GetParentMenu() const { return m_parent; }
    void SetParentMenu(HMENU parent) { m_parent = parent; }
    BOOL IsPopup() const { return m_popup; }
    BOOL SetPopup(BOOL popup);
    void GetMenuBorderRect(RECT* rect) const { *rect = m_borderRect; }
    void SetMenuBorderRect(const RECT& rect) { m_borderRect = rect; }
    HWND GetOwnerWindow() const { return m_owner; }
    void SetOwnerWindow(HWND owner) { m_owner = owner; }
    int OpenPopupCount() const { return m_openPopups; }
    void ChangeOpenPopups(int delta) { m_openPopups += delta; }
    void SetOpenPopups(int count) { m_openPopups = count; }
    BOOL SetIconResources(BOOL on);
    HIMAGELIST CheckImages() const { return m_checkImages; }
    int CheckImageId() const { return m_checkImageId; }
    int SelectedCheckImageId() const { return m_selectedCheckImageId; }

    const std::vector<std::unique_ptr<CNewMenuItemData>>& ItemRecords() const { return m_records; }
    const std::vector<HMENU>& SubmenuHandles() const { return m_submenus; }
    int32_t IconWidth() const { return m_iconWidth; }
    int32_t IconHeight() const { return m_iconHeight; }
    // Whether the record belongs to this menu (not a submenu).
    bool HoldsRecord(const CNewMenuItemData* record) const;

    // The popup at screen point (x, y), owned by owner.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

    static UINT WM_GETMENU();

    // Popup-menu windows ("#32768") showing a CNewMenu get the painter's
    // window procedure; TRUE when this call subclassed the window.
    static BOOL SubclassMenuWindow(HWND window, BOOL onReuse);
    static void UnsubclassMenuWindow(HWND window);

    // Gives a record the item's current state and makes the item owner-drawn
    // with it; with a changed text modifies the item twice.
    BOOL ApplyRecord(UINT position, CNewMenuItemData& record, bool textChanged);

private:
    friend class CNewMenuImages;
    std::unique_ptr<CNewMenuItemData> MakeRecord(const char* text, UINT flags, UINT_PTR id, CNewMenuIcons* icons,
                                                 int32_t imageIndex);
    void RaiseIconSize(CNewMenuIcons* icons);
    // Removes a position's record (and the submenu's handle), exactly that one.
    void ForgetPosition(UINT position, bool deleteSubmenu);
    BOOL SetTitleImage(const char* text, UINT styleBits, CNewMenuIcons* icons, int index);
    BOOL ApplyToolBarIcons(CNewMenuIcons* icons);
    // The set and index for a resource id: the tool bar holding the command,
    // else a bitmap resource.
    CNewMenuIcons* IconsForResource(UINT resourceId, UINT commandId, int* index);
    BOOL AddCheckImage(HIMAGELIST list, UINT resourceId);
    void DrawCheckMark(HDC dc, const DRAWITEMSTRUCT* item, RECT frameBox, RECT glyphBox, BOOL columnFamily,
                       COLORREF fill, COLORREF pen);

    std::vector<std::unique_ptr<CNewMenuItemData>> m_records;
    std::vector<HMENU> m_submenus;
    int32_t m_iconWidth = 16;
    int32_t m_iconHeight = 15;
    HWND m_owner = nullptr;
    COLORREF m_bitmapBackground = kDefaultColor;
    HIMAGELIST m_checkImages = nullptr;
    BOOL m_checkImagesShared = FALSE;
    int m_selectedCheckImageId = -1;
    int m_checkImageId = -1;
    BOOL m_iconResources = FALSE;
    HMENU m_parent = nullptr;
    BOOL m_popup = TRUE;
    RECT m_borderRect{};
    int m_openPopups = 0;
    uint32_t m_userValue = 0;
    HACCEL m_accelerators = reinterpret_cast<HACCEL>(static_cast<intptr_t>(-1));
};

// Window-message services for frames, dialogs and the menu bar -------------------------

// WM_DRAWITEM (its DRAWITEMSTRUCT) of an item of a CNewMenu: the menu
// draws it; TRUE when it was such an item.
BOOL DrawNewMenuItem(DRAWITEMSTRUCT* item);
// WM_MEASUREITEM of a menu item: the menu that owns it measures; TRUE when
// one did.
BOOL OnGetMenuMessage(const MSG* msg);
// The same for a window procedure's WM_MEASUREITEM arguments.
BOOL MeasureNewMenuItem(HWND window, WPARAM wParam, LPARAM lParam);
// The CNewMenu (the menu or a submenu) holding a plain item with the id.
CNewMenu* GetCNewMenuFromHandle(HMENU menu, UINT id);
// WM_MENUCHAR of a CNewMenu: MAKELRESULT(position, MNC_EXECUTE) of the
// first item whose text has "&" and the character; 0 when none.
LRESULT HookMenuPopup(UINT character, UINT flags, CMenu* menu);
// WM_INITMENUPOPUP: the popup becomes the pending menu of the next popup
// window and a CNewMenu initialises itself.
void OnMenuInitPopup(HWND window, CMenu* popup, UINT index, BOOL sysMenu);

// The caption of the item at `position` of any menu: an owner-drawn item
// of a CNewMenu gives its record's text, a plain item its string.
std::string GetMenuItemCaption(HMENU menu, UINT position);
// Changes only that caption (the item keeps its id, state and submenu);
// FALSE when there is no such item.
BOOL SetMenuItemCaption(HMENU menu, UINT position, const char* text);
// Appends a command item with that text, owner-drawn in a CNewMenu, plain
// in any other menu.
BOOL AppendMenuCommand(HMENU menu, UINT id, const char* text);
