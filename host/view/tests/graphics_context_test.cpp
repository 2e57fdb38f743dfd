// The graphics context: drawing state, refusals outside a paint, the GL
// calls of lines, polylines, matrices and clipped infinite lines.
#include <gtest/gtest.h>

#include "host/view/tests/view_test_support.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/matrix4.h"
#include "objectmodel/polylineset.h"

namespace {

class GraphicsContextTest : public ::testing::Test {
protected:
    RecordingGl gl;
    TestView view{gl};
    CGraphicsContext& context = view.context;
};

TEST_F(GraphicsContextTest, AnswersItsOwnInterfacesOnly)
{
    for (const IID* iid : {&IID_IGraphicsContext, &IID_IUnknown}) {
        ComPtr<IUnknown> answer;
        ASSERT_EQ(context.QueryInterface(*iid, answer.ReceiveVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(answer.Get()), static_cast<IGraphicsContext*>(&context));
    }
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(context.QueryInterface(IID_IVector3, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    // A borrower's extra Release never ends the view's context.
    EXPECT_EQ(context.Release(), 0u);
    uint32_t colour = 1;
    EXPECT_EQ(context.GetColor(&colour), S_OK);
}

TEST_F(GraphicsContextTest, DefaultsAndColour)
{
    uint32_t colour = 7, style = 7, factor = 7;
    int32_t width = 7;
    context.GetColor(&colour);
    context.GetLineStyle(&style, &factor);
    context.GetLineWidth(&width);
    EXPECT_EQ(colour, 0u);
    EXPECT_EQ(style, 0u);
    EXPECT_EQ(factor, 2u);
    EXPECT_EQ(width, 1);
    EXPECT_STREQ(context.Font().lfFaceName, "Times New Roman");
    EXPECT_EQ(context.Font().lfHeight, 10);

    ASSERT_EQ(context.SetColor(0x000000FF), S_OK);
    ASSERT_EQ(context.SetColor(0x00804020), S_OK);
    ExpectGlCalls(gl.calls, {{"Color", {1, 0, 0}}, {"Color", {0x20 / 255.0, 0x40 / 255.0, 0x80 / 255.0}}});
    context.GetColor(&colour);
    EXPECT_EQ(colour, 0x00804020u);
}

TEST_F(GraphicsContextTest, PaintOnlyOperationsRefuseOutsideAPaintAndChangeNothing)
{
    view.painting = false;
    CVector3 a(0, 0, 0), b(1, 1, 0);
    CMatrix4 m;
    const auto set = ComPtr<CPolylineSet>::Share(new CPolylineSet());
    CAttributeSet attributes(1, 5, 3, 0);
    const std::pair<const char*, std::function<HRESULT()>> calls[] = {
        {"SetColor", [&] { return context.SetColor(0xFF); }},
        {"SetColorFromAttributes", [&] { return context.SetColorFromAttributes(&attributes); }},
        {"SetLineStyle", [&] { return context.SetLineStyle(1, 4); }},
        {"SetLineWidth", [&] { return context.SetLineWidth(9); }},
        {"SetLineAttributes", [&] { return context.SetLineAttributes(&attributes); }},
        {"PopMatrix", [&] { return context.PopMatrix(); }},
        {"PushMatrix", [&] { return context.PushMatrix(&m, 1); }},
        {"DrawPolylineSet", [&] { return context.DrawPolylineSet(set.Get()); }},
        {"DrawLine", [&] { return context.DrawLine(&a, &b); }},
        {"MoveTo", [&] { return context.MoveTo(&b); }},
        {"LineTo", [&] { return context.LineTo(&b); }},
        {"ReservedA", [&] { return context.ReservedA(0, 0); }},
        {"ReservedB", [&] { return context.ReservedB(0, 0, 0); }},
        {"DrawString", [&] { return context.DrawString("A", &a, &b, &b, FALSE); }},
        {"StringToPolylines", [&] { return context.StringToPolylines("A", set.Get(), FALSE, nullptr); }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(), E_FAIL);
    }
    EXPECT_TRUE(gl.calls.empty());
    uint32_t colour = 1, style = 1, factor = 1, count = 1;
    int32_t width = 0;
    context.GetColor(&colour);
    context.GetLineStyle(&style, &factor);
    context.GetLineWidth(&width);
    set->GetCount(&count);
    EXPECT_EQ(colour, 0u);
    EXPECT_EQ(style, 0u);
    EXPECT_EQ(factor, 2u);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(context.CurrentPoint(), CVector3(0, 0, 0));
    // The scale and the font are there at any time.
    double scale = 0;
    EXPECT_EQ(context.GetScale(&scale), S_OK);
    EXPECT_DOUBLE_EQ(scale, 1.0);

    view.painting = true;
    EXPECT_EQ(context.ReservedA(0, 0), E_NOTIMPL);
    EXPECT_EQ(context.ReservedB(0, 0, 0), E_NOTIMPL);
}

TEST_F(GraphicsContextTest, LineStylesSetTheStipple)
{
    struct Case {
        uint32_t style, factor;
        std::vector<GlCall> calls;
    };
    const Case cases[] = {
        {0, 1, {{"Disable", {GL_LINE_STIPPLE}}}},
        {1, 3, {{"Enable", {GL_LINE_STIPPLE}}, {"LineStipple", {3, 0x0F0F}}}},
        {2, 3, {{"Enable", {GL_LINE_STIPPLE}}, {"LineStipple", {3, 0x1111}}}},
        {3, 5, {{"Enable", {GL_LINE_STIPPLE}}, {"LineStipple", {5, 0x2727}}}},
        {7, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        gl.calls.clear();
        ASSERT_EQ(context.SetLineStyle(c.style, c.factor), S_OK);
        ExpectGlCalls(gl.calls, c.calls);
        uint32_t style = 0, factor = 0;
        context.GetLineStyle(&style, &factor);
        EXPECT_EQ(style, c.style);
        EXPECT_EQ(factor, c.factor);
    }
}

TEST_F(GraphicsContextTest, LineAttributesComeFromTheSet)
{
    CAttributeSet attributes(2, 3, 4, 0);
    ASSERT_EQ(context.SetLineAttributes(&attributes), S_OK);
    ExpectGlCalls(gl.calls, {{"LineWidth", {3}}, {"Enable", {GL_LINE_STIPPLE}}, {"LineStipple", {4, 0x1111}}});
    int32_t width = 0;
    context.GetLineWidth(&width);
    EXPECT_EQ(width, 3);
}

// An attribute set carries no colour: its line style must never become the
// colour. A colour attachment in its place gives its colour.
TEST_F(GraphicsContextTest, ColourFromAttributesTakesAColourNeverTheLineStyle)
{
    ASSERT_EQ(context.SetColor(0x00112233), S_OK);
    gl.calls.clear();
    CAttributeSet attributes(3, 1, 2, 0);
    EXPECT_EQ(context.SetColorFromAttributes(&attributes), E_NOINTERFACE);
    uint32_t colour = 0;
    context.GetColor(&colour);
    EXPECT_EQ(colour, 0x00112233u);
    EXPECT_TRUE(gl.calls.empty());

    const auto attachment = ComPtr<CCollectionB>::Share(new CCollectionB(0x0000FF00, 0));
    EXPECT_EQ(context.SetColorFromAttributes(reinterpret_cast<IAttributeSet*>(
                  static_cast<IUnknown*>(static_cast<ICollectionB*>(attachment.Get())))),
              S_OK);
    context.GetColor(&colour);
    EXPECT_EQ(colour, 0x0000FF00u);
    ExpectGlCalls(gl.calls, {{"Color", {0, 1, 0}}});
}

TEST_F(GraphicsContextTest, PolylinesDrawByTagAndSkipShortOrUnknownOnes)
{
    const auto set = ComPtr<CPolylineSet>::Share(new CPolylineSet());
    struct Line {
        uint32_t tag;
        int points;
    };
    const Line lines[] = {{1, 2}, {2, 3}, {3, 1}, {0, 3}, {4, 3}, {5, 3}, {6, 3}, {9, 2}, {3, 2}};
    for (const Line& line : lines) {
        set->AddPolyline(0, line.tag);
        uint32_t count = 0;
        set->GetCount(&count);
        for (int p = 0; p < line.points; ++p) {
            set->AddPoint(static_cast<int32_t>(count - 1), p, line.tag, 0.5);
        }
    }
    ASSERT_EQ(context.DrawPolylineSet(set.Get()), S_OK);
    const std::vector<GlCall> begins = gl.Only({"Begin"});
    const double expected[] = {GL_LINES, GL_LINE_STRIP, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_TRIANGLES,
                               GL_LINE_LOOP};
    ASSERT_EQ(begins.size(), std::size(expected));
    for (size_t i = 0; i < begins.size(); ++i) {
        EXPECT_EQ(begins[i].args[0], expected[i]) << i;
    }
    const auto strips = gl.Primitives(GL_LINE_STRIP);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0], (std::vector<CVector3>{CVector3(0, 2, 0.5), CVector3(1, 2, 0.5), CVector3(2, 2, 0.5)}));
}

TEST_F(GraphicsContextTest, MatrixModes)
{
    CMatrix4 m;
    m.SetTranslation(CVector3(0, 0, 0), CVector3(5, 6, 7));
    m(0, 1) = 2.0;
    ASSERT_EQ(context.PushMatrix(&m, 0), S_OK);
    ASSERT_EQ(context.PushMatrix(&m, 1), S_OK);
    ASSERT_EQ(context.PushMatrix(&m, 2), S_OK);
    ASSERT_EQ(context.PopMatrix(), S_OK);
    const std::vector<double> elements = {1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
    ExpectGlCalls(gl.calls, {{"MatrixMode", {GL_MODELVIEW}},
                             {"PushMatrix", {}},
                             {"MatrixMode", {GL_MODELVIEW}},
                             {"PushMatrix", {}},
                             {"LoadMatrix", elements},
                             {"MatrixMode", {GL_MODELVIEW}},
                             {"PushMatrix", {}},
                             {"MultMatrix", elements},
                             {"MatrixMode", {GL_MODELVIEW}},
                             {"PopMatrix", {}}});
}

TEST_F(GraphicsContextTest, RectangleLinesAndTheCurrentPoint)
{
    CVector3 first(0, 0, 0), second(2, 1, 5);
    view.painting = false;
    ASSERT_EQ(context.DrawRectangle(&first, &second, 99), S_OK);
    ExpectGlCalls(gl.calls, {{"Begin", {GL_LINE_LOOP}},
                             {"Vertex", {0, 0, 0}},
                             {"Vertex", {2, 0, 0}},
                             {"Vertex", {2, 1, 5}},
                             {"Vertex", {0, 1, 0}},
                             {"End", {}}});
    view.painting = true;
    gl.calls.clear();
    CVector3 p1(1, 1, 1), p2(2, 2, 2), q(3, 0, 0), r(4, 4, 0);
    ASSERT_EQ(context.DrawLine(&p1, &p2), S_OK);
    ASSERT_EQ(context.LineTo(&q), S_OK);
    ASSERT_EQ(context.MoveTo(&r), S_OK);
    ASSERT_EQ(context.LineTo(&p1), S_OK);
    const auto segments = gl.Primitives(GL_LINES);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0], (std::vector<CVector3>{p1, p2}));
    EXPECT_EQ(segments[1], (std::vector<CVector3>{q, p2}));
    EXPECT_EQ(segments[2], (std::vector<CVector3>{p1, r}));
    EXPECT_EQ(context.CurrentPoint(), p1);
}

// A 200 x 100 view at scale 1: the visible region is x in (-100, 100),
// y in (-50, 50).
TEST_F(GraphicsContextTest, InfiniteLinesAreClippedToTheVisibleRegion)
{
    struct Case {
        const char* name;
        CVector3 point, direction;
        std::vector<CVector3> segment;
    };
    const Case cases[] = {
        {"horizontal", CVector3(3, 10, 0), CVector3(2, 0, 0), {CVector3(-100, 10, 0), CVector3(100, 10, 0)}},
        {"vertical, parallel to left and right", CVector3(10, 0, 0), CVector3(0, -1, 0),
         {CVector3(10, -50, 0), CVector3(10, 50, 0)}},
        {"slanted", CVector3(0, 0, 0), CVector3(1, 1, 0), {CVector3(-50, -50, 0), CVector3(50, 50, 0)}},
        {"missing the region", CVector3(0, 80, 0), CVector3(1, 0, 0), {}},
        {"along the diagonal through the corners", CVector3(0, 0, 0), CVector3(2, 1, 0), {}},
        {"along the view axis", CVector3(0, 0, 0), CVector3(0, 0, 1), {}},
    };
    view.painting = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gl.calls.clear();
        CVector3 point = c.point, direction = c.direction;
        ASSERT_EQ(context.DrawInfiniteLine(&point, &direction), S_OK);
        const auto segments = gl.Primitives(GL_LINES);
        if (c.segment.empty()) {
            EXPECT_TRUE(segments.empty());
            continue;
        }
        ASSERT_EQ(segments.size(), 1u);
        EXPECT_EQ(segments[0], c.segment);
    }
}

}  // namespace
