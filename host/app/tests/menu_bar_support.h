// The menu bar's buttons as the desktop tests click them.
#pragma once

#include <memory>

#include "host/menulook/new_menu_bar.h"

// The screen rectangle of the menu bar's button for the main menu's item at
// `position`; empty when the bar shows no such button.
inline RECT MenuBarButton(CNewMenuBar& bar, int position)
{
    for (const std::unique_ptr<CMenuBarItem>& item : bar.Items()) {
        const auto* button = dynamic_cast<const CMenuBarButton*>(item.get());
        if (button != nullptr && button->m_position == position) {
            CRect rect;
            button->GetRect(rect, bar.IsVerticalBar());
            bar.ClientToScreen(&rect);
            return rect;
        }
    }
    return RECT{};
}
