// The parse stack's storage, its growth and its overflow and underflow reports.
#include "parse/stack.h"

#include <cstring>
#include <limits>
#include <new>

#include "diag/reporter.h"

namespace zel {

ParseStack::ParseStack(Reporter& reporter, int capacity) : m_reporter(reporter), m_capacity(capacity < 0 ? 0 : capacity) {}

ParseStack::~ParseStack() { delete[] m_entries; }

bool ParseStack::Allocate()
{
    if (!m_entries)
        m_entries = new (std::nothrow) StackEntry[static_cast<size_t>(m_capacity) + 1];
    return m_entries != nullptr;
}

void ParseStack::Free()
{
    delete[] m_entries;
    m_entries = nullptr;
}

// Doubles the capacity of a full stack, keeping its entries. False when that cannot be
// done: the capacity is at its limit or the memory ran out (then reported as such).
bool ParseStack::Grow()
{
    const int limit = std::numeric_limits<int>::max() - 1;
    if (m_capacity >= limit)
        return false;
    const int capacity = m_capacity == 0 ? 16 : (m_capacity > limit / 2 ? limit : 2 * m_capacity);
    StackEntry* grown = new (std::nothrow) StackEntry[static_cast<size_t>(capacity) + 1];
    if (!grown) {
        m_reporter.OutOfMemory();
        return false;
    }
    std::memcpy(grown, m_entries, sizeof(StackEntry) * static_cast<size_t>(m_capacity));
    delete[] m_entries;
    m_entries = grown;
    m_capacity = capacity;
    return true;
}

// The path of a full stack, kept out of the push itself: a growing stack grows and the
// push goes on (1); otherwise the overflow is reported (0).
__attribute__((noinline, cold)) int ParseStack::Overflow()
{
    if (m_growth && m_entries && Grow())
        return 1;
    m_reporter.Report(zelERR_STACK_OVERFLOW, 0);
    m_reporter.SetState(kStateOverflow);  // also when the report cap silenced the report
    return 0;
}

__attribute__((noinline, cold)) void ParseStack::Underflow() { m_reporter.SetState(kStateUnderflow); }

}  // namespace zel
