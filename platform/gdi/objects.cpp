// GDI object lifetime: the handle table, selection counts, deferred
// deletion, stock objects, and the object calls (SelectObject, DeleteObject,
// GetObject, GetStockObject, pens and brushes).
#include "platform/gdi/objects.h"

#include <cstring>
#include <deque>
#include <vector>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

struct Slot {
    Object* object = nullptr;
    uint32_t generation = 0;
};

// Never destroyed: objects held by static objects of other modules are
// deleted during process exit, after this file's statics would be gone.
struct HandleTable {
    std::vector<Slot> slots;
    std::deque<uint32_t> freeSlots;  // reused oldest first
};

HandleTable& Table()
{
    static auto* const table = new HandleTable;
    return *table;
}

}  // namespace

void Register(Object* object)
{
    HandleTable& table = Table();
    uint32_t index = 0;
    if (!table.freeSlots.empty()) {
        index = table.freeSlots.front();
        table.freeSlots.pop_front();
    } else {
        index = static_cast<uint32_t>(table.slots.size());
        table.slots.emplace_back();
    }
    Slot& slot = table.slots[index];
    slot.object = object;
    slot.generation = slot.generation + 1 == 0 ? 1 : slot.generation + 1;
    // Slot number + 1 in the high half, generation in the low half: never null.
    object->handle = (static_cast<uintptr_t>(index + 1) << 32) | slot.generation;
}

Object* Lookup(const void* handle)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    const uintptr_t slotNumber = value >> 32;
    if (slotNumber == 0) return nullptr;
    HandleTable& table = Table();
    if (slotNumber > table.slots.size()) return nullptr;
    const Slot& slot = table.slots[slotNumber - 1];
    if (!slot.object || slot.generation != static_cast<uint32_t>(value & 0xFFFFFFFFu)) return nullptr;
    return slot.object;
}

void Destroy(Object* object)
{
    HandleTable& table = Table();
    const uintptr_t slotNumber = object->handle >> 32;
    if (slotNumber > 0 && slotNumber <= table.slots.size() && table.slots[slotNumber - 1].object == object) {
        table.slots[slotNumber - 1].object = nullptr;
        table.freeSlots.push_back(static_cast<uint32_t>(slotNumber - 1));
    }
    delete object;
}

void Retain(Object* object)
{
    if (object) ++object->selections;
}

void Release(Object* object)
{
    if (!object) return;
    --object->selections;
    if (object->selections <= 0 && object->deletePending) Destroy(object);
}

Bitmap* NewBitmap(int width, int height, Depth depth)
{
    const bool mono = depth == Depth::Mono;
    auto* bitmap = new Bitmap;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->mono = mono;
    bitmap->bitsPixel = mono ? 1 : 32;
    // New bitmaps start black, as freshly allocated ones do.
    bitmap->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kOpaque);
    Register(bitmap);
    return bitmap;
}

std::shared_ptr<Bitmap> CopyBitmap(const Bitmap& source)
{
    auto copy = std::make_shared<Bitmap>();
    copy->width = source.width;
    copy->height = source.height;
    copy->mono = source.mono;
    copy->bitsPixel = source.bitsPixel;
    // Copies are always top-down.
    copy->pixels.resize(source.pixels.size());
    for (int y = 0; y < source.height; ++y) {
        std::copy(source.Row(y), source.Row(y) + source.width, copy->pixels.begin() + static_cast<ptrdiff_t>(y) * source.width);
    }
    return copy;
}

namespace {

template <class T>
T* MakeStock(T* object)
{
    object->stock = true;
    Register(object);
    return object;
}

Pen* MakePen(int style, COLORREF color)
{
    auto* pen = new Pen;
    pen->style = style;
    pen->fullStyle = static_cast<DWORD>(style);
    pen->color = color;
    return pen;
}

Brush* MakeBrush(UINT style, COLORREF color)
{
    auto* brush = new Brush;
    brush->style = style;
    brush->color = color;
    return brush;
}

Font* MakeFont(const char* face, int height, int weight)
{
    auto* font = new Font;
    font->log.lfHeight = height;
    font->log.lfWeight = weight;
    font->log.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font->log.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

}  // namespace

Pen* StockPen(int index)
{
    static Pen* const pens[] = {
        MakeStock(MakePen(PS_SOLID, RGB(255, 255, 255))),
        MakeStock(MakePen(PS_SOLID, RGB(0, 0, 0))),
        MakeStock(MakePen(PS_NULL, RGB(0, 0, 0))),
    };
    static Pen* const dcPen = [] {
        Pen* pen = MakeStock(MakePen(PS_SOLID, RGB(0, 0, 0)));
        pen->dcPen = true;
        return pen;
    }();
    if (index == DC_PEN) return dcPen;
    if (index < WHITE_PEN || index > NULL_PEN) return nullptr;
    return pens[index - WHITE_PEN];
}

Brush* StockBrush(int index)
{
    static Brush* const brushes[] = {
        MakeStock(MakeBrush(BS_SOLID, RGB(255, 255, 255))), MakeStock(MakeBrush(BS_SOLID, RGB(192, 192, 192))),
        MakeStock(MakeBrush(BS_SOLID, RGB(128, 128, 128))), MakeStock(MakeBrush(BS_SOLID, RGB(64, 64, 64))),
        MakeStock(MakeBrush(BS_SOLID, RGB(0, 0, 0))),       MakeStock(MakeBrush(BS_NULL, RGB(0, 0, 0))),
    };
    static Brush* const dcBrush = [] {
        Brush* brush = MakeStock(MakeBrush(BS_SOLID, RGB(255, 255, 255)));
        brush->dcBrush = true;
        return brush;
    }();
    if (index == DC_BRUSH) return dcBrush;
    if (index < WHITE_BRUSH || index > NULL_BRUSH) return nullptr;
    return brushes[index];
}

Font* StockFont(int index)
{
    // The dialog faces stand in for the classic bitmap fonts.
    static Font* const oemFixed = MakeStock(MakeFont("Courier New", -13, FW_NORMAL));
    static Font* const ansiFixed = MakeStock(MakeFont("Courier New", -13, FW_NORMAL));
    static Font* const ansiVar = MakeStock(MakeFont("MS Sans Serif", -11, FW_NORMAL));
    static Font* const system = MakeStock(MakeFont("System", 16, FW_BOLD));
    static Font* const deviceDefault = MakeStock(MakeFont("System", 16, FW_BOLD));
    static Font* const systemFixed = MakeStock(MakeFont("Courier New", -13, FW_NORMAL));
    static Font* const gui = MakeStock(MakeFont("MS Shell Dlg", -11, FW_NORMAL));
    switch (index) {
    case OEM_FIXED_FONT: return oemFixed;
    case ANSI_FIXED_FONT: return ansiFixed;
    case ANSI_VAR_FONT: return ansiVar;
    case SYSTEM_FONT: return system;
    case DEVICE_DEFAULT_FONT: return deviceDefault;
    case SYSTEM_FIXED_FONT: return systemFixed;
    case DEFAULT_GUI_FONT: return gui;
    default: return nullptr;
    }
}

Bitmap* StockBitmap()
{
    static Bitmap* const bitmap = [] {
        Bitmap* b = NewBitmap(1, 1, Depth::Mono);
        b->stock = true;
        return b;
    }();
    return bitmap;
}

}  // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int index)
{
    if (Brush* brush = StockBrush(index)) return HandleOf(brush);
    if (Pen* pen = StockPen(index)) return HandleOf(pen);
    if (Font* font = StockFont(index)) return HandleOf(font);
    return nullptr;
}

DWORD GetObjectType(HGDIOBJ handle)
{
    Object* object = Lookup(handle);
    if (!object) return 0;
    switch (object->kind) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Font: return OBJ_FONT;
    case Kind::Region: return OBJ_REGION;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Icon: return 0;
    case Kind::Dc: return static_cast<Dc*>(object)->memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

BOOL DeleteObject(HGDIOBJ handle)
{
    Object* object = Lookup(handle);
    if (!object) return FALSE;
    if (object->kind == Kind::Dc || object->kind == Kind::Icon) return FALSE;
    if (object->stock) return TRUE;
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    Destroy(object);
    return TRUE;
}

BOOL UnrealizeObject(HGDIOBJ handle) { return IsLive(handle) ? TRUE : FALSE; }

int GetObjectA(HGDIOBJ handle, int size, LPVOID out)
{
    Object* object = Lookup(handle);
    if (!object || size < 0) return 0;
    auto copyOut = [&](const void* data, int dataSize) {
        if (!out) return dataSize;
        const int n = size < dataSize ? size : dataSize;
        std::memcpy(out, data, static_cast<size_t>(n));
        return n;
    };
    switch (object->kind) {
    case Kind::Pen: {
        auto* pen = static_cast<Pen*>(object);
        LOGPEN log{pen->fullStyle, {pen->width, 0}, pen->color};
        return copyOut(&log, sizeof(log));
    }
    case Kind::Brush: {
        auto* brush = static_cast<Brush*>(object);
        LOGBRUSH log{brush->style, brush->color, static_cast<ULONG_PTR>(brush->hatch)};
        return copyOut(&log, sizeof(log));
    }
    case Kind::Font: return copyOut(&static_cast<Font*>(object)->log, sizeof(LOGFONTA));
    case Kind::Bitmap: {
        auto* bitmap = static_cast<Bitmap*>(object);
        BITMAP log{};
        log.bmType = 0;
        log.bmWidth = bitmap->width;
        log.bmHeight = bitmap->height;
        log.bmPlanes = 1;
        log.bmBitsPixel = static_cast<WORD>(bitmap->bitsPixel);
        log.bmWidthBytes = ((bitmap->width * bitmap->bitsPixel + 15) / 16) * 2;
        log.bmBits = bitmap->dibSection ? bitmap->pixels.data() : nullptr;
        if (bitmap->dibSection && size >= static_cast<int>(sizeof(DIBSECTION))) {
            DIBSECTION dib{};
            dib.dsBm = log;
            dib.dsBm.bmWidthBytes = bitmap->width * 4;
            dib.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
            dib.dsBmih.biWidth = bitmap->width;
            dib.dsBmih.biHeight = -bitmap->height;
            dib.dsBmih.biPlanes = 1;
            dib.dsBmih.biBitCount = 32;
            dib.dsBmih.biCompression = BI_RGB;
            return copyOut(&dib, sizeof(dib));
        }
        return copyOut(&log, sizeof(log));
    }
    default: return 0;
    }
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    const int baseStyle = style & PS_STYLE_MASK;
    if (baseStyle > PS_ALTERNATE || baseStyle == 7) return nullptr;
    auto* pen = new Pen;
    pen->style = baseStyle;
    pen->fullStyle = static_cast<DWORD>(style);
    pen->width = width < 0 ? 0 : width;
    pen->color = color & kColorBits;
    Register(pen);
    return HandleOf<HPEN>(pen);
}

HPEN CreatePenIndirect(const LOGPEN* log)
{
    if (!log) return nullptr;
    return CreatePen(static_cast<int>(log->lopnStyle), log->lopnWidth.x, log->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*)
{
    if (!brush) return nullptr;
    // Only the colour of the brush is used: geometric pens draw solid.
    HPEN pen = CreatePen(static_cast<int>(style & (PS_STYLE_MASK | 0xF00 | 0xF000)), static_cast<int>(width),
                         brush->lbStyle == BS_NULL ? 0 : brush->lbColor);
    if (pen && brush->lbStyle == BS_NULL) AsPen(pen)->style = PS_NULL;
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto* brush = new Brush;
    brush->style = BS_SOLID;
    brush->color = color & kColorBits;
    Register(brush);
    return HandleOf<HBRUSH>(brush);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    auto* brush = new Brush;
    brush->style = BS_HATCHED;
    brush->hatch = hatch;
    brush->color = color & kColorBits;
    Register(brush);
    return HandleOf<HBRUSH>(brush);
}

HBRUSH CreatePatternBrush(HBITMAP pattern)
{
    Bitmap* bitmap = AsBitmap(pattern);
    if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0) return nullptr;
    auto* brush = new Brush;
    brush->style = BS_PATTERN;
    brush->pattern = CopyBitmap(*bitmap);
    Register(brush);
    return HandleOf<HBRUSH>(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* log)
{
    if (!log) return nullptr;
    switch (log->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(log->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(log->lbHatch), log->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(log->lbHatch));
    default: return nullptr;
    }
}
