// Pane bar frame geometry: margins, sizing edge, gripper and buttons per
// side, hit codes and the sizing drag's result.
#include "host/shell/docking_pane_bar_layout.h"

#include <algorithm>

#include "platform/framework/controlbar.h"
#include "platform/framework/ids.h"
#include "platform/user/winuser.h"

namespace {

// The buttons' sizes on horizontal and vertical bars, and the step between
// the close and the toggle button.
constexpr int kHorizontalButton = 12;
constexpr int kVerticalButton = 11;
constexpr int kButtonStep = 13;

} // namespace

PaneBarSide PaneBarSideOf(UINT dockBarId)
{
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP: return PaneBarSide::Top;
    case AFX_IDW_DOCKBAR_LEFT: return PaneBarSide::Left;
    case AFX_IDW_DOCKBAR_RIGHT: return PaneBarSide::Right;
    case AFX_IDW_DOCKBAR_BOTTOM: return PaneBarSide::Bottom;
    default: return PaneBarSide::Floating;
    }
}

PaneBarFrame LayoutPaneBarFrame(PaneBarSide side, CSize window)
{
    const CRect whole(0, 0, window.cx, window.cy);
    PaneBarFrame frame;
    frame.client = whole;
    frame.sizingEdge = whole;
    switch (side) {
    case PaneBarSide::Top:
        frame.droppedBorder = CBRS_BORDER_BOTTOM;
        frame.client = CRect(whole.left + kPaneBarGripper, whole.top + kPaneBarMargin, whole.right - kPaneBarMargin,
                             whole.bottom - kPaneBarEdge);
        frame.sizingEdge.top = whole.bottom - kPaneBarEdge;
        break;
    case PaneBarSide::Left:
        frame.droppedBorder = CBRS_BORDER_RIGHT;
        frame.client = CRect(whole.left + kPaneBarMargin, whole.top + kPaneBarGripper, whole.right - kPaneBarEdge,
                             whole.bottom - kPaneBarMargin);
        frame.sizingEdge.left = whole.right - kPaneBarEdge;
        break;
    case PaneBarSide::Right:
        frame.droppedBorder = CBRS_BORDER_LEFT;
        frame.client = CRect(whole.left + kPaneBarEdge, whole.top + kPaneBarGripper, whole.right - kPaneBarMargin,
                             whole.bottom - kPaneBarMargin);
        frame.sizingEdge.right = whole.left + kPaneBarEdge;
        break;
    case PaneBarSide::Bottom:
        frame.droppedBorder = CBRS_BORDER_TOP;
        frame.client = CRect(whole.left + kPaneBarGripper, whole.top + kPaneBarEdge, whole.right - kPaneBarMargin,
                             whole.bottom - kPaneBarMargin);
        frame.sizingEdge.bottom = whole.top + kPaneBarEdge;
        break;
    case PaneBarSide::Floating: frame.sizingEdge = CRect(0, 0, 0, 0); break;
    }
    // A window too small for its margins keeps an empty client area.
    frame.client.right = std::max(frame.client.right, frame.client.left);
    frame.client.bottom = std::max(frame.client.bottom, frame.client.top);
    return frame;
}

PaneBarGripper LayoutPaneBarGripper(PaneBarSide side, CSize window)
{
    PaneBarGripper layout;
    const CRect whole(0, 0, window.cx, window.cy);
    if (side == PaneBarSide::Floating) {
        return layout;
    }
    if (IsHorizontalSide(side)) {
        layout.gripper = CRect(whole.left, whole.top + 40, whole.left + kPaneBarGripper, whole.bottom);
        layout.closeButton = CRect(CPoint(whole.left + 7, whole.top + 10), CSize(kHorizontalButton, kHorizontalButton));
        layout.toggleButton = layout.closeButton;
        layout.toggleButton.OffsetRect(0, kButtonStep);
        layout.lines[0] = CRect(whole.left + 10, whole.top + 38, whole.left + 13, whole.bottom - 10);
        layout.lines[1] = layout.lines[0];
        layout.lines[1].OffsetRect(4, 0);
    } else {
        layout.gripper = CRect(whole.left, whole.top, whole.right - 40, whole.top + kPaneBarGripper);
        layout.closeButton = CRect(whole.right - 21, whole.top + 7, whole.right - 21 + kVerticalButton,
                                   whole.top + 7 + kVerticalButton);
        layout.toggleButton = layout.closeButton;
        layout.toggleButton.OffsetRect(-kButtonStep, 0);
        layout.lines[0] = CRect(whole.left + 10, whole.top + 10, whole.right - 38, whole.top + 13);
        layout.lines[1] = layout.lines[0];
        layout.lines[1].OffsetRect(0, 4);
    }
    return layout;
}

LRESULT HitTestPaneBar(const PaneBarGripper& gripper, const CRect& sizingEdge, CPoint windowPoint)
{
    if (gripper.closeButton.PtInRect(windowPoint)) {
        return HTSYSMENU;
    }
    if (gripper.toggleButton.PtInRect(windowPoint)) {
        return HTMINBUTTON;
    }
    if (gripper.gripper.PtInRect(windowPoint)) {
        return HTCAPTION;
    }
    if (sizingEdge.PtInRect(windowPoint)) {
        return HTGROWBOX;
    }
    return HTNOWHERE;
}

CPoint CorrectSizingPoint(PaneBarSide side, CPoint cursor)
{
    if (side == PaneBarSide::Bottom) {
        cursor.y += kPaneBarEdge;
    } else if (side == PaneBarSide::Right) {
        cursor.x += kPaneBarEdge;
    }
    return cursor;
}

int SizingDelta(PaneBarSide side, CPoint trackerCentre, CPoint start)
{
    switch (side) {
    case PaneBarSide::Top: return trackerCentre.y - start.y;
    case PaneBarSide::Left: return trackerCentre.x - start.x;
    case PaneBarSide::Right: return start.x - trackerCentre.x;
    case PaneBarSide::Bottom: return start.y - trackerCentre.y;
    case PaneBarSide::Floating: return 0;
    }
    return 0;
}

int SizedThickness(int thickness, int delta, int frameExtent)
{
    return std::clamp(thickness + delta, kPaneBarMinimum, std::max(thickness + frameExtent, kPaneBarMinimum));
}
