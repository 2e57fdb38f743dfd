// CPlaneObject: the infinite plane of the object model.
#include "objectmodel/plane_object.h"

#include "objectmodel/tolerance.h"

CPlaneObject::CPlaneObject() : m_normal(0.0, 0.0, 1.0) {}

CPlaneObject::CPlaneObject(IPlane* source) : CPlaneObject()
{
    if (HasMostDerivedInterface(source, IID_IPlaneEx)) {
        auto* plane = static_cast<IPlaneEx*>(source);
        plane->GetOrigin(&m_origin);
        plane->GetNormal(&m_normal);
    }
}

CPlaneObject::CPlaneObject(const CPlaneObject& other)
    : CEntityOperationsNotOffered<IPlaneEx>(other), m_origin(other.m_origin), m_normal(other.m_normal)
{
}

CPlaneObject::CPlaneObject(const CVector3& origin, const CVector3& normal) : m_origin(origin), m_normal(normal) {}

CPlaneObject& CPlaneObject::operator=(const CPlaneObject& other)
{
    m_origin = other.m_origin;
    m_normal = other.m_normal;
    return *this;
}

CPlaneObject::~CPlaneObject() = default;

HRESULT CPlaneObject::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out,
                                {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_IPlane, &IID_IPlaneEx});
}

ULONG CPlaneObject::AddRef() { return m_references.Increment(); }

ULONG CPlaneObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CPlaneObject::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory != nullptr) {
        *factory = CLSID_HostObjectFactory;
    }
    if (iid != nullptr) {
        *iid = IID_IPlaneEx;
    }
    return S_OK;
}

HRESULT CPlaneObject::ProjectPoint(IVector3* point, IVector3* foot, uint32_t)
{
    if (point == nullptr || foot == nullptr) {
        return E_POINTER;
    }
    const CReal nn = m_normal.Dot(m_normal);
    if (Exactly(nn.GetValue(), 0.0)) {
        return E_FAIL;
    }
    const CVector3 x(point);
    CVector3 result = x + m_normal * ((m_origin - x).Dot(m_normal) / nn);
    return foot->CopyFrom(&result);
}

HRESULT CPlaneObject::Distance(IVector3* point, IReal* distance, uint32_t)
{
    if (point == nullptr || distance == nullptr) {
        return E_POINTER;
    }
    const CReal nn = m_normal.Dot(m_normal);
    if (Exactly(nn.GetValue(), 0.0)) {
        return E_FAIL;
    }
    const CVector3 x(point);
    CReal result = (m_normal * ((x - m_origin).Dot(m_normal) / nn)).Length();
    return distance->CopyFrom(&result);
}

HRESULT CPlaneObject::GetApproximation(double, IPolylineSet**, uint32_t) { return E_NOTIMPL; }

HRESULT CPlaneObject::GetParts(IPlane**) { return E_NOTIMPL; }

HRESULT CPlaneObject::GetPartCount(int32_t* count)
{
    if (count != nullptr) {
        *count = 0;
    }
    return E_NOTIMPL;
}

HRESULT CPlaneObject::SetNormal(IVector3* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    return m_normal.CopyFrom(value);
}

HRESULT CPlaneObject::GetNormal(IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    return out->CopyFrom(&m_normal);
}

HRESULT CPlaneObject::SetOrigin(IVector3* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    return m_origin.CopyFrom(value);
}

HRESULT CPlaneObject::GetOrigin(IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    return out->CopyFrom(&m_origin);
}

bool IsInFrontOfPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsInFrontOfPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsBehindPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsBehindPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsInFrontOfOrOnPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsInFrontOfOrOnPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsBehindOrOnPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsBehindOrOnPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsOnPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsOnPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsOffPlane(const CVector3& point, const CPlaneObject& plane)
{
    return point.IsOffPlane(plane.GetOriginValue(), plane.GetNormalValue());
}

bool IsInsidePlanes(const CVector3& point, const CPlaneObject& p1, const CPlaneObject& p2, const CPlaneObject& p3,
                    const CPlaneObject& p4)
{
    return point.IsInsidePlanes(p1, p2, p3, p4);
}

bool HasMostDerivedInterface(IObjectBase* object, REFIID iid)
{
    if (object == nullptr) {
        return false;
    }
    CLSID factory = GUID_NULL;
    IID kind = GUID_NULL;
    return object->GetClassIds(&factory, &kind) == S_OK && kind == iid;
}
