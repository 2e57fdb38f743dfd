// Fuzz target of the colour attachment's loader.
#include "objectmodel/collection_b.h"
#include "objectmodel/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto colour = ComPtr<CCollectionB>::Share(new CCollectionB());
    const std::vector<BYTE> block = FuzzBlock(data, size);
    if (SUCCEEDED(colour->Load(nullptr, static_cast<uint32_t>(block.size()), block.data()))) {
        uint32_t saved = 0;
        colour->GetSize(nullptr, &saved);
        std::vector<BYTE> out(saved);
        FuzzCheck(SUCCEEDED(colour->Save(nullptr, out.data())) && out == block);
    }
    return 0;
}
