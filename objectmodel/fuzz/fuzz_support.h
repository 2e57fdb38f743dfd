// What the byte-form fuzz targets share: a block that a loader accepted must
// save back to the same bytes, and GetSize must agree with what Save writes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/types.h"

// Stops the run (the fuzzer records the input) when a property fails.
inline void FuzzCheck(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

// The input as a block of exactly its size, so a read past it is caught.
inline std::vector<BYTE> FuzzBlock(const uint8_t* data, size_t size) { return std::vector<BYTE>(data, data + size); }
