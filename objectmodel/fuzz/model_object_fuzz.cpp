// Fuzz target of the model object's loader: an accepted block saves back to
// the same bytes (apart from a current index outside the table, which loads
// as none), and a refused one leaves the object as it was.
#include "objectmodel/fuzz/fuzz_support.h"
#include "objectmodel/model_object.h"

namespace {

std::vector<BYTE> Save(CModelObject* model)
{
    uint32_t size = 0;
    FuzzCheck(SUCCEEDED(model->GetSize(&size)));
    std::vector<BYTE> bytes(size);
    FuzzCheck(SUCCEEDED(model->Save(bytes.data())));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    model->SetName("before");
    const std::vector<BYTE> before = Save(model.Get());
    const std::vector<BYTE> block = FuzzBlock(data, size);
    if (FAILED(model->Load(static_cast<uint32_t>(block.size()), block.data()))) {
        FuzzCheck(Save(model.Get()) == before);
        return 0;
    }
    const std::vector<BYTE> saved = Save(model.Get());
    FuzzCheck(saved.size() == block.size());
    // Bytes 4 to 7 hold the current index, which may have been normalised.
    std::vector<BYTE> expected = block;
    std::memcpy(expected.data() + 4, saved.data() + 4, 4);
    FuzzCheck(saved == expected);
    int32_t current = 0;
    model->GetCurrentIndex(&current);
    uint32_t count = 0;
    model->GetChildCount(&count);
    FuzzCheck(current == -1 || (current >= 0 && static_cast<uint32_t>(current) < count));
    return 0;
}
