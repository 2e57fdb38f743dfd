// Number text: writing reals and integers, and recognising and reading the
// number part of a word.
#include "postproc/numbertext.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace yelk {
namespace {

std::string Real(double value)
{
    char buffer[kRealTextCapacity];
    return std::string(buffer, FormatReal(value, buffer));
}

TEST(FormatReal, RoundsToThreeDecimalsAndTrimsZeros)
{
    struct Case {
        const char* name;
        double value;
        const char* text;
    };
    const Case kCases[] = {
        {"one_decimal", 12.5, "12.5"},
        {"whole", 10.0, "10"},
        {"tiny_negative_keeps_sign", -0.0004, "-0"},
        {"zero", 0.0, "0"},
        {"rounds_up", 1.23456, "1.235"},
        {"two_decimals", 1200.25, "1200.25"},
        {"three_decimals", -99999.999, "-99999.999"},
        {"rounds_to_whole", 2.9999, "3"},
        {"large", 1.0e6, "1000000"},
        {"zeros_before_point_stay", 100.0, "100"},
        {"largest_double", std::numeric_limits<double>::max(), nullptr},
        {"infinity", std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string text = Real(c.value);
        if (c.text != nullptr) {
            EXPECT_EQ(text, c.text);
        } else {
            EXPECT_EQ(text.size(), 309u);  // all integer digits, no point left
        }
    }
}

TEST(FormatInteger, WritesDecimal)
{
    char buffer[kIntegerTextCapacity];
    EXPECT_EQ(std::string(buffer, FormatInteger(0, buffer)), "0");
    EXPECT_EQ(std::string(buffer, FormatInteger(-2147483647 - 1, buffer)), "-2147483648");
    EXPECT_EQ(std::string(buffer, FormatInteger(32000, buffer)), "32000");
}

TEST(ParseReal, AcceptsSignDigitsAndOnePoint)
{
    struct Case {
        const char* name;
        const char* text;
        bool isReal;
        double value;
    };
    const Case kCases[] = {
        {"decimal", "12.5", true, 12.5},
        {"negative", "-3", true, -3.0},
        {"plus_and_trailing_point", "+2.", true, 2.0},
        {"leading_point", ".5", true, 0.5},
        {"leading_blanks", " \t7", true, 7.0},
        {"leading_zeros", "007.250", true, 7.25},
        {"sign_only", "-", false, 0},
        {"plus_only", "+", false, 0},
        {"point_only", ".", false, 0},
        {"sign_and_point", "-.", false, 0},
        {"empty", "", false, 0},
        {"blanks_only", "  ", false, 0},
        {"two_points", "1.2.3", false, 0},
        {"inner_sign", "1-2", false, 0},
        {"two_signs", "--1", false, 0},
        {"letter", "12a", false, 0},
        {"exponent", "1e5", false, 0},
        {"trailing_blank", "1 ", false, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsRealText(c.text), c.isReal);
        const std::optional<double> value = ParseReal(c.text);
        ASSERT_EQ(value.has_value(), c.isReal);
        if (c.isReal) {
            EXPECT_DOUBLE_EQ(*value, c.value);
        }
    }
}

TEST(ParseReal, OutOfRangeMagnitudes)
{
    const std::string huge = "-" + std::string(400, '9');
    const std::optional<double> hugeValue = ParseReal(huge);
    ASSERT_TRUE(hugeValue.has_value());
    EXPECT_TRUE(std::isinf(*hugeValue) && *hugeValue < 0);

    const std::string tiny = "0." + std::string(400, '0') + "1";
    const std::optional<double> tinyValue = ParseReal(tiny);
    ASSERT_TRUE(tinyValue.has_value());
    EXPECT_EQ(std::fpclassify(*tinyValue), FP_ZERO);

    const std::optional<double> negativeZero = ParseReal("-0");
    ASSERT_TRUE(negativeZero.has_value());
    EXPECT_TRUE(std::signbit(*negativeZero));
}

TEST(ParseUnsignedInteger, DigitsOnlyWithinInt32)
{
    struct Case {
        const char* name;
        const char* text;
        std::optional<int32_t> value;
    };
    const Case kCases[] = {
        {"leading_zeros", "007", 7},
        {"largest", "2147483647", 2147483647},
        {"overflow", "2147483648", std::nullopt},
        {"sign", "-1", std::nullopt},
        {"plus", "+1", std::nullopt},
        {"point", "1.0", std::nullopt},
        {"empty", "", std::nullopt},
        {"leading_blank", " 5", 5},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseUnsignedInteger(c.text), c.value);
    }
}

// Switches the process to a locale whose decimal mark is a comma, if the
// system has one, and back at the end.
class CommaLocale {
public:
    CommaLocale()
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                m_active = std::localeconv()->decimal_point[0] == ',';
                if (m_active) {
                    return;
                }
            }
        }
        std::setlocale(LC_ALL, m_previous.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

TEST(NumberText, IgnoresTheProcessLocale)
{
    CommaLocale locale;
    if (!locale.Active()) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    EXPECT_EQ(Real(12.5), "12.5");
    EXPECT_EQ(Real(-1200.25), "-1200.25");
    const std::optional<double> value = ParseReal("12.5");
    ASSERT_TRUE(value.has_value());
    EXPECT_DOUBLE_EQ(*value, 12.5);
    EXPECT_FALSE(IsRealText("12,5"));
}

} // namespace
} // namespace yelk
