// The pixel formats this layer offers and the format each window (or
// window-less DC) was given.
#pragma once

#include "platform/gl/wgl.h"

namespace gl {

// The format set on the DC's window (or the DC), 0 when none.
int FormatOfDC(HDC dc);

}  // namespace gl
