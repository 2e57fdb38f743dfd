// CFile over the C library's streams and CArchive's byte forms.
#include "platform/framework/archive.h"

#include <cerrno>
#include <cstring>

#include "platform/kernel/files.h"
#include "platform/kernel/path.h"

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

const char* CFileException::Message() const
{
    switch (m_cause) {
    case fileNotFound:
        return "The file could not be found.";
    case badPath:
        return "The path is not valid.";
    case accessDenied:
        return "The file could not be accessed.";
    case endOfFile:
        return "The end of the file was reached.";
    case diskFull:
        return "The disk is full.";
    default:
        return "A file error occurred.";
    }
}

const char* CArchiveException::Message() const
{
    switch (m_cause) {
    case endOfFile:
        return "Unexpected file format.";
    case readOnly:
        return "The archive is for reading only.";
    case writeOnly:
        return "The archive is for writing only.";
    default:
        return "An archive error occurred.";
    }
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(LPCSTR fileName, UINT flags, CFileException* error)
{
    if (m_file != nullptr || fileName == nullptr) {
        return FALSE;
    }
    const char* mode = "rb";
    if ((flags & modeCreate) != 0) {
        mode = (flags & modeNoTruncate) != 0 ? "a+b" : ((flags & modeReadWrite) != 0 ? "w+b" : "wb");
    } else if ((flags & modeReadWrite) != 0) {
        mode = "r+b";
    } else if ((flags & modeWrite) != 0) {
        mode = "r+b";
    }
    const std::string path = NativePath(fileName);
    m_file = fopen(path.c_str(), mode);
    if (m_file == nullptr) {
        if (error != nullptr) {
            error->m_cause = errno == ENOENT ? CFileException::fileNotFound
                             : errno == EACCES ? CFileException::accessDenied
                                               : CFileException::genericException;
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_strFileName = fileName;
    return TRUE;
}

void CFile::Close()
{
    if (m_file != nullptr) {
        const bool failed = fclose(m_file) != 0;
        m_file = nullptr;
        if (failed) {
            throw CFileException(CFileException::diskFull, m_strFileName);
        }
    }
}

void CFile::Abort()
{
    if (m_file != nullptr) {
        fclose(m_file);
        m_file = nullptr;
    }
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_file == nullptr || count == 0) {
        return 0;
    }
    return static_cast<UINT>(fread(buffer, 1, count, m_file));
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_file == nullptr || (count != 0 && fwrite(buffer, 1, count, m_file) != count)) {
        throw CFileException(CFileException::diskFull, m_strFileName);
    }
}

void CFile::Flush()
{
    if (m_file != nullptr && fflush(m_file) != 0) {
        throw CFileException(CFileException::diskFull, m_strFileName);
    }
}

ULONGLONG CFile::GetLength() const
{
    if (m_file == nullptr) {
        return 0;
    }
    const long here = ftell(m_file);
    fseek(m_file, 0, SEEK_END);
    const long length = ftell(m_file);
    fseek(m_file, here, SEEK_SET);
    return length > 0 ? static_cast<ULONGLONG>(length) : 0;
}

ULONGLONG CFile::GetPosition() const
{
    const long here = m_file != nullptr ? ftell(m_file) : 0;
    return here > 0 ? static_cast<ULONGLONG>(here) : 0;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    if (m_file != nullptr) {
        fseek(m_file, static_cast<long>(offset), from == end ? SEEK_END : (from == current ? SEEK_CUR : SEEK_SET));
    }
    return GetPosition();
}

CArchive::CArchive(CFile* file, UINT mode, int, void*) : m_pFile(file), m_mode(mode & load) {}

CArchive::~CArchive()
{
    // A storing archive left without Close writes what it holds; errors are
    // swallowed here, as a destructor must not throw.
    try {
        Flush();
    } catch (const CException&) {
    }
}

void CArchive::Flush()
{
    if (m_mode == store && m_pFile != nullptr && !m_pending.empty()) {
        std::vector<BYTE> bytes;
        bytes.swap(m_pending);
        m_pFile->Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

UINT CArchive::Read(void* buffer, UINT count)
{
    if (m_mode != load) {
        throw CArchiveException(CArchiveException::writeOnly);
    }
    return m_pFile != nullptr ? m_pFile->Read(buffer, count) : 0;
}

void CArchive::Write(const void* buffer, UINT count)
{
    if (m_mode != store) {
        throw CArchiveException(CArchiveException::readOnly);
    }
    const auto* bytes = static_cast<const BYTE*>(buffer);
    m_pending.insert(m_pending.end(), bytes, bytes + count);
    if (m_pending.size() >= 4096) {
        Flush();
    }
}

void CArchive::ReadExactly(void* buffer, UINT count)
{
    if (Read(buffer, count) != count) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
}

ULONGLONG CArchive::BytesLeft() const
{
    if (m_pFile == nullptr) {
        return 0;
    }
    const ULONGLONG length = m_pFile->GetLength();
    const ULONGLONG position = m_pFile->GetPosition();
    return length > position ? length - position : 0;
}

namespace {

template <class T>
void PutLittleEndian(CArchive& archive, T value)
{
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = static_cast<BYTE>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
    }
    archive.Write(bytes, sizeof(T));
}

template <class T>
T FromLittleEndian(const BYTE* bytes)
{
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    return static_cast<T>(value);
}

} // namespace

CArchive& CArchive::operator<<(BYTE value)
{
    Write(&value, 1);
    return *this;
}
CArchive& CArchive::operator<<(WORD value)
{
    PutLittleEndian(*this, value);
    return *this;
}
CArchive& CArchive::operator<<(LONG value)
{
    PutLittleEndian(*this, static_cast<uint32_t>(value));
    return *this;
}
CArchive& CArchive::operator<<(DWORD value)
{
    PutLittleEndian(*this, value);
    return *this;
}
CArchive& CArchive::operator<<(float value)
{
    uint32_t bits = 0;
    memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(*this, bits);
    return *this;
}
CArchive& CArchive::operator<<(double value)
{
    uint64_t bits = 0;
    memcpy(&bits, &value, sizeof bits);
    PutLittleEndian(*this, bits);
    return *this;
}
CArchive& CArchive::operator<<(LONGLONG value)
{
    PutLittleEndian(*this, static_cast<uint64_t>(value));
    return *this;
}
CArchive& CArchive::operator<<(ULONGLONG value)
{
    PutLittleEndian(*this, value);
    return *this;
}

CArchive& CArchive::operator<<(const CString& value)
{
    const auto length = static_cast<DWORD>(value.GetLength());
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFF) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << length;
    }
    Write(value.GetString(), length);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& value)
{
    ReadExactly(&value, 1);
    return *this;
}

#define NUVEX_ARCHIVE_READ(Type, Stored)              \
    CArchive& CArchive::operator>>(Type& value)      \
    {                                                \
        BYTE bytes[sizeof(Stored)];                  \
        ReadExactly(bytes, sizeof bytes);            \
        value = static_cast<Type>(FromLittleEndian<Stored>(bytes)); \
        return *this;                                \
    }
NUVEX_ARCHIVE_READ(WORD, uint16_t)
NUVEX_ARCHIVE_READ(LONG, uint32_t)
NUVEX_ARCHIVE_READ(DWORD, uint32_t)
NUVEX_ARCHIVE_READ(short, uint16_t)
NUVEX_ARCHIVE_READ(LONGLONG, uint64_t)
NUVEX_ARCHIVE_READ(ULONGLONG, uint64_t)
#undef NUVEX_ARCHIVE_READ

CArchive& CArchive::operator>>(char& value)
{
    BYTE byte = 0;
    *this >> byte;
    value = static_cast<char>(byte);
    return *this;
}

CArchive& CArchive::operator>>(float& value)
{
    DWORD bits = 0;
    *this >> bits;
    memcpy(&value, &bits, sizeof value);
    return *this;
}

CArchive& CArchive::operator>>(double& value)
{
    ULONGLONG bits = 0;
    *this >> bits;
    memcpy(&value, &bits, sizeof value);
    return *this;
}

CArchive& CArchive::operator>>(CString& value)
{
    BYTE shortLength = 0;
    *this >> shortLength;
    DWORD length = shortLength;
    if (shortLength == 0xFF) {
        WORD wordLength = 0;
        *this >> wordLength;
        length = wordLength;
        if (wordLength == 0xFFFF) {
            *this >> length;
        }
    }
    // A length longer than what is left is a damaged file, not a request
    // to allocate that much.
    if (length > BytesLeft()) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
    std::string text(length, '\0');
    ReadExactly(text.data(), length);
    value = text;
    return *this;
}

void CArchive::WriteString(LPCSTR text)
{
    if (text != nullptr) {
        Write(text, static_cast<UINT>(strlen(text)));
    }
}

BOOL CArchive::ReadString(CString& text)
{
    std::string line;
    char ch = 0;
    bool any = false;
    while (Read(&ch, 1) == 1) {
        any = true;
        if (ch == '\n') {
            break;
        }
        line.push_back(ch);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    text = line;
    return any ? TRUE : FALSE;
}
