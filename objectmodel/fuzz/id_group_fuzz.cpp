// Fuzz target of a group's reference-form loader and of resolving what it
// loaded against a small document: file index 0 holds a model object with
// two groups, 1 was skipped, 2 holds a group (no model object).
#include "objectmodel/fuzz/fuzz_support.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"
#include "idocumentfileindex.h"

namespace {

class Document : public CCountedObject<IDocumentFileIndex, IID_IDocumentFileIndex> {
public:
    IUnknown* objects[3] = {};

    HRESULT STDMETHODCALLTYPE GetFileIndexOf(IUnknown*, int32_t* fileIndex) override
    {
        *fileIndex = -1;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetObjectByFileIndex(int32_t fileIndex, IUnknown** object) override
    {
        *object = (fileIndex >= 0 && fileIndex < 3) ? objects[fileIndex] : nullptr;
        return *object != nullptr ? S_OK : E_FAIL;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    auto other = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    for (int i = 0; i < 2; ++i) {
        auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(model->OwnerLink()));
        model->AddChild(group.Get());
    }
    auto document = ComPtr<Document>::Share(new Document());
    document->objects[0] = static_cast<IModelObject*>(model.Get());
    document->objects[2] = static_cast<IIdGroup*>(other.Get());
    auto* host = reinterpret_cast<IHostDocument*>(static_cast<IUnknown*>(document.Get()));

    auto reference = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
    const std::vector<BYTE> block = FuzzBlock(data, size);
    if (SUCCEEDED(reference->Load(host, static_cast<uint32_t>(block.size()), block.data()))) {
        FuzzCheck(block.size() == CIdGroupObject::kReferenceSize);
        IUnknown* resolved = static_cast<IIdGroup*>(reference.Get());
        if (SUCCEEDED(reference->Resolve(host, &resolved))) {
            IIdGroup* expected = nullptr;
            model->GetChild(reference->GroupPosition(), &expected);
            FuzzCheck(reference->OwnerFileIndex() == 0 && resolved == static_cast<IUnknown*>(expected));
        } else {
            FuzzCheck(resolved == nullptr);
        }
    }
    return 0;
}
