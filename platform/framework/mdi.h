// The multiple-document frame: CMDIFrameWnd holds an MDI client window whose
// children are CMDIChildWnd frames, one per document window. The client
// ("MDIClient") keeps which child is active, activates, cascades and tiles
// its children, and puts the active document type's menu on the frame.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/framewnd.h"

// What WM_MDICREATE carries.
struct MDICREATESTRUCTA {
    LPCSTR szClass;
    LPCSTR szTitle;
    HANDLE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam;
};

// The client's creation parameter.
struct CLIENTCREATESTRUCT {
    HANDLE hWindowMenu;
    UINT idFirstChild;
};

// WM_MDITILE and WM_MDICASCADE flags.
constexpr UINT MDITILE_VERTICAL = 0x0000;
constexpr UINT MDITILE_HORIZONTAL = 0x0001;
constexpr UINT MDITILE_SKIPDISABLED = 0x0002;

// The MDI client's window class name.
NUVEX_PLATFORM_API extern const char* const kMdiClientClass;
// Registers the client class when the window system does not know it.
NUVEX_PLATFORM_API void AfxRegisterMdiClientClass();

class CMDIChildWnd;

class NUVEX_PLATFORM_API CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() = default;

    HWND m_hWndMDIClient = nullptr;

    // Makes the MDI client; `windowMenu` is the popup that lists the
    // children (may be null).
    virtual BOOL CreateClient(CREATESTRUCTA* cs, CMenu* windowMenu);
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;

    // The active child, or null; `maximized` tells whether it fills the client.
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDINext();
    void MDIPrev();
    void MDIMaximize(CWnd* child);
    void MDIRestore(CWnd* child);
    void MDICascade(int type = 0);
    void MDITile(int type = MDITILE_HORIZONTAL);
    void MDIIconArrange();
    // Puts `frameMenu` on the frame (null keeps it); answers the old menu.
    CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);
    // The Window popup of the frame's menu (the one before the last, as
    // the standard menus have it), or null.
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);

    CFrameWnd* GetActiveFrame() override;
    // The active child first (its view, document and own map), then the
    // frame and the application.
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Shows the active child's document-type menu, or the frame's own.
    void OnUpdateFrameMenu(HMENU alternate) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL OnMDIWindowCmd(UINT id);
    void OnWindowNew();
    void OnUpdateMDIWindowCmd(CCmdUI* cmdUI);

protected:
    BOOL OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context) override;
    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

class NUVEX_PLATFORM_API CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() = default;

    // Creates the child inside `parent`'s MDI client (the application's
    // main window when null).
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CMDIFrameWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const;

    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    BOOL DestroyWindow() override;
    void ActivateFrame(int command = -1) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Commands nobody on the child's route handled go to the MDI frame,
    // which asks the application.
    BOOL RoutesToApplication() const override { return FALSE; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The document type's menu shown while this child is active.
    HMENU m_hMenuShared = nullptr;

protected:
    void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    void OnChildActivate();

    DECLARE_MESSAGE_MAP()
};
