// The registry functions over the file-backed store of registry_store.h.
// Every call first takes in changes another process made to the file, and
// every change rewrites the file before the call returns; a change that
// cannot be written is not kept and answers ERROR_CANTWRITE.
//
// Key handles remember the key's path, not the key: a handle whose key was
// deleted answers ERROR_KEY_DELETED. The root keys HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are always open. Access masks and
// options are accepted and not checked. Values are REG_SZ, REG_DWORD and
// REG_BINARY; other types are refused with ERROR_INVALID_PARAMETER.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/registry_store.h"

using REGSAM = DWORD;
using PHKEY = HKEY*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u));

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key below `key` (an empty or null sub-key opens `key`
// itself again). ERROR_FILE_NOT_FOUND when it does not exist.
NUVEX_PLATFORM_API LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
NUVEX_PLATFORM_API LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
NUVEX_PLATFORM_API LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result);
NUVEX_PLATFORM_API LONG RegOpenKey(HKEY key, LPCSTR subKey, PHKEY result);

// Opens the key, making it and any missing parents first. `disposition`
// (optional) tells REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY. A key
// deeper than kMaxRegistryKeyDepth answers ERROR_INVALID_PARAMETER.
NUVEX_PLATFORM_API LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                                        LPDWORD disposition);
NUVEX_PLATFORM_API LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                                       REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                                       LPDWORD disposition);
NUVEX_PLATFORM_API LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result);
NUVEX_PLATFORM_API LONG RegCreateKey(HKEY key, LPCSTR subKey, PHKEY result);

NUVEX_PLATFORM_API LONG RegCloseKey(HKEY key);
// Changes are on disk when each call returns; nothing is left to flush.
NUVEX_PLATFORM_API LONG RegFlushKey(HKEY key);

// Reads a value (null or empty name: the default value). With `data` null
// only the type and size are given. A buffer too small answers
// ERROR_MORE_DATA with the size needed in *size. Text comes with its
// terminator, which the size counts.
NUVEX_PLATFORM_API LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                         LPDWORD size);
NUVEX_PLATFORM_API LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                        LPDWORD size);
// The default text of a sub-key (empty text when the key has none).
NUVEX_PLATFORM_API LONG RegQueryValueA(HKEY key, LPCSTR subKey, LPSTR data, LPLONG size);
NUVEX_PLATFORM_API LONG RegQueryValue(HKEY key, LPCSTR subKey, LPSTR data, LPLONG size);

// Writes a value. REG_SZ takes the bytes up to the first terminator inside
// `size` (or all `size` bytes); REG_DWORD needs exactly 4 bytes.
NUVEX_PLATFORM_API LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                       DWORD size);
NUVEX_PLATFORM_API LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                      DWORD size);
// Sets the default text of a sub-key, making the sub-key when missing.
NUVEX_PLATFORM_API LONG RegSetValueA(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD size);
NUVEX_PLATFORM_API LONG RegSetValue(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD size);

// Sub-key names by index in case-insensitive order; ERROR_NO_MORE_ITEMS past
// the last. `nameSize` holds the buffer size in characters on entry and the
// name's length without terminator on success; a buffer too small answers
// ERROR_MORE_DATA. There are no key classes or write times: they come back
// empty and zero.
NUVEX_PLATFORM_API LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                                      LPSTR keyClass, LPDWORD classSize, PFILETIME lastWriteTime);
NUVEX_PLATFORM_API LONG RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                                     LPSTR keyClass, LPDWORD classSize, PFILETIME lastWriteTime);
NUVEX_PLATFORM_API LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize);
NUVEX_PLATFORM_API LONG RegEnumKey(HKEY key, DWORD index, LPSTR name, DWORD nameSize);

// Values by index in case-insensitive name order (the default value, when
// set, first with an empty name). Sizes as for RegEnumKeyExA and
// RegQueryValueExA.
NUVEX_PLATFORM_API LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize,
                                      LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);

// Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED otherwise, and
// for the root keys); an empty sub-key names `key` itself.
NUVEX_PLATFORM_API LONG RegDeleteKeyA(HKEY key, LPCSTR subKey);
NUVEX_PLATFORM_API LONG RegDeleteKey(HKEY key, LPCSTR subKey);
NUVEX_PLATFORM_API LONG RegDeleteValueA(HKEY key, LPCSTR valueName);
NUVEX_PLATFORM_API LONG RegDeleteValue(HKEY key, LPCSTR valueName);
