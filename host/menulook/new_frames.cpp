// Menu-aware frames, dialogs, property sheets and the document template.
//
// Message precedence of a menu host (HandleMenuHostMessage):
//   1. Owner-draw measuring: the library finds the item's menu first; the
//      base handles what it does not take. Items of a CNewMenu draw
//      through their menu.
//   2. Mnemonics of CNewMenu popups.
//   3. Popup initialisation after the base's command-UI update.
//   4. Menu loops, hover timer and the hot item of the window's own bar.
//   5. Creation, destruction, colour changes and the bar background line.
//   6. Everything else goes to the base.
#include "host/menulook/new_frames.h"

#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_dock_bar.h"
#include "host/menulook/new_menu_images.h"

IMPLEMENT_DYNAMIC(CNewMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CNewMDIChildWnd, CMDIChildWnd)
IMPLEMENT_DYNCREATE(CNewFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CNewMiniFrameWnd, CMiniFrameWnd)
IMPLEMENT_DYNCREATE(CNewMiniDockFrameWnd, CMiniDockFrameWnd)
IMPLEMENT_DYNAMIC(CNewDialog, CDialog)
IMPLEMENT_DYNAMIC(CNewPropertyPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CNewPropertySheet, CPropertySheet)
IMPLEMENT_DYNAMIC(CNewMultiDocTemplate, CMultiDocTemplate)

namespace {

constexpr UINT kHoverPeriodMs = 100;

struct DockSide {
    UINT id;
    DWORD style;
};
// The sides in the order they are made, with their dock bars' styles.
constexpr DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, 0x2800},
    {AFX_IDW_DOCKBAR_BOTTOM, 0x8200},
    {AFX_IDW_DOCKBAR_LEFT, 0x1400},
    {AFX_IDW_DOCKBAR_RIGHT, 0x4100},
};

void KillHoverTimer(MenuHostState& state, HWND window)
{
    if (state.hoverTimer != 0) {
        ::KillTimer(window, state.hoverTimer);
        state.hoverTimer = 0;
    }
}

void RedrawHot(MenuHostState& state, HWND window, UINT normalState)
{
    if (state.hotItem != -1) {
        RedrawMenuBarItem(window, ::GetMenu(window), state.hotItem, normalState);
        state.hotItem = -1;
    }
}

// Hot tracking of the window's own menu bar where the platform does not
// track it itself.
void TrackOwnMenuBar(MenuHostState& state, MenuHostKind kind, HWND window, LRESULT hit, LPARAM lParam)
{
    const MenuLibraryState& library = MenuLibrary();
    if (library.osStyle >= kOsStyle2000 && !library.remoteSession) {
        return;
    }
    const bool focused = ::IsChild(window, ::GetFocus()) != FALSE;
    UINT normal = 0;
    UINT hot = ODS_HOTLIGHT;
    if (!focused) {
        if (library.osStyle == kOsStyle95 || library.osStyle == kOsStyleNt4) {
            hot = 0;
        } else {
            normal = ODS_INACTIVE;
            hot = ODS_INACTIVE | ODS_HOTLIGHT;
        }
    }
    (void)kind;
    HMENU menu = ::GetMenu(window);
    const bool newMenu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu)) != nullptr;
    if (!state.inMenuLoop && hit == HTMENU && newMenu) {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int item = MenuItemFromPoint(window, menu, point);
        if (item != -1) {
            if (item != state.hotItem) {
                RedrawHot(state, window, normal);
                if (RedrawMenuBarItem(window, menu, item, hot)) {
                    if (state.hoverTimer == 0) {
                        state.hoverTimer = SetUnusedTimer(window, kHoverPeriodMs);
                    }
                    state.hotItem = item;
                }
                return;
            }
            if (library.lastRedrawnBarItem != 0) {
                return;
            }
            if (!RedrawMenuBarItem(window, menu, item, hot)) {
                return;
            }
            if (state.hoverTimer == 0) {
                state.hoverTimer = SetUnusedTimer(window, kHoverPeriodMs);
            }
            state.hotItem = item;
            return;
        }
    }
    RedrawHot(state, window, normal);
    KillHoverTimer(state, window);
}

} // namespace

void FillMenuBarBackground(HWND window)
{
    MENUINFO info{};
    info.cbSize = kMenuInfoSize32;
    info.fMask = MIM_BACKGROUND;
    HMENU menu = ::GetMenu(window);
    if (menu == nullptr || ::GetMenuInfo(menu, &info) == FALSE || info.hbrBack == nullptr) {
        return;
    }
    ScopedWindowDC dc(window, ScopedWindowDC::Kind::Window);
    if (dc.Get() == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    OffsetRect(&client, -frame.left, -frame.top);
    const RECT line{client.left, client.top - 1, client.right, client.top};
    UnrealizeObject(info.hbrBack);
    POINT old{};
    SetBrushOrgEx(dc.Get(), 0, 0, &old);
    FillRect(dc.Get(), &line, info.hbrBack);
    SetBrushOrgEx(dc.Get(), old.x, old.y, nullptr);
}

void ReleaseMenuHost(MenuHostState& state, HWND window)
{
    if (window != nullptr && ::IsWindow(window) != FALSE) {
        KillHoverTimer(state, window);
        // The live window keeps its system menu.
        state.systemMenu.Detach();
    }
    state.systemMenu.DestroyMenu();
    state.windowMenu.DestroyMenu();
}

LRESULT HandleMenuHostMessage(MenuHostState& state, MenuHostKind kind, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam, LRESULT (*callBase)(void*, UINT, WPARAM, LPARAM), void* self)
{
    auto base = [&] { return callBase(self, message, wParam, lParam); };
    switch (message) {
    case WM_MEASUREITEM: {
        if (MeasureNewMenuItem(window, wParam, lParam)) {
            return TRUE;
        }
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item != nullptr && item->CtlType == ODT_MENU) {
            HMENU tracked = CMenu::GetTrackingMenu(window);
            if ((tracked != nullptr && CMenu::FromHandlePermanent(tracked) != nullptr) || ::GetMenu(window) != nullptr) {
                return base();
            }
            return 0;
        }
        return base();
    }
    case WM_DRAWITEM: return DrawNewMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ? TRUE : base();
    case WM_MENUCHAR: {
        auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam)));
        if (menu != nullptr) {
            return HookMenuPopup(LOWORD(wParam), HIWORD(wParam), menu);
        }
        return base();
    }
    case WM_INITMENUPOPUP: {
        const LRESULT result = base();
        OnMenuInitPopup(window, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_ENTERMENULOOP:
        state.inMenuLoop = TRUE;
        KillHoverTimer(state, window);
        RedrawHot(state, window, 0);
        return base();
    case WM_EXITMENULOOP: state.inMenuLoop = FALSE; return base();
    case WM_TIMER: {
        const LRESULT result = base();
        if (wParam == state.hoverTimer && state.hoverTimer != 0) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
        }
        return result;
    }
    case WM_CREATE: {
        const LRESULT result = base();
        if (result == -1) {
            return -1;
        }
        state.systemMenu.DestroyMenu();
        state.systemMenu.Attach(::GetSystemMenu(window, FALSE));
        return 0;
    }
    case WM_NCHITTEST: {
        const LRESULT hit = base();
        TrackOwnMenuBar(state, kind, window, hit, lParam);
        return hit;
    }
    case WM_DESTROY:
        KillHoverTimer(state, window);
        return base();
    case WM_SYSCOLORCHANGE: {
        const LRESULT result = base();
        CNewMenu::RefreshMenuCaches();
        SetMenuBackground(state.windowMenu.GetSafeHmenu());
        return result;
    }
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ACTIVATEAPP:
    case WM_ACTIVATE: {
        const LRESULT result = base();
        if (::IsWindow(window) != FALSE) {
            FillMenuBarBackground(window);
        }
        return result;
    }
    default: return base();
    }
}

// Frames -----------------------------------------------------------------------------------------------

namespace {

// Creates the frame through the base's Create with the menu loaded into
// the window menu member (a menu name that loads nothing fails).
template <typename Frame, typename Base>
BOOL CreateLookFrame(Frame& frame, CNewMenu& menu, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                     CWnd* parent, LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    if (menuName != nullptr) {
        menu.DestroyMenu();
        if (!menu.LoadMenu(menuName) || menu.GetSafeHmenu() == nullptr) {
            return FALSE;
        }
    }
    if (!frame.Base::Create(className, windowName, style, rect, parent, nullptr, exStyle, context)) {
        return FALSE;
    }
    if (menu.GetSafeHmenu() != nullptr) {
        ::SetMenu(frame.GetSafeHwnd(), menu.GetSafeHmenu());
        frame.m_hMenuDefault = menu.GetSafeHmenu();
        SetMenuBackground(menu.GetSafeHmenu());
    }
    return TRUE;
}

// The frame's menu, loaded by the framework, becomes the window menu member
// (when it is not a CNewMenu already) and shows the tool bar's images of
// the frame's resource id.
void AdoptFrameMenu(CFrameWnd& frame, CNewMenu& menu, UINT resourceId)
{
    HMENU loaded = ::GetMenu(frame.GetSafeHwnd());
    if (loaded != nullptr && CMenu::FromHandlePermanent(loaded) == nullptr) {
        menu.DestroyMenu();
        if (menu.LoadMenu(loaded)) {
            SetMenuBackground(loaded);
        }
    }
    if (menu.GetSafeHmenu() != nullptr) {
        frame.m_hMenuDefault = menu.GetSafeHmenu();
        menu.LoadToolBar(resourceId);
    }
}

void EnableLookDocking(CFrameWnd& frame, DWORD dockStyle)
{
    frame.m_pFloatingFrameClass = RUNTIME_CLASS(CNewMiniDockFrameWnd);
    frame.m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY;
    for (const DockSide& side : kDockSides) {
        if ((dockStyle & side.style & CBRS_ALIGN_ANY) == 0 || frame.GetControlBar(side.id) != nullptr ||
            AfxGetDockBar(&frame, side.id) != nullptr) {
            continue;
        }
        auto* dock = new CNewDockBar();
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(&frame, side.style & CBRS_ALIGN_ANY, side.id)) {
            // No exception leaves a window procedure: the side stays without
            // a dock bar.
            delete dock;
            continue;
        }
        dock->SetBarStyle(side.style | CBRS_BORDER_ANY);
    }
}

} // namespace

BOOL CNewMDIFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                             LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    return CreateLookFrame<CNewMDIFrameWnd, CMDIFrameWnd>(*this, m_host.windowMenu, className, windowName, style, rect,
                                                          parent, menuName, exStyle, context);
}

BOOL CNewMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (!CNewMenuHost::LoadFrame(resourceId, style, parent, context)) {
        return FALSE;
    }
    AdoptFrameMenu(*this, m_host.windowMenu, resourceId);
    return TRUE;
}

void CNewMDIFrameWnd::EnableDocking(DWORD dockStyle) { EnableLookDocking(*this, dockStyle); }

BOOL CNewMDIFrameWnd::ShowMenu(BOOL show)
{
    if (!show) {
        // Hiding again keeps the menu saved the first time: taking the
        // (now null) menu of the frame would lose it for good.
        HMENU current = ::GetMenu(m_hWnd);
        if (current == nullptr) {
            return FALSE;
        }
        m_hSavedMenu = current;
        ::SetMenu(m_hWnd, nullptr);
        ::DrawMenuBar(m_hWnd);
        return TRUE;
    }
    if (m_hSavedMenu == nullptr) {
        return TRUE;
    }
    ::SetMenu(m_hWnd, m_hSavedMenu);
    ::DrawMenuBar(m_hWnd);
    m_hSavedMenu = nullptr;
    return FALSE;
}

BOOL CNewFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    return CreateLookFrame<CNewFrameWnd, CFrameWnd>(*this, m_host.windowMenu, className, windowName, style, rect, parent,
                                                    menuName, exStyle, context);
}

BOOL CNewFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (!CNewMenuHost::LoadFrame(resourceId, style, parent, context)) {
        return FALSE;
    }
    AdoptFrameMenu(*this, m_host.windowMenu, resourceId);
    return TRUE;
}

void CNewFrameWnd::EnableDocking(DWORD dockStyle) { EnableLookDocking(*this, dockStyle); }

// Dialogs -------------------------------------------------------------------------------------------------

CNewDialog::CNewDialog(LPCSTR templateName, CWnd* parent) : CNewMenuHost(templateName, parent)
{
    if (reinterpret_cast<uintptr_t>(templateName) <= 0xFFFF) {
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(templateName) & 0xFFFF);
    }
}

CNewDialog::CNewDialog(UINT templateId, CWnd* parent) : CNewMenuHost(templateId, parent), m_nIDHelp(templateId) {}

namespace {

void AdoptDialogMenus(MenuHostState& state, HWND window)
{
    HMENU system = ::GetSystemMenu(window, FALSE);
    if (state.systemMenu.GetSafeHmenu() != system) {
        if (IsMenu(state.systemMenu.GetSafeHmenu()) != FALSE) {
            state.systemMenu.DestroyMenu();
        }
        state.systemMenu.Detach();
        state.systemMenu.Attach(system);
    }
    HMENU own = ::GetMenu(window);
    if (own != nullptr && CMenu::FromHandlePermanent(own) == nullptr) {
        state.windowMenu.DestroyMenu();
        if (state.windowMenu.LoadMenu(own)) {
            SetMenuBackground(own);
        }
    }
}

} // namespace

BOOL CNewDialog::OnInitDialog()
{
    const BOOL result = CNewMenuHost::OnInitDialog();
    AdoptDialogMenus(m_host, m_hWnd);
    return result;
}

LRESULT CNewDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITMENUPOPUP && HIWORD(lParam) == 0) {
        // The window menu's popups get the command-UI update a frame gives.
        CMenu* popup = CMenu::FromHandle(reinterpret_cast<HMENU>(wParam));
        if (popup != nullptr) {
            const int count = static_cast<int>(popup->GetMenuItemCount());
            for (int i = 0; i < count; ++i) {
                const UINT id = popup->GetMenuItemID(i);
                if (id == 0 || id == static_cast<UINT>(-1)) {
                    continue;
                }
                CCmdUI state;
                state.m_nID = id;
                state.m_pMenu = popup;
                state.m_nIndex = static_cast<UINT>(i);
                state.m_nIndexMax = static_cast<UINT>(count);
                state.DoUpdate(this, id < 0xF000);
                const int now = static_cast<int>(popup->GetMenuItemCount());
                if (now < count) {
                    i -= count - now;
                }
            }
        }
    }
    return CNewMenuHost::WindowProc(message, wParam, lParam);
}

BOOL CNewPropertySheet::OnInitDialog()
{
    const BOOL result = CNewMenuHost::OnInitDialog();
    AdoptDialogMenus(m_host, m_hWnd);
    return result;
}

// The document template ------------------------------------------------------------------------------------

CNewMultiDocTemplate::CNewMultiDocTemplate(UINT resourceId, const CRuntimeClass* documentClass,
                                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : CMultiDocTemplate(resourceId, documentClass, frameClass, viewClass)
{
}

CNewMultiDocTemplate::~CNewMultiDocTemplate()
{
    // The member destroys the shared menu, once.
    if (m_hMenuShared != nullptr && m_hMenuShared == m_NewMenuShared.GetSafeHmenu()) {
        m_hMenuShared = nullptr;
    }
}

void CNewMultiDocTemplate::LoadTemplate()
{
    CMultiDocTemplate::LoadTemplate();
    if (m_nIDResource != 0 && m_hMenuShared != nullptr && m_NewMenuShared.GetSafeHmenu() == nullptr) {
        if (m_NewMenuShared.LoadMenu(m_hMenuShared)) {
            m_NewMenuShared.LoadToolBar(m_nIDResource);
        }
    }
}
