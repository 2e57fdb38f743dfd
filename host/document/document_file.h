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
#include <memory>
#include <string>
#include <vector>

#include "host/document/document_file_error.h"
#include "platform/base/guid.h"
#include "platform/base/types.h"

constexpr size_t kRecordHeaderSize = 36;
// The smallest object record: its header and its child count.
constexpr size_t kMinimumObjectRecordSize = kRecordHeaderSize + 4;

// Reads the bytes of a document file in order: from memory, or from an
// open file block by block. The block buffer grows only for a record whose
// data is larger than a block, and never beyond what remains of the file;
// every read is bounded by the size the file had when it was opened.
class DocumentByteReader {
public:
    // Large enough that reads cost little per byte, small enough to stay
    // in the processor's cache.
    static constexpr size_t kDefaultBlockSize = size_t{1} << 16;

    // The whole file already in memory.
    DocumentByteReader(const BYTE* data, size_t size);
    // An open file of size bytes, read from offset 0 whatever the
    // descriptor's own position. The descriptor stays the caller's.
    DocumentByteReader(int fd, size_t size, size_t blockSize = kDefaultBlockSize);
    DocumentByteReader(const DocumentByteReader&) = delete;
    DocumentByteReader& operator=(const DocumentByteReader&) = delete;

    size_t Position() const { return m_position; }
    size_t Remaining() const { return m_size - m_position; }
    // count bytes at the position, valid until the next call; null when
    // fewer remain.
    const BYTE* Take(size_t count)
    {
        if (m_windowEnd - m_windowPosition < count && !Fill(count)) {
            return nullptr;
        }
        const BYTE* here = m_window + m_windowPosition;
        m_windowPosition += count;
        m_position += count;
        return here;
    }
    // Passes over count bytes; false when fewer remain.
    bool Skip(size_t count)
    {
        if (m_windowEnd - m_windowPosition < count) {
            return SkipAcrossBlocks(count);
        }
        m_windowPosition += count;
        m_position += count;
        return true;
    }
    bool ReadI32(int32_t& value);
    // Back to the first byte, for a second pass over the file.
    bool Rewind();
    // Why a read stopped short other than at the end of the bytes:
    // ReadFailed or OutOfMemory; None otherwise.
    DocumentFileError Failure() const { return m_failure; }

private:
    // Makes at least count bytes available at the window position.
    bool Fill(size_t count);
    bool SkipAcrossBlocks(size_t count);

    const BYTE* m_window;
    size_t m_windowPosition = 0;
    size_t m_windowEnd;
    size_t m_size;
    size_t m_position = 0;
    int m_fd = -1;
    size_t m_blockSize = 0;
    std::unique_ptr<BYTE[]> m_buffer;
    size_t m_capacity = 0;
    DocumentFileError m_failure = DocumentFileError::None;
};

// What checking a file found.
struct ParsedDocumentFile {
    size_t objectCount = 0;
};

struct DocumentFileCheck {
    DocumentFileError error = DocumentFileError::None;
    // Where the fault was found.
    size_t offset = 0;
};

// Checks the whole framing before anything is created: every count and
// size must fit in what remains of the bytes. Empty input is an empty
// file. Bytes after the last record are ignored. The reader is left after
// the last record.
[[nodiscard]] DocumentFileCheck CheckDocumentFile(DocumentByteReader& reader, ParsedDocumentFile& parsed);
// The same check of a file in memory.
[[nodiscard]] DocumentFileCheck ParseDocumentFile(const BYTE* data, size_t size, ParsedDocumentFile& parsed);

// The extension of a path: the text after the last '.' that follows the
// last path separator; the whole file name when it has no '.'.
std::string PathExtension(const std::string& path);

// The extension the document reads and writes itself (case-sensitive).
inline constexpr const char* kDocumentExtension = "nvx";
