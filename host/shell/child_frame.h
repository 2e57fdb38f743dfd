// CChildFrame: the MDI child frame of a drawing, holding its view and the
// docking bars of the registered pane groups.
#pragma once

#include <memory>
#include <vector>

#include "host/shell/frame_classes.h"

class CDockingPaneBar;

// The window style of every document window: a visible, maximised MDI child
// with the document's title.
constexpr DWORD kChildFrameStyle = WS_CHILD | WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;

class CChildFrame : public CChildFrameBase {
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();
    // The pane bars go with the frame (their windows are gone by then, as
    // children of the frame or of its floating frames).
    ~CChildFrame() override;

    // The base's, then the document window's own style (kChildFrameStyle).
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // A document window is always shown maximised, whatever the caller
    // asks: a new window opens maximised also after the user restored the
    // one before.
    void ActivateFrame(int command = -1) override;

    // The frame takes `bar` (one of its pane bars, made by the view) and
    // deletes it with itself. The bar must not delete itself with its window.
    void AdoptPaneBar(std::unique_ptr<CDockingPaneBar> bar);
    // The frame's pane bars, in the order they were adopted.
    std::vector<CDockingPaneBar*> PaneBars() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::unique_ptr<CDockingPaneBar>> m_paneBars;
};
