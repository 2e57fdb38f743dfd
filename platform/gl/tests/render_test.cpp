// Rendering into a window's rectangle: a cleared image, a lit scene and a
// tessellated glyph land in the DC's rectangle, the right way up, inside
// its clip, and nowhere else.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "platform/gl/opengl.h"
#include "platform/gl/tests/gl_test_support.h"

using namespace gltest;

namespace {

// Channel tolerance of lit and blended pixels (0..255): lighting is
// computed in floating point and rounded by the rasterizer.
constexpr int kChannelTolerance = 3;

int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFFu); }
int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFFu); }
int Blue(uint32_t p) { return static_cast<int>(p & 0xFFu); }

std::string Hex(uint32_t p)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", p);
    return text;
}

// A surface of 80 x 60 with the window's rectangle at (12, 9), 48 x 32.
class RenderTest : public ::testing::Test {
protected:
    static constexpr POINT kOrigin{12, 9};
    static constexpr int kWidth = 48;
    static constexpr int kHeight = 32;
    static void SetUpTestSuite() { ForceSoftwareRendering(); }

    // Surface pixel of window pixel (x, y), y down.
    uint32_t Window(int x, int y) const { return m_surface.At(kOrigin.x + x, kOrigin.y + y); }
    bool InWindow(int sx, int sy) const
    {
        return sx >= kOrigin.x && sx < kOrigin.x + kWidth && sy >= kOrigin.y && sy < kOrigin.y + kHeight;
    }
    // Every surface pixel outside `written` (surface coordinates) still untouched.
    void ExpectUntouchedOutside(const RECT& written) const
    {
        int stray = 0;
        for (int y = 0; y < m_surface.height; ++y) {
            for (int x = 0; x < m_surface.width; ++x) {
                const bool inside = x >= written.left && x < written.right && y >= written.top && y < written.bottom;
                if (!inside && m_surface.At(x, y) != kUntouched) ++stray;
            }
        }
        EXPECT_EQ(stray, 0) << "pixels written outside the rectangle";
    }
    // Pixel-unit orthographic set-up: x right, y down, as window pixels.
    static void WindowPixelProjection()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, kWidth, kHeight, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    Surface m_surface{80, 60};
};

}  // namespace

TEST_F(RenderTest, ClearFillsTheRectangleTheRightWayUp)
{
    WindowDC window(m_surface, kOrigin, {kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));

    glClearColor(0.2f, 0.4f, 0.6f, 0.0f);  // alpha 0: the window still shows it opaque
    glClear(GL_COLOR_BUFFER_BIT);
    // OpenGL's bottom-left quarter in red: it must land at the window's
    // bottom-left.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, kWidth / 2, kHeight / 2);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    ASSERT_TRUE(SwapBuffers(window.dc));

    const uint32_t background = Opaque(51, 102, 153);
    const uint32_t red = Opaque(255, 0, 0);
    struct Probe {
        const char* name;
        int x;
        int y;
        uint32_t expected;
    };
    const Probe kProbes[] = {
        {"top_left", 0, 0, background},
        {"top_right", kWidth - 1, 0, background},
        {"bottom_left", 0, kHeight - 1, red},
        {"red_corner", kWidth / 2 - 1, kHeight / 2, red},
        {"above_red", kWidth / 2 - 1, kHeight / 2 - 1, background},
        {"right_of_red", kWidth / 2, kHeight - 1, background},
        {"bottom_right", kWidth - 1, kHeight - 1, background},
    };
    for (const Probe& p : kProbes) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(Hex(Window(p.x, p.y)), Hex(p.expected));
    }
    ExpectUntouchedOutside({kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
}

TEST_F(RenderTest, SwapWritesOnlyInsideTheClip)
{
    struct ClipCase {
        const char* name;
        POINT origin;
        RECT clip;          // surface coordinates
        RECT expectWritten;  // the image cut to clip and surface
    };
    // Without a window, the image reaches from the origin to the clip's
    // right and bottom edges.
    const ClipCase kCases[] = {
        {"whole", {12, 9}, {12, 9, 60, 41}, {12, 9, 60, 41}},
        {"left_part_clipped", {12, 9}, {30, 20, 60, 41}, {30, 20, 60, 41}},
        {"past_surface_edges", {50, 40}, {50, 40, 120, 90}, {50, 40, 80, 60}},
        {"negative_origin", {-10, -6}, {-10, -6, 20, 14}, {0, 0, 20, 14}},
        {"nothing_visible", {12, 9}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const ClipCase& c : kCases) {
        SCOPED_TRACE(c.name);
        m_surface.pixels.assign(m_surface.pixels.size(), kUntouched);
        WindowDC window(m_surface, c.origin, c.clip);
        Context context(window.dc);
        NUVEX_SKIP_WITHOUT_GL(context);
        ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(SwapBuffers(window.dc));
        int wrong = 0;
        for (int y = c.expectWritten.top; y < c.expectWritten.bottom; ++y) {
            for (int x = c.expectWritten.left; x < c.expectWritten.right; ++x) {
                if (m_surface.At(x, y) != Opaque(0, 255, 0)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels inside the clip not written";
        ExpectUntouchedOutside(c.expectWritten);
    }
}

TEST_F(RenderTest, ImageFollowsTheDCSizeAtMakeCurrent)
{
    WindowDC small(m_surface, {0, 0}, {0, 0, 10, 8});
    WindowDC large(m_surface, {0, 0}, {0, 0, 70, 50});
    Context context(small.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(small.dc, context.rc));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 10);
    EXPECT_EQ(viewport[3], 8);

    ASSERT_TRUE(wglMakeCurrent(large.dc, context.rc));
    glViewport(0, 0, 70, 50);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(large.dc));
    EXPECT_EQ(Hex(m_surface.At(0, 0)), Hex(Opaque(0, 0, 255)));
    EXPECT_EQ(Hex(m_surface.At(69, 49)), Hex(Opaque(0, 0, 255)));
    ExpectUntouchedOutside({0, 0, 70, 50});
}

// Two triangles under a directional light from the viewer: the one facing
// the light is lit by ambient plus full diffuse, the one turned edge-on
// only by ambient.
TEST_F(RenderTest, LitTrianglesShadeByTheirNormal)
{
    WindowDC window(m_surface, kOrigin, {kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    WindowPixelProjection();

    const GLfloat ambientModel[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.6f, 0.6f, 0.6f, 1.0f};
    const GLfloat towardsViewer[] = {0.0f, 0.0f, 1.0f, 0.0f};
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientModel);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);

    glColor3d(1.0, 0.5, 0.0);
    glBegin(GL_TRIANGLES);
    glNormal3d(0.0, 0.0, 1.0);  // facing the light
    glVertex3d(2.0, 2.0, 0.0);  // counter-clockwise on screen: front faces
    glVertex3d(2.0, 30.0, 0.0);
    glVertex3d(22.0, 2.0, 0.0);
    glNormal3d(1.0, 0.0, 0.0);  // edge-on to the light
    glVertex3d(26.0, 2.0, 0.0);
    glVertex3d(26.0, 30.0, 0.0);
    glVertex3d(46.0, 2.0, 0.0);
    glEnd();
    glFinish();
    ASSERT_TRUE(SwapBuffers(window.dc));

    // Facing: (0.2 + 0.6) x colour; edge-on: 0.2 x colour.
    const uint32_t facing = Window(6, 6);
    const uint32_t edgeOn = Window(30, 6);
    EXPECT_NEAR(Red(facing), 204, kChannelTolerance) << Hex(facing);
    EXPECT_NEAR(Green(facing), 102, kChannelTolerance) << Hex(facing);
    EXPECT_NEAR(Blue(facing), 0, kChannelTolerance) << Hex(facing);
    EXPECT_NEAR(Red(edgeOn), 51, kChannelTolerance) << Hex(edgeOn);
    EXPECT_NEAR(Green(edgeOn), 25, kChannelTolerance) << Hex(edgeOn);
    // Beyond each hypotenuse the clear colour shows.
    EXPECT_EQ(Hex(Window(20, 26)), Hex(Opaque(0, 0, 0)));
    EXPECT_EQ(Hex(Window(44, 26)), Hex(Opaque(0, 0, 0)));
    ExpectUntouchedOutside({kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
}

namespace {

// Tessellator callbacks as the glyph drawing binds them: straight to
// glBegin, glVertex3dv and glEnd.
void CALLBACK TessBegin(GLenum mode) { glBegin(mode); }
void CALLBACK TessVertex(void* vertex) { glVertex3dv(static_cast<const GLdouble*>(vertex)); }
void CALLBACK TessEnd() { glEnd(); }

using Vertex = std::array<GLdouble, 3>;

}  // namespace

// A glyph-like ring, an outer outline and a hole, tessellated with the
// default winding rule and no combine callback: the ring is filled, the
// hole is not.
TEST_F(RenderTest, TessellatedGlyphKeepsItsHole)
{
    WindowDC window(m_surface, kOrigin, {kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));

    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    WindowPixelProjection();
    glColor3d(0.0, 0.0, 0.5);

    // An "O" of two contours: an octagon outside, a square hole inside.
    Vertex outer[] = {{10, 2, 0}, {30, 2, 0}, {38, 10, 0}, {38, 22, 0}, {30, 30, 0}, {10, 30, 0}, {2, 22, 0}, {2, 10, 0}};
    Vertex hole[] = {{14, 10, 0}, {14, 22, 0}, {26, 22, 0}, {26, 10, 0}};
    GLUtesselator* tess = gluNewTess();
    ASSERT_NE(tess, nullptr);
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<void(CALLBACK*)()>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<void(CALLBACK*)()>(&TessVertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<void(CALLBACK*)()>(&TessEnd));
    gluTessBeginPolygon(tess, nullptr);
    gluTessBeginContour(tess);
    for (Vertex& v : outer) gluTessVertex(tess, v.data(), v.data());
    gluTessEndContour(tess);
    gluTessBeginContour(tess);
    for (Vertex& v : hole) gluTessVertex(tess, v.data(), v.data());
    gluTessEndContour(tess);
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    ASSERT_TRUE(SwapBuffers(window.dc));

    const uint32_t ink = Opaque(0, 0, 128);
    const uint32_t paper = Opaque(255, 255, 255);
    struct Probe {
        const char* name;
        int x;
        int y;
        uint32_t expected;
    };
    const Probe kProbes[] = {
        {"left_stroke", 6, 16, ink},      {"top_stroke", 20, 5, ink},   {"bottom_stroke", 20, 27, ink},
        {"right_stroke", 34, 16, ink},    {"hole", 20, 16, paper},      {"cut_corner", 3, 3, paper},
        {"outside_right", 44, 16, paper}, {"hole_corner", 15, 11, paper},
    };
    for (const Probe& p : kProbes) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(Hex(Window(p.x, p.y)), Hex(p.expected));
    }
    ExpectUntouchedOutside({kOrigin.x, kOrigin.y, kOrigin.x + kWidth, kOrigin.y + kHeight});
}

// A memory DC with a colour bitmap takes a bitmap pixel format and gets the
// image in its bitmap.
TEST_F(RenderTest, MemoryDCReceivesTheImageInItsBitmap)
{
    struct BitmapDC {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(16, 12, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        ~BitmapDC()
        {
            SelectObject(dc, old);
            DeleteObject(bitmap);
            DeleteDC(dc);
        }
    } memory;
    PIXELFORMATDESCRIPTOR request = WindowRequest();
    request.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    ASSERT_TRUE(SetPixelFormat(memory.dc, ChoosePixelFormat(memory.dc, &request), &request));
    Context context(memory.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(memory.dc, context.rc));
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(memory.dc));
    GdiSurface pixels{};
    ASSERT_TRUE(GetBitmapSurface(memory.bitmap, &pixels));
    EXPECT_EQ(Hex(pixels.pixels[0]), Hex(Opaque(255, 0, 255)));
    EXPECT_EQ(Hex(pixels.pixels[11 * 16 + 15]), Hex(Opaque(255, 0, 255)));
    EXPECT_EQ(GetPixel(memory.dc, 3, 3), RGB(255, 0, 255));
}
