// CMainFrame: creation of the bars and panes, the add-in command routing,
// the command line and the bar layout.
#include "host/shell/main_frame.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "host/menulook/new_menu.h"
#include "host/shell/addin_host.h"
#include "host/shell/help_router.h"
#include "host/shell/language_table.h"
#include "host/shell/menu_translation.h"
#include "platform/framework/app.h"
#include "platform/framework/cmdui.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/dc.h"
#include "platform/framework/ids.h"
#include "platform/user/dialog.h"
#include "platform/user/keyboard.h"
#include "platform/user/winuser.h"

namespace {

// Window styles of the bars as the frame creates them.
constexpr DWORD kMenuBarStyle = 0x50402014;
constexpr DWORD kToolbarStyle = 0x50402834;
constexpr DWORD kStatusBarStyle = 0x50008200;
constexpr DWORD kCommandLineStyle = 0x50010000;
constexpr DWORD kProgressStyle = 0x50000001;
constexpr DWORD kPromptStyle = 0x50000020;
// The panes 101, 102 and 104 are this wide before the prompt is fitted.
constexpr int kPaneWidth = 100;
// Room between the prompt's text and the command line.
constexpr int kPromptMargin = 15;
constexpr int kPromptLeft = 5;
constexpr int kPromptRight = 160;
constexpr int kPromptBottom = 20;
constexpr const char* kStandardToolbarName = "Standard";
constexpr const char* kFirstCoordinates = "0.000 , 0.000";
constexpr const char* kFirstPrompt = "Command/Point";
// The command line's font: 8-point Arial.
constexpr int kCommandLinePointSize = 80;
constexpr const char* kCommandLineFace = "Arial";
// The MENU text of the "&View" popup.
constexpr LONG kViewMenuText = 2;

WORD LowWord(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
WORD HighWord(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

bool IsHostCommandId(UINT id) { return id >= kFirstHostCommandId && id < kEndHostCommandIds; }

// The popup of `menu` whose item text is `caption`, or null.
HMENU FindPopupByText(HMENU menu, const char* caption)
{
    const int count = menu != nullptr ? ::GetMenuItemCount(menu) : 0;
    for (int position = 0; position < count; ++position) {
        if (GetMenuItemCaption(menu, static_cast<UINT>(position)) == caption) {
            if (HMENU popup = ::GetSubMenu(menu, position)) {
                return popup;
            }
        }
    }
    return nullptr;
}

// The main menu's "&View" > "&Toolbars" popup (in the chosen language).
HMENU FindToolbarsMenu(CAddinHost& host)
{
    CLanguageTable& texts = host.LanguageTable();
    HMENU view = FindPopupByText(host.GetMainMenu(), texts.GetMenuText(kViewMenuText, "&View"));
    return FindPopupByText(view, texts.GetMenuText(kToolbarsMenuText, "&Toolbars"));
}

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, NUVEX_MAIN_FRAME_BASE)

CMainFrame::CMainFrame(CAddinHost& host) : m_host(host) {}

CMainFrame::~CMainFrame()
{
    // The host asks the frame for the active document: not once it is gone.
    if (m_host.GetMainFrame() == this) {
        m_host.SetMainFrame(nullptr);
    }
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CMainFrameBase::PreCreateWindow(cs)) {
        return FALSE;
    }
    // No add-to-title style: documents never change the caption.
    cs.style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE;
    cs.lpszName = kMainFrameCaption;
    return TRUE;
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs)
{
    // 1. The frame window itself.
    if (CMainFrameBase::WindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(cs)) == -1) {
        return -1;
    }
    SetWindowText(kMainFrameCaption);

    // 2. The frame's own menu in the chosen language, before the menu bar
    //    takes it.
    if (m_hMenuDefault != nullptr) {
        ApplyMenuLanguage(m_host.LanguageTable(), m_hMenuDefault);
    }

    // 3. The menu bar.
    if (!m_menuBar.Create(this, kMenuBarStyle, kMenuBarControlId)) {
        return -1;
    }

    // 4. The "Standard" toolbar and its scripting object.
    CMainToolBar* standard = CreateToolbar(kStandardToolbarId);
    if (standard == nullptr || !standard->LoadToolBar(kMainFrameResource)) {
        return -1;
    }
    standard->SetWindowText(kStandardToolbarName);

    // 5-7. The status bar: prompt, command line, coordinates, progress.
    const UINT separator[] = {ID_SEPARATOR};
    if (!m_statusBar.Create(this, kStatusBarStyle, kStatusBarId) || !m_statusBar.SetIndicators(separator, 1)) {
        return -1;
    }
    m_statusBar.AddIndicator(0, kPromptPaneId);
    m_statusBar.AddIndicator(1, kCommandLinePaneId);
    m_statusBar.AddIndicator(3, kProgressPaneId);
    for (UINT id : {kPromptPaneId, kCommandLinePaneId, kProgressPaneId}) {
        const int index = m_statusBar.CommandToIndex(id);
        m_statusBar.SetPaneWidth(index, kPaneWidth);
        const UINT style = m_statusBar.GetPaneStyle(index);
        m_statusBar.SetPaneStyle(index, id == kPromptPaneId ? (style | SBPS_NOBORDERS) : style);
    }

    // 8-9. The command line and the progress bar, children of the status
    //      bar, which owns them once they are attached.
    m_commandLineFont.DeleteObject();
    m_commandLineFont.CreatePointFont(kCommandLinePointSize, kCommandLineFace);
    auto commandLine = std::make_unique<CEdit>();
    if (!commandLine->Create(kCommandLineStyle, CRect(0, 0, 0, 0), &m_statusBar, kCommandLinePaneId)) {
        return -1;
    }
    commandLine->SetFont(&m_commandLineFont, TRUE);
    auto progress = std::make_unique<CProgressCtrl>();
    if (!progress->Create(kProgressStyle, CRect(0, 0, 0, 0), &m_statusBar, kProgressPaneId)) {
        return -1;
    }

    // 10. Docking: the menu bar, then the "Standard" toolbar, at the top.
    m_menuBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_menuBar, AFX_IDW_DOCKBAR_TOP);
    standard->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(standard, AFX_IDW_DOCKBAR_TOP);

    // 11-12. The coordinates and the prompt.
    m_statusBar.SetPaneText(kCoordinatesPane, kFirstCoordinates);
    if (!m_prompt.Create("Command", kPromptStyle, CRect(kPromptLeft, 0, kPromptRight, kPromptBottom), &m_statusBar,
                         kPromptPaneId)) {
        return -1;
    }
    m_prompt.SetText(kFirstPrompt, TRUE);

    // 13. The status bar takes the command line and the progress bar.
    m_commandLine = commandLine.get();
    m_progress = progress.get();
    if (m_statusBar.AddControl(commandLine.get(), kCommandLinePaneId, TRUE)) {
        commandLine.release();
    }
    if (m_statusBar.AddControl(progress.get(), kProgressPaneId, TRUE)) {
        progress.release();
    }
    if (commandLine || progress) {
        m_commandLine = nullptr;
        m_progress = nullptr;
        return -1;
    }

    // 14-15. The command line behind the prompt.
    FitPromptPane();
    EnableDocking(CBRS_ALIGN_ANY);
    return 0;
}

CMainToolBar* CMainFrame::CreateToolbar(UINT id)
{
    auto toolbar = std::make_unique<CMainToolBar>();
    if (!toolbar->CreateEx(this, TBSTYLE_FLAT, kToolbarStyle, CRect(0, 0, 0, 0), id)) {
        return nullptr;
    }
    CMainToolBar* made = toolbar.get();
    m_toolbars.push_back(std::move(toolbar));
    m_toolbarObjects.push_back(ComPtr<CToolbarObject>::Adopt(new CToolbarObject(*made, m_host)));
    return made;
}

CToolbarObject* CMainFrame::FindToolbar(const char* name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; i < m_toolbars.size(); ++i) {
        CString text;
        if (m_toolbars[i]->GetSafeHwnd() != nullptr) {
            m_toolbars[i]->GetWindowText(text);
        }
        if (text == name) {
            return ToolbarObject(i);
        }
    }
    return nullptr;
}

CToolbarObject* CMainFrame::AddToolbar(const char* name)
{
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    // 1-2. The toolbar k (k >= 1) has the id 9000 + k, docked at the top.
    const auto id = static_cast<UINT>(kToolbarCommandBase + m_toolbars.size());
    CMainToolBar* toolbar = CreateToolbar(id);
    if (toolbar == nullptr) {
        return nullptr;
    }
    toolbar->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(toolbar, AFX_IDW_DOCKBAR_TOP);

    // 3. A name no other toolbar has: the name, then with 1, 2, ...
    const std::string base = name != nullptr ? name : "";
    std::string text = base;
    for (int counter = 1; FindToolbar(text.c_str()) != nullptr; ++counter) {
        text = base + std::to_string(counter);
    }
    toolbar->SetWindowText(text.c_str());

    // 4. Its show/hide item in "&View" > "&Toolbars" of the main menu.
    CToolbarObject* object = m_toolbarObjects.back().Get();
    HMENU toolbars = FindToolbarsMenu(m_host);
    if (toolbars == nullptr || !AppendMenuCommand(toolbars, id, text.c_str())) {
        return nullptr;
    }
    return object;
}

CNuvexDoc* CMainFrame::GetActiveNuvexDocument()
{
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    CFrameWnd* active = GetActiveFrame();
    if (active == nullptr || active == this) {
        return nullptr;
    }
    return dynamic_cast<CNuvexDoc*>(active->GetActiveDocument());
}

BOOL CMainFrame::StartDocumentCommand(WORD index, BOOL flag)
{
    if (index < kMaxHostCommand) {
        if (CNuvexDoc* document = GetActiveNuvexDocument()) {
            document->StartCommand(index, flag);
        }
    }
    return TRUE;
}

void CMainFrame::AcceptRunningCommand(CNuvexDoc& document)
{
    LONG result = command_result::kNotHandled;
    document.SendCommandEvent(command_event::kAccept, nullptr, 1, 0, &result);
    document.EndCommandLevel(command_event::kAccept, result, nullptr, TRUE);
    document.UpdateAllViews(nullptr);
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LowWord(wParam);
    const WORD code = HighWord(wParam);
    // 0. Shift+F1 starts context help; in context-help mode a command from
    //    a menu, a button or a key asks for its help instead of running
    //    (the command line's Enter is no command of its own).
    if (id == kContextHelpCommandId && code <= 1) {
        OnContextHelp();
        return TRUE;
    }
    if (ContextHelpFlag() && code <= 1 && id != IDOK && id != 0) {
        WinHelp(id, kHelpContext);
        return TRUE;
    }
    // 1. Add-in commands from menus, toolbars (code 0) and accelerators
    // (code 1): the running command's, or a checked one's, toggles off.
    if (IsHostCommandId(id) && code <= 1) {
        const auto index = static_cast<WORD>(id - kFirstHostCommandId);
        CNuvexDoc* document = GetActiveNuvexDocument();
        const CAddinCommandEntry* entry = m_host.CommandEntry(index);
        if (document != nullptr && document->GetActiveCommandId() == index) {
            StartDocumentCommand(index, FALSE);
        } else if (entry != nullptr && entry->toggle == 1) {
            StartDocumentCommand(index, FALSE);
        } else {
            StartDocumentCommand(index, TRUE);
        }
        return CMainFrameBase::OnCommand(wParam, lParam);
    }
    // 2. The command line: Enter submits it, an empty one accepts.
    const bool lineFocused = m_commandLine != nullptr && m_commandLine->GetSafeHwnd() != nullptr &&
                             ::GetFocus() == m_commandLine->GetSafeHwnd();
    if (wParam == IDOK && lParam == 0) {
        CNuvexDoc* document = GetActiveNuvexDocument();
        if (document == nullptr) {
            return CMainFrameBase::OnCommand(wParam, lParam);
        }
        const std::string text = lineFocused ? GetCommandLineText() : std::string();
        if (!text.empty()) {
            document->ProcessTypedInput(text, TRUE);
            return CMainFrameBase::OnCommand(wParam, lParam);
        }
        AcceptRunningCommand(*document);
        return TRUE;
    }
    // 3. A change of the line: a trailing blank submits the rest, anything
    // else lets the parser follow the typing.
    if (code == EN_UPDATE && lineFocused) {
        std::string text = GetCommandLineText();
        if (CNuvexDoc* document = GetActiveNuvexDocument()) {
            if (!text.empty() && text.back() == ' ') {
                text.pop_back();
                document->ProcessTypedInput(text, TRUE);
            } else {
                document->ProcessTypedInput(text, FALSE);
            }
        }
        return CMainFrameBase::OnCommand(wParam, lParam);
    }
    // 4. Esc cancels the running command.
    if (lParam == 0 && id == kCancelCommandId) {
        if (CNuvexDoc* document = GetActiveNuvexDocument()) {
            document->CancelCommand();
        }
        return TRUE;
    }
    // 5. F3 is the view's zoom window; without a view it does nothing.
    if (lParam == 0 && id == kNoActionCommandId) {
        CMainFrameBase::OnCommand(wParam, lParam);
        return TRUE;
    }
    return CMainFrameBase::OnCommand(wParam, lParam);
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // The show/hide commands of the add-ins' toolbars (the "Standard" one
    // has the framework's toolbar command).
    const UINT last = kToolbarCommandBase + static_cast<UINT>(m_toolbars.size());
    if (id > kToolbarCommandBase && id < last) {
        if (code == CN_UPDATE_COMMAND_UI && extra != nullptr) {
            auto* update = static_cast<CCmdUI*>(extra);
            update->m_bContinueRouting = FALSE;
            OnUpdateControlBarMenu(update);
            const BOOL handled = update->m_bContinueRouting ? FALSE : TRUE;
            update->m_bContinueRouting = FALSE;
            return handled;
        }
        if (code == CN_COMMAND) {
            if (handlerInfo == nullptr) {
                OnBarCheck(id);
            }
            return TRUE;
        }
    }
    return CMainFrameBase::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    // The menu bar's keys first: Alt, F10 and the mnemonics.
    if (m_menuBar.GetSafeHwnd() != nullptr && m_menuBar.TranslateFrameMessage(msg)) {
        return TRUE;
    }
    // The status bar's edit turns Enter into the frame's OK command.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_commandLine != nullptr &&
        m_commandLine->GetSafeHwnd() != nullptr && msg->hwnd == m_commandLine->GetSafeHwnd()) {
        SendMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    return CMainFrameBase::PreTranslateMessage(msg);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_CHAR:
        OnChar(wParam, lParam);
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_HELP:
        if (OnHelpInfo()) {
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnToolTipText(reinterpret_cast<NMHDR*>(lParam), &result)) {
            return result;
        }
        break;
    }
    default:
        break;
    }
    return CMainFrameBase::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnChar(WPARAM character, LPARAM keyData)
{
    if (m_commandLine == nullptr || m_commandLine->GetSafeHwnd() == nullptr) {
        return;
    }
    m_commandLine->SetFocus();
    m_commandLine->SendMessage(WM_CHAR, character, keyData);
}

void CMainFrame::OnClose()
{
    SaveBarState(kBarLayoutSection);
    CMainFrameBase::WindowProc(WM_CLOSE, 0, 0);
}

void CMainFrame::RecalcLayout(BOOL notify)
{
    CMainFrameBase::RecalcLayout(notify);
    m_statusBar.PositionControls();
}

void CMainFrame::SetCommandLineText(const std::string& text)
{
    if (m_commandLine == nullptr || m_commandLine->GetSafeHwnd() == nullptr) {
        return;
    }
    m_commandLine->SetSel(0, -1);
    m_commandLine->ReplaceSel(text.c_str(), FALSE);
}

std::string CMainFrame::GetCommandLineText() const
{
    if (m_commandLine == nullptr || m_commandLine->GetSafeHwnd() == nullptr) {
        return {};
    }
    CString text;
    m_commandLine->GetWindowText(text);
    return text.GetString();
}

void CMainFrame::FocusCommandLine()
{
    if (m_commandLine != nullptr && m_commandLine->GetSafeHwnd() != nullptr) {
        m_commandLine->SetFocus();
    }
}

void CMainFrame::SetPromptText(const std::string& text, size_t markFirst, size_t markCount)
{
    if (m_prompt.GetSafeHwnd() == nullptr) {
        return;
    }
    // The text fits the control; the marked alternative takes its colour
    // before the control is painted.
    m_prompt.m_autoSize = FALSE;
    m_prompt.SetText(text, TRUE);
    m_prompt.SetCharAttributes(kPromptMarkColor, static_cast<int>(markFirst), static_cast<int>(markCount));
    m_prompt.m_autoSize = TRUE;
    m_prompt.FitToText();
    FitPromptPane();
}

std::string CMainFrame::GetPromptText() const { return m_prompt.Text(); }

RECT CMainFrame::GetPromptRect() const
{
    RECT rect{};
    if (m_prompt.GetSafeHwnd() != nullptr) {
        m_prompt.GetWindowRect(&rect);
        m_statusBar.ScreenToClient(&rect);
    }
    return rect;
}

void CMainFrame::FitPromptPane()
{
    if (m_prompt.GetSafeHwnd() == nullptr || m_statusBar.GetSafeHwnd() == nullptr || m_commandLine == nullptr ||
        m_commandLine->GetSafeHwnd() == nullptr) {
        return;
    }
    // The edit keeps its width and height and starts 15 pixels after the
    // prompt; pane 0 ends where the prompt does, measured within the bar
    // (so that a frame away from the screen's left edge lays out alike).
    RECT prompt = GetPromptRect();
    RECT edit{};
    m_commandLine->GetWindowRect(&edit);
    m_statusBar.ScreenToClient(&edit);
    const int width = edit.right - edit.left;
    const int left = (prompt.right - prompt.left) + kPromptMargin;
    m_commandLine->MoveWindow(left, edit.top, width, edit.bottom - edit.top, TRUE);
    m_statusBar.SetPaneWidth(m_statusBar.CommandToIndex(kPromptPaneId), prompt.right);
    m_statusBar.PositionControls();
}

void CMainFrame::ShowCoordinates3(double x, double y, double z)
{
    CString text;
    text.Format("%.10lf , %.10lf , %.3lf", x, y, z);
    m_statusBar.SetPaneText(kCoordinatesPane, text);
}

void CMainFrame::ClearCoordinates()
{
    if (m_statusBar.GetSafeHwnd() != nullptr) {
        m_statusBar.SetPaneText(kCoordinatesPane, "");
    }
}

std::string CMainFrame::GetToolTipText(UINT id) const
{
    if (IsHostCommandId(id)) {
        const CAddinCommandEntry* entry =
            const_cast<CAddinHost&>(m_host).CommandEntry(static_cast<int32_t>(id - kFirstHostCommandId));
        return entry != nullptr ? entry->toolTip : std::string();
    }
    std::string text = const_cast<CAddinHost&>(m_host).LanguageTable().GetTooltipText(static_cast<LONG>(id), "");
    if (!text.empty()) {
        return text;
    }
    // The framework's own tip: the second line of the id's string.
    CString prompt;
    if (id != 0 && prompt.LoadString(id)) {
        const std::string whole = prompt.GetString();
        const size_t line = whole.find('\n');
        if (line != std::string::npos) {
            return whole.substr(line + 1);
        }
    }
    return {};
}

BOOL CMainFrame::OnToolTipText(NMHDR* header, LRESULT* result)
{
    if (header == nullptr || (header->code != TTN_NEEDTEXTA && header->code != TTN_NEEDTEXTW)) {
        return FALSE;
    }
    // The tool is the sender; a tool named by its window gives its id.
    UINT id = static_cast<UINT>(header->idFrom);
    const UINT flags = header->code == TTN_NEEDTEXTA ? reinterpret_cast<NMTTDISPINFOA*>(header)->uFlags
                                                     : reinterpret_cast<NMTTDISPINFOW*>(header)->uFlags;
    if ((flags & TTF_IDISHWND) != 0) {
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    }
    const std::string text = GetToolTipText(id);
    if (header->code == TTN_NEEDTEXTA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        std::snprintf(info->szText, sizeof info->szText, "%s", text.c_str());
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const size_t count = std::min(text.size(), std::size(info->szText) - 1);
        for (size_t i = 0; i < count; ++i) {
            info->szText[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
        }
        info->szText[count] = L'\0';
        info->lpszText = info->szText;
    }
    *result = 0;
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

BOOL& CMainFrame::ContextHelpFlag()
{
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_bHelpMode : m_contextHelp;
}

void CMainFrame::OnContextHelp()
{
    ContextHelpFlag() = TRUE;
    CMainFrameBase::OnContextHelp();
}

void CMainFrame::WinHelp(DWORD_PTR data, UINT command)
{
    RouteHelp(m_host, GetActiveNuvexDocument(), ContextHelpFlag(), data, command);
}

BOOL CMainFrame::OnHelpInfo()
{
    // F1 while context help waits for its click only ends the mode.
    BOOL& flag = ContextHelpFlag();
    if (flag) {
        flag = FALSE;
        return TRUE;
    }
    RouteHelp(m_host, GetActiveNuvexDocument(), flag, 0, kHelpContext);
    return TRUE;
}

void CMainFrame::SetCommandButtonState(UINT id, int state)
{
    for (const std::unique_ptr<CMainToolBar>& toolbar : m_toolbars) {
        if (toolbar->GetSafeHwnd() != nullptr && toolbar->CommandToIndex(id) >= 0) {
            toolbar->GetToolBarCtrl().SetState(static_cast<int>(id), static_cast<UINT>(state));
        }
    }
}

BOOL CMainFrame::AddAccelerator(BYTE virtFlags, WORD key, WORD command)
{
    const int count = m_hAccelTable != nullptr ? CopyAcceleratorTableA(m_hAccelTable, nullptr, 0) : 0;
    std::vector<ACCEL> entries(static_cast<size_t>(count) + 1);
    if (count > 0) {
        CopyAcceleratorTableA(m_hAccelTable, entries.data(), count);
    }
    entries.back() = ACCEL{virtFlags, key, command};
    HACCEL table = CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
    if (table == nullptr) {
        return FALSE;
    }
    if (m_hAccelTable != nullptr) {
        DestroyAcceleratorTable(m_hAccelTable);
    }
    m_hAccelTable = table;
    return TRUE;
}

void CMainFrame::LoadBarLayout(const char* section)
{
    LoadBarState(section);
    for (const std::unique_ptr<CMainToolBar>& toolbar : m_toolbars) {
        if (toolbar->GetSafeHwnd() != nullptr) {
            toolbar->SendMessage(TB_AUTOSIZE);
        }
    }
    DelayRecalcLayout(TRUE);
}

void CMainFrame::GetMessageString(UINT id, CString& message) const
{
    if (IsHostCommandId(id)) {
        if (const CAddinCommandEntry* entry = m_host.CommandEntry(static_cast<int32_t>(id - kFirstHostCommandId))) {
            message = entry->statusText.c_str();
        }
        return;
    }
    const char* text = m_host.LanguageTable().GetStatusHelpText(static_cast<LONG>(id), "");
    if (text[0] != '\0') {
        message = text;
        return;
    }
    CMainFrameBase::GetMessageString(id, message);
}
