// Docking: dock bars along a frame's sides that hold control bars in rows,
// floating frames for bars that left the sides, moving bars between the two
// (by call or by dragging a bar's gripper), and the bar layout kept as a
// CDockState and saved in the profile.
//
// The frame-side operations are free functions on the frame window, so that
// any window laying out its bars with RepositionBars can dock them; a frame
// class offers them as its EnableDocking, DockControlBar, FloatControlBar,
// ShowControlBar, GetDockState and SetDockState.
#pragma once

#include <vector>

#include "platform/framework/controlbar.h"
#include "platform/kernel/registry.h"

// A side of a frame (or the inside of a floating frame) holding bars in rows.
class NUVEX_PLATFORM_API CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    // The bars it held no longer point at it.
    ~CDockBar() override;
    BOOL Create(CWnd* parent, DWORD alignStyle, UINT id);
    // Takes `bar` into row `row` at `column` (-1: a new last row / the row's end).
    void DockControlBar(CControlBar* bar, int row = -1, int column = -1);
    BOOL RemoveControlBar(CControlBar* bar);
    // Where `bar` is; false when it is not here.
    BOOL FindBar(const CControlBar* bar, int* row, int* column) const;
    int GetDockedCount() const;
    BOOL IsFloatingDockBar() const { return GetDlgCtrlID() == static_cast<int>(AFX_IDW_DOCKBAR_FLOAT); }

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CWnd*, BOOL) override {}

    // Places the bars of the rows inside the dock bar's client area.
    void LayoutBars();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::vector<CControlBar*>> m_rows;
};

// A small popup frame with a tool-window caption.
class NUVEX_PLATFORM_API CMiniFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CMiniFrameWnd)
public:
    BOOL Create(LPCSTR title, DWORD style, const RECT& rect, CWnd* owner);
};

// The floating frame of bars that left the frame's sides; it destroys
// itself when its last bar docks again, and closing it hides its bars. Its
// caption shows its bars' title; dragging the caption moves the frame, or
// docks its bars when dropped near a side of the dock site they allow, and
// an outline on the dock site shows where the frame goes meanwhile.
class NUVEX_PLATFORM_API CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNAMIC(CMiniDockFrameWnd)
public:
    BOOL Create(CWnd* dockSite, DWORD barStyle);
    // Sizes the frame around its bars.
    void RecalcLayout();
    CDockBar m_wndDockBar;
    // The frame whose bars float here.
    CWnd* m_pDockSite = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // The bars that float here.
    std::vector<CControlBar*> Bars() const;
    void EndDrag(bool drop);
    bool m_dragging = false;
    CPoint m_dragStart;
    CRect m_dragOutline;
};

// Frame operations --------------------------------------------------------------

// Makes the dock bars of the sides named in `style` (CBRS_ALIGN_*).
NUVEX_PLATFORM_API void AfxEnableDocking(CWnd* frame, DWORD style);
// The frame's dock bar with `id` (AFX_IDW_DOCKBAR_*), or null.
NUVEX_PLATFORM_API CDockBar* AfxGetDockBar(CWnd* frame, UINT id);
// Docks `bar` on the side `dockBarId` (0: the first side the bar and the
// frame both allow, in the order top, bottom, left, right); `rect` (screen)
// picks the row it lands in.
NUVEX_PLATFORM_API BOOL AfxDockControlBar(CWnd* frame, CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
// Floats `bar` in a floating frame whose top-left is `screen`.
NUVEX_PLATFORM_API BOOL AfxFloatControlBar(CWnd* frame, CControlBar* bar, CPoint screen, DWORD style = CBRS_ALIGN_TOP);
NUVEX_PLATFORM_API void AfxShowControlBar(CWnd* frame, CControlBar* bar, BOOL show);
// Ends a drag of `bar` begun at `from` and released at `drop` (screen): near
// a side the frame and the bar allow, the bar docks there; elsewhere it
// floats with its top-left moved as far as the mouse moved.
NUVEX_PLATFORM_API void AfxDropControlBar(CWnd* frame, CControlBar* bar, CPoint drop, CPoint from);
// Inverts `screenRect` on `frame`'s window in a halftone pattern: the whole
// rectangle shrunk by one pixel when `thickness` is 0, else an outline that
// thick inside it. Drawn twice it is gone, so a drag shows where a bar would
// go without painting anything.
NUVEX_PLATFORM_API void AfxDrawDragTracker(CWnd* frame, const CRect& screenRect, int thickness = 0);
// Lays out the frame's bars and its client pane again.
NUVEX_PLATFORM_API void AfxRecalcBarLayout(CWnd* frame);
// A bar going away leaves its frame's list.
NUVEX_PLATFORM_API void AfxForgetControlBar(CControlBar* bar);
// The bars that dock on `frame`'s sides, docked or floating.
NUVEX_PLATFORM_API std::vector<CControlBar*> AfxDockedBars(CWnd* frame);

// Bar layout ----------------------------------------------------------------------

struct CControlBarInfo {
    UINT m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bFloating = FALSE;
    UINT m_uDockBarID = 0; // AFX_IDW_DOCKBAR_* of the side, or of the floating frame
    CPoint m_pointPos;     // the floating frame's top-left (screen)
    int m_nRow = 0;
    int m_nColumn = 0;
};

class NUVEX_PLATFORM_API CDockState : public CObject {
    DECLARE_DYNAMIC(CDockState)
public:
    std::vector<CControlBarInfo> m_arrBarInfo;

    // Written under the profile key as "<profile>-Summary" and
    // "<profile>-Bar<n>" sub-keys; LoadState answers false (and keeps
    // nothing) when the profile has no complete layout.
    BOOL SaveState(LPCSTR profileName) const;
    BOOL LoadState(LPCSTR profileName);
    void Clear() { m_arrBarInfo.clear(); }

    // The registry key the profile lives under (the application's key).
    static void SetProfileKey(HKEY root, LPCSTR subKey);
};

NUVEX_PLATFORM_API void AfxGetDockState(CWnd* frame, CDockState& state);
// Docks, floats, shows and hides the frame's bars as `state` says; bars the
// state does not name, and entries of bars the frame does not have, are left.
NUVEX_PLATFORM_API void AfxSetDockState(CWnd* frame, const CDockState& state);
