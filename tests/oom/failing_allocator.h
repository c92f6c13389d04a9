// A global allocator for the allocation-failure tests: while armed, the n-th allocation
// fails (and, if asked, every one after it), so that each allocation of an operation can be
// made to fail in turn.
#ifndef ZEL_TESTS_OOM_FAILING_ALLOCATOR_H
#define ZEL_TESTS_OOM_FAILING_ALLOCATOR_H

namespace zeltest {

// Makes the n-th armed allocation from now on fail (counting from 0); all: every armed
// allocation after it fails as well. n negative: none fails.
void FailAllocation(long n, bool all = false);

// True when an allocation has failed since the last FailAllocation.
bool AllocationFailed();

// Arms the failing allocation for its lifetime: only the allocations made inside the
// library call it wraps count, not those of the test around it.
class ArmedAllocations {
public:
    ArmedAllocations();
    ~ArmedAllocations();
    ArmedAllocations(const ArmedAllocations&) = delete;
    ArmedAllocations& operator=(const ArmedAllocations&) = delete;
};

}  // namespace zeltest

#endif
