// Path text as the system writes it ("\" separators, ".dll" module names,
// any letter case) turned into the file names that exist on disk.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/api.h"

// Every "\" becomes "/"; nothing else changes.
NUVEX_PLATFORM_API std::string NativePath(std::string_view path);

// A name ending in ".dll" (any case) with that ending replaced by ".so";
// any other name as it is. Works on the last component only.
NUVEX_PLATFORM_API std::string SharedLibraryName(std::string_view name);

// Case-insensitive comparison of 8-bit text (ASCII letters only fold).
NUVEX_PLATFORM_API bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Matches a file name against a pattern with "*" (any run) and "?" (any one
// character), ignoring letter case as the system's file search does. The
// pattern "*.*" matches every name, also one without a dot.
NUVEX_PLATFORM_API bool MatchesWildcard(std::string_view pattern, std::string_view name);

// The native form of `path` as it exists on disk: when a component is not
// found as written, the one entry of its folder that equals it ignoring
// case is used instead. Components that do not exist at all stay as
// written, so the result can be used to create them.
NUVEX_PLATFORM_API std::string ResolveExistingPath(std::string_view path);

// An absolute, lexically normalised native path ("." and ".." removed),
// relative paths taken from the current directory.
NUVEX_PLATFORM_API std::string AbsolutePath(std::string_view path);
