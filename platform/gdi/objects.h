// GDI objects behind the handles: pens, brushes, bitmaps, fonts, regions,
// icons and device contexts, and the table of live handles that lets every
// entry point reject a stale or mistyped handle.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/region.h"

namespace gdi {

enum class Kind { Pen, Brush, Bitmap, Font, Region, Palette, Icon, Dc };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Kind kind;
    uintptr_t handle = 0;  // the value callers hold; set by Register
    bool stock = false;
    int selections = 0;          // DCs and saved DC states holding it
    bool deletePending = false;  // deleted while selected: freed on last release
};

// Pixels are stored as 0xAARRGGBB words (blue in the lowest byte).
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColorBits = 0x00FFFFFFu;
inline uint32_t PixelFromColor(COLORREF c)
{
    return kOpaque | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF ColorFromPixel(uint32_t p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}
// Nearest of black and white, as a monochrome bitmap stores a colour.
inline uint32_t MonoPixel(uint32_t p)
{
    const int sum = static_cast<int>((p >> 16) & 0xFF) + static_cast<int>((p >> 8) & 0xFF) + static_cast<int>(p & 0xFF);
    return sum >= 384 ? 0xFFFFFFFFu : kOpaque;
}

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    int width = 0;
    int height = 0;
    bool mono = false;   // 1 bit per pixel: pixels are black or white
    int bitsPixel = 32;  // what GetObject reports
    bool dibSection = false;
    bool bottomUp = false;  // rows stored bottom row first (bottom-up DIB sections)
    SIZE dimension{0, 0};
    std::vector<uint32_t> pixels;  // rows of `width` pixels, top-down unless bottomUp

    uint32_t* Row(int y)
    {
        return pixels.data() + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * width;
    }
    const uint32_t* Row(int y) const { return const_cast<Bitmap*>(this)->Row(y); }
    int Stride() const { return bottomUp ? -width : width; }
    GdiSurface Surface() { return {Row(0), width, height, Stride()}; }
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    int style = PS_SOLID;  // PS_* without end cap and join bits
    DWORD fullStyle = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    bool dcPen = false;  // the DC_PEN stock object: colour comes from the DC
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    bool dcBrush = false;               // the DC_BRUSH stock object
    std::shared_ptr<Bitmap> pattern;    // BS_PATTERN: a private copy
};

class FontFace;  // fonts.h

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTA log{};
    std::shared_ptr<FontFace> face;  // realised on first use
};

struct RegionObject : Object {
    RegionObject() : Object(Kind::Region) {}
    Region region;
};

struct Icon : Object {
    Icon() : Object(Kind::Icon) {}
    bool isIcon = true;
    POINT hotspot{0, 0};
    std::shared_ptr<Bitmap> mask;   // may be null: draw by the colour's alpha
    std::shared_ptr<Bitmap> color;  // may be null: monochrome icon, mask holds both halves
};

// Everything SaveDC saves.
struct DcState {
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    Bitmap* bitmap = nullptr;  // memory DCs
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int charExtra = 0;
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    POINT brushOrg{0, 0};
    POINT position{0, 0};
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    DWORD layout = 0;
    std::optional<Region> clip;  // device units, relative to the DC's origin
};

struct Dc : Object {
    Dc() : Object(Kind::Dc) {}
    bool memory = false;
    GdiSurface surface;  // surface DCs
    POINT origin{0, 0};  // surface position of device (0, 0)
    RECT surfaceClip{0, 0, 0, 0};
    std::optional<Region> visible;  // update region, relative to origin
    void* ownerTag = nullptr;
    DcState state;
    std::vector<DcState> saved;

    // Cached clip rectangles in surface pixels (recomputed when dirty).
    bool clipDirty = true;
    std::vector<RECT> clipRects;
    RECT clipBox{0, 0, 0, 0};
};

// Handle table. A handle is a slot number and the slot's generation, never
// an address: once an object is freed its handles stay dead even when the
// slot and the memory are used again.
void Register(Object* object);
// The live object a handle names, or null.
Object* Lookup(const void* handle);
inline bool IsLive(const void* handle) { return Lookup(handle) != nullptr; }
template <class T>
T* As(const void* handle, Kind kind)
{
    Object* object = Lookup(handle);
    return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
}
inline Dc* AsDc(HDC dc) { return As<Dc>(dc, Kind::Dc); }
inline Bitmap* AsBitmap(HBITMAP b) { return As<Bitmap>(b, Kind::Bitmap); }
inline Brush* AsBrush(HBRUSH b) { return As<Brush>(b, Kind::Brush); }
inline Pen* AsPen(HPEN p) { return As<Pen>(p, Kind::Pen); }
inline Font* AsFont(HFONT f) { return As<Font>(f, Kind::Font); }
inline RegionObject* AsRegion(HRGN r) { return As<RegionObject>(r, Kind::Region); }
inline Icon* AsIcon(HICON i) { return As<Icon>(i, Kind::Icon); }

// Frees an object now (it must not be selected anywhere).
void Destroy(Object* object);
// Selection bookkeeping: an object deleted while selected is freed here.
void Retain(Object* object);
void Release(Object* object);

template <class H = void*>
H HandleOf(const Object* object)
{
    return object ? reinterpret_cast<H>(object->handle) : nullptr;
}

// Stock objects.
Pen* StockPen(int index);
Brush* StockBrush(int index);
Font* StockFont(int index);
Bitmap* StockBitmap();  // the 1x1 monochrome bitmap of a new memory DC

// A bitmap's deep copy (pattern brushes and icons keep their own).
std::shared_ptr<Bitmap> CopyBitmap(const Bitmap& source);
// A new black bitmap: one bit a pixel, or 32-bit colour.
enum class Depth : uint8_t { Colour, Mono };
inline Depth DepthOf(bool mono) { return mono ? Depth::Mono : Depth::Colour; }
Bitmap* NewBitmap(int width, int height, Depth depth);

}  // namespace gdi
