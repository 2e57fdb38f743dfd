// CNuvexApp: start-up, the message map, idle processing, the closing check
// and shut-down.
#include "host/app/nuvex_app.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/app/drawing_template.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/file_filters.h"
#include "host/shell/help_router.h"
#include "host/shell/host_application.h"
#include "host/shell/menu_translation.h"
#include "host/shell/options_dialog.h"
#include "host/shell/properties_page.h"
#include "host/shell/main_frame.h"
#include "host/shell/windows_manager.h"
#include "host/view/platform_save_prompts.h"
#include "platform/framework/dialog.h"
#include "platform/framework/ids.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/files.h"
#include "platform/kernel/path.h"
#include "platform/user/commdlg.h"
#include "platform/user/winuser.h"

namespace {

// The main frame's style as start-up loads it: overlapped window with the
// document's name added to the title.
constexpr DWORD kMainFrameLoadStyle = 0x00CF8000;
// The owner-drawn menus' look.
constexpr int kMenuDrawMode = 8;
constexpr const char* kApplicationName = "nuvex";
constexpr const char* kDrawingExtension = "nvx";
constexpr const char* kDialogNotCreated = "Dialog box could not be created!";

// The standard command line, where an absolute path is not taken for a
// switch: the switches keep their "/" and "-" forms, and an argument whose
// "/" begins a path (it names a file, or holds further separators) is the
// file to open.
class CNuvexCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* param, BOOL flag, BOOL last) override
    {
        if (flag && param != nullptr && !IsSwitch(param)) {
            const std::string path = std::string("/") + param;
            if (std::strchr(param, '/') != nullptr || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
                CCommandLineInfo::ParseParam(path.c_str(), FALSE, last);
                return;
            }
        }
        CCommandLineInfo::ParseParam(param, flag, last);
    }

private:
    static bool IsSwitch(const char* text)
    {
        for (const char* name : {"pt", "p", "Register", "Regserver", "Unregister", "Unregserver", "dde", "Embedding",
                                 "Automation"}) {
            if (EqualsIgnoringCase(text, name)) {
                return true;
            }
        }
        return false;
    }
};

} // namespace

// The save dialog of drawings is the application's file dialog, which also
// offers the file types add-ins save.
class CProgramSavePrompts : public CPlatformSavePrompts {
public:
    explicit CProgramSavePrompts(CNuvexApp& app) : CPlatformSavePrompts(nullptr, kApplicationName, kDrawingExtension), m_app(app) {}
    bool AskSaveFileName(std::string& path, bool saveAs) override
    {
        CString name = path.c_str();
        if (!m_app.PromptForFileName(name, saveAs ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY, OFN_PATHMUSTEXIST, FALSE,
                                     nullptr)) {
            return false;
        }
        path = name.GetString();
        return true;
    }

private:
    CNuvexApp& m_app;
};

BEGIN_MESSAGE_MAP(CNuvexApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(kOptionsCommand, OnOptions)
END_MESSAGE_MAP()

CNuvexApp::CNuvexApp() : CWinApp(kApplicationName) {}

CNuvexApp::~CNuvexApp() = default;

BOOL CNuvexApp::InitInstance()
{
    // 1-2. The program folder becomes the current directory, so that the
    // language, add-in, configuration and help folders are found in it;
    // then the language table.
    UseProgramFolder();
    OnStartupStep(StartupStep::ProgramFolder);
    LoadLanguageChoice();
    OnStartupStep(StartupStep::LanguageLoaded);

    // 3-5. OLE, the control containers and the profile.
    if (!AfxOleInit()) {
        AfxMessageBox(kOleFailedMessage);
        return FALSE;
    }
    AfxEnableControlContainer();
    OnStartupStep(StartupStep::OleReady);
    SetRegistryKey(kProfileKey);
    LoadStdProfileSettings(kRecentFiles);
    OnStartupStep(StartupStep::ProfileLoaded);

    // 7-9. One template of drawings, whose shared menu is the main menu that
    // add-ins extend, connected to the OLE server's class id.
    m_prompts = std::make_unique<CProgramSavePrompts>(*this);
    m_closeFlow = std::make_unique<CFrameworkCloseFlow>(*m_prompts);
    CNewMenu::SetMenuDrawMode(kMenuDrawMode);
    auto* drawings = new CDrawingTemplate(kDrawingResource, *this, m_closeFlow.get());
    AddDocTemplate(drawings);
    // The drawings' menu items show the "Standard" toolbar's icons.
    drawings->m_NewMenuShared.LoadToolBar(kMainFrameResource);
    SetMainMenu(drawings->m_hMenuShared);
    OnStartupStep(StartupStep::TemplateAdded);
    m_server.ConnectTemplate(kServerClassId, drawings, FALSE);
    COleTemplateServer::RegisterAll();
    OnStartupStep(StartupStep::ServerConnected);

    // 11. The main frame. (Files dropped from the desktop are not taken:
    // the display back-end passes no drops on.)
    auto* frame = new CMainFrame(*this);
    if (!frame->LoadFrame(kMainFrameResource, kMainFrameLoadStyle)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    SetMainFrame(frame);
    OnStartupStep(StartupStep::MainFrameCreated);

    // 12. The menus in the chosen language: the drawings' and the frame's own.
    // (The frame translated its own menu while it was created.)
    ApplyMenuLanguage(drawings->m_hMenuShared);
    frame->DrawMenuBar();

    // 13. Add-ins see the 25 built-in variables when they connect and
    // register their own after them.
    LoadAddins();
    OnStartupStep(StartupStep::AddinsLoaded);
    RegisterSystemVariables();
    OnStartupStep(StartupStep::VariablesRegistered);
    ConnectAddins();
    OnStartupStep(StartupStep::AddinsConnected);

    // 14. The bar layout, once the add-ins have added their bars.
    frame->LoadBarLayout(kBarLayoutSection);
    OnStartupStep(StartupStep::BarLayoutRestored);

    // 15-16. The command line; an embedded or automated start stays hidden.
    EnableShellOpen();
    CNuvexCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    OnStartupStep(StartupStep::CommandLineParsed);
    if (commandLine.m_bRunEmbedded || commandLine.m_bRunAutomated) {
        return TRUE;
    }

    // 17-18. The server's registry entries, then what the command line
    // asks for (a new drawing, or the file it names).
    m_server.UpdateRegistry(OAT_INPLACE_SERVER);
    if (!ProcessShellCommand(commandLine)) {
        return FALSE;
    }
    OnStartupStep(StartupStep::ShellCommandDone);

    // 19-20. The properties page, then the main window, maximised.
    ShowPropertiesPanel();
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    OnStartupStep(StartupStep::MainWindowShown);
    return TRUE;
}

BOOL CNuvexApp::OnIdle(LONG count)
{
    CNuvexDoc* document = GetActiveDocument();
    if (document != nullptr && document->IsRedrawPending()) {
        document->ClearRedrawPending();
        document->UpdateAllViews(nullptr);
        return TRUE;
    }
    return CWinApp::OnIdle(count);
}

int CNuvexApp::ExitInstance()
{
    SaveAddinConfigs();
    DestroyHostApplication();
    return CWinApp::ExitInstance();
}

BOOL CNuvexApp::SaveAllModified()
{
    auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
    int modified = 0;
    if (frame != nullptr && frame->m_hWndMDIClient != nullptr) {
        for (HWND child = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            auto* childFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
            CDocument* document = childFrame != nullptr ? childFrame->GetActiveDocument() : nullptr;
            if (document == nullptr) {
                continue;
            }
            // A running command has to end first, in whichever drawing.
            if (auto* drawing = dynamic_cast<CNuvexDoc*>(document); drawing != nullptr && drawing->IsCommandActive()) {
                const char* text = LanguageTable().GetStaticText(kActiveCommandText, kActiveCommandDefault);
                ::MessageBoxA(m_pMainWnd->GetSafeHwnd(), text, kApplicationName, MB_OK | MB_ICONWARNING);
                return FALSE;
            }
            if (document->IsModified()) {
                ++modified;
            }
        }
    }
    if (modified == 0) {
        return TRUE;
    }
    // The modified drawings are offered for saving in one dialog, which
    // leaves its decision in the save-all result.
    SetSaveAllResult(FALSE);
    CWindowsManager dialog(m_pMainWnd, *this, frame);
    if (dialog.DoModal() == -1) {
        ::MessageBoxA(m_pMainWnd->GetSafeHwnd(), kDialogNotCreated, kApplicationName, MB_OK);
    }
    return SaveAllResult() != 0 ? TRUE : FALSE;
}

BOOL CNuvexApp::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (id >= kFirstHostCommandId && id < kEndHostCommandIds && (code == CN_UPDATE_COMMAND_UI || code == CN_COMMAND)) {
        CWinApp::OnCmdMsg(id, code, extra, handlerInfo);
        return TRUE;
    }
    return CWinApp::OnCmdMsg(id, code, extra, handlerInfo);
}

void CNuvexApp::OnAppAbout()
{
    CDialog about(kAboutDialog, m_pMainWnd);
    about.DoModal();
}

void CNuvexApp::WinHelp(DWORD_PTR data, UINT command)
{
    RouteHelp(*this, GetActiveDocument(), m_bHelpMode, data, command);
}

void CNuvexApp::ApplyMenuLanguage(HMENU menu) { ::ApplyMenuLanguage(LanguageTable(), menu); }

BOOL CNuvexApp::DoPromptFileName(CString& fileName, UINT title, DWORD flags, BOOL openFile, CDocTemplate* docTemplate)
{
    return PromptForFileName(fileName, title, flags, openFile, docTemplate);
}

BOOL CNuvexApp::PromptForFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openDialog,
                                  CDocTemplate* onlyTemplate)
{
    std::vector<FileDialogFilter> filters;
    std::string defaultExtension;
    auto addTemplate = [&](CDocTemplate* one) {
        FileDialogFilter filter;
        if (one != nullptr && TemplateFilter(*one, filter)) {
            if (defaultExtension.empty()) {
                // "*.nvx;..." gives "nvx".
                defaultExtension = filter.patterns.substr(2, filter.patterns.find(';') - 2);
            }
            filters.push_back(std::move(filter));
        }
    };
    if (onlyTemplate != nullptr) {
        addTemplate(onlyTemplate);
    } else {
        for (CDocTemplate* one : m_templates) {
            addTemplate(one);
        }
    }
    AppendFileTypeFilters(filters, FileTypes(), openDialog != FALSE);
    CString allFiles;
    AfxLoadString(AFX_IDS_ALLFILTER, allFiles);
    filters.push_back({allFiles.GetString(), "*.*"});
    const std::string filterText = JoinFileFilters(filters);
    CString titleText;
    AfxLoadString(titleId, titleText);

    std::vector<char> buffer(4096, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%s", fileName.GetString());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filterText.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = titleText.IsEmpty() ? nullptr : titleText.GetString();
    ofn.Flags = flags | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    const BOOL chosen = openDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (chosen) {
        fileName = buffer.data();
    }
    return chosen;
}

void CNuvexApp::OnOptions()
{
    COptionsDialog dialog(m_pMainWnd, LanguageTable());
    if (dialog.DoModal() != IDOK || dialog.m_language.IsEmpty()) {
        return;
    }
    // Takes effect at the next start: nothing is reloaded now.
    const std::string key = LanguageTable().GetLNameKey(dialog.m_language.GetString(), "");
    if (!key.empty()) {
        SaveLanguageChoice(key);
    }
}

void CNuvexApp::ShowPropertiesPanel()
{
    CNuvexDoc* document = GetActiveDocument();
    const PropertiesPage page = ::ShowPropertiesPanel(HostApplication(), document != nullptr ? document->GetHostDocument() : nullptr,
                                                      LanguageTable());
    m_propertiesPanel = page.panel;
    m_selectedCount = page.selectedCount;
}
