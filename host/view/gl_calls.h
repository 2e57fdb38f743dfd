// GLCalls: the OpenGL, context-layer and device-context calls that the view
// and its OpenGL window make, behind one interface, so that the paint can be
// driven against a recorder that checks its order and state. The system
// implementation forwards each call unchanged.
#pragma once

#include "platform/gl/opengl.h"

class GLCalls {
public:
    virtual ~GLCalls() = default;

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
    virtual void Enable(GLenum capability) = 0;
    virtual void Disable(GLenum capability) = 0;
    virtual void DepthFunc(GLenum function) = 0;
    virtual void GetIntegerv(GLenum name, GLint* values) = 0;
    virtual void MatrixMode(GLenum mode) = 0;
    virtual void LoadIdentity() = 0;
    virtual void LoadMatrixd(const GLdouble* matrix) = 0;
    virtual void MultMatrixd(const GLdouble* matrix) = 0;
    virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
    virtual void LightModelf(GLenum name, GLfloat value) = 0;
    virtual void LightModelfv(GLenum name, const GLfloat* values) = 0;
    virtual void Lightfv(GLenum light, GLenum name, const GLfloat* values) = 0;
    virtual void Finish() = 0;
};

// The calls as the platform makes them.
GLCalls& SystemGLCalls();
