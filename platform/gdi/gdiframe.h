// GDI frames and glyphs: 3-D edges, focus rectangles, control glyphs drawn
// by our own code (check marks, arrows, radio dots, window buttons, the
// small glyphs of the "Marlett" face) and DrawState's disabled/mono images.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/syscolor.h"

// DrawEdge.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr UINT BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr UINT BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr UINT BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_DIAGONAL = 0x0010;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_SOFT = 0x1000;
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;

// DrawFrameControl types and states.
constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFC_POPUPMENU = 5;
constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
constexpr UINT DFCS_CAPTIONMIN = 0x0001;
constexpr UINT DFCS_CAPTIONMAX = 0x0002;
constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
constexpr UINT DFCS_CAPTIONHELP = 0x0004;
constexpr UINT DFCS_MENUARROW = 0x0000;
constexpr UINT DFCS_MENUCHECK = 0x0001;
constexpr UINT DFCS_MENUBULLET = 0x0002;
constexpr UINT DFCS_MENUARROWRIGHT = 0x0004;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr UINT DFCS_SCROLLSIZEGRIPRIGHT = 0x0010;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr UINT DFCS_BUTTONRADIOMASK = 0x0002;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_TRANSPARENT = 0x0800;
constexpr UINT DFCS_HOT = 0x1000;
constexpr UINT DFCS_ADJUSTRECT = 0x2000;
constexpr UINT DFCS_FLAT = 0x4000;
constexpr UINT DFCS_MONO = 0x8000;

// DrawState.
constexpr UINT DST_COMPLEX = 0x0000;
constexpr UINT DST_TEXT = 0x0001;
constexpr UINT DST_PREFIXTEXT = 0x0002;
constexpr UINT DST_ICON = 0x0003;
constexpr UINT DST_BITMAP = 0x0004;
constexpr UINT DSS_NORMAL = 0x0000;
constexpr UINT DSS_UNION = 0x0010;
constexpr UINT DSS_DISABLED = 0x0020;
constexpr UINT DSS_MONO = 0x0080;
constexpr UINT DSS_HIDEPREFIX = 0x0200;
constexpr UINT DSS_PREFIXONLY = 0x0400;
constexpr UINT DSS_RIGHT = 0x8000;

using DRAWSTATEPROC = BOOL (*)(HDC dc, LPARAM data, WPARAM wData, int cx, int cy);

// Draws the edges named by `flags` (BF_*) of kind `edge` (BDR_*/EDGE_*);
// BF_ADJUST shrinks *rect by what was drawn.
NUVEX_PLATFORM_API BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
// A dotted rectangle drawn by XOR, so a second call removes it.
NUVEX_PLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
NUVEX_PLATFORM_API BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
// Draws text (data = LPCSTR, wData = length, 0 = zero-terminated), a bitmap
// (data = HBITMAP), an icon (data = HICON) or a callback's image at (x, y);
// DSS_MONO paints the image's shape in `brush`, DSS_DISABLED embosses it.
// cx or cy 0: the image's own size.
NUVEX_PLATFORM_API BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y,
                                   int cx, int cy, UINT flags);
inline BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx,
                      int cy, UINT flags)
{
    return DrawStateA(dc, brush, proc, data, wData, x, y, cx, cy, flags);
}

// The glyphs of the "Marlett" face that our code draws itself, by character:
// 'a' check mark, 'b' the same, 'h' bullet, 'i' radio dot, '0' minimise,
// '1' maximise, '2' restore, 'r' close, 's' help '?', '3' left arrow,
// '4' right arrow, '5' up arrow, '6' down arrow, '8' menu arrow right.
// Draws `glyph` centred in rect in `color`; false for a character it lacks.
NUVEX_PLATFORM_API BOOL GdiDrawMarlettGlyph(HDC dc, const RECT* rect, char glyph, COLORREF color);
