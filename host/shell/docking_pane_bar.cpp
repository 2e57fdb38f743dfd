// The docking bar of a pane group: its window and pane group dialog, its
// own frame (sizing edge, gripper and buttons), sizing by the edge, moving
// by the gripper, and its docked and floating sizes.
#include "host/shell/docking_pane_bar.h"

#include <algorithm>

#include "host/document/nuvex_doc.h"
#include "platform/framework/dc.h"
#include "platform/framework/docking.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/gdiobj.h"
#include "platform/gdi/gdiframe.h"
#include "platform/gdi/syscolor.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CDockingPaneBar, CControlBar)

namespace {

constexpr int kDockedExtra = kPaneBarEdge + kPaneBarMargin;
constexpr int kStretchLength = 32767;
// How thick a dragged bar's outline is drawn.
constexpr int kDragOutline = 3;

} // namespace

CDockingPaneBar::CDockingPaneBar(CNuvexDoc* document)
    : m_highlight(GetSysColor(COLOR_BTNHIGHLIGHT)), m_shadow(GetSysColor(COLOR_BTNSHADOW)), m_dialog(*this),
      m_document(document)
{
}

CDockingPaneBar::~CDockingPaneBar()
{
    if (m_frame != nullptr) {
        m_frame->RemoveControlBar(this);
    }
}

void CDockingPaneBar::AttachToFrame(CFrameWnd& frame)
{
    m_frame = &frame;
    frame.AddControlBar(this);
}

void CDockingPaneBar::AddPage(const PaneItem& item)
{
    PanePage page;
    page.name = item.name;
    page.flags = item.flags;
    page.commandIndex = item.commandIndex;
    m_dialog.AddPage(std::move(page));
}

void CDockingPaneBar::AddTabControl() { m_dialog.AddTabControl(); }

BOOL CDockingPaneBar::Create(CWnd* parent, LPCSTR name, DWORD style, UINT id)
{
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    const DWORD windowStyle = TakeBarStyle(style) | WS_CLIPCHILDREN;
    if (!CWnd::CreateEx(0, className, name, windowStyle, CRect(0, 0, 0, 0), parent, id)) {
        return FALSE;
    }
    // The dialog's size decides the bar's sizes: docked across, it adds the
    // sizing edge and the margin.
    if (m_dialog.CreateInBar()) {
        CRect dialog;
        m_dialog.GetWindowRect(&dialog);
        m_floatingSize = dialog.Size();
        m_horizontalSize = CSize(dialog.Width(), dialog.Height() + kDockedExtra);
        m_verticalSize = CSize(dialog.Width() + kDockedExtra, dialog.Height());
    }
    return TRUE;
}

std::vector<CDockingPaneBar*> CDockingPaneBar::BarsOf(CFrameWnd& frame)
{
    std::vector<CDockingPaneBar*> bars;
    for (POSITION position = frame.m_listControlBars.GetHeadPosition(); position != nullptr;) {
        CControlBar* bar = frame.m_listControlBars.GetNext(position);
        if (bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CDockingPaneBar))) {
            bars.push_back(static_cast<CDockingPaneBar*>(bar));
        }
    }
    return bars;
}

PaneBarSide CDockingPaneBar::Side() const
{
    if (IsFloating() || m_pDockBar == nullptr) {
        return PaneBarSide::Floating;
    }
    return PaneBarSideOf(static_cast<UINT>(m_pDockBar->GetDlgCtrlID()));
}

CSize CDockingPaneBar::WindowSize() const
{
    CRect window;
    GetWindowRect(&window);
    return window.Size();
}

// Floating: the floating size. Docked: across the side when stretching,
// else as long as the side's dock bar, with the docked thickness.
CSize CDockingPaneBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (IsFloating()) {
        return m_floatingSize;
    }
    int length = kStretchLength;
    if (!stretch) {
        CRect site(0, 0, 0, 0);
        if (CWnd* parent = GetParent()) {
            parent->GetClientRect(&site);
        }
        length = std::max<int>(horizontal ? site.Width() : site.Height(), kPaneBarMinimumSize);
    }
    return horizontal ? CSize(length, m_horizontalSize.cy) : CSize(m_verticalSize.cx, length);
}

CSize CDockingPaneBar::CalcDynamicLayout(int length, DWORD mode)
{
    if ((mode & (LM_HORZDOCK | LM_VERTDOCK)) != 0) {
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
    }
    if ((mode & LM_MRUWIDTH) != 0) {
        return m_floatingSize;
    }
    if ((mode & LM_COMMIT) != 0) {
        m_floatingSize.cx = length;
        return m_floatingSize;
    }
    if ((mode & LM_LENGTHY) != 0) {
        m_floatingSize.cy = std::max(length, kPaneBarMinimumSize);
        return m_floatingSize;
    }
    // The width itself is kept until a commit.
    return CSize(std::max(length, kPaneBarMinimumSize), m_floatingSize.cy);
}

// The non-client area ----------------------------------------------------------------------

void CDockingPaneBar::OnNcCalcSize(RECT* rect)
{
    const CRect window(*rect);
    const PaneBarSide side = Side();
    const PaneBarFrame frame = LayoutPaneBarFrame(side, window.Size());
    // All borders but the one on the sizing edge's side.
    m_dwStyle = (m_dwStyle | CBRS_BORDER_ANY) & ~frame.droppedBorder;
    CRect client = frame.client;
    client.OffsetRect(window.left, window.top);
    *rect = client;
}

void CDockingPaneBar::OnNcPaint()
{
    CWindowDC dc(this);
    const CSize size = WindowSize();
    const PaneBarSide side = Side();
    const PaneBarFrame frame = LayoutPaneBarFrame(side, size);
    // The frame around the client area in the face colour.
    CBrush face;
    face.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    const CRect whole(CPoint(0, 0), size);
    CRect parts[4] = {
        CRect(whole.left, whole.top, whole.right, frame.client.top),
        CRect(whole.left, frame.client.bottom, whole.right, whole.bottom),
        CRect(whole.left, frame.client.top, frame.client.left, frame.client.bottom),
        CRect(frame.client.right, frame.client.top, whole.right, frame.client.bottom),
    };
    for (CRect& part : parts) {
        if (!part.IsRectEmpty()) {
            dc.FillRect(&part, &face);
        }
    }
    if (side == PaneBarSide::Floating) {
        return;
    }
    dc.Draw3dRect(&frame.sizingEdge, m_highlight, m_shadow);
    const PaneBarGripper gripper = LayoutPaneBarGripper(side, size);
    CRect close = gripper.closeButton;
    CRect toggle = gripper.toggleButton;
    dc.DrawFrameControl(&close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    dc.DrawFrameControl(&toggle, DFC_CAPTION, DFCS_CAPTIONMAX);
    for (const CRect& line : gripper.lines) {
        dc.Draw3dRect(&line, m_highlight, m_shadow);
    }
}

LRESULT CDockingPaneBar::OnNcHitTest(CPoint screen)
{
    CRect window;
    GetWindowRect(&window);
    const PaneBarSide side = Side();
    const CPoint point(screen.x - window.left, screen.y - window.top);
    const PaneBarFrame frame = LayoutPaneBarFrame(side, window.Size());
    const LRESULT hit = HitTestPaneBar(LayoutPaneBarGripper(side, window.Size()), frame.sizingEdge, point);
    if (hit != HTNOWHERE) {
        return hit;
    }
    return frame.client.PtInRect(point) ? HTCLIENT : HTNOWHERE;
}

// 1. The close button hides the bar.
// 2. The toggle button floats a docked bar or docks a floating one.
// 3. The gripper starts a drag of a bar that sits in a dock bar.
// 4. The sizing edge starts sizing.
bool CDockingPaneBar::OnNcLButtonDown(LRESULT hit, CPoint screen)
{
    if (IsTracking() || Side() == PaneBarSide::Floating) {
        return false;
    }
    switch (hit) {
    case HTSYSMENU: AfxShowControlBar(m_pDockSite, this, FALSE); return true;
    case HTMINBUTTON: ToggleDocking(); return true;
    case HTCAPTION:
        if (m_pDockBar != nullptr) {
            StartDragging(screen);
        }
        return true;
    case HTGROWBOX: StartSizing(screen); return true;
    default: return false;
    }
}

void CDockingPaneBar::ToggleDocking()
{
    if (m_pDockSite == nullptr) {
        return;
    }
    if (IsFloating()) {
        AfxDockControlBar(m_pDockSite, this, m_uMRUDockID);
    } else {
        CRect window;
        GetWindowRect(&window);
        AfxFloatControlBar(m_pDockSite, this, window.TopLeft());
    }
}

// Tracking ----------------------------------------------------------------------------------

void CDockingPaneBar::DrawTracker()
{
    AfxDrawDragTracker(m_pDockSite, m_tracker, m_tracking == Tracking::Dragging ? kDragOutline : 0);
}

void CDockingPaneBar::StartSizing(CPoint screen)
{
    (void)screen;
    CRect window;
    GetWindowRect(&window);
    m_trackSide = Side();
    const PaneBarFrame frame = LayoutPaneBarFrame(m_trackSide, window.Size());
    SetCapture();
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    m_tracker = frame.sizingEdge;
    m_tracker.OffsetRect(window.left, window.top);
    m_trackStart = m_tracker.CenterPoint();
    if (!IsHorizontalSide(m_trackSide)) {
        m_tracker.bottom -= 4;
    }
    m_tracking = Tracking::Sizing;
    DrawTracker();
}

void CDockingPaneBar::StartDragging(CPoint screen)
{
    SetCapture();
    GetWindowRect(&m_tracker);
    m_trackStart = screen;
    m_trackSide = Side();
    m_tracking = Tracking::Dragging;
    DrawTracker();
}

void CDockingPaneBar::TrackTo(CPoint screen)
{
    CRect moved = m_tracker;
    if (m_tracking == Tracking::Sizing) {
        const CPoint point = CorrectSizingPoint(m_trackSide, screen);
        const CPoint centre = m_tracker.CenterPoint();
        if (IsHorizontalSide(m_trackSide)) {
            moved.OffsetRect(0, point.y - centre.y);
        } else {
            moved.OffsetRect(point.x - centre.x, 0);
        }
    } else {
        CRect window;
        GetWindowRect(&window);
        moved = window;
        moved.OffsetRect(screen.x - m_trackStart.x, screen.y - m_trackStart.y);
    }
    if (moved != m_tracker) {
        DrawTracker();
        m_tracker = moved;
        DrawTracker();
    }
}

// Erases the tracker and lets the mouse go; an accepted sizing stores the
// new thickness, an accepted drag docks or floats the bar where it was
// dropped.
void CDockingPaneBar::StopTracking(bool accept)
{
    const Tracking tracking = m_tracking;
    if (tracking == Tracking::None) {
        return;
    }
    DrawTracker();
    m_tracking = Tracking::None;
    if (::GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
    if (!accept || m_pDockSite == nullptr) {
        return;
    }
    if (tracking == Tracking::Dragging) {
        POINT drop{};
        ::GetCursorPos(&drop);
        AfxDropControlBar(m_pDockSite, this, CPoint(drop.x, drop.y), m_trackStart);
        return;
    }
    CRect site;
    m_pDockSite->GetWindowRect(&site);
    const bool horizontal = IsHorizontalSide(m_trackSide);
    const int delta = SizingDelta(m_trackSide, m_tracker.CenterPoint(), m_trackStart);
    if (horizontal) {
        m_horizontalSize.cy = SizedThickness(m_horizontalSize.cy, delta, site.Height());
    } else {
        m_verticalSize.cx = SizedThickness(m_verticalSize.cx, delta, site.Width());
    }
    AfxRecalcBarLayout(m_pDockSite);
}

void CDockingPaneBar::PlaceDialog()
{
    if (m_dialog.GetSafeHwnd() == nullptr) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    m_placing = true;
    m_dialog.MoveWindow(&client, TRUE);
    m_placing = false;
}

LRESULT CDockingPaneBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE:
        OnNcCalcSize(wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                 : reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCPAINT: OnNcPaint(); return 0;
    case WM_NCHITTEST: {
        if (Side() == PaneBarSide::Floating) {
            break;
        }
        return OnNcHitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    }
    case WM_NCLBUTTONDOWN:
        if (OnNcLButtonDown(static_cast<LRESULT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<LRESULT>(wParam) == HTCAPTION) {
            ToggleDocking();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK: ToggleDocking(); return 0;
    case WM_LBUTTONDOWN:
        if (!IsTracking() && m_pDockBar != nullptr && !IsFloating()) {
            POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(&screen);
            StartDragging(CPoint(screen.x, screen.y));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (IsTracking()) {
            POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(&screen);
            TrackTo(CPoint(screen.x, screen.y));
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (IsTracking()) {
            if (m_tracking == Tracking::Sizing) {
                POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(&screen);
                TrackTo(CPoint(screen.x, screen.y));
            }
            StopTracking(true);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (IsTracking() && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            StopTracking(false);
        }
        break;
    case WM_SETCURSOR:
        if (!IsTracking() && static_cast<LRESULT>(LOWORD(lParam)) == HTGROWBOX) {
            ::SetCursor(LoadCursorA(nullptr, IsHorizontalSide(Side()) ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
        if (m_placing || m_dialog.GetSafeHwnd() == nullptr) {
            return result;
        }
        PlaceDialog();
        // A bar that moved to another side takes that side's frame.
        CWnd* dockBar = m_pDockBar;
        if (dockBar != m_lastDockBar) {
            m_lastDockBar = dockBar;
            m_placing = true;
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            m_placing = false;
            PlaceDialog();
        }
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
        if (!m_placing) {
            PlaceDialog();
        }
        return result;
    }
    default: break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}
