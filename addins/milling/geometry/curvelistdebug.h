// Debug helpers: print any contour as a C++ initializer and build a contour
// back from one, so that a failing input becomes a row of a test table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addins/milling/geometry/curvelist.h"

// One segment as a row: a line from (x0, y0) to (x1, y1), or (sense != 0)
// an arc from (x0, y0) to (x1, y1) round (cx, cy), counter-clockwise for
// sense 1 and clockwise for sense -1; its radius is the distance from the
// centre to the start.
struct CSegmentRow {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    double cx = 0.0, cy = 0.0;
    int sense = 0;
};

// "{{x0, y0, x1, y1}, {x0, y0, x1, y1, cx, cy, 1}, ...}" with full precision.
std::string ToInitializer(const CCurveList& list);
std::unique_ptr<CCurveList> FromRows(const std::vector<CSegmentRow>& rows);
