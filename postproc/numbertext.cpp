// Number text of NC words, written and read without the C library's
// locale-dependent conversions.
#include "postproc/numbertext.h"

#include <charconv>
#include <limits>

namespace yelk {
namespace {

std::string_view SkipLeadingBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return text.substr(i);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

size_t FormatReal(double value, char* out)
{
    const auto result = std::to_chars(out, out + kRealTextCapacity, value, std::chars_format::fixed, 3);
    size_t length = static_cast<size_t>(result.ptr - out);
    // Infinities and NaN have no point and are left as they are.
    bool hasPoint = false;
    for (size_t i = 0; i < length; ++i) {
        hasPoint = hasPoint || out[i] == '.';
    }
    if (hasPoint) {
        while (out[length - 1] == '0') {
            --length;
        }
        if (out[length - 1] == '.') {
            --length;
        }
    }
    return length;
}

size_t FormatInteger(int32_t value, char* out)
{
    const auto result = std::to_chars(out, out + kIntegerTextCapacity, value);
    return static_cast<size_t>(result.ptr - out);
}

bool IsRealText(std::string_view text)
{
    text = SkipLeadingBlanks(text);
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        text.remove_prefix(1);
    }
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0 && points <= 1;
}

std::optional<double> ParseReal(std::string_view text)
{
    if (!IsRealText(text)) {
        return std::nullopt;
    }
    text = SkipLeadingBlanks(text);
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    double magnitude = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range without an exponent: huge when a non-zero digit stands
        // before the point, otherwise a value below the smallest double.
        magnitude = 0.0;
        for (char c : text) {
            if (c == '.') {
                break;
            }
            if (c != '0') {
                magnitude = std::numeric_limits<double>::infinity();
                break;
            }
        }
    }
    return negative ? -magnitude : magnitude;
}

bool IsUnsignedIntegerText(std::string_view text)
{
    text = SkipLeadingBlanks(text);
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<int32_t> ParseUnsignedInteger(std::string_view text)
{
    if (!IsUnsignedIntegerText(text)) {
        return std::nullopt;
    }
    text = SkipLeadingBlanks(text);
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace yelk
