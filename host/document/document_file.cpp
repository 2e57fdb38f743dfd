// Reading and writing the "nvx" document file, and the route that hands
// other extensions to an add-in.
//
// Saving writes a temporary file in the same folder and renames it over
// the old one only when every write succeeded, so a failed save leaves the
// previous file as it was. Reading passes over the file twice, block by
// block: the first pass checks the framing of every record against the
// bytes that remain, and only then is the document reset and the second
// pass creates the objects: a damaged file loads nothing.
#include "host/document/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "host/document/host_document.h"
#include "host/document/nuvex_doc.h"
#include "host/document/pooled_entity_record.h"
#include "objectmodel/entity_record.h"

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

// Paths inside the system may use '\'; the file system wants '/'.
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

namespace {

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

// The data of a record whose header started at start: taken (data set)
// or passed over (data null).
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

// The child count behind an object record's data: no more children than
// the smallest child records could fill the rest with.
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

// A record with its data passed over.
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

// The object count at the start of a file that is not empty.
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

// A short read that came from the file or from memory, not from the bytes.
DocumentFileCheck WithReaderFailure(const DocumentByteReader& reader, DocumentFileCheck check)
{
    if (check.error != DocumentFileError::None && reader.Failure() != DocumentFileError::None) {
        check.error = reader.Failure();
    }
    return check;
}

} // namespace

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

namespace {

void PutU32(BYTE* p, uint32_t value)
{
    p[0] = static_cast<BYTE>(value);
    p[1] = static_cast<BYTE>(value >> 8);
    p[2] = static_cast<BYTE>(value >> 16);
    p[3] = static_cast<BYTE>(value >> 24);
}

void PutGuid(BYTE* p, const GUID& value)
{
    PutU32(p, value.Data1);
    p[4] = static_cast<BYTE>(value.Data2);
    p[5] = static_cast<BYTE>(value.Data2 >> 8);
    p[6] = static_cast<BYTE>(value.Data3);
    p[7] = static_cast<BYTE>(value.Data3 >> 8);
    std::memcpy(p + 8, value.Data4, 8);
}

// Buffered output to a file descriptor; every write is checked and the
// first failure sticks.
class FileSink {
public:
    explicit FileSink(int fd) : m_fd(fd), m_buffer(kInitialCapacity) {}

    bool Ok() const { return m_ok; }

    // A place for count bytes in the buffer, valid until the next call.
    BYTE* Claim(size_t count)
    {
        if (m_buffer.size() - m_used < count) {
            Flush();
            if (m_buffer.size() < count) {
                m_buffer.resize(count);
            }
        }
        return m_buffer.data() + m_used;
    }
    void Commit(size_t count) { m_used += count; }

    void WriteU32(uint32_t value)
    {
        PutU32(Claim(4), value);
        Commit(4);
    }
    void WriteI32(int32_t value) { WriteU32(static_cast<uint32_t>(value)); }
    void WriteGuid(const GUID& value)
    {
        PutGuid(Claim(16), value);
        Commit(16);
    }

    void Flush()
    {
        size_t done = 0;
        while (m_ok && done < m_used) {
            const ssize_t written = ::write(m_fd, m_buffer.data() + done, m_used - done);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                m_ok = false;
                break;
            }
            done += static_cast<size_t>(written);
        }
        m_used = 0;
    }

private:
    static constexpr size_t kInitialCapacity = 1 << 16;
    int m_fd;
    std::vector<BYTE> m_buffer;
    size_t m_used = 0;
    bool m_ok = true;
};

// The temporary file of a save; removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) : m_name(target + ".saveXXXXXX")
    {
        m_fd = ::mkstemp(m_name.data());
        m_created = m_fd >= 0;
        if (m_fd < 0) {
            return;
        }
        // New files get read and write permission as the umask allows; an
        // existing file keeps its own permissions.
        struct stat existing {};
        mode_t mode = 0;
        if (::stat(target.c_str(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::fchmod(m_fd, mode);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (m_created && !m_renamed) {
            ::unlink(m_name.c_str());
        }
    }

    int Descriptor() const { return m_fd; }
    bool Opened() const { return m_fd >= 0; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }
    bool RenameTo(const std::string& target)
    {
        m_renamed = ::rename(m_name.c_str(), target.c_str()) == 0;
        return m_renamed;
    }

private:
    std::string m_name;
    int m_fd = -1;
    bool m_created = false;
    bool m_renamed = false;
};

// A regular file open for reading, closed again at the end of its scope.
class FileForReading {
public:
    explicit FileForReading(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat info {};
        if (m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode)) {
            m_size = static_cast<size_t>(info.st_size);
            m_usable = true;
        }
    }
    FileForReading(const FileForReading&) = delete;
    FileForReading& operator=(const FileForReading&) = delete;
    ~FileForReading()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    bool Usable() const { return m_usable; }
    int Descriptor() const { return m_fd; }
    size_t Size() const { return m_size; }

private:
    int m_fd;
    size_t m_size = 0;
    bool m_usable = false;
};

constexpr LONG kFileOpenCode = 1;
constexpr LONG kFileSaveCode = 2;
constexpr LONG kResultNotHandled = 0x10000000;

} // namespace

// The add-in route for an extension the document does not read itself.
static BOOL RunFileTypeHandler(CNuvexDoc& document, const char* path, LONG code)
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

BOOL CNuvexDoc::OnSaveDocument(const char* path)
{
    if (path == nullptr) {
        return FALSE;
    }
    if (PathExtension(path) != kDocumentExtension) {
        return RunFileTypeHandler(*this, path, kFileSaveCode);
    }
    const std::string target = FileSystemPath(path);
    TemporaryFile file(target);
    if (!file.Opened()) {
        m_lastFileError = DocumentFileError::CannotOpen;
        return FALSE;
    }

    m_saving = TRUE;
    m_fileIndexTable.assign(m_objects.size(), -1);
    m_sizeTable.assign(m_objects.size(), -1);
    m_fileIndexByObject.clear();

    // First pass: which entries are written, under which file index.
    int32_t written = 0;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        ComPtr<IObjectBase> object;
        IUnknown* held = nullptr;
        if (FAILED(m_objects[i].holder->GetObject(&held)) || held == nullptr ||
            FAILED(held->QueryInterface(IID_IObjectBase, object.ReceiveVoid())) || !object) {
            continue;
        }
        uint32_t size = 0;
        if (FAILED(object->GetSize(&size)) || size < 1 || size > INT32_MAX) {
            continue;
        }
        m_sizeTable[i] = static_cast<int32_t>(size);
        m_fileIndexTable[i] = written++;
    }

    FileSink sink(file.Descriptor());
    sink.WriteI32(written);
    bool objectsSaved = true;
    struct ChildToWrite {
        ICollectionBase* child;
        CLSID factory;
        IID iid;
        uint32_t size;
    };
    std::vector<ChildToWrite> children;
    IHostDocument* host = GetHostDocument();
    for (size_t i = 0; i < m_objects.size() && sink.Ok(); ++i) {
        if (m_sizeTable[i] < 1) {
            continue;
        }
        IEntityRecord* holder = m_objects[i].holder.Get();
        IUnknown* held = nullptr;
        ComPtr<IObjectBase> object;
        holder->GetObject(&held);
        held->QueryInterface(IID_IObjectBase, object.ReceiveVoid());
        const auto size = static_cast<uint32_t>(m_sizeTable[i]);
        CLSID factory{};
        IID iid{};
        // The record goes straight into the output buffer: the object
        // saves its data behind the place kept for the header, which is
        // filled once the class ids are known.
        BYTE* place = sink.Claim(kRecordHeaderSize + size);
        std::memset(place + kRecordHeaderSize, 0, size);
        if (FAILED(object->Save(place + kRecordHeaderSize)) || FAILED(object->GetClassIds(&factory, &iid))) {
            objectsSaved = false;
        }
        PutGuid(place, factory);
        PutGuid(place + 16, iid);
        PutU32(place + 32, size);
        sink.Commit(kRecordHeaderSize + size);

        children.clear();
        int32_t childCount = 0;
        if (FAILED(holder->GetChildCount(&childCount))) {
            childCount = 0;
        }
        for (int32_t j = 0; j < childCount; ++j) {
            ICollectionBase* child = nullptr;
            if (FAILED(holder->GetChild(j, &child)) || child == nullptr) {
                continue;
            }
            ChildToWrite entry{child, {}, {}, 0};
            if (FAILED(child->GetClassIds(&entry.factory, &entry.iid)) ||
                FAILED(child->GetSize(host, &entry.size)) || entry.size > INT32_MAX) {
                continue;
            }
            children.push_back(entry);
        }
        sink.WriteI32(static_cast<int32_t>(children.size()));
        for (const ChildToWrite& entry : children) {
            sink.WriteGuid(entry.factory);
            sink.WriteGuid(entry.iid);
            sink.WriteU32(entry.size);
            BYTE* childPlace = sink.Claim(entry.size);
            std::memset(childPlace, 0, entry.size);
            // A group reference whose model is not written stores
            // (-1, -1) and says so; the file stays consistent and the
            // reference loads as no group, so the save goes on.
            entry.child->Save(host, childPlace);
            sink.Commit(entry.size);
        }
    }
    sink.Flush();

    m_saving = FALSE;
    m_fileIndexTable.clear();
    m_sizeTable.clear();
    m_fileIndexByObject.clear();

    if (!objectsSaved) {
        m_lastFileError = DocumentFileError::ObjectSaveFailed;
        return FALSE;
    }
    if (!sink.Ok() || !file.Close()) {
        m_lastFileError = DocumentFileError::WriteFailed;
        return FALSE;
    }
    if (!file.RenameTo(target)) {
        m_lastFileError = DocumentFileError::ReplaceFailed;
        return FALSE;
    }
    m_lastFileError = DocumentFileError::None;
    m_bModified = FALSE;
    m_hasFile = TRUE;
    return TRUE;
}

BOOL CNuvexDoc::OnOpenDocument(const char* path)
{
    if (path == nullptr) {
        return FALSE;
    }
    if (PathExtension(path) != kDocumentExtension) {
        return RunFileTypeHandler(*this, path, kFileOpenCode);
    }
    FileForReading file(FileSystemPath(path));
    if (!file.Usable()) {
        m_lastFileError = DocumentFileError::CannotOpen;
        return FALSE;
    }
    DocumentByteReader reader(file.Descriptor(), file.Size());
    if (!ReadDocument(reader)) {
        return FALSE;
    }
    m_hasFile = TRUE;
    m_bModified = FALSE;
    return TRUE;
}

BOOL CNuvexDoc::LoadDocumentBytes(const BYTE* data, size_t size)
{
    DocumentByteReader reader(data, size);
    return ReadDocument(reader);
}

namespace {

// A new object of the class that factory makes for iid, as the interface
// wanted; null when there is no factory or it makes nothing.
template <class Interface>
ComPtr<Interface> CreateFromFile(IClassFactory* factory, const IID& iid, const IID& wanted)
{
    ComPtr<Interface> result;
    if (factory == nullptr) {
        return result;
    }
    ComPtr<IUnknown> made;
    if (FAILED(factory->CreateInstance(nullptr, iid, made.ReceiveVoid())) || !made) {
        return result;
    }
    if (FAILED(made->QueryInterface(wanted, result.ReceiveVoid()))) {
        result.Reset();
    }
    return result;
}

// The class factories of one read, looked up once per class id: a file
// names few classes, most of them many times.
class FactoryCache {
public:
    explicit FactoryCache(IDocumentServices& services) : m_services(services) {}

    IClassFactory* Find(const CLSID& clsid)
    {
        for (size_t i = 0; i < m_count; ++i) {
            if (m_entries[i].clsid == clsid) {
                return m_entries[i].factory;
            }
        }
        IClassFactory* factory = m_services.GetClassFactoryForClsid(clsid);
        // A file of many classes asks the services for the rest each time.
        if (m_count < kEntries) {
            m_entries[m_count++] = {clsid, factory};
        }
        return factory;
    }

private:
    static constexpr size_t kEntries = 16;
    struct Entry {
        CLSID clsid;
        IClassFactory* factory;
    };
    IDocumentServices& m_services;
    Entry m_entries[kEntries] = {};
    size_t m_count = 0;
};

} // namespace

BOOL CNuvexDoc::ReadDocument(DocumentByteReader& reader)
{
    // First pass: the framing of every record, before anything changes.
    ParsedDocumentFile parsed;
    DocumentFileCheck check = CheckDocumentFile(reader, parsed);
    if (check.error == DocumentFileError::None && !reader.Rewind()) {
        check = {reader.Failure(), 0};
    }
    if (check.error != DocumentFileError::None) {
        m_lastFileError = check.error;
        return FALSE;
    }
    // Second pass: the objects. It meets a fault only when the file
    // changed between the passes; what it loaded is dropped again.
    ResetDocument();
    check = LoadRecords(reader, parsed.objectCount);
    if (check.error != DocumentFileError::None) {
        ResetDocument();
        m_lastFileError = check.error;
        return FALSE;
    }
    m_lastFileError = DocumentFileError::None;
    return TRUE;
}

DocumentFileCheck CNuvexDoc::LoadRecords(DocumentByteReader& reader, size_t objectCount)
{
    IHostDocument* host = GetHostDocument();
    size_t count = 0;
    if (reader.Remaining() > 0) {
        const DocumentFileCheck check = ReadObjectCount(reader, count);
        if (check.error != DocumentFileError::None) {
            return WithReaderFailure(reader, check);
        }
    }
    if (count != objectCount) {
        return {DocumentFileError::ReadFailed, 0};
    }
    m_objects.reserve(objectCount);
    m_reading = TRUE;
    m_recordsRead = 0;
    m_skippedFileIndexes.clear();
    FactoryCache factories(m_services);
    CHolderArena holders;
    DocumentFileCheck check;
    for (size_t k = 0; k < objectCount && check.error == DocumentFileError::None; ++k) {
        m_recordsRead = k;
        const size_t start = reader.Position();
        CLSID factoryId{};
        IID iid{};
        uint32_t size = 0;
        const BYTE* data = nullptr;
        check = ReadRecordHeader(reader, factoryId, iid, size);
        IClassFactory* factory = nullptr;
        if (check.error == DocumentFileError::None) {
            factory = factories.Find(factoryId);
            check = ReadRecordData(reader, start, size, factory != nullptr, data);
        }
        if (check.error != DocumentFileError::None) {
            break;
        }
        ComPtr<IObjectBase> object = CreateFromFile<IObjectBase>(factory, iid, IID_IObjectBase);
        if (object) {
            object->SetHostDocument(host);
            object->Load(size, data);
        }
        size_t childCount = 0;
        check = ReadChildCount(reader, childCount);
        if (!object) {
            // Unknown class: the record and its children are left out; the
            // file indexes of later records stay as they are.
            m_skippedFileIndexes.push_back(static_cast<int32_t>(k));
            for (size_t j = 0; j < childCount && check.error == DocumentFileError::None; ++j) {
                check = SkipRecord(reader);
            }
            continue;
        }
        ComPtr<IEntityRecord> holder = MakeLoadedHolder(holders);
        holder->SetObject(object.Get());
        for (size_t j = 0; j < childCount && check.error == DocumentFileError::None; ++j) {
            const size_t childStart = reader.Position();
            check = ReadRecordHeader(reader, factoryId, iid, size);
            if (check.error == DocumentFileError::None) {
                factory = factories.Find(factoryId);
                check = ReadRecordData(reader, childStart, size, factory != nullptr, data);
            }
            if (check.error != DocumentFileError::None) {
                break;
            }
            ComPtr<ICollectionBase> child = CreateFromFile<ICollectionBase>(factory, iid, IID_ICollectionBase);
            if (!child) {
                continue;
            }
            child->Load(host, size, data);
            holder->AddChild(child.Get());
        }
        m_objects.push_back(ObjectListEntry{0, static_cast<int32_t>(k), std::move(holder)});
    }
    if (check.error != DocumentFileError::None) {
        m_reading = FALSE;
        m_skippedFileIndexes.clear();
        return WithReaderFailure(reader, check);
    }

    m_recordsRead = objectCount;

    // Every record is in: objects may now link to each other. References
    // name their target by file index, which ObjectOfFileIndex answers.
    for (ObjectListEntry& entry : m_objects) {
        IEntityRecord* holder = entry.holder.Get();
        IUnknown* held = nullptr;
        ComPtr<IObjectBase> object;
        if (SUCCEEDED(holder->GetObject(&held)) && held != nullptr &&
            SUCCEEDED(held->QueryInterface(IID_IObjectBase, object.ReceiveVoid()))) {
            object->SetHostDocument(nullptr);
        }
        int32_t childCount = 0;
        holder->GetChildCount(&childCount);
        for (int32_t j = 0; j < childCount;) {
            ICollectionBase* child = nullptr;
            if (FAILED(holder->GetChild(j, &child)) || child == nullptr) {
                ++j;
                continue;
            }
            IUnknown* replacement = child;
            child->Resolve(host, &replacement);
            if (replacement == child) {
                ++j;
                continue;
            }
            ComPtr<ICollectionBase> resolved;
            if (replacement != nullptr) {
                replacement->QueryInterface(IID_ICollectionBase, resolved.ReceiveVoid());
            }
            holder->SetChild(j, resolved.Get());
            if (resolved) {
                ++j;
            } else {
                // The reference named nothing and is gone from the list.
                --childCount;
            }
        }
    }
    m_reading = FALSE;
    m_skippedFileIndexes.clear();
    return {};
}
