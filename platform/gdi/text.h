// Text runs shared by the text calls, DrawText and the control glyphs:
// measuring 8-bit strings and painting their glyphs at a reference point.
#pragma once

#include "platform/gdi/fonts.h"
#include "platform/gdi/raster.h"

namespace gdi {

// Where a run starts relative to its reference point, as the TA_* flags say.
struct RunPlacement {
    UINT align = TA_LEFT | TA_TOP;
    const INT* dx = nullptr;  // per-character advances, or null
    int charExtra = 0;
    bool opaqueCell = false;          // fill the text cell with the background colour
    const RECT* clip = nullptr;       // target pixels
    COLORREF color = 0;
    COLORREF background = 0;
};

// The width of a run in pixels (advances plus extra spacing).
int RunWidth(FontFace* face, const char* text, int length, const INT* dx, int charExtra);
// Paints a run with its reference point at target pixel (x, y); returns its width.
int PaintRun(Dc* dc, const Target& target, FontFace* face, int x, int y, const char* text, int length,
             const RunPlacement& placement);

}  // namespace gdi
