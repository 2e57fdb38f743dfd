// Fuzz target: any text line read by both dialects into arrays of exactly the
// milling add-in's sizes, then written back and read again. The sanitizer
// catches any write past the arrays and any text not freed; the checks below
// catch malformed blocks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "nctokens.h"
#include "postproc/blockformatter.h"
#include "postproc/blockparser.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The add-in's parse buffers: 256 codes and kinds, 320 values, 1024 styles.
struct Buffers {
    INT count = 0;
    std::vector<INT> codes = std::vector<INT>(256);
    std::vector<INT> kinds = std::vector<INT>(256);
    std::vector<VARIANT> values = std::vector<VARIANT>(320);
    std::vector<INT> styles = std::vector<INT>(1024);

    void Parse(const NcDialect& dialect, const char* line)
    {
        Check(yelk::ParseBlock(dialect, line, &count, codes.data(), kinds.data(), values.data(), styles.data()) ==
              S_OK);
        Check(count >= 0 && count <= kNcMaxBlockTokens);
        for (INT i = 0; i < count; ++i) {
            Check(codes[i] >= 0 && codes[i] < kNcTokenCodeCount);
            switch (kinds[i]) {
            case kNcKindText:
                Check(values[i].vt == kNcTextVariantType && values[i].pcVal != nullptr);
                break;
            case kNcKindInteger:
                Check(values[i].vt == VT_I4);
                break;
            case kNcKindReal:
                Check(values[i].vt == VT_R8 && values[i].dblVal >= kNcCoordinateMin &&
                      values[i].dblVal < kNcCoordinateMax);
                break;
            default:
                Check(kinds[i] == kNcKindNone);
                break;
            }
        }
    }
    ~Buffers()
    {
        yelk::ParseBlock(kNcPowerControlDialect, "", &count, codes.data(), kinds.data(), values.data(), nullptr);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The add-in reads lines of at most 1023 characters; longer ones are
    // read as well, to exercise the capacity limits.
    const std::string line(reinterpret_cast<const char*>(data), size);
    for (const NcDialect* dialect : kNcDialects) {
        Buffers first;
        first.Parse(*dialect, line.c_str());
        // Parsing again into the same arrays releases the first texts.
        first.Parse(*dialect, line.c_str());

        for (const yelk::WordSeparator separator : {yelk::WordSeparator::None, yelk::WordSeparator::Blank}) {
            char text[kNcMaxLineLength];
            std::vector<INT> styles(kNcMaxLineLength);
            const HRESULT result = yelk::FormatBlock(*dialect, first.count, first.codes.data(), first.values.data(),
                                                     text, styles.data(), separator);
            Check(result == S_OK || result == E_INVALIDARG);
            Buffers second;
            second.Parse(*dialect, text);
        }
    }
    return 0;
}
