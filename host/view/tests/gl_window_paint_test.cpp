// The OpenGL window's paint through a recorder: the order of the scene's
// phases and the OpenGL state around them, the projection it loads, and
// that every way out restores the previous context and frees its own.
#include <gtest/gtest.h>

#include "host/document/tests/document_test_support.h"
#include "host/view/gl_window_paint.h"
#include "host/view/tests/gl_recorder.h"
#include "objectmodel/entity_defaults.h"

namespace {

// Logs the scene's calls into the recorder's log, so that they interleave
// with the OpenGL calls.
class LoggingScene : public IPaintScene {
public:
    explicit LoggingScene(std::vector<std::string>& log) : m_log(log) {}
    void DrawToolLayer(int32_t phase, int32_t kind) override
    {
        m_log.push_back("tools " + std::to_string(phase) + " kind " + std::to_string(kind));
    }
    void DrawObjects() override { m_log.push_back("objects"); }
    void DrawCommandObjects() override { m_log.push_back("command objects"); }
    void DrawPreview() override { m_log.push_back("preview"); }

private:
    std::vector<std::string>& m_log;
};

struct PaintFixture {
    PaintFixture()
    {
        view.clientWidth = 400;
        view.clientHeight = 200;
        view.background = 0x3366FF;
        view.scale = 2.0;
        view.translation(3, 0) = CReal(5.0);
        view.translation(3, 1) = CReal(-7.0);
        view.orientation.SetRotationZ(CReal(0.5));
    }
    PaintOutcome Paint(int32_t kind = 1) { return PaintGLWindow(setup, window, view, scene, kind); }

    GLRecorder gl;
    CViewGLContext setup{gl};
    HWND window = reinterpret_cast<HWND>(0x99);
    PaintViewState view;
    LoggingScene scene{gl.log};
};

TEST(GLWindowPaintTest, DrawsThePhasesInOrderWithTheirDepthFunctions)
{
    PaintFixture f;
    EXPECT_EQ(f.Paint(2), PaintOutcome::Drawn);
    const std::vector<std::string> expected = {
        "GetCurrentDC",
        "GetCurrentContext",
        "GetDC",
        "ChoosePixelFormat dc size 40 version 1 flags 0x25 type 0 colour 24 depth 32",
        "SetPixelFormat dc 7",
        "CreateContext dc",
        "MakeCurrent dc rc",
        "ClearColor 0 0 0 0",
        "ClearDepth 1",
        "Enable DEPTH_TEST",
        "Viewport 0 0 400 200",
        "MatrixMode PROJECTION",
        "LoadIdentity",
        "MatrixMode MODELVIEW",
        "LoadIdentity",
        "ClearColor 1 0.4 0.2 0",
        "Clear COLOR|DEPTH",
        "GetIntegerv MATRIX_MODE",
        "MatrixMode PROJECTION",
        "LoadMatrixd",
        "MultMatrixd",
        "MultMatrixd",
        "MultMatrixd",
        "MatrixMode MODELVIEW",
        "LoadIdentity",
        "Enable LIGHTING",
        "LightModelf LIGHT_MODEL_TWO_SIDE 1",
        "LightModelf LIGHT_MODEL_LOCAL_VIEWER 1",
        "LightModelfv LIGHT_MODEL_AMBIENT 0.2 0.2 0.2 1",
        "Enable LIGHT0",
        "Lightfv LIGHT0 AMBIENT 0.4 0.4 0.4 1",
        "Lightfv LIGHT0 DIFFUSE 0.7 0.7 0.7 1",
        "Lightfv LIGHT0 POSITION 0.348155 0.348155 0.870388 0",
        "Enable COLOR_MATERIAL",
        "LoadMatrixd",
        "Enable DEPTH_TEST",
        "DepthFunc LESS",
        "tools 0 kind 2",
        "DepthFunc LEQUAL",
        "objects",
        "DepthFunc LESS",
        "tools 1 kind 2",
        "DepthFunc LEQUAL",
        "command objects",
        "DepthFunc LESS",
        "DepthFunc LEQUAL",
        "preview",
        "DepthFunc LESS",
        "tools 2 kind 2",
        "Disable LINE_STIPPLE",
        "MatrixMode TEXTURE",
        "Finish",
        "SwapBuffers dc",
        "MakeCurrent old-dc old-rc",
        "DeleteContext rc",
        "ReleaseDC dc",
    };
    EXPECT_EQ(f.gl.log, expected);
    EXPECT_EQ(f.setup.GetRenderingContext(), nullptr);
    EXPECT_EQ(f.setup.GetDeviceContext(), nullptr);
    EXPECT_EQ(f.setup.GetViewportWidth(), 400);
    EXPECT_EQ(f.setup.GetViewportHeight(), 200);
}

TEST(GLWindowPaintTest, LoadsTheViewsProjectionAndOrientationAsRowVectorMatrices)
{
    PaintFixture f;
    f.Paint();
    ASSERT_EQ(f.gl.matrices.size(), 5u);
    // Projection scale: diag(1, width / height, 0.005, 1), kept in the view.
    const std::vector<double> projection = {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0.005, 0, 0, 0, 0, 1};
    EXPECT_EQ(f.gl.matrices[0], projection);
    EXPECT_TRUE(Exactly(f.view.projectionScale(1, 1).GetValue(), 2.0));
    // Pixels to clip space: 2 * scale / width on the first three diagonal places.
    const std::vector<double> toClip = {0.01, 0, 0, 0, 0, 0.01, 0, 0, 0, 0, 0.01, 0, 0, 0, 0, 1};
    EXPECT_EQ(f.gl.matrices[1], toClip);
    // The pan in row 3, then the depth flip, then the orientation.
    const std::vector<double> pan = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, -7, 0, 1};
    EXPECT_EQ(f.gl.matrices[2], pan);
    const std::vector<double> flip = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    EXPECT_EQ(f.gl.matrices[3], flip);
    double orientation[16];
    CopyMatrixToGL(f.view.orientation, orientation);
    EXPECT_EQ(f.gl.matrices[4], std::vector<double>(orientation, orientation + 16));
    EXPECT_NEAR(orientation[1], std::sin(0.5), 1e-15);
}

TEST(GLWindowPaintTest, EveryFailureRestoresThePreviousContextAndFreesItsOwn)
{
    struct Case {
        const char* name;
        void (*arrange)(GLRecorder&);
        PaintOutcome outcome;
        bool drew;
        std::vector<std::string> tail;
    };
    const Case cases[] = {
        {"swap fails", [](GLRecorder& gl) { gl.failSwap = true; }, PaintOutcome::SwapFailed, true,
         {"SwapBuffers dc", "MakeCurrent old-dc old-rc", "DeleteContext rc", "ReleaseDC dc"}},
        {"no device context", [](GLRecorder& gl) { gl.failGetDC = true; }, PaintOutcome::NoContext, false,
         {"GetDC", "MakeCurrent old-dc old-rc"}},
        {"no pixel format", [](GLRecorder& gl) { gl.failChoose = true; }, PaintOutcome::NoContext, false,
         {"MakeCurrent old-dc old-rc", "ReleaseDC dc"}},
        {"no rendering context", [](GLRecorder& gl) { gl.failCreate = true; }, PaintOutcome::NoContext, false,
         {"CreateContext dc", "MakeCurrent old-dc old-rc", "ReleaseDC dc"}},
        {"context cannot be made current", [](GLRecorder& gl) { gl.failMakeCurrent = true; },
         PaintOutcome::NoContext, false,
         {"MakeCurrent dc rc", "DeleteContext rc", "MakeCurrent old-dc old-rc", "ReleaseDC dc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaintFixture f;
        c.arrange(f.gl);
        EXPECT_EQ(f.Paint(), c.outcome);
        ASSERT_GE(f.gl.log.size(), c.tail.size());
        const std::vector<std::string> tail(f.gl.log.end() - static_cast<std::ptrdiff_t>(c.tail.size()),
                                            f.gl.log.end());
        EXPECT_EQ(tail, c.tail);
        EXPECT_EQ(f.gl.Only({"objects"}).empty(), !c.drew);
        EXPECT_EQ(f.setup.GetRenderingContext(), nullptr);
    }
}

TEST(GLWindowPaintTest, AnEmptyClientAreaClearsAndDrawsNothing)
{
    PaintFixture f;
    f.view.clientHeight = 0;
    EXPECT_EQ(f.Paint(), PaintOutcome::Drawn);
    EXPECT_TRUE(f.gl.Only({"tools", "objects", "LoadMatrixd", "Viewport"}).empty());
    EXPECT_FALSE(f.gl.Only({"Clear COLOR|DEPTH"}).empty());
}

TEST(ViewGLContextTest, DestroyKeepsAContextThatCouldNotBeDeleted)
{
    GLRecorder gl;
    CViewGLContext setup(gl);
    // Without a context only the fields are cleared.
    setup.DestroyGLContext();
    EXPECT_TRUE(gl.log.empty());
    ASSERT_TRUE(setup.CreateGLContext(gl.windowDC));
    gl.failDelete = true;
    setup.DestroyGLContext();
    EXPECT_EQ(setup.GetRenderingContext(), gl.newContext);
    EXPECT_EQ(setup.GetDeviceContext(), gl.windowDC);
    gl.failDelete = false;
    setup.DestroyGLContext();
    EXPECT_EQ(setup.GetRenderingContext(), nullptr);
    EXPECT_FALSE(setup.CreateGLContext(nullptr));
}

TEST(ModifierKindTest, CtrlWinsOverShift)
{
    EXPECT_EQ(ModifierKindOf(false, false), 1);
    EXPECT_EQ(ModifierKindOf(true, false), 4);
    EXPECT_EQ(ModifierKindOf(false, true), 2);
    EXPECT_EQ(ModifierKindOf(true, true), 2);
}

TEST(ExpandColors444Test, DoublesEveryBitAndMarksOnlyWhite)
{
    const uint16_t in[] = {0x0FFF, 0x0001, 0x0F00, 0xF000, 0x0842, 0xFFFF};
    uint32_t out[6] = {};
    ExpandColors444(out, in, 6);
    EXPECT_EQ(out[0], 0xFFFFFFFFu);
    EXPECT_EQ(out[1], 0x00000003u);
    EXPECT_EQ(out[2], 0x00FF0000u);
    EXPECT_EQ(out[3], 0x00000000u);
    EXPECT_EQ(out[4], 0x00C0300Cu);
    EXPECT_EQ(out[5], 0xFFFFFFFFu);
}

// An entity that logs its drawing under a name.
class NamedEntity : public CCountedObject<CEntityOperationsNotOffered<IGeometryEntity>, IID_IObjectBase, IID_IEntityBase, IID_IGeometryEntity> {
public:
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    NamedEntity(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext*) override
    {
        m_log.push_back("draw " + m_name);
        return S_OK;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

TEST(DocumentPaintSceneTest, DrawsTheCommandObjectsOfNoCommandAndOfTheActiveOneOnly)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    std::vector<std::string> log;
    document.PushLevel(3, nullptr);
    document.PushLevel(5, nullptr);
    document.AddCommandObject(static_cast<IEntityBase*>(new NamedEntity("free", log)), kNoOwner, kNoOwner);
    document.AddCommandObject(static_cast<IEntityBase*>(new NamedEntity("suspended", log)), 3, kNoOwner);
    document.AddCommandObject(static_cast<IEntityBase*>(new NamedEntity("active", log)), 5, kNoOwner);
    DocumentPaintScene scene(document, nullptr);
    scene.DrawCommandObjects();
    EXPECT_EQ(log, (std::vector<std::string>{"draw free", "draw active"}));
}

} // namespace
