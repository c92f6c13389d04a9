// Pools of fixed-size blocks for nodes and number values: the blocks of one size are cut
// from large slabs, and a released block is kept on a free list for the next request.
#ifndef ZEL_TREE_BLOCK_POOL_H
#define ZEL_TREE_BLOCK_POOL_H

#include <cstddef>

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
void SetBlockLine(const void* block, int line);
int BlockLine(const void* block);

}  // namespace zel

#endif
