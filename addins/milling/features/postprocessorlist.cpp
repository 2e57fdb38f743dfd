// CPostprocessorList: reading and writing the machine store file.
#include "addins/milling/features/postprocessorlist.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/kernel/files.h"
#include "platform/kernel/path.h"

namespace {

// The file's text with a cursor; reads follow the C runtime's "%ld", "%d",
// "%c" and "%[^\n]" conversions, but never past the text.
class StoreText {
public:
    explicit StoreText(std::string text) : m_text(std::move(text)) {}

    bool AtEnd() const { return m_position >= m_text.size(); }

    // "%ld" / "%d": skips white space, then an optionally signed decimal
    // number within [minimum, maximum].
    bool ReadNumber(long minimum, long maximum, long& value)
    {
        while (!AtEnd() && std::strchr(" \t\n\v\f\r", m_text[m_position]) != nullptr) {
            ++m_position;
        }
        size_t end = m_position;
        if (end < m_text.size() && (m_text[end] == '-' || m_text[end] == '+')) {
            ++end;
        }
        const size_t digits = end;
        while (end < m_text.size() && m_text[end] >= '0' && m_text[end] <= '9') {
            ++end;
        }
        if (end == digits || end - m_position > 20) {
            return false;
        }
        const std::string number = m_text.substr(m_position, end - m_position);
        errno = 0;
        const long parsed = std::strtol(number.c_str(), nullptr, 10);
        if (errno == ERANGE || parsed < minimum || parsed > maximum) {
            return false;
        }
        value = parsed;
        m_position = end;
        return true;
    }

    // "%c" followed by "%[^\n]": one character (the line break before the
    // name), then everything up to the next line break, which stays unread.
    // False at the end of the text or for a line longer than maxLength.
    bool ReadNameLine(size_t maxLength, std::string& name, bool& tooLong)
    {
        tooLong = false;
        if (AtEnd()) {
            return false;
        }
        ++m_position;
        const size_t lineEnd = std::min(m_text.find('\n', m_position), m_text.size());
        if (lineEnd - m_position > maxLength) {
            tooLong = true;
            return false;
        }
        name = m_text.substr(m_position, lineEnd - m_position);
        // The name is a C string: it ends at a zero byte, and what follows
        // on the line is not part of it (writing it back could not keep it).
        name.resize(std::min(name.size(), name.find('\0')));
        m_position = lineEnd;
        return true;
    }

private:
    std::string m_text;
    size_t m_position = 0;
};

bool ReadWholeFile(const char* path, std::string& text)
{
    if (path == nullptr) {
        return false;
    }
    FILE* file = OpenCFile(path, "r");
    if (file == nullptr) {
        return false;
    }
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

// A name reads back as written unless it is too long, breaks the line, holds
// a zero byte (which would end it), or ends in a carriage return (which
// would make the line end CR LF, read as a plain line break). A carriage
// return inside a name is kept by the reader.
bool Storable(const std::string& name)
{
    return name.size() <= kMaxMachineNameLength && name.find('\n') == std::string::npos &&
           name.find('\0') == std::string::npos && (name.empty() || name.back() != '\r');
}

}  // namespace

const char* MachineStoreStatusText(MachineStoreStatus status)
{
    switch (status) {
    case MachineStoreStatus::Ok:
        return "loaded";
    case MachineStoreStatus::CannotOpen:
        return "the machine store cannot be opened";
    case MachineStoreStatus::BadCount:
        return "the machine store does not begin with an entry count";
    case MachineStoreStatus::NameTooLong:
        return "a machine name is longer than 1023 characters";
    case MachineStoreStatus::BadSwitch:
        return "a machine switch is missing or not a number";
    case MachineStoreStatus::Truncated:
        return "the machine store ends before its last entry";
    case MachineStoreStatus::CannotWrite:
        return "the machine store cannot be written";
    case MachineStoreStatus::UnsavableName:
        return "a machine name is too long or holds a line break";
    }
    return "unknown machine store status";
}

int CPostprocessorSettings::GetName(char* buffer) const { return GetName(buffer, kMaxMachineNameLength + 1); }

int CPostprocessorSettings::GetName(char* buffer, size_t size) const
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const size_t length = std::min(name.size(), size - 1);
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return 1;
}

int CPostprocessorList::Load(const char* path)
{
    return Read(path) == MachineStoreStatus::CannotOpen ? 0 : 1;
}

MachineStoreStatus CPostprocessorList::Read(const char* path)
{
    m_entries.clear();
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return MachineStoreStatus::CannotOpen;
    }
    StoreText store(std::move(text));
    long count = 0;
    if (!store.ReadNumber(0, LONG_MAX, count)) {
        return MachineStoreStatus::BadCount;
    }
    // Entries are added as they are read, so a count that the file does not
    // back cannot make the list grow.
    for (long i = 0; i < count; ++i) {
        CPostprocessorSettings entry;
        bool tooLong = false;
        if (!store.ReadNameLine(kMaxMachineNameLength, entry.name, tooLong)) {
            return tooLong ? MachineStoreStatus::NameTooLong : MachineStoreStatus::Truncated;
        }
        int* switches[] = {&entry.modal, &entry.separator, &entry.current, &entry.lineNumbers};
        for (int* value : switches) {
            long number = 0;
            if (!store.ReadNumber(INT_MIN, INT_MAX, number)) {
                return store.AtEnd() ? MachineStoreStatus::Truncated : MachineStoreStatus::BadSwitch;
            }
            *value = static_cast<int>(number);
        }
        m_entries.push_back(std::move(entry));
    }
    return MachineStoreStatus::Ok;
}

int CPostprocessorList::Save(const char* path) const { return Write(path) == MachineStoreStatus::Ok ? 1 : 0; }

MachineStoreStatus CPostprocessorList::Write(const char* path) const
{
    if (path == nullptr) {
        return MachineStoreStatus::CannotWrite;
    }
    for (const CPostprocessorSettings& entry : m_entries) {
        if (!Storable(entry.name)) {
            return MachineStoreStatus::UnsavableName;
        }
    }
    const std::string temporary = std::string(path) + ".new";
    FILE* file = OpenCFile(temporary.c_str(), "w");
    if (file == nullptr) {
        return MachineStoreStatus::CannotWrite;
    }
    bool ok = std::fprintf(file, "%ld\n", static_cast<long>(m_entries.size())) > 0;
    for (const CPostprocessorSettings& entry : m_entries) {
        ok = ok && std::fprintf(file, "%s\n", entry.name.c_str()) >= 0;
        ok = ok && std::fprintf(file, "%d ", entry.modal) > 0;
        ok = ok && std::fprintf(file, "%d\n", entry.separator) > 0;
        ok = ok && std::fprintf(file, "%d\n", entry.current) > 0;
        ok = ok && std::fprintf(file, "%d\n", entry.lineNumbers) > 0;
    }
    ok = (std::fclose(file) == 0) && ok;
    const std::string nativeTemporary = NativePath(temporary);
    if (!ok || std::rename(nativeTemporary.c_str(), NativePath(path).c_str()) != 0) {
        std::remove(nativeTemporary.c_str());
        return MachineStoreStatus::CannotWrite;
    }
    return MachineStoreStatus::Ok;
}

int CPostprocessorList::GetCurrent() const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].current != 0) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(m_entries.size());
}

CPostprocessorSettings CPostprocessorList::GetCurrentOrDefault() const
{
    const int current = GetCurrent();
    if (current >= 0 && static_cast<size_t>(current) < m_entries.size()) {
        return m_entries[static_cast<size_t>(current)];
    }
    return CPostprocessorSettings();
}

int CPostprocessorList::FindByName(const char* name) const
{
    if (name == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string MachineStorePath(const std::string& programFolder) { return programFolder + "\\Toolstore\\poststore.dat"; }
