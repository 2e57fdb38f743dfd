// The fixed-width Windows types, handles and small records, as a 32-bit
// Windows program sees them but on a 64-bit Linux process: scalar widths stay
// as on 32-bit Windows (LONG is int32, never the 64-bit C++ long), while
// everything that can carry a pointer or a handle is pointer-sized.
#pragma once

#include <cstddef>
#include <cstdint>

// The COM calling-convention markers have no meaning here; the vtable order
// is the whole contract because host and modules share one compiler.
#define STDMETHODCALLTYPE
#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif
#define __stdcall

using BOOL = int32_t;
using BYTE = uint8_t;
using CHAR = char;
using WORD = uint16_t;
using USHORT = uint16_t;
using SHORT = int16_t;
using VARTYPE = uint16_t;
using DWORD = uint32_t;
using ULONG = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using INT = int32_t;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using FLOAT = float;
using DOUBLE = double;
using COLORREF = uint32_t;
using HRESULT = int32_t;
using SCODE = int32_t;
using ATOM = uint16_t;

using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using PBYTE = BYTE*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPLONG = LONG*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Handles are opaque pointers to distinct incomplete types, so that a window
// cannot be passed where a menu is expected.
#define NUVEX_DECLARE_HANDLE(name) \
    struct name##__;               \
    using name = name##__*
NUVEX_DECLARE_HANDLE(HWND);
NUVEX_DECLARE_HANDLE(HMENU);
NUVEX_DECLARE_HANDLE(HDC);
NUVEX_DECLARE_HANDLE(HGLRC);
NUVEX_DECLARE_HANDLE(HBITMAP);
NUVEX_DECLARE_HANDLE(HBRUSH);
NUVEX_DECLARE_HANDLE(HPEN);
NUVEX_DECLARE_HANDLE(HFONT);
NUVEX_DECLARE_HANDLE(HRGN);
NUVEX_DECLARE_HANDLE(HPALETTE);
NUVEX_DECLARE_HANDLE(HICON);
NUVEX_DECLARE_HANDLE(HACCEL);
NUVEX_DECLARE_HANDLE(HINSTANCE);
NUVEX_DECLARE_HANDLE(HKEY);
NUVEX_DECLARE_HANDLE(HHOOK);
NUVEX_DECLARE_HANDLE(HRSRC);
NUVEX_DECLARE_HANDLE(HIMAGELIST);
NUVEX_DECLARE_HANDLE(HTREEITEM);
#undef NUVEX_DECLARE_HANDLE
using HANDLE = void*;
using HGDIOBJ = void*;
using HGLOBAL = void*;
using HMODULE = HINSTANCE;
using HCURSOR = HICON;

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(uintptr_t v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD low, WORD high) { return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// Sizes that files, messages and interfaces rely on.
static_assert(sizeof(BOOL) == 4 && sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(UINT) == 4);
static_assert(sizeof(HRESULT) == 4 && sizeof(COLORREF) == 4 && sizeof(ULONG) == 4);
static_assert(sizeof(WORD) == 2 && sizeof(VARTYPE) == 2 && sizeof(BYTE) == 1);
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*));
static_assert(sizeof(LRESULT) == sizeof(void*) && sizeof(HWND) == sizeof(void*));
static_assert(sizeof(POINT) == 8 && sizeof(RECT) == 16 && sizeof(SIZE) == 8);
