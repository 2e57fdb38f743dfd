// Region: a set of pixels kept as horizontal bands, each band a run of rows
// with the same sorted, disjoint x intervals. Bands are sorted by y and do
// not overlap; adjacent bands with equal intervals are merged, so equal
// pixel sets have equal representations.
#pragma once

#include <vector>

#include "platform/base/types.h"

namespace gdi {

struct Span {
    int left;   // first pixel
    int right;  // one past the last pixel
    bool operator==(const Span&) const = default;
};

struct Band {
    int top;
    int bottom;  // exclusive
    std::vector<Span> spans;
};

enum class RegionOp { And, Or, Xor, Diff };

class Region {
public:
    Region() = default;
    static Region FromRect(const RECT& rect);
    // One row-span list per row from `top` on; empty rows are allowed.
    static Region FromRows(int top, const std::vector<std::vector<Span>>& rows);

    bool Empty() const { return m_bands.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    RECT Box() const;
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    void Offset(int dx, int dy);
    // The pixel set as disjoint rectangles, top to bottom, left to right.
    std::vector<RECT> Rects() const;
    const std::vector<Band>& Bands() const { return m_bands; }

    static Region Combine(const Region& a, const Region& b, RegionOp op);
    bool operator==(const Region& other) const;

private:
    void AppendBand(int top, int bottom, std::vector<Span> spans);
    const std::vector<Span>* SpansAt(int y) const;

    std::vector<Band> m_bands;
};

// Joins two sorted disjoint interval lists with `op`.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, RegionOp op);

}  // namespace gdi
