// CViewTransform: the view's matrices, cursor line and edge planes.
#include "host/view/view_transform.h"

#include "host/document/nuvex_doc.h"
#include "ihost.h"

namespace {

// The variable's double, or the fallback when it is missing or no double.
double ReadDouble(const CNuvexDoc& document, int32_t index, double fallback)
{
    VARIANT value{};
    if (FAILED(document.GetVariable(index, &value)) || value.vt != VT_R8) {
        return fallback;
    }
    return value.dblVal;
}

}  // namespace

CViewTransform::CViewTransform()
{
    m_cursorLine.SetLifetime(Lifetime::OwnerHeld);
    for (CPlaneObject& plane : m_edgePlanes) {
        plane.SetLifetime(Lifetime::OwnerHeld);
    }
}

void CViewTransform::ReadViewOrientation(const CNuvexDoc& document)
{
    const CVector3 right(ReadDouble(document, kViewRightDirectionVariable, 1.0),
                         ReadDouble(document, kViewRightDirectionVariable + 1, 0.0),
                         ReadDouble(document, kViewRightDirectionVariable + 2, 0.0));
    const CVector3 view(ReadDouble(document, kViewDirectionVariable, 0.0),
                        ReadDouble(document, kViewDirectionVariable + 1, 0.0),
                        ReadDouble(document, kViewDirectionVariable + 2, -1.0));
    SetOrientation(view, right);
}

void CViewTransform::SetOrientation(const CVector3& viewDirection, const CVector3& rightDirection)
{
    const CVector3 back = -viewDirection;
    const CVector3 up = back.Cross(rightDirection);
    m_orientation.SetAxes(rightDirection, up, back);
}

void CViewTransform::StoreViewOrientation(CNuvexDoc& document) const
{
    IHostDocument* host = document.GetHostDocument();
    if (host == nullptr) {
        return;
    }
    VARIANT value{};
    value.vt = VT_R8;
    for (int j = 0; j < 3; ++j) {
        value.dblVal = m_orientation(0, j).GetValue();
        host->SetVariable(kViewRightDirectionVariable + j, value);
    }
    for (int j = 0; j < 3; ++j) {
        value.dblVal = -m_orientation(2, j).GetValue();
        host->SetVariable(kViewDirectionVariable + j, value);
    }
}

void CViewTransform::UpdateCursorCentre()
{
    m_cursorView.x = m_cursorClient.x - m_clientWidth / 2;
    m_cursorView.y = m_clientHeight / 2 - m_cursorClient.y;
}

void CViewTransform::BuildViewMatrices()
{
    m_scaleMatrix.SetScale(CReal(m_scale));
    m_translationMatrix.SetTranslation(CVector3(0.0, 0.0, 0.0), CVector3(m_panX, m_panY, 0.0));
    m_modelToView = m_orientation * m_translationMatrix * m_scaleMatrix;
    m_viewToModel = m_modelToView.Inverse();
}

CVector3 CViewTransform::ModelPointAt(double a, double b) const
{
    const CMatrix4& m = m_viewToModel;
    CReal component[3];
    for (int j = 0; j < 3; ++j) {
        component[j] = (CReal(a) * m(0, j) + CReal(b) * m(1, j)) + m(3, j);
    }
    return CVector3(component[0], component[1], component[2]);
}

void CViewTransform::UpdateCursorLine()
{
    const CMatrix4& m = m_viewToModel;
    const CVector3 point = ModelPointAt(m_cursorView.x, m_cursorView.y);
    m_cursorLine.SetPointValue(point);
    m_cursorLine.SetDirection(CVector3(m(2, 0), m(2, 1), m(2, 2)).Normalized());
}

void CViewTransform::UpdateEdgePlanes()
{
    const double halfWidth = m_clientWidth / 2.0;
    const double halfHeight = m_clientHeight / 2.0;
    struct Edge {
        EdgePlane plane;
        double a;
        double b;
        double stepA;
        double stepB;
    };
    const Edge edges[] = {{kEdgeLeft, -halfWidth, 0.0, 1.0, 0.0},
                          {kEdgeRight, halfWidth, 0.0, -1.0, 0.0},
                          {kEdgeBottom, 0.0, -halfHeight, 0.0, 1.0},
                          {kEdgeTop, 0.0, halfHeight, 0.0, -1.0}};
    for (const Edge& edge : edges) {
        const CVector3 origin = ModelPointAt(edge.a, edge.b);
        const CVector3 inward = ModelPointAt(edge.a + edge.stepA, edge.b + edge.stepB);
        m_edgePlanes[edge.plane].SetOriginValue(origin);
        m_edgePlanes[edge.plane].SetNormalValue(inward - origin);
    }
}

POINT CViewTransform::ViewPointOf(const CVector3& model) const
{
    return model.Transform(m_modelToView).ToIntPoint();
}

POINT CViewTransform::ClientPointOf(POINT view) const
{
    return POINT{m_clientWidth / 2 + view.x, m_clientHeight / 2 - view.y};
}
