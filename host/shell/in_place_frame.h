// CInPlaceFrame: the frame of a drawing edited in place inside a
// container's document. No container can ask for that on this platform, so
// the frame is made only by the program itself; it then behaves as it
// would for a container: a resize border and a drop target of its own, and
// its toolbar put into the container's frame.
#pragma once

#include "host/menulook/new_tool_bar.h"
#include "platform/framework/ole.h"

// The ids of the frame's bars and the toolbar resource it loads.
constexpr UINT kInPlaceToolBarId = 59392;      // the framework's toolbar id
constexpr UINT kInPlaceResizeBarId = 59395;    // the framework's resize bar id
constexpr UINT kInPlaceToolBarResource = 4;

// The toolbar's styles in the container's frame: a flat, docked,
// dynamically sized bar at the top with gripper, tool tips and fly-by
// prompts.
constexpr DWORD kInPlaceToolBarControlStyle = TBSTYLE_FLAT;
constexpr DWORD kInPlaceToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM |
                                       CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;

class CInPlaceFrame : public COleIPFrameWnd {
    DECLARE_DYNCREATE(CInPlaceFrame)
public:
    CInPlaceFrame() = default;

    // The toolbar is made in `frame` (the container's frame window) with
    // this frame as its owner, so that its commands come here, and docked
    // there. FALSE when the bar cannot be made or its resource is missing.
    // `documentFrame` (the container's document window) gets no bar.
    BOOL OnCreateControlBars(CFrameWnd* frame, CFrameWnd* documentFrame) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    CNewToolBar& ToolBar() { return m_wndToolBar; }
    COleResizeBar& ResizeBar() { return m_wndResizeBar; }
    COleDropTarget& DropTarget() { return m_dropTarget; }

protected:
    // WM_CREATE: the base's creation, then the resize bar and the drop
    // target; -1 when the frame or its resize bar cannot be made.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CNewToolBar m_wndToolBar;
    COleResizeBar m_wndResizeBar;
    COleDropTarget m_dropTarget;
};
