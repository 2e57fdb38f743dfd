// Dispatch maps and event-sink maps: per-class tables that tie a dispatch
// id to a member function of a command target, with the parameter types
// written as VTS codes. A command target's own IDispatch (GetIDispatch)
// calls through the dispatch map; OnEvent calls through the event-sink map,
// keyed by control id and dispatch id.
//
// Each entry keeps a small function made for its handler: it checks the
// argument count, converts the VARIANT arguments by the entry's VTS codes
// and calls the member with its own C++ signature. The entry macros check
// when they compile that the handler's parameter types fit the VTS codes.
#pragma once

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/base/api.h"
#include "platform/com/dispatch.h"

class CCmdTarget;

// Parameter type codes: one character per parameter, the VARIANT type, with
// 0x40 for a pointer to it.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR8 "\x45"
#define VTS_PBOOL "\x4B"
#define VTS_PUNKNOWN "\x4D"

// Converts the arguments and calls the handler. `answer` receives the
// handler's BOOL (TRUE for handlers without a result); `result` its value
// as a VARIANT of type `vtReturn`.
using AfxDispatchThunk = HRESULT (*)(CCmdTarget* target, const char* vts, VARTYPE vtReturn, DISPPARAMS* params,
                                     VARIANT* result, UINT* argumentError, BOOL* answer);

struct AFX_DISPMAP_ENTRY {
    const char* lpszName; // the external name (dispatch maps), null for event sinks
    UINT nCtrlID;         // the control id (event sinks), 0 for dispatch maps
    DISPID dispid;
    const char* lpszParams;
    VARTYPE vtReturn;
    AfxDispatchThunk pfn; // null ends a table
};
struct AFX_DISPMAP {
    const AFX_DISPMAP* (*pfnGetBaseMap)(); // null for CCmdTarget's own table
    const AFX_DISPMAP_ENTRY* lpEntries;
};
using AFX_EVENTSINKMAP_ENTRY = AFX_DISPMAP_ENTRY;
using AFX_EVENTSINKMAP = AFX_DISPMAP;

// One event as a sink's IDispatch hands it to OnEvent.
struct NUVEX_PLATFORM_API AFX_EVENT {
    enum { event, propRequest, propChanged, propDSCNotify };
    AFX_EVENT(int eventKind, DISPID dispid, DISPPARAMS* dispParams = nullptr, EXCEPINFO* excepInfo = nullptr,
              UINT* argError = nullptr);

    int m_eventKind;
    DISPID m_dispid;
    DISPPARAMS* m_pDispParams;
    EXCEPINFO* m_pExcepInfo;
    UINT* m_puArgError;
    BOOL m_bPropChanged;
    HRESULT m_hResult; // S_OK unless the dispatch failed
    DWORD m_dwCookie;
};

namespace nuvex::dispatch {

// One converted argument; the handler's parameter type picks its field.
struct ArgumentValue {
    LONG longValue = 0;
    SHORT shortValue = 0;
    DOUBLE doubleValue = 0.0;
    char* text = nullptr;
    IUnknown* unknown = nullptr;
    IDispatch* dispatch = nullptr;
    const VARIANT* variant = nullptr;
    void* reference = nullptr;
};

// Converts `value` for a parameter of VTS code `code`; false when it does
// not fit. Numbers convert between the integer, boolean and double types;
// by-reference codes need a by-reference argument of their own type.
NUVEX_PLATFORM_API bool LoadArgument(char code, const VARIANT& value, ArgumentValue& out);
// Stores a handler's result as a VARIANT of type `vt` (VT_EMPTY: nothing).
NUVEX_PLATFORM_API void StoreLong(VARIANT* result, VARTYPE vt, LONG value);
NUVEX_PLATFORM_API void StoreDouble(VARIANT* result, double value);
NUVEX_PLATFORM_API void StoreText(VARIANT* result, char* text);

template <class T>
struct Member;
template <class C, class R, class... A>
struct Member<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<A...>;
    static constexpr size_t kArity = sizeof...(A);
};

template <class T>
constexpr bool Accepts(char code)
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, LONG>) {
        return code == '\x03' || code == '\x0B'; // BOOL and LONG are one type
    } else if constexpr (std::is_same_v<U, SHORT>) {
        return code == '\x02';
    } else if constexpr (std::is_same_v<U, DOUBLE>) {
        return code == '\x05';
    } else if constexpr (std::is_same_v<U, char*> || std::is_same_v<U, const char*>) {
        return code == '\x08';
    } else if constexpr (std::is_same_v<U, IDispatch*>) {
        return code == '\x09';
    } else if constexpr (std::is_same_v<U, IUnknown*>) {
        return code == '\x0D';
    } else if constexpr (std::is_same_v<U, const VARIANT&> || std::is_same_v<U, const VARIANT*>) {
        return code == '\x0C';
    } else if constexpr (std::is_same_v<U, LONG*>) {
        return code == '\x43' || code == '\x4B';
    } else if constexpr (std::is_same_v<U, SHORT*>) {
        return code == '\x42';
    } else if constexpr (std::is_same_v<U, DOUBLE*>) {
        return code == '\x45';
    } else if constexpr (std::is_same_v<U, IUnknown**>) {
        return code == '\x4D';
    } else {
        return false;
    }
}

template <class Tuple, size_t... I>
constexpr bool AcceptsAll(const char* vts, std::index_sequence<I...>)
{
    return (Accepts<std::tuple_element_t<I, Tuple>>(vts[I]) && ...);
}

// Whether the member's parameters fit the VTS codes, one for one.
template <class Sig>
constexpr bool Matches(const char* vts)
{
    size_t length = 0;
    while (vts[length] != 0) {
        ++length;
    }
    using M = Member<Sig>;
    if (length != M::kArity) {
        return false;
    }
    return AcceptsAll<typename M::Args>(vts, std::make_index_sequence<M::kArity>{});
}

template <class T>
T Pick(ArgumentValue& value)
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, LONG>) {
        return value.longValue;
    } else if constexpr (std::is_same_v<U, SHORT>) {
        return value.shortValue;
    } else if constexpr (std::is_same_v<U, DOUBLE>) {
        return value.doubleValue;
    } else if constexpr (std::is_same_v<U, char*> || std::is_same_v<U, const char*>) {
        return value.text;
    } else if constexpr (std::is_same_v<U, IDispatch*>) {
        return value.dispatch;
    } else if constexpr (std::is_same_v<U, IUnknown*>) {
        return value.unknown;
    } else if constexpr (std::is_same_v<U, const VARIANT&>) {
        return *value.variant;
    } else if constexpr (std::is_same_v<U, const VARIANT*>) {
        return value.variant;
    } else {
        return static_cast<T>(value.reference);
    }
}

template <auto Fn, size_t... I>
HRESULT InvokeWith(CCmdTarget* target, const char* vts, VARTYPE vtReturn, DISPPARAMS* params, VARIANT* result,
                   UINT* argumentError, BOOL* answer, std::index_sequence<I...>)
{
    using M = Member<decltype(Fn)>;
    const UINT given = params != nullptr ? params->cArgs : 0;
    if (given != M::kArity) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params != nullptr && params->cNamedArgs != 0) {
        return DISP_E_PARAMNOTFOUND;
    }
    ArgumentValue values[M::kArity > 0 ? M::kArity : 1];
    if constexpr (M::kArity > 0) {
        for (size_t i = 0; i < M::kArity; ++i) {
            // Arguments arrive last first.
            const size_t slot = M::kArity - 1 - i;
            if (!LoadArgument(vts[i], params->rgvarg[slot], values[i])) {
                if (argumentError != nullptr) {
                    *argumentError = static_cast<UINT>(slot);
                }
                return DISP_E_TYPEMISMATCH;
            }
        }
    }
    auto* self = static_cast<typename M::Class*>(target);
    using R = typename M::Result;
    if constexpr (std::is_void_v<R>) {
        (self->*Fn)(Pick<std::tuple_element_t<I, typename M::Args>>(values[I])...);
        *answer = TRUE;
    } else if constexpr (std::is_same_v<R, LONG>) {
        const LONG value = (self->*Fn)(Pick<std::tuple_element_t<I, typename M::Args>>(values[I])...);
        *answer = value != 0 ? TRUE : FALSE;
        StoreLong(result, vtReturn, value);
    } else if constexpr (std::is_same_v<R, DOUBLE>) {
        const DOUBLE value = (self->*Fn)(Pick<std::tuple_element_t<I, typename M::Args>>(values[I])...);
        *answer = TRUE;
        StoreDouble(result, value);
    } else {
        static_assert(std::is_same_v<R, BSTR>, "handlers answer nothing, LONG/BOOL, DOUBLE or a BSTR");
        *answer = TRUE;
        StoreText(result, (self->*Fn)(Pick<std::tuple_element_t<I, typename M::Args>>(values[I])...));
    }
    (void)values;
    return S_OK;
}

template <auto Fn>
HRESULT Invoke(CCmdTarget* target, const char* vts, VARTYPE vtReturn, DISPPARAMS* params, VARIANT* result,
               UINT* argumentError, BOOL* answer)
{
    return InvokeWith<Fn>(target, vts, vtReturn, params, result, argumentError, answer,
                          std::make_index_sequence<Member<decltype(Fn)>::kArity>{});
}

template <auto Fn, bool Fits>
constexpr AfxDispatchThunk Checked()
{
    static_assert(Fits, "the handler's parameter types do not fit its VTS codes");
    return &Invoke<Fn>;
}

} // namespace nuvex::dispatch

#define NUVEX_DISPATCH_THUNK(theClass, member, vtsParams) \
    nuvex::dispatch::Checked<&theClass::member, nuvex::dispatch::Matches<decltype(&theClass::member)>(vtsParams)>()

// In the class body. They leave the access at `protected`.
#define DECLARE_DISPATCH_MAP()                          \
protected:                                              \
    static const AFX_DISPMAP* GetThisDispatchMap();     \
    const AFX_DISPMAP* GetDispatchMap() const override;
#define DECLARE_EVENTSINK_MAP()                              \
protected:                                                   \
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();    \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                         \
    const AFX_DISPMAP* theClass::GetDispatchMap() const { return GetThisDispatchMap(); } \
    const AFX_DISPMAP* theClass::GetThisDispatchMap()                                   \
    {                                                                                   \
        using TheBaseClass = baseClass;                                                 \
        static const AFX_DISPMAP_ENTRY dispatchEntries[] = {
// A method with its dispatch id; vtRetVal is VT_EMPTY for none.
#define DISP_FUNCTION_ID(theClass, externalName, dispid, member, vtRetVal, vtsParams) \
    {externalName, 0, dispid, vtsParams, vtRetVal, NUVEX_DISPATCH_THUNK(theClass, member, vtsParams)},
#define END_DISPATCH_MAP()                                                                           \
    {nullptr, 0, 0, nullptr, VT_EMPTY, nullptr}                                                      \
    }                                                                                                \
    ;                                                                                                \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &dispatchEntries[0]}; \
    return &dispatchMap;                                                                             \
    }

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                                \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap()                                     \
    {                                                                                           \
        using TheBaseClass = baseClass;                                                         \
        static const AFX_EVENTSINKMAP_ENTRY eventsinkEntries[] = {
// Event `dispid` from control `id`; the handler answers TRUE when it
// handled the event (a handler without a result counts as TRUE).
#define ON_EVENT(theClass, id, dispid, member, vtsParams) \
    {nullptr, static_cast<UINT>(id), dispid, vtsParams, VT_BOOL, NUVEX_DISPATCH_THUNK(theClass, member, vtsParams)},
#define END_EVENTSINK_MAP()                                                                                   \
    {nullptr, 0, 0, nullptr, VT_EMPTY, nullptr}                                                               \
    }                                                                                                         \
    ;                                                                                                         \
    static const AFX_EVENTSINKMAP eventsinkMap = {&TheBaseClass::GetThisEventSinkMap, &eventsinkEntries[0]}; \
    return &eventsinkMap;                                                                                     \
    }
