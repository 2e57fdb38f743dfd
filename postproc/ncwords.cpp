// Words, address-number pairs and character styles of NC lines.
#include "postproc/ncwords.h"

namespace yelk {

WordSpan NextWord(std::string_view line, size_t from)
{
    size_t start = from;
    while (start < line.size() && IsWordSeparator(line[start])) {
        ++start;
    }
    size_t end = start;
    while (end < line.size() && !IsWordSeparator(line[end])) {
        ++end;
    }
    return {start, end};
}

size_t TrimmedEnd(std::string_view line, size_t from)
{
    size_t end = line.size();
    while (end > from && IsWordSeparator(line[end - 1])) {
        --end;
    }
    return end;
}

size_t CountAddressPairs(std::string_view word)
{
    if (word.empty() || IsNumberChar(word.front(), true) || !IsNumberChar(word.back(), true)) {
        return 0;
    }
    size_t pairs = 0;
    for (size_t i = 1; i < word.size(); ++i) {
        // Each change from an address character to a number character closes
        // one address and opens its number.
        if (IsNumberChar(word[i], true) && !IsNumberChar(word[i - 1], true)) {
            ++pairs;
        }
    }
    return pairs;
}

AddressPair AddressPairAt(std::string_view word, size_t offset)
{
    size_t numberStart = offset;
    while (numberStart < word.size() && !IsNumberChar(word[numberStart], true)) {
        ++numberStart;
    }
    size_t numberEnd = numberStart;
    while (numberEnd < word.size() && IsNumberChar(word[numberEnd], true)) {
        ++numberEnd;
    }
    return {word.substr(offset, numberStart - offset), word.substr(numberStart, numberEnd - numberStart), offset};
}

void SetStyleRange(INT* styles, size_t index, size_t count, INT style)
{
    constexpr size_t kCapacity = kNcMaxLineLength;
    if (styles == nullptr || index >= kCapacity) {
        return;
    }
    const size_t end = count < kCapacity - index ? index + count : kCapacity;
    for (size_t i = index; i < end; ++i) {
        styles[i] = style;
    }
}

void StyleWord(INT* styles, size_t index, std::string_view word, size_t addressLength, const NcWord& entry)
{
    if (styles == nullptr) {
        return;
    }
    switch (entry.form) {
    case NcValueForm::Text:
        SetStyleRange(styles, index, word.size(), entry.style);
        return;
    case NcValueForm::Fixed:
        if (entry.letters == 0 || entry.letters >= word.size()) {
            SetStyleRange(styles, index, word.size(), entry.style);
        } else {
            SetStyleRange(styles, index, entry.letters, entry.style);
            SetStyleRange(styles, index + entry.letters, word.size() - entry.letters, kNcStyleNumber);
        }
        return;
    case NcValueForm::Integer:
    case NcValueForm::Real:
        for (size_t i = 0; i < addressLength; ++i) {
            SetStyleRange(styles, index + i, 1, word[i] == '=' ? kNcStylePlain : entry.style);
        }
        SetStyleRange(styles, index + addressLength, word.size() - addressLength, kNcStyleNumber);
        return;
    }
}

} // namespace yelk
