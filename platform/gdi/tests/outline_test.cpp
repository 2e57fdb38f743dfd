// Glyph outlines: the records are well formed, points lie in the glyph's
// box, contours count as the letters have them, metrics advance.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

namespace {

FIXED ToFixed(double v)
{
    const auto raw = static_cast<int32_t>(v * 65536.0);
    FIXED f;
    f.fract = static_cast<WORD>(raw & 0xFFFF);
    f.value = static_cast<SHORT>(raw >> 16);
    return f;
}

double FromFixed(const FIXED& f) { return f.value + f.fract / 65536.0; }

struct Parsed {
    int contours = 0;
    int lines = 0;
    int splines = 0;
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    bool wellFormed = true;
};

// Walks the records as a reader of the native form does, checking every size.
Parsed Parse(const std::vector<uint8_t>& data)
{
    Parsed p;
    auto see = [&](const POINTFX& pt) {
        const double x = FromFixed(pt.x), y = FromFixed(pt.y);
        p.minX = std::min(p.minX, x);
        p.maxX = std::max(p.maxX, x);
        p.minY = std::min(p.minY, y);
        p.maxY = std::max(p.maxY, y);
    };
    size_t at = 0;
    while (at < data.size()) {
        if (data.size() - at < sizeof(TTPOLYGONHEADER)) return p.wellFormed = false, p;
        TTPOLYGONHEADER h;
        std::memcpy(&h, data.data() + at, sizeof(h));
        if (h.dwType != TT_POLYGON_TYPE || h.cb < sizeof(h) || h.cb > data.size() - at) return p.wellFormed = false, p;
        ++p.contours;
        see(h.pfxStart);
        size_t r = at + sizeof(h);
        while (r < at + h.cb) {
            if (at + h.cb - r < 4) return p.wellFormed = false, p;
            WORD type, count;
            std::memcpy(&type, data.data() + r, 2);
            std::memcpy(&count, data.data() + r + 2, 2);
            if (count == 0 || at + h.cb - r < 4 + 8u * count) return p.wellFormed = false, p;
            if (type == TT_PRIM_LINE) ++p.lines;
            else if (type == TT_PRIM_QSPLINE) ++p.splines;
            else return p.wellFormed = false, p;
            for (WORD i = 0; i < count; ++i) {
                POINTFX pt;
                std::memcpy(&pt, data.data() + r + 4 + 8 * i, 8);
                see(pt);
            }
            r += 4 + 8u * count;
        }
        if (r != at + h.cb) return p.wellFormed = false, p;
        at += h.cb;
    }
    return p;
}

class OutlineFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        LOGFONTA lf{};
        lf.lfHeight = 10;
        std::strcpy(lf.lfFaceName, "Times New Roman");
        m_font = CreateFontIndirectA(&lf);
        m_old = SelectObject(m_canvas.dc(), m_font);
        m_matrix.eM11 = ToFixed(100.0);
        m_matrix.eM12 = ToFixed(0.0);
        m_matrix.eM21 = ToFixed(0.0);
        m_matrix.eM22 = ToFixed(100.0);
    }
    void TearDown() override
    {
        SelectObject(m_canvas.dc(), m_old);
        DeleteObject(m_font);
    }
    // Queries the size, then the data, as callers do.
    std::vector<uint8_t> Outline(UINT character, GLYPHMETRICS* gm)
    {
        const DWORD size = GetGlyphOutlineA(m_canvas.dc(), character, GGO_NATIVE, gm, 0, nullptr, &m_matrix);
        EXPECT_NE(size, GDI_ERROR);
        if (size == GDI_ERROR) return {};
        std::vector<uint8_t> data(size);
        const DWORD written = GetGlyphOutlineA(m_canvas.dc(), character, GGO_NATIVE, gm, size, data.data(), &m_matrix);
        EXPECT_EQ(written, size);
        return data;
    }

    Canvas m_canvas{4, 4};
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
    MAT2 m_matrix{};
};

}  // namespace

TEST_F(OutlineFixture, LettersHaveTheirContours)
{
    struct Case {
        char letter;
        int contours;
        bool hasSplines;
    };
    const Case kCases[] = {{'O', 2, true}, {'l', 1, false}, {'B', 3, true}, {'i', 2, true}, {'8', 3, true}};
    for (const Case& k : kCases) {
        SCOPED_TRACE(std::string(1, k.letter));
        GLYPHMETRICS gm{};
        const std::vector<uint8_t> data = Outline(static_cast<UINT>(k.letter), &gm);
        const Parsed p = Parse(data);
        EXPECT_TRUE(p.wellFormed);
        EXPECT_EQ(p.contours, k.contours);
        if (k.hasSplines) {
            EXPECT_GT(p.splines, 0);
        }
        // Coordinates are the font's pixels times 100, y up from the baseline.
        EXPECT_GT(gm.gmCellIncX, 200);
        EXPECT_LT(gm.gmCellIncX, 1200);
        EXPECT_EQ(gm.gmCellIncY, 0);
        EXPECT_GE(p.minX, gm.gmptGlyphOrigin.x - 1);
        EXPECT_LE(p.maxY, gm.gmptGlyphOrigin.y + 1);
        EXPECT_GT(p.maxY, 300);
        EXPECT_LT(p.maxY, 1000);
    }
}

TEST_F(OutlineFixture, SpaceHasNoContoursButAdvances)
{
    GLYPHMETRICS gm{};
    EXPECT_EQ(GetGlyphOutlineA(m_canvas.dc(), ' ', GGO_NATIVE, &gm, 0, nullptr, &m_matrix), 0u);
    EXPECT_GT(gm.gmCellIncX, 100);
}

TEST_F(OutlineFixture, SignExtendedBytesReadAsUnsigned)
{
    GLYPHMETRICS a{}, b{};
    const char eAcute = '\xE9';
    const std::vector<uint8_t> signedData = Outline(static_cast<UINT>(static_cast<int>(eAcute)), &a);
    const std::vector<uint8_t> unsignedData = Outline(0xE9, &b);
    EXPECT_FALSE(signedData.empty());
    EXPECT_EQ(signedData, unsignedData);
    EXPECT_EQ(Parse(signedData).contours, 3);  // the letter (outside and eye) and its accent
}

TEST_F(OutlineFixture, MetricsAloneAndErrors)
{
    GLYPHMETRICS gm{};
    EXPECT_NE(GetGlyphOutlineA(m_canvas.dc(), 'W', GGO_METRICS, &gm, 0, nullptr, &m_matrix), GDI_ERROR);
    EXPECT_GT(gm.gmBlackBoxX, 300u);
    EXPECT_EQ(GetGlyphOutlineA(m_canvas.dc(), 'W', GGO_NATIVE, &gm, 0, nullptr, nullptr), GDI_ERROR);
    std::vector<uint8_t> tooSmall(8);
    EXPECT_EQ(GetGlyphOutlineA(m_canvas.dc(), 'W', GGO_NATIVE, &gm, 8, tooSmall.data(), &m_matrix), GDI_ERROR);
    EXPECT_EQ(GetGlyphOutlineA(m_canvas.dc(), 0x1234, GGO_NATIVE, &gm, 0, nullptr, &m_matrix), GDI_ERROR);
}

TEST_F(OutlineFixture, MatrixScalesTheOutline)
{
    GLYPHMETRICS big{}, small{};
    const Parsed p100 = Parse(Outline('H', &big));
    m_matrix.eM11 = ToFixed(1.0);
    m_matrix.eM22 = ToFixed(1.0);
    const Parsed p1 = Parse(Outline('H', &small));
    EXPECT_NEAR(p100.maxX / 100.0, p1.maxX, 0.01);
    EXPECT_NEAR(p100.maxY / 100.0, p1.maxY, 0.01);
    EXPECT_NEAR(big.gmCellIncX / 100.0, small.gmCellIncX, 1.0);
}
