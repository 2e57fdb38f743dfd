// CLineObject: the infinite straight line of the object model, a point and
// a direction (not required to be of unit length). It is the pick line of a
// pick region, the construction line of the snap engine, and an entity that
// a view draws, clips against its side planes, hit-tests and intersects.
//
// Conventions: a value is zero when its magnitude is below kRealTolerance
// (absolute, no relative tolerance); a point is inside a side plane when
// (P - origin) . normal exceeds kRealTolerance. A line with a zero direction
// stands for its point alone: its foot point is the point and its distance
// the distance to the point.
//
// Lifetime: counted when made with new; a line that its owner keeps as a
// member and lends out is marked owner-held (SetLifetime).
#pragma once

#include <optional>

#include "igeometry.h"
#include "objectmodel/entity_defaults.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"

class CLineObject : public CEntityOperationsNotOffered<ILineEx> {
public:
    // Direction (1, 0, 0) through (0, 0, 0).
    CLineObject();
    CLineObject(const CLineObject& other);
    // Reads point and direction from the source: through ILineEx when its
    // class ids name ILineEx, else through ILine::GetDefinition; a null or
    // silent source leaves the defaults. Takes no reference of the source.
    explicit CLineObject(ILine* source);
    CLineObject(const CVector3& point, const CVector3& direction);
    // Copies point and direction; count and lifetime stay.
    CLineObject& operator=(const CLineObject& other);
    virtual ~CLineObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IObjectBase: no byte form; the host factory and ILineEx.
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    // IEntityBase
    // Hands point and direction to the context's DrawInfiniteLine.
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override;
    // The point of this line nearest to the other line; E_FAIL for parallel
    // lines. The mode is not read.
    HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine* line, IVector3* point, uint32_t mode) override;
    // Hit when the line crosses a side plane (visited first, third, second,
    // fourth) at a point inside that plane's two neighbours. The mode is
    // not read.
    HRESULT STDMETHODCALLTYPE HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, uint32_t mode,
                                      BOOL* hit) override;
    // The visible piece as a new polyline set (one reference for the
    // caller): one polyline of two points, tag 2, or none. The scale is not
    // read.
    HRESULT STDMETHODCALLTYPE Tessellate(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4, double scale,
                                         IPolylineSet** result) override;

    // IGeometryEntity
    HRESULT STDMETHODCALLTYPE ProjectPoint(IVector3* point, IVector3* foot, uint32_t reserved) override;
    HRESULT STDMETHODCALLTYPE Distance(IVector3* point, IReal* distance, uint32_t reserved) override;

    // ILine
    HRESULT STDMETHODCALLTYPE LineReserved1(void*, void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved2(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirectionAt(IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved3(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved4(void*, void*, void*, void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved5(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved6(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved7(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved8(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved9(void*, void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved10(void*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetDefinition(IVector3* point, IVector3* direction) override;
    HRESULT STDMETHODCALLTYPE LineReserved11(BOOL* result) override;
    HRESULT STDMETHODCALLTYPE IsClosed(BOOL* result) override;
    // A line has no centre, mid point or end points: E_FAIL.
    HRESULT STDMETHODCALLTYPE GetCenter(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetMidPoint(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE LineReserved12(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineReserved13(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEndPoint(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetStartPoint(IVector3*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE LineReserved14(void*, void*, BOOL* third) override;
    // The crossing point with another line (none for parallel or skew
    // lines). E_NOTIMPL, the list emptied, for an object that is no line.
    HRESULT STDMETHODCALLTYPE IntersectLine(IObjectBase* other, IPointList* result, uint32_t option1,
                                            uint32_t option2) override;
    // The crossing point with a plane (none when parallel). E_NOTIMPL, the
    // list emptied, for an object that is no plane.
    HRESULT STDMETHODCALLTYPE IntersectPlane(IObjectBase* other, IPointList* result, uint32_t option1,
                                             uint32_t option2) override;

    // ILineEx
    HRESULT STDMETHODCALLTYPE SetDirection(IVector3* value) override;
    HRESULT STDMETHODCALLTYPE GetDirection(IVector3* out) override;
    HRESULT STDMETHODCALLTYPE SetPoint(IVector3* value) override;
    HRESULT STDMETHODCALLTYPE GetPoint(IVector3* out) override;

    void SetDirection(const CVector3& direction) { m_direction = direction; }
    void SetPointValue(const CVector3& point) { m_point = point; }
    const CVector3& GetDirectionValue() const { return m_direction; }
    const CVector3& GetPointValue() const { return m_point; }
    void Assign(const CLineObject& other) { *this = other; }
    // True when p equals the point, or (p - point) x direction is zero.
    bool ContainsPoint(const CVector3& p) const;
    // The distance from p to the line.
    CReal DistanceToPoint(const CVector3& p) const;
    // The foot of the perpendicular from p.
    CVector3 FootOf(const CVector3& p) const;
    // The crossing point with the plane; nothing when the line runs
    // parallel to it (d . n within kRealTolerance of 0).
    std::optional<CVector3> IntersectionWith(const CPlaneObject& plane) const;

    void SetLifetime(Lifetime lifetime) { m_references.SetLifetime(lifetime); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    CVector3 m_direction;
    CVector3 m_point;
    CReferenceCount m_references;
};
