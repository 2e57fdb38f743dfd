// CPolylineSet: tagged polylines of 3-D points in vectors, every index
// checked before use.
#include "objectmodel/polylineset.h"

#include <cstdint>
#include <limits>
#include <new>

#include "objectmodel/out_param.h"

namespace {

constexpr uint64_t kMaxIndexable = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());

} // namespace

CPolylineSet::Polyline* CPolylineSet::Find(int32_t polyline)
{
    if (polyline < 0 || static_cast<size_t>(polyline) >= m_polylines.size()) {
        return nullptr;
    }
    return &m_polylines[static_cast<size_t>(polyline)];
}

HRESULT CPolylineSet::Clear()
{
    // Swap with an empty vector so that the storage is freed, not kept.
    std::vector<Polyline>().swap(m_polylines);
    return S_OK;
}

HRESULT CPolylineSet::NotImplemented(void* /*unused*/)
{
    return E_NOTIMPL;
}

HRESULT CPolylineSet::SetTag(int32_t polyline, uint32_t tag)
{
    Polyline* target = Find(polyline);
    if (target == nullptr) {
        return E_FAIL;
    }
    target->tag = tag;
    return S_OK;
}

HRESULT CPolylineSet::SetPoint(int32_t polyline, int32_t point, double x, double y, double z)
{
    Polyline* target = Find(polyline);
    if (target == nullptr || point < 0 || static_cast<size_t>(point) >= target->points.size()) {
        return E_FAIL;
    }
    target->points[static_cast<size_t>(point)] = {x, y, z};
    return S_OK;
}

HRESULT CPolylineSet::AddPoint(int32_t polyline, double x, double y, double z)
{
    Polyline* target = Find(polyline);
    if (target == nullptr) {
        return S_OK;
    }
    if (target->points.size() >= kMaxIndexable) {
        return E_INVALIDARG;
    }
    try {
        target->points.push_back({x, y, z});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPolylineSet::SetPointCount(int32_t polyline, uint32_t count)
{
    Polyline* target = Find(polyline);
    if (target == nullptr) {
        return S_OK;
    }
    if (count > kMaxIndexable) {
        return E_INVALIDARG;
    }
    try {
        target->points.resize(count);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPolylineSet::AddPolyline(uint32_t pointCount, uint32_t tag)
{
    if (pointCount > kMaxIndexable || m_polylines.size() + 1 > kMaxIndexable) {
        return E_INVALIDARG;
    }
    try {
        Polyline added;
        added.tag = tag;
        added.points.resize(pointCount);
        m_polylines.push_back(std::move(added));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPolylineSet::AddPolylines(uint32_t polylineCount, uint32_t tag)
{
    if (m_polylines.size() + polylineCount > kMaxIndexable) {
        return E_INVALIDARG;
    }
    try {
        Polyline empty;
        empty.tag = tag;
        m_polylines.insert(m_polylines.end(), polylineCount, empty);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPolylineSet::GetPointCount(int32_t polyline, uint32_t* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    Polyline* target = Find(polyline);
    *count = target == nullptr ? 0 : static_cast<uint32_t>(target->points.size());
    return S_OK;
}

HRESULT CPolylineSet::GetTag(int32_t polyline, uint32_t* tag)
{
    if (tag == nullptr) {
        return E_POINTER;
    }
    Polyline* target = Find(polyline);
    if (target == nullptr) {
        return E_FAIL;
    }
    *tag = target->tag;
    return S_OK;
}

HRESULT CPolylineSet::GetCount(uint32_t* count) { return WriteOut(count, static_cast<uint32_t>(m_polylines.size())); }

HRESULT CPolylineSet::GetPoint(int32_t polyline, int32_t point, double* x, double* y, double* z)
{
    if (x == nullptr || y == nullptr || z == nullptr) {
        return E_POINTER;
    }
    Polyline* target = Find(polyline);
    if (target == nullptr || point < 0 || static_cast<size_t>(point) >= target->points.size()) {
        return E_FAIL;
    }
    const Point& found = target->points[static_cast<size_t>(point)];
    *x = found.x;
    *y = found.y;
    *z = found.z;
    return S_OK;
}
