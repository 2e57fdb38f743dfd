// CMDIFrameWnd and CMDIChildWnd: the frame with its MDI client, the child
// frames inside it, menus per document type and command routing through
// the active child.
#include "platform/framework/mdi.h"

#include "platform/framework/app.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/document.h"
#include "platform/framework/ids.h"
#include "platform/framework/menu.h"
#include "platform/framework/view.h"
#include "platform/user/keyboard.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// CMDIFrameWnd ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_DESTROY()
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (!CFrameWnd::LoadFrame(resourceId, style, parent, context)) {
        return FALSE;
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(CREATESTRUCTA* cs, CCreateContext*)
{
    CMenu* windowMenu = nullptr;
    if (cs->hMenu != nullptr) {
        windowMenu = CMenu::FromHandle(GetWindowMenuPopup(cs->hMenu));
    }
    return CreateClient(cs, windowMenu);
}

BOOL CMDIFrameWnd::CreateClient(CREATESTRUCTA*, CMenu* windowMenu)
{
    AfxRegisterMdiClientClass();
    CLIENTCREATESTRUCT client{windowMenu != nullptr ? static_cast<HANDLE>(windowMenu->m_hMenu) : nullptr,
                              AFX_IDM_FIRST_MDICHILD};
    CRect rect;
    GetClientRect(&rect);
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, kMdiClientClass, nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                        rect.Width(), rect.Height(), m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                                        &client);
    return m_hWndMDIClient != nullptr ? TRUE : FALSE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU menuBar)
{
    const int count = ::GetMenuItemCount(menuBar);
    // The Window popup is the one before Help, or the last one, with an
    // item of the window command range.
    for (int position = count - 1; position >= 0; --position) {
        HMENU popup = ::GetSubMenu(menuBar, position);
        if (popup == nullptr) {
            continue;
        }
        const int items = ::GetMenuItemCount(popup);
        for (int i = 0; i < items; ++i) {
            const UINT id = ::GetMenuItemID(popup, i);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT) {
                return popup;
            }
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    if (maximized != nullptr) {
        *maximized = FALSE;
    }
    if (m_hWndMDIClient == nullptr) {
        return nullptr;
    }
    HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                         reinterpret_cast<LPARAM>(maximized)));
    CWnd* wnd = FromHandlePermanent(active);
    if (wnd == nullptr || !wnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
        return nullptr;
    }
    return static_cast<CMDIChildWnd*>(wnd);
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    if (child != nullptr) {
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
    }
}

void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
void CMDIFrameWnd::MDIMaximize(CWnd* child)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}
void CMDIFrameWnd::MDIRestore(CWnd* child)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
}
void CMDIFrameWnd::MDICascade(int type) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(type), 0); }
void CMDIFrameWnd::MDITile(int type) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(type), 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu)
{
    HMENU old = reinterpret_cast<HMENU>(
        ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu != nullptr ? frameMenu->m_hMenu : nullptr),
                       reinterpret_cast<LPARAM>(windowMenu != nullptr ? windowMenu->m_hMenu : nullptr)));
    return CMenu::FromHandle(old);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child != nullptr ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // 1. The active child: its view, its document and the child's own map.
    if (CMDIChildWnd* child = MDIGetActive()) {
        if (child->OnCmdMsg(id, code, pExtra, handlerInfo)) {
            return TRUE;
        }
    }
    // 2. The frame's map, then the application.
    return CFrameWnd::OnCmdMsg(id, code, pExtra, handlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    // The active child's document accelerators come first.
    if (CMDIChildWnd* child = MDIGetActive()) {
        if (child->PreTranslateMessage(msg)) {
            return TRUE;
        }
    }
    if (msg->message < WM_KEYDOWN || msg->message > 0x0108 || m_hAccelTable == nullptr) {
        return FALSE;
    }
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0 ? TRUE : FALSE;
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU alternate)
{
    HMENU menu = alternate;
    if (menu == nullptr) {
        CMDIChildWnd* child = MDIGetActive();
        menu = child != nullptr && child->m_hMenuShared != nullptr ? child->m_hMenuShared : m_hMenuDefault;
    }
    if (menu != nullptr && ::GetMenu(m_hWnd) != menu) {
        ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                       reinterpret_cast<LPARAM>(GetWindowMenuPopup(menu)));
        ::DrawMenuBar(m_hWnd);
    }
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0) {
        return;
    }
    CString title = m_strTitle;
    CMDIChildWnd* child = MDIGetActive();
    if (addToTitle && child != nullptr) {
        CString childTitle;
        child->GetWindowText(childTitle);
        if (!childTitle.IsEmpty()) {
            title = title.IsEmpty() ? childTitle : title + CString(" - ") + childTitle;
        }
    }
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
    }
}

void CMDIFrameWnd::RecalcLayout(BOOL notify) { CFrameWnd::RecalcLayout(notify); }

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The frame takes the focus back whenever it is activated (after a
    // dialog, a menu or another program's window): with a child open it
    // passes it to the client and so to the active child's view, where the
    // keys belong. Without one the frame keeps it.
    if (message == WM_SETFOCUS && m_hWndMDIClient != nullptr && ::IsWindowVisible(m_hWndMDIClient) &&
        MDIGetActive() != nullptr) {
        ::SetFocus(m_hWndMDIClient);
        return 0;
    }
    // Window commands that nobody handled reach the client, which knows the
    // children (Window menu entries activate them).
    if (message == WM_COMMAND && lParam == 0 && m_hWndMDIClient != nullptr) {
        const UINT id = LOWORD(wParam);
        if (id >= AFX_IDM_FIRST_MDICHILD) {
            UINT index = AFX_IDM_FIRST_MDICHILD;
            for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT), ++index) {
                if (index == id) {
                    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
                    return 0;
                }
            }
        }
    }
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT id)
{
    switch (id) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        return TRUE;
    case ID_WINDOW_CASCADE:
        MDICascade();
        return TRUE;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        return TRUE;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        return TRUE;
    default:
        return FALSE;
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* cmdUI) { cmdUI->Enable(MDIGetActive() != nullptr); }

void CMDIFrameWnd::OnWindowNew()
{
    // Another frame for the active document.
    CMDIChildWnd* active = MDIGetActive();
    CDocument* document = active != nullptr ? active->GetActiveDocument() : nullptr;
    if (document == nullptr || document->GetDocTemplate() == nullptr) {
        return;
    }
    CDocTemplate* docTemplate = document->GetDocTemplate();
    CFrameWnd* frame = docTemplate->CreateNewFrame(document, active);
    if (frame != nullptr) {
        docTemplate->InitialUpdateFrame(frame, document);
    }
}

void CMDIFrameWnd::OnDestroy()
{
    m_hWndMDIClient = nullptr;
    CFrameWnd::OnDestroy();
}

// CMDIChildWnd -------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_CHILDACTIVATE()
END_MESSAGE_MAP()

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = client != nullptr ? FromHandlePermanent(::GetParent(client)) : nullptr;
    if (frame == nullptr || !frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        return nullptr;
    }
    return static_cast<CMDIFrameWnd*>(frame);
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CMDIFrameWnd* parent,
                          CCreateContext* context)
{
    if (parent == nullptr) {
        CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
            parent = static_cast<CMDIFrameWnd*>(main);
        }
    }
    if (parent == nullptr || parent->m_hWndMDIClient == nullptr) {
        return FALSE;
    }
    m_strTitle = windowName != nullptr ? windowName : "";
    int x = rect.left;
    int y = rect.top;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        // A new child sits a step below and right of the last one.
        int count = 0;
        for (HWND child = ::GetWindow(parent->m_hWndMDIClient, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            ++count;
        }
        CRect area;
        ::GetClientRect(parent->m_hWndMDIClient, &area);
        x = y = (count % 8) * 20;
        width = std::max(area.Width() * 3 / 4, 100);
        height = std::max(area.Height() * 3 / 4, 80);
    }
    const DWORD childStyle = (style | WS_CHILD | WS_CLIPSIBLINGS) & ~WS_VISIBLE;
    if (!CreateEx(WS_EX_MDICHILD, className, windowName, childStyle, x, y, width, height, parent->m_hWndMDIClient,
                  nullptr, context)) {
        return FALSE;
    }
    if ((style & WS_VISIBLE) != 0) {
        ShowWindow(SW_SHOW);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDResource = resourceId;
    m_nIDHelp = resourceId;
    CString full;
    full.LoadString(resourceId);
    const int newline = full.Find('\n');
    const CString title = newline >= 0 ? full.Left(newline) : full;
    // The document type's menu and accelerators come from the template.
    if (context != nullptr && context->m_pNewDocTemplate != nullptr) {
        m_hMenuShared = context->m_pNewDocTemplate->m_hMenuShared;
    }
    CMDIFrameWnd* frame = nullptr;
    if (parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        frame = static_cast<CMDIFrameWnd*>(parent);
    }
    // Made hidden: InitialUpdateFrame shows and activates it.
    return Create(nullptr, title, (style | WS_CHILD) & ~WS_VISIBLE, rectDefault, frame, context);
}

void CMDIChildWnd::MDIActivate()
{
    HWND client = ::GetParent(m_hWnd);
    ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy()
{
    HWND client = ::GetParent(m_hWnd);
    ::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0); }
void CMDIChildWnd::MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0); }

BOOL CMDIChildWnd::DestroyWindow()
{
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    // The client hands activation on before the child goes.
    HWND hwnd = m_hWnd;
    MDIDestroy();
    return ::IsWindow(hwnd) ? CFrameWnd::DestroyWindow() : TRUE;
}

void CMDIChildWnd::ActivateFrame(int command)
{
    ShowWindow(command == -1 ? SW_SHOW : command);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* document = GetActiveDocument();
    CString title = m_strTitle;
    if (addToTitle && document != nullptr) {
        title = document->GetTitle();
        // Several windows on one document are numbered.
        int count = 0;
        int mine = 0;
        POSITION position = document->GetFirstViewPosition();
        while (position != nullptr) {
            CView* view = document->GetNextView(position);
            CFrameWnd* frame = view->GetParentFrame();
            if (frame != nullptr) {
                ++count;
                if (frame == this) {
                    mine = count;
                }
            }
        }
        if (count > 1 && mine > 0) {
            CString numbered;
            numbered.Format("%s:%d", title.GetString(), mine);
            title = numbered;
        }
    }
    CString current;
    GetWindowText(current);
    if (current != title) {
        SetWindowText(title);
    }
    if (CMDIFrameWnd* frame = GetMDIFrame()) {
        frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYDOWN || msg->message > 0x0108) {
        return FALSE;
    }
    CMDIFrameWnd* frame = GetMDIFrame();
    CDocument* document = GetActiveDocument();
    CDocTemplate* docTemplate = document != nullptr ? document->GetDocTemplate() : nullptr;
    if (frame == nullptr || docTemplate == nullptr || docTemplate->m_hAccelTable == nullptr) {
        return FALSE;
    }
    // The commands go to the MDI frame, which routes them to this child.
    return ::TranslateAcceleratorA(frame->m_hWnd, docTemplate->m_hAccelTable, msg) != 0 ? TRUE : FALSE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // What the client's children do by default: closing through the
    // client, and activation on focus.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        SendMessage(WM_CLOSE);
        return 0;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MAXIMIZE) {
        MDIMaximize();
        return 0;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) {
        MDIRestore();
        return 0;
    }
    if (message == WM_SETFOCUS) {
        HWND client = ::GetParent(m_hWnd);
        if (reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) != m_hWnd) {
            MDIActivate();
        }
    }
    return CFrameWnd::DefWindowProc(message, wParam, lParam);
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, CWnd*, CWnd*)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    CView* view = GetActiveView();
    if (activate) {
        if (view == nullptr) {
            CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
            if (pane != nullptr && pane->IsKindOf(RUNTIME_CLASS(CView))) {
                SetActiveView(static_cast<CView*>(pane), FALSE);
                view = static_cast<CView*>(pane);
            }
        }
        if (view != nullptr) {
            view->OnActivateView(TRUE, view, view);
        }
    } else if (view != nullptr) {
        view->OnActivateView(FALSE, view, view);
    }
    if (frame != nullptr) {
        // The document type's menu follows the active child.
        frame->OnUpdateFrameMenu(activate ? m_hMenuShared : nullptr);
        frame->OnUpdateFrameTitle(TRUE);
    }
}

int CMDIChildWnd::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message)
{
    const int answer = CFrameWnd::OnMouseActivate(desktop, hitTest, message);
    if (answer != static_cast<int>(MA_NOACTIVATE) && answer != static_cast<int>(MA_NOACTIVATEANDEAT)) {
        MDIActivate();
    }
    return answer;
}

void CMDIChildWnd::OnChildActivate()
{
    CFrameWnd::OnChildActivate();
    MDIActivate();
}
