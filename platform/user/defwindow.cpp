// DefWindowProc: the default answer to every message, as the rest of the
// system relies on it. Dispatch is a table from message to handler.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"
#include "platform/user/menu_model.h"
#include "platform/user/nonclient.h"
#include "platform/user/scroll_bar_parts.h"
#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

using Handler = LRESULT (*)(HWND, Window*, WPARAM, LPARAM);

LRESULT ToParent(HWND hwnd, Window* w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)hwnd;
    if (IsTopLevel(w) || (w->style & WS_CHILD) == 0) {
        return 0;
    }
    return Send(w->parent->handle, msg, wParam, lParam);
}

LRESULT OnNcCreate(HWND, Window* w, WPARAM, LPARAM lParam)
{
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (cs != nullptr && cs->lpszName != nullptr && !UserIsIntName(cs->lpszName)) {
        w->text = cs->lpszName;
    }
    return TRUE;
}

LRESULT OnNcCalcSize(HWND, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        return 0;
    }
    RECT* rect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const bool hasMenu = IsTopLevel(w) && (w->style & WS_CHILD) == 0 && w->menu != nullptr;
    const NonClientLayout l = ComputeNonClient(w->style, w->exStyle, hasMenu, Width(*rect), Height(*rect));
    const RECT outer = *rect;
    *rect = {outer.left + l.client.left, outer.top + l.client.top, outer.left + l.client.right,
             outer.top + l.client.bottom};
    return 0;
}

LRESULT OnNcHitTest(HWND, Window* w, WPARAM, LPARAM lParam)
{
    const RECT r = ScreenWindowRect(w);
    POINT p{GET_X_LPARAM(lParam) - r.left, GET_Y_LPARAM(lParam) - r.top};
    return HitTestLayout(ComputeNonClient(w), w->style, Width(r), Height(r), p);
}

LRESULT OnNcPaint(HWND hwnd, Window*, WPARAM, LPARAM)
{
    if (HDC dc = GetWindowDC(hwnd)) {
        PaintNonClient(hwnd, dc, System().active == hwnd);
        ReleaseDC(hwnd, dc);
    }
    return 0;
}

LRESULT OnNcActivate(HWND hwnd, Window* w, WPARAM wParam, LPARAM)
{
    if ((w->style & WS_CAPTION) == WS_CAPTION && IsReallyVisible(w)) {
        if (HDC dc = GetWindowDC(hwnd)) {
            PaintNonClient(hwnd, dc, wParam != 0);
            ReleaseDC(hwnd, dc);
        }
    }
    return TRUE;
}

LRESULT OnActivate(HWND hwnd, Window*, WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
        SetFocus(hwnd);
    }
    return 0;
}

LRESULT OnSetText(HWND hwnd, Window* w, WPARAM, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    w->text = text != nullptr ? text : "";
    if ((w->style & WS_CAPTION) == WS_CAPTION && IsReallyVisible(w)) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_NOERASE);
    }
    return TRUE;
}

LRESULT OnGetText(HWND, Window* w, WPARAM wParam, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || wParam == 0) {
        return 0;
    }
    const size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
    std::memcpy(buffer, w->text.data(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT OnGetTextLength(HWND, Window* w, WPARAM, LPARAM) { return static_cast<LRESULT>(w->text.size()); }

LRESULT OnClose(HWND hwnd, Window*, WPARAM, LPARAM)
{
    DestroyWindow(hwnd);
    return 0;
}

LRESULT OnEraseBackground(HWND hwnd, Window* w, WPARAM wParam, LPARAM)
{
    HBRUSH brush = w->windowClass != nullptr ? w->windowClass->background : nullptr;
    if (brush == nullptr || wParam == 0) {
        return 0;
    }
    // A class brush of 1 + COLOR_* names a system colour.
    const auto value = reinterpret_cast<uintptr_t>(brush);
    if (value <= static_cast<uintptr_t>(kSysColorCount)) {
        brush = GetSysColorBrush(static_cast<int>(value) - 1);
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    return FillWithBrush(reinterpret_cast<HDC>(wParam), client, brush) ? TRUE : FALSE;
}

LRESULT OnPaint(HWND hwnd, Window*, WPARAM, LPARAM)
{
    PAINTSTRUCT ps{};
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnPrint(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if ((lParam & PRF_CHECKVISIBLE) != 0 && !IsReallyVisible(w)) {
        return 0;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    // With the frame, the DC's origin is the window's corner; the client
    // parts are drawn from the client's corner.
    POINT saved{};
    const bool shifted = (lParam & PRF_NONCLIENT) != 0;
    if (shifted) {
        PaintNonClient(hwnd, dc, System().active == hwnd);
        OffsetViewportOrgEx(dc, w->client.left, w->client.top, &saved);
    }
    if ((lParam & PRF_ERASEBKGND) != 0 && W(hwnd) != nullptr) {
        Send(hwnd, WM_ERASEBKGND, wParam, 0);
    }
    if ((lParam & PRF_CLIENT) != 0 && W(hwnd) != nullptr) {
        Send(hwnd, WM_PRINTCLIENT, wParam, lParam);
    }
    if ((lParam & PRF_CHILDREN) != 0 && (w = W(hwnd)) != nullptr) {
        // Each visible child prints itself at its place, bottom of the
        // z-order first so that upper siblings cover lower ones.
        std::vector<HWND> children;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
            if (((*it)->style & WS_VISIBLE) != 0) {
                children.push_back((*it)->handle);
            }
        }
        for (HWND child : children) {
            Window* c = W(child);
            if (c == nullptr) {
                continue;
            }
            const int dx = c->rect.left;
            const int dy = c->rect.top;
            POINT old{};
            OffsetViewportOrgEx(dc, dx, dy, &old);
            Send(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
            SetViewportOrgEx(dc, old.x, old.y, nullptr);
        }
    }
    if (shifted) {
        SetViewportOrgEx(dc, saved.x, saved.y, nullptr);
    }
    return 0;
}

LRESULT OnWindowPosChanged(HWND hwnd, Window* w, WPARAM, LPARAM lParam)
{
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos == nullptr) {
        return 0;
    }
    if ((pos->flags & SWP_NOMOVE) == 0) {
        Send(hwnd, WM_MOVE, 0,
             MAKELPARAM(static_cast<WORD>(w->rect.left + w->client.left), static_cast<WORD>(w->rect.top + w->client.top)));
    }
    if ((w = W(hwnd)) != nullptr && ((pos->flags & SWP_NOSIZE) == 0 || (pos->flags & SWP_FRAMECHANGED) != 0)) {
        const WPARAM kind = (w->style & WS_MAXIMIZE) != 0   ? SIZE_MAXIMIZED
                            : (w->style & WS_MINIMIZE) != 0 ? SIZE_MINIMIZED
                                                            : SIZE_RESTORED;
        Send(hwnd, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(Width(w->client)), static_cast<WORD>(Height(w->client))));
    }
    return 0;
}

LRESULT OnSetCursor(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (!IsTopLevel(w) && (w->style & WS_CHILD) != 0 && ToParent(hwnd, w, WM_SETCURSOR, wParam, lParam) != 0) {
        return TRUE;
    }
    if ((w = W(hwnd)) == nullptr) {
        return FALSE;
    }
    const auto hit = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
    LPCSTR standard = nullptr;
    switch (hit) {
    case HTCLIENT:
        if (w->windowClass != nullptr && w->windowClass->cursor != nullptr) {
            SetCursor(w->windowClass->cursor);
            return TRUE;
        }
        return FALSE;
    case HTLEFT: case HTRIGHT: standard = IDC_SIZEWE; break;
    case HTTOP: case HTBOTTOM: standard = IDC_SIZENS; break;
    case HTTOPLEFT: case HTBOTTOMRIGHT: case HTGROWBOX: standard = IDC_SIZENWSE; break;
    case HTTOPRIGHT: case HTBOTTOMLEFT: standard = IDC_SIZENESW; break;
    case HTERROR: case HTNOWHERE: return FALSE;
    default: standard = IDC_ARROW; break;
    }
    SetCursor(LoadCursorA(nullptr, standard));
    return TRUE;
}

LRESULT OnMouseActivate(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (!IsTopLevel(w) && (w->style & WS_CHILD) != 0) {
        const LRESULT parent = ToParent(hwnd, w, WM_MOUSEACTIVATE, wParam, lParam);
        if (parent != 0) {
            return parent;
        }
    }
    return MA_ACTIVATE;
}

LRESULT OnForwardToParent(HWND, Window*, WPARAM, LPARAM) { return 0; }

// Alt (or F10) alone opens the first menu bar item; Alt+letter the item
// of that mnemonic.
void KeyMenu(HWND hwnd, Window* w, LPARAM character)
{
    Window* top = TopLevelOf(w);
    if (top == nullptr || top->menu == nullptr) {
        return;
    }
    int position = character == 0 ? 0 : -1;
    const int count = GetMenuItemCount(top->menu);
    for (int i = 0; character != 0 && i < count; ++i) {
        char text[128];
        GetMenuStringA(top->menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const std::string key = MnemonicOf(text);
        if (!key.empty() && key[0] == static_cast<char>(std::tolower(static_cast<int>(character & 0xFF)))) {
            position = i;
            break;
        }
    }
    (void)hwnd;
    if (position >= 0) {
        TrackMenuBar(top->handle, position);
    }
}

LRESULT OnSysCommand(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    switch (wParam & 0xFFF0) {
    case SC_KEYMENU: KeyMenu(hwnd, w, lParam); break;
    case SC_CLOSE: Send(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    case SC_VSCROLL:
    case SC_HSCROLL:
        TrackWindowScrollBar(hwnd, (wParam & 0xFFF0) == SC_VSCROLL ? SB_VERT : SB_HORZ,
                             POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    default: break;
    }
    return 0;
}

LRESULT OnNcLButtonDown(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    switch (static_cast<LRESULT>(wParam)) {
    case HTMENU:
        if (w->menu != nullptr) {
            TrackMenuBar(hwnd, MenuItemFromPoint(hwnd, w->menu, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        }
        break;
    case HTCLOSE: Send(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam); break;
    case HTVSCROLL: Send(hwnd, WM_SYSCOMMAND, SC_VSCROLL, lParam); break;
    case HTHSCROLL: Send(hwnd, WM_SYSCOMMAND, SC_HSCROLL, lParam); break;
    case HTMINBUTTON: Send(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, lParam); break;
    case HTMAXBUTTON:
        Send(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) != 0 ? SC_RESTORE : SC_MAXIMIZE, lParam);
        break;
    default: break;
    }
    return 0;
}

LRESULT OnNcLButtonDblClk(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LRESULT>(wParam) == HTCAPTION && (w->style & WS_MAXIMIZEBOX) != 0 &&
        (w->style & WS_CAPTION) == WS_CAPTION) {
        Send(hwnd, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) != 0 ? SC_RESTORE : SC_MAXIMIZE, lParam);
    } else if (static_cast<LRESULT>(wParam) == HTSYSMENU) {
        Send(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
    } else if (static_cast<LRESULT>(wParam) == HTVSCROLL || static_cast<LRESULT>(wParam) == HTHSCROLL) {
        // A quick second press on a bar presses it again.
        return OnNcLButtonDown(hwnd, w, wParam, lParam);
    }
    return 0;
}

LRESULT OnSysKeyUp(HWND hwnd, Window* w, WPARAM wParam, LPARAM)
{
    // Alt or F10 released with no other key between: keyboard menu mode.
    const UINT previous = System().lastKeyDown;
    if ((wParam == static_cast<WPARAM>(VK_MENU) || wParam == static_cast<WPARAM>(VK_F10)) &&
        previous == static_cast<UINT>(wParam)) {
        Send(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    }
    (void)hwnd;
    return 0;
}

LRESULT OnSysChar(HWND, Window* w, WPARAM wParam, LPARAM)
{
    if (std::isalnum(static_cast<int>(wParam & 0xFF)) != 0) {
        Send(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam & 0xFF));
    }
    return 0;
}

LRESULT OnSysKeyDown(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (wParam == static_cast<WPARAM>(VK_F4) && (HIWORD(static_cast<uintptr_t>(lParam)) & KF_ALTDOWN) != 0) {
        Send(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    (void)hwnd;
    return 0;
}

LRESULT OnCancelMode(HWND hwnd, Window*, WPARAM, LPARAM)
{
    if (System().capture == hwnd) {
        ReleaseCapture();
    }
    return 0;
}

LRESULT OnSetRedraw(HWND, Window* w, WPARAM wParam, LPARAM)
{
    w->redrawOff = wParam == 0;
    return 0;
}

LRESULT OnQueryUiState(HWND, Window* w, WPARAM, LPARAM) { return w->uiState; }

void UpdateUiState(Window* w, WORD action, WORD flags)
{
    switch (action) {
    case UIS_SET: w->uiState = static_cast<WORD>(w->uiState | flags); break;
    case UIS_CLEAR: w->uiState = static_cast<WORD>(w->uiState & ~flags); break;
    default: break;
    }
}

LRESULT OnChangeUiState(HWND hwnd, Window* w, WPARAM wParam, LPARAM lParam)
{
    if (!IsTopLevel(w) && (w->style & WS_CHILD) != 0) {
        return ToParent(hwnd, w, WM_CHANGEUISTATE, wParam, lParam);
    }
    WORD action = LOWORD(wParam);
    WORD flags = HIWORD(wParam);
    if (action == UIS_INITIALIZE) {
        // Cues show after keyboard input and hide after mouse input.
        const UINT last = System().lastMessage.message;
        const bool keyboard = last >= WM_KEYDOWN && last <= WM_SYSCHAR;
        action = keyboard ? UIS_CLEAR : UIS_SET;
        flags = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    }
    const WORD before = w->uiState;
    WORD after = before;
    if (action == UIS_SET) {
        after = static_cast<WORD>(before | flags);
    } else if (action == UIS_CLEAR) {
        after = static_cast<WORD>(before & ~flags);
    }
    if (after != before) {
        Send(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(action, flags), 0);
    }
    return 0;
}

LRESULT OnUpdateUiState(HWND, Window* w, WPARAM wParam, LPARAM)
{
    UpdateUiState(w, LOWORD(wParam), HIWORD(wParam));
    std::vector<HWND> children;
    for (Window* child : w->children) {
        children.push_back(child->handle);
    }
    for (HWND child : children) {
        Send(child, WM_UPDATEUISTATE, wParam, 0);
    }
    return 0;
}

struct DefaultRow {
    UINT message;
    Handler handler;
    bool toParentFirst; // child windows pass the message to their parent
};

// Messages a child passes up: context menus, wheel and help requests.
LRESULT Up(HWND hwnd, Window* w, UINT msg, WPARAM wParam, LPARAM lParam) { return ToParent(hwnd, w, msg, wParam, lParam); }

constexpr DefaultRow kDefaults[] = {
    {WM_NCCREATE, OnNcCreate, false},
    {WM_NCCALCSIZE, OnNcCalcSize, false},
    {WM_NCHITTEST, OnNcHitTest, false},
    {WM_NCPAINT, OnNcPaint, false},
    {WM_NCACTIVATE, OnNcActivate, false},
    {WM_ACTIVATE, OnActivate, false},
    {WM_SETTEXT, OnSetText, false},
    {WM_GETTEXT, OnGetText, false},
    {WM_GETTEXTLENGTH, OnGetTextLength, false},
    {WM_CLOSE, OnClose, false},
    {WM_ERASEBKGND, OnEraseBackground, false},
    {WM_PAINT, OnPaint, false},
    {WM_PRINT, OnPrint, false},
    {WM_WINDOWPOSCHANGED, OnWindowPosChanged, false},
    {WM_SETCURSOR, OnSetCursor, false},
    {WM_MOUSEACTIVATE, OnMouseActivate, false},
    {WM_CONTEXTMENU, OnForwardToParent, true},
    {WM_MOUSEWHEEL, OnForwardToParent, true},
    {WM_HELP, OnForwardToParent, true},
    {WM_SYSCOMMAND, OnSysCommand, false},
    {WM_NCLBUTTONDOWN, OnNcLButtonDown, false},
    {WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk, false},
    {WM_SYSKEYDOWN, OnSysKeyDown, false},
    {WM_SYSKEYUP, OnSysKeyUp, false},
    {WM_SYSCHAR, OnSysChar, false},
    {WM_CANCELMODE, OnCancelMode, false},
    {WM_SETREDRAW, OnSetRedraw, false},
    {WM_QUERYUISTATE, OnQueryUiState, false},
    {WM_CHANGEUISTATE, OnChangeUiState, false},
    {WM_UPDATEUISTATE, OnUpdateUiState, false},
};

} // namespace
} // namespace nuvex::user

using namespace nuvex::user;

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return 0;
    }
    Spy(hwnd, msg, wParam, lParam, MessageDelivery::Default);
    for (const DefaultRow& row : kDefaults) {
        if (row.message != msg) {
            continue;
        }
        if (row.toParentFirst) {
            return Up(hwnd, w, msg, wParam, lParam);
        }
        return row.handler(hwnd, w, wParam, lParam);
    }
    return 0;
}
