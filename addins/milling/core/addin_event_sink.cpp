// CAddinEventSink: the add-in's application event sink.
#include "addins/milling/core/addin_event_sink.h"

HRESULT CAddinEventSink::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CAddinEventSink::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG CAddinEventSink::Release()
{
    if (--m_references == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(m_references);
}

HRESULT CAddinEventSink::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CAddinEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                UINT* argumentError)
{
    if (id != 0)
        return DISP_E_MEMBERNOTFOUND;
    IUnknown* document = nullptr;
    if (params != nullptr && params->cArgs >= 1) {
        const VARIANT& argument = params->rgvarg[params->cArgs - 1];
        if (argument.vt == (VT_BYREF | VT_UNKNOWN) && argument.byref != nullptr)
            document = *static_cast<IUnknown**>(argument.byref);
        else if (argument.vt == VT_UNKNOWN)
            document = argument.punkVal;
        else {
            if (argumentError != nullptr)
                *argumentError = 0;
            return DISP_E_TYPEMISMATCH;
        }
    }
    const BOOL answer = OnDocumentViewReady(document);
    if (result != nullptr) {
        VariantClear(result);
    }
    (void)answer;
    return S_OK;
}

BOOL CAddinEventSink::OnDocumentViewReady(IUnknown*)
{
    (void)m_owner;
    return FALSE;
}
