// The selection's part of the tool layer: highlighted records in phase 1
// at the root, and grip markers at the grip points of selected objects.
#include <gtest/gtest.h>

#include "host/document/host_entity_set.h"
#include "host/view/selection_drawing.h"
#include "host/view/tests/view_test_support.h"
#include "host/view/view_tool_state.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/entity_record.h"

namespace {

// Draws one line and offers two grip points.
class GrippedLine : public CCountedObject<CEntityOperationsNotOffered<IGeometryEntity>, IID_IObjectBase,
                                          IID_IEntityBase, IID_IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override
    {
        CVector3 from(0.0, 0.0, 0.0);
        CVector3 to(10.0, 0.0, 0.0);
        return context->DrawLine(&from, &to);
    }
    HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList* points) override
    {
        CVector3 a(0.0, 0.0, 0.0);
        CVector3 b(10.0, 0.0, 0.0);
        points->Add(&a);
        points->Add(&b);
        return S_OK;
    }
};

TEST(SelectionDrawingTest, SelectedRecordsAndTheirGripsAreDrawnInPhaseOneAtTheRoot)
{
    ViewDocumentFixture fixture;
    RecordingGl gl;
    TestView view(gl);
    IEntityRecord* record = NewHolder(static_cast<IEntityBase*>(new GrippedLine()));
    fixture.document.AddObject(record);
    fixture.document.SelectionHandler().Select(record);
    ViewToolState state;
    state.transform = &view.transform;
    state.graphics = &view.context;
    state.gl = &gl;

    struct Case {
        const char* name;
        int phase;
        bool drawn;
    };
    const Case cases[] = {{"phase 0", 0, false}, {"phase 1", 1, true}, {"phase 2", 2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gl.calls.clear();
        DrawSelection(fixture.document, state, c.phase);
        EXPECT_EQ(gl.Only({"Vertex"}).size(), c.drawn ? 2u : 0u);
        EXPECT_EQ(gl.Only({"Pixels"}).size(), c.drawn ? 2u : 0u);
    }
    gl.calls.clear();
    DrawSelection(fixture.document, state, 1);
    const auto depth = gl.Only({"DepthFunc"});
    ASSERT_EQ(depth.size(), 2u);
    EXPECT_EQ(depth[0].args[0], GL_LEQUAL);
    EXPECT_EQ(depth[1].args[0], GL_LESS);
    const auto pixels = gl.Only({"Pixels"});
    EXPECT_DOUBLE_EQ(pixels[1].args[0], 10.0);
    EXPECT_DOUBLE_EQ(pixels[1].args[3], kGripMarkerOffsetX);
    EXPECT_DOUBLE_EQ(pixels[1].args[4], kGripMarkerOffsetY);

    // While a command runs the selection is not drawn.
    fixture.document.PushLevel(0, nullptr);
    gl.calls.clear();
    DrawSelection(fixture.document, state, 1);
    EXPECT_TRUE(gl.calls.empty());
}

TEST(SelectionDrawingTest, GripMarkersWithoutPicturesAreDrawnByTheView)
{
    const auto& rest = GripMarkerPicture(kGripBitmap);
    const auto& dragged = GripMarkerPicture(kGripDraggedBitmap);
    // A hollow square at rest: edge opaque, centre clear; dragging fills red.
    const size_t centre = static_cast<size_t>((3 * kGripMarkerSide + 3) * 4);
    EXPECT_EQ(rest[3], 255);
    EXPECT_EQ(rest[centre + 3], 0);
    EXPECT_EQ(dragged[centre + 3], 255);
    EXPECT_GT(dragged[centre], 200);
}

} // namespace
