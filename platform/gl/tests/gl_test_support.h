// Shared set-up of the OpenGL tests: software rendering forced before the
// first context, and a plain pixel buffer with a window-less surface DC
// that stands for a window's rectangle.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gl/wgl.h"

namespace gltest {

// A colour no render produces: pixels that keep it were not written.
constexpr uint32_t kUntouched = 0x00123456u;

// The software rasterizer, whatever hardware the machine has, and few
// threads, as tests share the machine.
inline void ForceSoftwareRendering()
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    setenv("LP_NUM_THREADS", "2", 0);
}

// Surface pixels as 0xAARRGGBB, from 0..255 channels.
constexpr uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

// The view's pixel format request.
inline PIXELFORMATDESCRIPTOR WindowRequest()
{
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 32;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

// A pixel buffer filled with kUntouched.
struct Surface {
    Surface(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), kUntouched) {}
    GdiSurface View() { return {pixels.data(), width, height, width}; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

// A window-less surface DC with the window pixel format set; freed with it.
struct WindowDC {
    WindowDC(Surface& surface, POINT origin, RECT clip) : dc(CreateSurfaceDC(surface.View(), origin, clip))
    {
        const PIXELFORMATDESCRIPTOR request = WindowRequest();
        if (dc != nullptr) SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request);
    }
    ~WindowDC() { DeleteSurfaceDC(dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC dc;
};

// A rendering context deleted at scope end (after releasing it).
struct Context {
    explicit Context(HDC dc) : rc(wglCreateContext(dc)) {}
    ~Context()
    {
        if (wglGetCurrentContext() == rc) wglMakeCurrent(nullptr, nullptr);
        if (rc != nullptr) wglDeleteContext(rc);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    HGLRC rc;
};

#define NUVEX_SKIP_WITHOUT_GL(context)                                                          \
    if ((context).rc == nullptr) {                                                              \
        GTEST_SKIP() << "EGL cannot create a desktop OpenGL context on this machine (no "       \
                        "surfaceless platform or no Mesa driver); the OpenGL tests need one"; \
    }

}  // namespace gltest
