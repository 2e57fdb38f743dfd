// Helpers shared by the common controls: per-window state kept in the
// first extra window bytes, notifications to the parent, the control font
// and the class procedures registered with every window system.
#pragma once

#include <string>

#include "platform/controls/commctrl.h"
#include "platform/controls/control_support.h"

namespace nuvex::controls {

// Every common-control class keeps its state in the slot kStateBytes
// covers, through StatefulProc and StateOf (control_support.h).

// Fills the header (window, control id, code) and sends WM_NOTIFY to
// `target` (the parent when null); answers the target's result.
LRESULT SendNotify(HWND control, UINT code, NMHDR* header, HWND target = nullptr);
// A notification that carries only the header.
LRESULT SendSimpleNotify(HWND control, UINT code, HWND target = nullptr);

// The font a control draws with: the one set by WM_SETFONT, else the GUI font.
HFONT ControlFont(HFONT chosen);
// Height of a text line in `font`.
int LineHeight(HFONT font);
// Width of `text` in `font`.
int TextWidth(HFONT font, const std::string& text);

// Copies `text` into a caller's buffer of `size` characters, cut and
// terminated; answers the characters copied.
int CopyOut(const std::string& text, LPSTR buffer, int size);

// Client coordinates of a mouse message's lParam.
inline POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The class procedures.
LRESULT TreeViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT TabControlProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ToolbarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT StatusBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ToolTipProc(HWND, UINT, WPARAM, LPARAM);

} // namespace nuvex::controls
