// CCmdUI: bringing one item up to date through the command targets.
#include "platform/framework/cmdui.h"

#include "platform/framework/cmdtarget.h"

void CCmdUI::Enable(BOOL) { m_bEnableChanged = TRUE; }

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(const char*) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (target == nullptr || m_nID == 0) {
        return TRUE;
    }
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{};
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
