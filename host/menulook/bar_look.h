// The bar looks of the style codes that the menu bar, the toolbar, the
// dock bar and the dialog bar share: grippers, rounded bar corners, the
// dock background under docked bars and the bars' own backgrounds.
#pragma once

#include "platform/framework/controlbar.h"
#include "platform/gdi/gdi.h"

// The border widths the gripper runs keep clear of.
struct GripperBorders {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class BarOrientation { Horizontal, Vertical };

// The style code's gripper: lines (codes 2, 3), squares (6, 7) or pairs
// of squares (8 to 11) down a horizontal bar's left edge or along a
// vertical bar's top; false for the other codes (the caller draws the
// framework's gripper).
bool DrawStyleGripper(HDC dc, const RECT& rect, const GripperBorders& borders, BarOrientation orientation);
// Three pixels at each corner of the rectangle.
void RoundBarCorners(HDC dc, const RECT& rect, COLORREF colour);
// A bar's gripper when it is docked with CBRS_GRIPPER: the style code's
// marks (the framework's gripper for the other codes) and, for codes 6 to
// 11, the rounded corners of the rectangle for the bar's orientation.
void DrawBarGripper(HDC dc, const RECT& rect, DWORD barStyle, const GripperBorders& borders,
                    const RECT& cornersHorizontal, const RECT& cornersVertical);
// The framework's gripper: two raised bars across the gripper's room.
void DrawPlainGripper(HDC dc, const RECT& rect, BarOrientation orientation);

// Fills `rect` (the bar's DC coordinates) with the frame's menu
// background, aligned to the frame's origin; `barWindow` is the bar.
void FillDockBackground(HWND barWindow, HDC dc, const RECT& rect);

// The background of a toolbar or dialog bar in the style code's look.
struct BarBackground {
    HWND bar = nullptr;
    RECT rect{};          // DC coordinates
    RECT inner{};         // inside the borders
    BarOrientation orientation = BarOrientation::Horizontal;
    bool docked = true;
};
void FillBarBackground(HDC dc, const BarBackground& background);
// The background record of a bar with that style, client and inner rectangles.
BarBackground BarBackgroundOf(HWND bar, const RECT& client, const RECT& inner, DWORD barStyle);
// The light, mid, dark and line colours of the shaded looks' bars; the
// line colour is CLR_INVALID without a theme.
struct ShadedBarColours {
    COLORREF light;
    COLORREF mid;
    COLORREF dark;
    COLORREF line;
};
ShadedBarColours GetShadedBarColours();
// The gradient colours of a bar in the codes 6 to 11 (the gradient looks'
// from the menu colour, the shaded looks' above); `line` is the docked
// bar's dark line, CLR_INVALID for none.
ShadedBarColours BarGradientColours(int code);

// The gripper room a bar with CBRS_GRIPPER takes when docked.
bool HasDockedGripper(DWORD barStyle);
