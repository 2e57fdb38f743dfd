// The OpenGL context layer of the platform: pixel formats of device
// contexts, rendering contexts, making one current, and presenting the
// rendered image into a window's rectangle. OpenGL itself (<GL/gl.h>) and
// GLU (<GL/glu.h>) are the system's; only the glue between them and our
// device contexts lives here.
//
// How it works: every rendering context renders into an off-screen
// framebuffer of its own, sized to the device context's window at
// make-current. SwapBuffers reads that image back and writes it, bottom row
// last, into the DC's rectangle of its surface, inside the DC's clip.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
using PPIXELFORMATDESCRIPTOR = PIXELFORMATDESCRIPTOR*;
using LPPIXELFORMATDESCRIPTOR = PIXELFORMATDESCRIPTOR*;
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor is a 40-byte record");

// dwFlags.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_NEED_PALETTE = 0x00000080;
constexpr DWORD PFD_NEED_SYSTEM_PALETTE = 0x00000100;
constexpr DWORD PFD_SWAP_EXCHANGE = 0x00000200;
constexpr DWORD PFD_SWAP_COPY = 0x00000400;
constexpr DWORD PFD_SWAP_LAYER_BUFFERS = 0x00000800;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr DWORD PFD_DEPTH_DONTCARE = 0x20000000;
constexpr DWORD PFD_DOUBLEBUFFER_DONTCARE = 0x40000000;
constexpr DWORD PFD_STEREO_DONTCARE = 0x80000000;

// iPixelType and iLayerType.
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_TYPE_COLORINDEX = 1;
constexpr BYTE PFD_MAIN_PLANE = 0;
constexpr BYTE PFD_OVERLAY_PLANE = 1;
constexpr BYTE PFD_UNDERLAY_PLANE = static_cast<BYTE>(-1);

// Pixel formats. Indices start at 1. Window formats apply to surface DCs,
// bitmap formats to memory DCs with a colour bitmap selected.

// The best offered format for `descriptor` (flags that are asked for must be
// present; then double buffering as asked, enough colour, depth and stencil
// bits, fewest extra bits); 0 when none fits or `dc` is not a DC.
NUVEX_PLATFORM_API int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
// Gives the DC's window (or the DC itself when it has none) pixel format
// `format`. A later call replaces it. FALSE for an unknown format, a format
// that does not draw to this kind of DC, or a stale DC. `descriptor` is not read.
NUVEX_PLATFORM_API BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
// The DC's pixel format, 0 when none was set.
NUVEX_PLATFORM_API int GetPixelFormat(HDC dc);
// Fills `descriptor` (when not null and `size` holds it) with format
// `format`; returns the number of formats, 0 for an unknown format or DC.
NUVEX_PLATFORM_API int DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor);

// Rendering contexts.

// A new rendering context for DCs of the pixel format of `dc` (which must
// have one). Null, never a crash, when the DC is not usable or OpenGL cannot
// be started here (no driver, no display library).
NUVEX_PLATFORM_API HGLRC wglCreateContext(HDC dc);
// Makes `context` current on this thread, drawing for `dc`, and sizes its
// image to the DC's window (client area; for a DC without a window, its clip
// seen from its origin). The first make-current sets the viewport to that
// size. A null context releases the current one (`dc` is ignored). On
// failure no context is current afterwards.
NUVEX_PLATFORM_API BOOL wglMakeCurrent(HDC dc, HGLRC context);
NUVEX_PLATFORM_API HGLRC wglGetCurrentContext();
NUVEX_PLATFORM_API HDC wglGetCurrentDC();
// Deletes a context; when it is current on this thread, none is current
// afterwards. FALSE for an unknown context.
NUVEX_PLATFORM_API BOOL wglDeleteContext(HGLRC context);

// Finishes the current context's drawing and copies its image into the DC's
// rectangle (within the DC's clip; nothing else is written). FALSE when no
// context is current for this DC's window (or this DC) or the DC is stale.
NUVEX_PLATFORM_API BOOL SwapBuffers(HDC dc);
