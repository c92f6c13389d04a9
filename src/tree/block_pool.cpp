// Block pools. Each thread keeps its own free lists, so that no lock is taken per block;
// a block released on another thread than the one that made it joins that thread's list.
// Slabs are mapped from the system and live as long as the process: their blocks are
// reused, never returned. A build with ZEL_PLAIN_ALLOCATION takes every block from the
// runtime heap, so that memory checkers see each block on its own.
#include "tree/block_pool.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

#include "zel/oid.h"

namespace zel {

namespace {

#ifndef ZEL_PLAIN_ALLOCATION

// Slabs of 2 MiB, aligned, which the system may back with huge pages: a large tree then
// takes few page faults.
const size_t kSlabBytes = 2 * 1024 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// The pooled sizes, each rounded to a multiple of the pointer size.
constexpr size_t Rounded(size_t size) { return (size + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*); }
constexpr size_t kPooledSizes[] = {Rounded(kNumberBlockSize), Rounded(sizeof(CZelOid))};
constexpr int kPoolCount = sizeof(kPooledSizes) / sizeof(kPooledSizes[0]);

int PoolIndex(size_t size)
{
    const size_t rounded = Rounded(size);
    for (int i = 0; i < kPoolCount; ++i)
        if (kPooledSizes[i] == rounded)
            return i;
    return -1;
}

struct ThreadPools {
    FreeBlock* free[kPoolCount] = {};
    char* next[kPoolCount] = {};  // unused part of the current slab
    char* end[kPoolCount] = {};
};

// Initial-exec TLS: the pools are reached without a call per block.
thread_local ThreadPools t_pools __attribute__((tls_model("initial-exec")));

// Maps a slab aligned to its size, so that it can be backed by huge pages.
char* MapSlab()
{
    void* mapped = mmap(nullptr, 2 * kSlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    char* start = static_cast<char*>(mapped);
    char* slab = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(start) + kSlabBytes - 1) & ~(kSlabBytes - 1));
    if (slab > start)
        munmap(start, static_cast<size_t>(slab - start));
    if (slab + kSlabBytes < start + 2 * kSlabBytes)
        munmap(slab + kSlabBytes, static_cast<size_t>(start + 2 * kSlabBytes - (slab + kSlabBytes)));
    madvise(slab, kSlabBytes, MADV_HUGEPAGE);
    return slab;
}

// Starts a new slab for pool and returns its first block; null when out of memory.
__attribute__((noinline)) void* TakeFromNewSlab(int pool)
{
    char* slab = MapSlab();
    if (!slab)
        return nullptr;
    ThreadPools& pools = t_pools;
    pools.next[pool] = slab + kPooledSizes[pool];
    pools.end[pool] = slab + kSlabBytes;
    return slab;
}

#endif

}  // namespace

#ifndef ZEL_PLAIN_ALLOCATION
// Takes a block from pool's free list or its slab.
inline void* TakeBlock(int pool)
{
    ThreadPools& pools = t_pools;
    if (FreeBlock* block = pools.free[pool]) {
        pools.free[pool] = block->next;
        return block;
    }
    char* block = pools.next[pool];
    if (block && block + kPooledSizes[pool] <= pools.end[pool]) {
        pools.next[pool] = block + kPooledSizes[pool];
        return block;
    }
    return TakeFromNewSlab(pool);
}
#endif

void* AllocateNumberBlock()
{
#ifndef ZEL_PLAIN_ALLOCATION
    return TakeBlock(0);
#else
    return std::malloc(kNumberBlockSize);
#endif
}

void* PoolAllocate(size_t size)
{
#ifndef ZEL_PLAIN_ALLOCATION
    const int pool = PoolIndex(size);
    if (pool >= 0)
        return TakeBlock(pool);
#endif
    return std::malloc(size);
}

void PoolFree(void* block, [[maybe_unused]] size_t size)
{
    if (!block)
        return;
#ifndef ZEL_PLAIN_ALLOCATION
    const int pool = PoolIndex(size);
    if (pool >= 0) {
        FreeBlock* freed = static_cast<FreeBlock*>(block);
        freed->next = t_pools.free[pool];
        t_pools.free[pool] = freed;
        return;
    }
#endif
    std::free(block);
}

}  // namespace zel

void* CZelOid::operator new(size_t size)
{
    if (void* block = zel::PoolAllocate(size))
        return block;
    throw std::bad_alloc();
}

void* CZelOid::operator new(size_t size, const std::nothrow_t&) noexcept { return zel::PoolAllocate(size); }

void CZelOid::operator delete(void* block, size_t size) { zel::PoolFree(block, size); }
