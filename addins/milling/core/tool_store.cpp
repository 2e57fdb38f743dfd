// CToolList: reading and writing toolstore.dat.
#include "addins/milling/core/tool_store.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "platform/kernel/files.h"
#include "platform/kernel/path.h"

namespace {

// The file's lines, without their line ends (a carriage return before a
// line end is dropped too).
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && (line[position] == ' ' || line[position] == '\t'))
            ++position;
        size_t end = position;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        if (end > position)
            words.push_back(line.substr(position, end - position));
        position = end;
    }
    return words;
}

bool ParseLong(const std::string& word, long& value)
{
    if (word.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(word.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

bool ParseFinite(const std::string& word, double& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

// The slots in file order after the type: diameter, length, cut length,
// radius, angle, spindle, plunge, feed, radial step, vertical step.
double CToolRecord::* const kFileOrder[] = {
    &CToolRecord::diameter,     &CToolRecord::length,      &CToolRecord::cutLength,
    &CToolRecord::cornerRadius, &CToolRecord::angle,       &CToolRecord::spindleSpeed,
    &CToolRecord::plungeSpeed,  &CToolRecord::feedSpeed,   &CToolRecord::radialStep,
    &CToolRecord::verticalStep,
};

} // namespace

const char* ToolStoreStatusText(ToolStoreStatus status)
{
    switch (status) {
    case ToolStoreStatus::Ok: return "the tool store was read";
    case ToolStoreStatus::CannotOpen: return "the tool store file cannot be opened";
    case ToolStoreStatus::BadCount: return "the tool store does not begin with a tool count";
    case ToolStoreStatus::NameTooLong: return "a tool name in the tool store is longer than 1023 characters";
    case ToolStoreStatus::EmptyName: return "a tool in the tool store has no name";
    case ToolStoreStatus::BadValues: return "a tool in the tool store does not have a type and ten numbers";
    case ToolStoreStatus::Truncated: return "the tool store ends before its last tool";
    case ToolStoreStatus::CannotWrite: return "the tool store file cannot be written";
    case ToolStoreStatus::UnsavableName: return "a tool name is empty, too long or holds a line break";
    }
    return "unknown tool store status";
}

int CToolList::ReadToolStore(const char* path)
{
    return path != nullptr && Read(path).status == ToolStoreStatus::Ok ? 1 : 0;
}

ToolStoreReadResult CToolList::Read(const std::string& path)
{
    m_tools.clear();
    FILE* file = OpenCFile(path.c_str(), "r");
    if (file == nullptr)
        return {ToolStoreStatus::CannotOpen, 0};
    std::string text;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, read);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return {ToolStoreStatus::CannotOpen, 0};
    return Parse(text);
}

ToolStoreReadResult CToolList::Parse(const std::string& text)
{
    m_tools.clear();
    const std::vector<std::string> lines = SplitLines(text);
    long count = 0;
    const std::vector<std::string> first = lines.empty() ? std::vector<std::string>{} : Words(lines[0]);
    if (first.size() != 1 || !ParseLong(first[0], count) || count < 0 || count > kMaxToolCount)
        return {ToolStoreStatus::BadCount, 1};
    std::vector<CToolRecord> tools;
    size_t next = 1;
    for (long i = 0; i < count; ++i) {
        if (next + 1 >= lines.size())
            return {ToolStoreStatus::Truncated, static_cast<int>(lines.size()) + 1};
        CToolRecord tool;
        const std::string& name = lines[next];
        if (name.empty())
            return {ToolStoreStatus::EmptyName, static_cast<int>(next) + 1};
        if (name.size() > kMaxToolNameLength)
            return {ToolStoreStatus::NameTooLong, static_cast<int>(next) + 1};
        tool.name = name;
        const std::vector<std::string> values = Words(lines[next + 1]);
        long type = 0;
        if (values.size() != 11 || !ParseLong(values[0], type) || type < INT32_MIN || type > INT32_MAX)
            return {ToolStoreStatus::BadValues, static_cast<int>(next) + 2};
        tool.toolType = static_cast<int32_t>(type);
        for (size_t k = 0; k < 10; ++k)
            if (!ParseFinite(values[k + 1], tool.*kFileOrder[k]))
                return {ToolStoreStatus::BadValues, static_cast<int>(next) + 2};
        tools.push_back(std::move(tool));
        next += 2;
    }
    m_tools = std::move(tools);
    return {ToolStoreStatus::Ok, 0};
}

ToolStoreStatus CToolList::Format(std::string& text) const
{
    text.clear();
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%ld\n", static_cast<long>(m_tools.size()));
    text += buffer;
    for (const CToolRecord& tool : m_tools) {
        if (tool.name.empty() || tool.name.size() > kMaxToolNameLength ||
            tool.name.find_first_of("\r\n") != std::string::npos)
            return ToolStoreStatus::UnsavableName;
        text += tool.name;
        text += '\n';
        std::snprintf(buffer, sizeof buffer, "%d ", static_cast<int>(tool.toolType));
        text += buffer;
        for (size_t k = 0; k < 10; ++k) {
            std::snprintf(buffer, sizeof buffer, k + 1 < 10 ? "%lf " : "%lf\n", tool.*kFileOrder[k]);
            text += buffer;
        }
    }
    return ToolStoreStatus::Ok;
}

int CToolList::Write(const char* path) const
{
    return path != nullptr && Save(path) == ToolStoreStatus::Ok ? 1 : 0;
}

ToolStoreStatus CToolList::Save(const std::string& path) const
{
    std::string text;
    const ToolStoreStatus formatted = Format(text);
    if (formatted != ToolStoreStatus::Ok)
        return formatted;
    return ReplaceFileContent(path, text) ? ToolStoreStatus::Ok : ToolStoreStatus::CannotWrite;
}

int CToolList::FindByName(const std::string& name) const
{
    for (size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::string ToolStorePath(const std::string& programFolder)
{
    return programFolder.empty() ? std::string("Toolstore/toolstore.dat")
                                 : programFolder + "/Toolstore/toolstore.dat";
}

bool ReplaceFileContent(const std::string& path, const std::string& text)
{
    const std::string temporary = NativePath(path) + ".new";
    FILE* file = OpenCFile(temporary.c_str(), "w");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed || std::rename(temporary.c_str(), NativePath(path).c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
