// GlApi: the OpenGL 1.1 calls that the view's drawing code makes, as one
// seam. The drawing code never calls OpenGL directly; it calls these, so a
// test can record the calls and the state they set, while the program uses
// SystemGl, which forwards each call to the current rendering context.
#pragma once

#include "platform/gl/opengl.h"

class GlApi {
public:
    virtual ~GlApi() = default;
    virtual void Begin(GLenum mode) = 0;
    virtual void End() = 0;
    virtual void Vertex3d(double x, double y, double z) = 0;
    virtual void Color3d(double r, double g, double b) = 0;
    virtual void Color4d(double r, double g, double b, double a) = 0;
    virtual void LineWidth(float width) = 0;
    virtual void Enable(GLenum capability) = 0;
    virtual void Disable(GLenum capability) = 0;
    virtual void LineStipple(int factor, unsigned short pattern) = 0;
    virtual void MatrixMode(GLenum mode) = 0;
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void LoadMatrixd(const double* elements) = 0;
    virtual void MultMatrixd(const double* elements) = 0;
    virtual void DepthFunc(GLenum function) = 0;
    virtual void BlendFunc(GLenum source, GLenum destination) = 0;
    virtual void ColorMaterial(GLenum face, GLenum mode) = 0;
    // Places a picture of width x height RGBA pixels (rows bottom first) at
    // the window position of the model point, moved by (dx, dy) pixels.
    virtual void DrawPixelsAt(double x, double y, double z, double dx, double dy, int width, int height,
                              const unsigned char* rgba) = 0;
};

// The calls forwarded to the rendering context current on this thread.
GlApi& SystemGl();
