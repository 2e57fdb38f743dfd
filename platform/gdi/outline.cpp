// Glyph outlines in the platform's native record form: per contour a
// TTPOLYGONHEADER, then TT_PRIM_LINE and TT_PRIM_QSPLINE records, with
// coordinates in 16.16 fixed point (pixels, y up) after the caller's matrix.
// A quadratic spline record lists off-curve points and ends on an on-curve
// point; between two off-curve points the on-curve point is their midpoint.
// A contour whose last point differs from its start closes with a straight
// line back to the start.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/fonts.h"

using namespace gdi;

namespace {

constexpr int64_t kFixedMax = 0x7FFFFFFF;  // largest 16.16 value

int32_t FixedToInt32(const FIXED& f) { return static_cast<int32_t>(static_cast<uint32_t>(f.value) << 16 | f.fract); }

struct Point {
    FT_Pos x;  // 26.6
    FT_Pos y;
    bool operator==(const Point&) const = default;
};

// Bytes of the native outline, written field by field.
class RecordWriter {
public:
    void Put16(uint16_t v) { Append(&v, 2); }
    void Put32(uint32_t v) { Append(&v, 4); }
    // A 26.6 coordinate as a FIXED (16.16).
    void Fixed(FT_Pos v)
    {
        const auto fixed = static_cast<int32_t>(static_cast<int64_t>(v) * 1024);
        Put16(static_cast<uint16_t>(static_cast<uint32_t>(fixed) & 0xFFFF));
        Put16(static_cast<uint16_t>(static_cast<uint32_t>(fixed) >> 16));
    }
    void PointFx(const Point& p)
    {
        Fixed(p.x);
        Fixed(p.y);
    }
    void Patch32(size_t at, uint32_t v) { std::memcpy(m_bytes.data() + at, &v, 4); }
    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    void Append(const void* data, size_t n)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + n);
    }
    std::vector<uint8_t> m_bytes;
};

struct Record {
    WORD type;
    std::vector<Point> points;
};

// One contour as its start point and records; false for a contour of fewer than two points.
bool ContourRecords(const FT_Outline& outline, int first, int last, Point& start, std::vector<Record>& records)
{
    const int n = last - first + 1;
    if (n < 2) return false;
    auto at = [&](int i) { return Point{outline.points[first + i].x, outline.points[first + i].y}; };
    auto on = [&](int i) { return FT_CURVE_TAG(outline.tags[first + i]) == FT_CURVE_TAG_ON; };
    // The walk: the points after the start in order, then the start again.
    std::vector<std::pair<Point, bool>> walk;
    if (on(0)) {
        start = at(0);
        for (int i = 1; i < n; ++i) walk.push_back({at(i), on(i)});
    } else if (on(n - 1)) {
        start = at(n - 1);
        for (int i = 0; i < n - 1; ++i) walk.push_back({at(i), on(i)});
    } else {
        start = {(at(0).x + at(n - 1).x) / 2, (at(0).y + at(n - 1).y) / 2};
        for (int i = 0; i < n; ++i) walk.push_back({at(i), on(i)});
    }
    walk.push_back({start, true});
    enum class Open { None, Line, Spline };
    Open open = Open::None;
    for (const auto& [p, isOn] : walk) {
        if (isOn) {
            if (open == Open::Spline) {
                records.back().points.push_back(p);  // the spline ends on this point
                open = Open::None;
            } else if (open == Open::Line) {
                records.back().points.push_back(p);
            } else {
                records.push_back({TT_PRIM_LINE, {p}});
                open = Open::Line;
            }
        } else if (open == Open::Spline) {
            records.back().points.push_back(p);
        } else {
            records.push_back({TT_PRIM_QSPLINE, {p}});
            open = Open::Spline;
        }
    }
    // The closing straight line back to the start is implicit.
    if (!records.empty() && records.back().type == TT_PRIM_LINE && records.back().points.back() == start) {
        records.back().points.pop_back();
        if (records.back().points.empty()) records.pop_back();
    }
    return true;
}

bool InFixedRange(const FT_Outline& outline)
{
    for (int i = 0; i < outline.n_points; ++i) {
        const int64_t x = static_cast<int64_t>(outline.points[i].x) * 1024;
        const int64_t y = static_cast<int64_t>(outline.points[i].y) * 1024;
        if (x > kFixedMax || x < -kFixedMax || y > kFixedMax || y < -kFixedMax) return false;
    }
    return true;
}

}  // namespace

DWORD GetGlyphOutlineA(HDC handle, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD size, LPVOID buffer,
                       const MAT2* matrix)
{
    Dc* dc = AsDc(handle);
    if (!dc || !matrix) return GDI_ERROR;
    const UINT kind = format & ~(GGO_GLYPH_INDEX | GGO_UNHINTED);
    if (kind != GGO_METRICS && kind != GGO_NATIVE) return GDI_ERROR;
    FontFace* face = CurrentFace(dc);
    if (!face || !face->Face()) return GDI_ERROR;
    FT_Face f = face->Face();

    FT_UInt index = 0;
    if (format & GGO_GLYPH_INDEX) {
        index = character;
    } else {
        // 8-bit text: a sign-extended byte reads as the byte itself.
        if (character >= 0xFFFFFF80u) character &= 0xFF;
        if (character > 0xFF) return GDI_ERROR;
        index = FT_Get_Char_Index(f, FontFace::CodePoint(static_cast<uint8_t>(character)));
    }
    face->ApplySize();
    if (FT_Load_Glyph(f, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return GDI_ERROR;
    FT_GlyphSlot slot = f->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return GDI_ERROR;
    if (face->SynthItalic()) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (face->SynthBold()) FT_Outline_EmboldenXY(&slot->outline, f->size->metrics.x_ppem * 2, 0);

    // x' = eM11 x + eM21 y, y' = eM12 x + eM22 y.
    FT_Matrix m;
    m.xx = FixedToInt32(matrix->eM11);
    m.xy = FixedToInt32(matrix->eM21);
    m.yx = FixedToInt32(matrix->eM12);
    m.yy = FixedToInt32(matrix->eM22);
    FT_Outline_Transform(&slot->outline, &m);

    if (metrics) {
        // linearHoriAdvance is 16.16 pixels, unrounded.
        const double advance = slot->linearHoriAdvance / 65536.0;
        const double incX = advance * (m.xx / 65536.0);
        const double incY = advance * (m.yx / 65536.0);
        GLYPHMETRICS gm{};
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if (slot->outline.n_points == 0) {
            gm.gmBlackBoxX = 1;
            gm.gmBlackBoxY = 1;
            gm.gmptGlyphOrigin = {0, 0};
        } else {
            const FT_Pos left = box.xMin & ~63;
            const FT_Pos bottom = box.yMin & ~63;
            const FT_Pos right = (box.xMax + 63) & ~63;
            const FT_Pos top = (box.yMax + 63) & ~63;
            gm.gmBlackBoxX = static_cast<UINT>(std::max<FT_Pos>(1, (right - left) >> 6));
            gm.gmBlackBoxY = static_cast<UINT>(std::max<FT_Pos>(1, (top - bottom) >> 6));
            gm.gmptGlyphOrigin = {static_cast<LONG>(left >> 6), static_cast<LONG>(top >> 6)};
        }
        gm.gmCellIncX = static_cast<SHORT>(std::clamp(std::lround(incX), -32768L, 32767L));
        gm.gmCellIncY = static_cast<SHORT>(std::clamp(std::lround(incY), -32768L, 32767L));
        *metrics = gm;
    }
    if (kind == GGO_METRICS) return 1;

    const FT_Outline& outline = slot->outline;
    if (!InFixedRange(outline)) return GDI_ERROR;
    RecordWriter w;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        const int last = outline.contours[c];
        Point start{};
        std::vector<Record> records;
        if (ContourRecords(outline, first, last, start, records)) {
            const size_t headerAt = w.Size();
            w.Put32(0);  // cb, patched below
            w.Put32(TT_POLYGON_TYPE);
            w.PointFx(start);
            for (const Record& r : records) {
                w.Put16(r.type);
                w.Put16(static_cast<uint16_t>(r.points.size()));
                for (const Point& p : r.points) w.PointFx(p);
            }
            w.Patch32(headerAt, static_cast<uint32_t>(w.Size() - headerAt));
        }
        first = last + 1;
    }
    const auto needed = static_cast<DWORD>(w.Size());
    if (!buffer || size == 0) return needed;
    if (size < needed) return GDI_ERROR;
    std::memcpy(buffer, w.Bytes().data(), needed);
    return needed;
}
