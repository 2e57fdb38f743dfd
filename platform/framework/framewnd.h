// CFrameWnd: a top-level (or MDI child) window that holds control bars
// around one view, lays them out through WM_SIZEPARENT, routes commands to
// its active view first, keeps the command-UI state of its bars and menus
// current, shows command prompts in its status bar and closes its
// documents when it closes.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/list.h"
#include "platform/framework/wnd.h"

class CCmdUI;
class CControlBar;
class CMenu;
class CDocument;
class CView;
struct CCreateContext;

// Frame styles (in the window style's low word, which frames leave free).
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;
constexpr DWORD FWS_SNAPTOBARS = 0x00002000;

class NUVEX_PLATFORM_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    static const RECT rectDefault;

    // Creates the frame with the menu `menuName` (a resource id through
    // MAKEINTRESOURCE, or null) and makes the view of `context`.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                        DWORD exStyle = 0, CCreateContext* context = nullptr);
    // Creates the frame from resource `resourceId`: its menu, accelerators
    // and title (the first part of the string of that id).
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Views and documents ----------------------------------------------------------
    virtual CView* GetActiveView() const { return m_pViewActive; }
    // Makes `view` the active view: the old one and the new one are told
    // (OnActivateView) and, with `notify`, the new one gets the focus.
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view and document are active: itself for a plain
    // frame, the active child for an MDI frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual void ActivateFrame(int command = -1);
    virtual void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    virtual void OnUpdateFrameMenu(HMENU alternate);
    CWnd* CreateView(CCreateContext* context, UINT id = 0xE900);
    void SetTitle(LPCSTR title) { m_strTitle = title; }
    CString GetTitle() const { return m_strTitle; }
    BOOL IsFrameWnd() const { return TRUE; }

    // Layout --------------------------------------------------------------------------
    // Lays the bars out and gives the view the rest.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Lays out again at the next idle time.
    void DelayRecalcLayout(BOOL notify = TRUE);
    BOOL m_bInRecalcLayout = FALSE;

    // Control bars and docking: declared here and defined with the control
    // bars, which keep this list of the frame's bars (docked, floating and
    // plain) and the sides that accept docking.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // Destroys the floating frames of this frame's bars (done as it is destroyed).
    void DestroyFloatingFrames();
    CControlBar* GetControlBar(UINT id);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    void EnableDocking(DWORD dockStyle);
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = 0x1000 /* CBRS_ALIGN_TOP */);
    void SaveBarState(LPCSTR profileName) const;
    void LoadBarState(LPCSTR profileName);
    CList<CControlBar*, CControlBar*> m_listControlBars;
    DWORD m_dwDockStyle = 0;
    const CRuntimeClass* m_pFloatingFrameClass = nullptr;
    int m_nIdleFlags = 0;
    enum IdleFlags : int { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

    // Prompts ---------------------------------------------------------------------------
    // The status-bar prompt of command `id`: the first part of its string.
    virtual void GetMessageString(UINT id, CString& message) const;
    // Shows a prompt in the status bar (the message-bar child).
    void SetMessageText(LPCSTR text);
    void SetMessageText(UINT id);
    virtual CWnd* GetMessageBar();
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;

    // Commands and messages ---------------------------------------------------------
    // Active view first (which asks its document), then the frame, then
    // the application.
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override;
    // Brings menus, bars and controls up to date at idle time.
    virtual void OnIdleUpdateCmdUI();
    // Updates the items of `popup` through the command route.
    void UpdateMenuState(CMenu* popup);
    BOOL m_bAutoMenuEnable = TRUE;
    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDHelp = 0;

    // The view menu's bar items (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR and
    // other bar ids): the child window with the command's id is shown or
    // hidden, and its item checked while it is visible.
    BOOL OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    // Whether commands that nobody on the frame's route handled go on to
    // the application (MDI children leave that to their MDI frame).
    virtual BOOL RoutesToApplication() const { return TRUE; }

protected:
    int OnCreate(CREATESTRUCTA* cs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSetFocus(CWnd* old);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUIMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
    void OnEnterIdleLayout();
    void OnHelp();
    void OnContextHelp();
    // Makes the client (the view, or the MDI client) from the context.
    virtual BOOL OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context);
    int OnCreateHelper(CREATESTRUCTA* cs, CCreateContext* context);

    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    UINT m_nIDResource = 0;

    DECLARE_MESSAGE_MAP()
};
