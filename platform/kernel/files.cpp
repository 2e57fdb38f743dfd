// Files and folders named in the system's path form.
#include "platform/kernel/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/path.h"

namespace {

DWORD CopyOut(const std::string& text, DWORD size, LPSTR buffer)
{
    if (buffer == nullptr || text.size() + 1 > size) {
        return static_cast<DWORD>(text.size() + 1);
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

// A read stream over a text file that drops the CR of every CR LF pair. A
// CR at the end of a read chunk is held back until the next byte is known.
struct TextReader {
    FILE* file = nullptr;
    int pending = EOF; // a byte read ahead and not yet delivered
};

ssize_t ReadText(void* cookie, char* buffer, size_t size)
{
    auto* reader = static_cast<TextReader*>(cookie);
    size_t count = 0;
    while (count < size) {
        int c = reader->pending != EOF ? reader->pending : std::fgetc(reader->file);
        reader->pending = EOF;
        if (c == EOF) {
            break;
        }
        if (c == '\r') {
            const int next = std::fgetc(reader->file);
            if (next == '\n') {
                c = '\n';
            } else {
                reader->pending = next;
            }
        }
        buffer[count++] = static_cast<char>(c);
    }
    if (count == 0 && std::ferror(reader->file)) {
        return -1;
    }
    return static_cast<ssize_t>(count);
}

int CloseText(void* cookie)
{
    auto* reader = static_cast<TextReader*>(cookie);
    const int result = std::fclose(reader->file);
    delete reader;
    return result;
}

} // namespace

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer)
{
    std::vector<char> path(4096);
    if (::getcwd(path.data(), path.size()) == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOut(path.data(), size, buffer);
}

DWORD GetCurrentDirectory(DWORD size, LPSTR buffer) { return GetCurrentDirectoryA(size, buffer); }

BOOL SetCurrentDirectoryA(LPCSTR path)
{
    if (path == nullptr || path[0] == '\0' || ::chdir(ResolveExistingPath(path).c_str()) != 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL SetCurrentDirectory(LPCSTR path) { return SetCurrentDirectoryA(path); }

DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart)
{
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string full = AbsolutePath(name);
    const DWORD result = CopyOut(full, size, buffer);
    if (filePart != nullptr && result < size && buffer != nullptr) {
        const size_t slash = full.find_last_of('/');
        *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
    }
    return result;
}

BOOL DeleteFileA(LPCSTR path)
{
    if (path == nullptr || ::unlink(ResolveExistingPath(path).c_str()) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFile(LPCSTR path) { return DeleteFileA(path); }

BOOL CreateDirectoryA(LPCSTR path, void*)
{
    if (path == nullptr || ::mkdir(ResolveExistingPath(path).c_str(), 0777) != 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path)
{
    if (path == nullptr) {
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string resolved = ResolveExistingPath(path);
    struct stat info {};
    if (::stat(resolved.c_str(), &info) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (::access(resolved.c_str(), W_OK) != 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

FILE* OpenCFile(const char* path, const char* mode)
{
    if (path == nullptr || mode == nullptr) {
        return nullptr;
    }
    const std::string modeText = mode;
    const bool binary = modeText.find('b') != std::string::npos;
    const bool readOnly = modeText.find('r') != std::string::npos && modeText.find('+') == std::string::npos;
    // The C library's streams are binary here; the "t" of the system's mode
    // text means nothing to it.
    std::string native;
    for (char c : modeText) {
        if (c != 't') {
            native += c;
        }
    }
    FILE* file = std::fopen(ResolveExistingPath(path).c_str(), native.c_str());
    if (file == nullptr || binary || !readOnly) {
        return file;
    }
    auto* reader = new TextReader{file, EOF};
    cookie_io_functions_t functions{};
    functions.read = ReadText;
    functions.close = CloseText;
    FILE* text = ::fopencookie(reader, "r", functions);
    if (text == nullptr) {
        std::fclose(file);
        delete reader;
    }
    return text;
}
