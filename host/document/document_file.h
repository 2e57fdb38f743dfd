// The "nvx" document file: framing of the object records and the route
// that hands other extensions to the add-in registered for them.
//
// Layout (little-endian, no header, no padding):
//   i32 N, then N object records:
//     CLSID (16), IID (16), i32 S, S data bytes, i32 C, then C child records:
//       CLSID (16), IID (16), i32 size, size data bytes.
// File index = position of an object record in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/document/document_file_error.h"
#include "platform/base/guid.h"
#include "platform/base/types.h"

constexpr size_t kRecordHeaderSize = 36;
// The smallest object record: its header and its child count.
constexpr size_t kMinimumObjectRecordSize = kRecordHeaderSize + 4;

struct FileChildRecord {
    CLSID factory{};
    IID iid{};
    uint32_t size = 0;
    const BYTE* data = nullptr;
};

struct FileObjectRecord {
    CLSID factory{};
    IID iid{};
    uint32_t size = 0;
    const BYTE* data = nullptr;
    size_t childCount = 0;
};

// A file whose framing was checked: its object records follow the count,
// each with its children, and are read again in order when they are
// loaded, so that nothing per record is kept between the check and the
// load.
struct ParsedDocumentFile {
    const BYTE* records = nullptr;
    size_t size = 0;
    size_t objectCount = 0;
};

// Reads the records of a checked file in order.
class DocumentRecordReader {
public:
    explicit DocumentRecordReader(const ParsedDocumentFile& parsed);
    // The next object record; false after the last one.
    bool NextObject(FileObjectRecord& record);
    // The next child of the object record read last; call it the record's
    // child count times before the next object.
    void NextChild(FileChildRecord& child);

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_position = 0;
    size_t m_objectsLeft;
};

struct DocumentFileCheck {
    DocumentFileError error = DocumentFileError::None;
    // Where the fault was found.
    size_t offset = 0;
};

// Checks the whole framing before anything is created: every count and
// size must fit in what remains of the bytes. Empty input is an empty
// file. Bytes after the last record are ignored.
[[nodiscard]] DocumentFileCheck ParseDocumentFile(const BYTE* data, size_t size, ParsedDocumentFile& parsed);

// The extension of a path: the text after the last '.' that follows the
// last path separator; the whole file name when it has no '.'.
std::string PathExtension(const std::string& path);

// The extension the document reads and writes itself (case-sensitive).
inline constexpr const char* kDocumentExtension = "nvx";
