// CPointObject: the reference point entity, a position in model space
// behind IPoint3, with the entity operations that picking needs (hit test,
// distance from the pick line). It has no byte form and is never drawn by
// itself. A point on a side plane, or within kRealTolerance outside it,
// counts as inside.
//
// Lifetime: counted when made with new; a point that its owner keeps as a
// member and lends out may be marked owner-held (SetLifetime).
#pragma once

#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"

class CPointObject : public CEntityOperationsNotOffered<IPoint3> {
public:
    CPointObject() = default;
    CPointObject(const CReal& x, const CReal& y, const CReal& z);
    explicit CPointObject(const CVector3& position);
    CPointObject(const CPointObject& other);
    // Copies the position; count and lifetime stay.
    CPointObject& operator=(const CPointObject& other);
    virtual ~CPointObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectBase: the host factory and IPoint3.
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;
    // IEntityBase: hit when the position is inside or on all four side
    // planes; the mode is not read.
    // The position is both corners.
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t reserved) override;
    HRESULT STDMETHODCALLTYPE HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t mode,
                                      BOOL* hit) override;
    // IGeometryEntity
    // Asks the target (a line or a plane) for its Distance from the
    // position, with the word 0x13 when emphasised, else 0x1F; S_OK
    // whatever the target answers.
    HRESULT STDMETHODCALLTYPE GetDistanceTo(IGeometryEntity* target, IReal* distance, BOOL emphasised) override;
    // The foot is the position itself.
    HRESULT STDMETHODCALLTYPE ProjectPoint(IVector3* point, IVector3* foot, uint32_t mode) override;
    HRESULT STDMETHODCALLTYPE Distance(IVector3* point, IReal* distance, uint32_t mode) override;

    // IPoint3
    HRESULT STDMETHODCALLTYPE SetPosition(IVector3* position) override;
    HRESULT STDMETHODCALLTYPE GetPosition(IVector3* out) override;

    const CVector3& GetPositionValue() const { return m_position; }
    void SetPositionValue(const CVector3& position) { m_position = position; }

    void SetLifetime(Lifetime lifetime) { m_references.SetLifetime(lifetime); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    CVector3 m_position;
    CReferenceCount m_references;
};
