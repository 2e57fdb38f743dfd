// CFrameWnd: creation from resources, the active view, bar layout, command
// routing, idle command-UI updates, prompts and closing.
#include "platform/framework/framewnd.h"

#include "platform/framework/app.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/dc.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/document.h"
#include "platform/framework/ids.h"
#include "platform/framework/menu.h"
#include "platform/framework/view.h"
#include "platform/user/keyboard.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMessage)
    ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
END_MESSAGE_MAP()

namespace {

// A menu item brought up to date by the command route.
class CMenuItemCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        ::EnableMenuItem(Menu(), m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int check) override
    {
        ::CheckMenuItem(Menu(), m_nIndex, MF_BYPOSITION | (check != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetRadio(BOOL on) override
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(Menu(), m_nIndex, TRUE, &info);
        info.fType = on ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
        ::SetMenuItemInfoA(Menu(), m_nIndex, TRUE, &info);
        SetCheck(on ? 1 : 0);
    }
    void SetText(const char* text) override
    {
        const UINT state = ::GetMenuState(Menu(), m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        ::ModifyMenuA(Menu(), m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
    }

private:
    HMENU Menu() const { return m_pMenu != nullptr ? m_pMenu->m_hMenu : nullptr; }
};

} // namespace

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = kAfxFrameOrView;
    }
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    m_strTitle = windowName != nullptr ? windowName : "";
    HMENU menu = nullptr;
    if (menuName != nullptr) {
        CMenu loaded;
        if (UserIsIntName(menuName) && loaded.LoadMenu(static_cast<UINT>(reinterpret_cast<uintptr_t>(menuName)))) {
            menu = loaded.Detach();
        }
    }
    int x = rect.left;
    int y = rect.top;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        x = y = width = height = CW_USEDEFAULT;
    }
    if (!CreateEx(exStyle, className, windowName, style, x, y, width, height,
                  parent != nullptr ? parent->m_hWnd : nullptr, menu, context)) {
        if (menu != nullptr) {
            ::DestroyMenu(menu);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDResource = resourceId;
    m_nIDHelp = resourceId;
    CString full;
    full.LoadString(resourceId);
    const int newline = full.Find('\n');
    const CString title = newline >= 0 ? full.Left(newline) : full;
    m_hAccelTable = AfxLoadAcceleratorTable(resourceId);
    // Child frames have no menu of their own.
    LPCSTR menuName = (style & WS_CHILD) != 0 ? nullptr : UserIntName(static_cast<WORD>(resourceId));
    if (!Create(nullptr, title, style, rectDefault, parent, menuName, 0, context)) {
        return FALSE;
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    // Frames made for a document get their views' first update from
    // InitialUpdateFrame; others now.
    if (context == nullptr) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    }
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs)
{
    return OnCreateHelper(cs, static_cast<CCreateContext*>(cs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(CREATESTRUCTA* cs, CCreateContext* context)
{
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    if (!OnCreateClient(cs, context)) {
        return -1;
    }
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context)
{
    if (context != nullptr && context->m_pNewViewClass != nullptr) {
        return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr ? TRUE : FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (context == nullptr || context->m_pNewViewClass == nullptr) {
        return nullptr;
    }
    CObject* object = context->m_pNewViewClass->CreateObject();
    if (object == nullptr) {
        return nullptr;
    }
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(object);
    // A view that fails deletes itself with its window.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context)) {
        return nullptr;
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, BOOL makeVisible)
{
    CView* view = GetActiveView();
    if (view == nullptr) {
        CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView))) {
            view = static_cast<CView*>(pane);
            SetActiveView(view, FALSE);
        }
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    if (makeVisible) {
        ActivateFrame();
        if (view != nullptr) {
            view->OnActivateView(TRUE, view, view);
        }
    }
    (void)document;
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int command)
{
    if (command == -1) {
        command = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    }
    ShowWindow(command);
    BringWindowToTop();
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old) {
        return;
    }
    m_pViewActive = view;
    if (notify && old != nullptr) {
        old->OnActivateView(FALSE, view, old);
    }
    if (notify && view != nullptr) {
        view->OnActivateView(TRUE, view, old);
    }
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0) {
        return;
    }
    CDocument* document = GetActiveDocument();
    CString title = m_strTitle;
    if (addToTitle && document != nullptr && !document->GetTitle().IsEmpty()) {
        if (title.IsEmpty()) {
            title = document->GetTitle();
        } else if ((GetStyle() & FWS_PREFIXTITLE) != 0) {
            title = document->GetTitle() + CString(" - ") + title;
        } else {
            title = title + CString(" - ") + document->GetTitle();
        }
    }
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
    }
}

void CFrameWnd::OnUpdateFrameMenu(HMENU) {}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_hWnd == nullptr) {
        return;
    }
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL notify) { m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0); }

void CFrameWnd::GetMessageString(UINT id, CString& message) const
{
    CString full;
    AfxLoadString(id, full);
    const int newline = full.Find('\n');
    message = newline >= 0 ? full.Left(newline) : full;
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCSTR text) { SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(text)); }

void CFrameWnd::SetMessageText(UINT id) { SendMessage(WM_SETMESSAGESTRING, id, 0); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT previous = m_nIDLastMessage;
    const auto id = static_cast<UINT>(wParam);
    CString text;
    if (lParam != 0) {
        text = reinterpret_cast<LPCSTR>(lParam);
    } else if (id != 0) {
        GetMessageString(id, text);
    }
    if (CWnd* bar = GetMessageBar()) {
        bar->SetWindowText(text);
    }
    m_nIDLastMessage = id;
    m_nIDTracking = id;
    return previous;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    return OnSetMessageString(wParam != 0 ? wParam : AFX_IDS_IDLEMESSAGE, lParam);
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    // The prompt of the item under the mouse, or "Ready" when the menu
    // closes; popups and separators show nothing.
    UINT id = 0;
    if (flags == 0xFFFF && menu == nullptr) {
        id = AFX_IDS_IDLEMESSAGE;
    } else if ((flags & (MF_POPUP | MF_SEPARATOR)) == 0) {
        id = item;
    }
    SetMessageText(id);
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // 1. The active view, which asks its document (and its template).
    if (CView* view = GetActiveView()) {
        if (view->OnCmdMsg(id, code, pExtra, handlerInfo)) {
            return TRUE;
        }
    }
    // 2. The frame's own map.
    if (CWnd::OnCmdMsg(id, code, pExtra, handlerInfo)) {
        return TRUE;
    }
    // 3. The application.
    if (RoutesToApplication()) {
        if (CWinApp* app = AfxGetApp()) {
            return app->OnCmdMsg(id, code, pExtra, handlerInfo);
        }
    }
    return FALSE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) { return CWnd::OnCommand(wParam, lParam); }

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYDOWN || msg->message > 0x0108) {
        return FALSE;
    }
    // The active document's template's accelerators, else the frame's.
    HACCEL table = m_hAccelTable;
    if (CDocument* document = GetActiveDocument()) {
        if (CDocTemplate* docTemplate = document->GetDocTemplate(); docTemplate != nullptr &&
                                                                   docTemplate->m_hAccelTable != nullptr) {
            table = docTemplate->m_hAccelTable;
        }
    }
    return table != nullptr && ::TranslateAcceleratorA(m_hWnd, table, msg) != 0 ? TRUE : FALSE;
}

void CFrameWnd::UpdateMenuState(CMenu* popup)
{
    if (popup == nullptr) {
        return;
    }
    CMenuItemCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = popup->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) {
            continue;  // separators and submenus
        }
        // System commands (0xF000 and up) are never disabled for want of a
        // handler.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // An update may add or remove items (the recent-file list).
        state.m_nIndexMax = popup->GetMenuItemCount();
    }
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (!sysMenu) {
        UpdateMenuState(popup);
    }
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if ((m_nIdleFlags & (idleLayout | idleNotify)) != 0) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
    }
    if ((m_nIdleFlags & idleTitle) != 0) {
        m_nIdleFlags &= ~idleTitle;
        OnUpdateFrameTitle(TRUE);
    }
    if ((m_nIdleFlags & idleMenu) != 0) {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(nullptr);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUIMessage(WPARAM, LPARAM)
{
    OnIdleUpdateCmdUI();
    return 0;
}

LRESULT CFrameWnd::OnRecalcParent(WPARAM, LPARAM)
{
    DelayRecalcLayout();
    return 0;
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc)
{
    // The view covers the client area; erasing under it only flickers.
    if (GetActiveView() != nullptr) {
        return TRUE;
    }
    return CWnd::OnEraseBkgnd(dc);
}

void CFrameWnd::OnSetFocus(CWnd* old)
{
    if (CView* view = GetActiveView()) {
        view->SetFocus();
        return;
    }
    CWnd::OnSetFocus(old);
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CWnd::OnActivate(state, other, minimized);
    CView* view = GetActiveView();
    if (view != nullptr && state != WA_INACTIVE && !minimized) {
        view->OnActivateFrame(state, this);
    }
}

void CFrameWnd::OnClose()
{
    // 1. The document of this frame's own view may refuse (it asks whether
    //    to save). An MDI frame has no view of its own: every document is
    //    asked below.
    CView* ownView = GetActiveView();
    CDocument* document = ownView != nullptr ? ownView->GetDocument() : nullptr;
    if (document != nullptr && !document->CanCloseFrame(this)) {
        return;
    }
    // 2. The main window closes every document first.
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        if (document == nullptr && !app->SaveAllModified()) {
            return;
        }
        // Closing documents must not ask again: their frames go quietly.
        app->CloseAllDocuments(FALSE);
        if (app->m_pMainWnd == nullptr || !::IsWindow(m_hWnd)) {
            return;  // closing the documents took this frame with them
        }
        DestroyWindow();
        return;
    }
    // 3. The last frame of a document closes the document.
    if (document != nullptr && document->m_bAutoDelete) {
        bool otherFrame = false;
        POSITION position = document->GetFirstViewPosition();
        while (position != nullptr) {
            CView* view = document->GetNextView(position);
            if (view->GetParentFrame() != this) {
                otherFrame = true;
            }
        }
        if (!otherFrame) {
            document->OnCloseDocument();
            return;
        }
        document->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    // The window destroys its menu with it: give back a shared one first.
    if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault) {
        ::SetMenu(m_hWnd, m_hMenuDefault);
    }
    if (m_hAccelTable != nullptr) {
        ::DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = nullptr;
    }
    DestroyFloatingFrames();
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    // The main window's end ends the message loop.
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CWnd* bar = GetDescendantWindow(static_cast<int>(id), TRUE);
    if (bar == nullptr) {
        return FALSE;
    }
    bar->ShowWindow(bar->IsWindowVisible() ? SW_HIDE : SW_SHOWNA);
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CWnd* bar = GetDescendantWindow(static_cast<int>(cmdUI->m_nID), TRUE);
    if (bar == nullptr) {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::OnHelp()
{
    if (CWinApp* app = AfxGetApp()) {
        app->WinHelp(m_nIDHelp != 0 ? 0x20000 + m_nIDHelp : 0, 0x0001);
    }
}

void CFrameWnd::OnContextHelp()
{
    if (CWinApp* app = AfxGetApp()) {
        app->m_bHelpMode = TRUE;
    }
}

void CFrameWnd::OnEnterIdleLayout() { RecalcLayout(); }

// The frames around a window ---------------------------------------------------------

CFrameWnd* CWnd::GetParentFrame() const
{
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            return static_cast<CFrameWnd*>(wnd);
        }
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* frame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                                                          : GetParentFrame();
    while (frame != nullptr) {
        CFrameWnd* outer = frame->GetParentFrame();
        if (outer == nullptr) {
            break;
        }
        frame = outer;
    }
    return frame;
}
