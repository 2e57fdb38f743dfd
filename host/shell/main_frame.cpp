// CMainFrame: creation of the bars and panes, the add-in command routing,
// the command line and the bar layout.
#include "host/shell/main_frame.h"

#include <vector>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/addin_host.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/dc.h"
#include "platform/framework/ids.h"
#include "platform/user/dialog.h"
#include "platform/user/keyboard.h"
#include "platform/user/winuser.h"

namespace {

// Window styles of the bars as the frame creates them.
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
constexpr const char* kStandardToolbarName = "Standard";
constexpr const char* kFirstCoordinates = "0.000 , 0.000";
constexpr const char* kFirstPrompt = "Command/Point";
// The command line's font: 8-point Arial.
constexpr int kCommandLinePointSize = 80;
constexpr const char* kCommandLineFace = "Arial";

WORD LowWord(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
WORD HighWord(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }

bool IsHostCommandId(UINT id) { return id >= kFirstHostCommandId && id < kEndHostCommandIds; }

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
    if (CMainFrameBase::WindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(cs)) == -1) {
        return -1;
    }
    SetWindowText(kMainFrameCaption);

    // The "Standard" toolbar.
    auto standard = std::make_unique<CMainToolBar>();
    if (!standard->CreateEx(this, TBSTYLE_FLAT, kToolbarStyle, CRect(0, 0, 0, 0), kStandardToolbarId) ||
        !standard->LoadToolBar(kMainFrameResource)) {
        return -1;
    }
    standard->SetWindowText(kStandardToolbarName);
    m_toolbars.push_back(std::move(standard));

    // The status bar: prompt, command line, coordinates, progress.
    const UINT indicators[] = {kPromptPaneId, kCommandLinePaneId, ID_SEPARATOR, kProgressPaneId};
    if (!m_statusBar.Create(this, kStatusBarStyle, kStatusBarId) ||
        !m_statusBar.SetIndicators(indicators, static_cast<int>(std::size(indicators)))) {
        return -1;
    }
    for (UINT id : {kPromptPaneId, kCommandLinePaneId, kProgressPaneId}) {
        const int index = m_statusBar.CommandToIndex(id);
        UINT paneId = 0;
        UINT style = 0;
        int width = 0;
        m_statusBar.GetPaneInfo(index, paneId, style, width);
        m_statusBar.SetPaneInfo(index, paneId, id == kPromptPaneId ? (style | SBPS_NOBORDERS) : style, kPaneWidth);
    }
    // The coordinates take the room the fixed panes leave.
    m_statusBar.SetPaneStyle(kCoordinatesPane, m_statusBar.GetPaneStyle(kCoordinatesPane) | SBPS_STRETCH);

    m_commandLineFont.DeleteObject();
    m_commandLineFont.CreatePointFont(kCommandLinePointSize, kCommandLineFace);
    if (!m_commandLine.Create(kCommandLineStyle, CRect(0, 0, 0, 0), &m_statusBar, kCommandLinePaneId)) {
        return -1;
    }
    m_commandLine.SetFont(&m_commandLineFont, TRUE);
    if (!m_progress.Create(kProgressStyle, CRect(0, 0, 0, 0), &m_statusBar, kProgressPaneId)) {
        return -1;
    }

    EnableDocking(CBRS_ALIGN_ANY);
    m_toolbars.front()->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(m_toolbars.front().get(), AFX_IDW_DOCKBAR_TOP);

    m_statusBar.SetPaneText(kCoordinatesPane, kFirstCoordinates);
    if (!m_prompt.Create("Command", kPromptStyle, CRect(kPromptLeft, 0, 160, 20), &m_statusBar, kPromptPaneId)) {
        return -1;
    }
    m_prompt.SetFont(m_statusBar.GetFont(), FALSE);
    SetPromptText(kFirstPrompt, 0, 0);
    return 0;
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
    // 0. The show/hide items of the add-ins' toolbars.
    if (code == 0 && ToggleAddinToolbar(id)) {
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
    const bool lineFocused = m_commandLine.GetSafeHwnd() != nullptr && ::GetFocus() == m_commandLine.GetSafeHwnd();
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
    // 4. Esc cancels the running command; F3 does nothing.
    if (lParam == 0 && id == kCancelCommandId) {
        if (CNuvexDoc* document = GetActiveNuvexDocument()) {
            document->CancelCommand();
        }
        return TRUE;
    }
    if (lParam == 0 && id == kNoActionCommandId) {
        return TRUE;
    }
    return CMainFrameBase::OnCommand(wParam, lParam);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    // The status bar's edit turns Enter into the frame's OK command.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_commandLine.GetSafeHwnd() != nullptr &&
        msg->hwnd == m_commandLine.GetSafeHwnd()) {
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
    default:
        break;
    }
    return CMainFrameBase::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnChar(WPARAM character, LPARAM keyData)
{
    if (m_commandLine.GetSafeHwnd() == nullptr) {
        return;
    }
    m_commandLine.SetFocus();
    m_commandLine.SendMessage(WM_CHAR, character, keyData);
}

void CMainFrame::OnClose()
{
    SaveBarState(kBarLayoutSection);
    CMainFrameBase::WindowProc(WM_CLOSE, 0, 0);
}

void CMainFrame::RecalcLayout(BOOL notify)
{
    CMainFrameBase::RecalcLayout(notify);
    PositionPaneControls();
}

void CMainFrame::PositionPaneControls()
{
    if (m_statusBar.GetSafeHwnd() == nullptr) {
        return;
    }
    auto place = [this](CWnd& control, UINT paneId) {
        if (control.GetSafeHwnd() == nullptr) {
            return;
        }
        RECT pane{};
        m_statusBar.GetItemRect(m_statusBar.CommandToIndex(paneId), &pane);
        control.MoveWindow(&pane, TRUE);
    };
    place(m_commandLine, kCommandLinePaneId);
    place(m_progress, kProgressPaneId);
}

void CMainFrame::SetCommandLineText(const std::string& text)
{
    if (m_commandLine.GetSafeHwnd() == nullptr) {
        return;
    }
    m_commandLine.SetSel(0, -1);
    m_commandLine.ReplaceSel(text.c_str(), FALSE);
}

std::string CMainFrame::GetCommandLineText() const
{
    if (m_commandLine.GetSafeHwnd() == nullptr) {
        return {};
    }
    CString text;
    m_commandLine.GetWindowText(text);
    return text.GetString();
}

void CMainFrame::FocusCommandLine()
{
    if (m_commandLine.GetSafeHwnd() != nullptr) {
        m_commandLine.SetFocus();
    }
}

void CMainFrame::SetPromptText(const std::string& text, size_t, size_t)
{
    if (m_prompt.GetSafeHwnd() == nullptr) {
        return;
    }
    m_prompt.SetWindowText(text.c_str());
    FitPromptPane();
    m_prompt.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

std::string CMainFrame::GetPromptText() const
{
    if (m_prompt.GetSafeHwnd() == nullptr) {
        return {};
    }
    CString text;
    m_prompt.GetWindowText(text);
    return text.GetString();
}

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
    if (m_prompt.GetSafeHwnd() == nullptr || m_statusBar.GetSafeHwnd() == nullptr) {
        return;
    }
    // The prompt is as wide as its text; its pane ends where it does, so
    // the command line follows right after it.
    CString text;
    m_prompt.GetWindowText(text);
    SIZE extent{0, 0};
    {
        CClientDC dc(&m_prompt);
        CFont* font = m_prompt.GetFont();
        HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font != nullptr ? static_cast<HGDIOBJ>(font->GetSafeHandle())
                                                                      : GetStockObject(DEFAULT_GUI_FONT));
        ::GetTextExtentPoint32A(dc.GetSafeHdc(), text.GetString(), text.GetLength(), &extent);
        ::SelectObject(dc.GetSafeHdc(), old);
    }
    RECT bar{};
    m_statusBar.GetClientRect(&bar);
    const int width = extent.cx + kPromptMargin;
    m_prompt.MoveWindow(kPromptLeft, 0, width, bar.bottom, TRUE);
    const int index = m_statusBar.CommandToIndex(kPromptPaneId);
    UINT id = 0;
    UINT style = 0;
    int paneWidth = 0;
    m_statusBar.GetPaneInfo(index, id, style, paneWidth);
    m_statusBar.SetPaneInfo(index, id, style, kPromptLeft + width);
    PositionPaneControls();
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
