// CView: painting through OnDraw, document updates and command routing to
// the document.
#include "platform/framework/view.h"

#include "platform/framework/dc.h"
#include "platform/framework/document.h"
#include "platform/framework/framewnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView()
{
    if (m_pDocument != nullptr) {
        // Leaving the list may close (and delete) a document without views.
        m_pDocument->RemoveView(this);
    }
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = kAfxFrameOrView;
    }
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    // The creation context names the document the view shows.
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context != nullptr && context->m_pCurrentDoc != nullptr) {
        context->m_pCurrentDoc->AddView(this);
    }
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && frame->GetActiveView() == this) {
        frame->SetActiveView(nullptr, FALSE);
    }
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message)
{
    const int answer = CWnd::OnMouseActivate(desktop, hitTest, message);
    if (answer == static_cast<int>(MA_NOACTIVATE) || answer == static_cast<int>(MA_NOACTIVATEANDEAT)) {
        return answer;
    }
    // A click makes this the frame's active view.
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && frame->GetActiveView() != this) {
        frame->SetActiveView(this);
    }
    return answer;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView* sender, LPARAM, CObject*)
{
    if (sender != this) {
        Invalidate(TRUE);
    }
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView*)
{
    if (activate && activateView == this) {
        // The view takes the focus when its frame is the active one.
        CFrameWnd* frame = GetParentFrame();
        if (frame != nullptr && ::GetFocus() != m_hWnd && frame->GetActiveView() == this) {
            SetFocus();
        }
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, pExtra, handlerInfo)) {
        return TRUE;
    }
    return m_pDocument != nullptr ? m_pDocument->OnCmdMsg(id, code, pExtra, handlerInfo) : FALSE;
}
