// CEntityOperationsNotOffered<Interface>: the answers of an entity class to
// the IObjectBase, IEntityBase and IGeometryEntity operations it does not
// offer. Each one touches none of its arguments (out-parameters are not
// written) and returns E_NOTIMPL; a concrete class overrides the operations
// it offers. The reserved slots of the chain are answered here once for all
// classes.
#pragma once

#include "ientity.h"

template <class Interface>
class CEntityOperationsNotOffered : public Interface {
public:
    // IObjectBase
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(uint32_t, const BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(BYTE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument*) override { return E_NOTIMPL; }

    // IEntityBase
    HRESULT STDMETHODCALLTYPE Reserved1(uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved2(uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved3(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                        uint32_t) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MoveGripPoint(uint32_t, IVector3*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HitTest(IPlane*, IPlane*, IPlane*, IPlane*, uint32_t, BOOL*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Tessellate(IPlane*, IPlane*, IPlane*, IPlane*, double, IPolylineSet**) override
    {
        return E_NOTIMPL;
    }

    // IGeometryEntity
    HRESULT STDMETHODCALLTYPE Reserved6(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDistanceTo(IGeometryEntity*, IReal*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ProjectPoint(IVector3*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Distance(IVector3*, IReal*, uint32_t) override { return E_NOTIMPL; }

protected:
    CEntityOperationsNotOffered() = default;
    CEntityOperationsNotOffered(const CEntityOperationsNotOffered&) = default;
    CEntityOperationsNotOffered& operator=(const CEntityOperationsNotOffered&) = default;
    ~CEntityOperationsNotOffered() = default;
};
