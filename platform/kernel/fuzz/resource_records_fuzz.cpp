// The resource decoders on any bytes (the first byte picks the decoder):
// they never read past the data, and the forms that have one encoding give
// the same bytes back when re-encoded.
#include <cstdint>
#include <span>

#include "platform/kernel/resource_records.h"

namespace {

template <class Decoded, class Encode>
void CheckRoundTrip(const std::optional<Decoded>& decoded, Encode encode, std::span<const uint8_t> bytes)
{
    if (!decoded) {
        return;
    }
    const std::vector<uint8_t> again = encode(*decoded);
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    switch (data[0] % 6) {
    case 0:
        CheckRoundTrip(DecodeMenuTemplate(bytes), EncodeMenuTemplate, bytes);
        break;
    case 1:
        CheckRoundTrip(DecodeDialogTemplate(bytes), EncodeDialogTemplate, bytes);
        break;
    case 2:
        CheckRoundTrip(DecodeToolbarTemplate(bytes), EncodeToolbarTemplate, bytes);
        break;
    case 3:
        (void)DecodeAccelerators(bytes);
        break;
    case 4:
        (void)DecodeBitmap(bytes);
        break;
    default:
        (void)DecodeCursor(bytes);
        break;
    }
    return 0;
}
