// The "nvx" document file's framing: the byte reader over memory or a file
// read block by block, the framing of the records, the check of a whole
// file, the error texts, and the route that hands other extensions to an
// add-in. Reading the objects is in document_file_read.cpp, writing them
// in document_file_write.cpp.
//
// Reading passes over the file twice, block by block: the first pass
// checks the framing of every record against the bytes that remain, and
// only then is the document reset and the second pass creates the objects:
// a damaged file loads nothing.
#include "host/document/document_file.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "host/document/document_file_internal.h"
#include "host/document/nuvex_doc.h"

using namespace document_file;

const char* DescribeFileError(DocumentFileError error)
{
    switch (error) {
    case DocumentFileError::None:
        return "no error";
    case DocumentFileError::CannotOpen:
        return "the file cannot be opened";
    case DocumentFileError::ReadFailed:
        return "the file cannot be read";
    case DocumentFileError::Truncated:
        return "the file ends inside a record";
    case DocumentFileError::ImpossibleCount:
        return "the file holds a count or size that cannot be right";
    case DocumentFileError::WriteFailed:
        return "the file cannot be written";
    case DocumentFileError::ObjectSaveFailed:
        return "an object could not be saved";
    case DocumentFileError::ReplaceFailed:
        return "the saved file cannot replace the old one";
    case DocumentFileError::OutOfMemory:
        return "not enough memory for the file";
    }
    return "unknown error";
}

std::string PathExtension(const std::string& path)
{
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (c == '.' || c == '\\' || c == '/') {
            return path.substr(i);
        }
    }
    return path;
}

namespace {

uint32_t GetU32(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

GUID GetGuid(const BYTE* p)
{
    GUID value{};
    static_assert(sizeof(GUID) == 16);
    if constexpr (std::endian::native == std::endian::little) {
        // The stored form is the in-memory form of a little-endian machine.
        std::memcpy(&value, p, 16);
    } else {
        value.Data1 = GetU32(p);
        value.Data2 = static_cast<uint16_t>(p[4] | (p[5] << 8));
        value.Data3 = static_cast<uint16_t>(p[6] | (p[7] << 8));
        std::memcpy(value.Data4, p + 8, 8);
    }
    return value;
}

// One record's header: class ids and a data size that is not negative.
// The header of a record at the reader's position, still in the file's
// form; null with the fault in check when it is cut short or its size is
// negative.
const BYTE* TakeRecordHeader(DocumentByteReader& reader, uint32_t& size, DocumentFileCheck& check)
{
    const size_t start = reader.Position();
    const BYTE* header = reader.Take(kRecordHeaderSize);
    if (header == nullptr) {
        check = {DocumentFileError::Truncated, start};
        return nullptr;
    }
    const auto dataSize = static_cast<int32_t>(GetU32(header + 32));
    if (dataSize < 0) {
        check = {DocumentFileError::ImpossibleCount, reader.Position() - 4};
        return nullptr;
    }
    size = static_cast<uint32_t>(dataSize);
    return header;
}

constexpr LONG kResultNotHandled = 0x10000000;

} // namespace

DocumentByteReader::DocumentByteReader(const BYTE* data, size_t size)
    : m_window(data), m_windowEnd(size), m_size(size)
{
}

DocumentByteReader::DocumentByteReader(int fd, size_t size, size_t blockSize)
    : m_window(nullptr), m_windowEnd(0), m_size(size), m_fd(fd), m_blockSize(blockSize == 0 ? 1 : blockSize)
{
    // No larger than the file: a small file needs a small buffer.
    m_capacity = std::min(m_blockSize, std::max<size_t>(size, 1));
    m_buffer.reset(new (std::nothrow) BYTE[m_capacity]);
    if (!m_buffer) {
        m_capacity = 0;
        m_failure = DocumentFileError::OutOfMemory;
    }
    m_window = m_buffer.get();
}

bool DocumentByteReader::Fill(size_t count)
{
    if (m_fd < 0 || count > Remaining() || m_failure != DocumentFileError::None) {
        return false;
    }
    // The unread bytes move to the front; the buffer grows only for a
    // record larger than it, and count is bounded by what remains.
    const size_t have = m_windowEnd - m_windowPosition;
    if (count > m_capacity) {
        std::unique_ptr<BYTE[]> larger(new (std::nothrow) BYTE[count]);
        if (!larger) {
            m_failure = DocumentFileError::OutOfMemory;
            return false;
        }
        std::memcpy(larger.get(), m_buffer.get() + m_windowPosition, have);
        m_buffer = std::move(larger);
        m_capacity = count;
    } else if (have > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_windowPosition, have);
    }
    m_window = m_buffer.get();
    m_windowPosition = 0;
    m_windowEnd = have;
    // Read ahead as far as the buffer and the rest of the file allow.
    const size_t target = std::min(m_capacity, Remaining());
    while (m_windowEnd < count) {
        // The window starts at the reader's position in the file.
        const auto offset = static_cast<off_t>(m_position + m_windowEnd);
        const ssize_t got = ::pread(m_fd, m_buffer.get() + m_windowEnd, target - m_windowEnd, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            m_failure = DocumentFileError::ReadFailed;
            return false;
        }
        if (got == 0) {
            // The file is shorter than it was when it was opened.
            m_size = m_position + m_windowEnd;
            return false;
        }
        m_windowEnd += static_cast<size_t>(got);
    }
    return true;
}

bool DocumentByteReader::SkipAcrossBlocks(size_t count)
{
    if (count > Remaining()) {
        return false;
    }
    while (count > 0) {
        if (m_windowPosition == m_windowEnd && !Fill(std::min(count, m_blockSize))) {
            return false;
        }
        const size_t step = std::min(count, m_windowEnd - m_windowPosition);
        m_windowPosition += step;
        m_position += step;
        count -= step;
    }
    return true;
}

bool DocumentByteReader::ReadI32(int32_t& value)
{
    const BYTE* p = Take(4);
    if (p == nullptr) {
        return false;
    }
    value = static_cast<int32_t>(GetU32(p));
    return true;
}

bool DocumentByteReader::Rewind()
{
    if (m_fd >= 0) {
        if (m_failure != DocumentFileError::None) {
            return false;
        }
        m_windowEnd = 0;
    }
    m_windowPosition = 0;
    m_position = 0;
    return true;
}

namespace document_file {

DocumentFileCheck ReadRecordHeader(DocumentByteReader& reader, CLSID& factory, IID& iid, uint32_t& size)
{
    DocumentFileCheck check;
    const BYTE* header = TakeRecordHeader(reader, size, check);
    if (header != nullptr) {
        factory = GetGuid(header);
        iid = GetGuid(header + 16);
    }
    return check;
}

DocumentFileCheck ReadRecordData(DocumentByteReader& reader, size_t start, uint32_t size, bool take,
                                 const BYTE*& data)
{
    data = nullptr;
    if (take) {
        data = reader.Take(size);
        if (data == nullptr) {
            return {DocumentFileError::Truncated, start};
        }
    } else if (!reader.Skip(size)) {
        return {DocumentFileError::Truncated, start};
    }
    return {};
}

DocumentFileCheck ReadChildCount(DocumentByteReader& reader, size_t& count)
{
    int32_t childCount = 0;
    if (!reader.ReadI32(childCount)) {
        return {DocumentFileError::Truncated, reader.Position()};
    }
    if (childCount < 0 || static_cast<size_t>(childCount) > reader.Remaining() / kRecordHeaderSize) {
        return {DocumentFileError::ImpossibleCount, reader.Position() - 4};
    }
    count = static_cast<size_t>(childCount);
    return {};
}

DocumentFileCheck SkipRecord(DocumentByteReader& reader)
{
    const size_t start = reader.Position();
    uint32_t size = 0;
    DocumentFileCheck check;
    if (TakeRecordHeader(reader, size, check) != nullptr && !reader.Skip(size)) {
        check = {DocumentFileError::Truncated, start};
    }
    return check;
}

DocumentFileCheck ReadObjectCount(DocumentByteReader& reader, size_t& count)
{
    int32_t stored = 0;
    if (!reader.ReadI32(stored)) {
        return {DocumentFileError::Truncated, 0};
    }
    if (stored < 0 || static_cast<size_t>(stored) > reader.Remaining() / kMinimumObjectRecordSize) {
        return {DocumentFileError::ImpossibleCount, 0};
    }
    count = static_cast<size_t>(stored);
    return {};
}

DocumentFileCheck WithReaderFailure(const DocumentByteReader& reader, DocumentFileCheck check)
{
    if (check.error != DocumentFileError::None && reader.Failure() != DocumentFileError::None) {
        check.error = reader.Failure();
    }
    return check;
}

ComPtr<IObjectBase> ObjectBaseOf(IEntityRecord* holder)
{
    ComPtr<IObjectBase> object;
    IUnknown* held = nullptr;
    if (holder == nullptr || FAILED(holder->GetObject(&held)) || held == nullptr ||
        FAILED(held->QueryInterface(IID_IObjectBase, object.ReceiveVoid()))) {
        object.Reset();
    }
    return object;
}

std::string FileSystemPath(const char* path)
{
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

BOOL RunFileTypeHandler(CNuvexDoc& document, const char* path, LONG code)
{
    const std::string extension = PathExtension(path);
    const uint32_t bit = code == kFileOpenCode ? kFileTypeOpens : kFileTypeSaves;
    for (const FileTypeHandler& handler : document.Services().GetFileTypeHandlers()) {
        if ((handler.flags & bit) == 0 || handler.extension != extension) {
            continue;
        }
        IClassFactory* factory = document.Services().GetClassFactoryForAddin(handler.addin);
        if (factory == nullptr) {
            return FALSE;
        }
        ComPtr<IAddinCommand> command;
        if (FAILED(factory->CreateInstance(nullptr, handler.handler, command.ReceiveVoid())) || !command) {
            return FALSE;
        }
        if (command->Create(document.GetHostDocument(), code, 0) != S_OK) {
            return FALSE;
        }
        LONG state = kResultNotHandled;
        const HRESULT result = command->OnEvent(code, const_cast<char*>(path), 1, 0, &state);
        return result == S_OK ? TRUE : FALSE;
    }
    return FALSE;
}

} // namespace document_file

DocumentFileCheck CheckDocumentFile(DocumentByteReader& reader, ParsedDocumentFile& parsed)
{
    parsed = ParsedDocumentFile{};
    if (reader.Failure() != DocumentFileError::None) {
        return {reader.Failure(), 0};
    }
    if (reader.Remaining() == 0) {
        return {};
    }
    size_t count = 0;
    DocumentFileCheck check = ReadObjectCount(reader, count);
    for (size_t i = 0; check.error == DocumentFileError::None && i < count; ++i) {
        check = SkipRecord(reader);
        size_t childCount = 0;
        if (check.error == DocumentFileError::None) {
            check = ReadChildCount(reader, childCount);
        }
        for (size_t j = 0; check.error == DocumentFileError::None && j < childCount; ++j) {
            check = SkipRecord(reader);
        }
    }
    if (check.error != DocumentFileError::None) {
        return WithReaderFailure(reader, check);
    }
    parsed.objectCount = count;
    return {};
}

DocumentFileCheck ParseDocumentFile(const BYTE* data, size_t size, ParsedDocumentFile& parsed)
{
    DocumentByteReader reader(data, size);
    return CheckDocumentFile(reader, parsed);
}
