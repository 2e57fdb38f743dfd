// The recording GLCalls of the view tests.
#include "host/view/tests/gl_recorder.h"

#include <cstdio>

namespace {

std::string EnumName(GLenum value)
{
    switch (value) {
    case GL_DEPTH_TEST: return "DEPTH_TEST";
    case GL_LIGHTING: return "LIGHTING";
    case GL_LIGHT0: return "LIGHT0";
    case GL_COLOR_MATERIAL: return "COLOR_MATERIAL";
    case GL_LINE_STIPPLE: return "LINE_STIPPLE";
    case GL_LESS: return "LESS";
    case GL_LEQUAL: return "LEQUAL";
    case GL_PROJECTION: return "PROJECTION";
    case GL_MODELVIEW: return "MODELVIEW";
    case GL_TEXTURE: return "TEXTURE";
    case GL_MATRIX_MODE: return "MATRIX_MODE";
    case GL_LIGHT_MODEL_TWO_SIDE: return "LIGHT_MODEL_TWO_SIDE";
    case GL_LIGHT_MODEL_LOCAL_VIEWER: return "LIGHT_MODEL_LOCAL_VIEWER";
    case GL_LIGHT_MODEL_AMBIENT: return "LIGHT_MODEL_AMBIENT";
    case GL_AMBIENT: return "AMBIENT";
    case GL_DIFFUSE: return "DIFFUSE";
    case GL_POSITION: return "POSITION";
    default: return std::to_string(value);
    }
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

static std::string HandleName(const GLRecorder& r, const void* handle)
{
    if (handle == nullptr) {
        return "null";
    }
    if (handle == r.windowDC) {
        return "dc";
    }
    if (handle == r.newContext) {
        return "rc";
    }
    if (handle == r.currentDC) {
        return "old-dc";
    }
    if (handle == r.currentContext) {
        return "old-rc";
    }
    return "?";
}

HDC GLRecorder::GetDC(HWND)
{
    log.push_back("GetDC");
    return failGetDC ? nullptr : windowDC;
}
int GLRecorder::ReleaseDC(HWND, HDC dc)
{
    log.push_back("ReleaseDC " + HandleName(*this, dc));
    return 1;
}
int GLRecorder::ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* d)
{
    char text[96];
    std::snprintf(text, sizeof text, "ChoosePixelFormat %s size %u version %u flags %#x type %u colour %u depth %u",
                  HandleName(*this, dc).c_str(), d->nSize, d->nVersion, d->dwFlags, d->iPixelType, d->cColorBits,
                  d->cDepthBits);
    log.push_back(text);
    return failChoose ? 0 : 7;
}
BOOL GLRecorder::SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    log.push_back("SetPixelFormat " + HandleName(*this, dc) + " " + std::to_string(format));
    return TRUE;
}
HGLRC GLRecorder::CreateContext(HDC dc)
{
    log.push_back("CreateContext " + HandleName(*this, dc));
    return failCreate ? nullptr : newContext;
}
BOOL GLRecorder::MakeCurrent(HDC dc, HGLRC context)
{
    log.push_back("MakeCurrent " + HandleName(*this, dc) + " " + HandleName(*this, context));
    if (failMakeCurrent && context == newContext) {
        return FALSE;
    }
    return TRUE;
}
BOOL GLRecorder::DeleteContext(HGLRC context)
{
    log.push_back("DeleteContext " + HandleName(*this, context));
    return failDelete ? FALSE : TRUE;
}
HDC GLRecorder::GetCurrentDC()
{
    log.push_back("GetCurrentDC");
    return currentDC;
}
HGLRC GLRecorder::GetCurrentContext()
{
    log.push_back("GetCurrentContext");
    return currentContext;
}
BOOL GLRecorder::SwapBuffers(HDC dc)
{
    log.push_back("SwapBuffers " + HandleName(*this, dc));
    return failSwap ? FALSE : TRUE;
}
void GLRecorder::ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    log.push_back("ClearColor " + Number(r) + " " + Number(g) + " " + Number(b) + " " + Number(a));
}
void GLRecorder::ClearDepth(GLclampd depth) { log.push_back("ClearDepth " + Number(depth)); }
void GLRecorder::Clear(GLbitfield mask)
{
    log.push_back(mask == (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT) ? "Clear COLOR|DEPTH"
                                                                       : "Clear " + std::to_string(mask));
}
void GLRecorder::Enable(GLenum capability) { log.push_back("Enable " + EnumName(capability)); }
void GLRecorder::Disable(GLenum capability) { log.push_back("Disable " + EnumName(capability)); }
void GLRecorder::DepthFunc(GLenum function) { log.push_back("DepthFunc " + EnumName(function)); }
void GLRecorder::GetIntegerv(GLenum name, GLint* values)
{
    log.push_back("GetIntegerv " + EnumName(name));
    if (name == GL_MATRIX_MODE) {
        *values = matrixMode;
    }
}
void GLRecorder::MatrixMode(GLenum mode) { log.push_back("MatrixMode " + EnumName(mode)); }
void GLRecorder::LoadIdentity() { log.push_back("LoadIdentity"); }
void GLRecorder::LoadMatrixd(const double* matrix)
{
    log.push_back("LoadMatrixd");
    matrices.emplace_back(matrix, matrix + 16);
}
void GLRecorder::MultMatrixd(const double* matrix)
{
    log.push_back("MultMatrixd");
    matrices.emplace_back(matrix, matrix + 16);
}
void GLRecorder::Viewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    log.push_back("Viewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                  std::to_string(height));
}
void GLRecorder::LightModelf(GLenum name, GLfloat value) { log.push_back("LightModelf " + EnumName(name) + " " + Number(value)); }
void GLRecorder::LightModelfv(GLenum name, const GLfloat* v)
{
    log.push_back("LightModelfv " + EnumName(name) + " " + Number(v[0]) + " " + Number(v[1]) + " " + Number(v[2]) +
                  " " + Number(v[3]));
}
void GLRecorder::Lightfv(GLenum light, GLenum name, const GLfloat* v)
{
    log.push_back("Lightfv " + EnumName(light) + " " + EnumName(name) + " " + Number(v[0]) + " " + Number(v[1]) +
                  " " + Number(v[2]) + " " + Number(v[3]));
}
void GLRecorder::Finish() { log.push_back("Finish"); }
void GLRecorder::Begin(GLenum mode) { log.push_back(mode == GL_LINES ? "Begin LINES" : "Begin " + std::to_string(mode)); }
void GLRecorder::End() { log.push_back("End"); }
void GLRecorder::Vertex3d(double x, double y, double z)
{
    log.push_back("Vertex " + Number(x) + " " + Number(y) + " " + Number(z));
}

std::vector<std::string> GLRecorder::Only(std::initializer_list<const char*> prefixes) const
{
    std::vector<std::string> lines;
    for (const std::string& line : log) {
        for (const char* prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line);
                break;
            }
        }
    }
    return lines;
}
