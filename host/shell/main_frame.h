// CMainFrame: the program's one main window, the multi-document frame with
// the menu, the "Standard" toolbar and a status bar whose panes hold the
// prompt, the command-line edit, the cursor coordinates and a progress bar.
// It is the switchboard between the keyboard and the active document's
// command engine: add-in command ids 10000-19999 from menus, toolbars and
// accelerators start (or toggle off) add-in commands; Enter, a trailing
// blank and Esc on the command line become typed input, accept and cancel;
// characters typed anywhere in the frame land in the command line.
//
// This holds what start-up, shut-down and the command engine need of the
// frame: the owner-drawn menu bar, the prompt's colours, tool tips and help
// come with the main frame's own work.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/shell/frame_classes.h"
#include "platform/framework/ctrls.h"
#include "platform/framework/gdiobj.h"

class CAddinHost;
class CNuvexDoc;
class CToolbarObject;

// Host command ids of add-in commands: 10000 + command-table index.
inline constexpr UINT kFirstHostCommandId = 10000;
inline constexpr UINT kEndHostCommandIds = 20000;
// Toolbar k (the standard one first) has the window id and the show/hide
// command 9000 + k.
inline constexpr UINT kFirstToolbarCommandId = 9000;

// Resources and ids of the frame.
inline constexpr UINT kMainFrameResource = 128;
inline constexpr UINT kStandardToolbarId = 59392;
inline constexpr UINT kStatusBarId = 59393;
inline constexpr UINT kPromptPaneId = 101;
inline constexpr UINT kCommandLinePaneId = 102;
inline constexpr UINT kProgressPaneId = 104;
inline constexpr int kCoordinatesPane = 2;
inline constexpr UINT kCancelCommandId = 32773;
inline constexpr UINT kNoActionCommandId = 32780;
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
    CEdit& CommandLine() { return m_commandLine; }
    void FocusCommandLine();
    CProgressCtrl* ProgressControl() { return m_progress.GetSafeHwnd() != nullptr ? &m_progress : nullptr; }
    // The prompt pane: its text (the marked characters are the answer the
    // command line's text would give) and the panes laid out after it.
    void SetPromptText(const std::string& text, size_t markFirst, size_t markCount);
    std::string GetPromptText() const;
    void FitPromptPane();
    // The cursor position in the coordinates pane, and the pane emptied.
    void ShowCoordinates3(double x, double y, double z);
    void ClearCoordinates();
    CMainStatusBar& StatusBar() { return m_statusBar; }

    // Toolbars: index 0 is "Standard".
    const std::vector<std::unique_ptr<CMainToolBar>>& Toolbars() const { return m_toolbars; }
    // The state of the buttons of command `id` on every toolbar (toolbars
    // without one ignore it).
    void SetCommandButtonState(UINT id, int state);
    // The scripting object of toolbar `index`, made on first use and kept
    // with the frame; null outside the toolbars.
    CToolbarObject* ToolbarObject(size_t index);
    // That of the first toolbar whose window text is `name`, or null.
    CToolbarObject* FindToolbarObject(const char* name);
    // A toolbar for an add-in, docked at the top, its window text `name`
    // (numbered when taken) and its show/hide item under View > Toolbars.
    // A null object when no toolbar window can be made; `listed` false when
    // the menu item could not be appended (the toolbar stays).
    struct AddedToolbar {
        CToolbarObject* object = nullptr;
        bool listed = false;
    };
    AddedToolbar AddAddinToolbar(const char* name);
    // Shows or hides the add-in toolbar of show/hide command `id`; FALSE
    // when `id` is none.
    BOOL ToggleAddinToolbar(UINT id);
    // One accelerator more in the frame's table; FALSE when no table can
    // be made (the old one stays).
    BOOL AddAccelerator(BYTE virtFlags, WORD key, WORD command);
    // The dock state saved under `section` applied to the frame's bars.
    void LoadBarLayout(const char* section);

    // For add-in ids the command's status text; others as the language
    // table or the framework give them.
    void GetMessageString(UINT id, CString& message) const override;
    RECT GetPromptRect() const;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RecalcLayout(BOOL notify = TRUE) override;

private:
    int OnCreate(CREATESTRUCTA* cs);
    void OnChar(WPARAM character, LPARAM keyData);
    void OnClose();
    // Sends the accept event to the running command, closes its answer and
    // updates the views.
    void AcceptRunningCommand(CNuvexDoc& document);
    // The edit and the progress bar into their panes.
    void PositionPaneControls();

    CAddinHost& m_host;
    CMainStatusBar m_statusBar;
    CEdit m_commandLine;
    CProgressCtrl m_progress;
    CStatic m_prompt;
    CFont m_commandLineFont;
    std::vector<std::unique_ptr<CMainToolBar>> m_toolbars;
    struct ReleaseToolbarObject {
        void operator()(CToolbarObject* object) const;
    };
    std::vector<std::unique_ptr<CToolbarObject, ReleaseToolbarObject>> m_toolbarObjects;
};
