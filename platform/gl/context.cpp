// Rendering contexts: creation, the current context of each thread,
// deletion, and the swap that presents a context's image in a DC.
#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/gl/dc_link.h"
#include "platform/gl/egl_runtime.h"
#include "platform/gl/framebuffer.h"
#include "platform/gl/opengl.h"
#include "platform/gl/pixel_format.h"
#include "platform/gl/wgl.h"

namespace gl {
namespace {

struct Context {
    EGLContext egl = EGL_NO_CONTEXT;
    int pixelFormat = 0;
    Framebuffer image;
    bool viewportSet = false;       // the first make-current sizes the viewport
    std::thread::id boundThread;    // the thread it is current on, if any
};

// Live contexts by handle, so that a stale or foreign handle is refused.
// Handles are numbers that are never given out twice, so a deleted
// context's handle cannot come back as a new context.
struct ContextTable {
    std::mutex lock;
    std::unordered_map<HGLRC, std::unique_ptr<Context>> live;
    uintptr_t nextHandle = 0x10;
};

ContextTable& Contexts()
{
    static ContextTable* table = new ContextTable;  // lives until exit, never torn down under a caller
    return *table;
}

Context* Find(HGLRC handle)
{
    ContextTable& table = Contexts();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.live.find(handle);
    return it == table.live.end() ? nullptr : it->second.get();
}

// Read-back rows of swaps on this thread. A view makes a new context for
// every paint, so the buffer outlives contexts rather than being
// reallocated at window size each time.
thread_local std::vector<uint32_t> t_staging;

// What is current on this thread.
thread_local HGLRC t_current = nullptr;
thread_local HDC t_currentDc = nullptr;

void ReleaseCurrent()
{
    if (t_current != nullptr) {
        if (Context* context = Find(t_current)) context->boundThread = std::thread::id();
        MakeCurrent(EGL_NO_CONTEXT);
    }
    t_current = nullptr;
    t_currentDc = nullptr;
}

bool Bind(HDC dc, HGLRC handle)
{
    Context* context = Find(handle);
    if (context == nullptr) return false;
    const bool elsewhere =
        context->boundThread != std::thread::id() && context->boundThread != std::this_thread::get_id();
    if (elsewhere) return false;
    DcTarget target;
    if (!TargetOfDC(dc, target) || FormatOfDC(dc) != context->pixelFormat) return false;
    if (t_current != handle) {
        ReleaseCurrent();
        if (!MakeCurrent(context->egl)) return false;
        context->boundThread = std::this_thread::get_id();
        t_current = handle;
    }
    t_currentDc = dc;
    if (!context->image.Bind(target.width, target.height)) return false;
    if (!context->viewportSet) {
        glViewport(0, 0, target.width, target.height);
        glScissor(0, 0, target.width, target.height);
        context->viewportSet = true;
    }
    return true;
}

}  // namespace
}  // namespace gl

using namespace gl;

HGLRC wglCreateContext(HDC dc)
{
    const int format = FormatOfDC(dc);
    if (format == 0) return nullptr;
    DcTarget target;
    if (!TargetOfDC(dc, target)) return nullptr;
    EGLContext egl = CreateContext();
    if (egl == EGL_NO_CONTEXT) return nullptr;
    auto context = std::make_unique<Context>();
    context->egl = egl;
    context->pixelFormat = format;
    ContextTable& table = Contexts();
    std::lock_guard<std::mutex> guard(table.lock);
    HGLRC handle = reinterpret_cast<HGLRC>(table.nextHandle);
    table.nextHandle += 0x10;
    table.live.emplace(handle, std::move(context));
    return handle;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context)
{
    if (context == nullptr) {
        ReleaseCurrent();
        return TRUE;
    }
    if (Bind(dc, context)) return TRUE;
    ReleaseCurrent();
    return FALSE;
}

HGLRC wglGetCurrentContext() { return t_current; }

HDC wglGetCurrentDC() { return t_currentDc; }

BOOL wglDeleteContext(HGLRC handle)
{
    Context* context = Find(handle);
    if (context == nullptr) return FALSE;
    if (handle == t_current) {
        ReleaseCurrent();
    } else if (context->boundThread != std::thread::id()) {
        return FALSE;  // current on another thread
    }
    DestroyContext(context->egl);
    ContextTable& table = Contexts();
    std::lock_guard<std::mutex> guard(table.lock);
    table.live.erase(handle);
    return TRUE;
}

BOOL SwapBuffers(HDC dc)
{
    if (t_current == nullptr || dc == nullptr) return FALSE;
    if (dc != t_currentDc && DcOwner(dc) != DcOwner(t_currentDc)) return FALSE;
    Context* context = Find(t_current);
    DcTarget target;
    if (context == nullptr || !TargetOfDC(dc, target)) return FALSE;
    const Framebuffer& image = context->image;
    // The image's rectangle on the surface, cut to the clip.
    const RECT onSurface{target.origin.x, target.origin.y, target.origin.x + image.Width(),
                         target.origin.y + image.Height()};
    const RECT visible{std::max(onSurface.left, target.clip.left), std::max(onSurface.top, target.clip.top),
                       std::min(onSurface.right, target.clip.right), std::min(onSurface.bottom, target.clip.bottom)};
    if (visible.left >= visible.right || visible.top >= visible.bottom) {
        glFinish();
        return TRUE;
    }
    uint32_t* out = target.surface.pixels + static_cast<ptrdiff_t>(visible.top) * target.surface.stride + visible.left;
    image.ReadTopDown(visible.left - target.origin.x, visible.top - target.origin.y, visible.right - visible.left,
                      visible.bottom - visible.top, t_staging, out, target.surface.stride);
    return TRUE;
}
