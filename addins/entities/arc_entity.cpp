// CArcEntity: the circular move entity of the component.
#include "addins/entities/arc_entity.h"

#include <cmath>
#include <new>
#include <numbers>

#include "objectmodel/polylineset.h"
#include "objectmodel/tolerance.h"

CArcEntity::CArcEntity() : m_normal(0.0, 0.0, 1.0), m_reference(1.0, 0.0, 0.0) {}

namespace {

using ArcForm = PointForm<5, 1>; // start, end, centre, normal, reference; radius
static_assert(CArcEntity::kByteSize == ArcForm::kSize);

} // namespace

HRESULT CArcEntity::Clone(IObjectBase** copy) { return CloneEntity(*this, copy); }

HRESULT CArcEntity::Load(uint32_t size, const BYTE* data)
{
    ArcForm form;
    if (!form.Read(size, data) || form.values[0] < 0.0) {
        return E_FAIL;
    }
    m_start = form.points[0];
    m_end = form.points[1];
    m_center = form.points[2];
    m_normal = form.points[3];
    m_reference = form.points[4];
    m_radius = form.values[0];
    return S_OK;
}

HRESULT CArcEntity::GetSize(uint32_t* size) { return WriteOut(size, kByteSize); }

HRESULT CArcEntity::Save(BYTE* buffer)
{
    return ArcForm{{m_start, m_end, m_center, m_normal, m_reference}, {m_radius}}.Write(buffer);
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

HRESULT CArcEntity::GetExtents(IVector3* minimum, IVector3* maximum, uint32_t)
{
    const CVector3& start = StartValue();
    const CVector3& end = EndValue();
    const CVector3 toStart = start - m_center;
    const double radius = toStart.Length().GetValue();
    const CVector3 normal = m_normal.Normalized();
    if (radius < kRealTolerance || normal.IsZero()) {
        return CopyBoxOut({start, end}, minimum, maximum);
    }
    const CVector3 u = toStart / radius;
    const CVector3 v = normal.Cross(u);
    const CVector3 toEnd = end - m_center;
    double sweep = std::atan2(toEnd.Dot(v).GetValue(), toEnd.Dot(u).GetValue());
    if (sweep <= kRealTolerance) {
        sweep += 2.0 * std::numbers::pi;
    }
    CVector3 lo = start;
    CVector3 hi = start;
    auto include = [&lo, &hi](const CVector3& p) {
        lo = CVector3(std::min(lo.x.GetValue(), p.x.GetValue()), std::min(lo.y.GetValue(), p.y.GetValue()),
                      std::min(lo.z.GetValue(), p.z.GetValue()));
        hi = CVector3(std::max(hi.x.GetValue(), p.x.GetValue()), std::max(hi.y.GetValue(), p.y.GetValue()),
                      std::max(hi.z.GetValue(), p.z.GetValue()));
    };
    include(end);
    const double uc[3] = {u.x.GetValue(), u.y.GetValue(), u.z.GetValue()};
    const double vc[3] = {v.x.GetValue(), v.y.GetValue(), v.z.GetValue()};
    for (int axis = 0; axis < 3; ++axis) {
        double extreme = std::atan2(vc[axis], uc[axis]);
        for (int k = 0; k < 2; ++k, extreme += std::numbers::pi) {
            const double angle = std::fmod(extreme + 4.0 * std::numbers::pi, 2.0 * std::numbers::pi);
            if (angle <= sweep) {
                include(m_center + u * (radius * std::cos(angle)) + v * (radius * std::sin(angle)));
            }
        }
    }
    return CopyBoxOut({lo, hi}, minimum, maximum);
}
