// Printed arcs: the numbers an arc block carries, chosen so that a controller
// that checks arcs finds the printed start and end at the same distance from
// the printed centre.
//
// NC numbers are printed with three decimals, so every printed position is a
// point of the grid of 0.001. Rounding the true end and centre of an arc to it
// independently lets the two radii of the printed numbers differ by up to
// about 0.0014. Here the centre is instead the grid point nearest the true
// centre (within 0.001 in each coordinate) among those whose two radii differ
// by at most 0.0005 and whose arc, in the move's sense, sweeps about the same
// angle as the true one. Where no such point exists (an arc of about half a
// turn whose printed chord is an odd number of grid steps along an axis has
// none) the arc is split at its middle and each half is chosen alone; an arc
// too small for that becomes a straight move to its end. The end printed is
// always the true end rounded to the grid, so the moves after it are those of
// the toolpath.
#pragma once

#include <cstdint>
#include <vector>

// A point of the print grid, in thousandths of a drawing unit.
struct NcGridPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const NcGridPoint&) const = default;
};

inline constexpr double kNcGridStep = 0.001;           // the printed precision, drawing units
inline constexpr double kNcArcRadiusTolerance = 0.0005; // largest difference of the two printed radii

// The grid point a printed number stands for.
int64_t NcGridValue(double value);
double NcGridCoordinate(int64_t value);

// One printed piece of an arc: an arc to `end` about `centre`, or, when
// `straight` is set, a straight feed move to `end`.
struct NcPrintedArcPiece {
    NcGridPoint end;
    NcGridPoint centre;
    bool straight = false;
};

// The pieces that print the arc from `start` to `end` about `centre` (true
// coordinates, in the program's system) in the given sense, starting at the
// printed position `printedStart`. Empty when the printed arc would not move
// the tool (an arc shorter than the grid whose printed ends coincide). A full
// turn (start equal to end) gives one piece that ends where it starts.
std::vector<NcPrintedArcPiece> PrintArc(NcGridPoint printedStart, double startX, double startY, double endX,
                                        double endY, double centreX, double centreY, bool clockwise);
