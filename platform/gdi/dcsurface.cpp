// GetSurfaceOfDC: the surface, origin and clip of a device context.
#include "platform/gdi/dcsurface.h"

#include <algorithm>

#include "platform/gdi/dc.h"

using namespace gdi;

BOOL GetSurfaceOfDC(HDC handle, GdiSurface* surface, POINT* origin, RECT* clip)
{
    Dc* dc = AsDc(handle);
    if (!dc || !surface || !origin || !clip) return FALSE;
    if (dc->memory) {
        Bitmap* bitmap = dc->state.bitmap;
        if (!bitmap || bitmap->mono || bitmap->pixels.empty()) return FALSE;
        *surface = bitmap->Surface();
        *origin = {0, 0};
        *clip = {0, 0, bitmap->width, bitmap->height};
        return TRUE;
    }
    if (!dc->surface.pixels) return FALSE;
    RECT cut{std::max<LONG>(dc->surfaceClip.left, 0), std::max<LONG>(dc->surfaceClip.top, 0),
             std::min<LONG>(dc->surfaceClip.right, dc->surface.width),
             std::min<LONG>(dc->surfaceClip.bottom, dc->surface.height)};
    if (cut.left >= cut.right || cut.top >= cut.bottom) cut = {0, 0, 0, 0};
    *surface = dc->surface;
    *origin = dc->origin;
    *clip = cut;
    return TRUE;
}
