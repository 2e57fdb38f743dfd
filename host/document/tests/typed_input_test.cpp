// The recognisers and readers of typed input, and the prompt they mark.
#include <gtest/gtest.h>

#include "host/document/typed_input.h"

namespace {

struct NumberCase {
    const char* text;
    bool isNumber;
    double value;
};

TEST(TypedInputTest, NumbersNeedADigitAndNothingAfterThem)
{
    const NumberCase kCases[] = {
        {"12", true, 12.0},     {"  -3.5", true, -3.5}, {"+.25", true, 0.25}, {"7.", true, 7.0},
        {"0", true, 0.0},       {"12 ", false, 0.0},    {"1.2.3", false, 0.0}, {"1e3", false, 0.0},
        {"", false, 0.0},       {"   ", false, 0.0},    {"-", false, 0.0},     {".", false, 0.0},
        {"+.", false, 0.0},     {"- 1", false, 0.0},    {"1,000", false, 0.0}, {"--1", false, 0.0},
    };
    for (const NumberCase& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text), c.isNumber);
        if (c.isNumber) {
            EXPECT_DOUBLE_EQ(ParseDouble(c.text), c.value);
        }
    }
}

struct FormCase {
    const char* text;
    bool two;
    bool three;
    TypedCoordinates point;
};

TEST(TypedInputTest, CoordinateFormsNeedTheirExactSeparators)
{
    const FormCase kCases[] = {
        {"1,2", true, false, {1.0, 2.0, 0.0}},
        {"-1.5,+2", true, false, {-1.5, 2.0, 0.0}},
        {"1,2,3", false, true, {1.0, 2.0, 3.0}},
        {" 1, 2, 3", false, true, {1.0, 2.0, 3.0}},
        {"1 ,2", false, false, {}},
        {"1,2,", false, false, {}},
        {",", false, false, {}},
        {"1,-", false, false, {}},
        {"1;2", false, false, {}},
    };
    for (const FormCase& c : kCases) {
        SCOPED_TRACE(c.text);
        TypedCoordinates point;
        EXPECT_EQ(ParseCoordinates(c.text, point), c.two);
        if (c.two) {
            EXPECT_DOUBLE_EQ(point.x, c.point.x);
            EXPECT_DOUBLE_EQ(point.y, c.point.y);
        }
        EXPECT_EQ(ParseCoordinates3(c.text, point), c.three);
        if (c.three) {
            EXPECT_DOUBLE_EQ(point.z, c.point.z);
        }
    }
    double a = 0.0;
    double b = 0.0;
    EXPECT_TRUE(ParseTwoValues("4;-5.5", a, b));
    EXPECT_DOUBLE_EQ(a, 4.0);
    EXPECT_DOUBLE_EQ(b, -5.5);
    EXPECT_FALSE(ParseTwoValues("4;5;6", a, b));
    EXPECT_FALSE(ParseTwoValues(".;5", a, b));
}

TEST(TypedInputTest, PolarEntries)
{
    const std::pair<const char*, bool> kCases[] = {
        {"<45", true}, {"  <-30.5", true}, {"< 45", false}, {"45", false}, {"<", false}, {"<-", false},
    };
    for (const auto& [text, isPolar] : kCases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParsePolar(text), isPolar);
    }
    EXPECT_DOUBLE_EQ(ParsePolarValue("  <-30.5"), -30.5);
    EXPECT_DOUBLE_EQ(ParsePolarValue("<45"), 45.0);
}

} // namespace
