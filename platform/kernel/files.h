// Files and folders named in the system's path form: the current directory,
// full paths, deleting, attributes, and C streams whose text mode reads
// files written with CR LF line ends the same as files written here.
#pragma once

#include <cstdio>

#include "platform/base/api.h"
#include "platform/base/types.h"

// Length of the current directory without terminator when it fits in
// `size` characters with one; else the size needed including the terminator
// (nothing written).
NUVEX_PLATFORM_API DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
NUVEX_PLATFORM_API DWORD GetCurrentDirectory(DWORD size, LPSTR buffer);
NUVEX_PLATFORM_API BOOL SetCurrentDirectoryA(LPCSTR path);
NUVEX_PLATFORM_API BOOL SetCurrentDirectory(LPCSTR path);

// The absolute native form of `name` (relative names from the current
// directory, "." and ".." removed). Returns as GetCurrentDirectoryA does;
// `filePart`, when given, points at the last component inside `buffer`.
NUVEX_PLATFORM_API DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart);

NUVEX_PLATFORM_API BOOL DeleteFileA(LPCSTR path);
NUVEX_PLATFORM_API BOOL DeleteFile(LPCSTR path);
NUVEX_PLATFORM_API BOOL CreateDirectoryA(LPCSTR path, void* securityAttributes);
// FILE_ATTRIBUTE_* bits, or INVALID_FILE_ATTRIBUTES when there is no such file.
NUVEX_PLATFORM_API DWORD GetFileAttributesA(LPCSTR path);

// fopen for paths in the system's form. Modes as fopen's; "b" opens binary.
// A text-mode read stream drops every CR that stands before a LF, so that
// line reads and formatted reads see the same text whichever system wrote
// the file; such a stream reads forward only (no seeking). Writes are
// unchanged (LF line ends). Null when it cannot open.
NUVEX_PLATFORM_API FILE* OpenCFile(const char* path, const char* mode);
