// Frames, dialogs and property sheets that host owner-drawn menus: one
// class template, CNewMenuHost, over a framework base routes the menus'
// owner-draw messages to CNewMenu, initialises popups for the library and
// hot-tracks the window's own menu bar where the platform does not; the
// public classes are its instantiations. CNewMultiDocTemplate gives a
// document template a CNewMenu as its shared menu.
#pragma once

#include "host/menulook/new_menu.h"
#include "platform/framework/dialog.h"
#include "platform/framework/docking.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/mdi.h"
#include "platform/framework/propsheet.h"

// Message handling shared by every menu host (new_frames.cpp).
struct MenuHostState {
    CNewMenu windowMenu{nullptr};
    CNewMenu systemMenu{nullptr};
    BOOL inMenuLoop = FALSE;
    UINT_PTR hoverTimer = 0;
    int hotItem = -1;
};

enum class MenuHostKind { Frame, Dialog, MiniFrame };

// Handles a message for the host `window` before and after the base does;
// `callBase` runs the base's handling. Returns the message's result.
LRESULT HandleMenuHostMessage(MenuHostState& state, MenuHostKind kind, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam, LRESULT (*callBase)(void*, UINT, WPARAM, LPARAM), void* self);
// Fills the line just above the client area with the menu's background brush.
void FillMenuBarBackground(HWND window);
// Ends the host's state: the hover timer stops, the menus are let go.
void ReleaseMenuHost(MenuHostState& state, HWND window);

template <typename Base, MenuHostKind Kind = MenuHostKind::Frame>
class CNewMenuHost : public Base {
public:
    using Base::Base;
    ~CNewMenuHost() override { ReleaseMenuHost(m_host, this->m_hWnd); }

    CNewMenu& WindowMenu() { return m_host.windowMenu; }
    CNewMenu& SystemMenu() { return m_host.systemMenu; }
    int HotMenuItem() const { return m_host.hotItem; }
    UINT_PTR HoverTimer() const { return m_host.hoverTimer; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return HandleMenuHostMessage(m_host, Kind, this->m_hWnd, message, wParam, lParam, &CallBase, this);
    }

    MenuHostState m_host;

private:
    static LRESULT CallBase(void* self, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return static_cast<CNewMenuHost*>(self)->Base::WindowProc(message, wParam, lParam);
    }
};

class CNewMDIFrameWnd : public CNewMenuHost<CMDIFrameWnd> {
    DECLARE_DYNAMIC(CNewMDIFrameWnd)
public:
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* parent = nullptr, LPCSTR menuName = nullptr, DWORD exStyle = 0,
                CCreateContext* context = nullptr) override;
    // The frame from its resources; its menu becomes owner-drawn.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;
    // Dock bars of the library on the sides named; bars float in
    // CNewMiniDockFrameWnd frames.
    void EnableDocking(DWORD dockStyle);
    // Hides (0) or shows the frame's own menu bar; see the definition.
    BOOL ShowMenu(BOOL show);

    HMENU m_hSavedMenu = nullptr;
};

class CNewMDIChildWnd : public CNewMenuHost<CMDIChildWnd> {
    DECLARE_DYNCREATE(CNewMDIChildWnd)
};

class CNewFrameWnd : public CNewMenuHost<CFrameWnd> {
    DECLARE_DYNCREATE(CNewFrameWnd)
public:
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* parent = nullptr, LPCSTR menuName = nullptr, DWORD exStyle = 0,
                CCreateContext* context = nullptr) override;
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;
    void EnableDocking(DWORD dockStyle);
};

class CNewMiniFrameWnd : public CNewMenuHost<CMiniFrameWnd, MenuHostKind::MiniFrame> {
    DECLARE_DYNCREATE(CNewMiniFrameWnd)
};

// The floating frame class of the library's docking bars.
class CNewMiniDockFrameWnd : public CNewMenuHost<CMiniDockFrameWnd, MenuHostKind::MiniFrame> {
    DECLARE_DYNCREATE(CNewMiniDockFrameWnd)
};

class CNewDialog : public CNewMenuHost<CDialog, MenuHostKind::Dialog> {
    DECLARE_DYNAMIC(CNewDialog)
public:
    CNewDialog() = default;
    CNewDialog(LPCSTR templateName, CWnd* parent);
    CNewDialog(UINT templateId, CWnd* parent);
    // The base's initialisation, then the system menu and the window's
    // menu become owner-drawn.
    BOOL OnInitDialog() override;
    UINT m_nIDHelp = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CNewPropertyPage : public CNewMenuHost<CPropertyPage, MenuHostKind::Dialog> {
    DECLARE_DYNAMIC(CNewPropertyPage)
public:
    explicit CNewPropertyPage(UINT templateId, UINT captionId = 0, UINT headerTitleId = 0, UINT headerSubTitleId = 0)
        : CNewMenuHost(templateId, captionId, headerTitleId, headerSubTitleId)
    {
    }
    explicit CNewPropertyPage(LPCSTR templateName, UINT captionId = 0) : CNewMenuHost(templateName, captionId) {}
};

class CNewPropertySheet : public CNewMenuHost<CPropertySheet, MenuHostKind::Dialog> {
    DECLARE_DYNAMIC(CNewPropertySheet)
public:
    explicit CNewPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0)
        : CNewMenuHost(captionId, parent, selectPage)
    {
    }
    explicit CNewPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0)
        : CNewMenuHost(caption, parent, selectPage)
    {
    }
    BOOL OnInitDialog() override;
};

class CNewMultiDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CNewMultiDocTemplate)
public:
    CNewMultiDocTemplate(UINT resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                         const CRuntimeClass* viewClass);
    ~CNewMultiDocTemplate() override;
    // The base's loading; the shared menu then becomes a CNewMenu with the
    // tool-bar images of the same resource id.
    void LoadTemplate() override;

    CNewMenu m_NewMenuShared;
};
