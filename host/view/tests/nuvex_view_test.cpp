// The view hosted in a plain frame: its paint draws the document through
// the shared OpenGL window into the frame's pixels, two views pass the
// window between them, and messages to the OpenGL window drive the view's
// input.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/view/nuvex_view.h"
#include "host/view/tests/view_test_support.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/entity_record.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/printer.h"
#include "platform/user/inspect.h"
#include "platform/user/messages.h"

namespace {

// A red line from model (-50, 0) to (50, 0).
class RedLine : public CCountedObject<CEntityOperationsNotOffered<IGeometryEntity>, IID_IObjectBase,
                                      IID_IEntityBase, IID_IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override
    {
        CVector3 from(-50.0, 0.0, 0.0);
        CVector3 to(50.0, 0.0, 0.0);
        context->SetColor(0x0000FF);
        return context->DrawLine(&from, &to);
    }
};

// Updates of all views reach the views of the test.
class ViewsOutput : public TestOutput {
public:
    void UpdateAllViews() override
    {
        TestOutput::UpdateAllViews();
        for (CNuvexView* view : views) {
            view->OnUpdate();
        }
    }
    std::vector<CNuvexView*> views;
};

class NuvexViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        setenv("GALLIUM_DRIVER", "llvmpipe", 1);
        setenv("LP_NUM_THREADS", "2", 0);
    }
    void SetUp() override
    {
        ResetWindowSystem();
        AddViewVariables(services);
        document.SyncSystemVariables();
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr));
        ASSERT_TRUE(left.Create(nullptr, "left", WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 200}, &frame, 1));
        ASSERT_TRUE(right.Create(nullptr, "right", WS_CHILD | WS_VISIBLE, RECT{200, 0, 400, 200}, &frame, 2));
        output.views = {&left, &right};
        document.AddObject(new CEntityRecord(static_cast<IEntityBase*>(new RedLine())));
    }
    void TearDown() override
    {
        output.views.clear();
        right.DestroyWindow();
        left.DestroyWindow();
        frame.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    uint32_t Pixel(int x, int y)
    {
        const GdiSurface surface = GetWindowSurface(frame.m_hWnd);
        return surface.pixels[static_cast<size_t>(y) * static_cast<size_t>(surface.stride) + static_cast<size_t>(x)];
    }
    static bool IsWhite(uint32_t p) { return (p & 0xFFFFFF) == 0xFFFFFF; }
    static bool IsReddish(uint32_t p)
    {
        const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return r > 100 && g < 60 && b < 60;
    }

    TestServices services;
    ViewsOutput output;
    CNuvexDoc document{services, output};
    CWnd frame;
    CNuvexView left{document};
    CNuvexView right{document};
};

TEST_F(NuvexViewTest, APaintDrawsTheDocumentThroughTheSharedWindowIntoTheFrame)
{
    left.OnUpdate();
    CGLWnd* window = CGLWnd::Shared();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetParent(window->m_hWnd), left.m_hWnd);
    if (!left.IsDrawingAvailable()) {
        GTEST_SKIP() << "no OpenGL context can be made on this machine";
    }
    // The 200 x 200 view's centre is (100, 100): the line runs from x 50 to 150.
    EXPECT_TRUE(IsReddish(Pixel(100, 100)) || IsReddish(Pixel(100, 99)));
    EXPECT_TRUE(IsReddish(Pixel(60, 100)) || IsReddish(Pixel(60, 99)));
    EXPECT_TRUE(IsWhite(Pixel(100, 40)));
    EXPECT_TRUE(IsWhite(Pixel(30, 100)));

    // The right view paints: the window moves there and draws there.
    right.OnUpdate();
    EXPECT_EQ(::GetParent(window->m_hWnd), right.m_hWnd);
    EXPECT_TRUE(IsReddish(Pixel(300, 100)) || IsReddish(Pixel(300, 99)));
}

TEST_F(NuvexViewTest, TheWheelOverTheOpenGLWindowZoomsTheViewItBelongsTo)
{
    left.OnUpdate();
    CGLWnd* window = CGLWnd::Shared();
    ASSERT_NE(window, nullptr);
    // The cursor 50 pixels right of the centre, then one notch forward.
    ::SendMessageA(window->m_hWnd, WM_MOUSEMOVE, 0, (100 << 16) | 150);
    ::SendMessageA(window->m_hWnd, WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16, 0);
    EXPECT_NEAR(left.Transform().Scale(), 1.2, 1e-12);
    EXPECT_NEAR(left.Transform().PanX(), 50.0 * (1.0 / 1.2 - 1.0), 1e-12);
    EXPECT_NEAR(right.Transform().Scale(), 1.0, 1e-12);
    if (left.IsDrawingAvailable()) {
        // Zoomed about x 150: the line's left end moves left of 50.
        EXPECT_TRUE(IsReddish(Pixel(44, 100)) || IsReddish(Pixel(44, 99)));
    }
}

TEST_F(NuvexViewTest, AQuickSecondClickOverTheOpenGLWindowIsAClickOfTheView)
{
    // One view shows, so the shared window stays in it while the box is
    // drawn.
    output.views = {&left};
    left.OnUpdate();
    CGLWnd* window = CGLWnd::Shared();
    ASSERT_NE(window, nullptr);
    // A box opened on empty space above the line; the second click comes
    // within the double-click time, as a double click, and closes it.
    ::SendMessageA(window->m_hWnd, WM_MOUSEMOVE, 0, (20 << 16) | 20);
    ::SendMessageA(window->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, (20 << 16) | 20);
    ::SendMessageA(window->m_hWnd, WM_LBUTTONUP, 0, (20 << 16) | 20);
    ASSERT_TRUE(left.Input().IsBoxStarted());
    ::SendMessageA(window->m_hWnd, WM_MOUSEMOVE, 0, (30 << 16) | 30);
    ASSERT_EQ(::GetParent(window->m_hWnd), left.m_hWnd);
    ::SendMessageA(window->m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, (30 << 16) | 30);
    EXPECT_FALSE(left.Input().IsBoxStarted());
}

TEST_F(NuvexViewTest, PrintingPutsTheViewsDrawingOntoThePage)
{
    left.OnUpdate();
    HDC printer = CreatePrinterDC(400, 400, 100);
    ASSERT_NE(printer, nullptr);
    if (!left.PrintPage(printer, RECT{0, 0, 400, 400})) {
        DeletePrinterDC(printer);
        GTEST_SKIP() << "no OpenGL context can be made on this machine";
    }
    // The 200 x 200 view at twice its scale: the line from x 100 to 300.
    auto reddish = [](COLORREF c) { return (c & 0xFF) > 100 && ((c >> 8) & 0xFF) < 60 && ((c >> 16) & 0xFF) < 60; };
    EXPECT_TRUE(reddish(GetPixel(printer, 200, 200)) || reddish(GetPixel(printer, 200, 199)));
    EXPECT_FALSE(reddish(GetPixel(printer, 200, 120)));
    DeletePrinterDC(printer);
}

TEST_F(NuvexViewTest, ZoomAllFromTheViewsCommandFitsTheDrawing)
{
    left.OnUpdate();
    // The line object reports no extents: zoom all leaves the view.
    ::SendMessageA(left.m_hWnd, WM_COMMAND, kCommandZoomAll, 0);
    EXPECT_NEAR(left.Transform().Scale(), 1.0, 1e-12);
    // The keyboard's zoom window starts the mode: the zoom cursor shows.
    ::SendMessageA(left.m_hWnd, WM_COMMAND, kCommandZoomWindowKey, 0);
    EXPECT_TRUE(left.Input().IsZoomWindow());
    ::SendMessageA(left.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(left.Input().IsZoomWindow());
}

} // namespace
