// CAddinEventSink: the add-in's IDispatch sink on the application's event
// connection point. Its one event, dispatch id 0 (a view's first update,
// with the document's IHostDocument), is answered FALSE and changes
// nothing; every other id is answered DISP_E_MEMBERNOTFOUND.
#pragma once

#include "platform/com/dispatch.h"

class CMillingAddin;

class CAddinEventSink final : public IDispatch {
public:
    explicit CAddinEventSink(CMillingAddin* owner) : m_owner(owner) {}
    CAddinEventSink(const CAddinEventSink&) = delete;
    CAddinEventSink& operator=(const CAddinEventSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    ~CAddinEventSink() = default;
    // Does nothing; the views need nothing of the add-in at their first update.
    BOOL OnDocumentViewReady(IUnknown* document);

    CMillingAddin* m_owner;
    long m_references = 0;
};
