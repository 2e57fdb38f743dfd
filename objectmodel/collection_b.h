// CCollectionB: the colour attachment. A COLORREF colour word and a mode
// byte whose bit 1 makes the holder's group colour win when it has one.
// Byte form, 5 bytes: u32 colour, u8 mode.
#pragma once

#include "icollection.h"
#include "ientity.h"
#include "objectmodel/com_object.h"

// Mode bit: take the colour from the holder's group.
constexpr uint8_t kColourFromGroup = 0x01;

class CCollectionB : public CCountedObject<ICollectionB, IID_ICollectionBase, IID_ICollectionB> {
public:
    static constexpr uint32_t kByteSize = 5;

    CCollectionB() = default;
    CCollectionB(uint32_t colour, uint8_t mode);
    // Takes the source's colour and mode; a null source gives the defaults.
    explicit CCollectionB(ICollectionB* source);

    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override;
    // Sets the context's colour: the holder's group colour when the mode
    // asks for it and there is one, else this colour.
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) override;
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override;
    // Exactly 5 bytes; any other size is refused with E_FAIL.
    HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    HRESULT STDMETHODCALLTYPE ClearKindBits(uint8_t mask) override;
    HRESULT STDMETHODCALLTYPE SetKindBits(uint8_t mask) override;
    HRESULT STDMETHODCALLTYPE GetKind(uint8_t* kind) override;
    HRESULT STDMETHODCALLTYPE SetKind(uint8_t kind) override;
    HRESULT STDMETHODCALLTYPE GetRGB(uint32_t* red, uint32_t* green, uint32_t* blue) override;
    HRESULT STDMETHODCALLTYPE SetRGB(uint8_t red, uint8_t green, uint8_t blue) override;
    HRESULT STDMETHODCALLTYPE GetValue(uint32_t* colour) override;
    HRESULT STDMETHODCALLTYPE SetValue(uint32_t colour) override;

    virtual ~CCollectionB() = default;

private:
    uint8_t m_mode = 0;
    uint32_t m_colour = 0;
};
