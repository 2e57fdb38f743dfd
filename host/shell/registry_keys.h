// Registry keys as the add-in host reads them: a key handle that closes
// itself, and the walk over the sub-keys of the classes' "CLSID" key.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>

#include "platform/kernel/registry.h"

struct OpenedKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using OpenedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, OpenedKeyCloser>;

// What a visit answers: go on to the next key, or stop.
enum class KeyWalk { Continue, Stop };

// Calls `visit` with the name of every sub-key of "CLSID" under the classes
// root, in enumeration order, until it answers Stop or the enumeration
// ends. FALSE when the "CLSID" key cannot be opened.
BOOL ForEachClassKey(const std::function<KeyWalk(HKEY classes, std::string_view name)>& visit);
