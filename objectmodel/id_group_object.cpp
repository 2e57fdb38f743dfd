// CIdGroupObject: one named group of a model object.
#include "objectmodel/id_group_object.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "idocumentfileindex.h"
#include "ientityrecord.h"
#include "objectmodel/byte_io.h"
#include "objectmodel/model_object.h"
#include "objectmodel/out_param.h"

namespace {

// A copy of an attachment with one reference of our own, or null.
template <class T>
ComPtr<T> CloneAttachment(T* source, REFIID iid)
{
    ComPtr<T> result;
    if (source == nullptr) {
        return result;
    }
    IUnknown* made = nullptr;
    if (FAILED(source->Clone(&made)) || made == nullptr) {
        return result;
    }
    // The copy comes with count 0; held here, it goes when this scope ends
    // unless the query below kept a reference.
    const ComPtr<IUnknown> copy = ComPtr<IUnknown>::Share(made);
    if (FAILED(copy->QueryInterface(iid, result.ReceiveVoid()))) {
        result.Reset();
    }
    return result;
}

} // namespace

ModelOwnerLink LinkToModel(IModelObject* model)
{
    if (model == nullptr) {
        return nullptr;
    }
    if (auto* ours = dynamic_cast<CModelObject*>(model)) {
        return ours->OwnerLink();
    }
    return std::make_shared<IModelObject*>(model);
}

CIdGroupObject::CIdGroupObject(ModelOwnerLink owner) : m_owner(std::move(owner)) {}

CIdGroupObject::CIdGroupObject(IIdGroup* source)
{
    if (source != nullptr) {
        CopyStateFrom(source);
    }
}

void CIdGroupObject::CopyStateFrom(IIdGroup* source)
{
    // Copies are made before anything of this group changes, so copying
    // from itself is harmless.
    ICollectionD* marker = nullptr;
    IAttributeSet* attributes = nullptr;
    ICollectionB* colour = nullptr;
    ComPtr<ICollectionD> markerCopy;
    ComPtr<IAttributeSet> attributesCopy;
    ComPtr<ICollectionB> colourCopy;
    if (SUCCEEDED(source->GetMarker(&marker))) {
        markerCopy = CloneAttachment(marker, IID_ICollectionD);
    }
    if (SUCCEEDED(source->GetAttributeSet(&attributes))) {
        attributesCopy = CloneAttachment(attributes, IID_IAttributeSet);
    }
    if (SUCCEEDED(source->GetColour(&colour))) {
        colourCopy = CloneAttachment(colour, IID_ICollectionB);
    }
    uint32_t flags = 0;
    source->GetFlags(&flags);
    std::string name;
    ModelOwnerLink owner;
    if (auto* ours = dynamic_cast<CIdGroupObject*>(source)) {
        name = ours->m_name;
        owner = ours->m_owner;
    } else {
        std::vector<char> buffer(kModelNameMaxLength + 1, '\0');
        source->GetName(buffer.data());
        buffer.back() = '\0';
        name = buffer.data();
        IModelObject* model = nullptr;
        if (SUCCEEDED(source->GetOwner(&model))) {
            owner = LinkToModel(model);
        }
    }
    m_marker = std::move(markerCopy);
    m_attributes = std::move(attributesCopy);
    m_colour = std::move(colourCopy);
    m_flags = flags;
    m_name = std::move(name);
    m_owner = std::move(owner);
}

HRESULT CIdGroupObject::Detach(IEntityRecord* holder)
{
    auto it = std::find(m_members.begin(), m_members.end(), holder);
    if (it == m_members.end()) {
        return E_FAIL;
    }
    m_members.erase(it);
    return S_OK;
}

HRESULT CIdGroupObject::Attach(IEntityRecord* holder)
{
    if (holder == nullptr) {
        return E_FAIL;
    }
    m_members.push_back(holder);
    return S_OK;
}

HRESULT CIdGroupObject::Apply(IGraphicsContext*, IUnknown* target)
{
    if (target == nullptr) {
        return S_OK;
    }
    ComPtr<IEntityRecord> holder;
    if (FAILED(target->QueryInterface(IID_IEntityRecord, holder.ReceiveVoid())) || !holder) {
        return S_OK;
    }
    if ((m_flags & kGroupHidden) != 0) {
        holder->AddFlags(kHolderHiddenByGroup);
    }
    if ((m_flags & kGroupLocked) != 0) {
        holder->AddFlags(kHolderLockedByGroup);
    }
    return S_OK;
}

HRESULT CIdGroupObject::Clone(IUnknown** out)
{
    return WriteNewObject<IIdGroup, CIdGroupObject>(out, static_cast<IIdGroup*>(this));
}

HRESULT CIdGroupObject::Load(IHostDocument*, uint32_t size, const BYTE* data)
{
    ByteReader reader(data, size);
    int32_t fileIndex = -1;
    int32_t position = -1;
    reader.ReadI32(fileIndex);
    reader.ReadI32(position);
    if (!reader.AtEnd()) {
        return E_FAIL;
    }
    m_ownerFileIndex = fileIndex;
    m_groupPosition = position;
    return S_OK;
}

HRESULT CIdGroupObject::GetSize(IHostDocument*, uint32_t* size) { return WriteOut(size, kReferenceSize); }

HRESULT CIdGroupObject::Save(IHostDocument* document, BYTE* buffer)
{
    int32_t fileIndex = -1;
    int32_t position = -1;
    IModelObject* owner = Owner();
    ComPtr<IDocumentFileIndex> index = QueryDocumentFileIndex(document);
    if (owner != nullptr && index) {
        if (FAILED(index->GetFileIndexOf(owner, &fileIndex)) || fileIndex < 0) {
            fileIndex = -1;
        } else if (FAILED(owner->IndexOf(this, &position)) || position < 0) {
            position = -1;
        }
    }
    if (fileIndex < 0 || position < 0) {
        fileIndex = -1;
        position = -1;
    }
    ByteWriter writer(buffer, kReferenceSize);
    writer.WriteI32(fileIndex);
    writer.WriteI32(position);
    if (!writer.Full() || fileIndex < 0) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CIdGroupObject::Resolve(IHostDocument* document, IUnknown** object)
{
    if (object == nullptr) {
        return E_FAIL;
    }
    *object = nullptr;
    if (m_ownerFileIndex < 0 || m_groupPosition < 0) {
        return E_FAIL;
    }
    ComPtr<IDocumentFileIndex> index = QueryDocumentFileIndex(document);
    if (!index) {
        return E_FAIL;
    }
    IUnknown* loaded = nullptr;
    if (FAILED(index->GetObjectByFileIndex(m_ownerFileIndex, &loaded)) || loaded == nullptr) {
        return E_FAIL;
    }
    // Whatever the record holds must be a model object; anything else
    // resolves to nothing.
    ComPtr<IModelObject> model;
    if (FAILED(loaded->QueryInterface(IID_IModelObject, model.ReceiveVoid())) || !model) {
        return E_FAIL;
    }
    IIdGroup* shared = nullptr;
    if (FAILED(model->GetChild(m_groupPosition, &shared)) || shared == nullptr) {
        return E_FAIL;
    }
    m_owner = LinkToModel(model.Get());
    *object = shared;
    return S_OK;
}

HRESULT CIdGroupObject::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_IIdGroup);
}

HRESULT CIdGroupObject::CopyFrom(IIdGroup* source)
{
    if (source == nullptr) {
        return E_FAIL;
    }
    try {
        CopyStateFrom(source);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void CIdGroupObject::ReevaluateMembers()
{
    // A member's drawing may change the member list (a child that detaches
    // itself); work on a copy.
    const std::vector<IEntityRecord*> members = m_members;
    for (IEntityRecord* member : members) {
        if (std::find(m_members.begin(), m_members.end(), member) != m_members.end()) {
            member->Draw(nullptr);
        }
    }
}

HRESULT CIdGroupObject::SetLocked(BOOL locked)
{
    m_flags = locked ? (m_flags | kGroupLocked) : (m_flags & ~kGroupLocked);
    ReevaluateMembers();
    return S_OK;
}

HRESULT CIdGroupObject::SetHidden(BOOL hidden)
{
    m_flags = hidden ? (m_flags | kGroupHidden) : (m_flags & ~kGroupHidden);
    ReevaluateMembers();
    return S_OK;
}

void CIdGroupObject::MarkRemoved(bool removed)
{
    m_flags = removed ? (m_flags | kGroupRemoved) : (m_flags & ~kGroupRemoved);
}

HRESULT CIdGroupObject::SetRemoved(BOOL removed)
{
    IModelObject* owner = Owner();
    if (removed) {
        if ((m_flags & kGroupRemoved) != 0) {
            return S_OK;
        }
        m_flags |= kGroupRemoved;
        int32_t position = -1;
        if (owner != nullptr && SUCCEEDED(owner->IndexOf(this, &position)) && position >= 0) {
            // The owner may drop its last reference to this group here;
            // nothing of the group is touched afterwards.
            owner->RemoveChild(position);
        }
        return S_OK;
    }
    m_flags &= ~kGroupRemoved;
    int32_t position = -1;
    if (owner != nullptr && FAILED(owner->IndexOf(this, &position))) {
        owner->AddChild(this);
    }
    return S_OK;
}

HRESULT CIdGroupObject::SetCurrent(BOOL current)
{
    IModelObject* owner = Owner();
    if (owner == nullptr) {
        return E_FAIL;
    }
    if (current) {
        int32_t position = -1;
        if (FAILED(owner->IndexOf(this, &position)) || position < 0) {
            return E_FAIL;
        }
        // The owner may refuse (a hidden or locked group); that is no
        // failure of this call.
        owner->SetCurrent(position);
        return S_OK;
    }
    IIdGroup* currentGroup = nullptr;
    if (SUCCEEDED(owner->GetCurrentChild(&currentGroup)) && currentGroup == static_cast<IIdGroup*>(this)) {
        owner->SetCurrent(-1);
    }
    return S_OK;
}

HRESULT CIdGroupObject::IsLocked(uint32_t* out) { return WriteOut(out, m_flags & kGroupLocked); }

HRESULT CIdGroupObject::IsHidden(uint32_t* out) { return WriteOut(out, m_flags & kGroupHidden); }

HRESULT CIdGroupObject::IsRemoved(uint32_t* out) { return WriteOut(out, m_flags & kGroupRemoved); }

HRESULT CIdGroupObject::IsCurrent(BOOL* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    IModelObject* owner = Owner();
    if (owner == nullptr) {
        return E_FAIL;
    }
    IIdGroup* currentGroup = nullptr;
    *out = (SUCCEEDED(owner->GetCurrentChild(&currentGroup)) && currentGroup == static_cast<IIdGroup*>(this))
               ? TRUE
               : FALSE;
    return S_OK;
}

HRESULT CIdGroupObject::SetMarker(ICollectionD* marker)
{
    m_marker = ComPtr<ICollectionD>::Share(marker);
    return S_OK;
}

HRESULT CIdGroupObject::GetMarker(ICollectionD** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = m_marker.Get();
    return m_marker ? S_OK : E_FAIL;
}

HRESULT CIdGroupObject::SetAttributeSet(IAttributeSet* set)
{
    m_attributes = ComPtr<IAttributeSet>::Share(set);
    return S_OK;
}

HRESULT CIdGroupObject::GetAttributeSet(IAttributeSet** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = m_attributes.Get();
    return m_attributes ? S_OK : E_FAIL;
}

HRESULT CIdGroupObject::SetColour(ICollectionB* colour)
{
    m_colour = ComPtr<ICollectionB>::Share(colour);
    return S_OK;
}

HRESULT CIdGroupObject::GetColour(ICollectionB** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = m_colour.Get();
    return m_colour ? S_OK : E_FAIL;
}

HRESULT CIdGroupObject::SetName(const char* name)
{
    if (name == nullptr) {
        return E_FAIL;
    }
    const size_t length = strnlen(name, kModelNameMaxLength + 1);
    if (length > kModelNameMaxLength) {
        return E_FAIL;
    }
    m_name.assign(name, length);
    return S_OK;
}

HRESULT CIdGroupObject::GetName(char* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    std::memcpy(out, m_name.c_str(), m_name.size() + 1);
    return S_OK;
}

HRESULT CIdGroupObject::GetFlags(uint32_t* out) { return WriteOut(out, m_flags); }

HRESULT CIdGroupObject::GetOwner(IModelObject** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = Owner();
    return *out != nullptr ? S_OK : E_FAIL;
}
