// CLanguageTable: the texts of one language file, looked up by keyword and
// id with the caller's English default. One file holds every language;
// each entry names its language, the chosen language wins and the default
// language ("EN") fills the ids the chosen one lacks, whatever the order of
// the entries in the file.
//
// An entry is: a language word, a keyword, then for the seven id keywords
// (MENU, MENUITEM, TOOLTIP, STATUSHELP, STATIC, COMMAND, SHORTCOMMAND) a
// decimal id, one separator character and the text up to the line end; for
// LNAME a key word in place of the id. Words are separated by blanks, tabs
// and line ends; names, keywords and keys compare case-sensitively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

// The sections of a language table, one per id keyword.
enum class LanguageSection { Menu, MenuItem, ToolTip, StatusHelp, Static, Command, ShortCommand };
inline constexpr size_t kLanguageSectionCount = 7;

// The language every table falls back to.
inline constexpr const char* kDefaultLanguage = "EN";

class CLanguageTable {
public:
    CLanguageTable() = default;
    virtual ~CLanguageTable() = default;

    // Merges the entries of a file: `fileName`, or "Language\" + fileName
    // with `inLanguageFolder` (relative to the current directory). FALSE,
    // with the table unchanged, when the file cannot be opened. Loading
    // again merges into what is there.
    BOOL Load(const char* fileName, BOOL inLanguageFolder);
    // Merges the entries of a file's text (read in text mode).
    void Merge(std::string_view text);

    void SetChosenLanguage(std::string name) { m_chosen = std::move(name); }
    void SetDefaultLanguage(std::string name) { m_default = std::move(name); }
    const std::string& ChosenLanguage() const { return m_chosen; }
    const std::string& DefaultLanguage() const { return m_default; }

    // The stored text of an id, else `defaultText`. A stored text stays
    // valid until the table changes; a default until the next lookup that
    // misses.
    const char* GetMenuText(LONG id, const char* defaultText);
    const char* GetMenuItemText(LONG id, const char* defaultText);
    const char* GetTooltipText(LONG id, const char* defaultText);
    const char* GetStatusHelpText(LONG id, const char* defaultText);
    const char* GetStaticText(LONG id, const char* defaultText);
    const char* GetCommandText(LONG id, const char* defaultText);
    const char* GetShortCommandText(LONG id, const char* defaultText);
    const char* GetText(LanguageSection section, LONG id, const char* defaultText);

    // The display name of a language key, and the key of a display name.
    std::string GetLNameText(std::string_view key, std::string_view defaultText) const;
    std::string GetLNameKey(std::string_view text, std::string_view defaultText) const;

    // The number of texts of a section (the language names: LNAME).
    size_t GetCount(LanguageSection section) const { return Section(section).texts.size(); }
    size_t GetLNameCount() const { return m_lnameKeys.size(); }
    // The display name of the index-th language, in the order of the file;
    // empty outside the list.
    std::string GetLNameTextAt(size_t index) const
    {
        return index < m_lnameTexts.size() ? m_lnameTexts[index] : std::string();
    }

private:
    struct IdTexts {
        std::vector<std::string> texts;
        std::vector<uint32_t> ids;
    };
    enum class Priority { Primary, Secondary };

    IdTexts& Section(LanguageSection section) { return m_sections[static_cast<size_t>(section)]; }
    const IdTexts& Section(LanguageSection section) const { return m_sections[static_cast<size_t>(section)]; }
    void MergeText(LanguageSection section, uint32_t id, std::string text, Priority priority);
    void MergeLName(std::string key, std::string text, Priority priority);

    std::string m_scratch;
    std::string m_default = kDefaultLanguage;
    std::string m_chosen = kDefaultLanguage;
    std::vector<std::string> m_lnameTexts;
    std::vector<std::string> m_lnameKeys;
    IdTexts m_sections[kLanguageSectionCount];
};
