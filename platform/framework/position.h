// POSITION: the opaque place of an element in a list or map, null for
// "none" (before the first or after the last element).
#pragma once

struct __POSITION;
using POSITION = __POSITION*;

// Start value for a map walk, so that GetNextAssoc can tell it from the end.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
