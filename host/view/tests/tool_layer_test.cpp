// The tool layer's phases: snap markers, the selection box and the
// sketch-plane square, recorded through the GL seam.
#include <gtest/gtest.h>

#include "host/view/snap_markers.h"
#include "host/view/tests/test_segment.h"
#include "host/view/tests/view_test_support.h"
#include "host/view/tool_layer.h"
#include "host/view/view_tool_state.h"

namespace {

class ToolLayerTest : public ::testing::Test {
protected:
    ToolLayerTest()
    {
        view.transform.SetClientSize(400, 400);
        Aim(100, 100);
        state.transform = &view.transform;
        state.graphics = &view.context;
        state.gl = &gl;
        // The root level takes points here, as a command's level would.
        document.Level(0).inputKinds[static_cast<size_t>(ModifierTable::Plain)] = 0x200002;
    }
    void Aim(int x, int y)
    {
        view.transform.ReadViewOrientation(document);
        view.transform.SetCursorClient(POINT{200 + x, 200 - y});
        view.Update();
    }
    void Snap(int x, int y)
    {
        Aim(x, y);
        tools.Evaluator().Evaluate(view.transform, CPoint2(x, y), 1);
    }
    // The Pixels calls as (x, y, z, width).
    std::vector<std::vector<double>> Pictures() const
    {
        std::vector<std::vector<double>> pictures;
        for (const GlCall& call : gl.Only({"Pixels"})) {
            EXPECT_DOUBLE_EQ(call.args[3], -2.0);
            EXPECT_DOUBLE_EQ(call.args[4], -2.0);
            pictures.push_back({call.args[0], call.args[1], call.args[2], call.args[5]});
        }
        return pictures;
    }

    ViewDocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    RecordingGl gl;
    TestView view{gl};
    ViewToolState state;
    CDocumentTools tools{document};
};

TEST_F(ToolLayerTest, MarkersOfASnappedEndPoint)
{
    document.AddObject(NewHolder(static_cast<ILine*>(new TestSegment(CVector3(105, 100, 0), CVector3(200, 100, 0)))));
    Snap(100, 100);
    ASSERT_EQ(document.SnapEngine().ResultKind(), kSnapEndPoint);
    // A recent centre gets its plus; the origin never does.
    document.SnapEngine().AddRecentPoint(CVector3(50, 40, 0), kSnapCentre, 0);
    // Phase 0: no shown tracking line yet (none took part), the centre.
    DrawSnapMarkers(document, state, 0, 1);
    EXPECT_EQ(Pictures(), (std::vector<std::vector<double>>{{50, 40, 0, 7}}));
    gl.calls.clear();
    DrawSnapMarkers(document, state, 1, 1);
    EXPECT_TRUE(gl.calls.empty());
    DrawSnapMarkers(document, state, 2, 1);
    EXPECT_EQ(Pictures(), (std::vector<std::vector<double>>{{105, 100, 0, 8}}));

    // Back near the point: a tracking line through it takes part and is
    // drawn with its base marker.
    Snap(105, 130);
    ASSERT_NE(document.SnapEngine().ResultKind(), 0u);
    gl.calls.clear();
    DrawSnapMarkers(document, state, 0, 1);
    const auto pictures = Pictures();
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(pictures[0], (std::vector<double>{105, 100, 0, 8}));
    EXPECT_FALSE(gl.Primitives(GL_LINES).empty());
}

TEST_F(ToolLayerTest, MarkersNeedPointInputAndNoBox)
{
    document.SnapEngine().AddRecentPoint(CVector3(50, 40, 0), kSnapCentre, 0);
    struct Case {
        const char* name;
        uint32_t inputKinds;
        BOOL boxStarted;
        bool centreSwitch;
        bool drawn;
    };
    const Case cases[] = {
        {"point input", 0x200002, FALSE, true, true},
        {"picking only", 0x20004, FALSE, true, false},
        {"box being dragged", 0x200002, TRUE, true, false},
        {"centres switched off", 0x200002, FALSE, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gl.calls.clear();
        document.Level(0).inputKinds[static_cast<size_t>(ModifierTable::Plain)] = c.inputKinds;
        state.boxStarted = c.boxStarted;
        SetByte(document, kOsnapCenterPointVariable, c.centreSwitch ? 1 : 0);
        DrawSnapMarkers(document, state, 0, 1);
        EXPECT_EQ(Pictures().size(), c.drawn ? 1u : 0u);
    }
}

TEST_F(ToolLayerTest, PicturesAndCursorGlyphs)
{
    EXPECT_EQ(CursorGlyphsOf(kSnapCentre | kSnapEndPoint | kSnapOrigin | kSnapMidPoint | kSnapIntersection |
                             kSnapNearest),
              (std::vector<int>{kGlyphOrigin, kGlyphEndPoint, kGlyphMidPoint, kGlyphIntersection, kGlyphCentre}));
    EXPECT_TRUE(CursorGlyphsOf(kSnapNearest).empty());
    const SnapPicture& end = SnapBitmap(kGlyphEndPoint);
    ASSERT_EQ(end.width, 16);
    EXPECT_EQ(end.At(14, 1), 0xFF0000u);   // the red block, upper right
    EXPECT_EQ(end.At(0, 15), 0x000000u);   // the diagonal's lower end
    EXPECT_EQ(end.At(0, 0), 0xFFFFFFu);    // white, left out when drawn
    EXPECT_EQ(end.rgba[3], 0);
    EXPECT_EQ(end.BottomUp()[4 * 0 + 3], 255);  // bottom row first: the black pixel
    EXPECT_EQ(SnapBitmap(kMarkerCentre).width, 7);
    EXPECT_EQ(SnapBitmap(kMarkerResult).At(2, 0), 0xFF00FFu);
    EXPECT_EQ(SnapBitmap(999).width, 0);
}

TEST_F(ToolLayerTest, SelectionAndZoomBoxes)
{
    state.clickPoint = POINT{-20, 30};
    Aim(40, -10);
    tools.Picker().DrawSelectionBox(state, 2, 1);
    EXPECT_TRUE(gl.calls.empty()) << "no box started";
    state.boxStarted = TRUE;
    tools.Picker().DrawSelectionBox(state, 0, 1);
    EXPECT_TRUE(gl.calls.empty()) << "phase 0";
    tools.Picker().DrawSelectionBox(state, 2, 1);
    ExpectGlCalls(gl.calls, {{"Color", {1, 0, 0}},
                             {"LineWidth", {1}},
                             {"DepthFunc", {GL_ALWAYS}},
                             {"Begin", {GL_LINE_LOOP}},
                             {"Vertex", {-20, 30, 0}},
                             {"Vertex", {40, 30, 0}},
                             {"Vertex", {40, -10, 0}},
                             {"Vertex", {-20, -10, 0}},
                             {"End", {}},
                             {"DepthFunc", {GL_LESS}}});
    gl.calls.clear();
    state.zoomWindow = TRUE;
    tools.Picker().DrawSelectionBox(state, 2, 1);
    ExpectGlCalls({gl.calls[0]}, {{"Color", {0, 0, 1}}});
}

TEST_F(ToolLayerTest, SketchPlaneSquare)
{
    tools.Draw(state, 2, 1);
    // 400 pixels: 5 cells of 80; 4 across (7/8 of the width), half of 4 is
    // 2 cells, so corners at 160. Lifted 0.3 and 0.6 pixels below the plane.
    ExpectGlCalls(gl.calls, {{"Disable", {GL_LINE_STIPPLE}},
                             {"Disable", {GL_LIGHTING}},
                             {"Color", {0.2, 0.75, 0.75}},
                             {"LineWidth", {0.1f}},
                             {"Begin", {GL_LINE_LOOP}},
                             {"Vertex", {160, 160, -0.3}},
                             {"Vertex", {160, -160, -0.3}},
                             {"Vertex", {-160, -160, -0.3}},
                             {"Vertex", {-160, 160, -0.3}},
                             {"End", {}},
                             {"Enable", {GL_BLEND}},
                             {"Enable", {GL_COLOR_MATERIAL}},
                             {"BlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}},
                             {"ColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}},
                             {"Color4", {1.0, 0.97, 0.93, 0.65}},
                             {"Begin", {GL_TRIANGLE_STRIP}},
                             {"Vertex", {160, 160, -0.6}},
                             {"Vertex", {160, -160, -0.6}},
                             {"Vertex", {-160, 160, -0.6}},
                             {"Vertex", {-160, -160, -0.6}},
                             {"End", {}},
                             {"ColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}},
                             {"Disable", {GL_BLEND}}});
}

TEST_F(ToolLayerTest, SketchPlaneSquareEdgeCases)
{
    struct Case {
        const char* name;
        int width, height;
        bool sideView;
        uint32_t options;
        std::vector<CVector3> outline;  // empty: no square
    };
    const Case cases[] = {
        {"narrower than a cell: a point", 60, 400, false, 0x33,
         {CVector3(0, 0, -0.3), CVector3(0, 0, -0.3), CVector3(0, 0, -0.3), CVector3(0, 0, -0.3)}},
        {"odd count of cells: 3 high, one cell each way", 400, 240, false, 0x33,
         {CVector3(80, 80, -0.3), CVector3(80, -80, -0.3), CVector3(-80, -80, -0.3), CVector3(-80, 80, -0.3)}},
        {"looking along the plane", 400, 400, true, 0x33, {}},
        {"level without the square", 400, 400, false, 0x23, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gl.calls.clear();
        SetDouble(document, kViewDirectionVariable + 1, c.sideView ? 1.0 : 0.0);
        SetDouble(document, kViewDirectionVariable + 2, c.sideView ? 0.0 : -1.0);
        document.Level(0).options[static_cast<size_t>(ModifierTable::Plain)] = c.options;
        view.transform.SetClientSize(c.width, c.height);
        Aim(0, 0);
        tools.Draw(state, 2, 1);
        const auto loops = gl.Primitives(GL_LINE_LOOP);
        if (c.outline.empty()) {
            EXPECT_TRUE(loops.empty());
            continue;
        }
        ASSERT_EQ(loops.size(), 1u);
        EXPECT_EQ(loops[0], c.outline);
    }
}

}  // namespace
