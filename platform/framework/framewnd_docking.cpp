// The frame's control-bar members: its list of bars, and docking, floating,
// showing and the saved layout of the bars on its sides, done by the
// docking functions that work on any window.
#include "platform/framework/controlbar.h"
#include "platform/framework/docking.h"
#include "platform/framework/framewnd.h"

#include <algorithm>
#include <vector>

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (bar != nullptr && m_listControlBars.Find(bar) == nullptr) {
        m_listControlBars.AddTail(bar);
    }
}

void CFrameWnd::DestroyFloatingFrames()
{
    // The floating frames belong to this frame: they go first, so that no
    // bar in them outlives the frame it names as its own.
    std::vector<CControlBar*> bars = AfxDockedBars(this);
    for (POSITION position = m_listControlBars.GetHeadPosition(); position != nullptr;) {
        bars.push_back(m_listControlBars.GetNext(position));
    }
    std::vector<HWND> floating;
    for (CControlBar* bar : bars) {
        if (bar->m_pDockBar != nullptr && bar->m_pDockBar->IsFloatingDockBar() && bar->m_pDockBar->GetParent() != nullptr) {
            const HWND frame = bar->m_pDockBar->GetParent()->GetSafeHwnd();
            if (frame != nullptr && frame != m_hWnd && std::find(floating.begin(), floating.end(), frame) == floating.end()) {
                floating.push_back(frame);
            }
        }
    }
    for (HWND frame : floating) {
        if (::IsWindow(frame)) {
            ::DestroyWindow(frame);
        }
    }
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    if (POSITION position = m_listControlBars.Find(bar)) {
        m_listControlBars.RemoveAt(position);
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT id)
{
    // The bars that dock here first: the docking functions keep that list
    // as bars come and go; then the ones added by hand.
    for (CControlBar* bar : AfxDockedBars(this)) {
        if (bar->GetSafeHwnd() != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == id) {
            return bar;
        }
    }
    for (POSITION position = m_listControlBars.GetHeadPosition(); position != nullptr;) {
        CControlBar* bar = m_listControlBars.GetNext(position);
        if (bar->GetSafeHwnd() != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == id) {
            return bar;
        }
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL)
{
    AfxShowControlBar(this, bar, show);
}

void CFrameWnd::EnableDocking(DWORD dockStyle) { AfxEnableDocking(this, dockStyle); }

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    AfxDockControlBar(this, bar, dockBarId, rect);
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    AfxFloatControlBar(this, bar, point, style);
}

void CFrameWnd::SaveBarState(LPCSTR profileName) const
{
    CDockState state;
    AfxGetDockState(const_cast<CFrameWnd*>(this), state);
    state.SaveState(profileName);
}

void CFrameWnd::LoadBarState(LPCSTR profileName)
{
    // A profile without a complete layout changes nothing.
    CDockState state;
    if (state.LoadState(profileName)) {
        AfxSetDockState(this, state);
    }
}
