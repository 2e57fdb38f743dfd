// The paint of the shared OpenGL window: a rendering context made for this
// paint alone, the projection and model-view of the painting view, then the
// scene in its fixed order (tool layer phase 0, the document's objects,
// tool layer phase 1, the command objects, the running command's preview,
// tool layer phase 2), the swap, and the previous context current again.
#pragma once

#include <cstdint>

#include "host/view/view_gl_context.h"
#include "objectmodel/matrix4.h"
#include "platform/base/types.h"

class CNuvexDoc;
struct IGraphicsContext;

// What the paint reads of its parent view, and the projection scale matrix
// that it sets there.
struct PaintViewState {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    COLORREF background = 0xFFFFFF;
    double scale = 1.0;
    CMatrix4 translation;
    CMatrix4 orientation;
    CMatrix4 projectionScale;
};

// The scene in paint order; the paint sets the depth function around
// each call.
class IPaintScene {
public:
    virtual void DrawToolLayer(int32_t phase, int32_t modifierKind) = 0;
    // Every holder of the object list.
    virtual void DrawObjects() = 0;
    // The command objects that belong to no command or to the active one.
    virtual void DrawCommandObjects() = 0;
    // The active command draws its preview.
    virtual void DrawPreview() = 0;

protected:
    ~IPaintScene() = default;
};

// The scene of a document drawn through a view's graphics context; the
// tool layer is left to the caller's function.
class DocumentPaintScene : public IPaintScene {
public:
    using ToolLayer = void (*)(void* owner, int32_t phase, int32_t modifierKind);
    DocumentPaintScene(CNuvexDoc& document, IGraphicsContext* context, ToolLayer toolLayer = nullptr,
                       void* toolOwner = nullptr)
        : m_document(document), m_context(context), m_toolLayer(toolLayer), m_toolOwner(toolOwner)
    {
    }
    void DrawToolLayer(int32_t phase, int32_t modifierKind) override;
    void DrawObjects() override;
    void DrawCommandObjects() override;
    void DrawPreview() override;

private:
    CNuvexDoc& m_document;
    IGraphicsContext* m_context;
    ToolLayer m_toolLayer;
    void* m_toolOwner;
};

// 1 plain, 4 with Shift, 2 with Ctrl (Ctrl wins when both are down).
int32_t ModifierKindOf(bool shiftDown, bool ctrlDown);

enum class PaintOutcome {
    Drawn,
    // No device context for the window, or no rendering context could be
    // made for it: nothing was drawn.
    NoContext,
    // Everything was drawn but the image could not be presented.
    SwapFailed,
};

// Paints the scene into window. Whatever happens, the context that was
// current before is current again afterwards, the paint's own context is
// deleted and the window's device context released.
PaintOutcome PaintGLWindow(CViewGLContext& setup, HWND window, PaintViewState& view, IPaintScene& scene,
                           int32_t modifierKind);
// The same into a device context the caller owns; the given context is
// made current again at the end.
PaintOutcome PaintGLScene(CViewGLContext& setup, HDC dc, PaintViewState& view, IPaintScene& scene,
                          int32_t modifierKind, HDC previousDC, HGLRC previousContext);
