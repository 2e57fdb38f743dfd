// Control bars: CControlBar, the base of the bars a frame lays out around
// its client area through WM_SIZEPARENT (fixed layout along one edge, or a
// dynamic layout that wraps to a given length), CToolBar (a toolbar control
// loaded from a toolbar resource and its bitmap) and CStatusBar (panes of
// indicator texts). Bars update their items' state from the command
// targets when the application is idle (WM_IDLEUPDATECMDUI).
#pragma once

#include <vector>

#include "platform/framework/cmdui.h"
#include "platform/framework/commonctrls.h"
#include "platform/framework/ids.h"
#include "platform/framework/wnd.h"
#include "platform/kernel/resource_records.h"

// Bar styles: the CBRS_ part of a bar's window style is kept as its bar
// style; the low word of the window style is the control's own style.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ORIENT_ANY = CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_NOALIGN = 0x00000000;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Layout modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;
constexpr DWORD LM_HORZ = 0x02;
constexpr DWORD LM_MRUWIDTH = 0x04;
constexpr DWORD LM_HORZDOCK = 0x08;
constexpr DWORD LM_VERTDOCK = 0x10;
constexpr DWORD LM_LENGTHY = 0x20;
constexpr DWORD LM_COMMIT = 0x40;


// Status-pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100; // SBT_NOBORDERS
constexpr UINT SBPS_POPOUT = 0x0200;    // SBT_POPOUT
constexpr UINT SBPS_OWNERDRAW = 0x1000; // SBT_OWNERDRAW
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

class CDockBar;

class NUVEX_PLATFORM_API CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;
    // The sides (CBRS_ALIGN_*) the bar may dock to; 0: it never docks or floats.
    void EnableDocking(DWORD style);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    // The dock bar holding the bar (a frame's side or a floating frame's), or null.
    CDockBar* m_pDockBar = nullptr;
    // The frame whose sides the bar docks to.
    CWnd* m_pDockSite = nullptr;
    // The side the bar was docked to last (where it goes back from floating).
    UINT m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;

    // The bar style (CBRS_*).
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    // The inner borders around the bar's items.
    void SetBorders(int left = 0, int top = 0, int right = 0, int bottom = 0);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || (m_dwStyle & CBRS_ORIENT_ANY) == 0; }
    BOOL IsVisible() const { return IsWindowVisible(); }

    // The size the bar wants: across the frame (`stretch`) along its edge,
    // its own length otherwise.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    // The size for `length` along the orientation `mode` names (LM_*); the
    // base form is the fixed layout.
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // Brings the items' state up to date through `target`'s update handlers.
    virtual void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) = 0;
    // The rectangle (client coordinates) of the items inside the borders and gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL horizontal) const;

    // Bars are not deleted with their window unless they say so.
    BOOL m_bAutoDelete = FALSE;

protected:
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Splits a creation style into the window style and the bar style.
    DWORD TakeBarStyle(DWORD style);
    // Takes the bar's share of the layout's free rectangle.
    void OnSizeParent(AFX_SIZEPARENTPARAMS* layout);

    // Dragging by the gripper: pressed at `m_dragStart` (screen).
    BOOL OnDragMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool m_dragging = false;
    POINT m_dragStart{};

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;
};

class NUVEX_PLATFORM_API CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = AFX_IDW_TOOLBAR);

    // The buttons of toolbar resource `id` (its command ids, 0 for
    // separators) with images from the bitmap resource of the same id.
    BOOL LoadToolBar(UINT id);
    BOOL LoadBitmap(UINT id);
    // Buttons for `ids` (null: `count` empty buttons), images in order.
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    BOOL SetButtonText(int index, LPCSTR text);
    CString GetButtonText(int index) const;
    int GetCount() const;
    // The toolbar control inside the bar (the bar itself).
    CToolBarCtrl& GetToolBarCtrl() const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) override;

private:
    // Lays the buttons out in rows no longer than `length` (wrap marks),
    // and answers the size of the result.
    CSize WrapButtons(int length, BOOL horizontal);
    // Stands for the bar's own window with the control's members; it never
    // owns the window.
    mutable CToolBarCtrl m_control;
    SIZE m_sizeImage{16, 15};
};

class NUVEX_PLATFORM_API CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT id = AFX_IDW_STATUS_BAR);

    // One pane per id, its text the string resource of the id (ID_SEPARATOR,
    // 0, gives an empty pane); null ids give `count` empty panes.
    BOOL SetIndicators(const UINT* ids, int count);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    CStatusBarCtrl& GetStatusBarCtrl() const;
    ~CStatusBar() override;

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) override;

private:
    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0; // of the text; the pane adds its edges
        CString text;
    };
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Gives the control its parts and texts after a change.
    void UpdateAllPanes(BOOL updateRects, BOOL updateText);
    std::vector<Pane> m_panes;
    mutable CStatusBarCtrl m_control;
};

// A bar of dialog controls made from a dialog template; its controls'
// commands and notifications go to the bar's owner.
class NUVEX_PLATFORM_API CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    // The template is the running program's dialog resource `templateId`
    // (or `templateName`), or one built in code.
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id);
    BOOL Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id);
    BOOL CreateIndirect(CWnd* parent, const DialogTemplate& dialogTemplate, UINT style, UINT id);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) override;

    // The size of the template's dialog.
    CSize m_sizeDefault;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL Adopt(HWND dialog, UINT style, UINT id);
};
