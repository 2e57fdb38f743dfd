// CLineEntity: the straight move entity of the component.
#include "addins/entities/line_entity.h"

#include <new>

#include "objectmodel/polylineset.h"

HRESULT CLineEntity::Clone(IObjectBase** copy)
{
    if (copy == nullptr) {
        return E_POINTER;
    }
    auto* clone = new (std::nothrow) CLineEntity(*this);
    if (clone == nullptr) {
        return E_OUTOFMEMORY;
    }
    *copy = clone;
    return S_OK;
}

HRESULT CLineEntity::Load(uint32_t size, const BYTE* data)
{
    if (size != kByteSize || data == nullptr) {
        return E_FAIL;
    }
    ByteReader reader(data, size);
    CVector3 start;
    CVector3 end;
    if (!ReadFinitePoint(reader, start) || !ReadFinitePoint(reader, end) || !reader.AtEnd()) {
        return E_FAIL;
    }
    m_start = start;
    m_end = end;
    return S_OK;
}

HRESULT CLineEntity::GetSize(uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = kByteSize;
    return S_OK;
}

HRESULT CLineEntity::Save(BYTE* buffer)
{
    if (buffer == nullptr) {
        return E_POINTER;
    }
    ByteWriter writer(buffer, kByteSize);
    WritePoint(writer, m_start);
    WritePoint(writer, m_end);
    return writer.Full() ? S_OK : E_FAIL;
}

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
