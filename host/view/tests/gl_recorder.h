// A GLCalls that records every call as a line of text and answers with
// made-up handles; switches let a test make a step fail.
#pragma once

#include <string>
#include <vector>

#include "host/view/gl_calls.h"

class GLRecorder : public GLCalls {
public:
    HDC GetDC(HWND window) override;
    int ReleaseDC(HWND window, HDC dc) override;
    int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) override;
    BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) override;
    HGLRC CreateContext(HDC dc) override;
    BOOL MakeCurrent(HDC dc, HGLRC context) override;
    BOOL DeleteContext(HGLRC context) override;
    HDC GetCurrentDC() override;
    HGLRC GetCurrentContext() override;
    BOOL SwapBuffers(HDC dc) override;
    void ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) override;
    void ClearDepth(GLclampd depth) override;
    void Clear(GLbitfield mask) override;
    void Enable(GLenum capability) override;
    void Disable(GLenum capability) override;
    void DepthFunc(GLenum function) override;
    void GetIntegerv(GLenum name, GLint* values) override;
    void MatrixMode(GLenum mode) override;
    void LoadIdentity() override;
    void LoadMatrixd(const double* matrix) override;
    void MultMatrixd(const double* matrix) override;
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override;
    void LightModelf(GLenum name, GLfloat value) override;
    void LightModelfv(GLenum name, const GLfloat* values) override;
    void Lightfv(GLenum light, GLenum name, const GLfloat* values) override;
    void Finish() override;
    // The drawing calls, logged by name.
    void Begin(GLenum mode) override;
    void End() override;
    void Vertex3d(double x, double y, double z) override;
    void Color3d(double, double, double) override { log.push_back("Color"); }
    void Color4d(double, double, double, double) override { log.push_back("Color"); }
    void LineWidth(float) override { log.push_back("LineWidth"); }
    void LineStipple(int, unsigned short) override { log.push_back("LineStipple"); }
    void PushMatrix() override { log.push_back("PushMatrix"); }
    void PopMatrix() override { log.push_back("PopMatrix"); }
    void BlendFunc(GLenum, GLenum) override { log.push_back("BlendFunc"); }
    void ColorMaterial(GLenum, GLenum) override { log.push_back("ColorMaterial"); }
    void DrawPixelsAt(double, double, double, double, double, int, int, const unsigned char*) override
    {
        log.push_back("Pixels");
    }

    // The lines that start with one of the prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<const char*> prefixes) const;

    std::vector<std::string> log;
    // Every matrix given to LoadMatrixd or MultMatrixd, in order.
    std::vector<std::vector<double>> matrices;
    // The handles the recorder hands out; "dc" and "rc" in the log.
    HDC windowDC = reinterpret_cast<HDC>(0x10);
    HGLRC newContext = reinterpret_cast<HGLRC>(0x20);
    // What is current before the paint: "old-dc", "old-rc" in the log.
    HDC currentDC = reinterpret_cast<HDC>(0x30);
    HGLRC currentContext = reinterpret_cast<HGLRC>(0x40);
    GLint matrixMode = GL_TEXTURE;
    bool failGetDC = false;
    bool failChoose = false;
    bool failCreate = false;
    bool failMakeCurrent = false;
    bool failDelete = false;
    bool failSwap = false;
};
