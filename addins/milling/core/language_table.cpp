// CLanguageTable: reading the language file and looking texts up.
#include "addins/milling/core/language_table.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/kernel/files.h"

namespace {

struct KeywordName {
    const char* word;
    LanguageKeyword keyword;
};

constexpr KeywordName kKeywords[] = {
    {"MENU", LanguageKeyword::Menu},         {"MENUITEM", LanguageKeyword::MenuItem},
    {"TOOLTIP", LanguageKeyword::Tooltip},   {"STATUSHELP", LanguageKeyword::StatusHelp},
    {"STATIC", LanguageKeyword::Static},     {"COMMAND", LanguageKeyword::Command},
    {"SHORTCOMMAND", LanguageKeyword::ShortCommand},
};

// A cursor over the file's text.
class TextCursor {
public:
    explicit TextCursor(const std::string& text) : m_text(text) {}
    bool AtEnd() const { return m_position >= m_text.size(); }

    // The next white-space separated word (cut at kMaxLanguageText); empty at
    // the end.
    std::string Word()
    {
        while (!AtEnd() && std::isspace(static_cast<unsigned char>(m_text[m_position])))
            ++m_position;
        std::string word;
        while (!AtEnd() && !std::isspace(static_cast<unsigned char>(m_text[m_position]))) {
            if (word.size() < kMaxLanguageText)
                word += m_text[m_position];
            ++m_position;
        }
        return word;
    }
    // A decimal integer after white space, as the C library reads one; the
    // position stays where it was when there is none.
    bool Integer(long& value)
    {
        size_t position = m_position;
        while (position < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[position])))
            ++position;
        size_t digits = position;
        if (digits < m_text.size() && (m_text[digits] == '-' || m_text[digits] == '+'))
            ++digits;
        size_t end = digits;
        while (end < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[end])) && end - digits < 18)
            ++end;
        if (end == digits)
            return false;
        value = std::strtol(m_text.substr(position, end - position).c_str(), nullptr, 10);
        m_position = end;
        return true;
    }
    // One separator character, then the text to the line end (cut at
    // kMaxLanguageText), and the line end. A carriage return before the
    // line end is not part of the text.
    std::string RestOfLine(bool skipSeparator)
    {
        if (skipSeparator && !AtEnd() && m_text[m_position] != '\n')
            ++m_position;
        std::string text;
        while (!AtEnd() && m_text[m_position] != '\n') {
            if (text.size() < kMaxLanguageText)
                text += m_text[m_position];
            ++m_position;
        }
        if (!AtEnd())
            ++m_position;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        return text;
    }

private:
    const std::string& m_text;
    size_t m_position = 0;
};

} // namespace

void CLanguageTable::SetLanguages(const std::string& chosen, const std::string& fallback)
{
    m_chosen = chosen;
    m_fallback = fallback;
}

bool CLanguageTable::Load(const std::string& path)
{
    FILE* file = OpenCFile(path.c_str(), "r");
    if (file == nullptr)
        return false;
    std::string text;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, read);
    std::fclose(file);
    Parse(text);
    return true;
}

void CLanguageTable::Parse(const std::string& text)
{
    TextCursor cursor(text);
    for (;;) {
        const std::string language = cursor.Word();
        if (language.empty())
            return;
        bool primary = false;
        if (language == m_chosen)
            primary = true;
        else if (language != m_fallback)
            continue;
        const std::string keyword = cursor.Word();
        if (keyword == "LNAME") {
            const std::string key = cursor.Word();
            const std::string value = cursor.RestOfLine(true);
            if (key.empty() || value.empty())
                continue;
            bool found = false;
            for (NamedEntry& entry : m_names) {
                if (entry.key == key) {
                    if (primary || entry.text.empty())
                        entry.text = value;
                    found = true;
                    break;
                }
            }
            if (!found)
                m_names.push_back({key, value});
            continue;
        }
        const KeywordName* known = nullptr;
        for (const KeywordName& name : kKeywords)
            if (keyword == name.word)
                known = &name;
        if (known == nullptr) {
            cursor.RestOfLine(false);
            continue;
        }
        long id = 0;
        if (!cursor.Integer(id))
            continue;
        const std::string value = cursor.RestOfLine(true);
        if (value.empty())
            continue;
        Merge(m_lists[static_cast<int>(known->keyword)], id, value, primary);
    }
}

void CLanguageTable::Merge(std::vector<Entry>& list, long id, const std::string& text, bool primary)
{
    for (Entry& entry : list) {
        if (entry.id == id) {
            if (primary || entry.text.empty())
                entry.text = text;
            return;
        }
    }
    list.push_back({id, text});
}

const char* CLanguageTable::Get(LanguageKeyword keyword, long id, const char* fallback)
{
    for (const Entry& entry : m_lists[static_cast<int>(keyword)])
        if (entry.id == id)
            return entry.text.c_str();
    m_scratch = fallback != nullptr ? fallback : "";
    return m_scratch.c_str();
}

std::string CLanguageTable::GetLNameText(const std::string& key, const std::string& fallback) const
{
    for (const NamedEntry& entry : m_names)
        if (entry.key == key)
            return entry.text;
    return fallback;
}

std::string AddinLanguageFilePath(const std::string& programFolder)
{
    return programFolder.empty() ? std::string("Language/strimo.txt") : programFolder + "/Language/strimo.txt";
}
