// CPointList: an ordered, growable list of 3-D points behind IPointList.
#include "objectmodel/point_list.h"

#include <new>

#include "objectmodel/line_object.h"
#include "objectmodel/out_param.h"

HRESULT CPointList::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out, {&IID_IPointList});
}

ULONG CPointList::AddRef() { return m_references.Increment(); }

ULONG CPointList::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

void CPointList::ReserveFor(size_t count)
{
    if (count <= m_points.capacity()) {
        return;
    }
    const size_t step = static_cast<size_t>(m_growBy);
    m_points.reserve(((count + step - 1) / step) * step);
}

HRESULT CPointList::Append(IPointList* other)
{
    if (other == nullptr) {
        return E_FAIL;
    }
    int32_t count = 0;
    if (other->GetCount(&count) != S_OK || count < 0 || count > kMaxCount - GetCount()) {
        return E_FAIL;
    }
    // Read everything first: a source that fails half way, or this very
    // list, must leave the list as it was.
    try {
        std::vector<CVector3> added;
        added.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            IVector3* point = nullptr;
            if (other->GetAt(i, &point) != S_OK || point == nullptr) {
                return E_FAIL;
            }
            added.emplace_back(point);
        }
        ReserveFor(m_points.size() + added.size());
        m_points.insert(m_points.end(), added.begin(), added.end());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPointList::SetAt(int32_t index, IVector3* point)
{
    if (!IsIndex(index) || point == nullptr) {
        return E_FAIL;
    }
    return m_points[static_cast<size_t>(index)].CopyFrom(point);
}

HRESULT CPointList::GetAt(int32_t index, IVector3** point)
{
    if (!IsIndex(index) || point == nullptr) {
        return E_FAIL;
    }
    *point = &m_points[static_cast<size_t>(index)];
    return S_OK;
}

HRESULT CPointList::RemoveAll()
{
    m_points.clear();
    return S_OK;
}

HRESULT CPointList::RemoveAt(int32_t index)
{
    if (!IsIndex(index)) {
        return E_FAIL;
    }
    m_points.erase(m_points.begin() + index);
    return S_OK;
}

HRESULT CPointList::InsertAt(int32_t index, IVector3* point)
{
    if (index < 0 || index >= kMaxCount || GetCount() >= kMaxCount || point == nullptr) {
        return E_FAIL;
    }
    try {
        const CVector3 copy(point);
        const size_t at = static_cast<size_t>(index);
        if (at >= m_points.size()) {
            ReserveFor(at + 1);
            m_points.resize(at);
            m_points.push_back(copy);
        } else {
            ReserveFor(m_points.size() + 1);
            m_points.insert(m_points.begin() + index, copy);
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPointList::Add(IVector3* point)
{
    if (point == nullptr || GetCount() >= kMaxCount) {
        return E_FAIL;
    }
    try {
        ReserveFor(m_points.size() + 1);
        m_points.emplace_back(point);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPointList::GetCount(int32_t* count) { return WriteOut(count, GetCount()); }

HRESULT CPointList::SetSize(int32_t count) { return SetSize(count, -1); }

HRESULT CPointList::SetSize(int32_t count, int32_t growBy)
{
    if (count < 0 || count > kMaxCount) {
        return E_FAIL;
    }
    if (growBy != -1) {
        m_growBy = growBy > 0 ? growBy : kDefaultGrowBy;
    }
    try {
        ReserveFor(static_cast<size_t>(count));
        m_points.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

const CVector3& CPointList::GetAt(int32_t index) const
{
    static const CVector3 kNoPoint;
    return IsIndex(index) ? m_points[static_cast<size_t>(index)] : kNoPoint;
}

std::optional<CVector3> CPointList::NearestToLine(ILine* line) const
{
    if (m_points.empty()) {
        return std::nullopt;
    }
    const CLineObject value(line);
    size_t best = 0;
    CReal bestDistance = value.DistanceToPoint(m_points[0]);
    for (size_t i = 1; i < m_points.size(); ++i) {
        const CReal distance = value.DistanceToPoint(m_points[i]);
        if (distance.IsLess(bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    return m_points[best];
}
