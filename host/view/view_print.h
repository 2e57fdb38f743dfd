// Printing and print preview of a view: the scene is rendered off screen
// with the view's own paint, at the page's size, and copied into the
// page's device context. The page shows what the view shows, scaled so
// that the view's client area fits the page rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "host/view/gl_window_paint.h"

// The view state for a page rectangle of the given size: the same centre
// and orientation, the scale grown by the page's size over the client size
// (the smaller ratio, so that everything the view shows is on the page).
PaintViewState PageViewState(const PaintViewState& view, int32_t pageWidth, int32_t pageHeight);

// Renders the scene into a pixel buffer of the view's client size
// (0xAARRGGBB, rows top-down); empty when no OpenGL context can be made.
std::vector<uint32_t> RenderSceneOffscreen(PaintViewState& view, IPaintScene& scene);

// Renders the scene for the page rectangle and copies it into dc there.
// FALSE (the page left as it was) when nothing could be rendered.
BOOL PrintScene(HDC dc, const RECT& page, const PaintViewState& view, IPaintScene& scene);
