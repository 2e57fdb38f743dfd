// The language table: files of several languages read with a chosen and a
// default language, and the look-ups of each keyword with their defaults.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

#include "host/shell/language_table.h"
#include "platform/kernel/files.h"

namespace {

struct Lookup {
    LanguageSection section;
    LONG id;
    const char* defaultText;
    const char* expected;
};

struct LanguageCase {
    const char* name;
    const char* file;
    const char* chosen;
    std::vector<Lookup> lookups;
};

const LanguageCase kCases[] = {
    {"chosen_language_wins_whatever_the_order",
     "DE MENU 0 &Datei\nEN MENU 0 &File\nEN MENU 1 &Edit\n",
     "DE",
     {{LanguageSection::Menu, 0, "-", "&Datei"}, {LanguageSection::Menu, 1, "-", "&Edit"}}},
    {"english_first_then_chosen_still_wins",
     "EN MENU 0 &File\nDE MENU 0 &Datei\n",
     "DE",
     {{LanguageSection::Menu, 0, "-", "&Datei"}}},
    {"a_language_without_entries_falls_back_to_english",
     "DE MENU 0 &Datei\nEN MENU 0 &File\n",
     "FR",
     {{LanguageSection::Menu, 0, "-", "&File"}}},
    {"an_id_only_in_english_is_found_for_any_language",
     "DE STATIC 5 Fuenf\nEN STATIC 6 Six\n",
     "DE",
     {{LanguageSection::Static, 6, "-", "Six"}, {LanguageSection::Static, 5, "-", "Fuenf"}}},
    {"a_line_ending_after_its_separator_is_dropped",
     "EN STATIC 7 \nEN STATIC 8 Eight\n",
     "EN",
     {{LanguageSection::Static, 7, "default", "default"}, {LanguageSection::Static, 8, "-", "Eight"}}},
    {"a_line_ending_at_its_id_does_not_take_the_next_line",
     "EN STATIC 7\nEN STATIC 8 Eight\n",
     "EN",
     {{LanguageSection::Static, 7, "default", "default"}, {LanguageSection::Static, 8, "-", "Eight"}}},
    {"blanks_after_the_separator_belong_to_the_text",
     "EN STATIC 9  two blanks\n",
     "EN",
     {{LanguageSection::Static, 9, "-", " two blanks"}}},
    {"an_unknown_keyword_skips_its_line",
     "EN BOGUS 4 whatever words 5\nEN TOOLTIP 4 Tip\n",
     "EN",
     {{LanguageSection::ToolTip, 4, "-", "Tip"}, {LanguageSection::ToolTip, 5, "none", "none"}}},
    {"a_keyword_without_a_number_ends_its_entry",
     "EN COMMAND word EN COMMAND 3 line\n",
     "EN",
     {{LanguageSection::Command, 3, "-", "line"}}},
    {"english_chosen_a_later_duplicate_replaces",
     "EN MENUITEM 57600 &New\nEN MENUITEM 57600 &New drawing\n",
     "EN",
     {{LanguageSection::MenuItem, 57600, "-", "&New drawing"}}},
    {"every_keyword_has_its_own_ids",
     "EN STATUSHELP 1 Help\nEN SHORTCOMMAND 1 s\nEN MENUITEM 1 Item\n",
     "EN",
     {{LanguageSection::StatusHelp, 1, "-", "Help"},
      {LanguageSection::ShortCommand, 1, "-", "s"},
      {LanguageSection::MenuItem, 1, "-", "Item"},
      {LanguageSection::Menu, 1, "none", "none"}}},
    {"other_languages_are_passed_over_word_by_word",
     "FR STATIC 1 Un\nEN STATIC 1 One\n",
     "DE",
     {{LanguageSection::Static, 1, "-", "One"}}},
    {"a_text_keeps_its_tabs_and_ends_at_the_line_end",
     "EN MENUITEM 2 &Open...\tCtrl+O\nEN MENUITEM 3 x\n",
     "EN",
     {{LanguageSection::MenuItem, 2, "-", "&Open...\tCtrl+O"}, {LanguageSection::MenuItem, 3, "-", "x"}}},
    {"an_id_too_large_for_32_bits_is_dropped",
     "EN STATIC 99999999999 Big\nEN STATIC 4 Four\n",
     "EN",
     {{LanguageSection::Static, 4, "-", "Four"}}},
};

TEST(LanguageTable, FilesAndLookUps)
{
    for (const LanguageCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CLanguageTable table;
        table.SetChosenLanguage(c.chosen);
        table.Merge(c.file);
        for (const Lookup& lookup : c.lookups) {
            EXPECT_STREQ(table.GetText(lookup.section, lookup.id, lookup.defaultText), lookup.expected)
                << "id " << lookup.id;
        }
    }
}

TEST(LanguageTable, EachKeywordHasItsLookUpAndAMissLeavesTheLatestDefault)
{
    CLanguageTable table;
    table.Merge("EN MENU 1 a\nEN MENUITEM 1 b\nEN TOOLTIP 1 c\nEN STATUSHELP 1 d\nEN STATIC 1 e\nEN COMMAND 1 f\n"
                "EN SHORTCOMMAND 1 g\n");
    EXPECT_STREQ(table.GetMenuText(1, ""), "a");
    EXPECT_STREQ(table.GetMenuItemText(1, ""), "b");
    EXPECT_STREQ(table.GetTooltipText(1, ""), "c");
    EXPECT_STREQ(table.GetStatusHelpText(1, ""), "d");
    EXPECT_STREQ(table.GetStaticText(1, ""), "e");
    EXPECT_STREQ(table.GetCommandText(1, ""), "f");
    EXPECT_STREQ(table.GetShortCommandText(1, ""), "g");
    const char* first = table.GetStaticText(2, "first");
    EXPECT_STREQ(first, "first");
    EXPECT_STREQ(table.GetStaticText(3, "second"), "second");
    EXPECT_EQ(table.GetCount(LanguageSection::Static), 1u);
}

TEST(LanguageTable, LanguageNamesByKeyAndKeysByName)
{
    CLanguageTable table;
    table.SetChosenLanguage("DE");
    table.Merge("EN LNAME EN English\nDE LNAME DE Deutsch\nEN LNAME DE German\nEN LNAME FR\n");
    EXPECT_EQ(table.GetLNameText("EN", "?"), "English");
    EXPECT_EQ(table.GetLNameText("DE", "?"), "Deutsch");
    EXPECT_EQ(table.GetLNameText("FR", "?"), "?");
    EXPECT_EQ(table.GetLNameKey("Deutsch", ""), "DE");
    EXPECT_EQ(table.GetLNameKey("German", ""), "");
    EXPECT_EQ(table.GetLNameCount(), 2u);
}

TEST(LanguageTable, LoadReadsTheLanguageFolderAndAMissingFileLeavesTheTable)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("nuvex-language-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "Language");
    {
        // Written on another system: CR LF line ends.
        std::ofstream out(folder / "Language" / "nuvex.txt", std::ios::binary);
        out << "EN STATIC 20000 Command\r\nDE STATIC 20000 Befehl\r\n";
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    CLanguageTable table;
    table.SetChosenLanguage("DE");
    EXPECT_FALSE(table.Load("missing.txt", TRUE));
    EXPECT_EQ(table.GetCount(LanguageSection::Static), 0u);
    EXPECT_TRUE(table.Load("nuvex.txt", TRUE));
    EXPECT_STREQ(table.GetStaticText(20000, ""), "Befehl");
    EXPECT_TRUE(table.Load("Language/nuvex.txt", FALSE));
    EXPECT_EQ(table.GetCount(LanguageSection::Static), 1u);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

} // namespace
