// CFile and CArchive: a document's stored form written to and read from a
// file. CArchive writes numbers little-endian, field by field, and texts
// with a length prefix (one byte; 0xFF then two bytes; 0xFFFF then four
// bytes); LONG is int and DWORD is UINT here. Reading past the end or a length that does not fit in the bytes
// left throws CArchiveException, so a truncated file never reads garbage.
#pragma once

#include <cstdio>
#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/framework/object.h"

class CDocument;

class NUVEX_PLATFORM_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum Cause : int { none = 0, genericException, fileNotFound, badPath, accessDenied, endOfFile, diskFull };
    CFileException() = default;
    CFileException(int cause, const char* fileName) : m_cause(cause), m_strFileName(fileName) {}
    int m_cause = none;
    CString m_strFileName;

protected:
    const char* Message() const override;
};

class NUVEX_PLATFORM_API CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum Cause : int { none = 0, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    CArchiveException() = default;
    explicit CArchiveException(int cause) : m_cause(cause) {}
    int m_cause = none;

protected:
    const char* Message() const override;
};

// A binary file on disk ("/" or "\" separators).
class NUVEX_PLATFORM_API CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };
    CFile() = default;
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE (and the cause in `error`, when given) when the file cannot be
    // opened as asked.
    virtual BOOL Open(LPCSTR fileName, UINT flags, CFileException* error = nullptr);
    virtual void Close();
    void Abort();
    // The bytes read; 0 at the end.
    virtual UINT Read(void* buffer, UINT count);
    // Throws CFileException when the bytes cannot all be written.
    virtual void Write(const void* buffer, UINT count);
    virtual void Flush();
    ULONGLONG GetLength() const;
    ULONGLONG GetPosition() const;
    ULONGLONG Seek(LONGLONG offset, UINT from);
    CString GetFilePath() const { return m_strFileName; }
    BOOL IsOpen() const { return m_file != nullptr ? TRUE : FALSE; }

    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

protected:
    FILE* m_file = nullptr;
    CString m_strFileName;
};

class NUVEX_PLATFORM_API CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };
    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_mode == load ? TRUE : FALSE; }
    BOOL IsStoring() const { return m_mode == store ? TRUE : FALSE; }
    CFile* GetFile() const { return m_pFile; }
    // Writes what is buffered; loading archives have nothing to write.
    void Flush();
    void Close();
    void Abort() { m_pFile = nullptr; }

    // Raw bytes: Read answers how many it could read (fewer at the end).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    CArchive& operator<<(BYTE value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(LONG value);
    CArchive& operator<<(DWORD value);
    CArchive& operator<<(short value) { return *this << static_cast<WORD>(value); }
    CArchive& operator<<(char value) { return *this << static_cast<BYTE>(value); }
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(LONGLONG value);
    CArchive& operator<<(ULONGLONG value);
    CArchive& operator<<(const CString& value);
    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(LONGLONG& value);
    CArchive& operator>>(ULONGLONG& value);
    CArchive& operator>>(CString& value);
    void WriteString(LPCSTR text);
    // Reads one line (without its end) into `text`; FALSE at the end.
    BOOL ReadString(CString& text);

    CDocument* m_pDocument = nullptr;

private:
    // Reads exactly `count` bytes or throws CArchiveException(endOfFile).
    void ReadExactly(void* buffer, UINT count);
    // Loading: the bytes left in the file, for checking a length first.
    ULONGLONG BytesLeft() const;

    CFile* m_pFile;
    UINT m_mode;
    std::vector<BYTE> m_pending;  // storing: bytes not yet written
};
