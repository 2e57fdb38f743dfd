// CDocumentTools: the tools' drawing phases and the sketch-plane square.
#include "host/view/tool_layer.h"

#include <cmath>

#include "host/document/nuvex_doc.h"
#include "host/view/gl_api.h"
#include "host/view/snap_markers.h"
#include "host/view/view_tool_state.h"
#include "host/view/view_transform.h"
#include "objectmodel/point_list.h"

namespace {

// About one grid cell per this many pixels.
constexpr int kSketchCellPixels = 80;
// The outline lies this many pixels off the plane, the fill twice as far.
constexpr double kSketchLiftPixels = 0.3;

void Vertex(GlApi& gl, const CVector3& p) { gl.Vertex3d(p.x.GetValue(), p.y.GetValue(), p.z.GetValue()); }

}  // namespace

CPlaneObject DocumentXYPlane(CNuvexDoc& document)
{
    const CCoordSystemObject& frame = document.UserFrame();
    return CPlaneObject(frame.GetOriginValue(), frame.GetZAxisValue());
}

CDocumentTools::CDocumentTools(CNuvexDoc& document)
    : m_document(document), m_index(document), m_picker(document), m_evaluator(document)
{
    m_picker.SetSpatialIndex(&m_index);
    m_evaluator.SetSpatialIndex(&m_index);
}

bool CDocumentTools::BuildSketchSquare(const ViewToolState& view, SketchSquare* square) const
{
    const CViewTransform& transform = *view.transform;
    const CMatrix4& m = transform.ViewToModel();
    CLineObject ray(transform.ModelPointAt(0.0, 0.0), CVector3(m(2, 0), m(2, 1), m(2, 2)).Normalized());
    ray.SetLifetime(Lifetime::OwnerHeld);
    CPlaneObject plane = DocumentXYPlane(m_document);
    plane.SetLifetime(Lifetime::OwnerHeld);
    CPointList crossing(Lifetime::OwnerHeld);
    if (FAILED(ray.IntersectPlane(&plane, &crossing, 0x13, 0x13)) || crossing.GetCount() == 0) {
        return false;
    }
    const double s = transform.Scale();
    const int n = transform.ClientWidth() / kSketchCellPixels;
    const double w = transform.ClientWidth() / s;
    const double h = transform.ClientHeight() / s;
    const double cell = w / n;
    const double a = std::trunc(w * 7.0 / 8.0 / cell);
    const double b = std::trunc(h * 7.0 / 7.0 / cell);
    const double k = std::min(a, b);
    // A NaN size (no cells) collapses the square to its centre.
    const auto half = std::isfinite(k) ? static_cast<int64_t>(k) / 2 : 0;
    const double e = static_cast<double>(half) * (std::isfinite(cell) ? cell : 0.0);
    const CCoordSystemObject& frame = m_document.UserFrame();
    const CVector3 u = frame.GetXAxisValue().Normalized();
    const CVector3 v = frame.GetYAxisValue();
    const CVector3 nz = frame.GetZAxisValue();
    const CReal t = transform.CursorLine().GetDirectionValue().Dot(nz);
    const CVector3 lift = (nz * t).Normalized() * (kSketchLiftPixels / s);
    CVector3 c = frame.GetOriginValue() - lift;
    square->outline[0] = c + u * e + v * e;
    square->outline[1] = c + u * e - v * e;
    square->outline[2] = c - u * e - v * e;
    square->outline[3] = c - u * e + v * e;
    c = c - lift;
    square->fill[0] = c + u * e + v * e;
    square->fill[1] = c + u * e - v * e;
    square->fill[2] = c - u * e + v * e;
    square->fill[3] = c - u * e - v * e;
    return true;
}

void CDocumentTools::Draw(const ViewToolState& view, int phase, uint32_t modifierKind)
{
    if (view.gl == nullptr || view.transform == nullptr) {
        return;
    }
    GlApi& gl = *view.gl;
    gl.Disable(GL_LINE_STIPPLE);
    gl.Disable(GL_LIGHTING);
    DrawSnapMarkers(m_document, view, phase, modifierKind);
    m_picker.DrawSelectionBox(view, phase, modifierKind);
    if (m_selectionDrawer) {
        m_selectionDrawer(view, phase, modifierKind);
    }
    SketchSquare square;
    if (phase != 2 || (LevelOptions(m_document, modifierKind) & kOptionSketchPlane) == 0 ||
        !BuildSketchSquare(view, &square)) {
        return;
    }
    gl.Color3d(0.2, 0.75, 0.75);
    gl.LineWidth(0.1f);
    gl.Begin(GL_LINE_LOOP);
    for (const CVector3& p : square.outline) {
        Vertex(gl, p);
    }
    gl.End();
    gl.Enable(GL_BLEND);
    gl.Enable(GL_COLOR_MATERIAL);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.ColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    gl.Color4d(1.0, 0.97, 0.93, 0.65);
    gl.Begin(GL_TRIANGLE_STRIP);
    for (const CVector3& p : square.fill) {
        Vertex(gl, p);
    }
    gl.End();
    gl.ColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    gl.Disable(GL_BLEND);
}
