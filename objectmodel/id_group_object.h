// CIdGroupObject: one named group of a model object. Holders of drawing
// objects carry it as a child record and become its members; its hidden and
// locked flags then decide, each time a member is drawn, whether the member
// is drawn, picked and snapped to. It carries up to three attachments
// (colour, attribute set, marker).
//
// As a child record it is saved in its 8-byte reference form:
//   i32 file index of the owning model object's record, -1 for none
//   i32 position of the group in that model object, -1 for none
// and after the document file is read, Resolve hands back the model
// object's shared group in its place.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "imodelobject.h"
#include "platform/com/unknwn.h"
#include "objectmodel/com_object.h"

// A link to the owning model object that reads null once that model object
// is destroyed, so a group that outlives its owner never calls into it.
using ModelOwnerLink = std::shared_ptr<IModelObject*>;

// Hold bits that the group's Apply adds to a member holder's flags.
constexpr uint32_t kHolderHiddenByGroup = 0x30000000;
constexpr uint32_t kHolderLockedByGroup = 0x20000000;

class CIdGroupObject : public CCountedObject<IIdGroup, IID_ICollectionBase, IID_IIdGroup> {
public:
    static constexpr uint32_t kReferenceSize = 8;

    // No members, empty name, no attachments, flags 0, no owner, both
    // indexes -1.
    CIdGroupObject() = default;
    explicit CIdGroupObject(ModelOwnerLink owner);
    // A copy: the source's owner, flags, name and copies of its attachments;
    // no members and both indexes -1. A null source gives the default group.
    explicit CIdGroupObject(IIdGroup* source);
    CIdGroupObject(const CIdGroupObject&) = delete;
    CIdGroupObject& operator=(const CIdGroupObject&) = delete;

    // E_FAIL when the holder is not a member.
    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override;
    // Hidden adds 0x30000000 to the holder's flags, locked 0x20000000.
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) override;
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override;
    // Exactly 8 bytes; any other size is refused with E_FAIL.
    HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) override;
    // Writes the reference form; E_FAIL (with -1 fields) when the document
    // does not write the owner or the owner does not hold the group.
    HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) override;
    // The shared group that the reference names, borrowed from its model
    // object; null and E_FAIL when the reference names no group of a model
    // object that the file holds.
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    HRESULT STDMETHODCALLTYPE CopyFrom(IIdGroup* source) override;
    HRESULT STDMETHODCALLTYPE SetLocked(BOOL locked) override;
    HRESULT STDMETHODCALLTYPE SetHidden(BOOL hidden) override;
    HRESULT STDMETHODCALLTYPE SetRemoved(BOOL removed) override;
    HRESULT STDMETHODCALLTYPE SetCurrent(BOOL current) override;
    HRESULT STDMETHODCALLTYPE IsLocked(uint32_t* out) override;
    HRESULT STDMETHODCALLTYPE IsHidden(uint32_t* out) override;
    HRESULT STDMETHODCALLTYPE IsRemoved(uint32_t* out) override;
    HRESULT STDMETHODCALLTYPE IsCurrent(BOOL* out) override;
    HRESULT STDMETHODCALLTYPE SetMarker(ICollectionD* marker) override;
    HRESULT STDMETHODCALLTYPE GetMarker(ICollectionD** out) override;
    HRESULT STDMETHODCALLTYPE SetAttributeSet(IAttributeSet* set) override;
    HRESULT STDMETHODCALLTYPE GetAttributeSet(IAttributeSet** out) override;
    HRESULT STDMETHODCALLTYPE SetColour(ICollectionB* colour) override;
    HRESULT STDMETHODCALLTYPE GetColour(ICollectionB** out) override;
    // E_FAIL for null or a name longer than kModelNameMaxLength.
    HRESULT STDMETHODCALLTYPE SetName(const char* name) override;
    HRESULT STDMETHODCALLTYPE GetName(char* out) override;
    HRESULT STDMETHODCALLTYPE GetFlags(uint32_t* out) override;
    HRESULT STDMETHODCALLTYPE GetOwner(IModelObject** out) override;

    // Releases the attachments.
    virtual ~CIdGroupObject() = default;

    const std::string& Name() const { return m_name; }
    IModelObject* Owner() const { return m_owner ? *m_owner : nullptr; }
    const ModelOwnerLink& OwnerLink() const { return m_owner; }
    // Sets or clears the removed flag and nothing else (the model object
    // that takes the group out of its table calls it).
    void MarkRemoved(bool removed);
    // Replaces the whole flag word without re-evaluating members (loading).
    void RestoreFlags(uint32_t flags) { m_flags = flags; }
    // Replaces the name as stored, byte for byte (loading).
    void RestoreName(std::string name) { m_name = std::move(name); }
    // The reference form's two indexes, as loaded.
    int32_t OwnerFileIndex() const { return m_ownerFileIndex; }
    int32_t GroupPosition() const { return m_groupPosition; }
    size_t MemberCount() const { return m_members.size(); }

private:
    void CopyStateFrom(IIdGroup* source);
    // Redraws every member without a context, which recomputes its flags.
    void ReevaluateMembers();

    std::vector<IEntityRecord*> m_members;
    std::string m_name;
    ComPtr<ICollectionD> m_marker;
    ComPtr<IAttributeSet> m_attributes;
    ComPtr<ICollectionB> m_colour;
    uint32_t m_flags = 0;
    ModelOwnerLink m_owner;
    int32_t m_groupPosition = -1;
    int32_t m_ownerFileIndex = -1;
};

// The owner link of any model object: a CModelObject's own, which goes null
// when it is destroyed; for another implementation a plain link.
ModelOwnerLink LinkToModel(IModelObject* model);
