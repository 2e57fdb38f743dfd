// Holders placed in blocks: they live as long as their references, in any
// order, past the arena that made them and past the document that loaded
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "host/document/pooled_entity_record.h"
#include "host/document/tests/document_test_support.h"

namespace {

TEST(PooledEntityRecordTest, HoldersOutliveTheirArenaAndGoInAnyOrder)
{
    // Enough holders for several blocks.
    constexpr size_t kHolders = 3000;
    std::vector<ComPtr<IEntityRecord>> holders;
    std::unique_ptr<bool[]> destroyed(new bool[kHolders]());
    {
        CHolderArena arena;
        for (size_t i = 0; i < kHolders; ++i) {
            holders.push_back(MakeLoadedHolder(arena));
            auto* object = new TestObject("o", &destroyed[i]);
            holders.back()->SetObject(static_cast<IObjectBase*>(object));
            holders.back()->SetFlags(static_cast<uint32_t>(i));
        }
    }
    std::vector<size_t> order(kHolders);
    for (size_t i = 0; i < kHolders; ++i) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (size_t n = 0; n < kHolders; ++n) {
        const size_t i = order[n];
        uint32_t flags = 0;
        ASSERT_EQ(holders[i]->GetFlags(&flags), S_OK);
        EXPECT_EQ(flags, i);
        holders[i].Reset();
        EXPECT_TRUE(destroyed[i]);
    }
}

TEST(PooledEntityRecordTest, ALoadedHolderOutlivesItsDocument)
{
    const std::string file = I32(2) + Record(kTestAddinClsid, kTestObjectIid, "a") + I32(0) +
                             Record(kTestAddinClsid, kTestObjectIid, "b") + I32(0);
    ComPtr<IEntityRecord> kept;
    {
        DocumentFixture fixture;
        ASSERT_TRUE(fixture.document.LoadDocumentBytes(reinterpret_cast<const BYTE*>(file.data()), file.size()));
        ASSERT_EQ(fixture.document.GetObjectCount(), 2u);
        kept = ComPtr<IEntityRecord>::Share(fixture.document.GetObjectAt(1));
    }
    IUnknown* held = nullptr;
    ASSERT_EQ(kept->GetObject(&held), S_OK);
    EXPECT_EQ(static_cast<TestObject*>(static_cast<IObjectBase*>(held))->Bytes(), "b");
}

} // namespace
