// CNewMenuBar: a dockable control bar that takes the place of a frame's
// own menu bar. It takes the frame's menu (the frame then has none) and
// shows each top-level item as a button painted by the owner-drawn item
// drawing of CNewMenu; with a maximised MDI child it adds the child's icon
// in front and minimise, restore and close buttons at the end. It wraps
// its buttons into rows, docks on any side or floats, opens the buttons'
// popups by mouse and keyboard (Alt, F10, arrows, mnemonics, Esc) and
// switches between neighbouring popups while one is open.
//
// The frame holds the bar as a member, creates it in its WM_CREATE and
// calls TranslateFrameMessage first in its PreTranslateMessage.
#pragma once

#include <memory>
#include <vector>

#include "host/menulook/new_menu.h"
#include "platform/framework/controlbar.h"
#include "platform/framework/geometry.h"

// The menu bar's control id (it hides when the frame hosts an in-place item).
inline constexpr UINT kMenuBarId = 0xE81A;

// Bits of a bar item's state beyond the owner-draw states.
inline constexpr UINT kItemSelected = 0x0001;
inline constexpr UINT kItemChecked = 0x0008;
inline constexpr UINT kItemHot = 0x0040;
inline constexpr UINT kItemNoAccel = 0x0100;
inline constexpr UINT kItemTracking = 0x0800;
inline constexpr UINT kItemRightJustify = 0x1000;
inline constexpr UINT kItemWrap = 0x2000;
inline constexpr UINT kItemVertical = 0x8000;
inline constexpr UINT kItemTrackingBits = 0x8841;

class CMenuBarItem : public CObject {
public:
    // The rectangle as the bar shows it: transposed in a vertical bar.
    virtual void GetRect(CRect& out, BOOL vertical) const;
    virtual BOOL HitTest(POINT point, BOOL vertical) const;
    virtual void Draw(HWND frame, HDC dc) = 0;
    virtual HMENU GetSubMenu(HWND frame) = 0;
    virtual UINT GetID(HWND frame) = 0;

    CRect m_rect;     // horizontal layout coordinates
    BOOL m_keep = FALSE;
    UINT m_state = 0;
};

// One top-level item of the bar's menu.
class CMenuBarButton : public CMenuBarItem {
public:
    CMenuBarButton(HMENU menu, int position) : m_menu(menu), m_position(position) {}
    void Draw(HWND frame, HDC dc) override;
    HMENU GetSubMenu(HWND frame) override;
    UINT GetID(HWND frame) override;

    HMENU m_menu;
    int m_position;
};

// One item of a maximised MDI child: its icon (code 1), minimise (3),
// restore (2) or close (5), or a bitmap.
class CMenuBarSysButton : public CMenuBarItem {
public:
    CMenuBarSysButton(UINT_PTR bitmap, UINT id);
    void GetRect(CRect& out, BOOL vertical) const override;
    void Draw(HWND frame, HDC dc) override;
    HMENU GetSubMenu(HWND frame) override;
    UINT GetID(HWND) override { return m_id; }
    void DrawBackground(HDC dc, const RECT& rect);

    UINT_PTR m_bitmap;
    UINT m_id;
};

// One item while laying out.
struct MenuBarLayoutRecord {
    CRect rect;
    UINT state = 0;
};

// Tracking states.
enum MenuBarTracking : int { kTrackNone = 0, kTrackPopup = 1, kTrackHot = 2 };

class CNewMenuBar : public CControlBar {
    DECLARE_DYNAMIC(CNewMenuBar)
public:
    CNewMenuBar();
    ~CNewMenuBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = kMenuBarId);
    virtual BOOL CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id);

    // Layout ----------------------------------------------------------------------------------
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) override;
    virtual CSize CalcLayout(DWORD mode, int length);
    // Rows no wider than `width`: the row count.
    virtual int WrapItems(MenuBarLayoutRecord* records, int count, int width);
    virtual void SizeItems(MenuBarLayoutRecord* records, int count, int length, BOOL vertical);
    virtual void ApplyLayout(const MenuBarLayoutRecord* records, int count);
    // Pushes records first..last to the row's right end.
    virtual void JustifyRow(MenuBarLayoutRecord* records, int first, int last, int width);
    virtual CSize CalcSize(const MenuBarLayoutRecord* records, int count);
    virtual void DrawBorders(CDC* dc, CRect& rect);
    virtual void DrawGripper(CDC* dc, const CRect& rect);

    // The menu, the frame and the MDI client ---------------------------------------------------
    // Rebuilds the buttons from `menu` (null: the current menu).
    void RebuildItems(HMENU menu);
    void RecalcFrameLayout();
    int GetDockedLength(BOOL horizontal);
    void DeleteItems();
    // The index of the button under a client point, -1 when none.
    int HitTestItems(CPoint point) const;
    virtual LRESULT OnFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMDIClientMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static HWND GetActiveMDIChild(HWND window);

    // Tracking ---------------------------------------------------------------------------------
    // TRUE when the frame's message was the bar's (Alt, F10, keys in menu
    // mode, mnemonics) and must not be translated or dispatched.
    BOOL TranslateFrameMessage(MSG* msg);
    void SetTrackingState(int item, int state);
    UINT_PTR SetHoverTimer(BOOL on);
    BOOL TrackPopup(int item);
    BOOL FilterMenuMessage(const MSG& msg);
    int GetNextItem(int item, BOOL forward);

    HMENU GetMenu() const { return m_menu; }
    int GetTrackingState() const { return m_tracking; }
    int GetHotItem() const { return m_hotItem; }
    int GetCurrentItem() const { return m_currentItem; }
    BOOL IsMaximized() const { return m_maximized; }
    const std::vector<std::unique_ptr<CMenuBarItem>>& Items() const { return m_items; }
    BOOL IsVerticalBar() const { return (m_dwStyle & CBRS_ORIENT_VERT) != 0; }

    static UINT WM_GETMENU();
    static UINT WM_REMOVEMENU();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend LRESULT MenuBarMsgFilterHook(int code, WPARAM wParam, LPARAM lParam);
    int OnCreate(CREATESTRUCTA* cs);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(CPoint point);
    BOOL OnLButtonDown(CPoint point);
    BOOL OnLButtonUp(CPoint point);
    void OnNcCalcSize(NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    void EraseBackground(HDC dc);
    void OnPaint();
    bool ApplicationActive() const;
    // The frame the bar docks on (or floats for).
    CWnd* DockFrame() const;
    HWND FrameHandle() const;
    void InvalidateItem(int index);
    UINT StateBits(int state) const;
    // Dispatches pending paints before a popup opens; false when WM_QUIT
    // was taken (it is posted again).
    bool DispatchPendingPaints();

    int m_tracking = kTrackNone;
    BOOL m_inOwnPopup = FALSE;
    BOOL m_noSubmenu = FALSE;
    BOOL m_reopen = FALSE;
    BOOL m_systemKey = FALSE;
    UINT_PTR m_hoverTimer = 0;
    HMENU m_menu = nullptr;
    BOOL m_maximized = FALSE;
    int m_hotItem = -1;
    int m_currentItem = -1;
    CPoint m_lastMouse{-1, -1};
    int m_buttonDownItem = -1;
    HMENU m_openPopup = nullptr;
    HWND m_popupOwner = nullptr;
    std::vector<std::unique_ptr<CMenuBarItem>> m_items;
    HWND m_frame = nullptr;
    WNDPROC m_framePrevious = nullptr;
    HWND m_client = nullptr;
    WNDPROC m_clientPrevious = nullptr;
    int m_mruWidth = 32767;
};

LRESULT MenuBarMsgFilterHook(int code, WPARAM wParam, LPARAM lParam);
// One "Marlett" glyph in the rectangle deflated by 2 (greyed in COLOR_GRAYTEXT).
void DrawMarlettGlyph(HDC dc, CRect rect, char glyph, BOOL normalWeight, BOOL greyed);
