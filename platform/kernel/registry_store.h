// The registry stand-in's tree and its text file.
//
// The store is one text file (see RegistryFilePath). It is written whole
// after every change, to a temporary file in the same folder that is then
// renamed over the old one, so that a crash leaves either the old or the new
// file, never a part of one. Format, one item per line, LF line ends (a CR
// before a LF is ignored when reading):
//
//   # nuvex registry 1                    comment lines start with "#"
//   [HKEY_CLASSES_ROOT\CLSID\{...}]       a key: its root and path, "\" between names
//   @=sz:"strimo Module"                  the key's default (unnamed) value
//   "Count"=dword:0000002a                a named 32-bit value, 8 hex digits
//   "Layout"=binary:0a0b0c                bytes as hex digit pairs (may be empty)
//   "Folder"=sz:"C:\\nuvex \"x\""         text: \\ \" \n \r \t and \xHH escapes
//
// Each key has its own header line (also keys without values, which keep
// their place that way); a header names its parents implicitly. In key
// names, a "%" and any byte below 0x20 or "]" are written as "%HH". Key and
// value names compare ignoring letter case and keep the case they were made
// with; sub-keys are listed in that case-insensitive order.
//
// Reading is forgiving, because the file may have been edited by hand or
// damaged: a line that does not parse is skipped, a value line with no
// valid key header before it is skipped, and a header naming an unknown
// root (or a path deeper than kMaxRegistryKeyDepth) makes the value lines
// under it be skipped until the next header.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// The deepest key below a root; deeper paths are refused when made and
// skipped when read, so no walk over the tree can exhaust the stack.
constexpr size_t kMaxRegistryKeyDepth = 512;

// The root keys by their index in RegistryTree::roots.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };
constexpr size_t kRegistryRootCount = 3;
NUVEX_PLATFORM_API std::string_view RegistryRootName(RegistryRoot root);

struct RegistryValue {
    DWORD type = REG_SZ;
    std::string text;            // REG_SZ
    DWORD number = 0;            // REG_DWORD
    std::vector<uint8_t> bytes;  // REG_BINARY
};

struct NUVEX_PLATFORM_API RegistryNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct NUVEX_PLATFORM_API RegistryKey {
    std::string name; // as made
    std::map<std::string, RegistryValue, RegistryNameLess> values; // "" is the default value
    std::map<std::string, std::unique_ptr<RegistryKey>, RegistryNameLess> children;

    RegistryKey() = default;
    RegistryKey(const RegistryKey& other);
    RegistryKey& operator=(const RegistryKey&) = delete;

    RegistryKey* Find(std::string_view childName) const;
    // The child of that name, made when missing; `made` tells which.
    RegistryKey& Child(const std::string& childName, bool* made = nullptr);
};

struct RegistryTree {
    RegistryKey roots[kRegistryRootCount];

    RegistryKey& Root(RegistryRoot root) { return roots[static_cast<size_t>(root)]; }
    const RegistryKey& Root(RegistryRoot root) const { return roots[static_cast<size_t>(root)]; }
};

// Splits "A\B\\C" into its names; empty names (doubled or edge separators)
// are dropped.
NUVEX_PLATFORM_API std::vector<std::string> SplitKeyPath(std::string_view path);

// The file's text for a tree, and a tree from any text (see above).
NUVEX_PLATFORM_API std::string WriteRegistryText(const RegistryTree& tree);
NUVEX_PLATFORM_API RegistryTree ReadRegistryText(std::string_view text);

// Where the store lives: $NUVEX_CONFIG_DIR/registry when that variable is
// set, else $XDG_CONFIG_HOME/nuvex/registry (an absolute XDG_CONFIG_HOME
// only), else $HOME/.config/nuvex/registry.
NUVEX_PLATFORM_API std::string RegistryFilePath();

// Writes the file atomically (temporary file in the same folder, flushed to
// disk, renamed over the old file), making the folder when missing.
NUVEX_PLATFORM_API bool SaveRegistryFile(const std::string& path, const RegistryTree& tree);
// The tree of the file; an empty tree when the file is missing or unreadable.
NUVEX_PLATFORM_API RegistryTree LoadRegistryFile(const std::string& path);

// An exclusive lock on the folder of the store (made when missing), held
// from reading the file to renaming its new version into place, so that two
// processes changing the store never lose each other's changes.
class NUVEX_PLATFORM_API RegistryFolderLock {
public:
    explicit RegistryFolderLock(const std::string& registryPath);
    ~RegistryFolderLock();
    RegistryFolderLock(const RegistryFolderLock&) = delete;
    RegistryFolderLock& operator=(const RegistryFolderLock&) = delete;
    bool Locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
