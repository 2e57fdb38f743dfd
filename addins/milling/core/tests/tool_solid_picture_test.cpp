// The shaded tool as the view draws it: lit like the view (one light along
// (0.4, 0.4, 1) in view space, two-sided, colour material), seen from the
// front and above, compared with its reviewed picture; and the wireframe
// beside it.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/core/tool_solid.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/gl/opengl.h"
#include "platform/gl/tests/gl_test_support.h"

using namespace gltest;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 200;

void ViewLighting()
{
    glEnable(GL_LIGHTING);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 1.0f);
    const GLfloat modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glEnable(GL_LIGHT0);
    const GLfloat ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    const GLfloat diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const double length = std::sqrt(0.4 * 0.4 * 2 + 1.0);
    const GLfloat position[4] = {static_cast<GLfloat>(0.4 / length), static_cast<GLfloat>(0.4 / length),
                                 static_cast<GLfloat>(1.0 / length), 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
}

class ToolPictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ForceSoftwareRendering(); }
};

TEST_F(ToolPictureTest, TheShadedAndTheWireframeTool)
{
    Surface surface(kWidth, kHeight);
    WindowDC window(surface, POINT{0, 0}, RECT{0, 0, kWidth, kHeight});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-30.0, 30.0, -25.0, 25.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ViewLighting();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // The tool axis up the picture, tilted towards the viewer so the end
    // shows, turned a little about its axis.
    glRotated(-70.0, 1.0, 0.0, 0.0);
    glRotated(20.0, 0.0, 0.0, 1.0);

    CToolSolid shaded;
    ASSERT_EQ(shaded.Build(16.0, 3.0, 24.0, 40.0, 1.0, 0), 1);
    shaded.Draw(RealToolGl(), -14.0, 0.0, -20.0, true);
    CToolSolid wireframe;
    ASSERT_EQ(wireframe.Build(16.0, 3.0, 24.0, 40.0, 1.0, 1), 1);
    wireframe.Draw(RealToolGl(), 14.0, 0.0, -20.0, false);
    glFinish();
    ASSERT_TRUE(SwapBuffers(window.dc));
    EXPECT_TRUE(MatchesReferencePicture(surface.View(), "addins/milling/core/tests/pictures/tool_solid.png"));
}

} // namespace
