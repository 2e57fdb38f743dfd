// Device contexts seen from the OpenGL layer.
#include "platform/gl/dc_link.h"

#include <algorithm>

#include "platform/gdi/dcsurface.h"
#include "platform/gdi/gdi.h"

// The window system sits beside this layer, not below it: when it is part
// of the library, a window DC tells its window and client size through these;
// without it every DC stands for itself and its image is its clip.
NUVEX_PLATFORM_API HWND WindowFromDC(HDC dc);
NUVEX_PLATFORM_API BOOL GetClientRect(HWND hwnd, RECT* rect);
#pragma weak WindowFromDC
#pragma weak GetClientRect

namespace gl {
namespace {

// Larger images than this are not asked of the renderer.
constexpr int kMaxImageSide = 16384;

HWND WindowOf(HDC dc)
{
    if (&WindowFromDC == nullptr) return nullptr;
    return WindowFromDC(dc);
}

}  // namespace

const void* DcOwner(HDC dc)
{
    HWND window = WindowOf(dc);
    return window != nullptr ? static_cast<const void*>(window) : static_cast<const void*>(dc);
}

bool IsDC(HDC dc, bool& memory)
{
    const DWORD type = dc != nullptr ? GetObjectType(dc) : 0;
    if (type != OBJ_DC && type != OBJ_MEMDC) return false;
    memory = type == OBJ_MEMDC;
    return true;
}

bool TargetOfDC(HDC dc, DcTarget& target)
{
    DcTarget t;
    if (GetSurfaceOfDC(dc, &t.surface, &t.origin, &t.clip) != TRUE) return false;
    RECT client{0, 0, 0, 0};
    HWND window = WindowOf(dc);
    if (window != nullptr && &GetClientRect != nullptr && GetClientRect(window, &client) == TRUE) {
        t.width = client.right - client.left;
        t.height = client.bottom - client.top;
    } else {
        t.width = t.clip.right - t.origin.x;
        t.height = t.clip.bottom - t.origin.y;
    }
    t.width = std::clamp(t.width, 1, kMaxImageSide);
    t.height = std::clamp(t.height, 1, kMaxImageSide);
    target = t;
    return true;
}

}  // namespace gl
