// The replaced global allocation functions of the allocation-failure tests.
#include "oom/failing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

long g_allowed = -1;     // armed allocations left before the failing one; negative: none fails
bool g_failAll = false;  // once failing, every later armed allocation fails too
bool g_armed = false;
bool g_failed = false;

void* Allocate(size_t size)
{
    if (g_armed && g_allowed == 0) {
        g_failed = true;
        if (!g_failAll)
            g_allowed = -1;
        return nullptr;
    }
    if (g_armed && g_allowed > 0)
        --g_allowed;
    return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

}  // namespace

namespace zeltest {

void FailAllocation(long n, bool all)
{
    g_allowed = n;
    g_failAll = all;
    g_failed = false;
}

bool AllocationFailed() { return g_failed; }

ArmedAllocations::ArmedAllocations() { g_armed = true; }

ArmedAllocations::~ArmedAllocations() { g_armed = false; }

}  // namespace zeltest

void* operator new(size_t size) { return AllocateOrThrow(size); }
void* operator new[](size_t size) { return AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
