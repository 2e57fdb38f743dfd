// The add-in's own resources (resources/strimo.nrc), found in the module
// that holds this code.
#pragma once

#include <optional>

#include "platform/base/types.h"
#include "platform/kernel/resource_records.h"

// A new bitmap of the add-in's bitmap resource; null when there is none.
// The caller owns it.
HBITMAP LoadAddinBitmap(int id);
// The add-in's dialog template; nothing when there is none.
std::optional<DialogTemplate> LoadAddinDialog(int id);
