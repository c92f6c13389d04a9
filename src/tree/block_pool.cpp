// Block pools. Each thread keeps its own free lists, so that no lock is taken per block;
// a block released on another thread than the one that made it joins that thread's list.
// Slabs are mapped from the system and live as long as the process: their blocks are
// reused, never returned. A build with ZEL_PLAIN_ALLOCATION takes every block from the
// runtime heap, so that memory checkers see each block on its own.
//
// A node slab keeps the input line of each of its blocks in its tail, found from the
// block's address; a registry of node slabs tells a node block from any other object. The
// plain build keeps the lines in a map by block address instead.
#include "tree/block_pool.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <unordered_map>

#include "zel/oid.h"

namespace zel {

namespace {

#ifndef ZEL_PLAIN_ALLOCATION

// Slabs are aligned to their size (kSlabBytes), so that the system may back them with huge
// pages: a large tree then takes few page faults.

struct FreeBlock {
    FreeBlock* next;
};

// The pooled sizes, each rounded to a multiple of the pointer size.
constexpr size_t Rounded(size_t size) { return (size + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*); }
constexpr size_t kPooledSizes[] = {Rounded(kNumberBlockSize), Rounded(sizeof(CZelOid))};
constexpr int kPoolCount = sizeof(kPooledSizes) / sizeof(kPooledSizes[0]);
constexpr int kNodePool = 1;

static_assert(kPooledSizes[kNodePool] == kNodeBlockBytes, "the node pool's blocks are the node slab's");
static_assert(kNodeLinesOffset % alignof(int) == 0, "the line array of a node slab is aligned");

// The bytes of a pool's slab that hold blocks.
constexpr size_t BlockBytes(int pool) { return pool == kNodePool ? kNodeLinesOffset : kSlabBytes; }

// The registry of node slabs: one bit per 2 MiB of the address bits 47..21, in leaves of
// 2^18 bits under a table of 512 entries. Leaves are added, never removed, so that a read
// from any thread takes no lock.
constexpr unsigned kSlabShift = 21;
constexpr unsigned kLeafBits = 18;
constexpr unsigned kTopBits = 48 - kSlabShift - kLeafBits;
constexpr size_t kLeafWords = (size_t(1) << kLeafBits) / 64;
std::atomic<std::atomic<std::uint64_t>*> g_nodeSlabs[size_t(1) << kTopBits];

// Records slab as a node slab; false when its address is beyond the registry or memory ran
// out (its blocks then answer no line).
bool RegisterNodeSlab(const char* slab)
{
    const std::uintptr_t index = reinterpret_cast<std::uintptr_t>(slab) >> kSlabShift;
    if (index >> (kTopBits + kLeafBits))
        return false;
    std::atomic<std::atomic<std::uint64_t>*>& entry = g_nodeSlabs[index >> kLeafBits];
    std::atomic<std::uint64_t>* leaf = entry.load(std::memory_order_acquire);
    if (!leaf) {
        std::atomic<std::uint64_t>* made = new (std::nothrow) std::atomic<std::uint64_t>[kLeafWords]();
        if (!made)
            return false;
        if (entry.compare_exchange_strong(leaf, made, std::memory_order_acq_rel, std::memory_order_acquire))
            leaf = made;
        else
            delete[] made;
    }
    const std::uintptr_t bit = index & ((std::uintptr_t(1) << kLeafBits) - 1);
    leaf[bit / 64].fetch_or(std::uint64_t(1) << (bit % 64), std::memory_order_release);
    return true;
}

bool InNodeSlab(std::uintptr_t address)
{
    const std::uintptr_t index = address >> kSlabShift;
    if (index >> (kTopBits + kLeafBits))
        return false;
    const std::atomic<std::uint64_t>* leaf = g_nodeSlabs[index >> kLeafBits].load(std::memory_order_acquire);
    if (!leaf)
        return false;
    const std::uintptr_t bit = index & ((std::uintptr_t(1) << kLeafBits) - 1);
    return (leaf[bit / 64].load(std::memory_order_acquire) >> (bit % 64)) & 1;
}

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
    if (pool == kNodePool)
        RegisterNodeSlab(slab);
    ThreadPools& pools = t_pools;
    pools.next[pool] = slab + kPooledSizes[pool];
    pools.end[pool] = slab + BlockBytes(pool);
    return slab;
}

#else

// The lines of the node blocks that have one, by block address.
std::mutex g_linesMutex;
std::unordered_map<const void*, int>& Lines()
{
    // Never destroyed: nodes may be deleted by static destructors that run after it.
    static std::unordered_map<const void*, int>* lines = new std::unordered_map<const void*, int>;
    return *lines;
}

void ForgetLine(const void* block)
{
    std::lock_guard<std::mutex> hold(g_linesMutex);
    Lines().erase(block);
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
        if (pool == kNodePool)
            *NodeLineSlot(reinterpret_cast<std::uintptr_t>(block)) = 0;  // the next node of the block has none
        FreeBlock* freed = static_cast<FreeBlock*>(block);
        freed->next = t_pools.free[pool];
        t_pools.free[pool] = freed;
        return;
    }
#else
    if (size == sizeof(CZelOid))
        ForgetLine(block);
#endif
    std::free(block);
}

#ifdef ZEL_PLAIN_ALLOCATION
void SetBlockLine(const void* block, int line)
{
    std::lock_guard<std::mutex> hold(g_linesMutex);
    try {
        if (line)
            Lines()[block] = line;
        else
            Lines().erase(block);
    } catch (const std::bad_alloc&) {
        // Without memory to keep it, the block has no line.
    }
}
#endif

int BlockLine(const void* block)
{
#ifndef ZEL_PLAIN_ALLOCATION
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t offset = address & (kSlabBytes - 1);
    if (!InNodeSlab(address) || offset >= kNodeLinesOffset || offset % kNodeBlockBytes != 0)
        return 0;
    return *NodeLineSlot(address);
#else
    std::lock_guard<std::mutex> hold(g_linesMutex);
    const auto found = Lines().find(block);
    return found == Lines().end() ? 0 : found->second;
#endif
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
