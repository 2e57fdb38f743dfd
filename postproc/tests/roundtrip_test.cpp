// Property test: random blocks formatted in each dialect, with and without
// blanks, read back to the same tokens and the values as printed.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "postproc/blockformatter.h"
#include "postproc/blockparser.h"
#include "postproc/tests/blocktestsupport.h"

namespace yelk {
namespace {

// Values are printed with three decimals, so they read back within half a
// thousandth (and a little for the binary representation).
constexpr double kPrintedPrecision = 0.0005 + 1e-9;
constexpr uint32_t kSeed = 20261209;
constexpr int kBlocksPerConfiguration = 3000;

// Codes that have a word with an address in both dialects.
const INT kWordCodes[] = {
    kNcColonNumber, kNcBlockNumber, kNcRapid, kNcLinear, kNcArcClockwise, kNcArcCounterClockwise, kNcPlaneXY,
    kNcPlaneXZ, kNcPlaneYZ, kNcAbsolute, kNcIncremental, kNcInch, kNcMetric, kNcFeedPerMinute,
    kNcFeedPerRevolution, kNcCompensationOff, kNcCompensationLeft, kNcCompensationRight, kNcProgramEnd, kNcFeed,
    kNcSpindleSpeed, kNcTool, kNcX, kNcY, kNcZ, kNcCentreI, kNcCentreJ, kNcCentreK, kNcRadius,
    kNcSpindleClockwise, kNcSpindleCounterClockwise, kNcM36, kNcM35, kNcProgramStop, kNcOptionalStop,
    kNcToolOffset, kNcG450, kNcG451,
};

class RandomBlocks {
public:
    explicit RandomBlocks(uint32_t seed) : m_random(seed) {}

    // A block of one to eight tokens with values inside the read ranges.
    // Where blanks separate the words, also raw-text words and sometimes a
    // comment at the end: glued to a word, text reads as part of it.
    test::TokenBlock Next(bool blanks)
    {
        m_texts.clear();
        m_texts.reserve(16);
        std::vector<test::TokenRow> rows;
        const int n = Uniform(1, 8);
        for (int i = 0; i < n; ++i) {
            if (blanks && Uniform(0, 9) == 0) {
                rows.push_back({kNcRawText, 0, Text("abcdefghopquvw", Uniform(1, 6))});
                continue;
            }
            const INT code = kWordCodes[Uniform(0, static_cast<int>(std::size(kWordCodes)) - 1)];
            rows.push_back({code, ValueFor(code)});
        }
        if (blanks && Uniform(0, 4) == 0) {
            rows.push_back({kNcComment, 0, Text(" abcXYZ019.;-=", Uniform(0, 12), true)});
        }
        return test::MakeBlock(rows);
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // A multiple of 0.001 in [low, high] thousandths.
    double Thousandths(int low, int high) { return Uniform(low, high) / 1000.0; }

    double ValueFor(INT code)
    {
        switch (code) {
        case kNcColonNumber:
        case kNcBlockNumber:
            return Uniform(0, 2147483647);
        case kNcTool:
            return Uniform(0, kNcToolMax);
        case kNcFeed:
        case kNcSpindleSpeed:
            return Thousandths(1, 99999998);
        case kNcRadius: {
            const double magnitude = Thousandths(10, 99999998);
            return Uniform(0, 1) == 0 ? magnitude : -magnitude;
        }
        default:
            return Thousandths(-99999999, 99999998);
        }
    }

    // Random text from `alphabet`; comment texts end with a letter so that
    // no trailing blank is trimmed away.
    const char* Text(const char* alphabet, int length, bool endWithLetter = false)
    {
        std::string text;
        const int size = static_cast<int>(std::strlen(alphabet));
        for (int i = 0; i < length; ++i) {
            text += alphabet[Uniform(0, size - 1)];
        }
        if (endWithLetter) {
            text += 'z';
        }
        m_texts.push_back(text);
        return m_texts.back().c_str();
    }

    std::mt19937 m_random;
    std::vector<std::string> m_texts;
};

TEST(FormatThenParse, GivesTheSameTokensInEveryConfiguration)
{
    std::printf("format/parse property test seed %u\n", kSeed);
    struct Configuration {
        const char* name;
        const NcDialect* dialect;
        WordSeparator separator;
    };
    const Configuration kConfigurations[] = {
        {"power_blanks", &kNcPowerControlDialect, WordSeparator::Blank},
        {"power_joined", &kNcPowerControlDialect, WordSeparator::None},
        {"siemens_blanks", &kNcSiemensDialect, WordSeparator::Blank},
        {"siemens_no_switch", &kNcSiemensDialect, WordSeparator::None},
    };
    RandomBlocks random(kSeed);
    for (const Configuration& configuration : kConfigurations) {
        SCOPED_TRACE(configuration.name);
        const bool blanks = !configuration.dialect->separatorOptional ||
                            configuration.separator == WordSeparator::Blank;
        test::ParseBuffers b([&](const char* line, INT* count, INT* codes, INT* kinds, VARIANT* values,
                                 INT* styles) {
            return ParseBlock(*configuration.dialect, line, count, codes, kinds, values, styles);
        });
        for (int block = 0; block < kBlocksPerConfiguration; ++block) {
            const test::TokenBlock tokens = random.Next(blanks);
            char line[kNcMaxLineLength];
            std::vector<INT> styles(kNcMaxLineLength, test::kUntouched);
            ASSERT_EQ(FormatBlock(*configuration.dialect, static_cast<INT>(tokens.codes.size()), tokens.codes.data(),
                                  tokens.values.data(), line, styles.data(), configuration.separator),
                      S_OK);
            SCOPED_TRACE(std::string("block ") + std::to_string(block) + ": " + line);
            ASSERT_EQ(b.Parse(line), S_OK);
            ASSERT_EQ(b.count, static_cast<INT>(tokens.codes.size()));
            for (size_t i = 0; i < tokens.codes.size(); ++i) {
                ASSERT_EQ(b.codes[i], tokens.codes[i]) << "token " << i;
                ASSERT_EQ(b.kinds[i], tokens.kinds[i]) << "token " << i;
                switch (tokens.kinds[i]) {
                case kNcKindInteger:
                    ASSERT_EQ(b.values[i].lVal, tokens.values[i].lVal) << "token " << i;
                    break;
                case kNcKindReal:
                    ASSERT_NEAR(b.values[i].dblVal, tokens.values[i].dblVal, kPrintedPrecision) << "token " << i;
                    break;
                case kNcKindText:
                    ASSERT_STREQ(b.values[i].pcVal, tokens.values[i].pcVal) << "token " << i;
                    break;
                default:
                    break;
                }
            }
            // Reading colours each character as writing did.
            for (size_t i = 0; i < std::strlen(line); ++i) {
                ASSERT_EQ(b.styles[i], styles[i]) << "character " << i;
            }
        }
    }
}

} // namespace
} // namespace yelk
