// CModelObject: a document object holding an ordered table of named id
// groups, at most one of them current. Byte form (little-endian, packed):
//   u32 group count n, i32 current index (-1 for none),
//   i16 name length L, L name bytes,
//   n group entries:
//     u32 flags, with 0x100 / 0x200 / 0x400 set when a colour / attribute /
//         marker attachment follows (never kept set in memory),
//     i16 name length, the name bytes,
//     per present attachment, in the order colour, attribute, marker:
//         u32 size s, then s bytes of the attachment's own form.
#pragma once

#include <string>
#include <vector>

#include "imodelobject.h"
#include "objectmodel/id_group_object.h"
#include "platform/com/unknwn.h"
#include "objectmodel/com_object.h"

// Attachment bits of a group entry in the byte form.
constexpr uint32_t kGroupEntryHasColour = 0x100;
constexpr uint32_t kGroupEntryHasAttributes = 0x200;
constexpr uint32_t kGroupEntryHasMarker = 0x400;
constexpr uint32_t kGroupEntryAttachmentBits = 0x700;

class CModelObject : public CCountedObject<IModelObject, IID_IObjectBase, IID_IModelObject> {
public:
    CModelObject();
    CModelObject(const CModelObject&) = delete;
    CModelObject& operator=(const CModelObject&) = delete;

    // A new model object sharing the same groups, with the same current
    // index and name.
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override;
    // The whole block must be one byte form; a block that is cut short, has
    // bytes left over, or holds an attachment that refuses its part is
    // refused with E_FAIL and the object keeps its groups. A current index
    // outside the loaded table leaves no group current.
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument* document) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    HRESULT STDMETHODCALLTYPE SetName(const char* name) override;
    HRESULT STDMETHODCALLTYPE GetName(char* out) override;
    HRESULT STDMETHODCALLTYPE SetChildLocked(int32_t index, BOOL locked) override;
    HRESULT STDMETHODCALLTYPE SetChildHidden(int32_t index, BOOL hidden) override;
    HRESULT STDMETHODCALLTYPE SetCurrent(int32_t index) override;
    HRESULT STDMETHODCALLTYPE GetCurrentChild(IIdGroup** out) override;
    HRESULT STDMETHODCALLTYPE GetCurrentIndex(int32_t* out) override;
    HRESULT STDMETHODCALLTYPE IndexOf(IIdGroup* group, int32_t* out) override;
    HRESULT STDMETHODCALLTYPE GetChild(int32_t index, IIdGroup** out) override;
    HRESULT STDMETHODCALLTYPE CopyChildFrom(int32_t index, IIdGroup* source) override;
    HRESULT STDMETHODCALLTYPE AddChild(IIdGroup* group) override;
    // The group is taken out of the table and flagged removed; the current
    // index follows the group that was current.
    HRESULT STDMETHODCALLTYPE RemoveChild(int32_t index) override;
    HRESULT STDMETHODCALLTYPE GetChildCount(uint32_t* out) override;

    // Releases every group; groups that live on see no owner any more.
    virtual ~CModelObject();

    const ModelOwnerLink& OwnerLink() const { return m_ownerLink; }
    const std::string& Name() const { return m_name; }

private:
    bool ValidIndex(int32_t index) const;

    std::vector<ComPtr<IIdGroup>> m_children;
    int32_t m_current = -1;
    std::string m_name;
    ModelOwnerLink m_ownerLink;
};
