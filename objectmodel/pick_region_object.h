// CPickRegionObject: the host's selection set, a list of object ids that
// also records where the selection was made: the four side planes and the
// pick line of the aperture or box, and the box's two corners in view
// coordinates. The picker fills planes, line and corners through the
// accessors below; the object never changes them itself. It answers
// IUnknown, ISelectionSet and IPickRegion.
//
// Lifetime: made as a member or a local (the picker's result, the lists the
// host builds to hand to a command) it is owner-held: a borrower's
// QueryInterface + Release pair, or a stray Release, never destroys it, and
// neither does one on the planes or the line it lends out. Create() makes a
// counted heap object that the Release taking its count to 0 destroys.
#pragma once

#include <array>

#include "iselection.h"
#include "objectmodel/id_list.h"
#include "objectmodel/line_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/point2.h"
#include "objectmodel/reference_count.h"

class CPickRegionObject : public IPickRegion {
public:
    // Valid, default planes and line, corners (0, 0), no ids; owner-held.
    CPickRegionObject();
    // Copies the content (validity, planes, line, corners and ids); the
    // copy is owner-held with count 0.
    CPickRegionObject(const CPickRegionObject& other);
    // Copies the content; count and lifetime stay.
    CPickRegionObject& operator=(const CPickRegionObject& other);
    virtual ~CPickRegionObject();
    // A counted object with count 0; the caller's first AddRef or
    // QueryInterface takes the first reference.
    static CPickRegionObject* Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ISelectionSet: index-taking operations answer E_FAIL without effect
    // for an index outside the list.
    HRESULT STDMETHODCALLTYPE SetAt(int32_t index, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE GetAt(int32_t index, uintptr_t* id) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE RemoveAt(int32_t index) override;
    HRESULT STDMETHODCALLTYPE InsertAt(int32_t index, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE Add(uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE GetCount(uint32_t* count) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t size) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t size, int32_t grow) override;

    // IPickRegion: the accessors answer E_FAIL, outputs untouched, when the
    // region is not valid.
    HRESULT STDMETHODCALLTYPE GetPlanes(IPlane** left, IPlane** bottom, IPlane** right, IPlane** top) override;
    HRESULT STDMETHODCALLTYPE GetLine(ILine** line) override;
    HRESULT STDMETHODCALLTYPE GetSecondCorner(IPoint2* point) override;
    HRESULT STDMETHODCALLTYPE GetFirstCorner(IPoint2* point) override;
    HRESULT STDMETHODCALLTYPE IsBox(BOOL* result) override;
    HRESULT STDMETHODCALLTYPE IsPoint(BOOL* result) override;
    HRESULT STDMETHODCALLTYPE IsValid(BOOL* result) override;

    int32_t GetCount() const { return m_ids.Count(); }
    // The id at index, or 0 outside the list.
    uintptr_t GetAt(int32_t index) const { return m_ids.At(index); }

    CPlaneObject& TopPlane() { return m_planes[kTop]; }
    CPlaneObject& BottomPlane() { return m_planes[kBottom]; }
    CPlaneObject& RightPlane() { return m_planes[kRight]; }
    CPlaneObject& LeftPlane() { return m_planes[kLeft]; }
    CLineObject& PickLine() { return m_line; }
    CPoint2& FirstCorner() { return m_firstCorner; }
    CPoint2& SecondCorner() { return m_secondCorner; }
    void SetValid(bool valid) { m_valid = valid ? TRUE : FALSE; }

    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    enum PlaneIndex { kTop, kBottom, kRight, kLeft };

    explicit CPickRegionObject(Lifetime lifetime);
    void LendMembers();

    BOOL m_valid = TRUE;
    std::array<CPlaneObject, 4> m_planes;
    CLineObject m_line;
    CPoint2 m_firstCorner;
    CPoint2 m_secondCorner;
    CReferenceCount m_references;
    CIdList m_ids;
};
