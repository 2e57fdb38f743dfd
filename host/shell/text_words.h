// Words of the host's text files: runs of characters between blanks, tabs
// and line ends, as the language table and the add-in configuration files
// separate them.
#pragma once

#include <optional>
#include <string_view>

inline bool IsWordSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Moves `position` past the separators that stand there.
inline void SkipWordSeparators(std::string_view text, size_t& position)
{
    while (position < text.size() && IsWordSeparator(text[position])) {
        ++position;
    }
}

// The word after `position`, moving past it; nothing at the end of the text.
inline std::optional<std::string_view> NextWord(std::string_view text, size_t& position)
{
    SkipWordSeparators(text, position);
    if (position >= text.size()) {
        return std::nullopt;
    }
    const size_t start = position;
    while (position < text.size() && !IsWordSeparator(text[position])) {
        ++position;
    }
    return text.substr(start, position - start);
}
