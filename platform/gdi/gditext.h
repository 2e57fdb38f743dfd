// GDI text: fonts from LOGFONTA, metrics, extents, text output, DrawText and
// glyph outlines. Text is 8-bit; bytes 0x80-0x9F read as the Western
// Windows code page, the rest as Latin-1. Faces are found by fontconfig with
// fixed substitutes for the classic dialog and core faces; "Marlett" glyphs
// are drawn by our own code (see gdiframe.h).
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/gdi/logfont.h"

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using TEXTMETRIC = TEXTMETRICA;
using LOGFONT = LOGFONTA;

// 16.16 fixed point: value + fract / 65536.
struct FIXED {
    WORD fract;
    SHORT value;
};
static_assert(sizeof(FIXED) == 4);

struct MAT2 {
    FIXED eM11;
    FIXED eM12;
    FIXED eM21;
    FIXED eM22;
};

struct POINTFX {
    FIXED x;
    FIXED y;
};

struct GLYPHMETRICS {
    UINT gmBlackBoxX;
    UINT gmBlackBoxY;
    POINT gmptGlyphOrigin;
    SHORT gmCellIncX;
    SHORT gmCellIncY;
};

// One contour of a GGO_NATIVE outline: this 16-byte header (cb counts the
// header and all curve records of the contour), then TTPOLYCURVE records.
struct TTPOLYGONHEADER {
    DWORD cb;
    DWORD dwType;
    POINTFX pfxStart;
};
static_assert(sizeof(TTPOLYGONHEADER) == 16);

// A curve record: 4 bytes of type and count, then cpfx points.
struct TTPOLYCURVE {
    WORD wType;
    WORD cpfx;
    POINTFX apfx[1];
};

constexpr DWORD TT_POLYGON_TYPE = 24;
constexpr WORD TT_PRIM_LINE = 1;
constexpr WORD TT_PRIM_QSPLINE = 2;
constexpr WORD TT_PRIM_CSPLINE = 3;

constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_BITMAP = 1;
constexpr UINT GGO_NATIVE = 2;
constexpr UINT GGO_BEZIER = 3;
constexpr UINT GGO_GRAY2_BITMAP = 4;
constexpr UINT GGO_GRAY4_BITMAP = 5;
constexpr UINT GGO_GRAY8_BITMAP = 6;
constexpr UINT GGO_GLYPH_INDEX = 0x0080;
constexpr UINT GGO_UNHINTED = 0x0100;

// Font weights.
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_EXTRALIGHT = 200;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_EXTRABOLD = 800;
constexpr int FW_HEAVY = 900;

// Character sets, precisions, qualities, pitch and family.
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT GDI_TA_ERROR = 0xFFFFFFFFu;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// Fonts.
NUVEX_PLATFORM_API HFONT CreateFontIndirectA(const LOGFONTA* font);
inline HFONT CreateFontIndirect(const LOGFONTA* font) { return CreateFontIndirectA(font); }
NUVEX_PLATFORM_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                                     DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                     DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                                     LPCSTR face);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                        DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                        DWORD quality, DWORD pitchAndFamily, LPCSTR face)
{
    return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                       outPrecision, clipPrecision, quality, pitchAndFamily, face);
}
NUVEX_PLATFORM_API BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICA* metrics) { return GetTextMetricsA(dc, metrics); }
// Length of the face name copied (with its terminator cut to `size`).
NUVEX_PLATFORM_API int GetTextFaceA(HDC dc, int size, LPSTR face);
// The font file that a face name resolves to (after substitution); empty when none.
NUVEX_PLATFORM_API int GdiResolveFontFile(LPCSTR face, int weight, BOOL italic, LPSTR path, int size);

// Text.
NUVEX_PLATFORM_API int SetTextCharacterExtra(HDC dc, int extra);
NUVEX_PLATFORM_API int GetTextCharacterExtra(HDC dc);
NUVEX_PLATFORM_API UINT SetTextAlign(HDC dc, UINT align);
NUVEX_PLATFORM_API UINT GetTextAlign(HDC dc);
NUVEX_PLATFORM_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size)
{
    return GetTextExtentPoint32A(dc, text, length, size);
}
NUVEX_PLATFORM_API BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int length, SIZE* size);
// How many characters fit in maxExtent (when fit is given) and the extent after
// each character (when partial is given).
NUVEX_PLATFORM_API BOOL GetTextExtentExPointA(HDC dc, LPCSTR text, int length, int maxExtent, INT* fit,
                                              INT* partial, SIZE* size);
NUVEX_PLATFORM_API BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, INT* widths);
NUVEX_PLATFORM_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) { return TextOutA(dc, x, y, text, length); }
// `dx` (optional) gives the advance of each character.
NUVEX_PLATFORM_API BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                                    const INT* dx);
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                       const INT* dx)
{
    return ExtTextOutA(dc, x, y, options, rect, text, length, dx);
}
// Height of the text drawn (or measured with DT_CALCRECT); length -1 means
// zero-terminated. 0 on failure.
NUVEX_PLATFORM_API int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format);
inline int DrawText(HDC dc, LPCSTR text, int length, RECT* rect, UINT format)
{
    return DrawTextA(dc, text, length, rect, format);
}

// The outline or metrics of one character of the selected font, transformed
// by `matrix`. With GGO_NATIVE: the size of the outline data when buffer is
// null or size 0, else the data (TTPOLYGONHEADER records with TT_PRIM_LINE
// and TT_PRIM_QSPLINE curves, 16.16 fixed point, y up) and its size.
// `character` is an 8-bit code; a sign-extended byte (0xFFFFFF80 and up)
// reads as the unsigned byte. GDI_ERROR on failure (no font, unknown format,
// buffer too small).
NUVEX_PLATFORM_API DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD size,
                                          LPVOID buffer, const MAT2* matrix);
inline DWORD GetGlyphOutline(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD size, LPVOID buffer,
                             const MAT2* matrix)
{
    return GetGlyphOutlineA(dc, character, format, metrics, size, buffer, matrix);
}
