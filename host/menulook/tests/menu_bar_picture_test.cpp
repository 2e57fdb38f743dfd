// What the demo frame of the library's classes shows in each style code:
// the menu bar with a hot button and the MDI buttons of a maximised child, a toolbar with a
// drop-down button, and the status bar with its panes and grip.
#include <gtest/gtest.h>

#include <string>

#include "host/menulook/tests/look_frame.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/display/tests/reference_picture.h"

namespace {

class FramePictureTest : public MenuLookTest {};

TEST_F(FramePictureTest, EachStyleCodeDrawsTheFramesBars)
{
    for (int code = 0; code <= 11; ++code) {
        SCOPED_TRACE("style " + std::to_string(code));
        ResetWindowSystem();
        CNewMenu::InitLibrary();
        UseStyle(code);
        m_resources = std::make_unique<FixtureResources>();
        LookFrameResources frameResources;
        CLookFrame* frame = CLookFrame::Open(RECT{0, 0, 420, 260});
        ASSERT_NE(frame, nullptr);
        CNewMDIChildWnd* child = frame->OpenChild("Part");
        ASSERT_NE(child, nullptr);
        child->ShowWindow(SW_MAXIMIZE);
        frame->IdleUpdate();
        // "Edit" under the mouse.
        frame->m_menuBar.SetTrackingState(2, kTrackHot);
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFrameMessages(*frame);
        EXPECT_TRUE(MatchesReferencePicture(frame->GetSafeHwnd(),
                                            "host/menulook/tests/pictures/frame_style_" + std::to_string(code) + ".png"));
        ::DestroyWindow(frame->GetSafeHwnd());
    }
}

} // namespace

namespace {

TEST_F(FramePictureTest, TheMenuBarDockedLeftTurnsAndAFloatingToolbarShadesItsRows)
{
    UseStyle(8);
    LookFrameResources frameResources;
    CLookFrame* frame = CLookFrame::Open(RECT{0, 0, 420, 260});
    ASSERT_NE(frame, nullptr);
    frame->DockControlBar(&frame->m_menuBar, AFX_IDW_DOCKBAR_LEFT);
    frame->FloatControlBar(&frame->m_toolBar, CPoint(460, 60));
    frame->RecalcLayout();
    frame->IdleUpdate();
    frame->m_menuBar.SetTrackingState(1, kTrackHot);
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFrameMessages(*frame);
    EXPECT_TRUE(frame->m_menuBar.IsVerticalBar());
    EXPECT_TRUE(MatchesReferencePicture(frame->GetSafeHwnd(), "host/menulook/tests/pictures/frame_docked_left_style_8.png"));
    HWND floating = GetAncestor(frame->m_toolBar.GetSafeHwnd(), GA_ROOT);
    ASSERT_NE(floating, frame->GetSafeHwnd());
    RedrawWindow(floating, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(MatchesReferencePicture(floating, "host/menulook/tests/pictures/floating_toolbar_style_8.png"));
    ::DestroyWindow(frame->GetSafeHwnd());
}

} // namespace
