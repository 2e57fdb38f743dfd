// CWnd: the member wrappers of the window calls and the default handlers
// that derived handlers chain to.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/framework/dc.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"

// Relations --------------------------------------------------------------------

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent != nullptr ? parent->m_hWnd : nullptr)); }

CWnd* CWnd::GetOwner() const
{
    if (m_pOwner != nullptr) {
        return m_pOwner;
    }
    return GetParent();
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    HWND top = m_hWnd;
    while ((static_cast<DWORD>(GetWindowLongPtrA(top, GWL_STYLE)) & WS_CHILD) != 0) {
        HWND parent = ::GetParent(top);
        if (parent == nullptr) {
            break;
        }
        top = parent;
    }
    return FromHandle(top);
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(SetWindowLongPtrA(m_hWnd, GWLP_ID, id)); }

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) {
            CWnd* found = onlyPermanent ? FromHandlePermanent(child) : FromHandle(child);
            if (found != nullptr) {
                return found;
            }
        }
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetWindow(child, GW_CHILD) != nullptr) {
            if (CWnd* found = FromHandle(child)->GetDescendantWindow(id, onlyPermanent)) {
                return found;
            }
        }
    }
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT relation) const { return FromHandle(::GetWindow(m_hWnd, relation)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::ChildWindowFromPoint(POINT client) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, client)); }
CWnd* CWnd::WindowFromPoint(POINT screen) { return FromHandle(::WindowFromPoint(screen)); }
BOOL CWnd::IsChild(const CWnd* other) const
{
    return other != nullptr ? ::IsChild(m_hWnd, other->m_hWnd) : FALSE;
}
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

// State ----------------------------------------------------------------------------

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

namespace {

BOOL ModifyStyleAt(HWND hwnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) {
        return FALSE;
    }
    SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(changed));
    if (swpFlags != 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    }
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyStyleAt(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyStyleAt(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
BOOL CWnd::BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
void CWnd::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
int CWnd::GetWindowText(LPSTR buffer, int size) const { return ::GetWindowTextA(m_hWnd, buffer, size); }

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBufferSetLength(length);
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu != nullptr ? menu->m_hMenu : nullptr); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapseMs, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
void CWnd::SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw, 0); }

BOOL CWnd::SetDlgItemText(int id, LPCSTR text)
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    return item != nullptr ? ::SetWindowTextA(item, text) : FALSE;
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    text.Empty();
    CWnd* item = GetDlgItem(id);
    if (item == nullptr) {
        return 0;
    }
    item->GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned) {
        snprintf(text, sizeof text, "%d", static_cast<int>(value));
    } else {
        snprintf(text, sizeof text, "%u", value);
    }
    return SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    CString text;
    GetDlgItemText(id, text);
    text.Trim();
    const char* begin = text.GetString();
    char* end = nullptr;
    errno = 0;
    const long long value = strtoll(begin, &end, 10);
    bool ok = end != begin && *end == '\0' && errno == 0;
    if (ok && isSigned) {
        ok = value >= INT32_MIN && value <= INT32_MAX;
    } else if (ok) {
        ok = value >= 0 && value <= static_cast<long long>(UINT32_MAX) && begin[0] != '-';
    }
    if (translated != nullptr) {
        *translated = ok ? TRUE : FALSE;
    }
    return ok ? static_cast<UINT>(value) : 0;
}

// Geometry ---------------------------------------------------------------------------

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter != nullptr ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rect->right));
}
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->right));
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to != nullptr ? to->m_hWnd : nullptr, points, count);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, to != nullptr ? to->m_hWnd : nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    CRect area;
    HWND over = alternateOwner != nullptr ? alternateOwner->m_hWnd : nullptr;
    if (over == nullptr) {
        over = (GetStyle() & WS_CHILD) != 0 ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    const bool child = (GetStyle() & WS_CHILD) != 0;
    if (over != nullptr && !child) {
        ::GetWindowRect(over, &area);
    } else if (over != nullptr) {
        ::GetClientRect(over, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect own;
    GetWindowRect(&own);
    int x = area.left + (area.Width() - own.Width()) / 2;
    int y = area.top + (area.Height() - own.Height()) / 2;
    if (!child) {
        // Keep a top-level window on the work area.
        CRect work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - own.Width()));
        y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - own.Height()));
    }
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Painting ----------------------------------------------------------------------------

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc != nullptr ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

// Default handlers --------------------------------------------------------------

int CWnd::OnCreate(CREATESTRUCTA*) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(CREATESTRUCTA*) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnChildActivate() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }

void CWnd::OnDrawItem(int, DRAWITEMSTRUCT* item)
{
    // Owner-drawn menu items draw through their CMenu object.
    if (item != nullptr && item->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(item->hwndItem))) {
            menu->DrawItem(item);
            return;
        }
    }
    Default();
}

void CWnd::OnMeasureItem(int, MEASUREITEMSTRUCT* item)
{
    if (item != nullptr && item->CtlType == ODT_MENU) {
        // The item's menu is not named in the message; ask the popup the
        // window tracks, else the window's menu bar and its popups.
        CMenu* bar = CMenu::FromHandlePermanent(CMenu::GetTrackingMenu(m_hWnd));
        if (bar == nullptr) {
            bar = CMenu::FromHandlePermanent(::GetMenu(m_hWnd));
        }
        if (bar != nullptr) {
            bar->MeasureItem(item);
            return;
        }
    }
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSettingChange(UINT, LPCSTR) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }

// Layout of control bars ---------------------------------------------------------

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hwnd, LPCRECT rect)
{
    if (layout == nullptr || layout->hDWP == nullptr || hwnd == nullptr) {
        return;
    }
    HWND parent = ::GetParent(hwnd);
    CRect current;
    ::GetWindowRect(hwnd, &current);
    if (parent != nullptr) {
        ::ScreenToClient(parent, reinterpret_cast<POINT*>(&current.left));
        ::ScreenToClient(parent, reinterpret_cast<POINT*>(&current.right));
    }
    if (current.EqualRect(rect)) {
        return;
    }
    ::SetWindowPos(hwnd, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags, LPRECT rectParam, LPCRECT rectClient,
                          BOOL stretch)
{
    AFX_SIZEPARENTPARAMS layout{};
    // Any non-null value: the bars move unless only asked.
    layout.hDWP = (flags & reposQuery) != 0 ? nullptr : &layout;
    layout.bStretch = stretch;
    if (rectClient != nullptr) {
        layout.rect = *rectClient;
    } else {
        ::GetClientRect(m_hWnd, &layout.rect);
    }
    HWND leftOverWnd = nullptr;
    // 1. Each bar in the id range takes its share, in child order.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const auto id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == leftOver) {
            leftOverWnd = child;
        } else if (id >= first && id <= last) {
            ::SendMessageA(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
        }
    }
    // 2. Asked only: the free rectangle (or the total size) goes back.
    if ((flags & reposQuery) != 0) {
        if (rectParam != nullptr) {
            if (stretch) {
                *rectParam = layout.rect;
            } else {
                rectParam->left = rectParam->top = 0;
                rectParam->right = layout.sizeTotal.cx;
                rectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }
    // 3. The left-over window takes the rest, less the extra borders.
    if ((flags & reposExtra) != 0 && rectParam != nullptr) {
        layout.rect.left += rectParam->left;
        layout.rect.top += rectParam->top;
        layout.rect.right -= rectParam->right;
        layout.rect.bottom -= rectParam->bottom;
    }
    if (leftOverWnd != nullptr) {
        AfxRepositionWindow(&layout, leftOverWnd, &layout.rect);
    }
}
