// Device context internals shared by the drawing files: the pixel target a
// DC draws into, its clip in target pixels, and the logical-to-device mapping.
#pragma once

#include <vector>

#include "platform/gdi/objects.h"

namespace gdi {

// Where a DC's pixels are, and which of them may be written. Coordinates
// are target pixels (surface or bitmap), clip rectangles are disjoint.
struct Target {
    uint32_t* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    bool mono = false;
    const std::vector<RECT>* clip = nullptr;
    RECT clipBox{0, 0, 0, 0};

    uint32_t* Row(int y) const { return pixels + static_cast<ptrdiff_t>(y) * stride; }
    bool Visible(int x, int y) const;
};

// The DC's target; false when it has nothing to draw on.
bool GetTarget(Dc* dc, Target& target);
// Marks the cached clip stale (after clip, bitmap or origin changes).
inline void ClipChanged(Dc* dc) { dc->clipDirty = true; }
// The area the DC may draw in, without its own clip region (device units
// relative to its origin).
RECT DeviceBounds(Dc* dc);

// Logical to target pixels (origin included) and back.
POINT ToTarget(const Dc* dc, int x, int y);
POINT ToLogicalFromTarget(const Dc* dc, int x, int y);
// Logical to device units relative to the DC origin (no surface origin).
POINT ToDevice(const Dc* dc, int x, int y);
POINT ToLogical(const Dc* dc, int x, int y);
// A logical rectangle as a normalised target rectangle.
RECT RectToTarget(const Dc* dc, const RECT& rect);
// A logical length along x as device pixels (pen widths, radii).
int LengthToDevice(const Dc* dc, int length);
bool IsIdentityScale(const Dc* dc);

}  // namespace gdi
