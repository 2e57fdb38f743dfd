// CEntityRecord: the document's holder of one object, with its flag word,
// its child records (applied to the graphics context before the object is
// drawn, saved right behind it) and its linked objects. The record owns one
// reference to the object, to each child and to each link.
#pragma once

#include <vector>

#include "ientity.h"
#include "ientityrecord.h"
#include "objectmodel/com_object.h"

// Flag bits that the record itself gives meaning to; the other bits belong
// to the document, the pick code and the snap code.
constexpr uint32_t kRecordHidden = 0x1;
constexpr uint32_t kRecordSkipDraw = 0x10000000;
// The four top bits are per-pass state, cleared before every drawing pass.
constexpr uint32_t kRecordPassBits = 0xF0000000;
constexpr uint32_t kRecordHighlightBits = 0x1F00000;

struct HighlightColour {
    uint32_t bit;
    COLORREF colour;
};
// When several highlight bits are set, the first row wins.
inline constexpr HighlightColour kHighlightColours[] = {
    {0x100000, 0xff8000},
    {0x200000, 0xff00ff},
    {0x400000, 0xa000a0},
    {0x800000, 0x0000ff},
    {0x1000000, 0x00ff00},
};

// The object id of a document record: the value of its IEntityRecord
// pointer, pointer-sized. Ids carry no reference; whoever keeps one resolves
// it through the document's object list.
inline uintptr_t ObjectIdOf(IEntityRecord* record) { return reinterpret_cast<uintptr_t>(record); }

class CEntityRecord : public CCountedObject<IEntityRecord, IID_IEntityRecord> {
public:
    // Flags 0, no object, no children, no links, count 0.
    CEntityRecord() = default;
    // Holds the object with a reference of its own.
    explicit CEntityRecord(IUnknown* object);
    // Filled as CopyFrom fills an empty record.
    CEntityRecord(IEntityRecord* source, BOOL cloneObject, BOOL cloneChildren);
    CEntityRecord(const CEntityRecord&) = delete;
    CEntityRecord& operator=(const CEntityRecord&) = delete;

    HRESULT STDMETHODCALLTYPE CopyFrom(IEntityRecord* source, BOOL cloneObject, BOOL cloneChildren) override;
    HRESULT STDMETHODCALLTYPE ResetTransientFlags(uint32_t reserved) override;
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override;
    HRESULT STDMETHODCALLTYPE ClearFlags(uint32_t mask) override;
    HRESULT STDMETHODCALLTYPE AddFlags(uint32_t mask) override;
    HRESULT STDMETHODCALLTYPE SetFlags(uint32_t value) override;
    HRESULT STDMETHODCALLTYPE GetFlags(uint32_t* value) override;
    HRESULT STDMETHODCALLTYPE SetObject(IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE GetObject(IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetChildCount(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE GetChild(int32_t index, ICollectionBase** child) override;
    HRESULT STDMETHODCALLTYPE SetChild(int32_t index, ICollectionBase* child) override;
    HRESULT STDMETHODCALLTYPE AddChild(ICollectionBase* child) override;
    HRESULT STDMETHODCALLTYPE RemoveChild(int32_t index) override;
    HRESULT STDMETHODCALLTYPE RemoveChildObject(ICollectionBase* child) override;
    HRESULT STDMETHODCALLTYPE RemoveAllChildren() override;
    HRESULT STDMETHODCALLTYPE GetLinkCount(int32_t* count) override;
    HRESULT STDMETHODCALLTYPE GetLink(int32_t index, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE AddLink(IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE RemoveLink(IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE RemoveAllLinks() override;

    // Detaches and releases every child, releases every link and the object.
    virtual ~CEntityRecord();

private:
    bool ValidChildIndex(int32_t index) const;
    // Takes a reference, appends and attaches.
    void AppendChild(ICollectionBase* child);
    // Detaches and releases each of `children`, in order.
    void DropChildren(std::vector<ComPtr<ICollectionBase>>& children);

    uint32_t m_flags = 0;
    ComPtr<IUnknown> m_object;
    std::vector<ComPtr<ICollectionBase>> m_children;
    std::vector<ComPtr<IUnknown>> m_links;
};
