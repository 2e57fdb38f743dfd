// Menu bar tracking: hot buttons under the mouse, the popup loop of a
// button watched through a message filter and restarted for the
// neighbouring button, and keyboard menu mode (Alt, F10, arrows, Enter,
// Space, Esc, mnemonics).
//
// Tracking states: 0 idle, 1 a button's popup is open, 2 one button is hot
// (mouse hover or keyboard menu mode).
#include <cctype>

#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu_bar.h"
#include "platform/framework/framewnd.h"

namespace {

constexpr UINT kHoverPeriodMs = 100;
constexpr UINT_PTR kFirstSystemCommand = 0xF000;
constexpr UINT_PTR kLastSystemCommand = 0xF150;

// The bar whose popup is open, and the filter hook of its loop.
CNewMenuBar* g_activeBar = nullptr;
HHOOK g_filterHook = nullptr;

} // namespace

UINT CNewMenuBar::StateBits(int state) const
{
    UINT bits = 0;
    if (state == kTrackPopup) {
        bits = kItemTracking | kItemSelected;
    } else if (state == kTrackHot) {
        bits = kItemHot;
    }
    if (IsVerticalBar()) {
        bits |= kItemVertical;
    }
    return bits;
}

void CNewMenuBar::InvalidateItem(int index)
{
    if (index < 0 || index >= static_cast<int>(m_items.size()) || m_hWnd == nullptr) {
        return;
    }
    CRect r;
    m_items[static_cast<size_t>(index)]->GetRect(r, IsVerticalBar());
    InvalidateRect(&r, FALSE);
}

void CNewMenuBar::SetTrackingState(int item, int state)
{
    if (state != m_tracking && MenuLibrary().osStyle > kOsStyleNt4 && m_frame != nullptr) {
        HWND top = GetAncestor(m_frame, GA_ROOT);
        const LRESULT cues = ::SendMessageA(top, WM_QUERYUISTATE, 0, 0);
        if (state == kTrackNone) {
            if (cues != (UISF_HIDEFOCUS | UISF_HIDEACCEL)) {
                ::SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
                Invalidate(FALSE);
            }
        } else if (m_tracking == kTrackNone) {
            ::SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
            if (::SendMessageA(top, WM_QUERYUISTATE, 0, 0) != cues) {
                Invalidate(FALSE);
            }
        }
    }
    m_tracking = state;
    const int count = static_cast<int>(m_items.size());
    auto valid = [&](int index) { return index >= 0 && index < count; };
    if (item == m_hotItem) {
        if (valid(m_hotItem)) {
            CMenuBarItem& hot = *m_items[static_cast<size_t>(m_hotItem)];
            const UINT word = (hot.m_state & ~kItemTrackingBits) | StateBits(state);
            if (((word ^ hot.m_state) & ~kItemNoAccel) != 0) {
                hot.m_state = word;
                InvalidateItem(m_hotItem);
            }
        }
    } else {
        if (valid(m_hotItem)) {
            CMenuBarItem& old = *m_items[static_cast<size_t>(m_hotItem)];
            old.m_state = (old.m_state & ~kItemTrackingBits) | (IsVerticalBar() ? kItemVertical : 0u);
            InvalidateItem(m_hotItem);
        }
        m_hotItem = item;
        if (valid(item)) {
            CMenuBarItem& hot = *m_items[static_cast<size_t>(item)];
            const UINT word = (hot.m_state & ~kItemTrackingBits) | StateBits(state);
            if (word != hot.m_state) {
                hot.m_state = word;
                InvalidateItem(item);
            }
        }
    }
    m_currentItem = item;
}

UINT_PTR CNewMenuBar::SetHoverTimer(BOOL on)
{
    if (on) {
        if (m_hoverTimer == 0 && m_hWnd != nullptr) {
            m_hoverTimer = SetUnusedTimer(m_hWnd, kHoverPeriodMs);
        }
    } else if (m_hoverTimer != 0) {
        ::KillTimer(m_hWnd, m_hoverTimer);
        m_hoverTimer = 0;
    }
    return m_hoverTimer;
}

bool CNewMenuBar::ApplicationActive() const
{
    CWnd* frame = DockFrame();
    HWND top = frame != nullptr ? GetAncestor(frame->GetSafeHwnd(), GA_ROOT) : nullptr;
    HWND focus = ::GetFocus();
    return top != nullptr && focus != nullptr && (focus == top || ::IsChild(top, focus) != FALSE);
}

void CNewMenuBar::OnTimer(UINT_PTR)
{
    if (!ApplicationActive()) {
        SetTrackingState(-1, kTrackNone);
        SetHoverTimer(FALSE);
        return;
    }
    if (m_tracking == kTrackHot) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (::WindowFromPoint(cursor) != m_hWnd) {
            SetTrackingState(-1, kTrackNone);
            SetHoverTimer(FALSE);
        }
    } else if (m_tracking == kTrackNone) {
        SetHoverTimer(FALSE);
    }
}

void CNewMenuBar::OnMouseMove(CPoint point)
{
    if (point == m_lastMouse) {
        return;
    }
    if (!ApplicationActive()) {
        SetTrackingState(-1, kTrackNone);
        SetHoverTimer(FALSE);
        return;
    }
    m_systemKey = FALSE;
    m_lastMouse = point;
    const int hit = HitTestItems(point);
    if (hit >= 0) {
        if (m_tracking == kTrackPopup) {
            OnLButtonDown(point);
            return;
        }
        SetTrackingState(hit, kTrackHot);
        SetHoverTimer(TRUE);
        return;
    }
    if (m_tracking == kTrackHot) {
        SetTrackingState(-1, kTrackNone);
        SetHoverTimer(FALSE);
    }
}

BOOL CNewMenuBar::OnLButtonDown(CPoint point)
{
    m_buttonDownItem = -1;
    m_currentItem = HitTestItems(point);
    if (m_currentItem < 0) {
        SetTrackingState(-1, kTrackNone);
        return FALSE; // the control bar's handling drags the bar
    }
    TrackPopup(m_currentItem);
    return TRUE;
}

BOOL CNewMenuBar::OnLButtonUp(CPoint point)
{
    const int hit = HitTestItems(point);
    if (hit < 0) {
        return FALSE;
    }
    CMenuBarItem& item = *m_items[static_cast<size_t>(hit)];
    if (IsMenu(item.GetSubMenu(m_frame)) == FALSE) {
        SetTrackingState(m_currentItem, kTrackNone);
        ::SendMessageA(m_frame, WM_COMMAND, item.GetID(m_frame), 0);
    }
    return TRUE;
}

bool CNewMenuBar::DispatchPendingPaints()
{
    MSG msg{};
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE) {
        if (::GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT) <= 0) {
            // The quit request belongs to the program's loop: put it back,
            // so that the program still ends.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::DispatchMessageA(&msg);
    }
    // A quit request already waiting ends the tracking too.
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE) {
        return false;
    }
    return true;
}

BOOL CNewMenuBar::TrackPopup(int item)
{
    if (m_reopen) {
        return FALSE;
    }
    if (item < 0 || item >= static_cast<int>(m_items.size())) {
        return TRUE;
    }
    m_currentItem = item;
    do {
        CMenuBarItem& button = *m_items[static_cast<size_t>(m_currentItem)];
        HMENU popup = button.GetSubMenu(m_frame);
        if (IsMenu(popup) == FALSE) {
            m_reopen = FALSE;
            SetTrackingState(m_currentItem, m_tracking == kTrackPopup ? kTrackPopup : kTrackHot);
            SetHoverTimer(TRUE);
            return FALSE;
        }
        SetTrackingState(m_currentItem, kTrackPopup);
        UpdateWindow();
        m_popupOwner = m_frame;
        m_openPopup = popup;
        CRect rect;
        button.GetRect(rect, IsVerticalBar());
        ClientToScreen(&rect);
        auto* newMenu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(popup));
        auto* parent = newMenu != nullptr ? dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(newMenu->GetParentMenu()))
                                          : nullptr;
        if (parent != nullptr) {
            // The opening button, where the popup's frame joins the bar.
            parent->SetMenuBorderRect(rect);
            parent->SetOwnerWindow(m_frame);
        }
        if (!DispatchPendingPaints()) {
            SetTrackingState(-1, kTrackNone);
            return FALSE;
        }
        g_activeBar = this;
        m_reopen = FALSE;
        // Nothing is selected in the fresh popup, so no submenu is either.
        m_noSubmenu = TRUE;
        m_inOwnPopup = TRUE;
        g_filterHook = SetWindowsHookExA(WH_MSGFILTER, &MenuBarMsgFilterHook, nullptr, 0);
        TrackBarPopupMenu(popup, 0, BarPopupPlacement{rect, m_frame, IsVerticalBar()});
        if (g_filterHook != nullptr) {
            UnhookWindowsHookEx(g_filterHook);
        }
        g_filterHook = nullptr;
        g_activeBar = nullptr;
        if (m_hWnd == nullptr) {
            return TRUE;
        }
        UpdateWindow();
        if (!m_reopen || m_currentItem < 0 || m_tracking != kTrackPopup) {
            m_reopen = FALSE;
            SetTrackingState(m_currentItem, m_tracking == kTrackPopup ? kTrackNone : m_tracking);
            return TRUE;
        }
    } while (m_reopen);
    return TRUE;
}

LRESULT MenuBarMsgFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && g_activeBar != nullptr && lParam != 0) {
        const MSG copy = *reinterpret_cast<const MSG*>(lParam);
        if (g_activeBar->FilterMenuMessage(copy)) {
            return 1;
        }
    }
    return CallNextHookEx(g_filterHook, code, wParam, lParam);
}

BOOL CNewMenuBar::FilterMenuMessage(const MSG& msg)
{
    int hit = -1;
    if (::WindowFromPoint(msg.pt) == m_hWnd) {
        POINT client = msg.pt;
        ScreenToClient(&client);
        hit = HitTestItems(CPoint(client.x, client.y));
    }
    const CPoint point(msg.pt.x, msg.pt.y);
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (point != m_lastMouse) {
            if (hit >= 0 && hit != m_currentItem) {
                ::PostMessageA(m_popupOwner, WM_CANCELMODE, 0, 0);
                m_currentItem = hit;
                m_reopen = TRUE;
            }
            m_lastMouse = point;
        }
        return FALSE;
    case WM_KEYDOWN:
        if ((msg.wParam == VK_LEFT && m_inOwnPopup) || (msg.wParam == VK_RIGHT && m_noSubmenu)) {
            m_currentItem = GetNextItem(m_currentItem, msg.wParam == VK_RIGHT);
            ::PostMessageA(m_popupOwner, WM_CANCELMODE, 0, 0);
            m_reopen = TRUE;
            return TRUE;
        }
        return FALSE;
    case WM_SYSKEYDOWN: m_systemKey = TRUE; return FALSE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
        // A quick second click on a button is a press of it like any other.
        if (hit >= 0) {
            if (hit != m_currentItem) {
                ::PostMessageA(m_popupOwner, WM_CANCELMODE, 0, 0);
                m_currentItem = hit;
                m_reopen = TRUE;
            }
            m_buttonDownItem = m_currentItem;
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        if (hit >= 0 && hit == m_buttonDownItem) {
            ::PostMessageA(m_popupOwner, WM_CANCELMODE, 0, 0);
            m_reopen = FALSE;
            m_tracking = kTrackHot;
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

int CNewMenuBar::GetNextItem(int item, BOOL forward)
{
    const int n = static_cast<int>(m_items.size());
    if (n == 0) {
        return -1;
    }
    while (item < 0) {
        item += n;
    }
    for (int step = 0; step < n; ++step) {
        item = (item + (forward ? 1 : n - 1)) % n;
        const UINT id = m_items[static_cast<size_t>(item)]->GetID(m_frame);
        if (id < kFirstSystemCommand || id > kLastSystemCommand) {
            return item;
        }
    }
    return -1;
}

BOOL CNewMenuBar::TranslateFrameMessage(MSG* msg)
{
    if (msg == nullptr || m_hWnd == nullptr ||
        (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_SYSKEYUP)) {
        return FALSE;
    }
    const bool alt = (HIWORD(msg->lParam) & KF_ALTDOWN) != 0;
    const UINT key = static_cast<UINT>(msg->wParam & 0xFF);
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // 1. Alt, or F10 alone, enter and leave keyboard menu mode.
    if (key == VK_MENU || (key == VK_F10 && !shift && !control && !alt)) {
        if (msg->message == WM_SYSKEYUP) {
            if (m_tracking == kTrackNone || m_tracking == kTrackPopup) {
                if (m_systemKey) {
                    m_systemKey = FALSE;
                } else {
                    SetTrackingState(0, kTrackHot);
                }
            } else if (m_tracking == kTrackHot) {
                SetTrackingState(-1, kTrackNone);
            }
        }
        return TRUE;
    }
    if (msg->message == WM_SYSKEYUP) {
        return FALSE;
    }
    // 2. Keys of menu mode.
    if (m_tracking == kTrackPopup || m_tracking == kTrackHot) {
        const bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        const UINT moveBack = horizontal ? VK_LEFT : VK_UP;
        const UINT moveOn = horizontal ? VK_RIGHT : VK_DOWN;
        const UINT openBack = horizontal ? VK_UP : VK_LEFT;
        const UINT openOn = horizontal ? VK_DOWN : VK_RIGHT;
        const bool valid = m_currentItem >= 0 && m_currentItem < static_cast<int>(m_items.size());
        if (key == moveBack || key == moveOn) {
            m_currentItem = GetNextItem(m_currentItem, key == moveOn);
            if (m_tracking == kTrackPopup) {
                TrackPopup(m_currentItem);
            } else {
                SetTrackingState(m_currentItem, kTrackHot);
            }
            return TRUE;
        }
        if (key == openBack || key == openOn) {
            TrackPopup(m_currentItem);
            return TRUE;
        }
        if (key == VK_RETURN || key == VK_SPACE) {
            if (!valid) {
                return FALSE;
            }
            CMenuBarItem& item = *m_items[static_cast<size_t>(m_currentItem)];
            if (IsMenu(item.GetSubMenu(m_frame)) == FALSE) {
                SetTrackingState(m_currentItem, kTrackNone);
                ::SendMessageA(m_frame, WM_COMMAND, item.GetID(m_frame), 0);
                return TRUE;
            }
            if (key == VK_SPACE) {
                TrackPopup(m_currentItem);
                return TRUE;
            }
            return FALSE; // Enter on a popup button goes on to the focus window
        }
        if (key == VK_ESCAPE) {
            SetTrackingState(-1, kTrackNone);
            return TRUE;
        }
    }
    // 3. Mnemonics.
    if ((alt || m_tracking == kTrackHot) && std::isalnum(static_cast<int>(key)) != 0) {
        auto* menu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(m_menu));
        const LRESULT answer = menu != nullptr ? HookMenuPopup(key, MF_POPUP, menu) : 0;
        if (answer != 0) {
            const int position = static_cast<int>(LOWORD(static_cast<uintptr_t>(answer))) + (m_maximized ? 1 : 0);
            m_currentItem = position;
            TrackPopup(position);
            return TRUE;
        }
        return m_tracking == kTrackHot && !alt ? TRUE : FALSE;
    }
    return FALSE;
}
