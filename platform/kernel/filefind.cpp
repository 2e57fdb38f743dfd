// File search with wildcards over one folder.
#include "platform/kernel/filefind.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/path.h"

namespace {

struct FoundEntry {
    std::string name;
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME modified{};
    FILETIME accessed{};
    FILETIME changed{};
};

struct FindState {
    std::vector<FoundEntry> entries;
    size_t next = 0;
};

struct FindHandles {
    std::mutex mutex;
    std::set<FindState*> live;
};

FindHandles& Handles()
{
    static FindHandles handles;
    return handles;
}

FILETIME ToFileTime(const timespec& time)
{
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr uint64_t kEpochOffsetSeconds = 11644473600ull;
    const uint64_t ticks = (static_cast<uint64_t>(time.tv_sec) + kEpochOffsetSeconds) * 10000000ull +
                           static_cast<uint64_t>(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

void Fill(const FoundEntry& entry, WIN32_FIND_DATAA* data)
{
    std::memset(data, 0, sizeof(*data));
    data->dwFileAttributes = entry.attributes;
    data->ftCreationTime = entry.changed;
    data->ftLastAccessTime = entry.accessed;
    data->ftLastWriteTime = entry.modified;
    data->nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(entry.size & 0xFFFFFFFFu);
    std::memcpy(data->cFileName, entry.name.c_str(), entry.name.size() + 1);
}

FindState* Lookup(HANDLE find)
{
    FindHandles& handles = Handles();
    std::lock_guard lock(handles.mutex);
    auto* state = static_cast<FindState*>(find);
    return handles.live.count(state) != 0 ? state : nullptr;
}

} // namespace

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data)
{
    if (pattern == nullptr || data == nullptr || pattern[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string native = NativePath(pattern);
    const size_t slash = native.find_last_of('/');
    const std::string written = slash == std::string::npos ? std::string(".")
                                : slash == 0                ? std::string(1, '/')
                                                            : native.substr(0, slash);
    const std::string folder = ResolveExistingPath(written);
    const std::string namePattern = SharedLibraryName(slash == std::string::npos ? native : native.substr(slash + 1));

    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto state = std::make_unique<FindState>();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name.size() >= MAX_PATH || !MatchesWildcard(namePattern, name)) {
            continue;
        }
        struct stat info {};
        if (::stat((folder + "/" + name).c_str(), &info) != 0) {
            continue; // a dangling link or an entry removed meanwhile
        }
        FoundEntry found;
        found.name = name;
        found.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
        found.attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
        if (name.front() == '.') {
            found.attributes |= FILE_ATTRIBUTE_HIDDEN;
        }
        if (::access((folder + "/" + name).c_str(), W_OK) != 0) {
            found.attributes |= FILE_ATTRIBUTE_READONLY;
        }
        if (found.attributes == 0) {
            found.attributes = FILE_ATTRIBUTE_NORMAL;
        }
        found.modified = ToFileTime(info.st_mtim);
        found.accessed = ToFileTime(info.st_atim);
        found.changed = ToFileTime(info.st_ctim);
        state->entries.push_back(std::move(found));
    }
    ::closedir(dir);
    if (state->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(state->entries.begin(), state->entries.end(),
              [](const FoundEntry& a, const FoundEntry& b) { return a.name < b.name; });
    Fill(state->entries[0], data);
    state->next = 1;
    FindHandles& handles = Handles();
    std::lock_guard lock(handles.mutex);
    handles.live.insert(state.get());
    return state.release();
}

HANDLE FindFirstFile(LPCSTR pattern, WIN32_FIND_DATAA* data) { return FindFirstFileA(pattern, data); }

BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data)
{
    FindState* state = Lookup(find);
    if (state == nullptr || data == nullptr) {
        SetLastError(state == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (state->next >= state->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    Fill(state->entries[state->next++], data);
    return TRUE;
}

BOOL FindNextFile(HANDLE find, WIN32_FIND_DATAA* data) { return FindNextFileA(find, data); }

BOOL FindClose(HANDLE find)
{
    FindHandles& handles = Handles();
    std::unique_ptr<FindState> state;
    {
        std::lock_guard lock(handles.mutex);
        auto it = handles.live.find(static_cast<FindState*>(find));
        if (it == handles.live.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        state.reset(*it);
        handles.live.erase(it);
    }
    return TRUE;
}
