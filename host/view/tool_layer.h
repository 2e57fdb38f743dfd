// CDocumentTools: the document's interactive view tools and their feedback
// in the OpenGL scene. It owns the picker, the cursor evaluator and the
// spatial index both use, and reaches the document's snap engine and
// selection handler. Draw runs three times per frame: phase 0 before the
// document's objects, 1 after them, 2 after the running command's preview;
// in phase 2 it also draws the sketch-plane square, a translucent square
// with an outline that marks the document's XY plane around the middle of
// the view.
#pragma once

#include <cstdint>
#include <functional>

#include "host/view/cursor_evaluation.h"
#include "host/view/picking.h"
#include "host/view/spatial_index.h"
#include "objectmodel/plane_object.h"

class CNuvexDoc;
struct ViewToolState;

// The plane through the origin of the document's coordinate system with its
// Z axis as normal.
CPlaneObject DocumentXYPlane(CNuvexDoc& document);

class CDocumentTools {
public:
    explicit CDocumentTools(CNuvexDoc& document);
    virtual ~CDocumentTools() = default;

    void Draw(const ViewToolState& view, int phase, uint32_t modifierKind);

    CPickHelper& Picker() { return m_picker; }
    CCursorEvaluator& Evaluator() { return m_evaluator; }
    CSpatialIndex& Index() { return m_index; }
    CNuvexDoc& Document() { return m_document; }
    // Draws the selection handler's part (grips) in the phases it wants.
    void SetSelectionDrawer(std::function<void(const ViewToolState&, int, uint32_t)> drawer)
    {
        m_selectionDrawer = std::move(drawer);
    }

    // The square's outline (four corners) and fill (a strip of four) for a
    // view; false when none is drawn.
    struct SketchSquare {
        CVector3 outline[4];
        CVector3 fill[4];
    };
    bool BuildSketchSquare(const ViewToolState& view, SketchSquare* square) const;

private:
    CNuvexDoc& m_document;
    CSpatialIndex m_index;
    CPickHelper m_picker;
    CCursorEvaluator m_evaluator;
    std::function<void(const ViewToolState&, int, uint32_t)> m_selectionDrawer;
};
