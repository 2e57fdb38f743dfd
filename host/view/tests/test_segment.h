// TestSegment: a finite straight curve answering ILine, as the add-ins'
// curve entities do, for the picking and snapping tests and benchmarks. It
// has end, mid and direction points, hit-tests against four side planes
// (crossing: any part inside; otherwise both ends), reports its extents and
// intersects with other segments and with infinite lines.
#pragma once

#include <algorithm>
#include <cmath>

#include "igeometry.h"
#include "objectmodel/com_object.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/line_object.h"
#include "objectmodel/point_list.h"
#include "objectmodel/tolerance.h"
#include "objectmodel/vector3.h"

class TestSegment : public CCountedObject<CEntityOperationsNotOffered<ILine>, IID_IObjectBase, IID_IEntityBase,
                                          IID_IGeometryEntity, IID_ILine> {
public:
    TestSegment(const CVector3& start, const CVector3& end) : m_start(start), m_end(end) {}
    void SetEnds(const CVector3& start, const CVector3& end)
    {
        m_start = start;
        m_end = end;
    }

    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = CLSID{};
        *iid = IID_ILine;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override
    {
        CVector3 a = m_start, b = m_end;
        return context->DrawLine(&a, &b);
    }
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t) override
    {
        CVector3 lo(std::min(m_start.x.GetValue(), m_end.x.GetValue()),
                    std::min(m_start.y.GetValue(), m_end.y.GetValue()),
                    std::min(m_start.z.GetValue(), m_end.z.GetValue()));
        CVector3 hi(std::max(m_start.x.GetValue(), m_end.x.GetValue()),
                    std::max(m_start.y.GetValue(), m_end.y.GetValue()),
                    std::max(m_start.z.GetValue(), m_end.z.GetValue()));
        minimum->CopyFrom(&lo);
        maximum->CopyFrom(&hi);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine* line, IVector3* point, uint32_t) override
    {
        CVector3 p, d;
        line->GetDefinition(&p, &d);
        CVector3 nearest = ClosestTo(p, d);
        return point->CopyFrom(&nearest);
    }
    HRESULT STDMETHODCALLTYPE HitTest(IPlane* s1, IPlane* s2, IPlane* s3, IPlane* s4, uint32_t mode,
                                      BOOL* hit) override
    {
        double t0 = 0.0, t1 = 1.0;
        bool bothInside = true;
        for (IPlane* side : {s1, s2, s3, s4}) {
            const CPlaneObject plane(side);
            const double a = (m_start - plane.GetOriginValue()).Dot(plane.GetNormalValue()).GetValue();
            const double b = (m_end - plane.GetOriginValue()).Dot(plane.GetNormalValue()).GetValue();
            bothInside = bothInside && a > -kRealTolerance && b > -kRealTolerance;
            // Keep the part with value > -tolerance.
            if (a <= -kRealTolerance && b <= -kRealTolerance) {
                t0 = 1.0;
                t1 = 0.0;
            } else if (a <= -kRealTolerance) {
                t0 = std::max(t0, (-kRealTolerance - a) / (b - a));
            } else if (b <= -kRealTolerance) {
                t1 = std::min(t1, (-kRealTolerance - a) / (b - a));
            }
        }
        *hit = mode != 0 ? (t0 <= t1 ? TRUE : FALSE) : (bothInside ? TRUE : FALSE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDirectionAt(IVector3*, IVector3* direction) override
    {
        CVector3 d = (m_end - m_start).Normalized();
        return direction->CopyFrom(&d);
    }
    HRESULT STDMETHODCALLTYPE GetDefinition(IVector3* point, IVector3* direction) override
    {
        CVector3 p = m_start, d = m_end - m_start;
        point->CopyFrom(&p);
        return direction->CopyFrom(&d);
    }
    HRESULT STDMETHODCALLTYPE IsClosed(BOOL* result) override
    {
        *result = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCenter(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetMidPoint(IVector3* point) override
    {
        CVector3 m = (m_start + m_end) * 0.5;
        return point->CopyFrom(&m);
    }
    HRESULT STDMETHODCALLTYPE GetEndPoint(IVector3* point) override
    {
        CVector3 e = m_end;
        return point->CopyFrom(&e);
    }
    HRESULT STDMETHODCALLTYPE GetStartPoint(IVector3* point) override
    {
        CVector3 s = m_start;
        return point->CopyFrom(&s);
    }
    HRESULT STDMETHODCALLTYPE LineReserved1(void*, void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved2(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved3(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved4(void*, void*, void*, void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved5(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved6(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved7(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved8(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved9(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved10(void*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE LineReserved11(BOOL* result) override
    {
        *result = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LineReserved12(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved13(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved14(void*, void*, BOOL* third) override
    {
        *third = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IntersectPlane(IObjectBase*, IPointList*, uint32_t, uint32_t) override
    {
        return E_NOTIMPL;
    }
    // With another segment (both bounded) or an infinite line (bounded
    // here only); coplanar crossings only.
    HRESULT STDMETHODCALLTYPE IntersectLine(IObjectBase* other, IPointList* result, uint32_t, uint32_t) override
    {
        result->RemoveAll();
        ILine* line = nullptr;
        if (FAILED(other->QueryInterface(IID_ILine, reinterpret_cast<void**>(&line))) || line == nullptr) {
            return E_NOTIMPL;
        }
        CVector3 q, e, qEnd;
        line->GetDefinition(&q, &e);
        const bool bounded = SUCCEEDED(line->GetEndPoint(&qEnd));
        line->Release();
        const CVector3 d = m_end - m_start;
        const CVector3 n = d.Cross(e);
        const double nn = n.Dot(n).GetValue();
        if (nn < kRealTolerance * kRealTolerance) {
            return S_OK;
        }
        const CVector3 w = q - m_start;
        const double t = w.Cross(e).Dot(n).GetValue() / nn;
        const double u = w.Cross(d).Dot(n).GetValue() / nn;
        const CVector3 p = m_start + d * t;
        const CVector3 onOther = q + e * u;
        const double eps = 1e-9;
        if (t < -eps || t > 1 + eps || (bounded && (u < -eps || u > 1 + eps)) || p != onOther) {
            return S_OK;
        }
        CVector3 copy = p;
        return result->InsertAt(0, &copy);
    }

    CVector3 ClosestTo(const CVector3& p, const CVector3& d) const
    {
        const CVector3 s = m_end - m_start;
        const CVector3 r = m_start - p;
        const double a = s.Dot(s).GetValue(), b = s.Dot(d).GetValue(), c = d.Dot(d).GetValue();
        const double e = s.Dot(r).GetValue(), f = d.Dot(r).GetValue();
        const double denominator = a * c - b * b;
        double t = denominator > 1e-18 ? (b * f - c * e) / denominator : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return m_start + s * t;
    }
    const CVector3& Start() const { return m_start; }
    const CVector3& End() const { return m_end; }

private:
    CVector3 m_start;
    CVector3 m_end;
};
