// CCoordSystemObject: a right-handed orthonormal frame in model space.
#include "objectmodel/coord_system_object.h"

#include <cmath>
#include <optional>

#include "objectmodel/tolerance.h"
#include "objectmodel/vector2.h"

namespace {

// v divided by its length, always. The tolerant CVector3::Normalize leaves
// a vector whose squared length is within the tolerance of 1 as it is; an
// axis or a turning axis that far from unit length would let every turn
// stretch the frame a little more, so the frame divides exactly. Nothing
// for a zero or non-finite vector.
std::optional<CVector3> UnitVector(const CVector3& v)
{
    const double length = v.Length().GetValue();
    if (!(length > 0.0) || !std::isfinite(length)) {
        return std::nullopt;
    }
    return v / CReal(length);
}

}  // namespace

CCoordSystemObject::CCoordSystemObject()
    : m_xAxis(1.0, 0.0, 0.0), m_yAxis(0.0, 1.0, 0.0), m_zAxis(0.0, 0.0, 1.0)
{
}

CCoordSystemObject::CCoordSystemObject(const CCoordSystemObject& other)
    : CEntityOperationsNotOffered<ICoordinateSystem>(other),
      m_origin(other.m_origin),
      m_xAxis(other.m_xAxis),
      m_yAxis(other.m_yAxis),
      m_zAxis(other.m_zAxis)
{
}

CCoordSystemObject& CCoordSystemObject::operator=(const CCoordSystemObject& other)
{
    m_origin = other.m_origin;
    m_xAxis = other.m_xAxis;
    m_yAxis = other.m_yAxis;
    m_zAxis = other.m_zAxis;
    return *this;
}

CCoordSystemObject::~CCoordSystemObject() = default;

HRESULT CCoordSystemObject::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out,
                                {&IID_IObjectBase, &IID_IEntityBase, &IID_IGeometryEntity, &IID_ICoordinateSystem});
}

ULONG CCoordSystemObject::AddRef() { return m_references.Increment(); }

ULONG CCoordSystemObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CCoordSystemObject::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory != nullptr) {
        *factory = CLSID_HostObjectFactory;
    }
    if (iid != nullptr) {
        *iid = IID_ICoordinateSystem;
    }
    return S_OK;
}

HRESULT CCoordSystemObject::CopyFrom(ICoordinateSystem* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    // Read into a copy first, so that copying from this very frame works.
    CVector3 origin;
    CVector3 xAxis;
    CVector3 yAxis;
    CVector3 zAxis;
    source->GetOrigin(&origin);
    source->GetXAxis(&xAxis);
    source->GetYAxis(&yAxis);
    source->GetZAxis(&zAxis);
    m_origin = origin;
    m_xAxis = xAxis;
    m_yAxis = yAxis;
    m_zAxis = zAxis;
    return S_OK;
}

HRESULT CCoordSystemObject::SetAxis(IVector3* value, CVector3& axis, CVector3& reversedPartner, CVector3& turned1,
                                    CVector3& turned2)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    const std::optional<CVector3> unit = UnitVector(CVector3(value));
    if (!unit) {
        return E_INVALIDARG;
    }
    const CVector3& v = *unit;
    if (v == axis) {
        return S_OK;
    }
    if (v == axis.Negate()) {
        // A half turn about the third axis. The axis is negated rather than
        // set to v, which may differ from it by up to the tolerance and
        // would tilt it off its partners.
        axis = axis.Negate();
        reversedPartner = reversedPartner.Negate();
        return S_OK;
    }
    // Turn about k = v x old axis by the angle between them; with the
    // rotation's sign convention this carries the old axis onto v.
    const CVector3 k = v.Cross(axis);
    const std::optional<CVector3> turnAxis = UnitVector(k);
    if (!turnAxis) {
        return E_INVALIDARG;
    }
    const CVector2 angle(axis.Dot(v), k.Length());
    const CVector3 origin;
    axis = v;
    turned1.RotateAbout(origin, *turnAxis, angle);
    turned2.RotateAbout(origin, *turnAxis, angle);
    return S_OK;
}

HRESULT CCoordSystemObject::CopyOut(const CVector3& value, IVector3* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    CVector3 copy = value;
    return out->CopyFrom(&copy);
}

HRESULT CCoordSystemObject::SetZAxis(IVector3* axis) { return SetAxis(axis, m_zAxis, m_yAxis, m_xAxis, m_yAxis); }
HRESULT CCoordSystemObject::GetZAxis(IVector3* out) { return CopyOut(m_zAxis, out); }
HRESULT CCoordSystemObject::SetYAxis(IVector3* axis) { return SetAxis(axis, m_yAxis, m_zAxis, m_xAxis, m_zAxis); }
HRESULT CCoordSystemObject::GetYAxis(IVector3* out) { return CopyOut(m_yAxis, out); }
HRESULT CCoordSystemObject::SetXAxis(IVector3* axis) { return SetAxis(axis, m_xAxis, m_yAxis, m_yAxis, m_zAxis); }
HRESULT CCoordSystemObject::GetXAxis(IVector3* out) { return CopyOut(m_xAxis, out); }

HRESULT CCoordSystemObject::SetOrigin(IVector3* origin)
{
    if (origin == nullptr) {
        return E_POINTER;
    }
    return m_origin.CopyFrom(origin);
}

HRESULT CCoordSystemObject::GetOrigin(IVector3* out) { return CopyOut(m_origin, out); }

CPlaneObject CCoordSystemObject::GetXYPlane() const { return CPlaneObject(m_origin, m_zAxis); }
