// The library's options, the choice of look, and the window messages that
// owner-drawn menus need: measuring and drawing through the current
// painter, mnemonics (WM_MENUCHAR) and popup initialisation.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/menu_painter.h"
#include "host/menulook/new_menu.h"

namespace {

struct MenuOptions {
    LOGFONTA titleFont = [] {
        LOGFONTA font{};
        font.lfHeight = 16;
        font.lfWeight = FW_BOLD;
        font.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(font.lfFaceName, "Arial", LF_FACESIZE - 1);
        return font;
    }();
    BOOL fadedIcons = TRUE;
    BOOL drawAllPopups = TRUE;
    BOOL selectDisabled = TRUE;
    int shadeAmount = 50;
    BOOL showAccelerators = TRUE;
};

MenuOptions& Options()
{
    static MenuOptions options;
    return options;
}

template <typename T>
T Exchange(T& field, T value)
{
    T old = field;
    field = value;
    return old;
}

// Whether the menu (depth-first through its submenus) has a position with
// the id and the item data.
bool OwnsItem(HMENU menu, UINT id, ULONG_PTR data, int depth = 0)
{
    if (menu == nullptr || depth > 32) {
        return false;
    }
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = kMenuItemInfoSize32;
        info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        if (::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) == FALSE) {
            continue;
        }
        if (info.wID == id && info.dwItemData == data) {
            return true;
        }
        if (info.hSubMenu != nullptr && OwnsItem(info.hSubMenu, id, data, depth + 1)) {
            return true;
        }
    }
    return false;
}

// The CNewMenu of `root` (itself or a submenu) whose own records hold the item.
CNewMenu* RecordOwner(HMENU root, ULONG_PTR data, int depth = 0)
{
    auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(root));
    if (menu == nullptr || depth > 32) {
        return nullptr;
    }
    if (menu->HoldsRecord(reinterpret_cast<const CNewMenuItemData*>(data))) {
        return menu;
    }
    const int count = ::GetMenuItemCount(root);
    for (int i = 0; i < count; ++i) {
        if (CNewMenu* found = RecordOwner(::GetSubMenu(root, i), data, depth + 1)) {
            return found;
        }
    }
    return nullptr;
}

CNewMenu* AsNewMenu(HMENU menu) { return dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu)); }

} // namespace

// Options ------------------------------------------------------------------------------------------

int CNewMenu::SetMenuDrawMode(int styleCode)
{
    if (!MenuLibrary().started) {
        InitLibrary();
    }
    if (MenuLibrary().wine && styleCode % 2 == 0) {
        ++styleCode;
    }
    CMenuLookPainter* painter = CMenuLookPainter::FindByStyle(styleCode);
    if (painter == nullptr) {
        return -1;
    }
    const int previous = GetMenuDrawMode();
    MenuLibrary().currentPainter = painter;
    return previous;
}

int CNewMenu::GetMenuDrawMode()
{
    const CMenuLookPainter* painter = MenuLibrary().currentPainter;
    return painter != nullptr ? painter->StyleCode() : 2;
}

void CNewMenu::SetMenuTitleFont(const LOGFONTA& font) { Options().titleFont = font; }

void CNewMenu::SetMenuTitleFont(CFont* font)
{
    LOGFONTA record{};
    if (font != nullptr && font->GetSafeHandle() != nullptr &&
        GetObjectA(font->GetSafeHandle(), sizeof record, &record) != 0) {
        Options().titleFont = record;
    }
}

void CNewMenu::GetMenuTitleFont(LOGFONTA* font) { *font = Options().titleFont; }
BOOL CNewMenu::SetFadedIcons(BOOL on) { return Exchange(Options().fadedIcons, on); }
BOOL CNewMenu::GetFadedIcons() { return Options().fadedIcons; }
BOOL CNewMenu::SetDrawAllPopupMenus(BOOL on) { return Exchange(Options().drawAllPopups, on); }
BOOL CNewMenu::GetDrawAllPopupMenus() { return Options().drawAllPopups; }
BOOL CNewMenu::SetSelectDisabledItems(BOOL on) { return Exchange(Options().selectDisabled, on); }
BOOL CNewMenu::GetSelectDisabledItems() { return Options().selectDisabled; }
int CNewMenu::SetIconShadeAmount(int amount) { return Exchange(Options().shadeAmount, std::clamp(amount, 0, 255)); }
int CNewMenu::GetIconShadeAmount() { return Options().shadeAmount; }
BOOL CNewMenu::SetShowAccelerators(BOOL on) { return Exchange(Options().showAccelerators, on); }
BOOL CNewMenu::GetShowAccelerators() { return Options().showAccelerators; }

// Measuring and drawing -------------------------------------------------------------------------------

void CNewMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    if (item == nullptr) {
        return;
    }
    const auto* record = reinterpret_cast<const CNewMenuItemData*>(item->itemData);
    if (!HoldsRecord(record)) {
        // The item is a submenu's or the parent's: that menu measures it
        // with its own icon size.
        if (CNewMenu* owner = RecordOwner(m_hMenu, item->itemData); owner != nullptr && owner != this) {
            owner->MeasureItem(item);
            return;
        }
        if (CNewMenu* parent = AsNewMenu(m_parent); parent != nullptr && parent->HoldsRecord(record)) {
            parent->MeasureItem(item);
            return;
        }
        if (record == nullptr) {
            return;
        }
    }
    const BOOL bar = m_parent == nullptr && !m_popup;
    CMenuLookPainter* painter = MenuLibrary().currentPainter;
    if (painter != nullptr) {
        (this->*painter->Measure())(item, bar);
    }
}

void CNewMenu::DrawItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->itemData == 0) {
        return;
    }
    const BOOL bar = m_parent == nullptr && !m_popup;
    MenuLibraryState& state = MenuLibrary();
    if (bar && state.lastRedrawnBarItem == item->itemData && (item->itemState & ODS_HOTLIGHT) == 0) {
        state.lastRedrawnBarItem = 0;
    }
    if (!HoldsRecord(reinterpret_cast<const CNewMenuItemData*>(item->itemData))) {
        if (CNewMenu* owner = RecordOwner(m_hMenu, item->itemData); owner != nullptr && owner != this) {
            owner->DrawItem(item);
            return;
        }
    }
    CMenuLookPainter* painter = state.currentPainter;
    if (painter != nullptr) {
        (this->*painter->Draw())(item, bar);
    }
}

void CNewMenu::DrawTitle(DRAWITEMSTRUCT* item)
{
    CMenuLookPainter* painter = MenuLibrary().currentPainter;
    if (painter != nullptr && item != nullptr) {
        (this->*painter->Common())(item);
    }
}

BOOL CNewMenu::EraseBkgnd(HWND window, HDC dc)
{
    RECT client{};
    GetClientRect(window, &client);
    FillSolidRect(dc, &client, GetMenuBkColor(nullptr));
    return TRUE;
}

// Popup initialisation ------------------------------------------------------------------------------------

namespace {

struct SystemIdSwap {
    UINT normal;
    UINT open;
};
constexpr SystemIdSwap kSystemIdSwaps[] = {{SC_RESTORE, SC_RESTORE + 1}, {SC_CLOSE, SC_CLOSE + 1},
                                           {SC_MINIMIZE, SC_MINIMIZE + 1}};

void RepaintBorder(CNewMenu& parent)
{
    RECT border{};
    parent.GetMenuBorderRect(&border);
    if (IsRectEmpty(&border) != FALSE) {
        return;
    }
    HWND window = parent.GetOwnerWindow();
    if (window == nullptr) {
        return;
    }
    border.right += 10;
    border.bottom += 10;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&border), 2);
    RedrawWindow(window, &border, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

} // namespace

void CNewMenu::OnInitMenuPopup()
{
    m_popup = TRUE;
    UpdateMenu();
    if (MenuLibrary().osStyle == kOsStyleXp) {
        for (const SystemIdSwap& swap : kSystemIdSwaps) {
            if (CNewMenuItemData* record = FindItemRecord(swap.normal)) {
                int at = -1;
                if (FindMenuItemOwner(swap.normal, &at) == this) {
                    record->commandId = swap.open;
                    ApplyRecord(static_cast<UINT>(at), *record, false);
                }
            }
        }
    }
}

BOOL CNewMenu::OnUnInitMenuPopup()
{
    bool closeBack = false;
    if (MenuLibrary().osStyle == kOsStyleXp) {
        for (const SystemIdSwap& swap : kSystemIdSwaps) {
            int at = -1;
            if (FindMenuItemOwner(swap.open, &at) == this && static_cast<size_t>(at) < m_records.size()) {
                CNewMenuItemData& record = *m_records[static_cast<size_t>(at)];
                record.commandId = swap.normal;
                ApplyRecord(static_cast<UINT>(at), record, false);
                closeBack = closeBack || swap.normal == SC_CLOSE;
            }
        }
    }
    if (closeBack && m_owner != nullptr && IsWindow(m_owner) != FALSE) {
        SetWindowPos(m_owner, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    CNewMenu* parent = AsNewMenu(m_parent);
    if (parent == nullptr) {
        return FALSE;
    }
    parent->m_openPopups = std::max(0, parent->m_openPopups - 1);
    if (!parent->m_popup) {
        parent->m_openPopups = 0;
        RepaintBorder(*parent);
        return TRUE;
    }
    return FALSE;
}

void OnMenuInitPopup(HWND window, CMenu* popup, UINT, BOOL)
{
    if (popup == nullptr) {
        return;
    }
    MenuLibrary().pendingMenu = popup->GetSafeHmenu();
    auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(popup->GetSafeHmenu()));
    if (menu == nullptr) {
        return;
    }
    menu->SetOwnerWindow(window);
    menu->OnInitMenuPopup();
    CNewMenu* parent = AsNewMenu(menu->GetParentMenu());
    if (parent == nullptr) {
        return;
    }
    parent->ChangeOpenPopups(1);
    if (parent->OpenPopupCount() == 1 && !parent->IsPopup()) {
        if (parent->GetOwnerWindow() == nullptr) {
            parent->SetOwnerWindow(window);
        }
        RepaintBorder(*parent);
    }
}

// Finding an item's menu ------------------------------------------------------------------------------------

CNewMenu* GetCNewMenuFromHandle(HMENU menu, UINT id)
{
    auto* root = AsNewMenu(menu);
    if (root == nullptr) {
        return nullptr;
    }
    int at = -1;
    return root->FindMenuItemOwner(id, &at);
}

BOOL DrawNewMenuItem(DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->CtlType != ODT_MENU) {
        return FALSE;
    }
    CNewMenu* menu = AsNewMenu(reinterpret_cast<HMENU>(item->hwndItem));
    if (menu == nullptr) {
        return FALSE;
    }
    menu->DrawItem(item);
    return TRUE;
}

BOOL OnGetMenuMessage(const MSG* msg)
{
    if (msg == nullptr || msg->message != WM_MEASUREITEM || msg->lParam == 0) {
        return FALSE;
    }
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(msg->lParam);
    if (item->CtlType != ODT_MENU) {
        return FALSE;
    }
    if (CNewMenu* itself = AsNewMenu(reinterpret_cast<HMENU>(static_cast<uintptr_t>(item->itemID)));
        itself != nullptr && IsMenu(itself->GetSafeHmenu()) != FALSE) {
        itself->MeasureItem(item);
        return TRUE;
    }
    const HWND window = msg->hwnd;
    const UINT getMenu = CNewMenu::WM_GETMENU();
    const HMENU candidates[] = {
        CMenu::GetTrackingMenu(window),
        window != nullptr ? GetMenu(window) : nullptr,
        window != nullptr ? GetSystemMenu(window, FALSE) : nullptr,
        window != nullptr && getMenu != 0 ? reinterpret_cast<HMENU>(SendMessageA(window, getMenu, 0, 0)) : nullptr,
    };
    for (HMENU candidate : candidates) {
        if (candidate == nullptr || !OwnsItem(candidate, item->itemID, item->itemData)) {
            continue;
        }
        if (CNewMenu* owner = RecordOwner(candidate, item->itemData)) {
            owner->MeasureItem(item);
            return TRUE;
        }
    }
    // A popup the library subclassed, not reached from any of these.
    if (CNewMenu* pending = AsNewMenu(MenuLibrary().pendingMenu)) {
        if (CNewMenu* owner = RecordOwner(pending->GetSafeHmenu(), item->itemData)) {
            owner->MeasureItem(item);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL MeasureNewMenuItem(HWND window, WPARAM wParam, LPARAM lParam)
{
    const MSG msg{window, WM_MEASUREITEM, wParam, lParam, 0, {}};
    return OnGetMenuMessage(&msg);
}

LRESULT HookMenuPopup(UINT character, UINT, CMenu* menu)
{
    auto* newMenu = menu != nullptr ? dynamic_cast<CNewMenu*>(menu) : nullptr;
    if (newMenu == nullptr) {
        newMenu = menu != nullptr ? AsNewMenu(menu->GetSafeHmenu()) : nullptr;
    }
    if (newMenu == nullptr) {
        return 0;
    }
    std::string key = "&";
    key += static_cast<char>(std::tolower(static_cast<int>(character & 0xFF)));
    if (static_cast<size_t>(newMenu->GetMenuItemCount()) != newMenu->ItemRecords().size()) {
        newMenu->UpdateMenu();
    }
    const auto& records = newMenu->ItemRecords();
    const HACCEL table = CNewMenu::GetShowAccelerators() ? newMenu->GetAccelerator() : nullptr;
    for (size_t i = 0; i < records.size(); ++i) {
        std::string text = records[i]->GetString(table);
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        if (text.find(key) != std::string::npos) {
            return static_cast<LRESULT>(MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE));
        }
    }
    return 0;
}
