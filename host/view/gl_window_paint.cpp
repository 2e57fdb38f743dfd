// The paint of the shared OpenGL window.
#include "host/view/gl_window_paint.h"

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "ientity.h"
#include "ientityrecord.h"

int32_t ModifierKindOf(bool shiftDown, bool ctrlDown)
{
    if (ctrlDown) {
        return 2;
    }
    return shiftDown ? 4 : 1;
}

void DocumentPaintScene::DrawToolLayer(int32_t phase, int32_t modifierKind)
{
    if (m_toolLayer != nullptr) {
        m_toolLayer(m_toolOwner, phase, modifierKind);
    }
}

void DocumentPaintScene::DrawObjects()
{
    for (size_t i = 0; i < m_document.GetObjectCount(); ++i) {
        if (IEntityRecord* holder = m_document.GetObjectAt(i)) {
            holder->Draw(m_context);
        }
    }
}

void DocumentPaintScene::DrawCommandObjects()
{
    const int32_t active = m_document.Level(m_document.GetCurrentLevel()).commandIndex;
    // By index: an object's drawing may not change the list, but an index
    // stays valid should it grow.
    const auto& entries = m_document.GetCommandObjects();
    for (size_t i = 0; i < entries.size(); ++i) {
        const CommandObjectEntry& entry = entries[i];
        if ((entry.owner != kNoOwner && entry.owner != active) || !entry.object) {
            continue;
        }
        ComPtr<IEntityRecord> record;
        if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityRecord, record.ReceiveVoid())) && record) {
            record->Draw(m_context);
            continue;
        }
        ComPtr<IEntityBase> entity;
        if (SUCCEEDED(entry.object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())) && entity) {
            entity->Draw(m_context);
        }
    }
}

void DocumentPaintScene::DrawPreview()
{
    IGraphicsContext* context = m_context;
    LONG result = command_result::kNotHandled;
    // The answer is not passed on: a preview never ends a level.
    m_document.SendCommandEvent(command_event::kDrawPreview, &context, 1, 0, &result);
}

namespace {

void LoadProjection(GLCalls& gl, PaintViewState& view)
{
    double elements[16];
    view.projectionScale = CMatrix4();
    view.projectionScale(1, 1) = CReal(static_cast<double>(view.clientWidth) / view.clientHeight);
    view.projectionScale(2, 2) = CReal(0.005);
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadMatrixd(CopyMatrixToGL(view.projectionScale, elements));
    CMatrix4 toClip;
    const double perPixel = 2.0 * view.scale / view.clientWidth;
    for (int k = 0; k < 3; ++k) {
        toClip(k, k) = CReal(perPixel);
    }
    gl.MultMatrixd(CopyMatrixToGL(toClip, elements));
    gl.MultMatrixd(CopyMatrixToGL(view.translation, elements));
    CMatrix4 flipDepth;
    flipDepth(2, 2) = CReal(-1.0);
    gl.MultMatrixd(CopyMatrixToGL(flipDepth, elements));
}

} // namespace

PaintOutcome PaintGLWindow(CViewGLContext& setup, HWND window, PaintViewState& view, IPaintScene& scene,
                           int32_t modifierKind)
{
    GLCalls& gl = setup.Calls();
    HDC previousDC = nullptr;
    HGLRC previousContext = nullptr;
    setup.GetCurrentContext(&previousDC, &previousContext);
    HDC dc = gl.GetDC(window);
    PaintOutcome outcome = PaintOutcome::NoContext;
    if (dc != nullptr) {
        outcome = PaintGLScene(setup, dc, view, scene, modifierKind, previousDC, previousContext);
        gl.ReleaseDC(window, dc);
    } else {
        setup.MakeContextCurrent(previousDC, previousContext);
    }
    return outcome;
}

PaintOutcome PaintGLScene(CViewGLContext& setup, HDC dc, PaintViewState& view, IPaintScene& scene,
                          int32_t modifierKind, HDC previousDC, HGLRC previousContext)
{
    GLCalls& gl = setup.Calls();
    // Every way out goes through here: the previous context current again
    // and this paint's context deleted.
    auto finish = [&](PaintOutcome outcome) {
        setup.MakeContextCurrent(previousDC, previousContext);
        setup.DestroyGLContext();
        return outcome;
    };
    if (!setup.CreateGLContext(dc)) {
        return finish(PaintOutcome::NoContext);
    }
    setup.ResizeViewport(view.clientWidth, view.clientHeight);

    gl.ClearColor(static_cast<GLclampf>((view.background & 0xFF) / 255.0),
                  static_cast<GLclampf>(((view.background >> 8) & 0xFF) / 255.0),
                  static_cast<GLclampf>(((view.background >> 16) & 0xFF) / 255.0), 0.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLint matrixMode = GL_MODELVIEW;
    gl.GetIntegerv(GL_MATRIX_MODE, &matrixMode);

    // An empty client area has no projection; the clear above is all.
    if (view.clientWidth >= 1 && view.clientHeight >= 1) {
        LoadProjection(gl, view);
        gl.MatrixMode(GL_MODELVIEW);
        gl.LoadIdentity();
        // Lights are placed while the model-view is the identity, in view space.
        setup.SetupLighting();
        double elements[16];
        gl.LoadMatrixd(CopyMatrixToGL(view.orientation, elements));

        gl.Enable(GL_DEPTH_TEST);
        gl.DepthFunc(GL_LESS);
        scene.DrawToolLayer(0, modifierKind);
        gl.DepthFunc(GL_LEQUAL);
        scene.DrawObjects();
        gl.DepthFunc(GL_LESS);
        scene.DrawToolLayer(1, modifierKind);
        gl.DepthFunc(GL_LEQUAL);
        scene.DrawCommandObjects();
        gl.DepthFunc(GL_LESS);
        gl.DepthFunc(GL_LEQUAL);
        scene.DrawPreview();
        gl.DepthFunc(GL_LESS);
        scene.DrawToolLayer(2, modifierKind);
    }

    gl.Disable(GL_LINE_STIPPLE);
    gl.MatrixMode(static_cast<GLenum>(matrixMode));
    gl.Finish();
    const BOOL swapped = gl.SwapBuffers(dc);
    return finish(swapped ? PaintOutcome::Drawn : PaintOutcome::SwapFailed);
}
