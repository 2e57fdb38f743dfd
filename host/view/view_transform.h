// CViewTransform: how a view maps model space to its window and back. It
// keeps the view's scale and pan (per view, never saved), reads the
// orientation from the document's view-direction variables (so every view
// of a document shares it), and derives the model-to-view and view-to-model
// matrices, the cursor in client and view coordinates, the line through the
// cursor along the viewing direction and the four planes through the
// window edges.
//
// Conventions: points are row vectors multiplied on the left of a CMatrix4;
// view coordinates are pixels from the client-area centre, x to the right
// and y upward; client coordinates are the window's pixels, y downward.
// A model point p goes to v = scale * (p * orientation + (panX, panY, 0));
// v.z is the depth toward the viewer.
#pragma once

#include <array>

#include "objectmodel/line_object.h"
#include "objectmodel/matrix4.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/vector3.h"
#include "platform/base/types.h"

class CNuvexDoc;

// Indices of the orientation in the document's system variables: the
// viewing direction D (pointing away from the viewer) and the right
// direction R, x first.
constexpr int32_t kViewDirectionVariable = 12;
constexpr int32_t kViewRightDirectionVariable = 15;

// The edge planes in the order the view keeps them.
enum EdgePlane { kEdgeTop = 0, kEdgeBottom = 1, kEdgeRight = 2, kEdgeLeft = 3 };

class CViewTransform {
public:
    CViewTransform();

    // Orientation rows: R; (-D) x R; -D; (0, 0, 0, 1). R and D are taken
    // as stored. Missing or non-double variables count as the defaults
    // D = (0, 0, -1), R = (1, 0, 0).
    void ReadViewOrientation(const CNuvexDoc& document);
    // Writes row 0 as R and -row 2 as D through the document's IHostDocument.
    void StoreViewOrientation(CNuvexDoc& document) const;
    // Sets the orientation from a viewing and a right direction as given.
    void SetOrientation(const CVector3& viewDirection, const CVector3& rightDirection);
    // cursor (view) = (cx - w/2, h/2 - cy), integer halves.
    void UpdateCursorCentre();
    void BuildViewMatrices();
    // The line through the cursor (view) at depth 0 along the view axis
    // toward the viewer, direction of unit length.
    void UpdateCursorLine();
    // Planes through the top, bottom, right and left client edges with
    // normals one pixel inward.
    void UpdateEdgePlanes();

    // The model point of the view point (a, b) at depth 0.
    CVector3 ModelPointAt(double a, double b) const;
    // A model point's view position, x and y truncated to integers.
    POINT ViewPointOf(const CVector3& model) const;
    // The client position of a view position (integer halves).
    POINT ClientPointOf(POINT view) const;

    void SetClientSize(int width, int height)
    {
        m_clientWidth = width;
        m_clientHeight = height;
    }
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    void SetCursorClient(POINT client) { m_cursorClient = client; }
    POINT CursorClient() const { return m_cursorClient; }
    POINT CursorView() const { return m_cursorView; }

    double Scale() const { return m_scale; }
    void SetScale(double scale) { m_scale = scale; }
    double PanX() const { return m_panX; }
    double PanY() const { return m_panY; }
    void SetPan(double x, double y)
    {
        m_panX = x;
        m_panY = y;
    }

    const CMatrix4& Orientation() const { return m_orientation; }
    const CMatrix4& ScaleMatrix() const { return m_scaleMatrix; }
    const CMatrix4& TranslationMatrix() const { return m_translationMatrix; }
    const CMatrix4& ModelToView() const { return m_modelToView; }
    const CMatrix4& ViewToModel() const { return m_viewToModel; }
    const CLineObject& CursorLine() const { return m_cursorLine; }
    CLineObject& CursorLine() { return m_cursorLine; }
    // Top, bottom, right, left.
    const std::array<CPlaneObject, 4>& EdgePlanes() const { return m_edgePlanes; }

private:
    double m_scale = 1.0;
    double m_panX = 0.0;
    double m_panY = 0.0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    POINT m_cursorClient{0, 0};
    POINT m_cursorView{0, 0};
    CMatrix4 m_orientation;
    CMatrix4 m_scaleMatrix;
    CMatrix4 m_translationMatrix;
    CMatrix4 m_modelToView;
    CMatrix4 m_viewToModel;
    CLineObject m_cursorLine;
    std::array<CPlaneObject, 4> m_edgePlanes;
};
