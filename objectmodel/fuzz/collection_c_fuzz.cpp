// Fuzz target of the text attachment's loader.
#include "objectmodel/collection_c.h"
#include "objectmodel/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto text = ComPtr<CCollectionC>::Share(new CCollectionC("before"));
    const std::vector<BYTE> block = FuzzBlock(data, size);
    if (SUCCEEDED(text->Load(nullptr, static_cast<uint32_t>(block.size()), block.data()))) {
        uint32_t saved = 0;
        text->GetSize(nullptr, &saved);
        std::vector<BYTE> out(saved);
        FuzzCheck(SUCCEEDED(text->Save(nullptr, out.data())) && out == block);
    } else {
        const char* kept = nullptr;
        text->GetText(&kept);
        FuzzCheck(std::strcmp(kept, "before") == 0);
    }
    return 0;
}
