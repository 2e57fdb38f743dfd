// Block parsing in both dialects: addresses, number rules and ranges, raw
// text, comments, words of several address-number pairs, styles, and the
// capacities of the caller's arrays.
#include "postproc/blockparser.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "postproc/tests/blocktestsupport.h"

namespace yelk {
namespace {

using test::ParseBuffers;

const NcDialect* const kPower = &kNcPowerControlDialect;
const NcDialect* const kSiemens = &kNcSiemensDialect;

// Reals compare to the value the text names; the parse is correctly rounded.
constexpr double kValueTolerance = 1e-12;

// An expected token: code, and its value (integer, real or text by kind).
struct Expected {
    INT code;
    double number = 0.0;
    const char* text = nullptr;
};

struct ParseCase {
    const char* name;
    const NcDialect* dialect;
    const char* line;
    std::vector<Expected> tokens;
    const char* styles;  // letters of blocktestsupport.h over the line; blanks and trailing spaces are plain
};

ParseBuffers BuffersFor(const NcDialect& dialect)
{
    return ParseBuffers([&dialect](const char* line, INT* count, INT* codes, INT* kinds, VARIANT* values,
                                   INT* styles) {
        return ParseBlock(dialect, line, count, codes, kinds, values, styles);
    });
}

void ExpectTokens(const ParseBuffers& b, const std::vector<Expected>& tokens)
{
    ASSERT_EQ(b.count, static_cast<INT>(tokens.size()));
    for (size_t i = 0; i < tokens.size(); ++i) {
        SCOPED_TRACE("token " + std::to_string(i));
        const Expected& e = tokens[i];
        EXPECT_EQ(b.codes[i], e.code);
        const NcValueKind kind = e.code == kNcRawText || e.code == kNcComment ? kNcKindText : test::KindOfCode(e.code);
        EXPECT_EQ(b.kinds[i], kind);
        if (kind == kNcKindInteger) {
            EXPECT_EQ(b.values[i].vt, VT_I4);
            EXPECT_EQ(b.values[i].lVal, static_cast<LONG>(e.number));
        } else if (kind == kNcKindReal) {
            EXPECT_EQ(b.values[i].vt, VT_R8);
            EXPECT_NEAR(b.values[i].dblVal, e.number, kValueTolerance);
        } else if (kind == kNcKindText) {
            EXPECT_EQ(b.values[i].vt, kNcTextVariantType);
            ASSERT_NE(b.values[i].pcVal, nullptr);
            EXPECT_STREQ(b.values[i].pcVal, e.text);
        }
    }
}

TEST(ParseBlock, ReadsWordsValuesAndStyles)
{
    const ParseCase kCases[] = {
        {"typical_block", kPower, "N10 G01 X12.5 Y-3 F200",
         {{kNcBlockNumber, 10}, {kNcLinear}, {kNcX, 12.5}, {kNcY, -3.0}, {kNcFeed, 200.0}},
         "GnnpGGGpAnnnnpAnnpFnnn"},
        {"lower_case_letters", kSiemens, "g1 x1", {{kNcLinear}, {kNcX, 1.0}}, "GGpAn"},
        {"program_end_m2", kPower, "M2", {{kNcProgramEnd}}, "MM"},
        {"program_end_m02", kSiemens, "M02", {{kNcProgramEnd}}, "MMM"},
        {"power_reads_its_own_m30", kPower, "M30", {{kNcProgramEnd}}, "MMM"},
        {"siemens_reads_m30", kSiemens, "M30", {{kNcProgramEnd}}, "MMM"},
        {"feed_zero_is_raw", kPower, "F0", {{kNcRawText, 0, "F0"}}, "rr"},
        {"x_upper_bound_is_raw", kPower, "X99999.999", {{kNcRawText, 0, "X99999.999"}}, "rrrrrrrrrr"},
        {"x_lower_bound", kPower, "X-99999.999", {{kNcX, -99999.999}}, "Annnnnnnnnn"},
        {"radius_too_small", kPower, "R0.005", {{kNcRawText, 0, "R0.005"}}, "rrrrrr"},
        {"radius_negative", kPower, "R-5", {{kNcRadius, -5.0}}, "Ann"},
        {"radius_smallest", kPower, "R-0.01", {{kNcRadius, -0.01}}, "Annnnn"},
        {"siemens_radius", kSiemens, "CR=-5", {{kNcRadius, -5.0}}, "AApnn"},
        {"siemens_radius_lower_case", kSiemens, "cr=2.5", {{kNcRadius, 2.5}}, "AApnnn"},
        {"siemens_r_is_raw", kSiemens, "R5", {{kNcRawText, 0, "R5"}}, "rr"},
        {"power_cr_is_raw", kPower, "CR=5", {{kNcRawText, 0, "CR=5"}}, "rrrr"},
        {"tool_above_range", kPower, "T32001", {{kNcRawText, 0, "T32001"}}, "rrrrrr"},
        {"tool_negative", kPower, "T-1", {{kNcRawText, 0, "T-1"}}, "rrr"},
        {"tool_largest", kPower, "T32000", {{kNcTool, 32000}}, "Fnnnnn"},
        {"comment_trimmed", kPower, "X1 ; move to start  ", {{kNcX, 1.0}, {kNcComment, 0, " move to start"}},
         "Anpcccccccccccccccpp"},
        {"comment_keeps_words", kSiemens, ";G1 X1", {{kNcComment, 0, "G1 X1"}}, "cccccc"},
        {"empty_line", kPower, "", {}, ""},
        {"blank_line", kPower, " \t \r", {}, "pppp"},
        {"g_with_point_is_raw", kPower, "G1.0", {{kNcRawText, 0, "G1.0"}}, "rrrr"},
        {"n_with_sign_is_raw", kPower, "N-5", {{kNcRawText, 0, "N-5"}}, "rrr"},
        {"plus_and_trailing_point", kPower, "X+2.", {{kNcX, 2.0}}, "Annn"},
        {"sign_only_is_raw", kPower, "X-", {{kNcRawText, 0, "X-"}}, "rr"},
        {"point_only_is_raw", kSiemens, "F.", {{kNcRawText, 0, "F."}}, "rr"},
        {"unknown_g_and_m", kPower, "G99 M5", {{kNcRawText, 0, "G99"}, {kNcRawText, 0, "M5"}}, "rrrprr"},
        {"raw_text_as_written", kPower, "Hello", {{kNcRawText, 0, "Hello"}}, "rrrrr"},
        {"colon_number", kSiemens, ":5", {{kNcColonNumber, 5}}, "Gn"},
        {"block_number_overflow_is_raw", kPower, "N99999999999", {{kNcRawText, 0, "N99999999999"}},
         "rrrrrrrrrrrr"},
        {"tool_offset", kPower, "D-1.5", {{kNcToolOffset, -1.5}}, "Fnnnn"},
        {"g450_g451", kSiemens, "G450 g451", {{kNcG450}, {kNcG451}}, "AnnnpAnnn"},
        {"spindle", kSiemens, "S1200 T3 M3 M04", {{kNcSpindleSpeed, 1200}, {kNcTool, 3}, {kNcSpindleClockwise},
                                                   {kNcSpindleCounterClockwise}},
         "FnnnnpFnpMMpMMM"},
        {"tabs_and_line_end", kPower, "X1\tY2\r", {{kNcX, 1.0}, {kNcY, 2.0}}, "AnpAnp"},
        {"modal_words", kPower, "G17 G18 G19 G90 G91 G70 G71 G94 G95 G40 G41 G42",
         {{kNcPlaneXY}, {kNcPlaneXZ}, {kNcPlaneYZ}, {kNcAbsolute}, {kNcIncremental}, {kNcInch}, {kNcMetric},
          {kNcFeedPerMinute}, {kNcFeedPerRevolution}, {kNcCompensationOff}, {kNcCompensationLeft},
          {kNcCompensationRight}},
         "GGGpGGGpGGGpGGGpGGGpGGGpGGGpGGGpGGGpGGGpGGGpGGG"},
        // Words of several address-number pairs, as dialect 0 writes them
        // without blanks.
        {"joined_pairs", kPower, "G01X12.5", {{kNcLinear}, {kNcX, 12.5}}, "GGGAnnnn"},
        {"joined_block", kPower, "N5G02X1Y-2I0.5J-1", {{kNcBlockNumber, 5}, {kNcArcClockwise}, {kNcX, 1.0},
                                                      {kNcY, -2.0}, {kNcCentreI, 0.5}, {kNcCentreJ, -1.0}},
         "GnGGGAnAnnAnnnAnn"},
        {"joined_program_end", kPower, "M3M30", {{kNcSpindleClockwise}, {kNcProgramEnd}}, "MMMMM"},
        {"joined_with_bad_pair_is_raw", kPower, "G01X12.5Q3", {{kNcRawText, 0, "G01X12.5Q3"}}, "rrrrrrrrrr"},
        {"joined_out_of_range_is_raw", kPower, "G1F0", {{kNcRawText, 0, "G1F0"}}, "rrrr"},
        {"ends_with_address_is_raw", kPower, "G01X", {{kNcRawText, 0, "G01X"}}, "rrrr"},
        {"starts_with_number_is_raw", kPower, "1X2", {{kNcRawText, 0, "1X2"}}, "rrr"},
        {"long_address_is_raw", kPower, "XY12", {{kNcRawText, 0, "XY12"}}, "rrrr"},
        {"comment_glued_to_word_is_raw", kPower, "X1;a", {{kNcRawText, 0, "X1;a"}}, "rrrr"},
    };
    for (const ParseCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ParseBuffers b = BuffersFor(*c.dialect);
        ASSERT_EQ(b.Parse(c.line), S_OK);
        ExpectTokens(b, c.tokens);
        // Styles over the line, and nothing past it.
        EXPECT_EQ(test::StyleLetters(b.styles.data(), std::strlen(c.line) + 1), std::string(c.styles) + ".");
    }
}

TEST(ParseBlock, ReleasesThePreviousTexts)
{
    ParseBuffers b = BuffersFor(kNcPowerControlDialect);
    ASSERT_EQ(b.Parse("; first comment"), S_OK);
    ExpectTokens(b, {{kNcComment, 0, " first comment"}});
    ASSERT_EQ(b.Parse("word ; second"), S_OK);
    ExpectTokens(b, {{kNcRawText, 0, "word"}, {kNcComment, 0, " second"}});
    // The sanitizer reports the first texts if they were not freed; their
    // pointers are cleared as they are freed.
    ASSERT_EQ(b.Parse("X1"), S_OK);
    ExpectTokens(b, {{kNcX, 1.0}});
    EXPECT_EQ(b.values[1].pcVal, nullptr);
}

TEST(ParseBlock, EntryCountIsClampedToTheArrays)
{
    ParseBuffers b = BuffersFor(kNcSiemensDialect);
    std::fill(b.kinds.begin(), b.kinds.end(), kNcKindNone);
    b.count = 100000;  // a caller's stale count; only the arrays' own slots are read
    ASSERT_EQ(b.Parse("X1"), S_OK);
    EXPECT_EQ(b.count, 1);
    b.count = -7;
    ASSERT_EQ(b.Parse("Y2"), S_OK);
    EXPECT_EQ(b.count, 1);
}

// Lines with more words than the arrays hold: the first 255 tokens as read,
// the rest of the line as one raw-text token in the last slot.
TEST(ParseBlock, StopsAtTheArrayCapacity)
{
    auto repeat = [](const std::string& word, int times) {
        std::string line;
        for (int i = 0; i < times; ++i) {
            line += (i == 0 ? "" : " ") + word;
        }
        return line;
    };
    auto joined = [](const std::string& word, int times) {
        std::string line;
        for (int i = 0; i < times; ++i) {
            line += word;
        }
        return line;
    };
    struct Case {
        const char* name;
        std::string line;
        INT count;
        INT lastCode;
        std::string lastText;  // for a raw-text last token
    };
    const Case kCases[] = {
        {"exactly_full", repeat("X1", kNcMaxBlockTokens), kNcMaxBlockTokens, kNcX, ""},
        {"one_word_more", repeat("X1", kNcMaxBlockTokens + 1), kNcMaxBlockTokens, kNcRawText, "X1 X1"},
        // 1023 characters: 512 one-letter words.
        {"longest_add_in_line", repeat("a", 512), kNcMaxBlockTokens, kNcRawText, repeat("a", 512 - 255)},
        {"joined_pairs_do_not_fit", repeat("X1", 254) + " X1Y2Z3 X4  ", kNcMaxBlockTokens - 1, kNcRawText,
         "X1Y2Z3 X4"},
        {"joined_pairs_fill_the_last_slots", repeat("X1", 253) + " X1Y2Z3", kNcMaxBlockTokens, kNcZ, ""},
        {"more_pairs_than_slots", repeat("X1", 150) + " " + joined("G1", 150), 151, kNcRawText, joined("G1", 150)},
        {"comment_in_the_last_slot", repeat("X1", 255) + " ;end", kNcMaxBlockTokens, kNcComment, "end"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ParseBuffers b = BuffersFor(kNcPowerControlDialect);
        ASSERT_EQ(b.Parse(c.line.c_str()), S_OK);
        ASSERT_EQ(b.count, c.count);
        EXPECT_EQ(b.codes[c.count - 1], c.lastCode);
        if (c.lastCode == kNcRawText || c.lastCode == kNcComment) {
            EXPECT_STREQ(b.values[c.count - 1].pcVal, c.lastText.c_str());
        }
    }
}

TEST(ParseBlock, WritesNoStylePastTheLineCapacity)
{
    // Twice the add-in's line length: tokens stop at the array capacity and
    // styles at kNcMaxLineLength entries (the sanitizer guards the end).
    std::string line;
    while (line.size() < 2 * kNcMaxLineLength) {
        line += "X1 ";
    }
    ParseBuffers b = BuffersFor(kNcSiemensDialect);
    ASSERT_EQ(b.Parse(line.c_str()), S_OK);
    EXPECT_EQ(b.count, kNcMaxBlockTokens);
    EXPECT_EQ(b.styles[kNcMaxLineLength - 1], kNcStyleRawText);
}

TEST(ParseBlock, RejectsNullArguments)
{
    INT count = 0;
    INT codes[1];
    INT kinds[1];
    VARIANT values[1];
    EXPECT_EQ(ParseBlock(kNcPowerControlDialect, nullptr, &count, codes, kinds, values, nullptr), E_POINTER);
    EXPECT_EQ(ParseBlock(kNcPowerControlDialect, "X1", nullptr, codes, kinds, values, nullptr), E_POINTER);
    EXPECT_EQ(ParseBlock(kNcPowerControlDialect, "X1", &count, codes, kinds, nullptr, nullptr), E_POINTER);
    // Styles are optional.
    ASSERT_EQ(ParseBlock(kNcPowerControlDialect, "X1", &count, codes, kinds, values, nullptr), S_OK);
    EXPECT_EQ(count, 1);
}

} // namespace
} // namespace yelk
