// The persistent and drawable object contract: IObjectBase (identity, copy,
// byte form), IEntityBase (drawing, picking, tessellation) and
// IGeometryEntity (projection and distance), each appending to the one
// before; and IGraphicsContext, the drawing interface a view lends to the
// objects it draws. Operations stand in table order; reserved slots keep
// their place and arity and answer E_NOTIMPL everywhere.
#pragma once

#include "iids.h"
#include "ipolylineset.h"
#include "ivalues.h"
#include "platform/com/unknwn.h"
#include "platform/gdi/logfont.h"

struct IHostDocument;
struct IPlane;
struct ILine;
struct IPointList;
struct IAttributeSet;
struct IGraphicsContext;

struct IObjectBase : IUnknown {
    // A new object with the same content and reference count 0.
    virtual HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) = 0;
    // Restores the content from exactly `size` bytes of an earlier Save;
    // a block that does not fit is refused with E_FAIL.
    virtual HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) = 0;
    // Writes exactly GetSize bytes.
    virtual HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument* document) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) = 0;

protected:
    ~IObjectBase() = default;
};

struct IEntityBase : IObjectBase {
    virtual HRESULT STDMETHODCALLTYPE Reserved1(uint32_t, uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2(uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetExtents(IVector3* minimum, IVector3* maximum, uint32_t reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved3(uint32_t, uint32_t, uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4(void*) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                                uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveGripPoint(uint32_t index, IVector3* position, BOOL final) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList* points) = 0;
    virtual HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine* line, IVector3* point, uint32_t mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE HitTest(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4,
                                              uint32_t mode, BOOL* hit) = 0;
    virtual HRESULT STDMETHODCALLTYPE Tessellate(IPlane* side1, IPlane* side2, IPlane* side3, IPlane* side4,
                                                 double scale, IPolylineSet** result) = 0;

protected:
    ~IEntityBase() = default;
};

struct IGeometryEntity : IEntityBase {
    virtual HRESULT STDMETHODCALLTYPE Reserved6(uint32_t, uint32_t, uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDistanceTo(IGeometryEntity* target, IReal* distance, BOOL emphasised) = 0;
    virtual HRESULT STDMETHODCALLTYPE ProjectPoint(IVector3* point, IVector3* foot, uint32_t reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE Distance(IVector3* point, IReal* distance, uint32_t reserved) = 0;

protected:
    ~IGeometryEntity() = default;
};

struct IGraphicsContext : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetColor(uint32_t* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t* style, uint32_t* factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t* width) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA* font) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColor(uint32_t colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet* set) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style, uint32_t factor) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t width) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet* set) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScale(double* scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3* first, IVector3* second, int32_t unused) = 0;
    virtual HRESULT STDMETHODCALLTYPE PopMatrix() = 0;
    // mode 1 loads the matrix, 2 multiplies it onto the current one.
    virtual HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4* matrix, int32_t mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet* set) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3* point, IVector3* direction) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawString(const char* text, IVector3* origin, IVector3* baselinePoint,
                                                 IVector3* normal, BOOL filled) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringToPolylines(const char* text, IPolylineSet* target, BOOL filled,
                                                        uint32_t* ends) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawLine(IVector3* from, IVector3* to) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3* centre, IVector3* normal, IVector3* firstAxis,
                                                  IReal* firstRadius, IReal* secondRadius) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReservedA(uint32_t, uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReservedB(uint32_t, uint32_t, uint32_t) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawArc(IVector3* centre, IVector3* normal, IVector3* start, IVector3* end) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveTo(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE LineTo(IVector3* point) = 0;

protected:
    ~IGraphicsContext() = default;
};
