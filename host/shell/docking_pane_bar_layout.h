// The geometry of a docking pane bar's own frame, as pure functions of the
// side it docks at and its window size: the client area inside the margins
// and the 6-pixel sizing edge on the side that faces the document, the
// gripper with its close and dock/float buttons, what each point of the
// frame is (hit codes), and the length a drag of the sizing edge gives.
// All rectangles are in window coordinates (0, 0 at the window's top-left).
#pragma once

#include "platform/framework/geometry.h"

enum class PaneBarSide { Top, Left, Right, Bottom, Floating };

// The side of a frame's dock bar id (AFX_IDW_DOCKBAR_*); Floating for the
// floating dock bar or none.
PaneBarSide PaneBarSideOf(UINT dockBarId);
inline bool IsHorizontalSide(PaneBarSide side) { return side == PaneBarSide::Top || side == PaneBarSide::Bottom; }

inline constexpr int kPaneBarEdge = 6;
inline constexpr int kPaneBarMargin = 3;
inline constexpr int kPaneBarGripper = 20;
inline constexpr int kPaneBarMinimum = 32;

struct PaneBarFrame {
    CRect client;
    // Empty while floating.
    CRect sizingEdge;
    // The border style (CBRS_BORDER_*) left out: the one on the edge's side.
    DWORD droppedBorder = 0;
};
PaneBarFrame LayoutPaneBarFrame(PaneBarSide side, CSize window);

struct PaneBarGripper {
    CRect gripper;
    CRect closeButton;
    CRect toggleButton;
    CRect lines[2];
};
// Empty rectangles while floating.
PaneBarGripper LayoutPaneBarGripper(PaneBarSide side, CSize window);

// HTSYSMENU on the close button, HTMINBUTTON on the toggle button,
// HTCAPTION on the gripper, HTGROWBOX on the sizing edge, else HTNOWHERE.
LRESULT HitTestPaneBar(const PaneBarGripper& gripper, const CRect& sizingEdge, CPoint windowPoint);

// The sizing drag: the cursor point as the tracker follows it (6 pixels
// down on a bottom bar, right on a right bar), the drag's delta from the
// start point towards a thicker bar, and the new thickness: at least the
// minimum and at most the old thickness plus the frame's extent.
CPoint CorrectSizingPoint(PaneBarSide side, CPoint cursor);
int SizingDelta(PaneBarSide side, CPoint trackerCentre, CPoint start);
int SizedThickness(int thickness, int delta, int frameExtent);
