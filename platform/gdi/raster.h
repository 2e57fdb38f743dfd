// The rasterizer: paints (solid colours and brush tiles under a binary
// raster operation), clipped span filling, aliased lines with pen styles,
// wide strokes, and span sets for filled shapes. Everything works in target
// pixels; callers map logical coordinates first.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/gdi/dc.h"

namespace gdi {

// A paint: a solid colour or a tile repeated from an origin, applied with a
// binary raster operation. A tile mask (hatches on a transparent background)
// marks the tile pixels that are painted.
struct Paint {
    bool none = true;
    uint32_t color = kOpaque;
    std::vector<uint32_t> tile;
    std::vector<uint8_t> tileMask;
    int tileWidth = 0;
    int tileHeight = 0;
    int originX = 0;
    int originY = 0;
    int rop2 = R2_COPYPEN;

    uint32_t At(int x, int y, bool* paint) const;
};

uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest);
// Applies a ternary raster operation code (bits 16-23 of a ROP3) to pattern, source, destination.
uint32_t ApplyRop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest);

Paint SolidPaint(const Target& target, COLORREF color, int rop2);
// The DC's current brush (or `brush` when given) as a paint for this target.
Paint BrushPaint(Dc* dc, const Target& target, Brush* brush, int rop2);

// Fills [x0, x1) of row y, clipped.
void FillSpan(const Target& target, int y, int x0, int x1, const Paint& paint);
void FillRectangle(const Target& target, const RECT& rect, const Paint& paint);
void PlotPixel(const Target& target, int x, int y, const Paint& paint);

// Rows of spans gathered from several shapes, so that overlapping parts are
// painted once (matters for XOR raster operations).
class SpanSet {
public:
    void Add(int y, int x0, int x1);
    void AddRegion(const Region& region);
    void Fill(const Target& target, const Paint& paint) const;
    bool Contains(int x, int y) const;
    Region ToRegion() const;
    bool Empty() const { return m_rows.empty(); }

private:
    // Row y is m_rows[y - m_top]; rows grow at either end as spans arrive.
    int m_top = 0;
    std::deque<std::vector<Span>> m_rows;
};

// A pen prepared for drawing in target pixels.
struct Stroke {
    bool none = true;
    int width = 1;  // device pixels
    int style = PS_SOLID;
    bool flatCaps = false;
    Paint paint;       // the pen colour
    Paint gap;         // background for gaps of styled pens (none when transparent)
    int stylePos = 0;  // position in the dash pattern, continued along polylines
};
Stroke PenStroke(Dc* dc, const Target& target);

// Draws the line from a to b excluding b (one-pixel pens) with the stroke's style.
void DrawThinLine(const Target& target, POINT a, POINT b, Stroke& stroke);
// Receives the spans of a shape row by row (spans may overlap).
using SpanSink = std::function<void(int y, int x0, int x1)>;
// The spans of a wide segment (round caps unless flat).
void AddWideSegment(const SpanSink& sink, POINT a, POINT b, int width, bool flatCaps);
// True when painting a pixel twice with the operation equals painting it once.
bool IsIdempotent(int rop2);
// Draws a polyline (closed: back to the first point) with the stroke.
enum class Outline : uint8_t { Open, Closed };
void DrawPolyline(const Target& target, const std::vector<POINT>& points, Outline outline, Stroke& stroke);

// The rows a shape is gathered for: rows outside are skipped without work,
// so that far-off coordinates cost nothing.
struct RowRange {
    int top;
    int bottom;  // exclusive
};
// Rows that regions are made of; shapes beyond them are cut.
constexpr RowRange kRegionRows{-(1 << 16), 1 << 16};
// The target's clip rows with a margin for outlines.
RowRange ClipRows(const Target& target);

// Fills a polygon by pixel centres (ALTERNATE or WINDING) into spans.
void AddPolygon(SpanSet& spans, const std::vector<std::vector<POINT>>& polygons, int fillMode, RowRange rows);
// The pixels of a rounded rectangle inscribed in `box` (right/bottom
// exclusive); corner ellipse cornerW x cornerH; an ellipse when the corners
// are the box's size.
void AddRoundedBox(SpanSet& spans, const RECT& box, int cornerW, int cornerH, RowRange rows);
// Pixels of `shape` with a 4-neighbour outside it: a one-pixel outline.
SpanSet OutlineOf(const SpanSet& shape);
SpanSet Subtract(const SpanSet& a, const SpanSet& b);

}  // namespace gdi
