// SystemGl: the seam forwarded to OpenGL.
#include "host/view/gl_api.h"

namespace {

class SystemGlApi final : public GlApi {
public:
    void Begin(GLenum mode) override { glBegin(mode); }
    void End() override { glEnd(); }
    void Vertex3d(double x, double y, double z) override { glVertex3d(x, y, z); }
    void Color3d(double r, double g, double b) override { glColor3d(r, g, b); }
    void Color4d(double r, double g, double b, double a) override { glColor4d(r, g, b, a); }
    void LineWidth(float width) override { glLineWidth(width); }
    void Enable(GLenum capability) override { glEnable(capability); }
    void Disable(GLenum capability) override { glDisable(capability); }
    void LineStipple(int factor, unsigned short pattern) override { glLineStipple(factor, pattern); }
    void MatrixMode(GLenum mode) override { glMatrixMode(mode); }
    void PushMatrix() override { glPushMatrix(); }
    void PopMatrix() override { glPopMatrix(); }
    void LoadMatrixd(const double* elements) override { glLoadMatrixd(elements); }
    void MultMatrixd(const double* elements) override { glMultMatrixd(elements); }
    void DepthFunc(GLenum function) override { glDepthFunc(function); }
    void BlendFunc(GLenum source, GLenum destination) override { glBlendFunc(source, destination); }
    void ColorMaterial(GLenum face, GLenum mode) override { glColorMaterial(face, mode); }
    void DrawPixelsAt(double x, double y, double z, double dx, double dy, int width, int height,
                      const unsigned char* rgba) override
    {
        // The raster position follows the model point; a null bitmap moves it
        // by the offset without drawing. Pictures go in front of the scene,
        // their transparent pixels left out.
        glRasterPos3d(x, y, z);
        glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(dx), static_cast<GLfloat>(dy), nullptr);
        GLint depthFunction = GL_LESS;
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
        const GLboolean alphaTest = glIsEnabled(GL_ALPHA_TEST);
        glDepthFunc(GL_ALWAYS);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
        glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        if (alphaTest == GL_FALSE) {
            glDisable(GL_ALPHA_TEST);
        }
        glDepthFunc(static_cast<GLenum>(depthFunction));
    }
};

}  // namespace

GlApi& SystemGl()
{
    static SystemGlApi api;
    return api;
}
