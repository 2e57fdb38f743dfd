// Loading shared libraries as modules: a module handle is the dynamic
// loader's handle of the library, so the same library gives the same handle
// however it was reached.
//
// Names: "\" and "/" both separate folders; a name ending in ".dll" finds the
// library of the same title ending in ".so"; a component not found as written
// is looked up ignoring letter case. A name without a folder is looked for
// among the loaded modules, then in the running program's folder, then in the
// current directory (never on the system's library path, so that probing for
// a platform library that we do not have answers "missing").
#pragma once

#include <string>

#include "platform/base/api.h"
#include "platform/base/types.h"

// An export as a plain function pointer; callers cast it to the export's own
// type (a cast from this type is the one the compiler does not warn about).
using FARPROC = void (*)();

// Loads the module (or adds a load count to it). Null on failure, with the
// last error ERROR_MOD_NOT_FOUND.
NUVEX_PLATFORM_API HMODULE LoadLibraryA(LPCSTR fileName);
NUVEX_PLATFORM_API HMODULE LoadLibrary(LPCSTR fileName);

// Takes away one load count given by LoadLibrary; the module is unloaded when
// nothing else holds it. FALSE for a handle that LoadLibrary did not give.
NUVEX_PLATFORM_API BOOL FreeLibrary(HMODULE module);

// An export of the module itself (not one of the libraries it depends on),
// by name; null when there is none (last error ERROR_PROC_NOT_FOUND).
NUVEX_PLATFORM_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// The handle of a module already loaded in the process, by file name (with
// or without folder, ".dll" or ".so", any case), adding no load count. Null
// gives the running program's own handle.
NUVEX_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR moduleName);
NUVEX_PLATFORM_API HMODULE GetModuleHandle(LPCSTR moduleName);

// The module that holds the given code or data address; null when none does.
NUVEX_PLATFORM_API HMODULE GetModuleHandleFromAddress(const void* address);

// The module's absolute file path ("/" separators); null module gives the
// running program. Copies at most size - 1 characters and a terminator and
// returns the length copied; a path that does not fit is cut, the result is
// `size` and the last error ERROR_INSUFFICIENT_BUFFER. 0 for an unknown module.
NUVEX_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
NUVEX_PLATFORM_API DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size);

// The folder of the running program, without a trailing separator.
NUVEX_PLATFORM_API std::string ProgramFolderOfExecutable();

// The loader's record of a module handle that this layer gave out (the
// resource tables are kept by it); null for anything else.
NUVEX_PLATFORM_API const void* ModuleIdentity(HMODULE module);
// The record of the module that holds `address`.
NUVEX_PLATFORM_API const void* ModuleIdentityOfAddress(const void* address);
