// CMenu: menus made, loaded from resources and changed through their
// wrapper objects.
#include "platform/framework/menu.h"

#include "platform/framework/wnd.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::CreateMenu() { return m_hMenu == nullptr ? Attach(::CreateMenu()) : FALSE; }
BOOL CMenu::CreatePopupMenu() { return m_hMenu == nullptr ? Attach(::CreatePopupMenu()) : FALSE; }

namespace {

// Appends the items of a menu template to `menu`, popups with their own
// new menus. False when a menu cannot be made.
bool AppendTemplateItems(HMENU menu, const std::vector<MenuTemplateItem>& items)
{
    for (const MenuTemplateItem& item : items) {
        const UINT flags = item.flags;
        if ((flags & kMenuPopup) != 0) {
            HMENU popup = ::CreatePopupMenu();
            if (popup == nullptr || !AppendTemplateItems(popup, item.children)) {
                if (popup != nullptr) {
                    ::DestroyMenu(popup);
                }
                return false;
            }
            ::AppendMenuA(menu, flags & ~static_cast<UINT>(kMenuHelp), reinterpret_cast<UINT_PTR>(popup),
                          item.text.c_str());
        } else if ((flags & kMenuSeparator) != 0) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(menu, flags, item.id, item.text.c_str());
        }
    }
    return true;
}

BOOL BuildMenu(CMenu& target, const MenuTemplate& decoded)
{
    HMENU menu = ::CreateMenu();
    if (menu == nullptr) {
        return FALSE;
    }
    if (!AppendTemplateItems(menu, decoded.items) || !target.Attach(menu)) {
        ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

} // namespace

BOOL CMenu::LoadMenu(UINT id)
{
    if (m_hMenu != nullptr) {
        return FALSE;
    }
    auto bytes = FindResourceBytes(nullptr, kResourceMenu, static_cast<WORD>(id));
    if (!bytes) {
        return FALSE;
    }
    auto decoded = DecodeMenuTemplate(*bytes);
    return decoded ? BuildMenu(*this, *decoded) : FALSE;
}

BOOL CMenu::LoadMenuIndirect(const void* menuTemplate)
{
    if (m_hMenu != nullptr || menuTemplate == nullptr) {
        return FALSE;
    }
    return BuildMenu(*this, *static_cast<const MenuTemplate*>(menuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) { return ::AppendMenuA(m_hMenu, flags, id, text); }
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    return ::InsertMenuA(m_hMenu, position, flags, id, text);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    return ::ModifyMenuA(m_hMenu, position, flags, id, text);
}
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
BOOL CMenu::InsertMenuItem(UINT item, MENUITEMINFOA* info, BOOL byPosition)
{
    return ::InsertMenuItemA(m_hMenu, item, byPosition, info);
}
BOOL CMenu::GetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPosition) const
{
    return ::GetMenuItemInfoA(m_hMenu, item, byPosition, info);
}
BOOL CMenu::SetMenuItemInfo(UINT item, MENUITEMINFOA* info, BOOL byPosition)
{
    return ::SetMenuItemInfoA(m_hMenu, item, byPosition, info);
}
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
int CMenu::GetMenuString(UINT item, LPSTR buffer, int size, UINT flags) const
{
    return ::GetMenuStringA(m_hMenu, item, buffer, size, flags);
}
int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    const int length = ::GetMenuStringA(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    char* buffer = text.GetBufferSetLength(length);
    ::GetMenuStringA(m_hMenu, item, buffer, length + 1, flags);
    text.ReleaseBuffer();
    return text.GetLength();
}
CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
UINT CMenu::CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
UINT CMenu::EnableMenuItem(UINT item, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable)); }
BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
{
    return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}
UINT CMenu::GetDefaultItem(UINT flags, BOOL byPosition) const { return ::GetMenuDefaultItem(m_hMenu, byPosition, flags); }
BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
namespace {

// The popup menu a window is tracking through its CMenu, so that the
// window's default owner-draw handling finds the menu of an item.
struct TrackingRecord {
    HWND owner = nullptr;
    HMENU menu = nullptr;
};

TrackingRecord& Tracking()
{
    static TrackingRecord record;
    return record;
}

} // namespace

HMENU CMenu::GetTrackingMenu(HWND owner)
{
    const TrackingRecord& record = Tracking();
    return record.owner == owner ? record.menu : nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    const HWND window = owner != nullptr ? owner->m_hWnd : nullptr;
    const TrackingRecord saved = Tracking();
    Tracking() = TrackingRecord{window, m_hMenu};
    const BOOL result = ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window, rect);
    Tracking() = saved;
    return result;
}
BOOL CMenu::GetMenuInfo(MENUINFO* info) const { return ::GetMenuInfo(m_hMenu, info); }
BOOL CMenu::SetMenuInfo(const MENUINFO* info) { return ::SetMenuInfo(m_hMenu, info); }
void CMenu::DrawItem(DRAWITEMSTRUCT*) {}
void CMenu::MeasureItem(MEASUREITEMSTRUCT*) {}
