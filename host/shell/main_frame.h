// CMainFrame: the program's one main window, the multi-document frame with
// the menu, the "Standard" toolbar and a status bar whose panes hold the
// prompt, the command-line edit, the cursor coordinates and a progress bar.
// It is the switchboard between the keyboard and the active document's
// command engine: add-in command ids 10000-19999 from menus, toolbars and
// accelerators start (or toggle off) add-in commands; Enter, a trailing
// blank and Esc on the command line become typed input, accept and cancel;
// characters typed anywhere in the frame land in the command line.
//
// The bars are the owner-drawn menu look's: the menu bar takes the frame's
// menu, the toolbars paint in the menu style, and the status bar holds the
// command line and the progress bar in its panes. Add-ins add toolbars of
// their own, each with a scripting object and a show/hide command 9000 + k.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/menulook/new_menu_bar.h"
#include "host/shell/color_text_static.h"
#include "host/shell/frame_classes.h"
#include "host/shell/mpc_status_bar.h"
#include "host/shell/toolbar_object.h"
#include "platform/com/unknwn.h"
#include "platform/framework/ctrls.h"
#include "platform/framework/gdiobj.h"

class CAddinHost;
class CNuvexDoc;

// Host command ids of add-in commands: 10000 + command-table index.
inline constexpr UINT kFirstHostCommandId = 10000;
inline constexpr UINT kEndHostCommandIds = 20000;

// Resources and ids of the frame.
inline constexpr UINT kMainFrameResource = 128;
inline constexpr UINT kStandardToolbarId = 59392;
inline constexpr UINT kStatusBarId = 59393;
inline constexpr UINT kPromptPaneId = 101;
inline constexpr UINT kCommandLinePaneId = 102;
inline constexpr UINT kProgressPaneId = 104;
inline constexpr int kCoordinatesPane = 2;
inline constexpr UINT kMenuBarControlId = 59418;
inline constexpr UINT kCancelCommandId = 32773;
inline constexpr UINT kNoActionCommandId = 32780;
inline constexpr UINT kHelpCommandId = 57670;
inline constexpr UINT kContextHelpCommandId = 57669;
// The toolbar at index k >= 1 has the window id and show/hide command
// kToolbarCommandBase + k.
inline constexpr UINT kToolbarCommandBase = 9000;
// The colour of the prompt's characters that name the accepted input.
inline constexpr COLORREF kPromptMarkColor = 0x00C00000;
// The profile section of the bar layout.
inline constexpr const char* kBarLayoutSection = "General";
inline constexpr const char* kMainFrameCaption = "nuvex 2005 ";

class CMainFrame : public CMainFrameBase {
    DECLARE_DYNAMIC(CMainFrame)
public:
    // `host` outlives the frame.
    explicit CMainFrame(CAddinHost& host);
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // The active child's document when it is a drawing, else null.
    CNuvexDoc* GetActiveNuvexDocument();
    // Starts command-table entry `index` on the active document (flag 0 on
    // the running command toggles it off). Always TRUE.
    BOOL StartDocumentCommand(WORD index, BOOL flag);

    // The command line: its text replaced as a whole, and its text.
    void SetCommandLineText(const std::string& text);
    std::string GetCommandLineText() const;
    // Null before creation.
    CEdit* CommandLine() { return m_commandLine; }
    void FocusCommandLine();
    CProgressCtrl* ProgressControl()
    {
        return m_progress != nullptr && m_progress->GetSafeHwnd() != nullptr ? m_progress : nullptr;
    }
    // The prompt pane: its text (the marked characters are the answer the
    // command line's text would give) and the panes laid out after it.
    void SetPromptText(const std::string& text, size_t markFirst, size_t markCount);
    std::string GetPromptText() const;
    void FitPromptPane();
    // The cursor position in the coordinates pane, and the pane emptied.
    void ShowCoordinates3(double x, double y, double z);
    void ClearCoordinates();
    MPCStatusBar& StatusBar() { return m_statusBar; }
    CColorTextStatic& Prompt() { return m_prompt; }
    CNewMenuBar& MenuBar() { return m_menuBar; }

    // Toolbars: index 0 is "Standard"; each has its scripting object at the
    // same index.
    const std::vector<std::unique_ptr<CMainToolBar>>& Toolbars() const { return m_toolbars; }
    CToolbarObject* ToolbarObject(size_t index) const
    {
        return index < m_toolbarObjects.size() ? m_toolbarObjects[index].Get() : nullptr;
    }
    // A toolbar of an add-in: docked at the top, its window text the name
    // (made unique with a counter), and its show/hide item in the main
    // menu's "&View" > "&Toolbars". Null when the toolbar cannot be made or
    // the item cannot be appended (the toolbar then stays).
    CToolbarObject* AddToolbar(const char* name);
    // The scripting object of the first toolbar with that window text.
    CToolbarObject* FindToolbar(const char* name) const;
    // The state of the buttons of command `id` on every toolbar (toolbars
    // without one ignore it).
    void SetCommandButtonState(UINT id, int state);
    // One accelerator more in the frame's table; FALSE when no table can
    // be made (the old one stays).
    BOOL AddAccelerator(BYTE virtFlags, WORD key, WORD command);
    // The dock state saved under `section` applied to the frame's bars.
    void LoadBarLayout(const char* section);

    // For add-in ids the command's status text; others as the language
    // table or the framework give them.
    void GetMessageString(UINT id, CString& message) const override;
    // The tooltip of a tool: add-in ids the command's tooltip text, others
    // the language table's, else the second line of the id's string.
    std::string GetToolTipText(UINT id) const;
    RECT GetPromptRect() const;

    // Help: with the context-help flag set (Shift+F1) the next command asks
    // its add-in for help instead of running; F1 asks the running command's
    // add-in, else opens the program's help page.
    // The flag is the application's help mode (the frame's own without an
    // application), which the application's help routine reads too.
    BOOL IsContextHelpMode() const { return const_cast<CMainFrame*>(this)->ContextHelpFlag(); }
    BOOL& ContextHelpFlag();
    void OnContextHelp();
    void WinHelp(DWORD_PTR data, UINT command);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // The bars' layout, then the status bar's controls in their panes.
    void RecalcLayout(BOOL notify = TRUE) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int OnCreate(CREATESTRUCTA* cs);
    void OnChar(WPARAM character, LPARAM keyData);
    void OnClose();
    BOOL OnToolTipText(NMHDR* header, LRESULT* result);
    BOOL OnHelpInfo();
    // Sends the accept event to the running command, closes its answer and
    // updates the views.
    void AcceptRunningCommand(CNuvexDoc& document);
    // A toolbar window and its scripting object at the next index.
    CMainToolBar* CreateToolbar(UINT id);

    CAddinHost& m_host;
    CNewMenuBar m_menuBar;
    MPCStatusBar m_statusBar;
    // Owned by the status bar (auto-delete).
    CEdit* m_commandLine = nullptr;
    CProgressCtrl* m_progress = nullptr;
    BOOL m_contextHelp = FALSE;
    CColorTextStatic m_prompt;
    CFont m_commandLineFont;
    // The scripting objects go before their toolbars.
    std::vector<std::unique_ptr<CMainToolBar>> m_toolbars;
    std::vector<ComPtr<CToolbarObject>> m_toolbarObjects;
};
