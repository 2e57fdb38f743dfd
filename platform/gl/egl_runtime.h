// The process's connection to EGL: one display on the surfaceless platform,
// opened on first use, and desktop OpenGL compatibility contexts on it.
// Nothing here needs a window system; every image goes to an off-screen
// framebuffer (framebuffer.h).
#pragma once

#include <EGL/egl.h>

namespace gl {

// The surfaceless display, initialised on the first call; EGL_NO_DISPLAY
// when EGL, the surfaceless platform or desktop OpenGL is not available
// here (the answer is kept: later calls do not retry).
EGLDisplay Display();

// A new compatibility-profile context on Display(), sharing nothing;
// EGL_NO_CONTEXT on failure.
EGLContext CreateContext();
void DestroyContext(EGLContext context);

// Binds `context` to this thread without a surface (EGL_NO_CONTEXT
// releases); false when EGL refuses.
bool MakeCurrent(EGLContext context);

// An OpenGL or EGL entry point by name; null when missing.
void* ProcAddress(const char* name);

}  // namespace gl
