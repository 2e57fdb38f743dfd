// Fuzz target: the byte-form loaders of the line and arc move entities. Any
// block must be refused or taken whole, and a taken block saves back to the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "addins/entities/arc_entity.h"
#include "addins/entities/line_entity.h"

namespace {

template <class Entity>
void LoadAndSaveBack(const uint8_t* data, size_t size)
{
    Entity entity;
    entity.AddRef();
    if (size > UINT32_MAX || entity.Load(static_cast<uint32_t>(size), data) != S_OK) {
        return;
    }
    uint32_t saved = 0;
    entity.GetSize(&saved);
    std::vector<BYTE> bytes(saved);
    if (saved != size || entity.Save(bytes.data()) != S_OK || std::memcmp(bytes.data(), data, size) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadAndSaveBack<CLineEntity>(data, size);
    LoadAndSaveBack<CArcEntity>(data, size);
    return 0;
}
