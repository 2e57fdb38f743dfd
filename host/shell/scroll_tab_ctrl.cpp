// The pane group's tab control with its scrolling page area, and the page
// dialog that hands its controls' commands to the current panel.
#include "host/shell/scroll_tab_ctrl.h"

#include <algorithm>

#include "host/document/nuvex_doc.h"
#include "host/shell/pane_group_dialog.h"
#include "platform/controls/controls.h"
#include "platform/user/scroll.h"

IMPLEMENT_DYNAMIC(CScrollTabCtrl, CTabCtrl)

namespace {

// The viewport and the page dialog: plain visible children, no items.
DialogTemplate ChildTemplate()
{
    DialogTemplate dialog;
    dialog.style = WS_CHILD | WS_VISIBLE;
    return dialog;
}

// Scroll bars start with a range of 0-10 and show disabled when not needed.
void InitialiseBar(CScrollBar& bar, int page)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = 10;
    info.nPage = static_cast<UINT>(page);
    info.nPos = 0;
    bar.SetScrollInfo(&info);
}

void SetBarRange(CScrollBar& bar, const ScrollAxis& axis)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = axis.maximum;
    info.nPage = static_cast<UINT>(std::max(axis.page, 0));
    bar.SetScrollInfo(&info);
}

} // namespace

// CScrollPageDialog -------------------------------------------------------------------------

CPaneGroupDialog* CScrollPageDialog::Group() const
{
    // Page dialog -> viewport -> tab control -> group dialog.
    CWnd* viewport = GetParent();
    CWnd* tabs = viewport != nullptr ? viewport->GetParent() : nullptr;
    CWnd* group = tabs != nullptr ? tabs->GetParent() : nullptr;
    return dynamic_cast<CPaneGroupDialog*>(group);
}

// 1. Enter with no control: swallowed.
// 2. Esc with no control: the document's running command is cancelled.
// 3. Anything else goes to the selected page's current panel, unless it
//    arises while an owner handles another notification. The control sees
//    its own notification first.
BOOL CScrollPageDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CPaneGroupDialog* group = Group();
    if (lParam == 0 && wParam == IDOK) {
        return TRUE;
    }
    if (lParam == 0 && wParam == IDCANCEL) {
        if (CNuvexDoc* document = group != nullptr ? group->GetDocument() : nullptr) {
            document->CancelCommand();
        }
        return TRUE;
    }
    if (lParam != 0) {
        ReflectLastMsg(reinterpret_cast<HWND>(lParam), WM_COMMAND, wParam, lParam, nullptr);
    }
    if (!m_forwarding && group != nullptr) {
        m_forwarding = true;
        group->NotifyPanel(static_cast<LONG>(static_cast<DWORD>(wParam)));
        m_forwarding = false;
    }
    return TRUE;
}

BOOL CScrollPageDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    CPaneGroupDialog* group = Group();
    if (header != nullptr && header->code == UDN_DELTAPOS && !m_forwarding && group != nullptr) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        const auto value = static_cast<LONG>(MAKELONG(static_cast<WORD>(header->idFrom), static_cast<WORD>(change->iDelta)));
        m_forwarding = true;
        group->NotifyPanel(value);
        m_forwarding = false;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

// CScrollTabCtrl ----------------------------------------------------------------------------

CScrollTabCtrl::~CScrollTabCtrl()
{
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

BOOL CScrollTabCtrl::CreateScrolling(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!Create(style, rect, parent, id)) {
        return FALSE;
    }
    if (!m_viewport.CreateIndirect(ChildTemplate(), this) || !m_pageDialog.CreateIndirect(ChildTemplate(), &m_viewport)) {
        return FALSE;
    }
    m_horizontalAxis.shown = false;
    m_verticalAxis.shown = false;
    m_vertical.Create(WS_CHILD | SBS_VERT, CRect(0, 0, 0, 0), this, kPageVerticalScrollId);
    m_horizontal.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 0, 0), this, kPageHorizontalScrollId);
    InitialiseBar(m_vertical, 5);
    InitialiseBar(m_horizontal, 8);
    m_made = true;
    return TRUE;
}

BOOL CScrollTabCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0) {
        ReflectLastMsg(reinterpret_cast<HWND>(lParam), WM_COMMAND, wParam, lParam, nullptr);
    }
    return TRUE;
}

CRect CScrollTabCtrl::DisplayArea()
{
    CRect area;
    GetClientRect(&area);
    AdjustRect(FALSE, &area);
    return area;
}

// 1. The area is the display area less 2 pixels at the right and bottom.
// 2. A page taller than the area takes the vertical bar (the viewport
//    gives up 14 pixels at the right); one wider takes the horizontal bar
//    (14 at the bottom), and then the vertical one too if that made the
//    viewport shorter than the page.
// 3. The page dialog sits at minus the bars' positions.
void CScrollTabCtrl::RecalcLayout()
{
    if (!m_made || m_viewport.GetSafeHwnd() == nullptr || m_pageDialog.GetSafeHwnd() == nullptr) {
        return;
    }
    CRect area = DisplayArea();
    area.right -= 2;
    area.bottom -= 2;
    CRect view = area;
    CRect page;
    m_pageDialog.GetWindowRect(&page);
    m_verticalAxis.shown = false;
    m_horizontalAxis.shown = false;
    if (page.Height() > view.Height()) {
        m_verticalAxis.shown = true;
        view.right -= kPageScrollBarSpace;
    }
    if (page.Width() > view.Width()) {
        m_horizontalAxis.shown = true;
        view.bottom -= kPageScrollBarSpace;
        if (!m_verticalAxis.shown && page.Height() > view.Height()) {
            m_verticalAxis.shown = true;
            view.right -= kPageScrollBarSpace;
        }
    }
    m_viewport.MoveWindow(&view, TRUE);

    if (m_verticalAxis.shown) {
        const int bottom = area.bottom - (m_horizontalAxis.shown ? kPageScrollBarSize : 0);
        m_vertical.MoveWindow(CRect(area.right - kPageScrollBarSize, area.top, area.right, bottom), TRUE);
        m_verticalAxis.maximum = page.Height() - 1;
        m_verticalAxis.page = view.Height();
        SetBarRange(m_vertical, m_verticalAxis);
        m_vertical.ShowWindow(SW_SHOW);
    } else {
        m_vertical.ShowWindow(SW_HIDE);
    }
    if (m_horizontalAxis.shown) {
        const int right = area.right - (m_verticalAxis.shown ? kPageScrollBarSize : 0);
        m_horizontal.MoveWindow(CRect(area.left, area.bottom - kPageScrollBarSize, right, area.bottom), TRUE);
        m_horizontalAxis.maximum = page.Width() - 1;
        m_horizontalAxis.page = view.Width();
        SetBarRange(m_horizontal, m_horizontalAxis);
        m_horizontal.ShowWindow(SW_SHOW);
    } else {
        m_horizontal.ShowWindow(SW_HIDE);
    }
    const int x = m_horizontalAxis.shown ? -m_horizontal.GetScrollPos() : 0;
    const int y = m_verticalAxis.shown ? -m_vertical.GetScrollPos() : 0;
    m_pageDialog.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Line steps of 5 pixels, page steps of the visible extent, kept between 0
// and the maximum less the page; thumb tracking moves the page without
// moving the bar's thumb.
void CScrollTabCtrl::Scroll(bool vertical, int code, int thumb)
{
    CScrollBar& bar = vertical ? m_vertical : m_horizontal;
    const ScrollAxis& axis = vertical ? m_verticalAxis : m_horizontalAxis;
    const int old = bar.GetScrollPos();
    const int last = axis.maximum - axis.page;
    int pos = old;
    switch (code) {
    case SB_LINEUP: pos = std::max(old - kPageScrollLine, 0); break;
    case SB_LINEDOWN: pos = std::min(old + kPageScrollLine, last); break;
    case SB_PAGEUP: pos = std::max(old - axis.page, 0); break;
    case SB_PAGEDOWN: pos = std::min(old + axis.page, last); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = thumb; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = last; break;
    default: return;
    }
    if (code != SB_THUMBTRACK) {
        bar.SetScrollPos(pos);
    }
    if (pos == old && code != SB_THUMBPOSITION && code != SB_THUMBTRACK) {
        return;
    }
    CRect page;
    m_pageDialog.GetWindowRect(&page);
    m_viewport.ScreenToClient(&page);
    if (vertical) {
        m_pageDialog.SetWindowPos(nullptr, page.left, -pos, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        m_pageDialog.SetWindowPos(nullptr, -pos, page.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CScrollTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (lParam != 0) {
            Scroll(message == WM_VSCROLL, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CTabCtrl::WindowProc(message, wParam, lParam);
        RecalcLayout();
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return result;
    }
    default: break;
    }
    return CTabCtrl::WindowProc(message, wParam, lParam);
}
