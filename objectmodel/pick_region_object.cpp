// CPickRegionObject: the host's selection set with the region it was made in.
#include "objectmodel/pick_region_object.h"

#include "objectmodel/out_param.h"

CPickRegionObject::CPickRegionObject() : CPickRegionObject(Lifetime::OwnerHeld) {}

CPickRegionObject::CPickRegionObject(Lifetime lifetime) : m_references(lifetime) { LendMembers(); }

CPickRegionObject::CPickRegionObject(const CPickRegionObject& other)
    : IPickRegion(other),
      m_valid(other.m_valid),
      m_planes(other.m_planes),
      m_line(other.m_line),
      m_firstCorner(other.m_firstCorner),
      m_secondCorner(other.m_secondCorner),
      m_references(Lifetime::OwnerHeld),
      m_ids(other.m_ids)
{
    LendMembers();
}

CPickRegionObject& CPickRegionObject::operator=(const CPickRegionObject& other)
{
    m_valid = other.m_valid;
    m_planes = other.m_planes;
    m_line = other.m_line;
    m_firstCorner = other.m_firstCorner;
    m_secondCorner = other.m_secondCorner;
    m_ids = other.m_ids;
    return *this;
}

CPickRegionObject::~CPickRegionObject() = default;

CPickRegionObject* CPickRegionObject::Create() { return new CPickRegionObject(Lifetime::Counted); }

// The planes and the line are lent out by GetPlanes and GetLine; they live
// and die with the region.
void CPickRegionObject::LendMembers()
{
    for (CPlaneObject& plane : m_planes) {
        plane.SetLifetime(Lifetime::OwnerHeld);
    }
    m_line.SetLifetime(Lifetime::OwnerHeld);
}

HRESULT CPickRegionObject::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(this, true, iid, out, {&IID_ISelectionSet, &IID_IPickRegion});
}

ULONG CPickRegionObject::AddRef() { return m_references.Increment(); }

ULONG CPickRegionObject::Release()
{
    ULONG remaining = 0;
    if (m_references.Decrement(&remaining)) {
        delete this;
    }
    return remaining;
}

HRESULT CPickRegionObject::SetAt(int32_t index, uintptr_t id) { return m_ids.SetAt(index, id); }
HRESULT CPickRegionObject::GetAt(int32_t index, uintptr_t* id) { return m_ids.GetAt(index, id); }
HRESULT CPickRegionObject::RemoveAll() { return m_ids.RemoveAll(); }
HRESULT CPickRegionObject::RemoveAt(int32_t index) { return m_ids.RemoveAt(index); }
HRESULT CPickRegionObject::InsertAt(int32_t index, uintptr_t id) { return m_ids.InsertAt(index, id); }
HRESULT CPickRegionObject::Add(uintptr_t id) { return m_ids.Add(id); }
HRESULT CPickRegionObject::GetCount(uint32_t* count) { return m_ids.GetCount(count); }
HRESULT CPickRegionObject::SetSize(int32_t size) { return m_ids.SetSize(size); }
HRESULT CPickRegionObject::SetSize(int32_t size, int32_t grow) { return m_ids.SetSize(size, grow); }

HRESULT CPickRegionObject::GetPlanes(IPlane** left, IPlane** bottom, IPlane** right, IPlane** top)
{
    if (!m_valid) {
        return E_FAIL;
    }
    if (left == nullptr || bottom == nullptr || right == nullptr || top == nullptr) {
        return E_POINTER;
    }
    *left = &m_planes[kLeft];
    *bottom = &m_planes[kBottom];
    *right = &m_planes[kRight];
    *top = &m_planes[kTop];
    return S_OK;
}

HRESULT CPickRegionObject::GetLine(ILine** line)
{
    if (!m_valid) {
        return E_FAIL;
    }
    if (line == nullptr) {
        return E_POINTER;
    }
    *line = &m_line;
    return S_OK;
}

HRESULT CPickRegionObject::GetSecondCorner(IPoint2* point)
{
    if (!m_valid) {
        return E_FAIL;
    }
    if (point == nullptr) {
        return E_POINTER;
    }
    return point->Set(&m_secondCorner.x, &m_secondCorner.y);
}

HRESULT CPickRegionObject::GetFirstCorner(IPoint2* point)
{
    if (!m_valid) {
        return E_FAIL;
    }
    if (point == nullptr) {
        return E_POINTER;
    }
    return point->Set(&m_firstCorner.x, &m_firstCorner.y);
}

HRESULT CPickRegionObject::IsBox(BOOL* result)
{
    return WriteOut(result, (m_valid && m_firstCorner != m_secondCorner) ? TRUE : FALSE);
}

HRESULT CPickRegionObject::IsPoint(BOOL* result)
{
    return WriteOut(result, (m_valid && m_firstCorner == m_secondCorner) ? TRUE : FALSE);
}

HRESULT CPickRegionObject::IsValid(BOOL* result) { return WriteOut(result, m_valid); }
