// The per-thread cache of large blocks behind ScratchVector (see scratch.h).
#include "addins/milling/geometry/scratch.h"

#include <array>
#include <bit>

namespace {

constexpr int kLeastClass = std::countr_zero(kScratchLeast);
constexpr int kClasses = 64 - kLeastClass;

// The blocks a thread keeps, by size class: class c holds blocks of
// kScratchLeast << c bytes, the most recently freed last.
struct KeptBlocks {
    std::array<std::vector<void*>, kClasses> free;
    size_t bytes = 0;

    void ReleaseAll() noexcept
    {
        for (int c = 0; c < kClasses; ++c) {
            for (void* block : free[static_cast<size_t>(c)])
                ::operator delete(block, kScratchLeast << c);
            free[static_cast<size_t>(c)].clear();
        }
        bytes = 0;
    }
};

// The calling thread's blocks; null before its first large block and once
// the thread is ending (a list freed by a later destructor then goes back
// to the system at once).
thread_local KeptBlocks* t_kept = nullptr;

struct KeptBlocksOwner {
    KeptBlocks blocks;
    KeptBlocksOwner() { t_kept = &blocks; }
    ~KeptBlocksOwner()
    {
        t_kept = nullptr;
        blocks.ReleaseAll();
    }
};

// The calling thread's blocks, made on first use.
KeptBlocks* Kept()
{
    thread_local KeptBlocksOwner owner;
    return t_kept;
}

int ClassOf(size_t bytes) { return std::bit_width((bytes - 1) >> kLeastClass); }

} // namespace

void* ScratchAllocate(size_t bytes)
{
    if (bytes < kScratchLeast)
        return ::operator new(bytes);
    const int c = ClassOf(bytes);
    if (c >= kClasses)
        throw std::bad_alloc();
    if (KeptBlocks* kept = Kept(); kept && !kept->free[static_cast<size_t>(c)].empty()) {
        void* block = kept->free[static_cast<size_t>(c)].back();
        kept->free[static_cast<size_t>(c)].pop_back();
        kept->bytes -= kScratchLeast << c;
        return block;
    }
    return ::operator new(kScratchLeast << c);
}

void ScratchFree(void* block, size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes < kScratchLeast) {
        ::operator delete(block);
        return;
    }
    const int c = ClassOf(bytes);
    const size_t size = kScratchLeast << c;
    KeptBlocks* kept = Kept();
    if (kept && kept->bytes + size <= kScratchKeptMost) {
        try {
            kept->free[static_cast<size_t>(c)].push_back(block);
            kept->bytes += size;
            return;
        } catch (...) {
            // No room to note it: it goes back to the system.
        }
    }
    ::operator delete(block, size);
}

size_t ScratchKeptBytes() noexcept { return t_kept ? t_kept->bytes : 0; }

void ScratchRelease() noexcept
{
    if (t_kept)
        t_kept->ReleaseAll();
}
