// CString: text operations, bad indexes, buffers, resources and formatting
// in the "C" numeric locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "platform/framework/cstring.h"
#include "platform/framework/exception.h"
#include "platform/kernel/resource.h"

namespace {

TEST(CStringText, ConstructionComparisonAndConcatenation)
{
    const CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ(static_cast<const char*>(empty), "");
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)).GetLength(), 0);
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString('-', -2), "");
    EXPECT_EQ(CString("abcdef", 3), "abc");

    CString text("Tool");
    text += ' ';
    text += CString("path");
    text += "s";
    EXPECT_EQ(text, "Tool paths");
    EXPECT_EQ(text.GetLength(), 10);
    EXPECT_EQ("<" + text + '>', "<Tool paths>");
    EXPECT_EQ('[' + CString("x") + "]", "[x]");

    EXPECT_LT(CString("abc"), CString("abd"));
    EXPECT_GT(CString("b"), "abc");
    EXPECT_NE(CString("abc"), "ABC");
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_EQ(CString("abc").Compare("abcd"), -1);
    EXPECT_EQ(CString("Pocket").CompareNoCase("POCKET"), 0);
    EXPECT_EQ(CString("a").CompareNoCase("B"), -1);
    EXPECT_EQ(CString("\xE9").Compare("e"), 1) << "bytes compare unsigned";

    text.Empty();
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringText, FindAndParts)
{
    const CString text("G01 X10.5 Y-3");
    struct FindCase {
        const char* name;
        int found;
        int expected;
    };
    const FindCase kCases[] = {
        {"char", text.Find('X'), 4},
        {"char_from_start", text.Find('1', 3), 5},
        {"char_start_past_end", text.Find('G', 40), -1},
        {"char_negative_start", text.Find('G', -5), 0},
        {"text", text.Find("Y-"), 10},
        {"text_from", text.Find("0", 7), -1},
        {"text_missing", text.Find("Z"), -1},
        {"reverse", text.ReverseFind(' '), 9},
        {"one_of", text.FindOneOf("XY"), 4},
        {"one_of_empty_set", text.FindOneOf(""), -1},
    };
    for (const FindCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.found, c.expected);
    }

    EXPECT_EQ(text.Left(3), "G01");
    EXPECT_EQ(text.Left(99), text);
    EXPECT_EQ(text.Left(-1), "");
    EXPECT_EQ(text.Mid(4), "X10.5 Y-3");
    EXPECT_EQ(text.Mid(4, 5), "X10.5");
    EXPECT_EQ(text.Mid(12, 10), "3");
    EXPECT_EQ(text.Mid(50, 2), "");
    EXPECT_EQ(text.Mid(-3, 3), "G01");
    EXPECT_EQ(text.Right(4), " Y-3");
    EXPECT_EQ(text.Right(99), text);
    EXPECT_EQ(text.SpanIncluding("G0123456789"), "G01");
    EXPECT_EQ(text.SpanExcluding("."), "G01 X10");
}

TEST(CStringText, ChangesInPlace)
{
    CString text("Mill Face");
    EXPECT_EQ(text.MakeUpper(), "MILL FACE");
    EXPECT_EQ(text.MakeLower(), "mill face");
    EXPECT_EQ(CString("\xC4x").MakeUpper(), "\xC4X") << "only ASCII letters change";
    EXPECT_EQ(text.MakeReverse(), "ecaf llim");

    text = "a,b,,c";
    EXPECT_EQ(text.Replace(',', ';'), 3);
    EXPECT_EQ(text, "a;b;;c");
    EXPECT_EQ(text.Replace(";;", "--"), 1);
    EXPECT_EQ(text, "a;b--c");
    EXPECT_EQ(text.Replace("", "x"), 0);
    EXPECT_EQ(text.Replace("-", ""), 2);
    EXPECT_EQ(text, "a;bc");
    text = "aaa";
    EXPECT_EQ(text.Replace("a", "aa"), 3) << "replacements are not rescanned";
    EXPECT_EQ(text, "aaaaaa");
    EXPECT_EQ(text.Remove('a'), 6);
    EXPECT_TRUE(text.IsEmpty());

    text = "X5";
    EXPECT_EQ(text.Insert(1, "-"), 3);
    EXPECT_EQ(text.Insert(99, '!'), 4);
    EXPECT_EQ(text.Insert(-1, '>'), 5);
    EXPECT_EQ(text, ">X-5!");
    EXPECT_EQ(text.Delete(1, 2), 3);
    EXPECT_EQ(text, ">5!");
    EXPECT_EQ(text.Delete(2, 50), 2);
    EXPECT_EQ(text.Delete(9), 2);
    EXPECT_EQ(text, ">5");

    text.SetAt(0, '<');
    EXPECT_EQ(text.GetAt(0), '<');
    EXPECT_EQ(text[1], '5');
}

TEST(CStringText, Trimming)
{
    struct TrimCase {
        const char* name;
        CString result;
        const char* expected;
    };
    const TrimCase kCases[] = {
        {"white_both", CString(" \t x y \r\n").Trim(), "x y"},
        {"white_left", CString("  x ").TrimLeft(), "x "},
        {"white_right", CString("  x \n").TrimRight(), "  x"},
        {"all_white", CString(" \t ").Trim(), ""},
        {"char", CString("--x--").Trim('-'), "x"},
        {"char_left", CString("00120").TrimLeft('0'), "120"},
        {"char_right", CString("1.500").TrimRight('0'), "1.5"},
        {"set", CString("<[x]>").Trim("<>[]"), "x"},
        {"set_empty", CString(" x ").Trim(""), " x "},
        {"nothing_to_trim", CString("x").Trim(), "x"},
    };
    for (const TrimCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST(CStringText, BadIndexesThrowInvalidArgument)
{
    CString text("ab");
    EXPECT_THROW(text.GetAt(2), CInvalidArgException);
    EXPECT_THROW(text.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(text.SetAt(2, 'x'), CInvalidArgException);
    EXPECT_THROW(CString().GetAt(0), CInvalidArgException);
    EXPECT_EQ(text, "ab");
    try {
        text.SetAt(5, 'x');
        FAIL() << "no exception";
    } catch (const CException& e) {
        EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
        char message[64];
        EXPECT_TRUE(e.GetErrorMessage(message, sizeof message));
        EXPECT_GT(std::strlen(message), 0u);
        char tiny[4];
        EXPECT_TRUE(e.GetErrorMessage(tiny, sizeof tiny));
        EXPECT_EQ(std::strlen(tiny), 3u) << "cut to the buffer, terminated";
    }
}

TEST(CStringBuffer, WrittenThroughGetBuffer)
{
    CString text("abc");
    char* buffer = text.GetBuffer(10);
    EXPECT_STREQ(buffer, "abc");
    std::strcpy(buffer, "written");
    text.ReleaseBuffer();
    EXPECT_EQ(text, "written");
    EXPECT_EQ(text.GetLength(), 7);

    buffer = text.GetBuffer(3);
    EXPECT_EQ(std::string(buffer), "written") << "a smaller request keeps the text";
    buffer[2] = 'X';
    text.ReleaseBuffer(4);
    EXPECT_EQ(text, "wrXt");

    text.ReleaseBuffer(100);
    EXPECT_EQ(text, "wrXt") << "a length past the buffer is cut to it";

    buffer = text.GetBufferSetLength(6);
    std::memcpy(buffer, "123456", 6);
    text.ReleaseBuffer();
    EXPECT_EQ(text, "123456") << "no terminator written: the whole buffer";
}

TEST(CStringResource, LoadsStringsOfTheProgram)
{
    CString text("unchanged");
    EXPECT_FALSE(text.LoadString(4321));
    EXPECT_EQ(text, "unchanged");

    ASSERT_TRUE(text.LoadString(100));
    EXPECT_EQ(text, "Send the active document through electronic mail\nSend Mail");
    EXPECT_EQ(CString(MAKEINTRESOURCE(100)), text) << "a resource id in the place of a text";
    text = MAKEINTRESOURCE(4321);
    EXPECT_TRUE(text.IsEmpty());
    text += MAKEINTRESOURCE(100);
    EXPECT_TRUE(text.IsEmpty()) << "appending an id adds nothing and reads nothing";
    ASSERT_TRUE(text.LoadString(101));
    EXPECT_EQ(text, CString('x', 300)) << "longer than the first buffer";
}

// Restores the process locale after a test that changes it.
class NumericLocale : public ::testing::Test {
protected:
    void SetUp() override { m_saved = std::setlocale(LC_ALL, nullptr); }
    void TearDown() override { std::setlocale(LC_ALL, m_saved.c_str()); }

private:
    std::string m_saved;
};

TEST_F(NumericLocale, FormatWritesADecimalPointInEveryLocale)
{
    const char* const kCommaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"};
    bool switched = false;
    for (const char* name : kCommaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    char check[32];
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    ASSERT_STREQ(check, "1,5") << "the locale writes a comma, so the test can fail";

    struct FormatCase {
        const char* name;
        CString result;
        const char* expected;
    };
    CString appended("X");
    appended.AppendFormat("%.3f Y%.3f", 10.25, -0.5);
    CString longText;
    longText.Format("%s|%0400.1f", "start", 2.5);
    const auto formatted = [](const char* format, auto... values) {
        CString text;
        text.Format(format, values...);
        return text;
    };
    const FormatCase kCases[] = {
        {"fixed", formatted("%.4f", 3.14159), "3.1416"},
        {"general", formatted("%g", 0.000125), "0.000125"},
        {"exponent", formatted("%e", 1234.5), "1.234500e+03"},
        {"integer_and_text", formatted("N%d %s", 42, "G1"), "N42 G1"},
        {"space_flag", formatted("% d", 7), " 7"},
        {"no_grouping", formatted("%'d", 1234567), "1234567"},
        {"appended", appended, "X10.250 Y-0.500"},
    };
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
    EXPECT_EQ(longText.GetLength(), 406) << "longer than the first formatting buffer";
    EXPECT_EQ(longText.Right(4), "02.5");
    std::snprintf(check, sizeof check, "%.1f", 1.5);
    EXPECT_STREQ(check, "1,5") << "the thread's locale is restored";
}

} // namespace
