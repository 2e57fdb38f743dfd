// Fuzz target of the attribute set's loader.
#include "objectmodel/attribute_set.h"
#include "objectmodel/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto set = ComPtr<CAttributeSet>::Share(new CAttributeSet());
    const std::vector<BYTE> block = FuzzBlock(data, size);
    if (SUCCEEDED(set->Load(nullptr, static_cast<uint32_t>(block.size()), block.data()))) {
        uint32_t saved = 0;
        set->GetSize(nullptr, &saved);
        std::vector<BYTE> out(saved);
        FuzzCheck(SUCCEEDED(set->Save(nullptr, out.data())) && out == block);
    }
    return 0;
}
