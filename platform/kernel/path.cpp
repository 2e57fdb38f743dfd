// Path text conversions between the system's form and the disk's.
#include "platform/kernel/path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> SplitComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '/') {
            if (!current.empty()) {
                parts.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

// The one entry of `folder` equal to `name` ignoring case; empty when there
// is none or more than one (then the written name is kept).
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::string found;
    int count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (EqualsIgnoringCase(entry->d_name, name)) {
            found = entry->d_name;
            ++count;
        }
    }
    ::closedir(dir);
    return count == 1 ? found : std::string();
}

} // namespace

std::string NativePath(std::string_view path)
{
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

std::string SharedLibraryName(std::string_view name)
{
    constexpr std::string_view kDll = ".dll";
    const size_t slash = name.find_last_of("/\\");
    const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (last.size() >= kDll.size() && EqualsIgnoringCase(last.substr(last.size() - kDll.size()), kDll)) {
        return std::string(name.substr(0, name.size() - kDll.size())) + ".so";
    }
    return std::string(name);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name)
{
    // "*.*" is the system's way of saying "every name", dot or not.
    if (pattern == "*.*") {
        pattern = "*";
    }
    // Iterative matcher with one back-tracking point per "*": linear in
    // practice and never recursive, whatever the pattern.
    size_t p = 0;
    size_t n = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::string ResolveExistingPath(std::string_view path)
{
    const std::string native = NativePath(path);
    if (native.empty() || Exists(native)) {
        return native;
    }
    const bool absolute = native.front() == '/';
    std::string result = absolute ? "/" : "";
    bool missing = false;
    for (const std::string& part : SplitComponents(native)) {
        std::string candidate = result + part;
        if (!missing && !Exists(candidate) && part != "." && part != "..") {
            const std::string match = FindEntryIgnoringCase(result, part);
            if (!match.empty()) {
                candidate = result + match;
            } else {
                missing = true;
            }
        }
        result = candidate + "/";
    }
    if (!result.empty() && native.back() != '/' && result != "/") {
        result.pop_back();
    }
    return result;
}

std::string AbsolutePath(std::string_view path)
{
    std::string native = NativePath(path);
    if (native.empty() || native.front() != '/') {
        std::vector<char> buffer(4096);
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            native = std::string(buffer.data()) + "/" + native;
        }
    }
    std::vector<std::string> kept;
    for (const std::string& part : SplitComponents(native)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string result;
    for (const std::string& part : kept) {
        result += "/" + part;
    }
    return result.empty() ? "/" : result;
}
