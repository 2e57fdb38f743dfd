// Splitting an NC line into words and a word into address-number pairs, and
// colouring a word's characters.
#pragma once

#include <cstddef>
#include <string_view>

#include "nctokens.h"
#include "postproc/numbertext.h"

namespace yelk {

// Word separators: blank, tab, CR and LF.
constexpr bool IsWordSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A word's place in its line: [start, end). An empty span means no more words.
struct WordSpan {
    size_t start = 0;
    size_t end = 0;
    bool Empty() const { return start == end; }
};

// The next word at or after `from`: separators are skipped, and the word runs
// to the next separator or the end of the line.
WordSpan NextWord(std::string_view line, size_t from);

// Index one past the last character of `line` that is not a separator, at
// least `from`.
size_t TrimmedEnd(std::string_view line, size_t from);

// One address and the number that follows it, with the address's offset in
// its word.
struct AddressPair {
    std::string_view address;
    std::string_view number;
    size_t offset = 0;
};

// How many address-number pairs a word is made of: it must begin with a
// character that is not a number character and end with one (signs count as
// number characters), and then every run of other characters is an address
// and the run of number characters after it its number. 0 when the word is
// not such a sequence.
size_t CountAddressPairs(std::string_view word);

// The pair starting at `offset` of a word that CountAddressPairs accepts.
AddressPair AddressPairAt(std::string_view word, size_t offset);

// styles[index .. index+count-1] = style, clipped to kNcMaxLineLength
// entries; nothing when styles is null.
void SetStyleRange(INT* styles, size_t index, size_t count, INT style);

// Colours a word of `entry` as the dialect table describes it, starting at
// `index` of the line: the word is the address (or fixed word) of length
// `addressLength` followed by its value.
void StyleWord(INT* styles, size_t index, std::string_view word, size_t addressLength, const NcWord& entry);

} // namespace yelk
