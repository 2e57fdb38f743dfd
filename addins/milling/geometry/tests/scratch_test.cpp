// The offset's kept working memory: large blocks come back to the next
// list of their size class, small ones are not kept, and what a thread
// keeps stays within its bound and goes when it is released or ends.
#include <gtest/gtest.h>

#include <thread>

#include "addins/milling/geometry/scratch.h"

namespace {

// Each test starts and ends with nothing kept, whatever ran before it.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override { ScratchRelease(); }
    void TearDown() override { ScratchRelease(); }
};

// A freed block serves the next request of its size class, at any size
// within the class, and is kept only while no list uses it.
TEST_F(ScratchTest, AFreedBlockServesTheNextRequestOfItsClass)
{
    struct Case {
        const char* name;
        size_t first, second, keptClass;
    };
    const Case kCases[] = {
        {"least_size_twice", kScratchLeast, kScratchLeast, kScratchLeast},
        {"smaller_within_class", 3 * kScratchLeast, 2 * kScratchLeast + 1, 4 * kScratchLeast},
        {"larger_within_class", 5 * kScratchLeast, 8 * kScratchLeast, 8 * kScratchLeast},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        void* block = ScratchAllocate(c.first);
        EXPECT_EQ(ScratchKeptBytes(), 0u);
        ScratchFree(block, c.first);
        EXPECT_EQ(ScratchKeptBytes(), c.keptClass);
        void* again = ScratchAllocate(c.second);
        EXPECT_EQ(again, block);
        EXPECT_EQ(ScratchKeptBytes(), 0u);
        ScratchFree(again, c.second);
        ScratchRelease();
        EXPECT_EQ(ScratchKeptBytes(), 0u);
    }
}

// A request of another class does not take a kept block; lists smaller
// than the least block are never kept.
TEST_F(ScratchTest, OtherClassesAndSmallListsAreNotServedFromKeptBlocks)
{
    void* large = ScratchAllocate(kScratchLeast);
    ScratchFree(large, kScratchLeast);
    void* larger = ScratchAllocate(kScratchLeast + 1);
    EXPECT_NE(larger, large);
    EXPECT_EQ(ScratchKeptBytes(), kScratchLeast);
    ScratchFree(larger, kScratchLeast + 1);
    EXPECT_EQ(ScratchKeptBytes(), 3 * kScratchLeast);

    void* small = ScratchAllocate(kScratchLeast - 1);
    ScratchFree(small, kScratchLeast - 1);
    EXPECT_EQ(ScratchKeptBytes(), 3 * kScratchLeast);
}

// Blocks beyond the bound go back to the system: freeing more than it
// keeps exactly as many whole blocks as fit.
TEST_F(ScratchTest, KeepsNoMoreThanItsBound)
{
    const size_t size = kScratchKeptMost / 4;
    std::vector<void*> blocks;
    for (int k = 0; k < 6; ++k)
        blocks.push_back(ScratchAllocate(size));
    for (void* block : blocks)
        ScratchFree(block, size);
    EXPECT_EQ(ScratchKeptBytes(), kScratchKeptMost);
}

// A list works as any vector does, also when it grows through several
// classes, and leaves its last block kept for the next one.
TEST_F(ScratchTest, AVectorGrowsThroughClassesAndKeepsItsBlocks)
{
    {
        ScratchVector<int> list;
        for (int k = 0; k < 200000; ++k)
            list.push_back(k);
        for (int k = 0; k < 200000; k += 9999)
            EXPECT_EQ(list[static_cast<size_t>(k)], k);
    }
    const size_t kept = ScratchKeptBytes();
    EXPECT_GE(kept, 200000 * sizeof(int));
    {
        ScratchVector<int> again;
        for (int k = 0; k < 200000; ++k)
            again.push_back(k);
    }
    EXPECT_EQ(ScratchKeptBytes(), kept);
}

// Each thread keeps its own blocks; a block freed on another thread is
// kept there, and a thread's blocks go when it ends.
TEST_F(ScratchTest, ThreadsKeepTheirOwnBlocks)
{
    void* block = ScratchAllocate(kScratchLeast);
    size_t keptThere = 0;
    std::thread other([&] {
        ScratchFree(block, kScratchLeast);
        keptThere = ScratchKeptBytes();
        void* again = ScratchAllocate(kScratchLeast);
        EXPECT_EQ(again, block);
        ScratchFree(again, kScratchLeast);
    });
    other.join();
    EXPECT_EQ(keptThere, kScratchLeast);
    EXPECT_EQ(ScratchKeptBytes(), 0u);
}

} // namespace
