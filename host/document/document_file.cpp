// Reading and writing the "nvx" document file, and the route that hands
// other extensions to an add-in.
//
// Saving writes a temporary file in the same folder and renames it over
// the old one only when every write succeeded, so a failed save leaves the
// previous file as it was. Reading takes the whole file, checks the framing
// of every record against the bytes that remain, and only then resets the
// document and creates the objects: a damaged file loads nothing.
#include "host/document/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "host/document/host_document.h"
#include "host/document/nuvex_doc.h"
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

// A read position over the file's bytes; every read is bounded by what
// remains.
class FileCursor {
public:
    FileCursor(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    size_t Position() const { return m_position; }
    size_t Remaining() const { return m_size - m_position; }
    const BYTE* Here() const { return m_data + m_position; }
    bool Skip(size_t count)
    {
        if (count > Remaining()) {
            return false;
        }
        m_position += count;
        return true;
    }
    bool ReadU32(uint32_t& value)
    {
        if (Remaining() < 4) {
            return false;
        }
        const BYTE* p = Here();
        value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
        m_position += 4;
        return true;
    }
    bool ReadI32(int32_t& value)
    {
        uint32_t raw = 0;
        if (!ReadU32(raw)) {
            return false;
        }
        value = static_cast<int32_t>(raw);
        return true;
    }
    bool ReadGuid(GUID& value)
    {
        if (Remaining() < 16) {
            return false;
        }
        const BYTE* p = Here();
        value.Data1 = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                      (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
        value.Data2 = static_cast<uint16_t>(p[4] | (p[5] << 8));
        value.Data3 = static_cast<uint16_t>(p[6] | (p[7] << 8));
        std::memcpy(value.Data4, p + 8, 8);
        m_position += 16;
        return true;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_position = 0;
};

bool ReadHeader(FileCursor& reader, CLSID& factory, IID& iid, int32_t& size)
{
    return reader.ReadGuid(factory) && reader.ReadGuid(iid) && reader.ReadI32(size);
}

} // namespace

namespace {

// One record's header and data; children are read by the caller.
DocumentFileCheck ReadRecordFraming(FileCursor& reader, CLSID& factory, IID& iid, uint32_t& size,
                                    const BYTE*& data)
{
    const size_t start = reader.Position();
    int32_t dataSize = 0;
    if (!ReadHeader(reader, factory, iid, dataSize)) {
        return {DocumentFileError::Truncated, start};
    }
    if (dataSize < 0) {
        return {DocumentFileError::ImpossibleCount, reader.Position() - 4};
    }
    size = static_cast<uint32_t>(dataSize);
    data = reader.Here();
    if (!reader.Skip(size)) {
        return {DocumentFileError::Truncated, start};
    }
    return {};
}

DocumentFileCheck ReadObjectFraming(FileCursor& reader, FileObjectRecord& record)
{
    DocumentFileCheck check = ReadRecordFraming(reader, record.factory, record.iid, record.size, record.data);
    if (check.error != DocumentFileError::None) {
        return check;
    }
    int32_t childCount = 0;
    if (!reader.ReadI32(childCount)) {
        return {DocumentFileError::Truncated, reader.Position()};
    }
    if (childCount < 0 || static_cast<size_t>(childCount) > reader.Remaining() / kRecordHeaderSize) {
        return {DocumentFileError::ImpossibleCount, reader.Position() - 4};
    }
    record.childCount = static_cast<size_t>(childCount);
    return {};
}

} // namespace

DocumentFileCheck ParseDocumentFile(const BYTE* data, size_t size, ParsedDocumentFile& parsed)
{
    parsed = ParsedDocumentFile{};
    if (size == 0) {
        return {};
    }
    FileCursor reader(data, size);
    int32_t count = 0;
    if (!reader.ReadI32(count)) {
        return {DocumentFileError::Truncated, 0};
    }
    if (count < 0 || static_cast<size_t>(count) > reader.Remaining() / kMinimumObjectRecordSize) {
        return {DocumentFileError::ImpossibleCount, 0};
    }
    const BYTE* records = reader.Here();
    for (int32_t i = 0; i < count; ++i) {
        FileObjectRecord record;
        DocumentFileCheck check = ReadObjectFraming(reader, record);
        for (size_t j = 0; check.error == DocumentFileError::None && j < record.childCount; ++j) {
            FileChildRecord child;
            check = ReadRecordFraming(reader, child.factory, child.iid, child.size, child.data);
        }
        if (check.error != DocumentFileError::None) {
            return check;
        }
    }
    parsed.records = records;
    parsed.size = static_cast<size_t>(reader.Here() - records);
    parsed.objectCount = static_cast<size_t>(count);
    return {};
}

DocumentRecordReader::DocumentRecordReader(const ParsedDocumentFile& parsed)
    : m_data(parsed.records), m_size(parsed.size), m_objectsLeft(parsed.objectCount)
{
}

bool DocumentRecordReader::NextObject(FileObjectRecord& record)
{
    if (m_objectsLeft == 0) {
        return false;
    }
    --m_objectsLeft;
    FileCursor reader(m_data + m_position, m_size - m_position);
    // The framing was checked when the file was parsed.
    (void)ReadObjectFraming(reader, record);
    m_position += reader.Position();
    return true;
}

void DocumentRecordReader::NextChild(FileChildRecord& child)
{
    FileCursor reader(m_data + m_position, m_size - m_position);
    (void)ReadRecordFraming(reader, child.factory, child.iid, child.size, child.data);
    m_position += reader.Position();
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

// A file's bytes in memory. The buffer is not cleared before the read
// fills it: a document of a million objects is tens of megabytes.
struct FileBytes {
    std::unique_ptr<BYTE[]> data;
    size_t size = 0;
};

// The whole file in memory; empty with an error when it cannot be read.
DocumentFileError ReadWholeFile(const std::string& path, FileBytes& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return DocumentFileError::CannotOpen;
    }
    struct stat info {};
    DocumentFileError error = DocumentFileError::None;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = DocumentFileError::CannotOpen;
    } else {
        const auto capacity = static_cast<size_t>(info.st_size);
        bytes.data.reset(new (std::nothrow) BYTE[capacity == 0 ? 1 : capacity]);
        if (!bytes.data) {
            error = DocumentFileError::OutOfMemory;
        }
        size_t done = 0;
        while (error == DocumentFileError::None && done < capacity) {
            const ssize_t got = ::read(fd, bytes.data.get() + done, capacity - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                error = DocumentFileError::ReadFailed;
            } else if (got == 0) {
                // The file shrank while it was read: take what is there.
                break;
            } else {
                done += static_cast<size_t>(got);
            }
        }
        bytes.size = done;
    }
    ::close(fd);
    return error;
}

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
        std::memset(place, 0, kRecordHeaderSize + size);
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
    FileBytes bytes;
    DocumentFileError error = ReadWholeFile(FileSystemPath(path), bytes);
    ParsedDocumentFile parsed;
    if (error == DocumentFileError::None) {
        error = ParseDocumentFile(bytes.data.get(), bytes.size, parsed).error;
    }
    if (error != DocumentFileError::None) {
        m_lastFileError = error;
        return FALSE;
    }
    LoadParsedFile(parsed);
    m_lastFileError = DocumentFileError::None;
    m_hasFile = TRUE;
    m_bModified = FALSE;
    return TRUE;
}

BOOL CNuvexDoc::LoadDocumentBytes(const BYTE* data, size_t size)
{
    ParsedDocumentFile parsed;
    const DocumentFileCheck check = ParseDocumentFile(data, size, parsed);
    m_lastFileError = check.error;
    if (check.error != DocumentFileError::None) {
        return FALSE;
    }
    LoadParsedFile(parsed);
    return TRUE;
}

namespace {

// A new object of the class that factory makes for iid, as IUnknown; null
// when there is no factory or it makes nothing.
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

} // namespace

void CNuvexDoc::LoadParsedFile(const ParsedDocumentFile& parsed)
{
    ResetDocument();
    IHostDocument* host = GetHostDocument();
    m_objectByFileIndex.assign(parsed.objectCount, nullptr);
    m_objects.reserve(parsed.objectCount);
    DocumentRecordReader reader(parsed);
    FileObjectRecord record;
    for (size_t k = 0; reader.NextObject(record); ++k) {
        ComPtr<IObjectBase> object = CreateFromFile<IObjectBase>(
            m_services.GetClassFactoryForClsid(record.factory), record.iid, IID_IObjectBase);
        if (!object) {
            // Unknown class: the record and its children are left out; the
            // file indexes of later records stay as they are.
            FileChildRecord skipped;
            for (size_t j = 0; j < record.childCount; ++j) {
                reader.NextChild(skipped);
            }
            continue;
        }
        object->SetHostDocument(host);
        object->Load(record.size, record.data);
        auto holder = ComPtr<IEntityRecord>::Share(new CEntityRecord());
        holder->SetObject(object.Get());
        for (size_t j = 0; j < record.childCount; ++j) {
            FileChildRecord childRecord;
            reader.NextChild(childRecord);
            ComPtr<ICollectionBase> child = CreateFromFile<ICollectionBase>(
                m_services.GetClassFactoryForClsid(childRecord.factory), childRecord.iid, IID_ICollectionBase);
            if (!child) {
                continue;
            }
            child->Load(host, childRecord.size, childRecord.data);
            holder->AddChild(child.Get());
        }
        m_objectByFileIndex[k] = object.Get();
        m_objects.push_back(ObjectListEntry{0, std::move(holder)});
    }

    // Every record is in: objects may now link to each other. References
    // name their target by file index, which the table above answers.
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
    m_objectByFileIndex.clear();
}
