// CCurveChainer: joins picked line and arc entities that touch end to end
// into chains (CCurveChain), and CCurveView, the IPlane face under which a
// chain hands out each of its curves.
//
// Chaining rule: chains are started from the picks in pick order; a chain
// grows first at its end, then at its start, each time with the first unused
// pick (in pick order) that has an end point within kTouchDistance of the
// chain's free end, taken reversed when it is its end point that touches. A
// chain whose two free ends meet is closed and grows no further. Every pick
// is in exactly one chain.
#pragma once

#include <vector>

#include "igeometry.h"
#include "ientitycomponent.h"
#include "objectmodel/com_object.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/vector3.h"

// Largest gap, in document units, between two end points that still counts
// as touching. Erring larger joins curves the user did not mean to join;
// smaller splits contours whose points were typed with few decimals.
inline constexpr double kTouchDistance = 1e-3;

// One curve as an IPlane: its approximation is the curve's, it has no parts.
class CCurveView : public CCountedObject<CEntityOperationsNotOffered<IPlane>, IID_IObjectBase, IID_IEntityBase,
                                         IID_IGeometryEntity, IID_IPlane> {
public:
    explicit CCurveView(ComPtr<ILineEntity> curve) : m_curve(std::move(curve)) {}

    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID*, IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                               uint32_t mode) override
    {
        return m_curve->GetApproximation(tolerance, approximation, mode);
    }
    // The curve's own extents.
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t reserved) override
    {
        return m_curve->GetExtents(minimum, maximum, reserved);
    }
    HRESULT STDMETHODCALLTYPE GetParts(IPlane**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPartCount(int32_t* count) override
    {
        if (count != nullptr) {
            *count = 0;
        }
        return E_NOTIMPL;
    }

private:
    ComPtr<ILineEntity> m_curve;
};

struct ChainedCurve {
    ComPtr<ILineEntity> curve;
    bool reversed = false;
};

class CCurveChain : public CCountedObject<ICurveSetEntity, IID_ICurveSetEntity> {
public:
    explicit CCurveChain(std::vector<ChainedCurve> curves) : m_curves(std::move(curves)) {}

    HRESULT STDMETHODCALLTYPE GetCurveCount(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE GetCurve(int32_t index, IPlane** curve, void** companion) override;

private:
    std::vector<ChainedCurve> m_curves;
};

class CCurveChainer : public CCountedObject<ICurveChainer, IID_ICurveChainer> {
public:
    HRESULT STDMETHODCALLTYPE GetChain(int32_t index, ICurveSetEntity** chain) override;
    HRESULT STDMETHODCALLTYPE GetChainCount(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE SetEntities(ISelectionSet* picks) override;

private:
    std::vector<ComPtr<ICurveSetEntity>> m_chains;
};
