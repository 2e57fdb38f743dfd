// CLineObject: the infinite straight line of the object model.
#include "objectmodel/line_object.h"

#include <array>

#include "objectmodel/point_list.h"
#include "objectmodel/polylineset.h"
#include "objectmodel/out_param.h"
#include "objectmodel/tolerance.h"

namespace {

// A side plane of a region and the two planes next to it.
struct SideVisit {
    int side;
    int neighbour1;
    int neighbour2;
};

// The order in which the side planes of a region are visited: first and
// third (one opposite pair), then second and fourth.
constexpr std::array<SideVisit, 4> kSideVisits = {{{0, 1, 3}, {2, 1, 3}, {1, 0, 2}, {3, 0, 2}}};

// The four side planes copied into values.
struct Sides {
    explicit Sides(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4)
        : planes{CPlaneObject(side1), CPlaneObject(side2), CPlaneObject(side3), CPlaneObject(side4)}
    {
    }
    std::array<CPlaneObject, 4> planes;
};

bool IsZero(const CReal& value) { return value.IsEqual(0.0); }

}  // namespace

CLineObject::CLineObject() : m_direction(1.0, 0.0, 0.0) {}

CLineObject::CLineObject(const CLineObject& other)
    : CEntityOperationsNotOffered<ILineEx>(other), m_direction(other.m_direction), m_point(other.m_point)
{
}

CLineObject::CLineObject(ILine* source) : CLineObject()
{
    if (source == nullptr) {
        return;
    }
    if (HasMostDerivedInterface(source, IID_ILineEx)) {
        auto* line = static_cast<ILineEx*>(source);
        line->GetPoint(&m_point);
        line->GetDirection(&m_direction);
        return;
    }
    CVector3 point;
    CVector3 direction;
    if (source->GetDefinition(&point, &direction) == S_OK) {
        m_point = point;
        m_direction = direction;
    }
}

CLineObject::CLineObject(const CVector3& point, const CVector3& direction) : m_direction(direction), m_point(point)
{
}

CLineObject& CLineObject::operator=(const CLineObject& other)
{
    m_direction = other.m_direction;
    m_point = other.m_point;
    return *this;
}

CLineObject::~CLineObject() = default;

HRESULT CLineObject::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out,
                                {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_ILine, &IID_ILineEx});
}

ULONG CLineObject::AddRef() { return m_references.Increment(); }

ULONG CLineObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CLineObject::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory != nullptr) {
        *factory = CLSID_HostObjectFactory;
    }
    if (iid != nullptr) {
        *iid = IID_ILineEx;
    }
    return S_OK;
}

HRESULT CLineObject::Draw(IGraphicsContext* context)
{
    if (context == nullptr) {
        return E_POINTER;
    }
    context->DrawInfiniteLine(&m_point, &m_direction);
    return S_OK;
}

std::optional<CVector3> CLineObject::IntersectionWith(const CPlaneObject& plane) const
{
    const CVector3& normal = plane.GetNormalValue();
    const CReal denominator = m_direction.Dot(normal);
    if (IsZero(denominator)) {
        return std::nullopt;
    }
    const CReal t = (plane.GetOriginValue() - m_point).Dot(normal) / denominator;
    return m_point + m_direction * t;
}

HRESULT CLineObject::NearestPointToLine(ILine* line, IVector3* point, uint32_t)
{
    if (line == nullptr || point == nullptr) {
        return E_POINTER;
    }
    const CLineObject other(line);
    const CVector3& e = other.m_direction;
    const CVector3 c = m_direction.Cross(e);
    if (c.IsZero()) {
        return E_FAIL;
    }
    // The plane through the other line that holds the common perpendicular.
    CPlaneObject plane(other.m_point, e.Cross(c));
    CPointList found(Lifetime::OwnerHeld);
    if (IntersectPlane(&plane, &found, 0x13, 0x13) != S_OK || found.GetCount() == 0) {
        return E_FAIL;
    }
    CVector3 nearest = found.GetAt(0);
    return point->CopyFrom(&nearest);
}

HRESULT CLineObject::HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t, BOOL* hit)
{
    if (side1 == nullptr || side2 == nullptr || side3 == nullptr || side4 == nullptr || hit == nullptr) {
        return E_POINTER;
    }
    const Sides sides(side1, side2, side3, side4);
    for (const SideVisit& visit : kSideVisits) {
        const std::optional<CVector3> crossing = IntersectionWith(sides.planes[visit.side]);
        if (crossing && IsInFrontOfPlane(*crossing, sides.planes[visit.neighbour1]) &&
            IsInFrontOfPlane(*crossing, sides.planes[visit.neighbour2])) {
            *hit = TRUE;
            return S_OK;
        }
    }
    *hit = FALSE;
    return S_OK;
}

HRESULT CLineObject::Tessellate(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, double,
                                IPolylineSet** result)
{
    if (side1 == nullptr || side2 == nullptr || side3 == nullptr || side4 == nullptr || result == nullptr) {
        return E_POINTER;
    }
    const Sides sides(side1, side2, side3, side4);
    std::array<CVector3, 2> ends;
    size_t found = 0;
    for (const SideVisit& visit : kSideVisits) {
        const std::optional<CVector3> crossing = IntersectionWith(sides.planes[visit.side]);
        if (crossing && IsInFrontOfPlane(*crossing, sides.planes[visit.neighbour1]) &&
            IsInFrontOfPlane(*crossing, sides.planes[visit.neighbour2])) {
            ends[found++] = *crossing;
            if (found == ends.size()) {
                break;
            }
        }
    }
    if (found < ends.size()) {
        // No two crossings: the line is drawn from its own point when that
        // lies inside the region.
        bool inside = true;
        for (const SideVisit& visit : kSideVisits) {
            if (!IsInFrontOfPlane(m_point, sides.planes[visit.side])) {
                inside = false;
                break;
            }
        }
        found = 0;
        if (inside) {
            ends = {m_point, m_point + m_direction};
            found = ends.size();
        }
    }

    ComPtr<IPolylineSet> set = ComPtr<IPolylineSet>::Share(new CPolylineSet());
    if (found == ends.size()) {
        if (set->AddPolyline(2, 2) != S_OK) {
            return E_OUTOFMEMORY;
        }
        for (size_t i = 0; i < ends.size(); ++i) {
            set->SetPoint(0, static_cast<int32_t>(i), ends[i].x.GetValue(), ends[i].y.GetValue(),
                          ends[i].z.GetValue());
        }
    }
    *result = set.Detach();
    return S_OK;
}

CVector3 CLineObject::FootOf(const CVector3& p) const
{
    const CReal dd = m_direction.Dot(m_direction);
    if (Exactly(dd.GetValue(), 0.0)) {
        return m_point;
    }
    return m_point + m_direction * ((p - m_point).Dot(m_direction) / dd);
}

CReal CLineObject::DistanceToPoint(const CVector3& p) const { return (FootOf(p) - p).Length(); }

bool CLineObject::ContainsPoint(const CVector3& p) const
{
    return p == m_point || (p - m_point).Cross(m_direction).IsZero();
}

HRESULT CLineObject::ProjectPoint(IVector3* point, IVector3* foot, uint32_t)
{
    if (point == nullptr || foot == nullptr) {
        return E_POINTER;
    }
    CVector3 result = FootOf(CVector3(point));
    return foot->CopyFrom(&result);
}

HRESULT CLineObject::Distance(IVector3* point, IReal* distance, uint32_t)
{
    if (point == nullptr || distance == nullptr) {
        return E_POINTER;
    }
    CReal result = DistanceToPoint(CVector3(point));
    return distance->CopyFrom(&result);
}

HRESULT CLineObject::GetDefinition(IVector3* point, IVector3* direction)
{
    if (point == nullptr || direction == nullptr) {
        return E_POINTER;
    }
    point->CopyFrom(&m_point);
    direction->CopyFrom(&m_direction);
    return S_OK;
}

HRESULT CLineObject::LineReserved11(BOOL* result) { return WriteOut(result, FALSE); }

HRESULT CLineObject::IsClosed(BOOL* result) { return WriteOut(result, FALSE); }

HRESULT CLineObject::LineReserved14(void*, void*, BOOL* third) { return WriteOut(third, TRUE); }

HRESULT CLineObject::IntersectLine(IObjectBase* other, IPointList* result, uint32_t, uint32_t)
{
    if (result == nullptr) {
        return E_POINTER;
    }
    result->RemoveAll();
    if (!HasMostDerivedInterface(other, IID_ILineEx)) {
        return E_NOTIMPL;
    }
    const CLineObject line(static_cast<ILineEx*>(other));
    const CVector3& d = m_direction;
    const CVector3& p = m_point;
    const CVector3& e = line.m_direction;
    const CVector3& q = line.m_point;
    const CVector3 c = d.Cross(e);
    if (c.IsZero()) {
        return S_OK;  // parallel or the same line
    }
    if (!IsZero(c.Dot(q - p))) {
        return S_OK;  // skew
    }
    // Solve p + t*d = q + s*e in the first coordinate pair that has a
    // non-zero determinant.
    struct Pair {
        CReal det;
        CReal numerator;
    };
    const Pair kPairs[] = {
        {d.x * e.y - d.y * e.x, (q.x - p.x) * e.y - (q.y - p.y) * e.x},
        {d.x * e.z - d.z * e.x, (q.x - p.x) * e.z - (q.z - p.z) * e.x},
        {d.z * e.y - d.y * e.z, (q.z - p.z) * e.y - (q.y - p.y) * e.z},
    };
    for (const Pair& pair : kPairs) {
        if (!IsZero(pair.det)) {
            CVector3 crossing = p + d * (pair.numerator / pair.det);
            return result->Add(&crossing);
        }
    }
    return E_NOTIMPL;
}

HRESULT CLineObject::IntersectPlane(IObjectBase* other, IPointList* result, uint32_t, uint32_t)
{
    if (result == nullptr) {
        return E_POINTER;
    }
    result->RemoveAll();
    if (!HasMostDerivedInterface(other, IID_IPlaneEx)) {
        return E_NOTIMPL;
    }
    const CPlaneObject plane(static_cast<IPlaneEx*>(other));
    const std::optional<CVector3> crossing = IntersectionWith(plane);
    if (!crossing) {
        return S_OK;
    }
    CVector3 point = *crossing;
    return result->Add(&point);
}

HRESULT CLineObject::SetDirection(IVector3* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    return m_direction.CopyFrom(value);
}

HRESULT CLineObject::GetDirection(IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    return out->CopyFrom(&m_direction);
}

HRESULT CLineObject::SetPoint(IVector3* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    return m_point.CopyFrom(value);
}

HRESULT CLineObject::GetPoint(IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    return out->CopyFrom(&m_point);
}
