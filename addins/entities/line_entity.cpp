// CLineEntity: the straight move entity of the component.
#include "addins/entities/line_entity.h"

#include "objectmodel/polylineset.h"

namespace {

using LineForm = PointForm<2>; // start, end
static_assert(CLineEntity::kByteSize == LineForm::kSize);

} // namespace

HRESULT CLineEntity::Clone(IObjectBase** copy) { return CloneEntity(*this, copy); }

HRESULT CLineEntity::Load(uint32_t size, const BYTE* data)
{
    LineForm form;
    if (!form.Read(size, data)) {
        return E_FAIL;
    }
    m_start = form.points[0];
    m_end = form.points[1];
    return S_OK;
}

HRESULT CLineEntity::GetSize(uint32_t* size) { return WriteOut(size, kByteSize); }

HRESULT CLineEntity::Save(BYTE* buffer) { return LineForm{{m_start, m_end}}.Write(buffer); }

HRESULT CLineEntity::Draw(IGraphicsContext* context)
{
    if (context == nullptr) {
        return E_POINTER;
    }
    CVector3 from = m_start;
    CVector3 to = m_end;
    return context->DrawLine(&from, &to);
}

HRESULT CLineEntity::GetApproximation(double, IPolylineSet** approximation, uint32_t)
{
    if (approximation == nullptr) {
        return E_POINTER;
    }
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new (std::nothrow) CPolylineSet());
    if (!set || set->AddPolyline(2, 2) != S_OK) {
        return E_OUTOFMEMORY;
    }
    set->SetPoint(0, 0, m_start.x.GetValue(), m_start.y.GetValue(), m_start.z.GetValue());
    set->SetPoint(0, 1, m_end.x.GetValue(), m_end.y.GetValue(), m_end.z.GetValue());
    *approximation = set.Detach();
    return S_OK;
}
