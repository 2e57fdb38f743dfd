// Snap markers and glyphs: the small pictures that show the snap state.
// Scene markers go into the OpenGL picture (a blue star at the base point
// of each shown tracking line, a plus at each recent centre, a magenta
// diamond at the snapped point); cursor glyphs show beside the cursor which
// kinds of snap produced the point.
#pragma once

#include <cstdint>
#include <vector>

class CNuvexDoc;
class CSnapEngine;
struct ViewToolState;

// Picture ids.
constexpr int kGlyphOrigin = 138;
constexpr int kGlyphEndPoint = 139;
constexpr int kGlyphIntersection = 140;
constexpr int kMarkerCentre = 141;
constexpr int kGlyphCentre = 142;
constexpr int kGlyphMidPoint = 143;
constexpr int kMarkerTrackingBase = 144;
constexpr int kMarkerResult = 145;

// A picture: RGBA pixels, rows from the top; pure white pixels have alpha 0
// so they are left out when drawn.
struct SnapPicture {
    int id = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    // The pixel at column x, row y from the top, as 0xRRGGBB.
    uint32_t At(int x, int y) const;
    // The rows from the bottom, as OpenGL takes them.
    std::vector<uint8_t> BottomUp() const;
};

// The picture of an id; an empty picture for an unknown id.
const SnapPicture& SnapBitmap(int id);
// The cursor glyphs of a result kind word, in the order origin, end point,
// mid point, intersection, centre (nearest has none).
std::vector<int> CursorGlyphsOf(uint32_t resultKind);

// Draws the engine's markers for the tool layer's phase (0 or 2; phase 1
// draws nothing), while the current level takes point input and no box is
// being dragged.
void DrawSnapMarkers(CNuvexDoc& document, const ViewToolState& view, int phase, uint32_t modifierKind);
