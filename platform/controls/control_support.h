// What the control window procedures share: their per-window state, the
// notifications and colour questions they send their parents, painting
// scopes, fonts and the registration of their classes.
#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/controls/controls.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gdi.h"

namespace nuvex::controls {

// Every control class keeps one pointer-sized slot of extra window bytes
// for its state, made at WM_NCCREATE and freed at WM_NCDESTROY
// (StatefulProc).
constexpr int kStateSlot = 0;
constexpr int kStateBytes = static_cast<int>(sizeof(LONG_PTR));

template <class State>
State* StateOf(HWND hwnd)
{
    return reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, kStateSlot));
}

// A control's procedure over its state: the state is made at WM_NCCREATE
// and freed after WM_NCDESTROY; `Handle` sees every message with it (both
// of those included), and messages before the state exists reach
// DefWindowProc.
template <class State, LRESULT (*Handle)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT StatefulProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, kStateSlot, reinterpret_cast<LONG_PTR>(new State()));
    }
    State* state = StateOf<State>(hwnd);
    if (state == nullptr) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        const LRESULT result = Handle(hwnd, *state, msg, wParam, lParam);
        SetWindowLongPtrA(hwnd, kStateSlot, 0);
        delete state;
        return result;
    }
    return Handle(hwnd, *state, msg, wParam, lParam);
}

// A message as the rows of a control's message table see it.
struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

// One row of a control's message table: the message and its handler.
template <class State>
struct MessageRow {
    UINT message;
    LRESULT (*handle)(HWND, State&, const Message&);
};

// The row of `table` for `message`; null when the table has none.
template <class State, size_t N>
const MessageRow<State>* FindMessageRow(const MessageRow<State> (&table)[N], UINT message)
{
    const auto row = std::find_if(std::begin(table), std::end(table),
                                  [message](const MessageRow<State>& r) { return r.message == message; });
    return row == std::end(table) ? nullptr : row;
}

// The messages of a control's own range (EM_*, LB_*...).
struct MessageRange {
    UINT first;
    UINT last;
};

// 1. A message with a row of `table` goes to its handler.
// 2. The other messages of the control's own range (if given) answer 0.
// 3. Everything else reaches DefWindowProc.
template <class State, size_t N>
LRESULT DispatchByTable(const MessageRow<State> (&table)[N], HWND hwnd, State& state, UINT msg, WPARAM wParam,
                        LPARAM lParam, std::optional<MessageRange> own = std::nullopt)
{
    if (const MessageRow<State>* row = FindMessageRow(table, msg)) {
        return row->handle(hwnd, state, Message{msg, wParam, lParam});
    }
    if (own && msg >= own->first && msg <= own->last) {
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }
inline POINT PointFromLParam(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

// The window that hears a control's notifications: its parent (for a popup
// its owner).
HWND NotifyTarget(HWND hwnd);
// Sends WM_COMMAND (id, code) with the control as lParam to `target`
// (default: the notify target).
void NotifyCommand(HWND hwnd, WORD code, HWND target = nullptr);
// Sends the scroll message `message` (WM_HSCROLL/WM_VSCROLL) with `code`
// and `pos` to the notify target, the control in lParam.
void NotifyScroll(HWND hwnd, UINT message, WORD code, int pos);

// Asks the parent for the colours of `hwnd` with `message` (WM_CTLCOLOR*)
// and answers the brush to fill the background with. When the parent gives
// no brush, the classic defaults are set on `dc`: window colours for edits
// and list boxes, button-face colours for the rest.
HBRUSH ControlColors(HWND hwnd, HDC dc, UINT message);

// The font a control draws with: the one set by WM_SETFONT, else the
// desktop's GUI font.
HFONT DrawingFont(HFONT set);
// Line height and average character width of `font`.
struct FontMetrics {
    int height = 13;
    int averageWidth = 6;
    int ascent = 10;
};
FontMetrics MeasureFont(HFONT font);
// Width of `text` in `font` on a screen DC.
int TextWidth(HFONT font, const char* text, int length);

// Runs `draw(dc)` for WM_PAINT (through BeginPaint, or into the DC of
// wParam when given) and WM_PRINTCLIENT.
template <class Draw>
LRESULT PaintWith(HWND hwnd, WPARAM dcParam, Draw draw)
{
    if (dcParam != 0) {
        draw(reinterpret_cast<HDC>(dcParam));
        return 0;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) {
        draw(dc);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

// Keeps a DC's selected font and colours for a scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_level(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(m_dc, m_level); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_level;
};

// Sends WM_DRAWITEM for an owner-drawn item of `hwnd` to its notify target.
void SendDrawItem(HWND hwnd, UINT controlType, UINT item, UINT action, UINT state, HDC dc, const RECT& rect,
                  ULONG_PTR data);

// Redraws the whole control now (invalidate and update).
void Repaint(HWND hwnd);

// Class registration: each control's file offers one of these; the window
// system runs them all for every fresh instance.
void RegisterButtonClass();
void RegisterStaticClass();
void RegisterEditClass();
void RegisterListBoxClasses();
void RegisterComboBoxClass();
void RegisterScrollBarClass();
void RegisterTrackbarClass();
void RegisterUpDownClass();
void RegisterProgressClass();
// Registers one control class with a state slot.
void RegisterControlClass(const char* name, WNDPROC proc, UINT classStyle, LPCSTR cursor);

} // namespace nuvex::controls
