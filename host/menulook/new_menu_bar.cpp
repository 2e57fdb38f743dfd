// The menu bar's buttons, creation, its hold on the frame's menu and on the
// frame and MDI client windows, and its layout in rows.
#include "host/menulook/new_menu_bar.h"

#include <algorithm>
#include <map>

#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "platform/framework/docking.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/mdi.h"

IMPLEMENT_DYNAMIC(CNewMenuBar, CControlBar)

namespace {

constexpr int kLongest = 32767;
constexpr int kLayoutClamp = 0x7F00;
constexpr int kGripperExtra = 7;
constexpr DWORD kBarStyleBits = 0x0040FFFF;

// The bar of a frame or MDI client window.
std::map<HWND, CNewMenuBar*>& BarMap()
{
    static std::map<HWND, CNewMenuBar*> map;
    return map;
}

CNewMenuBar* BarOf(HWND window)
{
    auto it = BarMap().find(window);
    return it != BarMap().end() ? it->second : nullptr;
}

LRESULT MenuBarFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNewMenuBar* bar = BarOf(window);
    return bar != nullptr ? bar->OnFrameMessage(window, message, wParam, lParam) : 0;
}

LRESULT MenuBarMDIClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNewMenuBar* bar = BarOf(window);
    return bar != nullptr ? bar->OnMDIClientMessage(window, message, wParam, lParam) : 0;
}

bool IsMdiFrame(HWND frame)
{
    auto* wnd = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(frame));
    return wnd != nullptr && wnd->m_hWndMDIClient != nullptr;
}

HWND MdiClientOf(HWND frame)
{
    auto* wnd = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(frame));
    return wnd != nullptr ? wnd->m_hWndMDIClient : nullptr;
}

} // namespace

// Buttons ------------------------------------------------------------------------------------------

void CMenuBarItem::GetRect(CRect& out, BOOL vertical) const
{
    if (!vertical) {
        out = m_rect;
        return;
    }
    out = CRect(m_rect.top, m_rect.left, m_rect.top + m_rect.Height(), m_rect.left + m_rect.Width());
}

BOOL CMenuBarItem::HitTest(POINT point, BOOL vertical) const
{
    CRect r;
    GetRect(r, vertical);
    return r.PtInRect(point);
}

HMENU CMenuBarButton::GetSubMenu(HWND) { return ::GetSubMenu(m_menu, m_position); }

UINT CMenuBarButton::GetID(HWND) { return ::GetMenuItemID(m_menu, m_position); }

CMenuBarSysButton::CMenuBarSysButton(UINT_PTR bitmap, UINT id) : m_bitmap(bitmap), m_id(id)
{
    BITMAP info{};
    if (bitmap > 11 && bitmap != static_cast<UINT_PTR>(-1) &&
        GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) != 0) {
        m_rect = CRect(0, 0, info.bmWidth + 4, info.bmHeight + 4);
    } else {
        m_rect = CRect(0, 0, GetSystemMetrics(SM_CXMENUSIZE), GetSystemMetrics(SM_CYMENUSIZE));
    }
}

void CMenuBarSysButton::GetRect(CRect& out, BOOL vertical) const
{
    out = vertical ? CRect(m_rect.top, m_rect.left, m_rect.top + m_rect.Width(), m_rect.left + m_rect.Height())
                   : m_rect;
}

HMENU CMenuBarSysButton::GetSubMenu(HWND frame)
{
    if (m_bitmap != 1) {
        return nullptr;
    }
    HWND child = CNewMenuBar::GetActiveMDIChild(frame);
    return child != nullptr ? GetSystemMenu(child, FALSE) : nullptr;
}

// The bar ---------------------------------------------------------------------------------------------

UINT CNewMenuBar::WM_GETMENU() { return CNewMenu::WM_GETMENU(); }

UINT CNewMenuBar::WM_REMOVEMENU()
{
    static const UINT message = RegisterWindowMessageA("CNewMenuBar::WM_REMOVEMENU");
    return message;
}

CNewMenuBar::CNewMenuBar()
{
    m_cxLeftBorder = 3;
    m_cxRightBorder = 0;
    m_cyTopBorder = 0;
    m_cyBottomBorder = 1;
    WM_GETMENU();
    WM_REMOVEMENU();
}

CNewMenuBar::~CNewMenuBar()
{
    DeleteItems();
    if (m_frame != nullptr) {
        BarMap().erase(m_frame);
    }
    if (m_client != nullptr) {
        BarMap().erase(m_client);
    }
}

BOOL CNewMenuBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CNewMenuBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id)
{
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    m_dwStyle = style & kBarStyleBits;
    if (id == kMenuBarId) {
        m_dwStyle |= CBRS_HIDE_INPLACE;
    }
    const CString className = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                                  reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)),
                                                  nullptr);
    return CWnd::CreateEx(0, className, "Menu Bar", (style & ~kBarStyleBits) | controlStyle, CRect(0, 0, 0, 0),
                          parent, id);
}

int CNewMenuBar::OnCreate(CREATESTRUCTA*)
{
    if (MenuLibrary().osStyle > kOsStyleNt4) {
        SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    }
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return 0;
    }
    SetOwner(parent);
    m_pDockSite = parent;
    m_frame = parent->GetSafeHwnd();
    BarMap()[m_frame] = this;
    m_framePrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuBarFrameProc)));
    if (HWND client = MdiClientOf(m_frame)) {
        m_client = client;
        BarMap()[m_client] = this;
        m_clientPrevious = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(m_client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuBarMDIClientProc)));
    }
    return 0;
}

void CNewMenuBar::OnDestroy()
{
    SetHoverTimer(FALSE);
    DeleteItems();
}

void CNewMenuBar::DeleteItems()
{
    std::vector<std::unique_ptr<CMenuBarItem>> kept;
    for (auto& item : m_items) {
        if (item && item->m_keep) {
            kept.push_back(std::move(item));
        }
    }
    // Kept items belong to whoever keeps them; the bar forgets them.
    for (auto& item : kept) {
        (void)item.release();
    }
    m_items.clear();
    m_hotItem = -1;
    m_currentItem = -1;
}

CWnd* CNewMenuBar::DockFrame() const
{
    if (m_pDockSite != nullptr) {
        return m_pDockSite;
    }
    return CWnd::FromHandle(m_frame);
}

HWND CNewMenuBar::FrameHandle() const { return m_frame; }

HWND CNewMenuBar::GetActiveMDIChild(HWND window)
{
    HWND frame = window;
    while (frame != nullptr && !IsMdiFrame(frame)) {
        frame = ::GetParent(frame);
    }
    if (frame == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(::SendMessageA(MdiClientOf(frame), WM_MDIGETACTIVE, 0, 0));
}

// Taking the menu -------------------------------------------------------------------------------------

void CNewMenuBar::OnUpdateCmdUI(CWnd*, BOOL)
{
    if (m_frame == nullptr) {
        return;
    }
    HMENU frameMenu = ::GetMenu(m_frame);
    if (IsMdiFrame(m_frame)) {
        if (IsMenu(frameMenu) != FALSE) {
            RebuildItems(frameMenu);
            ::PostMessageA(m_frame, WM_REMOVEMENU(), 0, 0);
        }
        BOOL maximized = FALSE;
        HWND child = reinterpret_cast<HWND>(
            ::SendMessageA(m_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (child != nullptr && maximized != m_maximized) {
            RebuildItems(nullptr);
            Invalidate();
        } else if (child == nullptr && m_maximized) {
            RebuildItems(nullptr);
            Invalidate();
        }
        return;
    }
    if (IsMenu(frameMenu) != FALSE) {
        ::SetMenu(m_frame, nullptr);
        RebuildItems(frameMenu);
    }
}

void CNewMenuBar::RebuildItems(HMENU menu)
{
    m_maximized = FALSE;
    if (m_client != nullptr) {
        ::SendMessageA(m_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&m_maximized));
    }
    if (menu != nullptr) {
        m_menu = menu;
    }
    DeleteItems();
    const int count = ::GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = kMenuItemInfoSize32;
        info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
        if (::GetMenuItemInfoA(m_menu, static_cast<UINT>(i), TRUE, &info) == FALSE) {
            continue;
        }
        if ((info.fType & MFT_BITMAP) != 0) {
            MENUITEMINFOA bitmap{};
            bitmap.cbSize = sizeof bitmap;
            bitmap.fMask = MIIM_BITMAP;
            ::GetMenuItemInfoA(m_menu, static_cast<UINT>(i), TRUE, &bitmap);
            m_items.push_back(std::make_unique<CMenuBarSysButton>(reinterpret_cast<UINT_PTR>(bitmap.hbmpItem), info.wID));
            continue;
        }
        auto button = std::make_unique<CMenuBarButton>(m_menu, i);
        if ((info.fType & MFT_RIGHTJUSTIFY) != 0) {
            button->m_state |= kItemRightJustify;
        }
        if ((info.fType & MFT_OWNERDRAW) != 0) {
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
            ::SendMessageA(m_frame, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
            button->m_rect = CRect(0, 0, static_cast<int>(measure.itemWidth) + GetSystemMetrics(SM_CXMENUCHECK),
                                   GetSystemMetrics(SM_CYMENU));
        } else {
            button->m_rect = CRect(0, 0, GetSystemMetrics(SM_CXMENUSIZE) + 2, GetSystemMetrics(SM_CYMENUSIZE) + 2);
        }
        m_items.push_back(std::move(button));
    }
    if (m_maximized) {
        m_items.insert(m_items.begin(), std::make_unique<CMenuBarSysButton>(1, static_cast<UINT>(-1)));
        auto minimise = std::make_unique<CMenuBarSysButton>(3, SC_MINIMIZE);
        minimise->m_state |= kItemRightJustify;
        m_items.push_back(std::move(minimise));
        m_items.push_back(std::make_unique<CMenuBarSysButton>(2, SC_RESTORE));
        m_items.push_back(std::make_unique<CMenuBarSysButton>(5, SC_CLOSE));
    }
    RecalcFrameLayout();
}

void CNewMenuBar::RecalcFrameLayout()
{
    if (m_hWnd == nullptr) {
        return;
    }
    Invalidate();
    if (auto* frame = dynamic_cast<CFrameWnd*>(DockFrame())) {
        frame->RecalcLayout(TRUE);
    }
    CWnd* parent = GetParent();
    CWnd* parentFrame = parent != nullptr ? parent->GetParent() : nullptr;
    if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(parentFrame)) {
        mini->RecalcLayout();
    }
}

// Layout ------------------------------------------------------------------------------------------------

CSize CNewMenuBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    return CalcLayout((horizontal ? LM_HORZ : 0) | (stretch ? LM_STRETCH : 0), -1);
}

CSize CNewMenuBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && (mode & (LM_MRUWIDTH | LM_COMMIT)) == 0 && (mode & (LM_HORZDOCK | LM_VERTDOCK)) != 0) {
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    }
    return CalcLayout(mode, length);
}

int CNewMenuBar::GetDockedLength(BOOL horizontal)
{
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) == 0) {
        CRect client;
        GetClientRect(&client);
        return horizontal ? client.Width() : client.Height();
    }
    int extra = m_cxLeftBorder + 2 * GetSystemMetrics(horizontal ? SM_CXFRAME : SM_CYFRAME) + m_cxRightBorder;
    if ((m_dwStyle & CBRS_GRIPPER) != 0) {
        extra += kGripperExtra;
    }
    CRect outer;
    if (IsFloating()) {
        ::GetWindowRect(m_frame, &outer);
    } else if (CWnd* parent = GetParent()) {
        parent->GetWindowRect(&outer);
        if (CWnd* frame = DockFrame(); frame != nullptr && outer.Width() == 0) {
            frame->GetClientRect(&outer);
        }
    }
    return (horizontal ? outer.Width() : outer.Height()) - extra;
}

CSize CNewMenuBar::CalcLayout(DWORD mode, int length)
{
    CSize size(0, 0);
    const BOOL floating = IsFloating();
    if (floating) {
        CWnd* parent = GetParent();
        CWnd* mini = parent != nullptr ? parent->GetParent() : nullptr;
        if (mini != nullptr) {
            if (HMENU system = ::GetSystemMenu(mini->GetSafeHwnd(), FALSE)) {
                ::EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
            }
        }
    }
    const int count = static_cast<int>(m_items.size());
    std::vector<MenuBarLayoutRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[static_cast<size_t>(i)].rect = m_items[static_cast<size_t>(i)]->m_rect;
        records[static_cast<size_t>(i)].state = m_items[static_cast<size_t>(i)]->m_state;
    }
    MenuBarLayoutRecord* data = records.data();
    if (count > 0 && (m_dwStyle & CBRS_SIZE_FIXED) == 0) {
        const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
        if (dynamic && (mode & LM_MRUWIDTH) != 0) {
            SizeItems(data, count, m_mruWidth, FALSE);
            size = CalcSize(data, count);
            ApplyLayout(data, count);
        } else if (dynamic && (mode & LM_HORZDOCK) != 0) {
            const int docked = GetDockedLength(TRUE);
            SizeItems(data, count, docked, FALSE);
            size = CSize(docked, CalcSize(data, count).cy);
        } else if (dynamic && (mode & LM_VERTDOCK) != 0) {
            const int docked = GetDockedLength(FALSE);
            SizeItems(data, count, docked, TRUE);
            const CSize natural = CalcSize(data, count);
            size = CSize(natural.cy, natural.cx);
        } else if (dynamic && length != -1) {
            CRect margins(0, 0, 0, 0);
            CalcInsideRect(margins, (mode & LM_HORZ) != 0);
            const int along = length + ((mode & LM_LENGTHY) != 0 ? -margins.Height() : -margins.Width());
            SizeItems(data, count, along, (mode & LM_LENGTHY) != 0);
            size = CalcSize(data, count);
        } else if (dynamic && floating) {
            SizeItems(data, count, m_mruWidth, FALSE);
            size = CalcSize(data, count);
        } else if (floating) {
            size = CalcSize(data, count);
            ApplyLayout(data, count);
        } else {
            const BOOL horizontal = (mode & LM_HORZ) != 0;
            const int docked = GetDockedLength(horizontal);
            SizeItems(data, count, docked, !horizontal);
            const CSize natural = CalcSize(data, count);
            ApplyLayout(data, count);
            size = horizontal ? CSize(kLongest, natural.cy) : CSize(natural.cy, kLongest);
        }
    }
    if ((mode & LM_COMMIT) != 0) {
        if (floating && (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0) {
            m_mruWidth = size.cx;
        }
        ApplyLayout(data, count);
    }
    CRect margins(0, 0, 0, 0);
    CalcInsideRect(margins, (mode & LM_HORZ) != 0);
    size.cx -= margins.Width();
    size.cy -= margins.Height();
    const CSize minimum = CControlBar::CalcFixedLayout(FALSE, (mode & LM_HORZ) != 0);
    size.cx = std::min<LONG>(std::max(size.cx, minimum.cx), kLayoutClamp);
    size.cy = std::min<LONG>(std::max(size.cy, minimum.cy), kLayoutClamp);
    return size;
}

void CNewMenuBar::SizeItems(MenuBarLayoutRecord* records, int count, int length, BOOL)
{
    if (!IsFloating()) {
        WrapItems(records, count, length);
        return;
    }
    WrapItems(records, count, 0);
    CSize small = CalcSize(records, count);
    WrapItems(records, count, kLongest);
    CSize large = CalcSize(records, count);
    while (small.cx < large.cx) {
        const int middle = (small.cx + large.cx) / 2;
        WrapItems(records, count, middle);
        const CSize mid = CalcSize(records, count);
        if (mid.cx == large.cx) {
            break;
        }
        if (length < large.cx) {
            large = mid;
        } else {
            if (mid == small) {
                WrapItems(records, count, large.cx);
                break;
            }
            small = mid;
        }
    }
}

int CNewMenuBar::WrapItems(MenuBarLayoutRecord* records, int count, int width)
{
    int x = 0;
    int y = 0;
    int rowBottom = 0;
    int rows = 0;
    int runStart = -1;
    for (int i = 0; i < count; ++i) {
        MenuBarLayoutRecord& r = records[i];
        r.state &= ~kItemWrap;
        const int w = r.rect.Width();
        const int h = r.rect.Height();
        if (x + w > width && x != 0) {
            if (runStart >= 0) {
                JustifyRow(records, runStart, i - 1, width);
                runStart = i;
            }
            r.state |= kItemWrap;
            ++rows;
            x = 0;
            y = rowBottom;
        }
        r.rect = CRect(x, y, x + w, y + h);
        x += w;
        rowBottom = std::max(rowBottom, y + h);
        if (runStart < 0 && (r.state & kItemRightJustify) != 0) {
            runStart = i;
        }
    }
    JustifyRow(records, runStart, count - 1, width);
    return rows + 1;
}

void CNewMenuBar::JustifyRow(MenuBarLayoutRecord* records, int first, int last, int width)
{
    if (width <= 0 || first < 0 || first > last) {
        return;
    }
    const int shift = width - records[last].rect.right;
    for (int i = first; i <= last; ++i) {
        records[i].rect.OffsetRect(shift, 0);
    }
}

CSize CNewMenuBar::CalcSize(const MenuBarLayoutRecord* records, int count)
{
    CSize size(0, 0);
    for (int i = 0; i < count; ++i) {
        size.cx = std::max<LONG>(size.cx, records[i].rect.right);
        size.cy = std::max<LONG>(size.cy, records[i].rect.bottom);
    }
    return size;
}

void CNewMenuBar::ApplyLayout(const MenuBarLayoutRecord* records, int count)
{
    for (int i = 0; i < count && i < static_cast<int>(m_items.size()); ++i) {
        m_items[static_cast<size_t>(i)]->m_rect = records[i].rect;
        m_items[static_cast<size_t>(i)]->m_state = records[i].state;
    }
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
    }
}

int CNewMenuBar::HitTestItems(CPoint point) const
{
    const BOOL vertical = IsVerticalBar();
    for (int i = static_cast<int>(m_items.size()) - 1; i >= 0; --i) {
        if (m_items[static_cast<size_t>(i)]->HitTest(point, vertical)) {
            return i;
        }
    }
    return -1;
}

// The frame and the MDI client ------------------------------------------------------------------------

LRESULT CNewMenuBar::OnFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_framePrevious;
    auto passOn = [&] { return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam) : 0; };
    if (message == WM_GETMENU()) {
        return reinterpret_cast<LRESULT>(m_menu);
    }
    if (message == WM_REMOVEMENU()) {
        return ::SetMenu(window, nullptr);
    }
    switch (message) {
    case WM_MEASUREITEM: {
        if (MeasureNewMenuItem(window, wParam, lParam)) {
            return TRUE;
        }
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item != nullptr && item->CtlType == ODT_MENU) {
            if (CNewMenu* menu = GetCNewMenuFromHandle(m_menu, item->itemID)) {
                menu->MeasureItem(item);
                return 0;
            }
        }
        return passOn();
    }
    case WM_DRAWITEM:
        // The buttons draw through the menu's owner drawing, whatever the
        // frame's own handling does with menu items.
        return DrawNewMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ? TRUE : passOn();
    case WM_DESTROY: {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        BarMap().erase(window);
        m_framePrevious = nullptr;
        m_frame = nullptr;
        return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        CNewMenu::RefreshMenuCaches();
        SetMenuBackground(m_menu);
        RecalcFrameLayout();
        return passOn();
    case WM_INITMENUPOPUP: {
        passOn();
        m_inOwnPopup = TRUE;
        return 0;
    }
    case WM_MENUSELECT: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        m_noSubmenu = ::GetSubMenu(menu, LOWORD(wParam)) == nullptr;
        m_inOwnPopup = menu == m_openPopup;
        return passOn();
    }
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (auto* newMenu = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu))) {
            if (LRESULT answer = HookMenuPopup(LOBYTE(wParam), HIWORD(wParam), newMenu)) {
                return answer;
            }
        }
        return passOn();
    }
    default: return passOn();
    }
}

LRESULT CNewMenuBar::OnMDIClientMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_clientPrevious;
    switch (message) {
    case WM_DESTROY:
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        BarMap().erase(window);
        m_clientPrevious = nullptr;
        m_client = nullptr;
        return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
    case WM_MDISETMENU: {
        HWND frame = ::GetParent(window);
        if (::GetMenu(frame) != nullptr) {
            ::SetMenu(frame, nullptr);
        }
        if (previous != nullptr) {
            CallWindowProcA(previous, window, message, 0, lParam);
        }
        if (wParam != 0) {
            RebuildItems(reinterpret_cast<HMENU>(wParam));
        }
        return 0;
    }
    case WM_MDIREFRESHMENU: {
        HWND frame = ::GetParent(window);
        if (::GetMenu(frame) != nullptr) {
            ::SetMenu(frame, nullptr);
        }
        const LRESULT menu = previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
        RebuildItems(reinterpret_cast<HMENU>(menu));
        return 0;
    }
    default: return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
    }
}

// Messages of the bar ---------------------------------------------------------------------------------

LRESULT CNewMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT created = CControlBar::WindowProc(message, wParam, lParam);
        if (created == -1) {
            return -1;
        }
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    }
    case WM_DESTROY:
        OnDestroy();
        return CControlBar::WindowProc(message, wParam, lParam);
    case WM_TIMER:
        if (wParam == m_hoverTimer && m_hoverTimer != 0) {
            OnTimer(wParam);
            return 0;
        }
        break;
    case WM_NCPAINT: OnNcPaint(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_MOUSEMOVE: OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); break;
    case WM_LBUTTONDOWN:
        if (OnLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (OnLButtonUp(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
            return 0;
        }
        break;
    case WM_NCCALCSIZE:
        if (wParam != 0) {
            OnNcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
            return 0;
        }
        break;
    case WM_NCHITTEST: return HTCLIENT;
    default: break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

void CNewMenuBar::OnNcCalcSize(NCCALCSIZE_PARAMS* params)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& r = params->rgrc[0];
    r.left += inside.left;
    r.top += inside.top;
    if (!IsFloating()) {
        r.right += inside.right;
        r.bottom += inside.bottom;
    }
}
