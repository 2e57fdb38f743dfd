// The registry stand-in's tree and its text file.
#include "platform/kernel/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/base/hex.h"

namespace {

constexpr std::string_view kRootNames[kRegistryRootCount] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                             "HKEY_LOCAL_MACHINE"};
constexpr std::string_view kHeaderComment = "# nuvex registry 1";

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char kHexDigits[] = "0123456789abcdef";

// --- writing ---

std::string EscapeKeyName(const std::string& name)
{
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%' || c == ']' || c == '\\' || byte == 0x7F) {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string QuoteText(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out += kHexDigits[byte >> 4];
                out += kHexDigits[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string ValueText(const RegistryValue& value)
{
    switch (value.type) {
    case REG_DWORD: {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(value.number));
        return buffer;
    }
    case REG_BINARY: {
        std::string out = "binary:";
        for (uint8_t byte : value.bytes) {
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        }
        return out;
    }
    default:
        return "sz:" + QuoteText(value.text);
    }
}

void WriteKey(const RegistryKey& key, const std::string& path, std::string& out)
{
    out += "[" + path + "]\n";
    for (const auto& [name, value] : key.values) {
        out += (name.empty() ? std::string("@") : QuoteText(name)) + "=" + ValueText(value) + "\n";
    }
    for (const auto& [name, child] : key.children) {
        WriteKey(*child, path + "\\" + EscapeKeyName(child->name), out);
    }
}

// --- reading ---

// Decodes a "%HH"-escaped key name; nothing for a bad escape.
std::optional<std::string> UnescapeKeyName(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int byte = HexByteValue(text[i + 1], text[i + 2]);
        if (byte < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

// Reads a quoted text starting at text[pos] (the opening quote); on success
// `pos` is just past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view text, size_t& pos)
{
    if (pos >= text.size() || text[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int byte = HexByteValue(text[i + 1], text[i + 2]);
            if (byte < 0) {
                return std::nullopt;
            }
            out += static_cast<char>(byte);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt; // no closing quote
}

std::optional<RegistryValue> ParseValue(std::string_view text)
{
    RegistryValue value;
    if (text.substr(0, 3) == "sz:") {
        size_t pos = 3;
        std::optional<std::string> quoted = ReadQuoted(text, pos);
        if (!quoted || pos != text.size()) {
            return std::nullopt;
        }
        value.type = REG_SZ;
        value.text = *quoted;
        return value;
    }
    if (text.substr(0, 6) == "dword:") {
        const std::string_view digits = text.substr(6);
        if (digits.size() != 8) {
            return std::nullopt;
        }
        DWORD number = 0;
        for (char c : digits) {
            const int v = HexDigitValue(c);
            if (v < 0) {
                return std::nullopt;
            }
            number = number * 16 + static_cast<DWORD>(v);
        }
        value.type = REG_DWORD;
        value.number = number;
        return value;
    }
    if (text.substr(0, 7) == "binary:") {
        const std::string_view digits = text.substr(7);
        if (digits.size() % 2 != 0) {
            return std::nullopt;
        }
        value.type = REG_BINARY;
        for (size_t i = 0; i < digits.size(); i += 2) {
            const int byte = HexByteValue(digits[i], digits[i + 1]);
            if (byte < 0) {
                return std::nullopt;
            }
            value.bytes.push_back(static_cast<uint8_t>(byte));
        }
        return value;
    }
    return std::nullopt;
}

// The key that a header line names, made with its parents; null when the
// header is not valid.
RegistryKey* KeyOfHeader(RegistryTree& tree, std::string_view line)
{
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return nullptr;
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= inner.size()) {
        const size_t end = std::min(inner.find('\\', start), inner.size());
        std::optional<std::string> name = UnescapeKeyName(inner.substr(start, end - start));
        if (!name || name->empty()) {
            return nullptr;
        }
        names.push_back(*name);
        start = end + 1;
    }
    if (names.size() - 1 > kMaxRegistryKeyDepth) {
        return nullptr;
    }
    RegistryKey* key = nullptr;
    for (size_t i = 0; i < kRegistryRootCount; ++i) {
        if (names.front() == kRootNames[i]) {
            key = &tree.roots[i];
        }
    }
    if (key == nullptr) {
        return nullptr;
    }
    for (size_t i = 1; i < names.size(); ++i) {
        key = &key->Child(names[i]);
    }
    return key;
}

bool ParseValueLine(RegistryKey& key, std::string_view line)
{
    std::string name;
    size_t pos = 0;
    if (!line.empty() && line.front() == '@') {
        pos = 1;
    } else {
        std::optional<std::string> quoted = ReadQuoted(line, pos);
        if (!quoted || quoted->empty()) {
            return false;
        }
        name = *quoted;
    }
    if (pos >= line.size() || line[pos] != '=') {
        return false;
    }
    std::optional<RegistryValue> value = ParseValue(line.substr(pos + 1));
    if (!value) {
        return false;
    }
    key.values[name] = *value;
    return true;
}

} // namespace

std::string_view RegistryRootName(RegistryRoot root) { return kRootNames[static_cast<size_t>(root)]; }

bool RegistryNameLess::operator()(const std::string& a, const std::string& b) const
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char x = FoldCase(a[i]);
        const char y = FoldCase(b[i]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
    }
    return a.size() < b.size();
}

RegistryKey::RegistryKey(const RegistryKey& other) : name(other.name), values(other.values)
{
    for (const auto& [childName, child] : other.children) {
        children.emplace(childName, std::make_unique<RegistryKey>(*child));
    }
}

RegistryKey* RegistryKey::Find(std::string_view childName) const
{
    auto it = children.find(std::string(childName));
    return it == children.end() ? nullptr : it->second.get();
}

RegistryKey& RegistryKey::Child(const std::string& childName, bool* made)
{
    auto it = children.find(childName);
    if (made != nullptr) {
        *made = it == children.end();
    }
    if (it == children.end()) {
        auto child = std::make_unique<RegistryKey>();
        child->name = childName;
        it = children.emplace(childName, std::move(child)).first;
    }
    return *it->second;
}

std::vector<std::string> SplitKeyPath(std::string_view path)
{
    std::vector<std::string> names;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) {
                names.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        names.push_back(current);
    }
    return names;
}

std::string WriteRegistryText(const RegistryTree& tree)
{
    std::string out = std::string(kHeaderComment) + "\n";
    for (size_t i = 0; i < kRegistryRootCount; ++i) {
        const RegistryKey& root = tree.roots[i];
        if (root.values.empty() && root.children.empty()) {
            continue;
        }
        WriteKey(root, std::string(kRootNames[i]), out);
    }
    return out;
}

RegistryTree ReadRegistryText(std::string_view text)
{
    RegistryTree tree;
    RegistryKey* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            current = KeyOfHeader(tree, line);
            continue;
        }
        if (current != nullptr) {
            (void)ParseValueLine(*current, line);
        }
    }
    return tree;
}

std::string RegistryFilePath()
{
    if (const char* dir = std::getenv("NUVEX_CONFIG_DIR"); dir != nullptr && dir[0] != '\0') {
        return std::string(dir) + "/registry";
    }
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/nuvex/registry";
    }
    std::string home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
        home = env;
    } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
        home = user->pw_dir;
    }
    return home + "/.config/nuvex/registry";
}

namespace {

bool MakeFolders(const std::string& folder)
{
    if (folder.empty()) {
        return true;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

bool SaveRegistryFile(const std::string& path, const RegistryTree& tree)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (!MakeFolders(folder)) {
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    const std::string text = WriteRegistryText(tree);
    size_t written = 0;
    bool ok = true;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        written += static_cast<size_t>(n);
    }
    ok = ok && ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entries.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        (void)::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

RegistryTree LoadRegistryFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ReadRegistryText(text.str());
}

RegistryFolderLock::RegistryFolderLock(const std::string& registryPath)
{
    const size_t slash = registryPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : registryPath.substr(0, slash);
    if (!MakeFolders(folder)) {
        return;
    }
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

RegistryFolderLock::~RegistryFolderLock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
}
