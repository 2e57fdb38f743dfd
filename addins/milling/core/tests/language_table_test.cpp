// CLanguageTable: the chosen language over the default one, and the
// entries the reader drops.
#include <gtest/gtest.h>

#include "addins/milling/core/language_table.h"
#include "addins/milling/core/tests/strimo_test_support.h"

namespace {

TEST(LanguageTable, TheChosenLanguageWinsAndTheDefaultFillsGaps)
{
    const std::string file = "DE MENU 0 &Datei\nEN MENU 0 &File\nEN MENU 1 &Edit\nFR STATIC 5 Bonjour\n";
    struct Row {
        const char* chosen;
        long id;
        const char* expected;
    };
    const Row rows[] = {
        {"DE", 0, "&Datei"},
        {"IT", 0, "&File"},
        {"DE", 1, "&Edit"},
        {"EN", 0, "&File"},
        {"DE", 2, "default"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.chosen) + " " + std::to_string(row.id));
        CLanguageTable table;
        table.SetLanguages(row.chosen, "EN");
        table.Parse(file);
        EXPECT_STREQ(table.GetMenuText(row.id, "default"), row.expected);
    }
}

TEST(LanguageTable, TheReaderKeepsTextsAsWrittenAndDropsBrokenEntries)
{
    CLanguageTable table;
    table.Parse("EN STATIC 7 \nEN STATIC 8  two blanks\nEN BOGUS 9 text\nEN STATIC 10 after\n"
                "EN STATIC nine text\nEN STATIC 11 trailing \r\nEN LNAME DE Deutsch\n");
    EXPECT_STREQ(table.GetStaticText(7, "seven"), "seven") << "an empty text drops the entry";
    EXPECT_STREQ(table.GetStaticText(8, ""), " two blanks");
    EXPECT_STREQ(table.GetStaticText(9, "none"), "none");
    EXPECT_STREQ(table.GetStaticText(10, ""), "after") << "an unknown keyword drops only its line";
    EXPECT_STREQ(table.GetStaticText(11, ""), "trailing ");
    EXPECT_EQ(table.GetLNameText("DE", ""), "Deutsch");
    EXPECT_STREQ(table.GetStaticText(99, "first"), "first");
    EXPECT_STREQ(table.GetStaticText(98, "second"), "second");
}

TEST(LanguageTable, TheShippedFileHoldsTheAddinsTexts)
{
    CLanguageTable table;
    ASSERT_TRUE(table.Load(SourcePath("resources/Language/strimo.txt")));
    EXPECT_STREQ(table.GetStaticText(15001, ""), "Workshop");
    EXPECT_STREQ(table.GetStaticText(20006, ""), "Pocket milling");
    EXPECT_STREQ(table.GetMenuItemText(98, ""), "Manufacturing");
    EXPECT_STREQ(table.GetStaticText(20064, ""), "Number: ");
    EXPECT_FALSE(table.Load(SourcePath("resources/Language/none.txt")));
}

} // namespace
