// IPostprocessor: a postprocessor object of a plug-in in the "PostProc"
// folder, which translates one NC block between tokens and text in its
// controller's dialect; and the two functions every such plug-in exports.
// The token block (codes, kinds, styles, capacities) is in nctokens.h.
#pragma once

#include "nctokens.h"
#include "platform/base/guid.h"
#include "platform/base/hresult.h"
#include "platform/base/types.h"
#include "platform/com/unknwn.h"
#include "platform/com/variant.h"

inline constexpr GUID IID_IPostprocessor = {0xbb72a7ee, 0xe712, 0x44ba, {0x93, 0xc9, 0x63, 0x56, 0xb2, 0xc2, 0x15, 0x41}};

struct IPostprocessor : IUnknown {
    // Copies the display name with its terminating zero into `buffer`, which
    // must hold it (the longest name needs 22 bytes). E_POINTER for null.
    virtual HRESULT STDMETHODCALLTYPE GetName(char* buffer) = 0;

    // Reads one line (without its line end) into a token block.
    // - count: on entry the number of tokens the previous call left in these
    //   same arrays (0 the first time); their texts are freed first. On
    //   return the number of tokens of this line.
    // - codes, kinds, values: at least kNcMaxBlockTokens entries each. A line
    //   with more words keeps its first kNcMaxBlockTokens - 1 tokens and
    //   holds the rest of the line as one raw-text token in the last slot.
    // - styles: at least kNcMaxLineLength entries, or null; the styles of the
    //   characters of each word are written, blanks keep theirs, and
    //   characters at kNcMaxLineLength and beyond get none.
    // Text values are heap copies owned by these arrays until the next call
    // on them. Every word becomes a token; S_OK, or E_POINTER for a null
    // argument, or E_OUTOFMEMORY when a text cannot be copied (count then
    // holds the tokens read before it, all valid).
    virtual HRESULT STDMETHODCALLTYPE ParseBlock(const char* line, INT* count, INT* codes, INT* kinds,
                                                 VARIANT* values, INT* styles) = 0;

    // Writes a block of `count` tokens as one line without a line end.
    // Values are read by code (integers from lVal, reals from dblVal, texts
    // from pcVal); kinds is not read. `line` receives the text and its zero
    // (at most kNcMaxLineLength bytes), `styles` (may be null) one style per
    // character written. `separate` non-zero puts a blank between words in
    // a dialect that makes it optional; the other dialect always does.
    // S_OK; E_POINTER for a null argument; E_INVALIDARG, with an empty line,
    // when count is negative or above kNcMaxBlockTokens or the line would not
    // fit in kNcMaxLineLength bytes.
    virtual HRESULT STDMETHODCALLTYPE FormatBlock(INT count, const INT* codes, const INT* kinds,
                                                  const VARIANT* values, char* line, INT* styles,
                                                  BOOL separate) = 0;

protected:
    ~IPostprocessor() = default;
};

// The plug-in's exports, looked up by these names. GetPostprocessorCount
// writes how many postprocessors the plug-in offers (E_POINTER for null).
// CreatePostprocessor makes the one at `index` and hands over its only
// reference: the object's count starts at 1, the caller owns it without an
// AddRef, and its Release deletes it once nobody else holds a reference. E_FAIL for an unknown index (*out
// untouched), E_OUTOFMEMORY with *out null when allocation fails.
inline constexpr char kGetPostprocessorCountExport[] = "GetPostprocessorCount";
inline constexpr char kCreatePostprocessorExport[] = "CreatePostprocessor";
using GetPostprocessorCountFunction = HRESULT (*)(INT* count);
using CreatePostprocessorFunction = HRESULT (*)(INT index, IPostprocessor** out);
