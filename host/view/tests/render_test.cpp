// A small drawing rendered off-screen through the graphics context: a red
// line, a blue quarter arc and a filled letter land where the view's
// transform puts them.
#include <gtest/gtest.h>

#include "host/view/tests/view_test_support.h"
#include "platform/gdi/gdi.h"
#include "platform/gl/opengl.h"
#include "platform/gl/tests/gl_test_support.h"

using namespace gltest;

namespace {

constexpr int kSize = 64;
constexpr uint32_t kWhite = 0xFFFFFFu;

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFFu; }

class RenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ForceSoftwareRendering(); }
    RenderTest() : view(SystemGl(), kSize, kSize) { view.dc = CreateCompatibleDC(nullptr); }
    ~RenderTest() override { DeleteDC(view.dc); }

    // Makes the context current with the view's projection: model (x, y)
    // at window (32 + x, 32 - y); false without OpenGL here.
    bool Begin()
    {
        if (context.rc == nullptr || !wglMakeCurrent(window.dc, context.rc)) {
            return false;
        }
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-kSize / 2.0, kSize / 2.0, -kSize / 2.0, kSize / 2.0, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        return true;
    }
    void Finish()
    {
        ASSERT_TRUE(SwapBuffers(window.dc));
        wglMakeCurrent(nullptr, nullptr);
    }
    // Coloured (not white) pixels of a window rectangle.
    int Coloured(int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += Rgb(surface.At(x, y)) != kWhite ? 1 : 0;
            }
        }
        return count;
    }

    Surface surface{kSize, kSize};
    WindowDC window{surface, {0, 0}, {0, 0, kSize, kSize}};
    Context context{window.dc};
    TestView view;
};

TEST_F(RenderTest, LineArcAndFilledTextLandWhereTheTransformPutsThem)
{
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(Begin());
    CGraphicsContext& gc = view.context;
    ASSERT_EQ(gc.SetColor(0x000000FF), S_OK);
    CVector3 from(-30, 20.5, 0), to(30, 20.5, 0);
    ASSERT_EQ(gc.DrawLine(&from, &to), S_OK);
    ASSERT_EQ(gc.SetColor(0x00FF0000), S_OK);
    CVector3 centre(0, 0, 0), normal(0, 0, 1), start(20, 0, 0), end(0, 20, 0);
    ASSERT_EQ(gc.DrawArc(&centre, &normal, &start, &end), S_OK);
    ASSERT_EQ(gc.SetColor(0x00008000), S_OK);
    LOGFONTA font = gc.Font();
    font.lfHeight = 24;
    gc.SetFont(&font);
    CVector3 origin(-28, -28, 0), baseline(0, -28, 0), up(0, 0, 1);
    ASSERT_EQ(gc.DrawString("H", &origin, &baseline, &up, TRUE), S_OK);
    Finish();

    // The line: window row 32 - 20.5, across the middle.
    EXPECT_EQ(Rgb(surface.At(32, 11)), 0xFF0000u);
    EXPECT_EQ(Rgb(surface.At(5, 11)), 0xFF0000u);
    EXPECT_EQ(Rgb(surface.At(32, 14)), kWhite);
    // The arc: the first quadrant only, at radius 20.
    EXPECT_GT(Coloured(44, 16, 49, 21), 0) << "at 45 degrees";
    EXPECT_EQ(Coloured(16, 16, 21, 21), 0) << "the second quadrant";
    EXPECT_EQ(Coloured(28, 28, 36, 36), 0) << "the centre";
    // The filled letter: green, in the lower left, its stems solid.
    const int letter = Coloured(2, 40, 24, 61);
    EXPECT_GT(letter, 60);
    int green = 0;
    for (int y = 40; y < 61; ++y) {
        for (int x = 2; x < 24; ++x) {
            green += Rgb(surface.At(x, y)) == 0x008000u ? 1 : 0;
        }
    }
    EXPECT_EQ(green, letter);
}

TEST_F(RenderTest, FilledTextCoversMoreThanItsOutline)
{
    NUVEX_SKIP_WITHOUT_GL(context);
    LOGFONTA font = view.context.Font();
    font.lfHeight = 40;
    view.context.SetFont(&font);
    CVector3 origin(-25, -20, 0), baseline(0, -20, 0), up(0, 0, 1);
    int covered[2] = {0, 0};
    for (BOOL filled : {FALSE, TRUE}) {
        ASSERT_TRUE(Begin());
        ASSERT_EQ(view.context.SetColor(0), S_OK);
        ASSERT_EQ(view.context.DrawString("O", &origin, &baseline, &up, filled), S_OK);
        Finish();
        covered[filled] = Coloured(0, 0, kSize, kSize);
    }
    EXPECT_GT(covered[0], 40);
    EXPECT_GT(covered[1], covered[0] + 40);
}

}  // namespace
