// Opening the surfaceless EGL display and creating compatibility contexts.
#include "platform/gl/egl_runtime.h"

#include <EGL/eglext.h>

#include <cstring>
#include <mutex>

namespace gl {
namespace {

struct Runtime {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;  // null: contexts are made without a config
};

bool HasExtension(const char* list, const char* name)
{
    if (list == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + length, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

Runtime Open()
{
    Runtime runtime;
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) return runtime;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return runtime;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return runtime;
    EGLint major = 0;
    EGLint minor = 0;
    if (eglInitialize(display, &major, &minor) != EGL_TRUE) return runtime;
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    // Contexts are bound without any surface, so that is a must.
    if (!HasExtension(extensions, "EGL_KHR_surfaceless_context") || eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        eglTerminate(display);
        return runtime;
    }
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display, wanted, &config, 1, &count) != EGL_TRUE || count < 1) {
        if (!HasExtension(extensions, "EGL_KHR_no_config_context") &&
            !HasExtension(extensions, "EGL_MESA_configless_context")) {
            eglTerminate(display);
            return runtime;
        }
        config = nullptr;
    }
    runtime.display = display;
    runtime.config = config;
    return runtime;
}

// The display is one per process, as the platform's context functions are
// process-wide; it is opened lazily so that programs without OpenGL never
// load a driver.
Runtime& TheRuntime()
{
    static std::once_flag once;
    static Runtime runtime;
    std::call_once(once, [] { runtime = Open(); });
    return runtime;
}

}  // namespace

EGLDisplay Display() { return TheRuntime().display; }

EGLContext CreateContext()
{
    const Runtime& runtime = TheRuntime();
    if (runtime.display == EGL_NO_DISPLAY) return EGL_NO_CONTEXT;
    // The API choice is per thread; a context made on another thread than
    // the one that opened the display must ask for desktop OpenGL again.
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return EGL_NO_CONTEXT;
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    return eglCreateContext(runtime.display, runtime.config, EGL_NO_CONTEXT, attributes);
}

void DestroyContext(EGLContext context)
{
    const EGLDisplay display = Display();
    if (display != EGL_NO_DISPLAY && context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
}

bool MakeCurrent(EGLContext context)
{
    const EGLDisplay display = Display();
    if (display == EGL_NO_DISPLAY) return context == EGL_NO_CONTEXT;
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

void* ProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace gl
