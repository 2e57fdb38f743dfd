// CInPlaceFrame: the resize bar and drop target made with the frame, and
// the toolbar put into the container's frame.
#include "host/shell/in_place_frame.h"

IMPLEMENT_DYNCREATE(CInPlaceFrame, COleIPFrameWnd)

BOOL CInPlaceFrame::PreCreateWindow(CREATESTRUCTA& cs) { return COleIPFrameWnd::PreCreateWindow(cs); }

LRESULT CInPlaceFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CREATE) {
        return COleIPFrameWnd::WindowProc(message, wParam, lParam);
    }
    if (COleIPFrameWnd::WindowProc(message, wParam, lParam) == -1) {
        return -1;
    }
    if (!m_wndResizeBar.Create(this, WS_CHILD | WS_VISIBLE, kInPlaceResizeBarId)) {
        return -1;
    }
    m_dropTarget.Register(this);
    return 0;
}

BOOL CInPlaceFrame::OnCreateControlBars(CFrameWnd* frame, CFrameWnd*)
{
    if (frame == nullptr) {
        return FALSE;
    }
    if (!m_wndToolBar.CreateEx(frame, kInPlaceToolBarControlStyle, kInPlaceToolBarStyle, CRect(0, 0, 0, 0),
                               kInPlaceToolBarId)) {
        return FALSE;
    }
    // Made as the container frame's bar, owned by this frame (creation
    // makes the parent its owner).
    m_wndToolBar.SetOwner(this);
    if (!m_wndToolBar.LoadToolBar(kInPlaceToolBarResource)) {
        m_wndToolBar.DestroyWindow();
        return FALSE;
    }
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&m_wndToolBar);
    return TRUE;
}
