// CPooledEntityRecord and its arena: holders placed side by side in blocks
// that each count their live holders.
#include "host/document/pooled_entity_record.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// A power of two: a holder finds its block by rounding its address down.
// Small enough that the allocator serves it from its heap and reuses it.
constexpr size_t kBlockBytes = size_t{1} << 15;

} // namespace

struct CHolderArena::Block {
    // Holders placed in the block and not yet destroyed, plus one while
    // the arena still places holders in it.
    size_t live = 1;
    // The next spare block while this one is spare.
    Block* nextSpare = nullptr;
};

namespace {

// Empty blocks kept for the next read, so that reopening a drawing does
// not give memory back to the system only to ask for it again.
constexpr size_t kSpareBlocks = 128;
CHolderArena::Block* g_spareBlocks = nullptr;
size_t g_spareCount = 0;

} // namespace

namespace {

// Where the first place of a block starts.
constexpr size_t kFirstPlace =
    (sizeof(size_t) + alignof(CPooledEntityRecord) - 1) / alignof(CPooledEntityRecord) * alignof(CPooledEntityRecord);

} // namespace

CHolderArena::~CHolderArena()
{
    if (m_block != nullptr) {
        DropShare(m_block);
    }
}

void CHolderArena::DropShare(Block* block)
{
    if (--block->live != 0) {
        return;
    }
    if (g_spareCount < kSpareBlocks) {
        block->nextSpare = g_spareBlocks;
        g_spareBlocks = block;
        ++g_spareCount;
        return;
    }
    block->~Block();
    std::free(block);
}

void* CHolderArena::Allocate(size_t size)
{
    // Keeps every place aligned for a holder.
    size = (size + alignof(CPooledEntityRecord) - 1) / alignof(CPooledEntityRecord) * alignof(CPooledEntityRecord);
    if (size > kBlockBytes - kFirstPlace) {
        return nullptr;
    }
    if (m_block == nullptr || static_cast<size_t>(m_end - m_next) < size) {
        void* memory = g_spareBlocks;
        if (memory != nullptr) {
            g_spareBlocks = g_spareBlocks->nextSpare;
            --g_spareCount;
            static_cast<Block*>(memory)->~Block();
        } else {
            memory = std::aligned_alloc(kBlockBytes, kBlockBytes);
        }
        if (memory == nullptr) {
            return nullptr;
        }
        if (m_block != nullptr) {
            DropShare(m_block);
        }
        m_block = new (memory) Block();
        m_next = static_cast<std::byte*>(memory) + kFirstPlace;
        m_end = static_cast<std::byte*>(memory) + kBlockBytes;
    }
    void* place = m_next;
    m_next += size;
    ++m_block->live;
    return place;
}

void CHolderArena::Free(void* place)
{
    const auto address = reinterpret_cast<uintptr_t>(place) & ~(uintptr_t{kBlockBytes} - 1);
    DropShare(reinterpret_cast<Block*>(address));
}

void* CPooledEntityRecord::operator new(size_t size, CHolderArena& arena) noexcept
{
    return arena.Allocate(size);
}

void CPooledEntityRecord::operator delete(void* memory)
{
    if (memory != nullptr) {
        CHolderArena::Free(memory);
    }
}

void CPooledEntityRecord::operator delete(void* memory, CHolderArena&)
{
    if (memory != nullptr) {
        CHolderArena::Free(memory);
    }
}

ComPtr<IEntityRecord> MakeLoadedHolder(CHolderArena& arena)
{
    CEntityRecord* holder = new (arena) CPooledEntityRecord();
    if (holder == nullptr) {
        holder = new CEntityRecord();
    }
    return ComPtr<IEntityRecord>::Share(holder);
}
