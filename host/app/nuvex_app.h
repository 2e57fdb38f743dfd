// CNuvexApp: the program's application object. It owns for the whole run
// what the add-in host keeps (the add-in records, the command table, the
// language table, the system variables, the host class factory and the
// host application object; see CAddinHost) and the drawing template with
// its OLE server registration. This file holds the start-up in its fixed
// order, idle processing, the closing check and the shut-down.
#pragma once

#include <memory>
#include <vector>

#include "host/shell/addin_host.h"
#include "platform/framework/app.h"
#include "platform/framework/ole.h"

class CDrawingTemplate;
class CProgramSavePrompts;
class CFrameworkCloseFlow;
struct IControlPanel;

// The steps of start-up, in their order, as a test or a benchmark sees them.
enum class StartupStep {
    ProgramFolder,
    LanguageLoaded,
    OleReady,
    ProfileLoaded,
    TemplateAdded,
    ServerConnected,
    MainFrameCreated,
    AddinsLoaded,
    VariablesRegistered,
    AddinsConnected,
    BarLayoutRestored,
    CommandLineParsed,
    ShellCommandDone,
    MainWindowShown,
};

// Resources of the program.
inline constexpr UINT kDrawingResource = 129;
inline constexpr UINT kAboutDialog = 100;
inline constexpr UINT kOleFailedMessage = 100;
// The closing check's message while a command runs.
inline constexpr int32_t kActiveCommandText = 20003;
inline constexpr const char* kActiveCommandDefault = "WARNING!! Active command! Press Esc or right click to exit";
// The application's profile key and the OLE server's class id.
inline constexpr const char* kProfileKey = "Local AppWizard-Generated Applications";
inline constexpr CLSID kServerClassId = {0xD33433DF, 0x4AFA, 0x45D5, {0xB6, 0x07, 0xB6, 0x94, 0x65, 0xF9, 0x9C, 0x01}};
inline constexpr UINT kRecentFiles = 4;
// "&Options..." of the "&Tools" menu.
inline constexpr UINT kOptionsCommand = 32771;

class CNuvexApp : public CWinApp, public CAddinHost {
public:
    CNuvexApp();
    ~CNuvexApp() override;

    // The start-up: program folder, language, OLE, profile, the drawing
    // template and its server, the main frame, the add-ins loaded, the 25
    // variables registered, the add-ins connected, the bar layout, then the
    // command line (an embedded or automated start ends here with the
    // window hidden), its shell command and the main window shown. FALSE
    // ends the program.
    BOOL InitInstance() override;
    // A drawing that asked for a redraw later is drawn now.
    BOOL OnIdle(LONG count) override;
    // The add-ins' configuration files are rewritten and the host
    // application object goes; add-ins stay loaded.
    int ExitInstance() override;
    // Refused while a command runs in any drawing; otherwise the modified
    // drawings are offered for saving in the save-changes dialog, whose
    // decision is the answer.
    BOOL SaveAllModified() override;
    // Add-in command ids 10000-19999 count as handled for commands and
    // their update requests, so that they are never greyed out.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // Help: context help on an add-in command's item goes to its add-in; F1
    // to the add-in whose command runs, else to the program's help page.
    void WinHelp(DWORD_PTR data, UINT command = 0x0001) override;
    // The file dialog of Open and Save As (PromptForFileName).
    BOOL DoPromptFileName(CString& fileName, UINT title, DWORD flags, BOOL openFile,
                          CDocTemplate* docTemplate) override;

    // Translates the standard popups of a menu from the language table.
    void ApplyMenuLanguage(HMENU menu);
    // The file dialog: the filter of `onlyTemplate`, or of every template,
    // then the add-ins' file types of the dialog's form, then all files.
    // TRUE, with the chosen path in fileName, when the person confirmed.
    BOOL PromptForFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openDialog, CDocTemplate* onlyTemplate);
    // The properties page in the add-in's "Workshop" group, when it has one.
    void ShowPropertiesPanel();
    IControlPanel* PropertiesPanel() const { return m_propertiesPanel; }
    IUnknown* SelectedCountControl() const { return m_selectedCount; }

    // The steps start-up went through, in order.
    const std::vector<StartupStep>& StartupSteps() const { return m_startupSteps; }

protected:
    void OnAppAbout();
    // "&Options...": the language for the next start.
    void OnOptions();
    // Called as each start-up step is done.
    virtual void OnStartupStep(StartupStep step) { m_startupSteps.push_back(step); }

    DECLARE_MESSAGE_MAP()

private:
    COleTemplateServer m_server;
    std::unique_ptr<CProgramSavePrompts> m_prompts;
    std::unique_ptr<CFrameworkCloseFlow> m_closeFlow;
    std::vector<StartupStep> m_startupSteps;
    // Lent by the document that made the properties page.
    IControlPanel* m_propertiesPanel = nullptr;
    IUnknown* m_selectedCount = nullptr;
};
