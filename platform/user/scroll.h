// Scroll bars as the window system keeps them: the codes of WM_HSCROLL and
// WM_VSCROLL, the scroll information record, the scroll-bar control's
// messages, and the functions on a window's own bars (WS_HSCROLL,
// WS_VSCROLL, drawn and tracked in its frame) or on a scroll-bar control.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;
constexpr UINT ESB_DISABLE_LEFT = ESB_DISABLE_LTUP;
constexpr UINT ESB_DISABLE_UP = ESB_DISABLE_LTUP;
constexpr UINT ESB_DISABLE_RIGHT = ESB_DISABLE_RTDN;
constexpr UINT ESB_DISABLE_DOWN = ESB_DISABLE_RTDN;

constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

// The scroll bar `bar` of a window: SB_CTL for a scroll-bar control, SB_HORZ
// or SB_VERT for the window's own bars (WS_HSCROLL, WS_VSCROLL). The page is
// kept within the range and the position within min..max - page + 1.
// SetScrollInfo answers the new position; GetScrollInfo fails for a bar the
// window never had information for and does not show.
NUVEX_PLATFORM_API int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
NUVEX_PLATFORM_API BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
// Answers the previous position.
NUVEX_PLATFORM_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
NUVEX_PLATFORM_API int GetScrollPos(HWND hwnd, int bar);
NUVEX_PLATFORM_API BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
NUVEX_PLATFORM_API BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// Shows or hides a window's own bars (adds or removes WS_HSCROLL/WS_VSCROLL),
// or the scroll-bar control itself for SB_CTL.
NUVEX_PLATFORM_API BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
// Greys the arrows `arrows` (ESB_*) of a bar; ESB_DISABLE_BOTH greys the
// whole bar so it takes no clicks.
NUVEX_PLATFORM_API BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
