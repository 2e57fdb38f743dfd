// CWnd: a framework object tied to a window handle. It creates windows with
// the framework's window procedure (or subclasses an existing window),
// keeps the permanent and temporary handle maps, dispatches messages through
// the message map (window messages cracked into typed handlers, commands and
// notifications routed through OnCmdMsg, control notifications reflected to
// the control first) and hands unhandled messages to the default procedure:
// the window's original procedure when it was subclassed, else
// DefWindowProc.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cmdtarget.h"
#include "platform/framework/cstring.h"
#include "platform/framework/geometry.h"
#include "platform/framework/wndmsg.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

class CDC;
class CFont;
class CFrameWnd;
class CMenu;
class CScrollBar;

// What WM_SIZEPARENT carries to each control bar of a frame: the part of the
// client area still free (the bar takes its share from it), the total size
// the bars take, and whether the bars stretch across the frame. `hDWP` is
// non-null when the bars should move, null when the frame only asks.
struct AFX_SIZEPARENTPARAMS {
    void* hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// Moves `hwnd` to `rect` (its parent's client coordinates) when the layout
// moves windows and the rectangle differs from where it is.
NUVEX_PLATFORM_API void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hwnd, LPCRECT rect);

class NUVEX_PLATFORM_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    // Destroys the window if this object still owns one.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Handle maps ------------------------------------------------------------
    // The object attached to `hwnd`, else a temporary object (deleted at the
    // next idle time); null for a null handle.
    static CWnd* FromHandle(HWND hwnd);
    // The object attached to `hwnd`, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Deletes the temporary objects of all handle maps (windows, menus,
    // device contexts, drawing objects).
    static void DeleteTempMap();
    // Ties this object to `hwnd` without changing its procedure; FALSE when
    // this object has a window or `hwnd` belongs to another object.
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Attaches and puts the framework's procedure in front of the window's
    // own, which then receives what the message map does not handle.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation ---------------------------------------------------------------
    // The class name may be null (the framework's default class). Returns
    // FALSE when PreCreateWindow or the window refuses.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        void* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    // Called after the window's last message; objects that live as long as
    // their window (frames, views) delete themselves here.
    virtual void PostNcDestroy();
    // Registers (once) and returns a window class with the framework's
    // procedure, of the given style, cursor, background and icon. The text
    // lives as long as the process.
    static LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                      HICON icon = nullptr);

    // Messages ---------------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message map; TRUE and the answer when handled.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being dispatched now.
    LRESULT Default();
    // WM_COMMAND: reflected to a control sender first, then OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflected to the sender first, then OnCmdMsg.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this control sent its parent, offered to the control
    // itself; TRUE when the parent must not handle it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers the notification message to the child `child` (if it has an
    // object); TRUE when the child took it.
    static BOOL ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Translates a message before dispatch; TRUE when it was consumed.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers `msg` to PreTranslateMessage of its window and its parents up
    // to and including `stop`.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    // The message being dispatched now by the framework's procedure.
    static const MSG* GetCurrentMessage();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Sends to every descendant (to the children only without `deep`).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE) const;

    // Relations --------------------------------------------------------------
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* parent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_pOwner = owner; }
    CWnd* GetTopLevelParent() const;
    // The first frame among the ancestors (not this window).
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
    CWnd* GetWindow(UINT relation) const;
    CWnd* GetNextWindow(UINT relation = GW_HWNDNEXT) const { return GetWindow(relation); }
    CWnd* GetTopWindow() const;
    CWnd* ChildWindowFromPoint(POINT client) const;
    static CWnd* WindowFromPoint(POINT screen);
    BOOL IsChild(const CWnd* other) const;
    static CWnd* GetFocus();
    static CWnd* GetCapture();
    static CWnd* GetActiveWindow();
    static CWnd* GetDesktopWindow();

    // State ------------------------------------------------------------------
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes then adds style bits; with `swpFlags`, SetWindowPos applies
    // the frame change. Returns whether the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    CWnd* SetFocus();
    CWnd* SetCapture();
    CWnd* SetActiveWindow();
    BOOL BringWindowToTop();
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int size) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL revert) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    void SetRedraw(BOOL redraw = TRUE);
    BOOL SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, CString& text) const;
    BOOL SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;

    // Geometry ---------------------------------------------------------------
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    // Centres the window over `alternateOwner`, its owner or parent, or the
    // screen.
    void CenterWindow(CWnd* alternateOwner = nullptr);

    // Painting ---------------------------------------------------------------
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // A temporary CDC of the client area; give it back with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    // Lays out the control bars among the children with ids in
    // [first, last] through WM_SIZEPARENT and puts `leftOver` in the rest.
    enum RepositionQuery : UINT { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = reposDefault, LPRECT rectParam = nullptr,
                        LPCRECT rectClient = nullptr, BOOL stretch = TRUE);

    // Brings the command-UI state of the child controls (buttons with
    // command ids) up to date through `target`.
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

    // The framework's window procedure.
    static LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Around a call that creates a window some other way (the dialog
    // manager): the first window created in between is attached to `wnd`
    // and subclassed. Unhook answers whether that happened. Pairs nest.
    static void HookWindowCreate(CWnd* wnd);
    static BOOL UnhookWindowCreate();

    // Default handlers, called by derived handlers to chain to the default
    // handling of the message being dispatched.
    int OnCreate(CREATESTRUCTA* cs);
    BOOL OnNcCreate(CREATESTRUCTA* cs);
    void OnDestroy();
    void OnNcDestroy();
    void OnPaint();
    void OnNcPaint();
    void OnClose();
    void OnCancelMode();
    void OnSysColorChange();
    void OnChildActivate();
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnRButtonDblClk(UINT flags, CPoint point);
    void OnMButtonDown(UINT flags, CPoint point);
    void OnMButtonUp(UINT flags, CPoint point);
    void OnMButtonDblClk(UINT flags, CPoint point);
    void OnNcMouseMove(UINT hitTest, CPoint point);
    void OnNcLButtonDown(UINT hitTest, CPoint point);
    void OnNcLButtonUp(UINT hitTest, CPoint point);
    void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    void OnNcRButtonDown(UINT hitTest, CPoint point);
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT character, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysKeyUp(UINT key, UINT repeat, UINT flags);
    void OnSysChar(UINT character, UINT repeat, UINT flags);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnCaptureChanged(CWnd* wnd);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnActivateApp(BOOL active, DWORD thread);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    void OnInitMenu(CMenu* menu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnMenuChar(UINT character, UINT flags, CMenu* menu);
    void OnDrawItem(int id, DRAWITEMSTRUCT* item);
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* item);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnShowWindow(BOOL show, UINT status);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnWindowPosChanged(WINDOWPOS* pos);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnContextMenu(CWnd* wnd, CPoint point);
    BOOL OnHelpInfo(HELPINFO* info);
    void OnSettingChange(UINT flags, LPCSTR section);
    void OnEnable(BOOL enable);
    void OnEnterMenuLoop(BOOL trackPopup);
    void OnExitMenuLoop(BOOL trackPopup);
    BOOL OnNcActivate(BOOL active);
    UINT OnGetDlgCode();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnParentNotify(UINT event, LPARAM lParam);
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);

protected:
    // The procedure a subclassed window had; null for windows made by the
    // framework's own classes.
    WNDPROC m_pfnSuper = nullptr;
    CWnd* m_pOwner = nullptr;

private:
    friend struct AfxWndState;
    BOOL DispatchWindowEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result);
};

// The names of the framework's standard window classes.
NUVEX_PLATFORM_API extern const char* const kAfxWnd;          // plain child windows
NUVEX_PLATFORM_API extern const char* const kAfxFrameOrView;  // frames and views

// Deletes the temporary objects of every handle map.
NUVEX_PLATFORM_API void AfxDeleteTempMaps();
