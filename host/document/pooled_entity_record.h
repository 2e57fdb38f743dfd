// CPooledEntityRecord: a document holder allocated from a block of holders
// instead of on its own, for the many holders that reading a file makes at
// once.
//
// A holder is a counted object and may outlive the read and the document
// (an undo step or an add-in may keep it), so each block counts the live
// holders in it and is freed when the last one is destroyed. The count is
// as single-threaded as the holders' own reference counts.
#pragma once

#include <cstddef>

#include "objectmodel/entity_record.h"

class CHolderArena;

class CPooledEntityRecord final : public CEntityRecord {
public:
    // Flags 0, no object, no children, no links, count 0.
    CPooledEntityRecord() = default;

    // Null when the arena has no memory left; the holder is then not made.
    static void* operator new(size_t size, CHolderArena& arena) noexcept;
    // Reached through the virtual destructor when the last reference goes.
    static void operator delete(void* memory);
    // Only for a constructor that throws.
    static void operator delete(void* memory, CHolderArena& arena);
};

// Hands out holder-sized places from blocks that are allocated one at a
// time; keeps a share of the current block until it is destroyed, so a
// block is freed only when it is full or the arena is gone, and all of its
// holders are gone.
class CHolderArena {
public:
    CHolderArena() = default;
    CHolderArena(const CHolderArena&) = delete;
    CHolderArena& operator=(const CHolderArena&) = delete;
    ~CHolderArena();

    // Place for one holder; null when memory runs out.
    void* Allocate(size_t size);
    // Gives back a place that Allocate handed out.
    static void Free(void* place);

    struct Block;

private:
    static void DropShare(Block* block);

    Block* m_block = nullptr;
    std::byte* m_next = nullptr;
    std::byte* m_end = nullptr;
};

// A new pooled holder with the first reference taken by the caller's
// ComPtr; a plain holder when the arena has no memory left.
ComPtr<IEntityRecord> MakeLoadedHolder(CHolderArena& arena);
