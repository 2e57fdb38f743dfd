// Fuzz target of the marker attachment's loader: only the empty block fits.
#include "objectmodel/collection_d.h"
#include "objectmodel/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
    const std::vector<BYTE> block = FuzzBlock(data, size);
    const HRESULT result = marker->Load(nullptr, static_cast<uint32_t>(block.size()), block.data());
    FuzzCheck(SUCCEEDED(result) == block.empty());
    return 0;
}
