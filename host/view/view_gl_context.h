// The OpenGL set-up that a view lends to the OpenGL window's paint: the
// pixel format of the window's device context, a rendering context made
// for one paint and deleted after it, the viewport, the lights, and the
// conversions of matrices and packed colours into what OpenGL takes.
#pragma once

#include <cstdint>

#include "host/view/gl_calls.h"
#include "objectmodel/matrix4.h"

// Window drawing with OpenGL, double buffered, RGBA with 24 colour and 32
// depth bits, main plane.
PIXELFORMATDESCRIPTOR ViewPixelFormatDescriptor();

class CViewGLContext {
public:
    explicit CViewGLContext(GLCalls& gl) : m_gl(gl) {}

    // Pixel format, a new rendering context made current, black clear
    // colour, clear depth 1 and the depth test on. FALSE (nothing made
    // current) for a null device context or when a step fails; a context
    // made before the failing step is deleted again.
    BOOL CreateGLContext(HDC dc);
    // Deletes the rendering context. When the deletion fails, both fields
    // stay so that a later call can try again.
    void DestroyGLContext();
    // FALSE when no format fits or it cannot be set.
    BOOL SetupPixelFormat();
    BOOL MakeCurrent();
    void GetCurrentContext(HDC* dc, HGLRC* context);
    BOOL MakeContextCurrent(HDC dc, HGLRC context);
    // The viewport to the client size (ignored unless width >= 1 and
    // height > 0); projection and model-view reset, model-view current.
    void ResizeViewport(int32_t clientWidth, int32_t clientHeight);
    // A directional light from the viewer's upper right, both sides lit,
    // colours from glColor.
    void SetupLighting();

    HDC GetDeviceContext() const { return m_dc; }
    HGLRC GetRenderingContext() const { return m_context; }
    int32_t GetPixelFormat() const { return m_pixelFormat; }
    int32_t GetViewportWidth() const { return m_viewportWidth; }
    int32_t GetViewportHeight() const { return m_viewportHeight; }
    GLCalls& Calls() { return m_gl; }

private:
    GLCalls& m_gl;
    int32_t m_pixelFormat = 0;
    HDC m_dc = nullptr;
    HGLRC m_context = nullptr;
    int32_t m_viewportHeight = 0;
    int32_t m_viewportWidth = 0;
};

// The sixteen elements of the matrix row by row (row 3 holds the
// translation), the layout glLoadMatrixd takes for row-vector matrices.
double* CopyMatrixToGL(const CMatrix4& matrix, double out[16]);

// Packed 4-bit colours (red in bits 0-3, green 4-7, blue 8-11) to 8-bit
// ones (red in the low byte); pure white gets a top byte of 0xFF, every
// other colour 0.
void ExpandColors444(uint32_t* out, const uint16_t* in, int32_t count);
