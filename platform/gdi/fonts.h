// Realised fonts: a LOGFONTA turned into a FreeType face at a pixel size,
// with the text metrics, 8-bit character mapping and a cache of aliased
// glyph images. Faces are found through fontconfig after our fixed
// substitutions; the "Marlett" face has no file and is drawn by our code.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/objects.h"

struct FT_FaceRec_;

namespace gdi {

// One glyph as a one-bit coverage image placed relative to the pen on the baseline.
struct GlyphImage {
    int left = 0;  // pen x to the image's left column
    int top = 0;   // baseline to the image's top row, upwards
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;  // rows * width, 1 = ink
};

class FontFace {
public:
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const TEXTMETRICA& Metrics() const { return m_metrics; }
    const std::string& FaceName() const { return m_faceName; }
    bool IsMarlett() const { return m_marlett; }
    int Ppem() const { return m_ppem; }
    int UnderlinePosition() const { return m_underlinePosition; }  // below the baseline, pixels
    int UnderlineThickness() const { return m_underlineThickness; }
    bool Underline() const { return m_underline; }
    bool StrikeOut() const { return m_strikeOut; }
    int Escapement() const { return m_escapement; }  // tenths of a degree
    bool SynthBold() const { return m_synthBold; }
    bool SynthItalic() const { return m_synthItalic; }

    // The glyph of an 8-bit character.
    const GlyphImage& Glyph(uint8_t character);
    int Advance(uint8_t character) { return Glyph(character).advance; }

    // Outline access for glyph outlines: null for Marlett or a face without outlines.
    FT_FaceRec_* Face() const { return m_face; }
    // Sets the face's size for outline work (faces are shared, sizes are per use).
    void ApplySize() const;
    // The Unicode character an 8-bit code stands for.
    static uint32_t CodePoint(uint8_t character);

    friend std::shared_ptr<FontFace> Realize(const LOGFONTA& log);

private:
    FontFace() = default;
    void RenderGlyph(uint8_t character, GlyphImage& out);

    FT_FaceRec_* m_face = nullptr;
    bool m_marlett = false;
    bool m_synthBold = false;
    bool m_synthItalic = false;
    bool m_underline = false;
    bool m_strikeOut = false;
    int m_escapement = 0;
    int m_ppem = 0;
    int m_widthPpem = 0;
    int m_underlinePosition = 1;
    int m_underlineThickness = 1;
    std::string m_faceName;
    TEXTMETRICA m_metrics{};
    bool m_cached[256] = {};
    GlyphImage m_glyphs[256];
};

// The realised face of a LOGFONTA (shared by equal descriptions).
std::shared_ptr<FontFace> Realize(const LOGFONTA& log);
// The DC's font, realised (the system font when none is selected).
FontFace* CurrentFace(Dc* dc);

// The family fontconfig is asked for after our substitutions.
std::string SubstituteFamily(const std::string& face);
bool IsMarlettFace(const std::string& face);

}  // namespace gdi
