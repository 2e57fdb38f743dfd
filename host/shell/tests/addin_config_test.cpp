// The add-in configuration file and the class id of a registry key name.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/shell/addin_config.h"

namespace {

constexpr GUID kStrimo = {0xCCFEA8BD, 0xA5A0, 0x45FD, {0xB9, 0xC4, 0x79, 0x57, 0x7D, 0x58, 0xA4, 0xC3}};

struct ConfigCase {
    const char* name;
    std::string text;
    std::optional<GUID> expected;
};

TEST(AddinConfig, FilesGiveTheirClassIdOrNone)
{
    const std::string id = "{CCFEA8BD-A5A0-45FD-B9C4-79577D58A4C3}";
    const ConfigCase cases[] = {
        {"as_the_host_writes_it", "ADDIN_CLSID " + id, kStrimo},
        {"lower_case_hex_and_line_ends", "ADDIN_CLSID\n" + std::string("{ccfea8bd-a5a0-45fd-b9c4-79577d58a4c3}") + "\n",
         kStrimo},
        {"words_after_the_id_are_ignored", "  ADDIN_CLSID\t" + id + " trailing words", kStrimo},
        {"empty", "", std::nullopt},
        {"keyword_only", "ADDIN_CLSID", std::nullopt},
        {"keyword_in_other_case", "addin_clsid " + id, std::nullopt},
        {"other_first_word", "CLSID " + id, std::nullopt},
        {"id_without_braces", "ADDIN_CLSID CCFEA8BD-A5A0-45FD-B9C4-79577D58A4C3", std::nullopt},
        {"id_not_hex", "ADDIN_CLSID {CCFEA8BD-A5A0-45FD-B9C4-79577D58A4CZ}", std::nullopt},
        {"overlong_first_word", std::string(200, 'A') + " " + id, std::nullopt},
        {"overlong_id_word", "ADDIN_CLSID " + id + std::string(100, 'F'), std::nullopt},
    };
    for (const ConfigCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<GUID> read = ReadAddinConfig(c.text);
        ASSERT_EQ(read.has_value(), c.expected.has_value());
        if (read) {
            EXPECT_TRUE(*read == *c.expected);
        }
    }
}

TEST(AddinConfig, TheWrittenFormIsFiftyCharactersAndReadsBack)
{
    const std::string text = FormatAddinConfig(kStrimo);
    EXPECT_EQ(text, "ADDIN_CLSID {CCFEA8BD-A5A0-45FD-B9C4-79577D58A4C3}");
    EXPECT_EQ(text.size(), 50u);
    const std::optional<GUID> read = ReadAddinConfig(text);
    ASSERT_TRUE(read);
    EXPECT_TRUE(*read == kStrimo);
    EXPECT_EQ(FormatAddinConfig(GUID{}), "ADDIN_CLSID {00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(AddinConfigPath("strimo"), "AddInsCfg\\strimo.cfg");
}

TEST(AddinConfig, KeyNamesWithoutTheirOpeningBraceGiveTheirClassId)
{
    EXPECT_TRUE(ParseClsidText("CCFEA8BD-A5A0-45FD-B9C4-79577D58A4C3}") == kStrimo);
    EXPECT_TRUE(ParseClsidText("ccfea8bd-a5a0-45fd-b9c4-79577d58a4c3}") == kStrimo);
    // Without the closing brace the text is too short.
    EXPECT_TRUE(ParseClsidText("CCFEA8BD-A5A0-45FD-B9C4-79577D58A4C3") == GUID{});
    EXPECT_TRUE(ParseClsidText("") == GUID{});
    // Fields that cannot be read stay 0.
    const GUID partial = ParseClsidText("CCFEA8BD-A5A0-ZZZZ-B9C4-79577D58A4C3}");
    EXPECT_EQ(partial.Data1, 0xCCFEA8BDu);
    EXPECT_EQ(partial.Data2, 0xA5A0u);
    EXPECT_EQ(partial.Data3, 0u);
    EXPECT_EQ(partial.Data4[7], 0u);
}

} // namespace
