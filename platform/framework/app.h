// CWinThread and CWinApp: the program's application object, its message
// loop with idle processing, its document templates, the profile settings
// in the registry stand-in, the recent-file list, the standard command
// line and help. AfxGetApp gives the one application object of the
// process (the last one constructed and not yet destroyed).
#pragma once

#include <memory>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cmdtarget.h"
#include "platform/framework/cstring.h"
#include "platform/framework/position.h"
#include "platform/framework/wnd.h"

class CDocTemplate;
class CDocument;
class CRecentFileList;

class NUVEX_PLATFORM_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;

    virtual BOOL InitInstance();
    // The message loop: idle processing while the queue is empty, then
    // messages until WM_QUIT; answers ExitInstance's result.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Takes and dispatches one message; FALSE for WM_QUIT.
    virtual BOOL PumpMessage();
    // `count` 0: command-UI updates of the main window and its bars;
    // 1: the temporary handle maps are cleared. TRUE while more idle work
    // is wanted.
    virtual BOOL OnIdle(LONG count);
    // Whether a message starts a new idle phase (mouse moves that did not
    // move and the frame's own idle messages do not).
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur{};
    // The exit code WM_QUIT carried.
    int m_nExitCode = 0;

private:
    POINT m_lastMousePoint{-1, -1};
};

// What the standard command line asks for.
class NUVEX_PLATFORM_API CCommandLineInfo : public CObject {
public:
    enum ShellCommand : int {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1,
    };
    // Called for each argument; `flag` when it started with "-" or "/"
    // (given without that character).
    virtual void ParseParam(const char* param, BOOL flag, BOOL last);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

private:
    int m_printToArgs = 0;
};

class NUVEX_PLATFORM_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    // Start-up and loop -------------------------------------------------------------
    // The program's arguments (without the program name) for ParseCommandLine.
    void SetCommandLine(int argc, const char* const* argv);
    void ParseCommandLine(CCommandLineInfo& info);
    // Runs what the command line asks; FALSE when the program should end.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    // Profile -------------------------------------------------------------------------
    // Settings go to HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(LPCSTR key);
    // Reads the recent-file list (`maxMru` entries, 0 for none) and the
    // preview setting.
    void LoadStdProfileSettings(UINT maxMru = 4);
    void SaveStdProfileSettings();
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    // A binary value: its bytes, or nothing when missing.
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, std::vector<BYTE>& bytes);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    // A null `value` deletes the entry; a null `entry` the whole section.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT size);
    // The key of the application's profile, or of one of its sections; the
    // caller closes it. Null without a registry key.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR section);

    // Documents -----------------------------------------------------------------------
    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    int GetDocTemplateCount() const { return static_cast<int>(m_templates.size()); }
    // Opens `pathName` with the template that fits it best (an open
    // document of that name is activated instead).
    virtual CDocument* OpenDocumentFile(LPCSTR pathName);
    virtual void AddToRecentFileList(LPCSTR pathName);
    // Asks every template's documents whether they may close.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    // Asks for a file name through the file dialog: `openFile` for Open,
    // else Save As; `title` is a string id.
    virtual BOOL DoPromptFileName(CString& fileName, UINT title, DWORD flags, BOOL openFile, CDocTemplate* docTemplate);
    CRecentFileList* m_pRecentFileList = nullptr;

    // Help -----------------------------------------------------------------------------
    // Opens the help file (m_pszHelpFilePath) at its home page for
    // HELP_CONTEXT and HELP_FINDER.
    virtual void WinHelp(DWORD_PTR data, UINT command = 0x0001);
    virtual void WinHelpInternal(DWORD_PTR data, UINT command = 0x0001);

    // Stand-ins of the shell integration: nothing to register here.
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL = FALSE) {}
    void UnregisterShellFileTypes() {}
    BOOL Unregister() { return TRUE; }

    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCSTR id) const;
    HICON LoadIcon(UINT id) const;

    // Standard commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnHelp();
    void OnHelpFinder();
    BOOL OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

    CString m_strAppName;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    LPCSTR m_pszHelpFilePath = nullptr;
    LPCSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    BOOL m_bHelpMode = FALSE;
    // The untitled documents' counter of templates made by the program.
    std::vector<CString> m_commandLine;

protected:
    std::vector<CDocTemplate*> m_templates;
    std::unique_ptr<CRecentFileList> m_recentFiles;
    CString m_registryKey;
    CString m_helpFilePath;

    DECLARE_MESSAGE_MAP()
};

NUVEX_PLATFORM_API CWinApp* AfxGetApp();
NUVEX_PLATFORM_API CWnd* AfxGetMainWnd();
NUVEX_PLATFORM_API HINSTANCE AfxGetInstanceHandle();
NUVEX_PLATFORM_API HINSTANCE AfxGetResourceHandle();
NUVEX_PLATFORM_API LPCSTR AfxGetAppName();
// Runs the application: InitInstance, then the loop (or ExitInstance when
// it fails). The program's main calls it with its arguments.
NUVEX_PLATFORM_API int AfxWinMain(int argc, const char* const* argv);
// A message box owned by the main window, with the application's name as
// caption; `text` or the string `promptId`.
NUVEX_PLATFORM_API int AfxMessageBox(LPCSTR text, UINT type = 0, UINT helpId = 0);
NUVEX_PLATFORM_API int AfxMessageBox(UINT promptId, UINT type = 0, UINT helpId = UINT(-1));
// The accelerator table resource `id` of the running program; null when
// there is none. The caller destroys it.
NUVEX_PLATFORM_API HACCEL AfxLoadAcceleratorTable(UINT id);
// Replaces "%1" (and "%2") in `format`'s text.
NUVEX_PLATFORM_API void AfxFormatString1(CString& result, UINT formatId, LPCSTR text1);
NUVEX_PLATFORM_API void AfxFormatString2(CString& result, UINT formatId, LPCSTR text1, LPCSTR text2);
NUVEX_PLATFORM_API void AfxFormatStrings(CString& result, LPCSTR format, const LPCSTR* texts, int count);

// The recent-file list: the newest first, each path once, shown in the
// File menu in place of the first item's id (ID_FILE_MRU_FILE1).
class NUVEX_PLATFORM_API CRecentFileList {
public:
    CRecentFileList(UINT start, LPCSTR section, LPCSTR entryFormat, int size, int maxDisplayLength = 40);
    int GetSize() const { return m_size; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    // Entry `index` (0 newest); empty beyond the list.
    CString operator[](int index) const;
    // Puts `pathName` at the front (removing an equal path further down).
    void Add(LPCSTR pathName);
    void Remove(int index);
    // The menu text of entry `index`: its file name, or the path shortened
    // to the display length.
    BOOL GetDisplayName(CString& name, int index) const;
    void UpdateMenu(CCmdUI* cmdUI);
    void ReadList(CWinApp& app);
    void WriteList(CWinApp& app);

private:
    UINT m_start;
    CString m_section;
    CString m_entryFormat;
    int m_size;
    int m_maxDisplayLength;
    std::vector<CString> m_files;
};
