// Every byte-form loader against blocks that do not fit its form: cut short,
// too long, or with counts and lengths that point past the block. Each must
// answer E_FAIL and leave the object as it was.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/collection_c.h"
#include "objectmodel/collection_d.h"
#include "objectmodel/id_group_object.h"
#include "objectmodel/model_object.h"

namespace {

// One loader under test: makes an object with some content, loads a block
// into it and saves it.
struct Loader {
    const char* name;
    std::function<ComPtr<IUnknown>()> make;
    std::function<HRESULT(IUnknown*, uint32_t, const BYTE*)> load;
    std::function<std::vector<BYTE>(IUnknown*)> save;
};

template <class T>
T* As(IUnknown* object)
{
    return static_cast<T*>(object);
}

std::vector<BYTE> SaveCollection(ICollectionBase* object)
{
    uint32_t size = 0;
    object->GetSize(nullptr, &size);
    std::vector<BYTE> bytes(size);
    object->Save(nullptr, bytes.data());
    return bytes;
}

ComPtr<IUnknown> MakeModel()
{
    auto model = ComPtr<CModelObject>::Share(new CModelObject());
    model->SetName("model");
    for (const char* name : {"first", "second"}) {
        auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject(model->OwnerLink()));
        group->SetName(name);
        auto colour = ComPtr<CCollectionB>::Share(new CCollectionB(0x123456, 1));
        auto attributes = ComPtr<CAttributeSet>::Share(new CAttributeSet(1, 2, 3, 4));
        auto marker = ComPtr<CCollectionD>::Share(new CCollectionD());
        group->SetColour(colour.Get());
        group->SetAttributeSet(attributes.Get());
        group->SetMarker(marker.Get());
        model->AddChild(group.Get());
    }
    model->SetCurrent(1);
    return ComPtr<IUnknown>::Share(static_cast<IModelObject*>(model.Get()));
}

const Loader kLoaders[] = {
    {"attribute_set",
     [] { return ComPtr<IUnknown>::Share(static_cast<IAttributeSet*>(new CAttributeSet(5, 6, 7, 8))); },
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<IAttributeSet>(o)->Load(nullptr, n, d); },
     [](IUnknown* o) { return SaveCollection(As<IAttributeSet>(o)); }},
    {"colour",
     [] { return ComPtr<IUnknown>::Share(static_cast<ICollectionB*>(new CCollectionB(0xABCDEF, 1))); },
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<ICollectionB>(o)->Load(nullptr, n, d); },
     [](IUnknown* o) { return SaveCollection(As<ICollectionB>(o)); }},
    {"text",
     [] { return ComPtr<IUnknown>::Share(static_cast<ICollectionC*>(new CCollectionC("text"))); },
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<ICollectionC>(o)->Load(nullptr, n, d); },
     [](IUnknown* o) { return SaveCollection(As<ICollectionC>(o)); }},
    {"marker",
     [] { return ComPtr<IUnknown>::Share(static_cast<ICollectionD*>(new CCollectionD())); },
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<ICollectionD>(o)->Load(nullptr, n, d); },
     [](IUnknown* o) { return SaveCollection(As<ICollectionD>(o)); }},
    {"group_reference",
     []() -> ComPtr<IUnknown> {
         auto group = ComPtr<CIdGroupObject>::Share(new CIdGroupObject());
         const BYTE reference[8] = {1, 0, 0, 0, 2, 0, 0, 0};
         group->Load(nullptr, 8, reference);
         return ComPtr<IUnknown>::Share(static_cast<IIdGroup*>(group.Get()));
     },
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<IIdGroup>(o)->Load(nullptr, n, d); },
     [](IUnknown* o) {
         auto* group = static_cast<CIdGroupObject*>(As<IIdGroup>(o));
         return std::vector<BYTE>{static_cast<BYTE>(group->OwnerFileIndex()),
                                  static_cast<BYTE>(group->GroupPosition())};
     }},
    {"model_object",
     MakeModel,
     [](IUnknown* o, uint32_t n, const BYTE* d) { return As<IModelObject>(o)->Load(n, d); },
     [](IUnknown* o) {
         uint32_t size = 0;
         As<IModelObject>(o)->GetSize(&size);
         std::vector<BYTE> bytes(size);
         As<IModelObject>(o)->Save(bytes.data());
         return bytes;
     }},
};

// A valid block for each loader, different from what make() holds.
std::vector<BYTE> ValidBlock(const Loader& loader)
{
    const std::string name = loader.name;
    if (name == "group_reference") {
        return {7, 0, 0, 0, 9, 0, 0, 0};
    }
    if (name == "text") {
        return {'o', 't', 'h', 'e', 'r', 0};
    }
    ComPtr<IUnknown> object = loader.make();
    return loader.save(object.Get());
}

void ExpectRefusedAndUnchanged(const Loader& loader, const std::vector<BYTE>& block, const BYTE* data)
{
    ComPtr<IUnknown> object = loader.make();
    const std::vector<BYTE> before = loader.save(object.Get());
    EXPECT_EQ(loader.load(object.Get(), static_cast<uint32_t>(block.size()), data), E_FAIL);
    EXPECT_EQ(loader.save(object.Get()), before);
}

TEST(HostileBlocks, EveryLoaderRefusesCutShortAndOversizedBlocks)
{
    for (const Loader& loader : kLoaders) {
        SCOPED_TRACE(loader.name);
        const std::vector<BYTE> valid = ValidBlock(loader);
        {
            ComPtr<IUnknown> object = loader.make();
            ASSERT_EQ(loader.load(object.Get(), static_cast<uint32_t>(valid.size()), valid.data()), S_OK);
        }
        for (size_t length = 0; length < valid.size(); ++length) {
            SCOPED_TRACE(length);
            // A copy of exactly that length, so the sanitizer sees any read
            // past it.
            auto prefix = std::make_unique<BYTE[]>(length + 1);
            std::copy(valid.begin(), valid.begin() + static_cast<ptrdiff_t>(length), prefix.get());
            ExpectRefusedAndUnchanged(loader, std::vector<BYTE>(valid.begin(), valid.begin() + length),
                                      prefix.get());
        }
        std::vector<BYTE> longer = valid;
        longer.push_back(0);
        ExpectRefusedAndUnchanged(loader, longer, longer.data());
        longer.back() = 0x41;
        ExpectRefusedAndUnchanged(loader, longer, longer.data());
    }
}

TEST(HostileBlocks, NullDataWithASizeIsRefused)
{
    for (const Loader& loader : kLoaders) {
        SCOPED_TRACE(loader.name);
        ComPtr<IUnknown> object = loader.make();
        const std::vector<BYTE> before = loader.save(object.Get());
        EXPECT_EQ(loader.load(object.Get(), 13, nullptr), E_FAIL);
        EXPECT_EQ(loader.save(object.Get()), before);
    }
}

struct HostileCase {
    const char* name;
    const char* loader;
    std::vector<BYTE> block;
};

const Loader& LoaderNamed(const std::string& name)
{
    for (const Loader& loader : kLoaders) {
        if (name == loader.name) {
            return loader;
        }
    }
    throw std::logic_error("no loader " + name);
}

TEST(HostileBlocks, CountsAndLengthsThatPointPastTheBlockAreRefused)
{
    const HostileCase kCases[] = {
        {"text_without_zero_byte", "text", {'a', 'b', 'c'}},
        {"text_with_zero_inside", "text", {'a', 0, 'b', 0}},
        {"empty_text_block", "text", {}},
        {"marker_with_data", "marker", {0}},
        {"model_negative_name_length", "model_object", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"model_name_past_block", "model_object", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x04, 'a'}},
        {"model_name_of_1024_bytes_unbacked", "model_object", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x04}},
        {"model_huge_group_count", "model_object", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {"model_group_count_past_block",
         "model_object",
         {2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"group_negative_name_length",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0x00, 0x80}},
        {"attachment_size_past_block",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x00, 0x01, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5}},
        {"attachment_missing_entirely",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x00, 0x04, 0, 0, 0, 0}},
        {"colour_attachment_too_long",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x00, 0x01, 0, 0, 0, 0, 6, 0, 0, 0, 1, 2, 3, 4, 5, 6}},
        {"attribute_attachment_too_short",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x00, 0x02, 0, 0, 0, 0, 12, 0, 0, 0,
          1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"marker_attachment_with_data",
         "model_object",
         {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x00, 0x04, 0, 0, 0, 0, 1, 0, 0, 0, 9}},
        {"group_reference_of_four_bytes", "group_reference", {0, 0, 0, 0}},
    };
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const Loader& loader = LoaderNamed(c.loader);
        auto copy = std::make_unique<BYTE[]>(c.block.size() + 1);
        std::copy(c.block.begin(), c.block.end(), copy.get());
        ExpectRefusedAndUnchanged(loader, c.block, copy.get());
    }
}

} // namespace
