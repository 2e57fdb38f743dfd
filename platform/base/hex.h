// The value of a hexadecimal digit, shared by every reader of hex text
// (GUIDs, the registry file, configuration files, resource scripts).
#pragma once

// 0 to 15 for '0'-'9', 'a'-'f' and 'A'-'F'; -1 for any other character.
inline constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// 0 to 255 for two hexadecimal digits, high first; -1 when either is not one.
inline constexpr int HexByteValue(char high, char low)
{
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    return h < 0 || l < 0 ? -1 : h * 16 + l;
}
