// CLanguageTable: the add-in's texts by keyword and id, read from its
// language file "strimo.txt". Entries are tagged by language; the chosen
// language wins and the default language ("EN") fills the ids it lacks. A
// lookup that finds nothing gives the caller's default text.
//
// File: words separated by white space. An entry is a language word, a
// keyword (MENU, MENUITEM, TOOLTIP, STATUSHELP, STATIC, COMMAND,
// SHORTCOMMAND with a decimal id, or LNAME with a key word), one separator
// character and the text up to the line end. An empty text drops the entry;
// an entry of another language is skipped word by word; an unknown keyword
// drops the rest of its line. Words and texts are cut at kMaxLanguageText
// characters rather than overrun anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kMaxLanguageText = 4095;

enum class LanguageKeyword : int {
    Menu = 0,
    MenuItem,
    Tooltip,
    StatusHelp,
    Static,
    Command,
    ShortCommand,
    Count,
};

class CLanguageTable {
public:
    CLanguageTable() = default;
    virtual ~CLanguageTable() = default;

    void SetLanguages(const std::string& chosen, const std::string& fallback);
    const std::string& ChosenLanguage() const { return m_chosen; }

    // Merges the entries of the file into the table; false when it cannot
    // be opened (the table is unchanged).
    bool Load(const std::string& path);
    // Merges entries from text (the file's content).
    void Parse(const std::string& text);

    // The stored text, or `fallback` when the id has none. The pointer of a
    // stored text stays valid until the table changes; a fallback is copied
    // into the table's scratch text, valid until the next missing lookup.
    const char* Get(LanguageKeyword keyword, long id, const char* fallback);
    const char* GetStaticText(long id, const char* fallback) { return Get(LanguageKeyword::Static, id, fallback); }
    const char* GetMenuText(long id, const char* fallback) { return Get(LanguageKeyword::Menu, id, fallback); }
    const char* GetMenuItemText(long id, const char* fallback)
    {
        return Get(LanguageKeyword::MenuItem, id, fallback);
    }
    std::string GetLNameText(const std::string& key, const std::string& fallback) const;

private:
    struct Entry {
        long id = 0;
        std::string text;
    };
    struct NamedEntry {
        std::string key;
        std::string text;
    };
    void Merge(std::vector<Entry>& list, long id, const std::string& text, bool primary);

    std::string m_scratch;
    std::string m_fallback = "EN";
    std::string m_chosen = "EN";
    std::vector<NamedEntry> m_names;
    std::vector<Entry> m_lists[static_cast<int>(LanguageKeyword::Count)];
};

// "<program folder>/Language/strimo.txt".
std::string AddinLanguageFilePath(const std::string& programFolder);
