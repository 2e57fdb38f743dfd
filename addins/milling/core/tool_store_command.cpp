// CToolStoreCommand: runs the tool store dialog.
#include "addins/milling/core/tool_store_command.h"

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/tool_store_dialog.h"
#include "ihost.h"

HRESULT CToolStoreCommand::Create(IHostDocument* document, LONG, LONG_PTR)
{
    m_document = document;
    if (document == nullptr)
        return S_OK;
    m_addin = AddinWithLanguage(document, m_language);
    return S_OK;
}

HRESULT CToolStoreCommand::OnEvent(LONG event, void*, LONG, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    if (event != kEventStart)
        return S_OK;
    if (HWND window = FirstViewWindow(m_document)) {
        CToolStoreDialog dialog(m_addin, ToolStorePath(StrimoProgramFolder()), CWnd::FromHandle(window));
        dialog.DoModal();
    }
    *result = kResultSkipParent | kResultCommit;
    return S_OK;
}
