// The non-client layout of a window: borders, caption and its buttons,
// menu bar, client edge and scroll bars, from its styles and the system
// metrics. Used by WM_NCCALCSIZE, WM_NCHITTEST and the frame painting.
#pragma once

#include "platform/user/window_system.h"

namespace nuvex::user {

struct NonClientLayout {
    int border = 0;       // frame width on each side
    bool sizingFrame = false;
    RECT caption{};       // window coordinates; empty without a caption
    bool smallCaption = false;
    RECT sysMenu{};       // icon box at the caption's left
    RECT closeButton{};
    RECT maxButton{};
    RECT minButton{};
    RECT menuBar{};       // window coordinates; empty without a frame menu
    int edge = 0;         // client edge width
    RECT vScroll{};
    RECT hScroll{};
    RECT client{};        // window coordinates
};

// The layout of a window of `style`/`exStyle` and `width` x `height`;
// `hasMenu` adds a frame menu bar.
NonClientLayout ComputeNonClient(DWORD style, DWORD exStyle, bool hasMenu, int width, int height);
NonClientLayout ComputeNonClient(const Window* w);
// The hit code of `windowPoint` (window coordinates) in the layout.
LRESULT HitTestLayout(const NonClientLayout& layout, DWORD style, int width, int height, POINT windowPoint);
// Draws the frame, caption and buttons into the window DC `dc` (after the
// drawing layer is there; a no-op before).
void PaintNonClient(HWND hwnd, HDC dc, bool active);

} // namespace nuvex::user
