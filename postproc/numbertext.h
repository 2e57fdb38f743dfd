// Number text of NC words: writing reals with three decimals and trimmed
// zeros, and reading the number part of a word. Everything here works in the
// "C" notation (a "." point, no grouping) whatever the process locale, and
// never allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace yelk {

// Room for the longest real text: a sign, 309 integer digits, the point and
// three decimals.
inline constexpr size_t kRealTextCapacity = 320;
// Room for the longest integer text: a sign and ten digits.
inline constexpr size_t kIntegerTextCapacity = 12;

// Writes `value` rounded to three decimals, then drops trailing zeros after
// the point and the point itself when nothing follows it (12.5, 10, -0,
// 1.235). `out` must hold kRealTextCapacity characters; no zero is written.
// Returns the length.
size_t FormatReal(double value, char* out);

// Writes `value` in decimal; `out` must hold kIntegerTextCapacity characters.
size_t FormatInteger(int32_t value, char* out);

// Number characters of a word: digits and ".", and "+"/"-" when `signs`.
constexpr bool IsNumberChar(char c, bool signs)
{
    return (c >= '0' && c <= '9') || c == '.' || (signs && (c == '+' || c == '-'));
}

// Optional blanks or tabs, an optional sign, then digits with at most one
// point and at least one digit ("-" and "." alone are not numbers).
bool IsRealText(std::string_view text);

// The value of real text; nothing when IsRealText fails. Values too large for
// a double read as an infinity of their sign, too small ones as zero.
std::optional<double> ParseReal(std::string_view text);

// Optional blanks or tabs, then one or more digits, no sign.
bool IsUnsignedIntegerText(std::string_view text);

// The value of unsigned integer text; nothing when the text is not one or
// the value does not fit a 32-bit int.
std::optional<int32_t> ParseUnsignedInteger(std::string_view text);

} // namespace yelk
