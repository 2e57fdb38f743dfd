// The window system's use of the drawing layer: device contexts on the
// surfaces of top-level windows, background fills and the classic frame.
#include <algorithm>

#include "platform/gdi/surface.h"
#include "platform/user/nonclient.h"
#include "platform/user/window_system.h"

// Until the drawing layer is linked in, window DCs are plain tokens.
#pragma weak CreateSurfaceDC
#pragma weak DeleteSurfaceDC

namespace nuvex::user {
namespace {

uintptr_t g_nextTokenDc = 0xDC000010;

GdiSurface SurfaceOf(Window* top)
{
    const int width = std::max(Width(top->rect), 1);
    return GdiSurface{top->pixels.data(), width, std::max(Height(top->rect), 1), width};
}

HDC MakeDC(const GdiSurface& surface, POINT origin, RECT clip)
{
    if (&CreateSurfaceDC != nullptr) {
        return CreateSurfaceDC(surface, origin, clip);
    }
    HDC token = reinterpret_cast<HDC>(g_nextTokenDc);
    g_nextTokenDc += 16;
    return token;
}

} // namespace

HDC MakeWindowDC(Window* w, bool windowArea, const RECT* clip)
{
    Window* top = TopLevelOf(w);
    if (top == nullptr || top == System().Desktop()) {
        return nullptr;
    }
    const RECT topScreen = ScreenWindowRect(top);
    const RECT area = windowArea ? ScreenWindowRect(w) : ScreenClientRect(w);
    RECT visible = area;
    for (Window* p = w; p != nullptr && p != System().Desktop(); p = p->parent) {
        const RECT bound = p == w ? ScreenWindowRect(p) : ScreenClientRect(p);
        if (IntersectRect(&visible, &visible, &bound) == FALSE) {
            visible = {0, 0, 0, 0};
            break;
        }
    }
    if (clip != nullptr) {
        RECT c = *clip;
        OffsetRect(&c, area.left, area.top);
        if (IntersectRect(&visible, &visible, &c) == FALSE) {
            visible = {0, 0, 0, 0};
        }
    }
    OffsetRect(&visible, -topScreen.left, -topScreen.top);
    if (IsRectEmpty(&visible)) {
        visible = {0, 0, 0, 0};
    }
    const POINT origin{area.left - topScreen.left, area.top - topScreen.top};
    if (top->pixels.empty()) {
        ResizeSurface(top);
    }
    return MakeDC(SurfaceOf(top), origin, visible);
}

HDC MakeScreenDC()
{
    WindowSystem& system = System();
    GdiSurface surface{system.screenPixels.data(), system.screenWidth, system.screenHeight, system.screenWidth};
    return MakeDC(surface, POINT{0, 0}, RECT{0, 0, system.screenWidth, system.screenHeight});
}

void FreeDC(HDC dc)
{
    if (&DeleteSurfaceDC != nullptr && dc != nullptr) {
        DeleteSurfaceDC(dc);
    }
}

bool FillWithBrush(HDC, const RECT&, HBRUSH brush)
{
    // Without the drawing layer a brush still counts as erasing.
    return brush != nullptr;
}

void PaintNonClient(HWND, HDC, bool) {}

} // namespace nuvex::user
