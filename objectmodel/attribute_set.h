// CAttributeSet: the line attributes of a drawn object (style, stipple
// factor, width) with the flags that make each follow the holder's group.
// A counted object; its byte form is 13 bytes:
//   u32 line style, u32 stipple factor, u32 line width, u8 flags.
#pragma once

#include "iattributeset.h"
#include "ientity.h"
#include "objectmodel/com_object.h"

class CAttributeSet : public CCountedObject<IAttributeSet, IID_ICollectionBase, IID_IAttributeSet> {
public:
    static constexpr uint32_t kByteSize = 13;

    // Flags 0, factor 2, width 1, style 0.
    CAttributeSet() = default;
    CAttributeSet(uint32_t style, uint32_t width, uint32_t factor, uint8_t flags);
    // Copies style, factor, width and flags through the source's getters; a
    // null source gives the defaults.
    explicit CAttributeSet(IAttributeSet* source);

    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override;
    // Sets the context's line style (with factor) and line width, each from
    // this set or, where a flag asks for it, from the holder's group.
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) override;
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override;
    // Exactly 13 bytes; any other size is refused with E_FAIL.
    HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    HRESULT STDMETHODCALLTYPE ClearFlags(uint8_t mask) override;
    HRESULT STDMETHODCALLTYPE SetFlags(uint8_t mask) override;
    HRESULT STDMETHODCALLTYPE GetFlags(uint8_t* flags) override;
    HRESULT STDMETHODCALLTYPE PutFlags(uint8_t flags) override;
    HRESULT STDMETHODCALLTYPE GetStippleFactor(uint32_t* factor) override;
    HRESULT STDMETHODCALLTYPE SetStippleFactor(uint32_t factor) override;
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t* style) override;
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style) override;
    HRESULT STDMETHODCALLTYPE GetLineWidth(uint32_t* width) override;
    HRESULT STDMETHODCALLTYPE SetLineWidth(uint32_t width) override;

    virtual ~CAttributeSet() = default;

private:
    uint8_t m_flags = 0;
    uint32_t m_stippleFactor = 2;
    uint32_t m_lineWidth = 1;
    uint32_t m_lineStyle = 0;
};
