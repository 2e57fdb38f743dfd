// The document windows and the in-place frame: a drawing's window is a
// maximised MDI child whatever it is asked, it deletes the pane bars it
// owns exactly once (docked or floating), and the in-place frame makes its
// resize bar and drop target and puts its toolbar into a container's frame.
#include <gtest/gtest.h>

#include <vector>

#include "host/document/tests/document_test_support.h"
#include "host/shell/child_frame.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/in_place_frame.h"
#include "platform/framework/docking.h"
#include "platform/framework/mdi.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

// A pane bar that tells when it is deleted.
class CCountedPaneBar : public CDockingPaneBar {
public:
    CCountedPaneBar(CNuvexDoc* document, int& deleted) : CDockingPaneBar(document), m_deleted(deleted) {}
    ~CCountedPaneBar() override { ++m_deleted; }

private:
    int& m_deleted;
};

class DocumentFramesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->Create(nullptr, "nuvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
        ASSERT_NE(main->m_hWndMDIClient, nullptr);
    }
    void TearDown() override
    {
        if (::IsWindow(mainWindow())) {
            main->DestroyWindow();
        }
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    HWND mainWindow() const { return main != nullptr ? main->GetSafeHwnd() : nullptr; }

    // A document window as the template makes it: made hidden, then
    // activated with `show`.
    CChildFrame* Open(const char* title, int show = SW_SHOWNORMAL)
    {
        auto* frame = new CChildFrame;
        if (!frame->Create(nullptr, title, WS_CHILD | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, main)) {
            return nullptr;
        }
        frame->ActivateFrame(show);
        return frame;
    }
    static DWORD Style(CWnd* window) { return static_cast<DWORD>(::GetWindowLongA(window->GetSafeHwnd(), GWL_STYLE)); }
    // Whether the window covers the MDI client's whole client area.
    bool FillsClient(CWnd* window) const
    {
        RECT client{};
        ::GetClientRect(main->m_hWndMDIClient, &client);
        ::MapWindowPoints(main->m_hWndMDIClient, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT frame{};
        ::GetWindowRect(window->GetSafeHwnd(), &frame);
        return frame.left <= client.left && frame.top <= client.top && frame.right >= client.right &&
               frame.bottom >= client.bottom;
    }

    // A counted pane bar docked at `side` of `frame`, which owns it; null
    // when its window cannot be made.
    CDockingPaneBar* AddPaneBar(CChildFrame& frame, const char* name, UINT side)
    {
        auto bar = std::make_unique<CCountedPaneBar>(&document.document, deleted);
        bar->AttachToFrame(frame);
        if (!bar->Create(&frame, name, kPaneBarStyle, 0)) {
            return nullptr;
        }
        bar->EnableDocking(CBRS_ALIGN_ANY);
        CDockingPaneBar* made = bar.get();
        frame.DockControlBar(made, side);
        frame.AdoptPaneBar(std::move(bar));
        return made;
    }

    CMDIFrameWnd* main = nullptr;
    DocumentFixture document;
    int deleted = 0;
};

TEST_F(DocumentFramesTest, ADocumentWindowIsAMaximisedChildWithItsDocumentsTitle)
{
    CChildFrame* frame = Open("Drawing1");
    ASSERT_NE(frame, nullptr);
    const DWORD style = Style(frame);
    for (DWORD bit : {WS_CHILD, WS_VISIBLE, WS_MAXIMIZE, WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX,
                      WS_MAXIMIZEBOX}) {
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    }
    EXPECT_TRUE(frame->IsZoomed());
    EXPECT_TRUE(FillsClient(frame));
    EXPECT_EQ(main->MDIGetActive(), frame);
}

TEST_F(DocumentFramesTest, EveryActivationShowsTheWindowMaximisedWhatsoeverItAsks)
{
    struct Case {
        const char* name;
        int show;
    };
    const Case cases[] = {
        {"default", -1},
        {"normal", SW_SHOWNORMAL},
        {"restore", SW_RESTORE},
        {"show", SW_SHOW},
        {"minimised", SW_SHOWMINIMIZED},
    };
    CChildFrame* first = Open("Drawing1");
    ASSERT_NE(first, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The user restored the window before.
        first->MDIRestore();
        ASSERT_FALSE(first->IsZoomed());
        first->ActivateFrame(c.show);
        EXPECT_TRUE(first->IsZoomed());
        EXPECT_TRUE(FillsClient(first));

        // A new window opens maximised although the one before is restored.
        first->MDIRestore();
        CChildFrame* next = Open("Drawing2", c.show);
        ASSERT_NE(next, nullptr);
        EXPECT_TRUE(next->IsZoomed());
        EXPECT_TRUE(FillsClient(next));
        EXPECT_EQ(main->MDIGetActive(), next);
        next->DestroyWindow();
    }
}

TEST_F(DocumentFramesTest, TheFrameDeletesItsPaneBarsOnceDockedOrFloating)
{
    CChildFrame* frame = Open("Drawing1");
    ASSERT_NE(frame, nullptr);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    std::vector<CDockingPaneBar*> made;
    for (const char* name : {"Workshop", "Features", "Tools"}) {
        made.push_back(AddPaneBar(*frame, name, AFX_IDW_DOCKBAR_LEFT));
        ASSERT_NE(made.back(), nullptr);
    }
    // One of them floats in a frame of its own.
    frame->FloatControlBar(made[1], CPoint(300, 200));
    ASSERT_TRUE(made[1]->IsFloating());
    EXPECT_EQ(frame->PaneBars(), made);
    EXPECT_EQ(CDockingPaneBar::BarsOf(*frame), made);
    EXPECT_FALSE(made[0]->m_bAutoDelete);

    frame->DestroyWindow();
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
}

TEST_F(DocumentFramesTest, ThePaneBarsGoWithTheFrameWhenTheProgramsWindowCloses)
{
    CChildFrame* frame = Open("Drawing1");
    ASSERT_NE(frame, nullptr);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CDockingPaneBar* floating = AddPaneBar(*frame, "Workshop", AFX_IDW_DOCKBAR_RIGHT);
    ASSERT_NE(floating, nullptr);
    frame->FloatControlBar(floating, CPoint(100, 100));

    main->DestroyWindow();
    main = nullptr;  // gone with its window
    EXPECT_EQ(deleted, 1);
}

// A container's frame, as the in-place frame finds it.
class InPlaceFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        container = new CFrameWnd;
        ASSERT_TRUE(container->Create(nullptr, "container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        frame = new CInPlaceFrame;
        ASSERT_TRUE(frame->Create(nullptr, "drawing", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    }
    void TearDown() override
    {
        for (CFrameWnd* window : {static_cast<CFrameWnd*>(frame), container}) {
            if (window != nullptr && ::IsWindow(window->GetSafeHwnd())) {
                window->DestroyWindow();
            }
        }
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }

    CFrameWnd* container = nullptr;
    CInPlaceFrame* frame = nullptr;
};

TEST_F(InPlaceFrameTest, TheFrameHasItsResizeBarAndDropTarget)
{
    ASSERT_NE(frame->ResizeBar().GetSafeHwnd(), nullptr);
    EXPECT_EQ(frame->ResizeBar().GetDlgCtrlID(), static_cast<int>(kInPlaceResizeBarId));
    EXPECT_EQ(::GetParent(frame->ResizeBar().GetSafeHwnd()), frame->GetSafeHwnd());
    EXPECT_EQ(frame->DropTarget().m_pWnd, frame);
    // No bar of its own in the container yet.
    EXPECT_EQ(frame->ToolBar().GetSafeHwnd(), nullptr);
}

TEST_F(InPlaceFrameTest, TheToolbarIsDockedInTheContainersFrameAndOwnedByTheFrame)
{
    ASSERT_TRUE(frame->OnCreateControlBars(container, nullptr));
    CNewToolBar& bar = frame->ToolBar();
    ASSERT_NE(bar.GetSafeHwnd(), nullptr);
    EXPECT_EQ(bar.GetDlgCtrlID(), static_cast<int>(kInPlaceToolBarId));
    EXPECT_EQ(bar.GetOwner(), frame);
    EXPECT_EQ(bar.GetParentFrame(), container);
    EXPECT_EQ(container->GetControlBar(kInPlaceToolBarId), &bar);
    EXPECT_FALSE(bar.IsFloating());
    ASSERT_NE(bar.m_pDockBar, nullptr);
    EXPECT_EQ(bar.m_pDockBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
    const DWORD barStyle = bar.GetBarStyle();
    for (DWORD bit : {CBRS_GRIPPER, CBRS_BORDER_BOTTOM, CBRS_FLYBY, CBRS_TOOLTIPS, CBRS_SIZE_DYNAMIC}) {
        EXPECT_EQ(barStyle & bit, bit) << std::hex << bit;
    }
    EXPECT_EQ(bar.GetDockingStyle(), CBRS_ALIGN_ANY);
    // Cut, Copy, Paste, a separator, About and context help.
    const std::vector<UINT> expected = {57635, 57634, 57637, 0, 57664, 57669};
    std::vector<UINT> buttons;
    for (int i = 0; i < bar.GetCount(); ++i) {
        buttons.push_back(bar.GetItemID(i));
    }
    EXPECT_EQ(buttons, expected);
}

TEST_F(InPlaceFrameTest, AContainerFrameWithoutAWindowGetsNoToolbar)
{
    CFrameWnd unmade;
    EXPECT_FALSE(frame->OnCreateControlBars(&unmade, nullptr));
    EXPECT_FALSE(frame->OnCreateControlBars(nullptr, nullptr));
    EXPECT_EQ(frame->ToolBar().GetSafeHwnd(), nullptr);
}

} // namespace
