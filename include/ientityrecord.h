// IEntityRecord: the document's holder of one object. It owns one reference
// to the object, a flag word of per-object state, an ordered list of child
// objects (ICollectionBase) that travel with the object and are applied to
// the graphics context before it is drawn, and an ordered list of linked
// objects. Getters hand out borrowed pointers; the host's record answers a
// null out-pointer with E_POINTER. Operations stand in table order.
#pragma once

#include "icollection.h"
#include "iids.h"
#include "platform/com/unknwn.h"

struct IGraphicsContext;

struct IEntityRecord : IUnknown {
    // Replaces the object and the children with the source's (copies where
    // asked and offered); flags become 0; links stay. E_FAIL for a null
    // source or the record itself.
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IEntityRecord* source, BOOL cloneObject, BOOL cloneChildren) = 0;
    // Clears the four per-pass flag bits, unless the record is hidden.
    virtual HRESULT STDMETHODCALLTYPE ResetTransientFlags(uint32_t reserved) = 0;
    // Applies the children, then draws the object (highlighted when a
    // highlight bit is set). A null context only re-evaluates the flags.
    virtual HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearFlags(uint32_t mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFlags(uint32_t mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFlags(uint32_t value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlags(uint32_t* value) = 0;
    // E_FAIL for null.
    virtual HRESULT STDMETHODCALLTYPE SetObject(IUnknown* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObject(IUnknown** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildCount(int32_t* count) = 0;
    // Index-taking operations answer E_FAIL without effect for an index
    // outside the list (getters then hand out null).
    virtual HRESULT STDMETHODCALLTYPE GetChild(int32_t index, ICollectionBase** child) = 0;
    // A null child removes the entry.
    virtual HRESULT STDMETHODCALLTYPE SetChild(int32_t index, ICollectionBase* child) = 0;
    // E_FAIL for null.
    virtual HRESULT STDMETHODCALLTYPE AddChild(ICollectionBase* child) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveChild(int32_t index) = 0;
    // Removes every entry holding that pointer.
    virtual HRESULT STDMETHODCALLTYPE RemoveChildObject(ICollectionBase* child) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAllChildren() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLinkCount(int32_t* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLink(int32_t index, IUnknown** object) = 0;
    // E_FAIL for null.
    virtual HRESULT STDMETHODCALLTYPE AddLink(IUnknown* object) = 0;
    // Removes every entry holding that pointer.
    virtual HRESULT STDMETHODCALLTYPE RemoveLink(IUnknown* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAllLinks() = 0;

protected:
    ~IEntityRecord() = default;
};

// What a record's link object offers, right after its IUnknown operations:
// two flag queries about the record (holder) for an argument; the answers
// are ORed over the links. Links are stored as IUnknown and must have this
// layout.
struct IRecordLink : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryFlagsA(IEntityRecord* holder, uint32_t argument, uint32_t* flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryFlagsB(IEntityRecord* holder, uint32_t argument, uint32_t* flags) = 0;
};

// The OR of the answers of one flag query of every link of the holder; an
// answer other than S_OK adds nothing.
inline uint32_t CollectPartFlags(IEntityRecord* holder, uint32_t argument,
                                 HRESULT (STDMETHODCALLTYPE IRecordLink::*query)(IEntityRecord*, uint32_t, uint32_t*))
{
    uint32_t result = 0;
    int32_t count = 0;
    if (holder == nullptr || FAILED(holder->GetLinkCount(&count))) {
        return 0;
    }
    for (int32_t i = 0; i < count; ++i) {
        IUnknown* link = nullptr;
        if (FAILED(holder->GetLink(i, &link)) || link == nullptr) {
            continue;
        }
        uint32_t flags = 0;
        if ((reinterpret_cast<IRecordLink*>(link)->*query)(holder, argument, &flags) == S_OK) {
            result |= flags;
        }
    }
    return result;
}

// The first flag query over the links (bit 0x1 of the answer: the links
// keep the record from being picked or removed), and the second.
inline uint32_t CollectPartFlagsA(IEntityRecord* holder, uint32_t argument)
{
    return CollectPartFlags(holder, argument, &IRecordLink::QueryFlagsA);
}
inline uint32_t CollectPartFlagsB(IEntityRecord* holder, uint32_t argument)
{
    return CollectPartFlags(holder, argument, &IRecordLink::QueryFlagsB);
}
