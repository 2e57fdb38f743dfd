// Fonts and text: face substitution, metrics, extents, text output,
// alignment, background modes, DrawText formats. Checks are tolerant of
// glyph shapes: extents plausible, ink inside the expected box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/tests/pixel_canvas.h"

using namespace gdi_test;

namespace {

// A font selected into a DC for the scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, const char* face, int height, int weight = FW_NORMAL) : m_dc(dc)
    {
        m_font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        m_old = SelectObject(dc, m_font);
    }
    ~SelectedFont()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

std::string FileOf(const char* face, int weight = FW_NORMAL)
{
    char path[512] = {};
    GdiResolveFontFile(face, weight, FALSE, path, sizeof(path));
    return path;
}

}  // namespace

TEST(GdiFonts, FacesResolveToTheirSubstitutes)
{
    struct Case {
        const char* face;
        const char* fileContains;
    };
    const Case kCases[] = {
        {"MS Sans Serif", "DejaVuSans"}, {"MS Shell Dlg", "DejaVuSans"},    {"Tahoma", "DejaVuSans"},
        {"Arial", "LiberationSans"},     {"Times New Roman", "LiberationSerif"}, {"Courier New", "LiberationMono"},
        {"", "DejaVuSans"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.face);
        EXPECT_NE(FileOf(k.face).find(k.fileContains), std::string::npos) << FileOf(k.face);
    }
    EXPECT_NE(FileOf("Arial", FW_BOLD).find("Bold"), std::string::npos);
    EXPECT_EQ(GdiResolveFontFile("Marlett", FW_NORMAL, FALSE, nullptr, 0), 0);
}

TEST(GdiFonts, MetricsFollowTheRequestedHeight)
{
    Canvas c(4, 4);
    {
        // Negative heights give the character height, positive the cell height.
        SelectedFont f(c.dc(), "Arial", -20);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GT(tm.tmAveCharWidth, 5);
        EXPECT_LT(tm.tmAveCharWidth, 15);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        EXPECT_EQ(tm.tmWeight, FW_NORMAL);
        EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH);  // set means variable pitch
    }
    {
        SelectedFont f(c.dc(), "Times New Roman", 30, FW_BOLD);
        TEXTMETRICA tm{};
        GetTextMetricsA(c.dc(), &tm);
        EXPECT_NEAR(tm.tmHeight, 30, 1);
        EXPECT_EQ(tm.tmWeight, FW_BOLD);
        char face[LF_FACESIZE] = {};
        EXPECT_EQ(GetTextFaceA(c.dc(), sizeof(face), face), 15);
        EXPECT_STREQ(face, "Times New Roman");
    }
    {
        SelectedFont f(c.dc(), "Courier New", -13);
        TEXTMETRICA tm{};
        GetTextMetricsA(c.dc(), &tm);
        EXPECT_FALSE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH);
        SIZE a{}, b{};
        GetTextExtentPoint32A(c.dc(), "iiii", 4, &a);
        GetTextExtentPoint32A(c.dc(), "WWWW", 4, &b);
        EXPECT_EQ(a.cx, b.cx);
    }
}

TEST(GdiText, ExtentsAddUpAndCountSpacing)
{
    Canvas c(4, 4);
    SelectedFont f(c.dc(), "MS Shell Dlg", -11);
    SIZE whole{}, left{}, right{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), "Hello, world", 12, &whole));
    GetTextExtentPoint32A(c.dc(), "Hello,", 6, &left);
    GetTextExtentPoint32A(c.dc(), " world", 6, &right);
    EXPECT_EQ(whole.cx, left.cx + right.cx);
    EXPECT_GT(whole.cx, 40);
    EXPECT_LT(whole.cx, 120);
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc(), &tm);
    EXPECT_EQ(whole.cy, tm.tmHeight);
    SetTextCharacterExtra(c.dc(), 2);
    SIZE spaced{};
    GetTextExtentPoint32A(c.dc(), "Hello, world", 12, &spaced);
    EXPECT_EQ(spaced.cx, whole.cx + 24);
    SIZE empty{};
    EXPECT_TRUE(GetTextExtentPoint32A(c.dc(), "", 0, &empty));
    EXPECT_EQ(empty.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc(), nullptr, 3, &empty));
    INT fit = 0;
    INT partial[12] = {};
    SetTextCharacterExtra(c.dc(), 0);
    GetTextExtentExPointA(c.dc(), "Hello, world", 12, left.cx, &fit, partial, &whole);
    EXPECT_EQ(fit, 6);
    EXPECT_EQ(partial[5], left.cx);
}

TEST(GdiText, HighBytesDrawAsLatinCharacters)
{
    Canvas c(4, 4);
    SelectedFont f(c.dc(), "Arial", -16);
    SIZE e{}, plain{};
    GetTextExtentPoint32A(c.dc(), "\xE9", 1, &e);  // e acute
    GetTextExtentPoint32A(c.dc(), "e", 1, &plain);
    EXPECT_EQ(e.cx, plain.cx);
    SIZE euro{};
    GetTextExtentPoint32A(c.dc(), "\x80", 1, &euro);  // the euro sign of the Western code page
    EXPECT_GT(euro.cx, 0);
}

TEST(GdiText, TextOutInksInsideItsCellWithTheAlignment)
{
    struct Case {
        const char* name;
        UINT align;
        POINT at;
    };
    // Each places the same text cell at (20, 10)-(20 + width, 10 + height).
    Canvas probe(4, 4);
    SIZE extent{};
    TEXTMETRICA tm{};
    {
        SelectedFont f(probe.dc(), "Arial", -16);
        GetTextExtentPoint32A(probe.dc(), "Wag", 3, &extent);
        GetTextMetricsA(probe.dc(), &tm);
    }
    const Case kCases[] = {
        {"left_top", TA_LEFT | TA_TOP, {20, 10}},
        {"right_top", TA_RIGHT | TA_TOP, {20 + extent.cx, 10}},
        {"center_baseline", TA_CENTER | TA_BASELINE, {20 + extent.cx / 2, 10 + tm.tmAscent}},
        {"left_bottom", TA_LEFT | TA_BOTTOM, {20, 10 + tm.tmHeight}},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Canvas c(80, 40);
        SelectedFont f(c.dc(), "Arial", -16);
        SetBkMode(c.dc(), TRANSPARENT);
        SetTextAlign(c.dc(), k.align);
        ASSERT_TRUE(TextOutA(c.dc(), k.at.x, k.at.y, "Wag", 3));
        const RECT ink = c.InkBox(kWhite);
        EXPECT_GE(ink.left, 20 - 1);
        EXPECT_LE(ink.right, 20 + extent.cx + 1);
        EXPECT_GE(ink.top, 10);
        EXPECT_LE(ink.bottom, 10 + tm.tmHeight);
        EXPECT_GT(c.CountAll(kBlack), 20);
        EXPECT_EQ(c.CountNot(kWhite), c.CountAll(kBlack));  // aliased: only text colour
    }
}

TEST(GdiText, OpaqueBackgroundFillsTheCell)
{
    Canvas c(60, 30);
    SelectedFont f(c.dc(), "Arial", -14);
    SetBkColor(c.dc(), kGreen);
    SetTextColor(c.dc(), kBlue);
    TextOutA(c.dc(), 5, 5, "Ab", 2);
    SIZE e{};
    GetTextExtentPoint32A(c.dc(), "Ab", 2, &e);
    EXPECT_EQ(c.Count({5, 5, 5 + e.cx, 5 + e.cy}, kGreen) + c.Count({5, 5, 5 + e.cx, 5 + e.cy}, kBlue), e.cx * e.cy);
    EXPECT_GT(c.CountAll(kBlue), 10);
    EXPECT_EQ(c.InkBox(kWhite).left, 5);
}

TEST(GdiText, ExtTextOutOpaqueAndClippedRectangle)
{
    Canvas c(60, 30);
    SelectedFont f(c.dc(), "Arial", -20);
    SetBkColor(c.dc(), kRed);
    const RECT box{10, 5, 22, 25};
    ASSERT_TRUE(ExtTextOutA(c.dc(), 8, 5, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWW", 4, nullptr));
    const RECT ink = c.InkBox(kWhite);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 5);
    EXPECT_EQ(ink.right, 22);
    EXPECT_EQ(ink.bottom, 25);
    EXPECT_GT(c.Count(box, kBlack), 5);
}

TEST(GdiText, UpdateCurrentPositionMovesAlong)
{
    Canvas c(100, 30);
    SelectedFont f(c.dc(), "Arial", -14);
    SetTextAlign(c.dc(), TA_UPDATECP);
    MoveToEx(c.dc(), 5, 5, nullptr);
    TextOutA(c.dc(), 0, 0, "abc", 3);
    SIZE e{};
    GetTextExtentPoint32A(c.dc(), "abc", 3, &e);
    POINT p{};
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 5 + e.cx);
    EXPECT_EQ(p.y, 5);
}

TEST(GdiDrawText, AlignmentAndCalcRect)
{
    Canvas c(120, 40);
    SelectedFont f(c.dc(), "MS Sans Serif", -11);
    SetBkMode(c.dc(), TRANSPARENT);
    SIZE e{};
    GetTextExtentPoint32A(c.dc(), "Menu", 4, &e);
    RECT calc{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(c.dc(), "Menu", -1, &calc, DT_CALCRECT | DT_SINGLELINE), e.cy);
    EXPECT_EQ(calc.right, e.cx);
    EXPECT_EQ(calc.bottom, e.cy);
    EXPECT_EQ(c.CountNot(kWhite), 0);  // measuring draws nothing

    struct Case {
        const char* name;
        UINT format;
        int expectedLeft;  // of the text cell
        int expectedTop;
    };
    const Case kCases[] = {
        {"left_top", DT_LEFT | DT_TOP | DT_SINGLELINE, 10, 0},
        {"right", DT_RIGHT | DT_SINGLELINE, 110 - e.cx, 0},
        {"center_vcenter", DT_CENTER | DT_VCENTER | DT_SINGLELINE, 10 + (100 - e.cx) / 2, (40 - e.cy) / 2},
        {"bottom", DT_BOTTOM | DT_SINGLELINE, 10, 40 - e.cy},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        c.Clear(kWhite);
        RECT r{10, 0, 110, 40};
        DrawTextA(c.dc(), "Menu", 4, &r, k.format);
        const RECT ink = c.InkBox(kWhite);
        EXPECT_GE(ink.left, k.expectedLeft);
        EXPECT_LE(ink.right, k.expectedLeft + e.cx + 1);
        EXPECT_GE(ink.top, k.expectedTop);
        EXPECT_LE(ink.bottom, k.expectedTop + e.cy);
    }
}

TEST(GdiDrawText, PrefixUnderlinesAndNoPrefixShowsAmpersand)
{
    Canvas c(100, 30);
    SelectedFont f(c.dc(), "MS Sans Serif", -11);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 100, 30};
    DrawTextA(c.dc(), "&File", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SIZE file{};
    GetTextExtentPoint32A(c.dc(), "File", 4, &file);
    EXPECT_EQ(r.right, file.cx);  // the '&' takes no room

    r = {0, 0, 100, 30};
    DrawTextA(c.dc(), "&File", -1, &r, DT_SINGLELINE);
    const int withUnderline = c.CountAll(kBlack);
    c.Clear(kWhite);
    DrawTextA(c.dc(), "&File", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    const int hidden = c.CountAll(kBlack);
    SIZE f1{};
    GetTextExtentPoint32A(c.dc(), "F", 1, &f1);
    EXPECT_EQ(withUnderline - hidden, f1.cx);  // a one-pixel line under the 'F'

    r = {0, 0, 100, 30};
    DrawTextA(c.dc(), "A&&B", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SIZE amp{};
    GetTextExtentPoint32A(c.dc(), "A&B", 3, &amp);
    EXPECT_EQ(r.right, amp.cx);
    r = {0, 0, 100, 30};
    DrawTextA(c.dc(), "A&B", -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(r.right, amp.cx);
}

TEST(GdiDrawText, WordBreakLinesAndEllipsis)
{
    Canvas c(200, 200);
    SelectedFont f(c.dc(), "Arial", -12);
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc(), &tm);
    SIZE word{};
    GetTextExtentPoint32A(c.dc(), "alpha beta", 10, &word);
    RECT r{0, 0, word.cx + 2, 0};
    const int height = DrawTextA(c.dc(), "alpha beta gamma delta", -1, &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 3 * tm.tmHeight);
    EXPECT_LE(r.right, word.cx + 2);

    RECT lines{0, 0, 200, 0};
    EXPECT_EQ(DrawTextA(c.dc(), "one\ntwo\r\nthree", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
    RECT single{0, 0, 200, 0};
    EXPECT_EQ(DrawTextA(c.dc(), "one\ntwo", -1, &single, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);

    SIZE dots{};
    GetTextExtentPoint32A(c.dc(), "...", 3, &dots);
    RECT narrow{0, 0, dots.cx + 20, 0};
    DrawTextA(c.dc(), "a rather long caption", -1, &narrow, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(narrow.right, dots.cx + 20);
    EXPECT_GE(narrow.right, dots.cx);

    RECT tabs{0, 0, 200, 0};
    DrawTextA(c.dc(), "a\tb", -1, &tabs, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_GE(tabs.right, 8 * tm.tmAveCharWidth);
}

TEST(GdiDrawText, ClipsToTheRectangleUnlessNoClip)
{
    Canvas c(100, 30);
    SelectedFont f(c.dc(), "Arial", -16);
    RECT r{10, 5, 20, 25};
    SetBkMode(c.dc(), TRANSPARENT);
    DrawTextA(c.dc(), "WWWWWW", -1, &r, DT_SINGLELINE);
    EXPECT_LE(c.InkBox(kWhite).right, 20);
    DrawTextA(c.dc(), "WWWWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(c.InkBox(kWhite).right, 40);
}

TEST(GdiText, MarlettGlyphsAreDrawnByOurselves)
{
    Canvas c(40, 20);
    SelectedFont f(c.dc(), "Marlett", -13);
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc(), &tm);
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutA(c.dc(), 0, 0, "a", 1);  // check mark
    const RECT ink = c.InkBox(kWhite);
    EXPECT_GT(c.CountAll(kBlack), 10);
    EXPECT_GE(ink.left, 0);
    EXPECT_LE(ink.right, 13);
    EXPECT_LE(ink.bottom, tm.tmHeight);
}
