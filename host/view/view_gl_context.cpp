// The OpenGL set-up of a view.
#include "host/view/view_gl_context.h"

#include "objectmodel/vector3.h"

PIXELFORMATDESCRIPTOR ViewPixelFormatDescriptor()
{
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 32;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

BOOL CViewGLContext::CreateGLContext(HDC dc)
{
    m_dc = dc;
    if (dc == nullptr) {
        return FALSE;
    }
    if (!SetupPixelFormat()) {
        return FALSE;
    }
    m_context = m_gl.CreateContext(dc);
    if (m_context == nullptr) {
        return FALSE;
    }
    if (!MakeCurrent()) {
        // Not left for the caller to find: nothing else would delete it.
        if (m_gl.DeleteContext(m_context)) {
            m_context = nullptr;
        }
        return FALSE;
    }
    m_gl.ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    m_gl.ClearDepth(1.0);
    m_gl.Enable(GL_DEPTH_TEST);
    return TRUE;
}

void CViewGLContext::DestroyGLContext()
{
    if (m_context != nullptr && !m_gl.DeleteContext(m_context)) {
        return;
    }
    m_dc = nullptr;
    m_context = nullptr;
}

BOOL CViewGLContext::SetupPixelFormat()
{
    const PIXELFORMATDESCRIPTOR descriptor = ViewPixelFormatDescriptor();
    const int format = m_gl.ChoosePixelFormat(m_dc, &descriptor);
    if (format == 0) {
        return FALSE;
    }
    m_pixelFormat = format;
    return m_gl.SetPixelFormat(m_dc, format, &descriptor) ? TRUE : FALSE;
}

BOOL CViewGLContext::MakeCurrent()
{
    return m_gl.MakeCurrent(m_dc, m_context) ? TRUE : FALSE;
}

void CViewGLContext::GetCurrentContext(HDC* dc, HGLRC* context)
{
    *dc = m_gl.GetCurrentDC();
    *context = m_gl.GetCurrentContext();
}

BOOL CViewGLContext::MakeContextCurrent(HDC dc, HGLRC context)
{
    return m_gl.MakeCurrent(dc, context) ? TRUE : FALSE;
}

void CViewGLContext::ResizeViewport(int32_t clientWidth, int32_t clientHeight)
{
    if (clientWidth < 1 || clientHeight <= 0) {
        return;
    }
    m_gl.Viewport(0, 0, clientWidth, clientHeight);
    m_viewportWidth = clientWidth;
    m_viewportHeight = clientHeight;
    m_gl.MatrixMode(GL_PROJECTION);
    m_gl.LoadIdentity();
    m_gl.MatrixMode(GL_MODELVIEW);
    m_gl.LoadIdentity();
}

void CViewGLContext::SetupLighting()
{
    const CVector3 direction = CVector3(0.4, 0.4, 1.0).Normalized();
    m_gl.Enable(GL_LIGHTING);
    m_gl.LightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    m_gl.LightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 1.0f);
    const GLfloat modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    m_gl.LightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    m_gl.Enable(GL_LIGHT0);
    const GLfloat ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    const GLfloat diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    // w = 0: a direction, fixed relative to the viewer because the
    // model-view matrix is the identity now.
    const GLfloat position[4] = {static_cast<GLfloat>(direction.x.GetValue()), static_cast<GLfloat>(direction.y.GetValue()),
                                 static_cast<GLfloat>(direction.z.GetValue()), 0.0f};
    m_gl.Lightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    m_gl.Lightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    m_gl.Lightfv(GL_LIGHT0, GL_POSITION, position);
    m_gl.Enable(GL_COLOR_MATERIAL);
}

double* CopyMatrixToGL(const CMatrix4& matrix, double out[16])
{
    const auto elements = matrix.Elements();
    for (size_t k = 0; k < 16; ++k) {
        out[k] = elements[k].GetValue();
    }
    return out;
}

namespace {

// Each bit k of a 4-bit channel goes to bits 2k and 2k + 1.
uint32_t ExpandChannel(uint32_t nibble)
{
    uint32_t wide = 0;
    for (uint32_t k = 0; k < 4; ++k) {
        if ((nibble & (1u << k)) != 0) {
            wide |= 3u << (2 * k);
        }
    }
    return wide;
}

} // namespace

void ExpandColors444(uint32_t* out, const uint16_t* in, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t red = ExpandChannel(in[i] & 0xFu);
        const uint32_t green = ExpandChannel((in[i] >> 4) & 0xFu);
        const uint32_t blue = ExpandChannel((in[i] >> 8) & 0xFu);
        out[i] = (red == 255 && green == 255 && blue == 255) ? 0xFFFFFFFFu : (red | green << 8 | blue << 16);
    }
}
