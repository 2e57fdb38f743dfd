// Asking a device context where its pixels are: the surface it draws into,
// the surface position of its device (0, 0) and the part of the surface it
// may write. Other platform families that produce pixels outside GDI (the
// OpenGL swap) use it to put their image into a window's rectangle.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/surface.h"

// The pixels behind a DC:
// - a surface DC: its surface, its origin, and its clip cut to the surface
//   (empty when nothing of it is visible);
// - a memory DC: the selected colour bitmap's own pixels, origin (0, 0), the
//   whole bitmap as clip.
// FALSE (outputs untouched) for a stale handle, a memory DC holding a
// monochrome bitmap or no pixels, and null outputs. Selected clip regions
// and update regions are not part of the answer.
NUVEX_PLATFORM_API BOOL GetSurfaceOfDC(HDC dc, GdiSurface* surface, POINT* origin, RECT* clip);
