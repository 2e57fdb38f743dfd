// Helpers of the postprocessor tests: token blocks built from rows, parse
// buffers of exactly the milling add-in's capacities (so the sanitizer sees
// any write past them), and styles written as one letter per character.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "nctokens.h"
#include "platform/base/hresult.h"

namespace yelk::test {

// One token of a test row: a code with an integer, a real or a text.
struct TokenRow {
    INT code;
    double number = 0.0;  // integer codes take it truncated
    const char* text = nullptr;
};

// A token block as FormatBlock reads it.
struct TokenBlock {
    std::vector<INT> codes;
    std::vector<INT> kinds;
    std::vector<VARIANT> values;
};

inline NcValueKind KindOfCode(INT code)
{
    const NcWord& entry = kNcPowerControlDialect.words[code];
    switch (entry.form) {
    case NcValueForm::Fixed:
        return kNcKindNone;
    case NcValueForm::Integer:
        return kNcKindInteger;
    case NcValueForm::Real:
        return kNcKindReal;
    case NcValueForm::Text:
        return kNcKindText;
    }
    return kNcKindNone;
}

inline TokenBlock MakeBlock(const std::vector<TokenRow>& rows)
{
    TokenBlock block;
    for (const TokenRow& row : rows) {
        VARIANT value{};
        const NcValueKind kind = (row.code >= 0 && row.code < kNcTokenCodeCount) ? KindOfCode(row.code) : kNcKindNone;
        if (kind == kNcKindInteger) {
            value.vt = VT_I4;
            value.lVal = static_cast<LONG>(row.number);
        } else if (kind == kNcKindReal) {
            value.vt = VT_R8;
            value.dblVal = row.number;
        } else if (kind == kNcKindText) {
            value.vt = kNcTextVariantType;
            value.pcVal = const_cast<char*>(row.text);
        }
        block.codes.push_back(row.code);
        block.kinds.push_back(kind);
        block.values.push_back(value);
    }
    return block;
}

// Styles as letters, one per character: p plain, n number, c comment, r raw
// text, G G word (and ":"/"N"), A axis, M M word, F feed/speed/tool letter,
// and "." for a position the call left as it was (kUntouched).
inline constexpr INT kUntouched = 99;

inline char StyleLetter(INT style)
{
    switch (style) {
    case kNcStylePlain: return 'p';
    case kNcStyleNumber: return 'n';
    case kNcStyleComment: return 'c';
    case kNcStyleRawText: return 'r';
    case kNcStyleGWord: return 'G';
    case kNcStyleAxis: return 'A';
    case kNcStyleMWord: return 'M';
    case kNcStyleFeedSpeedTool: return 'F';
    case kUntouched: return '.';
    default: return '?';
    }
}

inline std::string StyleLetters(const INT* styles, size_t count)
{
    std::string letters;
    for (size_t i = 0; i < count; ++i) {
        letters += StyleLetter(styles[i]);
    }
    return letters;
}

// The parse operation under test: a dialect's parser or a loaded object's.
using ParseFunction = std::function<HRESULT(const char*, INT*, INT*, INT*, VARIANT*, INT*)>;

// The arrays the milling add-in hands to ParseBlock, sized exactly so (256
// codes and kinds, 320 values, 1024 styles), so that the sanitizer reports
// any write past them; the last parse's texts are released at the end.
class ParseBuffers {
public:
    explicit ParseBuffers(ParseFunction parse) : m_parse(std::move(parse)) {}
    ~ParseBuffers() { m_parse("", &count, codes.data(), kinds.data(), values.data(), styles.data()); }
    ParseBuffers(const ParseBuffers&) = delete;
    ParseBuffers& operator=(const ParseBuffers&) = delete;

    // Parses with every style position reset to kUntouched first.
    HRESULT Parse(const char* line)
    {
        std::fill(styles.begin(), styles.end(), kUntouched);
        return m_parse(line, &count, codes.data(), kinds.data(), values.data(), styles.data());
    }

    INT count = 0;
    std::vector<INT> codes = std::vector<INT>(256, -1);
    std::vector<INT> kinds = std::vector<INT>(256, -1);
    std::vector<VARIANT> values = std::vector<VARIANT>(320, VARIANT{});
    std::vector<INT> styles = std::vector<INT>(1024, kUntouched);

private:
    ParseFunction m_parse;
};

} // namespace yelk::test
