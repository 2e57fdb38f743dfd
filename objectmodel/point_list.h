// CPointList: an ordered, growable list of 3-D points behind IPointList,
// through which geometric operations hand back a variable number of
// results. It is most often a local of its creator, lent to the operation
// being called; it has no byte form.
//
// Every index is checked: SetAt, GetAt and RemoveAt answer E_FAIL without
// effect outside 0 .. count - 1, InsertAt and SetSize refuse a negative
// index or size, and no operation grows the list past kMaxCount points.
//
// Lifetime: counted when made with new; a list lent by its owner may be
// marked owner-held (SetLifetime) so that a borrower's Release never
// destroys it.
#pragma once

#include <optional>
#include <vector>

#include "ipointlist.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"

struct ILine;

class CPointList : public IPointList {
public:
    // Growth increment used until one is set: capacity grows by at least
    // this many points at a time.
    static constexpr int32_t kDefaultGrowBy = 16;
    // The largest number of points a list holds.
    static constexpr int32_t kMaxCount = 1 << 24;

    CPointList() = default;
    explicit CPointList(Lifetime lifetime) : m_references(lifetime) {}
    CPointList(const CPointList&) = delete;
    CPointList& operator=(const CPointList&) = delete;
    virtual ~CPointList() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Appends copies of all points of `other` in order. E_FAIL, this list
    // unchanged, when `other` cannot report its count or any of its points.
    HRESULT STDMETHODCALLTYPE Append(IPointList* other) override;
    HRESULT STDMETHODCALLTYPE SetAt(int32_t index, IVector3* point) override;
    // Lends the stored point (no reference), valid until the list next
    // changes size.
    HRESULT STDMETHODCALLTYPE GetAt(int32_t index, IVector3** point) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE RemoveAt(int32_t index) override;
    // An index at or past the end first grows the list to index + 1 points,
    // the gap holding (0, 0, 0).
    HRESULT STDMETHODCALLTYPE InsertAt(int32_t index, IVector3* point) override;
    HRESULT STDMETHODCALLTYPE Add(IVector3* point) override;
    HRESULT STDMETHODCALLTYPE GetCount(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t count) override;
    HRESULT STDMETHODCALLTYPE SetSize(int32_t count, int32_t growBy) override;

    int32_t GetCount() const { return static_cast<int32_t>(m_points.size()); }
    // The stored point; outside the list a (0, 0, 0) that belongs to no list.
    const CVector3& GetAt(int32_t index) const;
    // The stored point nearest to the line (by CLineObject::DistanceToPoint);
    // of points within kRealTolerance of the best distance the earliest
    // wins. Nothing for an empty list.
    std::optional<CVector3> NearestToLine(ILine* line) const;

    void SetLifetime(Lifetime lifetime) { m_references.SetLifetime(lifetime); }
    ULONG GetReferenceCount() const { return m_references.Value(); }

private:
    bool IsIndex(int32_t index) const { return index >= 0 && index < GetCount(); }
    void ReserveFor(size_t count);

    CReferenceCount m_references;
    std::vector<CVector3> m_points;
    int32_t m_growBy = kDefaultGrowBy;
};
