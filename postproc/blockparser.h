// Reading one NC line into a token block with its character styles.
#pragma once

#include <optional>
#include <string_view>

#include "nctokens.h"
#include "platform/base/hresult.h"

namespace yelk {

// The token one address-number pair reads as. Plain data without
// initialisers: the parser keeps an uninitialised array of them.
struct PairToken {
    NcTokenCode code;
    NcValueKind kind;
    int32_t integer;  // kind kNcKindInteger
    double real;      // kind kNcKindReal
};

// Matches one address (any case) and its number against the addresses the
// dialect reads: ":" and N (unsigned integer), G and M (numbers of the G and M
// tables), F and S (real, kNcFeedMin <= v < kNcFeedMax), T (0 to kNcToolMax),
// X Y Z I J K and D (real, kNcCoordinateMin <= v < kNcCoordinateMax), and the
// dialect's radius address (the same range and |v| >= kNcRadiusMinMagnitude).
// Nothing when the pair reads as no token.
std::optional<PairToken> MatchAddressPair(const NcDialect& dialect, std::string_view address,
                                          std::string_view number);

// Reads `line` into the arrays, as IPostprocessor::ParseBlock does:
// 1. Frees the texts the previous call left (positions below the entry count,
//    clamped to kNcMaxBlockTokens).
// 2. Every word becomes tokens, in order. A word starting with ";" is a
//    comment holding the rest of the line (trailing separators dropped) and
//    ends it. A word made of address-number pairs that all match gives one
//    token per pair; any other word is one raw-text token as written.
// 3. At most kNcMaxBlockTokens tokens: when the words left need more slots
//    than remain, the last slot holds the rest of the line as raw text.
// Styles come from the dialect's word table (raw text kNcStyleRawText,
// comments kNcStyleComment from ";" through the last non-blank character).
// Results: S_OK; E_POINTER for a null line, count, codes, kinds or values;
// E_OUTOFMEMORY when a text cannot be copied (the tokens before it stay).
HRESULT ParseBlock(const NcDialect& dialect, const char* line, INT* count, INT* codes, INT* kinds,
                   VARIANT* values, INT* styles);

} // namespace yelk
