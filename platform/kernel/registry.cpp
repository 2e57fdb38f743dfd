// The registry functions over the file-backed store.
#include "platform/kernel/registry.h"

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>

namespace {

struct OpenKey {
    RegistryRoot root;
    std::vector<std::string> path;
};

// What identifies one version of the file: a rewrite always renames a new
// file into place, so its inode changes with every change.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const
    {
        return exists == other.exists && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileStamp StampOf(const std::string& path)
{
    FileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        stamp.exists = true;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
    }
    return stamp;
}

class RegistryService {
public:
    std::mutex mutex;
    std::set<OpenKey*> handles;

    // The tree as the file now holds it.
    RegistryTree& Current()
    {
        const std::string path = RegistryFilePath();
        const FileStamp stamp = StampOf(path);
        if (path != m_path || !(stamp == m_stamp)) {
            m_tree = std::make_unique<RegistryTree>(LoadRegistryFile(path));
            m_path = path;
            m_stamp = stamp;
        }
        return *m_tree;
    }

    // Applies `change` to a copy of the tree as the file holds it, under the
    // folder lock, and keeps it only when the file could be written. The change answers an error code; nothing is
    // written when it fails.
    LONG Change(const std::function<LONG(RegistryTree&)>& change)
    {
        const RegistryFolderLock lock(RegistryFilePath());
        RegistryTree& current = Current();
        auto copy = std::make_unique<RegistryTree>(current);
        const LONG result = change(*copy);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        if (!SaveRegistryFile(m_path, *copy)) {
            return ERROR_CANTWRITE;
        }
        m_tree = std::move(copy);
        m_stamp = StampOf(m_path);
        return ERROR_SUCCESS;
    }

private:
    std::string m_path;
    FileStamp m_stamp;
    std::unique_ptr<RegistryTree> m_tree = std::make_unique<RegistryTree>();
};

RegistryService& Service()
{
    static RegistryService service;
    return service;
}

std::optional<RegistryRoot> RootOfHandle(HKEY key)
{
    if (key == HKEY_CLASSES_ROOT) {
        return RegistryRoot::ClassesRoot;
    }
    if (key == HKEY_CURRENT_USER) {
        return RegistryRoot::CurrentUser;
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return RegistryRoot::LocalMachine;
    }
    return std::nullopt;
}

// The key a handle stands for, as root and path; nothing for a handle that
// is not open. Call with the service's lock held.
std::optional<OpenKey> Describe(RegistryService& service, HKEY key)
{
    if (std::optional<RegistryRoot> root = RootOfHandle(key)) {
        return OpenKey{*root, {}};
    }
    auto* open = reinterpret_cast<OpenKey*>(key);
    if (service.handles.count(open) == 0) {
        return std::nullopt;
    }
    return *open;
}

RegistryKey* Walk(RegistryTree& tree, const OpenKey& key)
{
    RegistryKey* node = &tree.Root(key.root);
    for (const std::string& name : key.path) {
        node = node->Find(name);
        if (node == nullptr) {
            return nullptr;
        }
    }
    return node;
}

OpenKey Below(const OpenKey& key, LPCSTR subKey)
{
    OpenKey result = key;
    if (subKey != nullptr) {
        for (std::string& name : SplitKeyPath(subKey)) {
            result.path.push_back(std::move(name));
        }
    }
    return result;
}

HKEY NewHandle(RegistryService& service, OpenKey key)
{
    auto* open = new OpenKey(std::move(key));
    service.handles.insert(open);
    return reinterpret_cast<HKEY>(open);
}

// Looks up the open key of a handle and the node it names; `error` tells why
// when there is none.
RegistryKey* Resolve(RegistryService& service, HKEY key, LONG& error)
{
    std::optional<OpenKey> open = Describe(service, key);
    if (!open) {
        error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    RegistryKey* node = Walk(service.Current(), *open);
    error = node != nullptr ? ERROR_SUCCESS : ERROR_KEY_DELETED;
    return node;
}

// Runs `use` with the service and the key a handle stands for, under the
// service's lock; ERROR_INVALID_HANDLE for a handle that is not open.
template <class Use>
LONG WithOpenKey(HKEY key, Use use)
{
    RegistryService& service = Service();
    std::lock_guard lock(service.mutex);
    const std::optional<OpenKey> open = Describe(service, key);
    return open ? use(service, *open) : ERROR_INVALID_HANDLE;
}

// Runs `use` on the node a handle names, under the service's lock; the
// error of a handle that names none.
template <class Use>
LONG WithKeyNode(HKEY key, Use use)
{
    RegistryService& service = Service();
    std::lock_guard lock(service.mutex);
    LONG error = ERROR_SUCCESS;
    RegistryKey* node = Resolve(service, key, error);
    return node != nullptr ? use(*node) : error;
}

// Runs `use` on entry `index` (in name order) of the node's children or
// values; ERROR_NO_MORE_ITEMS past the last.
template <class Entries, class Use>
LONG WithEntry(HKEY key, DWORD index, Entries RegistryKey::*entries, Use use)
{
    return WithKeyNode(key, [&](RegistryKey& node) -> LONG {
        const Entries& all = node.*entries;
        if (index >= all.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        return use(*std::next(all.begin(), static_cast<std::ptrdiff_t>(index)));
    });
}

std::vector<uint8_t> BytesOf(const RegistryValue& value)
{
    switch (value.type) {
    case REG_DWORD: {
        std::vector<uint8_t> bytes(4);
        for (size_t i = 0; i < 4; ++i) {
            bytes[i] = static_cast<uint8_t>((value.number >> (8 * i)) & 0xFF);
        }
        return bytes;
    }
    case REG_BINARY:
        return value.bytes;
    default: {
        std::vector<uint8_t> bytes(value.text.begin(), value.text.end());
        bytes.push_back(0);
        return bytes;
    }
    }
}

LONG CopyValueOut(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD size)
{
    const std::vector<uint8_t> bytes = BytesOf(value);
    if (type != nullptr) {
        *type = value.type;
    }
    if (data != nullptr) {
        if (size == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        if (*size < bytes.size()) {
            *size = static_cast<DWORD>(bytes.size());
            return ERROR_MORE_DATA;
        }
        if (!bytes.empty()) {
            std::memcpy(data, bytes.data(), bytes.size());
        }
    }
    if (size != nullptr) {
        *size = static_cast<DWORD>(bytes.size());
    }
    return ERROR_SUCCESS;
}

LONG CopyNameOut(const std::string& name, LPSTR buffer, LPDWORD size)
{
    if (buffer == nullptr || size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (name.size() + 1 > *size) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

std::optional<RegistryValue> ValueFromBytes(DWORD type, const BYTE* data, DWORD size)
{
    if (data == nullptr && size != 0) {
        return std::nullopt;
    }
    RegistryValue value;
    value.type = type;
    switch (type) {
    case REG_SZ: {
        const auto* text = reinterpret_cast<const char*>(data);
        size_t length = 0;
        while (length < size && text[length] != '\0') {
            ++length;
        }
        value.text.assign(text == nullptr ? "" : text, length);
        return value;
    }
    case REG_DWORD:
        if (size != 4) {
            return std::nullopt;
        }
        value.number = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
                       (static_cast<DWORD>(data[2]) << 16) | (static_cast<DWORD>(data[3]) << 24);
        return value;
    case REG_BINARY:
        value.bytes.assign(data, data + size);
        return value;
    default:
        return std::nullopt;
    }
}

} // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result)
{
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& parent) -> LONG {
        OpenKey target = Below(parent, subKey);
        if (Walk(service.Current(), target) == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        *result = NewHandle(service, std::move(target));
        return ERROR_SUCCESS;
    });
}

LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    return RegOpenKeyExA(key, subKey, options, access, result);
}

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) { return RegOpenKeyExA(key, subKey, 0, KEY_ALL_ACCESS, result); }

LONG RegOpenKey(HKEY key, LPCSTR subKey, PHKEY result) { return RegOpenKeyA(key, subKey, result); }

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY result,
                     LPDWORD disposition)
{
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& parent) -> LONG {
        if (Walk(service.Current(), parent) == nullptr) {
            return ERROR_KEY_DELETED;
        }
        OpenKey target = Below(parent, subKey);
        if (target.path.size() > kMaxRegistryKeyDepth) {
            return ERROR_INVALID_PARAMETER;
        }
        bool made = false;
        if (Walk(service.Current(), target) == nullptr) {
            const LONG written = service.Change([&](RegistryTree& tree) {
                if (Walk(tree, parent) == nullptr) {
                    return ERROR_KEY_DELETED;
                }
                RegistryKey* node = &tree.Root(target.root);
                for (const std::string& name : target.path) {
                    node = &node->Child(name);
                }
                return ERROR_SUCCESS;
            });
            if (written != ERROR_SUCCESS) {
                return written;
            }
            made = true;
        }
        if (disposition != nullptr) {
            *disposition = made ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        }
        *result = NewHandle(service, std::move(target));
        return ERROR_SUCCESS;
    });
}

LONG RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                    LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition)
{
    return RegCreateKeyExA(key, subKey, reserved, keyClass, options, access, security, result, disposition);
}

LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result)
{
    return RegCreateKeyExA(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LONG RegCreateKey(HKEY key, LPCSTR subKey, PHKEY result) { return RegCreateKeyA(key, subKey, result); }

LONG RegCloseKey(HKEY key)
{
    if (RootOfHandle(key)) {
        return ERROR_SUCCESS;
    }
    RegistryService& service = Service();
    std::lock_guard lock(service.mutex);
    auto* open = reinterpret_cast<OpenKey*>(key);
    if (service.handles.erase(open) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    delete open;
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key)
{
    return WithOpenKey(key, [](RegistryService&, const OpenKey&) -> LONG { return ERROR_SUCCESS; });
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    return WithKeyNode(key, [&](RegistryKey& node) -> LONG {
        auto it = node.values.find(valueName == nullptr ? std::string() : std::string(valueName));
        if (it == node.values.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        return CopyValueOut(it->second, type, data, size);
    });
}

LONG RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    return RegQueryValueExA(key, valueName, reserved, type, data, size);
}

LONG RegQueryValueA(HKEY key, LPCSTR subKey, LPSTR data, LPLONG size)
{
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& parent) -> LONG {
        RegistryKey* node = Walk(service.Current(), Below(parent, subKey));
        if (node == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        RegistryValue text;
        auto it = node->values.find(std::string());
        if (it != node->values.end()) {
            if (it->second.type != REG_SZ) {
                return ERROR_INVALID_PARAMETER;
            }
            text = it->second;
        }
        if (size == nullptr || *size < 0) {
            return data == nullptr && size == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
        }
        DWORD bytes = static_cast<DWORD>(*size);
        const LONG result = CopyValueOut(text, nullptr, reinterpret_cast<LPBYTE>(data), &bytes);
        *size = static_cast<LONG>(bytes);
        return result;
    });
}

LONG RegQueryValue(HKEY key, LPCSTR subKey, LPSTR data, LPLONG size) { return RegQueryValueA(key, subKey, data, size); }

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    std::optional<RegistryValue> value = ValueFromBytes(type, data, size);
    if (!value) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string name = valueName == nullptr ? std::string() : std::string(valueName);
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& open) -> LONG {
        return service.Change([&](RegistryTree& tree) {
            RegistryKey* node = Walk(tree, open);
            if (node == nullptr) {
                return ERROR_KEY_DELETED;
            }
            node->values[name] = *value;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    return RegSetValueExA(key, valueName, reserved, type, data, size);
}

LONG RegSetValueA(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD size)
{
    if (type != REG_SZ || data == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY target = nullptr;
    LONG result = RegCreateKeyA(key, subKey, &target);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    // The text is taken whole, whatever size says, as the terminator ends it.
    (void)size;
    result = RegSetValueExA(target, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                            static_cast<DWORD>(std::strlen(data) + 1));
    RegCloseKey(target);
    return result;
}

LONG RegSetValue(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD size)
{
    return RegSetValueA(key, subKey, type, data, size);
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR keyClass, LPDWORD classSize,
                   PFILETIME lastWriteTime)
{
    return WithEntry(key, index, &RegistryKey::children, [&](const auto& child) -> LONG {
        const LONG result = CopyNameOut(child.second->name, name, nameSize);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        if (keyClass != nullptr && classSize != nullptr && *classSize > 0) {
            keyClass[0] = '\0';
        }
        if (classSize != nullptr) {
            *classSize = 0;
        }
        if (lastWriteTime != nullptr) {
            *lastWriteTime = FILETIME{0, 0};
        }
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                  LPDWORD classSize, PFILETIME lastWriteTime)
{
    return RegEnumKeyExA(key, index, name, nameSize, reserved, keyClass, classSize, lastWriteTime);
}

LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize)
{
    return RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumKey(HKEY key, DWORD index, LPSTR name, DWORD nameSize) { return RegEnumKeyA(key, index, name, nameSize); }

LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD, LPDWORD type, LPBYTE data,
                   LPDWORD dataSize)
{
    return WithEntry(key, index, &RegistryKey::values, [&](const auto& value) -> LONG {
        const LONG result = CopyNameOut(value.first, valueName, valueNameSize);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        return CopyValueOut(value.second, type, data, dataSize);
    });
}

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey)
{
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& parent) -> LONG {
        const OpenKey target = Below(parent, subKey);
        if (target.path.empty()) {
            return ERROR_ACCESS_DENIED;
        }
        return service.Change([&](RegistryTree& tree) {
            RegistryKey* node = Walk(tree, target);
            if (node == nullptr) {
                return ERROR_FILE_NOT_FOUND;
            }
            if (!node->children.empty()) {
                return ERROR_ACCESS_DENIED;
            }
            OpenKey owner = target;
            owner.path.pop_back();
            Walk(tree, owner)->children.erase(target.path.back());
            return ERROR_SUCCESS;
        });
    });
}

LONG RegDeleteKey(HKEY key, LPCSTR subKey) { return RegDeleteKeyA(key, subKey); }

LONG RegDeleteValueA(HKEY key, LPCSTR valueName)
{
    const std::string name = valueName == nullptr ? std::string() : std::string(valueName);
    return WithOpenKey(key, [&](RegistryService& service, const OpenKey& open) -> LONG {
        return service.Change([&](RegistryTree& tree) {
            RegistryKey* node = Walk(tree, open);
            if (node == nullptr) {
                return ERROR_KEY_DELETED;
            }
            return node->values.erase(name) != 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

LONG RegDeleteValue(HKEY key, LPCSTR valueName) { return RegDeleteValueA(key, valueName); }
