// CEntityRecord: the holder of one document object.
#include "objectmodel/entity_record.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "objectmodel/out_param.h"

namespace {

// Releases each reference in order.
template <class Interface>
void ReleaseInOrder(std::vector<ComPtr<Interface>>& references)
{
    for (ComPtr<Interface>& reference : references) {
        reference.Reset();
    }
    references.clear();
}

} // namespace

CEntityRecord::CEntityRecord(IUnknown* object) : m_object(ComPtr<IUnknown>::Share(object)) {}

CEntityRecord::CEntityRecord(IEntityRecord* source, BOOL cloneObject, BOOL cloneChildren)
{
    CopyFrom(source, cloneObject, cloneChildren);
}

CEntityRecord::~CEntityRecord()
{
    m_object.Reset();
    std::vector<ComPtr<ICollectionBase>> children;
    children.swap(m_children);
    DropChildren(children);
    std::vector<ComPtr<IUnknown>> links;
    links.swap(m_links);
    ReleaseInOrder(links);
}

HRESULT CEntityRecord::CopyFrom(IEntityRecord* source, BOOL cloneObject, BOOL cloneChildren)
{
    if (source == nullptr || source == static_cast<IEntityRecord*>(this)) {
        return E_FAIL;
    }
    // Everything new is taken (with its own reference) before anything old
    // is let go, so that an object or child shared with the source survives.
    ComPtr<IUnknown> object;
    IUnknown* held = nullptr;
    if (SUCCEEDED(source->GetObject(&held)) && held != nullptr) {
        ComPtr<IObjectBase> persistent;
        IObjectBase* copy = nullptr;
        // A clone comes with count 0: the shared reference is its first.
        if (cloneObject && SUCCEEDED(held->QueryInterface(IID_IObjectBase, persistent.ReceiveVoid())) && persistent &&
            SUCCEEDED(persistent->Clone(&copy)) && copy != nullptr) {
            held = copy;
        }
        object = ComPtr<IUnknown>::Share(held);
    }

    std::vector<ComPtr<ICollectionBase>> children;
    int32_t count = 0;
    if (FAILED(source->GetChildCount(&count))) {
        count = 0;
    }
    for (int32_t i = 0; i < count; ++i) {
        ICollectionBase* child = nullptr;
        if (FAILED(source->GetChild(i, &child)) || child == nullptr) {
            continue;
        }
        if (cloneChildren) {
            IUnknown* copy = nullptr;
            if (SUCCEEDED(child->Clone(&copy)) && copy != nullptr) {
                // The copy comes with count 0: the query gives it its first
                // reference, which the list takes over.
                ComPtr<ICollectionBase> copyBase;
                if (SUCCEEDED(copy->QueryInterface(IID_ICollectionBase, copyBase.ReceiveVoid())) && copyBase) {
                    children.push_back(std::move(copyBase));
                    continue;
                }
                // A copy that is no collection object goes with its only
                // reference.
                ComPtr<IUnknown>::Share(copy).Reset();
            }
        }
        children.push_back(ComPtr<ICollectionBase>::Share(child));
    }

    // Let go of the old state. Children are detached before they are
    // released, so no group keeps a pointer to this record for them.
    m_object = std::move(object);
    m_flags = 0;
    std::vector<ComPtr<ICollectionBase>> old;
    old.swap(m_children);
    DropChildren(old);
    for (ComPtr<ICollectionBase>& child : children) {
        ICollectionBase* attached = child.Get();
        m_children.push_back(std::move(child));
        attached->Attach(this);
    }
    return S_OK;
}

HRESULT CEntityRecord::ResetTransientFlags(uint32_t)
{
    if ((m_flags & kRecordHidden) == 0) {
        m_flags &= ~kRecordPassBits;
    }
    return S_OK;
}

HRESULT CEntityRecord::Draw(IGraphicsContext* context)
{
    if ((m_flags & kRecordHidden) != 0) {
        return S_OK;
    }
    m_flags &= ~kRecordPassBits;
    if (!m_object) {
        return S_OK;
    }
    ComPtr<IEntityBase> entity;
    if (FAILED(m_object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())) || !entity) {
        return S_OK;
    }
    // The children are held for the pass, so that one that changes the
    // list while it is applied cannot pull another out from under the loop.
    const std::vector<ComPtr<ICollectionBase>> children = m_children;
    for (const auto& child : children) {
        child->Apply(context, static_cast<IEntityRecord*>(this));
    }
    if ((m_flags & kRecordSkipDraw) != 0 || context == nullptr) {
        return S_OK;
    }
    const HighlightColour* highlight = nullptr;
    for (const HighlightColour& row : kHighlightColours) {
        if ((m_flags & row.bit) != 0) {
            highlight = &row;
            break;
        }
    }
    if (highlight == nullptr) {
        entity->Draw(context);
        return S_OK;
    }
    uint32_t colour = 0;
    int32_t width = 1;
    context->GetColor(&colour);
    context->GetLineWidth(&width);
    context->SetColor(highlight->colour);
    context->SetLineWidth(width > 1 ? width + 2 : width + 1);
    entity->Draw(context);
    context->SetColor(colour);
    context->SetLineWidth(width);
    return S_OK;
}

HRESULT CEntityRecord::ClearFlags(uint32_t mask)
{
    m_flags &= ~mask;
    return S_OK;
}

HRESULT CEntityRecord::AddFlags(uint32_t mask)
{
    m_flags |= mask;
    return S_OK;
}

HRESULT CEntityRecord::SetFlags(uint32_t value)
{
    m_flags = value;
    return S_OK;
}

HRESULT CEntityRecord::GetFlags(uint32_t* value) { return WriteOut(value, m_flags); }

HRESULT CEntityRecord::SetObject(IUnknown* object)
{
    if (object == nullptr) {
        return E_FAIL;
    }
    // The new reference is taken before the old one goes, so setting the
    // object it holds keeps it.
    m_object = ComPtr<IUnknown>::Share(object);
    return S_OK;
}

HRESULT CEntityRecord::GetObject(IUnknown** object) { return WriteOut(object, m_object.Get()); }

HRESULT CEntityRecord::GetChildCount(int32_t* count)
{
    return WriteOut(count, static_cast<int32_t>(m_children.size()));
}

bool CEntityRecord::ValidChildIndex(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_children.size();
}

HRESULT CEntityRecord::GetChild(int32_t index, ICollectionBase** child)
{
    if (child == nullptr) {
        return E_POINTER;
    }
    if (!ValidChildIndex(index)) {
        *child = nullptr;
        return E_FAIL;
    }
    *child = m_children[static_cast<size_t>(index)].Get();
    return S_OK;
}

HRESULT CEntityRecord::SetChild(int32_t index, ICollectionBase* child)
{
    if (!ValidChildIndex(index)) {
        return E_FAIL;
    }
    if (child == nullptr) {
        return RemoveChild(index);
    }
    ComPtr<ICollectionBase> old =
        std::exchange(m_children[static_cast<size_t>(index)], ComPtr<ICollectionBase>::Share(child));
    old->Detach(this);
    old.Reset();
    child->Attach(this);
    return S_OK;
}

void CEntityRecord::AppendChild(ICollectionBase* child)
{
    m_children.push_back(ComPtr<ICollectionBase>::Share(child));
    child->Attach(this);
}

void CEntityRecord::DropChildren(std::vector<ComPtr<ICollectionBase>>& children)
{
    for (ComPtr<ICollectionBase>& child : children) {
        child->Detach(this);
        child.Reset();
    }
    children.clear();
}

HRESULT CEntityRecord::AddChild(ICollectionBase* child)
{
    if (child == nullptr) {
        return E_FAIL;
    }
    AppendChild(child);
    return S_OK;
}

HRESULT CEntityRecord::RemoveChild(int32_t index)
{
    if (!ValidChildIndex(index)) {
        return E_FAIL;
    }
    ComPtr<ICollectionBase> child = std::move(m_children[static_cast<size_t>(index)]);
    m_children.erase(m_children.begin() + index);
    child->Detach(this);
    child.Reset();
    return S_OK;
}

HRESULT CEntityRecord::RemoveChildObject(ICollectionBase* child)
{
    auto keep = std::stable_partition(m_children.begin(), m_children.end(),
                                      [child](const ComPtr<ICollectionBase>& entry) { return entry.Get() != child; });
    std::vector<ComPtr<ICollectionBase>> removed(std::make_move_iterator(keep),
                                                 std::make_move_iterator(m_children.end()));
    m_children.erase(keep, m_children.end());
    DropChildren(removed);
    return S_OK;
}

HRESULT CEntityRecord::RemoveAllChildren()
{
    std::vector<ComPtr<ICollectionBase>> removed;
    removed.swap(m_children);
    DropChildren(removed);
    return S_OK;
}

HRESULT CEntityRecord::GetLinkCount(int32_t* count) { return WriteOut(count, static_cast<int32_t>(m_links.size())); }

HRESULT CEntityRecord::GetLink(int32_t index, IUnknown** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_links.size()) {
        *object = nullptr;
        return E_FAIL;
    }
    *object = m_links[static_cast<size_t>(index)].Get();
    return S_OK;
}

HRESULT CEntityRecord::AddLink(IUnknown* object)
{
    if (object == nullptr) {
        return E_FAIL;
    }
    m_links.push_back(ComPtr<IUnknown>::Share(object));
    return S_OK;
}

HRESULT CEntityRecord::RemoveLink(IUnknown* object)
{
    auto keep = std::stable_partition(m_links.begin(), m_links.end(),
                                      [object](const ComPtr<IUnknown>& entry) { return entry.Get() != object; });
    std::vector<ComPtr<IUnknown>> removed(std::make_move_iterator(keep), std::make_move_iterator(m_links.end()));
    m_links.erase(keep, m_links.end());
    ReleaseInOrder(removed);
    return S_OK;
}

HRESULT CEntityRecord::RemoveAllLinks()
{
    std::vector<ComPtr<IUnknown>> removed;
    removed.swap(m_links);
    ReleaseInOrder(removed);
    return S_OK;
}
