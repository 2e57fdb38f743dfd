// The add-in configuration file and the class-id text of a registry key.
#include "host/shell/addin_config.h"

#include <array>
#include <cstdint>

#include "host/shell/text_words.h"
#include "platform/base/hex.h"
#include "platform/kernel/classobject.h"

namespace {

// The positions of the dashes and the closing brace, which become blanks.
constexpr std::array<size_t, 5> kBlankedPositions = {8, 13, 18, 23, 36};
// Blanks go in before these positions, the last first, so that the fourth
// group's two bytes and the last group's six bytes stand alone.
constexpr std::array<size_t, 6> kSplitPositions = {34, 32, 30, 28, 26, 21};
constexpr size_t kClsidTextLength = 37;
constexpr size_t kClsidFields = 11;

} // namespace

std::string AddinConfigPath(std::string_view moduleTitle)
{
    return std::string(kAddinConfigFolder) + std::string(moduleTitle) + kAddinConfigExtension;
}

std::optional<CLSID> ReadAddinConfig(std::string_view text)
{
    size_t position = 0;
    const std::optional<std::string_view> keyword = NextWord(text, position);
    if (!keyword || keyword->size() > kAddinConfigMaxWord || *keyword != kAddinConfigKeyword) {
        return std::nullopt;
    }
    const std::optional<std::string_view> idText = NextWord(text, position);
    if (!idText || idText->size() > kAddinConfigMaxWord) {
        return std::nullopt;
    }
    const std::string word(*idText);
    CLSID classId{};
    if (FAILED(CLSIDFromString(word.c_str(), &classId))) {
        return std::nullopt;
    }
    return classId;
}

std::string FormatAddinConfig(const CLSID& classId)
{
    return std::string(kAddinConfigKeyword) + " " + GuidToText(classId, GuidCase::Upper);
}

GUID ParseClsidText(std::string_view text)
{
    GUID result{};
    if (text.size() < kClsidTextLength) {
        return result;
    }
    std::string spaced(text);
    for (size_t position : kBlankedPositions) {
        spaced[position] = ' ';
    }
    for (size_t position : kSplitPositions) {
        spaced.insert(position, 1, ' ');
    }
    // Eleven hexadecimal numbers, each kept at its field's width; reading
    // stops at the first that is not there.
    std::array<uint32_t, kClsidFields> values{};
    size_t position = 0;
    size_t read = 0;
    while (read < kClsidFields) {
        while (position < spaced.size() && IsWordSeparator(spaced[position])) {
            ++position;
        }
        if (position >= spaced.size() || HexDigitValue(spaced[position]) < 0) {
            break;
        }
        uint32_t value = 0;
        while (position < spaced.size() && HexDigitValue(spaced[position]) >= 0) {
            value = (value << 4) | static_cast<uint32_t>(HexDigitValue(spaced[position]));
            ++position;
        }
        values[read++] = value;
    }
    result.Data1 = values[0];
    result.Data2 = static_cast<uint16_t>(values[1]);
    result.Data3 = static_cast<uint16_t>(values[2]);
    for (size_t i = 0; i < 8; ++i) {
        result.Data4[i] = static_cast<uint8_t>(values[3 + i]);
    }
    return result;
}
