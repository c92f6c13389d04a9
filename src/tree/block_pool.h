// Pools of fixed-size blocks for nodes and number values: the blocks of one size are cut
// from large slabs, and a released block is kept on a free list for the next request.
#ifndef ZEL_TREE_BLOCK_POOL_H
#define ZEL_TREE_BLOCK_POOL_H

#include <cstddef>
#include <cstdint>

#include "zel/oid.h"

namespace zel {

// The block of a number value: an int or a double, in eight bytes.
const size_t kNumberBlockSize = 8;

// Returns a block of size bytes, or null when out of memory. Sizes other than the
// pooled ones (a number value, a node) come from the runtime heap.
void* PoolAllocate(size_t size);
// Releases a block that PoolAllocate gave for the same size.
void PoolFree(void* block, size_t size);

// The block of a number value, as PoolAllocate(kNumberBlockSize) gives it.
void* AllocateNumberBlock();

// The input line kept beside a node block. A block starts with none (0), also when it is
// reused; SetBlockLine takes a block that PoolAllocate gave for sizeof(CZelOid).
// BlockLine answers 0 for a block without a line and for any object that is no node block
// (a node on the stack, in static storage, or of a larger class); it may be called from
// any thread.
int BlockLine(const void* block);
#ifndef ZEL_PLAIN_ALLOCATION
// Slabs of 2 MiB, aligned to their size. A node slab holds kNodesPerSlab node blocks, then
// the line of each block; a block's line is found from its address.
const size_t kSlabBytes = 2 * 1024 * 1024;
const size_t kNodeBlockBytes = (sizeof(CZelOid) + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*);
const size_t kNodesPerSlab = kSlabBytes / (kNodeBlockBytes + sizeof(int));
const size_t kNodeLinesOffset = kNodesPerSlab * kNodeBlockBytes;

// The inverse of an odd number modulo 2^32 (each Newton step doubles the bits that are right).
constexpr std::uint32_t InverseOfOdd(std::uint32_t odd)
{
    std::uint32_t inverse = odd;
    for (int i = 0; i < 4; ++i)
        inverse *= 2 - odd * inverse;
    return inverse;
}
const unsigned kNodeBlockShift = __builtin_ctzll(kNodeBlockBytes);
const std::uint32_t kNodeBlockInverse = InverseOfOdd(static_cast<std::uint32_t>(kNodeBlockBytes >> kNodeBlockShift));
static_assert(static_cast<std::uint32_t>(kNodeBlockInverse * (kNodeBlockBytes >> kNodeBlockShift)) == 1,
              "the inverse of the node block size's odd part");

// The line slot of the node block at address. A block's offset in its slab is a multiple
// of the block size, so its index is an exact division: the shift by the size's power of
// two, then a multiply by the inverse of its odd part (cheaper than a division of any
// offset).
inline int* NodeLineSlot(std::uintptr_t address)
{
    const std::uint32_t offset = static_cast<std::uint32_t>(address & (kSlabBytes - 1));
    const std::uint32_t index = (offset >> kNodeBlockShift) * kNodeBlockInverse;
    return reinterpret_cast<int*>((address - offset) + kNodeLinesOffset) + index;
}

inline void SetBlockLine(const void* block, int line) { *NodeLineSlot(reinterpret_cast<std::uintptr_t>(block)) = line; }
#else
void SetBlockLine(const void* block, int line);
#endif

}  // namespace zel

#endif
