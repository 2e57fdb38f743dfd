// Writing the "nvx" document file. Saving writes a temporary file in the
// same folder and renames it over the old one only when every write
// succeeded, so a failed save leaves the previous file as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/document/document_file_internal.h"
#include "host/document/host_document.h"
#include "host/document/nuvex_doc.h"
#include "objectmodel/entity_record.h"

using namespace document_file;

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

} // namespace

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
        const ComPtr<IObjectBase> object = ObjectBaseOf(m_objects[i].holder.Get());
        if (!object) {
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
        const ComPtr<IObjectBase> object = ObjectBaseOf(holder);
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
