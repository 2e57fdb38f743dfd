// Notifications, colours, fonts and drawing helpers shared by the controls.
#include "platform/controls/control_support.h"

namespace nuvex::controls {

HWND NotifyTarget(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) {
        parent = GetWindow(hwnd, GW_OWNER);
    }
    return parent;
}

void NotifyCommand(HWND hwnd, WORD code, HWND target)
{
    if (target == nullptr) {
        target = NotifyTarget(hwnd);
    }
    if (target == nullptr) {
        return;
    }
    const WORD id = static_cast<WORD>(GetDlgCtrlID(hwnd));
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

void NotifyScroll(HWND hwnd, UINT message, WORD code, int pos)
{
    HWND target = NotifyTarget(hwnd);
    if (target != nullptr) {
        SendMessageA(target, message, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
    }
}

HBRUSH ControlColors(HWND hwnd, HDC dc, UINT message)
{
    HWND target = NotifyTarget(hwnd);
    HBRUSH brush = nullptr;
    if (target != nullptr) {
        brush = reinterpret_cast<HBRUSH>(
            SendMessageA(target, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    }
    if (brush != nullptr) {
        return brush;
    }
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    if (message == WM_CTLCOLORSCROLLBAR) {
        return GetSysColorBrush(COLOR_SCROLLBAR);
    }
    return GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE);
}

HFONT DrawingFont(HFONT set)
{
    return set != nullptr ? set : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

FontMetrics MeasureFont(HFONT font)
{
    FontMetrics m;
    const MemoryDC dc;
    if (dc.Get() == nullptr) {
        return m;
    }
    const SelectedObject selected(dc.Get(), DrawingFont(font));
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc.Get(), &tm)) {
        m.height = tm.tmHeight;
        m.ascent = tm.tmAscent;
        m.averageWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : m.averageWidth;
    }
    return m;
}

int TextWidth(HFONT font, const char* text, int length)
{
    if (length <= 0) {
        return 0;
    }
    const MemoryDC dc;
    if (dc.Get() == nullptr) {
        return 0;
    }
    const SelectedObject selected(dc.Get(), DrawingFont(font));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text, length, &size);
    return size.cx;
}

void SendDrawItem(HWND hwnd, UINT controlType, UINT item, UINT action, UINT state, HDC dc, const RECT& rect,
                  ULONG_PTR data)
{
    HWND target = NotifyTarget(hwnd);
    if (target == nullptr) {
        return;
    }
    DRAWITEMSTRUCT dis{};
    dis.CtlType = controlType;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    dis.itemID = item;
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = rect;
    dis.itemData = data;
    SendMessageA(target, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void Repaint(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

} // namespace nuvex::controls
