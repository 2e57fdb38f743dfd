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
class CPlatformSavePrompts;
class CFrameworkCloseFlow;

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
    // Refused while a command runs in any drawing; otherwise every modified
    // drawing is offered for saving.
    BOOL SaveAllModified() override;
    // Add-in command ids 10000-19999 count as handled for commands and
    // their update requests, so that they are never greyed out.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // The steps start-up went through, in order.
    const std::vector<StartupStep>& StartupSteps() const { return m_startupSteps; }

protected:
    void OnAppAbout();
    // Called as each start-up step is done.
    virtual void OnStartupStep(StartupStep step) { m_startupSteps.push_back(step); }

    DECLARE_MESSAGE_MAP()

private:
    int m_saveAllResult = 0;
    COleTemplateServer m_server;
    std::unique_ptr<CPlatformSavePrompts> m_prompts;
    std::unique_ptr<CFrameworkCloseFlow> m_closeFlow;
    std::vector<StartupStep> m_startupSteps;
};
