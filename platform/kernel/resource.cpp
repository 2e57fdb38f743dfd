// Module resource tables and their lookup.
#include "platform/kernel/resource.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/module.h"

namespace {

struct RegisteredTable {
    const ResourceEntry* entries;
    size_t count;
};

struct ResourceTables {
    std::mutex mutex;
    std::map<const void*, std::vector<RegisteredTable>> byModule; // by the loader's module record
};

ResourceTables& Tables()
{
    static ResourceTables tables;
    return tables;
}

// The number an integer or "#123" name stands for.
std::optional<WORD> NumberOf(LPCSTR name)
{
    if (name == nullptr) {
        return std::nullopt;
    }
    if (IS_INTRESOURCE(name)) {
        return static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    }
    if (name[0] != '#' || name[1] == '\0') {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (const char* c = name + 1; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned long>(*c - '0');
        if (value > 0xFFFF) {
            return std::nullopt;
        }
    }
    return static_cast<WORD>(value);
}

const ResourceEntry* Lookup(HMODULE module, WORD type, WORD id, LONG& error)
{
    const void* identity = ModuleIdentity(module);
    error = ERROR_RESOURCE_TYPE_NOT_FOUND;
    if (identity == nullptr) {
        error = ERROR_MOD_NOT_FOUND;
        return nullptr;
    }
    ResourceTables& tables = Tables();
    std::lock_guard lock(tables.mutex);
    auto it = tables.byModule.find(identity);
    if (it == tables.byModule.end()) {
        return nullptr;
    }
    for (const RegisteredTable& table : it->second) {
        for (size_t i = 0; i < table.count; ++i) {
            const ResourceEntry& entry = table.entries[i];
            if (entry.type != type) {
                continue;
            }
            error = ERROR_RESOURCE_NAME_NOT_FOUND;
            if (entry.id == id) {
                error = ERROR_SUCCESS;
                return &entry;
            }
        }
    }
    return nullptr;
}

} // namespace

void RegisterModuleResources(const void* anchor, const ResourceEntry* entries, size_t count)
{
    const void* identity = ModuleIdentityOfAddress(anchor);
    if (identity == nullptr) {
        return;
    }
    ResourceTables& tables = Tables();
    std::lock_guard lock(tables.mutex);
    tables.byModule[identity].push_back(RegisteredTable{entries, count});
}

void UnregisterModuleResources(const ResourceEntry* entries)
{
    ResourceTables& tables = Tables();
    std::lock_guard lock(tables.mutex);
    for (auto it = tables.byModule.begin(); it != tables.byModule.end(); ++it) {
        std::vector<RegisteredTable>& list = it->second;
        for (auto table = list.begin(); table != list.end(); ++table) {
            if (table->entries == entries) {
                list.erase(table);
                if (list.empty()) {
                    tables.byModule.erase(it);
                }
                return;
            }
        }
    }
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type)
{
    const std::optional<WORD> id = NumberOf(name);
    const std::optional<WORD> typeNumber = NumberOf(type);
    if (!id || !typeNumber) {
        SetLastError(!typeNumber ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    LONG error = ERROR_SUCCESS;
    const ResourceEntry* entry = Lookup(module, *typeNumber, *id, error);
    if (entry == nullptr) {
        SetLastError(static_cast<DWORD>(error));
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) { return FindResourceA(module, name, type); }

HGLOBAL LoadResource(HMODULE, HRSRC resource)
{
    if (resource == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<BYTE*>(reinterpret_cast<const ResourceEntry*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    return resource == nullptr ? 0 : reinterpret_cast<const ResourceEntry*>(resource)->size;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (id > 0xFFFF) {
        return 0;
    }
    LONG error = ERROR_SUCCESS;
    const ResourceEntry* entry = Lookup(module, kResourceString, static_cast<WORD>(id), error);
    if (entry == nullptr) {
        SetLastError(static_cast<DWORD>(error));
        return 0;
    }
    // The stored text ends with its terminator; never read past the data.
    const auto* text = reinterpret_cast<const char*>(entry->data);
    size_t length = 0;
    while (length < entry->size && text[length] != '\0') {
        ++length;
    }
    const size_t copied = std::min(length, static_cast<size_t>(size - 1));
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size) { return LoadStringA(module, id, buffer, size); }

std::optional<std::span<const BYTE>> FindResourceBytes(HMODULE module, WORD type, WORD id)
{
    LONG error = ERROR_SUCCESS;
    const ResourceEntry* entry = Lookup(module, type, id, error);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return std::span<const BYTE>(entry->data, entry->size);
}

std::optional<std::span<const BYTE>> FindResourceBytesAt(WORD type, const void* data)
{
    if (data == nullptr) {
        return std::nullopt;
    }
    ResourceTables& tables = Tables();
    std::lock_guard lock(tables.mutex);
    for (const auto& [identity, list] : tables.byModule) {
        for (const RegisteredTable& table : list) {
            for (size_t i = 0; i < table.count; ++i) {
                const ResourceEntry& entry = table.entries[i];
                if (entry.type == type && entry.data == data) {
                    return std::span<const BYTE>(entry.data, entry.size);
                }
            }
        }
    }
    return std::nullopt;
}
