// The words of a resource script: lines split into words, quoted texts and
// "|", numbers, and the names a script may use without defining them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rescomp {

struct Token {
    enum class Kind { Word, Text, Bar };
    Kind kind;
    std::string value;
};

struct Line {
    std::string file;
    int number = 0;
    std::vector<Token> tokens;
};

// An error at a line of the script; caught per script and reported.
struct ScriptError {
    std::string message;
};

[[noreturn]] inline void Fail(const std::string& message) { throw ScriptError{message}; }

// The folder part of a path, "." for a bare file name.
std::string FolderOf(const std::string& path);

// Splits one line into words, quoted texts and "|"; "," separates like a
// blank; "//" outside a text starts a comment. Fails on a bad escape or an
// unclosed text.
std::vector<Token> Tokenize(const std::string& text);

// A decimal or "0x" hexadecimal number, optionally negative, of at most 32
// bits; nothing for any other word.
std::optional<int64_t> ParseNumber(const std::string& word);

// Names a script may use without defining them: window, dialog and control
// styles, virtual keys and the standard dialog ids.
const std::map<std::string, int64_t>& BuiltinNames();

} // namespace rescomp
