// CModelObject: the ordered table of id groups and its byte form.
#include "objectmodel/model_object.h"

#include <cstring>
#include <limits>
#include <new>

#include "objectmodel/attribute_set.h"
#include "objectmodel/byte_io.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/collection_d.h"
#include "objectmodel/out_param.h"

namespace {

// The smallest group entry: flags and an empty name.
constexpr size_t kMinGroupEntrySize = 6;
constexpr size_t kHeaderSize = 10;

std::string GroupName(IIdGroup* group)
{
    if (auto* ours = dynamic_cast<CIdGroupObject*>(group)) {
        return ours->Name();
    }
    std::vector<char> buffer(kModelNameMaxLength + 1, '\0');
    group->GetName(buffer.data());
    buffer.back() = '\0';
    return buffer.data();
}

// The attachments of a group in byte-form order, with their entry bits.
struct GroupAttachments {
    ICollectionBase* colour = nullptr;
    ICollectionBase* attributes = nullptr;
    ICollectionBase* marker = nullptr;
};

GroupAttachments AttachmentsOf(IIdGroup* group)
{
    GroupAttachments result;
    ICollectionB* colour = nullptr;
    IAttributeSet* attributes = nullptr;
    ICollectionD* marker = nullptr;
    if (SUCCEEDED(group->GetColour(&colour))) {
        result.colour = colour;
    }
    if (SUCCEEDED(group->GetAttributeSet(&attributes))) {
        result.attributes = attributes;
    }
    if (SUCCEEDED(group->GetMarker(&marker))) {
        result.marker = marker;
    }
    return result;
}

// Reads one attachment block and loads it into `attachment`.
bool LoadAttachment(ByteReader& reader, ICollectionBase* attachment)
{
    uint32_t size = 0;
    if (!reader.ReadU32(size)) {
        return false;
    }
    const BYTE* bytes = reader.ReadBytes(size);
    return bytes != nullptr && SUCCEEDED(attachment->Load(nullptr, size, bytes));
}

// Writes one attachment block: its size, then its own form.
bool SaveAttachment(ByteWriter& writer, ICollectionBase* attachment)
{
    uint32_t size = 0;
    if (FAILED(attachment->GetSize(nullptr, &size)) || !writer.WriteU32(size)) {
        return false;
    }
    BYTE* room = writer.Reserve(size);
    return room != nullptr && SUCCEEDED(attachment->Save(nullptr, room));
}

bool WriteName(ByteWriter& writer, const std::string& name)
{
    return name.size() <= kModelNameMaxLength && writer.WriteI16(static_cast<int16_t>(name.size())) &&
           writer.WriteBytes(name.data(), name.size());
}

bool ReadName(ByteReader& reader, std::string& name)
{
    int16_t length = 0;
    return reader.ReadI16(length) && length >= 0 && reader.ReadString(static_cast<size_t>(length), name);
}

} // namespace

CModelObject::CModelObject() : m_ownerLink(std::make_shared<IModelObject*>(this)) {}

CModelObject::~CModelObject()
{
    // Groups held elsewhere (by member holders, undo) outlive this object;
    // their owner link now reads null.
    *m_ownerLink = nullptr;
}

HRESULT CModelObject::Clone(IObjectBase** copy)
{
    if (copy == nullptr) {
        return E_POINTER;
    }
    *copy = nullptr;
    try {
        auto* model = new CModelObject();
        model->m_children = m_children;
        model->m_current = m_current;
        model->m_name = m_name;
        *copy = static_cast<IModelObject*>(model);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CModelObject::Load(uint32_t size, const BYTE* data)
{
    // Everything is read into new groups first; the object changes only
    // when the whole block has been read.
    ByteReader reader(data, size);
    uint32_t count = 0;
    int32_t current = -1;
    std::string name;
    if (!reader.ReadU32(count) || !reader.ReadI32(current) || !ReadName(reader, name)) {
        return E_FAIL;
    }
    if (count > reader.Remaining() / kMinGroupEntrySize) {
        return E_FAIL;
    }
    std::vector<ComPtr<IIdGroup>> groups;
    try {
        groups.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t flags = 0;
            std::string groupName;
            if (!reader.ReadU32(flags) || !ReadName(reader, groupName)) {
                return E_FAIL;
            }
            auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(m_ownerLink));
            group->RestoreName(std::move(groupName));
            if ((flags & kGroupEntryHasColour) != 0) {
                auto colour = ComPtr<CCollectionB>::Share(new CCollectionB());
                if (!LoadAttachment(reader, colour.Get())) {
                    return E_FAIL;
                }
                group->SetColour(colour.Get());
            }
            if ((flags & kGroupEntryHasAttributes) != 0) {
                auto attributes = ComPtr<CAttributeSet>::Share(new CAttributeSet());
                if (!LoadAttachment(reader, attributes.Get())) {
                    return E_FAIL;
                }
                group->SetAttributeSet(attributes.Get());
            }
            if ((flags & kGroupEntryHasMarker) != 0) {
                auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
                if (!LoadAttachment(reader, marker.Get())) {
                    return E_FAIL;
                }
                group->SetMarker(marker.Get());
            }
            group->RestoreFlags(flags & ~kGroupEntryAttachmentBits);
            groups.push_back(ComPtr<IIdGroup>::Share(group.Get()));
        }
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    if (!reader.AtEnd()) {
        return E_FAIL;
    }
    m_children.swap(groups);
    m_current = (current >= 0 && static_cast<uint32_t>(current) < count) ? current : -1;
    m_name.swap(name);
    return S_OK;
}

HRESULT CModelObject::GetSize(uint32_t* size)
{
    if (size == nullptr) {
        return E_POINTER;
    }
    if (m_name.size() > kModelNameMaxLength) {
        return E_FAIL;
    }
    uint64_t total = kHeaderSize + m_name.size();
    for (const auto& group : m_children) {
        const std::string name = GroupName(group.Get());
        if (name.size() > kModelNameMaxLength) {
            return E_FAIL;
        }
        total += kMinGroupEntrySize + name.size();
        const GroupAttachments attachments = AttachmentsOf(group.Get());
        for (ICollectionBase* attachment : {attachments.colour, attachments.attributes, attachments.marker}) {
            if (attachment == nullptr) {
                continue;
            }
            uint32_t attachmentSize = 0;
            if (FAILED(attachment->GetSize(nullptr, &attachmentSize))) {
                return E_FAIL;
            }
            total += 4 + static_cast<uint64_t>(attachmentSize);
        }
        if (total > std::numeric_limits<uint32_t>::max()) {
            return E_FAIL;
        }
    }
    *size = static_cast<uint32_t>(total);
    return S_OK;
}

HRESULT CModelObject::Save(BYTE* buffer)
{
    uint32_t size = 0;
    if (FAILED(GetSize(&size))) {
        return E_FAIL;
    }
    ByteWriter writer(buffer, size);
    writer.WriteU32(static_cast<uint32_t>(m_children.size()));
    writer.WriteI32(m_current);
    WriteName(writer, m_name);
    for (const auto& group : m_children) {
        const GroupAttachments attachments = AttachmentsOf(group.Get());
        uint32_t flags = 0;
        group->GetFlags(&flags);
        flags &= ~kGroupEntryAttachmentBits;
        if (attachments.colour != nullptr) {
            flags |= kGroupEntryHasColour;
        }
        if (attachments.attributes != nullptr) {
            flags |= kGroupEntryHasAttributes;
        }
        if (attachments.marker != nullptr) {
            flags |= kGroupEntryHasMarker;
        }
        writer.WriteU32(flags);
        WriteName(writer, GroupName(group.Get()));
        for (ICollectionBase* attachment : {attachments.colour, attachments.attributes, attachments.marker}) {
            if (attachment != nullptr) {
                SaveAttachment(writer, attachment);
            }
        }
    }
    return writer.Full() ? S_OK : E_FAIL;
}

HRESULT CModelObject::SetHostDocument(IHostDocument*) { return E_NOTIMPL; }

HRESULT CModelObject::GetClassIds(CLSID* factory, IID* iid)
{
    return WriteClassIds(factory, iid, CLSID_HostObjectFactory, IID_IModelObject);
}

HRESULT CModelObject::SetName(const char* name)
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

HRESULT CModelObject::GetName(char* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    std::memcpy(out, m_name.c_str(), m_name.size() + 1);
    return S_OK;
}

bool CModelObject::ValidIndex(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_children.size();
}

HRESULT CModelObject::SetChildLocked(int32_t index, BOOL locked)
{
    if (!ValidIndex(index)) {
        return E_FAIL;
    }
    ComPtr<IIdGroup> group = m_children[static_cast<size_t>(index)];
    group->SetLocked(locked);
    if (index == m_current) {
        m_current = -1;
    }
    return S_OK;
}

HRESULT CModelObject::SetChildHidden(int32_t index, BOOL hidden)
{
    if (!ValidIndex(index)) {
        return E_FAIL;
    }
    ComPtr<IIdGroup> group = m_children[static_cast<size_t>(index)];
    group->SetHidden(hidden);
    if (index == m_current) {
        m_current = -1;
    }
    return S_OK;
}

HRESULT CModelObject::SetCurrent(int32_t index)
{
    if (!ValidIndex(index)) {
        m_current = -1;
        return S_OK;
    }
    uint32_t flags = 0;
    m_children[static_cast<size_t>(index)]->GetFlags(&flags);
    if ((flags & (kGroupRemoved | kGroupLocked | kGroupHidden)) != 0) {
        return E_FAIL;
    }
    m_current = index;
    return S_OK;
}

HRESULT CModelObject::GetCurrentChild(IIdGroup** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (!ValidIndex(m_current)) {
        *out = nullptr;
        return E_FAIL;
    }
    *out = m_children[static_cast<size_t>(m_current)].Get();
    return S_OK;
}

HRESULT CModelObject::GetCurrentIndex(int32_t* out) { return WriteOut(out, m_current); }

HRESULT CModelObject::IndexOf(IIdGroup* group, int32_t* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].Get() == group) {
            *out = static_cast<int32_t>(i);
            return S_OK;
        }
    }
    *out = -1;
    return E_FAIL;
}

HRESULT CModelObject::GetChild(int32_t index, IIdGroup** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (!ValidIndex(index)) {
        *out = nullptr;
        return E_FAIL;
    }
    *out = m_children[static_cast<size_t>(index)].Get();
    return S_OK;
}

HRESULT CModelObject::CopyChildFrom(int32_t index, IIdGroup* source)
{
    if (!ValidIndex(index) || source == nullptr) {
        return E_FAIL;
    }
    ComPtr<IIdGroup> group = m_children[static_cast<size_t>(index)];
    return group->CopyFrom(source);
}

HRESULT CModelObject::AddChild(IIdGroup* group)
{
    if (group == nullptr) {
        return E_FAIL;
    }
    m_children.push_back(ComPtr<IIdGroup>::Share(group));
    return S_OK;
}

HRESULT CModelObject::RemoveChild(int32_t index)
{
    if (!ValidIndex(index)) {
        return E_FAIL;
    }
    // Held until the end of the call, so the group can be told it was
    // removed after it has left the table.
    ComPtr<IIdGroup> group = m_children[static_cast<size_t>(index)];
    m_children.erase(m_children.begin() + index);
    if (m_current == index) {
        m_current = -1;
    } else if (m_current > index) {
        --m_current;
    }
    if (auto* ours = dynamic_cast<CIdGroupObject*>(group.Get())) {
        ours->MarkRemoved(true);
    } else {
        // Out of the table already, so the group's own removal finds
        // nothing more to take out here.
        group->SetRemoved(TRUE);
    }
    return S_OK;
}

HRESULT CModelObject::GetChildCount(uint32_t* out) { return WriteOut(out, static_cast<uint32_t>(m_children.size())); }
