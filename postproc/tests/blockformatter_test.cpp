// Block formatting in both dialects: words, number text, blanks and styles,
// and the limits of the line.
#include "postproc/blockformatter.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "postproc/tests/blocktestsupport.h"

namespace yelk {
namespace {

using test::MakeBlock;
using test::TokenRow;

struct FormatCase {
    const char* name;
    const NcDialect* dialect;
    WordSeparator separator;
    std::vector<TokenRow> tokens;
    const char* line;
    const char* styles;  // letters of blocktestsupport.h; blanks between words are plain
};

const NcDialect* const kPower = &kNcPowerControlDialect;
const NcDialect* const kSiemens = &kNcSiemensDialect;
constexpr WordSeparator kNone = WordSeparator::None;
constexpr WordSeparator kBlank = WordSeparator::Blank;

TEST(FormatBlock, WritesWordsAndStyles)
{
    const FormatCase kCases[] = {
        {"x_one_decimal", kPower, kNone, {{kNcX, 12.5}}, "X12.5", "Annnn"},
        {"x_whole", kPower, kNone, {{kNcX, 10.0}}, "X10", "Ann"},
        {"x_tiny_negative", kPower, kNone, {{kNcX, -0.0004}}, "X-0", "Ann"},
        {"x_zero", kPower, kNone, {{kNcX, 0.0}}, "X0", "An"},
        {"x_rounded", kPower, kNone, {{kNcX, 1.23456}}, "X1.235", "Annnnn"},
        {"feed", kPower, kNone, {{kNcFeed, 1200.25}}, "F1200.25", "Fnnnnnnn"},
        {"power_blanks", kPower, kBlank, {{kNcLinear}, {kNcX, 1.0}, {kNcY, 2.0}}, "G01 X1 Y2", "GGGpAnpAn"},
        {"power_no_blanks", kPower, kNone, {{kNcLinear}, {kNcX, 1.0}, {kNcY, 2.0}}, "G01X1Y2", "GGGAnAn"},
        {"siemens_always_blanks", kSiemens, kNone, {{kNcLinear}, {kNcX, 1.0}, {kNcY, 2.0}}, "G1 X1 Y2", "GGpAnpAn"},
        {"power_program_end", kPower, kNone, {{kNcProgramEnd}}, "M30", "MMM"},
        {"siemens_program_end", kSiemens, kNone, {{kNcProgramEnd}}, "M2", "MM"},
        {"power_radius", kPower, kNone, {{kNcRadius, 5.0}}, "R5", "An"},
        {"siemens_radius", kSiemens, kNone, {{kNcRadius, 5.0}}, "CR=5", "AApn"},
        {"power_radius_decimals", kPower, kNone, {{kNcRadius, 12.75}}, "R12.75", "Annnnn"},
        {"empty_block", kPower, kBlank, {}, "", ""},
        {"block_numbers", kSiemens, kNone, {{kNcColonNumber, 7}, {kNcBlockNumber, 120}}, ":7 N120", "GnpGnnn"},
        {"tool_and_speed", kPower, kBlank, {{kNcTool, 3}, {kNcSpindleSpeed, 8000}, {kNcSpindleClockwise}},
         "T3 S8000 M3", "FnpFnnnnpMM"},
        {"siemens_motion_words", kSiemens, kNone, {{kNcRapid}, {kNcArcClockwise}, {kNcArcCounterClockwise}},
         "G0 G2 G3", "GGpGGpGG"},
        {"power_motion_words", kPower, kNone, {{kNcRapid}, {kNcArcClockwise}, {kNcArcCounterClockwise}},
         "G00G02G03", "GGGGGGGGG"},
        {"modal_words", kPower, kBlank, {{kNcPlaneXY}, {kNcAbsolute}, {kNcMetric}, {kNcCompensationOff}},
         "G17 G90 G71 G40", "GGGpGGGpGGGpGGG"},
        {"stops", kSiemens, kNone, {{kNcProgramStop}, {kNcOptionalStop}, {kNcM35}, {kNcM36}}, "M0 M1 M35 M36",
         "MMpMMpMMMpMMM"},
        {"raw_text", kPower, kBlank, {{kNcRawText, 0, "Hello"}, {kNcX, 1}}, "Hello X1", "rrrrrpAn"},
        {"comment", kPower, kBlank, {{kNcX, 1}, {kNcComment, 0, " move to start"}}, "X1 ; move to start",
         "Anpccccccccccccccc"},
        {"tool_offset_and_g450", kSiemens, kNone, {{kNcToolOffset, -1.5}, {kNcG450}, {kNcG451}}, "D-1.5 G450 G451",
         "FnnnnpAnnnpAnnn"},
        {"unknown_codes_write_nothing", kPower, kBlank, {{kNcLinear}, {99}, {-1}, {kNcX, 1}}, "G01 X1", "GGGpAn"},
        {"empty_raw_text_writes_nothing", kSiemens, kNone, {{kNcRawText, 0, ""}, {kNcRawText}, {kNcZ, -2}}, "Z-2",
         "Ann"},
    };
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const test::TokenBlock block = MakeBlock(c.tokens);
        char line[kNcMaxLineLength];
        std::memset(line, 'x', sizeof line);
        std::vector<INT> styles(kNcMaxLineLength, test::kUntouched);
        ASSERT_EQ(FormatBlock(*c.dialect, static_cast<INT>(block.codes.size()), block.codes.data(), block.values.data(),
                              line, styles.data(), c.separator),
                  S_OK);
        EXPECT_STREQ(line, c.line);
        EXPECT_EQ(test::StyleLetters(styles.data(), std::strlen(c.line) + 1),
                  std::string(c.styles) + ".");  // nothing written past the line
    }
}

TEST(FormatBlock, NullStylesAreAllowed)
{
    const test::TokenBlock block = MakeBlock({{kNcLinear}, {kNcX, 1.0}});
    char line[kNcMaxLineLength];
    ASSERT_EQ(FormatBlock(kNcSiemensDialect, 2, block.codes.data(), block.values.data(), line, nullptr,
                          WordSeparator::None),
              S_OK);
    EXPECT_STREQ(line, "G1 X1");
}

TEST(FormatBlock, RejectsBadCountsAndLinesTooLong)
{
    const std::string fits(kNcMaxLineLength - 1, 'a');
    const std::string tooLong(kNcMaxLineLength, 'a');
    const std::string half(kNcMaxLineLength / 2, 'a');
    struct Case {
        const char* name;
        INT count;
        std::vector<TokenRow> tokens;
        HRESULT result;
    };
    const Case kCases[] = {
        {"negative_count", -1, {}, E_INVALIDARG},
        {"count_above_capacity", kNcMaxBlockTokens + 1, {}, E_INVALIDARG},
        {"longest_line", 1, {{kNcRawText, 0, fits.c_str()}}, S_OK},
        {"one_character_too_long", 1, {{kNcRawText, 0, tooLong.c_str()}}, E_INVALIDARG},
        {"blank_makes_it_too_long", 2, {{kNcRawText, 0, half.c_str()}, {kNcRawText, 0, half.c_str()}}, E_INVALIDARG},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TokenBlock block = MakeBlock(c.tokens);
        block.codes.resize(kNcMaxBlockTokens + 1, kNcLinear);
        block.values.resize(kNcMaxBlockTokens + 1);
        std::vector<char> line(kNcMaxLineLength, 'x');
        std::vector<INT> styles(kNcMaxLineLength, test::kUntouched);
        EXPECT_EQ(FormatBlock(kNcSiemensDialect, c.count, block.codes.data(), block.values.data(), line.data(),
                              styles.data(), WordSeparator::Blank),
                  c.result);
        if (c.result == S_OK) {
            EXPECT_EQ(std::strlen(line.data()), fits.size());
        } else {
            EXPECT_STREQ(line.data(), "");
            EXPECT_EQ(styles[0], test::kUntouched);
        }
    }
    char line[4];
    EXPECT_EQ(FormatBlock(kNcSiemensDialect, 0, nullptr, nullptr, nullptr, nullptr, WordSeparator::None), E_POINTER);
    EXPECT_EQ(FormatBlock(kNcSiemensDialect, 1, nullptr, nullptr, line, nullptr, WordSeparator::None), E_POINTER);
    EXPECT_EQ(FormatBlock(kNcSiemensDialect, 0, nullptr, nullptr, line, nullptr, WordSeparator::None), S_OK);
    EXPECT_STREQ(line, "");
}

} // namespace
} // namespace yelk
