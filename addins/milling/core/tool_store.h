// CToolList: the tool store, the add-in's list of cutting tools, kept in the
// text file "Toolstore/toolstore.dat" under the program folder. Every user
// reads the file afresh; the tool store dialog writes it.
//
// File format (text, numbers in the C library's "%lf" form): the tool count
// on its own line, then per tool two lines, its name (the whole line,
// leading blanks included) and
//
//     type diameter length cut-length radius angle spindle plunge feed radial-step vertical-step
//
// with type 1 for a mill and 2 for a drill, each value followed by one blank
// except the last, which ends the line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "addins/milling/features/millingparams.h"

// Longest tool name the store reads and writes (the file's readers keep a
// name in 1024 bytes with its terminator).
inline constexpr size_t kMaxToolNameLength = 1023;
// More tools than this in one store is taken for a damaged count.
inline constexpr long kMaxToolCount = 100000;

inline constexpr int kToolTypeMill = 1;
inline constexpr int kToolTypeDrill = 2;

// Why a store did not load or save. Stable codes: tests compare them.
enum class ToolStoreStatus : int {
    Ok = 0,
    CannotOpen = 1,    // the file does not exist or cannot be read
    BadCount = 2,      // the first line holds no count from 0 to kMaxToolCount
    NameTooLong = 3,   // a name line is longer than kMaxToolNameLength
    EmptyName = 4,     // a name line is empty
    BadValues = 5,     // a value line is not a type and ten finite numbers
    Truncated = 6,     // the file ends before the count's tools
    CannotWrite = 7,   // the file cannot be created, written or put in place
    UnsavableName = 8, // a name is empty, too long or holds a line break
};

const char* ToolStoreStatusText(ToolStoreStatus status);

// The outcome of a read: the status and, when it failed, the 1-based line.
struct ToolStoreReadResult {
    ToolStoreStatus status = ToolStoreStatus::Ok;
    int line = 0;
};

class CToolList {
public:
    CToolList() = default;
    virtual ~CToolList() = default;

    // Empties the list and reads the file: 1 when it was read whole, 0
    // otherwise. A file that does not match the format loads nothing.
    int ReadToolStore(const char* path);
    ToolStoreReadResult Read(const std::string& path);
    // Reads the file's text; the same rules.
    ToolStoreReadResult Parse(const std::string& text);

    // Writes the whole list in place of the file, through a temporary file
    // in the same folder that replaces it, so a failed write keeps the old
    // file. 1, or 0 when nothing was written.
    int Write(const char* path) const;
    ToolStoreStatus Save(const std::string& path) const;
    // The file's text for the list; UnsavableName when a name cannot be
    // stored.
    ToolStoreStatus Format(std::string& text) const;

    // The first tool whose name equals `name` byte for byte; -1 when none.
    int FindByName(const std::string& name) const;

    size_t size() const { return m_tools.size(); }
    bool empty() const { return m_tools.empty(); }
    CToolRecord& operator[](size_t index) { return m_tools.at(index); }
    const CToolRecord& operator[](size_t index) const { return m_tools.at(index); }
    std::vector<CToolRecord>& Tools() { return m_tools; }
    const std::vector<CToolRecord>& Tools() const { return m_tools; }

private:
    std::vector<CToolRecord> m_tools;
};

// "<program folder>/Toolstore/toolstore.dat".
std::string ToolStorePath(const std::string& programFolder);

// Writes `text` in place of the file at `path` through a temporary file in
// the same folder and a rename; false when any step fails (the old file is
// then as it was).
bool ReplaceFileContent(const std::string& path, const std::string& text);
