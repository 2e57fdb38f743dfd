// Menu translation: each standard popup's items by command, then the
// popup's caption by position.
#include "host/shell/menu_translation.h"

#include <string>
#include <vector>

#include "host/menulook/new_menu.h"
#include "host/shell/language_table.h"
#include "platform/user/menu.h"

namespace {

struct StandardPopup {
    const char* caption;
    LONG menuId;
    std::vector<UINT> itemIds;
    // The item at position 0 is the "&Toolbars" submenu, captioned by MENU
    // text 21.
    bool toolbarsSubmenu = false;
};

const std::vector<StandardPopup>& StandardPopups()
{
    static const std::vector<StandardPopup> popups = {
        {"&File", 0, {57600, 57601, 57602, 57603, 57604, 57607, 57609, 57606, 57612, 57616, 57617, 57618, 57619, 57620,
                      57665}},
        {"&Edit", 1, {57643, 57644, 57634, 57635, 57637}},
        {"&View", 2, {59393, 32774}, true},
        {"&Tools", 3, {32771}},
        {"&Window", 4, {57648, 57650, 57651, 61215}},
        {"&Help", 5, {57667, 57664}},
    };
    return popups;
}

// Owner-drawn items (the menu look's) and plain ones alike.
std::string ItemText(HMENU menu, UINT position) { return GetMenuItemCaption(menu, position); }

// The position of the popup whose caption is `caption`, or -1.
int FindPopup(HMENU menu, const char* caption)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (::GetSubMenu(menu, i) != nullptr && ItemText(menu, static_cast<UINT>(i)) == caption) {
            return i;
        }
    }
    return -1;
}

// Only the text changes: the item keeps its id, state and submenu.
void SetItemText(HMENU menu, UINT item, BOOL byPosition, const char* text)
{
    if (byPosition) {
        SetMenuItemCaption(menu, item, text);
        return;
    }
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize32;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<LPSTR>(text);
    ::SetMenuItemInfoA(menu, item, byPosition, &info);
}

// The position of the popup's own item (not one of its submenus') with
// that id, or -1.
int FindItem(HMENU popup, UINT id)
{
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (::GetSubMenu(popup, i) == nullptr && ::GetMenuItemID(popup, i) == id) {
            return i;
        }
    }
    return -1;
}

} // namespace

void ApplyMenuLanguage(CLanguageTable& texts, HMENU menu)
{
    if (menu == nullptr) {
        return;
    }
    for (const StandardPopup& standard : StandardPopups()) {
        const int position = FindPopup(menu, standard.caption);
        if (position < 0) {
            continue;
        }
        HMENU popup = ::GetSubMenu(menu, position);
        if (standard.toolbarsSubmenu && ::GetSubMenu(popup, 0) != nullptr) {
            const std::string caption = texts.GetMenuText(kToolbarsMenuText, "");
            if (!caption.empty()) {
                SetItemText(popup, 0, TRUE, caption.c_str());
            }
        }
        for (UINT id : standard.itemIds) {
            const int item = FindItem(popup, id);
            if (item < 0) {
                continue;
            }
            const std::string text = texts.GetMenuItemText(static_cast<LONG>(id), "");
            if (!text.empty()) {
                SetItemText(popup, static_cast<UINT>(item), TRUE, text.c_str());
            }
        }
        const std::string caption = texts.GetMenuText(standard.menuId, "");
        if (!caption.empty()) {
            SetItemText(menu, static_cast<UINT>(position), TRUE, caption.c_str());
        }
    }
}
