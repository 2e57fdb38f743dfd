// The parts of a scroll bar, shared by a window's own bars (drawn and
// tracked in its frame) and the "ScrollBar" control: the scroll
// information kept consistent, where the arrows, track and thumb lie along
// a bar's rectangle, which part a point falls on, and the classic look.
#pragma once

#include "platform/user/winuser.h"

namespace nuvex::user {

struct ScrollData {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = ESB_ENABLE_BOTH;
};

// Keeps the page within the range and the position where the page fits.
void NormaliseScroll(ScrollData& d);
// True when the page does not cover the whole range.
bool CanScroll(const ScrollData& d);
// Applies the fields of `info` named by its mask; answers the new position.
int ApplyScrollInfo(ScrollData& d, const SCROLLINFO& info);
// Fills the fields of `info` its mask names; false for an empty mask.
bool ReadScrollInfo(const ScrollData& d, SCROLLINFO* info);

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Places along a bar, counted from the bar's start (top or left).
struct ScrollGeometry {
    RECT bar{};
    bool vertical = true;
    int length = 0;
    int arrow = 0;
    int trackStart = 0;
    int trackLength = 0;
    int thumbStart = 0;
    int thumbLength = 0; // 0: no thumb
};

// The geometry of a bar occupying `bar`, showing `d`.
ScrollGeometry MeasureScrollBar(const RECT& bar, bool vertical, const ScrollData& d);
// The part under `p` (same coordinates as the bar's rectangle); None off
// the bar or on a track without a thumb.
ScrollPart ScrollPartAt(const ScrollGeometry& g, POINT p);
// The position that puts the thumb's start at `thumbStart` (along the bar).
int ScrollPosFromThumb(const ScrollData& d, const ScrollGeometry& g, int thumbStart);
// The offset of `p` along the bar.
int AlongScrollBar(const ScrollGeometry& g, POINT p);
// The WM_HSCROLL/WM_VSCROLL code a press on `part` repeats.
WORD ScrollCodeOf(ScrollPart part);

// How a bar looks besides its information.
struct ScrollLook {
    ScrollPart pressed = ScrollPart::None;
    bool enabled = true;   // the window is enabled (and the bar can scroll)
    bool focused = false;  // a focus rectangle on the thumb
    HBRUSH track = nullptr; // the track's brush; null: the scroll-bar colour
};
// Draws arrows, track and thumb of a bar into `bar` of `dc`.
void PaintScrollBar(HDC dc, const ScrollGeometry& g, const ScrollData& d, const ScrollLook& look);

// A window's own bars: drawn into its window DC `dc` at the places of
// its non-client layout (with the grow box between them).
void PaintWindowScrollBars(HWND hwnd, HDC dc);
// Tracks a press on a window's bar `bar` (SB_HORZ or SB_VERT) at the screen
// point `screen` until the button is released, sending the window
// WM_HSCROLL/WM_VSCROLL with a null control.
void TrackWindowScrollBar(HWND hwnd, int bar, POINT screen);

} // namespace nuvex::user
