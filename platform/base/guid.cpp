// GUID text and byte conversions.
#include "platform/base/guid.h"

#include <cstdio>

#include "platform/base/hex.h"

namespace {

// Reads `digits` hex digits at text[pos]; false when any is not a hex digit.
bool ReadHex(std::string_view text, size_t pos, size_t digits, uint64_t& value)
{
    value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int v = HexDigitValue(text[pos + i]);
        if (v < 0) {
            return false;
        }
        value = (value << 4) | static_cast<uint64_t>(v);
    }
    return true;
}

} // namespace

std::string GuidToText(REFGUID guid, GuidCase letterCase)
{
    const char* format = letterCase == GuidCase::Upper
        ? "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}"
        : "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, format, guid.Data1, guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                  guid.Data4[7]);
    return buffer;
}

std::optional<GUID> GuidFromText(std::string_view text)
{
    // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}
    // 0 1       9    14   19   24           37
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-') {
        return std::nullopt;
    }
    GUID guid{};
    uint64_t v = 0;
    if (!ReadHex(text, 1, 8, v)) {
        return std::nullopt;
    }
    guid.Data1 = static_cast<uint32_t>(v);
    if (!ReadHex(text, 10, 4, v)) {
        return std::nullopt;
    }
    guid.Data2 = static_cast<uint16_t>(v);
    if (!ReadHex(text, 15, 4, v)) {
        return std::nullopt;
    }
    guid.Data3 = static_cast<uint16_t>(v);
    static constexpr size_t kByteOffsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (size_t i = 0; i < 8; ++i) {
        if (!ReadHex(text, kByteOffsets[i], 2, v)) {
            return std::nullopt;
        }
        guid.Data4[i] = static_cast<uint8_t>(v);
    }
    return guid;
}

void GuidToBytes(REFGUID guid, uint8_t out[16])
{
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(guid.Data1 >> (8 * i));
    }
    out[4] = static_cast<uint8_t>(guid.Data2);
    out[5] = static_cast<uint8_t>(guid.Data2 >> 8);
    out[6] = static_cast<uint8_t>(guid.Data3);
    out[7] = static_cast<uint8_t>(guid.Data3 >> 8);
    std::memcpy(out + 8, guid.Data4, 8);
}

GUID GuidFromBytes(const uint8_t in[16])
{
    GUID guid{};
    guid.Data1 = static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                 (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
    guid.Data2 = static_cast<uint16_t>(in[4] | (in[5] << 8));
    guid.Data3 = static_cast<uint16_t>(in[6] | (in[7] << 8));
    std::memcpy(guid.Data4, in + 8, 8);
    return guid;
}
