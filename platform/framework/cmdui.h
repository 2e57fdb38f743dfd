// CCmdUI: one user-interface item (a menu item, a tool-bar button, a
// status-bar pane) being brought up to date with the state of its command.
// DoUpdate asks the command targets; their update handlers call Enable,
// SetCheck, SetRadio and SetText, which the item's own form of CCmdUI
// applies to the item.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

class CCmdTarget;
class CMenu;
class CWnd;

class NUVEX_PLATFORM_API CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    // The base forms record that the state was set; item forms override them
    // to change the item and call the base.
    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1);
    // A dot instead of a check mark; the base form sets the check.
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(const char* text);
    // Called by an update handler that wants the next command target asked
    // as well: the handler's target then answers "not handled".
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks `target` for the item's state. When no update handler answers and
    // `disableIfNoHandler` is set, the item is enabled exactly when some
    // target has a command handler for the id, unless a handler enabled or
    // disabled it already. Items with id 0 (separators) are left alone.
    // Returns TRUE when an update handler answered.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;     // the item's index in its menu or bar
    UINT m_nIndexMax = 0;  // the number of items there
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};
