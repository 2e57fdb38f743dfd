// The language table: reading a language file and looking texts up.
#include "host/shell/language_table.h"

#include <cstdio>
#include <limits>
#include <memory>
#include <optional>

#include "host/shell/text_words.h"
#include "platform/kernel/files.h"

namespace {

struct KeywordOfSection {
    const char* keyword;
    LanguageSection section;
};

constexpr KeywordOfSection kIdKeywords[] = {
    {"MENU", LanguageSection::Menu},
    {"MENUITEM", LanguageSection::MenuItem},
    {"TOOLTIP", LanguageSection::ToolTip},
    {"STATUSHELP", LanguageSection::StatusHelp},
    {"STATIC", LanguageSection::Static},
    {"COMMAND", LanguageSection::Command},
    {"SHORTCOMMAND", LanguageSection::ShortCommand},
};
constexpr std::string_view kLNameKeyword = "LNAME";
constexpr const char* kLanguageFolder = "Language\\";

// Reads a language file's text the way the entries are laid out: words
// between blanks, decimal numbers, single characters and the rest of a line.
class EntryReader {
public:
    explicit EntryReader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_position >= m_text.size(); }

    // The next word; nothing at the end of the text.
    std::optional<std::string_view> Word() { return NextWord(m_text, m_position); }

    // A decimal integer after blanks (line ends included), with an optional
    // sign. Nothing, and only the blanks consumed, when no digit follows;
    // nothing, with the digits consumed, when the number does not fit.
    std::optional<uint32_t> Integer()
    {
        SkipBlanks();
        size_t at = m_position;
        bool negative = false;
        if (at < m_text.size() && (m_text[at] == '+' || m_text[at] == '-')) {
            negative = m_text[at] == '-';
            ++at;
        }
        if (at >= m_text.size() || m_text[at] < '0' || m_text[at] > '9') {
            return std::nullopt;
        }
        int64_t value = 0;
        bool fits = true;
        while (at < m_text.size() && m_text[at] >= '0' && m_text[at] <= '9') {
            if (value <= std::numeric_limits<int32_t>::max()) {
                value = value * 10 + (m_text[at] - '0');
            }
            ++at;
        }
        m_position = at;
        if (negative) {
            value = -value;
        }
        if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) {
            fits = false;
        }
        if (!fits) {
            return std::nullopt;
        }
        return static_cast<uint32_t>(static_cast<int32_t>(value));
    }

    // The separator after an id or key and the text up to the line end;
    // the line end is consumed. A line that ends at once has no separator
    // and gives an empty text (the next line is never taken for the text).
    std::string SeparatedText()
    {
        if (AtEnd()) {
            return {};
        }
        if (m_text[m_position] == '\n') {
            ++m_position;
            return {};
        }
        ++m_position;
        return std::string(RestOfLine());
    }

    // The characters up to the line end; the line end is consumed.
    std::string_view RestOfLine()
    {
        const size_t start = m_position;
        while (!AtEnd() && m_text[m_position] != '\n') {
            ++m_position;
        }
        const std::string_view line = m_text.substr(start, m_position - start);
        if (!AtEnd()) {
            ++m_position;
        }
        return line;
    }

private:
    void SkipBlanks() { SkipWordSeparators(m_text, m_position); }

    std::string_view m_text;
    size_t m_position = 0;
};

const KeywordOfSection* IdKeyword(std::string_view word)
{
    for (const KeywordOfSection& row : kIdKeywords) {
        if (word == row.keyword) {
            return &row;
        }
    }
    return nullptr;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

BOOL CLanguageTable::Load(const char* fileName, BOOL inLanguageFolder)
{
    if (fileName == nullptr) {
        return FALSE;
    }
    const std::string path = inLanguageFolder ? std::string(kLanguageFolder) + fileName : std::string(fileName);
    std::unique_ptr<FILE, FileCloser> file(OpenCFile(path.c_str(), "r"));
    if (!file) {
        return FALSE;
    }
    std::string text;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, read);
    }
    Merge(text);
    return TRUE;
}

void CLanguageTable::Merge(std::string_view text)
{
    EntryReader reader(text);
    while (std::optional<std::string_view> language = reader.Word()) {
        Priority priority = Priority::Primary;
        if (*language == m_chosen) {
            priority = Priority::Primary;
        } else if (*language == m_default) {
            priority = Priority::Secondary;
        } else {
            // Another language's entry is passed over word by word.
            continue;
        }
        const std::optional<std::string_view> keyword = reader.Word();
        if (!keyword) {
            return;
        }
        if (const KeywordOfSection* row = IdKeyword(*keyword)) {
            const std::optional<uint32_t> id = reader.Integer();
            if (!id) {
                continue;
            }
            std::string entryText = reader.SeparatedText();
            if (!entryText.empty()) {
                MergeText(row->section, *id, std::move(entryText), priority);
            }
        } else if (*keyword == kLNameKeyword) {
            const std::optional<std::string_view> key = reader.Word();
            if (!key) {
                return;
            }
            std::string keyText(*key);
            std::string entryText = reader.SeparatedText();
            if (!keyText.empty() && !entryText.empty()) {
                MergeLName(std::move(keyText), std::move(entryText), priority);
            }
        } else {
            reader.RestOfLine();
        }
    }
}

void CLanguageTable::MergeText(LanguageSection section, uint32_t id, std::string text, Priority priority)
{
    IdTexts& entries = Section(section);
    for (size_t i = 0; i < entries.ids.size(); ++i) {
        if (entries.ids[i] == id) {
            if (priority == Priority::Primary || entries.texts[i].empty()) {
                entries.texts[i] = std::move(text);
            }
            return;
        }
    }
    entries.ids.push_back(id);
    entries.texts.push_back(std::move(text));
}

void CLanguageTable::MergeLName(std::string key, std::string text, Priority priority)
{
    for (size_t i = 0; i < m_lnameKeys.size(); ++i) {
        if (m_lnameKeys[i] == key) {
            if (priority == Priority::Primary || m_lnameTexts[i].empty()) {
                m_lnameTexts[i] = std::move(text);
            }
            return;
        }
    }
    m_lnameKeys.push_back(std::move(key));
    m_lnameTexts.push_back(std::move(text));
}

const char* CLanguageTable::GetText(LanguageSection section, LONG id, const char* defaultText)
{
    const IdTexts& entries = Section(section);
    const auto wanted = static_cast<uint32_t>(id);
    for (size_t i = 0; i < entries.ids.size(); ++i) {
        if (entries.ids[i] == wanted) {
            return entries.texts[i].c_str();
        }
    }
    m_scratch = defaultText != nullptr ? defaultText : "";
    return m_scratch.c_str();
}

const char* CLanguageTable::GetMenuText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::Menu, id, defaultText);
}

const char* CLanguageTable::GetMenuItemText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::MenuItem, id, defaultText);
}

const char* CLanguageTable::GetTooltipText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::ToolTip, id, defaultText);
}

const char* CLanguageTable::GetStatusHelpText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::StatusHelp, id, defaultText);
}

const char* CLanguageTable::GetStaticText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::Static, id, defaultText);
}

const char* CLanguageTable::GetCommandText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::Command, id, defaultText);
}

const char* CLanguageTable::GetShortCommandText(LONG id, const char* defaultText)
{
    return GetText(LanguageSection::ShortCommand, id, defaultText);
}

std::string CLanguageTable::GetLNameText(std::string_view key, std::string_view defaultText) const
{
    for (size_t i = 0; i < m_lnameKeys.size(); ++i) {
        if (m_lnameKeys[i] == key) {
            return m_lnameTexts[i];
        }
    }
    return std::string(defaultText);
}

std::string CLanguageTable::GetLNameKey(std::string_view text, std::string_view defaultText) const
{
    for (size_t i = 0; i < m_lnameTexts.size(); ++i) {
        if (m_lnameTexts[i] == text) {
            return m_lnameKeys[i];
        }
    }
    return std::string(defaultText);
}
