// Block parsing: one line of text to tokens and character styles.
#include "postproc/blockparser.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "postproc/ncwords.h"
#include "postproc/numbertext.h"

namespace yelk {
namespace {

// How the number after an address is read.
enum class NumberRule {
    UnsignedInteger,  // 0 .. integerMax
    GTable,           // a number of kNcGCodes
    MTable,           // a number of kNcMCodes
    Real,             // realMin <= v < realMax, |v| >= minMagnitude
};

struct AddressRule {
    const char* address;  // upper case; null: the dialect's radius address
    NumberRule rule;
    NcTokenCode code;
    int32_t integerMax;
    double realMin;
    double realMax;
    double minMagnitude;
};

constexpr int32_t kAnyInteger = INT32_MAX;

constexpr AddressRule kAddressRules[] = {
    {":", NumberRule::UnsignedInteger, kNcColonNumber, kAnyInteger, 0, 0, 0},
    {"N", NumberRule::UnsignedInteger, kNcBlockNumber, kAnyInteger, 0, 0, 0},
    {"G", NumberRule::GTable, kNcRawText, 0, 0, 0, 0},
    {"M", NumberRule::MTable, kNcRawText, 0, 0, 0, 0},
    {"F", NumberRule::Real, kNcFeed, 0, kNcFeedMin, kNcFeedMax, 0},
    {"S", NumberRule::Real, kNcSpindleSpeed, 0, kNcFeedMin, kNcFeedMax, 0},
    {"T", NumberRule::UnsignedInteger, kNcTool, kNcToolMax, 0, 0, 0},
    {"X", NumberRule::Real, kNcX, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {"Y", NumberRule::Real, kNcY, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {"Z", NumberRule::Real, kNcZ, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {"I", NumberRule::Real, kNcCentreI, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {"J", NumberRule::Real, kNcCentreJ, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {"K", NumberRule::Real, kNcCentreK, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
    {nullptr, NumberRule::Real, kNcRadius, 0, kNcCoordinateMin, kNcCoordinateMax, kNcRadiusMinMagnitude},
    {"D", NumberRule::Real, kNcToolOffset, 0, kNcCoordinateMin, kNcCoordinateMax, 0},
};

// The longest address any rule reads ("CR=").
constexpr size_t kMaxAddressLength = 3;

// The row of the radius, whose address depends on the dialect.
constexpr size_t kRadiusRule = 13;
static_assert(kAddressRules[kRadiusRule].code == kNcRadius && kAddressRules[kRadiusRule].address == nullptr);

// Rows of the one-letter addresses by their (upper-case) character, -1 for none.
constexpr std::array<int8_t, 128> kOneLetterRules = [] {
    std::array<int8_t, 128> index{};
    index.fill(-1);
    for (size_t row = 0; row < std::size(kAddressRules); ++row) {
        const char* address = kAddressRules[row].address;
        if (address != nullptr) {
            index[static_cast<unsigned char>(address[0])] = static_cast<int8_t>(row);
        }
    }
    return index;
}();

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

template <size_t N>
std::optional<NcTokenCode> LookUpNumber(const NcNumberCode (&table)[N], int32_t number)
{
    for (const NcNumberCode& row : table) {
        if (row.number == number) {
            return row.code;
        }
    }
    return std::nullopt;
}

std::optional<PairToken> ReadNumber(const AddressRule& rule, std::string_view number)
{
    PairToken token{rule.code, kNcKindNone, 0, 0.0};
    if (rule.rule == NumberRule::Real) {
        const std::optional<double> value = ParseReal(number);
        if (!value || !(*value >= rule.realMin && *value < rule.realMax) || std::fabs(*value) < rule.minMagnitude) {
            return std::nullopt;
        }
        token.kind = kNcKindReal;
        token.real = *value;
        return token;
    }
    const std::optional<int32_t> value = ParseUnsignedInteger(number);
    if (!value) {
        return std::nullopt;
    }
    switch (rule.rule) {
    case NumberRule::UnsignedInteger:
        if (*value > rule.integerMax) {
            return std::nullopt;
        }
        token.kind = kNcKindInteger;
        token.integer = *value;
        return token;
    case NumberRule::GTable:
    case NumberRule::MTable: {
        const std::optional<NcTokenCode> code =
            rule.rule == NumberRule::GTable ? LookUpNumber(kNcGCodes, *value) : LookUpNumber(kNcMCodes, *value);
        if (!code) {
            return std::nullopt;
        }
        token.code = *code;
        token.kind = kNcKindNone;
        return token;
    }
    case NumberRule::Real:
        break;
    }
    return std::nullopt;
}

// One token about to be appended, and where its text comes from. Left
// without initialisers so that the parser's array of them costs nothing
// until a slot is filled.
struct PendingToken {
    PairToken token;
    size_t offset;         // of the pair in its word
    size_t length;         // of the pair
    size_t addressLength;  // of the pair's address
};

// Appends a text token holding a heap copy of `text`.
bool AppendText(NcTokenCode code, std::string_view text, INT index, INT* codes, INT* kinds, VARIANT* values)
{
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) {
        return false;
    }
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    codes[index] = code;
    kinds[index] = kNcKindText;
    VARIANT value{};
    value.vt = kNcTextVariantType;
    value.pcVal = copy;
    values[index] = value;
    return true;
}

void AppendPair(const PairToken& token, INT index, INT* codes, INT* kinds, VARIANT* values)
{
    codes[index] = token.code;
    kinds[index] = token.kind;
    VARIANT value{};
    if (token.kind == kNcKindInteger) {
        value.vt = VT_I4;
        value.lVal = token.integer;
        values[index] = value;
    } else if (token.kind == kNcKindReal) {
        value.vt = VT_R8;
        value.dblVal = token.real;
        values[index] = value;
    }
    // Tokens without a value leave their VARIANT as it was.
}

void ReleaseTexts(INT previousCount, const INT* kinds, VARIANT* values)
{
    const INT n = previousCount < 0 ? 0 : (previousCount > kNcMaxBlockTokens ? kNcMaxBlockTokens : previousCount);
    for (INT i = 0; i < n; ++i) {
        if (kinds[i] == kNcKindText && values[i].vt == kNcTextVariantType && values[i].pcVal != nullptr) {
            std::free(values[i].pcVal);
            values[i].pcVal = nullptr;
        }
    }
}

} // namespace

std::optional<PairToken> MatchAddressPair(const NcDialect& dialect, std::string_view address,
                                          std::string_view number)
{
    if (address.empty() || address.size() > kMaxAddressLength) {
        return std::nullopt;
    }
    // The dialect's radius address first (one or more letters), then the
    // one-letter addresses through their index.
    const char* radius = dialect.radiusAddress;
    size_t i = 0;
    while (i < address.size() && radius[i] != '\0' && ToUpperAscii(address[i]) == radius[i]) {
        ++i;
    }
    if (i == address.size() && radius[i] == '\0') {
        return ReadNumber(kAddressRules[kRadiusRule], number);
    }
    if (address.size() != 1) {
        return std::nullopt;
    }
    const unsigned char letter = static_cast<unsigned char>(ToUpperAscii(address[0]));
    if (letter >= kOneLetterRules.size() || kOneLetterRules[letter] < 0) {
        return std::nullopt;
    }
    return ReadNumber(kAddressRules[kOneLetterRules[letter]], number);
}

HRESULT ParseBlock(const NcDialect& dialect, const char* line, INT* count, INT* codes, INT* kinds,
                   VARIANT* values, INT* styles)
{
    if (line == nullptr || count == nullptr || codes == nullptr || kinds == nullptr || values == nullptr) {
        return E_POINTER;
    }
    ReleaseTexts(*count, kinds, values);
    *count = 0;

    const std::string_view text(line);
    // Blanks between words are plain, as the formatter writes them, so no
    // position keeps a style from an earlier line in the same buffer.
    SetStyleRange(styles, 0, text.size(), kNcStylePlain);
    INT n = 0;
    // The pairs of the word being read; a word with more pairs than slots
    // left goes to the rest-of-line token anyway.
    PendingToken pending[kNcMaxBlockTokens];  // filled before read
    WordSpan word = NextWord(text, 0);
    while (!word.Empty()) {
        const std::string_view wordText = text.substr(word.start, word.end - word.start);
        if (wordText.front() == ';') {
            // A comment holds the rest of the line and ends it.
            const size_t end = TrimmedEnd(text, word.end);
            if (!AppendText(kNcComment, text.substr(word.start + 1, end - word.start - 1), n, codes, kinds, values)) {
                *count = n;
                return E_OUTOFMEMORY;
            }
            ++n;
            SetStyleRange(styles, word.start, end - word.start, kNcStyleComment);
            break;
        }

        const WordSpan next = NextWord(text, word.end);
        const size_t slotsLeft = static_cast<size_t>(kNcMaxBlockTokens - n);
        // One slot stays free for the rest of the line while more words follow.
        const size_t usable = next.Empty() ? slotsLeft : slotsLeft - 1;

        const size_t pairs = CountAddressPairs(wordText);
        bool matched = pairs > 0 && pairs <= usable;
        for (size_t offset = 0, i = 0; matched && i < pairs; ++i) {
            const AddressPair pair = AddressPairAt(wordText, offset);
            const std::optional<PairToken> token = MatchAddressPair(dialect, pair.address, pair.number);
            if (!token) {
                matched = false;
                break;
            }
            pending[i].token = *token;
            pending[i].offset = offset;
            pending[i].addressLength = pair.address.size();
            pending[i].length = pair.address.size() + pair.number.size();
            offset += pending[i].length;
        }

        if (!matched && (usable == 0 || (pairs > usable && !next.Empty()))) {
            // No room for this word's tokens: the rest of the line becomes
            // one raw-text token in the last slot.
            const size_t end = TrimmedEnd(text, word.end);
            if (!AppendText(kNcRawText, text.substr(word.start, end - word.start), n, codes, kinds, values)) {
                *count = n;
                return E_OUTOFMEMORY;
            }
            ++n;
            SetStyleRange(styles, word.start, end - word.start, kNcStyleRawText);
            break;
        }

        if (matched) {
            for (size_t i = 0; i < pairs; ++i) {
                const PendingToken& p = pending[i];
                AppendPair(p.token, n++, codes, kinds, values);
                StyleWord(styles, word.start + p.offset, wordText.substr(p.offset, p.length), p.addressLength,
                          dialect.words[p.token.code]);
            }
        } else {
            if (!AppendText(kNcRawText, wordText, n, codes, kinds, values)) {
                *count = n;
                return E_OUTOFMEMORY;
            }
            ++n;
            SetStyleRange(styles, word.start, wordText.size(), kNcStyleRawText);
        }
        word = next;
    }
    *count = n;
    return S_OK;
}

} // namespace yelk
