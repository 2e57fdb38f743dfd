// Writing a token block as one NC line in a dialect.
#pragma once

#include "nctokens.h"
#include "platform/base/hresult.h"

namespace yelk {

// Separator switch of FormatBlock.
enum class WordSeparator { None, Blank };

// Writes `count` tokens as one line, as IPostprocessor::FormatBlock does:
// each code takes its dialect word (fixed, or address and value read by code:
// lVal, dblVal or pcVal); codes without a word and empty texts write nothing.
// A blank goes between words when the dialect always writes one or
// `separator` asks for it. `line` gets the text and its zero, `styles` (may
// be null) one style per character written, blanks excepted.
// Results: S_OK; E_POINTER when line is null, or codes or values are null
// with a non-zero count; E_INVALIDARG when count is negative or above
// kNcMaxBlockTokens, or the text would not fit in kNcMaxLineLength bytes
// (the line is then empty and no style is written).
HRESULT FormatBlock(const NcDialect& dialect, INT count, const INT* codes, const VARIANT* values, char* line,
                    INT* styles, WordSeparator separator);

} // namespace yelk
