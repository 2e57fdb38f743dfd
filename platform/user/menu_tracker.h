// The state shared by the popup menu windows and their modal loop: the open
// levels of the menu being tracked, and the item tests and layout both use.
#pragma once

#include <vector>

#include "platform/user/menu_model.h"

namespace nuvex::user {

struct PopupLevel {
    HMENU menu = nullptr;
    HWND window = nullptr;
    int selected = -1;
    std::vector<RECT> items; // client coordinates
};

struct MenuTracker {
    HWND owner = nullptr;
    UINT flags = 0;
    bool fromBar = false;  // opened from a frame's menu bar
    int barStep = 0;       // -1 / +1: the bar's neighbouring item is wanted
    std::vector<PopupLevel> levels;
    bool done = false;
    bool chose = false;
    UINT chosen = 0;
};

// The loop being run, null outside TrackPopupMenu; the popup windows paint
// the levels it holds.
extern MenuTracker* g_tracker;

bool Selectable(const MenuItem& it);
bool Choosable(const MenuItem& it);
// Item rectangles of a popup, client coordinates; returns the client size.
SIZE LayoutPopup(HWND owner, const MenuData& menu, std::vector<RECT>* rects);

} // namespace nuvex::user
