// CView: a window that shows a document. It is a child of its frame
// (normally with the pane id), paints through OnDraw, hears of document
// changes through OnUpdate, and routes commands to its document after its
// own map.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/wnd.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
struct CCreateContext;

class NUVEX_PLATFORM_API CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    // Leaves its document's view list.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnInitialUpdate();
    // The document changed; the default invalidates the whole view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactivateView);
    virtual void OnActivateFrame(UINT state, CFrameWnd* frame);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // View, then document (which asks its template).
    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // Views delete themselves with their window.
    void PostNcDestroy() override;

protected:
    friend class CDocument;
    int OnCreate(CREATESTRUCTA* cs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()
};

// What a frame is made with: the view class to make in it and the document
// it shows, handed through creation as the creation parameter.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
