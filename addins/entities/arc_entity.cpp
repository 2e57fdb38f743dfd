// CArcEntity: the circular move entity of the component.
#include "addins/entities/arc_entity.h"

#include <cmath>
#include <new>
#include <numbers>
#include <optional>

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

namespace {

// The arc in its plane: start direction u, v = normal x u, the radius and
// the sweep from start to end in the sense of the normal (an end in the
// start direction makes a full turn). None for a zero radius or normal.
struct ArcFrame {
    CVector3 u;
    CVector3 v;
    double radius = 0.0;
    double sweep = 0.0;
};

std::optional<ArcFrame> FrameOf(const CVector3& start, const CVector3& end, const CVector3& center,
                                const CVector3& normalValue)
{
    const CVector3 toStart = start - center;
    const double radius = toStart.Length().GetValue();
    const CVector3 normal = normalValue.Normalized();
    if (radius < kRealTolerance || normal.IsZero()) {
        return std::nullopt;
    }
    ArcFrame frame;
    frame.radius = radius;
    frame.u = toStart / radius;
    frame.v = normal.Cross(frame.u);
    const CVector3 toEnd = end - center;
    frame.sweep = std::atan2(toEnd.Dot(frame.v).GetValue(), toEnd.Dot(frame.u).GetValue());
    if (frame.sweep <= kRealTolerance) {
        frame.sweep += 2.0 * std::numbers::pi;
    }
    return frame;
}

constexpr int kChordsPerTurn = 128;

} // namespace

std::vector<CVector3> CArcEntity::ChordPoints() const
{
    const std::optional<ArcFrame> frame = FrameOf(StartValue(), EndValue(), m_center, m_normal);
    if (!frame) {
        return {StartValue(), EndValue()};
    }
    const int chords =
        std::max(1, static_cast<int>(std::ceil(frame->sweep / (2.0 * std::numbers::pi) * kChordsPerTurn)));
    std::vector<CVector3> points;
    points.reserve(static_cast<size_t>(chords) + 1);
    points.push_back(StartValue());
    for (int i = 1; i < chords; ++i) {
        const double angle = frame->sweep * i / chords;
        points.push_back(m_center + frame->u * (frame->radius * std::cos(angle)) +
                         frame->v * (frame->radius * std::sin(angle)));
    }
    points.push_back(EndValue());
    return points;
}

HRESULT CArcEntity::HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t mode, BOOL* hit)
{
    return HitTestPolyline(ChordPoints(), side1, side2, side3, side4, mode, hit);
}

HRESULT CArcEntity::GetExtents(IVector3* minimum, IVector3* maximum, uint32_t)
{
    const CVector3& start = StartValue();
    const CVector3& end = EndValue();
    const std::optional<ArcFrame> frame = FrameOf(start, end, m_center, m_normal);
    if (!frame) {
        return CopyBoxOut({start, end}, minimum, maximum);
    }
    const CVector3& u = frame->u;
    const CVector3& v = frame->v;
    const double radius = frame->radius;
    const double sweep = frame->sweep;
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
