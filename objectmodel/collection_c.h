// CCollectionC: the text attachment. Byte form: the text, then one zero
// byte (length + 1 bytes).
#pragma once

#include <string>

#include "icollection.h"
#include "ientity.h"
#include "objectmodel/com_object.h"

class CCollectionC : public CCountedObject<ICollectionC, IID_ICollectionBase, IID_ICollectionC> {
public:
    CCollectionC() = default;
    // Copies the text; null gives the empty text.
    explicit CCollectionC(const char* text);
    // Takes the source's text; a null source gives the empty text.
    explicit CCollectionC(ICollectionC* source);

    HRESULT STDMETHODCALLTYPE Detach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Attach(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE Apply(IGraphicsContext* context, IUnknown* target) override;
    HRESULT STDMETHODCALLTYPE Clone(IUnknown** out) override;
    // The block must end in the text's zero byte and hold no other zero
    // byte; anything else (no zero byte, bytes after it) is refused with
    // E_FAIL and changes nothing.
    HRESULT STDMETHODCALLTYPE Load(IHostDocument* document, uint32_t size, const BYTE* data) override;
    HRESULT STDMETHODCALLTYPE GetSize(IHostDocument* document, uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(IHostDocument* document, BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE Resolve(IHostDocument* document, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;

    HRESULT STDMETHODCALLTYPE GetText(const char** text) override;
    // E_FAIL for null.
    HRESULT STDMETHODCALLTYPE SetText(const char* text) override;

    virtual ~CCollectionC() = default;

private:
    std::string m_text;
};
