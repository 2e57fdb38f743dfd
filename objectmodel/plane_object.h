// CPlaneObject: the infinite plane of the object model, an origin and a
// normal. The normal need not be of unit length; it gives the plane its
// side: a point P lies in front of the plane when (P - origin) . normal is
// positive, and the side tests count it as inside when that value exceeds
// kRealTolerance. Pick regions keep their side planes as plane objects, and
// lines intersect with them.
//
// Lifetime: a plane made with new is counted (count 0 until its creator
// takes the first reference). A plane that its owner keeps as a member and
// lends out is marked owner-held (SetLifetime), so a borrower's Release
// never destroys it.
#pragma once

#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"

class CPlaneObject : public CEntityOperationsNotOffered<IPlaneEx> {
public:
    // Origin (0, 0, 0), normal (0, 0, 1).
    CPlaneObject();
    // Reads origin and normal from a plane of this kind (one whose class ids
    // name IPlaneEx); any other plane leaves the defaults. Takes no
    // reference of the source.
    explicit CPlaneObject(IPlane* source);
    CPlaneObject(const CPlaneObject& other);
    CPlaneObject(const CVector3& origin, const CVector3& normal);
    // Copies origin and normal; count and lifetime stay.
    CPlaneObject& operator=(const CPlaneObject& other);
    virtual ~CPlaneObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectBase: the plane has no byte form; it reports the host factory
    // and IPlaneEx.
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    // IGeometryEntity. For a zero normal the plane has no defined foot or
    // distance: both answer E_FAIL and write nothing.
    // foot = x + n * (((o - x) . n) / (n . n)).
    HRESULT STDMETHODCALLTYPE ProjectPoint(IVector3* point, IVector3* foot, uint32_t reserved) override;
    // |(x - o) . n| / |n|, never negative.
    HRESULT STDMETHODCALLTYPE Distance(IVector3* point, IReal* distance, uint32_t reserved) override;

    // IPlane: a plane is no curve and no group. E_NOTIMPL; GetPartCount
    // also sets *count to 0.
    HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                               uint32_t mode) override;
    HRESULT STDMETHODCALLTYPE GetParts(IPlane** parts) override;
    HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) override;

    // IPlaneEx
    HRESULT STDMETHODCALLTYPE SetNormal(IVector3* value) override;
    HRESULT STDMETHODCALLTYPE GetNormal(IVector3* out) override;
    HRESULT STDMETHODCALLTYPE SetOrigin(IVector3* value) override;
    HRESULT STDMETHODCALLTYPE GetOrigin(IVector3* out) override;

    void SetNormalValue(const CVector3& normal) { m_normal = normal; }
    void SetOriginValue(const CVector3& origin) { m_origin = origin; }
    const CVector3& GetNormalValue() const { return m_normal; }
    const CVector3& GetOriginValue() const { return m_origin; }
    void Assign(const CPlaneObject& other) { *this = other; }

    // The plane as the side argument of CVector3::IsInsidePlanes.
    operator CVector3::PlaneSide() const { return {m_origin, m_normal}; }

    void SetLifetime(Lifetime lifetime) { m_references.SetLifetime(lifetime); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    CVector3 m_origin;
    CVector3 m_normal;
    CReferenceCount m_references;
};

// The plane side tests of a point against a plane object, from
// d = normal . (point - origin) with t = kRealTolerance:
//   IsInFrontOfPlane d > t         IsBehindPlane       d < -t
//   IsInFrontOfOrOnPlane d > -t    IsBehindOrOnPlane   d < t
//   IsOnPlane |d| < t              IsOffPlane          |d| >= t
bool IsInFrontOfPlane(const CVector3& point, const CPlaneObject& plane);
bool IsBehindPlane(const CVector3& point, const CPlaneObject& plane);
bool IsInFrontOfOrOnPlane(const CVector3& point, const CPlaneObject& plane);
bool IsBehindOrOnPlane(const CVector3& point, const CPlaneObject& plane);
bool IsOnPlane(const CVector3& point, const CPlaneObject& plane);
bool IsOffPlane(const CVector3& point, const CPlaneObject& plane);
// IsInFrontOfOrOnPlane for all four planes, tested in order.
bool IsInsidePlanes(const CVector3& point, const CPlaneObject& p1, const CPlaneObject& p2, const CPlaneObject& p3,
                    const CPlaneObject& p4);

// True when the object's class ids name the given interface as its
// most-derived one. The kind is recognised without QueryInterface, so no
// reference is taken of lent or uncounted objects.
bool HasMostDerivedInterface(IObjectBase* object, REFIID iid);
