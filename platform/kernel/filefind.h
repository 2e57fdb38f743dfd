// File search with wildcards. The pattern's folder part may use "\" or "/";
// its last component holds the wildcards "*" and "?" and matches ignoring
// letter case. A pattern ending in ".dll" finds the shared libraries of the
// same titles ending in ".so" ("PostProc\*.dll" finds "PostProc/yelk.so").
// Names are returned as they stand on disk, sorted by name (byte order), so
// that every run sees them in the same order; "." and ".." are never returned.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"

constexpr DWORD MAX_PATH = 260;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// 100-nanosecond intervals since 1601-01-01 UTC, split in two halves.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;
using PFILETIME = FILETIME*;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
using WIN32_FIND_DATA = WIN32_FIND_DATAA;
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

// The first match, or INVALID_HANDLE_VALUE with the last error
// ERROR_FILE_NOT_FOUND (no match) or ERROR_PATH_NOT_FOUND (no such folder).
// Names longer than MAX_PATH - 1 characters are skipped, never cut.
NUVEX_PLATFORM_API HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
NUVEX_PLATFORM_API HANDLE FindFirstFile(LPCSTR pattern, WIN32_FIND_DATAA* data);
// The next match; FALSE with ERROR_NO_MORE_FILES after the last one.
NUVEX_PLATFORM_API BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data);
NUVEX_PLATFORM_API BOOL FindNextFile(HANDLE find, WIN32_FIND_DATAA* data);
NUVEX_PLATFORM_API BOOL FindClose(HANDLE find);
