// Zoom, pan and orbit arithmetic of a view: the wheel zoom about the
// cursor, the middle-button pan and orbit steps, zoom all over the
// drawing's extents with its animation, and the zoom window. Every function
// takes the view's scale and pan (view pixels per model unit; the pan is
// added to the rotated model x and y before scaling) and returns new ones;
// the view stores them and redraws. Points are view pixels from the centre
// of the client area, x to the right and y upward, unless named client
// points (window pixels, y downward).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "objectmodel/matrix4.h"
#include "platform/base/types.h"

class CNuvexDoc;

struct ViewScalePan {
    double scale = 1.0;
    double panX = 0.0;
    double panY = 0.0;
};

// The wheel keeps the scale within these limits, both ends allowed; the
// other paths do not clamp.
inline constexpr double kMinWheelScale = 2e-5;
inline constexpr double kMaxWheelScale = 50000.0;
// One wheel notch (a delta of 120) zooms by this factor.
inline constexpr double kWheelNotchFactor = 1.2;
inline constexpr double kWheelNotchDelta = 120.0;
// Radians of orbit per client width of drag, divided by sqrt(scale).
inline constexpr double kOrbitRadiansPerWidth = 16.0;

// Zooms by 1.2 per notch about the cursor, so that the model point under
// cursorView stays in place. A zoom past a limit stops exactly at it.
ViewScalePan WheelZoom(const ViewScalePan& view, int16_t delta, POINT cursorView);

// One middle-button drag step without Ctrl: the model follows the mouse
// from client point last to client point now.
ViewScalePan PanStep(const ViewScalePan& view, POINT lastClient, POINT nowClient);

// One middle-button drag step with Ctrl: the orientation turned about its
// first axis by the vertical and about its second axis by the horizontal
// movement. A client width below 1 turns nothing.
CMatrix4 OrbitStep(const CMatrix4& orientation, double scale, int32_t clientWidth, POINT lastClient,
                   POINT nowClient);

// An axis-aligned box in model x and y.
struct ModelExtents {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

// The x-y extents of the document's saved objects: for each object, the
// extents its line interface and then its plane interface report. Answers
// that fail or are not finite are skipped; nullopt when none is left.
std::optional<ModelExtents> CollectExtents(CNuvexDoc& document);

// The scale and pan that show the extents in the client area with a small
// margin, centred. Nullopt (leave the view as it is) when the client area is
// empty or the extents have no finite size above the model tolerance in
// either direction; a box that is flat in one direction fits by the other.
std::optional<ViewScalePan> FitExtents(const ModelExtents& extents, int32_t clientWidth, int32_t clientHeight);

// The frames of the zoom-all animation from start to target: sixteen pan
// steps at the start scale, then six scale steps at the target pan; the
// last frame is the target exactly.
std::vector<ViewScalePan> ZoomAllFrames(const ViewScalePan& start, const ViewScalePan& target);

// The scale and pan that fill the client area with the box between two
// model points (x and y only), without margin. Nullopt (leave the view as
// it is) when the corners coincide in x or in y, or the client area is empty.
std::optional<ViewScalePan> ZoomWindowFit(double ax, double ay, double bx, double by, int32_t clientWidth,
                                          int32_t clientHeight);
