// Ellipses, arcs and text of the graphics context.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "host/view/tests/view_test_support.h"
#include "objectmodel/polylineset.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr double kPi = std::numbers::pi;

class CurveTest : public ::testing::Test {
protected:
    RecordingGl gl;
    TestView view{gl};
    CGraphicsContext& context = view.context;

    std::vector<CVector3> OnlyStrip()
    {
        const auto strips = gl.Primitives(GL_LINE_STRIP);
        EXPECT_EQ(strips.size(), 1u);
        return strips.empty() ? std::vector<CVector3>{} : strips[0];
    }
};

TEST_F(CurveTest, StepsFollowTheRadiusOnScreen)
{
    struct Case {
        double radius, scale;
        int steps;
    };
    const Case cases[] = {{100, 1, 39}, {1, 1, 3}, {1, 100, 39}, {0.01, 1, 0}, {0, 1, 0}, {-5, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.radius) + " at " + std::to_string(c.scale));
        EXPECT_EQ(CGraphicsContext::CurveSteps(c.radius, c.scale), c.steps);
    }
}

TEST_F(CurveTest, EllipseIsAClosedStripOnTheCurve)
{
    view.transform.SetScale(2.0);
    CVector3 centre(1, 2, 3), normal(0, 0, 1), axis(1, 0, 0);
    CReal r1(50.0), r2(20.0);
    ASSERT_EQ(context.DrawEllipse(&centre, &normal, &axis, &r1, &r2), S_OK);
    const auto strip = OnlyStrip();
    // 100 pixels of radius: 39 steps around.
    ASSERT_GE(strip.size(), 40u);
    EXPECT_LE(strip.size(), 41u);
    EXPECT_EQ(strip.front(), CVector3(51, 2, 3));
    EXPECT_EQ(strip.back(), strip.front());
    for (const CVector3& p : strip) {
        const double u = (p.x.GetValue() - 1) / 50.0, v = (p.y.GetValue() - 2) / 20.0;
        EXPECT_NEAR(u * u + v * v, 1.0, 1e-9);
        EXPECT_DOUBLE_EQ(p.z.GetValue(), 3.0);
    }
    // The second point is one step of 2 pi / 39 around.
    EXPECT_NEAR(strip[1].x.GetValue(), 1 + 50 * std::cos(2 * kPi / 39), 1e-9);
    EXPECT_NEAR(strip[1].y.GetValue(), 2 + 20 * std::sin(2 * kPi / 39), 1e-9);
}

TEST_F(CurveTest, ArcsRunCounterClockwiseAboutTheirNormal)
{
    struct Case {
        const char* name;
        CVector3 normal, end;
        double sweep;  // expected angle covered
        bool drawn;
        CVector3 last;
    };
    const Case cases[] = {
        {"quarter", CVector3(0, 0, 1), CVector3(0, 5, 0), kPi / 2, true, CVector3(0, 1, 0)},
        {"three quarters about -z", CVector3(0, 0, -1), CVector3(0, 5, 0), 3 * kPi / 2, true, CVector3(0, 1, 0)},
        {"full circle, end on the start ray", CVector3(0, 0, 1), CVector3(3, 0, 0), 2 * kPi, true, CVector3(1, 0, 0)},
        {"end at the centre", CVector3(0, 0, 1), CVector3(0, 0, 0), 0, false, CVector3()},
    };
    view.transform.SetScale(100.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gl.calls.clear();
        CVector3 centre(0, 0, 0), normal = c.normal, start(1, 0, 0), end = c.end;
        ASSERT_EQ(context.DrawArc(&centre, &normal, &start, &end), S_OK);
        if (!c.drawn) {
            EXPECT_TRUE(gl.calls.empty());
            continue;
        }
        const auto strip = OnlyStrip();
        ASSERT_GE(strip.size(), 3u);
        EXPECT_EQ(strip.front(), CVector3(1, 0, 0));
        EXPECT_EQ(strip.back(), c.last);
        // Every point on the unit circle; the angle grows about the normal
        // and never passes the sweep.
        double previous = 0;
        for (size_t i = 1; i + 1 < strip.size(); ++i) {
            const CVector3& p = strip[i];
            EXPECT_NEAR(p.Length().GetValue(), 1.0, 1e-9);
            double angle = std::atan2(p.y.GetValue(), p.x.GetValue()) * (c.normal.z.GetValue() > 0 ? 1 : -1);
            if (angle < 0) angle += 2 * kPi;
            // A full circle comes back to its start.
            if (angle < previous - kPi) angle += 2 * kPi;
            EXPECT_GT(angle, previous);
            EXPECT_LE(angle, c.sweep + 1e-9);
            previous = angle;
        }
    }
}

TEST_F(CurveTest, TinyArcIsItsChord)
{
    view.transform.SetScale(1e-3);
    CVector3 centre(0, 0, 0), normal(0, 0, 1), start(1, 0, 0), end(0, 1, 0);
    ASSERT_EQ(context.DrawArc(&centre, &normal, &start, &end), S_OK);
    EXPECT_EQ(OnlyStrip(), (std::vector<CVector3>{CVector3(1, 0, 0), CVector3(0, 1, 0)}));
}

// Text needs a device context with the font: a memory DC stands for the
// paint's.
class TextTest : public CurveTest {
protected:
    void SetUp() override { view.dc = CreateCompatibleDC(nullptr); }
    void TearDown() override { DeleteDC(view.dc); }

    struct Result {
        std::vector<uint32_t> tags;
        std::vector<uint32_t> ends;
        std::vector<std::vector<CVector3>> polylines;
    };
    Result Polylines(const char* text, BOOL filled)
    {
        const auto set = ComPtr<CPolylineSet>::Share(new CPolylineSet());
        Result result;
        result.ends.assign(std::strlen(text), 0xFFFFFFFF);
        EXPECT_EQ(context.StringToPolylines(text, set.Get(), filled, result.ends.data()), S_OK);
        uint32_t count = 0;
        set->GetCount(&count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t tag = 0, points = 0;
            set->GetTag(static_cast<int32_t>(i), &tag);
            set->GetPointCount(static_cast<int32_t>(i), &points);
            result.tags.push_back(tag);
            result.polylines.emplace_back();
            for (uint32_t p = 0; p < points; ++p) {
                double x, y, z;
                set->GetPoint(static_cast<int32_t>(i), static_cast<int32_t>(p), &x, &y, &z);
                result.polylines.back().push_back(CVector3(x, y, z));
            }
        }
        return result;
    }
};

TEST_F(TextTest, HollowLettersGiveOneLoopPerContour)
{
    struct Case {
        const char* text;
        std::vector<uint32_t> ends;
    };
    const Case cases[] = {{"O", {2}}, {"l", {1}}, {"Ol", {2, 3}}, {" l", {0, 1}}, {"B", {3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Result result = Polylines(c.text, FALSE);
        EXPECT_EQ(result.ends, c.ends);
        EXPECT_EQ(result.tags, std::vector<uint32_t>(c.ends.back(), 3u));
    }
}

TEST_F(TextTest, TheSpaceAdvancesThePen)
{
    const Result alone = Polylines("l", FALSE);
    const Result shifted = Polylines(" l", FALSE);
    ASSERT_EQ(alone.polylines.size(), 1u);
    ASSERT_EQ(shifted.polylines.size(), 1u);
    ASSERT_EQ(alone.polylines[0].size(), shifted.polylines[0].size());
    const double dx = shifted.polylines[0][0].x.GetValue() - alone.polylines[0][0].x.GetValue();
    EXPECT_GT(dx, 0.5);
    for (size_t i = 0; i < alone.polylines[0].size(); ++i) {
        EXPECT_NEAR(shifted.polylines[0][i].x.GetValue() - alone.polylines[0][i].x.GetValue(), dx, 1e-9);
        EXPECT_NEAR(shifted.polylines[0][i].y.GetValue(), alone.polylines[0][i].y.GetValue(), 1e-9);
    }
}

// Bytes from 0x80 up are the characters 128-255 of the font, not negative
// codes: their outline is the glyph of the unsigned code.
TEST_F(TextTest, HighBytesAreUnsignedCharacterCodes)
{
    const Result accented = Polylines("\xC9", FALSE);  // E with acute
    const Result plain = Polylines("E", FALSE);
    ASSERT_FALSE(accented.polylines.empty());
    EXPECT_GT(accented.polylines.size(), plain.polylines.size());
    EXPECT_EQ(accented.ends, std::vector<uint32_t>{static_cast<uint32_t>(accented.polylines.size())});
}

// A font far too large for the outline's fixed-point range has no outlines:
// every glyph is skipped, nothing is appended and the call still succeeds.
TEST_F(TextTest, GlyphsWithoutAnOutlineAreSkipped)
{
    LOGFONTA font = context.Font();
    font.lfHeight = 30000;
    context.SetFont(&font);
    const Result result = Polylines("AB", FALSE);
    EXPECT_TRUE(result.polylines.empty());
    EXPECT_EQ(result.ends, (std::vector<uint32_t>{0, 0}));
}

TEST_F(TextTest, FilledTextIsTrianglesInTheTextPlane)
{
    const Result result = Polylines("O", TRUE);
    ASSERT_FALSE(result.tags.empty());
    double area = 0;
    for (size_t i = 0; i < result.tags.size(); ++i) {
        EXPECT_TRUE(result.tags[i] == 4 || result.tags[i] == 5 || result.tags[i] == 6) << result.tags[i];
        for (const CVector3& p : result.polylines[i]) {
            EXPECT_DOUBLE_EQ(p.z.GetValue(), 0.0);
        }
        if (result.tags[i] == 6) {
            const auto& t = result.polylines[i];
            for (size_t k = 0; k + 2 < t.size(); k += 3) {
                area += std::abs((t[k + 1] - t[k]).Cross(t[k + 2] - t[k]).z.GetValue()) / 2;
            }
        }
    }
    EXPECT_GT(area, 0.0);
    EXPECT_EQ(result.ends.back(), result.tags.size());
}

// Two contours crossing each other need new vertices where they cross.
TEST_F(TextTest, SelfIntersectingOutlinesAreTessellated)
{
    // A bow-tie contour: four points whose edges cross at (1, 1).
    const double points[][2] = {{0, 0}, {2, 2}, {2, 0}, {0, 2}};
    std::vector<BYTE> data(16 + 4 + 8 * 3);
    auto fixed = [](double v) {
        const auto raw = static_cast<int32_t>(v * kGlyphOutlineMagnification * 65536.0);
        return raw;
    };
    const uint32_t cb = static_cast<uint32_t>(data.size()), type = TT_POLYGON_TYPE;
    std::memcpy(&data[0], &cb, 4);
    std::memcpy(&data[4], &type, 4);
    int32_t start[2] = {fixed(points[0][0]), fixed(points[0][1])};
    std::memcpy(&data[8], start, 8);
    const uint16_t line = TT_PRIM_LINE, pointCount = 3;
    std::memcpy(&data[16], &line, 2);
    std::memcpy(&data[18], &pointCount, 2);
    for (int i = 0; i < 3; ++i) {
        int32_t p[2] = {fixed(points[i + 1][0]), fixed(points[i + 1][1])};
        std::memcpy(&data[20 + 8 * i], p, 8);
    }
    const GlyphContours glyph =
        CGraphicsContext::ParseGlyphOutline(data.data(), data.size(), CVector3(0, 0, 0), 1.0, 30.0);
    ASSERT_EQ(glyph.lengths, std::vector<int32_t>{4});
    EXPECT_EQ(glyph.points[1], CVector3(2, 2, 0));

    const auto set = ComPtr<CPolylineSet>::Share(new CPolylineSet());
    CGraphicsContext::AppendGlyphTriangles(glyph, set.Get());
    double area = 0;
    bool crossing = false;
    uint32_t count = 0;
    set->GetCount(&count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t points = 0, tag = 0;
        set->GetTag(static_cast<int32_t>(i), &tag);
        set->GetPointCount(static_cast<int32_t>(i), &points);
        std::vector<CVector3> t;
        for (uint32_t p = 0; p < points; ++p) {
            double x, y, z;
            set->GetPoint(static_cast<int32_t>(i), static_cast<int32_t>(p), &x, &y, &z);
            t.push_back(CVector3(x, y, z));
            crossing = crossing || t.back() == CVector3(1, 1, 0);
        }
        // Fans and strips of one triangle read as triangles too.
        if (t.size() == 3 || tag == 6) {
            for (size_t k = 0; k + 2 < t.size(); k += 3) {
                area += std::abs((t[k + 1] - t[k]).Cross(t[k + 2] - t[k]).z.GetValue()) / 2;
            }
        }
    }
    EXPECT_TRUE(crossing);
    EXPECT_NEAR(area, 2.0, 1e-9);
}

TEST_F(TextTest, DrawnTextSitsInItsFrame)
{
    CVector3 origin(10, 20, 30), baseline(10, 25, 30), normal(0, 0, 2);
    ASSERT_EQ(context.DrawString("O", &origin, &baseline, &normal, TRUE), S_OK);
    ASSERT_FALSE(gl.calls.empty());
    EXPECT_EQ(gl.calls[0].name, "MatrixMode");
    EXPECT_EQ(gl.calls[1].name, "PushMatrix");
    // x along +y, y along -x, z up, origin in the translation row.
    ExpectGlCalls({gl.calls[2]}, {{"MultMatrix", {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1}}});
    EXPECT_EQ(gl.calls.back().name, "PopMatrix");
    EXPECT_FALSE(gl.Primitives(GL_TRIANGLES).empty() && gl.Primitives(GL_TRIANGLE_STRIP).empty() &&
                 gl.Primitives(GL_TRIANGLE_FAN).empty());
    // The filled letter's edges: line width 1, then both contours as loops.
    EXPECT_EQ(gl.Primitives(GL_LINE_LOOP).size(), 2u);
    ExpectGlCalls(gl.Only({"LineWidth"}), {{"LineWidth", {1}}});

    gl.calls.clear();
    ASSERT_EQ(context.DrawString("O", &origin, &baseline, &normal, FALSE), S_OK);
    EXPECT_EQ(gl.Primitives(GL_LINE_LOOP).size(), 2u);
    EXPECT_TRUE(gl.Primitives(GL_TRIANGLES).empty());
    EXPECT_TRUE(gl.Only({"LineWidth"}).empty());
}

}  // namespace
