// The system implementation of GLCalls: every call forwarded unchanged.
#include "host/view/gl_calls.h"

#include "platform/user/winuser.h"

namespace {

class SystemCalls final : public GLCalls {
public:
    HDC GetDC(HWND window) override { return ::GetDC(window); }
    int ReleaseDC(HWND window, HDC dc) override { return ::ReleaseDC(window, dc); }
    int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) override
    {
        return ::ChoosePixelFormat(dc, descriptor);
    }
    BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) override
    {
        return ::SetPixelFormat(dc, format, descriptor);
    }
    HGLRC CreateContext(HDC dc) override { return ::wglCreateContext(dc); }
    BOOL MakeCurrent(HDC dc, HGLRC context) override { return ::wglMakeCurrent(dc, context); }
    BOOL DeleteContext(HGLRC context) override { return ::wglDeleteContext(context); }
    HDC GetCurrentDC() override { return ::wglGetCurrentDC(); }
    HGLRC GetCurrentContext() override { return ::wglGetCurrentContext(); }
    BOOL SwapBuffers(HDC dc) override { return ::SwapBuffers(dc); }
    void ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) override
    {
        ::glClearColor(red, green, blue, alpha);
    }
    void ClearDepth(GLclampd depth) override { ::glClearDepth(depth); }
    void Clear(GLbitfield mask) override { ::glClear(mask); }
    void Enable(GLenum capability) override { ::glEnable(capability); }
    void Disable(GLenum capability) override { ::glDisable(capability); }
    void DepthFunc(GLenum function) override { ::glDepthFunc(function); }
    void GetIntegerv(GLenum name, GLint* values) override { ::glGetIntegerv(name, values); }
    void MatrixMode(GLenum mode) override { ::glMatrixMode(mode); }
    void LoadIdentity() override { ::glLoadIdentity(); }
    void LoadMatrixd(const GLdouble* matrix) override { ::glLoadMatrixd(matrix); }
    void MultMatrixd(const GLdouble* matrix) override { ::glMultMatrixd(matrix); }
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override { ::glViewport(x, y, width, height); }
    void LightModelf(GLenum name, GLfloat value) override { ::glLightModelf(name, value); }
    void LightModelfv(GLenum name, const GLfloat* values) override { ::glLightModelfv(name, values); }
    void Lightfv(GLenum light, GLenum name, const GLfloat* values) override { ::glLightfv(light, name, values); }
    void Finish() override { ::glFinish(); }
};

} // namespace

GLCalls& SystemGLCalls()
{
    static SystemCalls calls;
    return calls;
}
