// Control bars: the WM_SIZEPARENT layout along the frame's edges, the
// bar styles and borders, dragging a bar to dock or float it, and idle
// command-UI updates. The tool bar is in controlbar_toolbar.cpp, the status
// bar in controlbar_statusbar.cpp and the dialog bar in
// controlbar_dialogbar.cpp.
#include <algorithm>

#include "platform/framework/controlbar_internal.h"
#include "platform/framework/docking.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

constexpr int kEdge = 2;          // a CBRS_BORDER_* edge
constexpr int kGripper = 8;       // room for the gripper across the bar

} // namespace

using nuvex::framework::bars::kStretchLength;

CControlBar::~CControlBar()
{
    if (m_pDockBar != nullptr) {
        m_pDockBar->RemoveControlBar(this);
    }
    AfxForgetControlBar(this);
}

void CControlBar::EnableDocking(DWORD style) { m_dwDockStyle = style & CBRS_ALIGN_ANY; }

BOOL CControlBar::OnDragMessage(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: {
        if (m_dwDockStyle == 0 || m_pDockSite == nullptr || IsFloating()) {
            return FALSE;
        }
        CRect client;
        GetClientRect(&client);
        CRect inside = client;
        CalcInsideRect(inside, IsHorizontal());
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        // Only the gripper and the borders around the items start a drag.
        if (inside.PtInRect(point)) {
            return FALSE;
        }
        m_dragging = true;
        POINT screen = point;
        ClientToScreen(&screen);
        m_dragStart = screen;
        SetCapture();
        return TRUE;
    }
    case WM_LBUTTONUP: {
        if (!m_dragging) {
            return FALSE;
        }
        m_dragging = false;
        ReleaseCapture();
        POINT drop{};
        ::GetCursorPos(&drop);
        AfxDropControlBar(m_pDockSite, this, CPoint(drop.x, drop.y), CPoint(m_dragStart.x, m_dragStart.y));
        return TRUE;
    }
    case WM_MOUSEMOVE: return m_dragging ? TRUE : FALSE;
    case WM_CAPTURECHANGED:
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_dragging = false;
        }
        return FALSE;
    default: return FALSE;
    }
}

void CControlBar::SetBarStyle(DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    if (m_hWnd != nullptr) {
        Invalidate();
    }
}

void CControlBar::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

DWORD CControlBar::TakeBarStyle(DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    return style & ~CBRS_ALL;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    rect.left += m_cxLeftBorder + kEdge * ((m_dwStyle & CBRS_BORDER_LEFT) != 0 ? 1 : 0);
    rect.top += m_cyTopBorder + kEdge * ((m_dwStyle & CBRS_BORDER_TOP) != 0 ? 1 : 0);
    rect.right -= m_cxRightBorder + kEdge * ((m_dwStyle & CBRS_BORDER_RIGHT) != 0 ? 1 : 0);
    rect.bottom -= m_cyBottomBorder + kEdge * ((m_dwStyle & CBRS_BORDER_BOTTOM) != 0 ? 1 : 0);
    if ((m_dwStyle & CBRS_GRIPPER) != 0 && !IsFloating()) {
        if (horizontal) {
            rect.left += kGripper;
        } else {
            rect.top += kGripper;
        }
    }
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    // The borders alone; bars with items add theirs.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horizontal);
    CSize size(-inside.Width(), -inside.Height());
    if (stretch) {
        (horizontal ? size.cx : size.cy) = kStretchLength;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::OnSizeParent(AFX_SIZEPARENTPARAMS* layout)
{
    if (layout == nullptr || (GetStyle() & WS_VISIBLE) == 0 || IsFloating()) {
        return;
    }
    CRect free(layout->rect);
    const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    const BOOL horizontal = (align & CBRS_ORIENT_HORZ) != 0 || align == 0;
    CSize size = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0
                     ? CalcDynamicLayout(-1, (horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK) |
                                                 (layout->bStretch ? LM_STRETCH : 0))
                     : CalcFixedLayout(layout->bStretch, horizontal);
    CRect bar = free;
    if (horizontal) {
        size.cx = std::min<LONG>(size.cx, free.Width());
        size.cy = std::min<LONG>(size.cy, free.Height());
        bar.right = bar.left + size.cx;
        if ((align & CBRS_ALIGN_BOTTOM) != 0 && (align & CBRS_ALIGN_TOP) == 0) {
            bar.top = free.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        } else {
            bar.bottom = free.top + size.cy;
            layout->rect.top += size.cy;
        }
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    } else {
        size.cx = std::min<LONG>(size.cx, free.Width());
        size.cy = std::min<LONG>(size.cy, free.Height());
        bar.bottom = bar.top + size.cy;
        if ((align & CBRS_ALIGN_RIGHT) != 0 && (align & CBRS_ALIGN_LEFT) == 0) {
            bar.left = free.right - size.cx;
            layout->rect.right -= size.cx;
        } else {
            bar.right = free.left + size.cx;
            layout->rect.left += size.cx;
        }
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
    }
    if (layout->hDWP != nullptr) {
        AfxRepositionWindow(layout, m_hWnd, &bar);
    }
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnDragMessage(message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case WM_SIZEPARENT: OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam)); return 0;
    case WM_IDLEUPDATECMDUI:
        if (IsWindowVisible()) {
            CWnd* target = GetOwner();
            OnUpdateCmdUI(target != nullptr ? target : GetParent(), static_cast<BOOL>(wParam));
        }
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM: {
        // What the bar's controls (or the bars a dock bar holds) tell their
        // parent is the owner's to route, unless the bar handles it itself.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        if (CWnd* owner = GetOwner(); owner != nullptr && owner != this) {
            return owner->SendMessage(message, wParam, lParam);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete) {
        delete this;
    }
}
