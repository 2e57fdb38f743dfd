// The selection handler's part of the tool layer: with no command running,
// the selected records are drawn highlighted over the drawing in phase 1,
// and a grip marker stands at every grip point of the selected objects.
#pragma once

#include <array>
#include <cstdint>

struct ViewToolState;
class CNuvexDoc;

// Record flag of the temporary records that draw the selection.
inline constexpr uint32_t kSelectionDrawFlag = 0x100000;
// Marker pictures: dragging, hovering and resting grips.
inline constexpr uint16_t kGripDraggedBitmap = 131;
inline constexpr uint16_t kGripHoveredBitmap = 132;
inline constexpr uint16_t kGripBitmap = 133;
// Offsets of a marker from its grip point, in pixels.
inline constexpr double kGripMarkerOffsetX = -3.0;
inline constexpr double kGripMarkerOffsetY = -2.0;
// The built-in grip marker when the program has no picture of that id:
// a square of this side in pixels.
inline constexpr int kGripMarkerSide = 7;

// Draws the selection of the document's selection handler for one phase.
void DrawSelection(CNuvexDoc& document, const ViewToolState& view, int phase);

// The picture of a grip marker, RGBA rows bottom first, kGripMarkerSide
// square: from the program's bitmap resource when it has one, else drawn.
const std::array<unsigned char, kGripMarkerSide * kGripMarkerSide * 4>& GripMarkerPicture(uint16_t bitmapId);
