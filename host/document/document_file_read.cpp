// Reading the "nvx" document file: after the framing check of the whole
// file, the second pass creates each object and its children through the
// class factories the file names, leaves out records of unknown classes,
// and lets references resolve once every record is in.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/document/document_file_internal.h"
#include "host/document/host_document.h"
#include "host/document/nuvex_doc.h"
#include "host/document/pooled_entity_record.h"
#include "objectmodel/entity_record.h"

using namespace document_file;

namespace {

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

// One record as the second pass reads it: the class factory the file names
// for it, the interface, and its data (taken only when there is a factory).
struct LoadedRecord {
    IClassFactory* factory = nullptr;
    IID iid{};
    uint32_t size = 0;
    const BYTE* data = nullptr;
};

DocumentFileCheck ReadLoadedRecord(DocumentByteReader& reader, FactoryCache& factories, LoadedRecord& record)
{
    const size_t start = reader.Position();
    CLSID factoryId{};
    record = LoadedRecord{};
    DocumentFileCheck check = ReadRecordHeader(reader, factoryId, record.iid, record.size);
    if (check.error == DocumentFileError::None) {
        record.factory = factories.Find(factoryId);
        check = ReadRecordData(reader, start, record.size, record.factory != nullptr, record.data);
    }
    return check;
}

} // namespace

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
        LoadedRecord record;
        check = ReadLoadedRecord(reader, factories, record);
        if (check.error != DocumentFileError::None) {
            break;
        }
        ComPtr<IObjectBase> object = CreateFromFile<IObjectBase>(record.factory, record.iid, IID_IObjectBase);
        if (object) {
            object->SetHostDocument(host);
            object->Load(record.size, record.data);
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
            LoadedRecord childRecord;
            check = ReadLoadedRecord(reader, factories, childRecord);
            if (check.error != DocumentFileError::None) {
                break;
            }
            ComPtr<ICollectionBase> child =
                CreateFromFile<ICollectionBase>(childRecord.factory, childRecord.iid, IID_ICollectionBase);
            if (!child) {
                continue;
            }
            child->Load(host, childRecord.size, childRecord.data);
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
        if (const ComPtr<IObjectBase> object = ObjectBaseOf(holder)) {
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
