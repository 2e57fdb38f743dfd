// CPostprocessorSettings and CPostprocessorList: the machine store, the list
// of machines (postprocessor names) with the switches that shape the NC text
// written for each, kept in the text file "\Toolstore\poststore.dat" under
// the program folder.
//
// File format (text, decimal numbers): the entry count on its own line, then
// per entry the name line (to the end of the line, blanks included), a line
// "modal separator", a line with the current flag and a line with the
// line-number switch:
//
//     2
//     Power Control CNC
//     1 0
//     1
//     0
//     ...
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Longest machine name the store reads and writes, in characters (the
// readers of the file keep a name line in 1024 bytes with its terminator).
inline constexpr size_t kMaxMachineNameLength = 1023;

// Why a store file did not load completely. Stable codes: tests compare them.
enum class MachineStoreStatus : int {
    Ok = 0,
    CannotOpen = 1,     // the file does not exist or cannot be read
    BadCount = 2,       // the first line holds no entry count of 0 or more
    NameTooLong = 3,    // a name line is longer than kMaxMachineNameLength
    BadSwitch = 4,      // a switch value is missing, not a number, or out of range
    Truncated = 5,      // the file ends before the count's entries
    CannotWrite = 6,    // the file cannot be created or written
    UnsavableName = 7,  // a name is too long, breaks the line, holds a zero byte or ends in CR
};

const char* MachineStoreStatusText(MachineStoreStatus status);

class CPostprocessorSettings {
public:
    std::string name;
    int modal = 0;       // non-zero: a motion code only when it changes
    int separator = 0;   // non-zero: a blank between the words of a block
    int current = 0;     // non-zero on the current machine's entry
    int lineNumbers = 0; // non-zero: every block begins with an N word

    CPostprocessorSettings() = default;
    CPostprocessorSettings(const CPostprocessorSettings&) = default;
    CPostprocessorSettings& operator=(const CPostprocessorSettings&) = default;
    virtual ~CPostprocessorSettings() = default;

    // Copies the name and its terminator into `buffer`, which holds at
    // least kMaxMachineNameLength + 1 bytes; a longer name (which the store
    // never reads or writes) is cut to fit. Returns 1.
    int GetName(char* buffer) const;
    // The same into a buffer of `size` bytes (cut to size - 1 characters);
    // 0 for a null buffer or size 0.
    int GetName(char* buffer, size_t size) const;
};

class CPostprocessorList {
public:
    CPostprocessorList() = default;
    virtual ~CPostprocessorList() = default;

    // Empties the list and reads the file. 1 when the file was opened (the
    // list then holds every complete entry before the first one that does
    // not match the format), 0 when it could not be opened (empty list).
    int Load(const char* path);
    // The same, telling why the file did not load completely.
    MachineStoreStatus Read(const char* path);
    // Writes the whole list in place of the file (through a temporary file,
    // so a failed write leaves the old file as it was). 1, or 0 when the
    // file cannot be written or a name cannot be stored (nothing written).
    int Save(const char* path) const;
    MachineStoreStatus Write(const char* path) const;

    // The index of the first entry whose current flag is set; the count
    // (not an entry) when none is.
    int GetCurrent() const;
    // The switches to write NC text with: the current entry's, or a default
    // machine (empty name, every switch off) when the list is empty or no
    // entry is current.
    CPostprocessorSettings GetCurrentOrDefault() const;
    // The first entry whose name equals `name` exactly; -1 when none does.
    int FindByName(const char* name) const;

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    CPostprocessorSettings& operator[](size_t index) { return m_entries.at(index); }
    const CPostprocessorSettings& operator[](size_t index) const { return m_entries.at(index); }
    std::vector<CPostprocessorSettings>& Entries() { return m_entries; }
    const std::vector<CPostprocessorSettings>& Entries() const { return m_entries; }

private:
    std::vector<CPostprocessorSettings> m_entries;
};

// "<program folder>\Toolstore\poststore.dat".
std::string MachineStorePath(const std::string& programFolder);
