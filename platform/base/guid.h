// GUID: 16 bytes laid out as u32, u16, u16 and 8 bytes. GUIDs compare
// bytewise; in files they are written field by field, little-endian, and as
// text they read "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in either case.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/api.h"
#include "platform/base/types.h"

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPGUID = GUID*;
using LPCLSID = CLSID*;

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

enum class GuidCase { Upper, Lower };

// Text of a GUID with braces, 38 characters.
NUVEX_PLATFORM_API std::string GuidToText(REFGUID guid, GuidCase letterCase = GuidCase::Upper);

// Parses "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (hex digits in either case).
// Anything else, including missing braces or trailing characters, gives nothing.
NUVEX_PLATFORM_API std::optional<GUID> GuidFromText(std::string_view text);

// The 16 bytes of a GUID as they stand in files: Data1, Data2, Data3
// little-endian, then Data4 as it is.
NUVEX_PLATFORM_API void GuidToBytes(REFGUID guid, uint8_t out[16]);
NUVEX_PLATFORM_API GUID GuidFromBytes(const uint8_t in[16]);
