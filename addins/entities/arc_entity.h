// CArcEntity: the circular move entity of the component. It runs from its
// start point to its end point about its centre in the sense of its normal
// (right hand); the reference direction and radius are kept as given. The
// end point read back is the one set.
//
// Byte form (little-endian doubles, x, y, z each): start, end, centre,
// normal, reference direction, then the radius (128 bytes).
#pragma once

#include "addins/entities/move_entity_base.h"

class CArcEntity : public CMoveEntityBase<IArcEntity, IID_IArcEntity, IID_ILineEntity, IID_IArcEntity> {
public:
    static constexpr uint32_t kByteSize = 128;

    // Normal (0, 0, 1), reference direction (1, 0, 0), radius 0.
    CArcEntity();
    CArcEntity(const CArcEntity& other) = default;

    // IObjectBase. Clone gives a copy with reference count 0.
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override;
    // E_FAIL, nothing changed, unless exactly kByteSize bytes of finite
    // values with a radius of at least 0.
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override;

    // IEntityBase: one DrawArc (centre, normal, start, end).
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override;
    // The box of the arc as it is drawn: its end points and the points of
    // the circle where a coordinate is largest or smallest, where they lie
    // on the arc. An end point in the start direction makes a full circle.
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t) override;

    // Picked where the arc, followed in chords of at most 1/128 of a turn,
    // lies in the region.
    HRESULT STDMETHODCALLTYPE HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t mode,
                                      BOOL* hit) override;
    // The arc's points from start to end, at most 1/128 of a turn apart.
    std::vector<CVector3> ChordPoints() const;

    // ILineEntity: one list of tag 7: start, centre, normal, end.
    HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                               uint32_t mode) override;

    // IArcEntity
    HRESULT STDMETHODCALLTYPE SetCenter(IVector3* point) override { return CopyPointIn(point, m_center); }
    HRESULT STDMETHODCALLTYPE GetCenter(IVector3* point) override { return CopyPointOut(m_center, point); }
    HRESULT STDMETHODCALLTYPE SetNormal(IVector3* normal) override { return CopyPointIn(normal, m_normal); }
    HRESULT STDMETHODCALLTYPE GetNormal(IVector3* normal) override { return CopyPointOut(m_normal, normal); }
    HRESULT STDMETHODCALLTYPE SetReferenceDirection(IVector3* direction) override
    {
        return CopyPointIn(direction, m_reference);
    }
    HRESULT STDMETHODCALLTYPE GetReferenceDirection(IVector3* direction) override
    {
        return CopyPointOut(m_reference, direction);
    }
    HRESULT STDMETHODCALLTYPE SetRadius(IReal* radius) override;
    HRESULT STDMETHODCALLTYPE GetRadius(IReal* radius) override;

    const CVector3& CenterValue() const { return m_center; }
    const CVector3& NormalValue() const { return m_normal; }
    double RadiusValue() const { return m_radius; }

private:
    CVector3 m_center;
    CVector3 m_normal;
    CVector3 m_reference;
    double m_radius = 0.0;
};
