// CCoordSystemObject: a right-handed frame in model space, an origin and
// three unit axes that stay mutually perpendicular (X x Y = Z) whatever
// axis a caller sets: setting one axis turns the others with it. It takes
// the place of an entity where one is expected, but offers none of the
// entity behaviour: no byte form, no drawing, no picking.
//
// Lifetime: counted when made with new. The document keeps its working
// frame as a member and lends it out; such a frame is marked owner-held
// (SetLifetime) so that a borrower's Release never destroys it.
#pragma once

#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"

class CCoordSystemObject : public CEntityOperationsNotOffered<ICoordinateSystem> {
public:
    // Origin (0, 0, 0), axes (1, 0, 0), (0, 1, 0), (0, 0, 1).
    CCoordSystemObject();
    CCoordSystemObject(const CCoordSystemObject& other);
    // Copies origin and axes; count and lifetime stay.
    CCoordSystemObject& operator=(const CCoordSystemObject& other);
    virtual ~CCoordSystemObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectBase: the host factory and ICoordinateSystem.
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    // ICoordinateSystem
    // Copies origin, X, Y and Z from the other frame, in that order, as
    // they are (no normalising).
    HRESULT STDMETHODCALLTYPE CopyFrom(ICoordinateSystem* source) override;
    // The axis setters normalise the given vector and turn the frame so
    // that the axis takes its direction; the origin stays. A vector that
    // cannot be normalised (zero) is refused with E_INVALIDARG and the
    // frame stays as it was.
    HRESULT STDMETHODCALLTYPE SetZAxis(IVector3* axis) override;
    HRESULT STDMETHODCALLTYPE GetZAxis(IVector3* out) override;
    HRESULT STDMETHODCALLTYPE SetYAxis(IVector3* axis) override;
    HRESULT STDMETHODCALLTYPE GetYAxis(IVector3* out) override;
    HRESULT STDMETHODCALLTYPE SetXAxis(IVector3* axis) override;
    HRESULT STDMETHODCALLTYPE GetXAxis(IVector3* out) override;
    HRESULT STDMETHODCALLTYPE SetOrigin(IVector3* origin) override;
    HRESULT STDMETHODCALLTYPE GetOrigin(IVector3* out) override;

    // The plane through the origin with the Z axis as its normal.
    CPlaneObject GetXYPlane() const;
    const CVector3& GetOriginValue() const { return m_origin; }
    const CVector3& GetXAxisValue() const { return m_xAxis; }
    const CVector3& GetYAxisValue() const { return m_yAxis; }
    const CVector3& GetZAxisValue() const { return m_zAxis; }

    void SetLifetime(Lifetime lifetime) { m_references.SetLifetime(lifetime); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    // Sets `axis` to the direction of `value`: nothing when it already has
    // it; a half turn negating `reversedPartner` when it is opposite; else
    // the rotation carrying the old axis onto the new one, applied to
    // `turned1` and then `turned2`.
    HRESULT SetAxis(IVector3* value, CVector3& axis, CVector3& reversedPartner, CVector3& turned1,
                    CVector3& turned2);
    static HRESULT CopyOut(const CVector3& value, IVector3* out);

    CVector3 m_origin;
    CVector3 m_xAxis;
    CVector3 m_yAxis;
    CVector3 m_zAxis;
    CReferenceCount m_references;
};
