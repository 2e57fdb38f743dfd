// CArcEntity: the circular move entity of the component.
#include "addins/entities/arc_entity.h"

#include <new>

#include "objectmodel/polylineset.h"

CArcEntity::CArcEntity() : m_normal(0.0, 0.0, 1.0), m_reference(1.0, 0.0, 0.0) {}

HRESULT CArcEntity::Clone(IObjectBase** copy)
{
    if (copy == nullptr) {
        return E_POINTER;
    }
    auto* clone = new (std::nothrow) CArcEntity(*this);
    if (clone == nullptr) {
        return E_OUTOFMEMORY;
    }
    *copy = clone;
    return S_OK;
}

HRESULT CArcEntity::Load(uint32_t size, const BYTE* data)
{
    if (size != kByteSize || data == nullptr) {
        return E_FAIL;
    }
    ByteReader reader(data, size);
    CVector3 start;
    CVector3 end;
    CVector3 center;
    CVector3 normal;
    CVector3 reference;
    double radius = 0.0;
    if (!ReadFinitePoint(reader, start) || !ReadFinitePoint(reader, end) || !ReadFinitePoint(reader, center) ||
        !ReadFinitePoint(reader, normal) || !ReadFinitePoint(reader, reference) || !reader.ReadF64(radius) ||
        !reader.AtEnd() || !std::isfinite(radius) || radius < 0.0) {
        return E_FAIL;
    }
    m_start = start;
    m_end = end;
    m_center = center;
    m_normal = normal;
    m_reference = reference;
    m_radius = radius;
    return S_OK;
}

HRESULT CArcEntity::GetSize(uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    *size = kByteSize;
    return S_OK;
}

HRESULT CArcEntity::Save(BYTE* buffer)
{
    if (buffer == nullptr) {
        return E_POINTER;
    }
    ByteWriter writer(buffer, kByteSize);
    WritePoint(writer, m_start);
    WritePoint(writer, m_end);
    WritePoint(writer, m_center);
    WritePoint(writer, m_normal);
    WritePoint(writer, m_reference);
    writer.WriteF64(m_radius);
    return writer.Full() ? S_OK : E_FAIL;
}

HRESULT CArcEntity::Draw(IGraphicsContext* context)
{
    if (context == nullptr) {
        return E_POINTER;
    }
    CVector3 center = m_center;
    CVector3 normal = m_normal;
    CVector3 start = m_start;
    CVector3 end = m_end;
    return context->DrawArc(&center, &normal, &start, &end);
}

HRESULT CArcEntity::GetApproximation(double, IPolylineSet** approximation, uint32_t)
{
    if (approximation == nullptr) {
        return E_POINTER;
    }
    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new (std::nothrow) CPolylineSet());
    if (!set || set->AddPolyline(4, 7) != S_OK) {
        return E_OUTOFMEMORY;
    }
    const CVector3* points[] = {&m_start, &m_center, &m_normal, &m_end};
    for (int32_t i = 0; i < 4; ++i) {
        set->SetPoint(0, i, points[i]->x.GetValue(), points[i]->y.GetValue(), points[i]->z.GetValue());
    }
    *approximation = set.Detach();
    return S_OK;
}

HRESULT CArcEntity::SetRadius(IReal* radius)
{
    if (radius == nullptr) {
        return E_POINTER;
    }
    double value = 0.0;
    uint16_t flag = 0;
    if (FAILED(radius->Get(&value, &flag))) {
        return E_FAIL;
    }
    if (!std::isfinite(value) || value < 0.0) {
        return E_INVALIDARG;
    }
    m_radius = value;
    return S_OK;
}

HRESULT CArcEntity::GetRadius(IReal* radius)
{
    if (radius == nullptr) {
        return E_POINTER;
    }
    return radius->Set(m_radius, 0);
}
