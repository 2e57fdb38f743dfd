// Module resources: data compiled into a module at build time (see
// docs/resources.md), found by type and numeric id. Each module's generated
// resource file registers its table when the module is loaded and removes it
// when the module is unloaded, so the tables always belong to a live module.
#pragma once

#include <optional>
#include <span>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/kernel/resource_records.h"

// One resource as the generated file lists it.
struct ResourceEntry {
    WORD type;
    WORD id;
    const BYTE* data;
    DWORD size;
};

// Integer resource names and types travel in the place of a text pointer.
inline bool IS_INTRESOURCE(const void* name) { return reinterpret_cast<uintptr_t>(name) >> 16 == 0; }
inline LPSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(id)); }
inline LPSTR MAKEINTRESOURCE(WORD id) { return MAKEINTRESOURCEA(id); }

inline const LPCSTR RT_CURSOR = MAKEINTRESOURCEA(kResourceCursor);
inline const LPCSTR RT_BITMAP = MAKEINTRESOURCEA(kResourceBitmap);
inline const LPCSTR RT_ICON = MAKEINTRESOURCEA(kResourceIcon);
inline const LPCSTR RT_MENU = MAKEINTRESOURCEA(kResourceMenu);
inline const LPCSTR RT_DIALOG = MAKEINTRESOURCEA(kResourceDialog);
inline const LPCSTR RT_STRING = MAKEINTRESOURCEA(kResourceString);
inline const LPCSTR RT_ACCELERATOR = MAKEINTRESOURCEA(kResourceAccelerator);
inline const LPCSTR RT_RCDATA = MAKEINTRESOURCEA(kResourceData);
inline const LPCSTR RT_TOOLBAR = MAKEINTRESOURCEA(kResourceToolbar);

// Called by the generated code of a module (through
// ModuleResourceRegistration); `anchor` is any address inside that module.
NUVEX_PLATFORM_API void RegisterModuleResources(const void* anchor, const ResourceEntry* entries, size_t count);
NUVEX_PLATFORM_API void UnregisterModuleResources(const ResourceEntry* entries);

// Registers a table for as long as the module that holds it is loaded.
class ModuleResourceRegistration {
public:
    ModuleResourceRegistration(const ResourceEntry* entries, size_t count) : m_entries(entries)
    {
        RegisterModuleResources(entries, entries, count);
    }
    ~ModuleResourceRegistration() { UnregisterModuleResources(m_entries); }
    ModuleResourceRegistration(const ModuleResourceRegistration&) = delete;
    ModuleResourceRegistration& operator=(const ModuleResourceRegistration&) = delete;

private:
    const ResourceEntry* m_entries;
};

// The resource of `module` (null: the running program) with that name and
// type: integer ids (MAKEINTRESOURCE) or their text form "#123". Null when
// there is none (last error ERROR_RESOURCE_NAME_NOT_FOUND or
// ERROR_RESOURCE_TYPE_NOT_FOUND).
NUVEX_PLATFORM_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
NUVEX_PLATFORM_API HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
// The resource's data; it stays valid while the module is loaded and never
// needs to be freed or unlocked.
NUVEX_PLATFORM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
NUVEX_PLATFORM_API LPVOID LockResource(HGLOBAL data);
NUVEX_PLATFORM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
NUVEX_PLATFORM_API BOOL FreeResource(HGLOBAL data);
inline BOOL UnlockResource(HGLOBAL) { return FALSE; }

// Copies string resource `id` into `buffer` (at most size - 1 characters and
// a terminator) and returns the characters copied; 0 when there is no such
// string (the buffer then holds an empty text).
NUVEX_PLATFORM_API int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size);
NUVEX_PLATFORM_API int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size);

// The bytes of a resource by type number and id; nothing when missing. For
// the typed loaders, which decode them with resource_records.h.
NUVEX_PLATFORM_API std::optional<std::span<const BYTE>> FindResourceBytes(HMODULE module, WORD type, WORD id);
// The bytes of the registered resource of `type` whose data starts at
// `data` (what LockResource gave); nothing for any other address. Lets a
// loader handed only a pointer know where the resource ends.
NUVEX_PLATFORM_API std::optional<std::span<const BYTE>> FindResourceBytesAt(WORD type, const void* data);
