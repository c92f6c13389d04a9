// The library's boundary for memory failures: the standard containers it uses inside report
// a failed allocation by throwing; no exception may leave the library.
#ifndef ZEL_CORE_ALLOCATION_GUARD_H
#define ZEL_CORE_ALLOCATION_GUARD_H

#include <new>

#include "zel/parser.h"

namespace zel {

// Runs body and gives its result. When an allocation inside it fails, the failure is
// reported through the parser's WriteMsg and the operation gives failure instead.
template <typename Result, typename Body>
Result GuardAllocation(CZelParser& parser, Result failure, Body body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        parser.WriteMsg("Error allocating from heap.\n");
        return failure;
    }
}

}  // namespace zel

#endif
