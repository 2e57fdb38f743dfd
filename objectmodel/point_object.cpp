// CPointObject: the reference point entity.
#include "objectmodel/point_object.h"

#include "objectmodel/plane_object.h"

namespace {

// The words a point hands to its target's Distance.
constexpr uint32_t kDistanceEmphasised = 0x13;
constexpr uint32_t kDistancePlain = 0x1F;

}  // namespace

CPointObject::CPointObject(const CReal& x, const CReal& y, const CReal& z) : m_position(x, y, z) {}

CPointObject::CPointObject(const CVector3& position) : m_position(position) {}

CPointObject::CPointObject(const CPointObject& other)
    : CEntityOperationsNotOffered<IPoint3>(other), m_position(other.m_position)
{
}

CPointObject& CPointObject::operator=(const CPointObject& other)
{
    m_position = other.m_position;
    return *this;
}

CPointObject::~CPointObject() = default;

HRESULT CPointObject::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out,
                                {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_IPoint3});
}

ULONG CPointObject::AddRef() { return m_references.Increment(); }

ULONG CPointObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CPointObject::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory != nullptr) {
        *factory = CLSID_HostObjectFactory;
    }
    if (iid != nullptr) {
        *iid = IID_IPoint3;
    }
    return S_OK;
}

HRESULT CPointObject::GetExtents(IVector3* minimum, IVector3* maximum, uint32_t)
{
    if (minimum == nullptr || maximum == nullptr) {
        return E_POINTER;
    }
    minimum->CopyFrom(&m_position);
    maximum->CopyFrom(&m_position);
    return S_OK;
}

HRESULT CPointObject::HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t, BOOL* hit)
{
    if (side1 == nullptr || side2 == nullptr || side3 == nullptr || side4 == nullptr || hit == nullptr) {
        return E_POINTER;
    }
    const bool inside = IsInsidePlanes(m_position, CPlaneObject(side1), CPlaneObject(side2), CPlaneObject(side3),
                                       CPlaneObject(side4));
    *hit = inside ? TRUE : FALSE;
    return S_OK;
}

HRESULT CPointObject::GetDistanceTo(IGeometryEntity* target, IReal* distance, BOOL emphasised)
{
    if (target == nullptr) {
        return E_POINTER;
    }
    target->Distance(&m_position, distance, emphasised != FALSE ? kDistanceEmphasised : kDistancePlain);
    return S_OK;
}

HRESULT CPointObject::ProjectPoint(IVector3*, IVector3* foot, uint32_t)
{
    if (foot == nullptr) {
        return E_POINTER;
    }
    return foot->CopyFrom(&m_position);
}

HRESULT CPointObject::Distance(IVector3* point, IReal* distance, uint32_t)
{
    if (point == nullptr || distance == nullptr) {
        return E_POINTER;
    }
    CReal result = (CVector3(point) - m_position).Length();
    return distance->CopyFrom(&result);
}

HRESULT CPointObject::SetPosition(IVector3* position)
{
    if (position == nullptr) {
        return E_POINTER;
    }
    return m_position.CopyFrom(position);
}

HRESULT CPointObject::GetPosition(IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    return out->CopyFrom(&m_position);
}
