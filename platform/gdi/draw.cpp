// Drawing calls: lines, polylines, polygons, rectangles, ellipses, rounded
// rectangles, rectangle fills and frames, pixels, and region painting.
#include <algorithm>
#include <cstring>

#include "platform/gdi/raster.h"

using namespace gdi;

namespace {

// System colour brushes may be passed as (COLOR_* + 1) cast to a brush.
constexpr uintptr_t kMaxSysColorBrush = kSysColorCount + 1;

struct BrushRef {
    Brush* brush = nullptr;
    Brush temporary;
};

// Resolves a brush argument: a brush handle or a system colour index + 1.
bool ResolveBrush(HBRUSH handle, BrushRef& ref)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if (value > 0 && value <= kMaxSysColorBrush) {
        ref.temporary.style = BS_SOLID;
        ref.temporary.color = GdiSysColor(static_cast<int>(value) - 1);
        ref.brush = &ref.temporary;
        return true;
    }
    ref.brush = AsBrush(handle);
    return ref.brush != nullptr;
}

std::vector<POINT> ToTargetPoints(Dc* dc, const POINT* points, int count)
{
    std::vector<POINT> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = ToTarget(dc, points[i].x, points[i].y);
    return out;
}

RECT Inflated(const RECT& r, int left, int top, int right, int bottom)
{
    return {r.left - left, r.top - top, r.right + right, r.bottom + bottom};
}

enum class BoxShape { Rectangle, Rounded };

// Fills and outlines a box shape the way the rectangle, ellipse and rounded
// rectangle calls do: a one-pixel pen draws the outermost pixels of the box,
// a wider pen straddles that outline, a null pen leaves the box one pixel
// smaller at the right and bottom.
BOOL DrawBox(HDC handle, int left, int top, int right, int bottom, BoxShape shape, int cornerW, int cornerH)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    RECT box = RectToTarget(dc, {left, top, right, bottom});
    const int cw = shape == BoxShape::Rectangle ? 0 : LengthToDevice(dc, cornerW);
    const int ch = shape == BoxShape::Rectangle ? 0 : std::abs(LengthToDevice(dc, cornerH));
    Stroke stroke = PenStroke(dc, t);
    Paint brush = BrushPaint(dc, t, nullptr, dc->state.rop2);
    auto makeShape = [&](const RECT& r) {
        SpanSet s;
        if (shape == BoxShape::Rectangle) {
            const RowRange rows = ClipRows(t);
            for (int y = std::max<int>(r.top, rows.top); y < std::min<int>(r.bottom, rows.bottom); ++y) s.Add(y, r.left, r.right);
        } else {
            AddRoundedBox(s, r, cw, ch, ClipRows(t));
        }
        return s;
    };
    if (stroke.none) {
        makeShape(Inflated(box, 0, 0, -1, -1)).Fill(t, brush);
        return TRUE;
    }
    if (box.right - box.left < 1 || box.bottom - box.top < 1) return TRUE;
    if (stroke.width <= 1) {
        if (shape == BoxShape::Rectangle) {
            // Interior, then the four sides without overlaps (so XOR pens draw each pixel once).
            FillRectangle(t, Inflated(box, -1, -1, -1, -1), brush);
            if (stroke.style == PS_SOLID) {
                FillSpan(t, box.top, box.left, box.right, stroke.paint);
                if (box.bottom - 1 > box.top) FillSpan(t, box.bottom - 1, box.left, box.right, stroke.paint);
                const int sideTop = std::max<int>(box.top + 1, t.clipBox.top);
                const int sideBottom = std::min<int>(box.bottom - 1, t.clipBox.bottom);
                for (int y = sideTop; y < sideBottom; ++y) {
                    FillSpan(t, y, box.left, box.left + 1, stroke.paint);
                    if (box.right - 1 > box.left) FillSpan(t, y, box.right - 1, box.right, stroke.paint);
                }
            } else {
                const std::vector<POINT> corners{{box.left, box.top},
                                                 {box.right - 1, box.top},
                                                 {box.right - 1, box.bottom - 1},
                                                 {box.left, box.bottom - 1}};
                DrawPolyline(t, corners, Outline::Closed, stroke);
            }
            return TRUE;
        }
        const SpanSet full = makeShape(box);
        const SpanSet outline = OutlineOf(full);
        Subtract(full, outline).Fill(t, brush);
        outline.Fill(t, stroke.paint);
        return TRUE;
    }
    const int w = stroke.width;
    Pen* pen = dc->state.pen;
    const bool insideFrame = pen && pen->style == PS_INSIDEFRAME;
    const int out = insideFrame ? 0 : (w - 1) / 2;
    const RECT outer = Inflated(box, out, out, out, out);
    const RECT inner = Inflated(outer, -w, -w, -w, -w);
    const SpanSet outerShape = makeShape(outer);
    SpanSet innerShape;
    if (inner.right > inner.left && inner.bottom > inner.top) {
        if (shape == BoxShape::Rectangle) {
            const RowRange rows = ClipRows(t);
            for (int y = std::max<int>(inner.top, rows.top); y < std::min<int>(inner.bottom, rows.bottom); ++y) {
                innerShape.Add(y, inner.left, inner.right);
            }
        } else {
            AddRoundedBox(innerShape, inner, std::max(0, cw - 2 * w), std::max(0, ch - 2 * w), ClipRows(t));
        }
    }
    innerShape.Fill(t, brush);
    Subtract(outerShape, innerShape).Fill(t, stroke.paint);
    return TRUE;
}

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, POINT* old)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    if (old) *old = dc->state.position;
    dc->state.position = {x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, POINT* position)
{
    Dc* dc = AsDc(handle);
    if (!dc || !position) return FALSE;
    *position = dc->state.position;
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    const POINT from = dc->state.position;
    dc->state.position = {x, y};
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    Stroke stroke = PenStroke(dc, t);
    const std::vector<POINT> points{ToTarget(dc, from.x, from.y), ToTarget(dc, x, y)};
    DrawPolyline(t, points, Outline::Open, stroke);
    return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count)
{
    Dc* dc = AsDc(handle);
    if (!dc || !points || count < 2) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    Stroke stroke = PenStroke(dc, t);
    DrawPolyline(t, ToTargetPoints(dc, points, count), Outline::Open, stroke);
    return TRUE;
}

BOOL PolylineTo(HDC handle, const POINT* points, int count)
{
    Dc* dc = AsDc(handle);
    if (!dc || !points || count < 1) return FALSE;
    std::vector<POINT> all{dc->state.position};
    all.insert(all.end(), points, points + count);
    dc->state.position = points[count - 1];
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    Stroke stroke = PenStroke(dc, t);
    DrawPolyline(t, ToTargetPoints(dc, all.data(), static_cast<int>(all.size())), Outline::Open, stroke);
    return TRUE;
}

BOOL PolyPolyline(HDC handle, const POINT* points, const DWORD* counts, DWORD polylines)
{
    if (!AsDc(handle) || !points || !counts) return FALSE;
    size_t offset = 0;
    for (DWORD i = 0; i < polylines; ++i) {
        if (!Polyline(handle, points + offset, static_cast<int>(counts[i]))) return FALSE;
        offset += counts[i];
    }
    return TRUE;
}

BOOL PolyPolygon(HDC handle, const POINT* points, const INT* counts, int polygons)
{
    Dc* dc = AsDc(handle);
    if (!dc || !points || !counts || polygons < 1) return FALSE;
    std::vector<std::vector<POINT>> polys;
    size_t offset = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return FALSE;
        polys.push_back(ToTargetPoints(dc, points + offset, counts[i]));
        offset += static_cast<size_t>(counts[i]);
    }
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    SpanSet fill;
    AddPolygon(fill, polys, dc->state.polyFillMode, ClipRows(t));
    fill.Fill(t, BrushPaint(dc, t, nullptr, dc->state.rop2));
    Stroke stroke = PenStroke(dc, t);
    for (const auto& poly : polys) DrawPolyline(t, poly, Outline::Closed, stroke);
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count)
{
    const INT counts[1] = {count};
    return PolyPolygon(handle, points, counts, 1);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    return DrawBox(dc, left, top, right, bottom, BoxShape::Rectangle, 0, 0);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height)
{
    return DrawBox(dc, left, top, right, bottom, BoxShape::Rounded, width, height);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    return DrawBox(dc, left, top, right, bottom, BoxShape::Rounded, std::abs(right - left), std::abs(bottom - top));
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle)
{
    Dc* dc = AsDc(handle);
    BrushRef brush;
    if (!dc || !rect || !ResolveBrush(brushHandle, brush)) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    FillRectangle(t, RectToTarget(dc, *rect), BrushPaint(dc, t, brush.brush, R2_COPYPEN));
    return TRUE;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle)
{
    Dc* dc = AsDc(handle);
    BrushRef brush;
    if (!dc || !rect || !ResolveBrush(brushHandle, brush)) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const RECT r = RectToTarget(dc, *rect);
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    const Paint paint = BrushPaint(dc, t, brush.brush, R2_COPYPEN);
    FillRectangle(t, {r.left, r.top, r.right, r.top + 1}, paint);
    FillRectangle(t, {r.left, r.bottom - 1, r.right, r.bottom}, paint);
    FillRectangle(t, {r.left, r.top + 1, r.left + 1, r.bottom - 1}, paint);
    FillRectangle(t, {r.right - 1, r.top + 1, r.right, r.bottom - 1}, paint);
    return TRUE;
}

BOOL InvertRect(HDC handle, const RECT* rect)
{
    Dc* dc = AsDc(handle);
    if (!dc || !rect) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    Paint paint = SolidPaint(t, 0, R2_NOT);
    FillRectangle(t, RectToTarget(dc, *rect), paint);
    return TRUE;
}

void FillSolidRect(HDC handle, const RECT* rect, COLORREF color)
{
    Dc* dc = AsDc(handle);
    if (!dc || !rect) return;
    Target t;
    if (!GetTarget(dc, t)) return;
    FillRectangle(t, RectToTarget(dc, *rect), SolidPaint(t, color, R2_COPYPEN));
}

void Draw3dRect(HDC dc, int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight)
{
    const RECT top{x, y, x + width - 1, y + 1};
    const RECT left{x, y, x + 1, y + height - 1};
    const RECT right{x + width - 1, y, x + width, y + height};
    const RECT bottom{x, y + height - 1, x + width, y + height};
    FillSolidRect(dc, &top, topLeft);
    FillSolidRect(dc, &left, topLeft);
    FillSolidRect(dc, &right, bottomRight);
    FillSolidRect(dc, &bottom, bottomRight);
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color)
{
    Dc* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    Target t;
    if (!GetTarget(dc, t)) return CLR_INVALID;
    const POINT p = ToTarget(dc, x, y);
    if (!t.Visible(p.x, p.y)) return CLR_INVALID;
    const Paint paint = SolidPaint(t, color, R2_COPYPEN);
    t.Row(p.y)[p.x] = paint.color;
    return ColorFromPixel(paint.color);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID ? TRUE : FALSE; }

COLORREF GetPixel(HDC handle, int x, int y)
{
    Dc* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    Target t;
    if (!GetTarget(dc, t)) return CLR_INVALID;
    const POINT p = ToTarget(dc, x, y);
    if (!t.Visible(p.x, p.y)) return CLR_INVALID;
    return ColorFromPixel(t.Row(p.y)[p.x]);
}

// ---------------------------------------------------------------------------
// Regions

namespace {

HRGN NewRegion(Region region)
{
    auto* object = new RegionObject;
    object->region = std::move(region);
    Register(object);
    return HandleOf<HRGN>(object);
}

RECT Normalised(int left, int top, int right, int bottom)
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// A logical region as target pixels of the DC.
Region RegionToTarget(Dc* dc, const Region& region)
{
    if (IsIdentityScale(dc)) {
        Region out = region;
        const POINT o = ToTarget(dc, 0, 0);
        out.Offset(o.x, o.y);
        return out;
    }
    Region out;
    for (const RECT& r : region.Rects()) {
        out = Region::Combine(out, Region::FromRect(RectToTarget(dc, r)), RegionOp::Or);
    }
    return out;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(Region::FromRect(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    if (!rect) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    SpanSet spans;
    AddRoundedBox(spans, Normalised(left, top, right, bottom), std::abs(width), std::abs(height), kRegionRows);
    return NewRegion(spans.ToRegion());
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return CreateRoundRectRgn(left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    if (!points || count < 3) return nullptr;
    SpanSet spans;
    AddPolygon(spans, {std::vector<POINT>(points, points + count)}, fillMode, kRegionRows);
    return NewRegion(spans.ToRegion());
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom)
{
    RegionObject* r = AsRegion(handle);
    if (!r) return FALSE;
    r->region = Region::FromRect(Normalised(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode)
{
    RegionObject* d = AsRegion(dest);
    RegionObject* ra = AsRegion(a);
    if (!d || !ra) return ERROR;
    if (mode == RGN_COPY) {
        d->region = ra->region;
        return d->region.Kind();
    }
    RegionObject* rb = AsRegion(b);
    if (!rb) return ERROR;
    RegionOp op;
    switch (mode) {
    case RGN_AND: op = RegionOp::And; break;
    case RGN_OR: op = RegionOp::Or; break;
    case RGN_XOR: op = RegionOp::Xor; break;
    case RGN_DIFF: op = RegionOp::Diff; break;
    default: return ERROR;
    }
    d->region = Region::Combine(ra->region, rb->region, op);
    return d->region.Kind();
}

int OffsetRgn(HRGN handle, int dx, int dy)
{
    RegionObject* r = AsRegion(handle);
    if (!r) return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Kind();
}

int GetRgnBox(HRGN handle, RECT* box)
{
    RegionObject* r = AsRegion(handle);
    if (!r || !box) return ERROR;
    *box = r->region.Box();
    return r->region.Kind();
}

BOOL PtInRegion(HRGN handle, int x, int y)
{
    RegionObject* r = AsRegion(handle);
    return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect)
{
    RegionObject* r = AsRegion(handle);
    if (!r || !rect) return FALSE;
    return r->region.Intersects(Normalised(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    RegionObject* ra = AsRegion(a);
    RegionObject* rb = AsRegion(b);
    if (!ra || !rb) return FALSE;
    return ra->region == rb->region ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN handle, DWORD size, RGNDATA* data)
{
    RegionObject* r = AsRegion(handle);
    if (!r) return 0;
    const std::vector<RECT> rects = r->region.Rects();
    const DWORD rectBytes = static_cast<DWORD>(rects.size() * sizeof(RECT));
    const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER)) + rectBytes;
    if (!data || size < needed) return needed;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = rectBytes;
    data->rdh.rcBound = r->region.Box();
    if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rectBytes);
    return needed;
}

BOOL FillRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle)
{
    Dc* dc = AsDc(handle);
    RegionObject* r = AsRegion(regionHandle);
    BrushRef brush;
    if (!dc || !r || !ResolveBrush(brushHandle, brush)) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const Paint paint = BrushPaint(dc, t, brush.brush, R2_COPYPEN);
    for (const RECT& rect : RegionToTarget(dc, r->region).Rects()) FillRectangle(t, rect, paint);
    return TRUE;
}

BOOL PaintRgn(HDC handle, HRGN regionHandle)
{
    Dc* dc = AsDc(handle);
    RegionObject* r = AsRegion(regionHandle);
    if (!dc || !r) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const Paint paint = BrushPaint(dc, t, nullptr, dc->state.rop2);
    for (const RECT& rect : RegionToTarget(dc, r->region).Rects()) FillRectangle(t, rect, paint);
    return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN regionHandle)
{
    Dc* dc = AsDc(handle);
    RegionObject* r = AsRegion(regionHandle);
    if (!dc || !r) return FALSE;
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const Paint paint = SolidPaint(t, 0, R2_NOT);
    for (const RECT& rect : RegionToTarget(dc, r->region).Rects()) FillRectangle(t, rect, paint);
    return TRUE;
}

BOOL FrameRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle, int width, int height)
{
    Dc* dc = AsDc(handle);
    RegionObject* r = AsRegion(regionHandle);
    BrushRef brush;
    if (!dc || !r || !ResolveBrush(brushHandle, brush) || width < 1 || height < 1) return FALSE;
    // The frame is the region minus its erosion by width x height.
    const Region& region = r->region;
    Region eroded = region;
    const POINT shifts[4] = {{width, 0}, {-width, 0}, {0, height}, {0, -height}};
    for (const POINT& s : shifts) {
        Region moved = region;
        moved.Offset(s.x, s.y);
        eroded = Region::Combine(eroded, moved, RegionOp::And);
    }
    const Region frame = Region::Combine(region, eroded, RegionOp::Diff);
    Target t;
    if (!GetTarget(dc, t)) return TRUE;
    const Paint paint = BrushPaint(dc, t, brush.brush, R2_COPYPEN);
    for (const RECT& rect : RegionToTarget(dc, frame).Rects()) FillRectangle(t, rect, paint);
    return TRUE;
}
