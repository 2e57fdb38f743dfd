// CWinThread's message loop and CWinApp: templates, documents, the
// command line, help, message boxes and the accelerator and string helpers.
#include "platform/framework/app.h"

#include <memory>

#include "platform/framework/cmdui.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/document.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/ids.h"
#include "platform/framework/view.h"
#include "platform/kernel/help.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"
#include "platform/user/commdlg.h"
#include "platform/user/keyboard.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// The application object of the process: the one most recently
// constructed and still alive.
CWinApp* g_app = nullptr;

constexpr UINT kHelpContext = 0x0001;
constexpr UINT kHelpFinder = 0x000B;

} // namespace

// CWinThread ------------------------------------------------------------------------

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return m_nExitCode; }

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    // The target window and its parents, up to the main window.
    HWND mainWnd = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(mainWnd, msg)) {
        return TRUE;
    }
    // A message to another top-level window (a floating bar) still gets
    // the main window's accelerators.
    if (m_pMainWnd != nullptr && msg->hwnd != nullptr && ::GetAncestor(msg->hwnd, GA_ROOT) != mainWnd) {
        return m_pMainWnd->PreTranslateMessage(msg);
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) {
        m_nExitCode = static_cast<int>(m_msgCur.wParam);
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    // A mouse move that did not move, and the paint and timer messages of
    // the blinking caret, do not start a new idle phase.
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->pt.x == m_lastMousePoint.x && msg->pt.y == m_lastMousePoint.y) {
            return FALSE;
        }
        m_lastMousePoint = msg->pt;
        return TRUE;
    }
    return msg->message != WM_PAINT && msg->message != 0x0118 ? TRUE : FALSE;
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count <= 0) {
        // Bars, menus and titles of the main window follow the state.
        if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr && m_pMainWnd->IsWindowVisible()) {
            m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
        return TRUE;
    }
    if (count == 1) {
        AfxDeleteTempMaps();
    }
    return FALSE;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        // 1. Idle work while nothing waits.
        while (idle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                idle = false;
            }
        }
        // 2. Messages until the queue is empty again.
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

// CCommandLineInfo ---------------------------------------------------------------------

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL)
{
    const CString text = param != nullptr ? param : "";
    if (flag) {
        if (text.CompareNoCase("pt") == 0) {
            m_nShellCommand = FilePrintTo;
            m_printToArgs = 3;
        } else if (text.CompareNoCase("p") == 0) {
            m_nShellCommand = FilePrint;
        } else if (text.CompareNoCase("Register") == 0 || text.CompareNoCase("Regserver") == 0) {
            m_nShellCommand = AppRegister;
        } else if (text.CompareNoCase("Unregister") == 0 || text.CompareNoCase("Unregserver") == 0) {
            m_nShellCommand = AppUnregister;
        } else if (text.CompareNoCase("dde") == 0) {
            m_nShellCommand = FileDDE;
        } else if (text.CompareNoCase("Embedding") == 0) {
            m_bRunEmbedded = TRUE;
            m_bShowSplash = FALSE;
        } else if (text.CompareNoCase("Automation") == 0) {
            m_bRunAutomated = TRUE;
            m_bShowSplash = FALSE;
        }
        return;
    }
    // The first plain argument is the file; print-to takes three more.
    if (m_strFileName.IsEmpty()) {
        m_strFileName = text;
        if (m_nShellCommand == FileNew) {
            m_nShellCommand = FileOpen;
        }
        m_bShowSplash = FALSE;
    } else if (m_nShellCommand == FilePrintTo && m_printToArgs > 0) {
        CString* parts[] = {&m_strPrinterName, &m_strDriverName, &m_strPortName};
        *parts[3 - m_printToArgs] = text;
        --m_printToArgs;
    }
}

// CWinApp ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName)
{
    if (appName != nullptr) {
        m_strAppName = appName;
        m_pszAppName = m_strAppName.GetString();
    }
    g_app = this;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* docTemplate : m_templates) {
        delete docTemplate;
    }
    m_templates.clear();
    if (g_app == this) {
        g_app = nullptr;
    }
}

void CWinApp::SetCommandLine(int argc, const char* const* argv)
{
    m_commandLine.clear();
    for (int i = 0; i < argc; ++i) {
        m_commandLine.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    const int count = static_cast<int>(m_commandLine.size());
    for (int i = 0; i < count; ++i) {
        const char* param = m_commandLine[static_cast<size_t>(i)].GetString();
        BOOL flag = FALSE;
        if (param[0] == '-' || param[0] == '/') {
            flag = TRUE;
            ++param;
        }
        info.ParseParam(param, flag, i == count - 1);
    }
    // A server start makes no document.
    if ((info.m_bRunEmbedded || info.m_bRunAutomated) && info.m_nShellCommand == CCommandLineInfo::FileNew) {
        info.m_nShellCommand = CCommandLineInfo::FileNothing;
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) {
            OnFileNew();
        }
        return m_pMainWnd != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Printing is not offered; the document is opened and the program
        // ends, as after printing.
        if (OpenDocumentFile(info.m_strFileName) == nullptr) {
            return FALSE;
        }
        return FALSE;
    case CCommandLineInfo::FileDDE:
        m_nCmdShow = SW_HIDE;
        return TRUE;
    case CCommandLineInfo::AppRegister:
        RegisterShellFileTypes(TRUE);
        return FALSE;
    case CCommandLineInfo::AppUnregister:
        UnregisterShellFileTypes();
        Unregister();
        return FALSE;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG count) { return CWinThread::OnIdle(count); }

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate != nullptr) {
        docTemplate->LoadTemplate();
        m_templates.push_back(docTemplate);
    }
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    // Positions count from 1 so that null means "no more".
    return m_templates.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const
{
    const auto index = reinterpret_cast<uintptr_t>(position);
    if (index == 0 || index > m_templates.size()) {
        AfxThrowInvalidArgException();
    }
    CDocTemplate* docTemplate = m_templates[index - 1];
    position = index < m_templates.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return docTemplate;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR pathName)
{
    if (pathName == nullptr || *pathName == '\0') {
        return nullptr;
    }
    // 1. The template that knows the file best; an open document of that
    //    name is brought forward instead.
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestConfidence = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (CDocTemplate* docTemplate : m_templates) {
        CDocument* match = nullptr;
        const CDocTemplate::Confidence confidence = docTemplate->MatchDocType(pathName, match);
        if (confidence > bestConfidence) {
            bestConfidence = confidence;
            best = docTemplate;
            open = match;
        }
        if (confidence == CDocTemplate::yesAlreadyOpen) {
            break;
        }
    }
    if (open != nullptr) {
        POSITION position = open->GetFirstViewPosition();
        if (position != nullptr) {
            CView* view = open->GetNextView(position);
            if (CFrameWnd* frame = view->GetParentFrame()) {
                frame->ActivateFrame();
            }
        }
        return open;
    }
    if (best == nullptr) {
        return nullptr;
    }
    return best->OpenDocumentFile(pathName);
}

void CWinApp::AddToRecentFileList(LPCSTR pathName)
{
    if (m_pRecentFileList != nullptr && pathName != nullptr) {
        m_pRecentFileList->Add(pathName);
    }
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* docTemplate : m_templates) {
        if (!docTemplate->SaveAllModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    for (CDocTemplate* docTemplate : m_templates) {
        docTemplate->CloseAllDocuments(endSession);
    }
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT title, DWORD flags, BOOL openFile, CDocTemplate* docTemplate)
{
    // The filter of the template (or of every template for Open), then
    // all files.
    std::string filter;
    CString defaultExtension;
    auto addTemplate = [&](CDocTemplate* one) {
        CString name;
        CString extension;
        if (one->GetDocString(name, CDocTemplate::filterName) && !name.IsEmpty() &&
            one->GetDocString(extension, CDocTemplate::filterExt) && !extension.IsEmpty()) {
            std::string patterns;
            std::string all = extension.GetString();
            size_t start = 0;
            while (start <= all.size()) {
                size_t end = all.find(';', start);
                if (end == std::string::npos) {
                    end = all.size();
                }
                if (end > start) {
                    patterns += (patterns.empty() ? "*" : ";*") + all.substr(start, end - start);
                }
                start = end + 1;
            }
            filter += std::string(name.GetString()) + '\0' + patterns + '\0';
            if (defaultExtension.IsEmpty()) {
                const int semicolon = extension.Find(';');
                defaultExtension = semicolon >= 0 ? extension.Left(semicolon) : extension;
            }
        }
    };
    if (docTemplate != nullptr) {
        addTemplate(docTemplate);
    } else {
        for (CDocTemplate* one : m_templates) {
            addTemplate(one);
        }
    }
    CString allFilter;
    AfxLoadString(AFX_IDS_ALLFILTER, allFilter);
    filter += std::string(allFilter.GetString()) + '\0' + "*.*" + '\0' + '\0';
    CString titleText;
    AfxLoadString(title, titleText);

    char buffer[4096] = {0};
    snprintf(buffer, sizeof buffer, "%s", fileName.GetString());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrTitle = titleText.GetString();
    ofn.Flags = flags | OFN_EXPLORER | (openFile ? 0 : OFN_OVERWRITEPROMPT);
    const CString extension = defaultExtension.GetLength() > 1 && defaultExtension[0] == '.' ? defaultExtension.Mid(1)
                                                                                              : defaultExtension;
    ofn.lpstrDefExt = extension.IsEmpty() ? nullptr : extension.GetString();
    const BOOL chosen = openFile ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (chosen) {
        fileName = buffer;
    }
    return chosen;
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command) { WinHelpInternal(data, command); }

void CWinApp::WinHelpInternal(DWORD_PTR, UINT command)
{
    if (command != kHelpContext && command != kHelpFinder) {
        return;
    }
    // Help requests open the help file's page through the platform.
    const char* file = m_pszHelpFilePath;
    if (file == nullptr || *file == '\0') {
        return;
    }
    ::HtmlHelpA(m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr, file, HH_DISPLAY_TOPIC, 0);
}

HCURSOR CWinApp::LoadCursor(UINT id) const
{
    return ::LoadCursorA(m_hInstance, UserIntName(static_cast<WORD>(id)));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR id) const { return ::LoadCursorA(nullptr, id); }

HICON CWinApp::LoadIcon(UINT) const { return nullptr; }

void CWinApp::OnFileNew()
{
    if (m_templates.empty()) {
        return;
    }
    // With several templates the first one is used; there is no chooser.
    m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString name;
    if (!DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr)) {
        return;
    }
    OpenDocumentFile(name);
}

void CWinApp::OnFilePrintSetup() {}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

void CWinApp::OnHelp() { WinHelp(0, kHelpContext); }

void CWinApp::OnHelpFinder() { WinHelp(0, kHelpFinder); }

BOOL CWinApp::OnOpenRecentFile(UINT id)
{
    if (m_pRecentFileList == nullptr) {
        return FALSE;
    }
    const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetCount()) {
        return FALSE;
    }
    const CString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path) == nullptr) {
        // A file that cannot be opened leaves the list.
        m_pRecentFileList->Remove(index);
    }
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI)
{
    if (m_pRecentFileList == nullptr) {
        cmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(cmdUI);
}

// Process-wide helpers -------------------------------------------------------------

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->GetMainWnd() : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return g_app != nullptr ? g_app->m_hInstance : nullptr; }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

LPCSTR AfxGetAppName() { return g_app != nullptr ? g_app->m_pszAppName : nullptr; }

int AfxWinMain(int argc, const char* const* argv)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->SetCommandLine(argc > 1 ? argc - 1 : 0, argc > 1 ? argv + 1 : nullptr);
    if (argc > 0 && argv != nullptr && app->m_pszExeName == nullptr) {
        app->m_pszExeName = argv[0];
    }
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr) {
            app->m_pMainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}

int AfxMessageBox(LPCSTR text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    LPCSTR caption = AfxGetAppName();
    if ((type & MB_ICONMASK) == 0) {
        const UINT buttons = type & MB_TYPEMASK;
        type |= buttons == MB_OK || buttons == MB_OKCANCEL ? MB_ICONEXCLAMATION : 0;
        type |= buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? MB_ICONQUESTION : 0;
    }
    return ::MessageBoxA(main != nullptr ? main->m_hWnd : nullptr, text, caption, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    CString text;
    AfxLoadString(promptId, text);
    return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}

void AfxFormatStrings(CString& result, LPCSTR format, const LPCSTR* texts, int count)
{
    std::string out;
    for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            const int index = p[1] - '1';
            if (index < count && texts[index] != nullptr) {
                out += texts[index];
            }
            ++p;
        } else {
            out += *p;
        }
    }
    result = out;
}

void AfxFormatString1(CString& result, UINT formatId, LPCSTR text1)
{
    CString format;
    AfxLoadString(formatId, format);
    AfxFormatStrings(result, format, &text1, 1);
}

void AfxFormatString2(CString& result, UINT formatId, LPCSTR text1, LPCSTR text2)
{
    CString format;
    AfxLoadString(formatId, format);
    const LPCSTR texts[] = {text1, text2};
    AfxFormatStrings(result, format, texts, 2);
}

HACCEL AfxLoadAcceleratorTable(UINT id)
{
    auto bytes = FindResourceBytes(nullptr, kResourceAccelerator, static_cast<WORD>(id));
    if (!bytes) {
        return nullptr;
    }
    auto entries = DecodeAccelerators(*bytes);
    if (!entries || entries->empty()) {
        return nullptr;
    }
    std::vector<ACCEL> table;
    for (const AcceleratorEntry& entry : *entries) {
        table.push_back(ACCEL{entry.flags, entry.key, entry.command});
    }
    return ::CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}
