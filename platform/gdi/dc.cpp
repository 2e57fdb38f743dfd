// Device contexts: creation, selection, saved states, attributes, the
// coordinate mapping and clipping.
#include "platform/gdi/dc.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace gdi {
namespace {

int g_screenWidth = 1920;
int g_screenHeight = 1080;

constexpr int kLogPixels = 96;

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom) return {0, 0, 0, 0};
    return r;
}

// a * b / c rounded to nearest, in 64 bits.
int MulDivRound(int64_t a, int64_t b, int64_t c)
{
    if (c == 0) return 0;
    __int128 n = static_cast<__int128>(a) * b;
    const bool negative = (n < 0) != (c < 0);
    if (n < 0) n = -n;
    const __int128 d = c < 0 ? -static_cast<__int128>(c) : c;
    __int128 q = (n + d / 2) / d;
    if (q > INT32_MAX) q = INT32_MAX;
    return static_cast<int>(negative ? -q : q);
}

void RetainState(DcState& s)
{
    Retain(s.pen);
    Retain(s.brush);
    Retain(s.font);
    Retain(s.bitmap);
}

void ReleaseState(DcState& s)
{
    Release(s.pen);
    Release(s.brush);
    Release(s.font);
    Release(s.bitmap);
}

void InitState(Dc* dc)
{
    dc->state.pen = StockPen(BLACK_PEN);
    dc->state.brush = StockBrush(WHITE_BRUSH);
    dc->state.font = StockFont(SYSTEM_FONT);
    dc->state.bitmap = dc->memory ? StockBitmap() : nullptr;
    RetainState(dc->state);
}

void SetExtentsForMode(DcState& s)
{
    // Metric modes: logical units per inch over device pixels per inch, y up.
    switch (s.mapMode) {
    case MM_LOMETRIC: s.windowExt = {254, 254}; s.viewportExt = {kLogPixels, -kLogPixels}; break;
    case MM_HIMETRIC: s.windowExt = {2540, 2540}; s.viewportExt = {kLogPixels, -kLogPixels}; break;
    case MM_LOENGLISH: s.windowExt = {100, 100}; s.viewportExt = {kLogPixels, -kLogPixels}; break;
    case MM_HIENGLISH: s.windowExt = {1000, 1000}; s.viewportExt = {kLogPixels, -kLogPixels}; break;
    case MM_TWIPS: s.windowExt = {1440, 1440}; s.viewportExt = {kLogPixels, -kLogPixels}; break;
    default: s.windowExt = {1, 1}; s.viewportExt = {1, 1}; break;
    }
}

}  // namespace

bool Target::Visible(int x, int y) const
{
    if (x < clipBox.left || x >= clipBox.right || y < clipBox.top || y >= clipBox.bottom) return false;
    for (const RECT& r : *clip) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

RECT DeviceBounds(Dc* dc)
{
    if (dc->memory) {
        Bitmap* b = dc->state.bitmap;
        return b ? RECT{0, 0, b->width, b->height} : RECT{0, 0, 0, 0};
    }
    RECT surfaceRect{0, 0, dc->surface.width, dc->surface.height};
    RECT r = Intersect(dc->surfaceClip, surfaceRect);
    if (r.right <= r.left) return {0, 0, 0, 0};
    return {r.left - dc->origin.x, r.top - dc->origin.y, r.right - dc->origin.x, r.bottom - dc->origin.y};
}

bool GetTarget(Dc* dc, Target& target)
{
    if (dc->memory) {
        Bitmap* b = dc->state.bitmap;
        if (!b || b->pixels.empty()) return false;
        target.pixels = b->Row(0);
        target.stride = b->Stride();
        target.width = b->width;
        target.height = b->height;
        target.mono = b->mono;
    } else {
        if (!dc->surface.pixels) return false;
        target.pixels = dc->surface.pixels;
        target.stride = dc->surface.stride;
        target.width = dc->surface.width;
        target.height = dc->surface.height;
        target.mono = false;
    }
    if (dc->clipDirty) {
        const POINT o = dc->memory ? POINT{0, 0} : dc->origin;
        RECT bounds = DeviceBounds(dc);
        Region region = Region::FromRect({bounds.left + o.x, bounds.top + o.y, bounds.right + o.x, bounds.bottom + o.y});
        if (dc->visible) {
            Region visible = *dc->visible;
            visible.Offset(o.x, o.y);
            region = Region::Combine(region, visible, RegionOp::And);
        }
        if (dc->state.clip) {
            Region clip = *dc->state.clip;
            clip.Offset(o.x, o.y);
            region = Region::Combine(region, clip, RegionOp::And);
        }
        dc->clipRects = region.Rects();
        dc->clipBox = region.Box();
        dc->clipDirty = false;
    }
    target.clip = &dc->clipRects;
    target.clipBox = dc->clipBox;
    return true;
}

bool IsIdentityScale(const Dc* dc)
{
    const DcState& s = dc->state;
    return s.windowExt.cx == s.viewportExt.cx && s.windowExt.cy == s.viewportExt.cy;
}

// Device coordinates are kept within 2^28, far beyond any surface, so that
// sums of coordinates and extents never overflow.
constexpr int64_t kDeviceLimit = int64_t{1} << 28;
int ClampDevice(int64_t v) { return static_cast<int>(std::clamp(v, -kDeviceLimit, kDeviceLimit)); }

POINT ToDevice(const Dc* dc, int x, int y)
{
    const DcState& s = dc->state;
    if (IsIdentityScale(dc)) {
        return {ClampDevice(int64_t{x} - s.windowOrg.x + s.viewportOrg.x),
                ClampDevice(int64_t{y} - s.windowOrg.y + s.viewportOrg.y)};
    }
    return {ClampDevice(int64_t{MulDivRound(int64_t{x} - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx)} + s.viewportOrg.x),
            ClampDevice(int64_t{MulDivRound(int64_t{y} - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy)} + s.viewportOrg.y)};
}

POINT ToLogical(const Dc* dc, int x, int y)
{
    const DcState& s = dc->state;
    if (IsIdentityScale(dc)) {
        return {x - s.viewportOrg.x + s.windowOrg.x, y - s.viewportOrg.y + s.windowOrg.y};
    }
    return {MulDivRound(static_cast<int64_t>(x) - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
            MulDivRound(static_cast<int64_t>(y) - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

POINT ToTarget(const Dc* dc, int x, int y)
{
    POINT p = ToDevice(dc, x, y);
    if (!dc->memory) {
        p.x += dc->origin.x;
        p.y += dc->origin.y;
    }
    return p;
}

POINT ToLogicalFromTarget(const Dc* dc, int x, int y)
{
    if (!dc->memory) {
        x -= dc->origin.x;
        y -= dc->origin.y;
    }
    return ToLogical(dc, x, y);
}

RECT RectToTarget(const Dc* dc, const RECT& rect)
{
    POINT a = ToTarget(dc, rect.left, rect.top);
    POINT b = ToTarget(dc, rect.right, rect.bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int LengthToDevice(const Dc* dc, int length)
{
    const DcState& s = dc->state;
    if (s.windowExt.cx == s.viewportExt.cx) return length;
    return std::abs(MulDivRound(length, s.viewportExt.cx, s.windowExt.cx));
}

}  // namespace gdi

using namespace gdi;

// ---------------------------------------------------------------------------
// Creation

HDC CreateSurfaceDC(const GdiSurface& surface, POINT origin, RECT clip)
{
    if (!surface.pixels || surface.width <= 0 || surface.height <= 0 || surface.stride < surface.width) return nullptr;
    auto* dc = new Dc;
    dc->surface = surface;
    dc->origin = origin;
    dc->surfaceClip = clip;
    InitState(dc);
    Register(dc);
    return HandleOf<HDC>(dc);
}

BOOL RetargetSurfaceDC(HDC handle, const GdiSurface& surface, POINT origin, RECT clip)
{
    Dc* dc = AsDc(handle);
    if (!dc || dc->memory || !surface.pixels || surface.stride < surface.width) return FALSE;
    dc->surface = surface;
    dc->origin = origin;
    dc->surfaceClip = clip;
    ClipChanged(dc);
    return TRUE;
}

BOOL SetSurfaceDCVisibleRegion(HDC handle, HRGN region)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    if (!region) {
        dc->visible.reset();
    } else {
        RegionObject* r = AsRegion(region);
        if (!r) return FALSE;
        dc->visible = r->region;
    }
    ClipChanged(dc);
    return TRUE;
}

void SetDCOwnerTag(HDC handle, void* tag)
{
    if (Dc* dc = AsDc(handle)) dc->ownerTag = tag;
}

void* GetDCOwnerTag(HDC handle)
{
    Dc* dc = AsDc(handle);
    return dc ? dc->ownerTag : nullptr;
}

HDC CreateCompatibleDC(HDC reference)
{
    if (reference && !AsDc(reference)) return nullptr;
    auto* dc = new Dc;
    dc->memory = true;
    InitState(dc);
    Register(dc);
    return HandleOf<HDC>(dc);
}

BOOL DeleteDC(HDC handle)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    ReleaseState(dc->state);
    for (DcState& s : dc->saved) ReleaseState(s);
    Destroy(dc);
    return TRUE;
}

BOOL DeleteSurfaceDC(HDC dc) { return DeleteDC(dc); }

void GdiSetScreenSize(int width, int height)
{
    if (width > 0) g_screenWidth = width;
    if (height > 0) g_screenHeight = height;
}

int GetDeviceCaps(HDC handle, int index)
{
    Dc* dc = AsDc(handle);
    if (!dc) return 0;
    const bool monoMemory = dc->memory && dc->state.bitmap && dc->state.bitmap->mono;
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return dc->memory && dc->state.bitmap ? dc->state.bitmap->width : g_screenWidth;
    case VERTRES: return dc->memory && dc->state.bitmap ? dc->state.bitmap->height : g_screenHeight;
    case DESKTOPHORZRES: return g_screenWidth;
    case DESKTOPVERTRES: return g_screenHeight;
    case HORZSIZE: return g_screenWidth * 254 / (kLogPixels * 10);
    case VERTSIZE: return g_screenHeight * 254 / (kLogPixels * 10);
    case BITSPIXEL: return monoMemory ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return monoMemory ? 2 : -1;
    case NUMFONTS: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHBLT;
    case LOGPIXELSX:
    case LOGPIXELSY: return kLogPixels;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    default: return 0;
    }
}

DWORD GetLayout(HDC handle)
{
    Dc* dc = AsDc(handle);
    return dc ? dc->state.layout : GDI_ERROR;
}

DWORD SetLayout(HDC handle, DWORD layout)
{
    // Right-to-left layouts are recorded but not mirrored: nothing here draws mirrored.
    Dc* dc = AsDc(handle);
    if (!dc) return GDI_ERROR;
    const DWORD old = dc->state.layout;
    dc->state.layout = layout;
    return old;
}

// ---------------------------------------------------------------------------
// Selection and saved states

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle)
{
    Dc* dc = AsDc(handle);
    Object* object = Lookup(objectHandle);
    if (!dc || !object) return nullptr;
    DcState& s = dc->state;
    auto swap = [](auto*& slot, auto* replacement) -> HGDIOBJ {
        auto* old = slot;
        Retain(replacement);
        slot = replacement;
        // The old object may be freed by this release (it was deleted while
        // selected); its handle then stays dead.
        HGDIOBJ result = HandleOf(old);
        Release(old);
        return result;
    };
    switch (object->kind) {
    case Kind::Pen: return swap(s.pen, static_cast<Pen*>(object));
    case Kind::Brush: return swap(s.brush, static_cast<Brush*>(object));
    case Kind::Font: return swap(s.font, static_cast<Font*>(object));
    case Kind::Bitmap: {
        if (!dc->memory) return nullptr;
        ClipChanged(dc);
        return swap(s.bitmap, static_cast<Bitmap*>(object));
    }
    case Kind::Region: {
        const int kind = SelectClipRgn(handle, static_cast<HRGN>(objectHandle));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
    }
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type)
{
    Dc* dc = AsDc(handle);
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_PEN: return HandleOf(dc->state.pen);
    case OBJ_BRUSH: return HandleOf(dc->state.brush);
    case OBJ_FONT: return HandleOf(dc->state.font);
    case OBJ_BITMAP: return HandleOf(dc->state.bitmap);
    default: return nullptr;
    }
}

int SaveDC(HDC handle)
{
    Dc* dc = AsDc(handle);
    if (!dc) return 0;
    dc->saved.push_back(dc->state);
    RetainState(dc->saved.back());
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int level)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    const int depth = static_cast<int>(dc->saved.size());
    const int target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth) return FALSE;
    while (static_cast<int>(dc->saved.size()) > target) {
        ReleaseState(dc->saved.back());
        dc->saved.pop_back();
    }
    ReleaseState(dc->state);
    dc->state = std::move(dc->saved.back());
    dc->saved.pop_back();
    ClipChanged(dc);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Attributes

namespace {

template <class T, class F>
T Swap(HDC handle, T failure, F&& field, T value)
{
    Dc* dc = AsDc(handle);
    if (!dc) return failure;
    T& slot = field(dc->state);
    T old = slot;
    slot = value;
    return old;
}

template <class T, class F>
T Read(HDC handle, T failure, F&& field)
{
    Dc* dc = AsDc(handle);
    return dc ? field(dc->state) : failure;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF c)
{
    return Swap<COLORREF>(dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.textColor; }, c & kColorBits);
}
COLORREF GetTextColor(HDC dc) { return Read<COLORREF>(dc, CLR_INVALID, [](DcState& s) { return s.textColor; }); }
COLORREF SetBkColor(HDC dc, COLORREF c)
{
    return Swap<COLORREF>(dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.bkColor; }, c & kColorBits);
}
COLORREF GetBkColor(HDC dc) { return Read<COLORREF>(dc, CLR_INVALID, [](DcState& s) { return s.bkColor; }); }
int SetBkMode(HDC dc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return Swap<int>(dc, 0, [](DcState& s) -> int& { return s.bkMode; }, mode);
}
int GetBkMode(HDC dc) { return Read<int>(dc, 0, [](DcState& s) { return s.bkMode; }); }
int SetROP2(HDC dc, int rop)
{
    if (rop < R2_BLACK || rop > R2_WHITE) return 0;
    return Swap<int>(dc, 0, [](DcState& s) -> int& { return s.rop2; }, rop);
}
int GetROP2(HDC dc) { return Read<int>(dc, 0, [](DcState& s) { return s.rop2; }); }
int SetPolyFillMode(HDC dc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return Swap<int>(dc, 0, [](DcState& s) -> int& { return s.polyFillMode; }, mode);
}
int GetPolyFillMode(HDC dc) { return Read<int>(dc, 0, [](DcState& s) { return s.polyFillMode; }); }
int SetStretchBltMode(HDC dc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return Swap<int>(dc, 0, [](DcState& s) -> int& { return s.stretchMode; }, mode);
}
int GetStretchBltMode(HDC dc) { return Read<int>(dc, 0, [](DcState& s) { return s.stretchMode; }); }
COLORREF SetDCBrushColor(HDC dc, COLORREF c)
{
    return Swap<COLORREF>(dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.dcBrushColor; }, c & kColorBits);
}
COLORREF GetDCBrushColor(HDC dc) { return Read<COLORREF>(dc, CLR_INVALID, [](DcState& s) { return s.dcBrushColor; }); }
COLORREF SetDCPenColor(HDC dc, COLORREF c)
{
    return Swap<COLORREF>(dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.dcPenColor; }, c & kColorBits);
}
COLORREF GetDCPenColor(HDC dc) { return Read<COLORREF>(dc, CLR_INVALID, [](DcState& s) { return s.dcPenColor; }); }

COLORREF GetNearestColor(HDC handle, COLORREF color)
{
    Dc* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    if (dc->memory && dc->state.bitmap && dc->state.bitmap->mono) {
        return ColorFromPixel(MonoPixel(PixelFromColor(color)));
    }
    return color & kColorBits;
}

BOOL SetBrushOrgEx(HDC handle, int x, int y, POINT* old)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    if (old) *old = dc->state.brushOrg;
    dc->state.brushOrg = {x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC handle, POINT* origin)
{
    Dc* dc = AsDc(handle);
    if (!dc || !origin) return FALSE;
    *origin = dc->state.brushOrg;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Mapping

int SetMapMode(HDC handle, int mode)
{
    Dc* dc = AsDc(handle);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    const int old = dc->state.mapMode;
    dc->state.mapMode = mode;
    if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) SetExtentsForMode(dc->state);
    return old;
}

int GetMapMode(HDC handle)
{
    Dc* dc = AsDc(handle);
    return dc ? dc->state.mapMode : 0;
}

namespace {

// A viewport or window origin set to (x, y), or moved by it.
enum class PointChange : uint8_t { Set, Offset };

BOOL SetPoint(HDC handle, POINT DcState::*field, int x, int y, POINT* old, PointChange change)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    POINT& slot = dc->state.*field;
    if (old) *old = slot;
    if (change == PointChange::Offset) {
        slot.x += x;
        slot.y += y;
    } else {
        slot = {x, y};
    }
    return TRUE;
}

BOOL GetPoint(HDC handle, POINT DcState::*field, POINT* out)
{
    Dc* dc = AsDc(handle);
    if (!dc || !out) return FALSE;
    *out = dc->state.*field;
    return TRUE;
}

BOOL SetExtent(HDC handle, SIZE DcState::*field, int x, int y, SIZE* old)
{
    Dc* dc = AsDc(handle);
    if (!dc) return FALSE;
    SIZE& slot = dc->state.*field;
    if (old) *old = slot;
    // Fixed modes keep their extents; a zero extent would divide by zero.
    if (dc->state.mapMode != MM_ISOTROPIC && dc->state.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    slot = {x, y};
    return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &DcState::viewportOrg, x, y, old, PointChange::Set); }
BOOL GetViewportOrgEx(HDC dc, POINT* p) { return GetPoint(dc, &DcState::viewportOrg, p); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old)
{
    return SetPoint(dc, &DcState::viewportOrg, dx, dy, old, PointChange::Offset);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &DcState::windowOrg, x, y, old, PointChange::Set); }
BOOL GetWindowOrgEx(HDC dc, POINT* p) { return GetPoint(dc, &DcState::windowOrg, p); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old) { return SetPoint(dc, &DcState::windowOrg, dx, dy, old, PointChange::Offset); }
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old) { return SetExtent(dc, &DcState::windowExt, x, y, old); }
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old) { return SetExtent(dc, &DcState::viewportExt, x, y, old); }
BOOL GetWindowExtEx(HDC handle, SIZE* out)
{
    Dc* dc = AsDc(handle);
    if (!dc || !out) return FALSE;
    *out = dc->state.windowExt;
    return TRUE;
}
BOOL GetViewportExtEx(HDC handle, SIZE* out)
{
    Dc* dc = AsDc(handle);
    if (!dc || !out) return FALSE;
    *out = dc->state.viewportExt;
    return TRUE;
}

BOOL LPtoDP(HDC handle, POINT* points, int count)
{
    Dc* dc = AsDc(handle);
    if (!dc || (!points && count > 0) || count < 0) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = ToDevice(dc, points[i].x, points[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC handle, POINT* points, int count)
{
    Dc* dc = AsDc(handle);
    if (!dc || (!points && count > 0) || count < 0) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = ToLogical(dc, points[i].x, points[i].y);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Clipping

namespace {

// The clip region a DC has, or the whole device area when it has none.
Region CurrentClipOrBounds(Dc* dc)
{
    if (dc->state.clip) return *dc->state.clip;
    return Region::FromRect(DeviceBounds(dc));
}

RECT LogicalRectToDevice(Dc* dc, int left, int top, int right, int bottom)
{
    POINT a = ToDevice(dc, left, top);
    POINT b = ToDevice(dc, right, bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int ResultKind(Dc* dc)
{
    Target target;
    if (!GetTarget(dc, target)) return NULLREGION;
    if (dc->clipRects.empty()) return NULLREGION;
    return dc->clipRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

int ExtSelectClipRgn(HDC handle, HRGN regionHandle, int mode)
{
    Dc* dc = AsDc(handle);
    if (!dc) return ERROR;
    if (!regionHandle) {
        if (mode != RGN_COPY) return ERROR;
        dc->state.clip.reset();
        ClipChanged(dc);
        return ResultKind(dc);
    }
    RegionObject* r = AsRegion(regionHandle);
    if (!r) return ERROR;
    switch (mode) {
    case RGN_COPY: dc->state.clip = r->region; break;
    case RGN_AND: dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), r->region, RegionOp::And); break;
    case RGN_OR: dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), r->region, RegionOp::Or); break;
    case RGN_XOR: dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), r->region, RegionOp::Xor); break;
    case RGN_DIFF: dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), r->region, RegionOp::Diff); break;
    default: return ERROR;
    }
    ClipChanged(dc);
    return ResultKind(dc);
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int GetClipRgn(HDC handle, HRGN regionHandle)
{
    Dc* dc = AsDc(handle);
    RegionObject* r = AsRegion(regionHandle);
    if (!dc || !r) return -1;
    if (!dc->state.clip) return 0;
    r->region = *dc->state.clip;
    return 1;
}

int GetClipBox(HDC handle, RECT* box)
{
    Dc* dc = AsDc(handle);
    if (!dc || !box) return ERROR;
    Target target;
    if (!GetTarget(dc, target) || dc->clipRects.empty()) {
        *box = {0, 0, 0, 0};
        return NULLREGION;
    }
    const RECT& b = dc->clipBox;
    POINT a = ToLogicalFromTarget(dc, b.left, b.top);
    POINT c = ToLogicalFromTarget(dc, b.right, b.bottom);
    *box = {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
    return dc->clipRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom)
{
    Dc* dc = AsDc(handle);
    if (!dc) return ERROR;
    const RECT r = LogicalRectToDevice(dc, left, top, right, bottom);
    dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), Region::FromRect(r), RegionOp::And);
    ClipChanged(dc);
    return ResultKind(dc);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom)
{
    Dc* dc = AsDc(handle);
    if (!dc) return ERROR;
    const RECT r = LogicalRectToDevice(dc, left, top, right, bottom);
    dc->state.clip = Region::Combine(CurrentClipOrBounds(dc), Region::FromRect(r), RegionOp::Diff);
    ClipChanged(dc);
    return ResultKind(dc);
}

int OffsetClipRgn(HDC handle, int dx, int dy)
{
    Dc* dc = AsDc(handle);
    if (!dc) return ERROR;
    if (dc->state.clip) {
        dc->state.clip->Offset(LengthToDevice(dc, dx), LengthToDevice(dc, dy));
        ClipChanged(dc);
    }
    return ResultKind(dc);
}

BOOL PtVisible(HDC handle, int x, int y)
{
    Dc* dc = AsDc(handle);
    Target target;
    if (!dc || !GetTarget(dc, target)) return FALSE;
    const POINT p = ToTarget(dc, x, y);
    return target.Visible(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC handle, const RECT* rect)
{
    Dc* dc = AsDc(handle);
    Target target;
    if (!dc || !rect || !GetTarget(dc, target)) return FALSE;
    const RECT r = RectToTarget(dc, *rect);
    for (const RECT& c : *target.clip) {
        if (c.left < r.right && c.right > r.left && c.top < r.bottom && c.bottom > r.top) return TRUE;
    }
    return FALSE;
}
