// Block formatting: tokens to one line of text with its character styles.
#include "postproc/blockformatter.h"

#include <cstring>
#include <string_view>

#include "postproc/ncwords.h"
#include "postproc/numbertext.h"

namespace yelk {
namespace {

// The style of the blank between two words: plain text.
constexpr INT kBlankStyle = 0;

// The value text of one token, in a buffer large enough for any number.
struct ValueText {
    const char* text = "";
    size_t length = 0;
    char buffer[kRealTextCapacity];
};

void MakeValueText(const NcWord& entry, const VARIANT& value, ValueText& out)
{
    switch (entry.form) {
    case NcValueForm::Fixed:
        out.text = "";
        out.length = 0;
        return;
    case NcValueForm::Integer:
        out.length = FormatInteger(value.lVal, out.buffer);
        out.text = out.buffer;
        return;
    case NcValueForm::Real:
        out.length = FormatReal(value.dblVal, out.buffer);
        out.text = out.buffer;
        return;
    case NcValueForm::Text:
        out.text = value.pcVal != nullptr ? value.pcVal : "";
        out.length = std::strlen(out.text);
        return;
    }
}

} // namespace

HRESULT FormatBlock(const NcDialect& dialect, INT count, const INT* codes, const VARIANT* values, char* line,
                    INT* styles, WordSeparator separator)
{
    if (line == nullptr || (count > 0 && (codes == nullptr || values == nullptr))) {
        return E_POINTER;
    }
    if (count < 0 || count > kNcMaxBlockTokens) {
        line[0] = '\0';
        return E_INVALIDARG;
    }
    const bool blanks = !dialect.separatorOptional || separator == WordSeparator::Blank;
    constexpr size_t kMaxText = kNcMaxLineLength - 1;

    // The line is built here and copied out only when it fits, so a block
    // that is too long leaves no partial text or styles behind.
    char text[kNcMaxLineLength];
    INT textStyles[kNcMaxLineLength];
    size_t position = 0;
    for (INT i = 0; i < count; ++i) {
        if (codes[i] < 0 || codes[i] >= kNcTokenCodeCount) {
            continue;
        }
        const NcWord& entry = dialect.words[codes[i]];
        ValueText value;
        MakeValueText(entry, values[i], value);
        const size_t addressLength = std::strlen(entry.text);
        const size_t wordLength = addressLength + value.length;
        if (wordLength == 0) {
            continue;
        }
        const size_t blank = (position > 0 && blanks) ? 1 : 0;
        if (wordLength + blank > kMaxText - position) {
            line[0] = '\0';
            return E_INVALIDARG;
        }
        if (blank != 0) {
            textStyles[position] = kBlankStyle;
            text[position++] = ' ';
        }
        std::memcpy(text + position, entry.text, addressLength);
        std::memcpy(text + position + addressLength, value.text, value.length);
        StyleWord(textStyles, position, std::string_view(text + position, wordLength), addressLength, entry);
        position += wordLength;
    }
    std::memcpy(line, text, position);
    line[position] = '\0';
    if (styles != nullptr) {
        // Every character written, blanks included, gets its style.
        std::memcpy(styles, textStyles, position * sizeof(INT));
    }
    return S_OK;
}

} // namespace yelk
