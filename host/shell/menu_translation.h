// Translation of the program's standard menus from the language table: the
// popups "&File", "&Edit", "&View", "&Tools", "&Window" and "&Help", found by
// their English captions, get their items' MENUITEM texts (by command id)
// and their own MENU texts as captions. Missing popups, ids and texts are
// left as they are. Add-in menus are not translated here: add-ins give texts
// from their own tables.
#pragma once

#include "platform/base/types.h"

class CLanguageTable;

// The MENU text id of the "&Toolbars" submenu's caption (position 0 of the
// "&View" popup), which add-ins' toolbars later find by that caption.
inline constexpr LONG kToolbarsMenuText = 21;

void ApplyMenuLanguage(CLanguageTable& texts, HMENU menu);
