// CString: the class library's 8-bit text string.
#include "platform/framework/cstring.h"

#include <locale.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/framework/exception.h"
#include "platform/kernel/resource.h"

namespace {

constexpr const char* kWhiteSpace = " \t\r\n\v\f";

char AsciiUpper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }
char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// The text of a C string; null and resource ids (never read) give nothing.
std::string_view View(const char* text)
{
    return text != nullptr && !IS_INTRESOURCE(text) ? std::string_view(text) : std::string_view();
}

size_t Clamp(int value, size_t limit)
{
    return value <= 0 ? 0 : std::min(static_cast<size_t>(value), limit);
}

// Switches this thread to the "C" locale for as long as it lives, so that
// printf-style formatting writes a decimal point whatever the user's locale.
class CLocaleScope {
public:
    CLocaleScope() : m_cLocale(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr)))
    {
        if (m_cLocale != static_cast<locale_t>(nullptr)) {
            m_previous = uselocale(m_cLocale);
        }
    }
    ~CLocaleScope()
    {
        if (m_cLocale != static_cast<locale_t>(nullptr)) {
            uselocale(m_previous);
            freelocale(m_cLocale);
        }
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_cLocale;
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

std::string FormatText(const char* format, va_list args)
{
    if (format == nullptr) {
        return {};
    }
    CLocaleScope cLocale;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) {
        return {};
    }
    if (static_cast<size_t>(length) < sizeof small) {
        return std::string(small, static_cast<size_t>(length));
    }
    std::vector<char> large(static_cast<size_t>(length) + 1);
    std::vsnprintf(large.data(), large.size(), format, args);
    return std::string(large.data(), static_cast<size_t>(length));
}

} // namespace

CString::CString(const char* text)
{
    *this = text;
}

CString::CString(const char* text, int length)
{
    if (text != nullptr && length > 0) {
        m_text.assign(text, static_cast<size_t>(length));
    }
}

CString::CString(char ch, int repeat) : m_text(static_cast<size_t>(std::max(repeat, 0)), ch) {}

CString& CString::operator=(const char* text)
{
    // A resource id in the place of a text (MAKEINTRESOURCE) names a string
    // of the string table; it is never read as a text address.
    if (text != nullptr && IS_INTRESOURCE(text)) {
        m_text.clear();
        LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(text)));
        return *this;
    }
    m_text = View(text);
    return *this;
}

CString& CString::operator=(char ch)
{
    m_text.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    m_text += View(text);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

char CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength()) {
        AfxThrowInvalidArgException();
    }
    return m_text[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char ch)
{
    if (index < 0 || index >= GetLength()) {
        AfxThrowInvalidArgException();
    }
    m_text[static_cast<size_t>(index)] = ch;
}

int CString::Compare(const char* text) const
{
    const int result = m_text.compare(View(text));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* text) const
{
    const std::string_view other = View(text);
    const size_t common = std::min(m_text.size(), other.size());
    for (size_t i = 0; i < common; ++i) {
        const auto a = static_cast<unsigned char>(AsciiLower(m_text[i]));
        const auto b = static_cast<unsigned char>(AsciiLower(other[i]));
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (m_text.size() == other.size()) {
        return 0;
    }
    return m_text.size() < other.size() ? -1 : 1;
}

int CString::Find(char ch, int start) const
{
    if (start >= GetLength()) {
        return -1;
    }
    const size_t found = m_text.find(ch, Clamp(start, m_text.size()));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::Find(const char* text, int start) const
{
    if (start > GetLength()) {
        return -1;
    }
    const size_t found = m_text.find(View(text), Clamp(start, m_text.size()));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::ReverseFind(char ch) const
{
    const size_t found = m_text.rfind(ch);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::FindOneOf(const char* chars) const
{
    const std::string_view set = View(chars);
    if (set.empty()) {
        return -1;
    }
    const size_t found = m_text.find_first_of(set);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

CString CString::Left(int count) const { return CString(m_text.substr(0, Clamp(count, m_text.size()))); }

CString CString::Mid(int first) const { return CString(m_text.substr(Clamp(first, m_text.size()))); }

CString CString::Mid(int first, int count) const
{
    const size_t begin = Clamp(first, m_text.size());
    return CString(m_text.substr(begin, Clamp(count, m_text.size() - begin)));
}

CString CString::Right(int count) const
{
    const size_t length = Clamp(count, m_text.size());
    return CString(m_text.substr(m_text.size() - length));
}

CString CString::SpanIncluding(const char* chars) const
{
    const size_t end = m_text.find_first_not_of(View(chars));
    return CString(m_text.substr(0, end));
}

CString CString::SpanExcluding(const char* chars) const
{
    const std::string_view set = View(chars);
    const size_t end = set.empty() ? std::string::npos : m_text.find_first_of(set);
    return CString(m_text.substr(0, end));
}

CString& CString::MakeUpper()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiUpper);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), AsciiLower);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (char& ch : m_text) {
        if (ch == oldCh) {
            ch = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    const std::string_view from = View(oldText);
    const std::string_view to = View(newText);
    if (from.empty()) {
        return 0;
    }
    std::string result;
    int count = 0;
    size_t pos = 0;
    for (size_t found = m_text.find(from); found != std::string::npos; found = m_text.find(from, pos)) {
        result.append(m_text, pos, found - pos);
        result.append(to);
        pos = found + from.size();
        ++count;
    }
    result.append(m_text, pos, std::string::npos);
    m_text = std::move(result);
    return count;
}

int CString::Remove(char ch)
{
    const size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char ch)
{
    m_text.insert(Clamp(index, m_text.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    m_text.insert(Clamp(index, m_text.size()), View(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && count > 0 && index < GetLength()) {
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const char* chars) { return TrimRight(chars).TrimLeft(chars); }
CString& CString::TrimLeft() { return TrimLeft(kWhiteSpace); }
CString& CString::TrimRight() { return TrimRight(kWhiteSpace); }

CString& CString::TrimLeft(char ch)
{
    const char set[2] = {ch, '\0'};
    return ch == '\0' ? *this : TrimLeft(set);
}

CString& CString::TrimRight(char ch)
{
    const char set[2] = {ch, '\0'};
    return ch == '\0' ? *this : TrimRight(set);
}

CString& CString::TrimLeft(const char* chars)
{
    const std::string_view set = View(chars);
    if (!set.empty()) {
        m_text.erase(0, std::min(m_text.find_first_not_of(set), m_text.size()));
    }
    return *this;
}

CString& CString::TrimRight(const char* chars)
{
    const std::string_view set = View(chars);
    if (!set.empty()) {
        const size_t last = m_text.find_last_not_of(set);
        m_text.erase(last == std::string::npos ? 0 : last + 1);
    }
    return *this;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_text = FormatText(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) { m_text = FormatText(format, args); }

void CString::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_text += FormatText(format, args);
    va_end(args);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) {
        m_text.resize(static_cast<size_t>(minLength), '\0');
    }
    return m_text.data();
}

char* CString::GetBufferSetLength(int length)
{
    m_text.resize(static_cast<size_t>(std::max(length, 0)), '\0');
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        // The text ends at the first terminator written into the buffer, or
        // at the buffer's end when none was written.
        m_text.resize(std::min(std::strlen(m_text.c_str()), m_text.size()));
    } else {
        m_text.resize(std::min(static_cast<size_t>(newLength), m_text.size()));
    }
}

BOOL CString::LoadString(UINT id)
{
    // LoadStringA copies at most size - 1 characters; a result that fills
    // the buffer may have been cut, so the buffer grows until it does not.
    constexpr size_t kLongestString = size_t{1} << 20;
    std::vector<char> buffer(256);
    for (;;) {
        const int length = LoadStringA(nullptr, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) {
            return FALSE;
        }
        if (static_cast<size_t>(length) + 1 < buffer.size() || buffer.size() >= kLongestString) {
            m_text.assign(buffer.data(), static_cast<size_t>(length));
            return TRUE;
        }
        buffer.resize(buffer.size() * 2);
    }
}

CString operator+(const CString& a, const CString& b) { return CString(a.Str() + b.Str()); }
CString operator+(const CString& a, const char* b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(const char* a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(const CString& a, char b) { return CString(a.Str() + b); }
CString operator+(char a, const CString& b) { return CString(a + b.Str()); }
