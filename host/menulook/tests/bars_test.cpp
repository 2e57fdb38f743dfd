// The toolbar's image lists and borders, drop-down buttons and controls on
// separators; the status bar's panes and grips; dock bars and dialog bars.
#include <gtest/gtest.h>

#include <string>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/new_dock_bar.h"
#include "host/menulook/new_status_bar.h"
#include "host/menulook/tests/look_frame.h"
#include "host/menulook/tests/menu_test_support.h"
#include "platform/user/input.h"

namespace {

class BarsTest : public LookFrameTest {
protected:
    // The colour of a client pixel of a window.
    static COLORREF Pixel(HWND window, POINT client)
    {
        HWND top = GetAncestor(window, GA_ROOT);
        RECT topRect{};
        GetWindowRect(top, &topRect);
        ClientToScreen(window, &client);
        const GdiSurface surface = GetWindowSurface(top);
        const uint32_t p = surface.pixels[static_cast<size_t>(client.y - topRect.top) * static_cast<size_t>(surface.stride) +
                                          static_cast<size_t>(client.x - topRect.left)];
        return RGB(static_cast<BYTE>((p >> 16) & 0xFF), static_cast<BYTE>((p >> 8) & 0xFF), static_cast<BYTE>(p & 0xFF));
    }
};

ImagePixels ImageOf(HIMAGELIST list, int index) { return ImageListPixels(list, index); }

// The colour at (x, y) of an image.
COLORREF At(const ImagePixels& image, int x, int y)
{
    const uint8_t* p = &image.bgra[(static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4];
    return RGB(p[2], p[1], p[0]);
}

TEST_F(BarsTest, TheToolbarKeepsNormalFadedAndDisabledImages)
{
    CNewToolBar& bar = m_frame->m_toolBar;
    ASSERT_NE(bar.NormalImages(), nullptr);
    ASSERT_NE(bar.FadedImages(), nullptr);
    ASSERT_NE(bar.DisabledImages(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(bar.NormalImages()), 5);
    EXPECT_EQ(ImageList_GetImageCount(bar.FadedImages()), 5);
    EXPECT_EQ(ImageList_GetImageCount(bar.DisabledImages()), 5);
    // The first image's inside (green): faded darker, disabled grey.
    const COLORREF normal = At(ImageOf(bar.NormalImages(), 0), 6, 6);
    const COLORREF faded = At(ImageOf(bar.FadedImages(), 0), 6, 6);
    const COLORREF disabled = At(ImageOf(bar.DisabledImages(), 0), 6, 6);
    EXPECT_EQ(normal, RGB(0x2E, 0x7D, 0x32));
    EXPECT_EQ(faded, DarkenColorBy(CNewMenu::GetIconShadeAmount(), normal));
    EXPECT_NE(disabled, normal);
    EXPECT_LT(std::abs(GetRValue(disabled) - GetGValue(disabled)), 40);
    // With faded icons on, the control shows the faded list.
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST, 0, 0)), bar.FadedImages());
    // A mask of 0xFF000000 takes the top-left pixel: the button face.
    EXPECT_EQ(bar.GetMaskColor(), 0xFF000000u);
}

TEST_F(BarsTest, ButtonsAddedLaterShowTheirImageUnchangedWhenDisabled)
{
    CNewToolBar& bar = m_frame->m_toolBar;
    uint32_t pixels[16 * 15];
    for (uint32_t& p : pixels) {
        p = 0xFF3060A0;
    }
    pixels[0] = 0xFFD4D0C8; // the face colour in the corner
    HBITMAP bitmap = CreateBitmap(16, 15, 1, 32, pixels);
    const int before = ImageList_GetImageCount(bar.NormalImages());
    CBitmap wrapper;
    wrapper.Attach(bitmap);
    const int index = bar.GetToolBarCtrl().AddBitmap(1, &wrapper);
    ASSERT_GE(index, 0);
    EXPECT_EQ(ImageList_GetImageCount(bar.NormalImages()), before + 1);
    EXPECT_EQ(ImageList_GetImageCount(bar.DisabledImages()), before + 1);
    // The disabled list takes the picture as it is; the faded list darkens it.
    EXPECT_EQ(At(ImageOf(bar.DisabledImages(), before), 5, 5), RGB(0x30, 0x60, 0xA0));
    EXPECT_EQ(At(ImageOf(bar.FadedImages(), before), 5, 5),
              DarkenColorBy(CNewMenu::GetIconShadeAmount(), RGB(0x30, 0x60, 0xA0)));
}

TEST_F(BarsTest, ShadedToolbarsLoseTheirBordersWhenFloating)
{
    UseStyle(8);
    CNewToolBar bar;
    ASSERT_TRUE(bar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE890));
    EXPECT_EQ(bar.GetBorders(), CRect(3, 1, 3, 1));
    bar.OnBarStyleChange(CBRS_TOP, CBRS_TOP | CBRS_FLOATING);
    EXPECT_EQ(bar.GetBorders(), CRect(0, 0, 0, 0));
    bar.OnBarStyleChange(CBRS_TOP | CBRS_FLOATING, CBRS_TOP);
    EXPECT_EQ(bar.GetBorders(), CRect(3, 1, 3, 1));
    bar.DestroyWindow();
}

TEST_F(BarsTest, DropDownButtonsShowTheirMenuBesideTheButton)
{
    CNewToolBar& bar = m_frame->m_toolBar;
    const int index = bar.CommandToIndex(kCmdOpen);
    ASSERT_GE(index, 0);
    EXPECT_NE(bar.GetButtonStyle(index) & TBSTYLE_DROPDOWN, 0u);
    EXPECT_FALSE(bar.SetDropDown(4711));
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem(MF_STRING, 40100, "Recent part");
    CRect button;
    bar.GetItemRect(index, &button);
    bar.ClientToScreen(&button);
    RECT popup{};
    bool openLook = false;
    int open = -1;
    size_t step = 0;
    SetIdleScript([&]() {
        if (step++ > 0) {
            return false;
        }
        GetWindowRect(FindPopupWindow(), &popup);
        open = bar.OpenDropDown();
        openLook = bar.GetToolBarCtrl().IsButtonIndeterminate(static_cast<int>(kCmdOpen)) != FALSE;
        return true;
    });
    bar.TrackDropDownMenu(kCmdOpen, &menu);
    SetIdleScript(nullptr);
    EXPECT_EQ(open, index);
    EXPECT_TRUE(openLook);
    EXPECT_EQ(bar.OpenDropDown(), -1);
    EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonIndeterminate(static_cast<int>(kCmdOpen)));
    // Below the button, from its left edge.
    EXPECT_GE(popup.top, button.bottom - 2);
    EXPECT_NEAR(popup.left, button.left, 2);
}

TEST_F(BarsTest, ControlsOnSeparatorsHideInVerticalLayouts)
{
    CNewToolBar& bar = m_frame->m_toolBar;
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 80, 18), &bar, 0xE7F0));
    ASSERT_TRUE(bar.InsertControl(-1, &edit, 0));
    const int index = bar.CommandToIndex(0xE7F0);
    ASSERT_GE(index, 0);
    bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_TRUE(edit.IsWindowVisible());
    bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_TRUE(bar.GetToolBarCtrl().IsButtonHidden(0xE7F0));
    bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_FALSE(bar.InsertControl(0, nullptr, 0));
}

TEST_F(BarsTest, StatusPanesEndAfterTheirTextAndTheLastStretchesToTheGrip)
{
    CNewStatusBar& bar = m_frame->m_statusBar;
    RECT last{};
    bar.GetPaneRect(1, &last);
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(last.right - last.left, width + 3 * GetSystemMetrics(SM_CXEDGE));
    bar.SetPaneInfo(1, id, SBPS_STRETCH, width);
    bar.GetPaneRect(1, &last);
    CRect client;
    bar.GetClientRect(&client);
    const int grip = (bar.GetStyle() & SBARS_SIZEGRIP) != 0 ? GetSystemMetrics(SM_CXSMICON) + GetSystemMetrics(SM_CXEDGE)
                                                            : 0;
    EXPECT_EQ(last.right, client.right - grip);
    RECT none{};
    bar.GetPaneRect(9, &none);
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(BarsTest, GripDotsStackInATriangle)
{
    struct Case {
        const char* name;
        RECT rect;
        int dots;
    };
    // n = min(w, h) / 4; column c holds n - 1 - c dots.
    const Case cases[] = {
        {"18 square", {0, 0, 18, 18}, 3 + 2 + 1},
        {"wide 40 x 12", {0, 0, 40, 12}, 2 + 1},
        {"too small", {0, 0, 7, 7}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(c.rect.right, c.rect.bottom, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        FillSolidRect(dc, &c.rect, RGB(255, 255, 255));
        DrawGripDots(dc, c.rect, RGB(0, 0, 0), CLR_INVALID);
        int dots = 0;
        for (int y = 0; y < c.rect.bottom; ++y) {
            for (int x = 0; x < c.rect.right; ++x) {
                // A dot's top-left pixel: black, with white above and left.
                const bool black = GetPixel(dc, x, y) == 0;
                const bool above = y == 0 || GetPixel(dc, x, y - 1) != 0;
                const bool left = x == 0 || GetPixel(dc, x - 1, y) != 0;
                dots += black && above && left ? 1 : 0;
            }
        }
        EXPECT_EQ(dots, c.dots);
        if (c.dots > 0) {
            // The lowest-right dot sits at (right - 4, bottom - 3).
            EXPECT_EQ(GetPixel(dc, c.rect.right - 4, c.rect.bottom - 3), 0u);
            EXPECT_EQ(GetPixel(dc, c.rect.right - 3, c.rect.bottom - 2), 0u);
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
}

TEST_F(BarsTest, AMaximisedFrameShowsNoGrip)
{
    UseStyle(8);
    CNewStatusBar& bar = m_frame->m_statusBar;
    CRect client;
    bar.GetClientRect(&client);
    const POINT dot{client.right - 1 - 4, client.bottom - 2 - 3};
    const COLORREF dark = DarkenColorBy(10, GetSysColor(COLOR_ACTIVECAPTION));
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Pixel(bar.GetSafeHwnd(), dot), dark);
    m_frame->ShowWindow(SW_MAXIMIZE);
    m_frame->RecalcLayout();
    PumpFrameMessages(*m_frame);
    bar.GetClientRect(&client);
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(Pixel(bar.GetSafeHwnd(), POINT{client.right - 5, client.bottom - 5}), dark);
}

TEST_F(BarsTest, AFloatingDialogBarHasNoGripperAndTheDockBarsAreTheLibrarys)
{
    UseStyle(8);
    EXPECT_TRUE(m_frame->m_menuBar.m_pDockBar != nullptr &&
                m_frame->m_menuBar.m_pDockBar->IsKindOf(RUNTIME_CLASS(CNewDockBar)));
    EXPECT_EQ(m_frame->m_pFloatingFrameClass, RUNTIME_CLASS(CNewMiniDockFrameWnd));
    DialogTemplate dialog;
    dialog.style = WS_CHILD;
    dialog.cx = 60;
    dialog.cy = 20;
    CNewDialogBar bar;
    ASSERT_TRUE(bar.CreateIndirect(m_frame, dialog, CBRS_TOP | CBRS_GRIPPER, 0xE891));
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(60, 40, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, 60, 40};
    auto marks = [&](DWORD style) {
        FillSolidRect(dc, &all, RGB(255, 255, 255));
        bar.SetBarStyle(style);
        bar.DrawGripper(dc, CRect(0, 0, 60, 40));
        int changed = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                changed += GetPixel(dc, x, y) != RGB(255, 255, 255) ? 1 : 0;
            }
        }
        return changed;
    };
    EXPECT_GT(marks(CBRS_TOP | CBRS_GRIPPER), 0);
    EXPECT_EQ(marks(CBRS_TOP | CBRS_GRIPPER | CBRS_FLOATING), 0);
    EXPECT_EQ(marks(CBRS_TOP), 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    bar.DestroyWindow();
}

} // namespace
