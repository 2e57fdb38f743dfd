// CPostprocessorSettingsCommand: runs the machine settings dialog.
#include "addins/milling/core/machine_settings_command.h"

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/machine_settings_dialog.h"
#include "addins/milling/core/milling_addin.h"
#include "ihost.h"

CPostprocessorSettingsCommand::CPostprocessorSettingsCommand() = default;
CPostprocessorSettingsCommand::~CPostprocessorSettingsCommand() = default;

HRESULT CPostprocessorSettingsCommand::Create(IHostDocument* document, LONG, LONG_PTR)
{
    m_document = document;
    if (document == nullptr)
        return S_OK;
    m_addin = AddinWithLanguage(document, m_language);
    return S_OK;
}

HRESULT CPostprocessorSettingsCommand::OnEvent(LONG event, void*, LONG, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    if (event != kEventStart)
        return S_OK;
    if (HWND window = FirstViewWindow(m_document)) {
        const std::string path = MachineStorePath(StrimoProgramFolder());
        CPostprocessorList store;
        store.Load(path.c_str());
        long current = store.GetCurrent();
        m_dialog.reset();
        m_dialog = std::make_unique<CPostprocessorSettingsDlg>(&current, m_addin, path, CWnd::FromHandle(window));
        m_dialog->DoModal();
    }
    *result = kResultSkipParent | kResultCommit;
    return S_OK;
}
