#include "platform/framework/tests/demo/demo_frame.h"

#include <cstdlib>
#include <iterator>
#include <vector>

#include "platform/controls/commctrl.h"
#include "platform/framework/dc.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/docking.h"
#include "platform/framework/ids.h"
#include "platform/framework/tests/demo/every_control_dialog.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

namespace demo {

namespace {

constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;
constexpr int kImageCount = 4;
// The tree bar's size, docked or floating.
constexpr int kTreeBarWidth = 180;
constexpr int kTreeBarHeight = 260;
// The grip lines of a docked tree bar (its top, where CalcInsideRect leaves room).
constexpr int kGripTop = 3;
constexpr int kGripLines = 2;
// The status panes' text widths.
constexpr int kTreePaneWidth = 110;
constexpr int kCommandsPaneWidth = 90;

uint32_t Bgra(COLORREF colour)
{
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

} // namespace

HBITMAP MakeToolbarImages()
{
    const uint32_t grey = Bgra(RGB(192, 192, 192));
    const int width = kImageWidth * kImageCount;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * kImageHeight, grey);
    auto put = [&](int image, int x, int y, COLORREF colour) {
        pixels[static_cast<size_t>(y) * width + image * kImageWidth + x] = Bgra(colour);
    };
    for (int y = 0; y < kImageHeight; ++y) {
        for (int x = 0; x < kImageWidth; ++x) {
            // 0: a red disc.
            const int dx = 2 * x + 1 - kImageWidth;
            const int dy = 2 * y + 1 - kImageHeight;
            if (dx * dx + dy * dy <= 12 * 12) {
                put(0, x, y, RGB(220, 30, 30));
            }
            // 1: a green square with a dark edge.
            if (x >= 2 && x < 14 && y >= 2 && y < 13) {
                const bool edge = x == 2 || x == 13 || y == 2 || y == 12;
                put(1, x, y, edge ? RGB(0, 90, 0) : RGB(40, 190, 60));
            }
            // 2: a blue triangle pointing up (float).
            if (y >= 2 && y < 13 && 2 * std::abs(x - 7) <= y - 1) {
                put(2, x, y, RGB(30, 70, 220));
            }
            // 3: a yellow bar on the left (dock).
            if (x >= 1 && x < 6 && y >= 1 && y < 14) {
                put(3, x, y, RGB(230, 190, 0));
            }
        }
    }
    return CreateBitmap(width, kImageHeight, 1, 32, pixels.data());
}

// Sketch document and view --------------------------------------------------------------

IMPLEMENT_DYNCREATE(CSketchDoc, CDocument)

BOOL CSketchDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) {
        return FALSE;
    }
    m_colour = RGB(40, 120, 200);
    return TRUE;
}

IMPLEMENT_DYNCREATE(CSketchView, CView)

void CSketchView::OnDraw(CDC* dc)
{
    HDC hdc = dc->GetSafeHdc();
    RECT client{};
    GetClientRect(&client);
    HBRUSH paper = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(hdc, &client, paper);
    DeleteObject(paper);
    HBRUSH fill = CreateSolidBrush(GetSketch()->m_colour);
    HGDIOBJ old = SelectObject(hdc, fill);
    Ellipse(hdc, 20, 40, 140, 160);
    SelectObject(hdc, old);
    DeleteObject(fill);
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, 20, 12, "A sketch: the circle takes the colour command", 45);
}

IMPLEMENT_DYNCREATE(CSketchChild, CMDIChildWnd)

// Tree bar --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTreeBar, CControlBar)

BOOL CTreeBar::Create(CWnd* parent, UINT id)
{
    const DWORD style = TakeBarStyle(WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
    SetBorders(2, 2, 2, 2);
    if (!CWnd::CreateEx(0, nullptr, "Operations", style | WS_CLIPCHILDREN, CRect(0, 0, kTreeBarWidth, kTreeBarHeight),
                        parent, id)) {
        return FALSE;
    }
    SetOwner(parent);
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                           TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                       CRect(0, 0, 10, 10), this, kTreeId)) {
        return FALSE;
    }
    HTREEITEM part = m_tree.InsertItem("Part");
    m_tree.InsertItem("Pocket 1", part);
    m_tree.InsertItem("Pocket 2", part);
    m_tree.InsertItem("Contour", part);
    HTREEITEM holes = m_tree.InsertItem("Holes");
    m_tree.InsertItem("Drill 6 mm", holes);
    m_tree.Expand(part, TVE_EXPAND);
    m_tree.Expand(holes, TVE_EXPAND);
    PlaceTree();
    return TRUE;
}

CSize CTreeBar::CalcFixedLayout(BOOL, BOOL) { return CSize(kTreeBarWidth, kTreeBarHeight); }

void CTreeBar::PlaceTree()
{
    if (m_tree.GetSafeHwnd() == nullptr) {
        return;
    }
    CRect inside;
    GetClientRect(&inside);
    CalcInsideRect(inside, IsHorizontal());
    m_tree.MoveWindow(&inside);
}

void CTreeBar::Paint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if ((GetBarStyle() & CBRS_GRIPPER) != 0 && !IsFloating()) {
        // Two raised lines across the top: the handle a person drags.
        for (int i = 0; i < kGripLines; ++i) {
            RECT grip{client.left + 3, kGripTop + 3 * i, client.right - 3, kGripTop + 3 * i + 3};
            DrawEdge(dc, &grip, BDR_RAISEDINNER, BF_RECT);
        }
    }
    ::EndPaint(m_hWnd, &paint);
}

LRESULT CTreeBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
        PlaceTree();
        return result;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: Paint(); return 0;
    default: break;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

// Main frame ------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDemoMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CDemoMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(kHelloCommand, OnHello)
    ON_COMMAND(kColourCommand, OnColour)
    ON_COMMAND(kFloatTreeCommand, OnFloatTree)
    ON_COMMAND(kDockTreeCommand, OnDockTree)
    ON_COMMAND(kEveryControlCommand, OnEveryControl)
    ON_UPDATE_COMMAND_UI(kFloatTreeCommand, OnUpdateFloatTree)
    ON_UPDATE_COMMAND_UI(kDockTreeCommand, OnUpdateDockTree)
    ON_NOTIFY(TVN_SELCHANGEDA, kTreeId, OnTreeSelChanged)
END_MESSAGE_MAP()

int CDemoMainFrame::OnCreate(CREATESTRUCTA* cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1) {
        return -1;
    }
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT,
                            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC)) {
        return -1;
    }
    m_toolBar.SetSizes(CSize(kImageWidth + 7, kImageHeight + 7), CSize(kImageWidth, kImageHeight));
    HBITMAP images = MakeToolbarImages();
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(images)};
    const LRESULT first = m_toolBar.SendMessage(TB_ADDBITMAP, kImageCount, reinterpret_cast<LPARAM>(&add));
    DeleteObject(images);
    if (first < 0 || !m_toolBar.SetButtons(kToolbarButtons, static_cast<int>(std::size(kToolbarButtons)))) {
        return -1;
    }
    const UINT indicators[] = {ID_SEPARATOR, kTreePane, kCommandsPane};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(indicators, 3)) {
        return -1;
    }
    // Room for the longest texts the panes show.
    m_statusBar.SetPaneInfo(1, kTreePane, SBPS_NORMAL, kTreePaneWidth);
    m_statusBar.SetPaneInfo(2, kCommandsPane, SBPS_NORMAL, kCommandsPaneWidth);
    if (!m_treeBar.Create(this)) {
        return -1;
    }
    EnableDocking(CBRS_ALIGN_ANY);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar, AFX_IDW_DOCKBAR_TOP);
    m_treeBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBar(&m_treeBar, AFX_IDW_DOCKBAR_LEFT);
    return 0;
}

void CDemoMainFrame::CountCommand()
{
    ++m_commandCount;
    CString text;
    text.Format("Commands: %d", m_commandCount);
    m_statusBar.SetPaneText(m_statusBar.CommandToIndex(kCommandsPane), text);
}

void CDemoMainFrame::OnHello()
{
    ++m_helloCount;
    CountCommand();
    m_statusBar.SetPaneText(0, "Hello from the demo frame");
}

void CDemoMainFrame::OnColour()
{
    CountCommand();
    CMDIChildWnd* child = MDIGetActive();
    auto* sketch = child != nullptr ? dynamic_cast<CSketchDoc*>(child->GetActiveDocument()) : nullptr;
    if (sketch != nullptr) {
        sketch->m_colour = sketch->m_colour == RGB(40, 120, 200) ? RGB(220, 120, 30) : RGB(40, 120, 200);
        sketch->UpdateAllViews(nullptr);
    }
}

void CDemoMainFrame::OnFloatTree()
{
    CountCommand();
    if (!m_treeBar.IsFloating()) {
        CRect frame;
        GetWindowRect(&frame);
        FloatControlBar(&m_treeBar, CPoint(frame.left + 260, frame.top + 140));
    }
}

void CDemoMainFrame::OnDockTree()
{
    CountCommand();
    if (m_treeBar.IsFloating()) {
        DockControlBar(&m_treeBar, m_treeBar.m_uMRUDockID);
    }
}

void CDemoMainFrame::OnEveryControl()
{
    CountCommand();
    CEveryControlDialog dialog;
    if (dialog.InitModalIndirect(EveryControlTemplate(), this)) {
        dialog.DoModal();
    }
}

void CDemoMainFrame::OnUpdateFloatTree(CCmdUI* cmdUI) { cmdUI->Enable(!m_treeBar.IsFloating()); }

void CDemoMainFrame::OnUpdateDockTree(CCmdUI* cmdUI) { cmdUI->Enable(m_treeBar.IsFloating()); }

void CDemoMainFrame::OnTreeSelChanged(NMHDR* header, LRESULT* result)
{
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    ++m_treeSelections;
    m_selectedText = m_treeBar.Tree().GetItemText(change->itemNew.hItem).GetString();
    const std::string text = "Tree: " + m_selectedText;
    m_statusBar.SetPaneText(m_statusBar.CommandToIndex(kTreePane), text.c_str());
    *result = 0;
}

// Application -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDemoApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

BOOL CDemoApp::InitInstance()
{
    AddDocTemplate(new CMultiDocTemplate(kSketchResource, RUNTIME_CLASS(CSketchDoc), RUNTIME_CLASS(CSketchChild),
                                         RUNTIME_CLASS(CSketchView)));
    auto* frame = new CDemoMainFrame;
    if (!frame->LoadFrame(kMainFrameResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->MoveWindow(40, 30, 760, 560);
    OnFileNew();
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return Child() != nullptr;
}

CMDIChildWnd* CDemoApp::Child() const { return Frame() != nullptr ? Frame()->MDIGetActive() : nullptr; }

} // namespace demo
