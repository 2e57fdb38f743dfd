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
    // The drawing seam's calls go to its own system implementation.
    void Begin(GLenum mode) override { SystemGl().Begin(mode); }
    void End() override { SystemGl().End(); }
    void Vertex3d(double x, double y, double z) override { SystemGl().Vertex3d(x, y, z); }
    void Color3d(double r, double g, double b) override { SystemGl().Color3d(r, g, b); }
    void Color4d(double r, double g, double b, double a) override { SystemGl().Color4d(r, g, b, a); }
    void LineWidth(float width) override { SystemGl().LineWidth(width); }
    void Enable(GLenum capability) override { SystemGl().Enable(capability); }
    void Disable(GLenum capability) override { SystemGl().Disable(capability); }
    void LineStipple(int factor, unsigned short pattern) override { SystemGl().LineStipple(factor, pattern); }
    void MatrixMode(GLenum mode) override { SystemGl().MatrixMode(mode); }
    void PushMatrix() override { SystemGl().PushMatrix(); }
    void PopMatrix() override { SystemGl().PopMatrix(); }
    void LoadMatrixd(const double* elements) override { SystemGl().LoadMatrixd(elements); }
    void MultMatrixd(const double* elements) override { SystemGl().MultMatrixd(elements); }
    void DepthFunc(GLenum function) override { SystemGl().DepthFunc(function); }
    void BlendFunc(GLenum source, GLenum destination) override { SystemGl().BlendFunc(source, destination); }
    void ColorMaterial(GLenum face, GLenum mode) override { SystemGl().ColorMaterial(face, mode); }
    void DrawPixelsAt(double x, double y, double z, double dx, double dy, int width, int height,
                      const unsigned char* rgba) override
    {
        SystemGl().DrawPixelsAt(x, y, z, dx, dy, width, height, rgba);
    }
    void GetIntegerv(GLenum name, GLint* values) override { ::glGetIntegerv(name, values); }
    void LoadIdentity() override { ::glLoadIdentity(); }
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
