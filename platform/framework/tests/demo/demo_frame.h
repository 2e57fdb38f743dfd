// The demo frame: a small application of the framework used as a test
// fixture and, through the nuvex_demo_frame program, run by a person on a
// desktop. An MDI frame with a menu, a toolbar of images drawn here, a
// status bar with panes, a docking bar holding a tree, and one MDI child
// with a view of a sketch document. It is not part of the workbench.
#pragma once

#include <string>

#include "platform/framework/app.h"
#include "platform/framework/commonctrls.h"
#include "platform/framework/controlbar.h"
#include "platform/framework/document.h"
#include "platform/framework/mdi.h"
#include "platform/framework/view.h"

namespace demo {

// Resources of demo_frame.nrc.
constexpr UINT kMainFrameResource = 128;
constexpr UINT kSketchResource = 129;

// Commands.
constexpr UINT kHelloCommand = 33001;
constexpr UINT kColourCommand = 33002;
constexpr UINT kFloatTreeCommand = 33010;
constexpr UINT kDockTreeCommand = 33011;
constexpr UINT kEveryControlCommand = 33020;

// Status-bar panes (their ids are also strings: the panes' first texts).
constexpr UINT kTreePane = 33100;
constexpr UINT kCommandsPane = 33101;

// The tree bar's window id and its tree's.
constexpr UINT kTreeBarId = 0xE810;
constexpr UINT kTreeId = 1001;

// The toolbar's buttons, left to right (0: a separator).
constexpr UINT kToolbarButtons[] = {kHelloCommand, kColourCommand, 0, kFloatTreeCommand, kDockTreeCommand};

// A sketch: one colour the view fills its circle with.
class CSketchDoc : public CDocument {
    DECLARE_DYNCREATE(CSketchDoc)
public:
    COLORREF m_colour = RGB(40, 120, 200);
    BOOL OnNewDocument() override;
};

class CSketchView : public CView {
    DECLARE_DYNCREATE(CSketchView)
public:
    CSketchDoc* GetSketch() const { return static_cast<CSketchDoc*>(GetDocument()); }
    void OnDraw(CDC* dc) override;
};

class CSketchChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSketchChild)
};

// A control bar holding a tree of a few items; docks on the left or
// right and floats. The tree's notifications reach the bar's owner.
class CTreeBar : public CControlBar {
    DECLARE_DYNAMIC(CTreeBar)
public:
    BOOL Create(CWnd* parent, UINT id = kTreeBarId);
    CTreeCtrl& Tree() { return m_tree; }
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CWnd*, BOOL) override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceTree();
    void Paint();
    CTreeCtrl m_tree;
};

class CDemoMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CDemoMainFrame)
public:
    CToolBar m_toolBar;
    CStatusBar m_statusBar;
    CTreeBar m_treeBar;

    // What the commands and notifications did, for the tests.
    int m_helloCount = 0;
    int m_commandCount = 0;
    int m_treeSelections = 0;
    std::string m_selectedText;

protected:
    int OnCreate(CREATESTRUCTA* cs);
    void OnHello();
    void OnColour();
    void OnFloatTree();
    void OnDockTree();
    void OnEveryControl();
    void OnUpdateFloatTree(CCmdUI* cmdUI);
    void OnUpdateDockTree(CCmdUI* cmdUI);
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void CountCommand();
    DECLARE_MESSAGE_MAP()
};

class CDemoApp : public CWinApp {
public:
    CDemoApp() : CWinApp("DemoFrame") {}
    BOOL InitInstance() override;
    CDemoMainFrame* Frame() const { return static_cast<CDemoMainFrame*>(m_pMainWnd); }
    // The sketch's child frame, made by InitInstance.
    CMDIChildWnd* Child() const;

protected:
    DECLARE_MESSAGE_MAP()
};

// The toolbar's images (16 by 15 pixels each, one per command button, on
// the classic button grey that turns transparent): a red disc, a green
// square, a blue triangle, a yellow bar. The caller deletes it.
HBITMAP MakeToolbarImages();

} // namespace demo
