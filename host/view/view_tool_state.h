// ViewToolState: what the document's view tools (picker, snap engine,
// markers, tool layer) read of the view they work for. The view fills it
// from its own fields before it calls a tool.
#pragma once

#include "platform/base/types.h"

class CViewTransform;
class GlApi;
struct IGraphicsContext;

struct ViewToolState {
    const CViewTransform* transform = nullptr;
    // First corner of a selection or zoom box, in view coordinates.
    POINT clickPoint{0, 0};
    // A selection or zoom box has its first corner.
    BOOL boxStarted = FALSE;
    // The zoom-window command draws the box.
    BOOL zoomWindow = FALSE;
    // The view's graphics context, for objects the tools draw.
    IGraphicsContext* graphics = nullptr;
    // Where the tools' own OpenGL calls go.
    GlApi* gl = nullptr;
};
