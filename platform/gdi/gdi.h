// GDI: device contexts, bitmaps, pens, brushes, regions, clipping, drawing
// and raster operations. Text, fonts and glyph outlines are declared in
// gditext.h, the 3-D frames and control glyphs in gdiframe.h; this header
// includes both, so one include gives the whole family.
//
// Conventions shared by every function here:
// - Pixels are 32-bit BGRA (blue in the lowest byte); COLORREF is 0x00BBGGRR.
//   Drawing writes opaque pixels (alpha 0xFF); same-depth SRCCOPY blits copy
//   all four bytes; only AlphaBlend and DrawIconEx read alpha.
// - Rectangles exclude their right and bottom edges; lines exclude their
//   last point; everything is aliased.
// - Functions take logical coordinates; the DC's mapping mode, window and
//   viewport origins and extents turn them into device pixels.
// - A stale or wrong handle makes a function fail (FALSE, null, 0 or
//   CLR_INVALID as documented for each), never crash.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/logfont.h"
#include "platform/gdi/surface.h"

using COLOR16 = USHORT;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
constexpr COLORREF CLR_DEFAULT = 0xFF000000u;
constexpr DWORD GDI_ERROR = 0xFFFFFFFFu;
constexpr int ERROR = 0;  // region functions' failure

// ---------------------------------------------------------------------------
// Structures

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;  // pointer-sized on this platform
};
using LPBITMAP = BITMAP*;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: bottom-up rows, negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The colour table (or the three bit-field masks) follows the header.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;  // only x counts
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;  // hatch style, or the pattern bitmap for BS_PATTERN
};

struct TRIVERTEX {
    LONG x;
    LONG y;
    COLOR16 Red;
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};
struct GRADIENT_RECT {
    ULONG UpperLeft;
    ULONG LowerRight;
};
struct GRADIENT_TRIANGLE {
    ULONG Vertex1;
    ULONG Vertex2;
    ULONG Vertex3;
};

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};
using PICONINFO = ICONINFO*;

// ---------------------------------------------------------------------------
// Constants

// Object types (GetObjectType).
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_MEMDC = 10;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_ALTERNATE = 8;
constexpr int PS_STYLE_MASK = 0x0000000F;
constexpr int PS_ENDCAP_ROUND = 0x00000000;
constexpr int PS_ENDCAP_SQUARE = 0x00000100;
constexpr int PS_ENDCAP_FLAT = 0x00000200;
constexpr int PS_JOIN_ROUND = 0x00000000;
constexpr int PS_JOIN_BEVEL = 0x00001000;
constexpr int PS_JOIN_MITER = 0x00002000;
constexpr int PS_COSMETIC = 0x00000000;
constexpr int PS_GEOMETRIC = 0x00010000;

// Brush styles and hatches.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Ternary raster operations (BitBlt, StretchBlt, PatBlt). Any code whose
// bits 16-23 hold the truth table over pattern, source and destination works.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stretch modes (all stretch by nearest pixel).
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Layouts.
constexpr DWORD LAYOUT_RTL = 0x00000001;

// Region results and combine modes.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Bitmap formats.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 4;

// Gradient and alpha blending.
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;

// Device capabilities.
constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;
constexpr int NUMPENS = 18;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int COLORRES = 108;
constexpr int DESKTOPVERTRES = 117;
constexpr int DESKTOPHORZRES = 118;
constexpr int DT_RASDISPLAY = 1;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_STRETCHBLT = 0x0800;

// DrawIconEx flags.
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// ---------------------------------------------------------------------------
// Device contexts

// A memory DC with the stock 1x1 monochrome bitmap selected; `reference`
// may be null. Select a bitmap into it to draw on that bitmap.
NUVEX_PLATFORM_API HDC CreateCompatibleDC(HDC reference);
// Frees a memory DC (surface DCs go through DeleteSurfaceDC, which this also accepts).
NUVEX_PLATFORM_API BOOL DeleteDC(HDC dc);
// Pushes the DC's state (objects, colours, modes, origins, clip); returns the new level or 0.
NUVEX_PLATFORM_API int SaveDC(HDC dc);
// Restores level `saved` (negative: relative to the top, -1 the last save).
NUVEX_PLATFORM_API BOOL RestoreDC(HDC dc, int saved);
NUVEX_PLATFORM_API int GetDeviceCaps(HDC dc, int index);
NUVEX_PLATFORM_API DWORD GetLayout(HDC dc);
NUVEX_PLATFORM_API DWORD SetLayout(HDC dc, DWORD layout);

NUVEX_PLATFORM_API int SetMapMode(HDC dc, int mode);
NUVEX_PLATFORM_API int GetMapMode(HDC dc);
NUVEX_PLATFORM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
NUVEX_PLATFORM_API BOOL GetViewportOrgEx(HDC dc, POINT* origin);
NUVEX_PLATFORM_API BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
NUVEX_PLATFORM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
NUVEX_PLATFORM_API BOOL GetWindowOrgEx(HDC dc, POINT* origin);
NUVEX_PLATFORM_API BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
NUVEX_PLATFORM_API BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
NUVEX_PLATFORM_API BOOL GetWindowExtEx(HDC dc, SIZE* extent);
NUVEX_PLATFORM_API BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
NUVEX_PLATFORM_API BOOL GetViewportExtEx(HDC dc, SIZE* extent);
NUVEX_PLATFORM_API BOOL LPtoDP(HDC dc, POINT* points, int count);
NUVEX_PLATFORM_API BOOL DPtoLP(HDC dc, POINT* points, int count);

// Window-system hooks on surface DCs. The owner tag is any pointer the
// window system wants to find again from a DC (null for memory DCs).
NUVEX_PLATFORM_API void SetDCOwnerTag(HDC dc, void* tag);
NUVEX_PLATFORM_API void* GetDCOwnerTag(HDC dc);
// Points a surface DC at another buffer, origin and clip (a window that moved
// or resized); selected objects and state stay.
NUVEX_PLATFORM_API BOOL RetargetSurfaceDC(HDC dc, const GdiSurface& surface, POINT origin, RECT clip);
// Further restricts a surface DC to `region` (device coordinates relative to
// the DC's origin, as an update region); null lifts the restriction.
NUVEX_PLATFORM_API BOOL SetSurfaceDCVisibleRegion(HDC dc, HRGN region);
// The screen that DCs report through GetDeviceCaps (default 1920x1080, 32 bits).
NUVEX_PLATFORM_API void GdiSetScreenSize(int width, int height);

// ---------------------------------------------------------------------------
// Objects

NUVEX_PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Deletes a pen, brush, font, bitmap or region. An object still selected
// into a DC is freed when it is last deselected; stock objects are kept.
NUVEX_PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
NUVEX_PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID out);
inline int GetObject(HGDIOBJ object, int size, LPVOID out) { return GetObjectA(object, size, out); }
NUVEX_PLATFORM_API DWORD GetObjectType(HGDIOBJ object);
NUVEX_PLATFORM_API HGDIOBJ GetStockObject(int index);
NUVEX_PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// Resets a brush's origin for the next selection; nothing to do here.
NUVEX_PLATFORM_API BOOL UnrealizeObject(HGDIOBJ object);

// Pens and brushes.
NUVEX_PLATFORM_API HPEN CreatePen(int style, int width, COLORREF color);
NUVEX_PLATFORM_API HPEN CreatePenIndirect(const LOGPEN* pen);
NUVEX_PLATFORM_API HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                                     const DWORD* styles);
NUVEX_PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
NUVEX_PLATFORM_API HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// The brush copies the bitmap (at most 8x8 is not required; any size tiles).
NUVEX_PLATFORM_API HBRUSH CreatePatternBrush(HBITMAP pattern);
NUVEX_PLATFORM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
NUVEX_PLATFORM_API BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
NUVEX_PLATFORM_API BOOL GetBrushOrgEx(HDC dc, POINT* origin);
NUVEX_PLATFORM_API COLORREF SetDCBrushColor(HDC dc, COLORREF color);
NUVEX_PLATFORM_API COLORREF GetDCBrushColor(HDC dc);
NUVEX_PLATFORM_API COLORREF SetDCPenColor(HDC dc, COLORREF color);
NUVEX_PLATFORM_API COLORREF GetDCPenColor(HDC dc);

// Bitmaps. Every bitmap is stored as 32-bit BGRA; monochrome bitmaps keep
// their 1-bit nature for blits (black/white against text/background colour).
NUVEX_PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// `bits` rows are word-aligned, top-down, in 1, 4, 8, 16 (5-5-5), 24 or 32
// bits per pixel; 4 and 8-bit values index the default 16/256 colour palette.
NUVEX_PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
NUVEX_PLATFORM_API HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// A 32-bit bitmap whose pixels the caller may write through *bits: rows
// top-down for a negative height, bottom-up for a positive one. Only 32 bits
// per pixel are stored (other formats convert through SetDIBits).
NUVEX_PLATFORM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                            HANDLE section, DWORD offset);
NUVEX_PLATFORM_API HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                          const BITMAPINFO* info, UINT usage);
// Converts `lines` rows of a device-independent image (1/4/8/16/24/32 bits,
// colour table or bit fields after the header) into the bitmap.
NUVEX_PLATFORM_API int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                                 const BITMAPINFO* info, UINT usage);
// Reads rows as 32 or 24-bit pixels (or fills in the header when bits is null).
NUVEX_PLATFORM_API int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
                                 UINT usage);
NUVEX_PLATFORM_API LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
NUVEX_PLATFORM_API LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
NUVEX_PLATFORM_API BOOL GetBitmapDimensionEx(HBITMAP bitmap, SIZE* size);
// The bitmap's own pixel buffer (32-bit BGRA; the stride is negative for a
// bottom-up DIB section); false for a stale handle.
NUVEX_PLATFORM_API BOOL GetBitmapSurface(HBITMAP bitmap, GdiSurface* surface);

// Icons: a colour bitmap and a mask (AND mask: black keeps the image,
// white keeps the destination). A colour bitmap with alpha draws by its alpha
// when the mask is null.
NUVEX_PLATFORM_API HICON CreateIconIndirect(const ICONINFO* info);
NUVEX_PLATFORM_API BOOL GetIconInfo(HICON icon, ICONINFO* info);  // caller deletes the bitmap copies
NUVEX_PLATFORM_API HICON CopyIcon(HICON icon);
NUVEX_PLATFORM_API BOOL DestroyIcon(HICON icon);
NUVEX_PLATFORM_API BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step,
                                   HBRUSH flickerFreeBrush, UINT flags);
NUVEX_PLATFORM_API BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

// Regions (rectangular pieces; round and elliptic regions are made of rows).
NUVEX_PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
NUVEX_PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rect);
NUVEX_PLATFORM_API HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
NUVEX_PLATFORM_API HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
NUVEX_PLATFORM_API HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
NUVEX_PLATFORM_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// Stores a op b in dest (RGN_COPY copies a); returns the kind of the result or ERROR.
NUVEX_PLATFORM_API int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
NUVEX_PLATFORM_API int OffsetRgn(HRGN region, int dx, int dy);
NUVEX_PLATFORM_API int GetRgnBox(HRGN region, RECT* box);
NUVEX_PLATFORM_API BOOL PtInRegion(HRGN region, int x, int y);
NUVEX_PLATFORM_API BOOL RectInRegion(HRGN region, const RECT* rect);
NUVEX_PLATFORM_API BOOL EqualRgn(HRGN a, HRGN b);
NUVEX_PLATFORM_API BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
NUVEX_PLATFORM_API BOOL PaintRgn(HDC dc, HRGN region);
NUVEX_PLATFORM_API BOOL InvertRgn(HDC dc, HRGN region);
NUVEX_PLATFORM_API BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);

// Clipping. Regions given to the DC are in device units of the DC (relative
// to its origin); rectangles in logical units.
NUVEX_PLATFORM_API int SelectClipRgn(HDC dc, HRGN region);
NUVEX_PLATFORM_API int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
// 1 and a copy of the clip region in `region`, 0 when the DC has none, -1 on error.
NUVEX_PLATFORM_API int GetClipRgn(HDC dc, HRGN region);
NUVEX_PLATFORM_API int GetClipBox(HDC dc, RECT* box);
NUVEX_PLATFORM_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
NUVEX_PLATFORM_API int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
NUVEX_PLATFORM_API int OffsetClipRgn(HDC dc, int dx, int dy);
NUVEX_PLATFORM_API BOOL PtVisible(HDC dc, int x, int y);
NUVEX_PLATFORM_API BOOL RectVisible(HDC dc, const RECT* rect);

// ---------------------------------------------------------------------------
// Attributes

NUVEX_PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF color);
NUVEX_PLATFORM_API COLORREF GetTextColor(HDC dc);
NUVEX_PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
NUVEX_PLATFORM_API COLORREF GetBkColor(HDC dc);
NUVEX_PLATFORM_API int SetBkMode(HDC dc, int mode);
NUVEX_PLATFORM_API int GetBkMode(HDC dc);
NUVEX_PLATFORM_API int SetROP2(HDC dc, int rop);
NUVEX_PLATFORM_API int GetROP2(HDC dc);
NUVEX_PLATFORM_API int SetPolyFillMode(HDC dc, int mode);
NUVEX_PLATFORM_API int GetPolyFillMode(HDC dc);
NUVEX_PLATFORM_API int SetStretchBltMode(HDC dc, int mode);
NUVEX_PLATFORM_API int GetStretchBltMode(HDC dc);
// Every DC is true colour: the colour itself (without palette flags).
NUVEX_PLATFORM_API COLORREF GetNearestColor(HDC dc, COLORREF color);

// ---------------------------------------------------------------------------
// Drawing

NUVEX_PLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
NUVEX_PLATFORM_API BOOL GetCurrentPositionEx(HDC dc, POINT* position);
// Draws from the current position to (x, y), excluding (x, y), and moves there.
NUVEX_PLATFORM_API BOOL LineTo(HDC dc, int x, int y);
NUVEX_PLATFORM_API BOOL Polyline(HDC dc, const POINT* points, int count);
NUVEX_PLATFORM_API BOOL PolylineTo(HDC dc, const POINT* points, int count);
NUVEX_PLATFORM_API BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
NUVEX_PLATFORM_API BOOL Polygon(HDC dc, const POINT* points, int count);
NUVEX_PLATFORM_API BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
// Outline with the pen, inside with the brush; right and bottom excluded.
NUVEX_PLATFORM_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
NUVEX_PLATFORM_API BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
NUVEX_PLATFORM_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
NUVEX_PLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
NUVEX_PLATFORM_API int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
NUVEX_PLATFORM_API BOOL InvertRect(HDC dc, const RECT* rect);
NUVEX_PLATFORM_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
NUVEX_PLATFORM_API BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the bitmap or the clip.
NUVEX_PLATFORM_API COLORREF GetPixel(HDC dc, int x, int y);

// Blits. The source may be null for operations that do not read it.
NUVEX_PLATFORM_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
NUVEX_PLATFORM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
NUVEX_PLATFORM_API BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                                   int sourceWidth, int sourceHeight, DWORD rop);
// Copies the source except pixels of colour `transparent`.
NUVEX_PLATFORM_API BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                                       int sourceWidth, int sourceHeight, UINT transparent);
// Source-over blending of premultiplied source pixels (AC_SRC_ALPHA) and a
// constant alpha.
NUVEX_PLATFORM_API BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                                   int sourceWidth, int sourceHeight, BLENDFUNCTION blend);
NUVEX_PLATFORM_API BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, void* mesh,
                                     ULONG meshCount, ULONG mode);

// Fills with a solid colour without touching the DC's brush.
NUVEX_PLATFORM_API void FillSolidRect(HDC dc, const RECT* rect, COLORREF color);
// A one-pixel 3-D frame: top and left in `topLeft`, right and bottom in `bottomRight`.
NUVEX_PLATFORM_API void Draw3dRect(HDC dc, int x, int y, int width, int height, COLORREF topLeft,
                                   COLORREF bottomRight);

#include "platform/gdi/gdiframe.h"
#include "platform/gdi/gdipng.h"
#include "platform/gdi/gditext.h"
