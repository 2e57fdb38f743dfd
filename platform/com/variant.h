// VARIANT: our own 16-byte tagged value, laid out as on 32-bit Windows
// (a 16-bit type tag, three reserved 16-bit words and an 8-byte value), so
// that records which embed one keep their sizes. Text is 8-bit: a BSTR is a
// char string allocated by SysAllocString, and by-reference text
// (VT_BYREF | VT_I1) holds a plain char*.
#pragma once

#include "platform/base/api.h"
#include "platform/base/hresult.h"
#include "platform/base/types.h"

struct IUnknown;
struct IDispatch;

using VARIANT_BOOL = int16_t;
using BSTR = char*;
using DATE = double;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_BYREF = 0x4000,
};

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        ULONGLONG ullVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BYTE bVal;
        CHAR cVal;
        SHORT iVal;
        USHORT uiVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        DATE date;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        char* pcVal;
        void* byref;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        VARIANT* pvarVal;
    };
};
using VARIANTARG = VARIANT;
static_assert(sizeof(VARIANT) == 16, "VARIANT must stay 16 bytes: records and files embed it");
static_assert(offsetof(VARIANT, dblVal) == 8);

// A BSTR of the given text (copied), or null for null text.
NUVEX_PLATFORM_API BSTR SysAllocString(const char* text);
NUVEX_PLATFORM_API void SysFreeString(BSTR text);
NUVEX_PLATFORM_API UINT SysStringLen(BSTR text);

NUVEX_PLATFORM_API void VariantInit(VARIANT* value);
// Frees what the variant owns (a BSTR, a reference on an interface) and
// makes it VT_EMPTY. By-reference values own nothing.
NUVEX_PLATFORM_API HRESULT VariantClear(VARIANT* value);
// Clears the target, then copies the source (BSTRs duplicated, interfaces AddRef'd).
NUVEX_PLATFORM_API HRESULT VariantCopy(VARIANT* target, const VARIANT* source);
