// Modules on the dynamic loader.
#include "platform/kernel/module.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/path.h"

namespace {

struct ModuleRecord {
    std::string path;
    int loadCount = 0; // counts given by LoadLibrary and not yet freed
};

// Every handle this layer has given out, so that a handle passed back in is
// known before the loader is asked about it.
struct ModuleTable {
    std::mutex mutex;
    std::map<void*, ModuleRecord> records;
};

ModuleTable& Table()
{
    static ModuleTable table;
    return table;
}

void* MainProgramHandle()
{
    static void* handle = ::dlopen(nullptr, RTLD_NOW);
    return handle;
}

link_map* LinkMapOf(void* handle)
{
    link_map* map = nullptr;
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) {
        return nullptr;
    }
    return map;
}

std::string ExecutablePath()
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string FileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The path of a loaded object; the main program's record has an empty name.
std::string LoadedPath(void* handle)
{
    if (handle == MainProgramHandle()) {
        return ExecutablePath();
    }
    link_map* map = LinkMapOf(handle);
    if (map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0') {
        return ExecutablePath();
    }
    // LoadLibrary hands the loader absolute paths as the caller wrote them
    // (folders not followed through links), so the name a module reports is
    // the one it was found under: a file search of its folder gives the same.
    if (map->l_name[0] == '/') {
        return map->l_name;
    }
    char resolved[PATH_MAX];
    if (::realpath(map->l_name, resolved) != nullptr) {
        return resolved;
    }
    return map->l_name;
}

struct SearchByName {
    std::string wanted; // native file name, ".so" form
    std::string found;
};

int VisitLoadedObject(dl_phdr_info* info, size_t, void* data)
{
    auto* search = static_cast<SearchByName*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') {
        return 0;
    }
    if (EqualsIgnoringCase(FileNameOf(info->dlpi_name), search->wanted)) {
        search->found = info->dlpi_name;
        return 1;
    }
    return 0;
}

// A handle for an object that is loaded already, without keeping a count.
void* HandleOfLoadedPath(const std::string& path)
{
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) {
        ::dlclose(handle);
    }
    return handle;
}

void Remember(void* handle)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto [it, added] = table.records.try_emplace(handle);
    if (added) {
        it->second.path = LoadedPath(handle);
    }
}

bool IsKnown(void* handle)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.records.count(handle) != 0;
}

// The file that LoadLibrary of `name` loads, or empty.
std::string FindModuleFile(std::string_view name)
{
    const std::string native = SharedLibraryName(NativePath(name));
    if (native.find('/') != std::string::npos) {
        const std::string resolved = ResolveExistingPath(AbsolutePath(native));
        return IsRegularFile(resolved) ? resolved : std::string();
    }
    SearchByName search{native, {}};
    ::dl_iterate_phdr(VisitLoadedObject, &search);
    if (!search.found.empty()) {
        return search.found;
    }
    for (const std::string& folder : {ProgramFolderOfExecutable(), std::string(".")}) {
        const std::string resolved = ResolveExistingPath(AbsolutePath(folder + "/" + native));
        if (IsRegularFile(resolved)) {
            return resolved;
        }
    }
    return {};
}

} // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    if (fileName == nullptr || fileName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string file = FindModuleFile(fileName);
    void* handle = file.empty() ? nullptr : ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    Remember(handle);
    {
        ModuleTable& table = Table();
        std::lock_guard lock(table.mutex);
        ++table.records[handle].loadCount;
    }
    return static_cast<HMODULE>(handle);
}

HMODULE LoadLibrary(LPCSTR fileName) { return LoadLibraryA(fileName); }

BOOL FreeLibrary(HMODULE module)
{
    void* handle = module;
    std::string path;
    {
        ModuleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.records.find(handle);
        if (it == table.records.end() || it->second.loadCount == 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        --it->second.loadCount;
        path = it->second.path;
    }
    ::dlclose(handle);
    // Forget the handle once the loader has let the library go, so that a
    // stale handle is refused rather than handed to the loader.
    if (HandleOfLoadedPath(path) == nullptr) {
        ModuleTable& table = Table();
        std::lock_guard lock(table.mutex);
        table.records.erase(handle);
    }
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    void* handle = module != nullptr ? static_cast<void*>(module) : MainProgramHandle();
    // Export ordinals (small integers in place of a name) do not exist here.
    if (procName == nullptr || reinterpret_cast<uintptr_t>(procName) < 0x10000 ||
        (module != nullptr && !IsKnown(handle))) {
        SetLastError(procName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* symbol = ::dlsym(handle, procName);
    if (symbol == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    // The loader also searches the libraries a module depends on; an export
    // counts only when the module itself defines it.
    Dl_info info{};
    link_map* owner = nullptr;
    if (::dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 || owner != LinkMapOf(handle)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    if (moduleName == nullptr) {
        void* handle = MainProgramHandle();
        Remember(handle);
        return static_cast<HMODULE>(handle);
    }
    const std::string native = SharedLibraryName(NativePath(moduleName));
    void* handle = nullptr;
    if (native.find('/') != std::string::npos) {
        handle = HandleOfLoadedPath(ResolveExistingPath(AbsolutePath(native)));
    } else {
        SearchByName search{native, {}};
        ::dl_iterate_phdr(VisitLoadedObject, &search);
        if (!search.found.empty()) {
            handle = HandleOfLoadedPath(search.found);
        }
    }
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    Remember(handle);
    return static_cast<HMODULE>(handle);
}

HMODULE GetModuleHandle(LPCSTR moduleName) { return GetModuleHandleA(moduleName); }

HMODULE GetModuleHandleFromAddress(const void* address)
{
    Dl_info info{};
    link_map* owner = nullptr;
    if (address == nullptr ||
        ::dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 || owner == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* handle = nullptr;
    if (owner == LinkMapOf(MainProgramHandle())) {
        handle = MainProgramHandle();
    } else if (info.dli_fname != nullptr) {
        handle = HandleOfLoadedPath(info.dli_fname);
    }
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    Remember(handle);
    return static_cast<HMODULE>(handle);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    std::string path;
    if (module == nullptr) {
        path = ExecutablePath();
    } else {
        ModuleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.records.find(module);
        if (it == table.records.end()) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = it->second.path;
    }
    if (fileName == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size)
{
    return GetModuleFileNameA(module, fileName, size);
}

std::string ProgramFolderOfExecutable()
{
    const std::string path = ExecutablePath();
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

const void* ModuleIdentity(HMODULE module)
{
    void* handle = module != nullptr ? static_cast<void*>(module) : MainProgramHandle();
    if (module != nullptr && !IsKnown(handle)) {
        return nullptr;
    }
    return LinkMapOf(handle);
}

const void* ModuleIdentityOfAddress(const void* address)
{
    Dl_info info{};
    link_map* owner = nullptr;
    if (::dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0) {
        return nullptr;
    }
    return owner;
}
