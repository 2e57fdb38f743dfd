// The add-in configuration file and the class-id text of a registry key.
//
// "AddInsCfg\" + module title + ".cfg" holds whitespace-separated words: the
// first is exactly "ADDIN_CLSID", the second the add-in's class id in its
// braced registry form; the rest is ignored. The host writes it as
// "ADDIN_CLSID " and the braced id in upper-case hex, without a line end.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/guid.h"

inline constexpr const char* kAddinConfigKeyword = "ADDIN_CLSID";
inline constexpr const char* kAddinConfigFolder = "AddInsCfg\\";
inline constexpr const char* kAddinConfigExtension = ".cfg";
// A word of the file longer than this is refused rather than read.
inline constexpr size_t kAddinConfigMaxWord = 63;

// The path of a module's configuration file, relative to the program folder.
std::string AddinConfigPath(std::string_view moduleTitle);

// The class id a configuration file's text names; nothing when the first
// word is not the keyword, a word is too long or the id text is not one.
std::optional<CLSID> ReadAddinConfig(std::string_view text);

// The file's text for a class id (50 characters).
std::string FormatAddinConfig(const CLSID& classId);

// The class id of a registry key name given without its opening brace
// ("XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"): the null GUID for a text
// shorter than 37 characters; fields that cannot be read stay 0.
GUID ParseClsidText(std::string_view text);
