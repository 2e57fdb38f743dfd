// ICollectionBase: the small objects that hang off other objects (the child
// records of an entity record, the groups of a model object and a group's
// attachments), and the three attachment interfaces built on it: the colour
// attachment ICollectionB, the text attachment ICollectionC and the marker
// ICollectionD. Operations stand in table order. The host's classes answer
// a null out-pointer with E_POINTER.
#pragma once

#include "iids.h"
#include "platform/com/unknwn.h"

struct IEntityRecord;
struct IGraphicsContext;
struct IHostDocument;

struct ICollectionBase : IUnknown {
    // The holder no longer carries this object.
    virtual HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) = 0;
    // The holder now carries this object.
    virtual HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) = 0;
    // Called by a holder for each child before it draws its object; the
    // holder passes itself as target. May set the context's drawing state
    // or the holder's flags. A null context sets no drawing state.
    virtual HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) = 0;
    // A new object with the same content and reference count 0.
    virtual HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) = 0;
    // Content from exactly `size` bytes; a block that does not fit its form
    // is refused with E_FAIL and changes nothing. The document is null when
    // the block sits inside another object's byte form.
    virtual HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) = 0;
    // Writes exactly GetSize bytes.
    virtual HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) = 0;
    // After a document file has been loaded: may hand back another object to
    // take this one's place.
    virtual HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) = 0;

protected:
    ~ICollectionBase() = default;
};

// Colour attachment: a COLORREF colour word and a mode byte (bit 1: take the
// colour from the holder's group).
struct ICollectionB : ICollectionBase {
    virtual HRESULT STDMETHODCALLTYPE ClearKindBits(uint8_t mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetKindBits(uint8_t mask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetKind(uint8_t* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetKind(uint8_t kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRGB(uint32_t* red, uint32_t* green, uint32_t* blue) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRGB(uint8_t red, uint8_t green, uint8_t blue) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(uint32_t* colour) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(uint32_t colour) = 0;

protected:
    ~ICollectionB() = default;
};

// Text attachment.
struct ICollectionC : ICollectionBase {
    // The object's own text, valid while the object lives and its text is
    // unchanged.
    virtual HRESULT STDMETHODCALLTYPE GetText(const char** text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetText(const char* text) = 0;

protected:
    ~ICollectionC() = default;
};

// Marker attachment: its presence is the information.
struct ICollectionD : ICollectionBase {
protected:
    ~ICollectionD() = default;
};
