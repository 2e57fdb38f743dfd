// CLineEntity: the straight move entity of the component, from its start
// point to its end point. Byte form: start then end, x, y, z each, as
// little-endian doubles (48 bytes).
#pragma once

#include "addins/entities/move_entity_base.h"

class CLineEntity : public CMoveEntityBase<ILineEntity, IID_ILineEntity, IID_ILineEntity> {
public:
    static constexpr uint32_t kByteSize = 48;

    CLineEntity() = default;
    CLineEntity(const CLineEntity& other) = default;

    // IObjectBase. Clone gives a copy with reference count 0.
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override;
    // E_FAIL, nothing changed, unless exactly kByteSize bytes of finite values.
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override;

    // IEntityBase: one DrawLine from start to end with the context's current
    // colour, width and style.
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override;
    // Picked where the segment from start to end lies in the region.
    HRESULT STDMETHODCALLTYPE HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t mode,
                                      BOOL* hit) override
    {
        return HitTestPolyline({StartValue(), EndValue()}, side1, side2, side3, side4, mode, hit);
    }
    // The box of start and end.
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t) override
    {
        return CopyBoxOut({StartValue(), EndValue()}, minimum, maximum);
    }

    // ILineEntity
    HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                               uint32_t mode) override;
};
