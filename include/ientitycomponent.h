// The entity component: line and arc move entities and the curve chainer,
// served by the module addins/entities under CLSID_EntityComponent and made
// through the host document (IHostDocument::CreateObject) with one of the
// interface ids below. Points are IVector3 in document coordinates, radii
// IReal. Operations stand in table order.
//
// Plain curves (line and arc entities) do not answer the IPlane query: a
// picked entity that answers it is a group of member curves to the milling
// features. The curves of a chain are handed out as IPlane views made by the
// chainer, which answer IPlane::GetApproximation for the curve they stand for
// and report no parts.
#pragma once

#include "ientity.h"
#include "iids.h"
#include "ipolylineset.h"
#include "iselection.h"
#include "ivalues.h"

struct IPlane;

inline constexpr GUID CLSID_EntityComponent = {
    0xCCFEA8BD, 0xA5A0, 0x45FD, {0xB9, 0xC4, 0x79, 0x57, 0x7D, 0x58, 0xA4, 0xC3}};
inline constexpr GUID IID_ILineEntity = {
    0x1D31EA84, 0x0E4B, 0x4065, {0xBF, 0x88, 0x76, 0x1C, 0xD8, 0xA1, 0x79, 0x19}};
inline constexpr GUID IID_IArcEntity = {
    0x051854BD, 0x6762, 0x4088, {0xA8, 0xDF, 0xEF, 0x73, 0x70, 0x1D, 0x6A, 0xEC}};
inline constexpr GUID IID_ICurveChainer = {
    0x32BC144D, 0xE512, 0x4D9F, {0x90, 0xEC, 0x69, 0xA9, 0x64, 0xCE, 0x1E, 0x7D}};
// The chain's own interface; chains are only handed out by the chainer.
inline constexpr GUID IID_ICurveSetEntity = {
    0x5B0D7F3A, 0x42C1, 0x4E8B, {0x9A, 0x61, 0x3D, 0x20, 0xC4, 0x8E, 0x17, 0x95}};

// A straight move from its start point to its end point.
struct ILineEntity : IGeometryEntity {
    virtual HRESULT STDMETHODCALLTYPE SetStartPoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStartPoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEndPoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEndPoint(IVector3* point) = 0;
    // The curve as a new polyline set (one reference for the caller): a line
    // is one polyline of tag 2 (start, end); an arc one list of tag 7
    // (start, centre, normal, end). The tolerance and mode are not needed
    // for these exact forms.
    virtual HRESULT STDMETHODCALLTYPE GetApproximation(double tolerance, IPolylineSet** approximation,
                                                       uint32_t mode) = 0;

protected:
    ~ILineEntity() = default;
};

// A circular move from start to end about the centre, in the sense of the
// normal (right hand): (0, 0, +1) counter-clockwise seen from +Z, (0, 0, -1)
// clockwise. The end point read back is the one set; nothing is projected.
struct IArcEntity : ILineEntity {
    virtual HRESULT STDMETHODCALLTYPE SetCenter(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCenter(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetNormal(IVector3* normal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNormal(IVector3* normal) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReferenceDirection(IVector3* direction) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReferenceDirection(IVector3* direction) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRadius(IReal* radius) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRadius(IReal* radius) = 0;

protected:
    ~IArcEntity() = default;
};

// One chain of curves that touch end to end, in running order.
struct ICurveSetEntity : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCurveCount(int32_t* count) = 0;
    // The index-th curve as an IPlane view with one reference for the
    // caller; *companion is non-null (the chain itself, no reference) when
    // the curve runs against its own direction in the chain. E_FAIL for an
    // index outside the chain, outs untouched.
    virtual HRESULT STDMETHODCALLTYPE GetCurve(int32_t index, IPlane** curve, void** companion) = 0;

protected:
    ~ICurveSetEntity() = default;
};

struct ICurveChainer : IUnknown {
    // The index-th chain with one reference for the caller; E_FAIL outside.
    virtual HRESULT STDMETHODCALLTYPE GetChain(int32_t index, ICurveSetEntity** chain) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChainCount(int32_t* count) = 0;
    // Replaces the chains by those joined from the picked objects: ids of
    // document records (IEntityRecord pointers) whose objects are line or
    // arc entities; other objects and null ids are skipped.
    virtual HRESULT STDMETHODCALLTYPE SetEntities(ISelectionSet* picks) = 0;

protected:
    ~ICurveChainer() = default;
};
