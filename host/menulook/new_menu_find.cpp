// Titles of an owner-drawn menu, its lookups by command and text, and its
// fields.
#include <algorithm>

#include "host/menulook/new_menu_images.h"
#include "host/menulook/new_menu_records.h"
#include "platform/framework/wnd.h"

using namespace menu_records;

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
    const MenuImage image = CNewMenuImages::FromBitmap(*this, bitmap);
    CNewMenuIcons::Ref hold(image.icons);
    return SetTitleImage(text, styleBits, image.icons, image.index);
}

BOOL CNewMenu::SetMenuTitle(const char* text, UINT styleBits, CImageList* list, int index)
{
    const MenuImage image = CNewMenuImages::FromList(*this, list, index);
    CNewMenuIcons::Ref hold(image.icons);
    return SetTitleImage(text, styleBits, image.icons, image.index);
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

// Captions of any menu ------------------------------------------------------------------------------------

namespace {

CNewMenu* NewMenuOf(HMENU menu) { return dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu)); }

bool IsOwnerDrawn(HMENU menu, UINT position)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_TYPE;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) != FALSE && (info.fType & MFT_OWNERDRAW) != 0;
}

} // namespace

std::string GetMenuItemCaption(HMENU menu, UINT position)
{
    if (CNewMenu* owner = NewMenuOf(menu); owner != nullptr && IsOwnerDrawn(menu, position)) {
        CString text;
        if (owner->GetMenuText(position, text, MF_BYPOSITION)) {
            return text.GetString();
        }
    }
    char text[512] = {};
    ::GetMenuStringA(menu, position, text, static_cast<int>(sizeof text), MF_BYPOSITION);
    return text;
}

BOOL SetMenuItemCaption(HMENU menu, UINT position, const char* text)
{
    if (CNewMenu* owner = NewMenuOf(menu); owner != nullptr && IsOwnerDrawn(menu, position)) {
        return owner->SetMenuText(position, text, MF_BYPOSITION);
    }
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<LPSTR>(text);
    return ::SetMenuItemInfoA(menu, position, TRUE, &info);
}

BOOL AppendMenuCommand(HMENU menu, UINT id, const char* text)
{
    if (CNewMenu* owner = NewMenuOf(menu)) {
        return owner->AppendItem(MF_STRING, id, text);
    }
    return ::AppendMenuA(menu, MF_STRING, id, text);
}
