// Off-screen framebuffers of rendering contexts and reading them back.
#include "platform/gl/framebuffer.h"

#include <GL/glext.h>

#include <cstddef>

#include "platform/gl/egl_runtime.h"

namespace gl {
namespace {

struct EntryPoints {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    bool loaded = false;
};

EntryPoints g_entry;

template <class F>
bool Load(F& function, const char* name)
{
    function = reinterpret_cast<F>(ProcAddress(name));
    return function != nullptr;
}

// An opaque pixel as surfaces store it, from a read-back 0xAARRGGBB word.
constexpr uint32_t kOpaque = 0xFF000000u;

}  // namespace

bool Framebuffer::LoadEntryPoints()
{
    if (g_entry.loaded) return true;
    EntryPoints e;
    const bool all = Load(e.genFramebuffers, "glGenFramebuffers") && Load(e.bindFramebuffer, "glBindFramebuffer") &&
                     Load(e.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                     Load(e.checkFramebufferStatus, "glCheckFramebufferStatus") &&
                     Load(e.genRenderbuffers, "glGenRenderbuffers") &&
                     Load(e.bindRenderbuffer, "glBindRenderbuffer") &&
                     Load(e.renderbufferStorage, "glRenderbufferStorage");
    if (!all) return false;
    e.loaded = true;
    g_entry = e;
    return true;
}

bool Framebuffer::Bind(int width, int height)
{
    if (!LoadEntryPoints() || width < 1 || height < 1) return false;
    if (m_framebuffer == 0) {
        g_entry.genFramebuffers(1, &m_framebuffer);
        g_entry.genRenderbuffers(1, &m_colour);
        g_entry.genRenderbuffers(1, &m_depthStencil);
    }
    g_entry.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    if (width != m_width || height != m_height) {
        g_entry.bindRenderbuffer(GL_RENDERBUFFER, m_colour);
        g_entry.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        g_entry.bindRenderbuffer(GL_RENDERBUFFER, m_depthStencil);
        g_entry.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        g_entry.bindRenderbuffer(GL_RENDERBUFFER, 0);
        g_entry.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour);
        g_entry.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depthStencil);
        g_entry.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_depthStencil);
        if (g_entry.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            m_width = 0;
            m_height = 0;
            return false;
        }
        m_width = width;
        m_height = height;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

void Framebuffer::ReadTopDown(int x, int top, int columns, int rows, std::vector<uint32_t>& staging,
                              uint32_t* out, int outStride) const
{
    if (columns <= 0 || rows <= 0) return;
    staging.resize(static_cast<size_t>(columns) * static_cast<size_t>(rows));
    // The caller's pixel-store settings stay as they were.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    // OpenGL counts rows from the bottom.
    const int bottom = m_height - (top + rows);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(x, bottom, columns, rows, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, staging.data());
    glPopClientAttrib();
    for (int row = 0; row < rows; ++row) {
        const uint32_t* from = staging.data() + static_cast<size_t>(rows - 1 - row) * static_cast<size_t>(columns);
        uint32_t* to = out + static_cast<ptrdiff_t>(row) * outStride;
        for (int column = 0; column < columns; ++column) to[column] = from[column] | kOpaque;
    }
}

}  // namespace gl
