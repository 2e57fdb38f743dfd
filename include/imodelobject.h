// IModelObject: a document object holding an ordered table of named id
// groups with at most one current group; IIdGroup: one such group, with its
// hidden, locked and removed flags and its colour, attribute-set and marker
// attachments. Drawing objects belong to a group by carrying it as a child
// record of their holder. Getters hand out borrowed pointers; the host's
// classes answer a null out-pointer with E_POINTER. Operations stand in
// table order.
#pragma once

#include "iattributeset.h"
#include "icollection.h"
#include "ientity.h"

struct IIdGroup;

// Group flag bits.
constexpr uint32_t kGroupHidden = 0x1;
constexpr uint32_t kGroupLocked = 0x2;
constexpr uint32_t kGroupRemoved = 0x10000000;

struct IModelObject : IObjectBase {
    // Names are at most kModelNameMaxLength bytes; longer ones are refused.
    virtual HRESULT STDMETHODCALLTYPE SetName(const char* name) = 0;
    // Copies the name and its terminator into the caller's buffer.
    virtual HRESULT STDMETHODCALLTYPE GetName(char* out) = 0;
    // E_FAIL for an index outside the table; when the group was current,
    // no group is current afterwards.
    virtual HRESULT STDMETHODCALLTYPE SetChildLocked(int32_t index, BOOL locked) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetChildHidden(int32_t index, BOOL hidden) = 0;
    // An index outside the table leaves no group current (S_OK); a removed,
    // locked or hidden group is refused (E_FAIL, current unchanged).
    virtual HRESULT STDMETHODCALLTYPE SetCurrent(int32_t index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentChild(IIdGroup** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentIndex(int32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE IndexOf(IIdGroup* group, int32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChild(int32_t index, IIdGroup** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyChildFrom(int32_t index, IIdGroup* source) = 0;
    // E_FAIL for null.
    virtual HRESULT STDMETHODCALLTYPE AddChild(IIdGroup* group) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveChild(int32_t index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildCount(uint32_t* out) = 0;

protected:
    ~IModelObject() = default;
};

struct IIdGroup : ICollectionBase {
    virtual HRESULT STDMETHODCALLTYPE CopyFrom(IIdGroup* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLocked(BOOL locked) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHidden(BOOL hidden) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRemoved(BOOL removed) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCurrent(BOOL current) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsLocked(uint32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsHidden(uint32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsRemoved(uint32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsCurrent(BOOL* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMarker(ICollectionD* marker) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMarker(ICollectionD** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAttributeSet(IAttributeSet* set) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeSet(IAttributeSet** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColour(ICollectionB* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetColour(ICollectionB** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetName(const char* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetName(char* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlags(uint32_t* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOwner(IModelObject** out) = 0;

protected:
    ~IIdGroup() = default;
};

// Longest name a model object or group keeps: its length is a signed 16-bit
// field in the byte form.
constexpr size_t kModelNameMaxLength = 0x7FFF;
