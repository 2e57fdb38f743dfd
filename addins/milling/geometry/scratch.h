// Working memory of the offset that is kept for the next one: a cache of
// large blocks per thread and the allocator that draws on it.
//
// An offset of a long chain fills lists of tens of megabytes (candidates,
// their crossings, boxes, the distance tree) and frees them when it ends.
// The C library hands memory that large back to the system when it is
// freed, so that every offset touched its lists as fresh pages, which the
// system must map and clear first: on a chain of 100 000 segments some
// 10 000 pages a call, a fifth of its time. Pockets and the stages of one
// offset run many offsets in a row, so the blocks are kept instead: a list
// that ScratchVector holds takes a kept block of its size class when there
// is one, and gives it back when it is freed. What is kept is bounded
// (kScratchKeptMost a thread); blocks beyond that go back to the system.
// Lists below kScratchLeast bytes come from the heap as usual.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

// Blocks smaller than this come from the heap unchanged.
inline constexpr size_t kScratchLeast = size_t{1} << 16;
// The most bytes of blocks a thread keeps while none of its lists use them.
inline constexpr size_t kScratchKeptMost = size_t{256} << 20;

// A block of at least `bytes` (rounded up to its size class, a power of
// two, for blocks of kScratchLeast and more); throws std::bad_alloc as new
// does.
void* ScratchAllocate(size_t bytes);
// Gives back a block that ScratchAllocate(bytes) returned.
void ScratchFree(void* block, size_t bytes) noexcept;
// The bytes of blocks the calling thread keeps now.
size_t ScratchKeptBytes() noexcept;
// Gives every block the calling thread keeps back to the system.
void ScratchRelease() noexcept;

template <typename T>
class ScratchAllocator {
public:
    using value_type = T;

    ScratchAllocator() noexcept = default;
    template <typename U>
    ScratchAllocator(const ScratchAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t n)
    {
        if (n > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(ScratchAllocate(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept { ScratchFree(p, n * sizeof(T)); }

    template <typename U>
    bool operator==(const ScratchAllocator<U>&) const noexcept
    {
        return true;
    }
};

// A list of the offset's working memory.
template <typename T>
using ScratchVector = std::vector<T, ScratchAllocator<T>>;
