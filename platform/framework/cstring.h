// CString: the class library's 8-bit text string, a value type over
// std::string with the operations our code uses.
//
// Indexes and counts are int as in the class library. Positions outside the
// text are clamped where the operation has a natural meaning for them (Left,
// Mid, Right, Find's start); GetAt, SetAt and operator[] with an index
// outside 0 .. GetLength() - 1 throw CInvalidArgException, so that a bad
// index never reads or writes outside the text.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/base/api.h"
#include "platform/base/types.h"

class NUVEX_PLATFORM_API CString {
public:
    CString() = default;
    // A null text gives an empty string; a resource id in the place of the
    // text (MAKEINTRESOURCE(id)) gives string `id` of the string table, or
    // an empty string when there is none. The same holds for assignment.
    CString(const char* text);  // NOLINT: implicit, as text literals convert
    CString(const char* text, int length);
    CString(char ch, int repeat = 1);
    CString(const std::string& text) : m_text(text) {}  // NOLINT
    CString(std::string_view text) : m_text(text) {}    // NOLINT

    CString& operator=(const char* text);
    CString& operator=(char ch);
    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    // The text, terminated, valid until the string next changes.
    operator const char*() const { return m_text.c_str(); }  // NOLINT
    const char* GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty() ? TRUE : FALSE; }
    void Empty() { m_text.clear(); }

    // Throw CInvalidArgException for an index outside the text.
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);

    // Bytewise comparison: < 0, 0 or > 0. The no-case form folds ASCII
    // letters only, so the answer does not depend on the user's locale.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // Index of the first match at or after `start`, or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* chars) const;

    // Parts of the text; counts past the end are clamped, negative ones are 0.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* chars) const;
    CString SpanExcluding(const char* chars) const;

    // In-place changes; they return *this or a count as the class library's.
    // Case changes touch ASCII letters only.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(char oldCh, char newCh);
    // Replaces every non-overlapping occurrence; an empty `oldText` replaces
    // nothing. Returns the number of replacements.
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    // Inserts before `index` (clamped to 0 .. length); returns the new length.
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    // Deletes up to `count` characters at `index`; returns the new length.
    int Delete(int index, int count = 1);

    // Without arguments: white space (space, tab, CR, LF, VT, FF).
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(const char* chars);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* chars);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* chars);

    // printf-style formatting, always in the "C" numeric locale (a point as
    // decimal separator, no grouping) whatever the user's locale is.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // A writable buffer of at least `minLength` characters plus a
    // terminator, holding the current text. After writing, ReleaseBuffer sets
    // the length: to `newLength`, or with -1 to the text up to the first
    // terminator (at most the buffer's length). Changing the string in between
    // invalidates the buffer.
    char* GetBuffer(int minLength);
    char* GetBuffer() { return GetBuffer(0); }
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // Loads string resource `id` of the running program's modules; FALSE
    // (and the string unchanged) when there is none.
    BOOL LoadString(UINT id);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
    friend bool operator>(const CString& a, const CString& b) { return b < a; }
    friend bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
    friend bool operator<=(const CString& a, const CString& b) { return !(b < a); }
    friend bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
    friend bool operator>=(const CString& a, const CString& b) { return !(a < b); }
    friend bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }

private:
    std::string m_text;
};

NUVEX_PLATFORM_API CString operator+(const CString& a, const CString& b);
NUVEX_PLATFORM_API CString operator+(const CString& a, const char* b);
NUVEX_PLATFORM_API CString operator+(const char* a, const CString& b);
NUVEX_PLATFORM_API CString operator+(const CString& a, char b);
NUVEX_PLATFORM_API CString operator+(char a, const CString& b);

using LPCTSTR = const char*;
using LPTSTR = char*;
