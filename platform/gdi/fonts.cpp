// Font realisation: face lookup through fontconfig with the fixed
// substitutes, sizes from LOGFONTA heights, text metrics from the face's
// tables, and aliased glyph images from FreeType.
#include "platform/gdi/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <strings.h>

namespace gdi {
namespace {

// Cell height of a font whose LOGFONTA height is 0.
constexpr int kDefaultCellHeight = 16;
// Heights beyond this many pixels are refused (outlines stay in 16.16 range).
constexpr int kMaxPpem = 2000;

FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) return static_cast<FT_Library>(nullptr);
        return lib;
    }();
    return library;
}

struct Substitute {
    const char* face;
    const char* family;
};

// Faces the system's dialogs and drawings name, and the installed families
// that stand in for them.
constexpr Substitute kSubstitutes[] = {
    {"MS Sans Serif", "DejaVu Sans"},
    {"MS Shell Dlg", "DejaVu Sans"},
    {"MS Shell Dlg 2", "DejaVu Sans"},
    {"Tahoma", "DejaVu Sans"},
    {"System", "DejaVu Sans"},
    {"Segoe UI", "DejaVu Sans"},
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Fixedsys", "Liberation Mono"},
    {"Terminal", "Liberation Mono"},
};

// fontconfig's configuration, released at exit so that leak checkers stay quiet.
bool InitFontconfig()
{
    static const bool ready = [] {
        if (!FcInit()) return false;
        std::atexit([] { FcFini(); });
        return true;
    }();
    return ready;
}

// File lookup through fontconfig, remembered per family and style.
std::string FindFontFile(const std::string& family, bool bold, bool italic)
{
    static auto& cache = *new std::map<std::string, std::string>;  // kept through process exit
    const std::string key = family + (bold ? "|b" : "|r") + (italic ? "i" : "u");
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::string path;
    if (InitFontconfig()) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        if (match) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
                path = reinterpret_cast<const char*>(file);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    cache[key] = path;
    return path;
}

std::string Key(const LOGFONTA& log)
{
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, log.lfFaceName, LF_FACESIZE);
    std::string key(name);
    key += '|' + std::to_string(log.lfHeight) + '|' + std::to_string(log.lfWidth) + '|' +
           std::to_string(log.lfWeight) + '|' + std::to_string(log.lfItalic) + std::to_string(log.lfUnderline) +
           std::to_string(log.lfStrikeOut) + '|' + std::to_string(log.lfEscapement);
    return key;
}

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

bool IsMarlettFace(const std::string& face) { return strcasecmp(face.c_str(), "Marlett") == 0; }

std::string SubstituteFamily(const std::string& face)
{
    if (face.empty()) return "DejaVu Sans";
    for (const Substitute& s : kSubstitutes) {
        if (strcasecmp(face.c_str(), s.face) == 0) return s.family;
    }
    return face;
}

uint32_t FontFace::CodePoint(uint8_t c)
{
    // 0x80-0x9F follow the Western Windows code page; the rest is Latin-1.
    static const uint16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (c >= 0x80 && c < 0xA0) return kHigh[c - 0x80];
    return c;
}

FontFace::~FontFace()
{
    if (m_face) FT_Done_Face(m_face);
}

void FontFace::ApplySize() const
{
    if (m_face) FT_Set_Pixel_Sizes(m_face, static_cast<FT_UInt>(m_widthPpem), static_cast<FT_UInt>(m_ppem));
}

std::shared_ptr<FontFace> Realize(const LOGFONTA& log)
{
    static auto& cache = *new std::map<std::string, std::shared_ptr<FontFace>>;  // kept through process exit
    const std::string key = Key(log);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;

    std::shared_ptr<FontFace> face(new FontFace);
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, log.lfFaceName, LF_FACESIZE);
    face->m_faceName = name[0] ? name : "MS Shell Dlg";
    face->m_underline = log.lfUnderline != 0;
    face->m_strikeOut = log.lfStrikeOut != 0;
    face->m_escapement = log.lfEscapement;
    const bool bold = log.lfWeight >= FW_SEMIBOLD;
    const bool italic = log.lfItalic != 0;
    TEXTMETRICA& tm = face->m_metrics;
    tm.tmWeight = log.lfWeight == FW_DONTCARE ? FW_NORMAL : log.lfWeight;
    tm.tmItalic = italic ? 1 : 0;
    tm.tmUnderlined = face->m_underline ? 1 : 0;
    tm.tmStruckOut = face->m_strikeOut ? 1 : 0;
    tm.tmCharSet = log.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : log.lfCharSet;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmPitchAndFamily = TMPF_TRUETYPE | TMPF_VECTOR;

    const int requested = std::min(std::abs(log.lfHeight), kMaxPpem);
    if (IsMarlettFace(face->m_faceName)) {
        // Our own glyphs: square cells of the requested size.
        face->m_marlett = true;
        const int cell = log.lfHeight == 0 ? kDefaultCellHeight : std::max(1, requested);
        face->m_ppem = cell;
        face->m_widthPpem = cell;
        tm.tmCharSet = SYMBOL_CHARSET;
        tm.tmHeight = cell;
        tm.tmAscent = cell - cell / 5;
        tm.tmDescent = cell / 5;
        tm.tmAveCharWidth = cell;
        tm.tmMaxCharWidth = cell;
        tm.tmPitchAndFamily |= FF_DECORATIVE;
        cache[key] = face;
        return face;
    }

    const std::string family = SubstituteFamily(face->m_faceName);
    const std::string path = FindFontFile(family, bold, italic);
    FT_Face ftFace = nullptr;
    if (path.empty() || !Library() || FT_New_Face(Library(), path.c_str(), 0, &ftFace) != 0) return nullptr;
    face->m_face = ftFace;
    face->m_synthBold = bold && !(ftFace->style_flags & FT_STYLE_FLAG_BOLD);
    face->m_synthItalic = italic && !(ftFace->style_flags & FT_STYLE_FLAG_ITALIC);

    // Windows-style vertical metrics from the OS/2 table, falling back to hhea.
    const double unitsPerEm = ftFace->units_per_EM ? ftFace->units_per_EM : 2048;
    double winAscent = ftFace->ascender;
    double winDescent = -ftFace->descender;
    double avgWidth = 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
        avgWidth = os2->xAvgCharWidth;
    }
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_HHEA));
    int ppem = 0;
    if (log.lfHeight < 0) {
        ppem = requested;  // character height
    } else {
        const int cell = log.lfHeight == 0 ? kDefaultCellHeight : requested;
        ppem = RoundToInt(cell * unitsPerEm / (winAscent + winDescent));
    }
    ppem = std::clamp(ppem, 1, kMaxPpem);
    const double scale = ppem / unitsPerEm;
    face->m_ppem = ppem;
    face->m_widthPpem = ppem;
    if (log.lfWidth > 0 && avgWidth > 0) {
        face->m_widthPpem = std::clamp(RoundToInt(ppem * log.lfWidth / (avgWidth * scale)), 1, kMaxPpem);
    }
    const double xScale = face->m_widthPpem / unitsPerEm;
    tm.tmAscent = RoundToInt(winAscent * scale);
    tm.tmDescent = RoundToInt(winDescent * scale);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - ppem);
    if (hhea) {
        const double lineGap = hhea->Ascender - hhea->Descender + hhea->Line_Gap - (winAscent + winDescent);
        tm.tmExternalLeading = std::max(0, RoundToInt(lineGap * scale));
    }
    tm.tmMaxCharWidth = RoundToInt(ftFace->max_advance_width * xScale);
    if (FT_IS_FIXED_WIDTH(ftFace)) {
        tm.tmPitchAndFamily |= FF_MODERN;  // the low bit clear means fixed pitch
    } else {
        tm.tmPitchAndFamily |= TMPF_FIXED_PITCH | FF_SWISS;
    }
    face->ApplySize();
    if (avgWidth > 0) {
        tm.tmAveCharWidth = std::max(1, RoundToInt(avgWidth * xScale));
    } else {
        tm.tmAveCharWidth = std::max(1, face->Advance('x'));
    }
    if (face->m_synthBold) tm.tmOverhang = 0;
    face->m_underlinePosition = std::max(1, RoundToInt(-ftFace->underline_position * scale));
    face->m_underlineThickness = std::max(1, RoundToInt(ftFace->underline_thickness * scale));
    cache[key] = face;
    return face;
}

const GlyphImage& FontFace::Glyph(uint8_t character)
{
    if (!m_cached[character]) {
        RenderGlyph(character, m_glyphs[character]);
        m_cached[character] = true;
    }
    return m_glyphs[character];
}

void FontFace::RenderGlyph(uint8_t character, GlyphImage& out)
{
    out = GlyphImage{};
    if (m_marlett) {
        out.advance = m_ppem;
        return;  // drawn by the Marlett painter
    }
    if (!m_face) return;
    ApplySize();
    FT_Face f = m_face;
    FT_UInt index = FT_Get_Char_Index(f, CodePoint(character));
    if (index == 0 && character >= 0x20) index = FT_Get_Char_Index(f, '?');
    if (FT_Load_Glyph(f, index, FT_LOAD_TARGET_MONO) != 0) return;
    if (m_synthItalic && f->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
        FT_Outline_Transform(&f->glyph->outline, &shear);
    }
    if (m_synthBold) FT_GlyphSlot_Embolden(f->glyph);
    out.advance = static_cast<int>((f->glyph->advance.x + 32) >> 6);
    if (character < 0x20) return;  // control characters have no ink
    if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_MONO) != 0) return;
    const FT_Bitmap& bitmap = f->glyph->bitmap;
    out.left = f->glyph->bitmap_left;
    out.top = f->glyph->bitmap_top;
    out.width = static_cast<int>(bitmap.width);
    out.rows = static_cast<int>(bitmap.rows);
    out.coverage.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.rows), 0);
    for (int y = 0; y < out.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < out.width; ++x) {
            out.coverage[static_cast<size_t>(y * out.width + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
}

FontFace* CurrentFace(Dc* dc)
{
    Font* font = dc->state.font ? dc->state.font : StockFont(SYSTEM_FONT);
    if (!font->face) font->face = Realize(font->log);
    if (!font->face) {
        // A face that cannot be loaded falls back to the dialog face at the same height.
        LOGFONTA fallback = font->log;
        std::memset(fallback.lfFaceName, 0, LF_FACESIZE);
        font->face = Realize(fallback);
    }
    return font->face.get();
}

}  // namespace gdi

using namespace gdi;

HFONT CreateFontIndirectA(const LOGFONTA* log)
{
    if (!log) return nullptr;
    auto* font = new Font;
    font->log = *log;
    font->log.lfFaceName[LF_FACESIZE - 1] = '\0';
    Register(font);
    return HandleOf<HFONT>(font);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face)
{
    LOGFONTA log{};
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = static_cast<BYTE>(italic);
    log.lfUnderline = static_cast<BYTE>(underline);
    log.lfStrikeOut = static_cast<BYTE>(strikeOut);
    log.lfCharSet = static_cast<BYTE>(charSet);
    log.lfOutPrecision = static_cast<BYTE>(outPrecision);
    log.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    log.lfQuality = static_cast<BYTE>(quality);
    log.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) std::strncpy(log.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&log);
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* metrics)
{
    Dc* dc = AsDc(handle);
    if (!dc || !metrics) return FALSE;
    FontFace* face = CurrentFace(dc);
    if (!face) return FALSE;
    *metrics = face->Metrics();
    return TRUE;
}

int GetTextFaceA(HDC handle, int size, LPSTR out)
{
    Dc* dc = AsDc(handle);
    if (!dc) return 0;
    FontFace* face = CurrentFace(dc);
    if (!face) return 0;
    const std::string& name = face->FaceName();
    if (!out) return static_cast<int>(name.size()) + 1;
    if (size <= 0) return 0;
    const size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, name.data(), n);
    out[n] = '\0';
    return static_cast<int>(n);
}

int GdiResolveFontFile(LPCSTR face, int weight, BOOL italic, LPSTR path, int size)
{
    const std::string name = face ? face : "";
    if (IsMarlettFace(name)) return 0;
    const std::string file = FindFontFile(SubstituteFamily(name), weight >= FW_SEMIBOLD, italic != 0);
    if (!path || size <= 0) return static_cast<int>(file.size());
    const size_t n = std::min(file.size(), static_cast<size_t>(size - 1));
    std::memcpy(path, file.data(), n);
    path[n] = '\0';
    return static_cast<int>(n);
}
