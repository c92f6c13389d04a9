// The library's boundary for memory failures: the standard containers it uses inside report
// a failed allocation by throwing; no exception may leave the library.
#ifndef ZEL_CORE_ALLOCATION_GUARD_H
#define ZEL_CORE_ALLOCATION_GUARD_H

#include <new>

#include "diag/reporter.h"

namespace zel {

// Runs body and gives its result. When an allocation inside it fails, the failure is
// reported through the reporter and the operation gives failure instead.
template <typename Result, typename Body>
Result GuardAllocation(Reporter& reporter, Result failure, Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        reporter.OutOfMemory();
        return failure;
    }
}

}  // namespace zel

#endif
