// Rendering contexts: making current, releasing, deleting, and which DC a
// swap accepts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

#include "platform/gl/opengl.h"
#include "platform/gl/tests/gl_test_support.h"

using namespace gltest;

namespace {

class ContextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ForceSoftwareRendering(); }
    Surface m_surface{32, 24};
};

}  // namespace

TEST_F(ContextTest, MakeCurrentReleaseAndDeleteLeaveTheRightContextCurrent)
{
    WindowDC window(m_surface, {0, 0}, {0, 0, 32, 24});
    Context first(window.dc);
    NUVEX_SKIP_WITHOUT_GL(first);
    Context second(window.dc);
    ASSERT_NE(second.rc, nullptr);

    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    ASSERT_TRUE(wglMakeCurrent(window.dc, first.rc));
    EXPECT_EQ(wglGetCurrentContext(), first.rc);
    EXPECT_EQ(wglGetCurrentDC(), window.dc);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);

    // Switching, then releasing with null handles.
    ASSERT_TRUE(wglMakeCurrent(window.dc, second.rc));
    EXPECT_EQ(wglGetCurrentContext(), second.rc);
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);

    // Deleting the current context leaves none current.
    ASSERT_TRUE(wglMakeCurrent(window.dc, first.rc));
    HGLRC gone = first.rc;
    EXPECT_TRUE(wglDeleteContext(gone));
    first.rc = nullptr;
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    EXPECT_FALSE(wglDeleteContext(gone));
    // A new context never takes over the deleted one's handle.
    Context third(window.dc);
    EXPECT_NE(third.rc, gone);

    // A failed make-current leaves none current either.
    ASSERT_TRUE(wglMakeCurrent(window.dc, second.rc));
    EXPECT_FALSE(wglMakeCurrent(window.dc, gone));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    ASSERT_TRUE(wglMakeCurrent(window.dc, second.rc));
    EXPECT_FALSE(wglMakeCurrent(nullptr, second.rc));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST_F(ContextTest, CreationNeedsALiveDCWithAPixelFormat)
{
    HDC bare = CreateSurfaceDC(m_surface.View(), {0, 0}, {0, 0, 32, 24});
    ASSERT_NE(bare, nullptr);
    // Formats stay with a window-less DC's address, so only insist on the
    // refusal when this DC has none.
    if (GetPixelFormat(bare) == 0) {
        EXPECT_EQ(wglCreateContext(bare), nullptr);
    }
    DeleteSurfaceDC(bare);
    EXPECT_EQ(wglCreateContext(bare), nullptr) << "stale DC";
    EXPECT_EQ(wglCreateContext(nullptr), nullptr);
}

TEST_F(ContextTest, SwapNeedsAContextCurrentForThatDC)
{
    WindowDC window(m_surface, {0, 0}, {0, 0, 32, 24});
    Surface otherSurface(8, 8);
    WindowDC other(otherSurface, {0, 0}, {0, 0, 8, 8});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);

    EXPECT_FALSE(SwapBuffers(window.dc)) << "nothing current";
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));
    EXPECT_TRUE(SwapBuffers(window.dc));
    EXPECT_FALSE(SwapBuffers(other.dc)) << "current for another DC";
    EXPECT_FALSE(SwapBuffers(nullptr));
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_FALSE(SwapBuffers(window.dc)) << "released";
    EXPECT_EQ(otherSurface.At(0, 0), kUntouched);
}

TEST_F(ContextTest, ADCOfAnotherPixelFormatIsRefused)
{
    WindowDC window(m_surface, {0, 0}, {0, 0, 32, 24});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PIXELFORMATDESCRIPTOR request = WindowRequest();
    request.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
    ASSERT_TRUE(SetPixelFormat(memory, ChoosePixelFormat(memory, &request), &request));
    EXPECT_FALSE(wglMakeCurrent(memory, context.rc));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_TRUE(wglMakeCurrent(window.dc, context.rc));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// A context is current on one thread at a time; it cannot be taken over or
// deleted from another thread while it is.
TEST_F(ContextTest, AContextCurrentOnAnotherThreadIsLeftAlone)
{
    WindowDC window(m_surface, {0, 0}, {0, 0, 32, 24});
    Context context(window.dc);
    NUVEX_SKIP_WITHOUT_GL(context);
    ASSERT_TRUE(wglMakeCurrent(window.dc, context.rc));
    BOOL takenOver = TRUE;
    BOOL deleted = TRUE;
    HGLRC seen = context.rc;
    std::thread other([&] {
        seen = wglGetCurrentContext();
        takenOver = wglMakeCurrent(window.dc, context.rc);
        deleted = wglDeleteContext(context.rc);
    });
    other.join();
    EXPECT_EQ(seen, nullptr) << "current contexts are per thread";
    EXPECT_FALSE(takenOver);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(wglGetCurrentContext(), context.rc);
    EXPECT_TRUE(SwapBuffers(window.dc));

    // Released here, the other thread may use and delete it.
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    std::thread taker([&] {
        takenOver = wglMakeCurrent(window.dc, context.rc);
        deleted = wglDeleteContext(context.rc);
    });
    taker.join();
    EXPECT_TRUE(takenOver);
    EXPECT_TRUE(deleted);
    context.rc = nullptr;
}

// The paint sequence of a view: remember what is current, create a context
// for the paint DC, draw, swap, restore, delete; again on the next paint.
TEST_F(ContextTest, AContextPerPaintLeavesNothingBehind)
{
    for (int paint = 0; paint < 3; ++paint) {
        SCOPED_TRACE(paint);
        WindowDC window(m_surface, {0, 0}, {0, 0, 32, 24});
        HDC rememberedDc = wglGetCurrentDC();
        HGLRC rememberedRc = wglGetCurrentContext();
        HGLRC rc = wglCreateContext(window.dc);
        if (rc == nullptr) GTEST_SKIP() << "EGL cannot create a desktop OpenGL context on this machine";
        ASSERT_TRUE(wglMakeCurrent(window.dc, rc));
        glClearColor(0.0f, 0.0f, static_cast<float>(paint) / 4.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        ASSERT_TRUE(SwapBuffers(window.dc));
        EXPECT_TRUE(wglMakeCurrent(rememberedDc, rememberedRc));
        EXPECT_TRUE(wglDeleteContext(rc));
        EXPECT_EQ(wglGetCurrentContext(), nullptr);
        const uint32_t blue = static_cast<uint32_t>(paint * 255 / 4);
        EXPECT_NEAR(static_cast<double>(m_surface.At(5, 5) & 0xFFu), static_cast<double>(blue), 1.0);
        EXPECT_EQ(m_surface.At(5, 5) & 0xFFFFFF00u, 0xFF000000u);
    }
}

// Without a working EGL vendor the context layer answers null; run in a
// child process so that the driver of the other tests stays untouched.
TEST(ContextWithoutEgl, CreationFailsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", 1);
            setenv("__EGL_VENDOR_LIBRARY_DIRS", "/nonexistent", 1);
            Surface surface(4, 4);
            WindowDC window(surface, {0, 0}, {0, 0, 4, 4});
            HGLRC rc = wglCreateContext(window.dc);
            const bool clean = rc == nullptr && !SwapBuffers(window.dc);
            _exit(clean ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
