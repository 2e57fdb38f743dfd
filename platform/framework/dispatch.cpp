// CCmdTarget's automation: its IDispatch over the dispatch map, the
// reference count its interfaces share, the event-sink dispatch, and the
// conversion of VARIANT arguments by VTS codes.
#include "platform/framework/cmdtarget.h"

#include <cctype>
#include <climits>
#include <cmath>

namespace nuvex::dispatch {

namespace {

constexpr char kByReference = 0x40;

// The value of a numeric VARIANT (by reference too), or false.
bool NumberOf(const VARIANT& value, double& out)
{
    const VARTYPE base = static_cast<VARTYPE>(value.vt & ~VT_BYREF);
    const bool byRef = (value.vt & VT_BYREF) != 0;
    if (byRef && value.byref == nullptr) {
        return false;
    }
    switch (base) {
    case VT_I1: out = byRef ? *static_cast<const CHAR*>(value.byref) : value.cVal; return true;
    case VT_UI1: out = byRef ? *static_cast<const BYTE*>(value.byref) : value.bVal; return true;
    case VT_I2: out = byRef ? *static_cast<const SHORT*>(value.byref) : value.iVal; return true;
    case VT_UI2: out = byRef ? *static_cast<const USHORT*>(value.byref) : value.uiVal; return true;
    case VT_I4:
    case VT_INT: out = byRef ? *static_cast<const LONG*>(value.byref) : value.lVal; return true;
    case VT_UI4:
    case VT_UINT: out = byRef ? *static_cast<const ULONG*>(value.byref) : value.ulVal; return true;
    case VT_BOOL:
        out = (byRef ? *static_cast<const VARIANT_BOOL*>(value.byref) : value.boolVal) != 0 ? 1.0 : 0.0;
        return true;
    case VT_R4: out = byRef ? *static_cast<const FLOAT*>(value.byref) : value.fltVal; return true;
    case VT_R8: out = byRef ? *static_cast<const DOUBLE*>(value.byref) : value.dblVal; return true;
    default: return false;
    }
}

bool IsInteger(VARTYPE vt)
{
    const VARTYPE base = static_cast<VARTYPE>(vt & ~VT_BYREF);
    return base == VT_I1 || base == VT_UI1 || base == VT_I2 || base == VT_UI2 || base == VT_I4 || base == VT_UI4 ||
           base == VT_INT || base == VT_UINT || base == VT_BOOL;
}

// A whole number in [low, high]: integers as they are, doubles only when
// they hold a whole value.
bool WholeIn(const VARIANT& value, double low, double high, double& out)
{
    if (!NumberOf(value, out)) {
        return false;
    }
    if (!IsInteger(value.vt) && (!std::isfinite(out) || std::trunc(out) < out || std::trunc(out) > out)) {
        return false;
    }
    return out >= low && out <= high;
}

} // namespace

bool LoadArgument(char code, const VARIANT& value, ArgumentValue& out)
{
    if ((code & kByReference) != 0) {
        // A pointer parameter takes a by-reference argument of its own type.
        const auto wanted = static_cast<VARTYPE>(VT_BYREF | (code & ~kByReference));
        if (value.vt != wanted) {
            return false;
        }
        out.reference = value.byref;
        return true;
    }
    double number = 0.0;
    switch (code) {
    case VT_I2:
        if (!WholeIn(value, SHRT_MIN, SHRT_MAX, number)) {
            return false;
        }
        out.shortValue = static_cast<SHORT>(number);
        return true;
    case VT_I4:
        if (!WholeIn(value, INT32_MIN, UINT32_MAX, number)) {
            return false;
        }
        // 32-bit unsigned values keep their bits.
        out.longValue = static_cast<LONG>(static_cast<int64_t>(number));
        return true;
    case VT_BOOL:
        if (!NumberOf(value, number)) {
            return false;
        }
        out.longValue = (number < 0.0 || number > 0.0) ? TRUE : FALSE;
        return true;
    case VT_R8:
        return NumberOf(value, out.doubleValue);
    case VT_BSTR:
        if (value.vt == VT_BSTR) {
            out.text = value.bstrVal;
            return true;
        }
        if (value.vt == (VT_BYREF | VT_I1)) {
            out.text = value.pcVal;
            return true;
        }
        return false;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (value.vt == VT_EMPTY || value.vt == VT_NULL) {
            out.unknown = nullptr;
            out.dispatch = nullptr;
            return true;
        }
        if (value.vt == VT_DISPATCH) {
            out.dispatch = value.pdispVal;
            out.unknown = reinterpret_cast<IUnknown*>(value.pdispVal);
            return true;
        }
        if (value.vt == VT_UNKNOWN && code == VT_UNKNOWN) {
            out.unknown = value.punkVal;
            return true;
        }
        return false;
    case VT_VARIANT:
        out.variant = value.vt == (VT_BYREF | VT_VARIANT) ? value.pvarVal : &value;
        return out.variant != nullptr;
    default:
        return false;
    }
}

void StoreLong(VARIANT* result, VARTYPE vt, LONG value)
{
    if (result == nullptr || vt == VT_EMPTY) {
        return;
    }
    VariantClear(result);
    if (vt == VT_BOOL) {
        result->vt = VT_BOOL;
        result->boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        result->vt = VT_I4;
        result->lVal = value;
    }
}

void StoreDouble(VARIANT* result, double value)
{
    if (result == nullptr) {
        return;
    }
    VariantClear(result);
    result->vt = VT_R8;
    result->dblVal = value;
}

void StoreText(VARIANT* result, char* text)
{
    if (result == nullptr) {
        SysFreeString(text);
        return;
    }
    VariantClear(result);
    result->vt = VT_BSTR;
    result->bstrVal = text;
}

} // namespace nuvex::dispatch

AFX_EVENT::AFX_EVENT(int eventKind, DISPID dispid, DISPPARAMS* dispParams, EXCEPINFO* excepInfo, UINT* argError)
    : m_eventKind(eventKind), m_dispid(dispid), m_pDispParams(dispParams), m_pExcepInfo(excepInfo),
      m_puArgError(argError), m_bPropChanged(FALSE), m_hResult(S_OK), m_dwCookie(0)
{
}

namespace {

// The first entry of a map chain that `matches`, or null.
template <class Matches>
const AFX_DISPMAP_ENTRY* FindEntry(const AFX_DISPMAP* map, Matches matches)
{
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_DISPMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (matches(*entry)) {
                return entry;
            }
        }
    }
    return nullptr;
}

bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (; *a != 0 && *b != 0; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const AFX_DISPMAP_ENTRY kEndEntry = {nullptr, 0, 0, nullptr, VT_EMPTY, nullptr};

} // namespace

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_DISPMAP* CCmdTarget::GetThisDispatchMap()
{
    static const AFX_DISPMAP map = {nullptr, &kEndEntry};
    return &map;
}
const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const { return GetThisDispatchMap(); }
const AFX_EVENTSINKMAP* CCmdTarget::GetThisEventSinkMap()
{
    static const AFX_EVENTSINKMAP map = {nullptr, &kEndEntry};
    return &map;
}
const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const { return GetThisEventSinkMap(); }

void CCmdTarget::EnableAutomation() { m_automation = true; }

LPDISPATCH CCmdTarget::GetIDispatch(BOOL addRef)
{
    if (!m_automation) {
        return nullptr;
    }
    if (addRef) {
        ExternalAddRef();
    }
    return &m_xDispatch;
}

CCmdTarget* CCmdTarget::FromIDispatch(LPDISPATCH dispatch)
{
    // Only dispatch interfaces of command targets are of this class; ask
    // the object itself rather than trusting the pointer's type.
    if (dispatch == nullptr) {
        return nullptr;
    }
    auto* candidate = dynamic_cast<XDispatch*>(dispatch);
    return candidate != nullptr ? candidate->m_owner : nullptr;
}

ULONG CCmdTarget::ExternalAddRef() { return static_cast<ULONG>(++m_dwRef); }

ULONG CCmdTarget::ExternalRelease()
{
    const LONG count = --m_dwRef;
    if (count == 0) {
        OnFinalRelease();
    }
    return static_cast<ULONG>(count < 0 ? 0 : count);
}

HRESULT CCmdTarget::ExternalQueryInterface(const void* iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (iid == nullptr) {
        return E_INVALIDARG;
    }
    const IID& wanted = *static_cast<const IID*>(iid);
    if (m_automation && (IsEqualIID(wanted, IID_IUnknown) || IsEqualIID(wanted, IID_IDispatch))) {
        *out = static_cast<IDispatch*>(&m_xDispatch);
        ExternalAddRef();
        return S_OK;
    }
    if (LPUNKNOWN other = GetInterfaceHook(iid)) {
        *out = other;
        ExternalAddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

void CCmdTarget::OnFinalRelease() { delete this; }

LPUNKNOWN CCmdTarget::GetInterfaceHook(const void*) { return nullptr; }

HRESULT CCmdTarget::InvokeDispatch(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   UINT* argumentError)
{
    if ((flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND; // the maps hold methods only
    }
    const AFX_DISPMAP_ENTRY* entry =
        FindEntry(GetDispatchMap(), [dispid](const AFX_DISPMAP_ENTRY& e) { return e.dispid == dispid; });
    if (entry == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    BOOL answer = FALSE;
    return entry->pfn(this, entry->lpszParams, entry->vtReturn, params, result, argumentError, &answer);
}

BOOL CCmdTarget::OnEvent(UINT idCtrl, AFX_EVENT* event, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (event == nullptr) {
        return FALSE;
    }
    const DISPID dispid = event->m_dispid;
    const AFX_EVENTSINKMAP_ENTRY* entry = FindEntry(GetEventSinkMap(), [idCtrl, dispid](const AFX_DISPMAP_ENTRY& e) {
        return e.nCtrlID == idCtrl && e.dispid == dispid;
    });
    if (entry == nullptr) {
        return FALSE;
    }
    if (handlerInfo != nullptr) {
        handlerInfo->pTarget = this;
        handlerInfo->pEntry = nullptr;
        return TRUE;
    }
    VARIANT result;
    VariantInit(&result);
    BOOL answer = FALSE;
    const HRESULT hr =
        entry->pfn(this, entry->lpszParams, entry->vtReturn, event->m_pDispParams, &result, event->m_puArgError,
                   &answer);
    VariantClear(&result);
    if (FAILED(hr)) {
        event->m_hResult = hr;
        return FALSE;
    }
    return answer;
}

// The embedded IDispatch --------------------------------------------------------

HRESULT CCmdTarget::XDispatch::QueryInterface(REFIID iid, void** out)
{
    return m_owner->ExternalQueryInterface(&iid, out);
}
ULONG CCmdTarget::XDispatch::AddRef() { return m_owner->ExternalAddRef(); }
ULONG CCmdTarget::XDispatch::Release() { return m_owner->ExternalRelease(); }

HRESULT CCmdTarget::XDispatch::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT CCmdTarget::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT CCmdTarget::XDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    // Only the method's name is looked up; argument names are unknown.
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        const char* name = names[i];
        const AFX_DISPMAP_ENTRY* entry = i == 0 && name != nullptr
            ? FindEntry(m_owner->GetDispatchMap(),
                        [name](const AFX_DISPMAP_ENTRY& e) {
                            return e.lpszName != nullptr && SameNameIgnoringCase(e.lpszName, name);
                        })
            : nullptr;
        if (entry != nullptr) {
            ids[i] = entry->dispid;
        } else {
            hr = DISP_E_UNKNOWNNAME;
        }
    }
    return hr;
}

HRESULT CCmdTarget::XDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO*, UINT* argumentError)
{
    return m_owner->InvokeDispatch(id, flags, params, result, argumentError);
}
