// GLCalls: the drawing seam (GlApi) with the context-layer, device-context
// and set-up calls that the OpenGL window's paint adds, so that a whole
// paint, scene included, can be driven against one recorder that checks its
// order and state. The system implementation forwards each call unchanged.
#pragma once

#include "host/view/gl_api.h"
#include "platform/gl/opengl.h"

class GLCalls : public GlApi {
public:

    // Device contexts of windows.
    virtual HDC GetDC(HWND window) = 0;
    virtual int ReleaseDC(HWND window, HDC dc) = 0;

    // The context layer.
    virtual int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) = 0;
    virtual BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) = 0;
    virtual HGLRC CreateContext(HDC dc) = 0;
    virtual BOOL MakeCurrent(HDC dc, HGLRC context) = 0;
    virtual BOOL DeleteContext(HGLRC context) = 0;
    virtual HDC GetCurrentDC() = 0;
    virtual HGLRC GetCurrentContext() = 0;
    virtual BOOL SwapBuffers(HDC dc) = 0;

    // OpenGL.
    virtual void ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) = 0;
    virtual void ClearDepth(GLclampd depth) = 0;
    virtual void Clear(GLbitfield mask) = 0;
    virtual void GetIntegerv(GLenum name, GLint* values) = 0;
    virtual void LoadIdentity() = 0;
    virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void LightModelf(GLenum name, GLfloat value) = 0;
    virtual void LightModelfv(GLenum name, const GLfloat* values) = 0;
    virtual void Lightfv(GLenum light, GLenum name, const GLfloat* values) = 0;
    virtual void Finish() = 0;
};

// The calls as the platform makes them.
GLCalls& SystemGLCalls();
