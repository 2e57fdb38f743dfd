// CChildFrame: the document window's style, its maximised activation and
// the pane bars it owns.
#include "host/shell/child_frame.h"

#include "host/shell/docking_pane_bar.h"

IMPLEMENT_DYNCREATE(CChildFrame, NUVEX_CHILD_FRAME_BASE)

CChildFrame::CChildFrame() = default;

CChildFrame::~CChildFrame()
{
    // Each bar leaves the frame's list of bars as it goes, while the frame
    // (its base) is still whole.
    m_paneBars.clear();
}

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CChildFrameBase::PreCreateWindow(cs)) {
        return FALSE;
    }
    // The MDI client's clipping of siblings stays.
    cs.style = static_cast<LONG>(kChildFrameStyle | (static_cast<DWORD>(cs.style) & WS_CLIPSIBLINGS));
    return TRUE;
}

void CChildFrame::ActivateFrame(int)
{
    CChildFrameBase::ActivateFrame(SW_SHOWMAXIMIZED);
}

void CChildFrame::AdoptPaneBar(std::unique_ptr<CDockingPaneBar> bar)
{
    if (bar != nullptr) {
        bar->m_bAutoDelete = FALSE;
        m_paneBars.push_back(std::move(bar));
    }
}

std::vector<CDockingPaneBar*> CChildFrame::PaneBars() const
{
    std::vector<CDockingPaneBar*> bars;
    bars.reserve(m_paneBars.size());
    for (const auto& bar : m_paneBars) {
        bars.push_back(bar.get());
    }
    return bars;
}

LRESULT CChildFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        // The base's creation, answered as 0 or -1 only.
        return CChildFrameBase::WindowProc(message, wParam, lParam) == -1 ? -1 : 0;
    }
    return CChildFrameBase::WindowProc(message, wParam, lParam);
}
